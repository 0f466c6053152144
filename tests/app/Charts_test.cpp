// The charts: an item's history on its info sheet, saving a chart, and the plan overview.

#include "tests/support/FrameFixture.h"

namespace {

using namespace gridUser;

// The charts over the window's small plan.
class ChartsTest : public FrameInputTest {};

// The View menu's item of that text, triggered as a click on it would.
void triggerView(CMainFrame* frame, const QString& text) {
    for (QAction* menu : frame->menuBar()->actions())
        if (menu->text() == "&View")
            for (QAction* item : menu->menu()->actions())
                if (item->text() == text) {
                    item->trigger();
                    return;
                }
    ADD_FAILURE() << "no View item " << text.toStdString();
}

// The values a chart's first bar set draws.
std::vector<double> barValues(QChartView* view) {
    std::vector<double> values;
    for (QAbstractSeries* series : view->chart()->series())
        if (auto* bars = qobject_cast<QBarSeries*>(series))
            for (int i = 0; i < bars->barSets().front()->count(); ++i)
                values.push_back(bars->barSets().front()->at(i));
    return values;
}

TEST_F(ChartsTest, TheHistoryPageDrawsTheSeriesOfTheActiveItemAndFollowsChanges) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "2:30");
    key(input, Qt::Key_Return);
    // An activity, a division and the whole plan, each from its row.
    for (const char* name : {"Reading", "Work", ""}) {
        if (*name)
            click(input, rowShowing(input, name), nameColumn(input));
        else
            click(input, 1, 1); // a title row: the whole plan
        triggerView(frame, "&History of the active item");
        CItmInfoPrptSht* sheet = frame->paneDialogs()->sheet();
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(sheet->isVisible());
        EXPECT_EQ(sheet->tabs()->currentIndex(), CItmInfoPrptSht::kHistoryPage);
        const CHistoryChart* history = sheet->historyPage();
        const std::int32_t id =
            *name ? app.document()->plan().findItem(std::string(name) == "Work" ? 1 : 4)->id
                  : CQLData::kRootId;
        const auto expected = CItemHistory::weeks(app.document()->plan(), id, 52);
        ASSERT_EQ(history->weeks().size(), expected.size()) << name;
        std::vector<double> hours;
        for (const CItemHistory::Week& week : expected)
            hours.push_back(week.hours);
        EXPECT_EQ(barValues(history->hoursView()), hours) << name;
        EXPECT_DOUBLE_EQ(history->weeks().back().hours, std::string(name) == "Work" ? 0 : 2.5)
            << name;
        // Nothing before the item began: Reading's first hours are this week's, Work has none.
        EXPECT_EQ(history->weeks().front().week, "20261206") << name;
        int points = 0;
        for (QAbstractSeries* series : history->priorityView()->chart()->series())
            if (series->name() == "Priority")
                points = static_cast<int>(static_cast<QLineSeries*>(series)->count());
        EXPECT_EQ(points, 1) << name;
    }
    // The numbers behind the chart are qlntool's, from the stored plan.
    frame->files().save();
    const ToolRun tool = runTool({"history", app.dataFilePath().toStdString(), "Reading", "--today",
                                  "20261208", "--active-day", "20261207"});
    ASSERT_EQ(tool.exitCode, 0) << tool.err;
    const nlohmann::json history = nlohmann::json::parse(tool.out);
    std::vector<double> toolHours;
    for (const nlohmann::json& week : history["weeks"])
        toolHours.push_back(week["hours"].get<double>());
    click(input, rowShowing(input, "Reading"), nameColumn(input));
    triggerView(frame, "&History of the active item");
    EXPECT_EQ(barValues(frame->paneDialogs()->sheet()->historyPage()->hoursView()), toolHours);
    // Typed hours reach the open chart.
    CItmInfoPrptSht* sheet = frame->paneDialogs()->sheet();
    click(input, rowShowing(input, "Reading"), nameColumn(input));
    triggerView(frame, "&History of the active item");
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "4");
    key(input, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(sheet->historyPage()->weeks().back().hours, 4);
    EXPECT_DOUBLE_EQ(barValues(sheet->historyPage()->hoursView()).back(), 4);
    // The detailed weeks day by day: the active Monday holds the 4 hours.
    QTest::mouseClick(sheet->historyPage()->daysBox(), Qt::LeftButton, {},
                      QPoint(6, sheet->historyPage()->daysBox()->height() / 2));
    ASSERT_TRUE(sheet->historyPage()->daysBox()->isChecked());
    const std::vector<double> days = barValues(sheet->historyPage()->hoursView());
    ASSERT_EQ(days.size(), sheet->historyPage()->days().size());
    for (std::size_t i = 0; i < days.size(); ++i)
        EXPECT_DOUBLE_EQ(days[i], sheet->historyPage()->days()[i].day == "20261207" ? 4 : 0);
    // A screen reader gets the same figures as text: one line a day, the Monday's 4 hours.
    const QStringList said =
        sheet->historyPage()->hoursView()->accessibleDescription().split(QLatin1Char('\n'));
    EXPECT_EQ(said.size(), static_cast<qsizetype>(days.size()));
    EXPECT_EQ(said.filter(QStringLiteral(": 4:00 spent, ")).size(), 1)
        << said.join("|").toStdString();
    EXPECT_TRUE(sheet->historyPage()->hoursView()->accessibleName().endsWith("Reading"));
    EXPECT_EQ(sheet->historyPage()->priorityView()->accessibleDescription().count(
                  QStringLiteral("Week of ")),
              static_cast<qsizetype>(sheet->historyPage()->weeks().size()));
    // Saved as the type chosen, its extension added to a name typed without one, and the next
    // save starts in the folder of the last.
    QDir().mkpath(file("charts"));
    QString offered;
    ScriptedFileChooser chooser;
    sheet->historyPage()->setFileChooser(&chooser);
    for (const char* filter : {CChartExport::kSvgFilter, CChartExport::kPngFilter}) {
        chooser.answer = [&](const CFileChooser::Question& question) {
            offered = question.directory;
            EXPECT_TRUE(question.saving);
            EXPECT_TRUE(question.filters.contains(*question.chosenFilter));
            *question.chosenFilter = QString::fromLatin1(filter);
            return file("charts/history");
        };
        sheet->historyPage()->saveButton()->click();
        const bool svg = filter == std::string(CChartExport::kSvgFilter);
        QFile saved{file(svg ? "charts/history.svg" : "charts/history.png")};
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << filter;
        const QByteArray bytes = saved.readAll();
        EXPECT_TRUE(svg ? bytes.contains("<svg") : bytes.startsWith("\x89PNG")) << filter;
    }
    sheet->historyPage()->setFileChooser(nullptr);
    EXPECT_EQ(offered, file("charts"));
    EXPECT_FALSE(QFile::exists(file("charts/history")));
}

