#include "views/CSpreadsheetView.h"

#include "views/CCellStore.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A pane like the input pane: a name column that stretches, a fixed number column, the filler.
class TestPane : public CSpreadsheetView {
public:
    void SetupGrid() override { setGridShape(3, 1); }
    void BuildTitle() override {
        appendColumn(CColumnShtInfo{10, {}, false, 0.7, QStringLiteral("Activity name")});
        appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("100.00")});
        appendColumn(CColumnShtInfo{10, {}, false, 0.3, QStringLiteral("x")});
        setCellText(1, 1, QStringLiteral("Name"));
        setCellText(1, 2, QStringLiteral("Part"));
        styleActiveTitle();
    }
};

class PaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.resize(600, 300);
        pane.attachGrid(&grid);
        pane.initialiseControl();
        pane.SetupGrid();
        pane.blankColumnHeadings();
        pane.BuildTitle();
        grid.show();
        QApplication::processEvents();
    }

    QColor pixel(const QImage& image, int row, int column, int dx = 0, int dy = 0) {
        const QRect cell = grid.visualRect(grid.store().index(row - 1, column - 1));
        const QPoint point = grid.viewport()->mapTo(&grid, cell.center() + QPoint(dx, dy));
        return image.pixelColor(point);
    }

    CVCF1 grid;
    TestPane pane;
};

TEST_F(PaneTest, StretchingColumnsShareTheWidthLeftByFixedOnes) {
    pane.FitColumnsToWidth();
    const int ppi = grid.logicalDpiX();
    const int fixedMinimum = pane.columns()[1].minimumWidth;
    EXPECT_GT(fixedMinimum, 0);
    EXPECT_NEAR(grid.columnWidthTwips(2), fixedMinimum * 1440 / ppi, 15);
    const double available = (grid.viewport()->width() - pane.widthReserve) * 1440.0 / ppi;
    const double free = available - fixedMinimum * 1440.0 / ppi;
    EXPECT_NEAR(grid.columnWidthTwips(1), 0.7 * free, 30);
    EXPECT_NEAR(grid.columnWidthTwips(3), 0.3 * free, 30);
}

TEST_F(PaneTest, TooNarrowAPaneShowsEveryColumnAtItsMinimum) {
    grid.resize(60, 300);
    QApplication::processEvents();
    pane.FitColumnsToWidth();
    const int ppi = grid.logicalDpiX();
    EXPECT_NEAR(grid.columnWidthTwips(1), pane.columns()[0].minimumWidth * 1440 / ppi, 15);
    EXPECT_NEAR(grid.columnWidthTwips(3), pane.columns()[2].minimumWidth * 1440 / ppi, 15);
}

TEST_F(PaneTest, APaneNarrowerThanItsReserveKeepsItsWidths) {
    pane.FitColumnsToWidth();
    const int before = grid.columnWidthTwips(1);
    grid.resize(8, 300);
    QApplication::processEvents();
    pane.FitColumnsToWidth();
    EXPECT_EQ(grid.columnWidthTwips(1), before);
}

TEST_F(PaneTest, RowsGetOneHeightPerLineOfWords) {
    pane.FitColumnsToWidth();
    grid.setColumnWidthTwips(1, 1440); // one inch: about ten characters
    pane.stylePlainRow(2);
    pane.stylePlainRow(3);
    pane.setCellText(2, 1, QStringLiteral("Averylongnamewithoutanyblankatall"));
    pane.setCellText(3, 1, QStringLiteral("Read the weekly reports of all teams"));
    pane.FitRowsFrom(2);
    const int single = grid.rowHeight(2);
    EXPECT_GT(single, 0);
    EXPECT_GE(grid.rowHeight(3), 3 * single);
    EXPECT_EQ(grid.rowHeight(3) % single, 0);
    EXPECT_TRUE(grid.formatAt(3, 1).wrap);
    EXPECT_FALSE(grid.formatAt(2, 1).wrap);
}

