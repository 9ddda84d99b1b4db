#include "platform/web/WebFormData.h"

namespace platform {

namespace {

constexpr std::string_view kFormContentType = "application/x-www-form-urlencoded";

void encodeInto(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // Every line break a field holds goes as CR LF, whatever the page or typing made it.
        if (byte == '\r' || byte == '\n') {
            out += "%0D%0A";
            if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            continue;
        }
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '*' || byte == '-' ||
                           byte == '.' || byte == '_';
        if (plain) {
            out += char(byte);
        } else if (byte == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
}

}  // namespace

std::string formURLEncoded(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string out;
    for (const auto& [name, value] : entries) {
        if (!out.empty()) {
            out += '&';
        }
        encodeInto(out, name);
        out += '=';
        encodeInto(out, value);
    }
    return out;
}

URLRequest formRequest(const FormSubmission& submission) {
    URLRequest request;
    const std::string encoded = formURLEncoded(submission.entries);
    if (submission.method == "POST") {
        request.url = submission.action;
        request.method = "POST";
        request.body = encoded;
        request.headers.emplace_back("Content-Type", std::string(kFormContentType));
        return request;
    }
    std::string url = submission.action;
    url = url.substr(0, url.find('#'));
    url = url.substr(0, url.find('?'));
    request.url = url + "?" + encoded;
    request.method = "GET";
    return request;
}

}  // namespace platform
