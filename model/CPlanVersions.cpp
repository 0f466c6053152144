#include "model/CPlanVersions.h"

#include "model/CAtomicFile.h"
#include "model/CContentHash.h"
#include "model/CFileBytes.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kLineageHeader = "quillon-lineage 1";
// Far above kKeptRecords lines of three hashes and a time.
constexpr std::size_t kMostLineageBytes = std::size_t{4} << 20;
// The newest versions stay, however old: a plan left alone for months still has its base.
constexpr std::size_t kAlwaysKept = 5;

bool isHash(const std::string& text) {
    return text.size() == 16 &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(c) != 0; });
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream{text};
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

// The hash and every version it was made from, as far as the records reach.
std::set<std::string> ancestry(const std::string& start,
                               const std::map<std::string, std::set<std::string>>& parents) {
    std::set<std::string> seen{start};
    std::vector<std::string> open{start};
    while (!open.empty()) {
        const std::string hash = open.back();
        open.pop_back();
        const auto it = parents.find(hash);
        if (it == parents.end())
            continue;
        for (const std::string& parent : it->second)
            if (seen.insert(parent).second)
                open.push_back(parent);
    }
    return seen;
}

} // namespace

CPlanVersions::CPlanVersions(std::string plan, std::string home)
    : m_plan(std::move(plan)), m_home(std::move(home)),
      m_folder(m_home + "/versions/" + CContentHash::of(m_plan)), m_computer(computerId(m_home)) {}

std::string CPlanVersions::defaultHome() {
    // The XDG rule: a relative or empty value is ignored.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string{data} + "/Quillon";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string{home} + "/.local/share/Quillon";
    return (fs::temp_directory_path() / "Quillon").string();
}

std::string CPlanVersions::computerId(const std::string& home) {
    const std::string path = home + "/computer";
    std::string kept;
    CFileBytes bytes{64};
    if (bytes.read(path)) {
        kept = std::string{bytes.view()};
        kept.erase(std::remove_if(kept.begin(), kept.end(), ::isspace), kept.end());
        if (isHash(kept))
            return kept;
    }
    std::random_device device;
    CContentHash hash;
    for (int i = 0; i < 8; ++i)
        hash.add(std::to_string(device()));
    const std::string made = hash.text();
    std::error_code ignored;
    fs::create_directories(home, ignored);
    // Two programs starting at once: the first name written is the computer's.
    if (CAtomicFile::writeNew(
            path, [&made](const CAtomicFile::Append& append) { return append(made + "\n"); }))
        return made;
    if (bytes.read(path)) {
        kept = std::string{bytes.view()};
        kept.erase(std::remove_if(kept.begin(), kept.end(), ::isspace), kept.end());
        if (isHash(kept))
            return kept;
    }
    return made;
}

std::string CPlanVersions::versionPath(const std::string& hash) const {
    return m_folder + "/" + hash + ".qln";
}

std::string CPlanVersions::lineagePath() const {
    return m_plan + kLineageInfix + m_computer;
}

bool CPlanVersions::isLineageFile(const std::string& plan, const std::string& path) {
    const std::string prefix = fs::path(plan).filename().string() + kLineageInfix;
    return fs::path(path).filename().string().rfind(prefix, 0) == 0;
}

bool CPlanVersions::holds(const std::string& hash) const {
    std::error_code error;
    return isHash(hash) && fs::is_regular_file(versionPath(hash), error);
}

std::string CPlanVersions::keep(std::string_view bytes) {
    const std::string hash = CContentHash::of(bytes);
    std::error_code error;
    if (holds(hash)) {
        fs::last_write_time(versionPath(hash), fs::file_time_type::clock::now(), error);
        return hash;
    }
    fs::create_directories(m_folder, error);
    CAtomicFile::writeHere(versionPath(hash), bytes);
    return hash;
}

bool CPlanVersions::keepFile(const std::string& path, const std::string& hash) {
    std::error_code error;
    if (holds(hash)) {
        fs::last_write_time(versionPath(hash), fs::file_time_type::clock::now(), error);
        return true;
    }
    CFileBytes bytes;
    if (!bytes.read(path))
        return false;
    fs::create_directories(m_folder, error);
    return CAtomicFile::writeHere(versionPath(hash), bytes.view());
}

void CPlanVersions::forget(const std::string& hash) {
    std::error_code error;
    if (isHash(hash))
        fs::remove(versionPath(hash), error);
}

std::optional<std::string> CPlanVersions::bytesOf(const std::string& hash) const {
    CFileBytes bytes;
    if (!holds(hash) || !bytes.read(versionPath(hash)))
        return std::nullopt;
    return std::string{bytes.view()};
}