TEST_F(PaneTest, CellTextsAreCutAt254CharactersWithoutSplittingOne) {
    pane.setCellText(2, 1, QString(300, QLatin1Char('x')));
    EXPECT_EQ(grid.cellText(2, 1).size(), 254);
    pane.setCellText(2, 1, QString(253, QLatin1Char('a')) + QStringLiteral("\u00e9b"));
    EXPECT_EQ(grid.cellText(2, 1), QString(253, QLatin1Char('a')));
    // Old files may hold bytes that are no UTF-8: they show as Latin-1.
    EXPECT_EQ(plantext::toDisplay("caf\xe9"), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(plantext::toDisplay("caf\xc3\xa9"), QStringLiteral("caf\u00e9"));
}

TEST_F(PaneTest, ClearingDataRowsKeepsTheTitle) {
    pane.setCellText(2, 1, QStringLiteral("a"));
    pane.setCellText(5, 2, QStringLiteral("b"));
    pane.clearDataRows();
    EXPECT_EQ(grid.lastUsedRow(), 1);
    EXPECT_EQ(grid.cellText(1, 1), QStringLiteral("Name"));
}

TEST_F(PaneTest, TheGridShowsFillsAndDrawnBorders) {
    pane.FitColumnsToWidth();
    pane.setCellText(2, 1, QStringLiteral("Mail"));
    pane.stylePlainRow(2);
    pane.setCellText(3, 1, QStringLiteral("Work"));
    pane.styleDivisionRow(3);
    pane.setCellText(4, 1, QStringLiteral("Current"));
    pane.styleDataRow(4, CSpreadsheetView::kPlain, CSpreadsheetView::kNavy);
    pane.shadeFillerRows(1, 4, 3); // the title row and three data rows
    grid.clearSelection();
    QApplication::processEvents();
    const QImage image = grid.grab().toImage();
    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR"))
        image.save(QString::fromLocal8Bit(folder) + "/pane.png");
    EXPECT_EQ(pixel(image, 2, 2, 0, 0), QColor(246, 246, 246)); // plain
    EXPECT_EQ(pixel(image, 3, 2, 0, 0), QColor(255, 255, 0));   // division: yellow
    EXPECT_EQ(pixel(image, 4, 2, 0, 0), QColor(0, 0, 132));     // current division: navy
    EXPECT_EQ(pixel(image, 3, 3, 0, 0), QColor(239, 239, 239)); // filler column
    EXPECT_EQ(pixel(image, 1, 2, 0, 0), QColor(246, 246, 246)); // active title
    // A thin border in the border colour at the bottom edge of a plain cell.
    const QRect cell = grid.visualRect(grid.store().index(1, 1));
    const QPoint edge = grid.viewport()->mapTo(&grid, QPoint(cell.center().x(), cell.bottom()));
    EXPECT_EQ(image.pixelColor(edge), QColor(197, 197, 197));
    // Title text is drawn in black, bold, on the title row.
    bool dark = false;
    const QRect title = grid.visualRect(grid.store().index(0, 0));
    for (int x = title.left(); x < title.right() && !dark; ++x)
        for (int y = title.top() + 2; y < title.bottom() - 1 && !dark; ++y)
            dark = image.pixelColor(grid.viewport()->mapTo(&grid, QPoint(x, y))).lightness() < 60;
    EXPECT_TRUE(dark);
}

TEST_F(PaneTest, TypingIntoACellEndsWithTheEditEvent) {
    QString seen;
    QObject::connect(&grid, &CVCF1::endEdit, [&seen](QString* text, bool*) { seen = *text; });
    grid.setCurrentIndex(grid.store().index(1, 1));
    grid.setFocus();
    QTest::keyClick(&grid, '4'); // the first key opens the editor with it
    QLineEdit* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, ":30");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !seen.isEmpty(); }, 1000));
    EXPECT_EQ(seen, QStringLiteral("4:30"));
    EXPECT_EQ(grid.cellText(2, 2), QStringLiteral("4:30"));
}

TEST_F(PaneTest, ACancelledEditLeavesThePaneToWriteTheCell) {
    QObject::connect(&grid, &CVCF1::endEdit, [this](QString* text, bool*) {
        grid.cancelEdit();
        grid.setCellText(2, 2, QStringLiteral("written: ") + *text);
    });
    grid.finishEdit(2, 2, QStringLiteral("abc"));
    EXPECT_EQ(grid.cellText(2, 2), QStringLiteral("written: abc"));
}

TEST_F(PaneTest, KeysClicksAndSelectionReachThePane) {
    int keys = 0;
    int doubleClicks = 0;
    int selections = 0;
    QObject::connect(&grid, &CVCF1::keyDown, [&keys](int* key, int) {
        if (*key == Qt::Key_Insert) {
            ++keys;
            *key = 0;
        }
    });
    QObject::connect(&grid, &CVCF1::doubleClicked, [&doubleClicks](int row, int column) {
        if (row == 1 && column == 1)
            ++doubleClicks;
    });
    QObject::connect(&grid, &CVCF1::selectionChanged, [&selections] { ++selections; });
    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(keys, 1);
    const QPoint first = grid.visualRect(grid.store().index(0, 0)).center();
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(doubleClicks, 1);
    // One click, one selection change; a shift-click spans the range.
    selections = 0;
    grid.setCellText(3, 1, QStringLiteral("x"));
    const auto centre = [this](int row, int column) {
        return grid.visualRect(grid.store().index(row - 1, column - 1)).center();
    };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(2, 1));
    EXPECT_EQ(selections, 1);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(2, 2));
    EXPECT_EQ(selections, 2);
    EXPECT_EQ(grid.selectionRange().row1, 2);
    EXPECT_EQ(grid.selectionRange().column1, 1);
    EXPECT_EQ(grid.selectionRange().column2, 2);
    // A pane selecting a range to format it does not change what the user sees selected.
    pane.selectRow(3);
    EXPECT_EQ(selections, 2);
    EXPECT_EQ(grid.selectionRange().row1, 2);
}

} // namespace

namespace {

TEST_F(PaneTest, TheHeaderRowTakesTheLinesOfItsLongestTitle) {
    pane.FitColumnsToWidth();
    grid.setColumnWidthTwips(2, 720); // half an inch: a few characters
    pane.setCellText(1, 2, QStringLiteral("Time part of plan"));
    const int before = grid.rowHeight(1);
    pane.FitHeaderRow();
    EXPECT_GE(grid.rowHeight(1), 2 * before);
    for (int column = 1; column <= 3; ++column)
        EXPECT_TRUE(grid.formatAt(1, column).wrap) << column;
}

TEST_F(PaneTest, ARefillInABatchReachesTheViewAsOneReset) {
    int resets = 0;
    int changes = 0;
    QObject::connect(&grid.store(), &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    QObject::connect(&grid.store(), &QAbstractItemModel::dataChanged, [&changes] { ++changes; });
    grid.beginBatch();
    for (int row = 2; row < 5002; ++row) {
        pane.setCellText(row, 1, QStringLiteral("Activity %1").arg(row));
        pane.stylePlainRow(row);
    }
    grid.endBatch();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(grid.lastUsedRow(), 5001);
    EXPECT_GE(grid.store().rowCount(), 5001);
}

} // namespace
