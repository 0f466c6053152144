#pragma once

#include "model/CFileLock.h"
#include "model/CPlanCsv.h"
#include "model/CQLData.h"
#include "model/CRowTypeInfo.h"

#include <functional>
#include <string>
#include <string_view>

class CAppCore;
class CContentHash;
class CFileBytes;
class CPlanSync;

// The document: the plan, its data file and the three row maps of the panes. Load checks the
// file thoroughly and keeps a ".bak" of the last file that loaded; save replaces the file
// atomically. While the document holds a data file no other process can load it.
// The document is the one owner of the plan's path: whoever shows it or keeps files beside it
// follows its changes through the path listener.
class CHrplDoc {
public:
    enum class LoadResult {
        Loaded,             // the file's plan, checked
        NotFound,           // no file: the empty plan; in a folder that exists the file is made
                            // and the user told, as for an empty file
        Damaged,            // not a plan file: the empty plan, after the message
        TreeInconsistent,   // the empty plan, after the message; the file still became the .bak
        LedgerInconsistent, // the empty plan, after the message
        Unreadable,         // in-memory loads only: the path cannot be read
        Locked,             // another process holds the file: the caller must end
        NoMemory,           // the plan is unchanged
    };

    static constexpr const char* kNoMemoryTemp = "It's not enough memory to load Q&L data";
    static constexpr const char* kLockedPrefix = "flFlNm: ";
    static constexpr const char* kLocked =
        "The QLN data file cannot be opened because another QLN program has not released it "
        "yet.  Close other running QLN(s), or if you  just have closed it, wait several seconds "
        "and try once more.";
    static constexpr const char* kCannotHold =
        "The QLN data file cannot be opened, because the lock file that keeps other programs "
        "away from it cannot be made beside it: ";
    static constexpr const char* kWritableFolder =
        ". Open it in a folder this program may write to, or make its folder writable.";
    static constexpr const char* kDamaged =
        "The Q&L data file is either damaged or absent. New empty one will be made. ";
    static constexpr const char* kInconsistent =
        "The data in file to load are inconsistent. New empty data set will be made.";
    static constexpr const char* kKeptAs = "The file as it was is kept as ";
    static constexpr const char* kNotKept = "The file could not be kept as a copy (";
    static constexpr const char* kLeftAsItIs =
        ", so it is left as it is and nothing is stored over it. Store the new plan elsewhere "
        "with menu \"File/Save As\".";
    static constexpr const char* kKeptUnreplaced =
        "The plan is not stored over a file that did not load and could not be kept: ";
    static constexpr const char* kStoreElsewhere =
        ". Store it elsewhere with menu \"File/Save As\".";
    static constexpr const char* kBackupRefused =
        "The open plan is unchanged: this backup file cannot be opened: ";
    static constexpr const char* kCannotStore =
        "Cannot open file to store. Try to change the file name with menu \"File/Save As\"";
    static constexpr const char* kNotStored =
        "The plan was not stored, because loading it again would fail: ";
    static constexpr const char* kNoArchive =
        "The hours of weeks the plan no longer keeps could not be added to ";
    static constexpr const char* kNotStoredWithout =
        ", so the plan was not stored: its file still holds them.";
    static constexpr const char* kSampleLoaded =
        "If you would like to modify the sample, save it to the directory other than "
        "\"samples\" with menu \"File/Save As\" just after the load.  Otherwise your "
        "modifications may be lost.";
    static constexpr const char* kTemporaryFile =
        "Warning! You are using temporal file. To avoid the loss of data rename it with item "
        "Save As from menu File!";

    explicit CHrplDoc(CAppCore& app);
    CHrplDoc(const CHrplDoc&) = delete;
    CHrplDoc& operator=(const CHrplDoc&) = delete;

    CQLData& plan() { return m_plan; }
    const CQLData& plan() const { return m_plan; }

    // The program's load: a ".tmb" copy, the hold on the file, the checks, the ".bak".
    LoadResult load(const std::string& path);
    // The same checks on a file read without holding it and without writing anything.
    LoadResult loadInMemory(const std::string& path);
    // The checks on bytes already read, as a load does them after reading the file.
    LoadResult loadBytes(const std::string& bytes);
    // Opens a backup to carry on as the plan it backs up: the plan's own file is held, since
    // the next save goes there, and the backup is only read. A backup that does not load, or
    // a plan file another process holds, leaves the document as it was, after the message.
    LoadResult loadBackup(const std::string& backup, const std::string& planPath);
    // Takes the hold on a file without loading it (for tools that change a file in place).
    bool holdFile(const std::string& path);
    // Whether a path lies in the installation's samples folder, where nothing is stored.
    bool isInSamples(const std::string& path) const;
    // Says why the last hold was refused, as a load does.
    void reportRefusedHold(const std::string& path) const;

