// The about box and the splash window, reached by the program through the library's exports.

#include "helperlib/CAbtQLND.h"
#include "helperlib/CWlcmDlg.h"
#include "helperlib/initQLN.h"

#include <QApplication>
#include <QPointer>
#include <QThread>

#include <cstdlib>

namespace {

QPointer<CWlcmDlg> g_splash;
bool g_splashMayShow = true;

// Only the interactive program shows a splash: tools and tests have no widget application,
// or ask for none.
bool hostWantsSplash() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
           std::getenv("QLN_NO_SPLASH") == nullptr;
}

} // namespace

namespace helperlib {

void openSplashOnce() {
    if (!g_splashMayShow || !hostWantsSplash())
        return;
    g_splashMayShow = false;
    g_splash = new CWlcmDlg;
    g_splash->show();
    g_splash->raise();
    QCoreApplication::processEvents();
}

} // namespace helperlib

extern "C" void shwAbtDlgD(void* /*module*/) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    CAbtQLND dialog{QApplication::activeWindow()};
    dialog.exec();
}

extern "C" void stpIntDlg() {
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
