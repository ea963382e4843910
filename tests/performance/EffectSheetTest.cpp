// The effect sheet driven as a person does: type changes with their defaults and kept trailing
// levels, the rows' value kinds, the insertion switches and individual output with their routing
// overlays, the EQ shapes and picture, stored words outside their ranges; what the sheet shows after
// a file is opened, a performance received or initialized; and that a person's edit of each kind
// then changes its own word and no other. (The bytes each control sends: the records in tests/pages.)
#include "tests/performance/PerformanceFixture.h"

#include "core/DumpLayout.h"
#include "tests/performance/EffectData.h"

namespace {

using P = PfmPair;

constexpr TColor Yellow = RGB(255, 255, 0);

P Row(int n) { return static_cast<P>(static_cast<int>(P::Pfm_Effect_Para1) + n - 1); }

struct ShownRow {
    const char* Caption;
    const char* Text;
};

// The rows the blocks of LoadEffects show.
const ShownRow LoadedReverb[] = {{"Lch Delay", "333.3"}, {"Rch Delay", "1365.0"}, {"Cch Delay", "0.1"},
                                 {"FB Delay", "12.7"},   {"FB Level", "+7"},      {"Cch Level", "90"},
                                 {"High Damp", "0.5"},   {"EQ LowFreq", "100"},   {"EQ LowGain", "+8"},
                                 {"EQ HiFreq", "2.0k"},  {"EQ HiGain", "-9"},     {"Reverb Pan", "L13"}};
const ShownRow LoadedVariation[] = {{"Attack", "6"},        {"Release", "680"}, {"Threshold", "-6"},  {"Ratio", "3.0"},
                                    {"OutputLevel", "111"}, {"Var Pan", "R17"}, {"SendVar-Rev", "66"}};
const ShownRow LoadedInsertion[] = {{"Early Type", "reverse"}, {"Room Size", "3.1"},  {"Diffusion", "7"},
                                    {"Init Delay", "3.2"},     {"FB Level", "-3"},    {"HPF Cutoff", "thru"},
                                    {"LPF Cutoff", "thru"},    {"Liveness", "9"},     {"Density", "2"},
                                    {"High Damp", "0.9"},      {"Dry/Wet", "D<W37"},  {"Ins Pan", "L53"},
                                    {"SendIns-Rev", "33"},     {"SendIns-Var", "44"}, {"InsDryLevel", "99"}};

class EffectSheetTest : public PerformancePageTest {
protected:
    void SetUp() override
    {
        PerformancePageTest::SetUp();
        ASSERT_TRUE(page->Pfm_PageControl->UserSelects(2));
        TakeSent();
    }
    // A person shows the effect sheet and one of its tabs.
    void ShowTab(int tab)
    {
        ASSERT_TRUE(form->FS1R_PageControl->UserSelects(0) || form->FS1R_PageControl->ActivePageIndex() == 0);
        ASSERT_TRUE(page->Pfm_PageControl->UserSelects(2) || page->Pfm_PageControl->ActivePageIndex() == 2);
        ASSERT_TRUE(page->Pfm_Effect_Tab->UserSelects(tab) || page->Pfm_Effect_Tab->TabIndex() == tab);
    }
    // A person picks effect type `type` of the shown block.
    void PickType(int type) { ASSERT_TRUE(page->Pfm_Effect_Type->UserSelects(type)); }
    void Slide(P id, int position) { ASSERT_TRUE(Bar(id)->UserScrollsTo(position)); }
    TValuePair& Pair(P id) { return page->Pair(id); }
    PfmEffectBlock& Block(int b) { return form->ParameterData.PfmEffect.PfmEffectBlocks[std::size_t(b)]; }
    bool RowShown(int n) { return Bar(Row(n))->Showing() && Edit(Row(n))->Showing(); }
    const TBitmap& InsertionOverlay() { return page->Pfm_Effect_ImageInsSw->Picture.Bitmap(); }
    const TBitmap& IndividualOverlay() { return page->Pfm_Effect_ImageIndividual->Picture.Bitmap(); }
    const std::vector<TColor>& EqPictureShown() { return page->EQ_GraphImage->Picture.Bitmap().Data(); }
    static std::vector<TColor> EqPicture(const char* file)
    {
        TBitmap b;
        b.LoadFromFile((fs::path(QM_PROGRAM_DIR) / "graphics" / file).string());
        return b.Data();
    }

