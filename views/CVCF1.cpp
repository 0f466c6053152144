#include "views/CVCF1.h"

#include "views/CCellDelegate.h"
#include "views/CCellRules.h"
#include "views/CCellStore.h"
#include "views/GridFont.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <climits>

namespace {

// Typing, F2 and a double click (which the grid handles itself) open an editor.
constexpr QAbstractItemView::EditTriggers kEditTriggers{QAbstractItemView::AnyKeyPressed |
                                                        QAbstractItemView::EditKeyPressed |
                                                        QAbstractItemView::DoubleClicked};

int shiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

QFont cellFont(const CCellFormat& format) {
    QFont font = gridFont(format.face, format.points);
    font.setBold(format.bold);
    return font;
}

} // namespace

QColor CVCF1::toColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

CVCF1::CVCF1(QWidget* parent) : QTableView(parent), m_store(new CCellStore{this}) {
    setModel(m_store);
    setItemDelegate(new CCellDelegate{*this});
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(4);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight());
    horizontalHeader()->setMinimumSectionSize(4);
    setShowGrid(false);
    setWordWrap(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(kEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &CVCF1::onSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &CVCF1::onSelection);
    // A screen reader names the grid by its title rows.
    connect(m_store, &QAbstractItemModel::modelReset, this, &CVCF1::nameAfterTitle);
    connect(&m_idle, &QTimer::timeout, this, [this] {
        m_idle.setInterval(0);
        if (!m_idleStep || !m_idleStep())
            m_idle.stop();
    });
    connect(m_store, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
        if (topLeft.row() + 1 < m_titleRows)
            nameAfterTitle();
    });
}

void CVCF1::nameAfterTitle() {
    setAccessibleName(m_store->caption());
}

int CVCF1::defaultRowHeight() const {
    return lineHeight(CCellFormat{}) + 6;
}

int CVCF1::lineHeight(const CCellFormat& format) const {
    const auto key = std::make_tuple(format.face, format.points, format.bold);
    const auto known = m_lineHeights.find(key);
    if (known != m_lineHeights.end())
        return known->second;
    const int height = QFontMetrics(cellFont(format)).height();
    m_lineHeights.emplace(key, height);
    return height;
}

void CVCF1::beginBatch() {
    if (m_batchRow == 0) {
        const QModelIndex current = currentIndex();
        m_batchRow = current.isValid() ? current.row() + 1 : -1;
        m_batchColumn = current.column() + 1;
    }
    m_store->beginBatch();
}

void CVCF1::endBatch() {
    m_store->endBatch();
    if (m_store->inBatch())
        return;
    // A reset forgets the sections: give every row its height again.
    const int rows = m_store->rowCount();
    for (int r = 1; r <= rows; ++r)
        if (m_store->rowHeight(r) > 0)
            verticalHeader()->resizeSection(r - 1, m_store->rowHeight(r));
    // It forgot the active cell too: the user's stays, or the nearest row that still exists.
    if (m_batchRow > 0)
        keepActiveCell(m_batchRow, m_batchColumn);
    m_batchRow = 0;
}

void CVCF1::setColumnCount(int columns) {
    m_store->setColumns(columns);
    m_headings.resize(static_cast<std::size_t>(std::max(columns, 1)));
}

int CVCF1::columnCount() const {
    return m_store->columns();
}

QString CVCF1::cellText(int row, int column) const {
    return m_store->text(row, column);
}

void CVCF1::setCellText(int row, int column, const QString& text) {
    m_store->setText(row, column, text);
}

void CVCF1::setColumnHeading(int column, const QString& text) {
    if (column >= 1 && column <= static_cast<int>(m_headings.size()))
        m_headings[static_cast<std::size_t>(column - 1)] = text;
}

int CVCF1::lastUsedRow() const {
    return m_store->lastUsedRow();
}

int CVCF1::rowHeight(int row) const {
    const int stored = m_store->rowHeight(row);
    return stored > 0 ? stored : defaultRowHeight();
}

void CVCF1::setRowHeight(int row, int pixels) {
    m_store->setRowHeight(row, pixels);
    verticalHeader()->resizeSection(row - 1, pixels);
}

int CVCF1::columnWidthPixels(int column) const {
    return columnWidth(column - 1);
}

int CVCF1::columnWidthTwips(int column) const {
    return columnWidth(column - 1) * 1440 / std::max(1, logicalDpiX());
}

void CVCF1::setColumnWidthTwips(int column, int twips) {
    setColumnWidth(column - 1, std::max(1, twips * logicalDpiX() / 1440));
}

