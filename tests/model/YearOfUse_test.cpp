// Four hundred days of use, one program start a day: the plan is loaded from disk, hours are
// typed the way the input pane takes them (some days as whole weeks in the past), items are
// now and then inserted, deleted, moved and restored, and the plan is saved. A shadow record
// of everything typed checks every day that no hours inside the kept period were lost or
// changed, that the stored carries are what the ledger computes, and that the file stays
// bounded as old weeks fall out, and that plan and archive together keep every hour typed.

#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CHoursArchive.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPeriodHours.h"
#include "model/CPlanEditor.h"
#include "parse/CInputSumEvaluator.h"
#include "tests/support/CRecordingSink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>

namespace {

using Key = std::pair<std::uint16_t, std::string>; // activity, date or week key

std::string dateText(std::chrono::sys_days day) {
    return CMyStringDate{day}.text();
}

qlndates::Date dateOf(const std::string& text) {
    CMyStringDate date;
    date.setText(text);
    return date.date();
}

std::string weekOf(const std::string& text) {
    return qlndates::weekStartText(dateOf(text));
}

class YearOfUse {
public:
    explicit YearOfUse(const std::string& path) : m_path(path) {}

    // One day: start, load, check, type, edit, save, close.
    void live(std::chrono::sys_days today) {
        setenv("QLN_TODAY", dateText(today).c_str(), 1);
        CRecordingSink sink;
        sink.answers.assign(100, true); // confirmations are Yes
        CAppCore app{sink};
        ASSERT_TRUE(app.start(QLN_LIBRARY_DIR));
        CHrplDoc doc{app};
        const CHrplDoc::LoadResult loaded = doc.load(m_path);
        ASSERT_TRUE(loaded == CHrplDoc::LoadResult::Loaded ||
                    (m_day == 0 && loaded == CHrplDoc::LoadResult::NotFound));
        if (m_day == 0)
            createPlan(doc.plan());
        check(doc.plan(), app);
        typeHours(doc.plan(), app, today);
        edit(doc.plan());
        ASSERT_TRUE(doc.saveAndRelease(m_path)) << dateText(today);
        if (m_day == 0 && !sink.texts.empty() && sink.texts.front() == CHrplDoc::kDamaged)
            sink.texts.erase(sink.texts.begin()); // the first start makes the file
        for (const std::string& text : sink.texts)
            ADD_FAILURE() << dateText(today) << ": " << text;
        ++m_day;
    }

    // Plan and archive together hold every hour typed, of live and deleted activities alike:
    // the hours of any month, and of the whole time, are what was typed for it.
    void checkEveryHour(std::chrono::sys_days today) {
        setenv("QLN_TODAY", dateText(today).c_str(), 1);
        CRecordingSink sink;
        CAppCore app{sink};
        ASSERT_TRUE(app.start(QLN_LIBRARY_DIR));
        CHrplDoc doc{app};
        ASSERT_EQ(doc.loadInMemory(m_path), CHrplDoc::LoadResult::Loaded);
        std::vector<CArchivedHours> archive;
        ASSERT_TRUE(CHoursArchive::readForPlan(m_path, archive));
        std::vector<std::pair<std::string, std::string>> periods{{"20000101", "20991231"}};
        for (auto month = std::chrono::year{2025} / 11; month <= std::chrono::year{2026} / 12;
             month += std::chrono::months{1})
            periods.emplace_back(dateText(month / 1), dateText(month / std::chrono::last));
        for (const auto& [first, last] : periods) {
            const CPeriodHours hours{doc.plan(), archive, first, last};
            double found = 0;
            for (const auto& [id, spent] : hours.ofItems())
                found += spent;
            for (const auto& [name, spent] : hours.ofGone())
                found += spent;
            EXPECT_NEAR(found, typedIn(first, last), 1e-2) << first << " to " << last;
        }
    }

private:
    double typedIn(const std::string& first, const std::string& last) const {
        double sum = 0;
        for (const auto& [key, hours] : m_days)
            if (key.second >= first && key.second <= last &&
                !m_weeks.count({key.first, weekOf(key.second)}))
                sum += hours;
        for (const auto& [key, hours] : m_weeks)
            if (key.second >= first && key.second <= last)
                sum += hours;
        return sum;
    }

