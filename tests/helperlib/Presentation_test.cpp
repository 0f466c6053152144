// The about box and the splash window of the helper library, driven through its exports.

#include "model/CHelperLibrary.h"
#include "tests/support/CRecordingSink.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

QWidget* topLevelTitled(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == title)
            return widget;
    return nullptr;
}

// Pictures of what the user sees, when asked for.
void saveShot(QWidget* widget, const char* name) {
    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR"))
        widget->grab().save(QString::fromLocal8Bit(folder) + "/" + name);
}

TEST(AboutBox, ShowsNameAndVersionAndClosesWithOk) {
    CHelperLibrary library;
    ASSERT_TRUE(library.load(QLN_LIBRARY_DIR));
    QString seenText;
    bool seen = false;
    QTimer::singleShot(300, [&] {
        QWidget* about = topLevelTitled("About Q&L");
        ASSERT_NE(about, nullptr);
        seen = true;
        for (QLabel* label : about->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                seenText = label->text();
        saveShot(about, "about.png");
        for (QPushButton* button : about->findChildren<QPushButton*>())
            if (button->text() == "OK")
                button->click();
    });
    library.showAboutBox(); // returns when OK is clicked
    EXPECT_TRUE(seen);
    EXPECT_EQ(seenText.toStdString(), "Quillon. Version 1.4.1");
}

TEST(Splash, ShownOnceByStartUpAndUpForFiveSeconds) {
    unsetenv("QLN_NO_SPLASH");
    CHelperLibrary library;
    ASSERT_TRUE(library.load(QLN_LIBRARY_DIR));
    library.initApp();
    QWidget* splash = topLevelTitled("Quillon");
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    saveShot(splash, "splash.png");
    QElapsedTimer wait;
    wait.start();
    library.closeSplash();
    EXPECT_GE(wait.elapsed(), 4500);
    EXPECT_EQ(topLevelTitled("Quillon"), nullptr);
    // A second close does nothing, and start-up never shows it again.
    wait.restart();
    library.closeSplash();
    EXPECT_LT(wait.elapsed(), 100);
    library.initApp();
    EXPECT_EQ(topLevelTitled("Quillon"), nullptr);
    setenv("QLN_NO_SPLASH", "1", 1);
}

// The helper library copied alone: its windows' library is missing beside it.
TEST(AboutBox, AMissingWindowsLibraryIsSaidNotACrash) {
    TempDir dir;
    std::filesystem::copy_file(std::string{QLN_LIBRARY_DIR} + "/libinitQLN.so",
                               dir.file("libinitQLN.so"));
    CHelperLibrary library;
    ASSERT_TRUE(library.load(dir.path()));
    CRecordingSink sink;
    library.setMessageSink(&sink);
    library.showAboutBox();
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_NE(sink.texts[0].find(dir.file("libinitQLNui.so")), std::string::npos);
    EXPECT_NE(sink.texts[0].find("Reinstall QLN please."), std::string::npos);
    EXPECT_EQ(topLevelTitled("About Q&L"), nullptr);
    // The start-up's splash says so too; closing it then has nothing to do.
    unsetenv("QLN_NO_SPLASH");
    library.initApp();
    setenv("QLN_NO_SPLASH", "1", 1);
    EXPECT_EQ(sink.texts.size(), 2u);
    library.closeSplash();
    EXPECT_EQ(sink.texts.size(), 2u);
    library.setMessageSink(nullptr);
}

} // namespace
