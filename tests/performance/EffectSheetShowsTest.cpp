// The effect sheet in the main window shows what is stored after a file is opened, a performance
// is received and the performance is initialized: every control of the sheet, the routing labels
// and the two drawn overlays. Then a person's edit of each kind of control sends that control's
// parameter and changes its word and no other, and the levels the types keep follow.
#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"
#include "tests/performance/EffectData.h"
#include "tests/support/WindowRig.h"

#include <cstring>

namespace {

using P = PfmPair;

constexpr TColor Yellow = RGB(255, 255, 0);

P Row(int n) { return static_cast<P>(static_cast<int>(P::Pfm_Effect_Para1) + n - 1); }

struct ShownRow {
    const char* Caption;
    const char* Text;
};

class EffectSheetShowsTest : public WindowRig {
protected:
    EffectSheetShowsTest() : WindowRig({.open = Ports::Instrument, .shown = true}) {}

    TPerformancePage& Page() { return *form->PerformancePage; }
    TValuePair& Pair(P id) { return Page().Pair(id); }
    PfmEffectBlock& Block(int b) { return form->ParameterData.PfmEffect.PfmEffectBlocks[std::size_t(b)]; }

    // A person shows the effect sheet and one of its tabs.
    void ShowEffectTab(int tab)
    {
        ASSERT_TRUE(form->FS1R_PageControl->UserSelects(0) || form->FS1R_PageControl->ActivePageIndex() == 0);
        ASSERT_TRUE(Page().Pfm_PageControl->UserSelects(2) || Page().Pfm_PageControl->ActivePageIndex() == 2);
        ASSERT_TRUE(Page().Pfm_Effect_Tab->UserSelects(tab) || Page().Pfm_Effect_Tab->TabIndex() == tab);
    }

    // File > Open of a save file holding `d`; unsaved changes are not wanted.
    void Open(const TParameterData& d)
    {
        OpenFile(WriteFile("effects.fse", SaveFileImage(d)));
        Advance(40000); // the send-all that follows
        ASSERT_FALSE(form->TransferRunning());
    }

    void ExpectRows(const std::vector<ShownRow>& rows, const char* type)
    {
        EXPECT_TRUE(Page().Pfm_Effect_ParaGrp->Showing());
        EXPECT_FALSE(Page().Pfm_Effect_PartParaGrp->Showing());
        EXPECT_EQ(Page().Pfm_Effect_Type->Text(), type);
        for (int n = 1; n <= 18; ++n) {
            SCOPED_TRACE("row " + std::to_string(n));
            TValuePair& row = Pair(Row(n));
            if (n > int(rows.size())) {
                EXPECT_FALSE(row.Bar->Showing());
                continue;
            }
            ASSERT_TRUE(row.Bar->Showing() && row.Edit->Showing() && row.Text->Showing());
            EXPECT_EQ(row.Text->Caption(), rows[std::size_t(n - 1)].Caption);
            EXPECT_EQ(row.Edit->Text(), rows[std::size_t(n - 1)].Text);
        }
    }

