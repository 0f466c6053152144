// qln: the program.

#include "app/CFirstPaintProbe.h"
#include "app/CHrplApp.h"
#include "app/CMainFrame.h"
#include "app/CQtMessageSink.h"
#include "app/CSignalCloser.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char** argv) {
    QApplication application{argc, argv};
    std::unique_ptr<CFirstPaintProbe> probe;
    if (CFirstPaintProbe::wanted())
        probe = std::make_unique<CFirstPaintProbe>();
    QApplication::setApplicationName(QStringLiteral("qln"));
    QApplication::setOrganizationName(QStringLiteral("Tarnwick Software"));
    QApplication::setWindowIcon(
        QIcon(QApplication::applicationDirPath() + QStringLiteral("/qln-icon.svg")));
    CQtMessageSink messages;
    CHrplApp app{messages};
    // From the very start a session's end closes in order: the window stores the plan.
    CSignalCloser closer{[&app] {
        if (app.mainFrame() && app.mainFrame()->isVisible())
            app.mainFrame()->close();
        else
            QApplication::exit(1);
    }};
    CHrplApp::Environment environment;
    environment.programPath = QApplication::applicationFilePath();
    environment.arguments = QApplication::arguments().mid(1);
    if (!app.initInstance(environment))
        return 1;
    if (!app.createMainWindow())
        return 1;
    messages.setParent(app.mainFrame());
    return QApplication::exec();
}
