#include "views/CCellDelegate.h"

#include "views/CCellRules.h"
#include "views/CCellStore.h"
#include "views/CVCF1.h"
#include "views/GridFont.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

namespace {

QFont fontOf(const CCellFormat& format) {
    QFont font = gridFont(format.face, format.points);
    font.setBold(format.bold);
    font.setItalic(format.italic);
    font.setUnderline(format.underline);
    font.setStrikeOut(format.strikeOut);
    return font;
}

int alignmentOf(const CCellFormat& format) {
    int flags = 0;
    switch (format.horizontal) {
    case CCellFormat::Right:
        flags |= Qt::AlignRight;
        break;
    case CCellFormat::Centre:
    case CCellFormat::CentreAcross:
        flags |= Qt::AlignHCenter;
        break;
    default:
        flags |= Qt::AlignLeft;
    }
    flags |= format.vertical == 1   ? Qt::AlignTop
             : format.vertical == 3 ? Qt::AlignBottom
                                    : Qt::AlignVCenter;
    if (format.wrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

void drawBorder(QPainter* painter, const CCellFormat::Border& border, QPoint from, QPoint to) {
    if (border.style == 0)
        return;
    painter->setPen(QPen(CVCF1::toColor(border.colour), 1));
    painter->drawLine(from, to);
}

} // namespace

CCellDelegate::CCellDelegate(CVCF1& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

// A text centred across the selection spans the run of such cells it starts.
QRect CCellDelegate::textSpan(const QModelIndex& index, const QRect& cell) const {
    const int row = index.row() + 1;
    const CCellStore& store = m_grid.store();
    int first = index.column() + 1;
    while (first > 1 && store.format(row, first - 1).horizontal == CCellFormat::CentreAcross &&
           store.text(row, first).isEmpty())
        --first;
    int last = index.column() + 1;
    while (last < store.columns() &&
           store.format(row, last + 1).horizontal == CCellFormat::CentreAcross &&
           store.text(row, last + 1).isEmpty())
        ++last;
    const int left = m_grid.columnViewportPosition(first - 1);
    const int right = m_grid.columnViewportPosition(last - 1) + m_grid.columnWidth(last - 1);
    return QRect(left, cell.top(), right - left, cell.height());
}

// As in a spreadsheet, a left-aligned text that does not fit runs on over the empty cells to
// its right; each of them paints its part of it.
void CCellDelegate::paintOverflow(QPainter* painter, const QModelIndex& index,
                                  const QRect& cell) const {
    const CCellStore& store = m_grid.store();
    const int row = index.row() + 1;
    for (int source = index.column(); source >= 1 && source > index.column() - 8; --source) {
        const QString text = store.text(row, source);
        if (text.isEmpty())
            continue;
        const CCellFormat& format = store.format(row, source);
        if (format.wrap ||
            (format.horizontal != CCellFormat::General && format.horizontal != CCellFormat::Left))
            return;
        const QRect from = m_grid.visualRect(m_grid.model()->index(index.row(), source - 1));
        painter->save();
        painter->setClipRect(cell.adjusted(0, 0, -1, 0));
        painter->setFont(fontOf(format));
        painter->setPen(CVCF1::toColor(format.textColour));
        painter->drawText(
            QRect(from.left() + kTextMargin, cell.top() + 1, 10000, cell.height() - 2),
            alignmentOf(format), text);
        painter->restore();
        return;
    }
}

void CCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    const CCellStore& store = m_grid.store();
    const CCellFormat& format = store.format(row, column);
    const QRect cell = option.rect;
    painter->save();
    painter->fillRect(cell, format.filled ? CVCF1::toColor(format.fillColour) : QColor(Qt::white));

    QString text = store.text(row, column);
    QRect textRect = cell.adjusted(kTextMargin, 1, -kTextMargin, -1);
    const bool runsOn = !format.wrap && (format.horizontal == CCellFormat::General ||
                                         format.horizontal == CCellFormat::Left);
    if (runsOn) {
        // Drawn whole and clipped here; the empty cells to the right paint the rest.
        textRect.setRight(textRect.left() + 10000);
        painter->setClipRect(cell);
    } else if (format.horizontal == CCellFormat::CentreAcross) {
        // The text of the run's first cell, drawn across the run and clipped to this cell.
        const QRect span = textSpan(index, cell);
        const int first = m_grid.columnAt(span.left() + 1) + 1;
        text = store.text(row, first);
        textRect = span.adjusted(kTextMargin, 1, -kTextMargin, -1);
        painter->setClipRect(cell);
    }
    painter->setFont(fontOf(format));
    painter->setPen(CVCF1::toColor(format.textColour));
    if (!runsOn && !format.wrap && format.horizontal != CCellFormat::CentreAcross &&
        painter->fontMetrics().horizontalAdvance(text) > textRect.width()) {
        // A name too long for its column keeps its beginning; the tooltip shows the rest.
        text = painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
    }
    painter->drawText(textRect, alignmentOf(format), text);
    painter->setClipping(false);
    if (text.isEmpty()) {
        paintOverflow(painter, index, cell);
        paintHint(painter, index, cell);
    }

    // A side shared with a neighbour that draws its own border there is drawn once.
    if (column == 1 || store.format(row, column - 1).right.style == 0)
        drawBorder(painter, format.left, cell.topLeft(), cell.bottomLeft());
    if (row == 1 || store.format(row - 1, column).bottom.style == 0)
        drawBorder(painter, format.top, cell.topLeft(), cell.topRight());
    drawBorder(painter, format.right, cell.topRight(), cell.bottomRight());
    drawBorder(painter, format.bottom, cell.bottomLeft(), cell.bottomRight());

    const bool active = index == m_grid.currentIndex();
    if (active || (option.state & QStyle::State_Selected))
        painter->fillRect(cell, QColor(40, 80, 160, 45));
    if (active && m_grid.hasFocus()) {
        painter->setPen(QPen(QColor(40, 80, 160), 2));
        painter->drawRect(cell.adjusted(1, 1, -1, -1));
    }
    painter->restore();
}

// The first empty row under the list invites a name.
void CCellDelegate::paintHint(QPainter* painter, const QModelIndex& index,
                              const QRect& cell) const {
    const QString hint = m_grid.emptyRowHint();
    if (hint.isEmpty() || index.column() != 0 || index.row() + 1 != m_grid.lastUsedRow() + 1 ||
        m_grid.isEditing(index))
        return;
    painter->save();
    QFont font = painter->font();
    font.setItalic(true);
    painter->setFont(font);
    painter->setPen(QColor(150, 150, 150));
    const QRect textRect = cell.adjusted(kTextMargin, 1, -kTextMargin, -1);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      painter->fontMetrics().elidedText(hint, Qt::ElideRight, textRect.width()));
    painter->restore();
}

QWidget* CCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex& index) const {
    auto* editor = new QLineEdit{parent};
    editor->setFrame(false);
    editor->setFont(fontOf(m_grid.store().format(index.row() + 1, index.column() + 1)));
    return editor;
}

void CCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    const CCellRules* rules = m_grid.cellRules();
    const QString text = rules ? rules->editText(row, column) : QString();
    static_cast<QLineEdit*>(editor)->setText(text.isNull() ? m_grid.cellText(row, column) : text);
}

bool CCellDelegate::eventFilter(QObject* editor, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_grid.editBegunByTyping()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
            const auto arrow = static_cast<Qt::Key>(key->key());
            emit commitData(line);
            emit closeEditor(line, NoHint);
            m_grid.stepActiveCell(arrow);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

void CCellDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                 const QModelIndex& index) const {
    // The pane's answer to an edit may refill the whole grid; it runs once the view has closed
    // the editor, so the refill never pulls the editor from under the view.
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    const QString text = static_cast<QLineEdit*>(editor)->text();
    CVCF1* grid = &m_grid;
    QTimer::singleShot(0, grid, [grid, row, column, text] { grid->finishEdit(row, column, text); });
}