CVCF1::Range CVCF1::normalised(int row1, int column1, int row2, int column2) const {
    Range r{row1, column1, row2, column2};
    if (column1 == -1 || column2 == -1) {
        r.column1 = 1;
        r.column2 = m_store->columns();
    }
    if (row1 == -1 || row2 == -1) {
        r.row1 = 1;
        r.row2 = std::max(m_store->lastUsedRow(), 1);
    }
    if (r.row1 > r.row2)
        std::swap(r.row1, r.row2);
    if (r.column1 > r.column2)
        std::swap(r.column1, r.column2);
    return r;
}

void CVCF1::selectRange(int row1, int column1, int row2, int column2) {
    m_formatRange = normalised(row1, column1, row2, column2);
}

template <typename F> void CVCF1::asUserAction(F&& action) {
    const bool outer = !m_inUserAction;
    m_inUserAction = true;
    action();
    if (!outer)
        return;
    m_inUserAction = false;
    if (m_selectionPending) {
        m_selectionPending = false;
        reportSelection();
    }
}

// A click reports the new current cell and then the new selection; the panes hear of it once.
void CVCF1::onSelection() {
    if (m_selecting)
        return;
    if (m_inUserAction) {
        m_selectionPending = true;
        return;
    }
    reportSelection();
}

void CVCF1::reportSelection() {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const QModelIndex current = currentIndex();
    Range r{INT_MAX, INT_MAX, 0, 0};
    for (const QModelIndex& index : selected) {
        r.row1 = std::min(r.row1, index.row() + 1);
        r.column1 = std::min(r.column1, index.column() + 1);
        r.row2 = std::max(r.row2, index.row() + 1);
        r.column2 = std::max(r.column2, index.column() + 1);
    }
    if (selected.isEmpty()) {
        if (!current.isValid())
            return;
        r = Range{current.row() + 1, current.column() + 1, current.row() + 1, current.column() + 1};
    }
    m_selection = r;
    emit selectionChanged();
}

void CVCF1::setSelectionFont(const Font& font) {
    const Range r = m_formatRange;
    m_store->changeFormat(r.row1, r.column1, r.row2, r.column2, [&](CCellFormat& f) {
        f.face = font.face.isEmpty() ? QStringLiteral("Courier New") : font.face;
        f.points = font.points;
        f.bold = font.bold;
        f.italic = font.italic;
        f.underline = font.underline;
        f.strikeOut = font.strikeOut;
        f.textColour = font.colour;
    });
}

CCellFormat CVCF1::formatAt(int row, int column) const {
    return m_store->format(row, column);
}

void CVCF1::setSelectionAlignment(int horizontal, bool wrap, int vertical, int) {
    const Range r = m_formatRange;
    m_store->changeFormat(r.row1, r.column1, r.row2, r.column2, [&](CCellFormat& f) {
        f.horizontal = static_cast<std::int16_t>(horizontal);
        f.wrap = wrap;
        f.vertical = static_cast<std::int16_t>(vertical);
    });
}

void CVCF1::setSelectionPattern(int pattern, std::uint32_t foreground, std::uint32_t) {
    const Range r = m_formatRange;
    m_store->changeFormat(r.row1, r.column1, r.row2, r.column2, [&](CCellFormat& f) {
        f.filled = pattern != 0;
        f.fillColour = foreground;
    });
}

void CVCF1::setSelectionBorders(const Borders& b) {
    const Range s = m_formatRange;
    auto set = [&b](CCellFormat::Border& border, int style) {
        if (style < 0)
            return;
        border.style = static_cast<std::int16_t>(style);
        border.colour = b.colour;
    };
    m_store->changeFormat(s.row1, s.column1, s.row2, s.column2, [&](CCellFormat& f) {
        set(f.left, b.left);
        set(f.right, b.right);
        set(f.top, b.top);
        set(f.bottom, b.bottom);
    });
    if (b.outline < 0)
        return;
    m_store->changeFormat(s.row1, s.column1, s.row2, s.column1,
                          [&](CCellFormat& f) { set(f.left, b.outline); });
    m_store->changeFormat(s.row1, s.column2, s.row2, s.column2,
                          [&](CCellFormat& f) { set(f.right, b.outline); });
    m_store->changeFormat(s.row1, s.column1, s.row1, s.column2,
                          [&](CCellFormat& f) { set(f.top, b.outline); });
    m_store->changeFormat(s.row2, s.column1, s.row2, s.column2,
                          [&](CCellFormat& f) { set(f.bottom, b.outline); });
}

void CVCF1::setPaletteEntry(int index, std::uint32_t colour) {
    if (index >= 1 && index <= static_cast<int>(m_palette.size()))
        m_palette[static_cast<std::size_t>(index - 1)] = colour;
}

std::uint32_t CVCF1::paletteEntry(int index) const {
    if (index < 1 || index > static_cast<int>(m_palette.size()))
        return 0;
    return m_palette[static_cast<std::size_t>(index - 1)];
}

