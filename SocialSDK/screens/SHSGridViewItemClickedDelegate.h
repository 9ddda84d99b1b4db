#pragma once

#include <string>

// Hears of a friend picked to be mentioned: "@" and the friend's link name.
class SHSGridViewItemClickedDelegate {
public:
    virtual ~SHSGridViewItemClickedDelegate() = default;
    virtual void itemClicked(const std::string& mention) = 0;
};