    void createPlan(CQLData& plan) {
        CPlanEditor editor{plan};
        plan.ensureRoot();
        for (int d = 0; d < 3; ++d)
            m_divisions.push_back(*editor.insertDivision(CQLData::kRootId));
        for (const std::uint16_t division : m_divisions)
            for (const std::uint16_t id : plan.activitiesOf(*plan.findItem(division)))
                m_activities.push_back(id);
        for (int a = 0; a < 5; ++a)
            m_activities.push_back(
                *editor.insertItem(m_divisions[static_cast<std::size_t>(a % 3)]));
        for (const std::uint16_t id : m_activities)
            editor.changeTimePart(id, 100.0 / 16);
    }

    std::vector<std::uint16_t> liveActivities(const CQLData& plan) const {
        std::vector<std::uint16_t> live;
        for (const std::uint16_t id : m_activities)
            if (const CActivityItem* item = plan.findItem(id); item && !item->isDetached())
                live.push_back(id);
        return live;
    }

    // The way the input pane takes typed hours; the ledger picks the day or the week itself.
    // The evaluated hours come back for the expected totals.
    bool type(CQLData& plan, CAppCore& app, std::uint16_t id, const std::string& text,
              bool wholeWeek, double& hours) {
        const CInputSumEvaluator evaluator{app.library(), app.messages()};
        return app.dates().activeWeekShown() == wholeWeek &&
               evaluator.evaluateInputSum(text, hours, CInputSumEvaluator::Mode::Time) &&
               CHoursLedger{plan}.enterHours(id, text);
    }

    void typeHours(CQLData& plan, CAppCore& app, std::chrono::sys_days today) {
        const std::vector<std::uint16_t> live = liveActivities(plan);
        std::uniform_int_distribution<int> minutes{0, 59};
        std::uniform_int_distribution<int> wholeHours{0, 4};
        for (int entry = 0; entry < 3 && !live.empty(); ++entry) {
            const std::uint16_t id = live[m_random() % live.size()];
            // Mostly today or yesterday; now and then a day a few weeks back.
            const int back = m_random() % 7 == 0 ? 1 + static_cast<int>(m_random() % 40)
                                                 : static_cast<int>(m_random() % 2);
            const std::string day = dateText(today - std::chrono::days{back});
            ASSERT_TRUE(app.dates().setActiveDay(CMyStringDate{today - std::chrono::days{back}}));
            char text[32];
            std::snprintf(text, sizeof text, "%d:%02d+0:15", wholeHours(m_random),
                          minutes(m_random));
            double hours = 0;
            ASSERT_TRUE(type(plan, app, id, text, false, hours)) << day << " " << text;
            m_days[{id, day}] = hours;
        }
        if (m_day % 9 == 4 && !live.empty()) { // a whole week typed in the past
            const std::chrono::sys_days day = today - std::chrono::weeks{10 + m_random() % 30};
            ASSERT_TRUE(app.dates().setActiveDay(CMyStringDate{day}));
            const std::uint16_t id = live[m_random() % live.size()];
            double hours = 0;
            ASSERT_TRUE(type(plan, app, id, "20:30+4", true, hours));
            const std::string week = weekOf(dateText(day));
            m_weeks[{id, week}] = hours;
            std::erase_if(m_days, [&](const auto& entry) {
                return entry.first.first == id && weekOf(entry.first.second) == week;
            });
        }
    }

