// The window coordination's protocol side: the block's tag text, the flag bytes and the
// holder's phases, against a real shared block and the named mutex.

#include "companion/CCompanionBlock.h"
#include "companion/CTpBttmCrdntr.h"
#include "companion/CTpBttmCrdntrHldr.h"
#include "companion/CTpBttmShrdFlgs.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Offsets = CTpBttmShrdFlgs::Offsets;

bool parse(const std::string& text, Offsets& offsets, std::size_t size = 128) {
    return CTpBttmShrdFlgs::parseTags(text, size, offsets);
}

TEST(BlockText, TagsInAnyOrderWithBlanksAroundTheValues) {
    Offsets o;
    ASSERT_TRUE(parse("<AltTab/> 66 <qlnPos/>64\t<ecnPos/>65<", o));
    EXPECT_EQ(o.program, 64);
    EXPECT_EQ(o.companion, 65);
    EXPECT_EQ(o.takeover, 66);
    ASSERT_TRUE(parse("<qlnPos/>70x<ecnPos/>71<AltTab/>abc<", o)); // leading digits; none is 0
    EXPECT_EQ(o.program, 70);
    EXPECT_EQ(o.takeover, 0);
}

TEST(BlockText, BadTexts) {
    Offsets o;
    const char* bad[] = {
        "<qlnPos/>64<ecnPos/>65<AltTab/>66",   // the last value has no "<" after it
        "<qlnPos/>64<ecnPos/>65<AltTab/>",     // nothing after the last tag
        "<qlnPos/>64<ecnPos/>  <AltTab/>66<",  // an empty value
        "<qlnPos/>64<AltTab/>66<",             // a tag missing
        "<qlnPos/>64<ecnPos/>65<AltTab/>128<", // outside a 128-byte block
        "<qlnPos/>-1<ecnPos/>65<AltTab/>66<",  // before the block
        "<qlnPos/>99999999999<ecnPos/>65<AltTab/>66<",
        "",
    };
    for (const char* text : bad)
        EXPECT_FALSE(parse(text, o)) << text;
    EXPECT_TRUE(parse("<qlnPos/>64<ecnPos/>65<AltTab/>127<", o));
}

class HolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        CTpBttmCrdntr::resetProcessState();
        ASSERT_TRUE(block.isValid());
    }

    char own() const { return block.byteAt(CCompanionBlock::kProgramOffset); }
    char takeover() const { return block.byteAt(CCompanionBlock::kTakeoverOffset); }
    void partner(bool on) { block.setByte(CCompanionBlock::kCompanionOffset, on ? '1' : '0'); }

    CCompanionBlock block;
};

TEST_F(HolderTest, NothingToAttachFinishesAtOnce) {
    CTpBttmCrdntrHldr alone{true, false, 0};
    EXPECT_EQ(alone.phase(), CTpBttmCrdntrDtchd::kFinished);
    EXPECT_TRUE(alone.disabled());
    EXPECT_FALSE(alone.timerCheck()); // finished but disabled: the timer keeps nothing
    CTpBttmCrdntrHldr noHandle{true, true, 0};
    EXPECT_EQ(noHandle.phase(), CTpBttmCrdntrDtchd::kFinished);
    EXPECT_TRUE(noHandle.timerCheck());
    EXPECT_TRUE(noHandle.startupCheck());
}

bool isOpen(int descriptor) {
    return fcntl(descriptor, F_GETFD) != -1;
}

TEST_F(HolderTest, AttachFailuresAreSilentAndFinish) {
    CCompanionBlock badText{"<qlnPos/>64<ecnPos/>65<AltTab/>66"};
    const int handed = badText.duplicate();
    CTpBttmCrdntrHldr bad{true, true, handed};
    EXPECT_FALSE(bad.hasAttached());
    EXPECT_EQ(bad.phase(), CTpBttmCrdntrDtchd::kFinished);
    EXPECT_FALSE(isOpen(handed));
    // An offset past the block's end is never read or written.
    CCompanionBlock pastTheEnd{"<qlnPos/>200<ecnPos/>65<AltTab/>66<"};
    CTpBttmCrdntrHldr far{true, true, pastTheEnd.duplicate()};
    EXPECT_FALSE(far.hasAttached());
    const int empty = open("/dev/null", O_RDWR);
    CTpBttmCrdntrHldr unmappable{true, true, empty};
    EXPECT_FALSE(unmappable.hasAttached());
    close(empty);
    CTpBttmCrdntrHldr closed{true, true, 987654};
    EXPECT_FALSE(closed.hasAttached());
}

