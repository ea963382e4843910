// Parameter changes and dump requests: frames, device number, the one road of a word (its
// address, its part, voice and operator, the mutes), the prepared entries, and the conversion of
// a single word as the dump layouts describe it. (What every control sends: tests/pages; every
// conversion of the dumps: DumpLayoutTest.)
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

TEST_F(MessagesTest, TwoByteValuesAndValuesTooWideForTheirBytes)
{
    EXPECT_EQ(ComposeParameterChange(EffectParameterTemplate, 0, 0, 5000, true)[7], 0x27);
    EXPECT_EQ(ComposeParameterChange(EffectParameterTemplate, 0, 0, 5000, true)[8], 0x08);
    // A value too wide for its bytes is brought into them, never spilling above 7F.
    EXPECT_EQ(ComposeParameterChange(EffectParameterTemplate, 0, 0, 300)[8], 0x7F);
    EXPECT_EQ(ComposeParameterChange(EffectParameterTemplate, 0, 0, -5)[8], 0x00);
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
