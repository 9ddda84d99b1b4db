#pragma once

#include <string>

// Told which operation a tapped tile names.
class HomePageRootCVCellDelegate {
public:
    virtual ~HomePageRootCVCellDelegate() = default;
    virtual void PushVCWithName(const std::string& methodName) = 0;
};
