#include "SocialSDK/service/SHSocialIconSheetView.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/ViewController.h"

namespace {

constexpr double kIconSize = 80;
constexpr double kCaptionWidth = 70;
constexpr double kCaptionHeight = 20;
constexpr double kSmallestColumn = 70;
constexpr double kPortraitGridLimit = 320;
constexpr double kLandscapeGridLimit = 240;

// Before version 8 the screen's bounds and the status bar stayed in portrait coordinates
// whichever way the interface turned, so the sheet turns them itself. The version is the
// interface's (the device's), not the host system's that the SDK reports to its service.
bool beforeVersion8() {
    return platform::Application::shared().systemVersionNumber() < 8.0;
}

std::weak_ptr<SHSocialIconSheetView>& lastSheet() {
    static std::weak_ptr<SHSocialIconSheetView> sheet;
    return sheet;
}

}  // namespace

SHSocialIconSheetView::SHSocialIconSheetView(const std::vector<std::string>& items,
                                             std::function<void(const std::string&)> handler)
    : platform::View(platform::Rect{{0, 0}, {200, 200}}), m_handler(std::move(handler)) {
    setBackgroundColor(platform::Color::clear());
    setSnsNames(items);
    m_background = std::make_shared<platform::ImageView>();
    if (SHSocialConfigInternal::shareInstance().socialTheme == 0)
        m_background->setImage(
            platform::Image::named("SHSocialSDKResourcesNew.bundle/Buttons/SHS_actionsheet_panel")
                .stretchableImage(0, 30));
    else
        m_background->setBackgroundColor(platform::Color::white());
    m_background->setUserInteractionEnabled(true);
    m_scroll = std::make_shared<platform::ScrollView>();
    m_scroll->setShowsHorizontalScrollIndicator(true);
    m_scroll->setPagingEnabled(true);
    m_scroll->addSubview(m_background);
    addSubview(m_scroll);
    auto& registry = SHSocialSnsPlatformManager::sharedInstance();
    for (const auto& name : m_snsNames) {
        auto platform = registry.getSnsPlatformWithName(name);
        if (!platform)
            continue;
        const int type = platform->shareToType;
        auto button = std::make_shared<platform::Button>(platform::ButtonType::Custom);
        if (platform->bigImageName)
            button->setImage(platform::Image::named(*platform->bigImageName));
        button->setTag(type + 100);
        button->setHandle("share-" + name);
        button->addTarget([this, tag = type + 100](platform::Control&) { actionToSnsButton(tag); },
                          platform::ControlEvent::TouchUpInside);
        m_scroll->addSubview(button);
        auto caption = std::make_shared<platform::Label>(
            platform::Rect{{0, 0}, {kCaptionWidth, kCaptionHeight}});
        caption->setBackgroundColor(platform::Color::clear());
        caption->setTextAlignment(platform::TextAlignment::Center);
        caption->setFont(platform::Font::systemFont(11));
        caption->setTag(type + 200);
        caption->setHidden(true);
        caption->setText(platform->displayName.value_or(name));
        m_scroll->addSubview(caption);
    }
}

void SHSocialIconSheetView::setSnsNames(const std::vector<std::string>& names) {
    auto& registry = SHSocialSnsPlatformManager::sharedInstance();
    std::vector<std::string> kept;
    for (const auto& name : names) {
        if (!registry.isRegistered(name))
            continue;
        auto internal = registry.getSnsPlatformWithName(name)->platformInternal();
        internal->shareStatus = "1";
        if (internal->isHidden && !(internal->socialLoginDelegate &&
                                    internal->socialLoginDelegate->isClientInstall(name)))
            continue;
        kept.push_back(name);
    }
    m_snsNames = std::move(kept);
    setNeedsLayout();
}

