#include "webcontainer/DataHandle.h"

DataHandle& DataHandle::sharePageIndex() {
    static DataHandle shared;
    return shared;
}
