// The effect sheet's handlers through its controls: effect type changes with their defaults and
// kept trailing levels, the parameter rows' value kinds, the insertion switches and individual
// output with the two routing overlays, the EQ shapes and their picture, and stored words
// outside their ranges.
#include "tests/performance/PerformanceFixture.h"

#include "core/DumpLayout.h"
#include "tests/platform/TempFolder.h"

#include <filesystem>

namespace {

using P = PfmPair;
namespace fs = std::filesystem;

constexpr TColor Yellow = RGB(255, 255, 0);

P Row(int n) { return static_cast<P>(static_cast<int>(P::Pfm_Effect_Para1) + n - 1); }

class EffectPageTest : public PerformancePageTest {
protected:
    void SetUp() override
    {
        PerformancePageTest::SetUp();
        ASSERT_TRUE(page->Pfm_PageControl->UserSelects(2));
        Sent();
    }
    void ShowTab(int tab) { ASSERT_TRUE(page->Pfm_Effect_Tab->UserSelects(tab)); }
    // A person picks effect type `type` of the shown block.
    void PickType(int type) { ASSERT_TRUE(page->Pfm_Effect_Type->UserSelects(type)); }
    void Slide(P id, int position) { ASSERT_TRUE(Bar(id)->UserScrollsTo(position)); }
    PfmEffectBlock& Block(int b) { return data.ParameterData.PfmEffect.PfmEffectBlocks[std::size_t(b)]; }
    bool RowShown(int n) { return Bar(Row(n))->Showing() && Edit(Row(n))->Showing(); }
    const TBitmap& InsertionOverlay() { return page->Pfm_Effect_ImageInsSw->Picture.Bitmap(); }
    const TBitmap& IndividualOverlay() { return page->Pfm_Effect_ImageIndividual->Picture.Bitmap(); }
};

TEST_F(EffectPageTest, ReverbTypeNoEffectTakesTheKeptPanAndSendsOnlyTheType)
{
    ShowTab(1);
    Slide(Row(11), 40); // "Reverb Pan" of the initial "Hall1"
    EXPECT_EQ(data.EffectKeptLevels[0], 40);
    Sent();
    data.DataChanged = 0;
    PickType(0);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0x01, 0x28, 0, 0)});
    EXPECT_EQ(data.DataChanged, 1);
    EXPECT_EQ(Block(ReverbBlock).EffectType, 0);
    EXPECT_EQ(Block(ReverbBlock).Para[0], 40);
    EXPECT_EQ(page->Pair(Row(1)).Text->Caption(), "Reverb Pan");
    EXPECT_EQ(Edit(Row(1))->Text(), "L23");
    for (int n = 2; n <= 18; ++n) EXPECT_FALSE(RowShown(n)) << "row " << n;
    EXPECT_TRUE(page->Pfm_Effect_Type->Focused());
}

TEST_F(EffectPageTest, InsertionThruTakesTheFourKeptLevelsAndRenamesTheDestinationLists)
{
    data.ParameterData.PfmControlSets[0].Destination = 2, data.ParameterData.PfmControlSets[5].Destination = 17;
    page->FillDestinationLists();
    ShowTab(3);
    // Pan, sends and dry level of the initial "Chorus" (17 slots).
    Slide(Row(14), 20);
    Slide(Row(15), 21);
    Slide(Row(16), 22);
    Slide(Row(17), 23);
    EXPECT_EQ(page->Pfm_Ctrl_Dest[0]->Text(), "I:LFO Depth");
    Sent();
    PickType(0);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0x01, 0x2F, 0, 0)});
    EXPECT_EQ(Block(InsertionBlock).Para[0], 20);
    EXPECT_EQ(Block(InsertionBlock).Para[1], 21);
    EXPECT_EQ(Block(InsertionBlock).Para[2], 22);
    EXPECT_EQ(Block(InsertionBlock).Para[3], 23);
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "23");
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoVar->Caption(), "22");
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoRev->Caption(), "21");
    for (int n = 5; n <= 18; ++n) EXPECT_FALSE(RowShown(n)) << "row " << n;
    // The lists name "Thru"'s destinations; each set keeps its destination.
    for (std::size_t k = 0; k < 8; ++k) EXPECT_EQ(page->Pfm_Ctrl_Dest[k]->Items.Count(), 48);
    EXPECT_EQ(page->Pfm_Ctrl_Dest[0]->Items[1], "I:(InsEF  1)");
    EXPECT_EQ(page->Pfm_Ctrl_Dest[0]->Text(), "I:(InsEF  2)");
    EXPECT_EQ(page->Pfm_Ctrl_Dest[5]->Text(), "Volume");
    EXPECT_EQ(data.ParameterData.PfmControlSets[0].Destination, 2);
}

