#pragma once

#include <string>

#include "client/Record.h"

// One academic lecture, filled from an element of the reply's "Lecture" list. The start and
// end are date-and-time texts ("2024-04-25 14:30:00") that the screens cut by characters.
struct AcademicForum {
    std::string jzjssj;  // end
    std::string jzdd;    // place
    std::string jzmc;    // title
    std::string jzsqxy;  // kept as the service sends it; shown nowhere
    std::string jzzbdw;  // organising unit
    std::string jzid;    // identifier; shown nowhere
    std::string jzkssj;  // start
    std::string jznr;    // content
    std::string jzrxm;   // lecturer
    std::string jzrms;   // introduction of the lecturer

    static const RecordFields<AcademicForum>& fields();

    // The start's date: its first ten characters, or what there is of them.
    std::string startDate() const;
    // The date row of the detail page: the start's first sixteen characters (date, hour and
    // minute), a hyphen, and the end's time of day (five characters from index 11). A short
    // time gives what there is of it, and without one of the two parts there is no hyphen.
    std::string timeRange() const;
};
