#pragma once

#include <optional>
#include <string>
#include <string_view>

// Percent-escaping of URL text. Every escape is "%" with two upper-case hex digits of one
// UTF-8 byte.
namespace platform {

// Escapes a whole URL once: letters, digits, RFC 2396's unreserved marks "-_.!~*'()" and its
// reserved characters ";/?:@&=+$," stay; every other byte (space, "%", "#", quotes, brackets,
// control characters, every byte of non-ASCII text) is escaped. Each byte is treated on its
// own, so escapeWholeURL(a + b) == escapeWholeURL(a) + escapeWholeURL(b): a URL may be escaped
// piece by piece.
std::string escapeWholeURL(std::string_view text);

// One query value: as escapeWholeURL, and "&", "=" and "+" are escaped as well, so the value
// cannot split or alter the query ("#" and "%" are escaped by both). Text without "&", "="
// and "+" escapes exactly as escapeWholeURL escapes it, so URLs whose values hold none of
// them stay byte-identical to the whole-URL escaping the services know. ";" stays, like
// every other reserved character.
std::string escapeQueryComponent(std::string_view text);

// The toolbox's URLEncodedString: only letters, digits and "-_.~" stay; everything else, every
// character of "!*'();:@&=+$,/?%#[]" and the ideographic comma "、" included, is escaped.
std::string urlEncodedString(std::string_view text);

// Replaces every valid escape; "+" stays "+". An escape that is not "%" and two hex digits,
// or whose bytes do not form UTF-8 text, is left as it stands, so the result is valid UTF-8
// whenever the input was.
std::string urlDecodedString(std::string_view text);

// The phone's stringByRemovingPercentEncoding: every escape replaced, either case of hex
// digit; "+" stays "+". Nothing at all when a "%" is not followed by two hex digits or when
// the result is not UTF-8 text, for a caller that must treat such text as absent.
std::optional<std::string> removingPercentEncoding(std::string_view text);

// Whether the text starts with a scheme and its ":" ("http:", "data:", "sms:"): an ASCII letter,
// then letters, digits, "+", "-" or ".". Such an address is absolute; any other is relative
// to the page or request it is read in.
bool hasURLScheme(std::string_view text);

}  // namespace platform
