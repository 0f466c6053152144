#include "model/CPlanCsv.h"

#include "core/CMyStringDate.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CCsvCells.h"
#include "model/CHoursLedger.h"
#include "model/CIdentifierPool.h"
#include "model/CPlanCheck.h"
#include "model/CQLData.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <tuple>

namespace {

using Row = CCsvCells::Row;

// ---- writing ----

// The activity's day hours of the week, when the ledger keeps them day by day.
const CWeekSetDetailed* dayDetail(const CQLData& plan, const std::string& week, std::uint16_t id) {
    const auto detailed = plan.detailedWeeks.find(week);
    if (detailed == plan.detailedWeeks.end())
        return nullptr;
    const auto set = detailed->second.find(id);
    return set == detailed->second.end() ? nullptr : &set->second;
}

void writeRow(std::string& out, const std::string& date, const std::string& name, double hours,
              const char* kind) {
    out += CMyStringDate::isoForm(date) + ',' + CCsvCells::quoted(name) + ',' +
           CCsvCells::hoursText(hours) + ',' + kind + "\r\n";
}

// ---- reading ----

qlndates::Date dateOf(const std::string& text) {
    CMyStringDate date;
    date.setText(text);
    return date.date();
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// YYYY-MM-DD or YYYYMMDD to the date text; "" when it is not a valid date of those forms.
std::string dateTextOf(const std::string& typed) {
    CMyStringDate date;
    return date.setTyped(typed) ? date.text() : std::string();
}

// The separators a spreadsheet saves with, in the order a tie is decided.
constexpr std::string_view kSeparators = ",;\t";

const char* separatorName(char separator) {
    return separator == ';' ? "semicolons" : separator == '\t' ? "tabs" : "commas";
}

bool fitsSeparator(std::string_view line, char separator) {
    const std::vector<Row> rows = CCsvCells::records(line, separator);
    return rows.size() == 1 && (rows[0].fields.size() == 3 || rows[0].fields.size() == 4) &&
           !dateTextOf(trimmed(rows[0].fields[0])).empty();
}

// The separator a header names ("date;activity;..."), else the one most of the first rows fit.
char separatorOf(std::string_view text) {
    std::string_view first = text.substr(0, text.find_first_of("\r\n"));
    const std::size_t start = first.find_first_not_of(" \"");
    if (start != std::string_view::npos && first.substr(start, 4) == "date") {
        const std::size_t after = first.find_first_not_of(" \"", start + 4);
        if (after != std::string_view::npos && kSeparators.find(first[after]) != std::string::npos)
            return first[after];
    }
    std::array<int, kSeparators.size()> fits{};
    std::size_t at = 0;
    for (int lines = 0; lines < 50 && at < text.size(); ++lines) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        for (std::size_t i = 0; i < kSeparators.size(); ++i)
            fits[i] += fitsSeparator(text.substr(at, end - at), kSeparators[i]);
        at = end + 1;
    }
    return kSeparators[static_cast<std::size_t>(std::max_element(fits.begin(), fits.end()) -
                                                fits.begin())];
}

// "mm" or "ss": two digits below 60.
bool sixtiethsOf(std::string_view text, double& value) {
    if (text.size() != 2 || !std::isdigit(static_cast<unsigned char>(text[0])) ||
        !std::isdigit(static_cast<unsigned char>(text[1])))
        return false;
    value = (text[0] - '0') * 10 + (text[1] - '0');
    return value < 60;
}

bool decimalOf(std::string text, double& value) {
    // A decimal comma, as spreadsheets write numbers in most of Europe.
    if (std::count(text.begin(), text.end(), ',') == 1 && text.find('.') == std::string::npos)
        text[text.find(',')] = '.';
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// h:mm or h:mm:ss, as spreadsheets write durations.
bool durationOf(std::string_view text, double& hours) {
    const std::size_t colon = text.find(':');
    const std::string_view whole = text.substr(0, colon);
    if (whole.empty() || whole.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    double value = 0;
    if (std::from_chars(whole.data(), whole.data() + whole.size(), value).ec != std::errc())
        return false;
    const std::string_view rest = text.substr(colon + 1);
    const std::size_t second = rest.find(':');
    double minutes = 0;
    double seconds = 0;
    if (!sixtiethsOf(rest.substr(0, second), minutes) ||
        (second != std::string_view::npos && !sixtiethsOf(rest.substr(second + 1), seconds)))
        return false;
    hours = value + minutes / 60 + seconds / 3600;
    return true;
}

// Decimal hours, or a duration.
bool hoursOf(const std::string& text, double& hours) {
    const bool read =
        text.find(':') == std::string::npos ? decimalOf(text, hours) : durationOf(text, hours);
    return read && std::isfinite(hours) && hours >= 0 && hours <= CHoursLedger::kMostHours;
}

// A division's children by shown name, so that a path resolves without scanning every child
// of every division it passes: a flat plan of thousands of new names stays n log n.
class ChildIndex {
public:
    explicit ChildIndex(const CQLData& plan) : m_plan(plan) {
        for (const auto& [key, division] : plan.items)
            for (const IntegerMy& id : division->children)
                if (const CActivityItem* child = plan.findItem(id.value()))
                    add(division->id, CQLData::displayName(*child), child->id);
    }

    // The first child of that name, as the division lists them.
    const CActivityItem* find(const CActivityItem& division, const std::string& name) const {
        const auto found = m_children.find({division.id, name});
        return found == m_children.end() ? nullptr : m_plan.findItem(found->second);
    }

    void add(std::int32_t division, const std::string& name, std::int32_t child) {
        m_children.emplace(std::pair{division, name}, child);
    }

private:
    const CQLData& m_plan;
    std::map<std::pair<std::int32_t, std::string>, std::int32_t> m_children;
};

// Identifiers 1 to 65535, and the root.
constexpr std::size_t kMostItems = 0x10000;

struct Entry {
    int line = 0;
    std::vector<std::string> path;
    std::string date;
    double hours = 0;
    bool week = false;
};

// A row with the week and the activity its hours go to.
struct Placed {
    std::string week;
    std::uint16_t id = 0;
    const Entry* entry = nullptr;
};

// Resolves names against the plan and against what earlier rows will create, so a bad row is
// known before anything changes.
class NamePlanner {
public:
    NamePlanner(const CQLData& plan, const ChildIndex& children)
        : m_plan(plan), m_children(children) {}

    // "" when the path can name an activity; otherwise why not.
    std::string check(const std::vector<std::string>& path) {
        const CActivityItem* at = m_plan.findItem(CQLData::kRootId);
        std::string prefix;
        for (std::size_t i = 0; i < path.size(); ++i) {
            const bool last = i + 1 == path.size();
            if (path[i].empty())
                return "an empty name in the activity's path";
            prefix += (i ? ". " : "") + path[i];
            const CActivityItem* child = at ? m_children.find(*at, path[i]) : nullptr;
            if (child) {
                if (last && child->isDivision())
                    return "\"" + prefix + "\" is a division; hours go to activities";
                if (!last && !child->isDivision())
                    return "\"" + prefix + "\" is an activity, not a division";
            } else if (last ? m_newDivisions.count(prefix) : m_newActivities.count(prefix)) {
                return "\"" + prefix + "\" is named both as a division and as an activity";
            }
            if (!child)
                m_created.insert(prefix);
            at = child;
        }
        prefix.clear();
        for (std::size_t i = 0; i < path.size(); ++i) {
            prefix += (i ? ". " : "") + path[i];
            (i + 1 == path.size() ? m_newActivities : m_newDivisions).insert(prefix);
        }
        return {};
    }

    // The items the checked paths will create.
    std::size_t newItems() const { return m_created.size(); }

private:
    const CQLData& m_plan;
    const ChildIndex& m_children;
    std::set<std::string> m_created;
    std::set<std::string> m_newActivities;
    std::set<std::string> m_newDivisions;
};

// Finds or makes the activity a path names; each new item takes part 0.
class ItemMaker {
public:
    ItemMaker(CQLData& plan, ChildIndex& children) : m_plan(plan), m_children(children) {}

    std::uint16_t activity(const std::vector<std::string>& path, int& created) {
        std::string key;
        for (const std::string& part : path)
            key += part + '\n';
        if (const auto found = m_known.find(key); found != m_known.end())
            return found->second;
        CActivityItem* at = m_plan.root();
        for (const std::string& part : path) {
            const CActivityItem* child = m_children.find(*at, part);
            at = child ? m_plan.findItem(child->id) : make(*at, part, created);
        }
        const auto id = static_cast<std::uint16_t>(at->id);
        m_known.emplace(key, id);
        return id;
    }

private:
    CActivityItem* make(CActivityItem& parent, const std::string& name, int& created) {
        const auto id = m_identifiers.next();
        if (!id)
            throw std::length_error("every item identifier is taken");
        CActivityItem& item = m_plan.addItem(*id);
        item.name = name;
        item.parentId = parent.id;
        item.timePart = 0;
        parent.children.emplace_back(*id);
        m_children.add(parent.id, name, *id);
        ++created;
        return &item;
    }

    CQLData& m_plan;
    ChildIndex& m_children;
    CIdentifierPool m_identifiers{m_plan};
    std::map<std::string, std::uint16_t> m_known;
};

// One row as an entry; none when it is bad (said in the result) or outside the kept period.
std::optional<Entry> entryOf(const Row& row, char separator, const CAppDates& dates,
                             NamePlanner& names, CPlanCsv::ImportResult& result) {
    const auto bad = [&](const std::string& why) {
        result.bad.push_back({row.line, why});
        return std::nullopt;
    };
    if (row.fields.size() != 3 && row.fields.size() != 4)
        return bad(std::string("expected 3 or 4 columns separated by ") + separatorName(separator) +
                   ", found " + std::to_string(row.fields.size()));
    Entry entry;
    entry.line = row.line;
    entry.date = dateTextOf(trimmed(row.fields[0]));
    const std::string kind = row.fields.size() == 4 ? trimmed(row.fields[3]) : "day";
    if (entry.date.empty())
        return bad("not a date of the form YYYY-MM-DD: \"" + row.fields[0] + "\"");
    if (!hoursOf(trimmed(row.fields[2]), entry.hours))
        return bad("hours must be a number from 0 to 1000000 or h:mm: \"" + row.fields[2] + "\"");
    if (kind != "day" && kind != "week")
        return bad("the kind must be day or week: \"" + kind + "\"");
    entry.week = kind == "week";
    if (entry.week && !qlndates::isWeekStart(entry.date))
        return bad("a week total goes on the week's Sunday");
    const std::string latest = dates.latestDate().text();
    if (entry.date < dates.keptStart().text() || entry.date > latest) {
        result.outside.push_back(
            {row.line, entry.date > latest ? "after today" : "outside the kept period"});
        return std::nullopt;
    }
    if (entry.week && !dates.isBeforeDetailedPeriod(entry.date))
        return bad("a week inside the day-by-day period takes days, not a week total");
    entry.path = CCsvCells::pathOf(trimmed(row.fields[1]));
    if (entry.path.size() > static_cast<std::size_t>(CPlanCheck::kMaxDepth))
        return bad("the activity is nested deeper than " + std::to_string(CPlanCheck::kMaxDepth) +
                   " levels");
    if (const std::string why = names.check(entry.path); !why.empty())
        return bad(why);
    return entry;
}

// The rows of the text, each read as an entry.
std::vector<Entry> parseRows(std::string_view text, const CAppDates& dates, NamePlanner& names,
                             CPlanCsv::ImportResult& result) {
    // Spreadsheets save "CSV UTF-8" with a byte-order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const char separator = separatorOf(text);
    std::vector<Row> rows = CCsvCells::records(text, separator);
    if (!rows.empty() && trimmed(rows.front().fields.front()) == "date")
        rows.erase(rows.begin());
    std::vector<Entry> entries;
    entries.reserve(rows.size());
    for (const Row& row : rows)
        if (std::optional<Entry> entry = entryOf(row, separator, dates, names, result))
            entries.push_back(std::move(*entry));
    return entries;
}

// Items are made in row order; the hours then go in by week and activity, so that each week's
// sets grow at their end. The sort is stable: rows of one day add up in row order.
void applyRows(CQLData& plan, ChildIndex& children, const std::vector<Entry>& entries,
               CPlanCsv::ImportResult& result, const CPlanCsv::Progress& progress) {
    const CAppDates& dates = plan.app().dates();
    ItemMaker maker{plan, children};
    std::vector<Placed> placed;
    placed.reserve(entries.size());
    for (const Entry& entry : entries)
        placed.push_back({qlndates::weekStartText(dateOf(entry.date)),
                          maker.activity(entry.path, result.createdItems), &entry});
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.week, a.id) < std::tie(b.week, b.id);
    });
    std::set<std::pair<std::string, std::uint16_t>> touchedDays;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Entry& entry = *placed[i].entry;
        const std::uint16_t id = placed[i].id;
        const std::string& week = placed[i].week;
        if (!entry.week && !dates.isBeforeDetailedPeriod(entry.date)) {
            FloatMy& day =
                plan.detailedWeeks[week][id]
                    .dayHours[static_cast<std::uint16_t>(qlndates::dayOfWeek(dateOf(entry.date)))];
            day.setValue(static_cast<float>(day.value() + entry.hours));
            touchedDays.emplace(week, id);
        } else {
            double& total = plan.averagedWeeks[week][id].weekHours;
            total = static_cast<float>(total + entry.hours);
        }
        ++result.taken;
        if (progress && i % 4096 == 0)
            progress(i, entries.size());
    }
    for (const auto& [week, id] : touchedDays)
        plan.averagedWeeks[week][id].weekHours =
            static_cast<float>(plan.detailedWeeks[week][id].sumOfDays());
}

} // namespace

