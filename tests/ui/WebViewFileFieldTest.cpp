#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UIDriver.h"
#include "platform/ui/WebFilePicker.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"
#include "tests/net/TestServer.h"
#include "tests/support/TempHome.h"

// A page's file field on the real engine: its ask reaches the picker the web view was given,
// the picker's answer reaches the page as real files, and every ask is answered once, whatever
// becomes of the picker, the page or the web view.

using namespace platform;
using namespace std::chrono_literals;

namespace {

// Holds what it is asked, for the test to answer.
class HeldPicker : public WebFilePicker {
public:
    void pickFiles(WebView&, std::shared_ptr<WebFileAsk> ask) override {
        ++asked;
        ask->onWithdrawn([this] { ++withdrawn; });
        held = std::move(ask);
    }
    int asked{0};
    int withdrawn{0};
    std::shared_ptr<WebFileAsk> held;
};

class Finishing : public WebViewDelegate {
public:
    void webViewDidFinishLoad(WebView&) override { ++finished; }
    int finished{0};
};

// The field shows what its change handler saw in the title: "count|name|size|type" of its
// first file.
constexpr const char* kFieldPage =
    "<html><body style='margin:0'><input type=file id=photo accept='image/*' "
    "style='display:block;width:300px;height:40px'%MULTIPLE%>"
    "<script>document.getElementById('photo').onchange = function (e) {"
    "  var files = e.target.files; var f = files[0];"
    "  document.title = files.length + '|' + f.name + '|' + f.size + '|' + f.type; };"
    "</script></body></html>";

std::string fieldPage(bool multiple = false) {
    std::string page = kFieldPage;
    page.replace(page.find("%MULTIPLE%"), 10, multiple ? " multiple" : "");
    return page;
}

class WebViewFileFieldTest : public uitest::UiTest {
protected:
    void SetUp() override {
        makeWebView();
        m_screen = std::make_shared<ViewController>();
        m_screen->view()->addSubview(m_webView);
        m_window = showWindow(m_screen);
    }
    void makeWebView() {
        m_webView = View::make<WebView>(Rect{{0, 0}, {375, 603}});
        m_webView->setDelegate(m_delegate);
        m_webView->setFilePicker(m_picker);
    }

    bool waitFor(const std::function<bool()>& condition) {
        return RunLoop::main().runUntil(condition, 20s);
    }
    bool settle() {
        return waitFor([this] { return !m_webView->isBusy(); });
    }
    void open(const std::string& path) {
        const int before = m_delegate->finished;
        URLRequest request;
        request.url = m_server.url(path);
        m_webView->loadRequest(request);
        ASSERT_TRUE(waitFor([&] { return m_delegate->finished > before; }));
        ASSERT_TRUE(settle());
    }
    // A finger's tap on the page's field, and the ask it makes.
    void tapField(int asksBefore) {
        ASSERT_TRUE(waitFor([&] { return m_driver.findByHandle("photo") != nullptr; }));
        auto tapped = m_driver.tap("photo");
        ASSERT_TRUE(tapped) << tapped.error;
        ASSERT_TRUE(waitFor([&] { return m_picker->asked > asksBefore; }));
    }
    // A real JPEG file, as a picker writes one.
    std::string photoFile(const std::string& name) {
        const auto path = m_home.path() / name;
        std::vector<std::uint32_t> pixels(32 * 24, 0xFF3366AAu);
        const std::string jpeg = Image::fromARGB(32, 24, std::move(pixels)).jpegData(0.8);
        std::ofstream(path, std::ios::binary) << jpeg;
        m_sizes[name] = jpeg.size();
        return path.string();
    }
    std::string eval(const std::string& script) {
        return m_webView->stringByEvaluatingJavaScriptFromString(script);
    }

    testsupport::TempHome m_home;
    nettest::TestServer m_server;
    std::shared_ptr<Finishing> m_delegate = std::make_shared<Finishing>();
    std::shared_ptr<HeldPicker> m_picker = std::make_shared<HeldPicker>();
    std::shared_ptr<WebView> m_webView;
    std::shared_ptr<ViewController> m_screen;
    std::shared_ptr<Window> m_window;
    std::map<std::string, std::size_t> m_sizes;
    platform::testing::UIDriver m_driver;
};

TEST_F(WebViewFileFieldTest, APickedPictureReachesThePageAsAFileItsChangeHandlerReads) {
    m_server.serve("/field", fieldPage());
    open("/field");
    tapField(0);
    ASSERT_TRUE(m_picker->held);
    EXPECT_FALSE(m_picker->held->multiple());
    EXPECT_EQ(m_picker->held->mimeTypes(), std::vector<std::string>{"image/*"});
    EXPECT_TRUE(m_picker->held->acceptsImages());
    // The field is a control the user taps, not a text to type into.
    EXPECT_EQ(m_driver.outline().find("(editing)"), std::string::npos) << m_driver.outline();

    const std::string path = photoFile("gate.jpg");
    EXPECT_TRUE(m_picker->held->answer({path}));
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle().rfind("1|", 0) == 0; }));
    EXPECT_EQ(m_webView->pageTitle(),
              "1|gate.jpg|" + std::to_string(m_sizes["gate.jpg"]) + "|image/jpeg");
    // Answered once: a later answer reaches nothing.
    EXPECT_FALSE(m_picker->held->isOpen());
    EXPECT_FALSE(m_picker->held->answer({photoFile("late.jpg")}));
    // The outline shows the file the field holds (WebKit tells the page of its files on a turn
    // of its own, after the answer's).
    EXPECT_TRUE(waitFor([&] {
        return m_driver.outline().find("file #photo \"gate.jpg\"") != std::string::npos;
    })) << m_driver.outline();
}

