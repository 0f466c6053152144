// The live timer as a person runs it: the toolbar, the panes' menus, the tray, the questions
// it asks, a killed program, a night and a clock that jumps.

#include "tests/support/FrameFixture.h"

namespace {

using namespace gridUser;

// The clock as the program reads it, moved by the test.
void setNow(const char* iso) {
    setenv("QLN_NOW", iso, 1);
}

// The window's timer host with parts of it scripted by the test: each question, store or look
// at the idle time goes to the test's function where one is set, to the window otherwise.
struct ScriptedTimerHost : CTimerHost {
    CTimerHost* window = nullptr;
    std::function<Answer(const Question&)> answer;
    std::function<bool()> store;
    std::function<std::optional<long long>()> idle;

    Answer askAboutTimer(const Question& question) override {
        return answer ? answer(question) : window->askAboutTimer(question);
    }
    bool storePlanNow() override { return store ? store() : window->storePlanNow(); }
    std::optional<long long> idleSeconds() override {
        return idle ? idle() : window->idleSeconds();
    }
};

class LiveTimerTest : public FrameInputTest {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        setNow("2026-12-07T09:00:00Z");
        FrameInputTest::SetUp();
        planPath = app.dataFilePath().toStdString();
        // The program's questions about a timer, answered from the test's script (Keep when it
        // runs out, as a question left unanswered keeps the timer).
        timerHost.window = &frame->timerPresenter();
        timerHost.answer = [this](const CTimerControl::Question& question) {
            timerQuestions.push_back(question);
            if (timerAnswers.empty())
                return CTimerControl::Answer{};
            const CTimerControl::Answer answer = timerAnswers.front();
            timerAnswers.pop_front();
            return answer;
        };
        frame->timer().setHost(&timerHost);
    }
    void TearDown() override {
        if (frame)
            frame->timer().setHost(&frame->timerPresenter());
        unsetenv("QLN_NOW");
        FrameInputTest::TearDown();
    }
    // The timer's shown minutes follow the clock within a second.
    void waitForShown(const QString& text) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return frame->windowTitle().endsWith(text); }, 3000))
            << frame->windowTitle().toStdString();
    }
    // The plan as the file on disk has it now; -1 without a plan there.
    double storedDayHours(const char* week, std::uint16_t id, int day) {
        CHrplDoc stored{app.core()};
        // The test's look at a file still empty is no message of the program's.
        const std::size_t said = sink.texts.size();
        const bool loaded = stored.loadInMemory(planPath) == CHrplDoc::LoadResult::Loaded;
        sink.texts.resize(said);
        return loaded ? stored.plan().dayHours(week, id, day) : -1;
    }

    std::string planPath;
    ScriptedTimerHost timerHost;
    std::vector<CTimerControl::Question> timerQuestions;
    std::deque<CTimerControl::Answer> timerAnswers;
};

TEST_F(LiveTimerTest, StartedFromTheToolbarShownWhileItRunsAndStoppedIntoTheGrid) {
    CQLData& plan = app.document()->plan();
    QAction* button = frame->toolbarAction(CMainFrame::Timer);
    click(input, rowShowing(input, "Work"), nameColumn(input));
    button->trigger();
    EXPECT_EQ(sink.texts.back(), CHoursLedger::kDivisionInput); // divisions are not timed
    EXPECT_FALSE(frame->timer().running());
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    button->trigger();
    ASSERT_TRUE(frame->timer().running());
    EXPECT_EQ(button->text(), "Stop Timer");
    EXPECT_TRUE(CLiveTimer::load(planPath)); // kept beside the plan from the start
    EXPECT_EQ(input->formatAt(rowShowing(input, "Reading"), nameColumn(input)).fillColour,
              CInputView::kTimedFill);
    // Only the marked row was restyled: the pane looks as a whole refill makes it.
    const auto look = [this] {
        std::vector<std::string> cells;
        for (int row = 1; row <= input->lastUsedRow() + 1; ++row)
            for (int column = 1; column <= input->store().columns(); ++column) {
                const CCellFormat f = input->formatAt(row, column);
                cells.push_back(std::to_string(row) + "," + std::to_string(column) + " " +
                                std::to_string(f.fillColour) + " " + std::to_string(f.horizontal) +
                                " " + std::to_string(f.wrap) + " " +
                                std::to_string(input->rowHeight(row)));
            }
        return cells;
    };
    const std::vector<std::string> marked = look();
    frame->view()->input().FillFromDocument(*app.document());
    EXPECT_EQ(marked, look());
    setNow("2026-12-07T09:50:00Z");
    waitForShown(QStringLiteral("Reading 0:50"));
    setNow("2026-12-07T10:30:40Z");
    waitForShown(QStringLiteral("Reading 1:30"));
    key(input, Qt::Key_T, Qt::ControlModifier); // Ctrl+T stops it
    EXPECT_FALSE(frame->timer().running());
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 1.5, 1e-6);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "1:30");
    EXPECT_NE(input->formatAt(rowShowing(input, "Reading"), nameColumn(input)).fillColour,
              CInputView::kTimedFill);
    const std::vector<std::string> unmarked = look();
    frame->view()->input().FillFromDocument(*app.document());
    EXPECT_EQ(unmarked, look());
    EXPECT_EQ(button->text(), "Start Timer");
    // One step: Ctrl+Z takes the timer's time back.
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 0, 1e-6);
    EXPECT_TRUE(timerQuestions.empty()) << timerQuestions.front().text.toStdString();
}

