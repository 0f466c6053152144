#include "app/CCommandLine.h"

#include <QRegularExpression>

#include <cstring>

namespace {

constexpr const char* kHelp =
    "Quillon tells you what to work on next: keep a tree of divisions and activities, give each\n"
    "activity a planned share of your time, type the hours you spend each day, and see how far\n"
    "each activity lags its plan.\n"
    "\n"
    "  PLAN.qln    open this plan (it becomes the plan opened at the next start)\n"
    "  --version   print the version and exit\n"
    "  -h, --help  print this help and exit\n"
    "\n"
    "qlntool(1) reads and changes plans from the command line; see also quillon(1).\n";

} // namespace

// A word of the launcher's is made of its switches and the number between them, which may run
// together ("-qln-rmndr", "-rmndr1234-qln"); anything else ("/home/me/my-qln/plan.qln",
// "-qln.qln") is not.
bool CCommandLine::isLauncherWord(const QString& argument) {
    static const QRegularExpression kWord{QStringLiteral("^(?:-qln|-rmndr|[0-9]+)+$")};
    return kWord.match(argument).hasMatch();
}

QString CCommandLine::launcherText(const QStringList& arguments) {
    QStringList words;
    for (const QString& argument : arguments)
        if (isLauncherWord(argument))
            words << argument;
    return words.join(QLatin1Char(' '));
}

std::optional<int> CCommandLine::answerEarly(int argc, char** argv, std::FILE* out) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--version") == 0) {
            std::fprintf(out, "quillon %s\n", QLN_VERSION);
            return 0;
        }
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            std::fprintf(out, "%s\n%s", kUsage, kHelp);
            return 0;
        }
    }
    return std::nullopt;
}

QString CCommandLine::refusedArgument(const QStringList& arguments) {
    bool plan = false;
    for (const QString& argument : arguments) {
        if (isLauncherWord(argument))
            continue;
        if (argument.startsWith(QLatin1Char('-')) || plan)
            return argument;
        plan = true;
    }
    return {};
}

QString CCommandLine::planArgument(const QStringList& arguments) {
    for (const QString& argument : arguments)
        if (!isLauncherWord(argument) && !argument.startsWith(QLatin1Char('-')))
            return argument;
    return {};
}
