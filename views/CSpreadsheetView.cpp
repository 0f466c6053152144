#include "views/CSpreadsheetView.h"

#include "parse/CStringChckF1.h"
#include "views/CCellStore.h"
#include "views/CVCF1.h"
#include "views/GridFont.h"
#include "views/PlanText.h"

#include <QFont>
#include <QFontMetrics>
#include <QScrollBar>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <cstdint>

bool CSpreadsheetView::s_selectionBusy = false;

namespace {

// Sets the flag for as long as the pane moves the selection.
class SelectionBusy {
public:
    explicit SelectionBusy(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~SelectionBusy() { m_flag = m_old; }

private:
    bool& m_flag;
    bool m_old;
};

// The user's active cell, kept through a fitting that may have removed its row.
class KeepActiveCell {
public:
    explicit KeepActiveCell(CVCF1& grid) : m_grid(grid) { m_grid.activeCell(m_row, m_column); }
    ~KeepActiveCell() { m_grid.keepActiveCell(m_row, m_column); }

private:
    CVCF1& m_grid;
    int m_row = 1;
    int m_column = 1;
};

} // namespace

CSpreadsheetView::CSpreadsheetView() : m_filler(10, QString(), false, 0.1, QStringLiteral("x")) {}

void CSpreadsheetView::FillFromDocument(CHrplDoc&) {}
void CSpreadsheetView::PrepareRows(CHrplDoc&) {}
void CSpreadsheetView::BuildTitle() {}
void CSpreadsheetView::SetupGrid() {}

void CSpreadsheetView::setGridShape(int columns, int titleRows) {
    m_columnCount = columns;
    m_titleRows = titleRows;
    if (!m_grid)
        return;
    m_grid->setColumnCount(columns);
    m_grid->setTitleRows(titleRows);
    m_grid->store().setInertColumn(columns);
}

void CSpreadsheetView::initialiseControl() {
    if (!m_grid)
        return;
    const std::pair<int, std::uint32_t> palette[] = {
        {1, 0x000000},  {2, 0xFFFFFF},       {3, kBorder},        {4, kPlain},
        {5, kNavy},     {6, kGreenPriority}, {7, kInactiveTitle}, {8, kFiller},
        {9, kPaleBlue}, {10, kSpare},        {15, kPinkPriority}, {16, kOrangePriority}};
    for (const auto& [index, colour] : palette)
        m_grid->setPaletteEntry(index, colour);
    QPalette background = m_grid->palette();
    background.setColor(QPalette::Base, CVCF1::toColor(kPlain));
    m_grid->setPalette(background);
}

void CSpreadsheetView::blankColumnHeadings() {
    if (!m_grid)
        return;
    for (int c = 1; c <= m_columnCount; ++c)
        m_grid->setColumnHeading(c, QStringLiteral(" "));
}

QString CSpreadsheetView::checkedText(const QString& text) {
    // A UTF-16 unit takes at most three bytes of UTF-8: a short text is never cut.
    if (static_cast<std::size_t>(text.size()) * 3 <= CStringChckF1::kMaxCellText)
        return text;
    const std::string checked = CStringChckF1::cellText(plantext::fromDisplay(text));
    return QString::fromUtf8(checked.data(), static_cast<qsizetype>(checked.size()));
}

void CSpreadsheetView::setCellText(int row, int column, const QString& text) {
    if (m_grid)
        m_grid->setCellText(row, column, checkedText(text));
}

void CSpreadsheetView::selectCell(int row, int column) {
    selectRange(row, column, row, column);
}

void CSpreadsheetView::selectRange(int row1, int column1, int row2, int column2) {
    if (m_grid)
        m_grid->selectRange(row1, column1, row2, column2);
}

void CSpreadsheetView::selectRow(int row) {
    selectRange(row, -1, row, -1);
}

void CSpreadsheetView::moveActiveCell(int row, int column) {
    if (m_grid)
        m_grid->setActiveCell(row, column);
}

void CSpreadsheetView::readActiveCell(int& row, int& column) const {
    row = column = 1;
    if (m_grid)
        m_grid->activeCell(row, column);
}

void CSpreadsheetView::leaveTitleRows() {
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    if (row > m_titleRows)
        return;
    moveActiveCell(m_titleRows + 1, 2);
    moveActiveCell(m_titleRows + 1, 1);
}

void CSpreadsheetView::clearDataRows() {
    if (!m_grid)
        return;
    const int last = m_grid->lastUsedRow();
    if (last > m_titleRows)
        m_grid->clearRange(m_titleRows + 1, -1, last, -1, 1);
}

void CSpreadsheetView::deferDataRows(int dataRows) {
    if (!m_grid)
        return;
    if (m_titleRows > 0)
        shadeFillerRows(1, m_titleRows, dataRows);
    m_grid->store().deferRows(m_titleRows + 1, m_titleRows + dataRows);
}

bool CSpreadsheetView::isDeferred(int row) const {
    return m_grid && m_grid->store().isDeferred(row);
}

void CSpreadsheetView::appendColumn(const CColumnShtInfo& column) {
    m_columns.push_back(column);
}

void CSpreadsheetView::styleRow(int row, int points, bool bold, std::uint32_t text,
                                std::uint32_t fill, bool borders) {
    if (!m_grid)
        return;
    SelectionBusy busy{s_selectionBusy};
    selectRow(row);
    m_grid->setSelectionFont(rowFont(bold, text, points));
    m_grid->setSelectionPattern(1, fill, 0xFFFFFF);
    if (borders)
        m_grid->setSelectionBorders(kBoxed);
}

void CSpreadsheetView::stylePlainRow(int row) {
    styleRow(row, 10, false, 0x000000, kPlain);
}

void CSpreadsheetView::styleDivisionRow(int row) {
    styleRow(row, 10, false, 0x000000, kYellow);
}

void CSpreadsheetView::styleDataRow(int row, std::uint32_t textColour, std::uint32_t fillColour) {
    styleRow(row, 10, false, textColour, fillColour);
}

// The title looks change font and fill only: each pane gives its title row its own borders.
// They stop before the spare last column, which stays the filler's from the top down whichever
// pane is active, as a refill shades it.
void CSpreadsheetView::styleTitle(int row, std::uint32_t text, std::uint32_t fill) {
    if (!m_grid)
        return;
    SelectionBusy busy{s_selectionBusy};
    selectRange(row, 1, row, std::max(1, m_columnCount - 1));
    m_grid->setSelectionFont(rowFont(true, text, m_titleFontSize));
    m_grid->setSelectionPattern(1, fill, 0xFFFFFF);
}

void CSpreadsheetView::styleActiveTitle(int row) {
    styleTitle(row, 0x000000, kPlain);
}

void CSpreadsheetView::styleInactiveTitle(int row) {
    styleTitle(row, kNavy, kInactiveTitle);
}

void CSpreadsheetView::frameTitleRow(int lastColumn) {
    selectRange(1, 1, 1, lastColumn);
    m_grid->setSelectionBorders(kBand);
    m_grid->setSelectionAlignment(CCellFormat::CentreAcross, false, 2);
}

void CSpreadsheetView::styleBoldRow(int row, int lastColumn) {
    selectRange(row, 1, row, lastColumn);
    m_grid->setSelectionFont(rowFont(true));
    m_grid->setSelectionPattern(1, kPlain, 0xFFFFFF);
}

void CSpreadsheetView::styleHeadingRow(int row, int lastColumn) {
    styleBoldRow(row, lastColumn);
    m_grid->setSelectionBorders(kBoxed);
    selectCell(row, 1);
    m_grid->setSelectionAlignment(CCellFormat::Right, false, 2);
}

// The spare last column: filled, no lines inside, outlined round the column of all rows.
void CSpreadsheetView::shadeFillerRows(int firstRow, int lastRow, int dataRows) {
    if (!m_grid)
        return;
    SelectionBusy busy{s_selectionBusy};
    selectRange(firstRow, m_columnCount, lastRow, m_columnCount);
    m_grid->setSelectionPattern(1, kFiller, 0xFFFFFF);
    m_grid->setSelectionBorders({.left = 0, .right = 0, .top = 0, .bottom = 0, .colour = kPlain});
    m_grid->setSelectionBorders({.left = 1, .right = 1, .colour = kBorder});
    if (firstRow == 1) {
        selectCell(1, m_columnCount);
        m_grid->setSelectionBorders({.top = 1, .colour = kBorder});
    }
    if (lastRow == m_titleRows + dataRows) {
        selectCell(lastRow, m_columnCount);
        m_grid->setSelectionBorders({.bottom = 1, .colour = kBorder});
    }
}

void CSpreadsheetView::FitColumnsToWidth() {
    if (!m_grid)
        return;
    const int width = m_grid->viewport()->width() - widthReserve;
    if (width <= 0)
        return;
    if (!m_columnsMeasured) {
        m_pixelsPerInch = m_grid->logicalDpiX();
        for (CColumnShtInfo& column : m_columns) {
            const QFont font = gridFont(column.face, column.points);
            column.minimumWidth = static_cast<int>(column.sample.size()) *
                                  QFontMetrics(font, m_grid).averageCharWidth();
        }
        m_columnsMeasured = true;
    }
    const long long available = static_cast<long long>(width) * 1440 / m_pixelsPerInch;
    long long fixedTwips = 0;
    long long minimumTwips = 0;
    int index = 1;
    for (const CColumnShtInfo& column : m_columns) {
        const long long minimum =
            static_cast<long long>(column.minimumWidth) * 1440 / m_pixelsPerInch;
        minimumTwips += minimum;
        if (column.fixed) {
            m_grid->setColumnWidthTwips(index, static_cast<int>(minimum));
            fixedTwips += minimum;
        }
        ++index;
    }
    index = 1;
    for (const CColumnShtInfo& column : m_columns) {
        if (!column.fixed) {
            const long long minimum =
                static_cast<long long>(column.minimumWidth) * 1440 / m_pixelsPerInch;
            const double twips = available > minimumTwips
                                     ? column.share * static_cast<double>(available - fixedTwips)
                                     : static_cast<double>(minimum);
            m_grid->setColumnWidthTwips(index, static_cast<int>(twips));
        }
        ++index;
    }
}

int CSpreadsheetView::singleLineHeight(int row) {
    const auto cached = m_rowHeights.find(row);
    if (cached != m_rowHeights.end())
        return cached->second;
    m_grid->fitRowHeights(row, 1, row, m_columnCount);
    const int height = m_grid->rowHeight(row);
    m_rowHeights.emplace(row, height);
    return height;
}

// The lines the text takes when wrapped at its words as the cell paints it: the words are
// measured in the cell's font, inside the cell's margins.
int CSpreadsheetView::fittedLines(int row, int column, const QString& text) {
    if (text.isEmpty() || !text.contains(QLatin1Char(' ')) || m_pixelsPerInch < 0)
        return 1;
    const int width = m_grid->columnWidthTwips(column) * m_pixelsPerInch / 1440 - kTextMargins;
    const CCellFormat format = m_grid->formatAt(row, column);
    if (width <= 0)
        return 1;
    const auto widthOf = [&](const QString& part) {
        return m_fonts.textWidth(part, format.face, static_cast<int>(format.points), format.bold,
                                 m_charset, m_grid);
    };
    const int space = widthOf(QStringLiteral(" "));
    int lines = 1;
    int onLine = 0;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int length = widthOf(word);
        if (onLine > 0 && onLine + space + length > width) {
            ++lines;
            onLine = 0;
        }
        onLine += length + (onLine > 0 ? space : 0);
    }
    return lines;
}

