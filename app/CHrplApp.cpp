#include "app/CHrplApp.h"

#include "app/CAppSettings.h"
#include "app/CCommandLine.h"
#include "app/CEmergencyCopy.h"
#include "app/CFrameCoordinator.h"
#include "app/CFrstSrtpChs.h"
#include "app/CMainFrame.h"
#include "app/CPlanFileName.h"
#include "companion/CQLNECNstrtpInf.h"
#include "core/CMessageSink.h"
#include "core/QlnDateFormat.h"
#include "core/QlnDates.h"
#include "model/CHrplDoc.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <clocale>

namespace {

const QString kShouldAsk = QStringLiteral("shldAskSrtp");
const QString kLastRunDate = QStringLiteral("lastrundate");
const QString kInitialDay = QStringLiteral("initcurdate");
const QString kAveragingPeriod = QStringLiteral("intlavrgdtimeindx");
const QString kDecimalHours = QStringLiteral("decimalHours");
const QString kDataFile = QStringLiteral("qlnDtFlRt");

const char* const kDateExplanation =
    "This program relies on the date that reports your computer "
    "(e.g. part of the data might be lost if error in the date is more than a day). "
    "Therefore in next dialog you will be asked to check the date. "
    "This check will be asked only for the first run of the program "
    "and in \"suspicious\" cases.";
const char* const kSetTheDate =
    "Please, set correct date with Windows date/time dialog that will appear after closing this "
    "message box. "
    "Then run this program again. (If  time/date dialog will not appear use Control Panel for the "
    "setting )";

// The desktop's own date and time settings, whichever is installed.
void startDateSettingsTool() {
    const QList<QStringList> tools = {{"gnome-control-center", "datetime"},
                                      {"systemsettings", "kcm_clock"},
                                      {"xfce4-datetime-settings"},
                                      {"time-admin"}};
    for (const QStringList& tool : tools)
        if (QProcess::startDetached(tool.first(), tool.mid(1)))
            return;
}

QString parentOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

} // namespace

CHrplApp::CHrplApp(CMessageSink& messages) : m_messages(messages), m_core(messages) {}

CHrplApp::~CHrplApp() {
    // The window stores the plan as it goes, which needs the data path and the rest of the
    // application still there.
    m_frame.reset();
    // A start that ended early leaves the splash up; its code goes with the helper library.
    m_core.library().closeSplash();
}

void CHrplApp::readCommandLine(const QStringList& arguments) {
    // One text of the launcher's words, the switches found in it as substrings.
    const QString line = CCommandLine::launcherText(arguments);
    const int q = line.indexOf(QStringLiteral("-qln"));
    const int r = line.indexOf(QStringLiteral("-rmndr"));
    if (q < 0) {
        m_launcherOrder = false;
        m_bothSwitches = false;
        if (CAppSettings::readInt(kShouldAsk, 1) != 0) {
            const int state = m_startup->readStartupState();
            m_offerStartupChoice =
                state == CQLNECNstrtpInf::None || state == CQLNECNstrtpInf::CompanionOnly;
        }
        return;
    }
    if (r < 0) {
        m_launcherOrder = true;
        m_bothSwitches = false;
        return;
    }
    m_bothSwitches = true;
    m_launcherOrder = q < r;
    const int from = q < r ? q + 4 : r + 6;
    const int to = q < r ? r : q;
    bool ok = false;
    const long long number = line.mid(from, to - from).trimmed().toLongLong(&ok);
    if (ok && number != 0)
        m_companionNumber = number;
}

// A plan the file manager hands over becomes the plan, as File > Open makes it; a name that is
// not a plan's is refused as File > Open refuses it, and the plan of the last run opens.
// "" when no plan was named or the name was refused.
QString CHrplApp::namedPlan() {
    const QString& given = m_environment.planFile;
    if (given.isEmpty())
        return {};
    const QFileInfo named{given};
    switch (CPlanFileName::of(given)) {
    case CPlanFileName::Kind::NoName:
        m_messages.message(CFileCommands::kNotOpenedNoName);
        return {};
    case CPlanFileName::Kind::WrongExtension:
        m_messages.message(CFileCommands::kNotOpenedExtension);
        return {};
    case CPlanFileName::Kind::Backup:
        m_namedBackup = named.absoluteFilePath(); // opened over the plan it backs up, at once
        return {};
    default:
        break;
    }
    if (named.isDir()) {
        m_messages.message("The plan " + given.toStdString() +
                           " cannot be opened: it is a folder.");
        return {};
    }
    if (!named.absoluteDir().exists()) {
        m_messages.message("The plan " + given.toStdString() +
                           " cannot be opened: its folder does not exist.");
        return {};
    }
    return named.absoluteFilePath();
}

// The plan of the last run, or the user's own in the installation's folder; a plan named on
// the command line instead, which becomes the plan of the next run too.
void CHrplApp::chooseDataFile() {
    QString path = namedPlan();
    const QString stored = CAppSettings::readText(kDataFile);
    if (!path.isEmpty()) {
        CAppSettings::write(kDataFile, path);
    } else if (!stored.isEmpty() && QFileInfo(stored).absoluteDir().exists()) {
        path = stored;
    } else {
        const QString userData = QString::fromStdString(m_core.userDataDirectory());
        QDir().mkpath(userData);
        path = userData + QStringLiteral("/UserData.qln");
    }
    m_document->choosePlanPath(path.toStdString());
    // From here on, each plan the user turns to is the plan of the next run.
    m_document->setPathListener([this] { planPathChanged(); });
}

