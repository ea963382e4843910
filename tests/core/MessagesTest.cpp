// Parameter changes and dump requests: frames, device number, addresses and the data bytes
// the address tables give for a parameter, and the conversion of a single word into them as the
// pages take it from the dump layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <stdexcept>

#include "tests/support/RecordingMainData.h"

namespace {

using Bytes = std::vector<uint8_t>;

class MessagesTest : public ::testing::Test {
protected:
    RecordingMainData Main;

    // Data bytes DH DL of the parameter change at an address, as the table gives them.
    std::pair<int, int> Data(uint8_t ah, uint8_t am, uint8_t al)
    {
        const auto d = ParameterChangeData(Main.ParameterData, Main, ah, am, al);
        EXPECT_TRUE(d.has_value());
        return d ? std::pair<int, int>{d->DH, d->DL} : std::pair<int, int>{-1, -1};
    }
    PfmPart& Part(int p) { return Main.ParameterData.PfmParts[static_cast<std::size_t>(p)]; }
    VoiceRecord& Voice(int v) { return Main.ParameterData.VoiceRecords[static_cast<std::size_t>(v)]; }
};

TEST_F(MessagesTest, AWordTravelsAtItsPartVoiceAndOperator)
{
    Main.DeviceNumber = 7;
    Part(2).Volume = 0x55;
    Main.SendWord(Part(2).Volume);
    EXPECT_EQ(Main.Sent.back(), (Bytes{0xF0, 0x43, 0x17, 0x5E, 0x32, 0x00, 0x0B, 0x00, 0x55, 0xF7}));
    Voice(1).VoicedOperators[3].OutputLvl = 77;
    Main.SendWord(Voice(1).VoicedOperators[3].OutputLvl);
    EXPECT_EQ(Main.Sent.back(), (Bytes{0xF0, 0x43, 0x17, 0x5E, 0x61, 0x03, 0x16, 0x00, 77, 0xF7}));
    // A value in the word's place; the word keeps what it holds.
    Main.SendWord(Voice(3).UnvoicedOperators[7].Transpose, 30);
    EXPECT_EQ(Main.Sent.back(), (Bytes{0xF0, 0x43, 0x17, 0x5E, 0x63, 0x07, 0x23, 0x00, 30, 0xF7}));
    EXPECT_NE(Voice(3).UnvoicedOperators[7].Transpose, 30);

    // Words no parameter change carries send nothing.
    const std::size_t before = Main.Sent.size();
    EXPECT_THROW(Main.SendWord(Main.ParameterData.SystemBlock.MemoryMode), std::logic_error);
    EXPECT_THROW(Main.SendWord(Part(1).ReserveNoteMax), std::logic_error);
    EXPECT_THROW(Main.SendWord(Voice(0).VoiceCommon.FilterSw), std::logic_error);
    EXPECT_THROW(Main.SendWord(Voice(2).UnvoicedOperators[1].SavedFreqCoarse), std::logic_error);
    EXPECT_EQ(Main.Sent.size(), before);
}

TEST_F(MessagesTest, MutedPartsAndOperatorsSendTheMutedValueAndKeepTheirWords)
{
    // Part 3 with voiced operators 2 and 8 muted and every switch on.
    for (VoicedOperator& op : Voice(2).VoicedOperators) op.FseqSw = 1;
    for (UnvoicedOperator& op : Voice(2).UnvoicedOperators) op.FseqSw = 1;
    Main.OperatorMute.Voiced[2][1] = 1;
    Main.OperatorMute.Voiced[2][7] = 1;
    Part(2).Volume = 100;
    Main.PartMute[2] = 1;
    Voice(2).VoicedOperators[1].OutputLvl = 90;
    const VoiceRecord& v = Voice(2);
    for (const int32_t* word : std::initializer_list<const int32_t*>{
             &v.VoicedOperators[0].FseqSw, &v.VoicedOperators[7].FseqSw, &v.UnvoicedOperators[3].FseqSw,
             &v.UnvoicedOperators[7].FseqSw, &v.VoicedOperators[1].OutputLvl, &Part(2).Volume, &Part(1).Volume})
        Main.SendWord(*word);
    const int expected[] = {0x7D, 0x00, 0x7F, 0x01, 0x00, 0x00, 127};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(Main.Sent[i][8], expected[i]) << i;
    EXPECT_EQ(Part(2).Volume, 100);
    EXPECT_EQ(Voice(2).VoicedOperators[1].OutputLvl, 90);
    EXPECT_EQ(Voice(2).VoicedOperators[1].FseqSw, 1);
    // A voice's bytes from its stored words alone, the mutes aside.
    EXPECT_EQ(VoiceWordChange(v, VoicedOffset(4) + AT(VoicedOperator, FseqSw))->Data.DL, 0x7F);
}

TEST_F(MessagesTest, TwoByteValues)
{
    Main.ParameterData.PfmFseq.SpeedSelect = 1;
    Main.ParameterData.PfmFseq.Speed = 4900; // 5,000 on the instrument
    EXPECT_EQ(Data(0x10, 0x00, 0x18), (std::pair{0x27, 0x08}));
    Main.ParameterData.PfmFseq.SpeedSelect = 0;
    Main.ParameterData.PfmFseq.Speedmidi = 3;
    EXPECT_EQ(Data(0x10, 0x00, 0x18), (std::pair{0x00, 0x03}));
    Main.ParameterData.PfmFseq.LoopEnd = 300;
    EXPECT_EQ(Data(0x10, 0x00, 0x1E), (std::pair{2, 300 - 256}));

    EXPECT_EQ(ComposeParameterChange(EffectParameterTemplate, 0, 0, 5000, true)[7], 0x27);
    EXPECT_EQ(ComposeParameterChange(EffectParameterTemplate, 0, 0, 5000, true)[8], 0x08);
    // A value too wide for its bytes is brought into them, never spilling above 7F.
    EXPECT_EQ(ComposeParameterChange(EffectParameterTemplate, 0, 0, 300)[8], 0x7F);
    EXPECT_EQ(ComposeParameterChange(EffectParameterTemplate, 0, 0, -5)[8], 0x00);
}

TEST_F(MessagesTest, PerformanceAndSystemConversions)
{
    auto& common = Main.ParameterData.PfmCommon;
    common.ControlChannel = 16;
    EXPECT_EQ(Data(0x00, 0x00, 0x09).second, 16);
    common.ControlChannel = 17;
    EXPECT_EQ(Data(0x00, 0x00, 0x09).second, 0x7F);
    Part(0).RcvCh = 17;
    EXPECT_EQ(Data(0x30, 0x00, 0x04).second, 0x7F);
    Part(0).RcvCh = 16;
    EXPECT_EQ(Data(0x30, 0x00, 0x04).second, 16);

    Main.ParameterData.SystemBlock.ControllerAssign[0] = 30;
    EXPECT_EQ(Data(0x00, 0x00, 0x16).second, 31);
    Main.ParameterData.SystemBlock.ControllerAssign[0] = 31;
    EXPECT_EQ(Data(0x00, 0x00, 0x16).second, 33);

    Part(1).PBRange = 0;
    EXPECT_EQ(Data(0x31, 0x00, 0x26).second, 0x10);
    Part(1).PBRange = 72;
    EXPECT_EQ(Data(0x31, 0x00, 0x26).second, 0x58);
    Part(1).PortaSw = 1;
    Part(1).PortaMode = 1;
    EXPECT_EQ(Data(0x31, 0x00, 0x24).second, 0x03);
    Part(1).PortaSw = 0;
    EXPECT_EQ(Data(0x31, 0x00, 0x24).second, 0x02);

    PfmControlSet& set = Main.ParameterData.PfmControlSets[2];
    set.SourceSw.fill(0);
    set.SourceSw[PB] = 1;
    EXPECT_EQ(Data(0x10, 0x00, 0x34), (std::pair{0x00, 0x40}));
    set.SourceSw[PB] = 0;
    set.SourceSw[CAT] = 1;
    EXPECT_EQ(Data(0x10, 0x00, 0x34), (std::pair{0x01, 0x00}));
    set.PartSw = {1, 0, 1, 1};
    EXPECT_EQ(Data(0x10, 0x00, 0x2A).second, 0x0D);

    Main.ParameterData.PfmEffect.PfmEQ.LowGain = 12;
    EXPECT_EQ(Data(0x10, 0x01, 0x34).second, 64);
    common.ReverbReturn = 99;
    EXPECT_EQ(Data(0x10, 0x01, 0x2A).second, 99);
}

TEST_F(MessagesTest, VoiceConversionsAndPackedBytes)
{
    VoiceCommon& c = Voice(0).VoiceCommon;
    c.Algorithm = 1;
    EXPECT_EQ(Data(0x40, 0x00, 0x2C).second, 0x00);
    c.Algorithm = 88;
    EXPECT_EQ(Data(0x40, 0x00, 0x2C).second, 0x57);
    c.FilterEGLv1 = 50;
    EXPECT_EQ(Data(0x40, 0x00, 0x66).second, 0x32);
    c.Frmt[0] = VoiceControl{8, 2, 64}; // unvoiced operator 1, "freq"
    EXPECT_EQ(Data(0x40, 0x00, 0x40).second, 0x28);

    VoicedOperator& op = Voice(0).VoicedOperators[0];
    op.EGLv1 = 99;
    EXPECT_EQ(Data(0x60, 0x00, 0x0C).second, 0x00);
    op.EGLv1 = 0;
    EXPECT_EQ(Data(0x60, 0x00, 0x0C).second, 0x63);
    op.Transpose = 24;
    op.KeySync = 1;
    EXPECT_EQ(Data(0x60, 0x00, 0x00).second, 0x58);

    Voice(0).VoicedOperators[1].Form = 5; // resonance travels instead of the bandwidth
    Voice(0).VoicedOperators[1].Resonance = 33;
    Voice(0).VoicedOperators[1].BandWidth = 44;
    EXPECT_EQ(Data(0x60, 0x01, 0x06).second, 33);
    Voice(0).VoicedOperators[1].Form = 4;
    EXPECT_EQ(Data(0x60, 0x01, 0x06).second, 44);

    Voice(1).VoicedOperators[2].OPAtt = 9;
    EXPECT_EQ(Data(0x41, 0x00, 0x2F).second, 9);

    UnvoicedOperator& u = Voice(0).UnvoicedOperators[0];
    u.FreqMode = 2;
    u.FreqCoarse = 21;
    EXPECT_EQ(Data(0x60, 0x00, 0x24).second, 0x55);

    for (VoicedOperator& v : Voice(0).VoicedOperators) v.FseqSw = 0;
    Voice(0).VoicedOperators[0].FseqSw = 1;
    Voice(0).VoicedOperators[7].FseqSw = 1;
    EXPECT_EQ(Data(0x40, 0x00, 0x29).second, 0x01);
    EXPECT_EQ(Data(0x40, 0x00, 0x28).second, 0x01);

    // The filter switch of a voice is its part's parameter.
    Part(3).FilterSw = 1;
    EXPECT_EQ(Data(0x33, 0x00, 0x07).second, 1);
}

TEST_F(MessagesTest, EffectSlotsUseTheTypeTableAndTheirOffsets)
{
    PfmEffect& e = Main.ParameterData.PfmEffect;
    e.PfmEffectBlocks[ReverbBlock].EffectType = 13; // Delay LCR: Lch Delay at 50, display kind 26
    e.PfmEffectBlocks[ReverbBlock].Para[0] = 13000;
    EXPECT_EQ(Data(0x10, 0x00, 0x50), (std::pair{13001 >> 7, 13001 & 0x7F}));
    e.PfmEffectBlocks[ReverbBlock].Para[7] = 5; // EQ LowFreq at 64, kind 5, offset 4
    EXPECT_EQ(Data(0x10, 0x00, 0x64), (std::pair{0, 9}));

    // The insertion compressor's "Release" (kind 12, offset 52) travels bare in the dump's two
    // bytes at 8A, 8B, and so in the message at 10 01 0A; the variation compressor's adds 52.
    e.PfmEffectBlocks[InsertionBlock].EffectType = 24;
    e.PfmEffectBlocks[InsertionBlock].Para[1] = 3;
    EXPECT_EQ(Data(0x10, 0x01, 0x0A), (std::pair{0, 3}));
    e.PfmEffectBlocks[VariationBlock].EffectType = 16;
    e.PfmEffectBlocks[VariationBlock].Para[1] = 3;
    EXPECT_EQ(Data(0x10, 0x00, 0x6A), (std::pair{0, 3 + 52}));
}

TEST_F(MessagesTest, NameMessagesCarryTheDeviceNumberOnceAndBlankTheRest)
{
    Main.DeviceNumber = 5;
    std::memcpy(Main.ParameterData.PfmCommon.Name.data(), "Ab\x01\0xyzxyzxy", 12);
    Main.SendPerformanceName();
    ASSERT_EQ(Main.Sent.size(), 12u);
    const Bytes expected = {'A', 'b', 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(Main.Sent[i][2], 0x15);
        EXPECT_EQ(Main.Sent[i][4], 0x10);
        EXPECT_EQ(Main.Sent[i][6], i);
        EXPECT_EQ(Main.Sent[i][8], expected[i]) << i;
    }
    Main.Sent.clear();
    Main.SendVoiceName(3);
    ASSERT_EQ(Main.Sent.size(), 10u);
    EXPECT_EQ(Main.Sent[0], (Bytes{0xF0, 0x43, 0x15, 0x5E, 0x43, 0x00, 0x00, 0x00, 'I', 0xF7}));
    EXPECT_EQ(Main.Sent[9][8], 'e');
}

TEST_F(MessagesTest, DumpRequestsAndDeviceNumber)
{
    EXPECT_EQ(DumpRequestFor(3), (DumpRequestMessage{0xF0, 0x43, 0x20, 0x5E, 0x43, 0x00, 0x00, 0xF7}));
    EXPECT_EQ(DumpRequestFor(ReceivePerformance), (DumpRequestMessage{0xF0, 0x43, 0x20, 0x5E, 0x10, 0x00, 0x00, 0xF7}));
    EXPECT_EQ(DumpRequestFor(ReceiveSystem), (DumpRequestMessage{0xF0, 0x43, 0x20, 0x5E, 0x00, 0x00, 0x00, 0xF7}));

    Main.DeviceNumber = 5;
    const DumpRequestMessage request = DumpRequestFor(ReceivePerformance);
    for (int i = 0; i < 3; ++i) Main.SendSysEx(request.data(), 8);
    for (const Bytes& m : Main.Sent) EXPECT_EQ(m, (Bytes{0xF0, 0x43, 0x25, 0x5E, 0x10, 0x00, 0x00, 0xF7}));
}

TEST_F(MessagesTest, TemplateTable)
{
    // The addresses of part 1, voice 1 and operator 1 (and of the parts the effect page and the
    // mute buttons address) the instrument takes a parameter change at, as runs of AL.
    struct Runs {
        uint8_t AH, AM;
        std::vector<std::pair<int, int>> AL;
    };
    const Runs valid[] = {
        {0x00, 0x00, {{0x00, 0x00}, {0x06, 0x09}, {0x0B, 0x0B}, {0x0D, 0x0E}, {0x11, 0x21}}},
        {0x10,
         0x00,
         {{0x00, 0x00},
          {0x0E, 0x0E},
          {0x10, 0x12},
          {0x14, 0x18},
          {0x1A, 0x1A},
          {0x1C, 0x1C},
          {0x1E, 0x1E},
          {0x20, 0x24},
          {0x26, 0x30},
          {0x32, 0x32},
          {0x34, 0x34},
          {0x36, 0x36},
          {0x38, 0x38},
          {0x3A, 0x3A},
          {0x3C, 0x3C},
          {0x3E, 0x3E},
          {0x40, 0x4F}}},
        {0x10, 0x01, {{0x00, 0x00}, {0x2A, 0x2A}, {0x2D, 0x2D}, {0x34, 0x3E}}},
        {0x30, 0x00, {{0x00, 0x2F}}},
        {0x31, 0x00, {{0x0B, 0x0B}, {0x11, 0x14}}},
        {0x32, 0x00, {{0x0B, 0x0B}, {0x11, 0x14}}},
        {0x33, 0x00, {{0x0B, 0x0B}, {0x11, 0x14}}},
        {0x40,
         0x00,
         {{0x00, 0x00},
          {0x0E, 0x0E},
          {0x10, 0x13},
          {0x15, 0x19},
          {0x1C, 0x2D},
          {0x3B, 0x3E},
          {0x40, 0x5D},
          {0x64, 0x6C},
          {0x6E, 0x6E}}},
        {0x60, 0x00, {{0x00, 0x1B}, {0x1F, 0x27}, {0x29, 0x29}, {0x2E, 0x2F}}},
    };
    std::set<std::array<uint8_t, 3>> expected, addresses;
    for (const Runs& r : valid)
        for (auto [first, last] : r.AL)
            for (int al = first; al <= last; ++al) expected.insert({r.AH, r.AM, uint8_t(al)});
    const auto& table = ParameterChangeTemplates();
    for (const ParameterChangeMessage& m : table) {
        EXPECT_EQ(Bytes(m.begin(), m.begin() + 4), (Bytes{0xF0, 0x43, 0x10, 0x5E}));
        EXPECT_EQ(m[9], 0xF7);
        addresses.insert({m[4], m[5], m[6]});
    }
    EXPECT_EQ(addresses, expected);
    EXPECT_EQ(ParameterChangeTemplate(0x10, 0x00, 0x00)[8], 0x20); // the name entry comes first
    EXPECT_EQ(ParameterChangeTemplate(0x40, 0x00, 0x00)[8], 0x20);
    EXPECT_THROW(ParameterChangeTemplate(0x30, 0x00, 0x30), std::invalid_argument);
    EXPECT_THROW(ParameterChangeTemplate(0x61, 0x00, 0x16), std::invalid_argument);
}

// The pages' conversion of a word, values beyond the field included.
TEST(DumpField, FieldBytesConvertAndStaySevenBit)
{
    auto bytes = [](TFieldForm form, int arg, int value, int width = 0) {
        TDumpField f;
        f.Form = form;
        f.Arg = arg;
        f.Width = width;
        const ParameterBytes b = FieldBytes(f, value);
        return b.DH * 256 + b.DL;
    };
    EXPECT_EQ(bytes(TFieldForm::Byte, 16, 40), 56);
    EXPECT_EQ(bytes(TFieldForm::Reverse, 99, 30), 69);
    EXPECT_EQ(bytes(TFieldForm::Reverse, 100, 0), 100);
    EXPECT_EQ(bytes(TFieldForm::Bits, 3, 5, 4), 40);
    EXPECT_EQ(bytes(TFieldForm::Wide14, 100, 900), 0x07 * 256 + 0x68); // 1000 = 7 x 128 + 104
    EXPECT_EQ(bytes(TFieldForm::Wide14, 0, 300), 0x02 * 256 + 0x2C);
    EXPECT_EQ(bytes(TFieldForm::Byte, 0, 200), 0x7F);
    EXPECT_EQ(bytes(TFieldForm::Reverse, 99, 120), 0);
}

} // namespace
