#pragma once

#include "model/CActivityItem.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

// The plan's items by identifier, iterated in identifier order (the order they are written
// in), with a direct index beside the ordered map: walks look items up by identifier for
// every row, and a tree search each time was a fifth of a typed entry's cost.
class CItemTable {
public:
    using Map = std::map<std::uint16_t, std::unique_ptr<CActivityItem>>;

    Map::iterator begin() { return m_items.begin(); }
    Map::iterator end() { return m_items.end(); }
    Map::const_iterator begin() const { return m_items.begin(); }
    Map::const_iterator end() const { return m_items.end(); }
    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }

    // The item with the identifier, or null.
    CActivityItem* find(std::uint16_t itemId) const {
        return itemId < m_index.size() ? m_index[itemId] : nullptr;
    }
    // Stores the item under the identifier, replacing any item there.
    CActivityItem& put(std::uint16_t itemId, std::unique_ptr<CActivityItem> item);
    void erase(std::uint16_t itemId);
    void clear();
    void swap(CItemTable& other) noexcept;

private:
    Map m_items;
    std::vector<CActivityItem*> m_index; // by identifier, up to the highest one stored
};
