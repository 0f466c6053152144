// The report window: a year reached into the archive, divisions folding, the chart, saving as
// PDF (read back with pdftotext), HTML and CSV, printing cancelled, and a period that follows
// what is typed while it is open.

#include "app/CReportDlg.h"
#include "model/CHoursArchive.h"
#include "tests/support/FrameFixture.h"
#include "tests/support/ScriptedFileChooser.h"

#include <QBarCategoryAxis>
#include <QPrintDialog>
#include <QProcess>
#include <QTreeWidget>

namespace {

using namespace gridUser;
using Kind = CArchivedHours::Kind;

class ReportTest : public FrameInputTest {
protected:
    void SetUp() override {
        FrameInputTest::SetUp();
        // A year ago, in the archive: Mail and Reading by the day, Sleep as a week's total,
        // and an activity the plan has let go since.
        const std::string archive = CHoursArchive::pathFor(app.dataFilePath().toStdString());
        ASSERT_TRUE(
            CHoursArchive::append(archive, {{"20250302", "Work. Mail", 1.5, Kind::Day, 2},
                                            {"20250305", "Work. Mail", 2, Kind::Day, 2},
                                            {"20250309", "Sleep", 50, Kind::Week, 3},
                                            {"20250310", "Reading", 4.5, Kind::Day, 4},
                                            {"20251122", "Reading", 2, Kind::Day, 4},
                                            {"20250610", "Old hobby", 2, Kind::Day, 9},
                                            {"20251130", "Old hobby", 0, Kind::Deleted, 9}}));
    }

    CReportDlg* openReport() {
        QAction* item = menuItem(frame, "&File", "&Report");
        EXPECT_NE(item, nullptr);
        if (item)
            item->trigger();
        CReportDlg* report = frame->report();
        EXPECT_TRUE(report && report->isVisible());
        return report;
    }

    // The kind of period, picked in its list with the keyboard.
    static void choose(CReportDlg* report, CReportDlg::Kind kind) {
        QComboBox* box = report->kindBox();
        box->setFocus();
        while (box->currentIndex() < kind)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > kind)
            QTest::keyClick(box, Qt::Key_Up);
    }

    static QTreeWidgetItem* row(CReportDlg* report, const QString& name) {
        const auto found = report->tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }

    static QStringList texts(QTreeWidgetItem* item) {
        QStringList columns;
        for (int column = 0; column < 5; ++column)
            columns << item->text(column);
        return columns;
    }
};

