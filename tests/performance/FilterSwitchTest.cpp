// The part filter switch and the note reserve on the part sheet, with the window's note budget:
// the rows it switches, the balanced reserves (order and pauses), the switch's own message last,
// the limits each part then shows, and the reserve box within them.
#include "tests/performance/PerformanceFixture.h"

namespace {

using P = PfmPair;

const P FilterRows[] = {P::Pfm_Part_FilterFreq, P::Pfm_Part_FilterReso, P::Pfm_Part_FilterEGDepth,
                        P::Pfm_Part_LFO2Speed, P::Pfm_Part_LFO2FltMod};

class FilterSwitchTest : public PerformancePageTest {
protected:
    // Loads the filter switches and reserves as a load does and shows part `shown`.
    void Load(Four filter, Four reserve, int shown)
    {
        for (std::size_t p = 0; p < 4; ++p) {
            Part(int(p)).FilterSw = filter[p];
            Part(int(p)).ReserveNote = reserve[p];
        }
        Refresh();
        ClickPart(shown);
    }
    // The five filter rows: label, slider and value box each, all in the same state.
    bool FilterRowsEnabled(bool on)
    {
        for (P id : FilterRows) {
            const TValuePair& row = page->Pair(id);
            if (row.Text->Enabled() != on || row.Bar->Enabled() != on || row.Edit->Enabled() != on) return false;
        }
        return true;
    }
    // The limit and reserve the part sheet shows for part p.
    void ExpectReserveShown(int p, int limit, int reserve)
    {
        ClickPart(p);
        EXPECT_EQ(page->Pfm_Part_ReserveNoteBar->Max(), limit) << "part " << p + 1;
        EXPECT_EQ(page->Pfm_Part_ReserveNoteBar->Position(), reserve) << "part " << p + 1;
        EXPECT_EQ(page->Pfm_Part_ReserveNoteEdit->Text(), std::to_string(reserve)) << "part " << p + 1;
    }
    void ExpectSwitchStored(int p, int on)
    {
        EXPECT_EQ(Part(p).FilterSw, on);
        EXPECT_EQ(form->ParameterData.VoiceRecords[std::size_t(p)].VoiceCommon.FilterSw, on);
        EXPECT_EQ(form->DataChanged, 1);
    }
};

} // namespace

// No filter on, reserves 10, 10, 10, 2: part 1 keeps 10 of its 16; the filter-off share is 5, the
// free notes 3 + 16 mod 3 = 4, handed back one a pass to parts 2 and 3, then one each again.
TEST_F(FilterSwitchTest, TurningAFilterOnBalancesTheFourReservesBeforeTheSwitchIsSent)
{
    Load({0, 0, 0, 0}, {10, 10, 10, 2}, 0);
    ASSERT_TRUE(FilterRowsEnabled(false));
    std::vector<bool> rowsEnabledAtMessage;
    Answers = [&](const Bytes&) {
        pausesBefore.push_back(Headless().Sleeps.size());
        rowsEnabledAtMessage.push_back(FilterRowsEnabled(true));
        return true;
    };

    ASSERT_TRUE(page->Pfm_Part_FilterSw->UserClicks(1));
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{PartChange(0x30, 0x00, 0x0A), PartChange(0x31, 0x00, 0x07),
                                              PartChange(0x32, 0x00, 0x07), PartChange(0x33, 0x00, 0x02),
                                              PartChange(0x30, 0x07, 0x01)}));
    // 25 ms after each reserve; the rows were on before the first message went out.
    EXPECT_EQ(Headless().Sleeps, (std::vector<unsigned>{25, 25, 25, 25}));
    EXPECT_EQ(pausesBefore, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(rowsEnabledAtMessage, std::vector<bool>(5, true));
    EXPECT_EQ(form->UpdatingDisplay, 0);
    ExpectSwitchStored(0, 1);
    EXPECT_EQ(Words(&PfmPart::ReserveNote), (Four{10, 7, 7, 2}));
    EXPECT_EQ(Words(&PfmPart::ReserveNoteMax), (Four{16, 7, 7, 2}));
    EXPECT_TRUE(FilterRowsEnabled(true));

    ExpectReserveShown(0, 16, 10);
    ExpectReserveShown(1, 7, 7);
    ExpectReserveShown(3, 2, 2);
    EXPECT_TRUE(FilterRowsEnabled(false)); // part 4's filter is off
    EXPECT_TRUE(TakeSent().empty());
}

