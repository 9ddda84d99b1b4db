#include "app/DirectoryOrganisations.h"

#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "platform/foundation/Json.h"
#include "platform/net/HttpClient.h"

namespace frontend {

namespace {

// The user waits at the prompt for it; a service that takes longer is as good as absent.
constexpr double kAskSeconds = 10;
const char* const kTeacher = "teacher";
const char* const kListKey = "orgcategory";

}  // namespace

std::optional<std::vector<Organization>> directoryOrganisations() {
    platform::HttpRequest request;
    request.url = NetRequest::organizationWithUserType(kTeacher).url;
    request.timeoutSeconds = kAskSeconds;
    platform::HttpResponse response = platform::HttpClient::shared().sendSync(request);
    platform::Json reply;
    std::string whyNot;
    if (!decodeJSONReply(response.status, response.mimeType(), std::move(response.body), reply,
                         whyNot)) {
        return std::nullopt;
    }
    auto organisations = recordsFromList<Organization>(reply, kListKey);
    if (organisations.empty()) {
        return std::nullopt;
    }
    return organisations;
}

platform::testing::DriverResult checkOrganisationToOpen(const std::string& orgId) {
    using platform::testing::DriverResult;
    const auto organisations = directoryOrganisations();
    if (!organisations) {
        if (orgId.empty()) {
            return DriverResult::failure(
                "missing argument: open index ORGID (the school's service lists no "
                "organisations to choose from)");
        }
        return DriverResult::success();
    }
    std::string list;
    for (const auto& organisation : *organisations) {
        if (!orgId.empty() && organisation.lbdm == orgId) {
            return DriverResult::success();
        }
        list += list.empty() ? "" : ", ";
        list += organisation.lbdm + " " + organisation.zzmc;
    }
    const std::string takes = "open index takes an organisation's id: " + list;
    if (orgId.empty()) {
        return DriverResult::failure("missing argument: " + takes);
    }
    return DriverResult::failure("no organisation \"" + orgId + "\": " + takes);
}

}  // namespace frontend