void CSpreadsheetView::fitRow(int row, int column, const QString& text) {
    if (!m_grid)
        return;
    const int single = singleLineHeight(row);
    const int lines = fittedLines(row, column, text);
    if (m_grid->rowHeight(row) != lines * single)
        m_grid->setRowHeight(row, lines * single);
    SelectionBusy busy{s_selectionBusy};
    selectCell(row, column);
    const CCellFormat format = m_grid->formatAt(row, column);
    if (lines == 1)
        m_grid->setSelectionAlignment(CCellFormat::Right, false, format.vertical);
    else
        m_grid->setSelectionAlignment(format.horizontal, true, format.vertical);
}

void CSpreadsheetView::FitRowsFrom(int firstRow) {
    if (!m_grid)
        return;
    if (m_rowFittingHeld) {
        m_fittedNameWidth = -1;
        return;
    }
    leaveUnfitted(firstRow, m_grid->lastUsedRow());
    fitRowsInView();
    if (m_unfittedCount > 0)
        m_grid->runWhenIdle([this] { return fitSomeUnfitted(); });
    m_fittedNameWidth = m_grid->columnWidthPixels(m_nameColumn);
}

void CSpreadsheetView::attachGrid(CVCF1* grid) {
    m_grid = grid;
    if (!m_grid)
        return;
    m_grid->setBeforePaint([this] { fitRowsInView(); });
    m_grid->setRowWriter([this](int row) { writeDeferredRow(row); });
}

