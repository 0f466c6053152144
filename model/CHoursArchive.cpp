#include "model/CHoursArchive.h"

#include "core/CMyStringDate.h"
#include "core/QlnDates.h"
#include "model/CAtomicFile.h"
#include "model/CConflictCopies.h"
#include "model/CCsvCells.h"
#include "model/CQLData.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace {

// The ledger's own tolerance: a week total and the sum of its days that agree this closely
// are the same hours.
constexpr double kSameHours = 0.0001;

using WeekKey = std::pair<std::uint16_t, std::string>; // activity, week

std::map<WeekKey, double> weekSums(const std::vector<CArchivedHours>& rows) {
    std::map<WeekKey, double> sums;
    for (const CArchivedHours& row : rows)
        if (!row.isDeleted())
            sums[{row.id, CHoursArchive::weekOf(row)}] += row.hours;
    return sums;
}

bool readHours(const std::string& text, double& hours) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), hours);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size() &&
           std::isfinite(hours);
}

bool readIdentifier(const std::string& text, std::uint16_t& id) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), id);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

constexpr const char* kKindNames[] = {"day", "week", "deleted"};

bool kindOf(const std::string& text, CArchivedHours::Kind& kind) {
    for (int k = 0; k < 3; ++k)
        if (text == kKindNames[k]) {
            kind = static_cast<CArchivedHours::Kind>(k);
            return true;
        }
    return false;
}

bool rowOf(const CCsvCells::Row& record, CArchivedHours& row) {
    const std::vector<std::string>& f = record.fields;
    CMyStringDate date;
    if (f.size() != 5 || !date.setTyped(f[0]) || !kindOf(f[3], row.kind))
        return false;
    row.date = date.text();
    row.name = f[1];
    return (!row.isWeek() || qlndates::isWeekStart(row.date)) && readHours(f[2], row.hours) &&
           readIdentifier(f[4], row.id);
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
               CCsvCells::hoursText(row.hours) + ',' + kKindNames[static_cast<int>(row.kind)] +
               ',' + std::to_string(row.id) + "\r\n";
    return out;
}

std::vector<CArchivedHours> CHoursArchive::parse(std::string_view text, int* unread) {
    std::vector<CArchivedHours> rows;
    int bad = 0;
    for (const CCsvCells::Row& record : CCsvCells::records(text, ',')) {
        if (record.line == 1 && !record.fields.empty() && record.fields[0] == "date")
            continue;
        CArchivedHours row;
        if (rowOf(record, row))
            rows.push_back(std::move(row));
        else
            ++bad;
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
        if (row.isWeek() && std::fabs(row.hours - held) > kSameHours) {
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
