// The controller sets' destination lists: "off", the insertion type's 14 destinations, the 33
// common ones, each set's stored destination selected.
#include "tests/performance/PerformanceFixture.h"

namespace {

TEST_F(PerformancePageTest, DestinationListsFollowTheInsertionTypeAndKeepEachSetsDestination)
{
    auto& sets = data.ParameterData.PfmControlSets;
    sets[0].Destination = 2;
    sets[2].Destination = 17;
    sets[7].Destination = 47;
    data.ParameterData.PfmEffect.PfmEffectBlocks[InsertionBlock].EffectType = 5; // "Phaser1"
    page->FillDestinationLists();
    for (std::size_t k = 0; k < 8; ++k) {
        const TComboBox* list = page->Pfm_Ctrl_Dest[k];
        ASSERT_EQ(list->Items.Count(), 48) << "set " << k + 1;
        EXPECT_EQ(list->Items[0], "off");
        EXPECT_EQ(list->Items[1], "I:LFO Freq");
        EXPECT_EQ(list->Items[5], "I:Stage");
        EXPECT_EQ(list->Items[14], "I:(InsEF 14)");
        EXPECT_EQ(list->Items[15], "Ins->Rev");
        EXPECT_EQ(list->Items[17], "Volume");
        EXPECT_EQ(list->ItemIndex(), sets[k].Destination) << "set " << k + 1;
    }
    EXPECT_EQ(page->Pfm_Ctrl_Dest[2]->Text(), "Volume");
    // Another insertion type renames entries 1..14 and keeps each set's destination:
    // EffectPageTest's type change.
}

} // namespace
