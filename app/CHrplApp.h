#pragma once

#include "app/CStartupHost.h"
#include "model/CAppCore.h"

#include <QString>
#include <QStringList>

#include <memory>

class CHrplDoc;
class CMainFrame;
class CMessageSink;
class CQLNECNstrtpInf;

// The application object: runs the start-up sequence (command line, helper library, dates and
// the date check, data file, document and main window, the first-run question) and holds the
// settings and state other parts ask for during the run. Shutdown is the main frame's.
class CHrplApp : private CStartupHost {
public:
    // What start-up needs from its surroundings; tests replace the parts that interact.
    struct Environment {
        QString programPath;          // this program's file
        QStringList arguments;        // the command line after the program
        QString planFile;             // a plan named on the command line; empty for none
        QString libraryDirectory;     // where libinitQLN.so is; default: program's folder
        CStartupHost* host = nullptr; // who answers start-up's questions; null: the program
    };

    static constexpr const char* kDataFileExtension = ".qln";

    explicit CHrplApp(CMessageSink& messages);
    ~CHrplApp() override;
    CHrplApp(const CHrplApp&) = delete;
    CHrplApp& operator=(const CHrplApp&) = delete;

    // Everything up to the main window; false when start-up ends the program.
    bool initInstance(const Environment& environment);
    // The document, the main window with its placement and title, the first-run question.
    bool createMainWindow();
    // The session ends: the open plan is stored without a question, or kept as a copy.
    void endSession();
    // The program's status at a session's end: 0 when the plan is safe (stored, copied, or
    // never open), 1 when it could be neither stored nor copied or no window was up.
    int sessionEndStatus() const;

    CAppCore& core() { return m_core; }
    CHrplDoc* document() { return m_document.get(); }
    CMainFrame* mainFrame() { return m_frame.get(); }

    // The plan's file, as the document has it; "" before start-up chose one.
    QString dataFilePath() const;
    QString programDirectoryPath() const;
    QString samplesDirectoryPath() const;
    QString temporaryDataFilePath() const;
    QString helpTopicPath(const QString& topic) const;
    QString windowTitle() const;
    void showAboutBox() const;

    int initialActiveDayOption() const { return m_initialActiveDay; }
    void setInitialActiveDayOption(int option);
    int averagingPeriodIndex() const { return m_core.averagingPeriodIndex(); }
    void setAveragingPeriodIndex(int index);
    // Options' "Read 1.5 as one and a half hours".
    bool decimalHours() const { return m_core.decimalHours(); }
    void setDecimalHours(bool decimal);

    bool launcherOrderFlag() const { return m_launcherOrder; }
    bool bothSwitchesFlag() const { return m_bothSwitches; }
    long long companionNumber() const { return m_companionNumber; }
    bool dateSuspicious() const { return m_dateSuspicious; }
    bool offersStartupChoice() const { return m_offerStartupChoice; }

private:
    void readCommandLine(const QStringList& arguments);
    void chooseDataFile();
    QString namedPlan();
    // The plan's file changed: it is the plan of the next run, and the window follows.
    void planPathChanged();
    bool checkDate();
    CStartupHost& startupHost() { return m_environment.host ? *m_environment.host : *this; }
    // The program's own answers: the desktop's date tool and the first-run dialog.
    void openDateSettings() override;
    bool askRunAtStartup() override;

    CMessageSink& m_messages;
    CAppCore m_core;
    std::unique_ptr<CQLNECNstrtpInf> m_startup;
    std::unique_ptr<CHrplDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    Environment m_environment;
    QString m_namedBackup;
    bool m_launcherOrder = true;
    bool m_bothSwitches = false;
    long long m_companionNumber = 0;
    bool m_offerStartupChoice = false;
    bool m_dateSuspicious = false;
    int m_initialActiveDay = 0;
};
