#pragma once

#include <string>
#include <vector>

// What the code scanner hands back to whoever opened it. Both are optional: the defaults do
// nothing, as an opener that does not implement them hears nothing.
class ItemScanDelegate {
public:
    virtual ~ItemScanDelegate() = default;
    // One code; the empty string when the user leaves single mode without one.
    virtual void ItemScanStr(const std::string& /*code*/) {}
    // Batch mode's codes, each once, in the order they were last scanned.
    virtual void ItemScanArry(const std::vector<std::string>& /*codes*/) {}
};
