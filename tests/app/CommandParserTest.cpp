#include <gtest/gtest.h>

#include "app/CommandParser.h"

namespace frontend {
namespace {

Command parsed(const std::string& line) {
    ParsedLine result = parseCommandLine(line);
    EXPECT_TRUE(result.command.has_value()) << line << " -> " << result.error;
    return result.command.value_or(Command{});
}

std::string errorOf(const std::string& line) {
    ParsedLine result = parseCommandLine(line);
    EXPECT_FALSE(result.command.has_value()) << line;
    return result.error;
}

TEST(CommandWords, QuotesKeepSpacesAndEscapedQuotesInsideOneWord) {
    std::string error;
    auto words = splitWords(R"(type f1 "王 建国"  x "say \"hi\" \\ now" "")", error);
    ASSERT_TRUE(words);
    EXPECT_EQ(*words,
              (std::vector<std::string>{"type", "f1", "王 建国", "x", R"(say "hi" \ now)", ""}));
    EXPECT_EQ(errorOf(R"(tap "新闻)"), "unterminated quote");
}

TEST(CommandLines, BlankLinesAndCommentsAreNotCommands) {
    EXPECT_TRUE(parseCommandLine("").isBlank());
    EXPECT_TRUE(parseCommandLine("   \t").isBlank());
    EXPECT_TRUE(parseCommandLine("   # indented comment").isBlank());
}

TEST(CommandLines, TapTakesAHandleOrAQuotedText) {
    Command tap = parsed("tap b3");
    EXPECT_EQ(tap.kind, CommandKind::Tap);
    EXPECT_EQ(tap.target, "b3");
    EXPECT_EQ(parsed(R"(tap "添加 更多")").target, "添加 更多");
}

TEST(CommandLines, TypeJoinsTheRestIntoTheText) {
    Command quoted = parsed(R"(type f1 "a b")");
    EXPECT_EQ(quoted.kind, CommandKind::Type);
    EXPECT_EQ(quoted.target, "f1");
    EXPECT_EQ(quoted.text, "a b");
    EXPECT_EQ(parsed("type 账号 hello   world").text, "hello world");
    EXPECT_EQ(parsed(R"(type f1 "")").text, "");
}

TEST(CommandLines, PullNamesItsDirectionAndOptionallyAList) {
    EXPECT_EQ(parsed("pull down").kind, CommandKind::PullDown);
    Command up = parsed("pull up s1");
    EXPECT_EQ(up.kind, CommandKind::PullUp);
    EXPECT_EQ(up.target, "s1");
    EXPECT_EQ(errorOf("pull sideways"), "pull which way: pull down or pull up, not \"sideways\"");
}

TEST(CommandLines, SwipeTakesAWholePageNumber) {
    Command swipe = parsed("swipe s2 3");
    EXPECT_EQ(swipe.kind, CommandKind::Swipe);
    EXPECT_EQ(swipe.target, "s2");
    EXPECT_EQ(swipe.page, 3);
    EXPECT_NE(errorOf("swipe s2 two").find("not a page number"), std::string::npos);
    EXPECT_NE(errorOf("swipe s2 -1").find("not a page number"), std::string::npos);
    EXPECT_NE(errorOf("swipe s2 1.5").find("not a page number"), std::string::npos);
}

TEST(CommandLines, DragGoesOntoATargetOrToAPoint) {
    Command onto = parsed("drag tile2 to 迎新统计");
    EXPECT_EQ(onto.kind, CommandKind::Drag);
    EXPECT_EQ(onto.target, "tile2");
    EXPECT_EQ(onto.onto, "迎新统计");
    Command point = parsed("drag 学术讲座 12.5 300");
    EXPECT_EQ(point.target, "学术讲座");
    EXPECT_EQ(point.onto, "");
    EXPECT_DOUBLE_EQ(point.x, 12.5);
    EXPECT_DOUBLE_EQ(point.y, 300);
    EXPECT_NE(errorOf("drag tile2 -4 300").find("drag where"), std::string::npos);
    EXPECT_NE(errorOf("drag tile2 onto b1").find("drag where"), std::string::npos);
    EXPECT_NE(errorOf("drag tile2 to").find("missing argument"), std::string::npos);
}

TEST(CommandLines, DragTakesTwoPoints) {
    Command drag = parsed("drag 370 300 60.5 300");
    EXPECT_EQ(drag.kind, CommandKind::Drag);
    EXPECT_DOUBLE_EQ(drag.x, 370);
    EXPECT_DOUBLE_EQ(drag.y, 300);
    EXPECT_DOUBLE_EQ(drag.toX, 60.5);
    EXPECT_DOUBLE_EQ(drag.toY, 300);
    EXPECT_EQ(drag.target, "");
    EXPECT_NE(errorOf("drag 370 300 left 300").find("not a coordinate: \"left\""),
              std::string::npos);
    EXPECT_NE(errorOf("drag 370 300 inf 300").find("not a coordinate"), std::string::npos);
}

TEST(CommandLines, WaitTakesSecondsWithinReason) {
    EXPECT_DOUBLE_EQ(parsed("wait 1.5").seconds, 1.5);
    EXPECT_DOUBLE_EQ(parsed("wait 0").seconds, 0);
    EXPECT_NE(errorOf("wait -2").find("not a number of seconds"), std::string::npos);
    EXPECT_NE(errorOf("wait nan").find("not a number of seconds"), std::string::npos);
    EXPECT_NE(errorOf("wait 86400").find("not a number of seconds"), std::string::npos);
    EXPECT_EQ(parsed("settle").kind, CommandKind::Settle);
    EXPECT_NE(errorOf("settle 2").find("settle"), std::string::npos) << "settle takes no time";
}

TEST(CommandLines, TheOtherCommands) {
    EXPECT_EQ(parsed("back").kind, CommandKind::Back);
    EXPECT_EQ(parsed("return").kind, CommandKind::Return);
    Command alert = parsed("alert 确定");
    EXPECT_EQ(alert.kind, CommandKind::Alert);
    EXPECT_EQ(alert.target, "确定");
    Command shot = parsed("screenshot home.png");
    EXPECT_EQ(shot.kind, CommandKind::Screenshot);
    EXPECT_EQ(shot.text, "home.png");
    EXPECT_EQ(parsed("help").kind, CommandKind::Help);
    EXPECT_EQ(parsed("  quit  ").kind, CommandKind::Quit);
}

TEST(CommandLines, AnUnknownCommandSaysSo) {
    EXPECT_EQ(errorOf("jump b1"), "unknown command: \"jump\" (help lists the commands)");
    // Commands are words, not prefixes.
    EXPECT_NE(errorOf("taps b1").find("unknown command"), std::string::npos);
}

TEST(CommandLines, AMissingArgumentNamesTheUsage) {
    EXPECT_EQ(errorOf("tap"), "missing argument: tap HANDLE|TEXT");
    EXPECT_EQ(errorOf("type f1"), "missing argument: type HANDLE|TEXT TEXT");
    EXPECT_EQ(errorOf("swipe s1"), "missing argument: swipe HANDLE|TEXT PAGE");
    EXPECT_EQ(errorOf("pull"), "missing argument: pull down|up [HANDLE|TEXT]");
    EXPECT_EQ(errorOf("alert"), "missing argument: alert BUTTON");
    EXPECT_EQ(errorOf("wait"), "missing argument: wait SECONDS");
    EXPECT_EQ(errorOf("screenshot"), "missing argument: screenshot FILE.png");
}

TEST(CommandLines, ExtraWordsAreRefusedRatherThanDropped) {
    // "tap 添加 更多" most likely meant the quoted text; acting on "添加" alone would surprise.
    EXPECT_NE(errorOf("tap 添加 更多").find("too many arguments"), std::string::npos);
    EXPECT_NE(errorOf("quit now").find("too many arguments"), std::string::npos);
}

TEST(CommandLines, DeviceCommandsFeedTheStandIns) {
    Command fix = parsed("device location 30.3 120.08");
    EXPECT_EQ(fix.kind, CommandKind::Device);
    EXPECT_EQ(fix.device.action, DeviceCommand::Action::Location);
    EXPECT_EQ(fix.device.latitude, 30.3);
    EXPECT_EQ(fix.device.longitude, 120.08);
    EXPECT_GT(fix.device.accuracy, 0);
    EXPECT_EQ(parsed("device location -33.9 18.4 65").device.accuracy, 65);
    Command deny = parsed("device location deny");
    EXPECT_EQ(deny.device.action, DeviceCommand::Action::LocationAccess);
    EXPECT_EQ(deny.device.access, DeviceCommand::Access::Deny);
    EXPECT_EQ(parsed("device heading 359.5").device.degrees, 359.5);
    Command ask = parsed("device contacts ask");
    EXPECT_EQ(ask.device.action, DeviceCommand::Action::ContactsAccess);
    EXPECT_EQ(ask.device.access, DeviceCommand::Access::Ask);
    Command add = parsed(R"(device contacts add 王五 "139 0000 4567" 0571-8888)");
    EXPECT_EQ(add.device.action, DeviceCommand::Action::AddContact);
    EXPECT_EQ(add.device.name, "王五");
    EXPECT_EQ(add.device.phones, (std::vector<std::string>{"139 0000 4567", "0571-8888"}));
    EXPECT_TRUE(parsed("device messages on").device.on);
    EXPECT_FALSE(parsed("device messages off").device.on);
    EXPECT_EQ(parsed("device messages cancel").device.answer, DeviceCommand::Answer::Cancel);
    Command frame = parsed("device scan resources/sample/qr-demo.png");
    EXPECT_EQ(frame.device.action, DeviceCommand::Action::ScanFrame);
    EXPECT_EQ(frame.device.path, "resources/sample/qr-demo.png");
    Command camera = parsed("device scan deny");
    EXPECT_EQ(camera.device.action, DeviceCommand::Action::CameraAccess);
    EXPECT_EQ(camera.device.access, DeviceCommand::Access::Deny);
    Command photos = parsed("device photos /tmp/相册");
    EXPECT_EQ(photos.device.action, DeviceCommand::Action::Photos);
    EXPECT_EQ(photos.device.path, "/tmp/相册");
    Command cameraFile = parsed("device camera shot.jpg");
    EXPECT_EQ(cameraFile.device.action, DeviceCommand::Action::Camera);
    EXPECT_TRUE(cameraFile.device.on);
    EXPECT_EQ(cameraFile.device.path, "shot.jpg");
    EXPECT_FALSE(parsed("device camera off").device.on);
    EXPECT_EQ(parsed("device camera on").device.path, "");
    EXPECT_EQ(parsed("device microphone voice.wav").device.path, "voice.wav");
    EXPECT_EQ(parsed("device microphone silence").device.path, "");

    EXPECT_NE(errorOf("device location 91 0").find("not a position"), std::string::npos);
    EXPECT_NE(errorOf("device location 30 nan").find("not a position"), std::string::npos);
    EXPECT_NE(errorOf("device location 30 120 -1").find("accuracy"), std::string::npos);
    EXPECT_NE(errorOf("device location maybe").find("allow|deny|ask"), std::string::npos);
    EXPECT_NE(errorOf("device heading 360").find("DEGREES"), std::string::npos);
    EXPECT_NE(errorOf("device contacts add 王五").find("NAME PHONE"), std::string::npos);
    EXPECT_EQ(errorOf("device contacts add 王五 call-me"), "not a phone number: \"call-me\"");
    EXPECT_NE(errorOf("device messages later").find("on|off"), std::string::npos);
    EXPECT_NE(errorOf("device scanner x.png").find("unknown device"), std::string::npos);
    EXPECT_NE(errorOf("device").find("missing argument"), std::string::npos);
    EXPECT_NE(errorOf("device scan").find("device scan FILE"), std::string::npos);
    EXPECT_NE(errorOf("device scan a.png b.png").find("device scan FILE"), std::string::npos);
    EXPECT_NE(errorOf("device photos").find("DIR"), std::string::npos);
    EXPECT_NE(errorOf("device microphone a b").find("FILE|silence"), std::string::npos);
}

TEST(CommandLines, AScanFrameThatIsNotAnImageIsOneClearError) {
    DeviceCommand command;
    command.action = DeviceCommand::Action::ScanFrame;
    command.path = "no-such-frame.png";
    auto result = performDeviceCommand(command);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("no-such-frame.png"), std::string::npos);
}

TEST(CommandLines, ReplayingAFileOfFixesNeedsTheFileAndAPositiveInterval) {
    Command replay = parsed(R"(device location replay "walk to gate.txt" 2.5)");
    EXPECT_EQ(replay.device.action, DeviceCommand::Action::LocationReplay);
    EXPECT_EQ(replay.device.path, "walk to gate.txt");
    EXPECT_EQ(replay.device.interval, 2.5);

    EXPECT_NE(errorOf("device location replay walk.txt").find("FILE SECONDS"), std::string::npos);
    EXPECT_NE(errorOf("device location replay walk.txt 0").find("seconds"), std::string::npos);
    EXPECT_NE(errorOf("device location replay walk.txt -1").find("seconds"), std::string::npos);
    EXPECT_NE(errorOf("device location replay walk.txt inf").find("seconds"), std::string::npos);
}

}  // namespace
}  // namespace frontend

