#include "app/CHelpBrowser.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CHelpBrowser::CHelpBrowser(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Quillon Help"));
    setModal(false);
    auto* layout = new QVBoxLayout{this};
    m_browser = new QTextBrowser{this};
    m_browser->setOpenLinks(true);
    layout->addWidget(m_browser);
    resize(560, 480);
}

bool CHelpBrowser::showTopic(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    m_browser->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    return true;
}

QString CHelpBrowser::shownText() const {
    return m_browser->toPlainText();
}
