#pragma once

#include <string>

#include "client/Record.h"

// One row of the enrolment statistics: a college, a specialty or a class, with its admitted,
// reported and paid counts. Filled from one element of the reply's "xytj" list; each level
// reads the name and code fields it shows and sends on.
struct NewStaitistics {
    std::string YXSH;    // college code, sent on by the college level
    std::string XY;      // college name
    long LQ = 0;         // admitted
    long BD = 0;         // reported
    std::string BDBFB;   // shown as it comes, in parentheses under BD
    long CW = 0;         // paid
    std::string CWBFB;   // shown as it comes, in parentheses under CW
    std::string LQZYDM;  // specialty code, sent on by the specialty level
    std::string LQZYMC;  // specialty name
    std::string BJ;      // class name

    static const RecordFields<NewStaitistics>& fields();
    static const RecordCountFields<NewStaitistics>& countFields();
};
