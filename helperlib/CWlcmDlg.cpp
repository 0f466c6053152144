#include "helperlib/CWlcmDlg.h"

#include "helperlib/QlnArt.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

CWlcmDlg::CWlcmDlg() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Quillon"));
    auto* layout = new QVBoxLayout{this};
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* picture = new QLabel{this};
    picture->setPixmap(qlnart::splashPixmap());
    layout->addWidget(picture);
    auto* note = new QLabel{QStringLiteral("Starting..."), this};
    note->setAlignment(Qt::AlignCenter);
    note->setMinimumHeight(40);
    layout->addWidget(note);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    m_shown.start();
}
