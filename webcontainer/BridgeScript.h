#pragma once

#include <string>

#include "platform/foundation/JsonFwd.h"

// The one place where values become part of a reply script run in a page. Whatever a value
// holds (quotes, backslashes, line breaks, "</script>", broken UTF-8), what it yields is one
// JSON literal the page's script engine reads back as that value, and nothing more.

// The text as a quoted JSON string, quotes included. Broken UTF-8 becomes replacement
// characters; U+2028 and U+2029, legal raw in JSON but line ends in older script engines, are
// escaped too.
std::string jsonQuoted(const std::string& text);

// The value as JSON text, escaped as jsonQuoted escapes; `pretty` indents it by four.
std::string jsonText(const platform::Json& value, bool pretty = false);
