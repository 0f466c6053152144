// The sorted-array map against std::map: the same content after any mix of operations.

#include "model/CFlatMap.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

namespace {

using Flat = CFlatMap<std::uint16_t, int>;

std::vector<std::pair<std::uint16_t, int>> contentOf(const Flat& flat) {
    return {flat.begin(), flat.end()};
}

std::vector<std::pair<std::uint16_t, int>> contentOf(const std::map<std::uint16_t, int>& tree) {
    return {tree.begin(), tree.end()};
}

TEST(CFlatMapTest, RandomOperationsMatchATreeMap) {
    std::mt19937 random{11};
    std::uniform_int_distribution<int> key{0, 60};
    std::uniform_int_distribution<int> operation{0, 5};
    Flat flat;
    std::map<std::uint16_t, int> tree;
    for (int step = 0; step < 20000; ++step) {
        const auto k = static_cast<std::uint16_t>(key(random));
        switch (operation(random)) {
        case 0:
            flat[k] += step;
            tree[k] += step;
            break;
        case 1: { // a hint that is right about half of the time
            const auto hint = std::next(flat.begin(), static_cast<long>(flat.size() / 2));
            flat.try_emplace(hint, k)->second = step;
            tree.try_emplace(k).first->second = step;
            break;
        }
        case 2:
            EXPECT_EQ(flat.erase(k), tree.erase(k));
            break;
        case 3:
            EXPECT_EQ(flat.count(k), tree.count(k));
            EXPECT_EQ(flat.find(k) == flat.end(), tree.find(k) == tree.end());
            break;
        case 4: {
            std::vector<std::uint16_t> keys{k, static_cast<std::uint16_t>(k + 3),
                                            static_cast<std::uint16_t>(k + 3),
                                            static_cast<std::uint16_t>(k + 9)};
            flat.addMissing(keys);
            for (const std::uint16_t added : keys)
                tree.try_emplace(added);
            break;
        }
        default:
            if (step % 50 == 0) {
                flat.clear();
                tree.clear();
            }
        }
        ASSERT_EQ(contentOf(flat), contentOf(tree)) << "step " << step;
    }
}

TEST(CFlatMapTest, AssignSortsAndTheLastOfARepeatedKeyCounts) {
    Flat flat;
    flat.assign({{9, 1}, {2, 2}, {9, 3}, {5, 4}, {2, 5}, {7, 6}});
    EXPECT_EQ(contentOf(flat),
              (std::vector<std::pair<std::uint16_t, int>>{{2, 5}, {5, 4}, {7, 6}, {9, 3}}));
    flat.assign({{1, 1}, {4, 2}, {8, 3}});
    EXPECT_EQ(contentOf(flat),
              (std::vector<std::pair<std::uint16_t, int>>{{1, 1}, {4, 2}, {8, 3}}));
    EXPECT_EQ(flat.at(4), 2);
    EXPECT_THROW(flat.at(5), std::out_of_range);

    // Values that own memory survive being moved within the array.
    CFlatMap<int, std::vector<int>> lists;
    lists.assign({{3, {1, 2}}, {1, {3}}, {3, {4, 5, 6}}});
    EXPECT_EQ(lists.at(3), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(lists.at(1), (std::vector<int>{3}));
}

} // namespace
