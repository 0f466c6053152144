#include "model/CPlanFile.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/CQLData.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

enum ClassId : int { kItem, kDetailed, kAveraged, kInteger, kFloat, kWordMap };

const std::vector<CArchiveReader::KnownClass> kKnownClasses = {
    {"CActivityItem", 1}, {"CWeekSetDetailed", 1}, {"CWeekSetAveraged", 1},
    {"IntegerMy", 1},     {"FloatMy", 1},          {"CMapWordToOb", 0}};

void begin(CArchiveWriter& out, ClassId id) {
    out.beginObject(kKnownClasses[id].name, kKnownClasses[id].schema);
}

void writeItem(CArchiveWriter& out, const CActivityItem& item) {
    begin(out, kItem);
    out.writeString(item.name);
    out.writeInt32(item.parentId);
    out.writeInt32(item.id);
    out.writeDouble(item.timePart);
    out.writeInt32(item.partUnit);
    out.writeString(item.memo);
    out.writeCount(static_cast<std::uint32_t>(item.children.size()));
    for (const IntegerMy& child : item.children) {
        begin(out, kInteger);
        out.writeInt32(child.value());
    }
}

void writeDetailed(CArchiveWriter& out, const CWeekSetDetailed& set) {
    begin(out, kDetailed);
    out.writeCount(static_cast<std::uint32_t>(set.dayHours.size()));
    for (const auto& [day, hours] : set.dayHours) {
        out.writeWord(day);
        begin(out, kFloat);
        out.writeDouble(hours.value());
    }
}

void writeAveraged(CArchiveWriter& out, const CWeekSetAveraged& set) {
    begin(out, kAveraged);
    out.writeDouble(set.weekHours);
    out.writeDouble(set.carriedHours);
}

template <typename Weeks, typename WriteSet>
void writeWeeks(CArchiveWriter& out, const Weeks& weeks, WriteSet writeSet) {
    out.writeCount(static_cast<std::uint32_t>(weeks.size()));
    for (const auto& [key, week] : weeks) {
        out.writeString(key);
        begin(out, kWordMap);
        out.writeCount(static_cast<std::uint32_t>(week.size()));
        for (const auto& [id, set] : week) {
            out.writeWord(id);
            writeSet(out, set);
        }
    }
}

// A little more than the file will take, from the sizes of its parts.
std::size_t estimatedBytes(const CQLData& plan) {
    std::size_t bytes = 256 + plan.reservedText.size();
    for (const auto& [key, item] : plan.items)
        bytes += 64 + item->name.size() + item->memo.size() + 6 * item->children.size();
    for (const auto& [key, week] : plan.detailedWeeks) {
        bytes += 32;
        for (const auto& [id, set] : week)
            bytes += 8 + 12 * set.dayHours.size();
    }
    for (const auto& [key, week] : plan.averagedWeeks)
        bytes += 32 + 20 * week.size();
    return bytes;
}

void writePlan(CArchiveWriter& out, const CQLData& plan) {
    out.writeString(plan.reservedText);
    out.writeCount(static_cast<std::uint32_t>(plan.items.size()));
    for (const auto& [key, item] : plan.items) {
        out.writeWord(key);
        writeItem(out, *item);
    }
    writeWeeks(out, plan.detailedWeeks, writeDetailed);
    writeWeeks(out, plan.averagedWeeks, writeAveraged);
}

// Reads the objects of one plan. Only the two scalar classes may be referenced again: an item,
// a set or a map shared by two owners cannot be represented and is refused as damage.
class PlanReader {
public:
    // Thrown at the first reference to a scalar when their values are not being kept.
    struct ScalarsNeeded {};

    PlanReader(std::string_view bytes, bool keepScalars)
        : m_in(bytes, kKnownClasses), m_keepScalars(keepScalars) {}

    void read(CQLData& plan) {
        plan.reservedText = m_in.readString();
        readItems(plan);
        readWeeks(
            plan.detailedWeeks, [this](CWeekSetDetailed& set) { readDetailed(set); }, kDetailed);
        readWeeks(
            plan.averagedWeeks, [this](CWeekSetAveraged& set) { readAveraged(set); }, kAveraged);
    }

private:
    static constexpr std::size_t kMinObjectBytes = 2;

    CArchiveReader::Tag expectNew(ClassId id) {
        const CArchiveReader::Tag tag = m_in.readTag();
        if (tag.kind != CArchiveReader::Tag::Kind::NewObject || tag.classId != id)
            throw CArchiveError("unexpected object");
        return tag;
    }

    double finite(double value) {
        if (!std::isfinite(value))
            throw CArchiveError("number out of range");
        return value;
    }

