#include "platform/devices/SocialComposeViewController.h"

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Color.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"

namespace platform {

namespace {

struct SocialDevice {
    std::set<std::string> accounts;
    std::weak_ptr<SocialComposeViewController> open;
    std::vector<SocialComposeViewController::Post> presented;
};

SocialDevice& device() {
    static SocialDevice state;
    return state;
}

}  // namespace

bool SocialComposeViewController::isAvailableForServiceType(const std::string& serviceType) {
    return device().accounts.count(serviceType) > 0;
}

void SocialComposeViewController::setAvailableForServiceType(const std::string& serviceType,
                                                             bool available) {
    if (available)
        device().accounts.insert(serviceType);
    else
        device().accounts.erase(serviceType);
}

std::shared_ptr<SocialComposeViewController> SocialComposeViewController::openComposer() {
    auto composer = device().open.lock();
    return composer && !composer->isFinished() ? composer : nullptr;
}

bool SocialComposeViewController::finishOpenComposer(SocialComposeResult result) {
    auto composer = openComposer();
    if (!composer)
        return false;
    composer->finish(result);
    return true;
}

const std::vector<SocialComposeViewController::Post>&
SocialComposeViewController::presentedPosts() {
    return device().presented;
}

void SocialComposeViewController::resetDevice() {
    device() = SocialDevice{};
}

SocialComposeViewController::SocialComposeViewController(std::string serviceType) {
    m_post.serviceType = std::move(serviceType);
}

void SocialComposeViewController::finish(SocialComposeResult result) {
    if (m_finished)
        return;
    m_finished = true;
    std::weak_ptr<SocialComposeViewController> weak =
        std::static_pointer_cast<SocialComposeViewController>(shared_from_this());
    RunLoop::main().post([weak, result] {
        auto self = weak.lock();
        if (self && self->m_completion)
            self->m_completion(result);
    });
}

void SocialComposeViewController::loadView() {
    auto view = View::make<View>();
    view->setFrame(Screen::main().bounds());
    view->setBackgroundColor(Color::white());
    setView(view);
}

void SocialComposeViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    if (m_recorded || m_finished)
        return;
    m_recorded = true;
    device().presented.push_back(m_post);
    device().open = std::static_pointer_cast<SocialComposeViewController>(shared_from_this());
}

}  // namespace platform