    // File > Open of a save file holding `d`; unsaved changes are not wanted.
    void Open(const TParameterData& d)
    {
        OpenFile(WriteFile("effects.fse", SaveFileImage(d)));
        Advance(40000); // the send-all that follows
        ASSERT_FALSE(form->TransferRunning());
    }

    // A person shows block tab `tab` (1..3): it shows type `type` and, row by row, its rows'
    // captions and texts and no more rows.
    template <std::size_t N>
    void ExpectBlock(int tab, const char* type, const ShownRow (&rows)[N])
    {
        const char* const captions[] = {"Reverb Effect Parameter", "Variation Effect Parameter",
                                        "Insertion Effect Parameter"};
        ShowTab(tab);
        EXPECT_TRUE(page->Pfm_Effect_ParaGrp->Showing());
        EXPECT_FALSE(page->Pfm_Effect_PartParaGrp->Showing());
        EXPECT_EQ(page->Pfm_Effect_ParaGrp->Caption(), captions[tab - 1]);
        EXPECT_EQ(page->Pfm_Effect_Type->Items.Count(), EffectTypeCount[std::size_t(tab - 1)]);
        EXPECT_EQ(page->Pfm_Effect_Type->Text(), type);
        for (std::size_t n = 1; n <= 18; ++n) {
            SCOPED_TRACE("row " + std::to_string(n));
            TValuePair& row = Pair(Row(int(n)));
            if (n > N) {
                EXPECT_FALSE(row.Bar->Showing());
                continue;
            }
            ASSERT_TRUE(row.Bar->Showing() && row.Edit->Showing() && row.Text->Showing());
            EXPECT_EQ(row.Text->Caption(), rows[n - 1].Caption);
            EXPECT_EQ(row.Edit->Text(), rows[n - 1].Text);
        }
    }