TEST_F(HolderTest, TheFirstUserActionAnnouncesTheTakeOverAndRunning) {
    CTpBttmCrdntrHldr holder{true, true, block.duplicate()};
    ASSERT_TRUE(holder.hasAttached());
    EXPECT_EQ(holder.phase(), CTpBttmCrdntrDtchd::kStarting);
    EXPECT_TRUE(holder.startupCheck());
    EXPECT_FALSE(holder.timerCheck()); // nobody took over yet: stay on top
    holder.current().setOwnOn();       // detached while starting: writes nothing
    EXPECT_EQ(own(), '0');
    EXPECT_EQ(holder.step(), 0);
    EXPECT_EQ(holder.phase(), CTpBttmCrdntrDtchd::kRunning);
    EXPECT_EQ(takeover(), '1');
    holder.current().setOwnOn();
    EXPECT_EQ(own(), '1');
    // Running: on top only when off while the partner is on.
    holder.current().setOwnOff();
    partner(true);
    EXPECT_EQ(holder.step(), 1);
    EXPECT_EQ(holder.phase(), CTpBttmCrdntrDtchd::kRunning);
    // Neither side on: finished for good.
    partner(false);
    EXPECT_EQ(holder.step(), 0);
    EXPECT_EQ(holder.phase(), CTpBttmCrdntrDtchd::kFinished);
    EXPECT_FALSE(holder.hasAttached());
    partner(true);
    EXPECT_EQ(holder.step(), 0);
}

TEST_F(HolderTest, ThePartnersAnnouncementEndsTheStartOnTheNextTick) {
    CTpBttmCrdntrHldr holder{false, true, block.duplicate()};
    EXPECT_FALSE(holder.startupCheck()); // the companion was named first: it starts in front
    block.setByte(CCompanionBlock::kTakeoverOffset, '1');
    EXPECT_TRUE(holder.timerCheck());
    EXPECT_EQ(holder.phase(), CTpBttmCrdntrDtchd::kRunning);
}

TEST_F(HolderTest, AltTabWhileStartingIsAnnouncedOnTheNextActivation) {
    CTpBttmCrdntrHldr holder{true, true, block.duplicate()};
    EXPECT_EQ(holder.activateCheck(), 0); // an activation without a take-over changes nothing
    EXPECT_EQ(holder.phase(), CTpBttmCrdntrDtchd::kStarting);
    CTpBttmCrdntr::keyEvent(true, false, false); // Tab alone
    EXPECT_FALSE(CTpBttmCrdntr::processTakeoverSeen());
    EXPECT_TRUE(CTpBttmCrdntr::hookInstalled());
    CTpBttmCrdntr::keyEvent(true, false, true); // Alt+Tab
    EXPECT_TRUE(CTpBttmCrdntr::processTakeoverSeen());
    holder.activateCheck();
    EXPECT_EQ(takeover(), '1');
    EXPECT_EQ(holder.phase(), CTpBttmCrdntrDtchd::kRunning);
    EXPECT_FALSE(CTpBttmCrdntr::hookInstalled());
}

TEST_F(HolderTest, OtherBytesReadAsOffAndTheLastCoordinatorReleasesEverything) {
    const int handed = block.duplicate();
    {
        CTpBttmCrdntrHldr holder{true, true, handed};
        holder.step();
        block.setByte(CCompanionBlock::kCompanionOffset, 'x');
        EXPECT_FALSE(holder.current().partnerOn());
        block.setByte(CCompanionBlock::kCompanionOffset, '1');
        EXPECT_TRUE(holder.current().partnerOn());
    }
    EXPECT_FALSE(CTpBttmCrdntr::hookInstalled());
    EXPECT_FALSE(isOpen(handed));
    // The mutex was left free: the companion can still take it at once.
    block.setByte(CCompanionBlock::kCompanionOffset, '0');
    EXPECT_EQ(block.byteAt(CCompanionBlock::kCompanionOffset), '0');
}

} // namespace
