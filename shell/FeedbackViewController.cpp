#include "shell/FeedbackViewController.h"

#include "client/ActionReply.h"
#include "client/MyTool.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/SignInSession.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextView.h"
#include "widgets/ProgressHUDConveniences.h"
#include "widgets/ViewControllerBackBarItem.h"

using platform::Rect;

namespace {

namespace text {
constexpr const char* kSubmit = "提交";
}

namespace color {
constexpr const char* kBackground = "f7f7f7";
constexpr const char* kTextBorder = "dadada";
constexpr const char* kSubmitButton = "e4af1e";
constexpr const char* kPlaceholder = "939391";
}  // namespace color

namespace handle {
constexpr const char* kText = "feedback";
constexpr const char* kSubmit = "submit";
}  // namespace handle

constexpr double kTitleFontSize = 19;
constexpr double kTextFontSize = 15;
constexpr double kTextBorderWidth = 1;
constexpr double kTextCornerRadius = 6;
constexpr double kSubmitCornerRadius = 4;

// The page's geometry for a screen `width` points wide (below the navigation bar).
struct FeedbackLayout {
    Rect textView;
    Rect submit;
    static constexpr Rect kPlaceholder{{10, 8}, {200, 20}};

    static FeedbackLayout forWidth(double width) {
        FeedbackLayout l;
        l.textView = {{10, 15}, {width - 20, 180}};
        l.submit = {{10, l.textView.maxY() + 20}, {width - 20, 44}};
        return l;
    }
};

}  // namespace

FeedbackViewController::FeedbackViewController() = default;
FeedbackViewController::~FeedbackViewController() = default;

std::shared_ptr<FeedbackViewController> FeedbackViewController::self() {
    return std::static_pointer_cast<FeedbackViewController>(shared_from_this());
}

void FeedbackViewController::loadView() {
    const auto screen = platform::Screen::main().bounds();
    const auto layout = FeedbackLayout::forWidth(screen.size.width);
    auto root = platform::View::make<platform::View>(screen);
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);

    m_myTextView = platform::View::make<platform::TextView>(layout.textView);
    m_myTextView->setFont(platform::Font::systemFont(kTextFontSize));
    m_myTextView->setHandle(handle::kText);
    m_myTextView->setDelegate(std::static_pointer_cast<platform::TextViewDelegate>(self()));
    root->addSubview(m_myTextView);

    m_submitButton = platform::View::make<platform::Button>(layout.submit);
    m_submitButton->setTitle(text::kSubmit);
    m_submitButton->setHandle(handle::kSubmit);
    std::weak_ptr<FeedbackViewController> weak = self();
    m_submitButton->addTarget(
        [weak](platform::Control& sender) {
            if (auto page = weak.lock())
                page->SubmitButton(sender);
        },
        platform::ControlEvent::TouchUpInside);
    root->addSubview(m_submitButton);
    setView(root);
}

void FeedbackViewController::viewDidLoad() {
    if (auto navigation = navigationController())
        navigation->navigationBar()->setTranslucent(false);
    createTabBar();
    view()->setBackgroundColor(MyTool::colorWithString(color::kBackground));

    m_myTextView->setBorderWidth(kTextBorderWidth);
    m_myTextView->setBorderColor(MyTool::colorWithString(color::kTextBorder));
    m_myTextView->setCornerRadius(kTextCornerRadius);

    m_submitButton->setBackgroundColor(MyTool::colorWithString(color::kSubmitButton));
    m_submitButton->setTintColor(platform::Color::white());
    m_submitButton->setTitleColor(platform::Color::white());
    m_submitButton->setCornerRadius(kSubmitCornerRadius);

    m_labelText = platform::View::make<platform::Label>(FeedbackLayout::kPlaceholder);
    m_labelText->setText(kPlaceholder);
    m_labelText->setFont(platform::Font::systemFont(kTextFontSize));
    m_labelText->setTextColor(MyTool::colorWithString(color::kPlaceholder));
    m_labelText->setBackgroundColor(platform::Color::clear());
    m_myTextView->addSubview(m_labelText);
    updatePlaceholder();
}

void FeedbackViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(kTitleFontSize), platform::Color::white()});
    }
    setTitle(kTitle);
    std::weak_ptr<FeedbackViewController> weak = self();
    auto back = backBarBtnWithAction(*this, [weak](platform::Control&) {
        if (auto page = weak.lock())
            page->backBtnWithAction();
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
}

void FeedbackViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    // With a custom back button the swipe back would stop working unless the recogniser
    // asks nobody.
    if (auto navigation = navigationController()) {
        if (auto recognizer = navigation->interactivePopGestureRecognizer())
            recognizer->setDelegate({});
    }
}

void FeedbackViewController::backBtnWithAction() {
    auto keep = self();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
    view()->endEditing(true);
}

void FeedbackViewController::touchesBegan(const platform::Touches& /*touches*/) {
    view()->endEditing(true);
}

bool FeedbackViewController::shouldChangeTextInRange(platform::TextView& /*textView*/,
                                                     platform::TextRange /*range*/,
                                                     const std::string& /*replacement*/) {
    return true;
}

void FeedbackViewController::textViewDidChange(platform::TextView& /*textView*/) {
    // Decided from the text after the change, not from the key pressed: deleting a selection,
    // cutting or pasting leaves the placeholder right too.
    updatePlaceholder();
}

void FeedbackViewController::updatePlaceholder() {
    if (m_labelText && m_myTextView)
        m_labelText->setHidden(!m_myTextView->text().empty());
}

void FeedbackViewController::SubmitButton(platform::Control& /*sender*/) {
    view()->endEditing(true);
    // A submission still waiting gives way to the new one: one overlay at a time.
    hideHUD();
    m_HUD = platform::View::make<platform::components::ProgressHUD>(*view());
    view()->addSubview(m_HUD);
    m_HUD->setLabelText(kSubmitting);
    m_HUD->setRemoveFromSuperViewOnHide(true);
    m_HUD->showWhileExecutingDelay(kSubmitTimeoutSeconds, {});

    const std::string contents = m_myTextView->text();
    getDataWithUserId(SignInSession().userId(), kTitle, contents);
    platform::log("输出：%@", contents);
}

void FeedbackViewController::getDataWithUserId(const std::string& userId, const std::string& title,
                                               const std::string& contents) {
    // NetRequest escapes each value as a query component, so "&", "=" and "+" in the text
    // arrive as text.
    const auto url = NetRequest::addAdviceWithUserAccount(userId, title, contents);
    std::weak_ptr<FeedbackViewController> weak = self();
    NetTool::shareInstance().postWithURL(
        url,
        [weak](const platform::Json& reply) {
            auto page = weak.lock();
            if (!page)
                return;
            page->showHUDWithStr(ActionReply::succeeded(reply) ? kSubmitted : kNotSubmitted);
            page->hideHUD();
        },
        [weak](const NetError& error) {
            platform::log("error:%@", describe(error));
            // The user learns at once that the message did not go, instead of waiting out
            // the overlay.
            auto page = weak.lock();
            if (!page)
                return;
            page->showHUDWithStr(kNotSubmitted);
            page->hideHUD();
        });
}

void FeedbackViewController::hideHUD() {
    if (m_HUD)
        m_HUD->hide(true);
}

void FeedbackViewController::showHUDWithStr(const std::string& text) {
    ProgressHUDConveniences::showHUDWithStr(view(), text);
}
