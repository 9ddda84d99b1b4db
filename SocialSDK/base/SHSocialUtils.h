#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"

// The share SDK's small helpers: URL encoding, MD5, Base64, JSON, and the SDK log that every
// part of the SDK writes its diagnostic lines to, written only while switched on.
class SHSocialUtils {
public:
    // Percent-encoding of everything but letters, digits and "-_.~".
    static std::string urlEncode(std::string_view text);
    static std::string md5Value(std::string_view text);  // 32 upper-case hex digits
    static std::string base64EncodeData(std::string_view data);
    static std::string utilsVersion() { return "1.2.4"; }
    // Pretty-printed JSON in UTF-8; nothing (and a system log line) when the value cannot be
    // written, such as text that is not UTF-8.
    static std::optional<std::string> JSONFragment(const platform::Json& value);
    // Every NUL character removed, then parsed; nothing (and a system log line) when it is not
    // JSON.
    static std::optional<platform::Json> JSONValue(std::string_view text);

    static void setPrefix(std::string prefix);
    static void setOpenLog(bool open);
    static bool openLog();
    // Where SDK log lines go while the log is open: standard output when empty (tests read
    // the lines through it).
    static void setLogSink(std::function<void(const std::string&)> sink);

    // The SDK log, with the system log's conversions ("%@", "%d" ...).
    template <typename... Args>
    static void outLog(std::string_view format, const Args&... args) {
        if (!openLog())
            return;
        writeOutLog(
            platform::formatLog(format, std::vector<std::string>{platform::describe(args)...}));
    }

private:
    static void writeOutLog(const std::string& message);
};