    // The loaded performance of LoadEffects, control by control.
    void ExpectShowsLoadedEffects()
    {
        TPerformancePage& page = Page();
        ShowEffectTab(0);
        EXPECT_TRUE(page.Pfm_Effect_PartParaGrp->Showing());
        EXPECT_FALSE(page.Pfm_Effect_ParaGrp->Showing());
        const char* const levels[4][3] = {
            {"100", "20", "30"}, {"90", "25", "35"}, {"80", "40", "45"}, {"70", "50", "55"}};
        for (int p = 0; p < 4; ++p) {
            SCOPED_TRACE("part " + std::to_string(p + 1));
            const auto sp = std::size_t(p);
            const bool on = p == 1 || p == 3;
            EXPECT_EQ(page.Pfm_Effect_PInsSw[sp]->ItemIndex(), on ? 1 : 0);
            const P first = static_cast<P>(static_cast<int>(P::Pfm_Effect_P1DryLvl) + 3 * p);
            TLabel* const labels[3] = {page.Pfm_Effect_ImageDryLvl[sp], page.Pfm_Effect_ImageRevSend[sp],
                                       page.Pfm_Effect_ImageVarSend[sp]};
            for (int r = 0; r < 3; ++r) {
                TValuePair& row = Pair(static_cast<P>(static_cast<int>(first) + r));
                EXPECT_EQ(row.Edit->Text(), levels[p][r]);
                EXPECT_EQ(row.Bar->Position(), std::stoi(levels[p][r]));
                EXPECT_EQ(row.Bar->Enabled() || row.Edit->Enabled() || row.Text->Enabled(), !on);
                EXPECT_EQ(labels[r]->Caption(), on ? "***" : levels[p][r]);
            }
        }
        EXPECT_EQ(page.Pfm_Effect_IndividualOutput->ItemIndex(), 2);
        EXPECT_EQ(page.Pfm_Effect_ImageRevRtn->Caption(), "77");
        EXPECT_EQ(page.Pfm_Effect_ImageVarRtn->Caption(), "55");
        EXPECT_EQ(page.Pfm_Effect_ImageVarSendtoRev->Caption(), "66");
        EXPECT_EQ(page.Pfm_Effect_ImageInsSendtoRev->Caption(), "33");
        EXPECT_EQ(page.Pfm_Effect_ImageInsSendtoVar->Caption(), "44");
        EXPECT_EQ(page.Pfm_Effect_ImageInsDryLvl->Caption(), "99");

        // The overlays: parts 2 and 4 turn down at x 45 and 1, parts 1 and 3 run straight on;
        // the individual output is taken after the insertion effect (bottom and right path).
        const TBitmap& ins = page.Pfm_Effect_ImageInsSw->Picture.Bitmap();
        EXPECT_EQ(ins.Pixel(70, 1), Yellow);
        EXPECT_EQ(ins.Pixel(70, 80), Yellow);
        EXPECT_EQ(ins.Pixel(70, 40), clBlack);
        EXPECT_EQ(ins.Pixel(45, 100), Yellow);
        EXPECT_EQ(ins.Pixel(70, 119), clBlack);
        EXPECT_EQ(ins.Pixel(1, 130), Yellow);
        const TBitmap& individual = page.Pfm_Effect_ImageIndividual->Picture.Bitmap();
        EXPECT_EQ(individual.Pixel(50, 78), Yellow);
        EXPECT_EQ(individual.Pixel(87, 60), Yellow);
        EXPECT_EQ(individual.Pixel(1, 40), clBlack);
        EXPECT_EQ(individual.Pixel(30, 1), clBlack);

        // The equalizer: low band peaking, high band shelving (its Q row disabled).
        EXPECT_EQ(page.Pfm_Effect_EQ_LowShape->ItemIndex(), 1);
        EXPECT_EQ(page.Pfm_Effect_EQ_HighShape->ItemIndex(), 0);
        const std::pair<P, const char*> eq[] = {
            {P::Pfm_Effect_EQ_LowFreq, "2.0k"},  {P::Pfm_Effect_EQ_LowGain, "-12"}, {P::Pfm_Effect_EQ_LowQ, "12.0"},
            {P::Pfm_Effect_EQ_MidFreq, "10.0k"}, {P::Pfm_Effect_EQ_MidGain, "+12"}, {P::Pfm_Effect_EQ_MidQ, "0.1"},
            {P::Pfm_Effect_EQ_HighFreq, "500"},  {P::Pfm_Effect_EQ_HighGain, "+1"}, {P::Pfm_Effect_EQ_HighQ, "5.1"}};
        for (const auto& [id, text] : eq) EXPECT_EQ(Pair(id).Edit->Text(), text) << Pair(id).PairForm().Name;
        EXPECT_TRUE(Pair(P::Pfm_Effect_EQ_LowQ).Enabled());
        EXPECT_TRUE(Pair(P::Pfm_Effect_EQ_MidQ).Enabled());
        EXPECT_FALSE(Pair(P::Pfm_Effect_EQ_HighQ).Enabled() || Pair(P::Pfm_Effect_EQ_HighQ).Text->Enabled());
        TBitmap peakShelv;
        peakShelv.LoadFromFile((fs::path(QM_PROGRAM_DIR) / "graphics" / "eq_peak_shelv.bmp").string());
        EXPECT_EQ(page.EQ_GraphImage->Picture.Bitmap().Data(), peakShelv.Data());

        ShowEffectTab(1);
        EXPECT_EQ(page.Pfm_Effect_ParaGrp->Caption(), "Reverb Effect Parameter");
        EXPECT_EQ(page.Pfm_Effect_Type->Items.Count(), 17);
        ExpectRows({{"Lch Delay", "333.3"},
                    {"Rch Delay", "1365.0"},
                    {"Cch Delay", "0.1"},
                    {"FB Delay", "12.7"},
                    {"FB Level", "+7"},
                    {"Cch Level", "90"},
                    {"High Damp", "0.5"},
                    {"EQ LowFreq", "100"},
                    {"EQ LowGain", "+8"},
                    {"EQ HiFreq", "2.0k"},
                    {"EQ HiGain", "-9"},
                    {"Reverb Pan", "L13"}},
                   "Delay LCR");
        EXPECT_EQ(Pair(Row(2)).Bar->Max(), 13649);
        EXPECT_EQ(Pair(Row(2)).Bar->LargeChange, 100);
        EXPECT_EQ(Pair(Row(7)).Bar->Max(), 9);

        ShowEffectTab(2);
        EXPECT_EQ(page.Pfm_Effect_ParaGrp->Caption(), "Variation Effect Parameter");
        EXPECT_EQ(page.Pfm_Effect_Type->Items.Count(), 29);
        ExpectRows({{"Attack", "6"},
                    {"Release", "680"},
                    {"Threshold", "-6"},
                    {"Ratio", "3.0"},
                    {"OutputLevel", "111"},
                    {"Var Pan", "R17"},
                    {"SendVar-Rev", "66"}},
                   "Compressor");

        ShowEffectTab(3);
        EXPECT_EQ(page.Pfm_Effect_ParaGrp->Caption(), "Insertion Effect Parameter");
        EXPECT_EQ(page.Pfm_Effect_Type->Items.Count(), 41);
        ExpectRows({{"Early Type", "reverse"},
                    {"Room Size", "3.1"},
                    {"Diffusion", "7"},
                    {"Init Delay", "3.2"},
                    {"FB Level", "-3"},
                    {"HPF Cutoff", "thru"},
                    {"LPF Cutoff", "thru"},
                    {"Liveness", "9"},
                    {"Density", "2"},
                    {"High Damp", "0.9"},
                    {"Dry/Wet", "D<W37"},
                    {"Ins Pan", "L53"},
                    {"SendIns-Rev", "33"},
                    {"SendIns-Var", "44"},
                    {"InsDryLevel", "99"}},
                   "ER 1");
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

Bytes Change(uint8_t ah, uint8_t am, uint8_t al, uint8_t dh, uint8_t dl)
{
    return {0xF0, 0x43, 0x10, 0x5E, ah, am, al, dh, dl, 0xF7};
}

TEST_F(EffectSheetShowsTest, AfterAFileOpenEveryControlShowsItsWordAndEachEditSendsItsOwnChange)
{
    ShowEffectTab(3); // a block tab open while the file comes in
    TParameterData loaded = form->ParameterData;
    LoadEffects(loaded);
    Open(loaded);
    ASSERT_TRUE(Messages().empty());
    // The kept levels are the loaded types' trailing slots.
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{50, 66, 80, 99, 44, 33, 10}));
    ExpectShowsLoadedEffects();

