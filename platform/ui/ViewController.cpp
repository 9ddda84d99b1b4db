#include "platform/ui/ViewController.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

#include "platform/foundation/Log.h"
#include "platform/ui/Animation.h"
#include "platform/ui/FormSheet.h"
#include "platform/ui/InterfaceRotation.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/PendingTransition.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

// Full-screen presentations take the presenter off the screen when they are done; the
// "over" styles, and the tablet's sheets, leave it showing underneath.
bool coversPresenter(ModalPresentationStyle style) {
    if (FormSheet::applies(style)) {
        return false;
    }
    switch (style) {
        case ModalPresentationStyle::OverFullScreen:
        case ModalPresentationStyle::OverCurrentContext:
        case ModalPresentationStyle::Custom:
        case ModalPresentationStyle::Popover:
            return false;
        default:
            return true;
    }
}

// The second half of a modal transition, once its animation is over: `finish` on the
// presenter, then the completion. Nothing happens when the presenter has gone by then.
void scheduleModalFinish(PendingTransition& transition,
                         const std::shared_ptr<ViewController>& presenter, bool animated,
                         void (ViewController::*finish)(), std::function<void()> completion) {
    std::weak_ptr<ViewController> weakPresenter = presenter;
    transition.schedule(animated ? animation::kModalTransition : 0,
                        [weakPresenter, finish, completion = std::move(completion)] {
                            auto alive = weakPresenter.lock();
                            if (!alive) {
                                return;
                            }
                            ((*alive).*finish)();
                            if (completion) {
                                completion();
                            }
                        });
}

std::string nameOf(const ViewController& controller) {
    const char* mangled = typeid(controller).name();
    int status = 0;
    char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && readable ? readable : mangled;
    std::free(readable);
    return name;
}

}  // namespace

ViewController::ViewController() : m_modalTransition(std::make_unique<PendingTransition>()) {}

ViewController::~ViewController() {
    if (m_view) {
        m_view->m_viewController = nullptr;
    }
    for (auto& child : m_children) {
        child->m_parent = nullptr;
    }
}

// --- View -------------------------------------------------------------------------------

