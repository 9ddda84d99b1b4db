#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/service/SHSParamDictionary.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "platform/foundation/Json.h"
#include "platform/net/HttpClient.h"

class SHSDataManager;

// A request body: the fields, and the picture that goes out as a file part beside them.
struct SHSJobBody {
    platform::Json fields = platform::Json::object();
    SHSImageObject pic;
    // Why a field could not be written (text that is not UTF-8, say): such a body is never
    // sent.
    std::optional<std::string> unwritable;
};

// One request to the share service. Made by the job factory, it waits in the job queue of
// its data manager (the one that queued it), is sent only as the head of that queue, wraps
// its query and body in the envelope, and on the reply (or failure) leaves the queue, starts
// the next job, and reports to its completion once and to the data manager's delegate. All
// on the main thread.
class SHSocialJob : public std::enable_shared_from_this<SHSocialJob> {
public:
    // Belongs to the current data manager until a data manager queues it.
    SHSocialJob();

    int networkType = 0;  // SHSNetworkType
    int actionType = 0;   // SHSActionType
    std::optional<std::string> pathString;
    std::optional<SHSJobBody> baseDic;  // none for GET
    SHSParamDictionary paramDic;        // what the job is rebuilt from
    std::string dataManagerHash;        // identifier of the job's data manager
    SHSocialResponseCompletion completion;
    bool isEncry = true;
    SHSImageObject shareImage;  // the body's picture, taken out before the envelope
    // Set when the body could not be written: the job then fails on its own when sent.
    std::optional<std::string> unsendableReason;

    std::shared_ptr<SHSDataManager> dataManager() const { return m_dataManager.lock(); }
    void setDataManager(const std::shared_ptr<SHSDataManager>& manager);

    // Applies the envelope and sends the request by the network type (type 3 sends nothing).
    // A job is sent once; a local failure is reported like a network one, on a later turn of
    // the main loop.
    void makeResquest();
    // The text with its query replaced by "ud_get=" and the encrypted query; a text without
    // "?" or ending in it unchanged; nothing for nothing or when the cipher fails.
    std::optional<std::string> encryPathString(const std::optional<std::string>& path) const;

    void handleSuccessJson(const std::string& data);
    void handleFail(const std::string& error);
    // Cancels the job's own request and reports it failed with the error "cancelled" at once;
    // nothing for a job that has ended.
    void cancel();
    // Leaves the queue; when the job was its head, the next waiting job is rebuilt and sent.
    void handleNextAction();
    // Rebuilds the body, type and path (an action-3 job keeps its path) from the parameters
    // with the values of this moment; false when the factory makes no job for them now.
    bool updateAction();

    bool hasStarted() const { return m_started; }
    bool hasEnded() const { return m_ended; }

private:
    void failLocally(std::string reason);
    void report(const std::shared_ptr<SHSocialResponseEntity>& response);

    std::weak_ptr<SHSDataManager> m_dataManager;
    bool m_started = false;
    bool m_ended = false;
    std::optional<platform::HttpClient::RequestId> m_requestId;
};
