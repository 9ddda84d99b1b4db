#include "location/engine/CVString.h"

#include <algorithm>

#include "location/engine/CVCodePage.h"

namespace _zizaz_vi {

CVString::CVString(const char* narrow)
    : m_units(narrow ? CVCodePage::MultiByteToWideChar(CVCodePage::kDoubleByte, narrow)
                     : std::u16string()) {}

CVString& CVString::operator=(const char* narrow) {
    *this = CVString(narrow);
    return *this;
}

CVString& CVString::operator+=(const CVString& other) {
    m_units += other.m_units;
    return *this;
}

CVString& CVString::operator+=(const char* narrow) {
    return *this += CVString(narrow);
}

CVString& CVString::operator+=(char16_t unit) {
    m_units.push_back(unit);
    return *this;
}

CVString operator+(const CVString& a, const CVString& b) {
    CVString result = a;
    result += b;
    return result;
}

std::size_t CVString::Length(const char16_t* text) {
    return text ? std::char_traits<char16_t>::length(text) : 0;
}

bool CVString::Copy(char16_t* destination, std::size_t capacity, const char16_t* source) {
    if (!destination || capacity == 0) {
        return false;
    }
    destination[0] = 0;
    return Concatenate(destination, capacity, source);
}

bool CVString::Concatenate(char16_t* destination, std::size_t capacity, const char16_t* source) {
    if (!destination || capacity == 0) {
        return false;
    }
    std::size_t end = 0;
    while (end < capacity && destination[end] != 0) {
        ++end;
    }
    if (end == capacity) {
        return false;  // the destination holds no terminated text
    }
    const std::size_t length = Length(source);
    const std::size_t fits = std::min(length, capacity - 1 - end);
    if (fits > 0) {
        std::char_traits<char16_t>::copy(destination + end, source, fits);
    }
    destination[end + fits] = 0;
    return fits == length;
}

}  // namespace _zizaz_vi
