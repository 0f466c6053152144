#include "tools/PeriodReport.h"

#include "core/CMyStringDate.h"
#include "model/CHoursArchive.h"
#include "model/CHrplDoc.h"
#include "model/CPeriodHours.h"
#include "model/CPeriodReport.h"
#include "parse/NumberFormat.h"
#include "tools/CJsonWriter.h"
#include "tools/ToolOptions.h"
#include "tools/ToolSupport.h"
#include "tools/ToolUsage.h"

#include <cstdio>

namespace {

void writeJson(const CPeriodReport& report, CJsonWriter& out) {
    out.beginObject();
    out.key("from");
    out.string(report.first());
    out.key("to");
    out.string(report.last());
    out.key("totalHours");
    out.number(report.totalHours());
    out.key("items");
    out.beginArray();
    for (const CPeriodReport::Line& line : report.lines()) {
        out.beginObject();
        out.key("id");
        out.integer(line.id);
        out.key("fullName");
        out.string(line.fullName);
        out.key("depth");
        out.integer(line.depth);
        out.key("division");
        out.boolean(line.division);
        out.key("deleted");
        out.boolean(line.deleted);
        out.key("hours");
        out.number(line.hours);
        out.key("share");
        out.number(line.share);
        out.key("plannedShare");
        out.number(line.planned);
        out.key("difference");
        out.number(line.difference());
        out.endObject();
    }
    out.endArray();
    out.endObject();
}

std::string table(const CPeriodReport& report) {
    char row[512];
    std::snprintf(row, sizeof row, "%-44s %9s %7s %8s %7s\n", "item", "hours", "share", "planned",
                  "diff");
    std::string out = row;
    for (const CPeriodReport::Line& line : report.lines()) {
        const std::string name = std::string(static_cast<std::size_t>(line.depth) * 2, ' ') +
                                 line.name + (line.deleted ? " (deleted)" : "");
        std::snprintf(row, sizeof row, "%-44s %9s %7.1f %8.1f %+7.1f\n", name.c_str(),
                      numberformat::formatClock(line.hours).c_str(), line.share, line.planned,
                      line.difference());
        out += row;
    }
    return out + "total " + numberformat::formatClock(report.totalHours()) + "\n";
}

bool readPeriod(const ToolOptions& o, std::string& first, std::string& last) {
    CMyStringDate from;
    CMyStringDate to;
    if (!toolsupport::readDate(o.value("from"), from) || !toolsupport::readDate(o.value("to"), to))
        return false;
    first = from.text();
    last = to.text();
    return true;
}

} // namespace

int runPeriodReport(CAppCore&, CHrplDoc& doc, const ToolOptions& o,
                    std::vector<std::string> flags) {
    std::string first;
    std::string last;
    if (!o.has("from") || !o.has("to"))
        return toolsupport::usage(toolusage::of("report"), "a period needs both --from and --to");
    if (!readPeriod(o, first, last))
        return 2;
    if (first > last)
        return toolsupport::usage(toolusage::of("report"), "--from comes after --to");
    std::vector<CArchivedHours> archive;
    std::string why;
    if (!CHoursArchive::readForPlan(o.positional[0], archive, &why)) {
        std::fprintf(stderr, "qlntool: cannot read the archive of %s: %s\n",
                     o.positional[0].c_str(), why.c_str());
        return 1;
    }
    const CPeriodHours hours{doc.plan(), archive, first, last};
    const CPeriodReport report{doc.plan(), hours, first, last};
    if (toolsupport::takeFlag(flags, "--json")) {
        CJsonWriter out{stdout};
        writeJson(report, out);
        return out.finish() ? 0 : 1;
    }
    const std::string text = toolsupport::takeFlag(flags, "--csv")    ? report.csv()
                             : toolsupport::takeFlag(flags, "--html") ? report.html()
                                                                      : table(report);
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
