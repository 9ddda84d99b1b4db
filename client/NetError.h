#pragma once

#include <string>

// What a failed request reports: the transport's complaint, or the HTTP status and why the
// reply was refused.
struct NetError {
    int status = 0;  // 0 when no response came back
    std::string message;
    // The address as a log line may show it: arguments marked secret read "***".
    std::string url;
};

// The text a log line shows for the error ("error:%@").
std::string describe(const NetError& error);
