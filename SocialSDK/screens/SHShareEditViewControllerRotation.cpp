// The edit screen's two layout files' resizing and its rotation methods; the layout over the
// keyboard (the phone's) is in SHShareEditViewController.cpp.
#include "SocialSDK/screens/SHShareEditLayout.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"

namespace {

using platform::AutoresizingMask;

constexpr AutoresizingMask kFlexibleSize =
    AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight;

}  // namespace

// The phone's layout file: the text widens with the screen, the picture column and the
// counter keep to the right edge; the keyboard's layout places the rest. The tool bar keeps its
// frame when the view changes size, so that a change of width the keyboard's layout has not
// followed shows in its centre (see readyForAppear).
void SHShareEditViewController::applyPhoneResizing() {
    m_textView->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_shareImageButton->setAutoresizingMask(AutoresizingMask::FlexibleLeftMargin);
    m_deleteImageButton->setAutoresizingMask(AutoresizingMask::FlexibleLeftMargin);
    m_toolViewBackgroundImage->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_countLabel->setAutoresizingMask(AutoresizingMask::FlexibleLeftMargin);
    m_changeAccountBackgroundView->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
}

// The tablet's layout file: the text fills the sheet above a tool bar at its foot, which the
// keyboard does not move (on the tablet the sheet itself stays clear of the keyboard); it has
// no account panel and no button for it.
void SHShareEditViewController::applyPadLayout() {
    using namespace SHShareEditLayout;
    const auto size = view()->bounds().size;
    m_textView->setFrame({{0, 0}, {size.width - kPictureColumn, size.height - kToolBarHeight}});
    m_textView->setAutoresizingMask(kFlexibleSize);
    m_shareImageButton->setAutoresizingMask(AutoresizingMask::FlexibleLeftMargin);
    m_deleteImageButton->setAutoresizingMask(AutoresizingMask::FlexibleLeftMargin);
    m_toolBarView->setFrame({{0, size.height - kToolBarHeight}, {size.width, kToolBarHeight}});
    m_toolBarView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                       AutoresizingMask::FlexibleTopMargin);
    m_toolViewBackgroundImage->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_countLabel->setAutoresizingMask(AutoresizingMask::FlexibleLeftMargin);
    m_changeAccountButton->setHidden(true);
    m_changeAccountBackgroundView->setFrame({{0, size.height}, {size.width, 0}});
    m_changeAccountBackgroundView->setHidden(true);
}

bool SHShareEditViewController::shouldAutorotateToInterfaceOrientation(
    platform::InterfaceOrientation orientation) {
    return SHSocialConfigInternal::shareInstance().shouldAutorotateToInterfaceOrientation(
        static_cast<int>(orientation));
}

void SHShareEditViewController::willRotateToInterfaceOrientation(platform::InterfaceOrientation,
                                                                 double) {
    if (m_textView && !m_textView->isFirstResponder())
        m_textView->becomeFirstResponder();
}
