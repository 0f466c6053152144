// A user's whole day in the real main window, offscreen: the first start with its questions,
// a plan typed through the grids, the priorities following, the divisions pane shown and
// hidden, saving, closing, starting again; then a sample opened and worked on.

#include "app/CActvtOrDvsnChsDlg.h"
#include "app/CFrstSrtpChs.h"
#include "app/CMainFrame.h"
#include "companion/CQLNECNstrtpInf.h"
#include "model/CHrplDoc.h"
#include "tests/support/AppFixtures.h"
#include "tests/support/GridUser.h"
#include "views/CCellStore.h"
#include "views/CHrplView.h"
#include "views/CVCF1.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using gridUser::hoursColumn;
using gridUser::partColumn;
using gridUser::priorityColumn;

// Clicks the button of that text in the first shown dialog of type T, as soon as one shows.
template <typename T> void clickWhenShown(const QString& text) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, text] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = dynamic_cast<T*>(widget);
            if (!dialog || !dialog->isVisible())
                continue;
            for (QPushButton* button : dialog->template findChildren<QPushButton*>())
                if (button->text() == text) {
                    timer->deleteLater();
                    timer->stop();
                    button->click();
                    return;
                }
        }
    });
    timer->start(20);
}

int rowShowing(CVCF1* grid, const QString& name) {
    for (int row = 1; row <= grid->lastUsedRow(); ++row)
        if (grid->cellText(row, 1) == name)
            return row;
    return -1;
}

// Types into a cell as a user does: the first key opens the editor, Return ends the edit.
void typeInto(CVCF1* grid, int row, int column, const QString& text) {
    QApplication::processEvents(); // the window settles before the user types
    grid->setFocus();
    grid->setCurrentIndex(grid->store().index(row - 1, column - 1));
    QTest::keyClicks(grid, text.left(1));
    QLineEdit* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << text.toStdString();
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(
        [grid] {
            return !grid->findChild<QLineEdit*>() || !grid->findChild<QLineEdit*>()->isVisible();
        },
        2000));
    QApplication::processEvents();
}

QByteArray digestOf(const QString& folder) {
    QCryptographicHash hash{QCryptographicHash::Sha256};
    QDirIterator files{folder, QDir::Files | QDir::Hidden | QDir::System};
    QStringList names;
    while (files.hasNext())
        names << files.next();
    names.sort();
    for (const QString& name : names) {
        QFile file{name};
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        hash.addData(name.toUtf8());
        hash.addData(file.readAll());
    }
    return hash.result();
}

class UserDayTest : public StartUpTest {
protected:
    // The program's start as main() does it, with the first-run dialog itself when asked.
    bool startProgram(CHrplApp& app, bool realFirstRunDialog = false) {
        CHrplApp::Environment env = environment();
        if (realFirstRunDialog)
            env.host = nullptr; // the program's own questions
        return app.initInstance(env) && app.createMainWindow();
    }

    double priorityOf(CVCF1* input, const QString& name) {
        return input->cellText(rowShowing(input, name), priorityColumn(input)).toDouble();
    }
};

