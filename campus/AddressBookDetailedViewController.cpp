#include "campus/AddressBookDetailedViewController.h"

#include <array>

#include "campus/AddressBookDetailedTableViewCell.h"
#include "campus/PushedScreenBar.h"
#include "client/MyTool.h"
#include "client/Record.h"
#include "client/WeakBind.h"
#include "platform/devices/AddressBook.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "widgets/ProgressHUDConveniences.h"

namespace {

namespace text {
constexpr const char* kName = "姓名：";
constexpr const char* kDepartment = "部门：";
constexpr const char* kPost = "职务：";
constexpr const char* kPostUnknown = "不详";
constexpr const char* kSave = "添加到手机通讯录";
constexpr const char* kSaveQuestion = "保存到本地通讯录";
constexpr const char* kCancel = "取消";
constexpr const char* kConfirm = "确定";
constexpr const char* kSaved = "添加成功";
constexpr const char* kSaveFailed = "添加失败";
constexpr const char* kSaveFailedMessage = "请打开 设置-隐私-通讯录 来进行设置";
constexpr const char* kGoToSettings = "去设置";
constexpr const char* kSent = "发送成功";
constexpr const char* kSendFailed = "发送失败";
}  // namespace text

namespace key {
constexpr const char* kName = "xm";
constexpr const char* kDepartment = "zzmc";
constexpr const char* kPost = "xzzw";
}  // namespace key

// The member's phones in display order: the key, the caption before the number in its row
// and the label the number is saved under.
struct PhoneField {
    const char* key;
    const char* caption;
    const char* label;
};
constexpr std::array<PhoneField, 9> kPhoneFields{{
    {"unicom", "中国联通：", "中国联通"},
    {"cmcc", "中国移动：", "中国移动"},
    {"chinaNet", "中国电信：", "中国电信"},
    {"officePhone", "办公电话：", "办公电话"},
    {"officePhone2", "办公电话2：", "办公电话2"},
    {"housePhone", "家庭电话：", "家庭电话"},
    {"cmccShort", "移动短号：", "移动短号"},
    {"chinanetShort", "电信短号：", "电信短号"},
    {"unicomShort", "联通短号：", "联通短号"},
}};

namespace layout {
constexpr double kRowHeight = 55;
constexpr platform::EdgeInsets kSeparatorInset{17, 0, 0, 17};
constexpr double kLineX = 17;
constexpr double kLineHeight = 0.5;
// The save button's row and the room under it.
constexpr double kFooterHeight = 75;
}  // namespace layout

namespace color {
// The navigation bar of this page, red 41, green 140, blue 242.
const platform::Color kBar = platform::Color::rgba(41 / 255.0f, 140 / 255.0f, 242 / 255.0f, 1);
constexpr const char* kSave = "f3a50c";
constexpr const char* kLine = "cccccc";
}  // namespace color

// A value of the member as text: strings as they are, numbers as decimal text, and null,
// absent or anything else as "" (never "(null)").
std::string memberText(const platform::Json& member, const char* name) {
    if (!member.is_object())
        return "";
    auto it = member.find(name);
    return it == member.end() ? std::string() : recordText(*it);
}

// The address book asks for access from system version 6.0 on; earlier systems had no
// such question.
bool asksForContactsAccess() {
    return platform::Application::shared().systemVersionNumber() >= 6.0;
}

}  // namespace

AddressBookDetailedViewController::AddressBookDetailedViewController() = default;
AddressBookDetailedViewController::~AddressBookDetailedViewController() = default;

std::shared_ptr<AddressBookDetailedViewController> AddressBookDetailedViewController::self() {
    return std::static_pointer_cast<AddressBookDetailedViewController>(shared_from_this());
}

// The page's layout: the table fills it and reports to the page.
void AddressBookDetailedViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    m_myTabelView =
        platform::View::make<platform::TableView>(root->bounds(), platform::TableViewStyle::Plain);
    m_myTabelView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                       platform::AutoresizingMask::FlexibleHeight);
    auto page = self();
    m_myTabelView->setDataSource(std::static_pointer_cast<platform::TableViewDataSource>(page));
    m_myTabelView->setDelegate(std::static_pointer_cast<platform::TableViewDelegate>(page));
    root->addSubview(m_myTabelView);
    setView(root);
}

void AddressBookDetailedViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();
    getPeopleData();
    m_myTabelView->setRowHeight(layout::kRowHeight);
    m_myTabelView->setSeparatorInset(layout::kSeparatorInset);
    setExtraCellLineHidden();
    addSaveButton();
    m_myTabelView->reloadData();
}

