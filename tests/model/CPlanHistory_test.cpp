// Undo and redo against the plan they change: any mix of the user's changes, taken back and done
// again, leaves the stored file byte for byte as it was at that point.

#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanChange.h"
#include "model/CPlanCheck.h"
#include "model/CPlanEditor.h"
#include "model/CPlanFile.h"
#include "tests/support/CRecordingSink.h"
#include "tests/support/PlanBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// One user action with everything it needs, so that it can be made again on a copy.
struct Op {
    enum Kind {
        Hours,
        Name,
        Part,
        Recalculate,
        Transfer,
        Receive,
        InsertActivity,
        InsertDivision,
        Delete,
        Restore,
        Move,
        Memo,
        Import,
        kKinds
    };
    Kind kind = Hours;
    std::int32_t item = -1;
    std::int32_t other = -1;
    double number = 0;
    std::string text;
    std::string day;
};

// A program's engine over a plan: its dates from the fixed today, its questions answered Yes.
struct Session {
    Session() {
        setenv("QLN_TODAY", "20261208", 1);
        started = app.start(QLN_LIBRARY_DIR);
    }
    CQLData& plan() { return doc.plan(); }
    std::string bytes() const { return CPlanFile::write(doc.plan()); }
    void load(const std::string& bytes) {
        ASSERT_EQ(doc.loadBytes(bytes), CHrplDoc::LoadResult::Loaded);
    }

    CRecordingSink sink;
    CAppCore app{sink};
    bool started = false;
    CHrplDoc doc{app};
};

// Makes the action the way the panes make it: one recorded change around the engine's call.
void apply(Session& s, const Op& op) {
    CQLData& plan = s.plan();
    CPlanEditor editor{plan};
    s.sink.answers.assign(4, true);
    switch (op.kind) {
    case Op::Hours: {
        ASSERT_TRUE(s.app.dates().setActiveDay(CMyStringDate{CMyStringDate::parse(op.day)}));
        const CPlanChange change = CPlanChange::hours(plan, op.item, op.text);
        CHoursLedger{plan}.enterHours(op.item, op.text);
        break;
    }
    case Op::Name: {
        const CPlanChange change = CPlanChange::name(plan, op.item);
        plan.setName(*plan.findItem(op.item), op.text);
        break;
    }
    case Op::Part: {
        const CPlanChange change = CPlanChange::timePart(plan, op.item);
        editor.requestTimePart(op.item, op.number);
        break;
    }
    case Op::Recalculate: {
        const CPlanChange change = CPlanChange::timePart(plan, op.item);
        editor.recalculateTo100(op.item, op.number);
        break;
    }
    case Op::Transfer: {
        const CPlanChange change = CPlanChange::timePart(plan, op.item);
        editor.transferPart(op.other, op.item, op.number);
        break;
    }
    case Op::Receive: {
        const CPlanChange change = CPlanChange::timePart(plan, op.item);
        editor.setReceivedPart(op.item, op.number);
        break;
    }
    case Op::InsertActivity:
    case Op::InsertDivision: {
        const bool division = op.kind == Op::InsertDivision;
        const CPlanChange change = CPlanChange::insert(plan, division);
        if (division)
            editor.insertDivision(op.item);
        else
            editor.insertItem(op.item);
        break;
    }
    case Op::Delete: {
        const CPlanChange change = CPlanChange::deletion(plan, op.item);
        editor.deleteItem(*plan.findItem(op.item));
        break;
    }
    case Op::Restore: {
        const CPlanChange change = CPlanChange::restore(plan, {op.item});
        editor.restoreItem(op.item);
        break;
    }
    case Op::Move: {
        const CPlanChange change = CPlanChange::move(plan, op.item);
        editor.moveItem(*plan.findItem(op.item), op.other);
        break;
    }
    case Op::Memo: {
        const CPlanChange change = CPlanChange::memo(plan, op.item);
        plan.storeMemo(op.item, op.text);
        break;
    }
    default:
        s.doc.importCsv(op.text, true);
    }
}

// Random actions of every kind on what the plan holds at the time.
class OpMaker {
public:
    explicit OpMaker(unsigned seed) : m_random(seed) {}

