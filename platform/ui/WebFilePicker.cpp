#include "platform/ui/WebFilePicker.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/foundation/RunLoop.h"

namespace platform {

WebFileAsk::WebFileAsk(bool multiple, std::vector<std::string> mimeTypes, Reply reply)
    : m_multiple(multiple), m_mimeTypes(std::move(mimeTypes)), m_reply(std::move(reply)) {}

WebFileAsk::~WebFileAsk() {
    // Let go unanswered: the field stays as it was, and the page may ask again.
    if (auto reply = std::exchange(m_reply, nullptr))
        reply({});
}

bool WebFileAsk::acceptsImages() const {
    if (m_mimeTypes.empty())
        return true;
    return std::any_of(m_mimeTypes.begin(), m_mimeTypes.end(), [](const std::string& type) {
        std::string lower = type;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        return lower.rfind("image/", 0) == 0;
    });
}

bool WebFileAsk::answer(std::vector<std::string> paths) {
    auto reply = std::exchange(m_reply, nullptr);
    if (!reply)
        return false;
    m_withdrawn = nullptr;
    if (!m_multiple && paths.size() > 1)
        paths.resize(1);
    reply(std::move(paths));
    return true;
}

void WebFileAsk::withdraw() {
    if (!std::exchange(m_reply, nullptr))
        return;
    // Told on a later turn: the web view withdraws while it changes pages or goes away, and a
    // picker closing must not run inside that.
    if (auto withdrawn = std::exchange(m_withdrawn, nullptr))
        RunLoop::main().post(std::move(withdrawn));
}

}  // namespace platform
