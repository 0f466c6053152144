#include "model/CPlanJson.h"

#include "model/CQLData.h"
#include "parse/Utf8Text.h"

#include <nlohmann/json.hpp>

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

void readItem(const json& entry, CQLData& plan) {
    const auto id = entry.at("id").get<std::int32_t>();
    if (id < 0 || id > 0xFFFF)
        throw std::out_of_range("an item identifier outside 0 to 65535");
    if (plan.findItem(id))
        throw std::invalid_argument("item " + std::to_string(id) + " is listed twice");
    CActivityItem& item = plan.addItem(static_cast<std::uint16_t>(id));
    item.parentId = entry.at("parentId").get<std::int32_t>();
    item.name = entry.at("name").get<std::string>();
    item.timePart = entry.at("timePart").get<double>();
    item.partUnit = entry.at("partUnit").get<std::int32_t>();
    item.memo = entry.value("memo", std::string());
    for (const json& child : entry.at("children"))
        item.children.emplace_back(child.get<std::int32_t>());
}

CWeekSetDetailed readDays(const json& hours) {
    std::vector<std::pair<std::uint16_t, FloatMy>> days;
    for (const auto& [day, value] : hours.items())
        days.push_back({static_cast<std::uint16_t>(std::stoul(day)), FloatMy{value.get<double>()}});
    CWeekSetDetailed set;
    set.dayHours.assign(std::move(days));
    return set;
}

std::uint16_t activityKey(const std::string& text) {
    const unsigned long id = std::stoul(text);
    if (id > 0xFFFF)
        throw std::out_of_range("an activity identifier outside 0 to 65535");
    return static_cast<std::uint16_t>(id);
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

bool CPlanJson::read(std::string_view text, CQLData& plan, std::string& error) {
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
        // Keys come in text order ("10" before "9"): each week is collected, then sorted.
        for (const auto& [week, sets] : document.at("weeks").items()) {
            std::vector<CQLData::AveragedWeek::value_type> summaries;
            for (const auto& [id, summary] : sets.items())
                summaries.push_back({activityKey(id),
                                     {summary.at("weekHours").get<double>(),
                                      summary.at("carriedHours").get<double>()}});
            plan.averagedWeeks[week].assign(std::move(summaries));
        }
        for (const auto& [week, sets] : document.at("days").items()) {
            std::vector<CQLData::DetailedWeek::value_type> detailed;
            for (const auto& [id, hours] : sets.items())
                detailed.push_back({activityKey(id), readDays(hours)});
            plan.detailedWeeks[week].assign(std::move(detailed));
        }
        return true;
    } catch (const std::exception& failure) {
        plan.clear();
        error = failure.what();
        return false;
    }
}
