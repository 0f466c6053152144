#include "model/CPlanJson.h"

#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CQLData.h"
#include "parse/Utf8Text.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <set>
#include <stdexcept>

using nlohmann::json;

namespace {

constexpr const char* kFormat = "quillon-plan";
constexpr int kVersion = 1;

json itemJson(const CActivityItem& item) {
    json children = json::array();
    for (const IntegerMy& child : item.children)
        children.push_back(child.value());
    return {{"id", item.id},
            {"parentId", item.parentId},
            {"name", utf8text::asUtf8(item.name)},
            {"timePart", item.timePart},
            {"partUnit", item.partUnit},
            {"memo", utf8text::asUtf8(item.memo)},
            {"children", children}};
}

// A refusal names the field and the item it belongs to.
[[noreturn]] void refuse(const std::string& where, const std::string& what) {
    throw std::invalid_argument(where + ": " + what);
}

std::int32_t wholeNumber(const json& value, const std::string& where, const char* field) {
    if (!value.is_number_integer())
        refuse(where, std::string(field) + " must be a whole number");
    return value.get<std::int32_t>();
}

double finiteNumber(const json& value, const std::string& where, const char* field) {
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        refuse(where, std::string(field) + " must be a finite number");
    return value.get<double>();
}

void readItem(const json& entry, CQLData& plan) {
    const json& idValue = entry.at("id");
    if (!idValue.is_number_integer() || idValue.get<std::int64_t>() < 0 ||
        idValue.get<std::int64_t>() > 0xFFFF)
        refuse("an item", "id must be a whole number from 0 to 65535");
    const auto id = idValue.get<std::int32_t>();
    const std::string where = "item " + std::to_string(id);
    if (plan.findItem(id))
        refuse(where, "listed twice");
    CActivityItem& item = plan.addItem(static_cast<std::uint16_t>(id));
    item.parentId = wholeNumber(entry.at("parentId"), where, "parentId");
    item.name = entry.at("name").get<std::string>();
    item.timePart = finiteNumber(entry.at("timePart"), where, "timePart");
    if (item.timePart < 0 || item.timePart > 100 + 1e-6)
        refuse(where, "timePart must be from 0 to 100 (per cent)");
    item.partUnit = wholeNumber(entry.at("partUnit"), where, "partUnit");
    if (item.partUnit < 0 || item.partUnit > 3)
        refuse(where, "partUnit must be 0, 1, 2 or 3");
    item.memo = entry.value("memo", std::string());
    const json& children = entry.at("children");
    if (!children.is_array())
        refuse(where, "children must be a list of item ids");
    for (const json& child : children)
        item.children.emplace_back(wholeNumber(child, where, "a child id"));
}

// Every child names an item: a dangling one would hide its later siblings from every walk.
void checkChildren(const CQLData& plan) {
    for (const auto& [id, item] : plan.items)
        for (const IntegerMy& child : item->children)
            if (!plan.findItem(child.value()))
                refuse("item " + std::to_string(id),
                       "child " + std::to_string(child.value()) + " is not an item");
}

const std::string& weekKey(const std::string& key, const char* section) {
    if (!qlndates::isWeekStart(key))
        refuse(std::string(section) + " " + key, "a week is named by its Sunday, as YYYYMMDD");
    return key;
}

CWeekSetDetailed readDays(const json& hours, const std::string& where) {
    std::vector<std::pair<std::uint16_t, FloatMy>> days;
    for (const auto& [day, value] : hours.items()) {
        if (day.size() != 1 || day[0] < '1' || day[0] > '7')
            refuse(where, "day " + day + " is not 1 (Sunday) to 7 (Saturday)");
        days.push_back({static_cast<std::uint16_t>(day[0] - '0'),
                        FloatMy{finiteNumber(value, where, "day hours")}});
    }
    CWeekSetDetailed set;
    set.dayHours.assign(std::move(days));
    return set;
}

std::uint16_t activityKey(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos || std::stoul(text) > 0xFFFF)
        refuse("activity " + text, "an activity is named by its id, 0 to 65535");
    return static_cast<std::uint16_t>(std::stoul(text));
}

