// Copy, Paste and Undo of a part work on the part sheet of the performance page only: on the
// effect sheet and the sequence sheet the part tab still has a part selected, but no part is
// shown, so the commands leave the parts and the instrument alone.
#include "tests/editcmds/EditRig.h"

#include "performance/PerformancePage.h"

namespace {

const TShiftState Ctrl{ssCtrl};

class PartSheetCommandsTest : public EditRig {
protected:
    TPageControl& Sheets() { return *form->PerformancePage->Pfm_PageControl; }
    // The performance page with part tab `p` selected and sub-sheet `sheet` shown, as a person
    // picks them: the part tab on the part sheet first, then the other sheet's tab.
    void Show(int p, int sheet)
    {
        ShowPart(p);
        ASSERT_TRUE(Sheets().UserSelects(0));
        ASSERT_TRUE(form->PerformancePage->Pfm_PartTab->UserSelects(p));
        ASSERT_TRUE(Sheets().UserSelects(sheet));
        ASSERT_EQ(form->PerformancePage->Pfm_PartTab->TabIndex(), p);
    }
    bool Press(char key) { return form->UserPressesKey(uint16_t(key), Ctrl); }
};

TEST_F(PartSheetCommandsTest, CopyPasteAndUndoOfAPartActOnlyOnThePartSheet)
{
    auto& parts = form->ParameterData.PfmParts;
    parts[0].Volume = 41, parts[0].Formant = 70, parts[0].PrgNum = 12;
    parts[1].Volume = 52, parts[1].Formant = 80, parts[1].PrgNum = 23;
    parts[2].Volume = 63, parts[2].Formant = 90, parts[2].PrgNum = 34;
    ASSERT_EQ(Sheets().PageCount(), 3);

    // Part 1 copied on its sheet.
    Show(0, 0);
    ASSERT_TRUE(Press('C'));

    for (int sheet : {1, 2}) {
        const std::string on = "sheet " + Sheets().Pages(sheet)->Caption();
        // Copy with part 2's tab selected on another sheet copies nothing.
        Show(1, sheet);
        ASSERT_TRUE(Press('C')) << on;
        // Paste with part 3's tab selected there pastes nothing and sends nothing.
        const PfmPart third = parts[2];
        Show(2, sheet);
        TakeSent();
        ASSERT_TRUE(Press('V')) << on;
        EXPECT_TRUE(Same(parts[2], third)) << on;
        EXPECT_TRUE(TakeSent().empty()) << on;
    }

    // On the part sheet the paste brings part 1's values: the clipboard still holds part 1.
    Show(2, 0);
    TakeSent();
    ASSERT_TRUE(Press('V'));
    EXPECT_EQ(parts[2].Volume, 41);
    EXPECT_EQ(parts[2].Formant, 70);
    EXPECT_EQ(parts[2].PrgNum, 12);
    EXPECT_FALSE(TakeSent().empty());

    // Undo on another sheet restores nothing; on the part sheet it does.
    for (int sheet : {1, 2}) {
        Show(2, sheet);
        TakeSent();
        ASSERT_TRUE(Press('Z'));
        EXPECT_EQ(parts[2].Volume, 41);
        EXPECT_TRUE(TakeSent().empty());
        EXPECT_TRUE(form->Undo->Enabled());
    }
    Show(2, 0);
    ASSERT_TRUE(Press('Z'));
    EXPECT_EQ(parts[2].Volume, 63);
    EXPECT_EQ(parts[2].Formant, 90);
    EXPECT_EQ(parts[2].PrgNum, 34);
}

} // namespace
