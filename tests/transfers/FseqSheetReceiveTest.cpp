// The formant-sequence, controller and system sheet after Data Receive > ALL from an instrument
// whose performance and system settings differ from the editor's initial ones in every field of
// the sheet: every control shows what arrived (the header's control channel too), and then each
// switch and list a person changes sends exactly its own parameter change, after which the
// instrument and the editor hold the same blocks.
#include "tests/transfers/TransfersFixture.h"

#include "performance/PerformancePage.h"

namespace {

using P = PfmPair;

Bytes Change(uint8_t ah, uint8_t al, uint8_t dh, uint8_t dl)
{
    return {0xF0, 0x43, 0x10, 0x5E, ah, 0x00, al, dh, dl, 0xF7};
}
Bytes Pfm(uint8_t al, uint8_t dh, uint8_t dl) { return Change(0x10, al, dh, dl); }
Bytes Sys(uint8_t al, uint8_t dl) { return Change(0x00, al, 0x00, dl); }

// The controller-set source bits, as the parameter change carries them: the first byte's bits 0..6
// are CAT, PAT, FC, BC, MC3, MW, MC4, the second byte's KN1, KN2, KN3, KN4, MC1, MC2, PB.
struct SourceBit {
    int Byte, Bit;
};
constexpr SourceBit SourceBits[14] = {
    {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {0, 4}, // KN1 KN2 KN3 KN4 MC1 MC2 MC3
    {0, 6}, {0, 2}, {0, 3}, {0, 5}, {0, 0}, {0, 1}, {1, 6}, // MC4 FC BC MW CAT PAT PB
};

// What set k of the instrument holds: its two source bytes, part mask, destination and depth.
uint8_t SourceByte(int k, int byte) { return uint8_t(byte == 0 ? (k * 23 + 9) & 0x7F : (k * 41 + 66) & 0x7F); }
uint8_t PartMask(int k) { return uint8_t((k * 5 + 3) & 0x0F); }
uint8_t Destination(int k) { return uint8_t(18 + 3 * k); }
uint8_t Depth(int k) { return uint8_t(20 + 11 * k); }

// The controller numbers the instrument assigns to KN1 .. FM, and the list entries they are.
constexpr uint8_t Controllers[12] = {1, 31, 33, 95, 7, 64, 2, 11, 84, 74, 91, 5};
constexpr int Entries[12] = {0, 30, 31, 93, 6, 62, 1, 10, 82, 72, 89, 4};

class FseqSheetReceiveTest : public TransfersTest {
protected:
    void SetUp() override
    {
        TransfersTest::SetUp();
        form->OnShow = nullptr;
        form->Show();
        page = form->PerformancePage.get();
        page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    }

    void SeedSheet()
    {
        SeedInstrument(); // blocks the editor reads back as they are
        auto& f = instrument.Performance;
        f[0x15] = 3;               // part 3
        f[0x16] = 0;               // internal bank
        f[0x17] = 4;               // memory 5
        f[0x18] = 0, f[0x19] = 3;  // midi speed, ratio midi2/1
        f[0x1A] = 2, f[0x1B] = 44; // start offset 300
        f[0x1C] = 1, f[0x1D] = 2;  // loop start 130
        f[0x1E] = 3, f[0x1F] = 66; // loop end 450
        f[0x20] = 1;               // round
        f[0x21] = 1;               // scratch
        f[0x22] = 5;               // speed velocity
        f[0x23] = 1;               // fixed pitch
        f[0x24] = 1;               // all keys trigger
        f[0x26] = 42;              // start delay
        f[0x27] = 40;              // level velocity -24
        for (int k = 0; k < 8; ++k) {
            f[0x28 + k] = PartMask(k);
            f[0x30 + 2 * k] = SourceByte(k, 0);
            f[0x31 + 2 * k] = SourceByte(k, 1);
            f[0x40 + k] = Destination(k);
            f[0x48 + k] = Depth(k);
        }
        auto& s = instrument.System;
        s[0x00] = 20;  // master tune -44
        s[0x06] = 100; // master note shift +36
        s[0x07] = 4;   // dump interval 300
        s[0x08] = 1;   // multi
        s[0x09] = 5;   // control channel 6
        s[0x0B] = 1;   // relative knobs
        s[0x0D] = 2;   // breath curve 2
        s[0x0E] = 4;   // hard
        s[0x11] = 2;   // even notes
        s[0x12] = 0;   // bank select off
        s[0x13] = 0;   // program change off
        s[0x14] = 0;   // knobs received off
        s[0x15] = 0;   // knobs sent off
        for (int i = 0; i < 12; ++i) s[0x16 + i] = Controllers[i];
        s[0x47] = 1; // memory mode 1
    }

    TEdit* Box(P id) { return page->Pair(id).Edit; }
    TScrollBar* Bar(P id) { return page->Pair(id).Bar; }
    P DepthRow(int k) { return static_cast<P>(static_cast<int>(P::Pfm_Ctrl_Depth1) + k); }
    void ExpectSent(const std::vector<Bytes>& messages, const std::string& what)
    {
        EXPECT_EQ(TakeSent(), messages) << what;
    }

    TPerformancePage* page = nullptr;
};

TEST_F(FseqSheetReceiveTest, ReceivedSheetShowsEveryFieldAndEachEditSendsItsOwnChange)
{
    SeedSheet();
    Click("DataRcvAll");
    Advance(40000);
    ASSERT_FALSE(form->TransferRunning());
    TakeSent();
    TPerformancePage& pg = *page;

    // The header's channel travels in the system block, which came last.
    EXPECT_EQ(pg.Pfm_Ch->Text(), "6");

    EXPECT_EQ(pg.Pfm_Fseq_Part->ItemIndex(), 3);
    EXPECT_EQ(pg.Pfm_Fseq_FseqBank->ItemIndex(), 0);
    EXPECT_EQ(pg.Pfm_Fseq_FseqInt->ItemIndex(), 4);
    EXPECT_EQ(pg.Pfm_Fseq_Mode->ItemIndex(), 0);
    EXPECT_EQ(pg.Pfm_Fseq_KeyOnTrig->ItemIndex(), 1);
    EXPECT_EQ(pg.Pfm_Fseq_SpeedSelect->ItemIndex(), 0);
    EXPECT_EQ(pg.Pfm_Fseq_Speedmidi->ItemIndex(), 3);
    EXPECT_EQ(Box(P::Pfm_Fseq_SpeedVel)->Text(), "5");
    EXPECT_EQ(Box(P::Pfm_Fseq_LevelVel)->Text(), "-24");
    EXPECT_EQ(pg.Pfm_Fseq_Pitch->ItemIndex(), 1);
    EXPECT_EQ(pg.Pfm_Fseq_LoopMode->ItemIndex(), 1);
    EXPECT_EQ(Box(P::Pfm_Fseq_StartDelay)->Text(), "42");
    EXPECT_EQ(Box(P::Pfm_Fseq_StartOffset)->Text(), "300");
    EXPECT_EQ(Bar(P::Pfm_Fseq_StartOffset)->Position(), 300);
    EXPECT_EQ(Box(P::Pfm_Fseq_LoopStart)->Text(), "130");
    EXPECT_EQ(Box(P::Pfm_Fseq_LoopEnd)->Text(), "450");
    // Memory mode 1 and the internal bank: the memory list and its buttons; scratch: no playing rows.
    EXPECT_TRUE(pg.Pfm_Fseq_FseqInt->Enabled() && pg.Pfm_Fseq_FseqIntWrite->Enabled());
    EXPECT_FALSE(pg.Pfm_Fseq_FseqPre->Enabled());
    EXPECT_FALSE(pg.Pfm_Fseq_KeyOnTrig->Enabled() || pg.Pfm_Fseq_LoopMode->Enabled());
    EXPECT_FALSE(page->Pair(P::Pfm_Fseq_StartDelay).Enabled());
    EXPECT_TRUE(page->Pair(P::Pfm_Fseq_StartOffset).Enabled() && page->Pair(P::Pfm_Fseq_LevelVel).Enabled());

    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE("set " + std::to_string(k + 1));
        const auto sk = std::size_t(k);
        for (std::size_t c = 0; c < 14; ++c) {
            const bool on = SourceByte(k, SourceBits[c].Byte) >> SourceBits[c].Bit & 1;
            EXPECT_EQ(pg.Pfm_Ctrl_ChkSource[sk][c]->Checked(), on) << pg.Pfm_Ctrl_ChkSource[sk][c]->Name;
        }
        EXPECT_EQ(pg.Pfm_Ctrl_Dest[sk]->ItemIndex(), Destination(k));
        EXPECT_EQ(Bar(DepthRow(k))->Position(), Depth(k));
        const int shown = Depth(k) - 64;
        EXPECT_EQ(Box(DepthRow(k))->Text(), (shown < 0 ? "-" : "+") + std::to_string(std::abs(shown)));
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(pg.Pfm_Ctrl_ChkPart[sk][i]->Checked(), bool(PartMask(k) >> i & 1));
            EXPECT_TRUE(pg.Pfm_Ctrl_ChkPart[sk][i]->Enabled());
        }
    }