TEST_F(EffectPageTest, VariationTypeWithFewerSlotsKeepsTheSlotsPastItsCountAndTheSameTypeAgainResets)
{
    ShowTab(2);
    PickType(1);        // "Chorus", 11 slots
    Slide(Row(10), 70); // "Var Pan"
    Slide(Row(11), 9);  // "SendVar-Rev"
    Slide(Row(7), 25);  // "EQ HiFreq", a slot past the next type's count
    EXPECT_EQ(page->Pfm_Effect_ImageVarSendtoRev->Caption(), "9");
    Sent();
    PickType(15); // "Noise Gate", 6 slots
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0x01, 0x2B, 0, 15)});
    const auto& slots = Block(VariationBlock).Para;
    EXPECT_EQ((std::vector<int32_t>(slots.begin(), slots.begin() + 11)),
              (std::vector<int32_t>{0, 11, 27, 50, 70, 9, 25, 12, 1, 70, 9}));
    for (int n = 1; n <= 6; ++n) EXPECT_TRUE(RowShown(n)) << "row " << n;
    for (int n = 7; n <= 18; ++n) EXPECT_FALSE(RowShown(n)) << "row " << n;
    EXPECT_EQ(page->Pair(Row(3)).Text->Caption(), "Threshold");
    EXPECT_EQ(Edit(Row(3))->Text(), "-45");

    // The same type again: its defaults come back and the type is sent again.
    Slide(Row(1), 8);
    Sent();
    PickType(15);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0x01, 0x2B, 0, 15)});
    EXPECT_EQ(slots[0], 0);
    EXPECT_EQ(Edit(Row(1))->Text(), "1");
}

