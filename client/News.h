#pragma once

#include <string>

#include "client/Record.h"

// One school news item of the home list.
struct News {
    std::string id;
    std::string imgUrl;  // thumbnail path on the school web site
    std::string xwbt;    // headline
    std::string fbsj;    // publication time, shown as it comes
    std::string xwnr;    // HTML body

    static const RecordFields<News>& fields();
};