void CSpreadsheetView::leaveUnfitted(int firstRow, int lastRow) {
    if (lastRow >= static_cast<int>(m_unfitted.size()))
        m_unfitted.resize(static_cast<std::size_t>(lastRow) + 1, 0);
    for (int row = std::max(firstRow, 1); row <= lastRow; ++row) {
        char& unfitted = m_unfitted[static_cast<std::size_t>(row)];
        m_unfittedCount += unfitted ? 0 : 1;
        unfitted = 1;
    }
}

// The rows in view and a screenful above and below them, until fitting moves no other
// unfitted row into that range.
void CSpreadsheetView::fitRowsInView() {
    for (int pass = 0; pass < 8 && m_unfittedCount > 0; ++pass) {
        int first = 0;
        int last = 0;
        m_grid->rowsInView(first, last);
        const int screen = last - first + 1;
        const std::vector<int> rows = unfittedIn(first - screen, last + screen, SIZE_MAX);
        if (rows.empty())
            return;
        fitEach(rows);
    }
}

// One batch of the rows left for later, from the top; false once none is left.
bool CSpreadsheetView::fitSomeUnfitted() {
    constexpr std::size_t kBatch = 200;
    const std::vector<int> rows = unfittedIn(1, INT_MAX, kBatch);
    if (!rows.empty()) {
        // Out of view: neither the rows in view nor the user's selection change.
        const int scrolled = m_grid->verticalScrollBar()->value();
        fitEach(rows);
        m_grid->verticalScrollBar()->setValue(scrolled);
    }
    return m_unfittedCount > 0;
}