    for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(pg.Pfm_Cntl_Assign[i]->ItemIndex(), Entries[i]) << i;
    EXPECT_EQ(pg.Pfm_Cntl_Assign[1]->Text(), "31:-------");
    EXPECT_EQ(pg.Pfm_Cntl_Assign[2]->Text(), "33:-------");
    EXPECT_EQ(Box(P::Pfm_SystemMstrTune)->Text(), "-44");
    EXPECT_EQ(Box(P::Pfm_SystemMstrNote)->Text(), "+36");
    EXPECT_EQ(pg.Pfm_SystemVelCrv->ItemIndex(), 4);
    EXPECT_EQ(pg.Pfm_SystemDumpInterval->ItemIndex(), 4);
    EXPECT_EQ(pg.Pfm_SystemRcvNote->ItemIndex(), 2);
    EXPECT_EQ(pg.Pfm_SystemBCCurve->ItemIndex(), 2);
    EXPECT_EQ(pg.Pfm_SystemKNCtrlMode->ItemIndex(), 1);
    EXPECT_EQ(pg.Pfm_SystemRcvKNCtrl->ItemIndex(), 0);
    EXPECT_EQ(pg.Pfm_SystemTrnKNCtrl->ItemIndex(), 0);
    EXPECT_EQ(pg.Pfm_SystemRcvBankSelect->ItemIndex(), 0);
    EXPECT_EQ(pg.Pfm_SystemRcvPgmChange->ItemIndex(), 0);
    EXPECT_EQ(pg.Pfm_SystemRcvPgmMode->ItemIndex(), 1);
    EXPECT_FALSE(pg.Pfm_SystemRcvBankSelect->Enabled());

