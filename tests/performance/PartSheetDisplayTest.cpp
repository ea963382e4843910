// What the part sheet shows after a receive, a load and an initialisation is what is stored:
// every control of the four parts, with its enables, against the record, in the sheet's own
// forms written out here. The received and loaded parts differ from part to part and from the
// initial data in every word. And the receive maximum's enables for every receive channel, shown
// and picked.
#include "tests/performance/PerformanceFixture.h"

#include <cstring>
#include <string>

namespace {

using P = PfmPair;

// ---- the sheet's forms ---------------------------------------------------------------------------

std::string SignedText(int v, int centre)
{
    return v >= centre ? "+" + std::to_string(v - centre) : "-" + std::to_string(centre - v);
}

std::string NoteName(int n)
{
    static const char* const letters[] = {"C ", "C#", "D ", "D#", "E ", "F ", "F#", "G ", "G#", "A ", "A#", "B "};
    return letters[n % 12] + std::to_string(n / 12 - 2);
}

std::string PanName(int i)
{
    if (i == 0) return "Rnd";
    if (i == 64) return " C";
    const int distance = i < 64 ? 64 - i : i - 64;
    return std::string(i < 64 ? "L" : "R") + (distance < 10 ? " " : "") + std::to_string(distance);
}

// The slider rows of the sheet: the word each shows, signed around `centre` (0: plain number).
struct Row {
    P id;
    int32_t PfmPart::*word;
    int centre;
};
const Row Rows[] = {
    {P::Pfm_Part_Volume, &PfmPart::Volume, 0},
    {P::Pfm_Part_DryLevel, &PfmPart::DryLevel, 0},
    {P::Pfm_Part_ReverbSend, &PfmPart::ReverbSend, 0},
    {P::Pfm_Part_VariationSend, &PfmPart::VariationSend, 0},
    {P::Pfm_Part_Formant, &PfmPart::Formant, 64},
    {P::Pfm_Part_Fm, &PfmPart::Fm, 64},
    {P::Pfm_Part_VNBalance, &PfmPart::VNBalance, 64},
    {P::Pfm_Part_LFO1Speed, &PfmPart::LFO1Speed, 64},
    {P::Pfm_Part_LFO1Pmod, &PfmPart::LFO1Pmod, 64},
    {P::Pfm_Part_LFO1Delay, &PfmPart::LFO1Delay, 64},
    {P::Pfm_Part_FilterFreq, &PfmPart::FilterFreq, 64},
    {P::Pfm_Part_FilterReso, &PfmPart::FilterReso, 64},
    {P::Pfm_Part_FilterEGDepth, &PfmPart::FilterEGDepth, 64},
    {P::Pfm_Part_LFO2Speed, &PfmPart::LFO2Speed, 64},
    {P::Pfm_Part_LFO2FltMod, &PfmPart::LFO2FltMod, 64},
    {P::Pfm_Part_EGAtkTime, &PfmPart::EGAtkTime, 64},
    {P::Pfm_Part_EGDecayTime, &PfmPart::EGDecayTime, 64},
    {P::Pfm_Part_EGReleaseTime, &PfmPart::EGReleaseTime, 64},
    {P::Pfm_Part_PEGInitLvl, &PfmPart::PEGInitLvl, 64},
    {P::Pfm_Part_PEGAtkTime, &PfmPart::PEGAtkTime, 64},
    {P::Pfm_Part_PEGRelLvl, &PfmPart::PEGRelLvl, 64},
    {P::Pfm_Part_PEGRelTime, &PfmPart::PEGRelTime, 64},
    {P::Pfm_Part_Detune, &PfmPart::Detune, 64},
    {P::Pfm_Part_NoteShift, &PfmPart::NoteShift, 24},
    {P::Pfm_Part_PBRange, &PfmPart::PBRange, 48},
    {P::Pfm_Part_PBRangeLo, &PfmPart::PBRangeLo, 48},
    {P::Pfm_Part_PortaTime, &PfmPart::PortaTime, 0},
    {P::Pfm_Part_ReserveNote, &PfmPart::ReserveNote, 0},
    {P::Pfm_Part_VelLimitLow, &PfmPart::VelLimitLow, 0},
    {P::Pfm_Part_VelLimitHigh, &PfmPart::VelLimitHigh, 0},
    {P::Pfm_Part_VelSensDepth, &PfmPart::VelSensDepth, 0},
    {P::Pfm_Part_VelSensOffset, &PfmPart::VelSensOffset, 0},
    {P::Pfm_Part_ExpLimitLo, &PfmPart::ExpLimitLo, 0},
    {P::Pfm_Part_PanScale, &PfmPart::PanScale, 50},
    {P::Pfm_Part_PanMod, &PfmPart::PanMod, 0},
};

// The four parts as the instrument sends them: per part byte AL, the byte of parts 1..4 and the
// word it is stored as (the pitch-bend ranges travel + 16; the receive channel, portamento and
// the switches are told apart below).
struct PartByte {
    uint8_t al;
    int32_t PfmPart::*word;
    Four stored;
    int offset = 0;
};
const PartByte PartBytes[] = {
    {0x00, &PfmPart::ReserveNote, {2, 3, 4, 5}},       {0x01, &PfmPart::BankNum, {2, 3, 0, 12}},
    {0x02, &PfmPart::PrgNum, {17, 18, 19, 127}},       {0x03, &PfmPart::RcvChMax, {2, 127, 0, 0}},
    {0x05, &PfmPart::MonoPoly, {0, 1, 0, 1}},          {0x06, &PfmPart::MonoPriority, {1, 2, 3, 0}},
    {0x07, &PfmPart::FilterSw, {1, 0, 1, 0}},          {0x08, &PfmPart::NoteShift, {20, 21, 22, 47}},
    {0x09, &PfmPart::Detune, {70, 69, 68, 1}},         {0x0A, &PfmPart::VNBalance, {66, 67, 68, 126}},
    {0x0B, &PfmPart::Volume, {90, 91, 92, 5}},         {0x0C, &PfmPart::VelSensDepth, {70, 71, 72, 73}},
    {0x0D, &PfmPart::VelSensOffset, {60, 59, 58, 57}}, {0x0E, &PfmPart::Pan, {0, 32, 64, 100}},
    {0x0F, &PfmPart::NoteLimitLow, {0, 24, 61, 12}},   {0x10, &PfmPart::NoteLimitHigh, {127, 100, 59, 120}},
    {0x11, &PfmPart::DryLevel, {70, 69, 68, 67}},      {0x12, &PfmPart::VariationSend, {21, 22, 23, 24}},
    {0x13, &PfmPart::ReverbSend, {33, 34, 35, 36}},    {0x14, &PfmPart::InsEffectSw, {0, 1, 0, 1}},
    {0x15, &PfmPart::LFO1Speed, {71, 70, 69, 68}},     {0x16, &PfmPart::LFO1Pmod, {60, 61, 62, 63}},
    {0x17, &PfmPart::LFO1Delay, {67, 66, 65, 2}},      {0x18, &PfmPart::FilterFreq, {80, 79, 78, 77}},
    {0x19, &PfmPart::FilterReso, {50, 51, 52, 53}},    {0x1A, &PfmPart::EGAtkTime, {72, 73, 74, 75}},
    {0x1B, &PfmPart::EGDecayTime, {57, 58, 59, 60}},   {0x1C, &PfmPart::EGReleaseTime, {61, 60, 59, 58}},
    {0x1D, &PfmPart::Formant, {70, 71, 72, 73}},       {0x1E, &PfmPart::Fm, {58, 57, 56, 55}},
    {0x1F, &PfmPart::FilterEGDepth, {75, 74, 73, 72}}, {0x20, &PfmPart::PEGInitLvl, {68, 69, 70, 71}},
    {0x21, &PfmPart::PEGAtkTime, {59, 58, 57, 56}},    {0x22, &PfmPart::PEGRelLvl, {73, 74, 75, 76}},
    {0x23, &PfmPart::PEGRelTime, {54, 55, 56, 57}},    {0x25, &PfmPart::PortaTime, {40, 41, 42, 43}},
    {0x26, &PfmPart::PBRange, {51, 52, 53, 72}, 16},   {0x27, &PfmPart::PBRangeLo, {45, 44, 43, 0}, 16},
    {0x28, &PfmPart::PanScale, {60, 61, 62, 100}},     {0x29, &PfmPart::PanMod, {11, 12, 13, 99}},
    {0x2A, &PfmPart::VelLimitLow, {10, 11, 12, 13}},   {0x2B, &PfmPart::VelLimitHigh, {120, 119, 118, 117}},
    {0x2C, &PfmPart::ExpLimitLo, {12, 13, 14, 15}},    {0x2D, &PfmPart::SustainRcvSw, {0, 1, 0, 1}},
};
// Channel 1, "pfm" (10 hex), "off" (7F), channel 6.
const Four RcvChBytes{0x00, 0x10, 0x7F, 0x05}, RcvChStored{0, 16, 17, 5};
// Portamento: switch + 2 x mode: on fulltime, off fingered, off fulltime, on fingered.
const Four PortaBytes{3, 0, 2, 1}, PortaSwStored{1, 0, 0, 1}, PortaModeStored{1, 0, 1, 0};

class PartSheetDisplayTest : public PerformancePageTest {
protected:
    // Every control of part p's sheet, shown by a click on its tab, against the part's words.
    void ExpectSheetShowsPart(int p)
    {
        SCOPED_TRACE("part " + std::to_string(p + 1));
        TakeSent();
        const int changed = form->DataChanged;
        ClickPart(p);
        // The display moves every control; none of their handlers stores, sends or marks.
        EXPECT_TRUE(TakeSent().empty());
        EXPECT_EQ(form->DataChanged, changed);
        const PfmPart& w = Part(p);
        for (const Row& r : Rows) {
            const TValuePair& pair = page->Pair(r.id);
            SCOPED_TRACE(pair.PairForm().Name);
            const int v = w.*r.word;
            EXPECT_EQ(pair.Bar->Position(), v);
            EXPECT_EQ(pair.Edit->Text(), r.centre ? SignedText(v, r.centre) : std::to_string(v));
        }
        EXPECT_EQ(page->Pfm_Part_ReserveNoteBar->Max(), w.ReserveNoteMax);
        EXPECT_EQ(page->Pfm_Part_BankNum->ItemIndex(), w.BankNum);
        EXPECT_EQ(page->Pfm_Part_PrgNum->ItemIndex(), w.BankNum == 0 ? -1 : w.PrgNum);
        EXPECT_EQ(page->Pfm_Part_RcvCh->ItemIndex(), w.RcvCh);
        EXPECT_EQ(page->Pfm_Part_InsEffectSw->ItemIndex(), w.InsEffectSw);
        EXPECT_EQ(page->Pfm_Part_FilterSw->ItemIndex(), w.FilterSw);
        EXPECT_EQ(page->Pfm_Part_PortaSw->ItemIndex(), w.PortaSw);
        EXPECT_EQ(page->Pfm_Part_PortaMode->ItemIndex(), w.PortaMode);
        EXPECT_EQ(page->Pfm_Part_MonoPoly->ItemIndex(), w.MonoPoly);
        EXPECT_EQ(page->Pfm_Part_MonoPriority->ItemIndex(), w.MonoPriority);
        EXPECT_EQ(page->Pfm_Part_SustainRcvSw->ItemIndex(), w.SustainRcvSw);
        EXPECT_EQ(page->Pfm_Part_NoteLimitLow->Text(), NoteName(w.NoteLimitLow));
        EXPECT_EQ(page->Pfm_Part_NoteLimitHigh->Text(), NoteName(w.NoteLimitHigh));
        EXPECT_EQ(page->Pfm_Part_PanBar->Position(), w.Pan);
        EXPECT_EQ(page->Pfm_Part_Pan->Text(), PanName(w.Pan));

        // The enables follow the words.
        EXPECT_EQ(page->Pfm_Part_PrgNum->Enabled(), w.BankNum != 0);
        EXPECT_EQ(page->Pfm_Part_RcvChMax->Visible(), p < 2);
        if (p < 2) {
            EXPECT_EQ(page->Pfm_Part_RcvChMax->ItemIndex(), w.RcvChMax == 127 ? 16 : w.RcvChMax);
            EXPECT_EQ(page->Pfm_Part_RcvChMax->Text() == "off", w.RcvChMax == 127);
            EXPECT_EQ(page->Pfm_Part_RcvChMax->Enabled(), w.RcvCh <= 15);
        }
        for (P id : {P::Pfm_Part_DryLevel, P::Pfm_Part_ReverbSend, P::Pfm_Part_VariationSend})
            EXPECT_EQ(page->Pair(id).Edit->Enabled(), w.InsEffectSw != 1) << page->Pair(id).PairForm().Name;
        for (P id : {P::Pfm_Part_FilterFreq, P::Pfm_Part_FilterReso, P::Pfm_Part_FilterEGDepth, P::Pfm_Part_LFO2Speed,
                     P::Pfm_Part_LFO2FltMod})
            EXPECT_EQ(page->Pair(id).Bar->Enabled(), w.FilterSw == 1) << page->Pair(id).PairForm().Name;
        EXPECT_EQ(page->Pfm_Part_PortaMode->Enabled(), w.PortaSw == 1);
        EXPECT_EQ(page->Pair(P::Pfm_Part_PortaTime).Edit->Enabled(), w.PortaSw == 1);
        EXPECT_EQ(page->Pfm_Part_MonoPriority->Enabled(), w.MonoPoly == 0);
        EXPECT_TRUE(page->Pair(P::Pfm_Part_Volume).Edit->Enabled());
    }
    // The send-all that follows a load locks the window until it is through.
    void WaitForTheTransfer()
    {
        for (int s = 0; s < 120 && !form->Enabled(); ++s) Advance(1000);
        ASSERT_TRUE(form->Enabled()) << "the send-all after the load still held the window after 120 s";
    }
    void ExpectSheetShowsEveryPart()
    {
        for (int p : {2, 0, 3, 1}) ExpectSheetShowsPart(p);
    }
    // Part p holds the table's words of part `from`.
    void ExpectWordsOf(int p, int from)
    {
        SCOPED_TRACE("part " + std::to_string(p + 1));
        const auto f = std::size_t(from);
        for (const PartByte& b : PartBytes) EXPECT_EQ(Part(p).*b.word, b.stored[f]) << "byte " << int(b.al);
        EXPECT_EQ(Part(p).RcvCh, RcvChStored[f]);
        EXPECT_EQ(Part(p).PortaSw, PortaSwStored[f]);
        EXPECT_EQ(Part(p).PortaMode, PortaModeStored[f]);
    }
};

} // namespace

