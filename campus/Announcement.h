#pragma once

#include <string>

#include "client/Record.h"

// One notice of a notice channel, filled from an element of the reply's "News" list.
struct Announcement {
    std::string xwnr;  // body, an HTML fragment
    std::string xwbt;  // title
    std::string fbsj;  // publication time, shown as it comes

    static const RecordFields<Announcement>& fields();
};
