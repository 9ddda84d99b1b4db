#pragma once

#include <string>
#include <vector>

// What the entry API needs of the share list screen, which lives with the other screens
// above this library: the rows it shows, replaceable by the host's names.
class SHSocialShareList {
public:
    virtual ~SHSocialShareList() = default;
    // Keeps, in order, the registered platforms of the names that are not hidden.
    virtual void setAllSnsArray(const std::vector<std::string>& names) = 0;
    virtual const std::vector<std::string>& allSnsArray() const = 0;
};
