#pragma once

#include <string>
#include <string_view>

namespace platform {

// What a web view makes of a server's reply, judged as a browser does by its Content-Type, so
// that a body which says it is data (a JSON error echoing the address, an uploaded file served
// as a picture) is never parsed as a page whose scripts run on the server's address.
enum class WebReplyKind {
    Page,     // text/html, application/xhtml+xml: parsed, and its scripts run
    Text,     // other text (plain, JSON, XML, scripts, SVG): shown as text
    Picture,  // a picture: shown as the picture
    Unshown,  // anything else: not shown; the load fails
};

// `mimeType` is the Content-Type without parameters, lower case ("" when the reply has none).
// Only a reply that names no type at all is sniffed, and then only by its first character.
WebReplyKind webReplyKind(std::string_view mimeType, std::string_view body);

// The document a browser makes to show a text body: the text as it stands, nothing run.
std::string textDocument(std::string_view text);
// The document a browser makes to show a picture at `url`.
std::string pictureDocument(std::string_view url);

}  // namespace platform
