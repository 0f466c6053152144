#include "app/CAdjsTmPrtChsDlg.h"
#include "app/CAdjsTmPrtDlg.h"

#include "tests/support/TestApp.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

QPushButton* button(QWidget& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

int chooseBy(const QString& text) {
    CAdjsTmPrtChsDlg dialog{nullptr};
    QTimer::singleShot(0, [&] {
        if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR"))
            dialog.grab().save(QString::fromLocal8Bit(folder) + "/select-how.png");
        button(dialog, text)->click();
    });
    dialog.exec();
    return dialog.choice();
}

TEST(SelectHowToAdjust, EachButtonGivesItsChoice) {
    EXPECT_EQ(chooseBy("Recalculate"), CAdjsTmPrtChsDlg::kRecalculate);
    EXPECT_EQ(chooseBy("Diminish"), CAdjsTmPrtChsDlg::kDiminish);
    EXPECT_EQ(chooseBy("Cancel"), CAdjsTmPrtChsDlg::kNone);
    QString topic;
    CAdjsTmPrtChsDlg dialog{[&topic](const QString& t) { topic = t; }};
    button(dialog, "Help")->click();
    EXPECT_EQ(topic, "adjstTmPrtChsDlgV.htm");
}

class AdjustDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        requests.transfer = [this](double amount) { transferred = amount; };
        requests.applyRequested = [this](double part) { applied = part; };
        requests.forgetPair = [this] { ++forgotten; };
        dialog =
            std::make_unique<CAdjsTmPrtDlg>(numberformat::TimeFactors{8, 7, 30},
                                            app.core->library(), app.core->messages(), requests);
        dialog->show();
        dialog->openFor("Sleep", 60, 50, 2);
    }

    QLineEdit* field(int index) { return dialog->findChildren<QLineEdit*>()[index]; }

    TestApp app;
    CAdjsTmPrtDlg::Requests requests;
    std::unique_ptr<CAdjsTmPrtDlg> dialog;
    double transferred = -1;
    double applied = -1;
    int forgotten = 0;
};

TEST_F(AdjustDialogTest, ShowsThePartAndTheExcessInTheChosenUnit) {
    EXPECT_EQ(dialog->requestedText(), "33:36"); // 60 % of 56 hours a week
    EXPECT_TRUE(dialog->transferPanelShown());
    EXPECT_EQ(dialog->excessText(), "5:36"); // 10 %
    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR"))
        dialog->grab().save(QString::fromLocal8Bit(folder) + "/adjust.png");
    EXPECT_EQ(dialog->donorText(),
              "hours per week that have item \"(activate an item in \"Input view\")\"");
    dialog->findChild<QComboBox*>()->setCurrentIndex(0);
    EXPECT_EQ(dialog->requestedText(), "60");
    EXPECT_EQ(dialog->excessText(), "10");
}

TEST_F(AdjustDialogTest, EachKeystrokeIsCheckedAgainst100Percent) {
    dialog->findChild<QComboBox*>()->setCurrentIndex(0);
    QLineEdit* requested = field(0);
    requested->clear();
    QTest::keyClicks(requested, "101");
    EXPECT_EQ(app.sink.texts.back(),
              "Please input a number less or equal 100 because otherwise the time part "
              "would have been grater than 100%");
    EXPECT_DOUBLE_EQ(dialog->requestedPart(), 10); // "1", then "10", then "101" refused
    EXPECT_EQ(requested->text(), "10");
    app.sink.texts.clear();
    QTest::keyClicks(requested, "x");
    EXPECT_TRUE(app.sink.texts.empty()); // refused silently
    EXPECT_EQ(requested->text(), "10");
    EXPECT_FALSE(dialog->transferPanelShown()); // 10 + 50 is within 100
}

TEST_F(AdjustDialogTest, SubtractMovesAtMostTheExcessFromTheDonor) {
    dialog->findChild<QComboBox*>()->setCurrentIndex(0);
    QLineEdit* amount = field(1);
    amount->setText("30");
    button(*dialog, "Subtract from:")->click();
    EXPECT_EQ(transferred, -1); // no donor yet
    dialog->setDonor("Work. Mail", 4);
    amount->setText("30");
    button(*dialog, "Subtract from:")->click();
    EXPECT_DOUBLE_EQ(transferred, 4); // the donor has only 4
    dialog->setDonor("Work. Code", 20);
    amount->setText("30");
    button(*dialog, "Subtract from:")->click();
    EXPECT_DOUBLE_EQ(transferred, 10); // the excess is 10
    button(*dialog, "OK")->click();
    EXPECT_DOUBLE_EQ(applied, 60);
    EXPECT_TRUE(dialog->isClosed());
    EXPECT_EQ(forgotten, 1);
}

} // namespace

