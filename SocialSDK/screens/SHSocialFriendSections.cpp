#include "SocialSDK/screens/SHSocialFriendSections.h"

#include <strings.h>

#include <algorithm>
#include <cctype>

#include "SocialSDK/service/SHSFriendEntity.h"
#include "SocialSDK/service/SHSocialLocalized.h"

std::string SHSocialFriendSections::recentTitle() {
    return SHSocialLocalizedString("shareEdit_used", "常");
}

std::string SHSocialFriendSections::otherTitle() {
    return SHSocialLocalizedString("shareEdit_C", "符");
}

SHSocialFriendSections SHSocialFriendSections::build(
    const std::vector<std::shared_ptr<SHSFriendEntity>>& friends,
    const std::vector<std::shared_ptr<SHSFriendEntity>>& recent) {
    SHSocialFriendSections result;
    std::map<std::string, Section> byTitle;
    // A friend without pinyin is skipped on its own; the friends after it are still grouped.
    for (const auto& entry : friends) {
        if (!entry || !entry->pinyin)
            continue;
        std::string title = otherTitle();
        if (!entry->pinyin->empty()) {
            char first = char(std::toupper(static_cast<unsigned char>((*entry->pinyin)[0])));
            if (first >= 'A' && first <= 'Z')
                title = std::string(1, first);
        }
        auto& section = byTitle[title];
        section.title = title;
        section.friends.push_back(entry);
    }
    for (auto& [title, section] : byTitle) result.m_sections.push_back(std::move(section));
    std::stable_sort(result.m_sections.begin(), result.m_sections.end(),
                     [](const Section& a, const Section& b) {
                         return strcasecmp(a.title.c_str(), b.title.c_str()) < 0;
                     });
    if (!recent.empty()) {
        Section newest{recentTitle(), {}};
        for (auto it = recent.rbegin(); it != recent.rend() && newest.friends.size() < kRecentShown;
             ++it)
            newest.friends.push_back(*it);
        result.m_sections.insert(result.m_sections.begin(), std::move(newest));
    }
    return result;
}

std::vector<std::string> SHSocialFriendSections::indexTitles() const {
    std::vector<std::string> titles;
    auto has = [this](const std::string& title) { return sectionForIndexTitle(title).has_value(); };
    if (has(recentTitle()))
        titles.push_back(recentTitle());
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (has(std::string(1, letter)))
            titles.emplace_back(1, letter);
    }
    if (has(otherTitle()))
        titles.push_back(otherTitle());
    return titles;
}

std::optional<std::size_t> SHSocialFriendSections::sectionForIndexTitle(
    const std::string& title) const {
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (m_sections[i].title == title)
            return i;
    }
    return std::nullopt;
}

std::vector<std::shared_ptr<SHSFriendEntity>> SHSocialFriendSections::recentAfterPicking(
    std::size_t section, std::size_t row,
    std::vector<std::shared_ptr<SHSFriendEntity>> recent) const {
    if (section >= m_sections.size() || row >= m_sections[section].friends.size())
        return recent;
    return recentAfterPicking(m_sections[section].friends[row], std::move(recent));
}

std::vector<std::shared_ptr<SHSFriendEntity>> SHSocialFriendSections::recentAfterPicking(
    const std::shared_ptr<SHSFriendEntity>& picked,
    std::vector<std::shared_ptr<SHSFriendEntity>> recent) const {
    if (!picked)
        return recent;
    if (!m_sections.empty() && m_sections.front().title == recentTitle() && picked->usid) {
        const auto& shown = m_sections.front().friends;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] && shown[i]->usid == picked->usid) {
                // Shown at position i (0 newest) is the stored entry size - 1 - i; a list
                // changed since the sections were built loses no other friend.
                if (i < recent.size()) {
                    const auto stored = recent.end() - 1 - std::ptrdiff_t(i);
                    if (*stored && (*stored)->usid == picked->usid)
                        recent.erase(stored);
                }
                break;
            }
        }
    }
    recent.push_back(picked);
    return recent;
}

std::string SHSocialFriendSections::mentionText(const SHSFriendEntity& picked) {
    return "@" + picked.linkName.value_or("");
}