TEST_F(EffectPageTest, TwoByteRowsReleaseRowsPageKeysAndTheDisplayFlag)
{
    ShowTab(1);
    PickType(13); // "Delay LCR": "Lch Delay" (kind 26) in row 1
    Sent();
    const std::pair<int, Message> delays[] = {{0, ParameterChange(0x10, 0, 0x50, 0x00, 0x01)},
                                              {126, ParameterChange(0x10, 0, 0x50, 0x00, 0x7F)},
                                              {127, ParameterChange(0x10, 0, 0x50, 0x01, 0x00)},
                                              {13649, ParameterChange(0x10, 0, 0x50, 0x6A, 0x52)}};
    const char* const texts[] = {"0.1", "12.7", "12.8", "1365.0"};
    for (std::size_t i = 0; i < 4; ++i) {
        Slide(Row(1), delays[i].first);
        EXPECT_EQ(Sent(), std::vector<Message>{delays[i].second});
        EXPECT_EQ(Edit(Row(1))->Text(), texts[i]);
    }
    // Page Up in the value box moves the slider 10 positions, 1.0 of the shown value.
    Slide(Row(2), 3332);
    EXPECT_EQ(Edit(Row(2))->Text(), "333.3");
    Sent();
    ASSERT_TRUE(Edit(Row(2))->UserFocuses());
    ASSERT_TRUE(form->UserPressesKey(VK_PRIOR));
    EXPECT_EQ(Edit(Row(2))->Text(), "334.3");
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0, 0x52, 0x1A, 0x0F)});

    // Kind 28: the variation "Echo" delays.
    ShowTab(2);
    PickType(22);
    Sent();
    Slide(Row(1), 6819);
    EXPECT_EQ(Edit(Row(1))->Text(), "682.0");
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0, 0x68, 0x35, 0x24)});

    // The release time (kind 12) goes bare in row 2 and with its offset in row 4.
    ShowTab(3);
    PickType(23); // "Noise Gate"
    Sent();
    Slide(Row(2), 15);
    EXPECT_EQ(Edit(Row(2))->Text(), "680");
    Slide(Row(2), 5);
    EXPECT_EQ(Sent(),
              (std::vector<Message>{ParameterChange(0x10, 1, 0x0A, 0, 0x0F), ParameterChange(0x10, 1, 0x0A, 0, 0x05)}));
    PickType(16); // "T-Wah +Dist": "Release" in row 4
    Sent();
    Slide(Row(4), 15);
    EXPECT_EQ(Edit(Row(4))->Text(), "680");
    Slide(Row(4), 5);
    EXPECT_EQ(Sent(),
              (std::vector<Message>{ParameterChange(0x10, 1, 0x26, 0, 0x43), ParameterChange(0x10, 1, 0x26, 0, 0x39)}));

    // During a display a row stores, shows and sends nothing.
    data.UpdatingDisplay = 1;
    Bar(Row(1))->SetPosition(70);
    data.UpdatingDisplay = 0;
    EXPECT_EQ(Block(InsertionBlock).Para[0], 80);
    EXPECT_EQ(Edit(Row(1))->Text(), "80");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(EffectPageTest, TrailingRowsKeepTheirLevelsAndEveryOtherRowButTheFirstRewritesTheLabels)
{
    ShowTab(3); // "Chorus": "SendIns-Var" in row 16, "InsDryLevel" in row 17
    Slide(Row(17), 100);
    EXPECT_EQ(data.EffectKeptLevels[3], 100);
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "100");
    // A level kept from before (as another type left it) shows on the labels once a row other
    // than the first moves.
    data.EffectKeptLevels[4] = 17;
    Slide(Row(1), 9);
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoVar->Caption(), "0");
    Slide(Row(2), 9);
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoVar->Caption(), "17");
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "100");
}

