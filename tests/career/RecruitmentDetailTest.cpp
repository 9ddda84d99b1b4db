#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "career/ImpressumView.h"
#include "career/PositionTableViewCell.h"
#include "career/RecruitmentDetailViewController.h"
#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "tests/career/CareerTestSupport.h"

using namespace careertest;
using platform::Json;

namespace {

const std::string kThreeLineAddress =
    "岚溪市高新技术产业开发区智慧谷创新园区B座12层1201室至1208室（近地铁三号线云栖路站C出口，"
    "访客请在一楼前台登记）";

Json position(const std::string& name) {
    return Json{{"ZWMC", name},       {"XQRS", "3"},         {"GZLX", "全职"},
                {"PYFS", "校园招聘"}, {"YXJB", "8000元/月"}, {"JZSJ", "2024-06-30"}};
}

Json detailReply(const std::string& address) {
    return Json{
        {"yrdwmc", "澈泉信息技术有限公司"},
        {"dwjj", "澈泉成立于2006年。"},
        {"sshy", "计算机/互联网"},
        {"dwxz", "民营企业"},
        {"jglx", "有限责任公司"},
        {"dwdz", address},
        {"dwlxr", "张女士"},
        {"lxdh", "0571-86000000"},
        {"employDetailList", Json::array({position("Java开发工程师"), position("测试工程师"),
                                          position("数据分析师")})}};
}

double measured(const std::string& text, double size, double width) {
    return MyTool::heightOfLabel(text, platform::Font::systemFont(size), width);
}

class RecruitmentDetailTest : public CareerScreenTest {
protected:
    explicit RecruitmentDetailTest(platform::Size screen = {375, 667}) : CareerScreenTest(screen) {}

    void openWith(const Json& reply) {
        server.setReply("GET", kDetailPath, {200, "application/json", reply.dump()});
        open(detail);
    }
    // The header card of the section, scrolled into view (the table keeps only the headers on
    // screen).
    std::shared_ptr<platform::View> headerCard(int section) {
        auto table = detail->myTableView();
        table->scrollRectToVisible(table->rectForHeaderInSection(section), false);
        table->layoutIfNeeded();
        auto header = detail->myTableView()->headerViewForSection(section);
        return header && !header->subviews().empty() ? header->subviews().front() : nullptr;
    }
    std::shared_ptr<platform::ImageView> headerArrow(int section) {
        auto card = headerCard(section);
        if (!card)
            return nullptr;
        for (const auto& view : card->subviews())
            if (auto arrow = std::dynamic_pointer_cast<platform::ImageView>(view))
                return arrow;
        return nullptr;
    }
    void tapHeader(int section) {
        ASSERT_TRUE(driver.tap(headerCard(section))) << driver.outline();
        settle();
    }
    double headerHeight(int section) {
        return detail->myTableView()->rectForHeaderInSection(section).size.height;
    }
    static bool turned(const platform::View& view) {
        return view.transform() == platform::AffineTransform::makeRotation(M_PI);
    }

    std::shared_ptr<RecruitmentDetailViewController> detail = [] {
        auto screen = std::make_shared<RecruitmentDetailViewController>();
        screen->setNaviTitleStr("招聘信息");
        screen->setTitleName("澈泉信息技术有限公司");
        screen->setType("zp");
        return screen;
    }();
};

TEST_F(RecruitmentDetailTest, SectionsOpenAndCloseOnTheirOwnWithTheirHeaderHeightAndArrow) {
    openWith(detailReply("岚溪市澜湖区云栖路88号"));
    auto table = detail->myTableView();
    ASSERT_TRUE(table);
    ASSERT_EQ(table->numberOfSections(), 3);
    for (int section = 0; section < 3; ++section) {
        EXPECT_EQ(table->numberOfRowsInSection(section), 0);
        EXPECT_EQ(headerHeight(section), 60);
        ASSERT_TRUE(headerArrow(section));
        EXPECT_TRUE(turned(*headerArrow(section)));
    }

    tapHeader(0);
    tapHeader(2);
    EXPECT_EQ(table->numberOfRowsInSection(0), 6);
    EXPECT_EQ(table->numberOfRowsInSection(1), 0);
    EXPECT_EQ(table->numberOfRowsInSection(2), 6);
    EXPECT_EQ(headerHeight(0), 54);
    EXPECT_EQ(headerHeight(1), 60);
    EXPECT_FALSE(turned(*headerArrow(2)));
    EXPECT_TRUE(turned(*headerArrow(1)));
    std::set<std::string> keys;
    for (const auto& [key, open] : detail->dict()) keys.insert(key);
    EXPECT_EQ(keys, (std::set<std::string>{"0", "2"}));
    // The open card goes on with the position's six rows, 48 points each.
    table->scrollToRowAtIndexPath(platform::IndexPath::forRow(5, 2),
                                  platform::TableViewScrollPosition::Bottom, false);
    table->layoutIfNeeded();
    auto row = std::dynamic_pointer_cast<PositionTableViewCell>(
        table->cellForRowAtIndexPath(platform::IndexPath::forRow(5, 2)));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->titleLabel()->text(), "截止日期");
    EXPECT_EQ(row->contentLabel()->text(), "2024-06-30");
    EXPECT_EQ(table->rectForRowAtIndexPath(platform::IndexPath::forRow(0, 2)).size.height, 48);
    table->scrollToRowAtIndexPath(platform::IndexPath::forRow(0, 0),
                                  platform::TableViewScrollPosition::Top, false);
    table->layoutIfNeeded();
    auto name = std::dynamic_pointer_cast<PositionTableViewCell>(
        table->cellForRowAtIndexPath(platform::IndexPath::forRow(0, 0)));
    EXPECT_EQ(name->contentLabel()->text(), "Java开发工程师");

