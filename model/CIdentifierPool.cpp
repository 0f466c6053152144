#include "model/CIdentifierPool.h"

#include "model/CQLData.h"

namespace {

constexpr std::uint32_t kSpace = 0x10000;

void mark(std::vector<bool>& set, std::int32_t id) {
    if (id >= 0 && static_cast<std::uint32_t>(id) < kSpace)
        set[static_cast<std::size_t>(id)] = true;
}

} // namespace

CIdentifierPool::CIdentifierPool(const CQLData& plan)
    : m_taken(kSpace, false), m_referenced(kSpace, false) {
    for (const auto& [key, item] : plan.items) {
        m_taken[key] = true;
        mark(m_referenced, item->id);
        mark(m_referenced, item->parentId);
        for (const IntegerMy& child : item->children)
            mark(m_referenced, child.value());
    }
}

std::optional<std::uint16_t> CIdentifierPool::next() {
    while (m_cursor < kSpace && m_taken[m_cursor])
        ++m_cursor;
    if (m_cursor >= kSpace || m_referenced[m_cursor])
        return std::nullopt;
    m_taken[m_cursor] = true;
    return static_cast<std::uint16_t>(m_cursor);
}
