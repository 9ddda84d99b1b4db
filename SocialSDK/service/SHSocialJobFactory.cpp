#include "SocialSDK/service/SHSocialJobFactory.h"

#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include <cstdio>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSProtocolKeys.h"
#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSProtocol.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"
#include "platform/foundation/Dates.h"
#include "platform/foundation/Log.h"

using platform::Json;
namespace keys = SHSProtocolKeys;

namespace {

constexpr const char* kNoAppKeyMessage =
    "Ruzar SocialSDK --- You haven't set the Ruzar Appkey,please use [SHSocialData "
    "setAppKey:@\"6a2d94e07c31b58f21e0c4d3\"]; before you use other APIs.";

std::string locationText(const SHSLocation& location) {
    char text[64];
    std::snprintf(text, sizeof text, "(%f,%f)", location.longitude, location.latitude);
    return text;
}

// The user's usid on the platform; nothing without an account or an id there.
std::optional<std::string> usidOn(const std::string& platformName) {
    const auto accounts = SHSUserManager::shareInstance().snsAccountDictionary();
    const auto it = accounts.find(platformName);
    if (it == accounts.end() || !it->second || !it->second->usid)
        return std::nullopt;
    return it->second->usid;
}

// The registered platform's name, when the name is one.
std::optional<std::string> registeredName(const std::string& name) {
    if (SHSocialSnsPlatformManagerInternal::getSnsPlatformType(name) == 0)
        return std::nullopt;
    return name;
}

// The share a share job sends: its own, kept when it was queued, so that a job rebuilt after
// waiting still sends what it was asked to; the manager's current one for a job made without.
std::shared_ptr<SHSSNSEntity> shareOf(const SHSParamDictionary& params,
                                      const SHSDataManager& manager) {
    return params.snsEntity ? params.snsEntity : manager.snsEntity;
}

// JSON text of a body field; an unwritable value marks the body as unsendable.
std::string fragment(const Json& value, std::optional<std::string>& unsendable) {
    if (auto text = SHSocialUtils::JSONFragment(value))
        return *text;
    unsendable = "the request's body could not be written as JSON";
    return {};
}

// The key's characters (composed character sequences) in reverse order.
std::string reversedCharacters(const std::string& text) {
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !breaks)
        return std::string(text.rbegin(), text.rend());
    breaks->setText(unicode);
    std::vector<icu::UnicodeString> pieces;
    for (int32_t start = breaks->first(), end = breaks->next(); end != icu::BreakIterator::DONE;
         start = end, end = breaks->next())
        pieces.emplace_back(unicode, start, end - start);
    icu::UnicodeString reversed;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) reversed += *it;
    std::string out;
    reversed.toUTF8String(out);
    return out;
}

std::string birthdayText(std::chrono::system_clock::time_point birthday) {
    return platform::formatDate(birthday, "yyyy-MM-dd HH:mm:ss '+0000'", "UTC");
}

}  // namespace

std::string SHSocialJobFactory::getEntityKey() const {
    const auto bar = SHSDataManager::currentDataManager()->barEntity();
    if (!bar || !bar->entityKey || bar->entityKey->empty())
        return "-1";
    return *bar->entityKey;
}

std::shared_ptr<SHSocialJob> SHSocialJobFactory::createVirtualSocialJob(
    int action, const SHSParamDictionary& params) {
    auto job = std::make_shared<SHSocialJob>();
    job->actionType = action;
    job->paramDic = params;
    return job;
}

