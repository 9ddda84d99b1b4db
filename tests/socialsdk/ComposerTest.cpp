#include <gtest/gtest.h>

#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsHandler.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/devices/MailComposeViewController.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/ViewController.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace sharetest {
namespace {

constexpr const char* kPictureLink = "http://img.lanxi-campus.example/notice.jpg";

class ComposerTest : public ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        startShareService();
        subject = SHSocialData::defaultData();
        service = std::make_shared<SHSocialControllerService>(subject);
    }

    static platform::Image picture() {
        return platform::Image::fromARGB(4, 4, std::vector<std::uint32_t>(16, 0xff336699u));
    }

    std::shared_ptr<SHSocialData> subject;
    std::shared_ptr<SHSocialControllerService> service;
};

class ResultDelegate : public SHSocialUIDelegate {
public:
    bool didFinishGetSHSocialDataInViewController(
        std::shared_ptr<SHSocialResponseEntity> response) override {
        results.push_back(response);
        return true;
    }
    std::vector<std::shared_ptr<SHSocialResponseEntity>> results;
};

TEST_F(ComposerTest, MailWithAnImageLinkPutsThePictureInTheHtmlBody) {
    platform::MailComposeViewController::setCanSendMail(true);
    subject->setShareText("运动会通知");
    auto link = std::make_shared<SHSocialUrlResource>();
    link->resourceType = 1;
    link->url = kPictureLink;
    subject->setUrlResource(link);
    auto mail = SHSocialMailHandler::shareInstance().getEditEmailController(service);
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->mail().body, std::string("运动会通知<br><img src='") + kPictureLink + "'>");
    EXPECT_TRUE(mail->mail().isHTML);
    EXPECT_TRUE(mail->mail().attachments.empty());
    EXPECT_EQ(mail->mail().subject, "分享给你");
}

TEST_F(ComposerTest, AMailPictureIsAttachedAsJpeg) {
    platform::MailComposeViewController::setCanSendMail(true);
    subject->extConfig()->emailData->title = "校园通知";
    subject->extConfig()->emailData->shareImage = picture();
    auto mail = SHSocialMailHandler::shareInstance().getEditEmailController(service);
    ASSERT_TRUE(mail);
    ASSERT_EQ(mail->mail().attachments.size(), 1u);
    EXPECT_EQ(mail->mail().attachments[0].mimeType, "image/jpeg");
    EXPECT_EQ(mail->mail().attachments[0].fileName, "Image.jpg");
    EXPECT_EQ(mail->mail().subject, "校园通知");
}

TEST_F(ComposerTest, WithoutMailAccountsTheTapShowsTheAlertAndPresentsNothing) {
    auto controller = std::make_shared<platform::ViewController>();
    auto email = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName("email");
    email->snsClickHandler(controller, service, true);
    auto alert = platform::AlertPresenter::shared().topAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->alertTitle(), "邮件功能未开启");
    EXPECT_EQ(alert->buttonTitles(), std::vector<std::string>{"好"});
    EXPECT_FALSE(controller->presentedViewController());

    platform::AlertPresenter::shared().reset();
    auto sms = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName("sms");
    sms->snsClickHandler(controller, service, true);
    alert = platform::AlertPresenter::shared().topAlert();
    ASSERT_TRUE(alert);
    EXPECT_FALSE(alert->alertTitle().empty()) << "the message alert has default texts too";
    EXPECT_NE(alert->alertTitle(), "share_sms_no_osSupport");
}

TEST_F(ComposerTest, ASavedMailReportsItsCodeAndRecordsNoShare) {
    platform::MailComposeViewController::setCanSendMail(true);
    auto delegate = std::make_shared<ResultDelegate>();
    service->setSocialUIDelegate(delegate);
    auto& handler = SHSocialMailHandler::shareInstance();
    auto mail = handler.getEditEmailController(service);
    ASSERT_TRUE(mail);
    handler.mailDidFinishWithResult(*mail, platform::MailComposeResult::Saved, std::nullopt);
    ASSERT_EQ(delegate->results.size(), 1u);
    EXPECT_EQ(delegate->results[0]->responseCode, 1);
    EXPECT_EQ(delegate->results[0]->viewControllerType, 3);
    EXPECT_EQ(*delegate->results[0]->data, (platform::Json{{"email", ""}}));
    EXPECT_TRUE(SHSocialOpAnalytics::shareInstance().opDictionary().empty());

    handler.mailDidFinishWithResult(*mail, platform::MailComposeResult::Cancelled, std::nullopt);
    EXPECT_EQ(delegate->results[1]->responseCode, SHSResponseCodeCancel);
    EXPECT_EQ(delegate->results[1]->message, "user cancel the operation");
}