TEST_F(UserDayTest, AFirstDayTypedThroughTheWindowIsThereOnTheNextStart) {
    const QString plan = install() + "/UserWork/UserData.qln";
    {
        sink.answers = {true}; // the date is right
        clickWhenShown<CFrstSrtpChs>("Yes");
        CHrplApp app{sink};
        ASSERT_TRUE(startProgram(app, true));
        EXPECT_EQ(CQLNECNstrtpInf{}.readRunValue(), install() + "/system/reminder -qln");
        CMainFrame* frame = app.mainFrame();
        QApplication::setActiveWindow(frame);
        CHrplView* view = frame->view();
        CVCF1* input = view->grid(CHrplView::Pane::Input);

        // A division through the Insert key with a title row active, then its name.
        clickWhenShown<CActvtOrDvsnChsDlg>("Division");
        input->setFocus();
        input->setCurrentIndex(input->store().index(1, 0));
        QTest::keyClick(input, Qt::Key_Insert);
        const int division = rowShowing(input, "New Division");
        ASSERT_GT(division, 5);
        typeInto(input, division, 1, "Work");
        const int code = rowShowing(input, "Work. New Activity");
        ASSERT_GT(code, 0);
        typeInto(input, code, 1, "Code");
        // An activity of the root: typed into the first empty row.
        typeInto(input, input->lastUsedRow() + 1, 1, "Reading");
        ASSERT_GT(rowShowing(input, "Reading"), 0);
        typeInto(input, rowShowing(input, "Work. Code"), 3, "30");
        typeInto(input, rowShowing(input, "Reading"), 3, "20");
        typeInto(input, rowShowing(input, "Work. Code"), 4, "3:00");
        typeInto(input, rowShowing(input, "Reading"), 4, "0:30");
        EXPECT_EQ(input->cellText(rowShowing(input, "Work"), partColumn(input)), "30");
        EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "0:30");

        // Reading lags its plan: it heads the activities pane; more reading moves it down.
        CVCF1* activities = view->grid(CHrplView::Pane::Activities);
        EXPECT_GT(priorityOf(input, "Reading"), priorityOf(input, "Work. Code"));
        EXPECT_EQ(activities->cellText(3, 1), "Reading");
        typeInto(input, rowShowing(input, "Reading"), 4, "0:30+2:30");
        EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "3");
        EXPECT_LT(priorityOf(input, "Reading"), priorityOf(input, "Work. Code"));
        EXPECT_EQ(activities->cellText(3, 1), "Work. Code");
        EXPECT_EQ(activities->cellText(4, 1), "Reading");

        frame->toolbarAction(CMainFrame::ShowDivisions)->trigger();
        EXPECT_TRUE(view->grid(CHrplView::Pane::Divisions)->isVisible());
        EXPECT_GT(rowShowing(view->grid(CHrplView::Pane::Divisions), "Work"), 0);
        EXPECT_LT(activities->height(), input->height() * 2 / 3);
        frame->toolbarAction(CMainFrame::HideDivisions)->trigger();
        EXPECT_FALSE(view->grid(CHrplView::Pane::Divisions)->isVisible());

        QApplication::setActiveWindow(frame);
        QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
        CHrplDoc saved{app.core()};
        ASSERT_EQ(saved.loadInMemory(plan.toStdString()), CHrplDoc::LoadResult::Loaded);
        EXPECT_DOUBLE_EQ(saved.plan().dayHours("20261206", 3, 2), 3.0); // Reading, Monday
        frame->close();
    }
    // The two date texts and the new plan's, nothing else.
    ASSERT_EQ(sink.texts.size(), 3u);
    EXPECT_EQ(sink.texts[2], CHrplDoc::kDamaged);

    sink.texts.clear();
    CHrplApp again{sink};
    ASSERT_TRUE(startProgram(again));
    EXPECT_TRUE(sink.texts.empty());
    CVCF1* input = again.mainFrame()->view()->grid(CHrplView::Pane::Input);
    EXPECT_EQ(input->cellText(rowShowing(input, "Work. Code"), partColumn(input)), "30");
    EXPECT_EQ(input->cellText(rowShowing(input, "Work. Code"), hoursColumn(input)), "3");
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), partColumn(input)), "20");
    EXPECT_EQ(input->cellText(rowShowing(input, "Reading"), hoursColumn(input)), "3");
    EXPECT_EQ(again.mainFrame()->view()->grid(CHrplView::Pane::Activities)->cellText(3, 1),
              "Work. Code");
}