// Parts 1 and 2 on with 8 each, parts 3 and 4 off with 8 each: part 2 joins the filter-off parts,
// which already hold their 16 notes. Its reserve drops to 0 on the slider, which sends it before
// the switch; nothing is balanced and nothing waits.
TEST_F(FilterSwitchTest, TurningAFilterOffSendsTheShownPartsLoweredReserveFirst)
{
    Load({1, 1, 0, 0}, {8, 8, 8, 8}, 1);
    ASSERT_EQ(page->Pfm_Part_ReserveNoteBar->Position(), 8);
    ASSERT_TRUE(FilterRowsEnabled(true));
    ASSERT_TRUE(page->Pfm_Part_FilterSw->UserClicks(0));
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{PartChange(0x31, 0x00, 0x00), PartChange(0x31, 0x07, 0x00)}));
    EXPECT_TRUE(Headless().Sleeps.empty());
    ExpectSwitchStored(1, 0);
    EXPECT_TRUE(FilterRowsEnabled(false));
    EXPECT_EQ(Words(&PfmPart::ReserveNote), (Four{8, 0, 8, 8}));
    EXPECT_EQ(Words(&PfmPart::ReserveNoteMax), (Four{16, 0, 8, 8}));
    EXPECT_EQ(page->Pfm_Part_ReserveNoteBar->Max(), 0);
    EXPECT_EQ(page->Pfm_Part_ReserveNoteEdit->Text(), "0");

    // The reserve box of a part whose limit is 0 shows "0" for anything typed and sends nothing.
    ASSERT_TRUE(page->Pfm_Part_ReserveNoteEdit->UserSetsText("9"));
    EXPECT_EQ(page->Pfm_Part_ReserveNoteEdit->Text(), "0");
    EXPECT_TRUE(TakeSent().empty());
}

// The reserve slider and box of part 2 within the limit the budget leaves it (8 of the 16 its
// group shares with part 1); the box steps by 1 and 2 and stops at the limit.
TEST_F(FilterSwitchTest, ReserveBoxTakesNumbersAndKeysUpToThePartsLimit)
{
    Load({1, 1, 0, 0}, {8, 0, 0, 0}, 1);
    ASSERT_EQ(page->Pfm_Part_ReserveNoteBar->Max(), 8);
    TEdit* box = page->Pfm_Part_ReserveNoteEdit;
    ASSERT_TRUE(box->UserSetsText("9"));
    EXPECT_EQ(page->Pfm_Part_ReserveNoteBar->Position(), 8);
    EXPECT_EQ(Part(1).ReserveNote, 8);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{PartChange(0x31, 0x00, 0x08)});
    EXPECT_EQ(form->DataChanged, 1);

    ASSERT_TRUE(box->KeyDown(VK_PRIOR));
    EXPECT_TRUE(TakeSent().empty()); // already at the limit
    ASSERT_TRUE(box->KeyDown(VK_NEXT));
    ASSERT_TRUE(box->KeyDown(VK_DOWN));
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{PartChange(0x31, 0x00, 0x06), PartChange(0x31, 0x00, 0x05)}));
    EXPECT_EQ(box->Text(), "5");
    EXPECT_EQ(Part(1).ReserveNote, 5);
    // The slider does not rebalance: the others keep their reserves and stored limits.
    EXPECT_EQ(Part(0).ReserveNote, 8);
    EXPECT_EQ(Headless().Sleeps.size(), 0u);
}
