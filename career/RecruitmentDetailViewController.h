#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "career/Position.h"
#include "client/NetError.h"
#include "platform/foundation/Json.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
class GestureRecognizer;
class ImageView;
class Label;
class TableView;
class View;
namespace components {
class ProgressHUD;
}
}  // namespace platform
class ImpressumView;

// One employer's recruitment or internship notice: its name, an introduction that opens to its
// full length, the employer block, and the positions offered, each a section that opens to six
// captioned rows. The screen asks the career service for the employer's detail once, under the
// overlay "加载中", and builds its table from the reply. A failed request writes the log line
// and leaves the screen empty; the overlay goes after 20 seconds.
class RecruitmentDetailViewController : public platform::ViewController,
                                        public platform::TableViewDataSource,
                                        public platform::TableViewDelegate {
public:
    static constexpr const char* kLoadingText = "加载中";
    static constexpr double kLoadingSeconds = 20;
    static constexpr double kRowHeight = 48;
    static constexpr double kOpenHeaderHeight = 54;
    static constexpr double kClosedHeaderHeight = 60;
    static constexpr int kRowsPerPosition = 6;

    RecruitmentDetailViewController();
    ~RecruitmentDetailViewController() override;

    // Set by the hub before the push: the title, the employer sent as the company, the list
    // kind ("zp" or "sx").
    const std::string& naviTitleStr() const { return m_naviTitleStr; }
    void setNaviTitleStr(std::string title) { m_naviTitleStr = std::move(title); }
    const std::string& titleName() const { return m_titleName; }
    void setTitleName(std::string name) { m_titleName = std::move(name); }
    const std::string& type() const { return m_type; }
    void setType(std::string type) { m_type = std::move(type); }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // --- What the screen shows (null until the reply has come) ------------------------------
    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    const std::shared_ptr<platform::View>& headView() const { return m_headView; }
    const std::shared_ptr<platform::View>& view1() const { return m_view1; }
    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& introduceLabel() const { return m_introduceLabel; }
    // The expand arrow while collapsed; the collapse arrow while expanded.
    const std::shared_ptr<platform::Button>& button() const { return m_button; }
    const std::shared_ptr<platform::Button>& outButton() const { return m_outButton; }
    const std::shared_ptr<platform::Label>& gsxxLabel() const { return m_gsxxLabel; }
    const std::shared_ptr<ImpressumView>& impressumView() const { return m_impressumView; }
    int size() const { return m_size; }
    const std::shared_ptr<platform::Label>& zpzwLabel() const { return m_zpzwLabel; }
    const std::vector<Position>& array() const { return m_array; }
    // The open state of the sections touched so far: "section number" -> 1 open, 0 closed.
    const std::map<std::string, int>& dict() const { return m_dict; }
    bool isSectionOpen(int section) const;
    // The arrow of the section header built last.
    const std::shared_ptr<platform::ImageView>& imageView() const { return m_imageView; }
    const std::shared_ptr<platform::components::ProgressHUD>& HUD() const { return m_HUD; }

    // --- Table data source and delegate ---------------------------------------------------
    int numberOfSections(platform::TableView& tableView) override;
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    double heightForHeaderInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::View> viewForHeaderInSection(platform::TableView& tableView,
                                                           int section) override;

private:
    void createTabBar();
    void showLoadingOverlay();
    void removeLoadingOverlay();
    void backBtnWithAction();
    void getData();
    void arrived(const platform::Json& reply);
    void failed(const NetError& error);
    void createUI();
    void createHeadView(const platform::Json& reply);
    // A new arrow button at the card's bottom right: turned (pointing down) to expand.
    std::shared_ptr<platform::Button> makeArrowButton(bool turned);
    // Places the captions and the employer block under the introduction card, and sets the
    // header view again so that the table takes its new height.
    void layoutBelowIntroduction();
    void buttonAction();
    void outButtonAcrion();
    void display1(platform::GestureRecognizer& tap);
    std::shared_ptr<RecruitmentDetailViewController> self();

    std::string m_naviTitleStr;
    std::string m_titleName;
    std::string m_type;

    std::shared_ptr<platform::TableView> m_myTableView;
    std::shared_ptr<platform::View> m_headView;
    std::shared_ptr<platform::View> m_view1;
    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_introduceLabel;
    std::shared_ptr<platform::Button> m_button;
    std::shared_ptr<platform::Button> m_outButton;
    std::shared_ptr<platform::Label> m_gsxxLabel;
    std::shared_ptr<ImpressumView> m_impressumView;
    int m_size{0};
    std::shared_ptr<platform::Label> m_zpzwLabel;
    std::vector<Position> m_array;
    std::map<std::string, int> m_dict;
    std::shared_ptr<platform::ImageView> m_imageView;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
};