TEST_F(EffectPageTest, PartSendsTabKeepsTheTypeListAndShowsThePartsRows)
{
    ShowTab(2);
    ASSERT_EQ(page->Pfm_Effect_Type->Items.Count(), 29);
    Part(2).DryLevel = 44;
    ShowTab(0);
    EXPECT_FALSE(page->Pfm_Effect_ParaGrp->Showing());
    EXPECT_TRUE(page->Pfm_Effect_PartParaGrp->Showing());
    EXPECT_EQ(page->Pfm_Effect_Type->Items.Count(), 29);
    EXPECT_EQ(Edit(P::Pfm_Effect_P3DryLvl)->Text(), "44");
    EXPECT_EQ(page->Pfm_Effect_ImageDryLvl[2]->Caption(), "44");
    // No block is shown: the parameter rows act on nothing.
    Sent();
    Bar(Row(2))->SetPosition(Bar(Row(2))->Position() + 1);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(EffectPageTest, InsertionSwitchTurnsThePartsLineIntoTheEffectAndTakesItsRows)
{
    for (int row : {1, 40, 80, 119}) {
        EXPECT_EQ(InsertionOverlay().Pixel(40, row), Yellow) << row;
        EXPECT_EQ(InsertionOverlay().Pixel(40, row + 10), clBlack) << row;
    }
    Part(1).DryLevel = 91;
    Part(1).ReverbSend = 12;
    Part(1).VariationSend = 13;
    Refresh();
    ASSERT_TRUE(page->Pfm_Effect_PInsSw[1]->UserClicks(1));
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x31, 0, 0x14, 0, 1)});
    EXPECT_EQ(Part(1).InsEffectSw, 1);
    for (P id : {P::Pfm_Effect_P2DryLvl, P::Pfm_Effect_P2RevSend, P::Pfm_Effect_P2VarSend})
        EXPECT_FALSE(page->Pair(id).Text->Enabled() || Bar(id)->Enabled() || Edit(id)->Enabled());
    EXPECT_TRUE(Bar(P::Pfm_Effect_P1DryLvl)->Enabled());
    EXPECT_EQ(page->Pfm_Effect_ImageDryLvl[1]->Caption(), "***");
    EXPECT_EQ(page->Pfm_Effect_ImageRevSend[1]->Caption(), "***");
    EXPECT_EQ(page->Pfm_Effect_ImageVarSend[1]->Caption(), "***");
    // Part 2's line turns down at x 45; the others run straight on.
    EXPECT_EQ(InsertionOverlay().Pixel(60, 40), clBlack);
    EXPECT_EQ(InsertionOverlay().Pixel(45, 100), Yellow);
    EXPECT_EQ(InsertionOverlay().Pixel(45, 141), Yellow);
    EXPECT_EQ(InsertionOverlay().Pixel(60, 80), Yellow);

    ASSERT_TRUE(page->Pfm_Effect_PInsSw[1]->UserClicks(0));
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x31, 0, 0x14, 0, 0)});
    EXPECT_EQ(page->Pfm_Effect_ImageDryLvl[1]->Caption(), "91");
    EXPECT_EQ(page->Pfm_Effect_ImageRevSend[1]->Caption(), "12");
    EXPECT_EQ(page->Pfm_Effect_ImageVarSend[1]->Caption(), "13");
    EXPECT_TRUE(Bar(P::Pfm_Effect_P2VarSend)->Enabled());
    EXPECT_EQ(InsertionOverlay().Pixel(60, 40), Yellow);
    EXPECT_EQ(InsertionOverlay().Pixel(45, 100), clBlack);

    // A level edit writes its box and its routing label.
    Slide(P::Pfm_Effect_P4RevSend, 100);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x33, 0, 0x13, 0, 0x64)});
    EXPECT_EQ(Edit(P::Pfm_Effect_P4RevSend)->Text(), "100");
    EXPECT_EQ(page->Pfm_Effect_ImageRevSend[3]->Caption(), "100");
    // A typed level above 127 gives 127.
    Slide(P::Pfm_Effect_P4DryLvl, 50);
    ASSERT_TRUE(Edit(P::Pfm_Effect_P4DryLvl)->UserFocuses());
    ASSERT_TRUE(Edit(P::Pfm_Effect_P4DryLvl)->UserTypes("200"));
    EXPECT_EQ(Part(3).DryLevel, 127);
}

TEST_F(EffectPageTest, IndividualOutputDrawsTheChosenTapOnly)
{
    const int w = 90, h = 81;
    auto pre = [&] { return IndividualOverlay().Pixel(1, 40) == Yellow && IndividualOverlay().Pixel(30, 1) == Yellow; };
    auto post = [&] {
        return IndividualOverlay().Pixel(50, h - 3) == Yellow && IndividualOverlay().Pixel(w - 3, 60) == Yellow;
    };
    auto none = [&] {
        const TBitmap& b = IndividualOverlay();
        return b.Pixel(1, 40) == clBlack && b.Pixel(30, 1) == clBlack && b.Pixel(50, h - 3) == clBlack &&
               b.Pixel(w - 3, 60) == clBlack;
    };
    EXPECT_TRUE(none());
    ASSERT_TRUE(page->Pfm_Effect_IndividualOutput->UserClicks(1));
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0, 0x14, 0, 1)});
    EXPECT_TRUE(pre());
    EXPECT_FALSE(post());
    EXPECT_EQ(IndividualOverlay().Pixel(9, 1), clWhite); // the frame line the tap crosses
    ASSERT_TRUE(page->Pfm_Effect_IndividualOutput->UserClicks(2));
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0, 0x14, 0, 2)});
    EXPECT_TRUE(post());
    EXPECT_FALSE(pre());
    EXPECT_EQ(IndividualOverlay().Pixel(w - 3, 40), clWhite);
    ASSERT_TRUE(page->Pfm_Effect_IndividualOutput->UserClicks(0));
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0, 0x14, 0, 0)});
    EXPECT_TRUE(none());
    EXPECT_EQ(data.ParameterData.PfmEffect.IndividualOutput, 0);
}

