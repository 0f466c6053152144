#include "app/CExchangeCommands.h"

#include "app/CFileChooser.h"
#include "app/CHrplApp.h"
#include "core/CMessageSink.h"
#include "model/CAtomicFile.h"
#include "model/CHrplDoc.h"
#include "model/CPlanCsv.h"
#include "model/CPlanFile.h"
#include "model/CPlanJson.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>

#include <algorithm>
#include <new>

namespace {

bool readOrSay(const QString& path, std::string& bytes, CMessageSink& messages) {
    if (CAtomicFile::readAll(path.toStdString(), bytes))
        return true;
    messages.message("The file " + path.toStdString() + " could not be read.");
    return false;
}

// The first few problems, one a line, for a message box.
std::string listed(const std::vector<CPlanCsv::Problem>& problems) {
    std::string text;
    const std::size_t shown = std::min<std::size_t>(problems.size(), 8);
    for (std::size_t i = 0; i < shown; ++i)
        text += "Line " + std::to_string(problems[i].line) + ": " + problems[i].text + "\n";
    if (problems.size() > shown)
        text += "... and " + std::to_string(problems.size() - shown) + " more.\n";
    return text;
}

} // namespace

QString CExchangeCommands::folder() const {
    return QFileInfo(m_app.dataFilePath()).absolutePath();
}

QString CExchangeCommands::askPath(const QString& title, const QString& filter, bool save) const {
    return m_chooser.chooseFile({title, folder(), filter, save});
}

void CExchangeCommands::exportPlan() {
    const QString path = askPath(
        QStringLiteral("Export the plan"),
        QStringLiteral("CSV files, the hours (*.csv);;JSON files, the whole plan (*.json)"), true);
    if (path.isEmpty())
        return;
    CMessageSink& messages = m_app.core().messages();
    const bool json = path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
    const std::string bytes =
        json ? CPlanJson::write(m_document.plan()) : CPlanCsv::write(m_document.plan());
    if (!CAtomicFile::write(path.toStdString(), bytes)) {
        messages.message("The plan could not be exported to " + path.toStdString() + ".");
        return;
    }
    messages.message((json ? "The whole plan was exported to " : "The hours were exported to ") +
                     path.toStdString() + ".");
}

bool CExchangeCommands::importPlan(const std::function<void(const QString&)>& openFile) {
    const QString path = askPath(
        QStringLiteral("Import hours or a plan"),
        QStringLiteral("CSV files, hours to add (*.csv *.tsv *.txt);;JSON files, a whole plan "
                       "(*.json)"),
        false);
    if (path.isEmpty())
        return false;
    // Reading a file leaves the plan alone, and a CSV import is all or nothing: running out of
    // memory anywhere changes nothing.
    try {
        if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
            importJson(path, openFile);
            return false;
        }
        return importCsv(path);
    } catch (const std::bad_alloc&) {
        m_app.core().messages().message(kNoMemory);
        return false;
    }
}

bool CExchangeCommands::importCsv(const QString& path) {
    CMessageSink& messages = m_app.core().messages();
    std::string text;
    if (!readOrSay(path, text, messages))
        return false;
    const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    QProgressDialog progress{QStringLiteral("Importing hours..."), QString(), 0, 100, m_parent};
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const CPlanCsv::Progress report = [&progress, lines](std::size_t done, std::size_t total) {
        if (lines < kProgressRows)
            return;
        progress.setValue(total ? static_cast<int>(done * 100 / total) : 100);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    CPlanCsv::ImportResult result = m_document.importCsv(text, false, report);
    if (!result.applied && !result.noMemory) {
        progress.reset(); // the question is never under the progress box
        if (!messages.askYesNo("Some rows cannot be imported:\n" + listed(result.bad) +
                               "Import the other rows and leave these out?"))
            return false;
        result = m_document.importCsv(text, true, report);
    }
    progress.reset();
    if (result.noMemory) {
        messages.message(kNoMemory);
        return false;
    }
    if (!result.applied) { // what skipping bad rows cannot mend, such as running out of items
        messages.message("Nothing was imported:\n" + listed(result.bad));
        return false;
    }
    messages.message("Imported " + std::to_string(result.taken) +
                     " rows: " + std::to_string(result.createdItems) +
                     " new activities and divisions, " + std::to_string(result.outside.size()) +
                     " rows outside the kept period left out.");
    return true;
}

void CExchangeCommands::importJson(const QString& path,
                                   const std::function<void(const QString&)>& openFile) {
    CMessageSink& messages = m_app.core().messages();
    std::string text;
    if (!readOrSay(path, text, messages))
        return;
    CHrplDoc imported{m_app.core()};
    std::string why;
    std::vector<std::string> leftOut;
    if (!CPlanJson::read(text, imported.plan(), why, &leftOut) ||
        imported.loadBytes(CPlanFile::write(imported.plan())) != CHrplDoc::LoadResult::Loaded) {
        messages.message("The file " + path.toStdString() + " does not hold a plan. " + why);
        return;
    }
    const QString target = askPath(QStringLiteral("New plan file for the imported plan"),
                                   QStringLiteral("Q&L files (*.qln)"), true);
    if (target.isEmpty())
        return;
    if (QFileInfo::exists(target)) {
        messages.message("An imported plan goes into a new file; " + target.toStdString() +
                         " exists already.");
        return;
    }
    if (!CAtomicFile::write(target.toStdString(), CPlanFile::write(imported.plan()))) {
        messages.message(CHrplDoc::kCannotStore);
        return;
    }
    openFile(target);
    if (!leftOut.empty())
        messages.message(CPlanJson::leftOutText(leftOut));
}
