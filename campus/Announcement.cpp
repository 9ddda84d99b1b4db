#include "campus/Announcement.h"

const RecordFields<Announcement>& Announcement::fields() {
    static const RecordFields<Announcement> table = {{"xwnr", &Announcement::xwnr},
                                                     {"xwbt", &Announcement::xwbt},
                                                     {"fbsj", &Announcement::fbsj}};
    return table;
}
