#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What this computer knows of the versions of one plan kept in a folder that other computers
// share through a sync engine. The bytes of each version it loaded or stored lately are kept
// outside the shared folder, under this computer's own folder; the lineage of the versions each
// computer stored (a version, the versions it was made from, and when) is kept in a small file
// per computer beside the plan, which only that computer writes, so that it travels with the
// plan and never conflicts. With both, the version two sides last had in common is found.
class CPlanVersions {
public:
    // How long this computer keeps the bytes of a version.
    static constexpr int kKeptWeeks = 8;
    // And at most this many versions, the newest.
    static constexpr std::size_t kMostVersions = 300;
    // How many of its own stores a computer's lineage file lists.
    static constexpr std::size_t kKeptRecords = 2000;
    static constexpr const char* kLineageInfix = ".lineage-";

    struct Record {
        std::string hash;
        std::vector<std::string> parents;
        std::int64_t storedAt = 0; // seconds since the epoch
    };

    // plan: the plan's final path. home: this computer's folder for the program's own files
    // ($XDG_DATA_HOME/Quillon).
    CPlanVersions(std::string plan, std::string home);

    // The folder of this computer's own files: $XDG_DATA_HOME/Quillon, or ~/.local/share/Quillon.
    static std::string defaultHome();
    // This computer's name among the computers that share a plan: made once, kept in home.
    static std::string computerId(const std::string& home);

    // Keeps the bytes of a version (once); returns the version's hash.
    std::string keep(std::string_view bytes);
    // The same for a version already in a file; false when it could not be copied.
    bool keepFile(const std::string& path, const std::string& hash);
    std::optional<std::string> bytesOf(const std::string& hash) const;
    // Drops a version's bytes; its lineage stays.
    void forget(const std::string& hash);
    bool holds(const std::string& hash) const;

    // Notes in this computer's lineage file that it stored the version, made from the parents.
    bool recordStore(const std::string& hash, const std::vector<std::string>& parents,
                     std::int64_t storedAt);
    // Every computer's records found beside the plan.
    std::vector<Record> lineage() const;
    // The latest version that both versions descend from (or are) and that this computer holds;
    // none when they have none in common.
    std::optional<std::string> commonBase(const std::string& a, const std::string& b) const;
    // When a computer stored the version, as its lineage says.
    std::optional<std::int64_t> storedAt(const std::string& hash) const;
    // Drops the bytes of versions older than kKeptWeeks and beyond the newest kMostVersions,
    // keeping the newest few however old.
    void prune(std::int64_t now);

    const std::string& folder() const { return m_folder; }
    std::string lineagePath() const;
    // Whether a file name beside a plan is one of its lineage files.
    static bool isLineageFile(const std::string& plan, const std::string& path);

private:
    std::string versionPath(const std::string& hash) const;
    static std::vector<Record> read(const std::string& path);

    std::string m_plan;
    std::string m_home;
    std::string m_folder;
    std::string m_computer;
};