    // The loaded performance of LoadEffects, control by control.
    void ExpectShowsLoadedEffects()
    {
        ShowTab(0);
        EXPECT_TRUE(page->Pfm_Effect_PartParaGrp->Showing());
        EXPECT_FALSE(page->Pfm_Effect_ParaGrp->Showing());
        const char* const levels[4][3] = {
            {"100", "20", "30"}, {"90", "25", "35"}, {"80", "40", "45"}, {"70", "50", "55"}};
        for (int p = 0; p < 4; ++p) {
            SCOPED_TRACE("part " + std::to_string(p + 1));
            const auto sp = std::size_t(p);
            const bool on = p == 1 || p == 3;
            EXPECT_EQ(page->Pfm_Effect_PInsSw[sp]->ItemIndex(), on ? 1 : 0);
            const P first = static_cast<P>(static_cast<int>(P::Pfm_Effect_P1DryLvl) + 3 * p);
            TLabel* const labels[3] = {page->Pfm_Effect_ImageDryLvl[sp], page->Pfm_Effect_ImageRevSend[sp],
                                       page->Pfm_Effect_ImageVarSend[sp]};
            for (int r = 0; r < 3; ++r) {
                TValuePair& row = Pair(static_cast<P>(static_cast<int>(first) + r));
                EXPECT_EQ(row.Edit->Text(), levels[p][r]);
                EXPECT_EQ(row.Bar->Position(), std::stoi(levels[p][r]));
                EXPECT_EQ(row.Bar->Enabled() || row.Edit->Enabled() || row.Text->Enabled(), !on);
                EXPECT_EQ(labels[r]->Caption(), on ? "***" : levels[p][r]);
            }
        }
        EXPECT_EQ(page->Pfm_Effect_IndividualOutput->ItemIndex(), 2);
        EXPECT_EQ(page->Pfm_Effect_ImageRevRtn->Caption(), "77");
        EXPECT_EQ(page->Pfm_Effect_ImageVarRtn->Caption(), "55");
        EXPECT_EQ(page->Pfm_Effect_ImageVarSendtoRev->Caption(), "66");
        EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoRev->Caption(), "33");
        EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoVar->Caption(), "44");
        EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "99");

        // The overlays: parts 2 and 4 turn down at x 45 and 1, parts 1 and 3 run straight on;
        // the individual output is taken after the insertion effect (bottom and right path).
        const TBitmap& ins = page->Pfm_Effect_ImageInsSw->Picture.Bitmap();
        EXPECT_EQ(ins.Pixel(70, 1), Yellow);
        EXPECT_EQ(ins.Pixel(70, 80), Yellow);
        EXPECT_EQ(ins.Pixel(70, 40), clBlack);
        EXPECT_EQ(ins.Pixel(45, 100), Yellow);
        EXPECT_EQ(ins.Pixel(70, 119), clBlack);
        EXPECT_EQ(ins.Pixel(1, 130), Yellow);
        const TBitmap& individual = page->Pfm_Effect_ImageIndividual->Picture.Bitmap();
        EXPECT_EQ(individual.Pixel(50, 78), Yellow);
        EXPECT_EQ(individual.Pixel(87, 60), Yellow);
        EXPECT_EQ(individual.Pixel(1, 40), clBlack);
        EXPECT_EQ(individual.Pixel(30, 1), clBlack);

        // The equalizer: low band peaking, high band shelving (its Q row disabled).
        EXPECT_EQ(page->Pfm_Effect_EQ_LowShape->ItemIndex(), 1);
        EXPECT_EQ(page->Pfm_Effect_EQ_HighShape->ItemIndex(), 0);
        const std::pair<P, const char*> eq[] = {
            {P::Pfm_Effect_EQ_LowFreq, "2.0k"},  {P::Pfm_Effect_EQ_LowGain, "-12"}, {P::Pfm_Effect_EQ_LowQ, "12.0"},
            {P::Pfm_Effect_EQ_MidFreq, "10.0k"}, {P::Pfm_Effect_EQ_MidGain, "+12"}, {P::Pfm_Effect_EQ_MidQ, "0.1"},
            {P::Pfm_Effect_EQ_HighFreq, "500"},  {P::Pfm_Effect_EQ_HighGain, "+1"}, {P::Pfm_Effect_EQ_HighQ, "5.1"}};
        for (const auto& [id, text] : eq) EXPECT_EQ(Pair(id).Edit->Text(), text) << Pair(id).PairForm().Name;
        EXPECT_TRUE(Pair(P::Pfm_Effect_EQ_LowQ).Enabled());
        EXPECT_TRUE(Pair(P::Pfm_Effect_EQ_MidQ).Enabled());
        EXPECT_FALSE(Pair(P::Pfm_Effect_EQ_HighQ).Enabled() || Pair(P::Pfm_Effect_EQ_HighQ).Text->Enabled());
        EXPECT_EQ(EqPictureShown(), EqPicture("eq_peak_shelv.bmp"));

        ExpectBlock(1, "Delay LCR", LoadedReverb);
        EXPECT_EQ(Pair(Row(2)).Bar->Max(), 13649);
        EXPECT_EQ(Pair(Row(2)).Bar->LargeChange, 100);
        EXPECT_EQ(Pair(Row(7)).Bar->Max(), 9);
        ExpectBlock(2, "Compressor", LoadedVariation);
        ExpectBlock(3, "ER 1", LoadedInsertion);
        EXPECT_EQ(Pair(Row(1)).Bar->Max(), 5);
        EXPECT_EQ(Pair(Row(1)).Bar->LargeChange, 1);
    }

    // A person's edit sends exactly `expected` and changes the edit buffer in `word` alone.
    void ExpectOneChange(const std::string& what, const std::function<void()>& edit, const Bytes& expected,
                         const int32_t& word)
    {
        SCOPED_TRACE(what);
        TakeSent();
        const TParameterData before = form->ParameterData;
        edit();
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{expected});
        const auto* b = reinterpret_cast<const uint8_t*>(&before);
        const auto* a = reinterpret_cast<const uint8_t*>(&form->ParameterData);
        const auto at = std::size_t(reinterpret_cast<const uint8_t*>(&word) - a);
        for (std::size_t i = 0; i < TParameterData::Size; i += 4)
            if (std::memcmp(a + i, b + i, 4) != 0) {
                EXPECT_EQ(i, at) << "a word it does not edit changed";
            }
        EXPECT_NE(std::memcmp(a + at, b + at, 4), 0) << "its own word kept its value";
    }
    void Slide(P id, int position, const Bytes& expected, const int32_t& word, const char* text)
    {
        ExpectOneChange(
            Pair(id).PairForm().Name, [&] { EXPECT_TRUE(Pair(id).Bar->UserScrollsTo(position)); }, expected, word);
        EXPECT_EQ(Pair(id).Edit->Text(), text) << Pair(id).PairForm().Name;
    }
};

} // namespace