    Op next(Session& s) {
        CQLData& plan = s.plan();
        std::vector<std::int32_t> activities, divisions, detached, live;
        for (const auto& [id, item] : plan.items) {
            if (item->isDetached()) {
                detached.push_back(id);
            } else if (id != CQLData::kRootId) {
                live.push_back(id);
                (item->isDivision() ? divisions : activities).push_back(id);
            }
        }
        divisions.push_back(CQLData::kRootId);
        for (;;) {
            Op op;
            op.kind = static_cast<Op::Kind>(pick(Op::kKinds));
            if (make(op, s, activities, divisions, detached, live))
                return op;
        }
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>{0, count - 1}(m_random); }
    template <typename T> T from(const std::vector<T>& values) {
        return values[static_cast<std::size_t>(pick(static_cast<int>(values.size())))];
    }

    bool make(Op& op, Session& s, const std::vector<std::int32_t>& activities,
              const std::vector<std::int32_t>& divisions, const std::vector<std::int32_t>& detached,
              const std::vector<std::int32_t>& live) {
        static const std::vector<std::string> typed{"1:30", "0:45+0:15", "2", "0", "3.25"};
        const int serial = ++m_serial;
        switch (op.kind) {
        case Op::Hours: {
            if (activities.empty())
                return false;
            op.item = from(activities);
            op.text = from(typed);
            // Mostly this week, now and then far back, in the weeks before the detailed days.
            const int back = pick(4) == 0 ? pick(360) : pick(10);
            op.day = qlndates::addDays(s.app.dates().latestDate().text(), -back);
            return true;
        }
        case Op::Name:
        case Op::Memo:
            if (live.empty())
                return false;
            op.item = from(live);
            op.text = (op.kind == Op::Name ? "Renamed " : "Memo ") + std::to_string(serial);
            return true;
        case Op::Part:
        case Op::Recalculate:
        case Op::Receive:
            if (live.empty())
                return false;
            op.item = from(live);
            op.number = pick(61) * 0.5;
            return true;
        case Op::Transfer:
            if (live.size() < 2)
                return false;
            op.item = from(live);
            op.other = from(live);
            op.number = pick(21) * 0.25;
            return true;
        case Op::InsertActivity:
        case Op::InsertDivision:
            op.item = from(divisions);
            return true;
        case Op::Delete:
            if (live.size() < 4)
                return false;
            op.item = from(live);
            return true;
        case Op::Restore:
            if (detached.empty())
                return false;
            op.item = from(detached);
            return true;
        case Op::Move:
            if (live.empty())
                return false;
            op.item = from(live);
            op.other = from(divisions);
            return true;
        default: {
            const std::string day = qlndates::addDays(s.app.dates().latestDate().text(), -pick(6));
            const std::string date =
                day.substr(0, 4) + "-" + day.substr(4, 2) + "-" + day.substr(6);
            op.text = "date,activity,hours,kind\r\n" + date + ",Imported. Task " +
                      std::to_string(pick(3)) + ",1.5,day\r\n" + date + ",Reading,0.25,day\r\n";
            return true;
        }
        }
    }

    std::mt19937 m_random;
    int m_serial = 0;
};

// A plan of divisions and activities with a year of hours, as a load leaves it.
std::string generatedPlan(int activities, unsigned seed) {
    Session s;
    EXPECT_TRUE(s.started);
    PlanBuilder build{s.plan()};
    build.addActivities(activities, 4);
    build.addYearOfHours(seed);
    Session loaded;
    loaded.load(s.bytes());
    return loaded.bytes();
}

TEST(PlanHistory, TwoThousandChangesUndoneAndRedoneGiveTheSameFileBytes) {
    Session s;
    ASSERT_TRUE(s.started);
    s.load(generatedPlan(24, 3));
    s.plan().history.setLimits(10000, std::size_t{1} << 30);
    const std::string original = s.bytes();
    OpMaker maker{17};
    std::vector<int> kinds(Op::kKinds, 0);
    for (int i = 0; i < 2000; ++i) {
        const Op op = maker.next(s);
        ++kinds[op.kind];
        apply(s, op);
    }
    for (int kind = 0; kind < Op::kKinds; ++kind)
        EXPECT_GT(kinds[static_cast<std::size_t>(kind)], 50) << "kind " << kind;
    const std::string changed = s.bytes();
    ASSERT_NE(changed, original);
    const std::size_t steps = s.plan().history.size();
    EXPECT_GT(steps, 1000u); // most actions changed something
    while (s.plan().history.canUndo())
        ASSERT_TRUE(s.plan().history.undo(s.plan()));
    EXPECT_TRUE(s.bytes() == original);
    EXPECT_EQ(CPlanCheck::problem(s.plan()), "");
    while (s.plan().history.canRedo())
        ASSERT_TRUE(s.plan().history.redo(s.plan()));
    EXPECT_TRUE(s.bytes() == changed);
}

