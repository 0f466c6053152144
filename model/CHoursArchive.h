#pragma once

#include "model/CArchivedHours.h"

#include <string>
#include <string_view>
#include <vector>

class CQLData;

// Every hour a plan no longer keeps, in a CSV file beside it ("NAME.qln.history"): the
// export's rows plus the item's identifier. The load drops the days of weeks that left the
// detailed period and the weeks that left the kept period; their rows come here before the
// plan is stored without them. The file is only ever replaced whole, so a write cut short
// leaves the archive as it was.
class CHoursArchive {
public:
    static constexpr const char* kHeader = "date,activity,hours,kind,id\r\n";

    static std::string pathFor(const std::string& planPath) { return planPath + ".history"; }
    // The week's rows of every activity with hours: its days, or its week total.
    static void addWeek(const CQLData& plan, const std::string& week, bool days,
                        std::vector<CArchivedHours>& out);
    // The Sunday of the row's week.
    static std::string weekOf(const CArchivedHours& row);
    static std::string text(const std::vector<CArchivedHours>& rows);
    // The rows of an archive's text; a line that does not read (a torn last line of a
    // foreign writer, a hand edit) is passed over and counted in unread.
    static std::vector<CArchivedHours> parse(std::string_view text, int* unread = nullptr);
    // The archive beside a plan; no file is an empty archive. False, with the reason, when
    // the file is there but cannot be read.
    static bool read(const std::string& path, std::vector<CArchivedHours>& rows,
                     std::string* error = nullptr);
    // Adds what the archive lacks: an activity's week already there is not written again,
    // except for a week total that grew since its days came here, which gets the difference.
    static bool append(const std::string& path, const std::vector<CArchivedHours>& rows,
                       std::string* error = nullptr);
    // The archive beside a plan file with the rows of its conflict copies, for reading.
    static bool readForPlan(const std::string& planPath, std::vector<CArchivedHours>& rows,
                            std::string* error = nullptr);
    // Adds the rows of theirs that mine lacks.
    static void unite(std::vector<CArchivedHours>& mine, const std::vector<CArchivedHours>& theirs);
    // The union of two archives' rows goes to path (another computer's copy of it).
    static bool takeIn(const std::string& path, const std::string& other,
                       std::string* error = nullptr);

private:
    static void addDays(const CQLData& plan, const std::string& week,
                        std::vector<CArchivedHours>& out);
    static void addTotals(const CQLData& plan, const std::string& week,
                          std::vector<CArchivedHours>& out);
    static bool replace(const std::string& path, const std::vector<CArchivedHours>& rows,
                        std::string* error);
};
