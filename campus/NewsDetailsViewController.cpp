#include "campus/NewsDetailsViewController.h"

#include "campus/DetailPageHTML.h"
#include "campus/PushedScreenBar.h"
#include "client/MyTool.h"
#include "client/ServiceConfig.h"
#include "components/hud/StatusHUD.h"
#include "components/photopicker/WebPhotoFilePicker.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"

using platform::Rect;
using platform::components::StatusHUD;

namespace {

namespace color {
constexpr const char* kTitle = "333333";
constexpr const char* kTime = "999999";
constexpr const char* kLine = "c1c4d6";
}  // namespace color

// The page's geometry for a screen W points wide, the title taking the height of its text.
struct DetailLayout {
    static constexpr double kMargin = 15;
    static constexpr double kTitleFontSize = 18;
    static constexpr double kTimeFontSize = 13;

    Rect title;
    Rect time;
    Rect line;
    Rect web;

    static DetailLayout forPage(platform::Size page, const std::string& titleText) {
        const double W = page.width;
        const double textWidth = W - 2 * kMargin;
        DetailLayout l;
        const double titleHeight = std::max(
            22.0, MyTool::heightOfLabel(titleText, platform::Font::boldSystemFont(kTitleFontSize),
                                        textWidth));
        l.title = {{kMargin, 12}, {textWidth, titleHeight}};
        l.time = {{kMargin, l.title.maxY() + 8}, {textWidth, 16}};
        l.line = {{kMargin, l.time.maxY() + 8}, {textWidth, 1}};
        l.web = {{0, l.line.maxY() + 4}, {W, std::max(0.0, page.height - l.line.maxY() - 4)}};
        return l;
    }
};

}  // namespace

NewsDetailsViewController::NewsDetailsViewController() = default;

NewsDetailsViewController::~NewsDetailsViewController() = default;

void NewsDetailsViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setBackgroundColor(platform::Color::white());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    setView(root);
}

void NewsDetailsViewController::viewDidLoad() {
    StatusHUD::showWithStatus(kLoadingText);
    createTabBar();
    createUI();

    m_titleLabel->setText(m_titleStr);
    m_timeLabel->setText(m_timeStr);
    m_titleLabel->setTextColor(MyTool::colorWithString(color::kTitle));
    m_timeLabel->setTextColor(MyTool::colorWithString(color::kTime));
    m_lineView->setBackgroundColor(MyTool::colorWithString(color::kLine));

    // The opener's body stays as given; the page shows it with the image paths rewritten.
    const std::string body = handleImgString(m_contentStr, ServiceConfig::shared().schoolSiteRoot);
    m_contentWebView->setBackgroundColor(platform::Color::white());
    m_contentWebView->loadHTMLString(
        detailPageDocument(platform::Screen::main().size().width, body), "");
}

void NewsDetailsViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    keepEdgeSwipeBack(*this);
}

void NewsDetailsViewController::viewWillDisappear(bool animated) {
    ViewController::viewWillDisappear(animated);
    // Leaving by the edge swipe must not leave the overlay over the screen below.
    StatusHUD::dismiss();
}

void NewsDetailsViewController::createTabBar() {
    std::weak_ptr<platform::ViewController> weakSelf = weak_from_this();
    setUpPushedScreenBar(*this, m_naviTitleStr, [weakSelf] {
        if (auto self = std::static_pointer_cast<NewsDetailsViewController>(weakSelf.lock()))
            self->backBtnWithAction();
    });
}

void NewsDetailsViewController::createUI() {
    const auto layout = DetailLayout::forPage(view()->bounds().size, m_titleStr);

    m_titleLabel = platform::View::make<platform::Label>(layout.title);
    m_titleLabel->setFont(platform::Font::boldSystemFont(DetailLayout::kTitleFontSize));
    m_titleLabel->setNumberOfLines(0);
    view()->addSubview(m_titleLabel);

    m_timeLabel = platform::View::make<platform::Label>(layout.time);
    m_timeLabel->setFont(platform::Font::systemFont(DetailLayout::kTimeFontSize));
    view()->addSubview(m_timeLabel);

    m_lineView = platform::View::make<platform::View>(layout.line);
    view()->addSubview(m_lineView);

    m_contentWebView = platform::View::make<platform::WebView>(layout.web);
    m_contentWebView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                          platform::AutoresizingMask::FlexibleHeight);
    m_contentWebView->setDelegate(
        std::static_pointer_cast<NewsDetailsViewController>(shared_from_this()));
    // A page's file field offers the phone's photos, as the phone's own web view does.
    m_contentWebView->setFilePicker(std::make_shared<platform::components::WebPhotoFilePicker>());
    view()->addSubview(m_contentWebView);
}

void NewsDetailsViewController::backBtnWithAction() {
    StatusHUD::dismiss();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void NewsDetailsViewController::webViewDidFinishLoad(platform::WebView& webView) {
    const auto& scroll = webView.scrollView();
    const platform::Size content = scroll->contentSize();
    // A finish that finds the height this page set last time (no new layout since) keeps the
    // remembered base, so the watermark's room is added once, not once per finish.
    if (content.height != m_extendedContentHeight)
        m_baseContentHeight = content.height;

    if (m_imgView)
        m_imgView->removeFromSuperview();
    m_imgView = platform::View::make<platform::ImageView>(
        Rect{{0, m_baseContentHeight}, {content.width, kWatermarkHeight}});
    m_imgView->setContentMode(platform::ContentMode::ScaleAspectFit);
    m_imgView->setImage(platform::Image::named(kWatermarkImage));
    scroll->addSubview(m_imgView);

    m_extendedContentHeight = m_baseContentHeight + kWatermarkHeight;
    scroll->setContentSize({content.width, m_extendedContentHeight});
    StatusHUD::dismiss();
}

void NewsDetailsViewController::didFailLoadWithError(platform::WebView& /*webView*/,
                                                     const platform::WebError& error) {
    platform::log("error:%@", error.description);
    // Nothing would take the overlay down otherwise: it would cover the page until back.
    StatusHUD::dismiss();
}
