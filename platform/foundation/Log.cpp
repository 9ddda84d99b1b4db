#include "platform/foundation/Log.h"

#include <cstdio>
#include <mutex>

#include "platform/foundation/TerminalText.h"

namespace platform {

namespace {
std::mutex g_sinkMutex;
std::function<void(const std::string&)> g_sink;
}  // namespace

std::string formatLog(std::string_view format, const std::vector<std::string>& args) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // Read a conversion: optional length modifiers then one conversion letter.
        size_t j = i + 1;
        while (j < format.size() && (format[j] == 'l' || format[j] == 'h' || format[j] == 'z' ||
                                     (format[j] >= '0' && format[j] <= '9') || format[j] == '.'))
            ++j;
        if (j < format.size() &&
            std::string_view("@dDiuUsfgxXc").find(format[j]) != std::string_view::npos &&
            next < args.size()) {
            out += args[next++];
            i = j;
        } else {
            out += c;
        }
    }
    return out;
}

void writeLog(const std::string& line) {
    std::lock_guard lock(g_sinkMutex);
    if (g_sink) {
        g_sink(line);
        return;
    }
    // Log lines quote what servers sent; on the user's terminal that text must not act.
    std::fprintf(stderr, "campus: %s\n", terminalSafeText(line).c_str());
}

void setLogSink(std::function<void(const std::string&)> sink) {
    std::lock_guard lock(g_sinkMutex);
    g_sink = std::move(sink);
}

}  // namespace platform
