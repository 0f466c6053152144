#include "model/CHrplDoc.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CArchiveReader.h"
#include "model/CAtomicFile.h"
#include "model/CContentHash.h"
#include "model/CFileBytes.h"
#include "model/CHeapReserve.h"
#include "model/CHoursArchive.h"
#include "model/CHoursLedger.h"
#include "model/CPlanChange.h"
#include "model/CPlanCheck.h"
#include "model/CPlanFile.h"
#include "model/CPlanSync.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>
#include <new>
#include <set>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

void removeQuietly(const std::string& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

std::string siblingPath(const std::string& path, const std::string& extension) {
    return fs::path(path).replace_extension(extension).string();
}

// The file's bytes for a load; false when there is no such file (a plan never saved). A file
// that cannot be read gives no bytes, which the load takes as damage.
bool readForLoad(const std::string& path, CFileBytes& bytes) {
    // The bytes, and the plan read from them: about twice the file's size in small pieces.
    std::error_code sizeError;
    const std::uintmax_t size = fs::file_size(path, sizeError);
    if (!sizeError)
        CHeapReserve::forBytes(
            static_cast<std::size_t>(std::min<std::uintmax_t>(size, SIZE_MAX / 4)) * 3);
    if (bytes.read(path))
        return true;
    std::error_code error;
    return fs::exists(path, error) || error;
}

} // namespace

CHrplDoc::CHrplDoc(CAppCore& app) : m_app(app), m_plan(app) {
    m_plan.ensureRoot();
}

void CHrplDoc::resetPlan() {
    m_plan.clear();
    m_plan.ensureRoot();
}

void CHrplDoc::resetWithMessage(const char* message) {
    resetPlan();
    if (m_holdMessage)
        m_heldMessage = message;
    else
        m_app.messages().message(message);
}

// The bytes of a file that did not load are the user's: they go, unchanged, to a name that
// no save and no backup rotation ever writes to.
std::string CHrplDoc::keepRefusedFile(const std::string& path, std::string_view bytes,
                                      std::string& why) {
    if (bytes.empty())
        return {}; // nothing was read: nothing to keep
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string kept = path + ".damaged-" + stamp;
    std::error_code error;
    for (int n = 2; fs::exists(kept, error) && n < 100; ++n)
        kept = path + ".damaged-" + stamp + "-" + std::to_string(n);
    if (!fs::exists(kept, error) && CAtomicFile::write(kept, bytes))
        return kept;
    why = CAtomicFile::lastError().empty() ? "no free name" : CAtomicFile::lastError();
    return {};
}

// Whole or not at all: a copy that fails half way (a full disk) never stands in for a good one.
bool CHrplDoc::makeSiblingCopy(const std::string& path, const std::string& extension) {
    if (!fs::path(path).has_extension())
        return false;
    CFileBytes bytes;
    return bytes.read(path) && CAtomicFile::write(siblingPath(path, extension), bytes.view());
}

void CHrplDoc::choosePlanPath(const std::string& path) {
    if (path == m_planPath)
        return;
    m_planPath = path;
    if (m_pathListener)
        m_pathListener();
}

// The hold, the backups and the replacement all go to the file a link names.
CFileLock::Result CHrplDoc::hold(const std::string& path) {
    const std::string real = CAtomicFile::finalPath(path);
    if (m_lock.isHeld() && m_lock.path() == real) {
        choosePlanPath(path);
        return CFileLock::Result::Held;
    }
    // The file held so far stays held until the new one is.
    CFileLock fresh;
    const CFileLock::Result result = fresh.acquire(real);
    if (result != CFileLock::Result::Held) {
        m_holdError = fresh.error();
        m_holdRefusal = result;
        return result;
    }
    m_lock.swap(fresh);
    choosePlanPath(path);
    // Saves killed half way left their temporary files; whoever holds the plan clears them.
    CAtomicFile::removeLeftovers(real);
    return result;
}

bool CHrplDoc::holdFile(const std::string& path) {
    return hold(path) == CFileLock::Result::Held;
}

void CHrplDoc::reportRefusedHold(const std::string& path) const {
    m_app.messages().message(kLockedPrefix + path);
    // Not another program's hold: the refusal names the cause the system gave.
    m_app.messages().message(m_holdRefusal == CFileLock::Result::HeldByOther
                                 ? std::string(kLocked)
                                 : kCannotHold + m_holdError + kWritableFolder);
}

