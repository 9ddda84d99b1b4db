#pragma once

#include <string>

#include "client/Record.h"

// One position an employer offers, as the recruitment detail lists it.
struct Position {
    std::string ZWMC;  // position name; also the section's title
    std::string XQRS;  // number of people wanted
    std::string GZLX;  // type of work
    std::string PYFS;  // form of employment
    std::string YXJB;  // salary
    std::string JZSJ;  // closing date

    static const RecordFields<Position>& fields();
};