// The save dialog itself: the type picked in its list gives the name typed its extension, and
// the folder is offered again next time.
TEST_F(ChartsTest, TheChartSaveDialogAddsTheExtensionOfTheTypePicked) {
    QDir().mkpath(file("charts"));
    // The folder of the last chart saved, where the dialog starts: a name alone goes there.
    CAppSettings::write(CChartExport::kFolderValue, file("charts"));
    triggerView(frame, "Plan &Overview");
    COverviewDlg* overview = frame->overview();
    ASSERT_NE(overview, nullptr);
    QString title;
    QString folder;
    whenShown<QFileDialog>([&title, &folder](QFileDialog* dialog) {
        title = dialog->windowTitle();
        folder = dialog->directory().absolutePath();
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(types && name);
        QTest::keyClick(types, Qt::Key_Down); // from PNG to SVG
        QTest::keyClicks(name, "overview");
        QTest::keyClick(name, Qt::Key_Return);
    });
    overview->saveButton()->click();
    EXPECT_EQ(title, "Save the chart");
    EXPECT_EQ(folder, file("charts"));
    QFile saved{file("charts/overview.svg")};
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("<svg"));
    EXPECT_FALSE(QFile::exists(file("charts/overview")));
    EXPECT_EQ(CAppSettings::readText(CChartExport::kFolderValue), file("charts"));
}