TEST_F(EffectSheetTest, ReverbTypeNoEffectTakesTheKeptPanAndSendsOnlyTheType)
{
    ShowTab(1);
    Slide(Row(11), 40); // "Reverb Pan" of the initial "Hall1"
    EXPECT_EQ(form->EffectKeptLevels[0], 40);
    TakeSent();
    form->DataChanged = 0;
    PickType(0);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 0x01, 0x28, 0, 0)});
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(Block(ReverbBlock).EffectType, 0);
    EXPECT_EQ(Block(ReverbBlock).Para[0], 40);
    EXPECT_TRUE(RowShown(1));
    EXPECT_EQ(page->Pair(Row(1)).Text->Caption(), "Reverb Pan");
    EXPECT_EQ(Edit(Row(1))->Text(), "L23");
    for (int n = 2; n <= 18; ++n) EXPECT_FALSE(RowShown(n)) << "row " << n;
    EXPECT_TRUE(page->Pfm_Effect_Type->Focused());
}

TEST_F(EffectSheetTest, InsertionThruTakesTheFourKeptLevelsAndRenamesTheDestinationLists)
{
    form->ParameterData.PfmControlSets[0].Destination = 2, form->ParameterData.PfmControlSets[5].Destination = 17;
    page->FillDestinationLists();
    ShowTab(3);
    // Pan, sends and dry level of the initial "Chorus" (17 slots).
    Slide(Row(14), 20);
    Slide(Row(15), 21);
    Slide(Row(16), 22);
    Slide(Row(17), 23);
    EXPECT_EQ(page->Pfm_Ctrl_Dest[0]->Text(), "I:LFO Depth");
    TakeSent();
    PickType(0);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 0x01, 0x2F, 0, 0)});
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
    EXPECT_EQ(form->ParameterData.PfmControlSets[0].Destination, 2);
}

TEST_F(EffectSheetTest, VariationTypeWithFewerSlotsKeepsTheSlotsPastItsCountAndTheSameTypeAgainResets)
{
    ShowTab(2);
    PickType(1);        // "Chorus", 11 slots
    Slide(Row(10), 70); // "Var Pan"
    Slide(Row(11), 9);  // "SendVar-Rev"
    Slide(Row(7), 25);  // "EQ HiFreq", a slot past the next type's count
    EXPECT_EQ(page->Pfm_Effect_ImageVarSendtoRev->Caption(), "9");
    TakeSent();
    PickType(15); // "Noise Gate", 6 slots
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 0x01, 0x2B, 0, 15)});
    const auto& slots = Block(VariationBlock).Para;
    EXPECT_EQ((std::vector<int32_t>(slots.begin(), slots.begin() + 11)),
              (std::vector<int32_t>{0, 11, 27, 50, 70, 9, 25, 12, 1, 70, 9}));
    for (int n = 1; n <= 6; ++n) EXPECT_TRUE(RowShown(n)) << "row " << n;
    for (int n = 7; n <= 18; ++n) EXPECT_FALSE(RowShown(n)) << "row " << n;
    EXPECT_EQ(page->Pair(Row(3)).Text->Caption(), "Threshold");
    EXPECT_EQ(Edit(Row(3))->Text(), "-45");

    // The same type again: its defaults come back and the type is sent again.
    Slide(Row(1), 8);
    TakeSent();
    PickType(15);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 0x01, 0x2B, 0, 15)});
    EXPECT_EQ(slots[0], 0);
    EXPECT_EQ(Edit(Row(1))->Text(), "1");
}

