#pragma once

#include <string>
#include <string_view>

namespace _zizaz_vi {

// The engine's code-page conversion between narrow text and UTF-16.
// Mode 1 is UTF-8 with each UTF-16 unit on its own (one to three bytes per unit, so a
// surrogate pair takes six bytes). Mode 0 is the engine's double-byte code page: characters up
// to 127 are single bytes, others two bytes (low byte first) found in a table of code ranges,
// and a character without an entry is dropped. This build carries no tables, so mode 0 keeps
// ASCII only.
class CVCodePage {
public:
    enum Mode { kDoubleByte = 0, kUtf8 = 1 };

    static std::u16string MultiByteToWideChar(int mode, std::string_view narrow);
    static std::string WideCharToMultiByte(int mode, std::u16string_view wide);
};

}  // namespace _zizaz_vi
