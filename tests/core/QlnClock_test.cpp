// The clock's instants as text, and the fake clocks that tests and demonstrations move.

#include "core/QlnClock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

TEST(QlnClock, InstantsReadAndWriteAsUtcTextAndTheFakeClocksAreReadAtEveryCall) {
    const auto instant = qlnclock::parseIsoUtc("2026-12-08T09:05:07Z");
    ASSERT_TRUE(instant);
    EXPECT_EQ(qlnclock::isoUtc(*instant), "2026-12-08T09:05:07Z");
    for (const char* bad : {"", "2026-12-08T09:05:07", "2026-02-30T09:05:07Z",
                            "2026-12-08T24:00:00Z", "2026-12-08T09:05:07Zx", "yesterday"})
        EXPECT_FALSE(qlnclock::parseIsoUtc(bad)) << bad;
    EXPECT_EQ(qlnclock::hoursMinutes(90), "1:30");
    EXPECT_EQ(qlnclock::hoursMinutes(5), "0:05");

    const std::string file = testing::TempDir() + "qln_now";
    std::ofstream{file} << "2026-12-08T09:00:00Z\n";
    unsetenv("QLN_NOW");
    setenv("QLN_NOW_FILE", file.c_str(), 1);
    EXPECT_EQ(qlnclock::isoUtc(qlnclock::now()), "2026-12-08T09:00:00Z");
    std::ofstream{file} << "2026-12-08T10:30:00Z\n"; // the clock moved while running
    EXPECT_EQ(qlnclock::isoUtc(qlnclock::now()), "2026-12-08T10:30:00Z");
    setenv("QLN_NOW", "2026-12-09T00:00:01Z", 1); // the fixed instant comes first
    EXPECT_EQ(qlnclock::isoUtc(qlnclock::now()), "2026-12-09T00:00:01Z");
    unsetenv("QLN_NOW");
    unsetenv("QLN_NOW_FILE");
    std::remove(file.c_str());
}

} // namespace
