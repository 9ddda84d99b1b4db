#include "career/JobFair.h"

void JobFair::openRow(const platform::IndexPath& indexPath) {
    if (auto hub = pushDetailDelegate())
        hub->pushVC(indexPath, array(), kKind.detailTitle);
}
