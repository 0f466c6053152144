#pragma once

#include <QString>

class QMainWindow;
class QWidget;

// The windows' places on the screen; the main window's as the settings keep it: "flags,show,-1,-1,-1,-1,left,top,right,
// bottom", the normal rectangle also when the window is maximized.
class CWindowPlacement {
public:
    static bool parse(const QString& text, int numbers[10]);
    static QString textOf(const QMainWindow& window);
    // Shows the window where the text puts it; centred at a size for the system font when the
    // text is missing or does not make a rectangle.
    static void show(QMainWindow& window, const QString& stored);
    // Shrinks the window, as far as its content lets it, and moves it so that it lies within
    // the free area of its screen (a large scale factor makes the same window taller).
    static void keepOnScreen(QWidget& window);

private:
    static void showDefault(QMainWindow& window);
};
