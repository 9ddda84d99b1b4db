#include "client/OneWeekMeeting.h"

const RecordFields<OneWeekMeeting>& OneWeekMeeting::fields() {
    static const RecordFields<OneWeekMeeting> table = {
        {"startTime", &OneWeekMeeting::startTime}, {"startDate", &OneWeekMeeting::startDate},
        {"compere", &OneWeekMeeting::compere},     {"subject", &OneWeekMeeting::subject},
        {"attendee", &OneWeekMeeting::attendee},   {"roomId", &OneWeekMeeting::roomId},
        {"part", &OneWeekMeeting::part},           {"week", &OneWeekMeeting::week}};
    return table;
}