    // One edit of each kind (every slider's bytes: tests/pages/SliderMessagesTest.cpp). Part sends:
    // part 1 edits at once, part 2 after its switch goes off.
    TParameterData& d = form->ParameterData;
    auto& parts = d.PfmParts;
    ShowEffectTab(0);
    Slide(P::Pfm_Effect_P1DryLvl, 127, Change(0x30, 0, 0x11, 0, 0x7F), parts[0].DryLevel, "127");
    EXPECT_EQ(Page().Pfm_Effect_ImageDryLvl[0]->Caption(), "127");
    ExpectOneChange(
        "part 2 insertion switch", [&] { EXPECT_TRUE(Page().Pfm_Effect_PInsSw[1]->UserClicks(0)); },
        Change(0x31, 0, 0x14, 0, 0), parts[1].InsEffectSw);
    EXPECT_EQ(Page().Pfm_Effect_ImageRevSend[1]->Caption(), "25");
    Slide(P::Pfm_Effect_P2VarSend, 13, Change(0x31, 0, 0x12, 0, 0x0D), parts[1].VariationSend, "13");
    ExpectOneChange(
        "individual output", [&] { EXPECT_TRUE(Page().Pfm_Effect_IndividualOutput->UserClicks(1)); },
        Change(0x10, 0, 0x14, 0, 1), d.PfmEffect.IndividualOutput);

