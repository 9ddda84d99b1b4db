#include "platform/graphics/FontFallback.h"

#include <string>

#include "platform/foundation/Log.h"

namespace platform::fontfallback {

namespace {

// WenQuanYi Micro Hei maps these characters to empty outlines (℃ among them), so fontconfig
// and Pango take it as covering them and draw nothing. Spaces and invisible format
// characters, which it rightly leaves empty, are not listed.
constexpr unsigned kBlankInSystemFace[] = {
    0x01CE, 0x01D0, 0x01D2, 0x01D4, 0x01D8, 0x01DA, 0x01DC,  // ǎ ǐ ǒ ǔ ǘ ǚ ǜ
    0x02CA, 0x02CB,                                          // ˊ ˋ
    0x203E,                                                  // ‾
    0x2103, 0x2109, 0x212B,                                  // ℃ ℉ Å
    0x2164, 0x2169,                                          // Ⅴ Ⅹ
    0x223C,                                                  // ∼
};

std::string rules() {
    std::string blank;
    for (unsigned c : kBlankInSystemFace) {
        blank += "<int>" + std::to_string(c) + "</int>";
    }
    std::string fallbacks;
    for (const char* family : kFamilies) {
        fallbacks += std::string("<string>") + family + "</string>";
    }
    // "contains" also catches the face's monospaced twin, which shares its glyphs.
    return R"(<?xml version="1.0"?>
<fontconfig>
  <match target="pattern">
    <test name="family" compare="contains"><string>WenQuanYi Micro Hei</string></test>
    <edit name="family" mode="append" binding="strong">)" +
           fallbacks + R"(</edit>
  </match>
  <match target="font">
    <test name="family" compare="contains"><string>WenQuanYi Micro Hei</string></test>
    <edit name="charset" mode="assign">
      <minus><name>charset</name><charset>)" +
           blank + R"(</charset></minus>
    </edit>
  </match>
</fontconfig>
)";
}

}  // namespace

FcConfig* makeConfig() {
    FcConfig* config = FcInitLoadConfig();
    if (!config) {
        return nullptr;
    }
    std::string text = rules();
    if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(text.c_str()),
                                        FcTrue)) {
        log("fonts: the fallback rules did not load; blank glyphs stay blank");
    }
    if (!FcConfigBuildFonts(config)) {
        FcConfigDestroy(config);
        return nullptr;
    }
    return config;
}

}  // namespace platform::fontfallback
