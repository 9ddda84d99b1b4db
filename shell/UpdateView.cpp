#include "shell/UpdateView.h"

#include "client/MyTool.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "shell/StoreRecord.h"

namespace {

// --- Texts and pictures ---
const char* const kVersionFormat = "版本：";
const char* const kSizePrefix = "大小：";
const char* const kSizeSuffix = "M";
const char* const kDownloadTitle = "立即下载";
const char* const kDownloadLog = "升级";
const char* const kHeaderImage = "升级背景.png";
const char* const kIconImage = "版本更新.png";
const char* const kCloseImage = "关闭.png";

// --- Colours ---
constexpr float kDimAlpha = 0.6f;
const char* const kNotesColour = "777777";
const char* const kDownloadColour = "f7554a";

// --- Geometry (points) ---
constexpr double kCardWidth = 257;
constexpr double kCardHeight = 335;
constexpr double kCardCornerRadius = 15;
constexpr double kHeaderHeight = 133;
constexpr platform::Rect kIconFrame{{19, 35}, {114, 68}};
constexpr double kInfoX = 19 + 114 + 19;
constexpr double kInfoWidth = kCardWidth - 114 - 38;
constexpr double kInfoHeight = 16;
constexpr double kVersionY = 44;
constexpr double kFirstLineY = kVersionY + kInfoHeight + 5;
constexpr double kSizeY = kFirstLineY + 1 + 13;
constexpr double kSecondLineY = kSizeY + kInfoHeight + 5;
constexpr double kInfoFontSize = 14;
constexpr double kNotesX = 35;
constexpr double kNotesY = kHeaderHeight + 20;
constexpr double kNotesWidth = kCardWidth - 70;
constexpr double kNotesHeight = kCardHeight - kHeaderHeight - 40 - 40 - 27;
constexpr double kNotesFontSize = 12;
constexpr double kNotesLineSpacing = 8;
constexpr double kButtonWidth = 195;
constexpr double kButtonHeight = 40;
constexpr double kButtonBottomMargin = 27;
constexpr double kButtonCornerRadius = 5;
constexpr double kButtonFontSize = 16;
constexpr double kCloseSize = 24;

std::shared_ptr<platform::Label> infoLabel(double y) {
    auto label = platform::View::make<platform::Label>(
        platform::Rect{{kInfoX, y}, {kInfoWidth, kInfoHeight}});
    label->setBackgroundColor(platform::Color::clear());
    label->setFont(platform::Font::boldSystemFont(kInfoFontSize));
    label->setTextColor(platform::Color::white());
    return label;
}

std::shared_ptr<platform::View> whiteLine(double y) {
    auto line = platform::View::make<platform::View>(platform::Rect{{kInfoX, y}, {kInfoWidth, 1}});
    line->setBackgroundColor(platform::Color::white());
    return line;
}

// The buttons find their overlay when tapped, so they keep no pointer to it.
std::shared_ptr<UpdateView> overlayOf(const platform::View& view) {
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (auto overlay = std::dynamic_pointer_cast<UpdateView>(ancestor))
            return overlay;
    }
    return nullptr;
}

void onTap(platform::Button& button, void (UpdateView::*action)(platform::Control&)) {
    button.addTarget(
        [action](platform::Control& sender) {
            if (auto overlay = overlayOf(sender))
                (overlay.get()->*action)(sender);
        },
        platform::ControlEvent::TouchUpInside);
}

}  // namespace

UpdateView::UpdateView(const platform::Rect& frame, const platform::Json& results) : View(frame) {
    createUI(results);
}

UpdateView::~UpdateView() = default;