bool CHrplApp::checkDate() {
    CAppDates& dates = m_core.dates();
    const CMyStringDate& today = dates.today();
    const QString stored = CAppSettings::readText(kLastRunDate);
    CMyStringDate last;
    bool suspicious = stored.isEmpty() || !last.setText(stored.toStdString()) || !last.isValid();
    if (!suspicious) {
        const auto days = (today.date() - last.date()).count();
        suspicious = days > 7 || days < 0;
    }
    m_dateSuspicious = suspicious;
    if (suspicious) {
        m_messages.message(kDateExplanation);
        const std::string question = "Your computer repots that today's date is:\n" +
                                     qlndateformat::format(today.date(), "%A, %B %d %Y") +
                                     "\n Is it correct date?";
        if (!m_messages.askYesNo(question)) {
            m_messages.message(kSetTheDate);
            startupHost().openDateSettings();
            return false;
        }
    }
    CAppSettings::write(kLastRunDate, QString::fromStdString(today.text()));
    return true;
}

bool CHrplApp::initInstance(const Environment& environment) {
    m_environment = environment;
    m_startup = std::make_unique<CQLNECNstrtpInf>(true);
    readCommandLine(environment.arguments);
    if (CAppSettings::readInt(kShouldAsk, 1) != 0)
        CAppSettings::write(kShouldAsk, 0);

    const QString programDirectory = parentOf(environment.programPath);
    const QString libraryDirectory =
        environment.libraryDirectory.isEmpty() ? programDirectory : environment.libraryDirectory;
    if (!m_core.start(libraryDirectory.toStdString())) {
        m_messages.message(CAppCore::kLibraryMissing);
        return false;
    }
    m_core.setInstallDirectory(parentOf(programDirectory).toStdString());
    m_startup->registerOwnPath(environment.programPath);
    m_document = std::make_unique<CHrplDoc>(m_core);
    chooseDataFile();

    m_initialActiveDay = CAppSettings::readInt(kInitialDay, 0);
    m_core.setAveragingPeriodIndex(CAppSettings::readInt(kAveragingPeriod, 0));
    m_core.setDecimalHours(CAppSettings::readInt(kDecimalHours, 0) != 0);
    if (m_initialActiveDay == 0) {
        const CMyStringDate yesterday{m_core.dates().today().date() - std::chrono::days{1}};
        m_core.dates().setActiveDay(yesterday);
    }
    if (!checkDate())
        return false;
    std::setlocale(LC_NUMERIC, "C");
    return true;
}

bool CHrplApp::createMainWindow() {
    m_frame = std::make_unique<CMainFrame>(*this, *m_document);
    if (!m_frame->openDocument())
        return false;
    m_frame->showWithPlacement();
    CEmergencyCopy::reportKept(m_messages);
    m_frame->timerPresenter().offerKept();
    if (!m_namedBackup.isEmpty())
        m_frame->files().openNamed(m_namedBackup);
    m_frame->coordinator().start();
    if (m_offerStartupChoice && startupHost().askRunAtStartup())
        m_startup->applyStartupChoice(CQLNECNstrtpInf::RunAbove);
    return true;
}

void CHrplApp::endSession() {
    if (m_frame)
        m_frame->endSession();
}

int CHrplApp::sessionEndStatus() const {
    return m_frame && !m_frame->workLost() ? 0 : 1;
}

void CHrplApp::openDateSettings() {
    startDateSettingsTool();
}

bool CHrplApp::askRunAtStartup() {
    // Owned by the main window, so it stays in front of it.
    return CFrstSrtpChs{m_frame.get()}.exec() == QDialog::Accepted;
}

QString CHrplApp::dataFilePath() const {
    return m_document ? QString::fromStdString(m_document->planPath()) : QString();
}

void CHrplApp::planPathChanged() {
    CAppSettings::write(kDataFile, dataFilePath());
    if (m_frame)
        m_frame->planPathChanged();
}

QString CHrplApp::windowTitle() const {
    return QStringLiteral("Q&L - ") + QFileInfo(dataFilePath()).fileName();
}

QString CHrplApp::programDirectoryPath() const {
    return QString::fromStdString(m_core.installDirectory()) + QLatin1Char('/');
}

QString CHrplApp::samplesDirectoryPath() const {
    return QString::fromStdString(m_core.samplesDirectoryPath());
}

QString CHrplApp::temporaryDataFilePath() const {
    return QString::fromStdString(m_core.temporaryDataFilePath());
}

QString CHrplApp::helpTopicPath(const QString& topic) const {
    return QString::fromStdString(m_core.installDirectory()) + QStringLiteral("/help/") + topic;
}

void CHrplApp::showAboutBox() const {
    m_core.library().showAboutBox();
}

void CHrplApp::setInitialActiveDayOption(int option) {
    if (option != 0 && option != 1)
        return;
    CAppSettings::write(kInitialDay, option);
    m_initialActiveDay = CAppSettings::readInt(kInitialDay, 0);
}

void CHrplApp::setDecimalHours(bool decimal) {
    CAppSettings::write(kDecimalHours, decimal ? 1 : 0);
    m_core.setDecimalHours(decimal);
}

void CHrplApp::setAveragingPeriodIndex(int index) {
    CAppSettings::write(kAveragingPeriod, index);
    m_core.setAveragingPeriodIndex(index);
}
