// The item table's direct index against its ordered content after any mix of operations.

#include "model/CItemTable.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::unique_ptr<CActivityItem> itemNumbered(std::uint16_t id) {
    return std::make_unique<CActivityItem>(id, "20261208");
}

// Every identifier finds exactly the item the ordered content holds for it, or none.
void expectIndexMatchesContent(const CItemTable& table) {
    std::size_t found = 0;
    for (std::uint32_t id = 0; id <= 0xFFFF; ++id) {
        const CActivityItem* item = table.find(static_cast<std::uint16_t>(id));
        if (!item)
            continue;
        ++found;
        ASSERT_EQ(item->id, static_cast<std::int32_t>(id));
    }
    EXPECT_EQ(found, table.size());
    for (const auto& [id, item] : table)
        EXPECT_EQ(table.find(id), item.get());
}

TEST(CItemTableTest, LookupsFollowPutsErasesClearsAndSwaps) {
    std::mt19937 random{5};
    std::uniform_int_distribution<int> key{0, 300};
    std::uniform_int_distribution<int> operation{0, 9};
    CItemTable table;
    CItemTable other;
    for (int step = 0; step < 5000; ++step) {
        const auto id = static_cast<std::uint16_t>(key(random));
        switch (operation(random)) {
        case 0:
            table.erase(id);
            break;
        case 1:
            if (step % 500 == 0)
                table.clear();
            break;
        case 2:
            if (step % 250 == 0)
                table.swap(other);
            break;
        default:
            table.put(id, itemNumbered(id)); // replaces an item stored there
        }
    }
    expectIndexMatchesContent(table);
    expectIndexMatchesContent(other);
    table.put(0xFFFF, itemNumbered(0xFFFF));
    EXPECT_EQ(table.find(0xFFFF)->id, 0xFFFF);
    table.erase(0xFFFF);
    EXPECT_EQ(table.find(0xFFFF), nullptr);
}

} // namespace
