#pragma once

#include <QDialog>

class QTextBrowser;

// The program's help: the pages of the help folder in a browser window of its own.
class CHelpBrowser : public QDialog {
public:
    explicit CHelpBrowser(QWidget* parent = nullptr);
    // Shows the page; false when the page does not exist.
    bool showTopic(const QString& path);
    QString shownText() const;

private:
    QTextBrowser* m_browser;
};
