// The page fields through the real client: runs the campus program on
// tests/app/fields_road.campus with a fresh data directory and checks the screens it printed.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class FieldsRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/fields_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(FieldsRoad, ALongAddressIsKeptWholeInTheMailboxsAccountField) {
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(shows(run.output, "error: ")) << run.output;
    Transcript road(run.output);
    const std::string typed =
        road.after("type account \"zhangsan.teacher.informationengineering@lanxi.test\"");
    EXPECT_TRUE(shows(typed,
                      "account  field account "
                      "\"zhangsan.teacher.informationengineering@lanxi.test\" (editing)"))
        << typed;
    // An address field raises the keyboard with "@" and "." at hand.
    EXPECT_TRUE(shows(typed, "keyboard (email)")) << typed;
    const std::string password = road.after("type password \"a-long-passphrase-of-many-words\"");
    EXPECT_TRUE(shows(password, "password  secure field password")) << password;
    EXPECT_FALSE(shows(password, "a-long-passphrase")) << password;
    for (const char* shot :
         {"mailbox-empty.png", "mailbox-caret.png", "mailbox-long.png", "mailbox-password.png"}) {
        EXPECT_TRUE(std::filesystem::exists(home->path() / shot)) << shot;
    }
}

TEST_F(FieldsRoad, TheQuestionnairesTextAreaTakesAWrappedLineAReturnAndMore) {
    Transcript road(run.output);
    const std::string typed = road.after("type advice 好");
    EXPECT_TRUE(shows(typed,
                      "advice  text area advice "
                      "\"食堂饭菜可口价格合理实惠服务周到环境整洁明亮\\n好\" (editing)"))
        << typed;
    for (const char* shot : {"textarea-empty.png", "textarea-wrapped.png", "textarea-return.png"}) {
        EXPECT_TRUE(std::filesystem::exists(home->path() / shot)) << shot;
    }
}

}  // namespace