void CVCF1::activeCell(int& row, int& column) const {
    if (m_finishingRow > 0) {
        row = m_finishingRow;
        column = m_finishingColumn;
        return;
    }
    const QModelIndex current = currentIndex();
    row = current.isValid() ? current.row() + 1 : 1;
    column = current.isValid() ? current.column() + 1 : 1;
}

// The active cell is also the selection, so the highlight is where typing goes.
void CVCF1::setActiveCell(int row, int column) {
    m_finishingRow = 0;
    m_selecting = true;
    const QModelIndex index = m_store->index(row - 1, column - 1);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_selecting = false;
    if (index.isValid())
        m_selection = Range{row, column, row, column};
}

void CVCF1::keepActiveCell(int row, int column) {
    setActiveCell(std::min(row, std::max(m_store->lastUsedRow(), m_titleRows) + 1), column);
}

void CVCF1::clearRange(int row1, int, int row2, int, int mode) {
    if (mode == 1)
        m_store->clearRows(row1, row2);
}

void CVCF1::fitRowHeights(int row1, int column1, int row2, int column2) {
    const Range r = normalised(row1, column1, row2, column2);
    for (int row = r.row1; row <= r.row2; ++row) {
        int height = 0;
        for (int column = r.column1; column <= r.column2; ++column) {
            const CCellFormat& format = m_store->format(row, column);
            int cellHeight = lineHeight(format);
            const QString text = m_store->text(row, column);
            if (format.wrap && !text.isEmpty())
                cellHeight =
                    QFontMetrics{cellFont(format)}
                        .boundingRect(QRect(0, 0,
                                            std::max(1, columnWidth(column - 1) -
                                                            2 * CCellDelegate::kTextMargin),
                                            100000),
                                      Qt::TextWordWrap, text)
                        .height();
            height = std::max(height, cellHeight + 6);
        }
        setRowHeight(row, height);
    }
}

void CVCF1::rowsInView(int& first, int& last) const {
    const int top = rowAt(0);
    const int bottom = rowAt(viewport()->height() - 1);
    const int rows = m_store->rowCount();
    first = top < 0 ? rows : top + 1;
    last = bottom < 0 ? rows : bottom + 1;
}

void CVCF1::runWhenIdle(std::function<bool()> step) {
    m_idleStep = std::move(step);
    // After a pause: the paint and the next keystrokes come first.
    m_idle.start(kIdlePauseMs);
}

void CVCF1::setRowWriter(std::function<void(int row)> write) {
    m_store->setRowWriter([this, write = std::move(write)](int row) {
        const Range target = m_formatRange;
        write(row);
        m_formatRange = target;
    });
}

QString CVCF1::selectedText() const {
    // A pane may move the active cell without selecting: then the active cell is what is copied.
    int row0 = 0;
    int column0 = 0;
    activeCell(row0, column0);
    const bool inside = m_selection.row1 <= row0 && row0 <= m_selection.row2 &&
                        m_selection.column1 <= column0 && column0 <= m_selection.column2;
    const Range r = inside ? m_selection : Range{row0, column0, row0, column0};
    const int lastRow = std::min(r.row2, m_store->lastUsedRow());
    QStringList rows;
    for (int row = r.row1; row <= lastRow; ++row) {
        QStringList cells;
        for (int column = r.column1; column <= r.column2; ++column)
            cells << cellText(row, column);
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows.join(QLatin1Char('\n'));
}

void CVCF1::copySelection() const {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(selectedText());
}

void CVCF1::setTitleRows(int rows) {
    m_titleRows = rows;
    m_store->setTitleRows(rows);
    nameAfterTitle();
}

void CVCF1::setCellRules(const CCellRules* rules) {
    m_rules = rules;
    m_store->setCellRules(rules);
}

void CVCF1::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    m_store->setReadOnly(readOnly);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers : kEditTriggers);
}

void CVCF1::pasteIntoActiveCell() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || m_readOnly)
        return;
    // Only the first cell: a pasted table must not spill over names, parts and hours at once.
    const QString text =
        clipboard->text().section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('\t'), 0, 0);
    if (text.trimmed().isEmpty())
        return;
    int row = 0;
    int column = 0;
    activeCell(row, column);
    if (!(m_store->flags(m_store->index(row - 1, column - 1)) & Qt::ItemIsEnabled))
        return;
    if (m_rules && m_rules->refusesEdit(row, column))
        return;
    finishEdit(row, column, text.trimmed());
}

