// The input pane as a week's timesheet: a column per day, typed across and remembered.

#include "tests/support/FrameFixture.h"

namespace {

using namespace gridUser;

// The week as a timesheet: Sunday 6 to Saturday 12 December, today the Tuesday, Monday active.
class WeekSheetTest : public FrameInputTest {
protected:
    void SetUp() override {
        FrameInputTest::SetUp();
        key(input, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    }

    // Types into a cell reached by a click, committed by a click on another cell.
    void typeInto(const char* name, int column, const QString& text) {
        click(input, rowShowing(input, name), column);
        type(input, text);
        click(input, rowShowing(input, "Work"), nameColumn(input));
    }

    double hours(std::uint16_t item, int day) {
        return app.document()->plan().dayHours("20261206", item, day);
    }
    std::string activeDay() { return app.core().dates().activeDay().text(); }
    bool said(const char* text) const {
        return std::find(sink.texts.begin(), sink.texts.end(), text) != sink.texts.end();
    }

    int sunday() { return columnHeaded(input, QStringLiteral("Sun")); }
    int total() { return columnHeaded(input, QStringLiteral("Week Total")); }
};

TEST_F(WeekSheetTest, HoursTypedIntoThreeDaysLandOnTheirDaysAndUndoTakesTheLastBack) {
    ASSERT_TRUE(frame->weekSheetAction()->isChecked());
    ASSERT_EQ(input->columnCount(), total() + 1);
    EXPECT_EQ(input->cellText(5, sunday()), "Sun\n12/06");
    EXPECT_EQ(input->cellText(5, sunday() + 2), "Today\n12/08");
    EXPECT_EQ(input->cellText(5, sunday() + 6), "Sat\n12/12");
    EXPECT_EQ(input->cellText(5, total()), "Week Total");
    EXPECT_EQ(input->formatAt(5, sunday() + 1).fillColour, CSpreadsheetView::kPaleBlue);
    EXPECT_NE(input->formatAt(5, sunday()).fillColour, CSpreadsheetView::kPaleBlue);

    typeInto("Reading", sunday(), "1:30");
    typeInto("Sleep", sunday() + 2, "2");
    typeInto("Reading", sunday() + 1, "0:30+0:15");
    EXPECT_DOUBLE_EQ(hours(4, 1), 1.5);
    EXPECT_DOUBLE_EQ(hours(3, 3), 2);
    EXPECT_DOUBLE_EQ(hours(4, 2), 0.75);
    EXPECT_EQ(activeDay(), "20261207"); // typing into a day does not move the active day
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), sunday()), "1:30");
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), total()), "2:15");
    EXPECT_EQ(editItem(frame, "&Undo")->text(), "&Undo hours 0:30+0:15 on Reading");

    // The total is computed, and a day to come takes no hours yet: each says so.
    click(input, rowShowing(input, "Reading"), total());
    type(input, "5");
    EXPECT_TRUE(said("This cell is to show a result or title and cannot be edited."));
    typeInto("Reading", sunday() + 3, "1");
    EXPECT_TRUE(said("Sorry, an active day cannot belong to the future that has not come yet."));
    EXPECT_DOUBLE_EQ(hours(4, 4), 0);
    EXPECT_EQ(activeDay(), "20261207");

    // Undo takes back the last entry only and shows its cell.
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(hours(4, 2), 0);
    EXPECT_DOUBLE_EQ(hours(4, 1), 1.5);
    EXPECT_DOUBLE_EQ(hours(3, 3), 2);
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Reading"), sunday() + 1));
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), total()), "1:30");

    // The day pane shows each day's hours when that day is active.
    key(input, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(input->columnCount(), hoursColumn(input) + 1);
    EXPECT_EQ(CAppSettings::readInt(CMainFrame::kWeekSheetValue, -1), 0);
    key(input, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "1:30");
    key(input, Qt::Key_Right, Qt::AltModifier);
    key(input, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(input->cellText(rowShowing(input, "Sleep"), hoursColumn(input)), "2");
}

// A week typed across with the arrows, as in a spreadsheet: each entry ends at Right and the
// next day takes the next; Tab goes along the days that have come, and from the last of them
// down its column.
TEST_F(WeekSheetTest, ArrowsAndTabGoAlongTheDaysCommittingEachEntry) {
    click(input, rowShowing(input, "Reading"), sunday());
    type(input, QStringLiteral("3"));
    key(input, Qt::Key_Right);
    type(input, QStringLiteral("2:30"));
    key(input, Qt::Key_Right);
    type(input, QStringLiteral("0:45"));
    key(input, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(hours(4, 1), 3);
    EXPECT_DOUBLE_EQ(hours(4, 2), 2.5);
    EXPECT_DOUBLE_EQ(hours(4, 3), 0.75);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), total()), "6:15");
    click(input, rowShowing(input, "Sleep"), sunday());
    type(input, QStringLiteral("8"));
    key(input, Qt::Key_Tab);
    type(input, QStringLiteral("7"));
    key(input, Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(hours(3, 1), 8);
    EXPECT_DOUBLE_EQ(hours(3, 2), 7);
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Sleep"), sunday() + 2)); // today
    key(input, Qt::Key_Tab);
    EXPECT_EQ(active(input), std::make_pair(rowShowing(input, "Work. Mail"), sunday() + 2));
    EXPECT_EQ(input->cellText(rowShowing(input, "Work"), nameColumn(input)), "Work");
    EXPECT_TRUE(sink.texts.empty()) << sink.texts.front();
}

