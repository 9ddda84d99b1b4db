#include "campus/AddressBookDetailedTableViewCell.h"

#include "campus/MSMDelegate.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

namespace image {
constexpr const char* kCall = "电话";
constexpr const char* kMessage = "信息";
}  // namespace image

// The row's geometry; W is the screen width.
namespace layout {
constexpr double kMargin = 17;
constexpr double kTextY = 5;
constexpr double kTextHeight = 45;
constexpr double kFontSize = 15;
constexpr double kCallFromRight = 42;
constexpr double kMessageLeftOfCall = 44;
constexpr double kButtonY = 16.5;
constexpr platform::Size kButton{23, 22};
}  // namespace layout

// The row a button sits in. The buttons' actions find their row through the view tree rather
// than holding it, so they never outlive it or keep it alive.
std::shared_ptr<AddressBookDetailedTableViewCell> rowOf(platform::View& button) {
    for (auto view = button.superview(); view; view = view->superview()) {
        if (auto row = std::dynamic_pointer_cast<AddressBookDetailedTableViewCell>(view))
            return row;
    }
    return nullptr;
}

}  // namespace

AddressBookDetailedTableViewCell::AddressBookDetailedTableViewCell(
    platform::TableViewCellStyle style, std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    createSub();
}

AddressBookDetailedTableViewCell::~AddressBookDetailedTableViewCell() = default;

void AddressBookDetailedTableViewCell::createSub() {
    const double width = platform::Screen::main().size().width;

    m_nameLebel = platform::View::make<platform::Label>(platform::Rect{
        {layout::kMargin, layout::kTextY}, {width - 2 * layout::kMargin, layout::kTextHeight}});
    m_nameLebel->setBackgroundColor(platform::Color::clear());
    m_nameLebel->setFont(platform::Font::systemFont(layout::kFontSize));
    contentView()->addSubview(m_nameLebel);

    const double callX = width - layout::kCallFromRight;
    m_phoneButton = platform::View::make<platform::Button>(
        platform::Rect{{callX, layout::kButtonY}, layout::kButton}, platform::ButtonType::Custom);
    m_phoneButton->setBackgroundImage(platform::Image::named(image::kCall));
    m_phoneButton->addTarget(
        [](platform::Control& button) {
            if (auto row = rowOf(button))
                row->phoneButtonAction();
        },
        platform::ControlEvent::TouchUpInside);
    contentView()->addSubview(m_phoneButton);

    m_SMSButton = platform::View::make<platform::Button>(
        platform::Rect{{callX - layout::kMessageLeftOfCall, layout::kButtonY}, layout::kButton},
        platform::ButtonType::Custom);
    m_SMSButton->setBackgroundImage(platform::Image::named(image::kMessage));
    m_SMSButton->addTarget(
        [](platform::Control& button) {
            if (auto row = rowOf(button))
                row->SMSButtonAction();
        },
        platform::ControlEvent::TouchUpInside);
    contentView()->addSubview(m_SMSButton);

    setPhoneNumber(std::nullopt);
}

void AddressBookDetailedTableViewCell::setPhoneNumber(std::optional<std::string> number) {
    m_phoneNumber = std::move(number);
    m_phoneButton->setHidden(!m_phoneNumber);
    m_SMSButton->setHidden(!m_phoneNumber);
}

void AddressBookDetailedTableViewCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    m_nameLebel->setText("");
    setPhoneNumber(std::nullopt);
}

void AddressBookDetailedTableViewCell::phoneButtonAction() {
    if (!m_phoneNumber)
        return;
    auto self = std::static_pointer_cast<AddressBookDetailedTableViewCell>(shared_from_this());
    auto alert = platform::View::make<platform::AlertView>(
        "", *m_phoneNumber, std::static_pointer_cast<platform::AlertViewDelegate>(self), kCancel,
        std::vector<std::string>{kCall});
    alert->setTag(kCallAlertTag);
    alert->show();
}

void AddressBookDetailedTableViewCell::SMSButtonAction() {
    if (!m_phoneNumber)
        return;
    if (auto delegate = m_myDelegate.lock())
        delegate->MSM("", *m_phoneNumber);
}

void AddressBookDetailedTableViewCell::didDismissWithButtonIndex(platform::AlertView& alert,
                                                                 int index) {
    if (index != 1 || alert.tag() != kCallAlertTag)
        return;
    // The number the user saw and confirmed, even should the row show another one by now.
    const std::string url = callURL(alert.message());
    platform::RunLoop::main().post([url] { platform::Application::shared().openURL(url); });
}

std::string AddressBookDetailedTableViewCell::callURL(const std::string& number) {
    return platform::escapeWholeURL("tel://" + number);
}
