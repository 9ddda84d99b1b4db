#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/foundation/Json.h"

namespace platform {

// The text an argument shows in a log line. Absent strings never print as "(null)".
inline std::string describe(const std::string& s) {
    return s;
}
inline std::string describe(std::string_view s) {
    return std::string(s);
}
inline std::string describe(const char* s) {
    return s ? s : "";
}
inline std::string describe(const Json& j) {
    return j.is_string() ? j.get<std::string>() : j.dump();
}
inline std::string describe(bool b) {
    return b ? "YES" : "NO";
}
template <typename T>
requires std::is_arithmetic_v<T> std::string describe(T v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

// Replaces each conversion (%@, %d, %ld, %lu, %s, %f, %i) in order with the next argument;
// "%%" is a percent sign. Missing arguments leave the conversion as it stands.
std::string formatLog(std::string_view format, const std::vector<std::string>& args);

void writeLog(const std::string& line);

// The stand-in for NSLog: log("error:%@", error) writes the same text a phone would.
template <typename... Args>
void log(std::string_view format, const Args&... args) {
    writeLog(formatLog(format, std::vector<std::string>{describe(args)...}));
}

// Lets tests read what was logged. The sink runs on the logging thread and gets the line as
// it was made; null restores stderr, where the line is written terminal-safe (TerminalText.h).
void setLogSink(std::function<void(const std::string&)> sink);

}  // namespace platform