CHrplDoc::LoadResult CHrplDoc::loadBackup(const std::string& backup, const std::string& planPath) {
    finishLoad();
    const auto refuse = [&](const std::string& why) {
        m_app.messages().message(kBackupRefused + backup + "\n" + why);
    };
    CFileBytes bytes;
    if (!bytes.read(backup)) {
        refuse(bytes.error());
        return LoadResult::Unreadable;
    }
    CHrplDoc trial{m_app};
    trial.m_holdMessage = true; // its "new empty plan" is not what happens here
    const LoadResult result = trial.readIntoPlan(bytes.view());
    if (result != LoadResult::Loaded) {
        refuse(result == LoadResult::NoMemory  ? kNoMemoryTemp
               : result == LoadResult::Damaged ? "It is damaged."
                                               : "Its data are inconsistent.");
        return result;
    }
    if (hold(planPath) != CFileLock::Result::Held) {
        reportRefusedHold(planPath);
        return LoadResult::Locked;
    }
    m_loadedData = true;
    adopt(trial.m_plan);
    return result;
}

CHrplDoc::LoadResult CHrplDoc::load(const std::string& path) {
    finishLoad();
    const bool deferTail = std::exchange(m_deferLoadTail, false); // this load's alone
    m_loadedData = true;
    m_archiveFrom.clear(); // a sample or an empty plan brings no archive along
    if (isInSamples(path))
        return loadSample(path);
    // The hold comes before the ".tmb" copy, so a refused second process never touches the
    // copy that the holder may be using.
    const CFileLock::Result held = hold(path);
    if (held == CFileLock::Result::DirectoryMissing) {
        resetPlan();
        choosePlanPath(path); // the name the empty plan goes to once its folder is there
        return LoadResult::NotFound;
    }
    if (held != CFileLock::Result::Held) {
        reportRefusedHold(path);
        return LoadResult::Locked;
    }
    const std::string& real = m_lock.path();
    m_archiveFrom = CHoursArchive::pathFor(real);
    const std::string tmb = siblingPath(real, ".tmb");
    m_keepUnreplaced.clear();
    CFileBytes bytes;
    if (!readForLoad(real, bytes)) {
        // No file yet in an existing folder (the first start): it is made at once, empty, and
        // the user is told that an empty plan begins.
        CAtomicFile::writeHere(real, "");
        removeQuietly(tmb);
        resetWithMessage(kDamaged);
        return LoadResult::NotFound;
    }
    const CPlanSync::Stamp stamp = CPlanSync::stampOf(real);
    m_holdMessage = true;
    const LoadResult result = readIntoPlan(bytes.view());
    m_holdMessage = false;
    if (!m_heldMessage.empty()) {
        std::string why;
        const std::string kept = keepRefusedFile(real, bytes.view(), why);
        // Bytes that could not be kept are not replaced either: the file stays as it is.
        if (kept.empty() && !bytes.view().empty())
            m_keepUnreplaced = real;
        m_app.messages().message(!kept.empty() ? m_heldMessage + "\n" + kKeptAs + kept
                                 : m_keepUnreplaced.empty()
                                     ? m_heldMessage
                                     : m_heldMessage + "\n" + kNotKept + why + ")" + kLeftAsItIs);
        m_heldMessage.clear();
    }
    if (result == LoadResult::NoMemory)
        return result;
    if (result == LoadResult::Damaged || result == LoadResult::LedgerInconsistent) {
        removeQuietly(tmb); // an earlier load's, never this file's backup
        return result;
    }
    // The backup and the version kept for merging wait, when the program asked, until its
    // window shows the plan; they are the bytes read here, whatever the file holds by then.
    auto read = std::make_shared<CFileBytes>(std::move(bytes));
    const bool synced = m_sync && result == LoadResult::Loaded;
    m_loadTail = [this, read, real, stamp, synced] {
        backUp(real, *read);
        if (synced && m_sync)
            m_sync->loaded(real, read->view(), stamp);
    };
    if (!deferTail)
        finishLoad();
    afterLoad(path);
    return result;
}

void CHrplDoc::finishLoad() {
    if (const std::function<void()> tail = std::exchange(m_loadTail, {}))
        tail();
}

