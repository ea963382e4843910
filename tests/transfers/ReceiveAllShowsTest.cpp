// The pages after Data Receive > ALL from an instrument whose blocks differ from the editor's
// initial ones: the Voice page shows the voice that arrived for the part of its tab, and the kept
// trailing effect levels are the instrument's; every control of the formant-sequence, controller
// and system sheet shows what arrived (the header's control channel too). What each control then
// sends: the message records of tests/pages.
#include "tests/transfers/TransfersFixture.h"

#include "performance/PerformancePage.h"
#include "voice/VoicePage.h"

namespace {

using P = PfmPair;

// The controller-set source bits, as the dump carries them: the first byte's bits 0..6
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

class ReceiveAllShowsTest : public TransfersTest {
protected:
    void SetUp() override
    {
        TransfersTest::SetUp();
        form->OnShow = nullptr;
        form->Show();
        page = form->PerformancePage.get();
        page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    }

    TEdit* Box(P id) { return page->Pair(id).Edit; }
    TScrollBar* Bar(P id) { return page->Pair(id).Bar; }
    P DepthRow(int k) { return static_cast<P>(static_cast<int>(P::Pfm_Ctrl_Depth1) + k); }

    TPerformancePage* page = nullptr;
};

TEST_F(ReceiveAllShowsTest, VoicePageShowsItsTabsVoiceAndKeptEffectLevelsAreTheInstruments)
{
    const char* const names[4] = {"Oboe Solo ", "Glass Pad ", "Mallet Bel", "Fat Bass 2"};
    for (std::size_t v = 0; v < 4; ++v) {
        auto& voice = instrument.Voices[v];
        std::memcpy(voice.data(), names[v], 10);
        voice[0x2C] = uint8_t(30 + 5 * v); // algorithm 31, 36, 41, 46
    }
    // Effect types with trailing slots at different slot numbers; the trailing positions hold
    // reverb pan 41 (shown value 40), variation pan 51 and send 33, insertion pan 61, sends 22
    // and 44, dry level 99.
    auto& pfm = instrument.Performance;
    pfm[0xA8] = 4, pfm[0xAB] = 9, pfm[0xAF] = 13;
    pfm[0xA9] = 41;
    pfm[0xAC] = 51, pfm[0xAE] = 33;
    pfm[0xB0] = 61, pfm[0xB1] = 22, pfm[0xB2] = 44, pfm[0xB3] = 99;
    for (std::size_t i = 0; i < 12; ++i) pfm[i] = ' ';

    ASSERT_TRUE(form->FS1R_PageControl->UserSelects(1));
    ASSERT_TRUE(form->VoicePage->Vc_VoiceTab->UserSelects(2));
    Click("DataRcvAll");
    Advance(40000);
    ASSERT_TRUE(Messages().empty());
    ASSERT_FALSE(form->TransferRunning());

    EXPECT_EQ(form->VoicePage->Vc_Name->Text(), "Mallet Bel");
    EXPECT_EQ(form->VoicePage->Vc_AlgorithmEdit->Text(), "41");
    // Kept per block from its last slot backwards: reverb pan; variation send, pan; insertion
    // dry level, send to variation, send to reverb, pan.
    EXPECT_EQ(form->EffectKeptLevels, (std::array<int32_t, 7>{40, 33, 50, 99, 44, 22, 60}));

    // The other tabs show their own voices when chosen.
    ASSERT_TRUE(form->VoicePage->Vc_VoiceTab->UserSelects(0));
    EXPECT_EQ(form->VoicePage->Vc_Name->Text(), "Oboe Solo ");
}

TEST_F(ReceiveAllShowsTest, SequenceControllerAndSystemSheetShowsEveryField)
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
    Click("DataRcvAll");
    Advance(40000);
    ASSERT_FALSE(form->TransferRunning());
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
    const std::pair<TRadioGroup*, int> radios[] = {{pg.Pfm_SystemVelCrv, 4},        {pg.Pfm_SystemDumpInterval, 4},
                                                   {pg.Pfm_SystemRcvNote, 2},       {pg.Pfm_SystemBCCurve, 2},
                                                   {pg.Pfm_SystemKNCtrlMode, 1},    {pg.Pfm_SystemRcvKNCtrl, 0},
                                                   {pg.Pfm_SystemTrnKNCtrl, 0},     {pg.Pfm_SystemRcvPgmChange, 0},
                                                   {pg.Pfm_SystemRcvBankSelect, 0}, {pg.Pfm_SystemRcvPgmMode, 1}};
    for (const auto& [radio, item] : radios) EXPECT_EQ(radio->ItemIndex(), item) << radio->Name;
    EXPECT_FALSE(pg.Pfm_SystemRcvBankSelect->Enabled());
}

TEST_F(ReceiveAllShowsTest, PercentSpeedShowsItsOwnTextAfterAReceive)
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
