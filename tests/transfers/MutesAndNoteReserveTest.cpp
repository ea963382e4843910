// The note budget of the four parts (the mutes sent again after a transfer: tests/pages).
#include "TransfersFixture.h"

using Four = std::array<int, 4>;

class NoteReserveTest : public TransfersTest {
protected:
    void Parts(Four filter, Four reserve)
    {
        for (std::size_t p = 0; p < 4; ++p) {
            form->ParameterData.PfmParts[p].FilterSw = filter[p];
            form->ParameterData.PfmParts[p].ReserveNote = reserve[p];
        }
    }
    Four Words(int32_t PfmPart::*word) const
    {
        Four r{};
        for (std::size_t p = 0; p < 4; ++p) r[p] = form->ParameterData.PfmParts[p].*word;
        return r;
    }
    // The reserves BalanceNoteReserve sent (part order, 25 ms apart), checked to be the stored ones.
    Four Balance()
    {
        TakeSent();
        Headless().Sleeps.clear();
        form->BalanceNoteReserve();
        const auto sent = TakeSent();
        Four r{-1, -1, -1, -1};
        for (std::size_t p = 0; p < sent.size() && p < 4; ++p) {
            EXPECT_EQ(Address(sent[p]), (Bytes{uint8_t(0x30 + p), 0x00, 0x00, 0x00, sent[p][8]}));
            r[p] = sent[p][8];
        }
        EXPECT_EQ(Headless().Sleeps, (std::vector<unsigned>{25, 25, 25, 25}));
        EXPECT_EQ(form->UpdatingDisplay, 0);
        EXPECT_EQ(Words(&PfmPart::ReserveNote), r);
        return r;
    }
};

TEST_F(NoteReserveTest, BalanceSharesEachFilterGroupsSixteenNotes)
{
    form->PerformancePage->Pfm_PartTab->SetTabIndex(1);
    const std::tuple<const char*, Four, Four, Four> cases[] = {
        {"part 1 cut to 16; the filter-off spare 3 equals part 4's excess and comes back a note a pass",
         {1, 0, 0, 0},
         {20, 4, 4, 8},
         {16, 4, 4, 8}},
        {"an excess smaller than the spare gets nothing back", {1, 1, 0, 0}, {12, 2, 0, 0}, {8, 2, 0, 0}},
        {"a pass hands out no more single notes than its spare", {1, 1, 1, 1}, {6, 6, 6, 2}, {5, 5, 4, 2}},
        {"reserves stored out of range go out within 0..16", {1, 0, 0, 0}, {-5, 40, 3, 3}, {0, 10, 3, 3}},
    };
    for (const auto& [what, filter, reserves, balanced] : cases) {
        SCOPED_TRACE(what);
        Parts(filter, reserves);
        EXPECT_EQ(Balance(), balanced);
        // The shown part's slider follows.
        EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteBar->Position(), balanced[1]);
        EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteEdit->Text(), std::to_string(balanced[1]));
    }
}

TEST_F(NoteReserveTest, LimitsAreWhatTheOtherPartsOfTheGroupLeaveAndNeverNegative)
{
    TakeSent();
    const std::tuple<Four, Four, Four, Four> cases[] = {
        // filter, reserves, limits, reserves afterwards
        {{0, 0, 0, 0}, {20, 8, 4, 0}, {20, 8, 4, 0}, {20, 8, 4, 0}},
        // part 1 lowered to 12; part 2 counts it as 12 and keeps 20
        {{0, 0, 0, 0}, {20, 20, 0, 0}, {12, 20, 0, 0}, {12, 20, 0, 0}},
        // any filter on: 16 per group, reserves above 16 lowered first
        {{1, 0, 1, 0}, {20, 3, 4, 5}, {12, 11, 4, 13}, {12, 3, 4, 5}},
        // the others of part 1's group hold 25 of its 16 notes: no notes, no negative limit
        {{1, 1, 1, 0}, {16, 16, 9, 0}, {0, 7, 9, 16}, {0, 7, 9, 0}},
        {{0, 0, 0, 0}, {-3, 40, 5, 0}, {0, 27, 5, 0}, {0, 27, 5, 0}},
    };
    for (const auto& [filter, reserves, limits, after] : cases) {
        Parts(filter, reserves);
        EXPECT_NO_THROW(form->UpdateNoteReserveLimits());
        EXPECT_EQ(Words(&PfmPart::ReserveNoteMax), limits);
        EXPECT_EQ(Words(&PfmPart::ReserveNote), after);
        // The slider's range ends at the shown part's limit (part 1 here).
        EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteBar->Max(), limits[0]);
    }
    EXPECT_TRUE(TakeSent().empty());
}