TEST_F(WeekSheetTest, ADayHeadingMakesItsDayActiveAndTheSheetIsRemembered) {
    EXPECT_EQ(CAppSettings::readInt(CMainFrame::kWeekSheetValue, -1), 1);
    click(input, CInputView::kTitleRows, sunday());
    EXPECT_EQ(activeDay(), "20261206");
    EXPECT_EQ(input->formatAt(5, sunday()).fillColour, CSpreadsheetView::kPaleBlue);
    EXPECT_NE(input->formatAt(5, sunday() + 1).fillColour, CSpreadsheetView::kPaleBlue);
    EXPECT_EQ(input->cellText(3, 2), "Sun, Dec 06 2026");
    // Today's heading and those before it read plainly; the days to come are dimmed, and one
    // stays inactive, with the dates' own message.
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(input->formatAt(5, sunday() + day).textColour,
                  day > 2 ? CSpreadsheetView::kDimText : 0x000000u)
            << input->cellText(5, sunday() + day).toStdString();
    click(input, CInputView::kTitleRows, sunday() + 5);
    EXPECT_EQ(activeDay(), "20261206");
    EXPECT_TRUE(said("Sorry, an active day cannot belong to the future that has not come yet."));
    // The week before shows its own days.
    key(input, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(input->cellText(5, sunday()), "Sun\n11/29");
    EXPECT_EQ(input->cellText(5, sunday() + 6), "Sat\n12/05");
    EXPECT_EQ(input->formatAt(5, sunday() + 6).textColour, 0x000000u);
}

TEST_F(WeekSheetTest, AWeekBeforeTheDetailedDaysShowsOneEditableWeekTotal) {
    for (int week = 0; week < 52 && app.core().dates().dayMode(); ++week)
        key(input, Qt::Key_Up, Qt::AltModifier);
    ASSERT_FALSE(app.core().dates().dayMode());
    EXPECT_EQ(input->columnCount(), hoursColumn(input) + 1);
    EXPECT_EQ(input->cellText(5, hoursColumn(input)), "Hours Spent in Active Week ");
    const std::string week = qlndates::weekStartText(app.core().dates().activeDay().date());
    typeInto("Reading", hoursColumn(input), "6:30");
    EXPECT_DOUBLE_EQ(app.document()->plan().weekHours(week, 4), 6.5);
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "6:30");
    // Back among the detailed days, the days come back, and so does the week's undo.
    key(input, Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(input->columnCount(), total() + 1);
    key(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(input->columnCount(), hoursColumn(input) + 1);
    EXPECT_DOUBLE_EQ(app.document()->plan().weekHours(week, 4), 0);
}

} // namespace
