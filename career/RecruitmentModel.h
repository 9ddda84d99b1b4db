#pragma once

#include <string>

#include "client/Record.h"

// One row of the recruitment or internship list: an employer with its address and the date
// its notice closes. The field names are the career service's keys.
struct RecruitmentModel {
    std::string RN;      // the row's number in the whole list; never read
    std::string YRDWMC;  // employer name: the row's title, and the company the detail asks for
    std::string DWDZ;    // employer address
    std::string JZSJ;    // closing date

    static const RecordFields<RecruitmentModel>& fields();
};
