#include "app/CFileCommands.h"

#include "app/CExchangeCommands.h"
#include "app/CHrplApp.h"
#include "app/CPlanFileName.h"
#include "app/CTimerControl.h"
#include "core/CMessageSink.h"
#include "model/CAppCore.h"

#include <QDir>
#include <QFileInfo>

QString CFileCommands::choose(const QString& title, const QString& start, const QString& filter,
                              bool saving) const {
    return m_chooser->chooseFile({title, start, filter, saving});
}

bool CFileCommands::refuseName(const QString& path, const char* noName,
                               const char* badExtension) const {
    switch (CPlanFileName::of(path)) {
    case CPlanFileName::Kind::NoName:
        m_app.core().messages().message(noName);
        return true;
    case CPlanFileName::Kind::WrongExtension:
        m_app.core().messages().message(badExtension);
        return true;
    default:
        return false;
    }
}

void CFileCommands::openOrNew(const QString& startDirectory) {
    CMessageSink& messages = m_app.core().messages();
    if (!m_document.save()) {
        messages.message(kStoreFirst);
        return;
    }
    const QString start =
        startDirectory.isEmpty() ? QFileInfo(m_app.dataFilePath()).absolutePath() : startDirectory;
    const QString chosen = choose(QStringLiteral("Input or Choice of Q&L Data File Name"), start,
                                  QStringLiteral("Q&L files (*.qln);;Backup files (*.bak)"), false);
    openNamed(chosen);
}

void CFileCommands::openNamed(const QString& chosen) {
    CMessageSink& messages = m_app.core().messages();
    if (refuseName(chosen, kNotOpenedNoName, kNotOpenedExtension))
        return;
    // A new name would create a plan file among the samples, where nothing is stored.
    if (!QFileInfo::exists(chosen) && m_document.isInSamples(chosen.toStdString())) {
        messages.message(kSamplesRefused);
        return;
    }
    loadChosen(chosen);
}

void CFileCommands::runBusy(const std::function<void()>& work) {
    ++m_busy;
    work();
    --m_busy;
    if (m_busy == 0)
        emit idle();
}

void CFileCommands::loadChosen(const QString& chosen) {
    runBusy([&] { openChosen(chosen); });
}

// A refused open leaves the plan, its file, the hold on it and the title as they were.
void CFileCommands::openChosen(const QString& chosen) {
    CMessageSink& messages = m_app.core().messages();
    const QFileInfo info{chosen};
    if (!info.absoluteDir().exists()) {
        messages.message("File was not opened or created because its folder " +
                         QDir::toNativeSeparators(info.absolutePath()).toStdString() +
                         " does not exist.");
        return;
    }
    // A timer belongs to its plan: its time goes there before another plan opens. The open plan
    // is stored first, as at quitting: when it cannot be, the window stays on it.
    if (m_timer.running() && !m_timer.stop()) {
        messages.message(kTimerKeepsPlan);
        return;
    }
    if (!m_document.save()) {
        messages.message(kStoreFirst);
        return;
    }
    const bool backup = chosen.endsWith(QStringLiteral(".bak"), Qt::CaseInsensitive);
    const bool opened = backup          ? openBackup(chosen)
                        : info.exists() ? openPlanFile(chosen)
                                        : createPlanFile(chosen);
    if (!opened)
        return;
    emit planOpened();
    if (backup)
        messages.message("You chose to load backup file. The .qln file with the same name will "
                         "be overwritten while exiting this program. If it is not your "
                         "intention, use menu \"File/Save As\" to change the file name just "
                         "after load.");
}

// The backup's plan carries on in the plan file it backs up, which is therefore held.
bool CFileCommands::openBackup(const QString& chosen) {
    const QString target = chosen.left(chosen.size() - 4) + QStringLiteral(".qln");
    return m_document.loadBackup(chosen.toStdString(), target.toStdString()) ==
           CHrplDoc::LoadResult::Loaded;
}

// The file the document holds becomes the plan's: a loaded sample is worked on in the
// temporary copy.
bool CFileCommands::openPlanFile(const QString& chosen) {
    const std::string old = m_document.planPath();
    const CHrplDoc::LoadResult result = m_document.load(chosen.toStdString());
    if (result == CHrplDoc::LoadResult::Locked)
        return false; // refused before the plan or the hold changed
    if (result == CHrplDoc::LoadResult::NoMemory) {
        m_document.holdFile(old); // the plan is unchanged; so is its file
        return false;
    }
    return true;
}

// A new name: the empty plan, stored at once, which makes the file.
bool CFileCommands::createPlanFile(const QString& chosen) {
    const std::string path = chosen.toStdString();
    const std::string old = m_document.planPath();
    if (!m_document.holdFile(path)) {
        m_document.reportRefusedHold(path);
        return false;
    }
    m_document.resetPlan();
    if (!m_document.save()) {
        // The previous plan was stored before the open began: it comes back from its file.
        m_document.load(old);
        emit planFilled();
        return false;
    }
    return true;
}

void CFileCommands::importFile() {
    CExchangeCommands exchange{m_app, m_document, *m_chooser, m_parent};
    const auto open = [this](const QString& path) {
        loadChosen(path);
        if (m_app.dataFilePath() != path)
            m_app.core().messages().message("The imported plan is kept in " +
                                            QDir::toNativeSeparators(path).toStdString() +
                                            ". Open it with \"File/Open\" once the open plan is "
                                            "stored.");
    };
    runBusy([&] {
        if (exchange.importPlan(open))
            emit planFilled();
    });
}

void CFileCommands::exportFile() {
    CExchangeCommands{m_app, m_document, *m_chooser, m_parent}.exportPlan();
}

void CFileCommands::openSample() {
    openOrNew(m_app.samplesDirectoryPath());
}

void CFileCommands::save() {
    if (!QFileInfo(m_app.dataFilePath()).absoluteDir().exists()) {
        m_app.core().messages().message(
            "You are attempting to store into the directory that doesn't exist. Please "
            "use menu \"File/Save As\" to store into an existing directory.");
        return;
    }
    m_document.save();
}

void CFileCommands::saveAs() {
    const QString chosen = choose(QStringLiteral("Save Q&L Data File As..."),
                                  QFileInfo(m_app.dataFilePath()).absolutePath(),
                                  QStringLiteral("Q&L files (*.qln)"), true);
    if (refuseName(
            chosen, "File was not saved because no name was supplied for it.",
            "File was not saved because it has no extension .qln or .bak that it must have."))
        return;
    if (m_document.isInSamples(chosen.toStdString())) {
        m_app.core().messages().message(kSamplesRefused);
        return;
    }
    // The plan's name, the title and the timer's file follow the file the plan is stored in.
    const std::string old = m_document.planPath();
    m_document.closeFile();
    if (!m_document.save(chosen.toStdString()))
        m_document.save(old);
}

// The file the window starts on; a sample is worked on in its temporary copy.
CHrplDoc::LoadResult CFileCommands::loadAtStart() {
    CHrplDoc::LoadResult result = CHrplDoc::LoadResult::Loaded;
    m_document.deferLoadTail(); // finished once the window shows the plan
    runBusy([&] { result = m_document.load(std::string{m_document.planPath()}); });
    return result;
}
