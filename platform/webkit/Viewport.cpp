#include "platform/webkit/Viewport.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "platform/foundation/AsciiText.h"

namespace platform::webkit {

namespace {

// A number as the viewport reads it: its leading numeric part; nothing for none.
std::optional<double> number(std::string_view text) {
    const std::string value(trimmedAscii(text));
    char* end = nullptr;
    const double parsed = std::strtod(value.c_str(), &end);
    if (end == value.c_str() || !(parsed == parsed))
        return std::nullopt;
    return parsed;
}

}  // namespace

FitViewport fitViewport(const std::optional<std::string>& content, double viewWidth) {
    FitViewport fit;
    if (viewWidth <= 0)
        viewWidth = 320;
    std::optional<double> width;
    std::optional<double> initial;
    std::optional<double> minimum;
    std::optional<double> maximum;
    if (content) {
        std::string_view rest = *content;
        while (!rest.empty()) {
            const auto cut = rest.find_first_of(",;");
            const std::string_view pair = rest.substr(0, cut);
            rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
            const auto equals = pair.find('=');
            if (equals == std::string_view::npos)
                continue;
            const std::string key = lowercasedAscii(trimmedAscii(pair.substr(0, equals)));
            const std::string value = lowercasedAscii(trimmedAscii(pair.substr(equals + 1)));
            if (key == "width") {
                if (value == "device-width")
                    width = viewWidth;
                else if (auto n = number(value); n && *n > 0)
                    width = std::clamp(*n, 1.0, 10000.0);
            } else if (key == "initial-scale") {
                if (auto n = number(value); n && *n > 0)
                    initial = std::clamp(*n, 0.1, 10.0);
            } else if (key == "minimum-scale") {
                if (auto n = number(value); n && *n > 0)
                    minimum = std::clamp(*n, 0.1, 10.0);
            } else if (key == "maximum-scale") {
                if (auto n = number(value); n && *n > 0)
                    maximum = std::clamp(*n, 0.1, 10.0);
            } else if (key == "user-scalable") {
                fit.userScalable = !(value == "no" || value == "0" || value == "false");
            }
        }
    }
    if (minimum)
        fit.minimumScale = *minimum;
    if (maximum)
        fit.maximumScale = *maximum;
    fit.minimumScale = std::min(fit.minimumScale, fit.maximumScale);
    if (width)
        fit.layoutWidth = *width;
    else if (initial)
        fit.layoutWidth = viewWidth / *initial;
    fit.initialScale = initial ? *initial : viewWidth / fit.layoutWidth;
    fit.initialScale = std::clamp(fit.initialScale, fit.minimumScale, fit.maximumScale);
    if (!fit.userScalable)
        fit.minimumScale = fit.maximumScale = fit.initialScale;
    return fit;
}

}  // namespace platform::webkit
