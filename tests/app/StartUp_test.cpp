// The window as it first comes up: an empty plan, and the first run's question.

#include "tests/support/FrameFixture.h"

namespace {

using namespace gridUser;

// The root is never an activity: an empty plan's activities pane has its titles only, and
// nothing there starts a timer.
TEST_F(FileCommandsTest, AnEmptyPlanListsNoActivityAndNothingThereStartsATimer) {
    ASSERT_TRUE(app.document()->plan().root()->children.empty());
    CVCF1* activities = frame->view()->grid(CHrplView::Pane::Activities);
    EXPECT_EQ(activities->lastUsedRow(), 2);
    click(activities, 3, 1);
    key(activities, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(frame->timer().running());
    EXPECT_EQ(sink.texts.size(), 1u); // "To start a timer, activate a cell in the row of ..."
    EXPECT_FALSE(frame->timer().start(CQLData::kRootId));
    EXPECT_EQ(sink.texts.back(), CHoursLedger::kDivisionInput);
    EXPECT_TRUE(app.document()->plan().averagedWeeks.empty());
}

TEST_F(StartUpTest, TheFirstRunQuestionBelongsToTheMainWindow) {
    lastRunYesterday();
    CHrplApp app{sink};
    CHrplApp::Environment env = environment();
    env.host = nullptr; // the program's own question
    ASSERT_TRUE(app.initInstance(env));
    QWidget* owner = nullptr;
    whenShown<CFrstSrtpChs>([&owner](CFrstSrtpChs* question) {
        owner = question->parentWidget();
        buttonOf(question, "No")->click();
    });
    ASSERT_TRUE(app.createMainWindow());
    EXPECT_EQ(owner, app.mainFrame());
}

} // namespace
