#include "model/CPeriodReport.h"

#include "core/CMyStringDate.h"
#include "model/CCsvCells.h"
#include "model/CPeriodHours.h"
#include "model/CQLData.h"
#include "parse/NumberFormat.h"

#include <cstdio>

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string number(double value, const char* format) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string percent(double value) {
    return number(value, "%.1f");
}

std::string hoursShown(double hours) {
    return numberformat::formatClock(hours);
}

std::string tableRow(const CPeriodReport::Line& line) {
    const std::string name = escaped(line.name) + (line.deleted ? " <i>(deleted)</i>" : "");
    const std::string cell = line.division ? "<b>" + name + "</b>" : name;
    return "<tr><td style=\"padding-left:" + std::to_string(line.depth * 16 + 2) + "px\">" + cell +
           "</td><td align=\"right\">" + hoursShown(line.hours) + "</td><td align=\"right\">" +
           percent(line.share) + "</td><td align=\"right\">" + percent(line.planned) +
           "</td><td align=\"right\">" + (line.difference() > 0 ? "+" : "") +
           percent(line.difference()) + "</td></tr>\n";
}

// Two bars a line, actual above planned, in the charts' colours.
std::string svgChart(const std::vector<const CPeriodReport::Line*>& lines) {
    const int rowHeight = 34;
    const int height = static_cast<int>(lines.size()) * rowHeight + 10;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"" +
                      std::to_string(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    double most = 1;
    for (const CPeriodReport::Line* line : lines)
        most = std::max({most, line->share, line->planned});
    int y = 5;
    for (const CPeriodReport::Line* line : lines) {
        const auto bar = [&](double value, int top, const char* colour) {
            svg += "<rect x=\"200\" y=\"" + std::to_string(top) + "\" width=\"" +
                   number(value / most * 380, "%.1f") + "\" height=\"12\" fill=\"" + colour +
                   "\"/>";
        };
        svg += "<text x=\"195\" y=\"" + std::to_string(y + 18) + "\" text-anchor=\"end\">" +
               escaped(line->name) + "</text>";
        bar(line->share, y + 2, "#3465a4");
        bar(line->planned, y + 16, "#babdb6");
        svg += "\n";
        y += rowHeight;
    }
    return svg + "</svg>\n";
}

} // namespace

CPeriodReport::CPeriodReport(const CQLData& plan, const CPeriodHours& hours, std::string first,
                             std::string last)
    : m_first(std::move(first)), m_last(std::move(last)) {
    m_total = addContent(plan, hours, CQLData::kRootId, 0);
    addDeleted(plan, hours);
    addShares(plan);
}

// The division's content in walk order, each division before its own content; returns the
// division's hours.
double CPeriodReport::addContent(const CQLData& plan, const CPeriodHours& hours,
                                 std::int32_t divisionId, int depth) {
    const CActivityItem* division = plan.findItem(divisionId);
    if (!division)
        return 0;
    if (!division->isDivision()) { // an empty root is an activity
        const auto own = hours.ofItems().find(static_cast<std::uint16_t>(divisionId));
        return own == hours.ofItems().end() ? 0 : own->second;
    }
    double sum = 0;
    for (const CActivityItem* item : plan.contentInWalkOrder(*division)) {
        const std::size_t at = m_lines.size();
        m_lines.push_back({item->id, depth, CQLData::displayName(*item), plan.fullName(*item),
                           item->isDivision(), false, 0, 0, item->timePart});
        m_lines[at].hours = item->isDivision() ? addContent(plan, hours, item->id, depth + 1)
                                               : addContent(plan, hours, item->id, depth);
        sum += m_lines[at].hours;
    }
    return sum;
}

// Deleted activities with hours in the period: those the plan can still restore, then those
// only the archive remembers.
void CPeriodReport::addDeleted(const CQLData& plan, const CPeriodHours& hours) {
    for (const auto& [id, item] : plan.items) {
        const auto own = hours.ofItems().find(id);
        if (!item->isDetached() || own == hours.ofItems().end() || own->second == 0)
            continue;
        m_lines.push_back({item->id, 0, CQLData::displayName(*item), plan.fullName(*item), false,
                           true, own->second, 0, 0});
        m_total += own->second;
    }
    for (const auto& [cell, spent] : hours.ofGone()) {
        std::string full;
        for (const std::string& name : CCsvCells::pathOf(cell))
            full += (full.empty() ? "" : ". ") + name;
        m_lines.push_back({-1, 0, full, full, false, true, spent, 0, 0});
        m_total += spent;
    }
}

// Planned shares are of all the time the plan plans, so that both columns add up to 100.
void CPeriodReport::addShares(const CQLData& plan) {
    const CActivityItem* root = plan.findItem(CQLData::kRootId);
    const double planned = root ? plan.activityPartSum(*root) : 0;
    for (Line& line : m_lines) {
        line.share = m_total > 0 ? line.hours * 100 / m_total : 0;
        line.planned = planned > 0 && !line.deleted ? line.planned * 100 / planned : 0;
    }
}

std::vector<const CPeriodReport::Line*> CPeriodReport::chartLines() const {
    std::vector<const Line*> shown;
    for (const Line& line : m_lines)
        if (line.depth == 0 && (line.hours > 0 || line.planned > 0))
            shown.push_back(&line);
    return shown;
}

std::string CPeriodReport::csv() const {
    std::string out = "item,hours,share,planned share,difference,state\r\n";
    for (const Line& line : m_lines)
        out += CCsvCells::quoted(CCsvCells::guardedCell(line.fullName)) + ',' +
               number(line.hours, "%.2f") + ',' + number(line.share, "%.2f") + ',' +
               number(line.planned, "%.2f") + ',' + number(line.difference(), "%.2f") + ',' +
               (line.deleted ? "deleted" : "") + "\r\n";
    return out;
}

std::string CPeriodReport::html(const std::string& chartImage) const {
    const std::string period =
        CMyStringDate::isoForm(m_first) + " to " + CMyStringDate::isoForm(m_last);
    std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Hours " +
                      period +
                      "</title></head>\n<body style=\"font-family:sans-serif\">\n<h2>Hours " +
                      period + "</h2>\n<p>" + hoursShown(m_total) +
                      " hours in all. Shares are per cent of the period's hours; planned shares "
                      "are of all the time the plan plans today.</p>\n";
    out += chartImage.empty() ? svgChart(chartLines())
                              : "<p><img src=\"" + escaped(chartImage) + "\" width=\"480\"></p>\n";
    out += "<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\" style=\"border-collapse:"
           "collapse\">\n<tr><th align=\"left\">Item</th><th>Hours</th><th>Share %</th>"
           "<th>Planned %</th><th>Difference</th></tr>\n";
    for (const Line& line : m_lines)
        out += tableRow(line);
    return out + "</table>\n</body></html>\n";
}
