#include "webcontainer/BridgeScript.h"

#include "platform/foundation/Json.h"

namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

std::string jsonText(const platform::Json& value, bool pretty) {
    std::string json =
        value.dump(pretty ? 4 : -1, ' ', false, platform::Json::error_handler_t::replace);
    replaceAll(json, "\xE2\x80\xA8", "\\u2028");
    replaceAll(json, "\xE2\x80\xA9", "\\u2029");
    return json;
}

std::string jsonQuoted(const std::string& text) {
    return jsonText(platform::Json(text));
}
