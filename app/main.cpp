// qln: the program.

#include "app/CCommandLine.h"
#include "app/CFirstPaintProbe.h"
#include "app/CHrplApp.h"
#include "app/CMainFrame.h"
#include "app/CQtMessageSink.h"
#include "app/CSignalCloser.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    if (const std::optional<int> code = CCommandLine::answerEarly(argc, argv, stdout))
        return *code;
    CSignalCloser::catchSignals(); // a session end while Qt starts is not lost
    QApplication application{argc, argv};
    const QString refused = CCommandLine::refusedArgument(QApplication::arguments().mid(1));
    if (!refused.isEmpty()) {
        std::fprintf(stderr, "quillon: unknown option: %s\n%s", qPrintable(refused),
                     CCommandLine::kUsage);
        return 2;
    }
    std::unique_ptr<CFirstPaintProbe> probe;
    if (CFirstPaintProbe::wanted())
        probe = std::make_unique<CFirstPaintProbe>();
    QApplication::setApplicationName(QStringLiteral("qln"));
    QApplication::setOrganizationName(QStringLiteral("Tarnwick Software"));
    QApplication::setWindowIcon(
        QIcon(QApplication::applicationDirPath() + QStringLiteral("/qln-icon.svg")));
    CQtMessageSink messages;
    // For runs that no one watches (the tests): texts on the standard error, no boxes.
    if (qEnvironmentVariable("QLN_MESSAGES") == QStringLiteral("stderr"))
        messages.setUnattended();
    CHrplApp app{messages};
    // From the very start a session's end ends the program, storing the plan when one is
    // open; any dialog then open returns at once, and nothing waits for an answer.
    bool ending = false;
    CSignalCloser closer{[&app, &messages, &ending] {
        ending = true;
        messages.setUnattended();
        app.endSession();
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide(); // the splash too, which otherwise waits out its time
        QApplication::exit(app.sessionEndStatus());
    }};
    CHrplApp::Environment environment;
    environment.programPath = QApplication::applicationFilePath();
    environment.arguments = QApplication::arguments().mid(1);
    environment.planFile = CCommandLine::planArgument(environment.arguments);
    if (!app.initInstance(environment) || ending)
        return 1;
    if (!app.createMainWindow() || ending) {
        app.endSession();
        return ending ? app.sessionEndStatus() : 1;
    }
    messages.setParent(app.mainFrame());
    const int status = QApplication::exec();
    // A store held up by a half-done load runs once that is done: its outcome decides.
    return ending ? app.sessionEndStatus() : status;
}