TEST_F(ComposerTest, SmsTextFallsBackToTheSubjectsUnlessThePlatformBringsItsOwnPicture) {
    platform::MessageComposeViewController::setCanSendText(true);
    subject->setShareText("校园新闻");
    auto& handler = SHSocialMailHandler::shareInstance();
    auto message = handler.getEditSMSController(service);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->body(), "校园新闻");

    subject->extConfig()->smsData->shareText = "短信专用";
    message = handler.getEditSMSController(service);
    EXPECT_EQ(message->body(), "短信专用");

    subject->extConfig()->smsData->shareText.reset();
    subject->extConfig()->smsData->shareImage = picture();
    message = handler.getEditSMSController(service);
    EXPECT_EQ(message->body(), "") << "a picture of its own, no link: the message has no text";
    EXPECT_TRUE(message->attachments().empty()) << "attachments are off unless configured";

    platform::MessageComposeViewController::setCanSendAttachments(true);
    message = handler.getEditSMSController(service);
    ASSERT_EQ(message->attachments().size(), 1u);
    EXPECT_EQ(message->attachments()[0].typeIdentifier, "public.jpeg");
    EXPECT_EQ(message->attachments()[0].fileName, "picture.jpg");
}

TEST_F(ComposerTest, TheSmsLinksPictureComesFromTheImageCacheFirst) {
    platform::MessageComposeViewController::setCanSendText(true);
    platform::MessageComposeViewController::setCanSendAttachments(true);
    const std::string path = "/media/notice.png";
    const std::string url = services->baseUrl() + path;
    const auto shown = platform::Image::fromARGB(6, 2, std::vector<std::uint32_t>(12, 0xff22aa44u));
    services->setReply("GET", path, fakes::Reply{200, "image/png", shown.pngData()});
    // The picture was seen before: the loader has it cached.
    auto loader = SHSocialImageLoader::sharedImageLoader();
    loader->loadImageForURL(url);
    auto& loop = platform::RunLoop::main();
    ASSERT_TRUE(loop.runUntil([&] {
        loop.advance(platform::seconds(0.02));
        return loader->hasLoadedImageURL(url);
    }));
    // The address no longer serves it; the cache still does.
    services->setReply("GET", path, fakes::Reply{404, "text/plain", "gone"});
    const auto asked = services->requestsTo(path).size();
    subject->setUrlResource(SHSocialUrlResourceMake(1, url));

    auto message = SHSocialMailHandler::shareInstance().getEditSMSController(service);
    ASSERT_TRUE(message);
    ASSERT_EQ(message->attachments().size(), 1u);
    const auto& data = message->attachments()[0].data;
    const auto attached = platform::Image::decode(
        std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    EXPECT_EQ(attached.size(), shown.size());
    EXPECT_EQ(services->requestsTo(path).size(), asked) << "nothing fetched again";
}

TEST_F(ComposerTest, WithoutASocialAccountTheHostHearsNotLoginThenTheAlertShows) {
    auto delegate = std::make_shared<ResultDelegate>();
    service->setSocialUIDelegate(delegate);
    auto controller = std::make_shared<platform::ViewController>();
    auto facebook = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName("facebook");
    ASSERT_TRUE(facebook);
    facebook->snsClickHandler(controller, service, true);
    ASSERT_EQ(delegate->results.size(), 1u);
    EXPECT_EQ(delegate->results[0]->responseCode, SHSResponseCodeNotLogin);
    EXPECT_EQ(delegate->results[0]->message, "user not login");
    auto alert = platform::AlertPresenter::shared().topAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->alertTitle(), "账号未登录");
    EXPECT_FALSE(controller->presentedViewController());
    EXPECT_EQ(SHSocialOpAnalytics::shareInstance().opDictionary().value("3-20", ""), "1");
}

TEST_F(ComposerTest, NoComposerWhenTheDeviceCannotSend) {
    EXPECT_FALSE(SHSocialMailHandler::shareInstance().getEditEmailController(service));
    EXPECT_FALSE(SHSocialMailHandler::shareInstance().getEditSMSController(service));
}

}  // namespace
}  // namespace sharetest
