#include "fuzz/FuzzTargets.h"

#include <cstdlib>
#include <string>

#include "client/ActionReply.h"
#include "client/NetTool.h"
#include "client/News.h"
#include "client/Record.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/PropertyList.h"

namespace fuzz {

using platform::Json;

void replyToRecords(std::string_view body) {
    Json reply;
    std::string whyNot;
    if (!decodeJSONReply(200, "application/json", std::string(body), reply, whyNot))
        return;
    for (const auto& row : recordsFromList<News>(reply, "News")) (void)row;
    News one;
    fillRecord(one, reply);
    (void)ActionReply::succeeded(reply);
    (void)ActionReply::msg(reply);
    (void)ActionReply::message(reply);
    // A reply the client accepted can be stored and comes back unchanged.
    auto restored = platform::unarchiveObject(platform::archiveRootObject(reply));
    if (!restored || *restored != reply)
        std::abort();
    (void)platform::serializePropertyList(reply);
}

void propertyList(std::string_view xml) {
    auto value = platform::parsePropertyList(xml);
    if (!value)
        return;
    if (!platform::parsePropertyList(platform::serializePropertyList(*value)))
        std::abort();
}

}  // namespace fuzz
