#pragma once

#include "views/CCellFormat.h"

#include <QTableView>
#include <QTimer>

#include <functional>
#include <map>
#include <tuple>
#include <vector>

class CCellRules;
class CCellStore;

// The spreadsheet grid of the panes: cells with their own fonts, fills and drawn borders over
// a cell store, without the usual headings and row numbers. Rows and columns count from 1; in
// a range, -1 for the columns means whole rows and -1 for the rows whole columns. Colours are
// 0x00BBGGRR values. The events the panes handle are signals; the edit of a cell ends with
// endEdit, whose handler may cancel the grid's own write of the text.
// The panes select ranges to format them; that target is not what the user sees selected. The
// user sees one highlighted cell, the active one, which is also the cell keystrokes go to, and
// it stays where the user put it across refills.
class CVCF1 : public QTableView {
    Q_OBJECT

public:
    struct Range {
        int row1 = 1;
        int column1 = 1;
        int row2 = 1;
        int column2 = 1;
    };

    explicit CVCF1(QWidget* parent = nullptr);

    CCellStore& store() { return *m_store; }
    const CCellStore& store() const { return *m_store; }

    void beginBatch();
    void endBatch();

    // The rows above the data: the last holds the columns' headings, the others name the grid.
    void setTitleRows(int rows);
    int titleRows() const { return m_titleRows; }
    void setColumnCount(int columns);
    int columnCount() const;
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    void setColumnHeading(int column, const QString& text);
    int lastUsedRow() const;

    int rowHeight(int row) const;
    void setRowHeight(int row, int pixels);
    int columnWidthTwips(int column) const;
    void setColumnWidthTwips(int column, int twips);
    int columnWidthPixels(int column) const;

    // The range the next format call applies to.
    void selectRange(int row1, int column1, int row2, int column2);
    // The user's selection, as the selection-changed event reports it.
    Range selectionRange() const { return m_selection; }
    struct Font {
        QString face; // empty: the grid's fixed face
        double points = 10;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        std::uint32_t colour = 0x000000;
    };
    void setSelectionFont(const Font& font);
    CCellFormat formatAt(int row, int column) const;
    // horizontal: CCellFormat::HorizontalAlign; vertical 1 top, 2 centre, 3 bottom.
    void setSelectionAlignment(int horizontal, bool wrap, int vertical, int orientation = 0);
    // pattern 1 is a solid fill in the foreground colour; 0 removes the fill.
    void setSelectionPattern(int pattern, std::uint32_t foreground, std::uint32_t background);
    // Styles 1 thin, 0 none, -1 unchanged; the outline goes round the whole selection, the
    // sides apply to every cell in it. One colour for all the lines drawn.
    struct Borders {
        int outline = -1;
        int left = -1;
        int right = -1;
        int top = -1;
        int bottom = -1;
        std::uint32_t colour = 0x000000;
    };
    void setSelectionBorders(const Borders& borders);
    void setPaletteEntry(int index, std::uint32_t colour);
    std::uint32_t paletteEntry(int index) const;

    void activeCell(int& row, int& column) const;
    void setActiveCell(int row, int column);
    // Puts the active cell back where it was before a refill: that cell, or the first empty row
    // when its row is gone.
    void keepActiveCell(int row, int column);
    // Mode 1 clears whole rows of the range: texts and formats.
    void clearRange(int row1, int column1, int row2, int column2, int mode);
    void fitRowHeights(int row1, int column1, int row2, int column2);
    // The rows the viewport shows, whole or in part (counted from 1).
    void rowsInView(int& first, int& last) const;
    // Asked before the rows in view are painted, to give any of them left for later its
    // height; and, while the step says there is more, whenever the program has nothing else
    // to do.
    void setBeforePaint(std::function<void()> beforePaint) {
        m_beforePaint = std::move(beforePaint);
    }
    void runWhenIdle(std::function<bool()> step);
    // Writes a row a refill left for later (CCellStore::deferRows); the range the format calls
    // apply to is the same after it as before.
    void setRowWriter(std::function<void(int row)> write);
    static constexpr int kIdlePauseMs = 150;
    // Called from an endEdit handler: the grid does not write the edited text itself.
    void cancelEdit() { m_editCancelled = true; }
    // A read-only grid opens no editor and takes no paste; copying still works.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // What the pane says of its cells: which take typing, with what text, and where Tab goes.
    void setCellRules(const CCellRules* rules);
    const CCellRules* cellRules() const { return m_rules; }
    // Whether the open editor was begun by typing into the cell: then an arrow key commits and
    // moves, as in a spreadsheet; begun with F2 or a double click it moves the caret.
    bool editBegunByTyping() const { return m_typedEdit; }
    // The active cell one step in the direction of an arrow key, as the key would move it.
    void stepActiveCell(Qt::Key arrow);
    // A faint hint painted in the first empty row under the list, in column 1.
    void setEmptyRowHint(const QString& hint) { m_emptyRowHint = hint; }
    QString emptyRowHint() const { return m_emptyRowHint; }
    bool isEditing(const QModelIndex& index) const {
        return state() == EditingState && currentIndex() == index;
    }
    bool editing() const { return state() == EditingState; }

    // The selected cells as text, a tab between cells and a line end between rows; rows below
    // the last used one are left out.
    QString selectedText() const;
    void copySelection() const;
    // The first cell of the clipboard's text goes into the active cell as if typed there.
    void pasteIntoActiveCell();

    // A finished edit of the cell: the handlers read that cell as the active one, and the
    // active cell then goes back to where the user moved it meanwhile.
    void finishEdit(int row, int column, const QString& text);
    static QColor toColor(std::uint32_t bgr);

signals:
    void mouseDown(int button, int shift, int x, int y);
    void keyDown(int* key, int shift);
    void keyUp(int* key, int shift);
    void doubleClicked(int row, int column);
    void selectionChanged();
    void endEdit(QString* text, bool* cancel);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyboardSearch(const QString&) override {}
    void updateGeometries() override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void nameAfterTitle();
    Range normalised(int row1, int column1, int row2, int column2) const;
    void onSelection();
    void reportSelection();
    int defaultRowHeight() const;
    // The height of one line of a cell's font, measured once per font.
    int lineHeight(const CCellFormat& format) const;
    // Runs a user's press of a key or a button: one selection change reported at its end.
    template <typename F> void asUserAction(F&& action);
    int lastRowToShow() const;

    CCellStore* m_store;
    int m_titleRows = 0;
    Range m_selection;
    Range m_formatRange;
    std::vector<QString> m_headings;
    std::vector<std::uint32_t> m_palette = std::vector<std::uint32_t>(56, 0xFFFFFF);
    bool m_editCancelled = false;
    bool m_selecting = false;
    bool m_readOnly = false;
    const CCellRules* m_rules = nullptr;
    bool m_typedEdit = false;
    bool m_inUserAction = false;
    bool m_selectionPending = false;
    // While an edit is finished: the edited cell, which the handlers read as the active one.
    int m_finishingRow = 0;
    int m_finishingColumn = 0;
    // The active cell kept over a batch, whose reset forgets it.
    int m_batchRow = 0;
    int m_batchColumn = 0;
    QString m_emptyRowHint;
    mutable std::map<std::tuple<QString, double, bool>, int> m_lineHeights;
    std::function<void()> m_beforePaint;
    std::function<bool()> m_idleStep;
    QTimer m_idle;
};
