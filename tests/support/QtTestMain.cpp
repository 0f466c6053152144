// main() of the test programs that need a widget application: offscreen, without splash, and
// with the settings and data folders in a private folder for the whole run, so that a test
// without its own fixture never writes the user's settings or files.

#include "tests/support/TempDir.h"
#ifdef QLN_PRIVATE_DESKTOP
#include "tests/support/PrivateDesktop.h"
#endif

#include <QApplication>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
#ifdef QLN_PRIVATE_DESKTOP
    const PrivateDesktop desktop{PrivateDesktop::Display::QLN_PRIVATE_DESKTOP};
    if (!desktop.ready())
        return 1;
#endif
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QLN_NO_SPLASH", "1", 1);
    const TempDir home;
    setenv("XDG_CONFIG_HOME", home.file("config").c_str(), 1);
    setenv("XDG_DATA_HOME", home.file("data").c_str(), 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(home.file("config")));
    QApplication application{argc, argv};
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
