#pragma once

#include <QStyledItemDelegate>

class CVCF1;

// Paints a grid cell from its format (fill, font, alignment, wrap, the four borders) and the
// highlight of the active cell, and hands a finished edit to the grid.
class CCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // The text keeps this far off a cell's left and right edges.
    static constexpr int kTextMargin = 3;

    explicit CCellDelegate(CVCF1& grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    // Left and Right in an edit begun by typing commit it and move, as in a spreadsheet.
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    QRect textSpan(const QModelIndex& index, const QRect& cell) const;
    void paintOverflow(QPainter* painter, const QModelIndex& index, const QRect& cell) const;
    void paintHint(QPainter* painter, const QModelIndex& index, const QRect& cell) const;

    CVCF1& m_grid;
};
