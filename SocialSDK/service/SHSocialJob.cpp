#include "SocialSDK/service/SHSocialJob.h"

#include <algorithm>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSEntityFactory.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "SocialSDK/service/SHSocialJobFactory.h"
#include "platform/foundation/RunLoop.h"

namespace {

constexpr double kJpegQuality = 0.9;

std::string describeBody(const std::optional<SHSJobBody>& body) {
    return body ? body->fields.dump(-1, ' ', false, platform::Json::error_handler_t::replace) : "";
}

}  // namespace

SHSocialJob::SHSocialJob() {
    auto& client = SHSocialHttpClient::sharedInstance();
    client.timeoutInterval = client.jobTimeoutInterval;
    setDataManager(SHSDataManager::currentDataManager());
}

void SHSocialJob::setDataManager(const std::shared_ptr<SHSDataManager>& manager) {
    m_dataManager = manager;
    dataManagerHash = manager ? manager->identifier : std::string();
}

std::optional<std::string> SHSocialJob::encryPathString(
    const std::optional<std::string>& path) const {
    if (!isEncry || !path)
        return path;
    const auto mark = path->find('?');
    if (mark == std::string::npos || mark + 1 == path->size())
        return path;
    const auto sealed = SHSocialCryptor::AES128Encrypt(path->substr(mark + 1));
    if (!sealed)
        return std::nullopt;
    return path->substr(0, mark + 1) + "ud_get=" + *sealed;
}

void SHSocialJob::makeResquest() {
    if (m_started || m_ended)
        return;
    m_started = true;
    SHSocialUtils::outLog("makeRequestWithPath is %@, parameters is %@", pathString.value_or(""),
                          describeBody(baseDic));
    if (unsendableReason) {
        failLocally(*unsendableReason);
        return;
    }
    if (networkType == SHSNetworkTypeNotSent ||
        (networkType != SHSNetworkTypeGet && networkType != SHSNetworkTypeFormPost &&
         networkType != SHSNetworkTypeMultipartPost))
        return;

    const auto path = encryPathString(pathString);
    if (pathString && !path) {
        failLocally("the request's query could not be encrypted");
        return;
    }
    pathString = path;
    if (isEncry && baseDic) {
        shareImage = baseDic->pic;
        // The body is written and encrypted here, so a body that cannot be written never
        // reaches the wire: the job fails on its own instead.
        const auto json = SHSocialUtils::JSONFragment(baseDic->fields);
        if (!json) {
            failLocally("the request's body could not be written as JSON");
            return;
        }
        const auto sealed = SHSocialCryptor::AES128Encrypt(*json);
        if (!sealed) {
            failLocally("the request's body could not be encrypted");
            return;
        }
        baseDic = SHSJobBody{platform::Json{{"ud_post", *sealed}}, {}};
    }

    auto& client = SHSocialHttpClient::sharedInstance();
    platform::HttpRequest request;
    request.url = client.baseURL + pathString.value_or("");
    request.timeoutSeconds = client.timeoutInterval;
    request.ignoreCache = true;
    if (networkType == SHSNetworkTypeGet) {
        request.method = "GET";
    } else {
        request.method = "POST";
        std::vector<std::pair<std::string, std::string>> fields;
        if (baseDic) {
            for (const auto& [key, value] : baseDic->fields.items())
                fields.emplace_back(key,
                                    value.is_string() ? value.get<std::string>() : value.dump());
        }
        if (networkType == SHSNetworkTypeMultipartPost) {
            for (auto& [name, value] : fields) request.parts.push_back({name, "", "", value});
            if (const auto* image = std::get_if<platform::Image>(&shareImage)) {
                request.parts.push_back(
                    {"pic", "pic.jpg", "file-data", image->jpegData(kJpegQuality)});
            } else if (const auto* data = std::get_if<platform::Bytes>(&shareImage)) {
                request.parts.push_back({"pic", "pic.gif", "file-data", platform::toString(*data)});
            }
        } else {
            request.headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
            request.body = platform::HttpClient::formEncode(fields);
        }
    }
    m_requestId = client.send(
        std::move(request), [self = shared_from_this()](platform::HttpResponse response) {
            if (response.ok()) {
                self->handleSuccessJson(response.body);
            } else {
                self->handleFail(response.error.empty()
                                     ? "HTTP status " + std::to_string(response.status)
                                     : response.error);
            }
        });
}