std::vector<CPlanVersions::Record> CPlanVersions::read(const std::string& path) {
    std::vector<Record> records;
    CFileBytes bytes{kMostLineageBytes};
    if (!bytes.read(path))
        return records;
    const std::vector<std::string> lines = split(std::string{bytes.view()}, '\n');
    if (lines.empty() || lines.front() != kLineageHeader)
        return records;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = split(lines[i], ' ');
        if (fields.size() != 3 || !isHash(fields[0]))
            continue; // a line cut short, or not ours: the others still count
        Record record;
        record.hash = fields[0];
        char* end = nullptr;
        record.storedAt = std::strtoll(fields[1].c_str(), &end, 10);
        if (fields[2] != "-")
            for (const std::string& parent : split(fields[2], ','))
                if (isHash(parent))
                    record.parents.push_back(parent);
        records.push_back(std::move(record));
    }
    return records;
}

bool CPlanVersions::recordStore(const std::string& hash, const std::vector<std::string>& parents,
                                std::int64_t storedAt) {
    std::vector<Record> records = read(lineagePath());
    records.push_back({hash, parents, storedAt});
    if (records.size() > kKeptRecords)
        records.erase(records.begin(), records.end() - kKeptRecords);
    std::string text = std::string{kLineageHeader} + "\n";
    for (const Record& record : records) {
        std::string joined;
        for (const std::string& parent : record.parents)
            joined += (joined.empty() ? "" : ",") + parent;
        text += record.hash + " " + std::to_string(record.storedAt) + " " +
                (joined.empty() ? "-" : joined) + "\n";
    }
    return CAtomicFile::writeHere(lineagePath(), text);
}

std::vector<CPlanVersions::Record> CPlanVersions::lineage() const {
    std::vector<Record> records;
    const fs::path folder = fs::path(m_plan).parent_path();
    std::error_code error;
    for (fs::directory_iterator it{folder, error}, end; !error && it != end; it.increment(error))
        if (isLineageFile(m_plan, it->path().string())) {
            std::vector<Record> found = read(it->path().string());
            records.insert(records.end(), found.begin(), found.end());
        }
    return records;
}

std::optional<std::int64_t> CPlanVersions::storedAt(const std::string& hash) const {
    std::optional<std::int64_t> at;
    for (const Record& record : lineage())
        if (record.hash == hash)
            at = std::max(at.value_or(record.storedAt), record.storedAt);
    return at;
}

// Of the versions both descend from and this computer holds, the ones no other of them
// descends from; of those, the one stored last.
std::optional<std::string> CPlanVersions::commonBase(const std::string& a,
                                                     const std::string& b) const {
    std::map<std::string, std::set<std::string>> parents;
    std::map<std::string, std::int64_t> times;
    for (const Record& record : lineage()) {
        parents[record.hash].insert(record.parents.begin(), record.parents.end());
        times[record.hash] = std::max(times[record.hash], record.storedAt);
    }
    const std::set<std::string> ofA = ancestry(a, parents);
    const std::set<std::string> ofB = ancestry(b, parents);
    std::set<std::string> candidates;
    for (const std::string& hash : ofA)
        if (ofB.count(hash) && holds(hash))
            candidates.insert(hash);
    std::set<std::string> older;
    for (const std::string& hash : candidates)
        for (const std::string& ancestor : ancestry(hash, parents))
            if (ancestor != hash)
                older.insert(ancestor);
    std::optional<std::string> best;
    for (const std::string& hash : candidates)
        if (!older.count(hash) &&
            (!best || std::make_pair(times[hash], hash) > std::make_pair(times[*best], *best)))
            best = hash;
    return best;
}

void CPlanVersions::prune(std::int64_t now) {
    std::vector<std::pair<std::int64_t, fs::path>> files;
    std::error_code error;
    for (fs::directory_iterator it{m_folder, error}, end; !error && it != end;
         it.increment(error)) {
        const auto written = std::chrono::file_clock::to_sys(it->last_write_time(error));
        files.emplace_back(
            std::chrono::duration_cast<std::chrono::seconds>(written.time_since_epoch()).count(),
            it->path());
    }
    std::sort(files.begin(), files.end(), std::greater<>());
    const std::int64_t limit = now - std::int64_t{kKeptWeeks} * 7 * 24 * 3600;
    for (std::size_t i = kAlwaysKept; i < files.size(); ++i)
        if (files[i].first < limit || i >= kMostVersions)
            fs::remove(files[i].second, error);
}
