#include "career/Internship.h"

void Internship::openRow(const platform::IndexPath& indexPath) {
    if (auto hub = pushIDDelegate())
        hub->pushRecruitmentDetail(array().at(size_t(indexPath.row)).YRDWMC, kKind.detailTitle,
                                   kKind.type);
}
