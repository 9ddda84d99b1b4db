#pragma once

#include <string>

#include "client/Record.h"

// One row of the job-fair or career-talk list, and all that the event's detail page shows.
// The field names are the career service's keys.
struct JobFairModel {
    std::string RN;     // the row's number in the whole list; never read
    std::string ID;     // never read
    std::string ZT;     // subject: the row's title and the detail page's heading
    std::string ZPHLX;  // job-fair type
    std::string ZBDW;   // organising unit
    std::string JBDD;   // venue
    std::string APRQ;   // date
    std::string KSSJ;   // start time; its first five characters are shown
    std::string JSSJ;   // end time
    std::string XL;     // education level
    std::string ZY;     // specialties
    std::string LXR;    // contact person
    std::string LXDH;   // contact phone
    std::string SJ;     // mobile phone
    std::string CZ;     // fax
    std::string EMAIL;  // e-mail
    std::string FBR;    // publisher
    std::string YRDW;   // employer (the career talk's "单位")

    static const RecordFields<JobFairModel>& fields();
};
