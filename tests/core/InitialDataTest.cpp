// The initial edit buffer and the initializers.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/RecordingMainData.h"

namespace {

class InitialDataTest : public ::testing::Test {
protected:
    RecordingMainData Main;
    TParameterData& D = Main.ParameterData;
};

// Every initial word of the buffer: InitialValuesTest. Here the state around it.
TEST_F(InitialDataTest, ConstructionStartsUnchangedWithTheSequenceMemoriesAsTheFirstPreset)
{
    EXPECT_EQ(Main.CaptionText, "Quillmarven");
    EXPECT_EQ(Main.DataChanged, 0);
    EXPECT_EQ(Main.SilentReceiveAll, 1);
    EXPECT_EQ(Main.DeviceNumber, 0);
    // The first preset: loop 0..498, end step 504.
    for (const FseqMemorySlot& slot : Main.FseqIntInfo) {
        EXPECT_EQ(slot.LoopStart, 0);
        EXPECT_EQ(slot.LoopEnd, 498);
        EXPECT_EQ(slot.EndStep, 504);
    }
}

TEST_F(InitialDataTest, InitSystemKeepsMemoryMode)
{
    D.SystemBlock.MemoryMode = 1;
    D.SystemBlock.MstrTune = 3;
    D.SystemBlock.SystemExtraPairs.fill(9);
    Main.InitSystem();
    EXPECT_EQ(D.SystemBlock.MemoryMode, 1);
    EXPECT_EQ(D.SystemBlock.MstrTune, 64);
    EXPECT_EQ(D.SystemBlock.ControllerAssign, (std::array<int32_t, 12>{15, 16, 17, 18, 19, 20, 21, 12, 3, 1, 78, 79}));
    EXPECT_EQ(D.SystemBlock.SystemExtraPairs, (std::array<int32_t, 8>{60, 60, 60, 60, 127, 127, 127, 127}));
    Main.BuildSystemDump();
    EXPECT_EQ(Main.SystemDumpBuffer[9 + 0x16], 16); // controller 16 for KN1
    EXPECT_EQ(Main.SystemDumpBuffer[9 + 0x1D], 13);
}

TEST_F(InitialDataTest, InitVoiceReleasesOnlyItsOwnMutesAndKeepsTheFilterSwitchOfItsPart)
{
    for (auto& part : Main.OperatorMute.Voiced) part.fill(1);
    for (auto& part : Main.OperatorMute.Unvoiced) part.fill(1);
    D.PfmParts[2].FilterSw = 1;
    D.VoiceRecords[2].VoiceCommon.FilterSw = 1;
    D.VoiceRecords[2].VoiceCommon.Name[11] = 'Q';
    D.VoiceRecords[2].VoicedOperators[0].OutputLvl = 3;
    Main.InitVoice(2);

    for (std::size_t v = 0; v < 4; ++v)
        for (std::size_t k = 0; k < 8; ++k) {
            EXPECT_EQ(Main.OperatorMute.Voiced[v][k], v == 2 ? 0 : 1);
            EXPECT_EQ(Main.OperatorMute.Unvoiced[v][k], v == 2 ? 0 : 1);
        }
    const VoiceRecord& voice = D.VoiceRecords[2];
    EXPECT_EQ(voice.VoiceCommon.FilterSw, 1);
    EXPECT_EQ(std::memcmp(voice.VoiceCommon.Name.data(), "Init Voice", 11), 0);
    EXPECT_EQ(voice.VoiceCommon.Name[11], 'Q');
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(voice.VoicedOperators[k].FseqTrk, static_cast<int32_t>(k));
        EXPECT_EQ(voice.VoicedOperators[k].OutputLvl, k == 0 ? 99 : 0);
    }
}

TEST_F(InitialDataTest, InitPerformanceClearsPartMutesAndKeepsVoiceFilterWordsInStep)
{
    Main.PartMute = {1, 1, 0, 1};
    for (std::size_t p = 0; p < 4; ++p) {
        D.PfmParts[p].FilterSw = 1;
        D.VoiceRecords[p].VoiceCommon.FilterSw = 1;
        D.PfmParts[p].BankNum = 5;
    }
    Main.InitPerformance();
    EXPECT_EQ(Main.PartMute, (std::array<uint8_t, 4>{0, 0, 0, 0}));
    for (std::size_t p = 0; p < 4; ++p) {
        EXPECT_EQ(D.PfmParts[p].FilterSw, 0);
        EXPECT_EQ(D.VoiceRecords[p].VoiceCommon.FilterSw, 0);
        EXPECT_EQ(D.PfmParts[p].BankNum, p == 0 ? 1 : 0);
    }
}

} // namespace