TEST_F(EffectSheetTest, LongDelaysTakeTwoBytesAndTheValueBoxPagesTenPositions)
{
    ShowTab(1);
    PickType(13); // "Delay LCR": "Lch Delay" (kind 26) in row 1
    TakeSent();
    const std::pair<int, Message> delays[] = {{0, ParameterChange(0x10, 0, 0x50, 0x00, 0x01)},
                                              {126, ParameterChange(0x10, 0, 0x50, 0x00, 0x7F)},
                                              {127, ParameterChange(0x10, 0, 0x50, 0x01, 0x00)},
                                              {13649, ParameterChange(0x10, 0, 0x50, 0x6A, 0x52)}};
    const char* const texts[] = {"0.1", "12.7", "12.8", "1365.0"};
    for (std::size_t i = 0; i < 4; ++i) {
        Slide(Row(1), delays[i].first);
        EXPECT_EQ(TakeSent(), std::vector<Message>{delays[i].second});
        EXPECT_EQ(Edit(Row(1))->Text(), texts[i]);
    }
    // Page Up in the value box moves the slider 10 positions, 1.0 of the shown value.
    Slide(Row(2), 3332);
    EXPECT_EQ(Edit(Row(2))->Text(), "333.3");
    TakeSent();
    ASSERT_TRUE(Edit(Row(2))->UserFocuses());
    ASSERT_TRUE(form->UserPressesKey(VK_PRIOR));
    EXPECT_EQ(Edit(Row(2))->Text(), "334.3");
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 0, 0x52, 0x1A, 0x0F)});
}

TEST_F(EffectSheetTest, TrailingRowsKeepTheirLevelsAndEveryOtherRowButTheFirstRewritesTheLabels)
{
    ShowTab(3); // "Chorus": "SendIns-Var" in row 16, "InsDryLevel" in row 17
    Slide(Row(17), 100);
    EXPECT_EQ(form->EffectKeptLevels[3], 100);
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "100");
    // A level kept from before (as another type left it) shows on the labels once a row other
    // than the first moves.
    form->EffectKeptLevels[4] = 17;
    Slide(Row(1), 9);
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoVar->Caption(), "0");
    Slide(Row(2), 9);
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoVar->Caption(), "17");
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "100");
}

TEST_F(EffectSheetTest, PartSendsTabKeepsTheTypeListAndShowsThePartsRows)
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
    TakeSent();
    Bar(Row(2))->SetPosition(Bar(Row(2))->Position() + 1);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(EffectSheetTest, InsertionSwitchTurnsThePartsLineIntoTheEffectAndTakesItsRows)
{
    Part(1).DryLevel = 91;
    Part(1).ReverbSend = 12;
    Part(1).VariationSend = 13;
    Refresh();
    ASSERT_TRUE(page->Pfm_Effect_PInsSw[1]->UserClicks(1));
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
    EXPECT_EQ(page->Pfm_Effect_ImageDryLvl[1]->Caption(), "91");
    EXPECT_EQ(page->Pfm_Effect_ImageRevSend[1]->Caption(), "12");
    EXPECT_EQ(page->Pfm_Effect_ImageVarSend[1]->Caption(), "13");
    EXPECT_TRUE(Bar(P::Pfm_Effect_P2VarSend)->Enabled());
    EXPECT_EQ(InsertionOverlay().Pixel(60, 40), Yellow);
    EXPECT_EQ(InsertionOverlay().Pixel(45, 100), clBlack);
}

TEST_F(EffectSheetTest, IndividualOutputDrawsTheChosenTapOnly)
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
    EXPECT_TRUE(pre());
    EXPECT_FALSE(post());
    EXPECT_EQ(IndividualOverlay().Pixel(9, 1), clWhite); // the frame line the tap crosses
    ASSERT_TRUE(page->Pfm_Effect_IndividualOutput->UserClicks(2));
    EXPECT_TRUE(post());
    EXPECT_FALSE(pre());
    EXPECT_EQ(IndividualOverlay().Pixel(w - 3, 40), clWhite);
    ASSERT_TRUE(page->Pfm_Effect_IndividualOutput->UserClicks(0));
    EXPECT_TRUE(none());
    EXPECT_EQ(form->ParameterData.PfmEffect.IndividualOutput, 0);
}

