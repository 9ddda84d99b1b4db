#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/base/SHSLocation.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "SocialSDK/service/SHSocialUIDelegate.h"
#include "SocialSDK/service/SHSocialUrlResource.h"
#include "platform/foundation/Json.h"

namespace platform {
class ViewController;
}
class SHSocialAccountEntity;
class SHSocialData;
class SHSocialDataDelegate;

// The share SDK's request interface for one share subject: shares, comments, likes,
// counters and the account operations. Each public operation counts its usage operation;
// its Internal twin does the same work uncounted (the SDK's own screens use those).
// Main thread.
class SHSocialDataService : public SHSocialUIDelegate,
                            public std::enable_shared_from_this<SHSocialDataService> {
public:
    // A share described by its parts ("snsType", "content", ... of the dictionary form).
    struct ContentDictionary {
        std::optional<std::string> snsType;
        std::optional<std::string> content;
        SHSImageObject image;
        std::shared_ptr<SHSocialUrlResource> urlResource;
        std::optional<SHSLocation> location;
        std::shared_ptr<platform::ViewController> controller;
        SHSocialResponseCompletion completion;
        std::optional<std::string> sourceOpType;
    };

    static std::shared_ptr<SHSocialDataService> defaultDataService();
    // The user's platform accounts (the user manager's), by platform name.
    static std::map<std::string, std::shared_ptr<SHSocialAccountEntity>> getSHSocialAccount();
    static void resetDefaultDataService();

    explicit SHSocialDataService(std::shared_ptr<SHSocialData> socialData);
    ~SHSocialDataService() override;

    std::shared_ptr<SHSocialData> socialData;
    void setSHSocialDelegate(std::weak_ptr<SHSocialDataDelegate> delegate);
    std::shared_ptr<SHSocialDataDelegate> socialDataDelegate() const;

    // --- Public operations (counted) and their twins -----------------------------------------
    void requestSocialDataWithCompletion(SHSocialResponseCompletion completion);  // "15"
    void requestSocialDataWithCompletionInternal(SHSocialResponseCompletion completion);
    void postAddLikeOrCancelWithCompletion(SHSocialResponseCompletion completion);  // "16"
    void postAddLikeOrCancelWithCompletionInternal(SHSocialResponseCompletion completion);
    void postCommentWithContent(const std::string& content,
                                SHSocialResponseCompletion completion);  // "17"
    void postCommentWithContentInternal(const std::string& content,
                                        SHSocialResponseCompletion completion);
    void postCommentWithContent(const std::string& content,
                                const std::optional<platform::Image>& image,
                                const std::optional<std::string>& templateText,
                                const std::optional<SHSLocation>& location,
                                const platform::Json& usidsByPlatform,
                                SHSocialResponseCompletion completion);  // "18"
    void postCommentWithContentInternal(const std::string& content,
                                        const std::optional<platform::Image>& image,
                                        const std::optional<std::string>& templateText,
                                        const std::optional<SHSLocation>& location,
                                        const platform::Json& usidsByPlatform,
                                        SHSocialResponseCompletion completion);
    void requestCommentList(std::int64_t lastCommentTime,
                            SHSocialResponseCompletion completion);  // "19"
    void requestCommentListInternal(std::int64_t lastCommentTime,
                                    SHSocialResponseCompletion completion);
    void requestSocialAccountWithCompletion(SHSocialResponseCompletion completion);  // "20"
    void requestSocialAccountWithCompletionInternal(SHSocialResponseCompletion completion);
    void requestUnOauthWithType(const std::string& platformName,
                                SHSocialResponseCompletion completion);  // "21"
    void requestUnOauthWithTypeInternal(const std::string& platformName,
                                        SHSocialResponseCompletion completion);
    void requestBindToSnsWithType(const std::string& platformName,
                                  SHSocialResponseCompletion completion);  // "22"
    void requestBindToSnsWithTypeInternal(const std::string& platformName,
                                          SHSocialResponseCompletion completion);
    void requestUnBindToSnsWithCompletion(SHSocialResponseCompletion completion);  // "23"
    void requestUnBindToSnsWithCompletionInternal(SHSocialResponseCompletion completion);
    void requestSnsInformation(const std::string& platformName,
                               SHSocialResponseCompletion completion);  // "24"
    void requestSnsInformationInternal(const std::string& platformName,
                                       SHSocialResponseCompletion completion);
    void requestSnsFriends(const std::string& platformName,
                           SHSocialResponseCompletion completion);  // "25"
    void requestSnsFriendsInternal(const std::string& platformName,
                                   SHSocialResponseCompletion completion);
    void requestAddFollow(const std::string& platformName, const std::vector<std::string>& usids,
                          SHSocialResponseCompletion completion);  // "26"
    void requestAddFollowInternal(const std::string& platformName,
                                  const std::vector<std::string>& usids,
                                  SHSocialResponseCompletion completion);
    void requestIsTokenValid(const std::vector<std::string>& platformNames,
                             SHSocialResponseCompletion completion);
    void requestIsTokenValidInternal(const std::vector<std::string>& platformNames,
                                     SHSocialResponseCompletion completion);

    // The share request ("14", counted here from the source op type).
    void postSNSWithTypes(const std::vector<std::string>& platformNames,
                          const std::optional<std::string>& content, const SHSImageObject& image,
                          const std::optional<SHSLocation>& location,
                          const std::shared_ptr<SHSocialUrlResource>& urlResource,
                          SHSocialResponseCompletion completion);
    void postSNSWithTypesInternal(const std::vector<std::string>& platformNames,
                                  const std::optional<std::string>& content,
                                  const SHSImageObject& image,
                                  const std::optional<SHSLocation>& location,
                                  const std::shared_ptr<SHSocialUrlResource>& urlResource,
                                  SHSocialResponseCompletion completion,
                                  const std::optional<std::string>& sourceOpType);
    void postSNSWithTypesInternal(const std::vector<std::string>& platformNames,
                                  ContentDictionary content);
    // The share decision: direct, sign-in first, or through the edit screen.
    void postSNSWithTypes(const std::vector<std::string>& platformNames,
                          const std::optional<std::string>& content, const SHSImageObject& image,
                          const std::optional<SHSLocation>& location,
                          const std::shared_ptr<SHSocialUrlResource>& urlResource,
                          const std::shared_ptr<platform::ViewController>& presentedController,
                          SHSocialResponseCompletion completion);
    // The share sheet's direct share, with the result table's message.
    void postSnsWithDictionary(ContentDictionary content);
    static bool canDirectShare(int platformType);
    // Cancels the request on the wire (reported as cancelled) and drops the waiting ones.
    void cancelAllRequestInQueueInternal();

    // The end of an edit-screen share: restores the subject's content, then reports.
    bool didFinishGetSHSocialDataInViewController(
        std::shared_ptr<SHSocialResponseEntity> response) override;

    // The share-result table for one platform: toasts, forgetting an expired account.
    static void handleShareResult(const std::string& platformName,
                                  const std::shared_ptr<SHSocialResponseEntity>& response);

private:
    std::shared_ptr<class SHSDataManager> subjectManager() const;
    void signInThenShare(const std::string& platformName,
                         const std::shared_ptr<platform::ViewController>& controller,
                         SHSocialResponseCompletion onSignedIn,
                         SHSocialResponseCompletion onFailed);

    SHSocialResponseCompletion m_completion;
    std::optional<std::string> m_preText;
    SHSImageObject m_preImage;
    int m_preUrlType = 0;
    std::optional<std::string> m_preUrlResourceUrl;
};
