// The main window's side of the coordination: what it writes into the shared block when it
// goes on top, drops from top, is minimised, clicked and closed.

#include "app/CFrameCoordinator.h"

#include "companion/CCompanionBlock.h"
#include "companion/CTpBttmCrdntr.h"
#include "companion/CTpBttmCrdntrDtchd.h"
#include "companion/CTpBttmCrdntrHldr.h"
#include "tests/support/AppFixtures.h"
#include "views/CHrplView.h"
#include "views/CVCF1.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class FrameCoordinatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        CTpBttmCrdntr::resetProcessState();
        ASSERT_TRUE(block.isValid());
        window->resize(300, 200);
        coordinator = new CFrameCoordinator{*window, true, true, block.duplicate()};
        window->show();
        coordinator->start();
    }

    char own() const { return block.byteAt(CCompanionBlock::kProgramOffset); }

    CCompanionBlock block;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    CFrameCoordinator* coordinator = nullptr;
};

TEST_F(FrameCoordinatorTest, StartingFirstPutsTheWindowOnTopEverySecond) {
    EXPECT_TRUE(coordinator->isTopmost());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(coordinator->armed());
    EXPECT_TRUE(coordinator->timerRunning());
    EXPECT_EQ(coordinator->holder().phase(), CTpBttmCrdntrDtchd::kStarting);
    coordinator->timerTick();
    EXPECT_TRUE(coordinator->armed()); // nobody took over: still re-asserted
    // The companion announces the take-over: the next tick ends the topmost phase.
    block.setByte(CCompanionBlock::kTakeoverOffset, '1');
    coordinator->timerTick();
    EXPECT_FALSE(coordinator->armed());
    EXPECT_FALSE(coordinator->timerRunning());
    EXPECT_EQ(coordinator->holder().phase(), CTpBttmCrdntrDtchd::kRunning);
}

TEST_F(FrameCoordinatorTest, AClickTakesControlAndAnnouncesIt) {
    QTest::mouseClick(window.get(), Qt::LeftButton);
    EXPECT_FALSE(coordinator->armed());
    EXPECT_EQ(coordinator->holder().phase(), CTpBttmCrdntrDtchd::kRunning);
    EXPECT_EQ(block.byteAt(CCompanionBlock::kTakeoverOffset), '1');
    // Running: going on top and dropping from top are written to this program's flag.
    coordinator->goOnTop();
    EXPECT_EQ(own(), '1');
    EXPECT_TRUE(coordinator->isTopmost());
    coordinator->dropFromTop();
    EXPECT_EQ(own(), '0');
    EXPECT_FALSE(coordinator->isTopmost());
}

TEST_F(FrameCoordinatorTest, MinimisingDropsFromTopAndClosingSwitchesTheFlagOff) {
    block.setByte(CCompanionBlock::kCompanionOffset, '1'); // the companion runs on
    QTest::mouseClick(window.get(), Qt::LeftButton);
    coordinator->goOnTop();
    ASSERT_EQ(own(), '1');
    window->showMinimized();
    QApplication::processEvents();
    EXPECT_EQ(own(), '0');
    EXPECT_FALSE(coordinator->isTopmost());
    EXPECT_EQ(coordinator->holder().phase(), CTpBttmCrdntrDtchd::kRunning);

    coordinator->goOnTop();
    ASSERT_EQ(own(), '1');
    window.reset(); // the window goes away with its coordinator
    EXPECT_EQ(own(), '0');
}

TEST_F(StartUpTest, TheLaunchersSwitchAloneMakesATopmostWindowWithoutCoordination) {
    lastRunYesterday();
    CHrplApp app{sink};
    ASSERT_TRUE(start(app, {"-qln"}));
    ASSERT_TRUE(app.createMainWindow());
    CFrameCoordinator& coordinator = app.mainFrame()->coordinator();
    EXPECT_TRUE(app.mainFrame()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(coordinator.timerRunning());
    EXPECT_FALSE(coordinator.holder().hasAttached());
    EXPECT_EQ(coordinator.holder().phase(), CTpBttmCrdntrDtchd::kFinished);
    // The user's first click leaves the top.
    QTest::mouseClick(app.mainFrame()->view()->grid(CHrplView::Pane::Input)->viewport(),
                      Qt::LeftButton);
    EXPECT_FALSE(app.mainFrame()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(app.mainFrame()->isVisible());
}

TEST_F(StartUpTest, BothSwitchesWithABlockStartOnTopAndCloseWithTheFlagOff) {
    lastRunYesterday();
    CTpBttmCrdntr::resetProcessState();
    CCompanionBlock block;
    CHrplApp app{sink};
    ASSERT_TRUE(start(app, {"-qln", QString::number(block.duplicate()), "-rmndr"}));
    ASSERT_TRUE(app.createMainWindow());
    CFrameCoordinator& coordinator = app.mainFrame()->coordinator();
    EXPECT_TRUE(coordinator.timerRunning());
    EXPECT_TRUE(coordinator.isTopmost());
    // Help leaves the top for good.
    QTest::keyClick(app.mainFrame(), Qt::Key_F1);
    EXPECT_FALSE(coordinator.isTopmost());
    EXPECT_FALSE(coordinator.timerRunning());
    EXPECT_EQ(block.byteAt(CCompanionBlock::kTakeoverOffset), '1');
    coordinator.goOnTop();
    EXPECT_EQ(block.byteAt(CCompanionBlock::kProgramOffset), '1');
    app.mainFrame()->close();
    EXPECT_EQ(block.byteAt(CCompanionBlock::kProgramOffset), '0');
}

} // namespace