void UpdateView::createUI(const platform::Json& results) {
    const auto record = StoreRecord::firstOf(results).value_or(StoreRecord{});
    const platform::Size screen = platform::Screen::main().size();

    setBackgroundColor(platform::Color::rgba(0, 0, 0, kDimAlpha));

    m_card = View::make<platform::View>(platform::Rect{
        {screen.width / 2 - 128, screen.height / 2 - 167}, {kCardWidth, kCardHeight}});
    m_card->setBackgroundColor(platform::Color::white());
    m_card->setCornerRadius(kCardCornerRadius);
    m_card->setClipsToBounds(true);
    addSubview(m_card);

    auto header = View::make<platform::ImageView>(
        platform::Rect{{0, 0}, {m_card->frame().size.width, kHeaderHeight}});
    header->setImage(platform::Image::named(kHeaderImage));
    header->setUserInteractionEnabled(true);
    m_card->addSubview(header);

    auto icon = View::make<platform::ImageView>(kIconFrame);
    icon->setImage(platform::Image::named(kIconImage));
    header->addSubview(icon);

    m_versionLabel = infoLabel(kVersionY);
    m_versionLabel->setText(kVersionFormat + record.version);
    header->addSubview(m_versionLabel);
    header->addSubview(whiteLine(kFirstLineY));

    m_sizeLabel = infoLabel(kSizeY);
    m_sizeLabel->setText(kSizePrefix + std::to_string(record.downloadMegabytes()) + kSizeSuffix);
    header->addSubview(m_sizeLabel);
    header->addSubview(whiteLine(kSecondLineY));

    m_notesScrollView = View::make<platform::ScrollView>(
        platform::Rect{{kNotesX, kNotesY}, {kNotesWidth, kNotesHeight}});
    m_notesScrollView->setBackgroundColor(platform::Color::clear());
    m_notesScrollView->setHandle("notes");
    m_card->addSubview(m_notesScrollView);
    m_notesLabel = View::make<platform::Label>(platform::Rect{{0, 0}, {kNotesWidth, kNotesHeight}});
    m_notesLabel->setBackgroundColor(platform::Color::clear());
    m_notesLabel->setFont(platform::Font::systemFont(kNotesFontSize));
    m_notesLabel->setTextColor(MyTool::colorWithString(kNotesColour));
    m_notesLabel->setNumberOfLines(0);
    m_notesLabel->setLineSpacing(kNotesLineSpacing);
    m_notesLabel->setText(record.releaseNotes);
    m_notesLabel->sizeToFit();
    m_notesScrollView->addSubview(m_notesLabel);
    m_notesScrollView->setContentSize({kNotesWidth, m_notesLabel->frame().size.height});

    m_urlStr = record.trackViewUrl;

    m_downloadButton = View::make<platform::Button>(
        platform::Rect{{kCardWidth / 2 - 97, kCardHeight - kButtonBottomMargin - kButtonHeight},
                       {kButtonWidth, kButtonHeight}});
    m_downloadButton->setBackgroundColor(MyTool::colorWithString(kDownloadColour));
    m_downloadButton->setTitle(kDownloadTitle);
    m_downloadButton->setTitleColor(platform::Color::white());
    m_downloadButton->titleLabel()->setFont(platform::Font::systemFont(kButtonFontSize));
    m_downloadButton->setCornerRadius(kButtonCornerRadius);
    m_downloadButton->setClipsToBounds(true);
    m_downloadButton->setHandle(kDownloadHandle);
    onTap(*m_downloadButton, &UpdateView::updateButtonAction);
    m_card->addSubview(m_downloadButton);

    const platform::Rect card = m_card->frame();
    m_closeButton = View::make<platform::Button>(
        platform::Rect{{card.origin.x + card.size.width - 12 - 3, card.origin.y - 12 + 5},
                       {kCloseSize, kCloseSize}});
    m_closeButton->setBackgroundImage(platform::Image::named(kCloseImage));
    m_closeButton->setHandle(kCloseHandle);
    onTap(*m_closeButton, &UpdateView::cancelButtonAction);
    addSubview(m_closeButton);
}

void UpdateView::updateButtonAction(platform::Control& /*sender*/) {
    platform::log(kDownloadLog);
    platform::Application::shared().openURL(m_urlStr);
    removeFromSuperview();
}

void UpdateView::cancelButtonAction(platform::Control& /*sender*/) {
    removeFromSuperview();
}
