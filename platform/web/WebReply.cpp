#include "platform/web/WebReply.h"

#include "platform/foundation/AsciiText.h"
#include "platform/web/WebPageNode.h"

namespace platform {

namespace {

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

WebReplyKind webReplyKind(std::string_view mimeType, std::string_view body) {
    if (mimeType.empty()) {
        // Older servers send pages without a type; a body that opens with markup is one.
        const auto first = body.find_first_not_of(" \t\r\n\f");
        return first != std::string_view::npos && body[first] == '<' ? WebReplyKind::Page
                                                                     : WebReplyKind::Text;
    }
    if (oneOf(mimeType, {"text/html", "application/xhtml+xml"})) {
        return WebReplyKind::Page;
    }
    // SVG is a document that may carry scripts; without an engine for it, it is shown as text.
    if (mimeType == "image/svg+xml") {
        return WebReplyKind::Text;
    }
    if (startsWith(mimeType, "image/")) {
        return WebReplyKind::Picture;
    }
    if (startsWith(mimeType, "text/") || endsWith(mimeType, "+json") ||
        endsWith(mimeType, "+xml") ||
        oneOf(mimeType, {"application/json", "application/javascript", "application/ecmascript",
                         "application/xml", "application/x-javascript"})) {
        return WebReplyKind::Text;
    }
    return WebReplyKind::Unshown;
}

std::string textDocument(std::string_view text) {
    std::string out =
        "<html><head><meta charset=\"utf-8\"></head><body><pre style=\"white-space: pre-wrap; "
        "word-wrap: break-word\">";
    out.reserve(out.size() + text.size() + 32);
    web::escapeInto(out, text, false);
    out += "</pre></body></html>";
    return out;
}

std::string pictureDocument(std::string_view url) {
    std::string out = "<html><body style=\"margin: 0\"><img src=\"";
    web::escapeInto(out, url, true);
    out += "\"></body></html>";
    return out;
}

}  // namespace platform