TEST_F(ReportTest, LastYearComesFromTheArchiveWithItsDeletedActivityAndDivisionsFold) {
    CReportDlg* report = openReport();
    ASSERT_NE(report, nullptr);
    choose(report, CReportDlg::Year);
    QTest::mouseClick(report->previousButton(), Qt::LeftButton);
    EXPECT_EQ(report->period(), std::make_pair(QDate(2025, 1, 1), QDate(2025, 12, 31)));
    // 62 hours in all: Mail 3:30, Sleep 50, Reading 6:30, the old hobby 2.
    ASSERT_NE(row(report, "Work"), nullptr);
    EXPECT_EQ(texts(row(report, "Work")), (QStringList{"Work", "3:30", "5.6", "25.0", "-19.4"}));
    EXPECT_EQ(texts(row(report, "Mail")), (QStringList{"Mail", "3:30", "5.6", "25.0", "-19.4"}));
    EXPECT_EQ(texts(row(report, "Sleep")),
              (QStringList{"Sleep", "50:00", "80.6", "50.0", "+30.6"}));
    EXPECT_EQ(texts(row(report, "Reading")),
              (QStringList{"Reading", "6:30", "10.5", "25.0", "-14.5"}));
    EXPECT_EQ(texts(row(report, "Old hobby (deleted)")),
              (QStringList{"Old hobby (deleted)", "2:00", "3.2", "0.0", "+3.2"}));
    EXPECT_TRUE(row(report, "Old hobby (deleted)")->font(0).italic());
    EXPECT_EQ(row(report, "Mail")->parent(), row(report, "Work"));
    // The chart pairs the planned and the actual part of each top-level line.
    const auto* bars = qobject_cast<QBarSeries*>(report->chart()->chart()->series().front());
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->barSets().at(1)->count(), 4);
    auto* axis =
        qobject_cast<QBarCategoryAxis*>(report->chart()->chart()->axes(Qt::Horizontal).front());
    ASSERT_NE(axis, nullptr);
    const qsizetype sleep = axis->categories().indexOf("Sleep");
    ASSERT_GE(sleep, 0);
    EXPECT_NEAR(bars->barSets().at(1)->at(static_cast<int>(sleep)), 5000.0 / 62, 1e-9);
    EXPECT_DOUBLE_EQ(bars->barSets().at(0)->at(static_cast<int>(sleep)), 50);
    // Work folds on Left and opens on Right, with the row clicked first.
    QTreeWidget* tree = report->tree();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(row(report, "Work")).center());
    QTest::keyClick(tree, Qt::Key_Left);
    EXPECT_FALSE(row(report, "Work")->isExpanded());
    QTest::keyClick(tree, Qt::Key_Right);
    EXPECT_TRUE(row(report, "Work")->isExpanded());
    // The month of March only: Sleep's week counts where its Sunday falls.
    choose(report, CReportDlg::Month);
    EXPECT_EQ(report->period(), std::make_pair(QDate(2025, 1, 1), QDate(2025, 1, 31)));
    QTest::mouseClick(report->nextButton(), Qt::LeftButton);
    QTest::mouseClick(report->nextButton(), Qt::LeftButton);
    EXPECT_EQ(report->period(), std::make_pair(QDate(2025, 3, 1), QDate(2025, 3, 31)));
    EXPECT_EQ(texts(row(report, "Sleep"))[1], "50:00");
    EXPECT_EQ(texts(row(report, "Reading"))[1], "4:30");
    EXPECT_EQ(row(report, "Old hobby (deleted)"), nullptr);
}

TEST_F(ReportTest, HoursTypedWhileTheReportIsOpenShowInIt) {
    CReportDlg* report = openReport();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->period(), std::make_pair(QDate(2026, 12, 1), QDate(2026, 12, 31)));
    EXPECT_EQ(texts(row(report, "Reading"))[1], "0:00");
    QApplication::setActiveWindow(frame);
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "2:30");
    key(input, Qt::Key_Return);
    EXPECT_EQ(texts(row(report, "Reading"))[1], "2:30");
    EXPECT_EQ(texts(row(report, "Reading"))[2], "100.0");
}

// A range of the user's own moves by its length, both ends.
TEST_F(ReportTest, ARangeStepsByItsLength) {
    CReportDlg* report = openReport();
    ASSERT_NE(report, nullptr);
    choose(report, CReportDlg::Range);
    EXPECT_TRUE(report->toEdit()->isEnabled());
    report->toEdit()->setFocus();
    // The list passed the year on its way down: the range starts as this year.
    QTest::keyClick(report->toEdit(), Qt::Key_Up); // the year section: to 31 December 2027
    EXPECT_EQ(report->period(), std::make_pair(QDate(2026, 1, 1), QDate(2027, 12, 31)));
    QTest::mouseClick(report->nextButton(), Qt::LeftButton); // 730 days on
    EXPECT_EQ(report->period(), std::make_pair(QDate(2028, 1, 1), QDate(2029, 12, 30)));
    QTest::mouseClick(report->previousButton(), Qt::LeftButton);
    QTest::mouseClick(report->previousButton(), Qt::LeftButton);
    EXPECT_EQ(report->period(), std::make_pair(QDate(2024, 1, 2), QDate(2025, 12, 31)));
}