    // Adds CSV rows to the plan (see CPlanCsv::read). All or nothing: when memory runs out
    // half way, the plan is put back as it was.
    CPlanCsv::ImportResult importCsv(std::string_view text, bool skipBad,
                                     const CPlanCsv::Progress& progress = {});

    bool save(const std::string& path);
    // The same without a message: why the plan was not stored, "" when it was.
    std::string store(const std::string& path);
    // The plan stored to its own file.
    bool save() { return save(std::string{m_planPath}); }
    std::string store() { return store(std::string{m_planPath}); }
    bool saveAndRelease(const std::string& path);
    // The plan written to a file of its own, without holding it (an emergency copy); the
    // hash of the bytes written goes to hash.
    bool writeCopy(const std::string& path, CContentHash* hash = nullptr) const;
    // The same into a file that must not exist yet (see CAtomicFile::writeNew).
    bool writeNewCopy(const std::string& path) const;
    void resetPlan();
    void closeFile() { m_lock.release(); }
    // The hold follows the plan's file and lock file when a sync engine replaced them.
    bool keepHold() { return m_lock.refresh(); }
    bool isFileOpen() const { return m_lock.isHeld(); }
    // The plan's file, as it was named (a link stays the user's name): the file last held, or
    // the one chosen before any was; after loading a sample, the working copy. It stays when
    // the file is let go, as the name the plan goes back to.
    const std::string& planPath() const { return m_planPath; }
    // The file a start works on before it loads anything.
    void choosePlanPath(const std::string& path);
    // Keeps the plan in step with its file as other computers change it: told of each load
    // and store, asked before each store (null: the file is this program's alone).
    void setSync(CPlanSync* sync) { m_sync = sync; }
    CPlanSync* sync() const { return m_sync; }
    // Takes the plan in place of the open one: a version from the file (changed: false), or a
    // merge (true). Either way the undo history ends here: no undo crosses into a plan the
    // merge never had.
    void takePlan(CQLData& plan, bool changed);
    // Hands the plan over, leaving this document empty.
    void givePlan(CQLData& into);
    // The next load leaves the backup of the file and the version kept for merging to
    // finishLoad, so that a start shows the plan sooner. Every later load and store, and the
    // follower's first look, finish it first.
    void deferLoadTail() { m_deferLoadTail = true; }
    void finishLoad();
    // Messages of loads are kept back instead of shown (a reader of bytes for someone else).
    void holdMessages() { m_holdMessage = true; }
    // Told each time the plan's path changes.
    void setPathListener(std::function<void()> listener) { m_pathListener = std::move(listener); }

    // Copies the file to the same name with another extension; false without an extension.
    static bool makeSiblingCopy(const std::string& path, const std::string& extension);

    RowMap inputRows;
    RowMap activityRows;
    RowMap divisionRows;

private:
    LoadResult readIntoPlan(std::string_view bytes);
    LoadResult checkTree();
    void adopt(CQLData& loaded);
    CFileLock::Result hold(const std::string& path);
    void resetWithMessage(const char* message);
    static std::string keepRefusedFile(const std::string& path, std::string_view bytes,
                                       std::string& why);
    LoadResult loadSample(const std::string& path);
    void afterLoad(const std::string& path);
    void warnIfTemporary(const std::string& path);
    std::string keepOlderHours();
    void backUp(const std::string& real, const CFileBytes& bytes);

    CAppCore& m_app;
    CQLData m_plan;
    CFileLock m_lock;
    std::string m_planPath;
    std::function<void()> m_pathListener;
    // The archive of older hours that belongs with the plan as it was loaded or last stored.
    std::string m_archiveFrom;
    CPlanSync* m_sync = nullptr;
    bool m_loadedData = false;
    // While the program's load reads a file, its refusal waits to say where the file is kept.
    bool m_holdMessage = false;
    std::string m_heldMessage;
    std::string m_holdError; // why the last hold failed
    // A file that did not load and whose bytes could not be kept elsewhere: never stored over.
    std::string m_keepUnreplaced;
    CFileLock::Result m_holdRefusal = CFileLock::Result::Held;
    bool m_deferLoadTail = false;
    std::function<void()> m_loadTail;
};
