#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

// One argument of a URL template: text for "%@", a number for "%ld".
using URLArgument = std::variant<std::string, long>;

// Fills "%@" and "%ld" in the template with the arguments in order and percent-escapes the
// result as the school's services expect: the template's own text is escaped as a whole URL
// (reserved characters kept), each text argument as a query component.
std::string formatServiceURL(std::string_view format, const std::vector<URLArgument>& arguments);
