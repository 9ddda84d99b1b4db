#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace _zizaz_vi {

// The engine's UTF-16 string. Narrow text comes in through the double-byte code page
// (CVCodePage mode 0), so only its ASCII characters survive in this build.
class CVString {
public:
    CVString() = default;
    CVString(const char* narrow);  // NOLINT: implicit, as the engine's own callers expect
    explicit CVString(std::u16string_view units) : m_units(units) {}
    CVString(const CVString&) = default;
    CVString& operator=(const CVString&) = default;
    CVString& operator=(const char* narrow);
    virtual ~CVString() = default;

    CVString& operator+=(const CVString& other);
    CVString& operator+=(const char* narrow);
    CVString& operator+=(char16_t unit);
    friend CVString operator+(const CVString& a, const CVString& b);
    friend bool operator==(const CVString& a, const CVString& b) { return a.m_units == b.m_units; }

    int GetLength() const { return static_cast<int>(m_units.size()); }
    bool IsEmpty() const { return m_units.empty(); }
    // Zero-terminated UTF-16; an empty string answers an empty text.
    const char16_t* GetBuffer() const { return m_units.c_str(); }
    std::u16string_view view() const { return m_units; }

    // Zero-terminated UTF-16 helpers. Null counts as empty. Copy and concatenation never write
    // more than `capacity` units (terminator included) and answer false when the text did not
    // fit (the destination then holds as much as fitted, terminated).
    static std::size_t Length(const char16_t* text);
    static bool Copy(char16_t* destination, std::size_t capacity, const char16_t* source);
    static bool Concatenate(char16_t* destination, std::size_t capacity, const char16_t* source);

private:
    std::u16string m_units;
};

}  // namespace _zizaz_vi
