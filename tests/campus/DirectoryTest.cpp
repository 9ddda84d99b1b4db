#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "campus/AddressBookDetailedViewController.h"
#include "campus/AddressBookViewController.h"
#include "campus/MembersViewController.h"
#include "campus/NewMembersViewController.h"
#include "campus/SearchViewController.h"
#include "client/SignInSession.h"
#include "platform/foundation/Json.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "tests/campus/CampusTestSupport.h"
#include "tests/support/InkTestSupport.h"

namespace {

using platform::IndexPath;
using platform::Json;

constexpr const char* kCategoriesPath = "/vobels/services/api/org/getOrgCategory.do";
constexpr const char* kMembersPath = "/vobels/services/api/org/getMembersByOrgId.do";
constexpr const char* kSearchPath = "/vobels/services/api/org/queryMembersInfo.do";

fakes::Reply jsonReply(const Json& body) {
    return {200, "application/json;charset=UTF-8", body.dump()};
}

Json member(const std::string& name, const std::string& number) {
    return {{"rybh", number},
            {"xm", name},
            {"zzmc", "教务处"},
            {"xzzw", "科员"},
            {"cmcc", "13800000000"}};
}

std::vector<std::string> rowTexts(platform::TableView& table) {
    std::vector<std::string> texts;
    for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
        auto cell = table.dataSource()->cellForRowAtIndexPath(table, IndexPath{0, row});
        texts.push_back(cell->textLabel()->text());
    }
    return texts;
}

class DirectoryTest : public campustest::CampusTest {
protected:
    void signIn(const char* userType) {
        SignInSession().applySignIn("20050031", Json{{"userType", userType}});
    }

    // The "通讯录" tab's root, shown and with its replies handled.
    std::shared_ptr<AddressBookViewController> openTab() {
        auto screen = std::make_shared<AddressBookViewController>();
        showWindow(375, screen);
        EXPECT_TRUE(waitForReplies());
        settle();
        return screen;
    }

    template <typename Screen>
    std::shared_ptr<Screen> top() const {
        return std::dynamic_pointer_cast<Screen>(navigation->topViewController());
    }

    // Pushes a screen as an opener does and lets its reply arrive.
    template <typename Screen>
    std::shared_ptr<Screen> openList(const std::string& orgId) {
        auto screen = std::make_shared<Screen>();
        screen->setOrgIdString(orgId);
        push(screen);
        EXPECT_TRUE(waitForReplies());
        settle();
        return screen;
    }

    std::shared_ptr<SearchViewController> openSearch() {
        openTab();
        EXPECT_TRUE(driver.tap(AddressBookViewController::kSearchHandle)) << driver.outline();
        settle();
        return top<SearchViewController>();
    }

    // Types the text into the emptied field and taps the search button.
    void search(const std::string& text) {
        auto field = std::dynamic_pointer_cast<platform::TextField>(
            driver.findByHandle(SearchViewController::kFieldHandle));
        ASSERT_TRUE(field);
        field->setText("");
        ASSERT_TRUE(driver.type(SearchViewController::kFieldHandle, text)) << driver.outline();
        ASSERT_TRUE(driver.tap(SearchViewController::kButtonHandle)) << driver.outline();
    }
};

// ------------------------------------------------------------------ the tab

TEST_F(DirectoryTest, AStudentSeesTheCoverAndNothingIsSent) {
    signIn("student");
    auto screen = openTab();
    EXPECT_FALSE(screen->studentView()->isHidden());
    EXPECT_NE(driver.outline().find("image \"Telephonebook-nopermissions\""), std::string::npos)
        << driver.outline();
    EXPECT_FALSE(driver.tap(AddressBookViewController::kSearchHandle)) << "under the cover";
    EXPECT_TRUE(server.requestsTo(kCategoriesPath).empty());
    EXPECT_TRUE(screen->organizationArr().empty());
}

TEST_F(DirectoryTest, ATeachersFirstVisitListsEachCategoryOnce) {
    signIn("teacher");
    auto screen = openTab();
    const auto requests = server.requestsTo(kCategoriesPath);
    ASSERT_EQ(requests.size(), 2u) << "on loading and on appearing";
    EXPECT_EQ(requests[0].queryValue("userType"), "teacher");
    EXPECT_TRUE(screen->studentView()->isHidden());
    EXPECT_EQ(rowTexts(*screen->listTableView()),
              (std::vector<std::string>{"校领导", "党政办公室", "教务处", "学生处", "信息工程学院",
                                        "经济管理学院", "后勤管理处", "图书馆"}));
    EXPECT_EQ(screen->HUD(), nullptr) << "the reply removed the overlay";
}

