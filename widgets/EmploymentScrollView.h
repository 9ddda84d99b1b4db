#pragma once

#include <memory>

#include "widgets/TabPager.h"

// The tab pager on a scroll view, for the career hub's lists. Its own scrolling is left
// alone: no content size, no delegate.
class EmploymentScrollView : public TabPager<platform::ScrollView> {
public:
    using TabPager::TabPager;

    static std::shared_ptr<EmploymentScrollView> scrollWithFrame(const platform::Rect& frame,
                                                                 Views views, Titles buttonNames,
                                                                 int animationCode);
};
