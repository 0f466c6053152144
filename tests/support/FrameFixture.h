#pragma once

// The main window over a small plan, with the help pages it opens, for tests that click and
// type through it: Work > Mail, Sleep, Reading; today Tuesday 8 December, Monday active.

#include "app/CAdjsTmPrtChsDlg.h"
#include "app/CAdjsTmPrtDlg.h"
#include "app/CAppSettings.h"
#include "app/CAutoStore.h"
#include "app/CChartExport.h"
#include "app/CExchangeCommands.h"
#include "app/CFrameCoordinator.h"
#include "app/CFrstSrtpChs.h"
#include "app/CHelpBrowser.h"
#include "app/CHistoryChart.h"
#include "app/CITmInfoPrptPg.h"
#include "app/CItmInfoPrptSht.h"
#include "app/CMvItmDlg.h"
#include "app/COptnDlg.h"
#include "app/COverviewDlg.h"
#include "app/CPaneDialogs.h"
#include "app/CQtMessageSink.h"
#include "app/CTimerControl.h"
#include "app/CTimerQuestionDlg.h"
#include "core/QlnDates.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CItemHistory.h"
#include "model/CLiveTimer.h"
#include "model/CPlanEditor.h"
#include "model/CPlanJson.h"
#include "tests/support/AppFixtures.h"
#include "tests/support/GridUser.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/ToolRunner.h"
#include "views/CHrplView.h"
#include "views/CInputView.h"

#include <QAction>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextStream>
#include <QToolBar>

#include <csignal>
#include <deque>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using namespace gridUser;

// Runs the step on the first shown top-level widget of type T, as soon as one shows.
template <typename T> void whenShown(std::function<void(T*)> step) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* shown = dynamic_cast<T*>(widget); shown && shown->isVisible()) {
                timer->stop();
                timer->deleteLater();
                step(shown);
                return;
            }
    });
    timer->start(20);
}

// The dialogs have no meta-object of their own: found by their C++ type.
template <typename T> T* childOf(QObject* parent) {
    for (QObject* child : parent->findChildren<QObject*>())
        if (auto* found = dynamic_cast<T*>(child))
            return found;
    return nullptr;
}

inline QPushButton* buttonOf(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

inline QAction* menuItem(CMainFrame* frame, const QString& menuText, const QString& verb) {
    for (QAction* menu : frame->menuBar()->actions())
        if (menu->text() == menuText)
            for (QAction* item : menu->menu()->actions())
                if (item->text().startsWith(verb))
                    return item;
    return nullptr;
}

inline QAction* editItem(CMainFrame* frame, const QString& verb) {
    return menuItem(frame, "&Edit", verb);
}

inline QAction* helpItem(CMainFrame* frame, const QString& verb) {
    return menuItem(frame, "&Help", verb);
}

class FrameInputTest : public FileCommandsTest {
protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        PlanBuilder build{app.document()->plan()};
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 0, "Sleep", 20);
        build.add(4, 0, "Reading", 10);
        app.document()->plan().recomputeDivisionParts(*app.document()->plan().root());
        frame->view()->planOpened();
        QDir().mkpath(install() + "/help");
        for (const char* topic : {"qlnView.htm", "qlnViewDvsnV.htm", "optnDlgV.htm",
                                  "actvtInfoPtptPgDlgV.htm", "ststcsPgDlgV.htm", "index.htm"}) {
            QFile page{install() + "/help/" + topic};
            ASSERT_TRUE(page.open(QIODevice::WriteOnly));
            page.write(QByteArray("<html><body><h2>") + topic + "</h2></body></html>");
        }
        QApplication::setActiveWindow(frame);
        input = frame->view()->grid(CHrplView::Pane::Input);
        sink.texts.clear();
    }

    QString shownTopic(CHelpBrowser* help) { return help ? help->shownPage().fileName() : ""; }

    CVCF1* input = nullptr;
};

} // namespace
