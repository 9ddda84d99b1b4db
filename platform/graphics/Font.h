#pragma once

#include <string>

namespace platform {

enum class TextAlignment { Left, Center, Right };

// A font as the phone's UIFont: family, size in points and weight. The system font is the
// bundled CJK face, which covers Latin text as well.
struct Font {
    std::string family = "WenQuanYi Micro Hei";
    double pointSize = 17;
    bool bold = false;

    static Font systemFont(double size);
    static Font boldSystemFont(double size);
    Font withSize(double size) const;
};

bool operator==(const Font&, const Font&);

}  // namespace platform