TEST_F(EffectPageTest, EqShapesChooseThePictureAndTheQRows)
{
    auto picture = [](const char* name) {
        TBitmap b;
        b.LoadFromFile((fs::path(QM_PROGRAM_DIR) / "graphics" / name).string());
        return b.Data();
    };
    const std::vector<TColor>& shown = page->EQ_GraphImage->Picture.Bitmap().Data();
    EXPECT_EQ(shown, picture("eq_shelv_shelv.bmp"));
    EXPECT_FALSE(page->Pair(P::Pfm_Effect_EQ_LowQ).Text->Enabled() || Bar(P::Pfm_Effect_EQ_LowQ)->Enabled());
    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->Enabled());
    EXPECT_TRUE(Bar(P::Pfm_Effect_EQ_MidQ)->Enabled());

    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->UserScrollsTo(5)); // disabled: a person cannot move it
    ASSERT_TRUE(page->Pfm_Effect_EQ_LowShape->UserClicks(1));
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 1, 0x37, 0, 1)});
    EXPECT_EQ(page->EQ_GraphImage->Picture.Bitmap().Data(), picture("eq_peak_shelv.bmp"));
    EXPECT_TRUE(page->Pair(P::Pfm_Effect_EQ_LowQ).Text->Enabled() && Edit(P::Pfm_Effect_EQ_LowQ)->Enabled());
    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->Enabled());
    Slide(P::Pfm_Effect_EQ_LowQ, 30);
    ASSERT_TRUE(page->Pfm_Effect_EQ_HighShape->UserClicks(1));
    EXPECT_EQ(page->EQ_GraphImage->Picture.Bitmap().Data(), picture("eq_peak_peak.bmp"));
    Slide(P::Pfm_Effect_EQ_HighQ, 5);
    EXPECT_EQ(Sent(), (std::vector<Message>{ParameterChange(0x10, 1, 0x36, 0, 31), ParameterChange(0x10, 1, 0x3E, 0, 1),
                                            ParameterChange(0x10, 1, 0x3D, 0, 6)}));

    // Shelving again: the Q row goes off and keeps its value.
    ASSERT_TRUE(page->Pfm_Effect_EQ_HighShape->UserClicks(0));
    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->Enabled());
    EXPECT_EQ(data.ParameterData.PfmEffect.PfmEQ.HighQ, 5);
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_HighQ)->Text(), "0.6");

    // Leaving the sheet and coming back shows the stored shapes with their picture and rows.
    ASSERT_TRUE(page->Pfm_PageControl->UserSelects(0));
    ASSERT_TRUE(page->Pfm_PageControl->UserSelects(2));
    EXPECT_EQ(page->Pfm_Effect_EQ_LowShape->ItemIndex(), 1);
    EXPECT_EQ(page->Pfm_Effect_EQ_HighShape->ItemIndex(), 0);
    EXPECT_EQ(page->EQ_GraphImage->Picture.Bitmap().Data(), picture("eq_peak_shelv.bmp"));
    EXPECT_TRUE(Bar(P::Pfm_Effect_EQ_LowQ)->Enabled());
    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->Enabled());
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_LowQ)->Text(), "3.1");
}