    // IntegerMy and FloatMy: a new object or a reference to one read before.
    double readScalar(ClassId id) {
        const CArchiveReader::Tag tag = m_in.readTag();
        if (tag.classId != id || tag.kind == CArchiveReader::Tag::Kind::Null)
            throw CArchiveError("unexpected object");
        if (tag.kind == CArchiveReader::Tag::Kind::Reference) {
            if (!m_keepScalars)
                throw ScalarsNeeded{};
            return scalarAt(tag.objectIndex);
        }
        const double value = id == kInteger ? m_in.readInt32() : finite(m_in.readDouble());
        if (m_keepScalars) {
            m_scalarIndexes.push_back(tag.objectIndex);
            m_scalarValues.push_back(value);
        }
        return value;
    }

    // Scalars arrive in object order, so the list is sorted by index.
    double scalarAt(std::uint32_t objectIndex) const {
        const auto found =
            std::lower_bound(m_scalarIndexes.begin(), m_scalarIndexes.end(), objectIndex);
        if (found == m_scalarIndexes.end() || *found != objectIndex)
            throw CArchiveError("reference to no scalar");
        return m_scalarValues[static_cast<std::size_t>(found - m_scalarIndexes.begin())];
    }

    void readItems(CQLData& plan) {
        const std::uint32_t count = m_in.readCount(2 + kMinObjectBytes);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint16_t key = m_in.readWord();
            expectNew(kItem);
            auto item = std::make_unique<CActivityItem>(-1, std::string());
            item->name = m_in.readString();
            item->parentId = m_in.readInt32();
            item->id = m_in.readInt32();
            item->timePart = finite(m_in.readDouble());
            item->partUnit = m_in.readInt32();
            item->memo = m_in.readString();
            const std::uint32_t children = m_in.readCount(kMinObjectBytes);
            item->children.reserve(children);
            for (std::uint32_t c = 0; c < children; ++c)
                item->children.emplace_back(static_cast<std::int32_t>(readScalar(kInteger)));
            plan.items.put(key, std::move(item));
        }
    }

    void readDetailed(CWeekSetDetailed& set) {
        const std::uint32_t count = m_in.readCount(2 + kMinObjectBytes);
        std::vector<std::pair<std::uint16_t, FloatMy>> days;
        days.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint16_t day = m_in.readWord();
            days.emplace_back(day, FloatMy{readScalar(kFloat)});
        }
        set.dayHours.assign(std::move(days));
    }

    void readAveraged(CWeekSetAveraged& set) {
        set.weekHours = finite(m_in.readDouble());
        set.carriedHours = finite(m_in.readDouble());
    }

    template <typename Weeks, typename ReadSet>
    void readWeeks(Weeks& weeks, ReadSet readSet, ClassId setClass) {
        const std::uint32_t count = m_in.readCount(1 + kMinObjectBytes);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string key = m_in.readString();
            expectNew(kWordMap);
            const std::uint32_t setCount = m_in.readCount(2 + kMinObjectBytes);
            // Collected and sorted at once: a file that lists the sets out of order must not
            // make every insertion move the others.
            std::vector<typename Weeks::mapped_type::value_type> sets(setCount);
            for (auto& [id, set] : sets) {
                id = m_in.readWord();
                expectNew(setClass);
                readSet(set);
            }
            // A repeated week or set keeps the last value.
            weeks.try_emplace(weeks.end(), std::move(key))->second.assign(std::move(sets));
        }
    }

    CArchiveReader m_in;
    // Only the scalars, not a slot for every object (week sets and maps need none): their
    // object indexes, ascending, and beside them their values. Our own files never refer to
    // a scalar again, so the table is kept only on a second read of a file that does: for a
    // year of hours it was the largest thing a load allocated.
    bool m_keepScalars;
    std::vector<std::uint32_t> m_scalarIndexes;
    std::vector<double> m_scalarValues;
};

} // namespace

std::string CPlanFile::write(const CQLData& plan) {
    CArchiveWriter out;
    out.reserve(estimatedBytes(plan));
    writePlan(out, plan);
    return out.takeBytes();
}

bool CPlanFile::write(const CQLData& plan, const std::function<bool(std::string_view)>& append) {
    CArchiveWriter out;
    out.streamTo(append);
    out.reserve(estimatedBytes(plan));
    writePlan(out, plan);
    return out.finishStream();
}

void CPlanFile::read(std::string_view bytes, CQLData& plan) {
    try {
        PlanReader{bytes, false}.read(plan);
    } catch (const PlanReader::ScalarsNeeded&) {
        plan.clear();
        PlanReader{bytes, true}.read(plan);
    }
}
