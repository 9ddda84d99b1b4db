#include "career/Recruitment.h"

void Recruitment::openRow(const platform::IndexPath& indexPath) {
    if (auto hub = pushRDDelegate())
        hub->pushRecruitmentDetail(array().at(size_t(indexPath.row)).YRDWMC, kKind.detailTitle,
                                   kKind.type);
}