// The bytes a load read become the ".bak" through a ".tmb" and a rename, whole or not at all: a
// full disk never leaves a short copy to become the backup, and without a whole ".tmb" the
// backup there is kept.
void CHrplDoc::backUp(const std::string& real, const CFileBytes& bytes) {
    const std::string tmb = siblingPath(real, ".tmb");
    if (!bytes.error().empty() || !CAtomicFile::writeHere(tmb, bytes.view())) {
        removeQuietly(tmb);
        return;
    }
    std::error_code renamed;
    fs::rename(tmb, siblingPath(real, ".bak"), renamed);
    if (renamed) {
        makeSiblingCopy(tmb, ".bak");
        removeQuietly(tmb);
    }
}

CHrplDoc::LoadResult CHrplDoc::loadInMemory(const std::string& path) {
    finishLoad();
    m_loadedData = true;
    m_archiveFrom.clear();
    std::error_code error;
    if (!fs::exists(path, error)) {
        resetPlan();
        return LoadResult::NotFound;
    }
    CFileBytes bytes;
    if (!bytes.read(path))
        return LoadResult::Unreadable;
    m_archiveFrom = CHoursArchive::pathFor(CAtomicFile::finalPath(path));
    const LoadResult result = readIntoPlan(bytes.view());
    warnIfTemporary(path);
    return result;
}

CHrplDoc::LoadResult CHrplDoc::loadBytes(const std::string& bytes) {
    finishLoad();
    m_loadedData = true;
    return readIntoPlan(bytes);
}

CHrplDoc::LoadResult CHrplDoc::readIntoPlan(std::string_view bytes) {
    try {
        CQLData loaded{m_app};
        try {
            CPlanFile::read(bytes, loaded);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            resetWithMessage(kDamaged);
            return LoadResult::Damaged;
        }
        adopt(loaded);
    } catch (const std::bad_alloc&) {
        m_app.messages().message(kNoMemoryTemp);
        return LoadResult::NoMemory;
    }
    // The normalisation walks the tree, so a tree that would make a walk loop goes first.
    if (!CPlanCheck::treeIsWellFormed(m_plan)) {
        resetWithMessage(kInconsistent);
        return LoadResult::TreeInconsistent;
    }
    CHoursLedger{m_plan}.normaliseAfterLoad();
    LoadResult result = checkTree();
    if (!CPlanCheck::ledgerConsistent(m_plan)) {
        resetWithMessage(kInconsistent);
        return LoadResult::LedgerInconsistent;
    }
    return result;
}

void CHrplDoc::adopt(CQLData& loaded) {
    m_plan.takeContent(loaded);
}

CHrplDoc::LoadResult CHrplDoc::checkTree() {
    if (!CPlanCheck::detachedUnlisted(m_plan)) { // walked already, before the normalisation
        resetWithMessage(kInconsistent);
        return LoadResult::TreeInconsistent;
    }
    m_plan.purgeDetachedWithoutHours();
    return LoadResult::Loaded;
}

// Links resolved, letter case ignored: the samples folder and anything inside it, however the
// user spelled it.
bool CHrplDoc::isInSamples(const std::string& path) const {
    if (m_app.config().samplesDirName.empty())
        return false;
    std::error_code error;
    const fs::path samples = fs::weakly_canonical(
        fs::path(m_app.installDirectory()) / m_app.config().samplesDirName, error);
    if (error)
        return false;
    const fs::path folder = fs::weakly_canonical(fs::absolute(path).parent_path(), error);
    if (error)
        return false;
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    const std::string inside = lower(folder.string()) + '/';
    return inside.rfind(lower(samples.string()) + '/', 0) == 0;
}

// A sample is only read: no hold, no ".tmb" or ".bak" beside it, since the samples folder
// belongs to the installation and may not even be writable. The plan is worked on in the
// temporary data file from the start.
CHrplDoc::LoadResult CHrplDoc::loadSample(const std::string& path) {
    CFileBytes bytes;
    if (!readForLoad(path, bytes)) {
        resetPlan();
        return LoadResult::NotFound;
    }
    const LoadResult result = readIntoPlan(bytes.view());
    if (result == LoadResult::NoMemory)
        return result;
    // Even a damaged sample's empty plan goes to the temporary file, never over the sample.
    m_lock.release();
    save(m_app.temporaryDataFilePath());
    if (result == LoadResult::Loaded)
        m_app.messages().message(kSampleLoaded);
    return result;
}

void CHrplDoc::afterLoad(const std::string& path) {
    warnIfTemporary(path);
}

