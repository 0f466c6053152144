#pragma once

#include "model/CPlanMerge.h"
#include "model/CPlanVersions.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CHrplDoc;
class CQLData;

// Keeps an open plan and its file in step while other computers change the file through a
// sync engine. A store never replaces a version of the file the plan has not taken in; a new
// version is taken in as it comes (reloaded when the plan has no changes of its own, merged
// into them when it has), and so are the conflict copies a sync engine leaves beside the plan.
// The base of every merge is the last version both sides had in common (CPlanVersions). What
// the window shows of it, and when it looks, are the window's.
class CPlanSync {
public:
    // A version that has no version in common with the plan may have come ahead of its
    // lineage file, which a sync engine brings on its own: it is taken in once the lineage
    // names its base, or after this long as a plan that never met this one.
    static constexpr std::int64_t kLineageGraceSeconds = 10;
    // A version of ours replaced by the next store sooner than this is not kept.
    static constexpr std::int64_t kSettleSeconds = 10;

    struct Report {
        enum class What { Nothing, Reloaded, Merged };
        What what = What::Nothing;
        std::vector<std::string> sources; // the files taken in
        std::vector<CPlanMerge::Decision> decisions;
        std::vector<std::string> problems; // files that could not be taken in, and why
        // Conflict copies merged into the plan: they go once the plan is stored.
        std::vector<std::string> mergedCopies;
        bool conflicted() const;
        void add(Report other);
    };

    explicit CPlanSync(CHrplDoc& document, std::string home = CPlanVersions::defaultHome());
    ~CPlanSync();
    CPlanSync(const CPlanSync&) = delete;
    CPlanSync& operator=(const CPlanSync&) = delete;

    // What a file looked like when last seen: it changed when any of this did.
    struct Stamp {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modified = 0;
        bool exists = false;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const std::string& path);

    // The document's load read these bytes from the plan's file, which then looked as stamp
    // says (by default, as it looks now).
    void loaded(const std::string& path, std::string_view bytes);
    void loaded(const std::string& path, std::string_view bytes, const Stamp& stamp);
    // The document is about to replace the file at path: a version of it the plan has not taken
    // in is merged into the plan first.
    Report beforeStore(const std::string& path);
    // What the stores merged in since the last call: a store is made in passing, and the
    // window says what it took in afterwards.
    Report takeStoreReport();
    // Whether a store may go now: not while the file holds a version that waits for its
    // lineage (a store then would merge it without its base). A store that must go (the
    // user's own, or the last) goes all the same.
    bool mayStoreNow();
    // The document wrote the version with this hash to path.
    void stored(const std::string& path, const std::string& hash);

    // Whether the plan's file holds a version the plan has not taken in.
    bool fileChanged();
    // Takes a new version of the plan's file in.
    Report takeIn();
    // Merges the plan's conflict copies into it. The copies stay until clearCopies, which the
    // caller calls once the merged plan is stored.
    Report mergeConflictCopies();
    // Moves merged conflict copies out of the shared folder, their bytes kept in this
    // computer's own folder; false when one could not be moved.
    bool clearCopies(const std::vector<std::string>& copies);
    // The folder where merged conflict copies are kept.
    std::string mergedFolder() const { return m_home + "/merged"; }

    const std::string& home() const { return m_home; }
    void setLineageGrace(std::int64_t seconds) { m_lineageGrace = seconds; }

private:
    void takeInArchiveCopies(Report& report);
    CPlanVersions& versions();
    // The bytes as a plan, checked as a load checks it; null with the reason when they are not.
    std::unique_ptr<CQLData> planOf(std::string_view bytes, std::string& why);
    // theirs: the bytes as a plan, when read already.
    Report mergeIn(const std::string& source, std::string_view bytes,
                   std::unique_ptr<CQLData> theirs, bool theirsLater);
    std::int64_t storedAt(const std::string& hash, const std::string& path);
    bool waitsForLineage(const std::string& hash);

    CHrplDoc& m_document;
    std::string m_home;
    std::string m_path;                        // the plan's file the rest speaks of
    std::unique_ptr<CPlanVersions> m_versions; // of m_path
    std::string m_origin;                      // the version the plan was loaded or stored as
    bool m_originStoredHere = false;
    std::int64_t m_originAt = 0;
    std::string m_seen;                  // the version of the file taken in last
    std::vector<std::string> m_mergedIn; // versions merged in since the origin
    Stamp m_stamp;
    Report m_storeReport;
    std::int64_t m_lineageGrace = kLineageGraceSeconds;
    std::map<std::string, std::int64_t> m_baseless; // versions with no base yet: first seen
};
