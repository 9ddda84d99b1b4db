#include "SocialSDK/base/SHSocialUtils.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

#include "SocialSDK/base/SHSocialProtocolData.h"
#include "platform/foundation/Crypto.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/URLEscaping.h"

namespace {

struct LogState {
    std::mutex mutex;
    bool open = false;
    std::string prefix;
    std::function<void(const std::string&)> sink;
};

LogState& logState() {
    static LogState state;
    return state;
}

}  // namespace

std::string SHSocialUtils::urlEncode(std::string_view text) {
    return platform::urlEncodedString(text);
}

std::string SHSocialUtils::md5Value(std::string_view text) {
    return SHSocialProtocolData::md5Value(text);
}

std::string SHSocialUtils::base64EncodeData(std::string_view data) {
    return platform::base64Encode(data);
}

std::optional<std::string> SHSocialUtils::JSONFragment(const platform::Json& value) {
    try {
        return value.dump(2);
    } catch (const std::exception& error) {
        platform::log("-JSONFragment failed. Error trace is: %@", error.what());
        return std::nullopt;
    }
}

std::optional<platform::Json> SHSocialUtils::JSONValue(std::string_view text) {
    std::string cleaned;
    cleaned.reserve(text.size());
    for (const char c : text) {
        if (c != '\0')
            cleaned += c;
    }
    std::string error;
    auto value = platform::parseJson(cleaned, &error);
    if (!value)
        platform::log("-JSONValue failed. Error trace is: %@", error);
    return value;
}

void SHSocialUtils::setPrefix(std::string prefix) {
    std::lock_guard lock(logState().mutex);
    logState().prefix = std::move(prefix);
}

void SHSocialUtils::setOpenLog(bool open) {
    std::lock_guard lock(logState().mutex);
    logState().open = open;
}

bool SHSocialUtils::openLog() {
    std::lock_guard lock(logState().mutex);
    return logState().open;
}

void SHSocialUtils::setLogSink(std::function<void(const std::string&)> sink) {
    std::lock_guard lock(logState().mutex);
    logState().sink = std::move(sink);
}

void SHSocialUtils::writeOutLog(const std::string& message) {
    std::string prefix;
    std::function<void(const std::string&)> sink;
    {
        std::lock_guard lock(logState().mutex);
        prefix = logState().prefix;
        sink = logState().sink;
    }
    const std::string text = prefix.empty() ? message : prefix + " " + message;
    if (sink) {
        sink(text);
        return;
    }
    char head[64];
    std::snprintf(head, sizeof head, "[%s(%5ld)] - ", SHSocialProtocolData::timeMSString().c_str(),
                  static_cast<long>(::syscall(SYS_gettid)));
    std::fprintf(stdout, "%s%s \n", head, text.c_str());
}
