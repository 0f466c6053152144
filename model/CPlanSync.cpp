#include "model/CPlanSync.h"

#include "model/CAtomicFile.h"
#include "model/CConflictCopies.h"
#include "model/CContentHash.h"
#include "model/CFileBytes.h"
#include "model/CHoursArchive.h"
#include "model/CHrplDoc.h"
#include "model/CQLData.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::int64_t now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

} // namespace

bool CPlanSync::Report::conflicted() const {
    for (const CPlanMerge::Decision& decision : decisions)
        if (decision.kind == CPlanMerge::Decision::Kind::Conflict)
            return true;
    return false;
}

void CPlanSync::Report::add(Report other) {
    what = std::max(what, other.what);
    const auto append = [](auto& to, auto& from) {
        to.insert(to.end(), std::make_move_iterator(from.begin()),
                  std::make_move_iterator(from.end()));
    };
    append(sources, other.sources);
    append(decisions, other.decisions);
    append(problems, other.problems);
    append(mergedCopies, other.mergedCopies);
}

CPlanSync::CPlanSync(CHrplDoc& document, std::string home)
    : m_document(document), m_home(std::move(home)) {}

CPlanSync::~CPlanSync() = default;

CPlanSync::Stamp CPlanSync::stampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    Stamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modified =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.exists = true;
    return stamp;
}

CPlanVersions& CPlanSync::versions() {
    if (!m_versions)
        m_versions = std::make_unique<CPlanVersions>(m_path, m_home);
    return *m_versions;
}

void CPlanSync::loaded(const std::string& path, std::string_view bytes) {
    loaded(path, bytes, stampOf(path));
}

void CPlanSync::loaded(const std::string& path, std::string_view bytes, const Stamp& stamp) {
    if (path != m_path) {
        m_path = path;
        m_versions.reset();
    }
    m_origin = m_seen = versions().keep(bytes);
    m_originStoredHere = false;
    m_mergedIn.clear();
    m_stamp = stamp;
    versions().prune(now());
}

void CPlanSync::stored(const std::string& path, const std::string& hash) {
    if (path != m_path) { // stored under another name: a plan of its own from here on
        m_path = path;
        m_versions.reset();
        m_origin.clear();
        m_mergedIn.clear();
    }
    CPlanVersions& kept = versions();
    // A version of ours that was in the file for moments only (the stores of steady typing)
    // hardly reached another computer: its bytes are not worth keeping for weeks. Should it be
    // a base all the same, the merge takes an older one the two have in common.
    if (m_originStoredHere && m_origin != hash && now() - m_originAt < kSettleSeconds &&
        m_mergedIn.empty())
        kept.forget(m_origin);
    kept.keepFile(path, hash);
    if (hash != m_origin || !m_mergedIn.empty()) {
        std::vector<std::string> parents;
        if (!m_origin.empty() && m_origin != hash)
            parents.push_back(m_origin);
        for (const std::string& merged : m_mergedIn)
            if (merged != hash)
                parents.push_back(merged);
        kept.recordStore(hash, parents, now());
    }
    m_origin = m_seen = hash;
    m_originStoredHere = true;
    m_originAt = now();
    m_mergedIn.clear();
    m_stamp = stampOf(path);
}

bool CPlanSync::fileChanged() {
    if (m_path.empty())
        return false;
    const Stamp stamp = stampOf(m_path);
    if (stamp == m_stamp || !stamp.exists)
        return false;
    CFileBytes bytes;
    if (!bytes.read(m_path))
        return false; // being replaced, perhaps: the next look sees it whole
    if (CContentHash::of(bytes.view()) == m_seen) {
        m_stamp = stamp; // touched, or the program's own store
        return false;
    }
    return true;
}

CPlanSync::Report CPlanSync::beforeStore(const std::string& path) {
    if (path != m_path || m_seen.empty() || !fileChanged())
        return {};
    CFileBytes bytes;
    if (!bytes.read(path))
        return {};
    // The plan being stored now is the later side.
    Report merged = mergeIn(path, bytes.view(), nullptr, false);
    m_storeReport.add(merged);
    return merged;
}

CPlanSync::Report CPlanSync::takeStoreReport() {
    Report report = std::move(m_storeReport);
    m_storeReport = {};
    return report;
}

CPlanSync::Report CPlanSync::takeIn() {
    if (!fileChanged())
        return {};
    CFileBytes bytes;
    if (!bytes.read(m_path))
        return {};
    Report report;
    std::string why;
    std::unique_ptr<CQLData> plan = planOf(bytes.view(), why);
    if (!plan) {
        report.problems.push_back(m_path + ": " + why);
        m_stamp = stampOf(m_path); // said once; the plan here goes over it at its next store
        return report;
    }
    // Changes not stored yet are newer than any file: theirs wins nothing against them.
    if (m_document.plan().history.modified())
        return waitsForLineage(CContentHash::of(bytes.view()))
                   ? report
                   : mergeIn(m_path, bytes.view(), std::move(plan), false);
    m_document.takePlan(*plan, false);
    m_origin = m_seen = versions().keep(bytes.view());
    m_originStoredHere = false;
    m_mergedIn.clear();
    m_stamp = stampOf(m_path);
    report.what = Report::What::Reloaded;
    report.sources.push_back(m_path);
    return report;
}

