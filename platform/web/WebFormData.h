#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/web/URLRequest.h"

namespace platform {

// What a page's form sends: its entries (name, value) in document order, as a browser
// collects them, and where and how it sends them.
struct FormSubmission {
    // The resolved address of the form's action (the page's own address without one).
    std::string action;
    // "GET" or "POST"; any other method a page writes is sent as GET, as browsers do.
    std::string method = "GET";
    std::vector<std::pair<std::string, std::string>> entries;
};

// The entries as application/x-www-form-urlencoded: each name and value as UTF-8, letters,
// digits and "*-._" as they are, a space as "+", every other byte as "%XX" (so "&", "=", "+"
// and "%" in a value arrive as typed), line breaks as CR LF, pairs joined by "&".
std::string formURLEncoded(const std::vector<std::pair<std::string, std::string>>& entries);

// The request a browser makes for the submission: GET replaces the action's query with the
// entries (its fragment goes too); POST sends them as the body, with their Content-Type.
URLRequest formRequest(const FormSubmission& submission);

}  // namespace platform