TEST_F(EffectSheetTest, EqShapesChooseThePictureAndTheQRows)
{
    EXPECT_EQ(EqPictureShown(), EqPicture("eq_shelv_shelv.bmp"));
    EXPECT_FALSE(page->Pair(P::Pfm_Effect_EQ_LowQ).Text->Enabled() || Bar(P::Pfm_Effect_EQ_LowQ)->Enabled());
    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->Enabled());
    EXPECT_TRUE(Bar(P::Pfm_Effect_EQ_MidQ)->Enabled());

    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->UserScrollsTo(5)); // disabled: a person cannot move it
    ASSERT_TRUE(page->Pfm_Effect_EQ_LowShape->UserClicks(1));
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 1, 0x37, 0, 1)});
    EXPECT_EQ(EqPictureShown(), EqPicture("eq_peak_shelv.bmp"));
    EXPECT_TRUE(page->Pair(P::Pfm_Effect_EQ_LowQ).Text->Enabled() && Edit(P::Pfm_Effect_EQ_LowQ)->Enabled());
    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->Enabled());
    Slide(P::Pfm_Effect_EQ_LowQ, 30);
    ASSERT_TRUE(page->Pfm_Effect_EQ_HighShape->UserClicks(1));
    EXPECT_EQ(EqPictureShown(), EqPicture("eq_peak_peak.bmp"));
    Slide(P::Pfm_Effect_EQ_HighQ, 5);

    // Shelving again: the Q row goes off and keeps its value.
    ASSERT_TRUE(page->Pfm_Effect_EQ_HighShape->UserClicks(0));
    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->Enabled());
    EXPECT_EQ(form->ParameterData.PfmEffect.PfmEQ.HighQ, 5);
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_HighQ)->Text(), "0.6");

    // Leaving the sheet and coming back shows the stored shapes with their picture and rows.
    ASSERT_TRUE(page->Pfm_PageControl->UserSelects(0));
    ASSERT_TRUE(page->Pfm_PageControl->UserSelects(2));
    EXPECT_EQ(page->Pfm_Effect_EQ_LowShape->ItemIndex(), 1);
    EXPECT_EQ(page->Pfm_Effect_EQ_HighShape->ItemIndex(), 0);
    EXPECT_EQ(EqPictureShown(), EqPicture("eq_peak_shelv.bmp"));
    EXPECT_TRUE(Bar(P::Pfm_Effect_EQ_LowQ)->Enabled());
    EXPECT_FALSE(Bar(P::Pfm_Effect_EQ_HighQ)->Enabled());
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_LowQ)->Text(), "3.1");
}

// Words a file or another editor may bring: the type is shown as the dump builder sends it, a
// slot or EQ frequency as its slider keeps it; the words stay as they came.
TEST_F(EffectSheetTest, WordsOutsideTheirRangesShowClampedAndStayStored)
{
    Block(InsertionBlock).EffectType = 99;
    Block(InsertionBlock).Para[12] = 500; // "SendIns-Rev" of the last type, 0..127
    Block(ReverbBlock).EffectType = -3;
    Block(VariationBlock).EffectType = 22; // "Echo"
    Block(VariationBlock).Para[0] = 20000; // "Lch Delay1", 0..6819
    Block(VariationBlock).Para[1] = -5;    // "Lch FB Lvl"
    PfmEQ& eq = form->ParameterData.PfmEffect.PfmEQ;
    eq.LowFreq = 99, eq.MidFreq = -1, eq.HighQ = 400, eq.HighShape = 1;
    Refresh();
    EXPECT_EQ(form->UpdatingDisplay, 0);

    ShowTab(3);
    EXPECT_EQ(page->Pfm_Effect_Type->Text(), "Reverse Gate");
    std::array<uint8_t, PerformancePayloadSize> dump{};
    EncodePerformancePayload(form->ParameterData, *form, dump.data());
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
    EXPECT_TRUE(TakeSent().empty());
}

