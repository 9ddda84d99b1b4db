#include "SocialSDK/service/SHSEntityFactory.h"

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSArchive.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSUserManager.h"

using platform::Json;
using shsarchive::replyInt;
using shsarchive::replyText;

namespace {

std::optional<std::string> member(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() ? std::nullopt : replyText(*it);
}

int memberInt(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() ? 0 : replyInt(*it);
}

std::shared_ptr<SHSDataManager> orCurrent(const std::shared_ptr<SHSDataManager>& manager) {
    return manager ? manager : SHSDataManager::currentDataManager();
}

}  // namespace

void SHSEntityFactory::saveObjects(const Json& payload, const SHSParamDictionary& params,
                                   const std::shared_ptr<SHSDataManager>& manager) {
    switch (config) {
        case SHSActionTypeGetBar:
            makeSocialBarDataFromDictionary(payload, manager);
            break;
        case SHSActionTypeGetAccounts:
            makeAccountDicFromDictionry(payload);
            break;
        case SHSActionTypeGetFriends:
            if (const auto name = params.text("displayName"))
                makeFriendDicFromDictioanry(payload, *name);
            break;
        default:
            break;
    }
}

std::shared_ptr<SHSocialResponseEntity> SHSEntityFactory::makeResponse(
    const std::optional<Json>& reply, const std::shared_ptr<SHSDataManager>& manager) {
    auto response = std::make_shared<SHSocialResponseEntity>();
    if (reply && reply->is_object()) {
        response->responseCode = memberInt(*reply, "st");
        if (const auto it = reply->find("msg"); it != reply->end() && !it->is_null())
            response->message = it->is_string() ? it->get<std::string>() : it->dump();
        if (const auto it = reply->find("data"); it != reply->end() && !it->is_null())
            response->data = *it;
    }
    response->responseType = config;
    orCurrent(manager)->responseEntity = response;
    return response;
}

void SHSEntityFactory::makeSocialBarDataFromDictionary(
    const Json& payload, const std::shared_ptr<SHSDataManager>& given) {
    if (!payload.is_object())
        return;
    const auto manager = orCurrent(given);
    const auto current = manager->barEntity();
    auto bar = std::make_shared<SHSBarEntity>();
    bar->commentCount = memberInt(payload, "cm");
    bar->likeCount = memberInt(payload, "lk");
    bar->viewCount = memberInt(payload, "pv");
    bar->shareCount = memberInt(payload, "sn");
    bar->sessionId = member(payload, "sid");
    bar->entityKey = member(payload, "ek");
    if (const auto it = payload.find("fr"); it != payload.end() && !it->is_null())
        bar->isLike = it->is_boolean() ? it->get<bool>() : replyInt(*it) != 0;
    if (current) {
        bar->shareText = current->shareText;
        bar->shareImage = current->shareImage;
        bar->commentText = current->commentText;
        bar->commentImage = current->commentImage;
        bar->urlResource = current->urlResource;
        bar->extConfig = current->extConfig;
    }
    manager->setBarEntity(bar);
    // A reply without a usable uid leaves the one the user has.
    const auto uid = member(payload, "uid");
    if (SHSUserManager::isUidAvailable(uid))
        SHSUserManager::shareInstance().setUid(*uid);
}

void SHSEntityFactory::makeAccountDicFromDictionry(const Json& payload) {
    if (payload.is_null()) {
        SHSocialUtils::outLog(
            "server data error!! for you must delete the original app after you change the "
            "appkey!! ");
        return;
    }
    if (!payload.is_object())
        return;
    auto& users = SHSUserManager::shareInstance();
    const auto current = users.snsAccountDictionary();
    SHSUserManager::AccountDictionary accounts;
    Json commentShare = Json::object();
    for (const char* kept : {"facebook", "twitter"}) {
        if (const auto it = current.find(kept); it != current.end())
            accounts[kept] = it->second;
    }
    const auto fill = [](SHSocialAccountEntity& account, const Json& fields) {
        account.userName = member(fields, "username");
        account.iconURL = member(fields, "icon");
        account.usid = member(fields, "usid");
        account.profileURL = member(fields, "profile_url");
    };
    if (const auto it = payload.find("accounts"); it != payload.end() && it->is_object()) {
        for (const auto& [name, fields] : it->items()) {
            const auto local = current.find(name);
            if (local == current.end() || !local->second || !fields.is_object())
                continue;
            fill(*local->second, fields);
            accounts[name] = local->second;
            if (name == "sina" || name == "tencent" || name == "qzone" || name == "renren" ||
                name == "douban") {
                if (local->second->usid)
                    commentShare[name] = *local->second->usid;
            }
        }
    }
    if (const auto name = member(payload, "default")) {
        auto account = std::make_shared<SHSocialAccountEntity>("defaultAccount");
        account->userName = name;
        accounts["defaultAccount"] = account;
    }
    if (const auto it = payload.find("loginaccount");
        it != payload.end() && it->is_object() && !it->empty() && it->begin().value().is_object()) {
        auto account = std::make_shared<SHSocialAccountEntity>(it->begin().key());
        fill(*account, it->begin().value());
        accounts["loginAccount"] = account;
    }
    if (const auto name = member(payload, "username"))
        users.setUserName(*name);
    if (SHSocialUtils::openLog()) {
        Json described = Json::object();
        for (const auto& [name, account] : accounts) described[name] = account->toArchive();
        SHSocialUtils::outLog("newSnsAccount is %@", described.dump());
    }
    users.setCommentShareAccountDic(commentShare);
    users.setSnsAccountDictionary(std::move(accounts));
}

void SHSEntityFactory::makeFriendDicFromDictioanry(const Json& payload,
                                                   const std::string& platformName) {
    if (!payload.is_object())
        return;
    SHSUserManager::FriendDictionary friends;
    for (const auto& [usid, fields] : payload.items()) {
        if (!fields.is_object())
            continue;
        auto friendEntity = std::make_shared<SHSFriendEntity>();
        friendEntity->linkName = member(fields, "link_name");
        friendEntity->name = member(fields, "name");
        friendEntity->imageURL = member(fields, "profile_image_url");
        friendEntity->pinyin = member(fields, "pinyin");
        friendEntity->usid = usid;
        friends[usid] = std::move(friendEntity);
    }
    SHSUserManager::shareInstance().setFriendsDictionary(std::move(friends), platformName);
}