TEST_F(WebViewFileFieldTest, AFieldForManyFilesTakesThemAllAndOneForOneTakesTheFirst) {
    m_server.serve("/many", fieldPage(true));
    m_server.serve("/one", fieldPage(false));
    open("/many");
    tapField(0);
    EXPECT_TRUE(m_picker->held->multiple());
    m_picker->held->answer({photoFile("a.jpg"), photoFile("b.jpg")});
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle().rfind("2|a.jpg|", 0) == 0; }))
        << m_webView->pageTitle();

    open("/one");
    tapField(1);
    m_picker->held->answer({photoFile("c.jpg"), photoFile("d.jpg")});
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle().rfind("1|c.jpg|", 0) == 0; }))
        << m_webView->pageTitle();
}

TEST_F(WebViewFileFieldTest, NoFilesLeaveTheFieldAsItWasAndThePageMayAskAgain) {
    m_server.serve("/field", fieldPage());
    open("/field");
    tapField(0);
    // Cancelled: nothing chosen, no change event.
    EXPECT_TRUE(m_picker->held->answer({}));
    ASSERT_TRUE(settle());
    EXPECT_EQ(eval("String(document.getElementById('photo').files.length)"), "0");
    EXPECT_EQ(m_webView->pageTitle(), "");

    // A picker that lets its ask go without a word answers nothing all the same: the page
    // is not left waiting, and its field asks again.
    tapField(1);
    m_picker->held.reset();
    ASSERT_TRUE(settle());
    tapField(2);
    m_picker->held->answer({photoFile("gate.jpg")});
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle().rfind("1|gate.jpg|", 0) == 0; }));
}

TEST_F(WebViewFileFieldTest, WithoutAPickerTheFieldChoosesNothing) {
    m_webView->setFilePicker(nullptr);
    m_server.serve("/field", fieldPage());
    open("/field");
    ASSERT_TRUE(waitFor([&] { return m_driver.findByHandle("photo") != nullptr; }));
    ASSERT_TRUE(m_driver.tap("photo"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(eval("String(document.getElementById('photo').files.length)"), "0");
    // The ask was answered: a picker given now hears the next one.
    m_webView->setFilePicker(m_picker);
    tapField(0);
}

TEST_F(WebViewFileFieldTest, APageGoingAwayWithdrawsItsAskAndTellsThePicker) {
    m_server.serve("/field", fieldPage());
    m_server.serve("/next", "<html><head><title>Next</title></head><body>n</body></html>");
    open("/field");
    tapField(0);
    eval("location.href = '/next'");
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle() == "Next"; }));
    ASSERT_TRUE(waitFor([&] { return m_picker->withdrawn == 1; }));
    EXPECT_FALSE(m_picker->held->isOpen());
    EXPECT_FALSE(m_picker->held->answer({photoFile("gate.jpg")}));

    // Back on a page with the field, it asks anew.
    open("/field");
    tapField(1);
    EXPECT_TRUE(m_picker->held->isOpen());
}

TEST_F(WebViewFileFieldTest, TheWebViewGoingAwayWithdrawsItsAskAndANewOneWorks) {
    m_server.serve("/field", fieldPage());
    open("/field");
    tapField(0);
    m_webView->removeFromSuperview();
    m_webView.reset();
    ASSERT_TRUE(waitFor([&] { return m_picker->withdrawn == 1; }));
    EXPECT_FALSE(m_picker->held->answer({photoFile("gate.jpg")}));
    m_picker->held.reset();

    makeWebView();
    m_screen->view()->addSubview(m_webView);
    open("/field");
    tapField(1);
    m_picker->held->answer({photoFile("gate.jpg")});
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle().rfind("1|gate.jpg|", 0) == 0; }));
}

TEST_F(WebViewFileFieldTest, TheAskTellsTheTypesTheFieldAccepts) {
    m_server.serve("/types",
                   "<html><body style='margin:0'>"
                   "<input type=file id=photo accept='application/pdf' "
                   "style='display:block;width:300px;height:40px'></body></html>");
    open("/types");
    tapField(0);
    EXPECT_EQ(m_picker->held->mimeTypes(), std::vector<std::string>{"application/pdf"});
    EXPECT_FALSE(m_picker->held->acceptsImages());
    m_picker->held->answer({});
}

}  // namespace