#include "app/CActvtOrDvsnChsDlg.h"
#include "app/CITmInfoPrptPg.h"
#include "app/CItmInfoPrptSht.h"
#include "app/CMvItmDlg.h"
#include "app/COvrcmplctdStrctWnngDlg.h"
#include "app/CRstrActvtDlg.h"
#include "app/CSttstcsPge.h"
#include "model/CHoursLedger.h"
#include "model/CStatistics.h"
#include "tests/support/PlanBuilder.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

namespace {

void shot(QWidget& widget, const char* name) {
    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR"))
        widget.grab().save(QString::fromLocal8Bit(folder) + "/" + name);
}

// Clicks the button with the text (the n-th of that text) once the dialog runs.
int runClicking(QDialog& dialog, const QString& text, int nth = 0,
                const char* screenshot = nullptr) {
    QTimer::singleShot(0, [&dialog, text, nth, screenshot] {
        if (screenshot)
            shot(dialog, screenshot);
        int seen = 0;
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->text() == text && seen++ == nth) {
                b->click();
                return;
            }
    });
    return dialog.exec();
}

TEST(ActivityOrDivision, ThreeResults) {
    CActvtOrDvsnChsDlg a{nullptr};
    EXPECT_EQ(runClicking(a, "Activity", 0, "activity-or-division.png"), QDialog::Accepted);
    CActvtOrDvsnChsDlg d{nullptr};
    EXPECT_EQ(runClicking(d, "Division"), CActvtOrDvsnChsDlg::kDivision);
    CActvtOrDvsnChsDlg c{nullptr};
    EXPECT_EQ(runClicking(c, "Cancel"), QDialog::Rejected);
}

TEST(OvercomplicatedStructure, TheTwoCreateButtonsAndAFixedPitchText) {
    COvrcmplctdStrctWnngDlg first{
        "You are going  to create a division inside other (named) division: \" Work \"", nullptr};
    const QPlainTextEdit* text = first.findChild<QPlainTextEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());
    EXPECT_EQ(runClicking(first, "Create", 0, "overcomplicated.png"),
              COvrcmplctdStrctWnngDlg::kInRoot);
    COvrcmplctdStrctWnngDlg second{"x", nullptr};
    EXPECT_EQ(runClicking(second, "Create", 1), COvrcmplctdStrctWnngDlg::kAsChosen);
    COvrcmplctdStrctWnngDlg third{"x", nullptr};
    EXPECT_EQ(runClicking(third, "Cancel"), QDialog::Rejected);
}

TEST(RestoreAnActivity, ListsTheDeletedWithTheirLastDatesAndReturnsTheChosen) {
    TestApp app;
    CRstrActvtDlg empty{app.core->messages(), nullptr};
    EXPECT_EQ(empty.run({}), QDialog::Rejected);
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CRstrActvtDlg::kNothingToRestore});

    CRstrActvtDlg dialog{app.core->messages(), nullptr};
    ASSERT_TRUE(
        dialog.fill({{3, "Code", "20261201"}, {7, "Drawing", ""}, {9, "Guitar", "20260906"}}));
    ASSERT_EQ(dialog.list()->topLevelItemCount(), 3);
    EXPECT_EQ(dialog.list()->topLevelItem(0)->text(1), "12/01/2026");
    EXPECT_EQ(dialog.list()->topLevelItem(1)->text(1), "");
    dialog.list()->topLevelItem(2)->setSelected(true);
    dialog.list()->topLevelItem(0)->setSelected(true);
    dialog.show();
    shot(dialog, "restore.png");
    dialog.accept();
    EXPECT_EQ(dialog.chosen(), (std::vector<int>{3, 9})); // in list order
}

TEST(MoveItemDialog, OkAsksForTheMoveAndBothButtonsForgetThePair) {
    int moves = 0;
    int forgets = 0;
    CMvItmDlg dialog{[&moves] { ++moves; }, [&forgets] { ++forgets; }, nullptr};
    dialog.openFor("Code");
    dialog.setDestination("Root division");
    EXPECT_TRUE(dialog.isOpen());
    EXPECT_EQ(dialog.itemText(), "Code");
    EXPECT_EQ(dialog.destinationText(), "Root division");
    shot(dialog, "move.png");
    button(dialog, "OK")->click();
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(forgets, 1);
    EXPECT_FALSE(dialog.isOpen());
    dialog.openFor("Code");
    button(dialog, "Cancel")->click();
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(forgets, 2);
}