TEST_F(PartSheetDisplayTest, AfterAReceiveEveryControlShowsTheReceivedPart)
{
    instrument.Receive(Built(DumpPerformance));
    for (int p = 0; p < 4; ++p) {
        const auto k = std::size_t(p);
        uint8_t* part = instrument.Performance.data() + 0xC0 + 0x34 * k;
        for (const PartByte& b : PartBytes) part[b.al] = uint8_t(b.stored[k] + b.offset);
        part[0x04] = uint8_t(RcvChBytes[k]);
        part[0x24] = uint8_t(PortaBytes[k]);
    }
    ClickPart(3); // the receive shows the part on the tab
    ASSERT_TRUE(page->Pfm_Data_Request_Btn->UserClicks());
    Advance(2000);
    ASSERT_TRUE(Messages().empty());
    for (int p = 0; p < 4; ++p) ExpectWordsOf(p, p);
    ExpectSheetShowsEveryPart();
    EXPECT_EQ(Built(DumpPerformance)[9 + 0xC0 + 0x34 + 0x03], 0x7F); // part 2's maximum "off" goes back
}

TEST_F(PartSheetDisplayTest, AfterALoadAndAnInitialisationEveryControlShowsTheStoredPart)
{
    // A file whose part p holds the table's part p + 1.
    TParameterData file = form->ParameterData;
    for (int p = 0; p < 4; ++p) {
        const auto from = std::size_t((p + 1) % 4);
        PfmPart& part = file.PfmParts[std::size_t(p)];
        for (const PartByte& b : PartBytes) part.*b.word = b.stored[from];
        part.RcvCh = RcvChStored[from];
        part.PortaSw = PortaSwStored[from];
        part.PortaMode = PortaModeStored[from];
        file.VoiceRecords[std::size_t(p)].VoiceCommon.FilterSw = part.FilterSw;
    }
    ClickPart(1);
    OpenFile(WriteFile("parts.fse", SaveFileImage(file)));
    WaitForTheTransfer();
    ASSERT_TRUE(Messages().empty());
    for (int p = 0; p < 4; ++p) ExpectWordsOf(p, (p + 1) % 4);
    ExpectSheetShowsEveryPart();

    // Initialize > Performance over the loaded parts, with part 3 on the tab.
    ClickPart(2);
    Click("InitPfm");
    WaitForTheTransfer();
    EXPECT_EQ(Part(2).FilterSw, 0);
    EXPECT_EQ(Part(0).PBRange, 50);
    ExpectSheetShowsEveryPart();
}