void AddressBookDetailedViewController::createTabBar() {
    setUpPushedScreenBar(*this, kTitle,
                         bindWeak(self(), &AddressBookDetailedViewController::backBtnWithAction));
    if (auto navigation = navigationController())
        navigation->navigationBar()->setBackgroundColor(color::kBar);
}

void AddressBookDetailedViewController::backBtnWithAction() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void AddressBookDetailedViewController::getPeopleData() {
    m_detailArr.clear();
    m_phonesArr.clear();
    m_typeArr.clear();
    m_rowPhone.clear();
    m_phoneKeys.clear();
    m_name.reset();

    auto addRow = [this](std::string row, std::optional<size_t> phone = std::nullopt) {
        m_detailArr.push_back(std::move(row));
        m_rowPhone.push_back(phone);
    };
    const std::string name = memberText(m_dic, key::kName);
    if (!name.empty()) {
        m_name = name;
        addRow(text::kName + name);
    }
    const std::string department = memberText(m_dic, key::kDepartment);
    if (!department.empty())
        addRow(text::kDepartment + department);
    const std::string post = memberText(m_dic, key::kPost);
    addRow(text::kPost + (post.empty() ? std::string(text::kPostUnknown) : post));

    for (const PhoneField& field : kPhoneFields) {
        std::string number = memberText(m_dic, field.key);
        if (number.empty())
            continue;
        addRow(field.caption + number, m_phonesArr.size());
        m_phonesArr.push_back(std::move(number));
        m_typeArr.push_back(field.label);
        m_phoneKeys.push_back(field.key);
    }
}

void AddressBookDetailedViewController::setExtraCellLineHidden() {
    auto footer = platform::View::make<platform::View>();
    footer->setBackgroundColor(platform::Color::clear());
    m_myTabelView->setTableFooterView(footer);
}

// The button sits right under the last row and scrolls with the rows. It is carried by the
// table's footer, which the table places there and counts in its content, so the button and
// the line under it can always be scrolled to.
void AddressBookDetailedViewController::addSaveButton() {
    const double width = platform::Screen::main().size().width;
    auto footer = platform::View::make<platform::View>(
        platform::Rect{{0, 0}, {width, layout::kFooterHeight}});
    footer->setBackgroundColor(platform::Color::clear());

    m_addButton = platform::View::make<platform::Button>(
        platform::Rect{{0, 0}, {width, layout::kRowHeight}}, platform::ButtonType::Custom);
    m_addButton->setBackgroundColor(platform::Color::clear());
    m_addButton->setTitle(text::kSave);
    m_addButton->setTitleColor(MyTool::colorWithString(color::kSave));
    m_addButton->addTarget(bindWeak(self(), [](AddressBookDetailedViewController& page,
                                               platform::Control&) { page.addButtonAction(); }),
                           platform::ControlEvent::TouchUpInside);
    m_addButton->setHandle(kSaveHandle);
    footer->addSubview(m_addButton);

    auto line = platform::View::make<platform::View>(platform::Rect{
        {layout::kLineX, layout::kRowHeight}, {width - 2 * layout::kLineX, layout::kLineHeight}});
    line->setBackgroundColor(MyTool::colorWithString(color::kLine));
    footer->addSubview(line);

    m_myTabelView->setTableFooterView(footer);
}

int AddressBookDetailedViewController::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                             int /*section*/) {
    return static_cast<int>(m_detailArr.size());
}

std::shared_ptr<platform::TableViewCell> AddressBookDetailedViewController::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    using Cell = AddressBookDetailedTableViewCell;
    auto cell = std::dynamic_pointer_cast<Cell>(
        tableView.dequeueReusableCellWithIdentifier(Cell::kReuseIdentifier));
    if (!cell)
        cell = platform::View::make<Cell>(platform::TableViewCellStyle::Default,
                                          Cell::kReuseIdentifier);
    cell->setSelectionStyle(platform::TableViewCellSelectionStyle::None);
    cell->setMyDelegate(std::static_pointer_cast<MSMDelegate>(self()));

    const auto row = static_cast<size_t>(indexPath.row);
    cell->nameLebel()->setText(row < m_detailArr.size() ? m_detailArr[row] : std::string());
    // The buttons go with a phone row wherever it stands, and dial that row's own number.
    const std::string* number = nullptr;
    const std::string* phoneKey = nullptr;
    if (row < m_rowPhone.size() && m_rowPhone[row]) {
        const size_t phone = m_rowPhone[row].value();
        number = &m_phonesArr[phone];
        phoneKey = &m_phoneKeys[phone];
    }
    cell->setPhoneNumber(number ? std::optional<std::string>(*number) : std::nullopt);
    cell->phoneButton()->setHandle(phoneKey ? kCallHandlePrefix + *phoneKey : std::string());
    cell->SMSButton()->setHandle(phoneKey ? kMessageHandlePrefix + *phoneKey : std::string());
    return cell;
}