TEST_F(ChartsTest, ThePlanOverviewPairsThePartsAndAClickedDivisionBecomesCurrent) {
    click(input, rowShowing(input, "Sleep"), hoursColumn(input));
    type(input, "8");
    key(input, Qt::Key_Return);
    triggerView(frame, "Plan &Overview");
    COverviewDlg* overview = frame->overview();
    ASSERT_NE(overview, nullptr);
    ASSERT_TRUE(overview->isVisible());
    QApplication::processEvents();
    // Work, Sleep and Reading, the furthest behind its plan first; Sleep got all the hours.
    ASSERT_EQ(overview->shares().size(), 3u);
    EXPECT_EQ(overview->shares().back().name, "Sleep");
    EXPECT_DOUBLE_EQ(overview->shares().back().actualPart, 100);
    EXPECT_EQ(barValues(overview->view()).size(), 3u);
    const QString said = overview->view()->accessibleDescription();
    EXPECT_TRUE(said.contains(QStringLiteral("Sleep: planned "))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral(", actual 100"))) << said.toStdString();
    for (int index : {0, 2}) { // the periods: 4 and 52 weeks
        overview->periodBox()->setCurrentIndex(index);
        EXPECT_EQ(overview->weeks(), index == 0 ? 4 : 52);
        EXPECT_EQ(overview->shares().size(), 3u);
    }
    // A click on Work's planned bar, where the chart draws it.
    int work = -1;
    for (std::size_t i = 0; i < overview->shares().size(); ++i)
        if (overview->shares()[i].name == "Work")
            work = static_cast<int>(i);
    ASSERT_GE(work, 0);
    QChart* chart = overview->view()->chart();
    QAbstractSeries* bars = chart->series().front();
    const double height =
        std::max(1.0, overview->shares()[static_cast<std::size_t>(work)].plannedPart);
    const QPointF scene = chart->mapToPosition(QPointF(work - 0.15, height / 2), bars);
    const QPoint at = overview->view()->mapFromScene(scene);
    QTest::mouseClick(overview->view()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(app.core().currentDivision(), 1);
    EXPECT_TRUE(frame->view()->divisionsShown());
    ASSERT_EQ(overview->shares().size(), 1u); // now the content of Work: Mail
    EXPECT_EQ(overview->shares().front().name, "Mail");
    // Up goes back to the whole plan, where there is no further up.
    ASSERT_TRUE(overview->upButton()->isEnabled());
    QTest::mouseClick(overview->upButton(), Qt::LeftButton);
    EXPECT_EQ(app.core().currentDivision(), CQLData::kRootId);
    EXPECT_EQ(overview->shares().size(), 3u);
    EXPECT_FALSE(overview->upButton()->isEnabled());
    // The keyboard's way in: the one division there is picked beside, and the Open button,
    // reached with Tab, opens it with the space bar.
    EXPECT_EQ(overview->divisionsBox()->count(), 1);
    EXPECT_EQ(overview->divisionsBox()->currentText(), "Work");
    QApplication::setActiveWindow(overview);
    overview->openButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(overview->openButton(), Qt::Key_Space);
    EXPECT_EQ(app.core().currentDivision(), 1);
    ASSERT_EQ(overview->shares().size(), 1u);
    EXPECT_FALSE(overview->openButton()->isEnabled()) << "Mail holds no division";
    overview->upButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(overview->upButton(), Qt::Key_Space);
    EXPECT_EQ(app.core().currentDivision(), CQLData::kRootId);
    QTest::mouseClick(overview->view()->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(overview->shares().size(), 1u);
    QApplication::clipboard()->clear();
    QTest::mouseClick(overview->copyButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->image().size(), overview->view()->size());
    // With its figures as text, for a keyboard user who cannot hover over the bars.
    EXPECT_TRUE(QApplication::clipboard()->text().contains("Mail: planned "))
        << QApplication::clipboard()->text().toStdString();
}

TEST_F(StartUpTest, TheChartsOpenOnAnEmptyPlanAndTakeADarkPalette) {
    lastRunYesterday();
    CHrplApp app{sink};
    ASSERT_TRUE(start(app));
    ASSERT_TRUE(app.createMainWindow());
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    app.mainFrame()->showActiveHistory();
    app.mainFrame()->showOverview();
    CItmInfoPrptSht* sheet = app.mainFrame()->paneDialogs()->sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->historyPage()->weeks().size(), 1u); // a plan with no hours begins now
    EXPECT_EQ(sheet->historyPage()->hoursView()->chart()->theme(), QChart::ChartThemeDark);
    EXPECT_TRUE(app.mainFrame()->overview()->shares().empty());
    EXPECT_EQ(app.mainFrame()->overview()->view()->chart()->theme(), QChart::ChartThemeDark);
    QApplication::setPalette(light);
}

} // namespace