    void edit(CQLData& plan) {
        CPlanEditor editor{plan};
        std::vector<std::uint16_t> live = liveActivities(plan);
        if (m_day % 20 == 7) {
            const std::uint16_t division = m_divisions[m_random() % m_divisions.size()];
            const auto added = editor.insertItem(division);
            ASSERT_TRUE(added.has_value());
            m_activities.push_back(*added);
        }
        if (m_day % 30 == 11 && live.size() > 4) {
            CActivityItem* gone = plan.findItem(live[m_random() % live.size()]);
            editor.deleteItem(*gone);
            ASSERT_TRUE(gone->isDetached());
        }
        if (m_day % 45 == 23) {
            const auto candidates = editor.restoreCandidates();
            if (!candidates.empty()) {
                ASSERT_TRUE(editor.restoreItem(candidates.front().id));
            }
        }
        live = liveActivities(plan);
        if (m_day % 25 == 13 && !live.empty()) {
            CActivityItem* moved = plan.findItem(live[m_random() % live.size()]);
            const std::uint16_t destination = m_divisions[m_random() % m_divisions.size()];
            if (moved->parentId != destination && plan.findItem(destination)->isDivision())
                editor.moveItem(*moved, destination);
        }
    }

    void check(CQLData& plan, CAppCore& app) {
        const std::string detailed = app.dates().detailedStart().text();
        const std::string kept = app.dates().keptStart().text();
        std::map<Key, double> expected = m_weeks;
        for (const auto& [key, hours] : m_days) {
            const std::string week = weekOf(key.second);
            if (key.second >= detailed) {
                const double stored =
                    plan.dayHours(week, key.first, qlndates::dayOfWeek(dateOf(key.second)));
                EXPECT_NEAR(stored, hours, 1e-5) << "day " << key.second << " of " << key.first;
            }
            if (!m_weeks.count({key.first, week}))
                expected[{key.first, week}] += hours;
        }
        for (const auto& [key, hours] : expected) {
            if (key.second < kept)
                continue;
            EXPECT_NEAR(plan.weekHours(key.second, key.first), hours, 1e-4 + 2e-7 * hours)
                << "week " << key.second << " of " << key.first << " on day " << m_day;
            EXPECT_NE(plan.findItem(key.first), nullptr) << "an item with kept hours vanished";
        }
        // The stored carries are what the ledger computes from the stored week totals.
        const auto stored = plan.averagedWeeks;
        CHoursLedger{plan}.recomputeCarries(kept, app.dates().latestDate().text());
        for (const auto& [week, sets] : plan.averagedWeeks)
            for (const auto& [id, set] : sets) {
                const auto before = stored.find(week);
                ASSERT_NE(before, stored.end());
                const auto old = before->second.find(id);
                ASSERT_NE(old, before->second.end());
                EXPECT_NEAR(old->second.carriedHours, set.carriedHours,
                            1e-4 + 1e-6 * set.carriedHours);
            }
        // Nothing older than the kept period stays in the file.
        if (!plan.averagedWeeks.empty()) {
            EXPECT_GE(plan.averagedWeeks.begin()->first, weekOf(kept));
        }
    }

    std::string m_path;
    int m_day = 0;
    std::mt19937 m_random{2026};
    std::vector<std::uint16_t> m_divisions;
    std::vector<std::uint16_t> m_activities;
    std::map<Key, double> m_days;
    std::map<Key, double> m_weeks;
};

TEST(YearOfUseTest, FourHundredDaysLoseNoHoursAndTheFileStaysBounded) {
    TempDir dir;
    const std::string path = dir.file("plan.qln");
    YearOfUse life{path};
    const std::chrono::sys_days first = std::chrono::year{2025} / 11 / 3;
    std::uintmax_t sizeAfterAYear = 0;
    for (int day = 0; day < 400; ++day) {
        life.live(first + std::chrono::days{day});
        if (::testing::Test::HasFatalFailure())
            return;
        if (day == 370)
            sizeAfterAYear = std::filesystem::file_size(path);
    }
    life.checkEveryHour(first + std::chrono::days{399});
    const std::uintmax_t finalSize = std::filesystem::file_size(path);
    EXPECT_LT(finalSize, sizeAfterAYear * 11 / 10); // old weeks fall out as new ones come
    EXPECT_LT(finalSize, 200u * 1024);
}

} // namespace
