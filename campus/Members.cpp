#include "campus/Members.h"

const RecordFields<Members>& Members::fields() {
    static const RecordFields<Members> table = {
        {"unicom", &Members::unicom},
        {"cmcc", &Members::cmcc},
        {"rybh", &Members::rybh},
        {"xm", &Members::xm},
        {"chinaNet", &Members::chinaNet},
        {"officePhone", &Members::officePhone},
        {"housePhone", &Members::housePhone},
        {"xzzw", &Members::xzzw},
        {"cmccShort", &Members::cmccShort},
        {"chinanetShort", &Members::chinanetShort},
        {"officePhone2", &Members::officePhone2},
        {"unicomShort", &Members::unicomShort},
        {"jgdm", &Members::jgdm},
    };
    return table;
}