    // The equalizer.
    PfmEQ& eq = d.PfmEffect.PfmEQ;
    Slide(P::Pfm_Effect_EQ_LowFreq, 0, Change(0x10, 1, 0x35, 0, 0x04), eq.LowFreq, "32");
    ExpectOneChange(
        "high shape", [&] { EXPECT_TRUE(Page().Pfm_Effect_EQ_HighShape->UserClicks(1)); }, Change(0x10, 1, 0x3E, 0, 1),
        eq.HighShape);
    Slide(P::Pfm_Effect_EQ_HighQ, 5, Change(0x10, 1, 0x3D, 0, 0x06), eq.HighQ, "0.6");
    ExpectOneChange(
        "low shape", [&] { EXPECT_TRUE(Page().Pfm_Effect_EQ_LowShape->UserClicks(0)); }, Change(0x10, 1, 0x37, 0, 0),
        eq.LowShape);

    // Reverb "Delay LCR": two-byte delays and the kept pan.
    auto& reverb = Block(ReverbBlock).Para;
    ShowEffectTab(1);
    Slide(Row(1), 6819, Change(0x10, 0, 0x50, 0x35, 0x24), reverb[0], "682.0");
    Slide(Row(4), 13648, Change(0x10, 0, 0x56, 0x6A, 0x51), reverb[3], "1364.9");
    Slide(Row(12), 63, Change(0x10, 1, 0x29, 0, 0x40), reverb[11], " C ");
    EXPECT_EQ(form->EffectKeptLevels[0], 63);

    // Variation "Compressor": the release in row 2 goes bare.
    auto& variation = Block(VariationBlock).Para;
    ShowEffectTab(2);
    Slide(Row(2), 5, Change(0x10, 0, 0x6A, 0, 0x05), variation[1], "55");
    Slide(Row(6), 1, Change(0x10, 1, 0x2C, 0, 0x02), variation[5], "L62");
    Slide(Row(7), 101, Change(0x10, 1, 0x2E, 0, 0x65), variation[6], "101");
    EXPECT_EQ(Page().Pfm_Effect_ImageVarSendtoRev->Caption(), "101");
    EXPECT_EQ(form->EffectKeptLevels[2], 1);
    EXPECT_EQ(form->EffectKeptLevels[1], 101);

    // Insertion "ER 1": a list text, the balance, the trailing levels and their labels.
    auto& insertion = Block(InsertionBlock).Para;
    ShowEffectTab(3);
    Slide(Row(1), 5, Change(0x10, 1, 0x08, 0, 0x05), insertion[0], "spring");
    Slide(Row(11), 63, Change(0x10, 1, 0x1A, 0, 0x40), insertion[10], "D=W");
    Slide(Row(12), 126, Change(0x10, 1, 0x30, 0, 0x7F), insertion[11], "R63");
    Slide(Row(13), 127, Change(0x10, 1, 0x31, 0, 0x7F), insertion[12], "127");
    EXPECT_EQ(Page().Pfm_Effect_ImageInsSendtoRev->Caption(), "127");
    Slide(Row(14), 1, Change(0x10, 1, 0x32, 0, 0x01), insertion[13], "1");
    EXPECT_EQ(Page().Pfm_Effect_ImageInsSendtoVar->Caption(), "1");
    Slide(Row(15), 64, Change(0x10, 1, 0x33, 0, 0x40), insertion[14], "64");
    EXPECT_EQ(Page().Pfm_Effect_ImageInsDryLvl->Caption(), "64");
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{63, 101, 1, 64, 1, 127, 126}));
}