const std::shared_ptr<View>& ViewController::view() {
    if (!m_view) {
        loadView();
        if (!m_view) {
            ViewController::loadView();
        }
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(std::shared_ptr<View> view) {
    if (m_view) {
        m_view->m_viewController = nullptr;
    }
    m_view = std::move(view);
    if (m_view) {
        m_view->m_viewController = this;
    }
}

void ViewController::loadView() {
    auto view = View::make<View>(Screen::main().bounds());
    view->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    setView(std::move(view));
}

// --- Appearance -------------------------------------------------------------------------

void ViewController::beginAppearanceTransition(bool appearing, bool animated) {
    auto self = weak_from_this().lock();
    if (appearing) {
        if (m_appearance == Appearance::Appearing || m_appearance == Appearance::Appeared) {
            return;
        }
        view();
        m_appearance = Appearance::Appearing;
        m_appearanceAnimated = animated;
        viewWillAppear(animated);
    } else {
        if (m_appearance == Appearance::Disappearing || m_appearance == Appearance::Disappeared) {
            return;
        }
        m_appearance = Appearance::Disappearing;
        m_appearanceAnimated = animated;
        viewWillDisappear(animated);
    }
    for (auto& child : childrenForAppearance()) {
        child->beginAppearanceTransition(appearing, animated);
    }
}

void ViewController::endAppearanceTransition() {
    auto self = weak_from_this().lock();
    if (m_appearance == Appearance::Appearing) {
        m_appearance = Appearance::Appeared;
        viewDidAppear(m_appearanceAnimated);
    } else if (m_appearance == Appearance::Disappearing) {
        m_appearance = Appearance::Disappeared;
        viewDidDisappear(m_appearanceAnimated);
    } else {
        return;
    }
    for (auto& child : childrenForAppearance()) {
        child->endAppearanceTransition();
    }
}

std::vector<std::shared_ptr<ViewController>> ViewController::childrenForAppearance() const {
    std::vector<std::shared_ptr<ViewController>> shown;
    if (!m_view) {
        return shown;
    }
    for (const auto& child : m_children) {
        if (child->m_view && child->m_view->isDescendantOf(m_view.get())) {
            shown.push_back(child);
        }
    }
    return shown;
}

void ViewController::viewMovedToWindow(bool inWindow) {
    // A child whose view a container adds to (or takes from) a parent already on screen
    // appears (or disappears) with it; transitions the parent drives are already under way
    // and are left alone.
    if (!m_parent || m_parent->m_appearance != Appearance::Appeared) {
        return;
    }
    if (inWindow && m_appearance == Appearance::Disappeared) {
        beginAppearanceTransition(true, false);
        endAppearanceTransition();
    } else if (!inWindow && m_appearance == Appearance::Appeared) {
        beginAppearanceTransition(false, false);
        endAppearanceTransition();
    }
}

// --- Items ------------------------------------------------------------------------------

void ViewController::setTitle(std::string title) {
    m_title = std::move(title);
    navigationItem().setTitle(m_title);
    tabBarItem().setTitle(m_title);
}

NavigationItem& ViewController::navigationItem() {
    if (!m_navigationItem) {
        m_navigationItem = std::make_shared<NavigationItem>(m_title);
    }
    return *m_navigationItem;
}

TabBarItem& ViewController::tabBarItem() {
    if (!m_tabBarItem) {
        m_tabBarItem = std::make_shared<TabBarItem>();
        m_tabBarItem->setTitle(m_title);
    }
    return *m_tabBarItem;
}

// --- Containment ------------------------------------------------------------------------

std::shared_ptr<ViewController> ViewController::parentViewController() const {
    return m_parent ? m_parent->weak_from_this().lock() : nullptr;
}

void ViewController::addChildViewController(std::shared_ptr<ViewController> child) {
    if (!child || child.get() == this || child->m_parent == this) {
        return;
    }
    if (child->m_parent) {
        child->removeFromParentViewController();
    }
    child->willMoveToParentViewController(this);
    attachChild(child, m_children.size());
}

void ViewController::removeFromParentViewController() {
    if (!m_parent) {
        return;
    }
    auto self = weak_from_this().lock();
    m_parent->detachChild(*this);
    didMoveToParentViewController(nullptr);
}

void ViewController::attachChild(const std::shared_ptr<ViewController>& child, size_t index) {
    m_children.insert(m_children.begin() + std::min(index, m_children.size()), child);
    child->m_parent = this;
}

void ViewController::detachChild(ViewController& child) {
    child.m_parent = nullptr;
    std::erase_if(m_children, [&child](const auto& c) { return c.get() == &child; });
}

void ViewController::setChildren(std::vector<std::shared_ptr<ViewController>> children) {
    m_children = std::move(children);
    for (auto& child : m_children) {
        child->m_parent = this;
    }
}

void ViewController::releaseChild(ViewController& child) {
    if (child.m_parent == this &&
        std::none_of(m_children.begin(), m_children.end(),
                     [&child](const auto& c) { return c.get() == &child; })) {
        child.m_parent = nullptr;
    }
}

bool ViewController::isAppearedOrAppearing() const {
    return m_appearance == Appearance::Appeared || m_appearance == Appearance::Appearing;
}

bool ViewController::isAppearing() const {
    return m_appearance == Appearance::Appearing;
}

std::shared_ptr<NavigationController> ViewController::navigationController() const {
    for (ViewController* p = m_parent; p; p = p->m_parent) {
        if (dynamic_cast<NavigationController*>(p)) {
            return std::static_pointer_cast<NavigationController>(p->weak_from_this().lock());
        }
    }
    return nullptr;
}

std::shared_ptr<TabBarController> ViewController::tabBarController() const {
    for (ViewController* p = m_parent; p; p = p->m_parent) {
        if (dynamic_cast<TabBarController*>(p)) {
            return std::static_pointer_cast<TabBarController>(p->weak_from_this().lock());
        }
    }
    return nullptr;
}

ViewController* ViewController::presentationRoot() {
    ViewController* root = this;
    while (root->m_parent) {
        root = root->m_parent;
    }
    return root;
}

const ViewController* ViewController::presentationRoot() const {
    return const_cast<ViewController*>(this)->presentationRoot();
}

// --- Modal presentation -----------------------------------------------------------------

void ViewController::presentViewController(std::shared_ptr<ViewController> controller,
                                           bool animated, std::function<void()> completion) {
    if (!controller) {
        return;
    }
    auto self = weak_from_this().lock();
    auto presenter = presentationRoot()->weak_from_this().lock();
    if (!presenter) {
        return;
    }
    if (presenter->m_presented) {
        log("Warning: Attempt to present %@ on %@ which is already presenting %@",
            nameOf(*controller), nameOf(*presenter), nameOf(*presenter->m_presented));
        return;
    }
    if (controller == presenter || controller->m_parent || controller->m_presenting.lock()) {
        log("Warning: Attempt to present %@ which is already shown", nameOf(*controller));
        return;
    }
    auto window = presenter->m_view ? presenter->m_view->window() : nullptr;
    if (!window) {
        log("Warning: Attempt to present %@ on %@ whose view is not in the window hierarchy!",
            nameOf(*controller), nameOf(*presenter));
        return;
    }

    presenter->m_presented = controller;
    controller->m_presenting = presenter;
    controller->m_beingPresented = true;
    bool covers = coversPresenter(controller->m_modalPresentationStyle);
    auto presentedView = controller->view();
    presentedView->setFrame(window->bounds());
    presentedView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                       AutoresizingMask::FlexibleHeight);
    // A tablet's sheet is in place before the presented screen hears it will appear: the
    // screens size the sheet they are in from viewWillAppear.
    const bool sheet = FormSheet::applies(controller->m_modalPresentationStyle);
    if (sheet) {
        FormSheet::place(*window, presentedView);
    }
    if (covers) {
        presenter->beginAppearanceTransition(false, animated);
    }
    controller->beginAppearanceTransition(true, animated);
    if (!sheet) {
        window->addSubview(presentedView);
    }
    presentedView->layoutIfNeeded();

    scheduleModalFinish(*presenter->m_modalTransition, presenter, animated,
                        &ViewController::finishPresentation, std::move(completion));
}

void ViewController::finishPresentation() {
    auto presented = m_presented;
    if (!presented) {
        return;
    }
    presented->m_beingPresented = false;
    presented->endAppearanceTransition();
    if (coversPresenter(presented->m_modalPresentationStyle)) {
        endAppearanceTransition();
        // Like the phone, a full-screen presentation takes what it covers out of the window.
        if (m_view) {
            if (auto window = std::dynamic_pointer_cast<Window>(m_view->superview())) {
                m_coveredInWindow = window;
                m_view->removeFromSuperview();
            }
        }
    }
    // The new top controller may not take the orientation shown.
    InterfaceRotation::attemptRotationToDeviceOrientation();
}

void ViewController::dismissViewController(bool animated, std::function<void()> completion) {
    auto self = weak_from_this().lock();
    ViewController* root = presentationRoot();
    std::shared_ptr<ViewController> presenter;
    if (root->m_presented) {
        presenter = root->weak_from_this().lock();
    } else {
        presenter = root->m_presenting.lock();
    }
    if (!presenter) {
        return;
    }
    // A presentation still under way completes first.
    presenter->m_modalTransition->flush();
    auto presented = presenter->m_presented;
    if (!presented || presented->m_beingDismissed) {
        return;
    }
    presented->m_beingDismissed = true;
    // Everything presented on top of it goes too; only the topmost is seen leaving.
    auto top = presented;
    while (top->m_presented) {
        top = top->m_presented;
    }
    bool covers = coversPresenter(presented->m_modalPresentationStyle);
    if (auto window = presenter->m_coveredInWindow.lock(); window && presenter->m_view) {
        presenter->m_coveredInWindow.reset();
        auto presentedView = presented->m_view;
        if (presentedView && presentedView->superview() == window) {
            window->insertSubviewBelow(presenter->m_view, presentedView.get());
        } else {
            window->insertSubview(presenter->m_view, 0);
        }
        presenter->m_view->setFrame(window->bounds());
    }
    top->beginAppearanceTransition(false, animated);
    if (covers) {
        presenter->beginAppearanceTransition(true, animated);
    }

    scheduleModalFinish(*presenter->m_modalTransition, presenter, animated,
                        &ViewController::finishDismissal, std::move(completion));
}

void ViewController::finishDismissal() {
    auto presented = m_presented;
    if (!presented) {
        return;
    }
    std::vector<std::shared_ptr<ViewController>> chain;
    for (auto c = presented; c; c = c->m_presented) {
        chain.push_back(c);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (auto v = (*it)->m_view) {
            FormSheet::remove(*v);
            v->removeFromSuperview();
        }
    }
    if (coversPresenter(presented->m_modalPresentationStyle)) {
        endAppearanceTransition();
    }
    chain.back()->endAppearanceTransition();
    for (auto& c : chain) {
        c->m_presenting.reset();
        c->m_presented.reset();
        c->m_coveredInWindow.reset();
        c->m_beingDismissed = false;
        c->m_beingPresented = false;
    }
    m_presented.reset();
    // The controller shown again may take the device's orientation.
    InterfaceRotation::attemptRotationToDeviceOrientation();
}

std::shared_ptr<ViewController> ViewController::presentedViewController() const {
    return presentationRoot()->m_presented;
}

std::shared_ptr<ViewController> ViewController::presentingViewController() const {
    for (const ViewController* p = this; p; p = p->m_parent) {
        if (auto presenting = p->m_presenting.lock()) {
            return presenting;
        }
    }
    return nullptr;
}

// --- Layout guides ----------------------------------------------------------------------

double ViewController::topLayoutGuideLength() const {
    if (!m_view) {
        return 0;
    }
    double covered = Application::shared().statusBarFrame().size.height;
    if (auto nav = navigationController(); nav && !nav->isNavigationBarHidden()) {
        covered += NavigationBar::kHeight;
    }
    double top = m_view->convertPointTo(m_view->bounds().origin, nullptr).y;
    return std::max(0.0, covered - top);
}

double ViewController::bottomLayoutGuideLength() const {
    if (!m_view) {
        return 0;
    }
    auto tabs = tabBarController();
    if (!tabs || tabs->tabBar()->isHidden()) {
        return 0;
    }
    Rect bar = tabs->tabBar()->convertRectTo(tabs->tabBar()->bounds(), nullptr);
    Rect mine = m_view->convertRectTo(m_view->bounds(), nullptr);
    return std::max(0.0, mine.maxY() - bar.minY());
}

// --- Responder --------------------------------------------------------------------------

Responder* ViewController::nextResponder() const {
    if (m_view && m_view->m_superview) {
        return m_view->m_superview;
    }
    if (m_parent) {
        return m_parent;
    }
    return m_presenting.lock().get();
}

}  // namespace platform
