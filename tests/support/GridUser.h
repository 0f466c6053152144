#pragma once

// A user at a grid: clicks land on a cell's visual rectangle on the viewport, keys go to the
// widget that has the focus (the open editor once typing has begun), context menus are
// answered by clicking their item.

#include "views/CCellStore.h"
#include "views/CVCF1.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

namespace gridUser {

inline QPoint cellCentre(CVCF1* grid, int row, int column) {
    grid->scrollTo(grid->store().index(row - 1, column - 1));
    return grid->visualRect(grid->store().index(row - 1, column - 1)).center();
}

inline void click(CVCF1* grid, int row, int column, Qt::MouseButton button = Qt::LeftButton) {
    // What a real press does: the window manager activates the window, the grid takes focus.
    QApplication::setActiveWindow(grid->window());
    grid->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(grid->viewport(), button, {}, cellCentre(grid, row, column));
    QApplication::processEvents(); // a commit runs once the editor is closed
}

inline QLineEdit* openEditor(CVCF1* grid) {
    for (QLineEdit* editor : grid->findChildren<QLineEdit*>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}

// Types as a user does: the first key goes to the grid and opens the editor, the rest into it.
inline void type(CVCF1* grid, const QString& text) {
    QWidget* target = openEditor(grid);
    if (!target)
        grid->setFocus();
    for (const QChar c : text) {
        QTest::keyClicks(target ? target : static_cast<QWidget*>(grid), QString(c));
        if (!target)
            target = openEditor(grid);
    }
}

// A key to the open editor, or to the grid when none is open; then the commit settles.
inline void key(CVCF1* grid, Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* editor = openEditor(grid);
    QTest::keyClick(editor ? editor : static_cast<QWidget*>(grid), k, modifiers);
    QApplication::processEvents();
    QApplication::processEvents();
}

// An entry as most are made: a click on the cell, the text, Enter.
inline void enter(CVCF1* grid, int row, int column, const QString& text) {
    click(grid, row, column);
    type(grid, text);
    key(grid, Qt::Key_Return);
}

inline void activeCell(CVCF1* grid, int& row, int& column) {
    grid->activeCell(row, column);
}

inline std::pair<int, int> active(CVCF1* grid) {
    int row = 0;
    int column = 0;
    grid->activeCell(row, column);
    return {row, column};
}

// When the next context menu pops up, clicks its item of that text (Escape when it has none).
inline void answerMenu(const QString& item, QString* seenItems = nullptr) {
    QTimer::singleShot(50, [item, seenItems] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            if (seenItems && !action->isSeparator())
                *seenItems += action->text() + QLatin1Char('|');
            if (action->text() == item) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return;
            }
        }
        QTest::keyClick(menu, Qt::Key_Escape);
    });
}

inline int rowShowing(CVCF1* grid, const QString& name) {
    for (int row = 1; row <= grid->lastUsedRow(); ++row)
        if (grid->cellText(row, 1) == name)
            return row;
    return -1;
}

// The column under a heading of the title's last row, found as a user finds it: the first
// whose heading begins with the text; 0 when none does.
inline int columnHeaded(CVCF1* grid, const QString& heading) {
    for (int column = 1; column <= grid->columnCount(); ++column)
        if (grid->cellText(grid->titleRows(), column).startsWith(heading))
            return column;
    return 0;
}

// The input pane's columns by their headings; in the timesheet the hours begin with Sunday's.
inline int nameColumn(CVCF1* grid) {
    return columnHeaded(grid, QStringLiteral("Activities"));
}
inline int priorityColumn(CVCF1* grid) {
    return columnHeaded(grid, QStringLiteral("Current Priorities"));
}
inline int partColumn(CVCF1* grid) {
    return columnHeaded(grid, QStringLiteral("Time Parts %"));
}
inline int hoursColumn(CVCF1* grid) {
    const int hours = columnHeaded(grid, QStringLiteral("Hours Spent"));
    return hours ? hours : columnHeaded(grid, QStringLiteral("Sun"));
}

} // namespace gridUser
