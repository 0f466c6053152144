#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <utility>
#include <vector>

// An ordered map kept as one sorted array. A week of sets, or a set of days, is read, walked
// and looked up far more often than changed, and a tree node per entry cost more memory and
// page faults than the entries themselves. Inserting moves the later entries, so code that
// adds many keys in no particular order collects them and assigns them at once. Unlike a tree
// map, any insertion invalidates references to the values.
template <typename Key, typename Value> class CFlatMap {
public:
    using value_type = std::pair<Key, Value>;
    using iterator = typename std::vector<value_type>::iterator;
    using const_iterator = typename std::vector<value_type>::const_iterator;

    iterator begin() { return m_entries.begin(); }
    iterator end() { return m_entries.end(); }
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }

    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }
    void clear() { m_entries.clear(); }
    void reserve(std::size_t count) { m_entries.reserve(count); }

    iterator lower_bound(const Key& key) {
        return std::lower_bound(m_entries.begin(), m_entries.end(), key, keyBelow);
    }
    const_iterator lower_bound(const Key& key) const {
        return std::lower_bound(m_entries.begin(), m_entries.end(), key, keyBelow);
    }
    iterator find(const Key& key) {
        const iterator it = lower_bound(key);
        return it != end() && it->first == key ? it : end();
    }
    const_iterator find(const Key& key) const {
        const const_iterator it = lower_bound(key);
        return it != end() && it->first == key ? it : end();
    }
    std::size_t count(const Key& key) const { return find(key) == end() ? 0 : 1; }
    const Value& at(const Key& key) const {
        const const_iterator it = find(key);
        if (it == end())
            throw std::out_of_range("no such key");
        return it->second;
    }

    // The key's value, added as a default value when missing.
    Value& operator[](const Key& key) { return try_emplace(key).first->second; }

    std::pair<iterator, bool> try_emplace(const Key& key) {
        const iterator it = lower_bound(key);
        if (it != end() && it->first == key)
            return {it, false};
        return {m_entries.emplace(it, key, Value{}), true};
    }

    // Constant time when the missing key belongs right before the hint, as when keys come in
    // order with the hint at the end.
    iterator try_emplace(const_iterator hint, const Key& key) {
        const bool beforeHint = hint == end() || key < hint->first;
        const bool afterPrevious = hint == begin() || std::prev(hint)->first < key;
        if (beforeHint && afterPrevious)
            return m_entries.emplace(hint, key, Value{});
        return try_emplace(key).first;
    }

    iterator erase(const_iterator it) { return m_entries.erase(it); }
    std::size_t erase(const Key& key) {
        const iterator it = find(key);
        if (it == end())
            return 0;
        m_entries.erase(it);
        return 1;
    }

    // Replaces the content with entries in any order; of entries with the same key the last
    // one counts, as assigning them one by one would do.
    void assign(std::vector<value_type> entries) {
        // Files list keys in order: then nothing is sorted and no key repeats.
        const auto notBelow = [](const value_type& a, const value_type& b) {
            return !(a.first < b.first);
        };
        if (std::adjacent_find(entries.begin(), entries.end(), notBelow) != entries.end())
            std::stable_sort(
                entries.begin(), entries.end(),
                [](const value_type& a, const value_type& b) { return a.first < b.first; });
        auto kept = entries.begin();
        for (auto run = entries.begin(); run != entries.end();) {
            auto next = std::next(run);
            while (next != entries.end() && next->first == run->first)
                ++next;
            if (kept != std::prev(next))
                *kept = std::move(*std::prev(next));
            ++kept;
            run = next;
        }
        entries.erase(kept, entries.end());
        m_entries = std::move(entries);
    }

    // Adds a default value for each of the sorted keys that is missing, in linear time.
    void addMissing(const std::vector<Key>& sortedKeys) {
        std::size_t missing = 0;
        auto it = m_entries.cbegin();
        for (const Key& key : sortedKeys) {
            while (it != m_entries.cend() && it->first < key)
                ++it;
            if (it == m_entries.cend() || key < it->first)
                ++missing;
        }
        if (missing == 0)
            return;
        std::vector<value_type> merged;
        merged.reserve(m_entries.size() + missing);
        auto old = m_entries.begin();
        for (const Key& key : sortedKeys) {
            while (old != m_entries.end() && old->first < key)
                merged.push_back(std::move(*old++));
            if (old != m_entries.end() && old->first == key)
                merged.push_back(std::move(*old++));
            else if (merged.empty() || merged.back().first < key)
                merged.emplace_back(key, Value{});
        }
        std::move(old, m_entries.end(), std::back_inserter(merged));
        m_entries = std::move(merged);
    }

    bool operator==(const CFlatMap&) const = default;

private:
    static bool keyBelow(const value_type& entry, const Key& key) { return entry.first < key; }

    std::vector<value_type> m_entries;
};