    tapHeader(0);
    EXPECT_EQ(table->numberOfRowsInSection(0), 0);
    EXPECT_EQ(headerHeight(0), 60);
    EXPECT_TRUE(turned(*headerArrow(0)));
    EXPECT_EQ(detail->dict().at("0"), 0);
    EXPECT_EQ(table->numberOfRowsInSection(2), 6);
}

TEST_F(RecruitmentDetailTest, TheHeadIsAsHighAsItsPartsAndExpandingComesBackToTheSameLayout) {
    Json reply = detailReply("岚溪市澜湖区云栖路88号");
    reply["dwjj"] =
        "澈泉成立于2006年，专注于教育与政务领域的云平台建设。"
        "公司秉承诚信、创新、共赢的经营理念，注重人才培养，为员工提供完善的培训体系、"
        "有竞争力的薪酬福利和广阔的职业发展空间，欢迎岚溪学院学子踊跃投递简历。";
    openWith(reply);
    const double width = 375;
    EXPECT_EQ(detail->titleLabel()->text(), "澈泉信息技术有限公司");
    EXPECT_EQ(detail->title(), "招聘信息");

    const int size = detail->size();
    EXPECT_EQ(size, int(measured("岚溪市澜湖区云栖路88号", 15, width - 14 - 108) + 268));
    EXPECT_EQ(detail->headView()->frame().size.height, size + 215);
    EXPECT_EQ(detail->view1()->frame(), (platform::Rect{{7, 48}, {width - 14, 80}}));
    const auto collapsed =
        std::make_tuple(detail->view1()->frame(), detail->introduceLabel()->frame(),
                        detail->impressumView()->frame(), detail->zpzwLabel()->frame(),
                        detail->headView()->frame());

    ASSERT_TRUE(driver.tap("expand")) << driver.outline();
    settle();
    const double h = measured(detail->introduceLabel()->text(), 14, width - 42);
    EXPECT_GT(h, 60);
    EXPECT_FALSE(detail->button());
    ASSERT_TRUE(detail->outButton());
    EXPECT_EQ(detail->view1()->frame().size.height, h + 34);
    EXPECT_EQ(detail->headView()->frame().size.height, h + size + 169);
    EXPECT_EQ(detail->myTableView()->tableHeaderView()->frame().size.height, h + size + 169);
    EXPECT_EQ(detail->zpzwLabel()->frame().origin.y,
              detail->impressumView()->frame().origin.y + size + 18);

    ASSERT_TRUE(driver.tap("collapse")) << driver.outline();
    settle();
    EXPECT_EQ(std::make_tuple(detail->view1()->frame(), detail->introduceLabel()->frame(),
                              detail->impressumView()->frame(), detail->zpzwLabel()->frame(),
                              detail->headView()->frame()),
              collapsed);
    ASSERT_TRUE(detail->button());
    EXPECT_TRUE(turned(*detail->button()));
}

TEST_F(RecruitmentDetailTest, AShortIntroductionExpandsToASmallerCard) {
    openWith(detailReply("岚溪市澜湖区云栖路88号"));
    ASSERT_TRUE(driver.tap("expand")) << driver.outline();
    settle();
    EXPECT_LT(detail->view1()->frame().size.height, 80);
}

TEST_F(RecruitmentDetailTest, TheTextNullForAnAddressShowsNoneAndMissingValuesShowEmpty) {
    Json reply = detailReply("null");
    reply.erase("lxdh");
    reply["dwlxr"] = nullptr;
    reply.erase("yrdwmc");
    openWith(reply);
    const auto& block = *detail->impressumView();
    EXPECT_EQ(block.valueLabel(3)->text(), "暂无");
    EXPECT_EQ(block.valueLabel(3)->frame().size.height, measured("暂无", 15, 375 - 14 - 108));
    EXPECT_EQ(block.valueLabel(0)->text(), "计算机/互联网");
    EXPECT_EQ(block.valueLabel(4)->text(), "");
    EXPECT_EQ(block.valueLabel(5)->text(), "");
    EXPECT_EQ(detail->titleLabel()->text(), "");
}

