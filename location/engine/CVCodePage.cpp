#include "location/engine/CVCodePage.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>

namespace _zizaz_vi {
namespace {

// One run of consecutive codes: [first, last] maps to target, target + 1, ...
struct CodeRange {
    std::uint16_t first;
    std::uint16_t last;
    std::uint16_t target;
};

// The two table descriptors (narrow to wide, wide to narrow). Nothing fills them in this
// build, so they stay empty from load to exit.
constexpr std::span<const CodeRange> kNarrowToWide{};
constexpr std::span<const CodeRange> kWideToNarrow{};

// Halves the sorted table until the range holding the code is found.
bool lookUp(std::span<const CodeRange> table, std::uint16_t code, std::uint16_t* out) {
    const auto it =
        std::upper_bound(table.begin(), table.end(), code,
                         [](std::uint16_t c, const CodeRange& r) { return c < r.first; });
    if (it == table.begin()) {
        return false;
    }
    const CodeRange& range = *(it - 1);
    if (code > range.last) {
        return false;
    }
    *out = static_cast<std::uint16_t>(range.target + (code - range.first));
    return true;
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

// Each UTF-16 unit on its own is what ICU calls CESU-8.
std::unique_ptr<UConverter, ConverterCloser> openUnitWiseUtf8() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open("CESU-8", &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return converter;
}

}  // namespace

std::u16string CVCodePage::MultiByteToWideChar(int mode, std::string_view narrow) {
    std::u16string wide;
    if (mode == kUtf8) {
        auto converter = openUnitWiseUtf8();
        if (!converter || narrow.empty()) {
            return wide;
        }
        wide.resize(narrow.size() + 1);
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length =
            ucnv_toUChars(converter.get(), wide.data(), static_cast<int32_t>(wide.size()),
                          narrow.data(), static_cast<int32_t>(narrow.size()), &status);
        if (U_FAILURE(status)) {
            return {};
        }
        wide.resize(static_cast<std::size_t>(length));
        return wide;
    }
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        const auto byte = static_cast<unsigned char>(narrow[i]);
        if (byte <= 127) {
            wide.push_back(byte);
            continue;
        }
        if (i + 1 == narrow.size()) {
            break;  // a lead byte without its second byte
        }
        const auto code =
            static_cast<std::uint16_t>(byte | (static_cast<unsigned char>(narrow[i + 1]) << 8));
        ++i;
        std::uint16_t unit = 0;
        if (lookUp(kNarrowToWide, code, &unit)) {
            wide.push_back(unit);
        }
    }
    return wide;
}

std::string CVCodePage::WideCharToMultiByte(int mode, std::u16string_view wide) {
    std::string narrow;
    if (mode == kUtf8) {
        auto converter = openUnitWiseUtf8();
        if (!converter || wide.empty()) {
            return narrow;
        }
        narrow.resize(wide.size() * 3 + 1);
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length =
            ucnv_fromUChars(converter.get(), narrow.data(), static_cast<int32_t>(narrow.size()),
                            wide.data(), static_cast<int32_t>(wide.size()), &status);
        if (U_FAILURE(status)) {
            return {};
        }
        narrow.resize(static_cast<std::size_t>(length));
        return narrow;
    }
    for (const char16_t unit : wide) {
        if (unit <= 127) {
            narrow.push_back(static_cast<char>(unit));
            continue;
        }
        std::uint16_t code = 0;
        if (lookUp(kWideToNarrow, unit, &code)) {
            narrow.push_back(static_cast<char>(code & 0xff));
            narrow.push_back(static_cast<char>(code >> 8));
        }
    }
    return narrow;
}

}  // namespace _zizaz_vi
