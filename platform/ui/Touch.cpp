#include "platform/ui/Touch.h"

#include "platform/ui/View.h"

namespace platform {

Point Touch::locationInView(const View* inView) const {
    return inView ? inView->convertPointFrom(location, nullptr) : location;
}

Point Touch::previousLocationInView(const View* inView) const {
    return inView ? inView->convertPointFrom(previousLocation, nullptr) : previousLocation;
}

}  // namespace platform