TEST_F(DirectoryTest, TheRoleIsAskedAgainOnEveryAppearance) {
    signIn("student");
    auto screen = openTab();
    ASSERT_FALSE(screen->studentView()->isHidden());
    SignInSession().signOut();
    signIn("teacher");
    screen->beginAppearanceTransition(false, false);
    screen->endAppearanceTransition();
    screen->beginAppearanceTransition(true, false);
    screen->endAppearanceTransition();
    ASSERT_TRUE(waitForReplies());
    settle();
    EXPECT_TRUE(screen->studentView()->isHidden());
    EXPECT_EQ(screen->organizationArr().size(), 8u);
}

TEST_F(DirectoryTest, ACategoryAsksForItsMembersByCodeAndTheCodeArrivesIntact) {
    signIn("teacher");
    server.setReply(
        "GET", kCategoriesPath,
        jsonReply({{"orgcategory",
                    Json::array({{{"zzbh", "09"}, {"zzmc", "研究生院"}, {"lbdm", "R&D 2=1+1"}},
                                 "not a category"})}}));
    server.setReply("GET", kMembersPath,
                    jsonReply({{"members", Json::array({member("周文", "1"),
                                                        {{"rybh", "2"}, {"zzmc", "研究生院"}},
                                                        {{"xm", nullptr}, {"rybh", "3"}},
                                                        member("周文", "4")})}}));
    openTab();
    ASSERT_TRUE(driver.tap("研究生院")) << driver.outline();
    ASSERT_TRUE(waitForReplies());
    settle();

    auto members = top<NewMembersViewController>();
    ASSERT_TRUE(members);
    const auto requests = server.requestsTo(kMembersPath);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].queryValue("orgId"), "R&D 2=1+1") << requests[0].target;
    EXPECT_FALSE(requests[0].queryValue("zzbh"));
    EXPECT_EQ(rowTexts(*members->myTableView()), (std::vector<std::string>{"周文", "", "", "周文"}))
        << "members without a name show an empty row, never \"(null)\"";
    EXPECT_EQ(members->emptyImage(), nullptr);

    // Two members of one name each open their own.
    members->myTableView()->tapRowAtIndexPath(IndexPath{0, 3});
    settle();
    auto detail = top<AddressBookDetailedViewController>();
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->dic().at("rybh"), "4");
}

TEST_F(DirectoryTest, AnOrganisationWithoutMembersShowsTheEmptyImage) {
    for (const Json& reply : {Json{{"members", Json::array()}}, Json{{"other", 1}},
                              Json{{"members", "none"}}, Json::array()}) {
        server.setReply("GET", kMembersPath, jsonReply(reply));
        auto members = openList<NewMembersViewController>("1008");
        EXPECT_EQ(members->myTableView()->numberOfRowsInSection(0), 0) << reply;
        ASSERT_TRUE(members->emptyImage()) << reply;
        EXPECT_EQ(members->emptyImage()->superview(), members->view());
        EXPECT_EQ(members->HUD(), nullptr);
        navigation->popViewController(false);
        settle();
    }
}

TEST_F(DirectoryTest, TheMemberListLeavesTheEdgeSwipeToItsStackWhenPopped) {
    showWindow();
    auto swipe = navigation->interactivePopGestureRecognizer();
    const auto gate = swipe->delegate();
    ASSERT_TRUE(gate);
    {
        auto members = openList<NewMembersViewController>("1003");
        EXPECT_EQ(swipe->delegate().get(),
                  static_cast<platform::GestureRecognizerDelegate*>(members.get()))
            << "the swipe goes back despite the custom back button";
        ASSERT_TRUE(driver.back());
        settle();
    }
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_EQ(swipe->delegate(), gate) << "the stack's own gate is back";
    EXPECT_FALSE(swipe->delegate()->gestureRecognizerShouldBegin(*swipe))
        << "nothing to swipe back to";
}

// ------------------------------------------------------------------ search

TEST_F(DirectoryTest, SearchTextArrivesIntactAndResultsOpenTheirMembers) {
    signIn("teacher");
    auto screen = openSearch();
    ASSERT_TRUE(screen);
    server.setReply(
        "GET", kSearchPath,
        jsonReply({{"membersInfo", Json::array({member("王芳", "7"), member("王芳", "8")})}}));

    search("");
    settle();
    EXPECT_TRUE(server.requestsTo(kSearchPath).empty()) << "an empty field sends nothing";

    search("王 & =+#%");
    ASSERT_TRUE(waitForReplies());
    settle();
    const auto requests = server.requestsTo(kSearchPath);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].queryValue("param"), "王 & =+#%") << requests[0].target;
    EXPECT_EQ(screen->nameArr(), (std::vector<std::string>{"王芳", "王芳"}));
    screen->myTableView()->tapRowAtIndexPath(IndexPath{0, 1});
    settle();
    auto detail = top<AddressBookDetailedViewController>();
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->dic().at("rybh"), "8");
}

