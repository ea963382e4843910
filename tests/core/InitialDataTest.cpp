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

TEST_F(InitialDataTest, ConstructionGivesTheInitialPerformance)
{
    EXPECT_EQ(Main.CaptionText, "Quillmarven");
    EXPECT_EQ(Main.DataChanged, 0);
    EXPECT_EQ(Main.SilentReceiveAll, 1);
    EXPECT_EQ(Main.DeviceNumber, 0);
    EXPECT_EQ(D.SystemBlock.MemoryMode, 0);
    EXPECT_EQ(std::memcmp(D.PfmCommon.Name.data(), "InitPerfrmnc", 12), 0);
    EXPECT_EQ(D.PfmCommon.NameSpare[0], 0);

    EXPECT_EQ(D.PfmParts[0].BankNum, 1);
    EXPECT_EQ(D.PfmParts[0].PrgNum, 0);
    EXPECT_EQ(D.PfmParts[0].RcvCh, 0);
    for (std::size_t p = 1; p < 4; ++p) {
        EXPECT_EQ(D.PfmParts[p].BankNum, 0);
        EXPECT_EQ(D.PfmParts[p].RcvCh, 17);
    }
    for (const PfmPart& part : D.PfmParts) EXPECT_EQ(part.ReserveNote, 4);
}

TEST_F(InitialDataTest, EffectsFormantSequenceAndControllerSets)
{
    const PfmEffect& e = D.PfmEffect;
    const int32_t types[3] = {1, 20, 1};
    for (std::size_t b = 0; b < 3; ++b) {
        EXPECT_EQ(e.PfmEffectBlocks[b].EffectType, types[b]);
        EXPECT_EQ(e.PfmEffectBlocks[b].Para, Main.EffectTypeTable[static_cast<std::size_t>(types[b])][b].DefaultValue);
    }
    EXPECT_EQ(Main.EffectKeptLevels, (std::array<int32_t, 7>{63, 0, 63, 127, 0, 0, 63}));

    const auto& preset = Main.FseqPresetInfo[0];
    const PfmFseq& f = D.PfmFseq;
    EXPECT_EQ(f.Pitch, preset[0]);
    EXPECT_EQ(f.StartDelay, preset[1]);
    EXPECT_EQ(f.LoopMode, preset[2]);
    EXPECT_EQ(f.LoopStart, preset[3]);
    EXPECT_EQ(f.LoopEnd, preset[4]);
    EXPECT_EQ(f.LoopEndMax, preset[5]);
    EXPECT_GT(preset[5], 0); // the catalogue is really there
    for (const FseqMemorySlot& slot : Main.FseqIntInfo) {
        EXPECT_EQ(slot.LoopStart, preset[3]);
        EXPECT_EQ(slot.EndStep, preset[5]);
    }

    const ControlSource on[5] = {MW, KN1, KN2, KN3, KN4};
    const int32_t destination[8] = {39, 21, 22, 15, 16, 0, 0, 0};
    const int32_t depth[8] = {78, 96, 73, 80, 80, 64, 64, 64};
    for (std::size_t k = 0; k < 8; ++k) {
        const PfmControlSet& set = D.PfmControlSets[k];
        for (int s = 0; s < 14; ++s)
            EXPECT_EQ(set.SourceSw[static_cast<std::size_t>(s)], k < 5 && s == on[k] ? 1 : 0) << k << " " << s;
        for (uint8_t sw : set.PartSw) EXPECT_EQ(sw, k < 5 ? 1 : 0);
        EXPECT_EQ(set.Destination, destination[k]);
        EXPECT_EQ(set.Depth, depth[k]);
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

TEST_F(InitialDataTest, InitialDumps)
{
    Main.BuildPerformanceDump(DumpPerformance, 0);
    const auto perf = [&](int pos) { return Main.PerformanceDumpBuffer[9u + static_cast<std::size_t>(pos)]; };
    EXPECT_EQ(perf(0xA8), 1);
    EXPECT_EQ(perf(0xA9), 64);   // reverb pan 63, + 1
    EXPECT_EQ(perf(0x30), 0x20); // set 1: MW
    // Variation Delay LCR: its delays are two-byte fields with the kind's offset.
    EXPECT_EQ(perf(0x68) * 128 + perf(0x69), D.PfmEffect.PfmEffectBlocks[VariationBlock].Para[0] + 1);
}

} // namespace
