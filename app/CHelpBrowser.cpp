#include "app/CHelpBrowser.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* navigationButton(const QString& text, QWidget* parent) {
    auto* button = new QToolButton{parent};
    button->setText(text);
    button->setAutoRaise(true);
    return button;
}

} // namespace

CHelpBrowser::CHelpBrowser(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Quillon Help"));
    setModal(false);
    auto* layout = new QVBoxLayout{this};
    auto* buttons = new QHBoxLayout;
    QToolButton* contents = navigationButton(QStringLiteral("Contents"), this);
    m_back = navigationButton(QStringLiteral("Back"), this);
    m_forward = navigationButton(QStringLiteral("Forward"), this);
    buttons->addWidget(contents);
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addStretch();
    layout->addLayout(buttons);
    m_browser = new QTextBrowser{this};
    m_browser->setOpenLinks(true);
    // A link out of the help folder goes to the desktop's browser, not into this window.
    m_browser->setOpenExternalLinks(true);
    layout->addWidget(m_browser);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(contents, &QToolButton::clicked, this, [this] {
        if (m_contents.isValid())
            m_browser->setSource(m_contents);
    });
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(QStringLiteral("Quillon Help - ") + m_browser->documentTitle());
    });
    resize(600, 520);
}

bool CHelpBrowser::showTopic(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    m_contents = QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QStringLiteral("/index.htm"));
    m_browser->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    return true;
}

QString CHelpBrowser::shownText() const {
    return m_browser->toPlainText();
}

QUrl CHelpBrowser::shownPage() const {
    return m_browser->source();
}
