#pragma once

#include "views/CACntrlHlpr.h"
#include "views/CCellDelegate.h"
#include "views/CColumnShtInfo.h"
#include "views/CFontInfoList.h"
#include "views/CVCF1.h"

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

class CHrplDoc;

// The common base of the three panes. It is not a window: it drives a grid that the main view
// owns, and gives the panes their colours, row styles, column widths fitted to the pane's
// width, row heights fitted to wrapped names, and the check of every text put into a cell.
// What a pane shows is the pane's own business.
class CSpreadsheetView : public CACntrlHlpr {
public:
    // Colours, 0x00BBGGRR.
    static constexpr std::uint32_t kInactiveTitle = 0xDFDEDF;
    static constexpr std::uint32_t kGreenPriority = 0xCDFFCD;
    static constexpr std::uint32_t kNavy = 0x840000;
    static constexpr std::uint32_t kYellow = 0x00FFFF;
    static constexpr std::uint32_t kOrangePriority = 0x9FCDFF;
    static constexpr std::uint32_t kPinkPriority = 0xCDCDFF;
    static constexpr std::uint32_t kPlain = 0xF6F6F6;
    static constexpr std::uint32_t kBorder = 0xC5C5C5;
    static constexpr std::uint32_t kFiller = 0xEFEFEF;
    static constexpr std::uint32_t kPaleBlue = 0xE6E0B0;
    static constexpr std::uint32_t kSpare = 0xAAE8EE;
    static constexpr std::uint32_t kDimText = 0x808080;

    // Every side of every cell.
    static constexpr CVCF1::Borders kBoxed{1, 1, 1, 1, 1, kBorder};
    // Round the range, with no lines between its cells.
    static constexpr CVCF1::Borders kOutlined{.outline = 1, .colour = kBorder};
    // A band across: round the range, and above and below each cell.
    static constexpr CVCF1::Borders kBand{.outline = 1, .top = 1, .bottom = 1, .colour = kBorder};

    CSpreadsheetView();
    ~CSpreadsheetView() override = default;

    virtual void FitRowsFrom(int firstRow);
    virtual void FillFromDocument(CHrplDoc& document);
    virtual void PrepareRows(CHrplDoc& document);
    virtual void FitHeaderRow();
    virtual void FitColumnsToWidth();
    virtual void BuildTitle();
    virtual void SetupGrid();

    // A pane not yet on screen has no final width: its rows are fitted once it is shown.
    void holdRowFitting(bool held) { m_rowFittingHeld = held; }
    void attachGrid(CVCF1* grid);
    CVCF1* grid() const { return m_grid; }
    int columnCount() const { return m_columnCount; }
    const std::vector<CColumnShtInfo>& columns() const { return m_columns; }

    // The application-wide flag under which the panes move the selection themselves; the
    // selection handlers do nothing while it is set.
    static bool selectionBusy() { return s_selectionBusy; }

    void initialiseControl();
    void blankColumnHeadings();
    void setCellText(int row, int column, const QString& text);
    void selectCell(int row, int column);
    void selectRange(int row1, int column1, int row2, int column2);
    void selectRow(int row);
    void moveActiveCell(int row, int column);
    void readActiveCell(int& row, int& column) const;
    // A selection that reached the title rows puts the active cell on the first data row.
    void leaveTitleRows();
    void clearDataRows();
    // The data rows, just cleared, are written by writeDeferredRow when first read or changed;
    // the filler of the title rows is shaded now.
    void deferDataRows(int dataRows);
    bool isDeferred(int row) const;
    void appendColumn(const CColumnShtInfo& column);

    void stylePlainRow(int row);
    void styleDivisionRow(int row);
    // A data row in its text and fill colours, boxed.
    void styleDataRow(int row, std::uint32_t textColour, std::uint32_t fillColour);
    void styleActiveTitle(int row = 1);
    void styleInactiveTitle(int row = 1);
    void styleTitle(int row, std::uint32_t text, std::uint32_t fill);
    // The title row as a band with its text centred across the columns up to lastColumn.
    void frameTitleRow(int lastColumn);
    // A row up to lastColumn in bold on plain, left selected for more formatting.
    void styleBoldRow(int row, int lastColumn);
    // A row of column headings up to lastColumn: bold on plain, boxed, the first one
    // right-aligned.
    void styleHeadingRow(int row, int lastColumn);
    // The face, size and colour of the rows, in bold or not.
    CVCF1::Font rowFont(bool bold, std::uint32_t colour = 0x000000, int points = 10) const {
        return {.face = m_defaultFace,
                .points = static_cast<double>(points),
                .bold = bold,
                .colour = colour};
    }
    // The spare last column of the rows, of a pane with that many data rows: filled, and
    // outlined round the column of all its rows.
    void shadeFillerRows(int firstRow, int lastRow, int dataRows);
    // Fits a row to the words of the text in the column (the name column).
    void fitRow(int row, int column, const QString& text);
    // Fits the rows to their names, keeping the user's active cell and view.
    void fitRows(const std::vector<int>& rows);
    // Fits every row left for later now.
    void fitAllRows();
    // How many rows wait to be fitted: those out of view after a refill, until the program
    // has a moment to spare or they scroll into view.
    int unfittedRows() const { return m_unfittedCount; }
    // The text a cell holds once setCellText has checked it.
    static QString checkedText(const QString& text);

    int widthReserve = 10;
    // The pixels a cell's text keeps off its left and right edges together.
    static constexpr int kTextMargins = 2 * CCellDelegate::kTextMargin;

protected:
    // Writes a data row that a refill left for later, as the refill would have written it.
    virtual void writeDeferredRow(int row) { (void)row; }
    void setGridShape(int columns, int titleRows);
    int fittedLines(int row, int column, const QString& text);
    int singleLineHeight(int row);
    void fitEach(const std::vector<int>& rows);
    void leaveUnfitted(int firstRow, int lastRow);
    void fitRowsInView();
    bool fitSomeUnfitted();
    void markFitted(int row);
    std::vector<int> unfittedIn(int first, int last, std::size_t most);

    CColumnShtInfo m_filler;
    std::map<int, int> m_rowHeights; // row to its single-line height
    int m_fittedNameWidth = -1;      // the name column's width when all rows were last fitted
    bool m_rowFittingHeld = false;
    // By row: whether its height waits to be fitted. A refill fits the rows in view and a
    // screenful around them at once, the others when seen or in idle time; the grid scrolls by
    // whole rows, so a row fitted out of view never moves the rows the user sees.
    std::vector<char> m_unfitted;
    int m_unfittedCount = 0;
    CFontInfoList m_fonts;
    int m_pixelsPerInch = -1;
    std::vector<CColumnShtInfo> m_columns;
    int m_columnCount = 1;
    short m_charset = 0;
    CVCF1* m_grid = nullptr;
    QString m_defaultFace{QStringLiteral("Courier New")};
    int m_titleFontSize = 12;
    int m_nameColumn = 1;
    int m_titleRows = 0;
    bool m_columnsMeasured = false;

private:
    void styleRow(int row, int points, bool bold, std::uint32_t text, std::uint32_t fill,
                  bool borders = true);
    static bool s_selectionBusy;
};