SHSJobBody SHSocialJobFactory::getPostCommentBaseDictionary() {
    auto& protocol = SHSProtocol::sharedInstance();
    const auto manager = SHSDataManager::currentDataManager();
    const auto comment = manager->currentComment;
    const auto bar = manager->barEntity();
    const Json shareAccounts = SHSUserManager::shareInstance().commentShareAccountDic();
    SHSJobBody body{protocol.baseDictionary(), {}};
    body.fields[keys::opid] = "5";
    body.fields[keys::date] = std::to_string(SHSocialProtocolData::nowMillis());
    if (comment && comment->location)
        body.fields[keys::location] = locationText(*comment->location);
    std::optional<std::string> unsendable;
    if (!shareAccounts.empty())
        body.fields["sns"] = fragment(shareAccounts, unsendable);
    body.fields[keys::content] = comment && comment->content ? *comment->content : "";
    if (bar && bar->commentText)
        body.fields[keys::templateText] = *bar->commentText;
    if (bar && bar->commentImage && !bar->commentImage->isNull() &&
        (!shareAccounts.empty() || protocol.typeString == "1"))
        body.pic = *bar->commentImage;
    body.unwritable = unsendable;
    return body;
}

SHSJobBody SHSocialJobFactory::getPostLikeBaseDictionary(const std::string& like) {
    SHSJobBody body{SHSProtocol::sharedInstance().baseDictionary(), {}};
    const auto bar = SHSDataManager::currentDataManager()->barEntity();
    body.fields[keys::opid] = "6";
    body.fields[keys::sessionId] = bar && bar->sessionId ? *bar->sessionId : "";
    if (const auto uid = SHSUserManager::shareInstance().uid())
        body.fields[keys::uid] = *uid;
    body.fields["st"] = like;
    return body;
}

SHSJobBody SHSocialJobFactory::getPostShareBaseDictionary(const SHSParamDictionary& params) {
    const std::string platformName = params.text("snsType").value_or("");
    const auto manager = SHSDataManager::currentDataManager();
    const auto bar = manager->barEntity();
    const auto sns = shareOf(params, *manager);
    SHSJobBody body{SHSProtocol::sharedInstance().baseDictionary(), {}};
    body.fields[keys::opid] = "9";
    body.fields.erase(keys::content);
    const auto platformData = bar ? bar->getSnsData(platformName) : nullptr;
    if (platformData && platformData->shareText)
        body.fields[keys::content] = *platformData->shareText;
    else if (sns && sns->shareText)
        body.fields[keys::content] = *sns->shareText;
    if (bar && SHSImageObjectIsSet(bar->shareImage) && sns && sns->isSendImage)
        body.pic = bar->shareImage;
    if (sns && sns->location)
        body.fields[keys::location] = locationText(*sns->location);
    if (const auto name = registeredName(platformName))
        body.fields["to"] = *name;
    if (const auto usid = usidOn(platformName))
        body.fields[keys::usid] = *usid;
    SHSocialUtils::outLog("share's baseDic is %@", body.fields.dump());
    return body;
}

SHSJobBody SHSocialJobFactory::getPostShareMultiBaseDictionary(const SHSParamDictionary& params) {
    const auto manager = SHSDataManager::currentDataManager();
    const auto bar = manager->barEntity();
    const auto sns = shareOf(params, *manager);
    SHSJobBody body{SHSProtocol::sharedInstance().baseDictionary(), {}};
    body.fields[keys::opid] = "17";
    body.fields.erase(keys::content);
    if (sns && sns->shareText)
        body.fields[keys::content] = *sns->shareText;
    if (sns && SHSImageObjectIsSet(sns->shareImage) && sns->isSendImage)
        body.pic = sns->shareImage;
    if (sns && sns->urlResource && sns->isSendUrlResource && sns->urlResource->resourceType != 0) {
        body.fields["furl"] = sns->urlResource->url.value_or("");
        body.fields["ftype"] = std::to_string(sns->urlResource->resourceType - 1);
        if (bar && bar->extConfig) {
            const auto& tencent = bar->extConfig->tencentData;
            if (tencent && tencent->title)
                body.fields["title"] = *tencent->title;
            if (tencent && tencent->author)
                body.fields["author"] = *tencent->author;
        }
    }
    if (sns && sns->location)
        body.fields[keys::location] = locationText(*sns->location);
    if (bar && bar->extConfig && bar->extConfig->renrenData &&
        (bar->extConfig->renrenData->url || bar->extConfig->renrenData->appName)) {
        const auto& renren = bar->extConfig->renrenData;
        Json ext = Json::object();
        if (renren->url)
            ext[keys::appWebsite] = *renren->url;
        if (renren->appName)
            ext[keys::appName] = *renren->appName;
        body.fields["ext"] = ext.dump(-1, ' ', false, Json::error_handler_t::replace);
    }
    body.fields[keys::shareKind] = sns && sns->isShake ? "shake" : "common";
    if (const auto version = SHSDataManagerSet::shareInstance().cocos2dxVersion)
        body.fields["Cocos2d-x"] = *version;
    Json snsAccounts = Json::object();
    if (const auto names = params.values.find("snsNames");
        names != params.values.end() && names->is_array()) {
        for (const auto& element : *names) {
            if (!element.is_string())
                continue;
            const std::string name = element.get<std::string>();
            if (const auto usid = usidOn(name))
                snsAccounts[name] = *usid;
            const int type = SHSocialSnsPlatformManagerInternal::getSnsPlatformType(name);
            if ((type != 0 && type != 11 && type != 12 && type != 13) || name == "wxsession" ||
                name == "wxtimeline") {
                snsAccounts[name] = "";
                body.fields[keys::type] = "1";
            }
        }
    }
    std::optional<std::string> unsendable;
    body.fields["sns"] = fragment(snsAccounts, unsendable);
    body.unwritable = unsendable;
    return body;
}

