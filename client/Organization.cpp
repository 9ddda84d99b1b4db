#include "client/Organization.h"

const RecordFields<Organization>& Organization::fields() {
    static const RecordFields<Organization> table = {{"zzbh", &Organization::zzbh},
                                                     {"zzmc", &Organization::zzmc},
                                                     {"lbdm", &Organization::lbdm}};
    return table;
}
