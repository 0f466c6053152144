#pragma once

// The application started on a private installation tree, settings folder and today; and the
// same with its main window open and the file dialog answered by the test.

#include "app/CAppSettings.h"
#include "app/CHrplApp.h"
#include "app/CMainFrame.h"
#include "tests/support/CRecordingSink.h"
#include "tests/support/ScriptedFileChooser.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// An installation tree in a private folder, private settings and a fixed today; start-up's
// questions are counted and answered by the test.
class StartUpTest : public ::testing::Test, public CStartupHost {
protected:
    void SetUp() override {
        setenv("QLN_TODAY", "20261208", 1);
        setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1); // emergency copies land here
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config());
        QDir().mkpath(install() + "/system");
        QFile program{install() + "/system/qln"};
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    }

    QString config() const { return QString::fromStdString(dir.file("config")); }
    QString install() const { return QString::fromStdString(dir.file("Quillon")); }

    CHrplApp::Environment environment(const QStringList& arguments = {}) {
        CHrplApp::Environment env;
        env.programPath = install() + "/system/qln";
        env.arguments = arguments;
        env.libraryDirectory = QStringLiteral(QLN_LIBRARY_DIR);
        env.host = this;
        return env;
    }

    void openDateSettings() override { ++dateToolStarts; }
    bool askRunAtStartup() override {
        ++startupQuestions;
        return answerRunAtStartup;
    }

    // A start whose date check passes without a question.
    void lastRunYesterday() { CAppSettings::write("lastrundate", QStringLiteral("20261207")); }

    bool start(CHrplApp& app, const QStringList& arguments = {}) {
        return app.initInstance(environment(arguments));
    }

    TempDir dir;
    CRecordingSink sink;
    int dateToolStarts = 0;
    int startupQuestions = 0;
    bool answerRunAtStartup = true;
};

class FileCommandsTest : public StartUpTest {
protected:
    void SetUp() override {
        StartUpTest::SetUp();
        lastRunYesterday();
        ASSERT_TRUE(start(app));
        ASSERT_TRUE(app.createMainWindow());
        frame = app.mainFrame();
        chooser.answer = [this](const CFileChooser::Question&) { return answer; };
        frame->files().setFileChooser(&chooser);
        sink.texts.clear();
    }

    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }

    ScriptedFileChooser chooser; // outlives the window that asks it
    CHrplApp app{sink};
    CMainFrame* frame = nullptr;
    QString answer;
};
