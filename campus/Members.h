#pragma once

#include <string>

#include "client/Record.h"

// A member record with the directory's member keys. Declared beside the indexed member list;
// the screens pass member objects on as the service sent them, so nothing fills or reads it.
struct Members {
    std::string unicom;
    std::string cmcc;
    std::string rybh;
    std::string xm;
    std::string chinaNet;
    std::string officePhone;
    std::string housePhone;
    std::string xzzw;
    std::string cmccShort;
    std::string chinanetShort;
    std::string officePhone2;
    std::string unicomShort;
    std::string jgdm;

    static const RecordFields<Members>& fields();
};

// A contact record (a name and a mobile number). Declared beside the indexed member list;
// nothing creates or reads it.
struct People {
    std::string userName;
    std::string mobileNo;
};
