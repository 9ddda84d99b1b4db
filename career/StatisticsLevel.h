#pragma once

#include <string>

#include "career/NewStaitistics.h"

// What sets one level of the enrolment statistics apart from the others: the type word it
// asks the service with, the field its rows show first, the level a row opens (with the
// row's field sent as that level's code) and how the table ends below its rows. Everything
// else is the same at every level, so the three levels are one screen built with one of these.
struct StatisticsLevel {
    const char* type;                          // the service's "type": "xytj", "zytj", "bjtj"
    std::string NewStaitistics::*firstColumn;  // the row's name
    const StatisticsLevel* next;               // opened by a row tap; none at the class level
    std::string NewStaitistics::*nextCode;     // the row's code the next level asks with
    bool separatorsBelowRows;                  // no footer view: empty rows show separators
    bool switchesSideMenuSwipeOff;             // when the level appears

    bool opensRows() const { return next != nullptr; }

    static const StatisticsLevel& college();
    static const StatisticsLevel& specialty();
    static const StatisticsLevel& classes();
};