TEST_F(LiveTimerTest, ThePriorityPaneMenuStartsOneTimerAtATime) {
    CVCF1* activities = frame->view()->grid(CHrplView::Pane::Activities);
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(frame->timer().activity(), 3);
    setNow("2026-12-07T09:45:00Z");
    const int readingRow = rowShowing(activities, "Reading");
    ASSERT_GT(readingRow, 0);
    QString items;
    answerMenu(QStringLiteral("Stop Timer"), &items);
    click(activities, readingRow, 1, Qt::RightButton);
    EXPECT_TRUE(items.contains("Stop Timer")) << items.toStdString();
    EXPECT_FALSE(frame->timer().running());
    answerMenu(QStringLiteral("Start Timer"));
    click(activities, rowShowing(activities, "Reading"), 1, Qt::RightButton);
    EXPECT_EQ(frame->timer().activity(), 4);
    // Starting another stops the first, whose time goes to its activity.
    setNow("2026-12-07T10:00:00Z");
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier); // stops Reading
    key(input, Qt::Key_T, Qt::ControlModifier); // starts on Sleep
    EXPECT_EQ(frame->timer().activity(), 3);
    CQLData& plan = app.document()->plan();
    EXPECT_NEAR(plan.dayHours("20261206", 3, 2), 0.75, 1e-6);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 0.25, 1e-6);
}

// A program killed while its timer ran: the next start finds the timer and asks.
TEST_F(LiveTimerTest, ATimerLeftByAKilledProgramIsOfferedAndStopNowAddsItsTime) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CLiveTimer::save({planPath, 4, *qlnclock::parseIsoUtc("2026-12-07T08:00:00Z"), ""});
        pause(); // running, until killed
        _exit(0);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return CLiveTimer::load(planPath).has_value(); }, 5000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    QString asked;
    timerHost.answer = [&asked](const CTimerControl::Question& question) {
        asked = question.text;
        return CTimerControl::Answer{CTimerControl::Choice::AddUpToNow};
    };
    setNow("2026-12-07T09:15:00Z");
    frame->timerPresenter().offerKept();
    EXPECT_TRUE(asked.startsWith("A timer has been running since ")) << asked.toStdString();
    EXPECT_TRUE(asked.contains(" on Reading.")) << asked.toStdString();
    EXPECT_FALSE(frame->timer().running());
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", 4, 2), 1.25, 1e-6);
    EXPECT_FALSE(CLiveTimer::load(planPath));
    // Keep running leaves it going; Discard drops it without time.
    CLiveTimer::save({planPath, 4, *qlnclock::parseIsoUtc("2026-12-07T09:00:00Z"), ""});
    timerHost.answer = [](const CTimerControl::Question&) { return CTimerControl::Answer{}; };
    frame->timerPresenter().offerKept();
    EXPECT_EQ(frame->timer().activity(), 4);
    frame->timer().discard();
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", 4, 2), 1.25, 1e-6);
}