std::string CPlanCsv::write(const CQLData& plan) {
    std::string out = "date,activity,hours,kind\r\n";
    std::map<std::uint16_t, std::string> names; // a path walks up the tree: once an item
    for (const auto& [week, sets] : plan.averagedWeeks)
        for (const auto& [id, summary] : sets) {
            const CActivityItem* item = plan.findItem(id);
            if (!item)
                continue;
            auto name = names.find(id);
            if (name == names.end())
                name = names.emplace(id, CCsvCells::pathCell(plan.namePath(*item))).first;
            if (const CWeekSetDetailed* days = dayDetail(plan, week, id)) {
                for (const auto& [day, hours] : days->dayHours)
                    if (day >= 1 && day <= 7 && hours.value() != 0)
                        writeRow(out, qlndates::addDays(week, day - 1), name->second, hours.value(),
                                 "day");
            } else if (summary.weekHours != 0) {
                writeRow(out, week, name->second, summary.weekHours, "week");
            }
        }
    return out;
}

CPlanCsv::ImportResult CPlanCsv::read(std::string_view text, CQLData& plan, bool skipBad,
                                      const Progress& progress) {
    ImportResult result;
    plan.ensureRoot();
    ChildIndex children{plan};
    NamePlanner names{plan, children};
    const std::vector<Entry> entries = parseRows(text, plan.app().dates(), names, result);
    if (!result.bad.empty() && !skipBad)
        return result;
    // Refused before anything is made: the identifiers would run out half way.
    if (plan.items.size() + names.newItems() > kMostItems) {
        result.bad.push_back({0, "the plan can hold at most 65,535 items; these rows would make " +
                                     std::to_string(names.newItems()) + " new ones"});
        return result;
    }
    applyRows(plan, children, entries, result, progress);
    plan.recomputeDivisionParts(*plan.root());
    CHoursLedger{plan}.normaliseAfterLoad();
    if (progress)
        progress(entries.size(), entries.size());
    result.applied = true;
    return result;
}