void SHSocialIconSheetView::layoutGrid() {
    auto backdrop = superview();
    const auto& application = platform::Application::shared();
    const platform::Rect bar = application.statusBarFrame();
    double base = bar.height() + 90;
    const double grid = platform::isLandscape(application.statusBarOrientation())
                            ? kLandscapeGridLimit
                            : kPortraitGridLimit;
    const double limit = grid + bar.height() + 90;
    platform::Size screen = platform::Screen::main().size();
    if (presentedInLandscape()) {
        if (beforeVersion8()) {
            std::swap(screen.width, screen.height);
            base = bar.width() + 90;
        }
        if (backdrop) {
            const platform::Size size = backdrop->frame().size;
            if (size.height > size.width)
                backdrop->setFrame(platform::Rect{{0, 0}, {size.height, size.width}});
        }
    } else if (backdrop) {
        if (auto host = backdrop->superview()) {
            const platform::Size size = host->bounds().size;
            if (size.height > size.width)
                backdrop->setFrame(platform::Rect{{0, 0}, size});
        }
    }
    const double width = screen.width;
    const auto count = static_cast<double>(m_snsNames.size());
    int cols = 4;
    double rows = std::ceil(count / cols);
    double total = rows * kRowHeight + base;
    while (total > limit || total > screen.height) {
        ++cols;
        rows = std::ceil(count / cols);
        total = rows * kRowHeight + base;
        if (width / cols < kSmallestColumn)
            break;
    }
    m_columns = cols;
    const double column = width / cols;
    const double gridHeight = rows * kRowHeight;
    const double backdropHeight = backdrop ? backdrop->bounds().size.height : screen.height;
    View::setFrame(platform::Rect{{0, backdropHeight - gridHeight}, {width, gridHeight}});
    m_background->setFrame(platform::Rect{{0, 0}, {width, gridHeight}});
    m_scroll->setFrame(platform::Rect{{0, 0}, {width, screen.height}});
    m_scroll->setContentSize(platform::Size{width, gridHeight});
    // The captions' look, which the host's grid hook may change; layout runs outside a
    // drawing pass, so the hook gets no drawing context here.
    auto captionTemplate = std::make_shared<platform::Label>();
    captionTemplate->setTextAlignment(platform::TextAlignment::Center);
    captionTemplate->setFont(platform::Font::systemFont(11));
    captionTemplate->setTextColor(platform::Color::darkGray());
    if (auto config = SHSocialConfigInternal::shareInstance().gridViewConfig)
        config(nullptr, m_background, captionTemplate);
    auto& registry = SHSocialSnsPlatformManager::sharedInstance();
    for (size_t i = 0; i < m_snsNames.size(); ++i) {
        auto platform = registry.getSnsPlatformWithName(m_snsNames[i]);
        if (!platform)
            continue;
        const double col = static_cast<double>(i % static_cast<size_t>(cols));
        const double row = static_cast<double>(i / static_cast<size_t>(cols));
        const int type = platform->shareToType;
        const double left = col * column + (column - kIconSize) / 2;
        if (auto button = m_scroll->viewWithTag(type + 100))
            button->setFrame(platform::Rect{{left, row * kRowHeight - 8}, {kIconSize, kIconSize}});
        if (auto caption =
                std::dynamic_pointer_cast<platform::Label>(m_scroll->viewWithTag(type + 200))) {
            caption->setText(platform->displayName.value_or(m_snsNames[i]));
            caption->setHidden(false);
            const platform::Size size = caption->frame().size;
            caption->setFrame(platform::Rect{{left + 5, row * kRowHeight + 47}, size});
            caption->setFont(captionTemplate->font());
            caption->setTextColor(captionTemplate->textColor());
            caption->setTextAlignment(captionTemplate->textAlignment());
            caption->setBackgroundColor(platform::Color::clear());
            // The template's size, once the hook gave it one (it starts without any).
            const platform::Rect shape = captionTemplate->frame();
            if (shape != platform::Rect{})
                caption->setFrame(platform::Rect{caption->frame().origin, shape.size});
            caption->setHidden(captionTemplate->isHidden());
        }
    }
    drawGrid(column, gridHeight);
}

void SHSocialIconSheetView::drawGrid(double column, double gridHeight) {
    const platform::Size size{bounds().size.width, gridHeight};
    const std::array<double, 4> key{size.width, size.height, static_cast<double>(m_columns),
                                    static_cast<double>(m_snsNames.size())};
    if (size.width <= 0 || size.height <= 0 || key == m_gridKey)
        return;
    m_gridKey = key;
    // The panel's own picture gives way to a transparent one that carries only the lines.
    platform::BitmapContext context(size, platform::Screen::main().scale());
    context.setLineWidth(1);
    context.setStrokeColor(platform::Color::whiteAlpha(248 / 255.0f, 1));
    context.beginPath();
    const auto cols = static_cast<size_t>(m_columns);
    for (size_t i = 0; i < m_snsNames.size(); ++i) {
        const double col = static_cast<double>(i % cols);
        const double row = static_cast<double>(i / cols);
        context.moveToPoint({col * column, (row + 1) * kRowHeight + 1});
        context.addLineToPoint({(col + 1) * column, (row + 1) * kRowHeight + 1});
        context.moveToPoint({(col + 1) * column, row * kRowHeight + 1});
        context.addLineToPoint({(col + 1) * column, (row + 1) * kRowHeight + 1});
    }
    // The host's grid hook may restyle the lines before they are stroked.
    if (auto config = SHSocialConfigInternal::shareInstance().gridViewConfig)
        config(&context, nullptr, nullptr);
    context.strokePath();
    m_background->setImage(context.makeImage());
}

