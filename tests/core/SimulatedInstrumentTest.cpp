// The simulated instrument on its own. (Talking to the editor: the transfer tests, which compare
// its blocks with the editor's after receives, sends and edits.)
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/RecordingMainData.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(SimulatedInstrumentTest, TakesParameterChangesOfOneAndTwoBytes)
{
    SimulatedInstrument synth;
    EXPECT_TRUE(synth.Receive(Bytes{0xF0, 0x43, 0x10, 0x5E, 0x32, 0x00, 0x0B, 0x00, 0x55, 0xF7}).empty());
    EXPECT_EQ(synth.Performance[0xC0 + 2 * 0x34 + 0x0B], 0x55);
    synth.Receive(Bytes{0xF0, 0x43, 0x10, 0x5E, 0x10, 0x00, 0x18, 0x27, 0x08, 0xF7});
    EXPECT_EQ(synth.Performance[0x18], 0x27);
    EXPECT_EQ(synth.Performance[0x19], 0x08);
    synth.Receive(Bytes{0xF0, 0x43, 0x10, 0x5E, 0x10, 0x01, 0x2A, 0x00, 0x33, 0xF7});
    EXPECT_EQ(synth.Performance[0xAA], 0x33);
    synth.Receive(Bytes{0xF0, 0x43, 0x10, 0x5E, 0x61, 0x03, 0x16, 0x00, 0x44, 0xF7});
    EXPECT_EQ(synth.Voices[1][0x70 + 3 * 0x3E + 0x16], 0x44);
    synth.Receive(Bytes{0xF0, 0x43, 0x10, 0x5E, 0x00, 0x00, 0x09, 0x00, 0x7F, 0xF7});
    EXPECT_EQ(synth.System[0x09], 0x7F);
    EXPECT_EQ(synth.ParameterChangesTaken, 5);

    // Another device number, an unknown address and a channel message are not taken.
    synth.Receive(Bytes{0xF0, 0x43, 0x11, 0x5E, 0x32, 0x00, 0x0B, 0x00, 0x01, 0xF7});
    synth.Receive(Bytes{0xF0, 0x43, 0x10, 0x5E, 0x34, 0x00, 0x0B, 0x00, 0x01, 0xF7});
    synth.Receive(Bytes{0x90, 0x3C, 0x40});
    EXPECT_EQ(synth.Performance[0xC0 + 2 * 0x34 + 0x0B], 0x55);
    EXPECT_EQ(synth.ParameterChangesTaken, 5);
}

TEST(SimulatedInstrumentTest, AnswersRequestsWithCorrectDumpsOrAsToldNot)
{
    SimulatedInstrument synth;
    synth.DeviceNumber = 2;
    synth.Voices[3][0x3D] = 6; // feedback
    const Bytes request{0xF0, 0x43, 0x22, 0x5E, 0x43, 0x00, 0x00, 0xF7};
    const Bytes dump = synth.Receive(request);
    ASSERT_EQ(dump.size(), 619u);
    EXPECT_EQ(dump[2], 0x02);
    EXPECT_EQ(dump[6], 0x43);
    EXPECT_EQ(dump[9 + 0x3D], 6);
    EXPECT_EQ(dump[617], BulkDumpChecksum(dump.data(), dump.size()));
    EXPECT_TRUE(IsBulkDumpOf(dump.data(), dump.size(), VoicePayloadSize, 0x43, 0x00, 0x00));

    EXPECT_TRUE(synth.Receive(Bytes{0xF0, 0x43, 0x20, 0x5E, 0x43, 0x00, 0x00, 0xF7}).empty()); // device 0
    EXPECT_TRUE(synth.Receive(Bytes{0xF0, 0x43, 0x22, 0x5E, 0x20, 0x00, 0x00, 0xF7}).empty()); // no block

    synth.AnswerMode = SimulatedInstrument::Answer::Nothing;
    EXPECT_TRUE(synth.Receive(request).empty());
    synth.AnswerMode = SimulatedInstrument::Answer::Truncated;
    const Bytes truncated = synth.Receive(request);
    EXPECT_GT(truncated.size(), 0u);
    EXPECT_LT(truncated.size(), 619u);
    synth.AnswerMode = SimulatedInstrument::Answer::BadChecksum;
    const Bytes bad = synth.Receive(request);
    ASSERT_EQ(bad.size(), 619u);
    EXPECT_FALSE(IsBulkDumpOf(bad.data(), bad.size(), VoicePayloadSize, 0x43, 0x00, 0x00));
}

TEST(SimulatedInstrumentTest, TakesValidBulkDumpsOnly)
{
    auto mainData = std::make_unique<RecordingMainData>();
    RecordingMainData& main = *mainData;
    SimulatedInstrument synth;
    main.Instrument = &synth;
    main.ParameterData.PfmCommon.Volume = 99;
    main.SendBulkDump(DumpPerformance, 0);
    EXPECT_EQ(synth.Performance[0x10], 99);
    main.SendBulkDump(DumpPerformanceToMemory, 5);
    main.SendBulkDump(51, 63);
    EXPECT_EQ(synth.StoredPerformances.at(5)[0x10], 99);
    EXPECT_EQ(synth.StoredVoices.count(63), 1u);
    EXPECT_EQ(synth.BulkDumpsTaken, 3);

    Bytes broken = main.Sent.front();
    broken[9 + 0x10] = 1; // the checksum no longer fits
    synth.Receive(broken);
    EXPECT_EQ(synth.Performance[0x10], 99);
    EXPECT_EQ(synth.BulkDumpsTaken, 3);

    // Two messages in one buffer, as a relayed file brings them.
    Bytes stream{0xF0, 0x43, 0x10, 0x5E, 0x10, 0x00, 0x10, 0x00, 0x11, 0xF7};
    stream.insert(stream.end(), {0xF0, 0x43, 0x10, 0x5E, 0x10, 0x00, 0x11, 0x00, 0x22, 0xF7});
    synth.Receive(stream);
    EXPECT_EQ(synth.Performance[0x10], 0x11);
    EXPECT_EQ(synth.Performance[0x11], 0x22);
}

} // namespace