// --- Saving the contact --------------------------------------------------------------------

void AddressBookDetailedViewController::addButtonAction() {
    auto alert = platform::View::make<platform::AlertView>(
        "", text::kSaveQuestion, std::static_pointer_cast<platform::AlertViewDelegate>(self()),
        text::kCancel, std::vector<std::string>{text::kConfirm});
    alert->setTag(kSaveAlertTag);
    alert->show();
}

void AddressBookDetailedViewController::didDismissWithButtonIndex(platform::AlertView& alert,
                                                                  int index) {
    if (alert.tag() == kSettingsAlertTag) {
        openSettings();
    } else if (alert.tag() == kSaveAlertTag && index == 1) {
        addAddBook(m_name, m_phonesArr, m_typeArr);
    }
}

void AddressBookDetailedViewController::addAddBook(const std::optional<std::string>& name,
                                                   const std::vector<std::string>& phones,
                                                   const std::vector<std::string>& types) {
    platform::Contact contact;
    contact.firstName = "";
    contact.lastName = name.value_or("");
    for (size_t i = 0; i < phones.size(); ++i)
        contact.phones.push_back({i < types.size() ? types[i] : std::string(), phones[i]});

    std::weak_ptr<AddressBookDetailedViewController> page = self();
    if (!asksForContactsAccess()) {
        finishSaving(page, std::move(contact));
        return;
    }
    // The answer to the access question is delivered on this main thread, so the save goes
    // on when it arrives instead of the thread waiting for it.
    platform::AddressBook().requestAccess(
        [page, contact = std::move(contact)](bool /*granted*/) mutable {
            finishSaving(page, std::move(contact));
        });
}

// The user has confirmed the save, so it is done even should the page have gone meanwhile;
// only the report needs the page. A refused access or a failed write is a failure, never a
// success.
void AddressBookDetailedViewController::finishSaving(
    std::weak_ptr<AddressBookDetailedViewController> page, platform::Contact contact) {
    platform::DeviceError error;
    const bool saved = platform::AddressBook().addContact(contact, &error);
    if (saved) {
        platform::log(text::kSaved);
    } else {
        platform::log(text::kSaveFailed);
        platform::log("error:%@", error.description);
    }
    if (auto screen = page.lock())
        screen->savingFinished(saved);
}

void AddressBookDetailedViewController::savingFinished(bool saved) {
    if (saved) {
        showHUDWithStr(text::kSaved);
        return;
    }
    auto alert = platform::View::make<platform::AlertView>(
        text::kSaveFailed, text::kSaveFailedMessage,
        std::static_pointer_cast<platform::AlertViewDelegate>(self()), "",
        std::vector<std::string>{text::kGoToSettings});
    alert->setTag(kSettingsAlertTag);
    alert->show();
}

void AddressBookDetailedViewController::openSettings() {
    const std::string url = platform::Application::kOpenSettingsURLString;
    if (!platform::Application::shared().canOpenURL(url))
        return;
    platform::RunLoop::main().post([url] { platform::Application::shared().openURL(url); });
}

// --- Text messages -------------------------------------------------------------------------

void AddressBookDetailedViewController::MSM(const std::string& body, const std::string& recipient) {
    sendSMS(body, {recipient});
}

void AddressBookDetailedViewController::sendSMS(const std::string& body,
                                                std::vector<std::string> recipients) {
    auto composer = std::make_shared<platform::MessageComposeViewController>();
    if (!platform::MessageComposeViewController::canSendText())
        return;
    composer->setBody(body);
    composer->setRecipients(std::move(recipients));
    composer->setMessageComposeDelegate(
        std::static_pointer_cast<platform::MessageComposeViewControllerDelegate>(self()));
    presentViewController(composer, true);
}

void AddressBookDetailedViewController::didFinishWithResult(
    platform::MessageComposeViewController& /*controller*/, platform::MessageComposeResult result) {
    dismissViewController(true);
    switch (result) {
        case platform::MessageComposeResult::Cancelled:
            platform::log("Message cancelled");
            break;
        case platform::MessageComposeResult::Sent:
            platform::log("Message sent");
            showHUDWithStr(text::kSent);
            break;
        case platform::MessageComposeResult::Failed:
            platform::log("Message failed");
            showHUDWithStr(text::kSendFailed);
            break;
    }
}

void AddressBookDetailedViewController::showHUDWithStr(const std::string& text) {
    ProgressHUDConveniences::showHUDWithStr(view(), text);
}
