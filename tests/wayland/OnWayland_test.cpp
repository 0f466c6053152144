// The program on a Wayland compositor (weston, headless): the day's work done as on X11, with
// no part of it reaching for the X display.

#include "tests/support/FrameFixture.h"

#include <QGuiApplication>

namespace {

using namespace gridUser;

class OnWaylandTest : public FrameInputTest {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        setenv("QLN_NOW", "2026-12-07T09:00:00Z", 1);
        FrameInputTest::SetUp();
    }
    void TearDown() override {
        unsetenv("QLN_NOW");
        FrameInputTest::TearDown();
    }
};

TEST_F(OnWaylandTest, AnEntryAndATimerAreTypedTimedAndSaved) {
    ASSERT_EQ(QGuiApplication::platformName(), "wayland");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    enter(input, rowShowing(input, "Sleep"), hoursColumn(input), "7:30");
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(frame->timer().running());
    setenv("QLN_NOW", "2026-12-07T10:30:00Z", 1);
    key(input, Qt::Key_T, Qt::ControlModifier);
    ASSERT_FALSE(frame->timer().running());
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();

    const std::string plan = app.dataFilePath().toStdString();
    CHrplDoc stored{app.core()};
    ASSERT_EQ(stored.loadInMemory(plan), CHrplDoc::LoadResult::Loaded);
    EXPECT_NEAR(stored.plan().dayHours("20261206", 3, 2), 7.5, 1e-6); // Monday's sleep
    EXPECT_NEAR(stored.plan().dayHours("20261206", 4, 2), 1.5, 1e-6); // and the timed reading
    // The same as another program reads it.
    const ToolRun report = runTool({"export", plan, "--csv", "-", "--today", "2026-12-08"});
    EXPECT_EQ(report.exitCode, 0) << report.err;
    EXPECT_NE(report.out.find("2026-12-07,Sleep,7.5,day"), std::string::npos) << report.out;
    EXPECT_NE(report.out.find("2026-12-07,Reading,1.5,day"), std::string::npos) << report.out;
}

} // namespace
