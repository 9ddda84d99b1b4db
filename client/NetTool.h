#pragma once

#include <functional>
#include <string>
#include <vector>

#include "client/FormDataItem.h"
#include "client/NetError.h"
#include "client/URLTemplate.h"
#include "platform/foundation/Json.h"

// Completion blocks of NetTool, run on the main run loop; an empty block is not called.
using NetSuccessBlock = std::function<void(const platform::Json& reply)>;
using NetFailureBlock = std::function<void(const NetError& error)>;

// The process-wide client of the school's services: sends a finished URL and calls back with
// the decoded JSON reply or the error. Keeps no state between calls and never looks inside a
// reply. The error carries the address in its shown form, so logging it reveals no secret.
class NetTool {
public:
    static NetTool& shareInstance();

    void getWithURL(const ServiceURL& url, NetSuccessBlock success, NetFailureBlock failure);
    // POST with no body: the services posted to read their parameters from the query.
    void postWithURL(const ServiceURL& url, NetSuccessBlock success, NetFailureBlock failure);
    // POST with the parameters form-encoded in the body.
    void postWithURL(const ServiceURL& url, const platform::Json& params, NetSuccessBlock success,
                     NetFailureBlock failure);
    // multipart/form-data POST: the parameters as fields, then one part per item in order.
    void postWithURL(const ServiceURL& url, const platform::Json& params,
                     const std::vector<FormDataItem>& formDataArray, NetSuccessBlock success,
                     NetFailureBlock failure);

    bool isConnectionAvailable() const;
    bool IsEnableWiFi() const;
    bool IsEnable3G() const;
    // Blocks the calling thread for up to 5 seconds.
    static bool isConnect();

private:
    NetTool() = default;
};

// Decodes a reply the way the services' JSON is read: a 2xx status, a JSON-ish content type
// and a body that parses, nested no deeper than kMaxNestingDepth. Exposed for the benchmark,
// the fuzz targets and tests.
bool decodeJSONReply(int status, const std::string& mimeType, const std::string& body,
                     platform::Json& out, std::string& whyNot);
// The same for a body the caller gives up: it is let go of as soon as it has been read.
bool decodeJSONReply(int status, const std::string& mimeType, std::string&& body,
                     platform::Json& out, std::string& whyNot);