void CSpreadsheetView::fitAllRows() {
    while (fitSomeUnfitted()) {
    }
}

void CSpreadsheetView::fitRows(const std::vector<int>& rows) {
    if (!m_grid || rows.empty())
        return;
    const int scrolled = m_grid->verticalScrollBar()->value();
    m_grid->setUpdatesEnabled(false);
    {
        // The active cell stays where it is: moving it row by row would make the grid
        // recompute every row's position for each row fitted.
        const KeepActiveCell keep{*m_grid};
        fitEach(rows);
    }
    m_grid->verticalScrollBar()->setValue(scrolled);
    m_grid->setUpdatesEnabled(true);
}

// Formats and heights only: the rows fitted as they come into view leave the user's active cell
// and selection as they are.
void CSpreadsheetView::fitEach(const std::vector<int>& rows) {
    m_grid->store().holdChanges();
    for (int row : rows) {
        markFitted(row);
        fitRow(row, m_nameColumn, m_grid->cellText(row, m_nameColumn));
    }
    m_grid->store().releaseChanges();
}

void CSpreadsheetView::markFitted(int row) {
    if (row < static_cast<int>(m_unfitted.size()) && m_unfitted[static_cast<std::size_t>(row)]) {
        m_unfitted[static_cast<std::size_t>(row)] = 0;
        --m_unfittedCount;
    }
}

// Up to most of the rows from first to last left for later. A row past the list (a refill
// emptied it since) keeps the height it has.
std::vector<int> CSpreadsheetView::unfittedIn(int first, int last, std::size_t most) {
    std::vector<int> rows;
    const int lastUsed = m_grid->lastUsedRow();
    last = std::min(last, static_cast<int>(m_unfitted.size()) - 1);
    for (int row = std::max(first, 1); row <= last && rows.size() < most; ++row) {
        if (!m_unfitted[static_cast<std::size_t>(row)])
            continue;
        if (row <= lastUsed)
            rows.push_back(row);
        else
            markFitted(row);
    }
    return rows;
}

// The header row wraps its titles and is as tall as its longest title needs at the columns'
// fitted widths, measured with the title's own font rather than estimated.
void CSpreadsheetView::FitHeaderRow() {
    if (!m_grid || m_titleRows < 1)
        return;
    const KeepActiveCell keep{*m_grid};
    const int row = m_titleRows;
    {
        SelectionBusy busy{s_selectionBusy};
        for (int c = 1; c <= m_columnCount; ++c) {
            selectCell(row, c);
            const CCellFormat format = m_grid->formatAt(row, c);
            m_grid->setSelectionAlignment(format.horizontal, true, format.vertical);
        }
    }
    m_grid->fitRowHeights(row, 1, row, m_columnCount);
    moveActiveCell(row, 1);
    // The rows' lines depend on the name column's width alone: refit only when it changed.
    if (m_grid->columnWidthPixels(m_nameColumn) != m_fittedNameWidth)
        FitRowsFrom(m_titleRows + 1);
}