TEST_F(AdjustDialogTest, ExactlyOneHundredIsAcceptedAndTheExcessShowsFromTheFirstPercent) {
    dialog->findChild<QComboBox*>()->setCurrentIndex(0);
    QLineEdit* requested = field(0);
    requested->clear();
    QTest::keyClicks(requested, "100");
    EXPECT_DOUBLE_EQ(dialog->requestedPart(), 100);
    QTest::keyClicks(requested, ".01");
    EXPECT_EQ(app.sink.texts.back().rfind("Please input a number less or equal 100 ", 0), 0u);
    EXPECT_DOUBLE_EQ(dialog->requestedPart(), 100);
    dialog->openFor("Sleep", 40, 60, 0);
    EXPECT_FALSE(dialog->transferPanelShown());
    dialog->openFor("Sleep", 41, 60, 0);
    EXPECT_TRUE(dialog->transferPanelShown());
    EXPECT_EQ(dialog->excessText(), "1");
}

class ItemInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        PlanBuilder build{plan};
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10).memo = "inbox zero";
        build.add(3, 0, "Sleep", 30).memo = "eight hours";
        plan.recomputeDivisionParts(*plan.root());
        CStatistics{plan}.computeAveragedParts();
        sheet.show();
    }
    const CItemInfo& info(int id) { return CStatistics{plan}.fillItemInfo(id); }
    QPlainTextEdit* memo() { return sheet.infoPage()->findChild<QPlainTextEdit*>(); }

    TestApp app;
    CQLData plan{*app.core};
    CItmInfoPrptSht sheet{plan, nullptr};
};

TEST_F(ItemInfoTest, ClickingIntoTheMemoMakesTheNextItemAskWhetherToStore) {
    sheet.fill(info(2), 2);
    EXPECT_EQ(memo()->toPlainText(), "inbox zero");
    shot(sheet, "item-info.png");
    memo()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(sheet.infoPage()->memoModified);
    memo()->setPlainText("changed but discarded");
    app.sink.answers = {false};
    sheet.refill(info(3), 3);
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{CItmInfoPrptSht::kStoreQuestion});
    EXPECT_EQ(plan.findItem(2)->memo, "inbox zero");
    EXPECT_EQ(memo()->toPlainText(), "eight hours");

    memo()->setFocus();
    sheet.infoPage()->memoModified = true;
    memo()->setPlainText("  nine hours  ");
    app.sink.answers = {true};
    sheet.refill(info(2), 2);
    EXPECT_EQ(plan.findItem(3)->memo, "nine hours");
    EXPECT_EQ(app.sink.texts.back(), "The memo has been stored.");
}

TEST_F(ItemInfoTest, AMemoOfSpacesIsNotStored) {
    sheet.fill(info(2), 2);
    memo()->setPlainText("    ");
    sheet.storeMemo();
    EXPECT_EQ(plan.findItem(2)->memo, "inbox zero");
    EXPECT_TRUE(app.sink.texts.empty());
}

TEST_F(ItemInfoTest, ADivisionHasNoStatisticsAndTheCloseButtons) {
    sheet.fill(info(1), 1);
    sheet.tabs()->setCurrentIndex(1);
    shot(sheet, "statistics.png");
    EXPECT_EQ(sheet.statisticsPage()->actual(), "No Statistics (Division)");
    EXPECT_EQ(sheet.statisticsPage()->ratio(), "No Statistics (Division)");
    sheet.closeFromStatisticsPage();
    EXPECT_FALSE(sheet.isVisible());
    sheet.show();
    sheet.infoPage()->memoModified = true;
    app.sink.answers = {false};
    sheet.closeFromInfoPage();
    EXPECT_EQ(sheet.infoPage()->shownItem, -1);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(app.sink.texts.back(), CItmInfoPrptSht::kStoreQuestion);
}

} // namespace

namespace {

TEST_F(ItemInfoTest, AModalSheetClosesAsCancelled) {
    sheet.hide();
    sheet.setModeless(false);
    sheet.fill(info(3), 3);
    QTimer::singleShot(0, [this] { sheet.closeFromStatisticsPage(); });
    EXPECT_EQ(sheet.exec(), QDialog::Rejected);
}

} // namespace

#include "app/CChsDateDlg.h"
#include "app/CFrstSrtpChs.h"

#include <QDateEdit>

namespace {

TEST(StartupAndDateDialogs, TextsAndResults) {
    CFrstSrtpChs question;
    EXPECT_EQ(question.windowTitle(), "Should QLN run at startup?");
    EXPECT_EQ(runClicking(question, "Yes", 0, "first-start.png"), QDialog::Accepted);
    CFrstSrtpChs no;
    EXPECT_EQ(runClicking(no, "No"), QDialog::Rejected);

    CChsDateDlg dates{QDate(2026, 12, 8), nullptr};
    EXPECT_EQ(dates.windowTitle(), "Choose a date, please.");
    EXPECT_EQ(dates.date(), QDate(2026, 12, 8));
    dates.picker()->setDate(QDate(2026, 9, 2));
    EXPECT_EQ(dates.date(), QDate(2026, 9, 2));
    EXPECT_EQ(runClicking(dates, "OK", 0, "choose-date.png"), QDialog::Accepted);
}

} // namespace