SHSJobBody SHSocialJobFactory::getBindingBaseDictionary(const std::string& platformName) {
    SHSJobBody body{SHSProtocol::sharedInstance().baseDictionary(), {}};
    body.fields[keys::opid] = "13";
    if (const auto uid = SHSUserManager::shareInstance().uid())
        body.fields[keys::uid] = *uid;
    if (const auto name = registeredName(platformName))
        body.fields["sns"] = *name;
    return body;
}

std::shared_ptr<SHSocialJob> SHSocialJobFactory::createSocialJob(
    int action, const SHSParamDictionary& params, std::optional<std::string>* refusal) {
    const auto appkey = SHSDataManagerSet::shareInstance().appkey();
    if (!appkey || appkey->empty()) {
        platform::log("%@", kNoAppKeyMessage);
        return nullptr;
    }
    const std::string& ak = *appkey;
    const std::string ek = getEntityKey();
    auto& users = SHSUserManager::shareInstance();
    const auto uid = users.uid();
    SHSocialUtils::outLog("createSocialAction uid is %@", uid.value_or(""));

    // Actions whose path names the user or the user's platform account are not sent without
    // one: the service could only refuse a path with a hole in it.
    const auto refuse = [&](const std::string& why) -> std::shared_ptr<SHSocialJob> {
        SHSocialUtils::outLog("action %d not sent: %@", action, why);
        if (refusal)
            *refusal = why;
        return nullptr;
    };
    const std::string displayName = params.text("displayName").value_or("");
    std::optional<std::string> usid;
    if (action == SHSActionTypeGetSnsProfile || action == SHSActionTypeGetFriends ||
        action == SHSActionTypeFollow) {
        usid = usidOn(displayName);
        if (!usid || usid->empty())
            return refuse("no account of the user on \"" + displayName + "\"");
    }
    if ((action == SHSActionTypeGetAccounts || action == SHSActionTypeCustomAccount) && !uid)
        return refuse("no uid of the user");

    auto& protocol = SHSProtocol::sharedInstance();
    auto job = std::make_shared<SHSocialJob>();
    job->actionType = action;
    job->paramDic = params;
    job->completion = params.completion;
    const auto postType = [](const SHSJobBody& body) {
        return SHSImageObjectIsSet(body.pic) ? SHSNetworkTypeMultipartPost : SHSNetworkTypeFormPost;
    };
    const auto query = [&] { return protocol.baseString(); };
    const auto base = [&] { return SHSJobBody{protocol.baseDictionary(), {}}; };

    switch (action) {
        case SHSActionTypeAddComment: {
            job->pathString = "comment/add/" + ak + "/" + ek + "/";
            job->baseDic = getPostCommentBaseDictionary();
            job->networkType = postType(*job->baseDic);
            break;
        }
        case SHSActionTypeLike:
            job->pathString = "like/update/" + ak + "/" + ek + "/";
            job->baseDic = getPostLikeBaseDictionary(params.text("like").value_or(""));
            job->networkType = SHSNetworkTypeFormPost;
            break;
        case SHSActionTypeGetComments: {
            const auto bar = SHSDataManager::currentDataManager()->barEntity();
            job->pathString =
                "comment/get/" + ak + "/" + ek + "/?" + query() + "&" + keys::sessionId + "=" +
                (bar && bar->sessionId ? *bar->sessionId : "") + "&" + keys::lastCommentTime + "=" +
                params.text("lastCommentTime").value_or("-1") + "&" + keys::opid + "=2";
            job->networkType = SHSNetworkTypeGet;
            break;
        }
        case SHSActionTypeGetBar: {
            std::string path = "bar/get/" + ak + "/?" + query() + "&" + keys::descriptor + "=" +
                               params.text("descriptor").value_or("") + "&" + keys::firstUse + "=" +
                               protocol.firstUse() + "&" + keys::opid + "=1";
            if (const auto title = params.text("title"))
                path += std::string("&") + keys::name + "=" + *title;
            job->pathString = path;
            job->networkType = SHSNetworkTypeGet;
            break;
        }
        case SHSActionTypeShare:
            job->pathString = "share/add/" + ak + "/" + ek + "/";
            job->baseDic = getPostShareBaseDictionary(params);
            job->networkType = postType(*job->baseDic);
            break;
        case SHSActionTypeShareMulti:
            job->pathString = "share/multi_add/" + ak + "/" + ek + "/";
            job->baseDic = getPostShareMultiBaseDictionary(params);
            job->networkType = postType(*job->baseDic);
            break;
        case SHSActionTypeBinding:
            job->pathString = "comment/binding/" + ak + "/";
            job->baseDic = getBindingBaseDictionary(displayName);
            job->networkType = SHSNetworkTypeFormPost;
            break;
        case SHSActionTypeUnbinding: {
            job->pathString = "comment/unbinding/" + ak + "/";
            job->baseDic = base();
            if (uid)
                job->baseDic->fields[keys::uid] = *uid;
            job->baseDic->fields[keys::opid] = "16";
            job->networkType = SHSNetworkTypeFormPost;
            break;
        }
        case SHSActionTypeDeleteAuth: {
            job->pathString = "share/auth_delete/" + ak + "/";
            job->baseDic = base();
            job->baseDic->fields[keys::opid] = "15";
            if (uid)
                job->baseDic->fields[keys::uid] = *uid;
            job->baseDic->fields[keys::via] = displayName;
            job->networkType = SHSNetworkTypeFormPost;
            break;
        }
        case SHSActionTypeAuthPage:
            job->pathString = "share/auth/" + ak + "/" + ek + "?" + query() + "&" + keys::via +
                              "=" + displayName + "&" + keys::opid + "=10";
            job->baseDic = base();
            job->networkType = SHSNetworkTypeNotSent;
            break;
        case SHSActionTypeGetAccounts:
            job->pathString = "user/profile/get/" + ak + "/" + *uid + "/?" + query();
            job->networkType = SHSNetworkTypeGet;
            break;
        case SHSActionTypeGetSnsProfile:
            job->pathString = "share/userinfo/" + ak + "/" + *usid + "/?" + query() +
                              "&sns=" + displayName + "&" + keys::opid + "=12";
            job->networkType = SHSNetworkTypeGet;
            break;
        case SHSActionTypeGetFriends:
            job->pathString =
                "share/friends/" + ak + "/" + *usid + "/?" + query() + "&to=" + displayName;
            job->networkType = SHSNetworkTypeGet;
            break;
        case SHSActionTypeFollow: {
            job->pathString = "share/follow/" + ak + "/" + *usid + "/";
            job->baseDic = base();
            job->baseDic->fields["fusid"] = params.text("fusid").value_or("");
            job->baseDic->fields["to"] = displayName;
            job->networkType = SHSNetworkTypeFormPost;
            break;
        }
        case SHSActionTypeCustomAccount: {
            job->pathString = "/user/custom_account/" + ak + "/" + *uid + "/";
            job->baseDic = base();
            auto& fields = job->baseDic->fields;
            if (const auto& account = params.customAccount) {
                fields["username"] = account->userName.value_or("");
                if (account->usid)
                    fields[keys::usid] = *account->usid;
                if (account->gender == "male") {
                    fields["gender"] = "1";
                } else if (account->gender == "female") {
                    fields["gender"] = "0";
                } else {
                    SHSocialUtils::outLog("add custom account gender error!");
                }
                if (account->birthday)
                    fields["birthday"] = birthdayText(*account->birthday);
                if (account->customData) {
                    std::optional<std::string> unsendable;
                    fields["extend"] = fragment(*account->customData, unsendable);
                    job->baseDic->unwritable = unsendable;
                }
                if (account->iconUrl)
                    fields["icon"] = *account->iconUrl;
            }
            job->networkType = SHSNetworkTypeFormPost;
            break;
        }
        case SHSActionTypePostToken: {
            job->pathString = "/share/token/" + ak + "/";
            job->baseDic = base();
            auto& fields = job->baseDic->fields;
            if (const auto& account = params.snsAccount) {
                fields["to"] = account->platformName;
                if (account->accessToken)
                    fields["access_token"] = *account->accessToken;
                else
                    SHSocialUtils::outLog("You must set accessToken!");
                if (account->usid)
                    fields[keys::usid] = *account->usid;
                else if (account->platformName == "sina")
                    SHSocialUtils::outLog("You must set usid if you use a sina weibo account!");
                if (account->openId) {
                    fields["openid"] = *account->openId;
                    fields[keys::usid] = *account->openId;
                } else if (account->platformName == "tencent" || account->platformName == "qzone") {
                    SHSocialUtils::outLog(
                        "you must set openid if you usd a tencent weibo or qzone account!");
                }
                if (account->expirationDate) {
                    const auto left = std::chrono::duration_cast<std::chrono::seconds>(
                        *account->expirationDate - SHSocialProtocolData::now());
                    fields["expires_in"] = std::to_string(static_cast<int>(left.count()));
                }
                if (account->refreshToken)
                    fields["refresh_token"] = *account->refreshToken;
            }
            job->networkType = SHSNetworkTypeFormPost;
            break;
        }
        case SHSActionTypeGetAppInfo:
            job->pathString = "/share/keysecret/" + ak + "/?" + query();
            job->networkType = SHSNetworkTypeGet;
            break;
        case SHSActionTypeValidateToken:
            job->pathString = "share/validate_token/" + ak + "/?" + query() +
                              "&platforms=" + params.text("platforms").value_or("");
            job->networkType = SHSNetworkTypeGet;
            break;
        case SHSActionTypePostOpAnalytics: {
            job->pathString = "/app/oper/" + ak + "/";
            SHSJobBody body;
            const auto opDic = params.values.find("opDic");
            std::optional<std::string> unsendable;
            body.fields["param"] =
                fragment(opDic != params.values.end() ? *opDic : Json::object(), unsendable);
            if (uid)
                body.fields[keys::uid] = *uid;
            body.unwritable = unsendable;
            job->baseDic = std::move(body);
            job->networkType = SHSNetworkTypeFormPost;
            break;
        }
        case SHSActionTypePostAppInfo: {
            job->pathString = "/share/keysecret/" + ak + "/";
            job->baseDic = base();
            if (const auto info = params.values.find("appInfo");
                info != params.values.end() && info->is_object()) {
                for (const auto& [key, value] : info->items()) job->baseDic->fields[key] = value;
            }
            job->baseDic->fields["ruzar_secret"] = reversedCharacters(ak);
            job->networkType = SHSNetworkTypeFormPost;
            break;
        }
        default:
            job->pathString.reset();
            job->networkType = SHSNetworkTypeNotSent;
            break;
    }
    if (job->baseDic && job->baseDic->unwritable)
        job->unsendableReason = job->baseDic->unwritable;
    return job;
}
