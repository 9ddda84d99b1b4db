#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialExtConfig.h"
#include "SocialSDK/service/SHSocialUrlResource.h"

class SHSDataManager;

// A share subject: an identified piece of content with its share text, picture, media link
// and per-platform extras, kept on the subject's bar entity; and the holder of the
// application key. Using a subject makes it the current one. Main thread.
class SHSocialData {
public:
    static constexpr const char* kDefaultIdentifier = "SHSocialDefault";

    // The default subject, made once.
    static std::shared_ptr<SHSocialData> defaultData();
    static void resetDefaultData();

    static std::optional<std::string> appKey();
    // Keeps the key (and the cipher key made from it), hands it to the share handler and
    // fetches the application's platform keys (action 16).
    static void setAppKey(const std::optional<std::string>& appKey);
    static void openLog(bool open);

    explicit SHSocialData(const std::string& identifier);
    SHSocialData(const std::string& identifier, const std::string& title);

    const std::string& identifier() const { return m_identifier; }
    const std::optional<std::string>& title() const { return m_title; }
    void setTitle(const std::string& title);

    std::optional<std::string> shareText() const;
    void setShareText(const std::optional<std::string>& text);
    std::optional<std::string> commentText() const;
    void setCommentText(const std::optional<std::string>& text);
    SHSImageObject shareImage() const;
    void setShareImage(const SHSImageObject& image);
    std::shared_ptr<SHSocialUrlResource> urlResource() const;
    // None is ignored; a resource without url is refused.
    void setUrlResource(const std::shared_ptr<SHSocialUrlResource>& resource);
    std::shared_ptr<SHSocialExtConfig> extConfig() const;
    void setExtConfig(std::shared_ptr<SHSocialExtConfig> config);
    bool isLike() const;
    std::optional<std::string> hashIdentifier() const;
    std::map<std::string, std::shared_ptr<SHSocialAccountEntity>> socialAccount() const;

    // Asks the bar data when the subject has no entity key yet.
    void refresh();
    // 0 likes, 1 shares, 2 comments; 0 for anything else.
    int getNumber(int which) const;
    static void setSdkType(const std::string& sdkType, const std::string& version);

private:
    void setIdentifier(const std::string& identifier);
    std::shared_ptr<SHSDataManager> manager() const;

    std::string m_identifier;
    std::optional<std::string> m_title;
};

// The media link helpers: a type of 5 or more becomes 0 (with a log line).
void SHSocialUrlResourceSetType(SHSocialUrlResource& resource, int type);
void SHSocialUrlResourceSetTypeAndUrl(SHSocialUrlResource& resource, int type,
                                      const std::optional<std::string>& url);
// Nothing for type 0.
std::shared_ptr<SHSocialUrlResource> SHSocialUrlResourceMake(int type,
                                                             const std::optional<std::string>& url);