// The receive maximum and its label for every receive channel: shown for parts 1 and 2, enabled
// while the part listens on a channel (01 .. 16), disabled for "pfm" and "off"; hidden for parts 3
// and 4. The same for a value stored and shown and for a person's pick in the list, each made over
// a value of the other kind.
TEST_F(PartSheetDisplayTest, TheReceiveMaximumFollowsEveryReceiveChannel)
{
    for (int p = 0; p < 4; ++p) Part(p).RcvCh = 17; // only the part tried listens: every channel is free
    for (int p = 0; p < 4; ++p) {
        ClickPart(p);
        for (int channel = 0; channel < 18; ++channel) {
            SCOPED_TRACE("part " + std::to_string(p + 1) + ", receive channel " + page->Pfm_Part_RcvCh->Items[channel]);
            const bool range = channel <= 15;
            auto expectMaximum = [&](const char* how) {
                for (TControl* c : {static_cast<TControl*>(page->Pfm_Part_RcvChMaxText),
                                    static_cast<TControl*>(page->Pfm_Part_RcvChMax)}) {
                    EXPECT_EQ(c->Visible(), p < 2) << how << ": " << c->Name;
                    if (p < 2) {
                        EXPECT_EQ(c->Enabled(), range) << how << ": " << c->Name;
                    }
                }
            };
            const int otherKind = range ? 16 : 0;
            Part(p).RcvCh = otherKind;
            Refresh();
            Part(p).RcvCh = channel;
            Refresh();
            EXPECT_EQ(page->Pfm_Part_RcvCh->ItemIndex(), channel);
            expectMaximum("shown");

            Part(p).RcvCh = otherKind;
            Refresh();
            ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(channel));
            expectMaximum("picked");
            const uint8_t sent = channel == 17 ? 0x7F : uint8_t(channel);
            EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(uint8_t(0x30 + p), 0x04, sent)});
            Part(p).RcvCh = 17;
        }
    }
}
