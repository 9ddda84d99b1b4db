#include "campus/AcademicForum.h"

#include "platform/foundation/ComposedCharacters.h"

const RecordFields<AcademicForum>& AcademicForum::fields() {
    static const RecordFields<AcademicForum> table = {
        {"jzjssj", &AcademicForum::jzjssj}, {"jzdd", &AcademicForum::jzdd},
        {"jzmc", &AcademicForum::jzmc},     {"jzsqxy", &AcademicForum::jzsqxy},
        {"jzzbdw", &AcademicForum::jzzbdw}, {"jzid", &AcademicForum::jzid},
        {"jzkssj", &AcademicForum::jzkssj}, {"jznr", &AcademicForum::jznr},
        {"jzrxm", &AcademicForum::jzrxm},   {"jzrms", &AcademicForum::jzrms}};
    return table;
}

std::string AcademicForum::startDate() const {
    return platform::substringOfCharacters(jzkssj, 0, 10);
}

std::string AcademicForum::timeRange() const {
    const std::string start = platform::substringOfCharacters(jzkssj, 0, 16);
    const std::string end = platform::substringOfCharacters(jzjssj, 11, 5);
    // The hyphen joins two parts; with one missing there is nothing to join.
    if (start.empty() || end.empty())
        return start + end;
    return start + "-" + end;
}