TEST_F(DirectoryTest, ANameFromTheSupplementaryPlaneIsDrawnWholeInTheResults) {
    signIn("teacher");
    auto screen = openSearch();
    ASSERT_TRUE(screen);
    search("宝");  // the sample members answer with "𠀀宝"
    ASSERT_TRUE(waitForReplies());
    settle();
    const auto& names = screen->nameArr();
    const auto found = std::find(names.begin(), names.end(), "𠀀宝");
    ASSERT_NE(found, names.end()) << driver.outline();
    auto cell = screen->myTableView()->cellForRowAtIndexPath(
        IndexPath{0, static_cast<int>(found - names.begin())});
    ASSERT_TRUE(cell);
    EXPECT_GT(testsupport::inkWherePartStands(*cell->textLabel(), "", "𠀀"), 0);
    EXPECT_GT(testsupport::inkWherePartStands(*cell->textLabel(), "𠀀", "宝"), 0);
}

TEST_F(DirectoryTest, ASearchWithoutResultsShowsTheEmptyImageAndALaterOneItsListOverIt) {
    signIn("teacher");
    auto screen = openSearch();
    server.setReply("GET", kSearchPath, jsonReply({{"membersInfo", Json::array()}}));
    search("无此人");
    ASSERT_TRUE(waitForReplies());
    settle();
    EXPECT_EQ(screen->myTableView(), nullptr) << "the empty list is taken away";
    ASSERT_TRUE(screen->emptyImage());
    EXPECT_TRUE(driver.find("搜索中...") == nullptr);

    server.setReply("GET", kSearchPath,
                    jsonReply({{"membersInfo", Json::array({member("李明", "1")})}}));
    search("李");
    ASSERT_TRUE(waitForReplies());
    settle();
    ASSERT_TRUE(screen->myTableView());
    EXPECT_EQ(rowTexts(*screen->myTableView()), std::vector<std::string>{"李明"});
    EXPECT_TRUE(driver.find("李明")) << "the list lies over the picture: " << driver.outline();
}

TEST_F(DirectoryTest, AReplyToASupersededSearchIsDropped) {
    signIn("teacher");
    auto screen = openSearch();
    server.holdReplies("GET", kSearchPath);
    search("王");
    ASSERT_TRUE(server.waitForHeld(kSearchPath, 1, std::chrono::seconds(10)));
    search("李");
    ASSERT_TRUE(server.waitForHeld(kSearchPath, 2, std::chrono::seconds(10)));

    // The newer search's reply comes first, then the older one's.
    ASSERT_TRUE(server.releaseHeld(kSearchPath, 1));
    ASSERT_TRUE(waitFor([] { return platform::HttpClient::shared().inFlight() == 1; }));
    settle();
    const auto latest = screen->nameArr();
    ASSERT_FALSE(latest.empty());
    for (const auto& name : latest) EXPECT_NE(name.find("李"), std::string::npos) << name;

    ASSERT_TRUE(server.releaseHeld(kSearchPath, 0));
    ASSERT_TRUE(waitForReplies());
    settle();
    EXPECT_EQ(screen->nameArr(), latest) << "the earlier search's reply changes nothing";
    EXPECT_EQ(screen->HUD(), nullptr);
}

// ------------------------------------------------------------------ the indexed list

TEST_F(DirectoryTest, TheIndexedListGroupsMembersByInitialAndEachRowOpensItsMember) {
    server.setReply("GET", kMembersPath,
                    jsonReply({{"members", Json::array({member("张三", "1"),
                                                        member("李四", "2"),
                                                        member("301", "3"),
                                                        member("王五", "4"),
                                                        member("Tom", "5"),
                                                        member(" ", "6"),
                                                        {{"rybh", "7"}},
                                                        member("张三", "8")})}}));
    auto screen = openList<MembersViewController>("1003");
    auto& table = *screen->myTableView();
    EXPECT_EQ(screen->indexArray(), (std::vector<std::string>{"#", "L", "T", "W", "Z"}));
    EXPECT_EQ(table.sectionIndexTitles(), screen->indexArray());
    ASSERT_EQ(table.numberOfSections(), 5);
    EXPECT_EQ(table.dataSource()->titleForHeaderInSection(table, 0), "#");
    EXPECT_EQ(screen->namesInSection(0), (std::vector<std::string>{"", "", "301"}));
    EXPECT_EQ(screen->namesInSection(4), (std::vector<std::string>{"张三", "张三"}));
    EXPECT_EQ(screen->HUD(), nullptr);

    table.tapRowAtIndexPath(IndexPath{4, 1});
    settle();
    auto detail = top<AddressBookDetailedViewController>();
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->dic().at("rybh"), "8");
}

TEST_F(DirectoryTest, TheIndexedListOfAnEmptyOrganisationShowsTheEmptyImage) {
    auto screen = openList<MembersViewController>("1008");
    EXPECT_TRUE(screen->indexArray().empty());
    EXPECT_EQ(screen->myTableView()->numberOfSections(), 0);
    EXPECT_TRUE(screen->emptyImage());
}

}  // namespace