// Undo, redo and new actions mixed at random: the plan is always what making the surviving
// actions afresh on a copy of the original gives.
TEST(PlanHistory, InterleavedUndoRedoAndNewChangesMatchAReplayOfWhatSurvives) {
    Session s;
    ASSERT_TRUE(s.started);
    const std::string original = generatedPlan(16, 5);
    s.load(original);
    s.plan().history.setLimits(10000, std::size_t{1} << 30);
    OpMaker maker{23};
    std::mt19937 random{29};
    std::vector<Op> done;   // the actions in effect, oldest first
    std::vector<Op> undone; // the actions a redo brings back, the next one last
    std::vector<bool> changed;
    for (int i = 1; i <= 1500; ++i) {
        const int choice = std::uniform_int_distribution<int>{0, 9}(random);
        CPlanHistory& history = s.plan().history;
        if (choice < 2 && history.canUndo()) {
            history.undo(s.plan());
            // Actions that changed nothing left no step: replayed or not, they change nothing.
            while (!changed.empty() && !changed.back()) {
                done.pop_back();
                changed.pop_back();
            }
            undone.push_back(done.back());
            done.pop_back();
            changed.pop_back();
        } else if (choice < 4 && history.canRedo()) {
            history.redo(s.plan());
            done.push_back(undone.back());
            undone.pop_back();
            changed.push_back(true);
        } else {
            const std::size_t before = history.size();
            const bool couldRedo = history.canRedo();
            const Op op = maker.next(s);
            apply(s, op);
            const bool recorded = history.size() != before || (couldRedo && !history.canRedo());
            done.push_back(op);
            changed.push_back(recorded);
            if (recorded)
                undone.clear();
        }
        if (i % 100 == 0) {
            Session copy;
            copy.load(original);
            for (const Op& op : done)
                apply(copy, op);
            ASSERT_TRUE(copy.bytes() == s.bytes()) << "after " << i << " steps";
        }
    }
}

TEST(PlanHistory, TheOldestStepsGoFirstAndEveryDescriptionSaysWhatChanged) {
    Session s;
    ASSERT_TRUE(s.started);
    s.load(generatedPlan(4, 2));
    CQLData& plan = s.plan();
    plan.history.setLimits(3, std::size_t{1} << 30);
    const std::int32_t id = plan.activitiesOf(*plan.root()).front();
    const std::string name = plan.fullName(*plan.findItem(id));
    for (const char* typed : {"1", "2", "3", "4"}) {
        const CPlanChange change = CPlanChange::hours(plan, id, typed);
        CHoursLedger{plan}.enterHours(id, typed);
    }
    EXPECT_EQ(plan.history.size(), 3u);
    EXPECT_EQ(plan.history.undoDescription(), "hours 4 on " + name);
    {
        const CPlanChange change = CPlanChange::hours(plan, id, "4");
        CHoursLedger{plan}.enterHours(id, "4"); // the same hours again change nothing
    }
    EXPECT_EQ(plan.history.size(), 3u);
    plan.history.undo(plan);
    EXPECT_EQ(plan.history.redoDescription(), "hours 4 on " + name);
    EXPECT_EQ(plan.history.undoDescription(), "hours 3 on " + name);
    plan.history.setLimits(1000, 1); // a byte limit keeps the newest step alone
    {
        const CPlanChange change = CPlanChange::deletion(plan, id);
        CPlanEditor{plan}.deleteItem(*plan.findItem(id));
    }
    EXPECT_EQ(plan.history.size(), 1u);
    EXPECT_EQ(plan.history.undoDescription(), "delete of " + name);
    EXPECT_FALSE(plan.history.canRedo());
}

} // namespace
