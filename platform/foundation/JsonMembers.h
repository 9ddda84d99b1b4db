#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/JsonFwd.h"
#include "platform/foundation/JsonKeyHash.h"

namespace platform {

// The members of a Json object, in the order they were added: replies, stored files and the
// documents sent to peers keep the order they came in. Past a handful of members a hash index
// finds a key, so adding a member or looking one up costs the same however many there are
// (a plain ordered list searched on every insert made a reply of 100k members take minutes).
//
// Member names come from outside, so the index must hold up against names chosen to collide:
// they are hashed with a key nobody outside the process knows (JsonKeyHash.h), and no key is
// filed further than kMaxProbe slots from where its hash points. A key that would be is taken
// as a sign that this index's hash is unlucky with these names, and the index is built again
// under a fresh salt (and, should that keep failing, with more room). So a lookup visits at
// most kMaxProbe slots, whatever the names. (Only a hash that ignores its key and salt could
// keep failing; after kMaxRebuilds the index then stops bounding its runs rather than grow
// without end. `Hasher` is that hash, JsonKeyHasher for every document.)
//
// The index is kept up to date by every member function that changes the list, never by a
// const one, so a document may be read from several threads at once as before. The vector's
// own ways to add or remove elements behind the index's back are not offered.
//
// Same rules as nlohmann's ordered_map, which this replaces: adding a key that is there leaves
// the member as it is; a key is found in its first place.
template <class Key, class T, class IgnoredLess, class Allocator, class Hasher>
class JsonMembers : public std::vector<std::pair<const Key, T>, Allocator> {
public:
    using key_type = Key;
    using mapped_type = T;
    using Container = std::vector<std::pair<const Key, T>, Allocator>;
    using iterator = typename Container::iterator;
    using const_iterator = typename Container::const_iterator;
    using size_type = typename Container::size_type;
    using value_type = typename Container::value_type;
    using key_compare = std::equal_to<>;

    // Below this many members a linear search is as fast as hashing, and small records (most
    // of them) carry no index.
    static constexpr size_type kIndexedFrom = 8;
    // With at most half of the slots full and a hash the names cannot aim, a key lands this far
    // from its slot about once in 10^11 insertions, so rebuilding for it costs nothing in
    // practice.
    static constexpr size_type kMaxProbe = 128;
    static constexpr int kMaxRebuilds = 8;

    JsonMembers() noexcept(noexcept(Container())) : Container{} {}
    explicit JsonMembers(const Allocator& alloc) noexcept(noexcept(Container(alloc)))
        : Container{alloc} {}
    template <class It>
    JsonMembers(It first, It last, const Allocator& alloc = Allocator())
        : Container{first, last, alloc} {
        reindex();
    }
    JsonMembers(std::initializer_list<value_type> init, const Allocator& alloc = Allocator())
        : Container{init, alloc} {
        reindex();
    }

    template <class K, class V>
    std::pair<iterator, bool> emplace(K&& key, V&& value) {
        const std::string_view name(key);
        if (const auto at = position(name); at != npos)
            return {this->begin() + static_cast<std::ptrdiff_t>(at), false};
        Container::emplace_back(std::forward<K>(key), std::forward<V>(value));
        indexLast();
        return {std::prev(this->end()), true};
    }

    template <class K>
    T& operator[](K&& key) {
        return emplace(std::forward<K>(key), T{}).first->second;
    }
    const T& operator[](std::string_view key) const { return at(key); }

    T& at(std::string_view key) {
        const auto at = position(key);
        if (at == npos)
            throw std::out_of_range("key not found");
        return Container::operator[](at).second;
    }
    const T& at(std::string_view key) const {
        const auto at = position(key);
        if (at == npos)
            throw std::out_of_range("key not found");
        return Container::operator[](at).second;
    }

    size_type count(std::string_view key) const { return position(key) == npos ? 0 : 1; }

    iterator find(std::string_view key) {
        const auto at = position(key);
        return at == npos ? this->end() : this->begin() + static_cast<std::ptrdiff_t>(at);
    }
    const_iterator find(std::string_view key) const {
        const auto at = position(key);
        return at == npos ? this->end() : this->begin() + static_cast<std::ptrdiff_t>(at);
    }

    size_type erase(std::string_view key) {
        const auto it = find(key);
        if (it == this->end())
            return 0;
        erase(it);
        return 1;
    }
    iterator erase(iterator pos) { return erase(pos, std::next(pos)); }
    iterator erase(iterator first, iterator last) {
        if (first == last)
            return first;
        const auto removed = std::distance(first, last);
        const auto offset = std::distance(this->begin(), first);
        // Keys are const, so the members after the gap are rebuilt in place one step down.
        for (auto it = first; std::next(it, removed) != this->end(); ++it) {
            it->~value_type();
            new (&*it) value_type{std::move(*std::next(it, removed))};
        }
        Container::resize(this->size() - static_cast<size_type>(removed));
        reindex();
        return this->begin() + offset;
    }

