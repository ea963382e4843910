// After Data Receive > ALL the Voice page shows the voice that arrived for the part of its tab,
// and the kept trailing effect levels are the ones the instrument holds, read from the bytes
// written into the simulated instrument.
#include "tests/transfers/TransfersFixture.h"

#include "voice/VoicePage.h"

namespace {

class ReceiveAllShowsTest : public TransfersTest {};

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

    form->OnShow = nullptr;
    form->Show();
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

} // namespace
