// Building and sending the bulk dumps.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/RecordingMainData.h"

namespace {

using Bytes = std::vector<uint8_t>;

class DumpBuilderTest : public ::testing::Test {
protected:
    RecordingMainData Main;

    int Perf(int pos) { return Main.PerformanceDumpBuffer[9u + static_cast<std::size_t>(pos)]; }
    PfmEffectBlock& Effect(int block)
    {
        return Main.ParameterData.PfmEffect.PfmEffectBlocks[static_cast<std::size_t>(block)];
    }
    void BuildPerformance() { Main.BuildPerformanceDump(DumpPerformance, 0); }
};

void ExpectSealed(const Bytes& m)
{
    ASSERT_GE(m.size(), 11u);
    EXPECT_EQ(m.front(), 0xF0);
    EXPECT_EQ(m.back(), 0xF7);
    unsigned sum = 0;
    for (std::size_t i = 4; i + 1 < m.size(); ++i) sum += m[i];
    EXPECT_EQ(sum % 128, 0u) << "checksum";
    for (std::size_t i = 1; i + 1 < m.size(); ++i) EXPECT_LT(m[i], 0x80) << "byte " << i;
}

TEST_F(DumpBuilderTest, KindsAddressesAndLengths)
{
    for (int kind : {5, 8, 49, 54, -1}) Main.SendBulkDump(kind, 0);
    EXPECT_TRUE(Main.Sent.empty());
    Main.SendBulkDump(DumpPerformanceToMemory, 128); // a memory number must fit one data byte
    Main.SendBulkDump(52, -1);
    EXPECT_TRUE(Main.Sent.empty());

    Main.SendBulkDump(DumpPerformanceToMemory, 5);
    ASSERT_EQ(Main.Sent.back().size(), 411u);
    EXPECT_EQ(Bytes(Main.Sent.back().begin() + 4, Main.Sent.back().begin() + 9), (Bytes{0x03, 0x10, 0x11, 0x00, 0x05}));

    std::memcpy(Main.ParameterData.VoiceRecords[2].VoiceCommon.Name.data(), "Part3Voice", 10);
    Main.SendBulkDump(52, 63);
    ASSERT_EQ(Main.Sent.back().size(), 619u);
    EXPECT_EQ(Bytes(Main.Sent.back().begin() + 4, Main.Sent.back().begin() + 9), (Bytes{0x04, 0x60, 0x51, 0x00, 0x3F}));
    EXPECT_EQ(Main.Sent.back()[9], 'P');

    Main.SendBulkDump(3, 0);
    EXPECT_EQ(Bytes(Main.Sent.back().begin() + 6, Main.Sent.back().begin() + 9), (Bytes{0x43, 0x00, 0x00}));

    Main.ParameterData.SystemBlock.MemoryMode = 1;
    Main.SendBulkDump(DumpSystem, 0);
    ASSERT_EQ(Main.Sent.back().size(), 87u);
    EXPECT_EQ(Main.Sent.back()[4], 0x00);
    EXPECT_EQ(Main.Sent.back()[5], 0x4C);
    EXPECT_EQ(Main.Sent.back()[9 + 0x47], 0x00);
    for (const Bytes& m : Main.Sent) ExpectSealed(m);

    // The device number goes only into the sent copies, every time.
    Main.DeviceNumber = 3;
    Main.SendBulkDump(DumpPerformance, 0);
    Main.SendBulkDump(DumpPerformance, 0);
    EXPECT_EQ(Main.Sent.end()[-1][2], 0x03);
    EXPECT_EQ(Main.Sent.end()[-2][2], 0x03);
    EXPECT_EQ(Main.PerformanceDumpBuffer[2], 0x00);
    ExpectSealed(Main.Sent.back());
}

TEST_F(DumpBuilderTest, NamesAreBlankPadded)
{
    auto& name = Main.ParameterData.PfmCommon.Name;
    name.fill(0);
    std::memcpy(name.data(), "Foo", 3);
    BuildPerformance();
    EXPECT_EQ(Perf(0), 'F');
    EXPECT_EQ(Perf(2), 'o');
    for (int i = 3; i < 12; ++i) EXPECT_EQ(Perf(i), 0x20);
    name[1] = 0x1F;
    name[2] = 0xE9;
    BuildPerformance();
    EXPECT_EQ(Perf(1), 0x20);
    EXPECT_EQ(Perf(2), 0x20);
}

TEST_F(DumpBuilderTest, DumpOnlyFields)
{
    // The extra system pairs interleave; the formant-sequence number follows the bank.
    Main.ParameterData.SystemBlock.SystemExtraPairs = {1, 2, 3, 4, 5, 6, 7, 8};
    Main.BuildSystemDump();
    EXPECT_EQ(Bytes(Main.SystemDumpBuffer.begin() + 9 + 0x22, Main.SystemDumpBuffer.begin() + 9 + 0x2A),
              (Bytes{1, 5, 2, 6, 3, 7, 4, 8}));
    PfmFseq& f = Main.ParameterData.PfmFseq;
    f.FseqInt = 4;
    f.FseqPre = 77;
    f.FseqBank = 0;
    BuildPerformance();
    EXPECT_EQ(Perf(0x17), 4);
    f.FseqBank = 1;
    BuildPerformance();
    EXPECT_EQ(Perf(0x17), 77);
}

TEST_F(DumpBuilderTest, EffectPlacement)
{
    // No reverb: only the pan, at A9, + 1.
    Effect(ReverbBlock).EffectType = 0;
    Effect(ReverbBlock).Para[0] = 63;
    BuildPerformance();
    for (int pos = 0x50; pos <= 0x67; ++pos) EXPECT_EQ(Perf(pos), 0) << pos;
    EXPECT_EQ(Perf(0xA9), 64);

    // A reverb delay below 60 hex is a two-byte field: 13,650 survives in full.
    Effect(ReverbBlock).EffectType = 14; // Delay L,R
    Effect(ReverbBlock).Para.fill(0);
    Effect(ReverbBlock).Para[1] = 13649; // Rch Delay at 52, kind 26, + 1
    Effect(ReverbBlock).Para[6] = 36;    // EQ LowFreq at 64, one byte, kind 5, + 4
    BuildPerformance();
    EXPECT_EQ(Perf(0x52), 13650 >> 7);
    EXPECT_EQ(Perf(0x53), 13650 & 0x7F);
    EXPECT_EQ(Perf(0x64), 40);

    // Variation Phaser1: "Diffuse" at 7E takes 7E and 7F.
    Effect(VariationBlock).EffectType = 5;
    Effect(VariationBlock).Para.fill(0);
    Effect(VariationBlock).Para[5] = 1;
    Effect(VariationBlock).Para[10] = 100; // pan, at AC, + 1
    Effect(VariationBlock).Para[11] = 7;   // send to reverb, at AE
    BuildPerformance();
    EXPECT_EQ(Perf(0x7E), 0);
    EXPECT_EQ(Perf(0x7F), 1);
    EXPECT_EQ(Perf(0xAC), 101);
    EXPECT_EQ(Perf(0xAE), 7);

    // Insertion compressor: "Release" raw in the low byte; other slots + offset, 14-bit.
    Effect(InsertionBlock).EffectType = 24;
    Effect(InsertionBlock).Para.fill(0);
    Effect(InsertionBlock).Para[1] = 9;  // Release at 0A, kind 12
    Effect(InsertionBlock).Para[2] = 10; // Threshold at 0C, kind 37, + 79
    Effect(InsertionBlock).Para[5] = 63; // pan
    Effect(InsertionBlock).Para[8] = 127;
    BuildPerformance();
    EXPECT_EQ(Perf(0x8A), 0);
    EXPECT_EQ(Perf(0x8B), 9);
    EXPECT_EQ(Perf(0x8C), 0);
    EXPECT_EQ(Perf(0x8D), 89);
    EXPECT_EQ(Perf(0xB0), 64);
    EXPECT_EQ(Perf(0xB3), 127);
    EXPECT_EQ(Perf(0xAF), 24);
    // Another "Release" takes its offset like every other slot.
    Effect(InsertionBlock).EffectType = 16; // T-Wah +Dist: Release at 26
    Effect(InsertionBlock).Para[3] = 9;
    BuildPerformance();
    EXPECT_EQ(Perf(0x80 + 0x27), 9 + 52);
}

TEST_F(DumpBuilderTest, WordsOutOfRangeStillGiveAValidMessage)
{
    Effect(ReverbBlock).EffectType = 99;
    Effect(InsertionBlock).EffectType = -4;
    Effect(VariationBlock).Para.fill(1 << 20);
    Main.ParameterData.PfmParts[0].Volume = 300;
    Main.ParameterData.VoiceRecords[1].VoicedOperators[0].Transpose = 1000;
    Main.ParameterData.VoiceRecords[1].VoiceCommon.Algorithm = 0;
    Main.SendBulkDump(DumpPerformance, 0);
    Main.SendBulkDump(1, 0);
    for (const Bytes& m : Main.Sent) ExpectSealed(m);
    EXPECT_EQ(Main.Sent[0][9 + 0xA8], 16);
    EXPECT_EQ(Main.Sent[0][9 + 0xAF], 0);
    EXPECT_EQ(Main.Sent[1][9 + 0x2C], 0); // algorithm 1
}

TEST_F(DumpBuilderTest, ChecksumExample)
{
    // Bytes 4 .. length - 3 summing to 451 give 3D.
    Bytes m(12, 0);
    m[4] = 200;
    m[5] = 200;
    m[9] = 51;
    EXPECT_EQ(BulkDumpChecksum(m.data(), m.size()), 0x3D);
}

TEST_F(DumpBuilderTest, TheLargestFrameKeepsEveryByteInsideSevenBit)
{
    Bytes m(32768, 0);
    WriteBulkDumpFrame(m.data(), m.size(), 0x60, 0x00, 0x00);
    EXPECT_EQ((Bytes{m[4], m[5]}), (Bytes{0x7F, 0x75})); // 32,757 bytes of payload, low fourteen bits
}

} // namespace