// A program folder without a readable shape picture: the picture stays empty, one message box
// names the file in the whole run, and everything else goes on as with the picture.
TEST_F(EffectSheetTest, MissingOrBrokenEqPictureIsReportedOnceAndChangesNothingElse)
{
    const fs::path folder = ProgramFolderCopy("program");
    fs::remove(folder / "graphics" / "eq_peak_shelv.bmp");
    WriteText(folder / "graphics" / "eq_shelv_shelv.bmp", "BM not a picture");
    form.reset();
    Messages().clear();
    form = std::make_unique<TMainForm>(nullptr, midi, folder);
    form->Midi.OpenMidiOut(0);
    form->OnShow = nullptr;
    form->Show();
    page = form->PerformancePage.get();
    auto& messages = Messages();

    form->ParameterData.PfmEffect.PfmEQ.MidGain = 20;
    page->RefreshPerformancePages();
    EXPECT_EQ(form->UpdatingDisplay, 0);
    EXPECT_TRUE(page->EQ_GraphImage->Picture.Empty());
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_MidGain)->Text(), "+8");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].Text.find((folder / "graphics" / "eq_shelv_shelv.bmp").string()), std::string::npos);

    // A missing file: stored, sent and marked all the same, and not reported again.
    ASSERT_TRUE(page->Pfm_PageControl->UserSelects(2));
    TakeSent();
    form->DataChanged = 0;
    ASSERT_TRUE(page->Pfm_Effect_EQ_LowShape->UserClicks(1)); // eq_peak_shelv.bmp is missing
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 1, 0x37, 0, 1)});
    EXPECT_EQ(form->ParameterData.PfmEffect.PfmEQ.LowShape, 1);
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_TRUE(page->EQ_GraphImage->Picture.Empty());
    EXPECT_TRUE(Bar(P::Pfm_Effect_EQ_LowQ)->Enabled());
    EXPECT_EQ(messages.size(), 1u);
    // A picture that is there shows again.
    ASSERT_TRUE(page->Pfm_Effect_EQ_HighShape->UserClicks(1));
    EXPECT_EQ(page->EQ_GraphImage->Picture.Width(), 238);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(EffectSheetTest, AfterAFileOpenEveryControlShowsItsWordAndEachEditSendsItsOwnChange)
{
    ShowTab(3); // a block tab open while the file comes in
    TParameterData loaded = form->ParameterData;
    LoadEffects(loaded);
    Open(loaded);
    ASSERT_TRUE(Messages().empty());
    // The kept levels are the loaded types' trailing slots.
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{50, 66, 80, 99, 44, 33, 10}));
    ExpectShowsLoadedEffects();

    // One edit of each kind (every slider's bytes: tests/pages/SliderMessagesTest.cpp): part levels
    // (part 2's after its switch goes off), the output, an EQ row and shape, a two-byte delay, the
    // bare release, a list text, and the trailing rows with their kept levels and labels.
    TParameterData& d = form->ParameterData;
    ShowTab(0);
    Slide(P::Pfm_Effect_P1DryLvl, 127, PartChange(0x30, 0x11, 0x7F), d.PfmParts[0].DryLevel, "127");
    EXPECT_EQ(page->Pfm_Effect_ImageDryLvl[0]->Caption(), "127");
    ExpectOneChange(
        "part 2 insertion switch", [&] { EXPECT_TRUE(page->Pfm_Effect_PInsSw[1]->UserClicks(0)); },
        PartChange(0x31, 0x14, 0), d.PfmParts[1].InsEffectSw);
    EXPECT_EQ(page->Pfm_Effect_ImageRevSend[1]->Caption(), "25");
    Slide(P::Pfm_Effect_P2VarSend, 13, PartChange(0x31, 0x12, 0x0D), d.PfmParts[1].VariationSend, "13");
    ExpectOneChange(
        "individual output", [&] { EXPECT_TRUE(page->Pfm_Effect_IndividualOutput->UserClicks(1)); },
        ParameterChange(0x10, 0, 0x14, 0, 1), d.PfmEffect.IndividualOutput);
    Slide(P::Pfm_Effect_EQ_LowFreq, 0, ParameterChange(0x10, 1, 0x35, 0, 0x04), d.PfmEffect.PfmEQ.LowFreq, "32");
    ExpectOneChange(
        "high shape", [&] { EXPECT_TRUE(page->Pfm_Effect_EQ_HighShape->UserClicks(1)); },
        ParameterChange(0x10, 1, 0x3E, 0, 1), d.PfmEffect.PfmEQ.HighShape);

    ShowTab(1); // "Delay LCR"
    Slide(Row(1), 6819, ParameterChange(0x10, 0, 0x50, 0x35, 0x24), Block(ReverbBlock).Para[0], "682.0");
    Slide(Row(12), 63, ParameterChange(0x10, 1, 0x29, 0, 0x40), Block(ReverbBlock).Para[11], " C ");
    ShowTab(2); // "Compressor"
    Slide(Row(2), 5, ParameterChange(0x10, 0, 0x6A, 0, 0x05), Block(VariationBlock).Para[1], "55");
    Slide(Row(7), 101, ParameterChange(0x10, 1, 0x2E, 0, 0x65), Block(VariationBlock).Para[6], "101");
    EXPECT_EQ(page->Pfm_Effect_ImageVarSendtoRev->Caption(), "101");
    ShowTab(3); // "ER 1"
    auto& insertion = Block(InsertionBlock).Para;
    Slide(Row(1), 5, ParameterChange(0x10, 1, 0x08, 0, 0x05), insertion[0], "spring");
    Slide(Row(13), 127, ParameterChange(0x10, 1, 0x31, 0, 0x7F), insertion[12], "127");
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoRev->Caption(), "127");
    Slide(Row(14), 1, ParameterChange(0x10, 1, 0x32, 0, 0x01), insertion[13], "1");
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoVar->Caption(), "1");
    Slide(Row(15), 64, ParameterChange(0x10, 1, 0x33, 0, 0x40), insertion[14], "64");
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "64");
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{63, 101, 80, 64, 1, 127, 10}));
}