TEST_F(RecruitmentDetailTest, TheOverlayShowsUntilTheReplyAndBackTakesItAway) {
    server.holdReplies("GET", kDetailPath);
    navigation->pushViewController(detail, true);
    settle();
    ASSERT_TRUE(held(kDetailPath, 1));
    EXPECT_EQ(overlayTexts(*detail->view()), std::vector<std::string>{"加载中"});
    EXPECT_FALSE(detail->myTableView());
    auto asked = server.heldRequests(kDetailPath);
    EXPECT_EQ(asked.at(0).queryValue("type"), "zp");
    EXPECT_EQ(asked.at(0).queryValue("company"), "澈泉信息技术有限公司");
    ASSERT_TRUE(server.releaseHeld(kDetailPath));
    ASSERT_TRUE(quiet());
    EXPECT_TRUE(overlayTexts(*detail->view()).empty());
    ASSERT_TRUE(detail->myTableView());

    auto second = std::make_shared<RecruitmentDetailViewController>();
    navigation->pushViewController(second, true);
    settle();
    ASSERT_TRUE(held(kDetailPath, 1));
    EXPECT_EQ(overlayTexts(*second->view()).size(), 1u);
    ASSERT_TRUE(driver.back());
    settle();
    EXPECT_TRUE(overlayTexts(*second->view()).empty());
    // Going back leaves the reply nothing to build on: once the screen is gone it does nothing.
    std::weak_ptr<RecruitmentDetailViewController> gone = second;
    second.reset();
    EXPECT_TRUE(gone.expired());
    ASSERT_TRUE(server.releaseHeld(kDetailPath));
    EXPECT_TRUE(quiet());
    EXPECT_EQ(navigation->topViewController(), detail);
}

TEST_F(RecruitmentDetailTest, AFailedRequestLeavesTheScreenEmptyUnderTheOverlayFor20Seconds) {
    server.setReply("GET", kDetailPath, {500, "text/plain", "down"});
    open(detail);
    EXPECT_FALSE(detail->myTableView());
    EXPECT_EQ(overlayTexts(*detail->view()).size(), 1u);
    // Opening took about a second of the overlay's 20.
    settle(18);
    EXPECT_EQ(overlayTexts(*detail->view()).size(), 1u);
    settle(2);
    EXPECT_TRUE(overlayTexts(*detail->view()).empty());

    // A reply that is not an object is no detail either.
    auto other = std::make_shared<RecruitmentDetailViewController>();
    server.setReply("GET", kDetailPath, {200, "application/json", "[1, 2]"});
    open(other);
    EXPECT_FALSE(other->myTableView());
}

TEST_F(RecruitmentDetailTest, AReplyWithoutPositionsShowsTheHeadAlone) {
    Json reply = detailReply("岚溪市澜湖区云栖路88号");
    reply.erase("employDetailList");
    openWith(reply);
    ASSERT_TRUE(detail->myTableView());
    EXPECT_EQ(detail->myTableView()->numberOfSections(), 0);
    EXPECT_EQ(detail->myTableView()->tableHeaderView(), detail->headView());
}

// --- The employer block at each phone width ------------------------------------------------

class RecruitmentDetailWidthTest : public RecruitmentDetailTest,
                                   public ::testing::WithParamInterface<platform::Size> {
protected:
    RecruitmentDetailWidthTest() : RecruitmentDetailTest(GetParam()) {}
};

TEST_P(RecruitmentDetailWidthTest, AnAddressOfThreeLinesMakesTheBlockAndTheHeadTallerByItsLines) {
    const double width = GetParam().width;
    const double blockWidth = width - 14;
    const double threeLines = measured(kThreeLineAddress, 15, blockWidth - 108);
    const double oneLine = measured("岚溪市", 15, blockWidth - 108);
    ASSERT_GE(std::lround(threeLines / oneLine), 3);
    openWith(detailReply(kThreeLineAddress));

    const auto& block = *detail->impressumView();
    EXPECT_EQ(detail->size(), int(threeLines + 268));
    EXPECT_EQ(block.frame().size.height, detail->size());
    EXPECT_EQ(block.valueLabel(3)->frame(),
              (platform::Rect{{109, 156.5}, {blockWidth - 123, threeLines}}));
    EXPECT_EQ(block.valueLabel(4)->frame().origin.y, 156.5 + threeLines + 27.5);
    EXPECT_EQ(block.valueLabel(0)->frame(), (platform::Rect{{109, 14}, {blockWidth - 118, 25}}));
    EXPECT_EQ(block.valueLabel(1)->frame().origin.y, 61.5);
    EXPECT_EQ(detail->headView()->frame().size.height, detail->size() + 215);
    EXPECT_EQ(detail->impressumView()->frame().origin, (platform::Point{7, 177}));
}

INSTANTIATE_TEST_SUITE_P(PhoneWidths, RecruitmentDetailWidthTest,
                         ::testing::Values(platform::Size{320, 568}, platform::Size{375, 667},
                                           platform::Size{414, 736}));

}  // namespace
