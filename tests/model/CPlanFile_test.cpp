#include "model/CPlanFile.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace {

std::string bytesOf(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

class PlanFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.started); }

    // Reads bytes into a fresh plan; false when the reader refused them.
    bool readsBack(const std::string& bytes) {
        CQLData fresh{*app.core};
        try {
            CPlanFile::read(bytes, fresh);
            return true;
        } catch (const CArchiveError&) {
            return false;
        }
    }

    TestApp app;
};

TEST_F(PlanFileTest, RootOnlyPlanHasTheseExactBytes) {
    CQLData plan{*app.core};
    plan.ensureRoot();
    std::string expected = bytesOf({0, 1, 0, 0, 0, 0xFF, 0xFF, 1, 0, 13, 0});
    expected += "CActivityItem";
    expected += bytesOf({13});
    expected += "Root division";
    expected += bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    expected += std::string(8, '\0');
    expected += bytesOf({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(CPlanFile::write(plan), expected);
}

TEST_F(PlanFileTest, StringLengthsUseTheirThreeForms) {
    CArchiveWriter out;
    out.writeString(std::string(254, 'a'));
    out.writeString(std::string(300, 'b'));
    out.writeString(std::string(0xFFFE, 'c'));
    const std::string& b = out.bytes();
    EXPECT_EQ(static_cast<unsigned char>(b[0]), 254);
    EXPECT_EQ(b.substr(255, 3), bytesOf({0xFF, 0x2C, 0x01}));
    EXPECT_EQ(b.substr(558, 7), bytesOf({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}));
    CArchiveReader in{b, {}};
    EXPECT_EQ(in.readString().size(), 254u);
    EXPECT_EQ(in.readString(), std::string(300, 'b'));
    EXPECT_EQ(in.readString().size(), 0xFFFEu);
    EXPECT_TRUE(in.atEnd());
}

TEST_F(PlanFileTest, CountsAtOrAbove0xFFFFAreEscaped) {
    CArchiveWriter out;
    out.writeCount(0xFFFE);
    out.writeCount(0xFFFF);
    out.writeCount(70000);
    EXPECT_EQ(out.bytes(), bytesOf({0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0x70,
                                    0x11, 0x01, 0x00}));
    // As a count of entries each at least a byte long, they need the bytes to be there.
    CArchiveReader in{out.bytes(), {}};
    EXPECT_THROW(in.readCount(), CArchiveError);
}

TEST_F(PlanFileTest, ClassIndexesBeyond0x7FFFUseTheLongTag) {
    // Over 0x7FFF objects come before the first week map, so its class needs the long form.
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.addActivities(20000, 100);
    plan.averagedWeeks["20261206"][5].weekHours = 2;
    plan.averagedWeeks["20261129"][6].weekHours = 3;
    const std::string bytes = CPlanFile::write(plan);
    const std::string longTag = bytesOf({0xFF, 0x7F});
    EXPECT_NE(bytes.find(longTag), std::string::npos);
    CQLData loaded{*app.core};
    CPlanFile::read(bytes, loaded);
    EXPECT_EQ(loaded.items.size(), plan.items.size());
    EXPECT_EQ(loaded.averagedWeeks, plan.averagedWeeks);
    EXPECT_EQ(CPlanFile::write(loaded), bytes);
}

TEST_F(PlanFileTest, LongTagsNameNewObjectsAndEarlierOnesAndNothingElse) {
    // A class record (index 1, its first object 2), then short-tagged objects up to 0x8000.
    std::string head = bytesOf({0xFF, 0xFF, 1, 0, 1, 0, 'A'});
    for (int i = 3; i <= 0x8000; ++i)
        head += bytesOf({0x01, 0x80});
    const auto tagsAfter = [&head](std::initializer_list<int> tail) {
        const std::string bytes = head + bytesOf(tail);
        CArchiveReader in{bytes, {{"A", 1}}};
        std::vector<CArchiveReader::Tag> tags;
        while (!in.atEnd())
            tags.push_back(in.readTag());
        return tags;
    };
    const std::vector<CArchiveReader::Tag> tags = tagsAfter({
        0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80, // a new object of class 1: 0x8001
        0xFF, 0x7F, 0x02, 0x00, 0x00, 0x00, // the class's first object
        0xFF, 0x7F, 0x01, 0x80, 0x00, 0x00, // the object just read
    });
    ASSERT_EQ(tags.size(), 0x8002u);
    const CArchiveReader::Tag& made = tags[tags.size() - 3];
    EXPECT_EQ(made.kind, CArchiveReader::Tag::Kind::NewObject);
    EXPECT_EQ(made.classId, 0);
    EXPECT_EQ(made.objectIndex, 0x8001u);
    for (const CArchiveReader::Tag* referred : {&tags[tags.size() - 2], &tags.back()}) {
        EXPECT_EQ(referred->kind, CArchiveReader::Tag::Kind::Reference);
        EXPECT_EQ(referred->classId, 0);
    }
    EXPECT_EQ(tags[tags.size() - 2].objectIndex, 2u);
    EXPECT_EQ(tags.back().objectIndex, 0x8001u);
    // A reference to the class record, to an object not read yet or to nothing, and a new
    // object of a class that is not there, are damage.
    EXPECT_THROW(tagsAfter({0xFF, 0x7F, 0x01, 0x00, 0x00, 0x00}), CArchiveError);
    EXPECT_THROW(tagsAfter({0xFF, 0x7F, 0x01, 0x80, 0x00, 0x00}), CArchiveError);
    EXPECT_THROW(tagsAfter({0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00}), CArchiveError);
    EXPECT_THROW(tagsAfter({0xFF, 0x7F, 0x02, 0x00, 0x00, 0x80}), CArchiveError);
    EXPECT_THROW(tagsAfter({0xFF, 0x7F, 0x01, 0x00}), CArchiveError);
}

TEST_F(PlanFileTest, EveryTruncationIsRefused) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.addActivities(3, 2);
    plan.findItem(2)->memo = "memo";
    plan.detailedWeeks["20261206"][2].dayHours[3] = FloatMy{1.5};
    plan.averagedWeeks["20261206"][2].weekHours = 1.5;
    const std::string bytes = CPlanFile::write(plan);
    ASSERT_TRUE(readsBack(bytes));
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(readsBack(bytes.substr(0, length))) << length;
}

TEST_F(PlanFileTest, WrongSchemasUnknownClassesAndNullObjectsAreRefused) {
    CQLData plan{*app.core};
    plan.ensureRoot();
    const std::string good = CPlanFile::write(plan);
    std::string wrongSchema = good;
    wrongSchema[7] = 2;
    EXPECT_FALSE(readsBack(wrongSchema));
    std::string unknownClass = good;
    unknownClass[11] = 'X';
    EXPECT_FALSE(readsBack(unknownClass));
    std::string nullItem = bytesOf({0, 1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(readsBack(nullItem));
}

TEST_F(PlanFileTest, HugeCountsAreDamageNotAllocations) {
    // One item claimed to have 2^32-1 children in a file of a few dozen bytes.
    CQLData plan{*app.core};
    plan.ensureRoot();
    std::string bytes = CPlanFile::write(plan);
    const std::size_t childCount = bytes.size() - 6;
    bytes.replace(childCount, 2, bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(readsBack(bytes));
}

TEST_F(PlanFileTest, ReferencesToEarlierScalarsAreUnderstood) {
    // The root with two children: the second IntegerMy refers to the first object (index 4).
    CArchiveWriter out;
    out.writeString("");
    out.writeCount(1);
    out.writeWord(0);
    out.beginObject("CActivityItem", 1); // class 1, object 2
    out.writeString("Root division");
    out.writeInt32(-1);
    out.writeInt32(0);
    out.writeDouble(0);
    out.writeInt32(2);
    out.writeString("");
    out.writeCount(2);
    out.beginObject("IntegerMy", 1); // class 3, object 4
    out.writeInt32(5);
    out.writeWord(4); // a reference to object 4
    out.writeCount(0);
    out.writeCount(0);
    CQLData loaded{*app.core};
    CPlanFile::read(out.bytes(), loaded);
    ASSERT_EQ(loaded.root()->children.size(), 2u);
    EXPECT_EQ(loaded.root()->children[1].value(), 5);

    // A reference to an item, or to a class record, is refused.
    std::string toItem = out.bytes();
    toItem[toItem.size() - 6] = 2;
    EXPECT_FALSE(readsBack(toItem));
    std::string toClass = out.bytes();
    toClass[toClass.size() - 6] = 3;
    EXPECT_FALSE(readsBack(toClass));
}

// Our own files list keys in order; any other file is sorted on reading, and of a set or a
// day listed twice the last one counts.
TEST_F(PlanFileTest, SetsAndDaysOutOfOrderAreSortedAndARepeatKeepsTheLast) {
    CArchiveWriter out;
    out.writeString("");
    out.writeCount(0); // no items
    out.writeCount(1); // one week of day detail
    out.writeString("20261206");
    out.beginObject("CMapWordToOb", 0);
    out.writeCount(3);
    const auto detailedSet = [&out](std::uint16_t id, std::initializer_list<int> days) {
        out.writeWord(id);
        out.beginObject("CWeekSetDetailed", 1);
        out.writeCount(static_cast<std::uint32_t>(days.size()));
        for (const int day : days) {
            out.writeWord(static_cast<std::uint16_t>(day));
            out.beginObject("FloatMy", 1);
            out.writeDouble(id * 10 + day + (day == 5 ? 0.5 : 0));
        }
    };
    detailedSet(7, {5, 2});
    detailedSet(3, {4, 1, 4});
    detailedSet(7, {6});
    out.writeCount(1); // one week of summaries
    out.writeString("20261206");
    out.beginObject("CMapWordToOb", 0);
    out.writeCount(3);
    for (const std::uint16_t id : {9, 4, 9}) {
        out.writeWord(id);
        out.beginObject("CWeekSetAveraged", 1);
        out.writeDouble(id);
        out.writeDouble(out.bytes().size());
    }
    CQLData loaded{*app.core};
    CPlanFile::read(out.bytes(), loaded);

    const CQLData::DetailedWeek& days = loaded.detailedWeeks.at("20261206");
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days.begin()->first, 3);
    EXPECT_EQ(days.at(7).dayHours.size(), 1u);
    EXPECT_EQ(days.at(7).dayHours.at(6).value(), 76);
    ASSERT_EQ(days.at(3).dayHours.size(), 2u);
    EXPECT_EQ(days.at(3).dayHours.begin()->first, 1);
    EXPECT_EQ(days.at(3).dayHours.at(4).value(), 34);
    const CQLData::AveragedWeek& summaries = loaded.averagedWeeks.at("20261206");
    ASSERT_EQ(summaries.size(), 2u);
    EXPECT_EQ(summaries.begin()->first, 4);
    EXPECT_GT(summaries.at(9).carriedHours, summaries.at(4).carriedHours);
}

TEST_F(PlanFileTest, AStreamedPlanIsTheSameBytesInPiecesAndStopsAtAFailedWrite) {
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.addActivities(800);
    build.addYearOfHours();
    const std::string whole = CPlanFile::write(plan);
    std::vector<std::string> pieces;
    ASSERT_TRUE(CPlanFile::write(plan, [&pieces](std::string_view piece) {
        pieces.emplace_back(piece);
        return true;
    }));
    EXPECT_GT(pieces.size(), 1u);
    std::string joined;
    for (const std::string& piece : pieces)
        joined += piece;
    EXPECT_EQ(joined, whole);

    int offered = 0;
    EXPECT_FALSE(CPlanFile::write(plan, [&offered](std::string_view) {
        ++offered;
        return false;
    }));
    EXPECT_EQ(offered, 1);
}

TEST_F(PlanFileTest, NumbersThatAreNotFiniteAreDamage) {
    CQLData plan{*app.core};
    plan.ensureRoot();
    plan.root()->timePart = 1.0 / 0.0;
    EXPECT_FALSE(readsBack(CPlanFile::write(plan)));
}

} // namespace
