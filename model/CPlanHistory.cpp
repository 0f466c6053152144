#include "model/CPlanHistory.h"

#include "model/CPlanCheck.h"
#include "model/CQLData.h"

#include <cassert>

namespace {

template <typename Map, typename Value>
void putRecord(Map& weeks, const std::string& week, std::uint16_t id,
               const std::optional<Value>& value) {
    if (value) {
        weeks[week].try_emplace(id).first->second = *value;
        return;
    }
    const auto found = weeks.find(week);
    if (found != weeks.end())
        found->second.erase(id);
}

std::size_t textBytes(const std::string& text) {
    return text.capacity() > 15 ? text.capacity() : 0;
}

std::size_t stateBytes(const std::optional<CPlanHistory::ItemState>& state) {
    if (!state)
        return 0;
    return sizeof(*state) + textBytes(state->name) + textBytes(state->memo) +
           textBytes(state->startDate) + state->children.capacity() * sizeof(IntegerMy);
}

} // namespace

std::size_t CPlanHistory::Patch::bytes() const {
    std::size_t total = sizeof(*this);
    for (const Item& item : items)
        total += sizeof(item) + stateBytes(item.before) + stateBytes(item.after);
    total += averaged.size() * sizeof(Record<CWeekSetAveraged>);
    for (const Record<CWeekSetDetailed>& record : detailed)
        total += sizeof(record) + (record.before ? record.before->dayHours.size() : 0) * 16 +
                 (record.after ? record.after->dayHours.size() : 0) * 16;
    total += weeks.size() * sizeof(Week);
    return total;
}

CPlanHistory::ItemState CPlanHistory::stateOf(const CActivityItem& item) {
    return {item.name,     item.memo,     item.partUnit, item.timePart,
            item.parentId, item.children, item.startDate};
}

void CPlanHistory::apply(CQLData& plan, const Patch& patch, bool forward) {
    plan.forgetComputed();
    for (const Patch::Week& week : patch.weeks)
        if (forward ? week.after : week.before) {
            if (week.detailed)
                plan.detailedWeeks[week.week];
            else
                plan.averagedWeeks[week.week];
        }
    for (const Patch::Item& item : patch.items) {
        const std::optional<ItemState>& state = forward ? item.after : item.before;
        if (!state) {
            plan.items.erase(item.id);
            continue;
        }
        CActivityItem* target = plan.findItem(item.id);
        if (!target)
            target = &plan.addItem(item.id);
        target->name = state->name;
        target->memo = state->memo;
        target->partUnit = state->partUnit;
        target->timePart = state->timePart;
        target->parentId = state->parentId;
        target->children = state->children;
        target->startDate = state->startDate;
    }
    for (const auto& record : patch.averaged)
        putRecord(plan.averagedWeeks, record.week, record.id,
                  forward ? record.after : record.before);
    for (const auto& record : patch.detailed)
        putRecord(plan.detailedWeeks, record.week, record.id,
                  forward ? record.after : record.before);
    for (const Patch::Week& week : patch.weeks)
        if (!(forward ? week.after : week.before)) {
            if (week.detailed)
                plan.detailedWeeks.erase(week.week);
            else
                plan.averagedWeeks.erase(week.week);
        }
}

std::string CPlanHistory::undoDescription() const {
    return canUndo() ? m_steps[m_done - 1].description : std::string{};
}

std::string CPlanHistory::redoDescription() const {
    return canRedo() ? m_steps[m_done].description : std::string{};
}

std::optional<CPlanHistory::Place> CPlanHistory::undo(CQLData& plan) {
    if (!canUndo())
        return std::nullopt;
    const Step& step = m_steps[--m_done];
    for (auto patch = step.patches.rbegin(); patch != step.patches.rend(); ++patch)
        apply(plan, *patch, false);
    assert(CPlanCheck::problem(plan).empty());
    tell();
    return step.place;
}

std::optional<CPlanHistory::Place> CPlanHistory::redo(CQLData& plan) {
    if (!canRedo())
        return std::nullopt;
    const Step& step = m_steps[m_done++];
    for (const Patch& patch : step.patches)
        apply(plan, patch, true);
    assert(CPlanCheck::problem(plan).empty());
    tell();
    return step.place;
}

void CPlanHistory::clear() {
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
    m_stored = 0;
    tell();
}

void CPlanHistory::forgetSteps() {
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
    m_stored.reset();
    tell();
}

void CPlanHistory::push(Step step) {
    while (m_steps.size() > m_done) {
        m_bytes -= m_steps.back().bytes;
        m_steps.pop_back();
    }
    if (m_stored && *m_stored > m_done)
        m_stored.reset(); // the stored plan was among the steps dropped: no undo reaches it
    step.bytes = sizeof(Step) + step.description.capacity();
    for (const Patch& patch : step.patches)
        step.bytes += patch.bytes();
    m_bytes += step.bytes;
    m_steps.push_back(std::move(step));
    m_done = m_steps.size();
    while (m_steps.size() > 1 && (m_steps.size() > m_mostSteps || m_bytes > m_mostBytes))
        dropOldest();
    tell();
}

void CPlanHistory::dropOldest() {
    m_bytes -= m_steps.front().bytes;
    m_steps.pop_front();
    --m_done;
    if (m_stored)
        m_stored = *m_stored == 0 ? std::nullopt : std::optional{*m_stored - 1};
}