// The same kind of day with the mouse: every item made from a right click's menu or typed into
// the first empty row, hours committed by clicking from row to row, a delete and a move by
// right click, a move cancelled with Escape and started again.
TEST_F(UserDayTest, APlanBuiltWithClicksAndKeysKeepsEveryValueInItsOwnRow) {
    using namespace gridUser;
    lastRunYesterday();
    const QString plan = install() + "/UserWork/UserData.qln";
    CHrplApp app{sink};
    ASSERT_TRUE(startProgram(app));
    CMainFrame* frame = app.mainFrame();
    CVCF1* input = frame->view()->grid(CHrplView::Pane::Input);
    const auto insertAt = [input](int row, const char* command, const QString& name) {
        answerMenu(QString::fromLatin1(command));
        click(input, row, nameColumn(input), Qt::RightButton);
        type(input, name);
        key(input, Qt::Key_Return);
    };
    insertAt(input->lastUsedRow() + 1, "Insert Division", "Work");
    insertAt(input->lastUsedRow() + 1, "Insert Division", "Home");
    insertAt(rowShowing(input, "Work"), "Insert Activity", "Code");
    insertAt(rowShowing(input, "Work"), "Insert Activity", "Mail");
    insertAt(rowShowing(input, "Home"), "Insert Activity", "Garden");
    insertAt(rowShowing(input, "Home"), "Insert Activity", "Cooking");
    click(input, input->lastUsedRow() + 1, nameColumn(input));
    type(input, "Reading");
    key(input, Qt::Key_Return);
    for (const char* name :
         {"Work. Code", "Work. Mail", "Home. Garden", "Home. Cooking", "Reading"})
        ASSERT_GT(rowShowing(input, name), 5) << name;

    // Hours typed row after row, each committed by clicking the next row's cell.
    click(input, rowShowing(input, "Work. Code"), hoursColumn(input));
    type(input, "2");
    click(input, rowShowing(input, "Work. Mail"), hoursColumn(input));
    type(input, "1:30");
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    type(input, "0:45");
    click(input, rowShowing(input, "Home. Garden"), hoursColumn(input));
    type(input, "3");
    key(input, Qt::Key_Return);

    // Cooking deleted from its own right click while Garden is the active row.
    sink.answers = {true};
    answerMenu(QStringLiteral("Delete"));
    click(input, rowShowing(input, "Home. Cooking"), nameColumn(input), Qt::RightButton);
    EXPECT_EQ(sink.texts.back(), "Is it OK to delete: Cooking?");
    EXPECT_EQ(rowShowing(input, "Home. Cooking"), -1);

    // A move started and cancelled with Escape, then started again and done.
    answerMenu(QStringLiteral("Move To"));
    click(input, rowShowing(input, "Reading"), nameColumn(input), Qt::RightButton);
    QWidget* move = QApplication::activeWindow();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == "Move item dialog")
            move = window;
    ASSERT_EQ(move->windowTitle(), "Move item dialog");
    QTest::keyClick(move, Qt::Key_Escape);
    EXPECT_FALSE(move->isVisible());
    answerMenu(QStringLiteral("Move To"));
    click(input, rowShowing(input, "Reading"), nameColumn(input), Qt::RightButton);
    ASSERT_TRUE(move->isVisible());
    click(input, rowShowing(input, "Home"), nameColumn(input));
    sink.answers = {true};
    for (QPushButton* button : move->findChildren<QPushButton*>())
        if (button->text() == "OK")
            button->click();
    ASSERT_GT(rowShowing(input, "Home. Reading"), 5);

    QApplication::setActiveWindow(frame);
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    frame->close();
    CHrplDoc saved{app.core()};
    ASSERT_EQ(saved.loadInMemory(plan.toStdString()), CHrplDoc::LoadResult::Loaded);
    std::map<std::string, double> monday;
    std::map<std::string, std::string> parent;
    for (const auto& [id, item] : saved.plan().items)
        if (!item->isDetached() && !item->isDivision()) {
            monday[saved.plan().fullName(*item)] = saved.plan().dayHours("20261206", id, 2);
            parent[item->name] = saved.plan().findItem(item->parentId)->name;
        }
    // A new division comes with a first activity of its own.
    EXPECT_EQ(monday, (std::map<std::string, double>{{"Work. New Activity", 0},
                                                     {"Work. Code", 2},
                                                     {"Work. Mail", 1.5},
                                                     {"Home. New Activity", 0},
                                                     {"Home. Garden", 3},
                                                     {"Home. Reading", 0.75}}));
    EXPECT_EQ(parent["Reading"], "Home");
}

