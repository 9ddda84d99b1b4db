#pragma once

#include <string>

#include "client/Record.h"

// One organisation category of the staff directory ("orgcategory").
struct Organization {
    std::string zzbh;  // the category's number, kept as sent; nothing reads it
    std::string zzmc;  // its name, shown as the row text
    std::string lbdm;  // its code: the organisation id its members are asked for by

    static const RecordFields<Organization>& fields();
};
