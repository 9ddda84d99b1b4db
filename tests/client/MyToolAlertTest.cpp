#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/MyTool.h"
#include "platform/foundation/Log.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/View.h"

using namespace platform;

namespace {

class MyToolAlertTest : public ::testing::Test {
protected:
    void SetUp() override { AlertPresenter::shared().reset(); }
    void TearDown() override { AlertPresenter::shared().reset(); }
};

TEST_F(MyToolAlertTest, MessageAlertHasNoTitleAndOneConfirmButton) {
    MyTool::showAlertViewWithStr("请先登录");

    auto alert = AlertPresenter::shared().topAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->alertTitle(), "");
    EXPECT_EQ(alert->alertMessage(), "请先登录");
    EXPECT_EQ(alert->buttonTitles(), std::vector<std::string>{"确定"});

    EXPECT_TRUE(alert->pressButtonTitled("确定"));
    EXPECT_FALSE(AlertPresenter::shared().isModalBlocking());
}

TEST_F(MyToolAlertTest, UnparsableJsonTellsTheUserAndGivesNothing) {
    std::vector<std::string> lines;
    setLogSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(MyTool::dictionaryWithJsonString(std::string("{\"a\":")));
    // A document nested past any real one is refused like one that does not parse.
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_FALSE(MyTool::dictionaryWithJsonString(deep));
    setLogSink(nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"json解析失败：{\"a\":", "json解析失败：" + deep}));

    auto alert = AlertPresenter::shared().topAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->alertTitle(), "提示");
    EXPECT_EQ(alert->alertMessage(), "解析失败");
    EXPECT_EQ(alert->buttonTitles(), std::vector<std::string>{"确定"});
}

TEST_F(MyToolAlertTest, AnyTopLevelJsonDocumentParsesWithoutAnAlert) {
    EXPECT_EQ(MyTool::dictionaryWithJsonString(std::string(R"({"a":[1,null]})"))->at("a")[1],
              nullptr);
    EXPECT_TRUE(MyTool::dictionaryWithJsonString(std::string("[1,2]"))->is_array());
    EXPECT_FALSE(MyTool::dictionaryWithJsonString(std::nullopt));
    EXPECT_FALSE(AlertPresenter::shared().isModalBlocking());
    // A bare value is not a document.
    EXPECT_FALSE(MyTool::dictionaryWithJsonString(std::string("null")));
    EXPECT_FALSE(MyTool::dictionaryWithJsonString(std::string("3")));
}

// --- Capturing a view --------------------------------------------------------------------------

TEST(CaptureViewTest, DrawsTheViewAndItsSubviewsAtItsFrameSize) {
    auto view = View::make<View>(Rect{{30, 40}, {20, 10}});
    view->setBackgroundColor(Color::redColor());
    auto inner = View::make<View>(Rect{{10, 0}, {10, 10}});
    inner->setBackgroundColor(Color::blueColor());
    view->addSubview(inner);

    Image image = MyTool::captureView(*view);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelWidth(), 20);
    EXPECT_EQ(image.pixelHeight(), 10);
    EXPECT_DOUBLE_EQ(image.scale(), 1);
    EXPECT_EQ(image.pixelAt(2, 5), 0xffff0000u);
    EXPECT_EQ(image.pixelAt(15, 5), 0xff0000ffu);
    // A view without area gives an empty image.
    EXPECT_TRUE(MyTool::captureView(*View::make<View>(Rect{{0, 0}, {0, 10}})).isNull());
}

}  // namespace