CPlanSync::Report CPlanSync::mergeConflictCopies() {
    Report report;
    if (m_path.empty())
        return report;
    for (const std::string& copy : CConflictCopies::of(m_path)) {
        CFileBytes bytes;
        if (!bytes.read(copy)) {
            report.problems.push_back(copy + ": " + bytes.error());
            continue;
        }
        const std::string hash = CContentHash::of(bytes.view());
        if (waitsForLineage(hash))
            continue; // looked at again later
        const bool changedHere = m_document.plan().history.modified();
        const std::int64_t ours = changedHere ? now() : storedAt(m_seen, m_path);
        Report merged = mergeIn(copy, bytes.view(), nullptr, storedAt(hash, copy) > ours);
        if (merged.what == Report::What::Merged)
            merged.mergedCopies.push_back(copy);
        report.add(std::move(merged));
    }
    takeInArchiveCopies(report);
    return report;
}

// The archive of older hours merges by the union of its rows, without the plan: the copy
// leaves the shared folder as soon as its rows are in.
void CPlanSync::takeInArchiveCopies(Report& report) {
    const std::string archive = CHoursArchive::pathFor(m_path);
    for (const std::string& copy : CConflictCopies::of(archive)) {
        std::string why;
        if (!CHoursArchive::takeIn(archive, copy, &why))
            report.problems.push_back(copy + ": " + why);
        else if (!clearCopies({copy}))
            report.problems.push_back(copy + " could not be moved to " + mergedFolder());
    }
}

bool CPlanSync::clearCopies(const std::vector<std::string>& copies) {
    bool cleared = true;
    std::error_code error;
    fs::create_directories(mergedFolder(), error);
    for (const std::string& copy : copies) {
        CFileBytes bytes;
        const std::string kept = mergedFolder() + "/" + fs::path(copy).filename().string();
        // The bytes are safe in this computer's folder before the copy leaves the shared one.
        if (!bytes.read(copy) || !CAtomicFile::writeHere(kept, bytes.view()) ||
            !fs::remove(copy, error))
            cleared = false;
    }
    return cleared;
}

std::unique_ptr<CQLData> CPlanSync::planOf(std::string_view bytes, std::string& why) {
    CHrplDoc reader{m_document.plan().app()};
    reader.holdMessages(); // its refusal is this report's, not a message box
    const CHrplDoc::LoadResult result = reader.loadBytes(std::string{bytes});
    if (result != CHrplDoc::LoadResult::Loaded) {
        why = result == CHrplDoc::LoadResult::Damaged ? "it is not a plan file"
                                                      : "its data are inconsistent";
        return nullptr;
    }
    auto plan = std::make_unique<CQLData>(m_document.plan().app());
    reader.givePlan(*plan);
    return plan;
}

// Merges another version into the plan. The base is the latest version the plan and that one
// have in common; without one, the merge keeps every amount either side has.
CPlanSync::Report CPlanSync::mergeIn(const std::string& source, std::string_view bytes,
                                     std::unique_ptr<CQLData> theirs, bool theirsLater) {
    Report report;
    std::string why;
    if (!theirs && !(theirs = planOf(bytes, why))) {
        report.problems.push_back(source + ": " + why);
        return report;
    }
    const std::string hash = versions().keep(bytes);
    std::unique_ptr<CQLData> base;
    if (const std::optional<std::string> common = versions().commonBase(m_seen, hash))
        if (const std::optional<std::string> baseBytes = versions().bytesOf(*common))
            base = planOf(*baseBytes, why);
    CQLData merged{m_document.plan().app()};
    try {
        const CPlanMerge::Result result = CPlanMerge::merge(
            base.get(), m_document.plan(), *theirs,
            theirsLater ? CPlanMerge::Side::Theirs : CPlanMerge::Side::Ours, merged);
        report.decisions = result.decisions;
    } catch (const std::exception& refusal) {
        report.problems.push_back(source + ": " + refusal.what());
        return report;
    }
    m_document.takePlan(merged, true);
    m_mergedIn.push_back(hash);
    if (source == m_path) {
        m_seen = hash;
        m_stamp = stampOf(m_path);
    }
    report.what = Report::What::Merged;
    report.sources.push_back(source);
    return report;
}

bool CPlanSync::mayStoreNow() {
    if (!fileChanged())
        return true;
    CFileBytes bytes;
    return !bytes.read(m_path) || !waitsForLineage(CContentHash::of(bytes.view()));
}

bool CPlanSync::waitsForLineage(const std::string& hash) {
    if (m_seen.empty() || versions().commonBase(m_seen, hash))
        return false;
    const auto [first, added] = m_baseless.emplace(hash, now());
    return now() - first->second < m_lineageGrace;
}

// When a computer stored the version; without a record, when the file was written.
std::int64_t CPlanSync::storedAt(const std::string& hash, const std::string& path) {
    if (const std::optional<std::int64_t> at = versions().storedAt(hash))
        return *at;
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    if (error)
        return 0;
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::file_clock::to_sys(written).time_since_epoch())
        .count();
}
