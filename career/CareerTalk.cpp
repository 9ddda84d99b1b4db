#include "career/CareerTalk.h"

void CareerTalk::openRow(const platform::IndexPath& indexPath) {
    if (auto hub = pushDetailDelegate())
        hub->pushCareerDetail(indexPath, array(), kKind.detailTitle);
}
