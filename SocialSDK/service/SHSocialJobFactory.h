#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSParamDictionary.h"
#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialJob.h"

// Turns an action number and its parameters into one request job: its path with the query,
// its network type and its body, with the session values of this moment.
class SHSocialJobFactory {
public:
    static SHSocialJobFactory& sharedInstance() {
        return SHSSharedInstance<SHSocialJobFactory>::get();
    }

    // The current subject's entity key, or "-1" until the service has assigned one.
    std::string getEntityKey() const;

    // A job ready to send, or null: without an application key (with the system log's hint),
    // and for an action that needs the user's uid (10, 14) or the user's account on the named
    // platform (11, 12, 13) when there is none; `refusal` then says what was missing.
    std::shared_ptr<SHSocialJob> createSocialJob(int action, const SHSParamDictionary& params,
                                                 std::optional<std::string>* refusal = nullptr);
    // A job carrying only the action and the parameters.
    std::shared_ptr<SHSocialJob> createVirtualSocialJob(int action,
                                                        const SHSParamDictionary& params);

    SHSJobBody getPostCommentBaseDictionary();
    SHSJobBody getPostLikeBaseDictionary(const std::string& like);
    SHSJobBody getPostShareBaseDictionary(const SHSParamDictionary& params);
    SHSJobBody getPostShareMultiBaseDictionary(const SHSParamDictionary& params);
    SHSJobBody getBindingBaseDictionary(const std::string& platformName);

private:
    friend class SHSSharedInstance<SHSocialJobFactory>;
    SHSocialJobFactory() = default;
};