// A type change after a file was opened carries the opened performance's trailing levels, not
// those of the performance before it.
TEST_F(EffectSheetTest, TypeChangeAfterAFileOpenKeepsTheOpenedTrailingLevels)
{
    ShowTab(3);
    EXPECT_TRUE(Pair(Row(17)).Bar->UserScrollsTo(5)); // "InsDryLevel" of the initial "Chorus"
    EXPECT_EQ(form->EffectKeptLevels[3], 5);
    TParameterData loaded = form->ParameterData;
    LoadEffects(loaded);
    Open(loaded);
    TakeSent();
    ASSERT_TRUE(page->Pfm_Effect_Type->UserSelects(22)); // "HM Enhncer", 7 slots
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{ParameterChange(0x10, 1, 0x2F, 0, 22)});
    const auto& slots = Block(InsertionBlock).Para;
    EXPECT_EQ((std::array<int32_t, 7>{slots[0], slots[1], slots[2], slots[3], slots[4], slots[5], slots[6]}),
              (std::array<int32_t, 7>{21, 20, 30, 10, 33, 44, 99}));
    EXPECT_EQ(Pair(Row(7)).Edit->Text(), "99");
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "99");
}

TEST_F(EffectSheetTest, AfterAReceiveTheSheetShowsTheInstrumentsPerformance)
{
    TParameterData held = form->ParameterData;
    LoadEffects(form->ParameterData);
    const Bytes dump = Built(DumpPerformance);
    std::copy(dump.begin() + 9, dump.end() - 2, instrument.Performance.begin());
    form->ParameterData = held;
    form->RefreshPerformancePages();
    ShowTab(2);

    Click("DataRcvPfm");
    Advance(4000);
    ASSERT_TRUE(Messages().empty());
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{50, 66, 80, 99, 44, 33, 10}));
    ExpectShowsLoadedEffects();
}

TEST_F(EffectSheetTest, AfterInitializePerformanceTheSheetShowsTheInitialEffects)
{
    TParameterData loaded = form->ParameterData;
    LoadEffects(loaded);
    Open(loaded);
    ShowTab(1);
    Headless().MessageResponder = [](const TShownMessage&) { return IDYES; };
    Click("InitPfm");
    Headless().MessageResponder = nullptr;
    Messages().clear();

    // Reverb "Hall1", insertion "Chorus", their trailing levels kept as the initial data holds
    // them; sends and switches off, dry levels 127, the EQ shelving. (The initial words themselves:
    // InitialValuesTest.)
    ShowTab(1);
    EXPECT_EQ(page->Pfm_Effect_Type->Text(), "Hall1");
    EXPECT_EQ(Pair(Row(11)).Edit->Text(), " C ");
    ShowTab(3);
    EXPECT_EQ(page->Pfm_Effect_Type->Text(), "Chorus");
    EXPECT_EQ(Pair(Row(17)).Edit->Text(), "127");
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "127");
    ShowTab(0);
    for (std::size_t p = 0; p < 4; ++p) {
        EXPECT_EQ(page->Pfm_Effect_PInsSw[p]->ItemIndex(), 0);
        EXPECT_EQ(page->Pfm_Effect_ImageDryLvl[p]->Caption(), "127");
    }
    EXPECT_EQ(page->Pfm_Effect_IndividualOutput->ItemIndex(), 0);
    EXPECT_FALSE(Pair(P::Pfm_Effect_EQ_LowQ).Enabled());
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{63, 0, 63, 127, 0, 0, 63}));
}
