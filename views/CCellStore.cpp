#include "views/CCellStore.h"

#include "views/CCellRules.h"

#include <QStringList>

#include <algorithm>

namespace {
// The grid always offers some empty rows below the last used one, as a spreadsheet does.
constexpr int kSpareRows = 40;
} // namespace

int CCellStore::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(m_visibleRows, lastUsedRow()) + kSpareRows;
}

int CCellStore::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant CCellStore::data(const QModelIndex& index, int role) const {
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return text(row, column);
    // The text is whole here; only the painting cuts it short with "...".
    if (role == Qt::AccessibleDescriptionRole && row > m_titleRows &&
        (m_readOnly || (m_rules && !m_rules->editable(row, column))))
        return QString::fromLatin1(kReadOnly);
    return {};
}

QVariant CCellStore::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical || m_titleRows == 0)
        return QString{};
    return text(m_titleRows, section + 1).simplified();
}

void CCellStore::setTitleRows(int rows) {
    if (rows == m_titleRows)
        return;
    m_titleRows = rows;
    if (m_columns > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

QString CCellStore::caption() const {
    QStringList lines;
    for (int row = 1; row < m_titleRows; ++row) {
        QStringList cells;
        for (int column = 1; column <= m_columns; ++column)
            if (const QString cell = text(row, column).simplified(); !cell.isEmpty())
                cells << cell;
        if (!cells.isEmpty())
            lines << cells.join(QLatin1Char(' '));
    }
    return lines.join(QStringLiteral(", "));
}

Qt::ItemFlags CCellStore::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.column() + 1 == m_inertColumn)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void CCellStore::beginBatch() {
    if (m_batchDepth++ == 0) {
        beginResetModel();
        m_batchChanged = false;
    }
}

void CCellStore::endBatch() {
    if (m_batchDepth > 0 && --m_batchDepth == 0) {
        m_visibleRows = std::max(m_visibleRows, lastUsedRow());
        endResetModel();
    }
}

void CCellStore::holdChanges() {
    if (m_holdDepth++ == 0)
        m_heldRow1 = 0;
}

void CCellStore::releaseChanges() {
    if (m_holdDepth == 0 || --m_holdDepth > 0 || m_heldRow1 == 0)
        return;
    changed(m_heldRow1, m_heldColumn1, m_heldRow2, m_heldColumn2);
}

void CCellStore::changed(int row1, int column1, int row2, int column2) {
    if (m_writingDeferred > 0)
        return;
    if (m_batchDepth > 0) {
        m_batchChanged = true;
        return;
    }
    if (m_holdDepth > 0) {
        const bool first = m_heldRow1 == 0;
        m_heldRow1 = first ? row1 : std::min(m_heldRow1, row1);
        m_heldColumn1 = first ? column1 : std::min(m_heldColumn1, column1);
        m_heldRow2 = first ? row2 : std::max(m_heldRow2, row2);
        m_heldColumn2 = first ? column2 : std::max(m_heldColumn2, column2);
        return;
    }
    const int used = lastUsedRow();
    if (used > m_visibleRows) {
        beginInsertRows({}, m_visibleRows + kSpareRows, used + kSpareRows - 1);
        m_visibleRows = used;
        endInsertRows();
    }
    emit dataChanged(index(row1 - 1, column1 - 1), index(row2 - 1, column2 - 1));
}

void CCellStore::setColumns(int count) {
    const bool batch = m_batchDepth > 0;
    if (!batch)
        beginResetModel();
    m_columns = std::max(1, count);
    for (auto& row : m_rows)
        row.resize(static_cast<std::size_t>(m_columns));
    if (!batch)
        endResetModel();
}

void CCellStore::ensureRow(int row) {
    if (static_cast<int>(m_rows.size()) < row)
        m_rows.resize(static_cast<std::size_t>(row),
                      std::vector<Cell>(static_cast<std::size_t>(m_columns)));
}

QString CCellStore::text(int row, int column) const {
    writeDeferred(row, row);
    if (row < 1 || column < 1 || row > static_cast<int>(m_rows.size()) || column > m_columns)
        return {};
    return m_rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)].text;
}

void CCellStore::setText(int row, int column, const QString& text) {
    if (row < 1 || column < 1 || column > m_columns)
        return;
    writeDeferred(row, row);
    ensureRow(row);
    QString& held =
        m_rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)].text;
    if (held == text)
        return; // nothing to redraw
    held = text;
    if (!text.isEmpty())
        m_lastUsed = std::max(m_lastUsed, row);
    else if (row == m_lastUsed)
        m_lastUsed = scanLastUsedRow();
    changed(row, column, row, column);
}