// Writers killed at random moments, amid their writes: the state file is whole or absent,
// never half written.
TEST_F(LiveTimerTest, AKilledWriteNeverLeavesAHalfTimerFile) {
    std::mt19937 random{3};
    int whole = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        CLiveTimer::discard(planPath);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int id = 1;; id = id % 9 + 1)
                CLiveTimer::save(
                    {planPath, id, *qlnclock::parseIsoUtc("2026-12-07T08:00:00Z"), ""});
        }
        usleep(static_cast<useconds_t>(std::uniform_int_distribution<int>{1000, 20000}(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string bytes;
        if (CAtomicFile::readAll(CLiveTimer::sidecarPath(planPath), bytes)) {
            ASSERT_TRUE(CLiveTimer::parse(bytes)) << "a half file after attempt " << attempt;
            ++whole;
        }
    }
    EXPECT_GT(whole, 0); // the writers did finish files, and were killed amid others
}

// Away from the computer beyond the limit: on return the user decides whether it counts, and a
// question no one answers keeps the minutes.
TEST_F(LiveTimerTest, MinutesAwayAreAskedAboutOnReturnAndYesTakesThemOut) {
    CTimerControl& timer = frame->timer();
    std::optional<long long> idle; // none: the desktop cannot tell
    timerHost.idle = [&idle] { return idle; };
    timer.setIdleLimit(15);
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T09:40:00Z");
    timer.checkIdle();
    idle = 20 * 60; // no input since 9:20
    timer.checkIdle();
    setNow("2026-12-07T10:00:00Z");
    idle = 30; // back at 9:59:30
    sink.answers = {true};
    timer.checkIdle();
    EXPECT_EQ(sink.texts.back(),
              "You were away from the computer for 0:39 while the timer ran on Reading 1:00. "
              "Take these minutes out of the timer? (No keeps them.)");
    EXPECT_EQ(timer.elapsedMinutes(), 20); // 9:00 to 9:20 and 9:59:30 to 10:00
    EXPECT_EQ(CLiveTimer::load(planPath)->started, *qlnclock::parseIsoUtc("2026-12-07T09:39:30Z"));
    // Kept when the user says No, or when no one answers; below the limit nobody is asked.
    for (const std::deque<bool>& answers : {std::deque<bool>{false}, std::deque<bool>{}}) {
        idle = 16 * 60;
        timer.checkIdle();
        idle = 0;
        sink.answers = answers;
        timer.checkIdle();
        EXPECT_EQ(timer.elapsedMinutes(), 20);
    }
    const std::size_t asked = sink.texts.size();
    idle = 60;
    timer.checkIdle();
    idle = 0;
    timer.checkIdle();
    EXPECT_EQ(sink.texts.size(), asked);
}

TEST_F(LiveTimerTest, TheTrayNamesTheTimerAndStartsOnTheNextActivity) {
    CVCF1* activities = frame->view()->grid(CHrplView::Pane::Activities);
    const QString first = activities->cellText(3, 1); // the top of the priorities
    ASSERT_FALSE(first.isEmpty());
    const QString text = frame->timerPresenter().trayText();
    EXPECT_TRUE(text.startsWith("No timer runs\nNext: " + first + " \u2014 "))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(" to plan")) << text.toStdString();
    frame->timerPresenter().startOnNextActivity();
    ASSERT_TRUE(frame->timer().running());
    EXPECT_EQ(frame->timer().summary(), first + " 0:00");
    EXPECT_TRUE(frame->timerPresenter().trayText().startsWith("Timer: " + first + " 0:00\n"));
}

TEST_F(LiveTimerTest, ClosingWhileATimerRunsAsksWhetherToStopIt) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T09:30:00Z");
    sink.answers = {false}; // No: it keeps running beyond the program
    frame->close();
    EXPECT_NE(sink.texts.back().find("A timer is running on Reading 0:30"), std::string::npos)
        << sink.texts.back();
    const std::optional<CLiveTimer::State> kept = CLiveTimer::load(planPath);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->activityId, 4);
}

