// Taking a received bulk dump into the edit buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/RecordingMainData.h"

namespace {

using Bytes = std::vector<uint8_t>;

class ReceiverTest : public ::testing::Test {
protected:
    RecordingMainData Main;

    // A correct dump of the current edit buffer for a block, ready to be altered.
    Bytes Dump(int32_t target)
    {
        if (target == ReceivePerformance) {
            Main.BuildPerformanceDump(DumpPerformance, 0);
            return {Main.PerformanceDumpBuffer.begin(), Main.PerformanceDumpBuffer.end()};
        }
        if (target == ReceiveSystem) {
            Main.BuildSystemDump();
            return {Main.SystemDumpBuffer.begin(), Main.SystemDumpBuffer.end()};
        }
        Main.BuildVoiceDump(target, 0);
        return {Main.VoiceDumpBuffer.begin(), Main.VoiceDumpBuffer.end()};
    }
    static void Set(Bytes& dump, int pos, int value)
    {
        dump[9u + static_cast<std::size_t>(pos)] = static_cast<uint8_t>(value);
        SealBulkDump(dump.data(), dump.size());
    }
    void Receive(int32_t target, const Bytes& dump, bool explicitReceive = true)
    {
        Main.BeginReceive(target, explicitReceive);
        Main.ReceiveBulkDump(dump.data(), dump.size());
    }
    PfmPart& Part(int p) { return Main.ParameterData.PfmParts[static_cast<std::size_t>(p)]; }
    VoiceRecord& Voice(int v) { return Main.ParameterData.VoiceRecords[static_cast<std::size_t>(v)]; }
};

TEST_F(ReceiverTest, OnlyACompleteDumpOfTheRequestedBlockIsStored)
{
    const Bytes good = Dump(ReceivePerformance);
    Main.ParameterData.PfmCommon.Volume = 11; // differs from the dump
    const TParameterData before = Main.ParameterData;

    // Each variant of the good dump, resealed unless the checksum is the point.
    auto variant = [&](int index, int value, bool reseal = true) {
        Bytes m = good;
        m[static_cast<std::size_t>(index)] = static_cast<uint8_t>(value);
        if (reseal) SealBulkDump(m.data(), m.size());
        return m;
    };
    Bytes trailing = good;
    trailing.push_back(0xF7);
    const std::vector<Bytes> rejected = {
        {},
        variant(1, 0x42),                      // another maker
        variant(3, 0x5F),                      // another model
        variant(2, 0x10),                      // a parameter change group
        variant(8, 0x01),                      // another address
        variant(5, 0x0F),                      // another byte count
        variant(409, good[409] ^ 0x01, false), // wrong checksum
        variant(410, 0x00, false),             // no F7
        Bytes(good.begin(), good.end() - 1),   // one byte short
        Bytes(good.begin(), good.begin() + 9), // header only
        trailing,                              // a byte too many
        Dump(ReceiveSystem),                   // another block
        Dump(0),
    };
    for (const Bytes& m : rejected) {
        // Each message in a buffer of its own exact size, so a read past it would be caught.
        Receive(ReceivePerformance, m);
        EXPECT_EQ(Main.DumpReceived, 0) << m.size();
        EXPECT_EQ(std::memcmp(&before, &Main.ParameterData, sizeof before), 0) << m.size();
    }
    Main.ReceiveBulkDump(nullptr, 0);
    EXPECT_EQ(Main.DumpReceived, 0);

    Receive(5, good); // no block is expected
    EXPECT_EQ(Main.DumpReceived, 0);

    Bytes device = good;
    device[2] = 0x05; // the instrument's device number is not checked
    Receive(ReceivePerformance, device);
    EXPECT_EQ(Main.DumpReceived, 1);
    EXPECT_EQ(Main.ParameterData.PfmCommon.Volume, 127);
}

TEST_F(ReceiverTest, VoiceGoesIntoThePartThatWasAskedFor)
{
    Voice(2).VoiceCommon.Feedback = 5;
    Bytes dump = Dump(2);
    Voice(2).VoiceCommon.Feedback = 0;
    Receive(1, dump); // dump of part 3's voice while part 2's was asked for
    EXPECT_EQ(Main.DumpReceived, 0);
    EXPECT_EQ(Voice(1).VoiceCommon.Feedback, 0);
    Receive(2, dump);
    EXPECT_EQ(Main.DumpReceived, 1);
    EXPECT_EQ(Voice(2).VoiceCommon.Feedback, 5);
}

TEST_F(ReceiverTest, FormantSequenceSpeedAndNumber)
{
    PfmFseq& f = Main.ParameterData.PfmFseq;
    f.Speed = 1234, f.Speedmidi = 2;
    Bytes dump = Dump(ReceivePerformance);
    Set(dump, 0x18, 0x00);
    Set(dump, 0x19, 0x63);
    Receive(ReceivePerformance, dump);
    EXPECT_EQ(f.SpeedSelect, 0);
    EXPECT_EQ(f.Speedmidi, 99);
    EXPECT_EQ(f.Speed, 1234);
    Set(dump, 0x19, 0x64);
    Receive(ReceivePerformance, dump);
    EXPECT_EQ(f.SpeedSelect, 1);
    EXPECT_EQ(f.Speed, 0);
    EXPECT_EQ(f.Speedmidi, 99);
    Set(dump, 0x18, 0x27);
    Set(dump, 0x19, 0x08);
    Receive(ReceivePerformance, dump);
    EXPECT_EQ(f.Speed, 4900);

    f.FseqInt = 3;
    Set(dump, 0x16, 1);
    Set(dump, 0x17, 0x7F); // past the 90 presets
    Receive(ReceivePerformance, dump);
    EXPECT_EQ(f.FseqPre, 89);
    EXPECT_EQ(f.FseqInt, 3);
}

TEST_F(ReceiverTest, PartRules)
{
    const int at = 0xC0 + 2 * 0x34;
    Part(2).RcvChMax = 5;
    Part(2).PortaSw = 1;
    Part(2).PortaMode = 0;
    Part(2).ReserveNoteMax = 17;
    Bytes dump = Dump(ReceivePerformance);
    Set(dump, at + 0x03, 0x20); // neither a channel nor "off"
    Set(dump, at + 0x24, 0x05);
    Set(dump, at + 0x04, 0x7F);
    Set(dump, at + 0x07, 1);
    Set(dump, at + 0x26, 0x58);
    Set(dump, at + 0x01, 0x7F); // no such bank
    Receive(ReceivePerformance, dump);
    EXPECT_EQ(Part(2).RcvChMax, 5);
    EXPECT_EQ(Part(2).PortaSw, 1);
    EXPECT_EQ(Part(2).PortaMode, 0);
    EXPECT_EQ(Part(2).RcvCh, 17);
    EXPECT_EQ(Part(2).FilterSw, 1);
    EXPECT_EQ(Voice(2).VoiceCommon.FilterSw, 1);
    EXPECT_EQ(Part(2).PBRange, 72);
    EXPECT_EQ(Part(2).BankNum, 12);
    EXPECT_EQ(Part(2).ReserveNoteMax, 17);

    Set(dump, at + 0x03, 0x0F);
    Set(dump, at + 0x24, 0x02);
    Set(dump, at + 0x04, 0x10);
    Receive(ReceivePerformance, dump);
    EXPECT_EQ(Part(2).RcvChMax, 15);
    EXPECT_EQ(Part(2).PortaSw, 0);
    EXPECT_EQ(Part(2).PortaMode, 1);
    EXPECT_EQ(Part(2).RcvCh, 16);
}

TEST_F(ReceiverTest, EffectsAreReadByTheTypesJustStoredAndKeptInRange)
{
    // Reverb Delay LCR with a long delay: the two-byte field comes back whole.
    Main.ParameterData.PfmEffect.PfmEffectBlocks[ReverbBlock].EffectType = 13;
    Main.ParameterData.PfmEffect.PfmEffectBlocks[ReverbBlock].Para[2] = 13649;
    Main.ParameterData.PfmEffect.PfmEffectBlocks[ReverbBlock].Para[11] = 20; // pan
    Bytes dump = Dump(ReceivePerformance);
    Main.InitEffects();
    Receive(ReceivePerformance, dump);
    const PfmEffect& e = Main.ParameterData.PfmEffect;
    EXPECT_EQ(e.PfmEffectBlocks[ReverbBlock].EffectType, 13);
    EXPECT_EQ(e.PfmEffectBlocks[ReverbBlock].Para[2], 13649);
    EXPECT_EQ(e.PfmEffectBlocks[ReverbBlock].Para[11], 20);
    EXPECT_EQ(Main.EffectKeptLevels[0], 20);

    // Type bytes past the table and slot bytes below the offset are brought into range.
    Set(dump, 0xA8, 0x7F);
    Set(dump, 0xAB, 0x7F);
    Set(dump, 0xAF, 0x7F);
    Set(dump, 0xB5, 0x00); // EQ low frequency below its offset
    Set(dump, 0xBC, 0x7F); // EQ high frequency past its texts
    Receive(ReceivePerformance, dump);
    EXPECT_EQ(e.PfmEffectBlocks[ReverbBlock].EffectType, 16);
    EXPECT_EQ(e.PfmEffectBlocks[VariationBlock].EffectType, 28);
    EXPECT_EQ(e.PfmEffectBlocks[InsertionBlock].EffectType, 40);
    EXPECT_EQ(e.PfmEQ.LowFreq, 0);
    EXPECT_EQ(e.PfmEQ.HighFreq, 30);
    for (int block = 0; block < 3; ++block) {
        const PfmEffectBlock& b = e.PfmEffectBlocks[static_cast<std::size_t>(block)];
        const TEFXSetup& setup =
            Main.EffectTypeTable[static_cast<std::size_t>(b.EffectType)][static_cast<std::size_t>(block)];
        for (int i = 0; i < setup.ParamCount; ++i) {
            const auto s = static_cast<std::size_t>(i);
            EXPECT_GE(b.Para[s], 0);
            EXPECT_LE(b.Para[s], Main.EffectKindMax[static_cast<std::size_t>(setup.DisplayKind[s])]);
        }
    }
    // The kept levels follow the trailing slots: [3] insertion dry level, [6] insertion pan.
    EXPECT_EQ(Main.EffectKeptLevels[3], e.PfmEffectBlocks[InsertionBlock].Para[14]);
    EXPECT_EQ(Main.EffectKeptLevels[6], e.PfmEffectBlocks[InsertionBlock].Para[11]);
}

TEST_F(ReceiverTest, ControllerSetsAndDestinationRange)
{
    Bytes dump = Dump(ReceivePerformance);
    Set(dump, 0x28 + 6, 0x0A);
    Set(dump, 0x30 + 12, 0x21);
    Set(dump, 0x31 + 12, 0x41);
    Set(dump, 0x40 + 6, 0x7F);
    Receive(ReceivePerformance, dump);
    const PfmControlSet& set = Main.ParameterData.PfmControlSets[6];
    EXPECT_EQ(set.PartSw, (std::array<uint8_t, 4>{0, 1, 0, 1}));
    for (int s = 0; s < 14; ++s) {
        const bool on = s == CAT || s == MW || s == KN1 || s == PB;
        EXPECT_EQ(set.SourceSw[static_cast<std::size_t>(s)], on ? 1 : 0) << s;
    }
    EXPECT_EQ(set.Destination, 47);
}

TEST_F(ReceiverTest, SystemRules)
{
    Main.ParameterData.SystemBlock.MemoryMode = 0;
    Bytes dump = Dump(ReceiveSystem);
    Set(dump, 0x16, 31);
    Set(dump, 0x17, 33);
    Set(dump, 0x18, 0);
    Set(dump, 0x09, 0x7F);
    Set(dump, 0x47, 1);
    Set(dump, 0x29, 42);
    Receive(ReceiveSystem, dump);
    const SystemBlock& s = Main.ParameterData.SystemBlock;
    EXPECT_EQ(s.ControllerAssign[0], 30);
    EXPECT_EQ(s.ControllerAssign[1], 31);
    EXPECT_EQ(s.ControllerAssign[2], -1);
    EXPECT_EQ(Main.ParameterData.PfmCommon.ControlChannel, 17);
    EXPECT_EQ(s.MemoryMode, 1);
    EXPECT_EQ(s.SystemExtraPairs[7], 42);
    // Controller 0 goes back out as 0.
    Main.BuildSystemDump();
    EXPECT_EQ(Main.SystemDumpBuffer[9 + 0x18], 0);
}

TEST_F(ReceiverTest, VoiceRules)
{
    VoiceRecord& v = Voice(1);
    v.VoiceCommon.Name[11] = 'Z', v.VoicedOperators[3].BandWidth = 11, v.VoicedOperators[5].FreqCoarseMax = 21;
    v.UnvoicedOperators[5].PitchMod = 6;
    Bytes dump = Dump(1);
    std::memcpy(dump.data() + 9, "ABCDEFGHIJ", 10);
    Set(dump, 0x13, 0x01);
    Set(dump, 0x70 + 3 * 0x3E + 0x04, 6);    // form 6
    Set(dump, 0x70 + 3 * 0x3E + 0x06, 77);   // its resonance
    Set(dump, 0x70 + 5 * 0x3E + 0x05, 64);   // fixed frequency
    Set(dump, 0x70 + 5 * 0x3E + 0x01, 25);   // past the fixed frequencies: kept
    Set(dump, 0x70 + 6 * 0x3E + 0x24, 0x1F); // unvoiced coarse past 21
    Set(dump, 0x2C, 0x7F);                   // no such algorithm
    Receive(1, dump);
    ASSERT_EQ(Main.DumpReceived, 1);
    EXPECT_EQ(std::memcmp(v.VoiceCommon.Name.data(), "ABCDEFGHIJ", 10), 0);
    EXPECT_EQ(v.VoiceCommon.Name[10], 0);
    EXPECT_EQ(v.VoiceCommon.Name[11], 'Z');
    EXPECT_EQ(v.VoiceCommon.LFO1KeySync, 1);
    EXPECT_EQ(v.VoicedOperators[3].Form, 6);
    EXPECT_EQ(v.VoicedOperators[3].Resonance, 77);
    EXPECT_EQ(v.VoicedOperators[3].BandWidth, 11);
    EXPECT_EQ(v.VoicedOperators[5].FreqMode, 1);
    EXPECT_EQ(v.VoicedOperators[5].FreqCoarse, 25);
    EXPECT_EQ(v.VoicedOperators[5].FreqCoarseMax, 21);
    EXPECT_EQ(v.UnvoicedOperators[6].FreqCoarse, 21);
    EXPECT_EQ(v.UnvoicedOperators[5].PitchMod, 6);
    EXPECT_EQ(v.VoiceCommon.Algorithm, 88);
}

TEST_F(ReceiverTest, ExplicitReceiveKeepsTheValuesUnderTheEditorsMutes)
{
    // The instrument reports the muted values: volume 0, level 0, sequence switch off.
    Part(1).Volume = 0;
    Voice(0).VoicedOperators[2].OutputLvl = 0;
    Voice(0).VoicedOperators[2].FseqSw = 0;
    Voice(0).UnvoicedOperators[4].OutputLvl = 0;
    Voice(0).VoicedOperators[3].OutputLvl = 0;
    const Bytes performance = Dump(ReceivePerformance);
    const Bytes voice = Dump(0);

    Part(1).Volume = 90;
    Part(2).Volume = 80;
    Voice(0).VoicedOperators[2].OutputLvl = 70;
    Voice(0).VoicedOperators[2].FseqSw = 1;
    Voice(0).UnvoicedOperators[4].OutputLvl = 60;
    Voice(0).VoicedOperators[3].OutputLvl = 50;
    Main.PartMute[1] = 1, Main.OperatorMute.Voiced[0][2] = 1, Main.OperatorMute.Unvoiced[0][4] = 1;

    Receive(ReceivePerformance, performance);
    EXPECT_EQ(Part(1).Volume, 90);
    EXPECT_EQ(Part(2).Volume, 127); // not muted: as received
    Receive(0, voice);
    EXPECT_EQ(Voice(0).VoicedOperators[2].OutputLvl, 70);
    EXPECT_EQ(Voice(0).VoicedOperators[2].FseqSw, 1);
    EXPECT_EQ(Voice(0).UnvoicedOperators[4].OutputLvl, 60);
    EXPECT_EQ(Voice(0).VoicedOperators[3].OutputLvl, 0);

    // A voice fetched after a program change is a new voice: stored as it comes.
    Receive(0, voice, false);
    EXPECT_EQ(Voice(0).VoicedOperators[2].OutputLvl, 0);
    EXPECT_EQ(Voice(0).VoicedOperators[2].FseqSw, 0);
    EXPECT_EQ(Voice(0).UnvoicedOperators[4].OutputLvl, 0);
}

} // namespace
