// qln_records A D OUT [TODAY] [daily]: one synthetic stretch of time records, the same records
// in the forms of three tools: a CSV for qlntool import, a Timewarrior database and a ledger
// timeclock file. A activities in 10 groups, D days up to TODAY (YYYYMMDD), 3 to 8 entries a
// day; with "daily", an entry for every activity on every day instead (a large plan's year).

#include "core/CMyStringDate.h"
#include "core/QlnDates.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

namespace {

struct Entry {
    std::string day; // YYYYMMDD
    int startMinute = 0;
    int minutes = 0;
    int activity = 0;
};

std::string clock(int minute) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:00", minute / 60, minute % 60);
    return text;
}

std::string isoDay(const std::string& day) {
    return day.substr(0, 4) + '-' + day.substr(4, 2) + '-' + day.substr(6, 2);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: qln_records ACTIVITIES DAYS OUT [TODAY]\n");
        return 2;
    }
    const int activities = std::atoi(argv[1]);
    const int days = std::atoi(argv[2]);
    const std::filesystem::path out = argv[3];
    const std::string today = argc > 4 ? argv[4] : "20261208";
    std::mt19937 random{2026};
    std::uniform_int_distribution<int> entriesADay{3, 8};
    std::uniform_int_distribution<int> length{15, 120};
    std::uniform_int_distribution<int> pick{0, activities - 1};
    const bool daily = argc > 5 && std::string(argv[5]) == "daily";
    std::vector<Entry> entries;
    for (int d = days - 1; d >= 0; --d) {
        const std::string day = qlndates::addDays(today, -d);
        int minute = 8 * 60;
        if (daily) {
            for (int a = 0; a < activities; ++a)
                entries.push_back({day, 8 * 60, 15 * (1 + (a + d) % 8), a});
            continue;
        }
        for (int e = entriesADay(random); e > 0; --e) {
            const int minutes = length(random) / 15 * 15;
            entries.push_back({day, minute, minutes, pick(random)});
            minute += minutes + 15;
        }
    }
    const auto group = [activities](int a) { return a * 10 / activities + 1; };
    std::filesystem::create_directories(out / "timew" / "data");
    std::ofstream csv{out / "records.csv"};
    std::ofstream timeclock{out / "records.timeclock"};
    std::ofstream{out / "timew" / "timewarrior.cfg"};
    std::map<std::string, std::ofstream> months;
    csv << "date,activity,hours,kind\n";
    for (const Entry& e : entries) {
        char name[64];
        std::snprintf(name, sizeof name, "Group %d. Activity %d", group(e.activity), e.activity);
        csv << isoDay(e.day) << ',' << name << ',' << e.minutes / 60.0 << ",day\n";
        const std::string date =
            e.day.substr(0, 4) + '/' + e.day.substr(4, 2) + '/' + e.day.substr(6, 2);
        timeclock << "i " << date << ' ' << clock(e.startMinute) << " Group " << group(e.activity)
                  << ":Activity " << e.activity << '\n'
                  << "o " << date << ' ' << clock(e.startMinute + e.minutes) << "\n";
        const std::string month = e.day.substr(0, 4) + '-' + e.day.substr(4, 2);
        std::ofstream& data = months[month];
        if (!data.is_open())
            data.open(out / "timew" / "data" / (month + ".data"));
        const auto stamp = [&](int minute) {
            char text[32];
            std::snprintf(text, sizeof text, "%sT%02d%02d00Z", e.day.c_str(), minute / 60,
                          minute % 60);
            return std::string(text);
        };
        data << "inc " << stamp(e.startMinute) << " - " << stamp(e.startMinute + e.minutes)
             << " # \"Group " << group(e.activity) << "\" \"Activity " << e.activity << "\"\n";
    }
    std::printf("%zu entries\n", entries.size());
    return 0;
}
