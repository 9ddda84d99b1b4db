#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SHSFriendEntity;

// The friend picker's sections: the recently mentioned friends on top, then the friends by
// the first letter of their pinyin, "A" to "Z", and the catch-all group.
class SHSocialFriendSections {
public:
    static constexpr std::size_t kRecentShown = 5;
    struct Section {
        std::string title;
        std::vector<std::shared_ptr<SHSFriendEntity>> friends;
    };

    // `friends` in the user manager's order; `recent` oldest first.
    static SHSocialFriendSections build(
        const std::vector<std::shared_ptr<SHSFriendEntity>>& friends,
        const std::vector<std::shared_ptr<SHSFriendEntity>>& recent);

    const std::vector<Section>& sections() const { return m_sections; }
    std::vector<std::string> indexTitles() const;
    // The section an index title names, found by its title; nullopt when none has it.
    std::optional<std::size_t> sectionForIndexTitle(const std::string& title) const;
    // The recent list after the friend at (section, row) is picked: an entry of the same
    // friend shown in the recent group moves to the end (newest) without a second entry.
    std::vector<std::shared_ptr<SHSFriendEntity>> recentAfterPicking(
        std::size_t section, std::size_t row,
        std::vector<std::shared_ptr<SHSFriendEntity>> recent) const;
    // The same for a friend picked anywhere (a search result): it is looked for by usid
    // among the friends the recent group shows.
    std::vector<std::shared_ptr<SHSFriendEntity>> recentAfterPicking(
        const std::shared_ptr<SHSFriendEntity>& picked,
        std::vector<std::shared_ptr<SHSFriendEntity>> recent) const;
    // "@" and the friend's link name, for the edit screen.
    static std::string mentionText(const SHSFriendEntity& picked);

    static std::string recentTitle();
    static std::string otherTitle();

private:
    std::vector<Section> m_sections;
};