bool SHSocialIconSheetView::presentedInLandscape() const {
    auto service = socialControllerService.lock();
    auto controller = service ? service->currentViewController.lock() : nullptr;
    return controller && platform::isLandscape(controller->interfaceOrientation());
}

void SHSocialIconSheetView::layoutSubviews() {
    // A sheet on its way out keeps where the closing animation puts it.
    if (!m_dismissed)
        layoutGrid();
}

void SHSocialIconSheetView::showInView(const std::shared_ptr<platform::View>& view) {
    if (!view || m_shown)
        return;
    m_shown = true;
    lastSheet() = std::static_pointer_cast<SHSocialIconSheetView>(shared_from_this());
    platform::Size screen = platform::Screen::main().size();
    if (platform::isLandscape(platform::Application::shared().statusBarOrientation()) &&
        beforeVersion8())
        std::swap(screen.width, screen.height);
    auto backdrop = std::make_shared<platform::View>(platform::Rect{{0, 0}, view->bounds().size});
    backdrop->setBackgroundColor(platform::Color::whiteAlpha(0, 0));
    backdrop->setTag(kBackdropTag);
    backdrop->setHandle("share-sheet-backdrop");
    backdrop->addSubview(shared_from_this());
    std::weak_ptr<platform::View> weakSelf = weak_from_this();
    backdrop->addGestureRecognizer(
        std::make_shared<platform::TapGestureRecognizer>([weakSelf](platform::GestureRecognizer&) {
            if (auto self = std::static_pointer_cast<SHSocialIconSheetView>(weakSelf.lock()))
                self->dismiss();
        }));
    view->addSubview(backdrop);
    // The sheet rises from below the screen to the place its layout gives it: the bottom of
    // the backdrop.
    layoutGrid();
    const platform::Point resting = center();
    setCenter(platform::Point{screen.width * 0.5, screen.height * 1.5});
    std::weak_ptr<platform::View> weakBackdrop = backdrop;
    platform::View::animateWithDuration(
        kAnimationSeconds, 0, platform::AnimationOptions::CurveEaseOut,
        [weakSelf, weakBackdrop, resting] {
            if (auto back = weakBackdrop.lock())
                back->setBackgroundColor(platform::Color::whiteAlpha(0, 0.5f));
            if (auto self = weakSelf.lock())
                self->setCenter(resting);
        });
}

void SHSocialIconSheetView::dismiss() {
    if (!m_shown || m_dismissed)
        return;
    m_dismissed = true;
    auto backdrop = superview();
    platform::Size screen = platform::Screen::main().size();
    if (platform::isLandscape(platform::Application::shared().statusBarOrientation()))
        std::swap(screen.width, screen.height);
    const double height = bounds().size.height;
    auto self = std::static_pointer_cast<SHSocialIconSheetView>(shared_from_this());
    platform::View::animateWithDuration(
        kAnimationSeconds, 0, platform::AnimationOptions::CurveEaseOut,
        [backdrop, self, screen, height] {
            if (backdrop)
                backdrop->setBackgroundColor(platform::Color::whiteAlpha(0, 0));
            self->setCenter(platform::Point{screen.width * 0.5, screen.height + height * 0.5});
        },
        [backdrop, self](bool) {
            if (backdrop)
                backdrop->removeFromSuperview();
            if (auto completion = std::move(self->dismissCompletion))
                completion();
        });
}

void SHSocialIconSheetView::actionToSnsButton(int tag) {
    const auto name = SHSocialSnsPlatformManager::getSnsPlatformString(tag - 100);
    dismiss();
    if (m_handler && name)
        m_handler(*name);
    if (tag >= 110 && tag <= 113)
        setHidden(true);
}

bool SHSocialIconSheetView::tapPlatform(const std::string& name) {
    if (!m_shown || m_dismissed ||
        std::find(m_snsNames.begin(), m_snsNames.end(), name) == m_snsNames.end())
        return false;
    actionToSnsButton(SHSocialSnsPlatformManager::getSnsPlatformType(name) + 100);
    return true;
}

std::string SHSocialIconSheetView::describe() const {
    std::string names;
    for (const auto& name : m_snsNames) names += (names.empty() ? "" : ", ") + name;
    return "share sheet [" + names + "]";
}

std::shared_ptr<SHSocialIconSheetView> SHSocialIconSheetView::lastShown() {
    return lastSheet().lock();
}
