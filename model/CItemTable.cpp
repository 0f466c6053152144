#include "model/CItemTable.h"

CActivityItem& CItemTable::put(std::uint16_t itemId, std::unique_ptr<CActivityItem> item) {
    CActivityItem& stored = *item;
    m_items[itemId] = std::move(item);
    if (itemId >= m_index.size())
        m_index.resize(static_cast<std::size_t>(itemId) + 1, nullptr);
    m_index[itemId] = &stored;
    return stored;
}

void CItemTable::erase(std::uint16_t itemId) {
    m_items.erase(itemId);
    if (itemId < m_index.size())
        m_index[itemId] = nullptr;
}

void CItemTable::clear() {
    m_items.clear();
    m_index.clear();
}

void CItemTable::swap(CItemTable& other) noexcept {
    m_items.swap(other.m_items);
    m_index.swap(other.m_index);
}