    // ---- one edit per control, each sending its own change (the sequence selectors, the speed
    // controls and the sliders: FseqSheetTest and SliderMessagesTest) ----
    ASSERT_TRUE(pg.Pfm_Fseq_Mode->UserClicks(1));
    ExpectSent({Pfm(0x21, 0, 2)}, "mode fseq");
    ASSERT_TRUE(pg.Pfm_Fseq_Part->UserClicks(1));
    ExpectSent({Pfm(0x15, 0, 1)}, "part 1");
    ASSERT_TRUE(pg.Pfm_Fseq_KeyOnTrig->UserClicks(0));
    ExpectSent({Pfm(0x24, 0, 0)}, "first key");
    ASSERT_TRUE(pg.Pfm_Fseq_Pitch->UserClicks(0));
    ExpectSent({Pfm(0x23, 0, 0)}, "pitch fseq");
    ASSERT_TRUE(pg.Pfm_Fseq_LoopMode->UserClicks(0));
    ExpectSent({Pfm(0x20, 0, 0)}, "oneway");

    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE("set " + std::to_string(k + 1));
        const auto sk = std::size_t(k);
        const auto c = std::size_t((k * 5) % 14);
        ASSERT_TRUE(pg.Pfm_Ctrl_ChkSource[sk][c]->UserClicks());
        uint8_t bytes[2] = {SourceByte(k, 0), SourceByte(k, 1)};
        bytes[SourceBits[c].Byte] ^= uint8_t(1 << SourceBits[c].Bit);
        ExpectSent({Pfm(uint8_t(0x30 + 2 * k), bytes[0], bytes[1])}, "source " + pg.Pfm_Ctrl_ChkSource[sk][c]->Name);
        ASSERT_TRUE(pg.Pfm_Ctrl_ChkPart[sk][2]->UserClicks());
        ExpectSent({Pfm(uint8_t(0x28 + k), 0, uint8_t(PartMask(k) ^ 4))}, "part 3");
        ASSERT_TRUE(pg.Pfm_Ctrl_Dest[sk]->UserSelects(47 - k));
        ExpectSent({Pfm(uint8_t(0x40 + k), 0, uint8_t(47 - k))}, "destination");
    }

    const int picks[12] = {30, 31, 93, 0, 78, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(pg.Pfm_Cntl_Assign[std::size_t(i)]->UserSelects(picks[i]));
        ExpectSent({Sys(uint8_t(0x16 + i), uint8_t(picks[i] <= 30 ? picks[i] + 1 : picks[i] + 2))},
                   "assignment " + std::to_string(i));
    }
    EXPECT_EQ(form->ParameterData.SystemBlock.ControllerAssign[4], 78);
    const std::pair<TRadioGroup*, uint8_t> radios[] = {
        {pg.Pfm_SystemVelCrv, 0x0E},    {pg.Pfm_SystemDumpInterval, 0x07}, {pg.Pfm_SystemRcvNote, 0x11},
        {pg.Pfm_SystemBCCurve, 0x0D},   {pg.Pfm_SystemKNCtrlMode, 0x0B},   {pg.Pfm_SystemRcvKNCtrl, 0x14},
        {pg.Pfm_SystemTrnKNCtrl, 0x15}, {pg.Pfm_SystemRcvPgmChange, 0x13}, {pg.Pfm_SystemRcvBankSelect, 0x12},
        {pg.Pfm_SystemRcvPgmMode, 0x08}};
    for (const auto& [radio, al] : radios) {
        const int next = radio->ItemIndex() == 1 ? 0 : 1;
        ASSERT_TRUE(radio->UserClicks(next)) << radio->Name;
        ExpectSent({Sys(al, uint8_t(next))}, radio->Name);
    }

    // Everything the person changed reached the instrument as the editor stores it.
    ExpectStored({DumpPerformance, DumpSystem});
}

TEST_F(FseqSheetReceiveTest, PercentSpeedShowsItsOwnTextAfterAReceive)
{
    instrument.Performance[0x18] = 0x0A, instrument.Performance[0x19] = 0x36; // 1334: 133.4 %
    Click("DataRcvPfm");
    Advance(2000);
    EXPECT_EQ(form->ParameterData.PfmFseq.Speed, 1234);
    EXPECT_EQ(Box(P::Pfm_Fseq_Speed)->Text(), "133.4");
    instrument.Performance[0x18] = 0x27, instrument.Performance[0x19] = 0x6C; // 5100: beyond 500.0 %

    Click("DataRcvPfm");
    Advance(2000);
    EXPECT_EQ(form->ParameterData.PfmFseq.Speed, 5000);
    EXPECT_EQ(Box(P::Pfm_Fseq_Speed)->Text(), "500.0"); // the slider's top, where it stands
}

} // namespace