const CCellFormat& CCellStore::format(int row, int column) const {
    writeDeferred(row, row);
    if (row < 1 || column < 1 || row > static_cast<int>(m_rows.size()) || column > m_columns)
        return m_formats.front();
    return m_formats[m_rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)]
                         .format];
}

std::uint32_t CCellStore::formatId(const CCellFormat& format) {
    const auto known = m_formatIds.find(format);
    if (known != m_formatIds.end())
        return known->second;
    const auto id = static_cast<std::uint32_t>(m_formats.size());
    m_formats.push_back(format);
    m_formatIds.emplace(format, id);
    return id;
}

void CCellStore::changeFormat(int row1, int column1, int row2, int column2,
                              const std::function<void(CCellFormat&)>& change) {
    row1 = std::max(row1, 1);
    column1 = std::max(column1, 1);
    column2 = std::min(column2, m_columns);
    if (row2 < row1 || column2 < column1)
        return;
    writeDeferred(row1, row2);
    ensureRow(row2);
    // Cells of one format change to one new format: remember the mapping within the call.
    std::map<std::uint32_t, std::uint32_t> mapped;
    for (int r = row1; r <= row2; ++r) {
        for (int c = column1; c <= column2; ++c) {
            Cell& cell = m_rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)];
            const auto known = mapped.find(cell.format);
            if (known != mapped.end()) {
                cell.format = known->second;
                continue;
            }
            CCellFormat format = m_formats[cell.format];
            change(format);
            const std::uint32_t id = formatId(format);
            mapped.emplace(cell.format, id);
            cell.format = id;
        }
    }
    changed(row1, column1, row2, column2);
}

int CCellStore::lastUsedRow() const {
    return m_lastUsed;
}

int CCellStore::scanLastUsedRow() const {
    const auto rows = static_cast<int>(std::max(m_rows.size(), m_deferred.size()));
    for (int r = rows; r >= 1; --r) {
        if (isDeferred(r))
            return r;
        if (r <= static_cast<int>(m_rows.size()))
            for (const Cell& cell : m_rows[static_cast<std::size_t>(r - 1)])
                if (!cell.text.isEmpty())
                    return r;
    }
    return 0;
}

void CCellStore::deferRows(int row1, int row2) {
    row1 = std::max(row1, 1);
    if (row2 < row1)
        return;
    if (static_cast<int>(m_deferred.size()) < row2)
        m_deferred.resize(static_cast<std::size_t>(row2), 0);
    for (int r = row1; r <= row2; ++r) {
        char& deferred = m_deferred[static_cast<std::size_t>(r - 1)];
        m_deferredCount += deferred ? 0 : 1;
        deferred = 1;
    }
    m_lastUsed = std::max(m_lastUsed, row2);
    changed(row1, 1, row2, m_columns);
}

void CCellStore::writeDeferred(int row1, int row2) const {
    if (m_deferredCount == 0 || !m_rowWriter)
        return;
    row1 = std::max(row1, 1);
    row2 = std::min(row2, static_cast<int>(m_deferred.size()));
    for (int r = row1; r <= row2 && m_deferredCount > 0; ++r) {
        char& deferred = m_deferred[static_cast<std::size_t>(r - 1)];
        if (!deferred)
            continue;
        deferred = 0; // first: the writer reads and changes the row itself
        --m_deferredCount;
        ++m_writingDeferred;
        m_rowWriter(r);
        --m_writingDeferred;
    }
}

void CCellStore::clearRows(int row1, int row2) {
    row1 = std::max(row1, 1);
    for (int r = row1; r <= std::min(row2, static_cast<int>(m_deferred.size())); ++r) {
        char& deferred = m_deferred[static_cast<std::size_t>(r - 1)];
        m_deferredCount -= deferred ? 1 : 0;
        deferred = 0;
    }
    row2 = std::min(row2, static_cast<int>(m_rows.size()));
    for (int r = row1; r <= row2; ++r)
        for (Cell& cell : m_rows[static_cast<std::size_t>(r - 1)])
            cell = Cell{};
    m_lastUsed = scanLastUsedRow();
    if (row2 >= row1)
        changed(row1, 1, row2, m_columns);
}

int CCellStore::rowHeight(int row) const {
    if (row < 1 || row > static_cast<int>(m_heights.size()))
        return -1;
    return m_heights[static_cast<std::size_t>(row - 1)];
}

void CCellStore::setRowHeight(int row, int pixels) {
    if (row < 1)
        return;
    if (static_cast<int>(m_heights.size()) < row)
        m_heights.resize(static_cast<std::size_t>(row), -1);
    m_heights[static_cast<std::size_t>(row - 1)] = pixels;
}