// Escape on the question about a running timer takes the quitting back: the window stays with
// its timer. The real box is asked, through the program's own sink.
TEST_F(LiveTimerTest, EscapeOnTheTimersQuestionAtQuittingKeepsTheProgramOpen) {
    CQtMessageSink boxes;
    QString shown;
    whenShown<QMessageBox>([&shown](QMessageBox* box) {
        shown = box->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(boxes.askYesNoCancel("Stop it?"), CMessageSink::Answer::Cancel);
    EXPECT_EQ(shown, "Stop it?");
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    frame->show();
    sink.choices = {CMessageSink::Answer::Cancel};
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->timer().running());
    setNow("2026-12-07T09:30:00Z");
    sink.choices = {CMessageSink::Answer::Yes};
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(storedDayHours("20261206", 4, 2), 0.5, 1e-6);
}

// The timer's hours reach the plan's file before the timer's own file goes: a kill at any
// moment after Stop leaves the hour in one of them.
TEST_F(LiveTimerTest, AStoppedTimerIsInTheStoredPlanBeforeItsFileGoes) {
    bool sidecarAtStore = false;
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T10:00:00Z");
    timerHost.store = [&] {
        sidecarAtStore = CLiveTimer::load(planPath).has_value();
        return timerHost.window->storePlanNow();
    };
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(sidecarAtStore);
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(storedDayHours("20261206", 4, 2), 1, 1e-6);
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

// Typed hours are in the file within seconds, without Ctrl+S, and the title shows the plan as
// stored; a store that fails says so in the message bar, never in a box, and is made later.
TEST_F(LiveTimerTest, TypedHoursAndTimedHoursReachTheFileWithinSeconds) {
    const QString title = frame->windowTitle();
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, QStringLiteral("1:30"));
    key(input, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return storedDayHours("20261206", 4, 2) > 1; }, 5000));
    EXPECT_NEAR(storedDayHours("20261206", 4, 2), 1.5, 1e-6);
    EXPECT_EQ(frame->windowTitle(), title);

    frame->autoStore().setDelay(100);
    QFile::setPermissions(QString::fromStdString(planPath), QFile::ReadOwner);
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    type(input, QStringLiteral("7"));
    key(input, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->autoStore().failure().isEmpty(); }, 3000));
    EXPECT_TRUE(frame->messageText().startsWith("The plan is not stored: " +
                                                QString::fromLatin1(CHrplDoc::kCannotStore)))
        << frame->messageText().toStdString();
    EXPECT_EQ(frame->windowTitle(), title + " *");
    // A timer stopped meanwhile keeps its file until its time is stored.
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T09:45:00Z");
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(CLiveTimer::load(planPath));
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
    QFile::setPermissions(QString::fromStdString(planPath), QFile::ReadOwner | QFile::WriteOwner);
    // The next change is stored soon, not only at the next retry half a minute on.
    click(input, rowShowing(input, "Work. Mail"), hoursColumn(input));
    type(input, QStringLiteral("0:10"));
    key(input, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->autoStore().failure().isEmpty(); }, 3000));
    EXPECT_EQ(frame->messageText(), QString::fromLatin1(CMainFrame::kReady));
    EXPECT_FALSE(CLiveTimer::load(planPath));
    EXPECT_NEAR(storedDayHours("20261206", 3, 2), 7.75, 1e-6);
}

// Opening another plan, or a plan just imported, stores the open one first, as quitting does:
// when it cannot be stored the window stays on it, with its typed and timed hours.
TEST_F(LiveTimerTest, APlanThatCannotBeStoredStaysOpenInsteadOfAnotherPlan) {
    CQLData& plan = app.document()->plan();
    const QString json = file("other.json");
    QFile out{json};
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray::fromStdString(CPlanJson::write(plan)));
    out.close();
    frame->files().save();
    const QString path = app.dataFilePath();
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, QStringLiteral("2"));
    key(input, Qt::Key_Return);
    QFile::setPermissions(path, QFile::ReadOwner);
    std::vector<QString> answers{json, file("imported.qln")};
    chooser.answer = [&answers](const CFileChooser::Question&) {
        const QString next = answers.front();
        answers.erase(answers.begin());
        return next;
    };
    sink.texts.clear();
    frame->files().importFile();
    EXPECT_EQ(app.dataFilePath(), path);
    EXPECT_TRUE(QFile::exists(file("imported.qln")));
    ASSERT_GE(sink.texts.size(), 2u);
    EXPECT_EQ(sink.texts[sink.texts.size() - 2], CFileCommands::kStoreFirst);
    EXPECT_NE(sink.texts.back().find("The imported plan is kept in "), std::string::npos);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 2, 1e-6);
    // The plan becomes read-only while the open dialog is up, and a timer runs.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T10:00:00Z");
    chooser.answer = [&](const CFileChooser::Question&) {
        QFile::setPermissions(path, QFile::ReadOwner);
        return file("other.qln");
    };
    sink.texts.clear();
    frame->files().openOrNew();
    EXPECT_EQ(app.dataFilePath(), path);
    EXPECT_FALSE(QFile::exists(file("other.qln")));
    EXPECT_EQ(sink.texts.back(), CFileCommands::kStoreFirst);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 3, 1e-6);
    EXPECT_TRUE(CLiveTimer::load(planPath)); // until its hour is stored
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

