#include "app/CPlanFollower.h"

#include "app/CAutoStore.h"
#include "app/CFileCommands.h"
#include "app/CMainFrame.h"
#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "views/CHrplView.h"

#include <QApplication>
#include <QFileInfo>

#include <filesystem>

namespace {

// Of the decisions a merge took, this many are listed; the rest are counted.
constexpr std::size_t kListed = 12;

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

CPlanFollower::CPlanFollower(CMainFrame& frame, CHrplDoc& document)
    : QObject(&frame), m_frame(frame), m_document(document), m_sync(document) {
    m_document.setSync(&m_sync);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { look(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { look(true); });
    m_clock.setInterval(kLookMs);
    connect(&m_clock, &QTimer::timeout, this, [this] { look(++m_looks % kLooksPerListing == 0); });
    m_clock.start();
}

CPlanFollower::~CPlanFollower() {
    m_document.setSync(nullptr);
}

// Nothing is taken in under the user's hands: an open editor, a question, a load or an import.
bool CPlanFollower::userBusy() const {
    return m_frame.files().busy() || !m_frame.view() || m_frame.view()->editing() ||
           QApplication::activeModalWidget() || !m_document.isFileOpen();
}

void CPlanFollower::look(bool copiesToo) {
    watch();
    if (m_looking || userBusy())
        return;
    m_document.keepHold();
    m_document.finishLoad(); // the version loaded is known before any other is looked for
    m_looking = true;
    CPlanSync::Report report = m_sync.takeStoreReport();
    report.add(m_sync.takeIn());
    if (copiesToo)
        report.add(m_sync.mergeConflictCopies());
    m_looking = false;
    takeIn(std::move(report));
}

// A sync engine replaces the file by a rename, which ends the watch on it: it is watched
// again each time, and the folder as well, for the copies that appear beside it.
void CPlanFollower::watch() {
    const QString path = QString::fromStdString(m_document.planPath());
    const QString folder = QFileInfo(path).absolutePath();
    for (const QString& watched : m_watcher.files())
        if (watched != path)
            m_watcher.removePath(watched);
    for (const QString& watched : m_watcher.directories())
        if (watched != folder)
            m_watcher.removePath(watched);
    if (!m_watcher.files().contains(path) && QFileInfo::exists(path))
        m_watcher.addPath(path);
    if (!m_watcher.directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
}

// Soon after, not inside the store: showing a merge may store again.
void CPlanFollower::afterStore() {
    QTimer::singleShot(0, this, [this] { look(); });
}

// What came in shows at once, with the active cell where it was; a merge is stored at once,
// and the conflict copies it took in leave the shared folder only once it is.
void CPlanFollower::takeIn(CPlanSync::Report report) {
    if (report.what != CPlanSync::Report::What::Nothing && m_frame.view())
        m_frame.view()->planReplaced();
    if (report.what == CPlanSync::Report::What::Merged) {
        const bool stored = !m_document.plan().history.modified() || m_frame.autoStore().storeNow();
        if (stored && !report.mergedCopies.empty() && !m_sync.clearCopies(report.mergedCopies))
            report.problems.push_back("A merged conflict copy could not be moved to " +
                                      m_sync.mergedFolder());
    }
    tell(report);
}

void CPlanFollower::tell(const CPlanSync::Report& report) {
    CMessageSink& messages = m_document.plan().app().messages();
    using What = CPlanSync::Report::What;
    std::string text;
    if (report.what == What::Reloaded)
        messages.notice(kReloaded);
    if (report.what == What::Merged) {
        text = kMerged;
        std::string copies;
        for (const std::string& source : report.mergedCopies)
            copies += (copies.empty() ? " from " : ", ") + fileName(source);
        text += copies + ".";
        if (report.decisions.empty() && report.problems.empty()) {
            messages.notice(text);
            return;
        }
        for (std::size_t i = 0; i < report.decisions.size() && i < kListed; ++i)
            text += "\n- " + report.decisions[i].text;
        if (report.decisions.size() > kListed)
            text += "\n... and " + std::to_string(report.decisions.size() - kListed) + " more.";
    }
    for (const std::string& problem : report.problems)
        text += (text.empty() ? "" : "\n") + std::string("Not taken into the plan: ") + problem +
                ". The plan open here stays as it is.";
    if (!text.empty())
        messages.message(text);
}
