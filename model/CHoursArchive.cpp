#include "model/CHoursArchive.h"

#include "core/CMyStringDate.h"
#include "core/QlnDates.h"
#include "core/Tolerance.h"
#include "model/CAtomicFile.h"
#include "model/CConflictCopies.h"
#include "model/CCsvCells.h"
#include "model/CQLData.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace {

using WeekKey = std::pair<std::uint16_t, std::string>; // activity, week

std::map<WeekKey, double> weekSums(const std::vector<CArchivedHours>& rows) {
    std::map<WeekKey, double> sums;
    for (const CArchivedHours& row : rows)
        if (!row.isDeleted())
            sums[{row.id, CHoursArchive::weekOf(row)}] += row.hours;
    return sums;
}

bool readHours(std::string_view text, double& hours) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), hours);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size() &&
           std::isfinite(hours);
}

bool readIdentifier(std::string_view text, std::uint16_t& id) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), id);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

constexpr const char* kKindNames[] = {"day", "week", "deleted"};

// Week totals are sums in double precision: written so that they read back the same.
std::string exactText(double hours) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, hours);
    return std::string(buffer, result.ptr);
}

bool kindOf(std::string_view text, CArchivedHours::Kind& kind) {
    for (int k = 0; k < 3; ++k)
        if (text == kKindNames[k]) {
            kind = static_cast<CArchivedHours::Kind>(k);
            return true;
        }
    return false;
}

// YYYY-MM-DD, as the archive writes dates, or YYYYMMDD.
bool readDate(std::string_view text, std::string& date) {
    if (text.size() == 10 && text[4] == '-' && text[7] == '-')
        date = std::string(text.substr(0, 4)) + std::string(text.substr(5, 2)) +
               std::string(text.substr(8, 2));
    else if (text.size() == 8)
        date = std::string(text);
    else
        return false;
    unsigned digits = 0;
    const auto parsed = std::from_chars(date.data(), date.data() + 8, digits);
    const std::chrono::year_month_day day{std::chrono::year{static_cast<int>(digits / 10000)},
                                          std::chrono::month{digits / 100 % 100},
                                          std::chrono::day{digits % 100}};
    return parsed.ec == std::errc{} && parsed.ptr == date.data() + 8 && day.ok();
}

bool rowOf(const std::array<std::string_view, 5>& f, CArchivedHours& row) {
    if (!readDate(f[0], row.date) || !kindOf(f[3], row.kind))
        return false;
    row.name = f[1];
    return (!row.isWeek() || qlndates::isWeekStart(row.date)) && readHours(f[2], row.hours) &&
           readIdentifier(f[4], row.id);
}

// One record: split at its commas when nothing in it is quoted, else read as CSV.
bool recordOf(std::string_view record, CArchivedHours& row) {
    std::array<std::string_view, 5> fields;
    if (record.find('"') == std::string_view::npos) {
        std::size_t at = 0;
        for (std::size_t f = 0; f < 4; ++f) {
            const std::size_t comma = record.find(',', at);
            if (comma == std::string_view::npos)
                return false;
            fields[f] = record.substr(at, comma - at);
            at = comma + 1;
        }
        fields[4] = record.substr(at);
        return fields[4].find(',') == std::string_view::npos && rowOf(fields, row);
    }
    const std::vector<CCsvCells::Row> rows = CCsvCells::records(record, ',');
    if (rows.size() != 1 || rows[0].fields.size() != 5)
        return false;
    for (std::size_t f = 0; f < 5; ++f)
        fields[f] = rows[0].fields[f];
    return rowOf(fields, row);
}

// The end of the record that starts at `at`: a line break outside quotes.
std::size_t recordEnd(std::string_view text, std::size_t at) {
    const std::size_t lineEnd = std::min(text.find('\n', at), text.size());
    if (text.substr(at, lineEnd - at).find('"') == std::string_view::npos)
        return lineEnd;
    bool quoted = false;
    for (; at < text.size(); ++at) {
        if (text[at] == '"')
            quoted = !quoted;
        else if (text[at] == '\n' && !quoted)
            return at;
    }
    return at;
}

// Day rows of a week come before its total, so that the days, when there are any, are what
// stays of it.
std::vector<CArchivedHours> daysFirst(std::vector<CArchivedHours> rows) {
    std::stable_sort(
        rows.begin(), rows.end(),
        [](const CArchivedHours& a, const CArchivedHours& b) { return a.kind < b.kind; });
    return rows;
}

} // namespace

void CHoursArchive::addWeek(const CQLData& plan, const std::string& week, bool days,
                            std::vector<CArchivedHours>& out) {
    if (days)
        addDays(plan, week, out);
    else
        addTotals(plan, week, out);
}

void CHoursArchive::addDays(const CQLData& plan, const std::string& week,
                            std::vector<CArchivedHours>& out) {
    const auto detailed = plan.detailedWeeks.find(week);
    if (detailed == plan.detailedWeeks.end())
        return;
    for (const auto& [id, set] : detailed->second) {
        const CActivityItem* item = plan.findItem(id);
        for (const auto& [day, hours] : set.dayHours)
            if (item && day >= 1 && day <= 7 && hours.value() != 0)
                out.push_back({qlndates::addDays(week, day - 1),
                               CCsvCells::pathCell(plan.namePath(*item)), hours.value(),
                               CArchivedHours::Kind::Day, id});
    }
}