// The plan's name is the document's: Save As takes a running timer's file along with the
// title and the plan of the next run, a Save As that fails moves nothing, and a plan opened
// later keeps its own timer beside it.
TEST_F(LiveTimerTest, ATimersFileFollowsThePlanUnderAnotherName) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(CLiveTimer::load(planPath));
    const std::string renamed = file("renamed.qln").toStdString();
    answer = file("renamed.qln");
    menuItem(frame, "&File", "Save &As")->trigger();
    EXPECT_EQ(app.dataFilePath(), answer);
    EXPECT_FALSE(CLiveTimer::load(planPath));
    const std::optional<CLiveTimer::State> moved = CLiveTimer::load(renamed);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->plan, renamed);
    EXPECT_EQ(moved->activityId, 4);
    EXPECT_TRUE(frame->windowTitle().startsWith("Q&L - renamed.qln"))
        << frame->windowTitle().toStdString();
    EXPECT_EQ(CAppSettings::readText("qlnDtFlRt"), answer);
    // Into a folder that is not there: the plan, its timer and the title stay where they were.
    answer = file("missing/elsewhere.qln");
    menuItem(frame, "&File", "Save &As")->trigger();
    EXPECT_EQ(app.dataFilePath(), file("renamed.qln"));
    EXPECT_TRUE(CLiveTimer::load(renamed));
    EXPECT_TRUE(frame->windowTitle().startsWith("Q&L - renamed.qln"));
    EXPECT_EQ(CAppSettings::readText("qlnDtFlRt"), file("renamed.qln"));
    // Stopped into the renamed plan; a new plan's timer lies beside the new plan.
    setNow("2026-12-07T09:30:00Z");
    key(input, Qt::Key_T, Qt::ControlModifier);
    planPath = renamed;
    EXPECT_NEAR(storedDayHours("20261206", 4, 2), 0.5, 1e-6);
    answer = file("next.qln");
    menuItem(frame, "&File", "&Open")->trigger();
    ASSERT_EQ(app.dataFilePath(), answer);
    sink.texts.clear();
    enter(input, input->titleRows() + 1, nameColumn(input), QStringLiteral("Walking"));
    click(input, rowShowing(input, "Walking"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(frame->timer().running()) << (sink.texts.empty() ? "" : sink.texts.back());
    EXPECT_TRUE(CLiveTimer::load(answer.toStdString()));
    EXPECT_FALSE(CLiveTimer::load(renamed));
    frame->timer().discard();
}

// The computer slept, or its clock was set: the user says how much of the time counts, and a
// question left unanswered keeps the timer running.
TEST_F(LiveTimerTest, AClockThatJumpsIsAskedAboutAndNoAnswerKeepsTheTimer) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T09:30:00Z");
    frame->timer().checkClock();
    EXPECT_TRUE(timerQuestions.empty());
    setNow("2026-12-07T13:00:00Z");
    timerAnswers = {
        {CTimerControl::Choice::AddUntil, *qlnclock::parseIsoUtc("2026-12-07T09:40:00Z")}};
    frame->timer().checkClock();
    ASSERT_EQ(timerQuestions.size(), 1u);
    const CTimerControl::Question& jump = timerQuestions.front();
    EXPECT_TRUE(jump.text.startsWith("The clock moved from ")) << jump.text.toStdString();
    EXPECT_TRUE(jump.upToNow && jump.until);
    EXPECT_EQ(jump.suggested, *qlnclock::parseIsoUtc("2026-12-07T09:30:00Z")); // last seen
    EXPECT_FALSE(frame->timer().running());
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", 4, 2), 40.0 / 60, 1e-6);
    // Back before the start: nothing can be added; unanswered, the timer runs on.
    key(input, Qt::Key_T, Qt::ControlModifier);
    setNow("2026-12-07T12:50:00Z");
    frame->timer().checkClock();
    ASSERT_EQ(timerQuestions.size(), 2u);
    EXPECT_FALSE(timerQuestions.back().upToNow || timerQuestions.back().until);
    EXPECT_TRUE(frame->timer().running());
    EXPECT_TRUE(CLiveTimer::load(planPath));
    // Stopped while the clock is still behind its start: asked again, not thrown away.
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(timerQuestions.size(), 3u);
    EXPECT_TRUE(frame->timer().running());
    EXPECT_TRUE(CLiveTimer::load(planPath));
    timerAnswers = {{CTimerControl::Choice::Discard, {}}};
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(frame->timer().running());
    EXPECT_FALSE(CLiveTimer::load(planPath));
}

