#include "model/CHelperLibrary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <dlfcn.h>
#include <limits>

namespace {

class SortOrderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.load(QLN_LIBRARY_DIR)); }
    CHelperLibrary library;
};

using Order = std::vector<int>;

TEST_F(SortOrderTest, StringsAscendWithEqualKeysInInputOrder) {
    EXPECT_EQ(library.sortStrings({"b", "a", "a"}), (Order{1, 2, 0}));
    EXPECT_EQ(library.sortStrings({"x"}), (Order{0}));
    EXPECT_EQ(library.sortStrings({}), (Order{}));
}

TEST_F(SortOrderTest, StringsCompareAsUnsignedBytes) {
    // Upper case before lower case; a prefix before the longer text; bytes above 0x7F last.
    EXPECT_EQ(library.sortStrings({"Zeta", "alpha"}), (Order{0, 1}));
    EXPECT_EQ(library.sortStrings({"abc", "ab", "\xC3\xA9t\xC3\xA9", "b"}), (Order{1, 0, 3, 2}));
}

TEST_F(SortOrderTest, ValuesDescendWithLaterIndexFirstAmongEquals) {
    EXPECT_EQ(library.sortValuesDescending({2.0, 5.0, 2.0, 7.0}), (Order{3, 1, 2, 0}));
    EXPECT_EQ(library.sortValuesDescending({1.0}), (Order{0}));
}

TEST_F(SortOrderTest, NaNValuesSortLastWithoutDisturbingTheRest) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(library.sortValuesDescending({nan, 3.0, nan, 9.0}), (Order{3, 1, 2, 0}));
}

TEST_F(SortOrderTest, NonPositiveCountWritesNothing) {
    auto sort = reinterpret_cast<void (*)(int*, double*, int)>(dlsym(library.handle(), "PVASrt"));
    ASSERT_NE(sort, nullptr);
    int out[2] = {-7, -7};
    double in[2] = {1.0, 2.0};
    sort(out, in, 0);
    sort(out, in, -3);
    EXPECT_EQ(out[0], -7);
    EXPECT_EQ(out[1], -7);
}

TEST(HelperLibraryLoad, RefusesAMissingLibrary) {
    CHelperLibrary library;
    EXPECT_FALSE(library.load("/nonexistent-directory"));
    EXPECT_FALSE(library.isLoaded());
}

} // namespace
