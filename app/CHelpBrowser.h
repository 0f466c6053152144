#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;
class QToolButton;

// The program's help: the pages of the help folder in a browser window of its own, with
// Contents, Back and Forward, following the links between the pages.
class CHelpBrowser : public QDialog {
    Q_OBJECT

public:
    explicit CHelpBrowser(QWidget* parent = nullptr);
    // Shows the page; false when the page does not exist.
    bool showTopic(const QString& path);
    QString shownText() const;
    QUrl shownPage() const;
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
    QToolButton* m_back;
    QToolButton* m_forward;
    QUrl m_contents;
};