// An activity deleted while its timer ran: its time has nowhere to go, and only the user drops it.
TEST_F(LiveTimerTest, ATimerWhoseActivityIsGoneStaysUntilTheUserDropsIt) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    CQLData& plan = app.document()->plan();
    CPlanEditor{plan}.deleteItem(*plan.findItem(4));
    setNow("2026-12-07T09:30:00Z");
    frame->timer().stop();
    ASSERT_EQ(timerQuestions.size(), 1u);
    EXPECT_TRUE(
        timerQuestions.front().text.startsWith("The timed activity is no longer in the plan."))
        << timerQuestions.front().text.toStdString();
    EXPECT_TRUE(frame->timer().running());
    EXPECT_TRUE(CLiveTimer::load(planPath));
}

// The real question: Escape and the window's close button keep the timer; a time of the
// user's adds up to it.
TEST_F(LiveTimerTest, TheTimersQuestionKeepsItOnEscapeAndCloseAndAddsUntilAChosenTime) {
    const auto plant = [this] {
        CLiveTimer::save({planPath, 4, *qlnclock::parseIsoUtc("2026-12-07T07:00:00Z"), ""});
    };
    timerHost.answer = {}; // the window's own question
    setNow("2026-12-07T09:00:00Z");
    plant();
    QString shown;
    whenShown<CTimerQuestionDlg>([&shown](CTimerQuestionDlg* dialog) {
        shown = dialog->findChild<QLabel*>()->text();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    frame->timerPresenter().offerKept();
    EXPECT_TRUE(shown.startsWith(CTimerControl::kKeptSince)) << shown.toStdString();
    EXPECT_TRUE(frame->timer().running());
    EXPECT_TRUE(CLiveTimer::load(planPath));
    frame->timer().discard();
    plant();
    whenShown<CTimerQuestionDlg>([](CTimerQuestionDlg* dialog) { dialog->close(); });
    frame->timerPresenter().offerKept();
    EXPECT_TRUE(frame->timer().running());
    frame->timer().discard();
    plant();
    whenShown<CTimerQuestionDlg>([](CTimerQuestionDlg* dialog) {
        dialog->untilEdit()->setDateTime(QDateTime::fromSecsSinceEpoch(
            qlnclock::parseIsoUtc("2026-12-07T08:15:00Z")->time_since_epoch().count()));
        QTest::mouseClick(dialog->button(CTimerQuestionDlg::kAddUntil), Qt::LeftButton);
    });
    frame->timerPresenter().offerKept();
    EXPECT_FALSE(frame->timer().running());
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", 4, 2), 1.25, 1e-6);
}

// A program left running over night: its today moves on with the clock, the pane says so, and a
// timer from 22:00 to 01:00 gives two hours to the first day and one to the second.
class LiveTimerOverNightTest : public LiveTimerTest {
protected:
    void SetUp() override {
        LiveTimerTest::SetUp();
        unsetenv("QLN_TODAY"); // the clock gives the date from here on
        setNow("2026-12-07T22:00:00Z");
    }
};

TEST_F(LiveTimerOverNightTest, ATimerOverMidnightAddsToBothDaysAndTodayMovesOn) {
    CQLData& plan = app.document()->plan();
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    for (const char* now : {"2026-12-07T23:00:00Z", "2026-12-07T23:59:30Z", "2026-12-08T00:30:00Z",
                            "2026-12-08T01:00:00Z"}) {
        setNow(now);
        frame->timer().checkClock();
    }
    frame->followClock();
    EXPECT_EQ(app.core().dates().latestDate().text(), "20261208");
    EXPECT_EQ(input->cellText(2, 2), "Tue, Dec 08 2026");
    key(input, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(frame->timer().running());
    EXPECT_NEAR(plan.dayHours("20261206", 4, 2), 2, 1e-6);
    EXPECT_NEAR(plan.dayHours("20261206", 4, 3), 1, 1e-6);
    EXPECT_NEAR(storedDayHours("20261206", 4, 3), 1, 1e-6);
    EXPECT_TRUE(timerQuestions.empty()) << timerQuestions.front().text.toStdString();
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

} // namespace
