// The about box and the splash window, which the helper library reaches through this
// library's exports.

#include "helperlib/WindowExports.h"

#include "helperlib/CAbtQLND.h"
#include "helperlib/CWlcmDlg.h"

#include <QApplication>
#include <QPointer>
#include <QThread>

namespace {

QPointer<CWlcmDlg> g_splash;
bool g_splashMayShow = true;

bool isWidgetApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

extern "C" void qlnuiOpenSplash() {
    if (!g_splashMayShow || !isWidgetApplication())
        return;
    g_splashMayShow = false;
    g_splash = new CWlcmDlg;
    g_splash->show();
    g_splash->raise();
    QCoreApplication::processEvents();
}

extern "C" void qlnuiShowAbout() {
    if (!isWidgetApplication())
        return;
    CAbtQLND dialog{QApplication::activeWindow()};
    dialog.exec();
}

extern "C" void qlnuiCloseSplash() {
    if (g_splash.isNull())
        return;
    // Stays up at least five seconds from the moment it was shown, so it can be read, unless
    // the program hid it because it is ending.
    while (g_splash && g_splash->isVisible() && g_splash->shownForMs() < 5000) {
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    delete g_splash.data(); // null when gone already
}
