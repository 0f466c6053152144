#pragma once

#include "views/CCellFormat.h"

#include <QAbstractTableModel>

#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <vector>

// The cells of one grid: text and a shared format per cell, and the row heights. Rows and
// columns count from 1 here as in the panes. Changes made inside a batch reach the view as
// one reset, so a refill of thousands of rows costs one layout pass.
class CCellRules;

class CCellStore : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit CCellStore(QObject* parent = nullptr) : QAbstractTableModel(parent) {
        m_formats.push_back({});
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // To assistive technology the last title row is the columns' headers.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void beginBatch();
    void endBatch();
    bool inBatch() const { return m_batchDepth > 0; }
    // Between these, changes to cells reach the view as one change of the range they span:
    // a view told of each cell would place every one of them anew after each row resized.
    void holdChanges();
    void releaseChanges();

    void setColumns(int count);
    int columns() const { return m_columns; }
    // A column that takes no focus and no text (the panes' narrow filler); 0 for none.
    void setInertColumn(int column) { m_inertColumn = column; }
    // What assistive technology is told of the cells: the rows above the data (the last of
    // them the headings), and which cells take no typing.
    void setTitleRows(int rows);
    void setCellRules(const CCellRules* rules) { m_rules = rules; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    static constexpr const char* kReadOnly = "read-only";
    // The title rows above the headings, as one line: the grid's caption.
    QString caption() const;
    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    const CCellFormat& format(int row, int column) const;
    // Applies the change to the format of every cell of the range (1-based, inclusive).
    void changeFormat(int row1, int column1, int row2, int column2,
                      const std::function<void(CCellFormat&)>& change);
    // The last row that holds a text.
    int lastUsedRow() const;
    // Removes the rows' texts and formats (they show as new cells again).
    void clearRows(int row1, int row2);
    int rowHeight(int row) const;
    void setRowHeight(int row, int pixels);

    // Rows a refill has just cleared can be left for the writer, which writes one of them as
    // it would have been written at once: when it is first read or changed, so a refill of
    // thousands of rows writes only those someone looks at. They count as used; clearing them
    // drops them unwritten. The writer's own changes reach no view, which has not seen the
    // row yet.
    void setRowWriter(std::function<void(int row)> writer) { m_rowWriter = std::move(writer); }
    void deferRows(int row1, int row2);
    bool isDeferred(int row) const {
        return row >= 1 && row <= static_cast<int>(m_deferred.size()) &&
               m_deferred[static_cast<std::size_t>(row - 1)] != 0;
    }
    int deferredRows() const { return m_deferredCount; }

private:
    struct Cell {
        QString text;
        std::uint32_t format = 0;
    };

    void ensureRow(int row);
    int scanLastUsedRow() const;
    // Writes the rows of the range still left for the writer.
    void writeDeferred(int row1, int row2) const;
    std::uint32_t formatId(const CCellFormat& format);
    void changed(int row1, int column1, int row2, int column2);

    int m_columns = 1;
    int m_inertColumn = 0;
    int m_titleRows = 0;
    const CCellRules* m_rules = nullptr;
    bool m_readOnly = false;
    int m_visibleRows = 0;
    std::vector<std::vector<Cell>> m_rows;
    std::vector<int> m_heights;
    // A deque: a reader's reference to a format outlives a deferred row written meanwhile.
    std::deque<CCellFormat> m_formats;
    std::map<CCellFormat, std::uint32_t> m_formatIds;
    int m_lastUsed = 0;
    int m_batchDepth = 0;
    bool m_batchChanged = false;
    int m_holdDepth = 0;
    int m_heldRow1 = 0; // 0 while nothing changed under the hold
    int m_heldColumn1 = 0;
    int m_heldRow2 = 0;
    int m_heldColumn2 = 0;
    std::function<void(int row)> m_rowWriter;
    // Written on a read, which is const to its callers.
    mutable std::vector<char> m_deferred; // by row from 1: still left for the writer
    mutable int m_deferredCount = 0;
    mutable int m_writingDeferred = 0;
};
