#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextFieldDelegate.h"
#include "platform/ui/TextView.h"
#include "platform/ui/TextViewDelegate.h"

using namespace platform;

namespace {

class TextInputTest : public uitest::UiTest {
protected:
    void SetUp() override {
        m_screen = std::make_shared<ViewController>();
        m_window = showWindow(m_screen);
    }

    std::shared_ptr<TextField> addField(Rect frame = Rect{{20, 100}, {200, 40}}) {
        auto field = View::make<TextField>(frame);
        m_screen->view()->addSubview(field);
        return field;
    }

    // Names of the keyboard notifications posted while this test runs, in order.
    void watchKeyboard() {
        for (const char* name :
             {"UIKeyboardWillShowNotification", "UIKeyboardDidShowNotification",
              "UIKeyboardWillHideNotification", "UIKeyboardDidHideNotification"}) {
            NotificationCenter::defaultCenter().addObserver(
                m_observerOwner, name,
                [this](const Notification& note) { m_keyboardNotes.push_back(note); });
        }
    }
    std::vector<std::string> keyboardNames() const {
        std::vector<std::string> names;
        for (const auto& note : m_keyboardNotes) {
            names.push_back(note.name);
        }
        return names;
    }

    std::shared_ptr<ViewController> m_screen;
    std::shared_ptr<Window> m_window;
    std::shared_ptr<int> m_observerOwner = std::make_shared<int>(0);
    std::vector<Notification> m_keyboardNotes;
};

// Keeps digits out, as a name field would, and records what it was asked.
class NoDigitsDelegate : public TextFieldDelegate {
public:
    bool shouldChangeCharactersInRange(TextField&, TextRange range,
                                       const std::string& replacement) override {
        ranges.push_back(range);
        return replacement.find_first_of("0123456789") == std::string::npos;
    }
    bool textFieldShouldReturn(TextField& field) override {
        ++returns;
        field.resignFirstResponder();
        return true;
    }
    std::vector<TextRange> ranges;
    int returns = 0;
};

TEST_F(TextInputTest, TypingGoesThroughTheDelegateOneKeyAtATimeInUtf16Ranges) {
    auto field = addField();
    auto delegate = std::make_shared<NoDigitsDelegate>();
    field->setDelegate(delegate);
    int changes = 0;
    field->addTarget([&](Control&) { ++changes; }, ControlEvent::EditingChanged);

    EXPECT_TRUE(field->typeText("ab12c"));
    EXPECT_EQ(field->text(), "abc");
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(delegate->ranges.size(), 5u);

    delegate->ranges.clear();
    field->setText("");
    field->typeText("汉😀x");
    ASSERT_EQ(delegate->ranges.size(), 3u);
    EXPECT_EQ(delegate->ranges[1], (TextRange{1, 0}));
    EXPECT_EQ(delegate->ranges[2], (TextRange{3, 0}));
    EXPECT_TRUE(field->deleteBackward());
    EXPECT_EQ(delegate->ranges.back(), (TextRange{3, 1}));
    EXPECT_EQ(field->text(), "汉😀");
}

TEST_F(TextInputTest, ReturnAsksTheDelegateInsertsNothingAndARefusalKeepsEditing) {
    watchKeyboard();
    auto field = addField();
    auto delegate = std::make_shared<NoDigitsDelegate>();
    field->setDelegate(delegate);

    field->typeText("ab\ncd");

    EXPECT_EQ(delegate->returns, 1);
    EXPECT_EQ(field->text(), "ab");  // the delegate resigned; later keys went nowhere
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(keyboardNames().back(), "UIKeyboardDidHideNotification");

    // A delegate refusing the return keeps the field editing.
    struct Refuses : TextFieldDelegate {
        bool textFieldShouldReturn(TextField&) override { return false; }
    };
    auto refuses = std::make_shared<Refuses>();
    field->setDelegate(refuses);
    int exits = 0;
    field->addTarget([&](Control&) { ++exits; }, ControlEvent::EditingDidEndOnExit);
    field->typeText("c");
    EXPECT_FALSE(field->pressReturn());
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(field->text(), "abc");
}

TEST_F(TextInputTest, SecureEntryNeverShowsTheText) {
    auto field = addField();
    field->setPlaceholder("密码");
    field->setSecureTextEntry(true);
    EXPECT_NE(field->describe().find("密码"), std::string::npos);

    field->typeText("pässwörd");

    EXPECT_EQ(field->text(), "pässwörd");
    std::string outline = field->describe();
    EXPECT_EQ(outline.find("p"), std::string::npos) << outline;
    EXPECT_EQ(outline.find("ö"), std::string::npos) << outline;
    EXPECT_EQ(field->displayedText(), "••••••••");
}

TEST_F(TextInputTest, BecomingFirstResponderShowsTheKeyboardAtTheBottomAndEndEditingHidesIt) {
    watchKeyboard();
    auto field = addField();
    int began = 0;
    field->addTarget([&](Control&) { ++began; }, ControlEvent::EditingDidBegin);

    ASSERT_TRUE(field->becomeFirstResponder());

    EXPECT_EQ(began, 1);
    EXPECT_TRUE(Keyboard::isVisible());
    ASSERT_EQ(keyboardNames(), (std::vector<std::string>{"UIKeyboardWillShowNotification",
                                                         "UIKeyboardDidShowNotification"}));
    const Json& info = m_keyboardNotes.front().userInfo;
    EXPECT_EQ(info.at("UIKeyboardFrameEndUserInfoKey"),
              Json::array({0.0, 667.0 - 216.0, 375.0, 216.0}));
    EXPECT_DOUBLE_EQ(info.at("UIKeyboardAnimationDurationUserInfoKey").get<double>(), 0.25);

    // endEditing on an ancestor resigns and hides the keyboard.
    int ended = 0;
    field->addTarget([&](Control&) { ++ended; }, ControlEvent::EditingDidEnd);
    m_keyboardNotes.clear();
    EXPECT_TRUE(m_screen->view()->endEditing(true));
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(keyboardNames(), (std::vector<std::string>{"UIKeyboardWillHideNotification",
                                                         "UIKeyboardDidHideNotification"}));
}

TEST_F(TextInputTest, OnlyOneInputEditsAtATimeAndTheKeyboardStaysUp) {
    watchKeyboard();
    auto first = addField();
    auto second = addField(Rect{{20, 160}, {200, 40}});
    auto notes = View::make<TextView>(Rect{{20, 220}, {200, 100}});
    m_screen->view()->addSubview(notes);
    int firstEnded = 0;
    first->addTarget([&](Control&) { ++firstEnded; }, ControlEvent::EditingDidEnd);

    first->typeText("a");
    second->typeText("b");
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_EQ(firstEnded, 1);
    EXPECT_TRUE(second->isEditing());

    notes->typeText("c");
    EXPECT_FALSE(second->isFirstResponder());
    EXPECT_TRUE(notes->isEditing());
    EXPECT_TRUE(Keyboard::isVisible());
    for (const auto& name : keyboardNames()) {
        EXPECT_EQ(name.find("Hide"), std::string::npos) << name;
    }
}

TEST_F(TextInputTest, AFieldRefusedByItsDelegateOrAReadOnlyTextViewTakesNoText) {
    struct NoBegin : TextFieldDelegate {
        bool textFieldShouldBeginEditing(TextField&) override { return false; }
    };
    auto field = addField();
    auto delegate = std::make_shared<NoBegin>();
    field->setDelegate(delegate);
    EXPECT_FALSE(field->typeText("abc"));
    EXPECT_EQ(field->text(), "");

    auto textView = View::make<TextView>(Rect{{10, 80}, {300, 150}});
    m_screen->view()->addSubview(textView);
    textView->setText("fixed");
    textView->setEditable(false);
    EXPECT_FALSE(textView->typeText("x"));
    EXPECT_EQ(textView->text(), "fixed");
    EXPECT_FALSE(Keyboard::isVisible());
}

TEST_F(TextInputTest, ForcedEndOfEditingOverridesARefusingDelegate) {
    struct NoEnd : TextFieldDelegate {
        bool textFieldShouldEndEditing(TextField&) override { return allowEnd; }
        void textFieldDidEndEditing(TextField&) override { ++ended; }
        bool allowEnd = false;
        int ended = 0;
    };
    auto field = addField();
    auto delegate = std::make_shared<NoEnd>();
    field->setDelegate(delegate);
    field->typeText("a");

    EXPECT_FALSE(m_screen->view()->endEditing(false));
    EXPECT_TRUE(field->isEditing());

    EXPECT_TRUE(m_screen->view()->endEditing(true));
    RunLoop::main().runPending();
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(delegate->ended, 1);
    EXPECT_FALSE(Keyboard::isVisible());
}

TEST_F(TextInputTest, TappingAFieldOrATextViewBeginsEditing) {
    auto field = addField();
    m_window->tap(Point{40, 120});
    EXPECT_TRUE(field->isEditing());
    field->typeText("hi");
    EXPECT_EQ(field->text(), "hi");

    auto textView = View::make<TextView>(Rect{{10, 200}, {300, 150}});
    m_screen->view()->addSubview(textView);
    m_window->tap(Point{100, 250});
    EXPECT_TRUE(textView->isEditing());
    EXPECT_FALSE(field->isEditing());
    EXPECT_TRUE(Keyboard::isVisible());
}

TEST_F(TextInputTest, AlwaysVisibleLeftViewPushesTheTextAside) {
    auto field = addField(Rect{{42, 100}, {291, 50}});
    auto icon = View::make<View>(Rect{{0, 0}, {50, 50}});
    field->setLeftView(icon);
    field->setLeftViewMode(TextFieldViewMode::Always);
    field->layoutIfNeeded();

    EXPECT_EQ(icon->superview(), field);
    EXPECT_GE(field->textRectForBounds(field->bounds()).minX(), 50);
}

// The feedback page's placeholder rule needs to see the deletion of the last character.
class RecordingTextViewDelegate : public TextViewDelegate {
public:
    bool shouldChangeTextInRange(TextView& view, TextRange range,
                                 const std::string& replacement) override {
        asked.push_back({utf16Length(view.text()), range, replacement});
        return true;
    }
    void textViewDidChange(TextView&) override { ++changes; }
    struct Ask {
        size_t lengthBefore;
        TextRange range;
        std::string replacement;
    };
    std::vector<Ask> asked;
    int changes = 0;
};

TEST_F(TextInputTest, TextViewTakesLineBreaksAndReportsDeletions) {
    auto textView = View::make<TextView>(Rect{{10, 80}, {300, 150}});
    m_screen->view()->addSubview(textView);
    auto delegate = std::make_shared<RecordingTextViewDelegate>();
    textView->setDelegate(delegate);

    textView->typeText("a\n");
    EXPECT_EQ(textView->text(), "a\n");
    EXPECT_EQ(delegate->changes, 2);

    textView->deleteBackward();
    textView->deleteBackward();
    textView->deleteBackward();
    ASSERT_EQ(delegate->asked.size(), 5u);
    EXPECT_EQ(delegate->asked[3].lengthBefore, 1u);
    EXPECT_EQ(delegate->asked[3].range, (TextRange{0, 1}));
    EXPECT_EQ(delegate->asked[3].replacement, "");
    EXPECT_EQ(delegate->asked[4].lengthBefore, 0u);
    EXPECT_EQ(textView->text(), "");
}

// Rewrites the field's text itself on the third key, to text of the same size in bytes but
// fewer UTF-16 units, then agrees: later keys must land at the end of the text it set.
class RewritingDelegate : public TextFieldDelegate {
public:
    bool shouldChangeCharactersInRange(TextField& field, TextRange range,
                                       const std::string&) override {
        ranges.push_back(range);
        if (ranges.size() == 3) {
            field.setText("é");
        }
        return true;
    }
    std::vector<TextRange> ranges;
};

TEST_F(TextInputTest, KeysAfterTheDelegateSetTheTextLandAtTheEndOfThatText) {
    auto field = addField();
    auto delegate = std::make_shared<RewritingDelegate>();
    field->setDelegate(delegate);
    field->typeText("abcd");
    // "c" was asked at 2, but "é" is one unit long: it could not go there; "d" went after it.
    ASSERT_EQ(delegate->ranges.size(), 4u);
    EXPECT_EQ(delegate->ranges[2], (TextRange{2, 0}));
    EXPECT_EQ(delegate->ranges[3], (TextRange{1, 0}));
    EXPECT_EQ(field->text(), "éd");
}

TEST_F(TextInputTest, ATextViewsContentFollowsATypedRunOfLines) {
    auto textView = View::make<TextView>(Rect{{10, 80}, {300, 150}});
    m_screen->view()->addSubview(textView);
    textView->typeText("one line");
    double oneLine = textView->contentSize().height;
    textView->typeText("\ntwo\nthree\nfour\nfive\nsix\nseven\neight\nnine\nten");
    EXPECT_GT(textView->contentSize().height, oneLine * 3);
    EXPECT_GT(textView->contentSize().height, textView->bounds().size.height);
}

}  // namespace