namespace frontend {
namespace {

TEST(CommandLines, OpenTakesTheIndexedListAndAnOrganisation) {
    Command open = parsed("open index 1003");
    EXPECT_EQ(open.kind, CommandKind::Open);
    EXPECT_EQ(open.target, "index");
    EXPECT_EQ(open.text, "1003");
    EXPECT_EQ(errorOf("open meetings 1"),
              "open what: open index ORGID or open locationdemo, not \"meetings\"");
    Command demo = parsed("open locationdemo");
    EXPECT_EQ(demo.kind, CommandKind::Open);
    EXPECT_EQ(demo.target, "locationdemo");
    EXPECT_NE(errorOf("open locationdemo 1").find("open locationdemo"), std::string::npos);
    // The organisation may be left out: the program then lists the ids it takes.
    Command bare = parsed("open index");
    EXPECT_EQ(bare.target, "index");
    EXPECT_EQ(bare.text, "");
    EXPECT_NE(errorOf("open index 1003 1004").find("too many arguments"), std::string::npos);
}

TEST(CommandLines, TheDeviceTurnsToAnOrientationTheInterfaceCanTake) {
    Command turn = parsed("device rotate landscape-left");
    EXPECT_EQ(turn.device.action, DeviceCommand::Action::Rotate);
    EXPECT_EQ(turn.device.orientation, platform::DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(parsed("device rotate upside-down").device.orientation,
              platform::DeviceOrientation::PortraitUpsideDown);
    // Lying flat gives the interface no orientation to take.
    for (const char* bad : {"device rotate", "device rotate face-up", "device rotate sideways",
                            "device rotate portrait now"}) {
        EXPECT_NE(errorOf(bad).find("usage: device rotate"), std::string::npos) << bad;
    }
}

TEST(CommandLines, TheShareSdksOrientationsAreAMaskOfOrientationBits) {
    Command all = parsed("share orientations 30");
    EXPECT_EQ(all.kind, CommandKind::Share);
    EXPECT_EQ(all.target, "orientations");
    EXPECT_EQ(all.text, "30");
    for (const char* bad : {"share orientations 31", "share orientations -2",
                            "share orientations all", "share orientations 100"}) {
        EXPECT_NE(errorOf(bad).find("not an orientation mask"), std::string::npos) << bad;
    }
}

}  // namespace
}  // namespace frontend