TEST_F(ReportTest, SavedAsPdfHtmlAndCsvAndPrintingCanBeCancelled) {
    CReportDlg* report = openReport();
    ASSERT_NE(report, nullptr);
    choose(report, CReportDlg::Year);
    QTest::mouseClick(report->previousButton(), Qt::LeftButton);
    ScriptedFileChooser chooser;
    report->setFileChooser(&chooser);
    QDir().mkpath(file("reports"));
    const auto saveAs = [&](const char* filter, const char* name) {
        chooser.answer = [&](const CFileChooser::Question& question) {
            EXPECT_TRUE(question.filters.contains(QString::fromLatin1(filter)));
            *question.chosenFilter = QString::fromLatin1(filter);
            return file("reports") + "/" + name;
        };
        QTest::mouseClick(report->saveButton(), Qt::LeftButton);
    };
    saveAs(CReportDlg::kPdfA4Filter, "year");
    saveAs(CReportDlg::kPdfLetterFilter, "letter.pdf");
    saveAs(CReportDlg::kHtmlFilter, "year");
    saveAs(CReportDlg::kCsvFilter, "year");
    report->setFileChooser(nullptr);
    const auto run = [](const QString& program, const QStringList& args) {
        QProcess process;
        process.start(program, args);
        EXPECT_TRUE(process.waitForFinished(20000)) << program.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString text = run("pdftotext", {"-layout", file("reports/year.pdf"), "-"});
    for (const char* said : {"Hours 2025-01-01 to 2025-12-31", "Sleep", "50:00", "80.6",
                             "Old hobby (deleted)", "62:00 hours in all"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(said))) << said << "\n" << text.toStdString();
    EXPECT_TRUE(run("pdfinfo", {file("reports/year.pdf")}).contains("(A4)"));
    EXPECT_TRUE(run("pdfinfo", {file("reports/letter.pdf")}).contains("(letter)"));
    QFile html{file("reports/year.html")};
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    EXPECT_TRUE(html.readAll().contains("<svg"));
    QFile csv{file("reports/year.csv")};
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().toStdString(), report->report().csv());
    // The system's print dialog, closed with Escape: nothing printed, the report stays.
    bool asked = false;
    whenShown<QPrintDialog>([&](QPrintDialog* dialog) {
        asked = true;
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseClick(report->printButton(), Qt::LeftButton);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(report->isVisible());
}

// The item info sheet's history goes back two years on request: the archive's weeks show their
// hours and no priority.
TEST_F(ReportTest, TheHistoryPageReachesIntoTheArchive) {
    click(input, rowShowing(input, "Reading"), nameColumn(input));
    QAction* history = menuItem(frame, "&View", "&History");
    ASSERT_NE(history, nullptr);
    history->trigger();
    CHistoryChart* page = frame->paneDialogs()->sheet()->historyPage();
    EXPECT_EQ(page->weeks().front().week, "20261206"); // a year: the plan's own weeks only
    page->yearsBox()->setFocus();
    QTest::keyClick(page->yearsBox(), Qt::Key_Down);
    const auto& weeks = page->weeks();
    ASSERT_FALSE(weeks.empty());
    EXPECT_EQ(weeks.front().week, "20250309");
    EXPECT_DOUBLE_EQ(weeks.front().hours, 4.5);
    EXPECT_TRUE(std::isnan(weeks.front().priority));
    EXPECT_EQ(weeks.back().week, "20261206");
    EXPECT_EQ(weeks.size(), 92u); // every week between, without a gap
    int points = 0;
    for (QAbstractSeries* series : page->priorityView()->chart()->series())
        if (series->name() == "Priority")
            points = static_cast<int>(static_cast<QLineSeries*>(series)->count());
    // The plan's weeks, from its first (29 November 2025) on, each with its priority.
    EXPECT_EQ(points, std::count_if(weeks.begin(), weeks.end(), [](const CItemHistory::Week& w) {
                  return w.week >= "20251130" && std::isfinite(w.priority);
              }));
    EXPECT_EQ(points, 54);
}

} // namespace
