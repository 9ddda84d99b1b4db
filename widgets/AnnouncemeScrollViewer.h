#pragma once

#include <memory>

#include "widgets/TabPager.h"

// The tab pager as a plain view: the notice channels' five pages.
class AnnouncemeScrollViewer : public TabPager<platform::View> {
public:
    using TabPager::TabPager;

    static std::shared_ptr<AnnouncemeScrollViewer> scrollWithFrame(const platform::Rect& frame,
                                                                   Views views, Titles buttonNames,
                                                                   int animationCode);
};
