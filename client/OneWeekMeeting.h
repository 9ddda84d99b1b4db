#pragma once

#include <string>

#include "client/Record.h"

// One meeting of the weekly schedule, under the service's own keys.
struct OneWeekMeeting {
    std::string startTime;
    std::string startDate;
    std::string compere;  // host
    std::string subject;
    std::string attendee;  // participants
    std::string roomId;    // place
    std::string part;      // executing department
    std::string week;      // weekday text, "周一" to "周日"

    static const RecordFields<OneWeekMeeting>& fields();
};
