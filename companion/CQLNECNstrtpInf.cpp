#include "companion/CQLNECNstrtpInf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>
#include <QTextStream>

namespace {

const QString kCompany = QStringLiteral("Tarnwick Software");
const QString kPathKey = QStringLiteral("installPath");

// Exec lines quote an argument that holds a blank or a character the desktop entry format
// reserves.
QString quoteArgument(const QString& arg) {
    static const QRegularExpression reserved{QStringLiteral("[\\s\"'\\\\><~|&;$*?#()`]")};
    if (!arg.contains(reserved))
        return arg;
    QString quoted = arg;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    quoted.replace(QLatin1Char('`'), QStringLiteral("\\`"));
    quoted.replace(QLatin1Char('$'), QStringLiteral("\\$"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList splitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool inQuotes = false;
    bool any = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
            any = true;
        } else if (!inQuotes && c.isSpace()) {
            if (any || !current.isEmpty())
                args << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        args << current;
    return args;
}

// The value's trailing switch words stay bare; what comes before them is the program path.
QString toExec(const QString& value) {
    QStringList words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList switches;
    while (!words.isEmpty() && words.last().startsWith(QLatin1Char('-')))
        switches.prepend(words.takeLast());
    QStringList parts;
    if (!words.isEmpty())
        parts << quoteArgument(words.join(QLatin1Char(' ')));
    parts << switches;
    return parts.join(QLatin1Char(' '));
}

// Desktop entry values escape backslashes and line ends.
QString escapeValue(const QString& value) {
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return escaped;
}

QString unescapeValue(const QString& value) {
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[++i];
            out += next == QLatin1Char('n')   ? QChar('\n')
                   : next == QLatin1Char('s') ? QChar(' ')
                                              : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

} // namespace

CQLNECNstrtpInf::Locations CQLNECNstrtpInf::defaultLocations() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return {config + QStringLiteral("/autostart"), QStringLiteral("/etc/xdg/autostart")};
}

CQLNECNstrtpInf::CQLNECNstrtpInf(bool forProgram)
    : CQLNECNstrtpInf(forProgram, defaultLocations()) {}

CQLNECNstrtpInf::CQLNECNstrtpInf(bool forProgram, Locations locations)
    : m_forProgram(forProgram), m_locations(std::move(locations)) {
    m_ownSwitch = forProgram ? programSwitch : companionSwitch;
    m_partnerSwitch = forProgram ? companionSwitch : programSwitch;
    m_ownFile = forProgram ? programFile : companionFile;
    m_partnerFile = forProgram ? companionFile : programFile;
    m_ownAcronym = forProgram ? programAcronym : companionAcronym;
    m_partnerAcronym = forProgram ? companionAcronym : programAcronym;
}

bool CQLNECNstrtpInf::mentionsFile(const QString& text, const QString& file) {
    const QRegularExpression component{QStringLiteral("(^|/)") + QRegularExpression::escape(file) +
                                       QStringLiteral("(\\s|$)")};
    return text.contains(component);
}

bool CQLNECNstrtpInf::hasSwitch(const QString& text, const QString& sw) {
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(sw);
}

bool CQLNECNstrtpInf::containsPath(const QString& path, const QString& text) {
    return text.trimmed().toLower().contains(path.trimmed().toLower());
}

std::optional<QString> CQLNECNstrtpInf::findInstalledPath(bool own) const {
    const QString acronym = own ? m_ownAcronym : m_partnerAcronym;
    const QString file = own ? m_ownFile : m_partnerFile;
    const QString value = QSettings(kCompany, acronym).value(kPathKey).toString();
    const QRegularExpression component{QStringLiteral("(^|/)") + QRegularExpression::escape(file) +
                                       QStringLiteral("(?=\\s|$)")};
    const QRegularExpressionMatch match = component.match(value);
    if (!match.hasMatch())
        return std::nullopt;
    const QString cut = value.left(match.capturedEnd());
    if (!QFileInfo(cut).isFile())
        return std::nullopt;
    return value;
}

QString CQLNECNstrtpInf::launcherPath(const QString& ownPath) const {
    return QFileInfo(ownPath).path() + QLatin1Char('/') + launcherFile;
}

int CQLNECNstrtpInf::readStartupState() const {
    const QString value = readRunValue();
    if (value.isEmpty())
        return None;
    // The records of the two programs, whichever side this object acts for.
    const auto companion = findInstalledPath(!m_forProgram);
    const auto program = findInstalledPath(m_forProgram);
    if (mentionsFile(value, companionFile))
        return companion && containsPath(*companion, value) ? CompanionOnly : None;
    if (mentionsFile(value, programFile))
        return program && containsPath(*program, value) ? ProgramOnly : None;
    if (!program)
        return None;
    const QString launcher = launcherPath(*program);
    if (!QFileInfo(launcher).isFile() || !containsPath(launcher, value))
        return None;
    const QStringList words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int q = words.indexOf(programSwitch);
    const int r = words.indexOf(companionSwitch);
    if (q < 0 && r < 0)
        return None;
    if (q < 0)
        return CompanionOnly;
    if (r < 0)
        return ProgramOnly;
    return q < r ? BothProgramFirst : BothCompanionFirst;
}

void CQLNECNstrtpInf::applyStartupChoice(int choice) {
    if (choice == DoNotRun) {
        removeOwnStartup();
        return;
    }
    const auto own = findInstalledPath(true);
    if (!own) {
        if (!m_forProgram)
            if (const auto partner = findInstalledPath(false))
                writeRunValue(*partner);
        return;
    }
    const bool partnerInstalled = findInstalledPath(false).has_value();
    if (!m_forProgram && !partnerInstalled)
        return; // the companion side writes nothing without this program installed
    const int state = partnerInstalled ? readStartupState() : None;
    // Both switches when the partner is already in the entry.
    const bool partnerInEntry = state == BothCompanionFirst || state == BothProgramFirst ||
                                state == (m_forProgram ? CompanionOnly : ProgramOnly);
    QString value = launcherPath(*own) + QLatin1Char(' ');
    if (!partnerInEntry)
        value += m_ownSwitch;
    else if (choice == RunBelow)
        value += companionSwitch + QLatin1Char(' ') + programSwitch;
    else
        value += programSwitch + QLatin1Char(' ') + companionSwitch;
    writeRunValue(value);
}

void CQLNECNstrtpInf::removeOwnStartup() {
    QString value = readRunValue();
    if (value.isEmpty())
        return;
    if (mentionsFile(value, m_partnerFile))
        return;
    if (mentionsFile(value, m_ownFile)) {
        deleteRunValue();
        return;
    }
    if (!mentionsFile(value, launcherFile))
        return;
    if (!hasSwitch(value, m_partnerSwitch)) {
        deleteRunValue();
        return;
    }
    QStringList words = value.split(QLatin1Char(' '));
    const int own = words.indexOf(m_ownSwitch);
    if (own >= 0)
        words.removeAt(own);
    value = words.join(QLatin1Char(' ')).trimmed();
    while (value.contains(QStringLiteral("  ")))
        value.replace(QStringLiteral("  "), QStringLiteral(" "));
    writeRunValue(value);
}

void CQLNECNstrtpInf::registerOwnPath(const QString& path) {
    QSettings record{kCompany, m_ownAcronym};
    if (record.value(kPathKey).toString() != path)
        record.setValue(kPathKey, path);
}

void CQLNECNstrtpInf::deleteLegacyRunValue() {
    QFile::remove(m_locations.systemAutostartDir + QLatin1Char('/') + valueName +
                  QStringLiteral(".desktop"));
}

QString CQLNECNstrtpInf::runEntryPath() const {
    return m_locations.userAutostartDir + QLatin1Char('/') + valueName + QStringLiteral(".desktop");
}

QString CQLNECNstrtpInf::readRunValue() const {
    QFile file{runEntryPath()};
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in{&file};
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QStringLiteral("[Desktop Entry]");
        else if (inEntry && line.startsWith(QStringLiteral("Exec=")))
            return splitExec(unescapeValue(line.mid(5))).join(QLatin1Char(' '));
    }
    return {};
}

void CQLNECNstrtpInf::writeRunValue(const QString& value) {
    QDir().mkpath(m_locations.userAutostartDir);
    QSaveFile file{runEntryPath()};
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out{&file};
    const QString program = findInstalledPath(true).value_or(QString());
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Version=1.0\n"
        << "Name=Quillon\n"
        << "Comment=Tells you what to work on next\n"
        << "Exec=" << escapeValue(toExec(value)) << "\n"
        << "Terminal=false\n"
        << "X-GNOME-Autostart-enabled=true\n";
    if (!program.isEmpty())
        out << "Icon=" << escapeValue(QFileInfo(program).path() + QStringLiteral("/qln-icon.svg"))
            << "\n";
    out.flush();
    file.commit();
}

void CQLNECNstrtpInf::deleteRunValue() {
    QFile::remove(runEntryPath());
}
