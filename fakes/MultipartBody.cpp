#include "fakes/MultipartBody.h"

#include <algorithm>
#include <cctype>

namespace fakes {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string unquote(std::string_view s) {
    s = trim(s);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        s = s.substr(1, s.size() - 2);
    return std::string(s);
}

// Splits "a; b=\"x;y\"; c" at the semicolons that stand outside quotes.
std::vector<std::string_view> splitParameters(std::string_view s) {
    std::vector<std::string_view> items;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"')
            quoted = !quoted;
        else if (s[i] == ';' && !quoted) {
            items.push_back(trim(s.substr(start, i - start)));
            start = i + 1;
        }
    }
    items.push_back(trim(s.substr(start)));
    return items;
}

void readDisposition(std::string_view value, ReceivedPart& part) {
    for (const auto item : splitParameters(value)) {
        const auto eq = item.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string key = lower(trim(item.substr(0, eq)));
        if (key == "name")
            part.name = unquote(item.substr(eq + 1));
        else if (key == "filename")
            part.filename = unquote(item.substr(eq + 1));
    }
}

ReceivedPart readPart(std::string_view block) {
    ReceivedPart part;
    const auto headEnd = block.find("\r\n\r\n");
    std::string_view head = headEnd == std::string_view::npos ? block : block.substr(0, headEnd);
    part.data =
        headEnd == std::string_view::npos ? std::string{} : std::string(block.substr(headEnd + 4));
    while (!head.empty()) {
        const auto eol = head.find("\r\n");
        const std::string_view line = head.substr(0, eol);
        head = eol == std::string_view::npos ? std::string_view{} : head.substr(eol + 2);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string name = lower(trim(line.substr(0, colon)));
        const std::string_view value = trim(line.substr(colon + 1));
        if (name == "content-disposition")
            readDisposition(value, part);
        else if (name == "content-type")
            part.contentType = std::string(value);
    }
    return part;
}

}  // namespace

std::string multipartBoundary(std::string_view contentType) {
    const std::string lowered = lower(contentType);
    if (lowered.find("multipart/") == std::string::npos)
        return {};
    const auto at = lowered.find("boundary=");
    if (at == std::string::npos)
        return {};
    std::string_view value = contentType.substr(at + 9);
    if (!value.empty() && value.front() == '"') {
        const auto close = value.find('"', 1);
        return std::string(
            value.substr(1, close == std::string_view::npos ? value.npos : close - 1));
    }
    if (const auto semicolon = value.find(';'); semicolon != std::string_view::npos)
        value = value.substr(0, semicolon);
    return std::string(trim(value));
}

std::vector<ReceivedPart> splitMultipart(std::string_view contentType, std::string_view body) {
    std::vector<ReceivedPart> parts;
    const std::string boundary = multipartBoundary(contentType);
    if (boundary.empty())
        return parts;
    const std::string delimiter = "--" + boundary;
    auto at = body.find(delimiter);
    while (at != std::string_view::npos) {
        std::size_t start = at + delimiter.size();
        if (body.substr(start, 2) == "--")
            break;  // closing delimiter
        if (body.substr(start, 2) == "\r\n")
            start += 2;
        const auto next = body.find("\r\n" + delimiter, start);
        if (next == std::string_view::npos)
            break;  // a part without its closing delimiter is not a part
        parts.push_back(readPart(body.substr(start, next - start)));
        at = next + 2;
    }
    return parts;
}

}  // namespace fakes
