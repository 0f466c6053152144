#include "app/CWindowPlacement.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cstdio>

bool CWindowPlacement::parse(const QString& text, int numbers[10]) {
    unsigned flags = 0;
    unsigned show = 0;
    char tail = 0;
    const QByteArray bytes = text.toLatin1();
    const int read = std::sscanf(bytes.constData(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d%c", &flags,
                                 &show, &numbers[2], &numbers[3], &numbers[4], &numbers[5],
                                 &numbers[6], &numbers[7], &numbers[8], &numbers[9], &tail);
    numbers[0] = static_cast<int>(flags);
    numbers[1] = static_cast<int>(show);
    return read == 10;
}

QString CWindowPlacement::textOf(const QMainWindow& window) {
    const QRect normal =
        window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    const bool maximized = window.isMaximized();
    const unsigned flags = maximized ? 2 : 0;
    const unsigned show = maximized ? 3 : window.isMinimized() ? 2 : 1;
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, show, -1, -1, -1,
                  -1, normal.left(), normal.top(), normal.right() + 1, normal.bottom() + 1);
    return QString::fromLatin1(buffer);
}

void CWindowPlacement::showDefault(QMainWindow& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window.show();
        return;
    }
    const QRect work = screen->availableGeometry();
    const QFontMetrics metrics{QFontDatabase::systemFont(QFontDatabase::GeneralFont)};
    const int width = std::min(160 * metrics.averageCharWidth(), work.width() - 10);
    const int height = std::min(49 * metrics.lineSpacing(), work.height() - 10);
    window.resize(width, height);
    window.move(work.center() - QPoint(width / 2, height / 2));
    window.show();
}

void CWindowPlacement::show(QMainWindow& window, const QString& stored) {
    int n[10] = {};
    if (stored.isEmpty() || !parse(stored, n) || n[8] <= n[6] || n[9] <= n[7]) {
        showDefault(window);
        return;
    }
    window.setGeometry(QRect(QPoint(n[6], n[7]), QPoint(n[8] - 1, n[9] - 1)));
    if (n[1] == 3 || (n[0] & 2))
        window.showMaximized();
    else
        window.show();
}

void CWindowPlacement::keepOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect work = screen->availableGeometry();
    // The frame's decorations, where the window has them already; a title bar before.
    QSize decorations = window.frameGeometry().size() - window.size();
    if (decorations.isNull())
        decorations = QSize(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize room = work.size() - decorations;
    if (window.width() > room.width() || window.height() > room.height())
        window.resize(std::min(window.width(), room.width()),
                      std::min(window.height(), room.height()));
    const QRect frame = window.frameGeometry();
    const int x =
        std::clamp(frame.x(), work.left(), std::max(work.left(), work.right() + 1 - frame.width()));
    const int y =
        std::clamp(frame.y(), work.top(), std::max(work.top(), work.bottom() + 1 - frame.height()));
    if (x != frame.x() || y != frame.y())
        window.move(x, y);
}
