#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

// The program's command line. "--version" and "--help" are answered before any window can
// open, so they work without a display; the launcher's switches ("-qln", "-rmndr" and the
// number between them) pass through to the application; one other word is a plan to open, as
// a file manager passes it. Anything else is refused with the usage line.
class CCommandLine {
public:
    static constexpr const char* kUsage = "usage: quillon [--version] [--help] [PLAN.qln]\n";

    // 0 when the arguments ask for the version or the help, printed to out; none when the
    // program is to start.
    static std::optional<int> answerEarly(int argc, char** argv, std::FILE* out);
    // The first argument this program does not take (after Qt took its own options): an
    // unknown option or a second plan; empty when all are understood.
    static QString refusedArgument(const QStringList& arguments);
    // The plan named on the command line; empty for none.
    static QString planArgument(const QStringList& arguments);
    // The launcher's words alone, joined by blanks, for reading its switches from: a plan's
    // path that merely holds "-qln" or "-rmndr" is no switch.
    static QString launcherText(const QStringList& arguments);

private:
    static bool isLauncherWord(const QString& argument);
};