TEST_F(UserDayTest, ASampleIsWorkedOnInACopyAndTheSamplesFolderIsNeverTouched) {
    lastRunYesterday();
    const QString samples = install() + "/samples";
    QDir().mkpath(samples);
    ASSERT_TRUE(QFile::copy(QStringLiteral(QLN_LIBRARY_DIR "/../samples/Developer.qln"),
                            samples + "/Developer.qln"));
    const QByteArray before = digestOf(samples);
    ScriptedFileChooser chooser;
    CHrplApp app{sink};
    ASSERT_TRUE(startProgram(app));
    CMainFrame* frame = app.mainFrame();
    QString startedIn;
    chooser.answer = [&](const CFileChooser::Question& question) {
        startedIn = question.directory;
        return samples + "/Developer.qln";
    };
    frame->files().setFileChooser(&chooser);
    frame->files().openSample();
    EXPECT_EQ(QDir(startedIn).canonicalPath(), QDir(samples).canonicalPath());
    EXPECT_EQ(app.dataFilePath(), app.temporaryDataFilePath());
    ASSERT_FALSE(sink.texts.empty());
    EXPECT_EQ(sink.texts.back(), CHrplDoc::kSampleLoaded);
    CVCF1* input = frame->view()->grid(CHrplView::Pane::Input);
    ASSERT_GT(input->lastUsedRow(), 10);
    const int running = rowShowing(input, "Health. Running");
    ASSERT_GT(running, 0);
    typeInto(input, running, 4, "1:15");
    EXPECT_EQ(input->cellText(running, hoursColumn(input)), "1:15");
    const int runningId = app.document()->inputRows.at(running - 5).itemId();
    QApplication::setActiveWindow(frame);
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    frame->close();
    EXPECT_EQ(digestOf(samples), before)
        << QDir(samples).entryList(QDir::Files | QDir::Hidden).join(" ").toStdString();
    CHrplDoc copy{app.core()};
    ASSERT_EQ(copy.loadInMemory(app.temporaryDataFilePath().toStdString()),
              CHrplDoc::LoadResult::Loaded);
    EXPECT_DOUBLE_EQ(copy.plan().dayHours("20261206", runningId, 2), 1.25); // Monday's hours
}

TEST_F(FileCommandsTest, ANewNameAmongTheSamplesIsRefusedAndADamagedSampleStaysUntouched) {
    const QString samples = install() + "/samples";
    QDir().mkpath(samples);
    const QString before = app.dataFilePath();
    answer = samples + "/Mine.qln";
    frame->files().openSample();
    EXPECT_EQ(sink.texts.back(), CFileCommands::kSamplesRefused);
    EXPECT_FALSE(QFile::exists(answer));
    EXPECT_EQ(app.dataFilePath(), before);

    QFile damaged{samples + "/Broken.qln"};
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a plan");
    damaged.close();
    answer = damaged.fileName();
    frame->files().openSample();
    EXPECT_EQ(app.dataFilePath(), app.temporaryDataFilePath());
    frame->files().save();
    EXPECT_EQ(QDir(samples).entryList(QDir::Files | QDir::Hidden), QStringList{"Broken.qln"});
    QFile reread{damaged.fileName()};
    ASSERT_TRUE(reread.open(QIODevice::ReadOnly));
    EXPECT_EQ(reread.readAll(), "not a plan");
}

} // namespace
