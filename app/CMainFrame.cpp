#include "app/CMainFrame.h"

#include "app/CAppSettings.h"
#include "app/CHrplApp.h"
#include "model/CHrplDoc.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>

#include <cstdio>

CMainFrame::CMainFrame(CHrplApp& app, CHrplDoc& document) : m_app(app), m_document(document) {
    setWindowTitle(m_app.windowTitle());
    auto* pending = new QLabel{this};
    pending->setAlignment(Qt::AlignCenter);
    setCentralWidget(pending);
    buildMenus();
}

CMainFrame::~CMainFrame() {
    storeOnClose();
}

void CMainFrame::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S")), this,
                    [this] { m_document.save(m_app.dataFilePath().toStdString()); });
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+Q")), this,
                    &QWidget::close);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About Q&&L..."), this, [this] { m_app.showAboutBox(); });
}

bool CMainFrame::openDocument() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CHrplDoc::LoadResult result = m_document.load(m_app.dataFilePath().toStdString());
    QApplication::restoreOverrideCursor();
    if (result == CHrplDoc::LoadResult::Locked) {
        m_stored = true; // nothing of ours to store: the file belongs to the other process
        return false;
    }
    // A loaded sample is worked on in the temporary copy.
    const QString opened = QString::fromStdString(m_document.openPath());
    if (!opened.isEmpty() && opened != m_app.dataFilePath())
        m_app.setDataFilePath(opened);
    setWindowTitle(m_app.windowTitle());
    m_app.core().library().closeSplash();
    return true;
}

bool CMainFrame::parsePlacement(const QString& text, int numbers[10]) {
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

QString CMainFrame::placementText() const {
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    const bool maximized = isMaximized();
    const unsigned flags = maximized ? 2 : 0;
    const unsigned show = maximized ? 3 : isMinimized() ? 2 : 1;
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, show, -1, -1, -1,
                  -1, normal.left(), normal.top(), normal.right() + 1, normal.bottom() + 1);
    return QString::fromLatin1(buffer);
}

void CMainFrame::showDefaultPlacement() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        show();
        return;
    }
    const QRect work = screen->availableGeometry();
    const QFontMetrics metrics{QFontDatabase::systemFont(QFontDatabase::GeneralFont)};
    const int width = std::min(160 * metrics.averageCharWidth(), work.width() - 10);
    const int height = std::min(49 * metrics.lineSpacing(), work.height() - 10);
    resize(width, height);
    move(work.center() - QPoint(width / 2, height / 2));
    show();
}

void CMainFrame::showWithPlacement() {
    int n[10] = {};
    const QString stored = CAppSettings::readText(QString::fromLatin1(kPlacementValue));
    if (stored.isEmpty() || !parsePlacement(stored, n) || n[8] <= n[6] || n[9] <= n[7]) {
        showDefaultPlacement();
        return;
    }
    setGeometry(QRect(QPoint(n[6], n[7]), QPoint(n[8] - 1, n[9] - 1)));
    if (n[1] == 3 || (n[0] & 2))
        showMaximized();
    else
        show();
}

void CMainFrame::storeOnClose() {
    if (m_stored)
        return;
    m_stored = true;
    CAppSettings::write(QString::fromLatin1(kPlacementValue), placementText());
    m_document.saveAndRelease(m_app.dataFilePath().toStdString());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    storeOnClose();
    event->accept();
}