// Words a file or another editor may bring: the type is shown as the dump builder sends it, a
// slot or EQ frequency as its slider keeps it; the words stay as they came.
TEST_F(EffectPageTest, WordsOutsideTheirRangesShowClampedAndStayStored)
{
    Block(InsertionBlock).EffectType = 99;
    Block(InsertionBlock).Para[12] = 500; // "SendIns-Rev" of the last type, 0..127
    Block(ReverbBlock).EffectType = -3;
    Block(VariationBlock).EffectType = 22; // "Echo"
    Block(VariationBlock).Para[0] = 20000; // "Lch Delay1", 0..6819
    Block(VariationBlock).Para[1] = -5;    // "Lch FB Lvl"
    PfmEQ& eq = data.ParameterData.PfmEffect.PfmEQ;
    eq.LowFreq = 99, eq.MidFreq = -1, eq.HighQ = 400, eq.HighShape = 1;
    Refresh();
    EXPECT_EQ(data.UpdatingDisplay, 0);

    ShowTab(3);
    EXPECT_EQ(page->Pfm_Effect_Type->Text(), "Reverse Gate");
    std::array<uint8_t, PerformancePayloadSize> dump{};
    EncodePerformancePayload(data.ParameterData, data, dump.data());
    EXPECT_EQ(dump[0xAF], 40); // what the instrument gets
    EXPECT_EQ(page->Pair(Row(13)).Text->Caption(), "SendIns-Rev");
    EXPECT_EQ(Bar(Row(13))->Position(), 127);
    EXPECT_EQ(Edit(Row(13))->Text(), "127");
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoRev->Caption(), "127");
    EXPECT_EQ(Block(InsertionBlock).EffectType, 99);
    EXPECT_EQ(Block(InsertionBlock).Para[12], 500);
    ShowTab(1);
    EXPECT_EQ(page->Pfm_Effect_Type->Text(), "No Effect");
    ShowTab(2);
    EXPECT_EQ(Edit(Row(1))->Text(), "682.0");
    EXPECT_EQ(Edit(Row(2))->Text(), "-63");
    EXPECT_EQ(Block(VariationBlock).Para[0], 20000);

    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_LowFreq)->Text(), "2.0k");
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_MidFreq)->Text(), "100");
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_HighQ)->Text(), "12.0");
    EXPECT_EQ(eq.LowFreq, 99);
    EXPECT_EQ(eq.MidFreq, -1);
    EXPECT_TRUE(Sent().empty());
}

// A program folder without a readable shape picture: the picture stays empty, one message box
// names the file in the whole run, and everything else goes on as with the picture.
TEST_F(EffectPageTest, MissingOrBrokenEqPictureIsReportedOnceAndChangesNothingElse)
{
    TempFolder folder;
    fs::copy(fs::path(QM_PROGRAM_DIR) / "graphics", folder / "graphics");
    fs::remove(folder / "graphics" / "eq_peak_shelv.bmp");
    WriteText(folder / "graphics" / "eq_shelv_shelv.bmp", "BM not a picture");
    page.reset();
    page = std::make_unique<TPerformancePage>(form.get(), data, sheet, folder.Path());
    auto& messages = Application->Headless().Messages;
    messages.clear();

    data.ParameterData.PfmEffect.PfmEQ.MidGain = 20;
    page->RefreshPerformancePages();
    EXPECT_EQ(data.UpdatingDisplay, 0);
    EXPECT_TRUE(page->EQ_GraphImage->Picture.Empty());
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_MidGain)->Text(), "+8");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].Text.find((folder / "graphics" / "eq_shelv_shelv.bmp").string()), std::string::npos);

    // A missing file: stored, sent and marked all the same, and not reported again.
    ASSERT_TRUE(page->Pfm_PageControl->UserSelects(2));
    Sent();
    data.DataChanged = 0;
    ASSERT_TRUE(page->Pfm_Effect_EQ_LowShape->UserClicks(1)); // eq_peak_shelv.bmp is missing
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 1, 0x37, 0, 1)});
    EXPECT_EQ(data.ParameterData.PfmEffect.PfmEQ.LowShape, 1);
    EXPECT_EQ(data.DataChanged, 1);
    EXPECT_TRUE(page->EQ_GraphImage->Picture.Empty());
    EXPECT_TRUE(Bar(P::Pfm_Effect_EQ_LowQ)->Enabled());
    EXPECT_EQ(messages.size(), 1u);
    // A picture that is there shows again.
    ASSERT_TRUE(page->Pfm_Effect_EQ_HighShape->UserClicks(1));
    EXPECT_EQ(page->EQ_GraphImage->Picture.Width(), 238);
    EXPECT_EQ(messages.size(), 1u);
}

} // namespace