void CHrplDoc::warnIfTemporary(const std::string& path) {
    const std::string& tempName = m_app.config().tempDataFileName;
    if (!tempName.empty() && path.find(tempName) != std::string::npos)
        m_app.messages().message(kTemporaryFile);
}

bool CHrplDoc::save(const std::string& path) {
    const std::string problem = store(path);
    if (!problem.empty())
        m_app.messages().message(problem);
    return problem.empty();
}

std::string CHrplDoc::store(const std::string& path) {
    finishLoad(); // the backup of the file as loaded comes before anything replaces it
    if (!m_loadedData)
        return {};
    // A plan its next load would refuse is never stored: the file keeps what loaded last.
    if (const std::string problem = CPlanCheck::problem(m_plan); !problem.empty())
        return kNotStored + problem + ".";
    if (!m_keepUnreplaced.empty() && CAtomicFile::finalPath(path) == m_keepUnreplaced)
        return kKeptUnreplaced + m_keepUnreplaced + kStoreElsewhere;
    if (!holdFile(path))
        return std::string(kCannotStore) + "\n" + m_holdError;
    // A version another computer stored meanwhile is merged in, never replaced unseen.
    if (m_sync)
        m_sync->beforeStore(m_lock.path());
    if (const std::string problem = keepOlderHours(); !problem.empty())
        return problem;
    // Straight to the file: a large plan is never held twice in memory.
    CContentHash hash;
    if (!writeCopy(m_lock.path(), &hash))
        return std::string(kCannotStore) + "\n" + CAtomicFile::lastError();
    m_lock.followReplacement();
    m_plan.history.markStored();
    if (m_sync)
        m_sync->stored(m_lock.path(), hash.text());
    return {};
}

// Before the plan is stored without the weeks its load dropped, their hours go to the
// archive beside its file; a plan stored under another name takes its archive along.
std::string CHrplDoc::keepOlderHours() {
    const std::string archive = CHoursArchive::pathFor(m_lock.path());
    std::string why;
    const bool kept =
        (m_archiveFrom.empty() || m_archiveFrom == archive ||
         CHoursArchive::takeIn(archive, m_archiveFrom, &why)) &&
        (m_plan.leftBehind.empty() || CHoursArchive::append(archive, m_plan.leftBehind, &why));
    if (!kept)
        return kNoArchive + archive + " (" + why + ")" + kNotStoredWithout;
    m_plan.leftBehind.clear();
    m_archiveFrom = archive;
    return {};
}

void CHrplDoc::takePlan(CQLData& plan, bool changed) {
    m_loadedData = true;
    // Hours either plan still owes the archive are owed by the one taken.
    std::vector<CArchivedHours> owed = std::move(m_plan.leftBehind);
    adopt(plan);
    m_plan.leftBehind.insert(m_plan.leftBehind.end(), owed.begin(), owed.end());
    m_plan.ensureRoot();
    if (changed)
        m_plan.history.forgetSteps();
    else
        m_plan.history.clear();
}

void CHrplDoc::givePlan(CQLData& into) {
    into.takeContent(m_plan);
    resetPlan();
}

CPlanCsv::ImportResult CHrplDoc::importCsv(std::string_view text, bool skipBad,
                                           const CPlanCsv::Progress& progress) {
    std::string before;
    try {
        before = CPlanFile::write(m_plan);
        const CPlanChange change = CPlanChange::import(m_plan, "CSV records");
        return CPlanCsv::read(text, m_plan, skipBad, progress);
    } catch (const std::bad_alloc&) {
        // The rows' own memory is free again once the import unwound: the plan as it was
        // fits back in.
        if (!before.empty())
            readIntoPlan(before);
        CPlanCsv::ImportResult result;
        result.noMemory = true;
        return result;
    }
}

bool CHrplDoc::writeCopy(const std::string& path, CContentHash* hash) const {
    return CAtomicFile::write(path, [this, hash](const CAtomicFile::Append& append) {
        return CPlanFile::write(m_plan, [&append, hash](std::string_view piece) {
            if (hash)
                hash->add(piece);
            return append(piece);
        });
    });
}

bool CHrplDoc::writeNewCopy(const std::string& path) const {
    return CAtomicFile::writeNew(path, [this](const CAtomicFile::Append& append) {
        return CPlanFile::write(m_plan, append);
    });
}

bool CHrplDoc::saveAndRelease(const std::string& path) {
    const bool saved = save(path);
    m_lock.release();
    return saved;
}