// Hours belong to an item of the plan: under an identifier of none they would wait, unseen,
// for the next item made with it.
std::uint16_t itemKey(const CQLData& plan, const std::string& text, const std::string& where) {
    const std::uint16_t id = activityKey(text);
    if (!plan.findItem(id))
        refuse(where, "no item has the id " + text);
    return id;
}

} // namespace

std::string CPlanJson::write(const CQLData& plan) {
    json items = json::array();
    for (const auto& entry : plan.items)
        items.push_back(itemJson(*entry.second));
    json weeks = json::object();
    for (const auto& [week, sets] : plan.averagedWeeks)
        for (const auto& [id, summary] : sets)
            weeks[week][std::to_string(id)] = {{"weekHours", summary.weekHours},
                                               {"carriedHours", summary.carriedHours}};
    json days = json::object();
    for (const auto& [week, sets] : plan.detailedWeeks)
        for (const auto& [id, set] : sets) {
            json hours = json::object();
            for (const auto& [day, value] : set.dayHours)
                hours[std::to_string(day)] = value.value();
            days[week][std::to_string(id)] = hours;
        }
    const json document = {{"format", kFormat},
                           {"version", kVersion},
                           {"reservedText", utf8text::asUtf8(plan.reservedText)},
                           {"items", items},
                           {"weeks", weeks},
                           {"days", days}};
    return document.dump(1) + "\n";
}

bool CPlanJson::read(std::string_view text, CQLData& plan, std::string& error,
                     std::vector<std::string>* leftOut) {
    try {
        const json document = json::parse(text);
        if (document.value("format", std::string()) != kFormat ||
            document.value("version", 0) != kVersion) {
            error = "not a Quillon plan in JSON (format \"quillon-plan\", version 1)";
            return false;
        }
        plan.clear();
        plan.reservedText = document.value("reservedText", std::string());
        for (const json& entry : document.at("items"))
            readItem(entry, plan);
        checkChildren(plan);
        std::set<std::string> outside;
        const CAppDates& dates = plan.app().dates();
        const std::string lastWeek = qlndates::weekStartText(dates.latestDate().date());
        const auto kept = [&](const std::string& week) {
            if (week >= dates.keptStart().text() && week <= lastWeek)
                return true;
            outside.insert(week);
            return false;
        };
        // Keys come in text order ("10" before "9"): each week is collected, then sorted.
        for (const auto& [week, sets] : document.at("weeks").items()) {
            std::vector<CQLData::AveragedWeek::value_type> summaries;
            for (const auto& [id, summary] : sets.items()) {
                const std::string where = "weeks " + week + " " + id;
                summaries.push_back(
                    {itemKey(plan, id, where),
                     {finiteNumber(summary.at("weekHours"), where, "weekHours"),
                      finiteNumber(summary.at("carriedHours"), where, "carriedHours")}});
            }
            if (kept(weekKey(week, "weeks")))
                plan.averagedWeeks[week].assign(std::move(summaries));
        }
        for (const auto& [week, sets] : document.at("days").items()) {
            std::vector<CQLData::DetailedWeek::value_type> detailed;
            for (const auto& [id, hours] : sets.items()) {
                const std::string where = "days " + week + " " + id;
                detailed.push_back({itemKey(plan, id, where), readDays(hours, where)});
            }
            if (kept(weekKey(week, "days")))
                plan.detailedWeeks[week].assign(std::move(detailed));
        }
        if (leftOut)
            leftOut->assign(outside.begin(), outside.end());
        return true;
    } catch (const std::exception& failure) {
        plan.clear();
        error = failure.what();
        return false;
    }
}

std::string CPlanJson::leftOutText(const std::vector<std::string>& weeks) {
    if (weeks.empty())
        return {};
    std::string text = std::to_string(weeks.size()) + (weeks.size() == 1 ? " week" : " weeks") +
                       " outside the kept period " + (weeks.size() == 1 ? "was" : "were") +
                       " left out:";
    for (std::size_t i = 0; i < weeks.size(); ++i)
        text += (i == 0 ? " " : ", ") + weeks[i];
    return text + ".";
}