    // Room for the count of members, in the list and in the index, so a document of known
    // size is built without moving its members or rehashing.
    void reserve(size_type count) {
        Container::reserve(count);
        if (count >= kIndexedFrom && count * 2 > m_slots.size())
            reindex(count);
    }

    void clear() noexcept {
        Container::clear();
        m_slots.clear();
    }
    void swap(JsonMembers& other) noexcept {
        Container::swap(other);
        m_slots.swap(other.m_slots);
        std::swap(m_salt, other.m_salt);
        std::swap(m_unbounded, other.m_unbounded);
    }

    std::pair<iterator, bool> insert(value_type&& value) {
        return emplace(value.first, std::move(value.second));
    }
    std::pair<iterator, bool> insert(const value_type& value) {
        return emplace(value.first, value.second);
    }
    template <
        class InputIt,
        class = std::enable_if_t<std::is_convertible_v<
            typename std::iterator_traits<InputIt>::iterator_category, std::input_iterator_tag>>>
    void insert(InputIt first, InputIt last) {
        for (auto it = first; it != last; ++it) insert(*it);
    }

private:
    // Changing the list behind the index's back is not offered.
    using Container::assign;
    using Container::emplace_back;
    using Container::pop_back;
    using Container::push_back;
    using Container::resize;

    static constexpr size_type npos = static_cast<size_type>(-1);

    // A slot holds the upper half of the key's hash over (position + 1) in the lower half, 0
    // when empty; comparing the hash halves first spares most visits to the keys themselves.
    // At most half of the slots are full.
    using Slot = std::uint64_t;

    Slot hashOf(std::string_view key) const { return Hasher::hash(key, m_salt); }
    static Slot tag(Slot hash) { return hash & ~Slot{0xffffffff}; }

    std::string_view keyAt(size_type at) const { return Container::operator[](at).first; }

    // Where the key stands, or npos.
    size_type position(std::string_view key) const {
        if (m_slots.empty()) {
            for (size_type at = 0; at < this->size(); ++at)
                if (keyAt(at) == key)
                    return at;
            return npos;
        }
        const Slot hash = hashOf(key);
        const size_type mask = m_slots.size() - 1;
        // No key stands further than kMaxProbe from its slot.
        size_type slot = hash & mask;
        const size_type bound = m_unbounded ? m_slots.size() : kMaxProbe;
        for (size_type step = 0; step < bound && m_slots[slot] != 0; ++step) {
            const Slot entry = m_slots[slot];
            if (tag(entry) == tag(hash) && keyAt((entry & 0xffffffff) - 1) == key)
                return (entry & 0xffffffff) - 1;
            slot = (slot + 1) & mask;
        }
        return npos;
    }

    // Files the member in the index; false (nothing filed) when its place would be further
    // than kMaxProbe from its slot.
    bool place(size_type at) {
        const std::string_view key = keyAt(at);
        const Slot hash = hashOf(key);
        const size_type mask = m_slots.size() - 1;
        size_type slot = hash & mask;
        for (size_type step = 0; m_slots[slot] != 0; ++step) {
            const Slot entry = m_slots[slot];
            // A repeated key (a list made from a range) is found in its first place.
            if (tag(entry) == tag(hash) && keyAt((entry & 0xffffffff) - 1) == key)
                return true;
            if (step + 1 >= kMaxProbe && !m_unbounded)
                return false;
            slot = (slot + 1) & mask;
        }
        m_slots[slot] = tag(hash) | Slot(at + 1);
        return true;
    }

    // An index with room for the count (none for a small list), holding every member.
    void reindex(size_type room = 0) {
        room = std::max(room, this->size());
        m_slots.clear();
        m_unbounded = false;
        if (room < kIndexedFrom)
            return;
        if (room >= 0xffffffff)
            throw std::length_error("too many members");
        size_type slots = 16;
        while (slots < room * 2) slots *= 2;
        for (int attempt = 1;; ++attempt) {
            m_slots.assign(slots, 0);
            size_type at = 0;
            while (at < this->size() && place(at)) ++at;
            if (at == this->size())
                return;
            // The names crowd under this salt: another one scatters them afresh, and every
            // second failure gives them more room as well.
            m_salt = Hasher::freshSalt();
            if (attempt % 2 == 0)
                slots *= 2;
            m_unbounded = attempt >= kMaxRebuilds;
        }
    }

    // The member just added at the end joins the index.
    void indexLast() {
        if (m_slots.empty() && this->size() < kIndexedFrom)
            return;
        if (m_slots.empty() || this->size() * 2 > m_slots.size()) {
            reindex(this->size() * 2);
        } else if (!place(this->size() - 1)) {
            m_salt = Hasher::freshSalt();
            reindex(m_slots.size() / 2);
        }
    }

    std::vector<Slot> m_slots;
    // Mixed into the hash's process-wide key; changed only when the names crowd under it.
    std::uint64_t m_salt = 0;
    // Set only when kMaxRebuilds could not bring every key within kMaxProbe of its slot.
    bool m_unbounded = false;
};

}  // namespace platform
