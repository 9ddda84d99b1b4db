#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/web/WebPage.h"

using namespace platform;

namespace {

// What a page tells whoever shows it about its scripts' changes: which items' elements
// changed, or that its markup did, found without walking the page.
class PageChangesTest : public ::testing::Test {
protected:
    explicit PageChangesTest(
        const std::string& html =
            "<html><head><title>Notice</title></head><body>"
            "<h1>通知</h1><p>状态：<span id=\"status\">未读</span></p>"
            "<p><a href=\"/more.html\" id=\"more\"><b id=\"label\">更多</b></a></p>"
            "<p>留言：<input id=\"field\" value=\"\"></p>"
            "<div id=\"box\"><span id=\"inner\">内</span> 文字</div>"
            "<input type=\"hidden\" id=\"token\" value=\"1\">"
            "</body></html>")
        : page(html, "http://campus.invalid/notice.html", "", [](const std::string&) {}) {
        page.layoutHTML(&shown);
    }

    int nodeOf(const std::string& id) const {
        for (const auto& item : shown) {
            if (item.id == id) {
                return item.node;
            }
        }
        return -1;
    }

    WebPage page;
    std::vector<WebPage::Item> shown;
};

TEST_F(PageChangesTest, ATextOrValueChangeNamesTheItemWhoseElementHoldsIt) {
    page.evaluate("document.getElementById('status').innerText = '已读'");
    page.evaluate("document.getElementById('field').value = '你好'");
    // A change inside a link names the link, once.
    page.evaluate("document.getElementById('label').textContent = '全文'");
    page.evaluate("document.getElementById('status').innerText = '已读（2）'");
    const auto changes = page.takeChanges();
    EXPECT_FALSE(changes.markup);
    ASSERT_EQ(changes.items.size(), 3u);
    EXPECT_EQ(changes.items[0], nodeOf("status"));
    EXPECT_EQ(changes.items[1], nodeOf("field"));
    EXPECT_EQ(changes.items[2], nodeOf("more"));
    EXPECT_FALSE(page.takeChanges().any());

    // The items as they are now, and their elements written for the layout.
    EXPECT_EQ(page.itemOf(nodeOf("status"))->text, "已读（2）");
    EXPECT_EQ(page.itemOf(nodeOf("field"))->text, "你好");
    EXPECT_EQ(page.itemOf(nodeOf("more"))->text, "全文");
    const std::string field = page.itemLayoutHTML(nodeOf("field"), 7);
    EXPECT_NE(field.find("data-campus-item=\"7\""), std::string::npos) << field;
    // The field's view draws its value: the box laid out holds none, so no value moves it.
    EXPECT_EQ(field.find("你好"), std::string::npos) << field;
    const std::string link = page.itemLayoutHTML(nodeOf("more"), 2);
    EXPECT_EQ(link.rfind("<a ", 0), 0u) << link;
    EXPECT_NE(link.find("全文"), std::string::npos) << link;
}

TEST_F(PageChangesTest, WritingWhatIsAlreadyThereOrWhatNoBoxShowsIsNoChange) {
    page.evaluate("document.getElementById('status').innerText = '未读'");
    page.evaluate("document.getElementById('field').value = ''");
    page.evaluate("document.title = '新标题'");
    page.evaluate("document.getElementById('token').value = '2'");
    EXPECT_FALSE(page.takeChanges().any());
    EXPECT_EQ(page.title(), "新标题");
}

TEST_F(PageChangesTest, NewMarkupOrTextOverElementsThatHeldItemsIsAMarkupChange) {
    page.evaluate("document.getElementById('status').innerHTML = '<a href=\"/x\">x</a>'");
    auto changes = page.takeChanges();
    EXPECT_TRUE(changes.markup);
    EXPECT_TRUE(changes.items.empty());

    page.layoutHTML(&shown);
    // #box held the item #inner: its text written over it takes that item away.
    page.evaluate("document.getElementById('box').innerText = '新'");
    EXPECT_TRUE(page.takeChanges().markup);

    page.layoutHTML(&shown);
    // The body's own text is no item's.
    page.evaluate("document.body.innerText = '全部'");
    EXPECT_TRUE(page.takeChanges().markup);

    // A new layout starts from what it shows.
    page.layoutHTML(&shown);
    EXPECT_FALSE(page.takeChanges().any());
}

}  // namespace

// What the user does with a page's fields goes the way of a script's writes: each names the
// field it changed, and the item as it is now shows it.
class PageFieldChangesTest : public PageChangesTest {
protected:
    PageFieldChangesTest()
        : PageChangesTest(
              "<html><body><form id=\"form\">"
              "<input id=\"name\" name=\"name\" value=\"\">"
              "<input type=\"checkbox\" id=\"agree\" name=\"agree\">"
              "<input type=\"radio\" id=\"a\" name=\"pick\" value=\"a\" checked>"
              "<input type=\"radio\" id=\"b\" name=\"pick\" value=\"b\">"
              "<select id=\"term\" name=\"term\"><option>春</option><option>秋</option></select>"
              "<label for=\"name\" id=\"nameLabel\">姓名</label>"
              "</form></body></html>") {}
};

TEST_F(PageFieldChangesTest, TypingIntoAFieldNamesItAndItsItemHoldsWhatWasTyped) {
    const std::string laidOut = page.itemLayoutHTML(nodeOf("name"), 0);
    page.editField(nodeOf("name"), "张三");
    const auto changes = page.takeChanges();
    EXPECT_FALSE(changes.markup);
    ASSERT_EQ(changes.items.size(), 1u);
    EXPECT_EQ(changes.items[0], nodeOf("name"));
    const auto item = page.itemOf(nodeOf("name"));
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->kind, WebPage::Item::Kind::Field);
    EXPECT_EQ(item->text, "张三");
    // Its box is laid out as it was: the field's own view shows what was typed.
    EXPECT_EQ(page.itemLayoutHTML(nodeOf("name"), 0), laidOut);
}

TEST_F(PageFieldChangesTest, CheckingChoosingAndPickingARadioNameEachFieldThatChanged) {
    page.toggle(nodeOf("agree"));
    page.choose(nodeOf("term"), 1);
    page.toggle(nodeOf("b"));
    const auto changes = page.takeChanges();
    EXPECT_FALSE(changes.markup);
    auto named = [&](const std::string& id) {
        return std::find(changes.items.begin(), changes.items.end(), nodeOf(id)) !=
               changes.items.end();
    };
    EXPECT_TRUE(named("agree"));
    EXPECT_TRUE(named("term"));
    EXPECT_TRUE(named("a")) << "the radio unchecked by the other";
    EXPECT_TRUE(named("b"));
    EXPECT_TRUE(page.itemOf(nodeOf("agree"))->checked);
    EXPECT_EQ(page.itemOf(nodeOf("term"))->selected, 1);
    EXPECT_FALSE(page.itemOf(nodeOf("a"))->checked);
    // A label's item is told as collectItems tells it.
    const auto label = page.itemOf(nodeOf("nameLabel"));
    ASSERT_TRUE(label.has_value());
    EXPECT_EQ(label->kind, WebPage::Item::Kind::Label);
}

TEST_F(PageFieldChangesTest, WritingWhatAFieldAlreadyHoldsIsNoChange) {
    page.evaluate("document.getElementById('agree').checked = false");
    page.evaluate("document.getElementById('a').checked = true");
    EXPECT_FALSE(page.takeChanges().any());
}