void CVCF1::finishEdit(int row, int column, const QString& text) {
    int userRow = 0;
    int userColumn = 0;
    activeCell(userRow, userColumn);
    QString edited = text;
    m_editCancelled = false;
    bool cancel = false;
    m_finishingRow = row;
    m_finishingColumn = column;
    emit endEdit(&edited, &cancel);
    m_finishingRow = 0;
    if (!cancel && !m_editCancelled)
        m_store->setText(row, column, edited);
    // Committed by moving away (a click, Tab, an arrow): the user's cell wins over the pane's.
    if (userRow != row || userColumn != column)
        setActiveCell(userRow, userColumn);
}

bool CVCF1::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool byUser =
        trigger == AnyKeyPressed || trigger == EditKeyPressed || trigger == DoubleClicked;
    if (byUser && index.isValid() && m_rules &&
        m_rules->refusesEdit(index.row() + 1, index.column() + 1))
        return false;
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened)
        m_typedEdit = trigger == AnyKeyPressed;
    return opened;
}

QModelIndex CVCF1::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if ((action != MoveNext && action != MovePrevious) || !m_rules)
        return QTableView::moveCursor(action, modifiers);
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return current;
    const int row = current.row() + 1;
    const int column = current.column() + 1;
    const int step = action == MoveNext ? 1 : -1;
    for (int c = column + step; c >= 1 && c <= columnCount(); c += step)
        if (m_rules->isTabStop(row, c))
            return m_store->index(row - 1, c - 1);
    // From the row's last stop to the same column of the next row that has it, as a timesheet
    // goes down its column; never into a name.
    const int lastRow = m_store->lastUsedRow();
    for (int r = row + step; r > m_titleRows && r <= lastRow; r += step)
        if (m_rules->isTabStop(r, column))
            return m_store->index(r - 1, column - 1);
    return current;
}

void CVCF1::stepActiveCell(Qt::Key arrow) {
    QKeyEvent press{QEvent::KeyPress, arrow, Qt::NoModifier};
    keyPressEvent(&press);
}

// The last row the scrolling may bring to the top: the list and its first empty row stay in
// view, however far the wheel turns.
int CVCF1::lastRowToShow() const {
    const int firstEmpty = std::min(m_store->lastUsedRow(), m_store->rowCount() - 1);
    int top = firstEmpty;
    int height = rowHeight(top + 1);
    while (top > 0 && height + QTableView::rowHeight(top - 1) <= viewport()->height()) {
        --top;
        height += QTableView::rowHeight(top);
    }
    return top;
}

void CVCF1::updateGeometries() {
    QTableView::updateGeometries();
    QScrollBar* bar = verticalScrollBar();
    if (verticalScrollMode() == ScrollPerItem && bar->maximum() > lastRowToShow())
        bar->setMaximum(lastRowToShow());
}

// A text cut short by its column shows whole in the tooltip. Rows left unfitted are fitted
// before they are first painted.
bool CVCF1::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Paint && m_beforePaint)
        m_beforePaint();
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text =
        index.isValid() ? m_store->text(index.row() + 1, index.column() + 1) : QString();
    const CCellFormat& format = m_store->format(index.row() + 1, index.column() + 1);
    if (!text.isEmpty() && QFontMetrics(cellFont(format)).horizontalAdvance(text) >
                               visualRect(index).width() - 2 * CCellDelegate::kTextMargin)
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

void CVCF1::mousePressEvent(QMouseEvent* event) {
    const int button = event->button() == Qt::LeftButton    ? 1
                       : event->button() == Qt::RightButton ? 2
                                                            : 4;
    const int shift = shiftState(event->modifiers());
    const int x = static_cast<int>(event->position().x());
    const int y = static_cast<int>(event->position().y());
    // The clicked cell is active before the pane hears of the click, so what the pane does on
    // it (a menu, the item info sheet) is about the cell the user pointed at.
    if (button != 2) {
        asUserAction([&] { QTableView::mousePressEvent(event); });
        emit mouseDown(button, shift, x, y);
        return;
    }
    // The view does not see a right press, so the menu leaves no drag selection behind.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && (m_store->flags(index) & Qt::ItemIsEnabled))
        asUserAction(
            [&] { selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect); });
    emit mouseDown(button, shift, x, y);
    event->accept();
}

void CVCF1::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    // An editable cell opens its editor with the caret in the text.
    if (!m_readOnly && index == currentIndex() &&
        (!m_rules || m_rules->editable(index.row() + 1, index.column() + 1)))
        edit(index, DoubleClicked, event);
    emit doubleClicked(index.row() + 1, index.column() + 1);
}

void CVCF1::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    emit keyDown(&key, shiftState(event->modifiers()));
    if (key == 0)
        return; // the handler took the key
    asUserAction([&] { QTableView::keyPressEvent(event); });
}

void CVCF1::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    emit keyUp(&key, shiftState(event->modifiers()));
    if (key != 0)
        QTableView::keyReleaseEvent(event);
}