// A type change after a file was opened carries the opened performance's trailing levels, not
// those of the performance before it.
TEST_F(EffectSheetShowsTest, TypeChangeAfterAFileOpenKeepsTheOpenedTrailingLevels)
{
    ShowEffectTab(3);
    EXPECT_TRUE(Pair(Row(17)).Bar->UserScrollsTo(5)); // "InsDryLevel" of the initial "Chorus"
    EXPECT_EQ(form->EffectKeptLevels[3], 5);
    TParameterData loaded = form->ParameterData;
    LoadEffects(loaded);
    Open(loaded);
    TakeSent();
    ASSERT_TRUE(Page().Pfm_Effect_Type->UserSelects(22)); // "HM Enhncer", 7 slots
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x10, 1, 0x2F, 0, 22)});
    const auto& slots = Block(InsertionBlock).Para;
    EXPECT_EQ((std::array<int32_t, 7>{slots[0], slots[1], slots[2], slots[3], slots[4], slots[5], slots[6]}),
              (std::array<int32_t, 7>{21, 20, 30, 10, 33, 44, 99}));
    EXPECT_EQ(Pair(Row(7)).Edit->Text(), "99");
    EXPECT_EQ(Page().Pfm_Effect_ImageInsDryLvl->Caption(), "99");
}

TEST_F(EffectSheetShowsTest, AfterAReceiveTheSheetShowsTheInstrumentsPerformance)
{
    TParameterData held = form->ParameterData;
    LoadEffects(form->ParameterData);
    const Bytes dump = Built(DumpPerformance);
    std::copy(dump.begin() + 9, dump.end() - 2, instrument.Performance.begin());
    form->ParameterData = held;
    form->RefreshPerformancePages();
    ShowEffectTab(2);

    Click("DataRcvPfm");
    Advance(4000);
    ASSERT_TRUE(Messages().empty());
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{50, 66, 80, 99, 44, 33, 10}));
    ExpectShowsLoadedEffects();
}

TEST_F(EffectSheetShowsTest, AfterInitializePerformanceTheSheetShowsTheInitialEffects)
{
    TParameterData loaded = form->ParameterData;
    LoadEffects(loaded);
    Open(loaded);
    ShowEffectTab(1);
    Headless().MessageResponder = [](const TShownMessage&) { return IDYES; };
    Click("InitPfm");
    Headless().MessageResponder = nullptr;
    Messages().clear();

    // Reverb "Hall1", variation "Delay LCR", insertion "Chorus" with their defaults; sends and
    // switches off, dry levels 127; the EQ shelving at 80 Hz, 1.0k and 10.0k, Q 0.7.
    ExpectRows({{"Reverb Time", "2.0"},
                {"Diffusion", "10"},
                {"InitDelay", "14.3"},
                {"HPF Cutoff", "315"},
                {"LPF Cutoff", "5.6k"},
                {"Rev Delay", "53.6"},
                {"Density", "4"},
                {"ER/Rev", "E<R 5"},
                {"High Damp", "1.0"},
                {"FB Level", "+0"},
                {"Reverb Pan", " C "}},
               "Hall1");
    ShowEffectTab(3);
    EXPECT_EQ(Page().Pfm_Effect_Type->Text(), "Chorus");
    EXPECT_EQ(Pair(Row(17)).Edit->Text(), "127");
    EXPECT_EQ(Page().Pfm_Effect_ImageInsDryLvl->Caption(), "127");
    ShowEffectTab(0);
    for (std::size_t p = 0; p < 4; ++p) {
        EXPECT_EQ(Page().Pfm_Effect_PInsSw[p]->ItemIndex(), 0);
        EXPECT_EQ(Page().Pfm_Effect_ImageDryLvl[p]->Caption(), "127");
    }
    EXPECT_EQ(Page().Pfm_Effect_IndividualOutput->ItemIndex(), 0);
    EXPECT_EQ(Pair(P::Pfm_Effect_EQ_LowFreq).Edit->Text(), "80");
    EXPECT_EQ(Pair(P::Pfm_Effect_EQ_MidFreq).Edit->Text(), "1.0k");
    EXPECT_EQ(Pair(P::Pfm_Effect_EQ_HighFreq).Edit->Text(), "10.0k");
    EXPECT_EQ(Pair(P::Pfm_Effect_EQ_MidQ).Edit->Text(), "0.7");
    EXPECT_FALSE(Pair(P::Pfm_Effect_EQ_LowQ).Enabled());
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{63, 0, 63, 127, 0, 0, 63}));
}

} // namespace
