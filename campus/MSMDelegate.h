#pragma once

#include <string>

// How a member detail row asks its screen to write a text message: the row knows its number,
// the screen owns the composer.
class MSMDelegate {
public:
    virtual ~MSMDelegate() = default;

    // A text message with the body to the one recipient number.
    virtual void MSM(const std::string& body, const std::string& recipient) = 0;
};
