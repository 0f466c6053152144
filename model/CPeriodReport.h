#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CPeriodHours;
class CQLData;

// What a period's hours came to: every division and activity of the plan in walk order with
// its hours, its share of all the period's hours, the share its time part plans today (of
// all planned time) and the difference; then deleted activities that had hours in the period.
class CPeriodReport {
public:
    struct Line {
        std::int32_t id = -1; // -1: an activity known only from the archive
        int depth = 0;        // 0 for the root's content
        std::string name;     // as the panes show it
        std::string fullName;
        bool division = false;
        bool deleted = false;
        double hours = 0;
        double share = 0;   // per cent of the period's hours
        double planned = 0; // per cent of all planned time
        double difference() const { return share - planned; }
    };

    CPeriodReport(const CQLData& plan, const CPeriodHours& hours, std::string first,
                  std::string last);

    const std::string& first() const { return m_first; }
    const std::string& last() const { return m_last; }
    double totalHours() const { return m_total; }
    const std::vector<Line>& lines() const { return m_lines; }

    // One row per line: full name, hours, share, planned share, difference, and "deleted".
    std::string csv() const;
    // A page of its own: a heading, the table with divisions' content indented and a bar
    // chart of actual against planned shares for the root's content. chartImage names an
    // image to show in place of the drawn chart, 480 pixels wide to fit a page (a rich-text
    // document's resource); empty draws the chart with SVG, for a browser.
    std::string html(const std::string& chartImage = {}) const;
    // The lines at depth 0 that the chart shows.
    std::vector<const Line*> chartLines() const;

private:
    double addContent(const CQLData& plan, const CPeriodHours& hours, std::int32_t divisionId,
                      int depth);
    void addDeleted(const CQLData& plan, const CPeriodHours& hours);
    void addShares(const CQLData& plan);

    std::string m_first;
    std::string m_last;
    double m_total = 0;
    std::vector<Line> m_lines;
};
