#include "widgets/AnnouncemeScrollViewer.h"

std::shared_ptr<AnnouncemeScrollViewer> AnnouncemeScrollViewer::scrollWithFrame(
    const platform::Rect& frame, Views views, Titles buttonNames, int animationCode) {
    return make<AnnouncemeScrollViewer>(frame, std::move(views), std::move(buttonNames),
                                        animationCode);
}