void SHSocialJob::cancel() {
    if (m_ended)
        return;
    if (m_requestId)
        platform::HttpClient::shared().cancel(*m_requestId);
    handleFail("cancelled");
}

void SHSocialJob::failLocally(std::string reason) {
    m_started = true;
    // Reported on a later turn, as a network failure would be: the caller's call has returned
    // and the job stands in its queue.
    platform::RunLoop::main().post(
        [self = shared_from_this(), reason = std::move(reason)] { self->handleFail(reason); });
}

void SHSocialJob::handleSuccessJson(const std::string& data) {
    if (m_ended)
        return;
    m_ended = true;
    std::optional<std::string> text = data;
    if (isEncry)
        text = SHSocialCryptor::AES128Decrypt(data);
    std::optional<platform::Json> dictionary;
    if (text) {
        auto value = SHSocialUtils::JSONValue(*text);
        if (value && value->is_object())
            dictionary = std::move(value);
    }
    // The whole reply is written out only when the log is open: a friend list of 100k would
    // otherwise be turned back into text on every arrival for nothing.
    if (SHSocialUtils::openLog()) {
        SHSocialUtils::outLog("actionType is %d , received json Dic is %@", actionType,
                              dictionary ? dictionary->dump() : std::string());
    }

    const auto manager = dataManager();
    if (manager)
        SHSDataManagerSet::shareInstance().currentDataHash = manager->identifier;
    auto& factory = SHSEntityFactory::sharedInstance();
    factory.config = actionType;
    auto response = factory.makeResponse(dictionary, manager);
    if (dictionary && response->responseCode == SHSResponseCodeSuccess) {
        const auto it = dictionary->find("data");
        factory.saveObjects(it != dictionary->end() ? *it : *dictionary, paramDic, manager);
    }
    handleNextAction();
    response->responseType = actionType;

    if (manager && actionType == SHSActionTypeLike &&
        response->responseCode == SHSResponseCodeSuccess) {
        auto bar = manager->barEntity();
        bar->isLike = !bar->isLike;
        bar->likeCount += bar->isLike ? 1 : -1;
        manager->setBarEntity(bar);
    }
    report(response);
}

void SHSocialJob::handleFail(const std::string& error) {
    if (m_ended)
        return;
    m_ended = true;
    handleNextAction();
    auto response = std::make_shared<SHSocialResponseEntity>();
    response->error = error;
    response->responseCode = SHSResponseCodeNetworkError;
    response->message = SHSNetworkErrorMessage;
    response->responseType = actionType;
    if (const auto manager = dataManager())
        manager->responseEntity = response;
    report(response);
}

void SHSocialJob::report(const std::shared_ptr<SHSocialResponseEntity>& response) {
    if (auto done = std::move(completion)) {
        completion = nullptr;
        done(response);
    }
    if (const auto manager = dataManager()) {
        if (const auto delegate = manager->netWorkDelegate.lock())
            delegate->didFinishGetResponseInSDK(response);
    }
}

void SHSocialJob::handleNextAction() {
    const auto manager = dataManager();
    if (!manager)
        return;
    auto& queue = manager->actionArray;
    const bool wasHead = !queue.empty() && queue.front().get() == this;
    std::erase_if(queue, [this](const auto& job) { return job.get() == this; });
    if (!wasHead || queue.empty())
        return;
    // The next job is rebuilt from its own subject.
    SHSDataManagerSet::shareInstance().currentDataHash = manager->identifier;
    const auto next = queue.front();
    if (next->updateAction())
        next->makeResquest();
    else
        next->failLocally("the request could not be made again");
}

bool SHSocialJob::updateAction() {
    const auto fresh = SHSocialJobFactory::sharedInstance().createSocialJob(actionType, paramDic);
    if (!fresh)
        return false;
    baseDic = fresh->baseDic;
    networkType = fresh->networkType;
    unsendableReason = fresh->unsendableReason;
    if (actionType != SHSActionTypeGetBar)
        pathString = fresh->pathString;
    return true;
}