void CHoursArchive::addTotals(const CQLData& plan, const std::string& week,
                              std::vector<CArchivedHours>& out) {
    const auto averaged = plan.averagedWeeks.find(week);
    if (averaged == plan.averagedWeeks.end())
        return;
    for (const auto& [id, summary] : averaged->second)
        if (const CActivityItem* item = plan.findItem(id); item && summary.weekHours != 0)
            out.push_back({week, CCsvCells::pathCell(plan.namePath(*item)), summary.weekHours,
                           CArchivedHours::Kind::Week, id});
}

std::string CHoursArchive::weekOf(const CArchivedHours& row) {
    return row.isWeek() ? row.date : qlndates::weekStartText(CMyStringDate::parse(row.date));
}

std::string CHoursArchive::text(const std::vector<CArchivedHours>& rows) {
    std::string out = kHeader;
    for (const CArchivedHours& row : rows)
        out += CMyStringDate::isoForm(row.date) + ',' + CCsvCells::quoted(row.name) + ',' +
               exactText(row.hours) + ',' + kKindNames[static_cast<int>(row.kind)] + ',' +
               std::to_string(row.id) + "\r\n";
    return out;
}

std::vector<CArchivedHours> CHoursArchive::parse(std::string_view text, int* unread) {
    std::vector<CArchivedHours> rows;
    rows.reserve(text.size() / 40); // about a row's length
    int bad = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = recordEnd(text, at);
        std::string_view record = text.substr(at, end - at);
        if (!record.empty() && record.back() == '\r')
            record.remove_suffix(1);
        const bool heading = at == 0 && record.substr(0, 5) == "date,";
        at = end + 1;
        if (record.empty() || heading)
            continue;
        // Read in place: a large archive is not moved row by row.
        if (!recordOf(record, rows.emplace_back())) {
            rows.pop_back();
            ++bad;
        }
    }
    if (unread)
        *unread = bad;
    return rows;
}

bool CHoursArchive::read(const std::string& path, std::vector<CArchivedHours>& rows,
                         std::string* error) {
    std::error_code missing;
    if (!std::filesystem::exists(path, missing) && !missing) {
        rows.clear();
        return true;
    }
    std::string bytes;
    if (!CAtomicFile::readAll(path, bytes, error))
        return false;
    rows = parse(bytes);
    return true;
}

bool CHoursArchive::append(const std::string& path, const std::vector<CArchivedHours>& rows,
                           std::string* error) {
    std::vector<CArchivedHours> all;
    if (!read(path, all, error))
        return false;
    const std::size_t before = all.size();
    const std::map<WeekKey, double> archived = weekSums(all);
    std::map<WeekKey, double> added;
    for (const CArchivedHours& row : daysFirst(rows)) {
        if (row.isDeleted()) {
            if (std::find(all.begin(), all.end(), row) == all.end())
                all.push_back(row);
            continue;
        }
        const WeekKey key{row.id, CHoursArchive::weekOf(row)};
        const auto there = archived.find(key);
        const auto batch = added.find(key);
        if (there == archived.end() && (batch == added.end() || !row.isWeek())) {
            all.push_back(row);
            added[key] += row.hours;
            continue;
        }
        // A total after its days: only hours the days do not hold yet are new.
        const double held = (there == archived.end() ? 0.0 : there->second) +
                            (batch == added.end() ? 0.0 : batch->second);
        if (row.isWeek() && std::fabs(row.hours - held) > tolerance::kEqual) {
            CArchivedHours rest = row;
            rest.hours = row.hours - held;
            all.push_back(rest);
            added[key] += rest.hours;
        }
    }
    return all.size() == before || replace(path, all, error);
}

bool CHoursArchive::takeIn(const std::string& path, const std::string& other, std::string* error) {
    std::vector<CArchivedHours> mine;
    std::vector<CArchivedHours> theirs;
    if (!read(path, mine, error) || !read(other, theirs, error))
        return false;
    const std::size_t before = mine.size();
    unite(mine, theirs);
    return mine.size() == before || replace(path, mine, error);
}

void CHoursArchive::unite(std::vector<CArchivedHours>& mine,
                          const std::vector<CArchivedHours>& theirs) {
    std::set<std::string> seen;
    for (const CArchivedHours& row : mine)
        seen.insert(text({row}));
    for (const CArchivedHours& row : theirs)
        if (seen.insert(text({row})).second)
            mine.push_back(row);
}

bool CHoursArchive::readForPlan(const std::string& planPath, std::vector<CArchivedHours>& rows,
                                std::string* error) {
    const std::string archive = pathFor(CAtomicFile::finalPath(planPath));
    if (!read(archive, rows, error))
        return false;
    for (const std::string& copy : CConflictCopies::of(archive)) {
        std::vector<CArchivedHours> theirs;
        if (!read(copy, theirs, error))
            return false;
        unite(rows, theirs);
    }
    return true;
}

bool CHoursArchive::replace(const std::string& path, const std::vector<CArchivedHours>& rows,
                            std::string* error) {
    if (CAtomicFile::write(path, text(rows)))
        return true;
    if (error)
        *error = CAtomicFile::lastError();
    return false;
}
