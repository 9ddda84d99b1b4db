#include "campus/MeetingDetailsViewController.h"

#include "campus/MeetingDetailsScrollView.h"
#include "campus/PushedScreenBar.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"

MeetingDetailsViewController::MeetingDetailsViewController() = default;
MeetingDetailsViewController::~MeetingDetailsViewController() = default;

void MeetingDetailsViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    setView(root);
}

void MeetingDetailsViewController::viewDidLoad() {
    auto navigation = navigationController();
    if (navigation)
        navigation->navigationBar()->setTranslucent(false);
    std::weak_ptr<platform::ViewController> weakSelf = weak_from_this();
    setUpPushedScreenBar(*this, kTitle, [weakSelf] {
        if (auto self = std::static_pointer_cast<MeetingDetailsViewController>(weakSelf.lock()))
            self->backBtnWithAction();
    });
    if (navigation) {
        navigation->navigationBar()->setBackgroundColor(
            platform::Color::rgba(41 / 255.0f, 140 / 255.0f, 242 / 255.0f, 1));
    }
    view()->setBackgroundColor(platform::Color::white());

    // As large as the page, not the screen, so its scrolling reaches the content's end.
    m_detailsView =
        platform::View::make<MeetingDetailsScrollView>(view()->bounds(), m_oneWeekMeeting);
    m_detailsView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                       platform::AutoresizingMask::FlexibleHeight);
    view()->addSubview(m_detailsView);
}

void MeetingDetailsViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    keepEdgeSwipeBack(*this);
}

void MeetingDetailsViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}
