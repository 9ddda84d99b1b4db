#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The buttons of an alert view or action sheet, by index in the order they were added.
class AlertButtons {
public:
    const std::vector<std::string>& titles() const { return m_titles; }
    int count() const { return int(m_titles.size()); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    // Returns the new button's index.
    int add(std::string title) {
        m_titles.push_back(std::move(title));
        return count() - 1;
    }
    // "" for an index that is not a button.
    std::string titleAt(int index) const { return contains(index) ? m_titles[size_t(index)] : ""; }
    // The index when it names a button, else -1 (for a button role that none has).
    int indexOrNone(int index) const { return contains(index) ? index : -1; }
    // The first button without a role, given the roles' indexes; -1 when there is none.
    int firstIndexOtherThan(std::initializer_list<int> roles) const {
        for (int i = 0; i < count(); ++i) {
            bool hasRole = false;
            for (int role : roles) {
                hasRole = hasRole || role == i;
            }
            if (!hasRole) {
                return i;
            }
        }
        return -1;
    }

private:
    std::vector<std::string> m_titles;
};

}  // namespace platform
