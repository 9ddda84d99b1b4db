#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/base/SHSLocation.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSCommentEntity.h"
#include "SocialSDK/service/SHSNetworkDelegate.h"
#include "SocialSDK/service/SHSParamDictionary.h"
#include "SocialSDK/service/SHSSNSEntity.h"
#include "SocialSDK/service/SHSocialJob.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"

// One share subject's dispatcher to the share service: turns each operation into a request
// job and keeps the jobs in one queue, so at most one of its requests is on the wire. Holds
// the subject's counters, the comment and share in hand, and the latest result. All on the
// main thread.
class SHSDataManager : public SHSNetworkDelegate,
                       public std::enable_shared_from_this<SHSDataManager> {
public:
    static constexpr const char* kDefaultIdentifier = "SHSocialDefault";

    explicit SHSDataManager(std::string identifier);

    // The current subject's manager, making the default subject's when there is none.
    static std::shared_ptr<SHSDataManager> currentDataManager();
    // Makes the subject current and answers its manager (null when it has none).
    static std::shared_ptr<SHSDataManager> getDataManager(const std::string& identifier);

    std::optional<std::string> uid;
    std::string identifier;
    std::optional<std::string> title;
    std::shared_ptr<SHSCommentEntity> currentComment;
    std::shared_ptr<SHSSNSEntity> snsEntity;
    // The latest result; each completion also gets its own.
    std::shared_ptr<SHSocialResponseEntity> responseEntity =
        std::make_shared<SHSocialResponseEntity>();
    // The job queue: the head is the job on the wire, the others wait in arrival order.
    std::vector<std::shared_ptr<SHSocialJob>> actionArray;
    std::weak_ptr<SHSNetworkDelegate> netWorkDelegate;
    std::weak_ptr<SHSocialDataDelegate> socialDelegate;
    SHSocialResponseCompletion completion;

    // Refreshed from the SDK cache while empty; a new entity when the cache has none.
    std::shared_ptr<SHSBarEntity> barEntity();
    // Kept and stored in the SDK cache.
    void setBarEntity(std::shared_ptr<SHSBarEntity> bar);

    // Queues a job for the action. A job that cannot be made is neither started nor queued;
    // when the action lacked the user's uid or platform account, its completion is told so
    // (5053) on a later turn of the main loop. A job is queued first and started only when it
    // is the only one.
    void doActionWithType(int action, SHSParamDictionary params);

    void requestSocialEntityKey();
    void requestBarInfo(SHSocialResponseCompletion completion);
    void requestCommentList(long long lastCommentTime, SHSocialResponseCompletion completion);
    void requestAddlikeOrDislike(int like, SHSocialResponseCompletion completion);
    void addOrMinusLike(SHSocialResponseCompletion completion);
    void requestAddComment(SHSocialResponseCompletion completion);
    void postAppInfo(const platform::Json& appInfo, SHSocialResponseCompletion completion);
    void requestShareToMultiSNS(const std::vector<std::string>& platformNames,
                                SHSocialResponseCompletion completion);
    void postOpAnalyticsWithDictionary(const platform::Json& counters,
                                       SHSocialResponseCompletion completion);

    // The share and comment operations act on the current subject.
    static void setSnsEntity(int shareToType, const std::optional<std::string>& content,
                             const SHSImageObject& image,
                             const std::optional<SHSLocation>& location,
                             const std::shared_ptr<SHSocialUrlResource>& urlResource);
    static void postSNSWithTypes(const std::vector<std::string>& platformNames,
                                 const std::optional<std::string>& content,
                                 const SHSImageObject& image,
                                 const std::optional<SHSLocation>& location,
                                 const std::shared_ptr<SHSocialUrlResource>& urlResource,
                                 SHSocialResponseCompletion completion,
                                 const std::optional<std::string>& sourceOpType);
    static void postCommentForDeveloperWithContent(const std::string& content,
                                                   SHSocialResponseCompletion completion);
    // Refused (log lines, no request) unless every key is "sina", "tencent", "renren",
    // "douban", "qzone" or "custom" and every value is text.
    static void postCommentWithContent(const std::string& content,
                                       const std::optional<platform::Image>& image,
                                       const std::optional<std::string>& templateText,
                                       const std::optional<SHSLocation>& location,
                                       const platform::Json& usidsByPlatform,
                                       SHSocialResponseCompletion completion);
    static void postCommentWithContent(const std::string& content,
                                       const std::optional<SHSLocation>& location,
                                       const platform::Json& usidsByPlatform,
                                       SHSocialResponseCompletion completion);
    static void postCommentWithContent(const std::string& content,
                                       const std::optional<SHSLocation>& location,
                                       SHSocialResponseCompletion completion);

    // The identifier with the characters that cannot stand in a query percent-encoded.
    static std::string encodedDescriptor(const std::string& identifier);

    void didFinishGetResponseInSDK(std::shared_ptr<SHSocialResponseEntity> response) override;

private:
    std::shared_ptr<SHSBarEntity> m_barEntity;
};
