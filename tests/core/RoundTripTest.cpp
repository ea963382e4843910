// Property: for any edit buffer whose words lie in their ranges, building the six dumps and
// parsing them back gives the same words for everything the dumps carry, and every dump is a
// well-formed message.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "tests/support/RecordingMainData.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Largest stored value of each word, in word order (0 is the smallest everywhere; Algorithm,
// whose smallest is 1, is set apart). Words no dump carries may take anything.
constexpr int PartMax[50] = {12,  127, 17,  15,  127, 1,   127, 127, 127, 127, 127, 127, 127, 127, 127, 1, 127,
                             127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 127, 48,  72,  72,  1, 1,
                             127, 1,   3,   1,   32,  32,  127, 127, 127, 127, 127, 127, 127, 127, 100, 99};
constexpr int FseqMax[20] = {4, 1, 5, 89, 2, 1, 1, 4, 4900, 7, 127, 1, 1, 99, 2000, 2000, 2000, 127, 127, 127};
constexpr int SystemMax[32] = {93, 93, 93, 93, 93, 93, 93, 93, 93,  93,  93,  93,  127, 127, 4,   4,
                               2,  3,  1,  1,  1,  1,  1,  1,  127, 127, 127, 127, 127, 127, 127, 127};
constexpr int EQMax[11] = {1, 1, 36, 40, 30, 24, 24, 24, 119, 119, 119};
// VoiceCommon words 3..81 (after the name).
constexpr int CommonMax[79] = {22,  5,   1,   99,  99,  99,  99,  99, 99,  5,   1,   127, 3,   99,  1,  24,
                               5,   127, 116, 127, 127, 14,  99,  99, 99,  99,  100, 100, 100, 100, 7,  127,
                               7,   14,  100, 100, 100, 100, 100, 99, 99,  99,  99,  7,   3,   7,   15, 3,
                               127, 15,  3,   127, 15,  3,   127, 15, 3,   127, 15,  3,   127, 15,  3,  127,
                               15,  3,   127, 15,  3,   127, 15,  3,  127, 15,  3,   127, 88,  7,   48};
constexpr int VoicedMax[44] = {1,  7,  7,   1,   31, 127, 99, 127, 99, 48, 30, 99, 99, 7,  99,
                               1,  99, 99,  3,   99, 3,   15, 99,  99, 99, 99, 99, 99, 99, 99,
                               99, 7,  100, 100, 99, 99,  14, 14,  14, 14, 14, 7,  7,  7};
constexpr int UnvoicedMax[35] = {1,  2,  21, 127, 127, 127, 99,  48, 99, 7,  7,  99, 14, 99, 99, 99, 99, 99,
                                 99, 99, 99, 99,  7,   100, 100, 99, 99, 14, 14, 14, 14, 14, 7,  7,  7};

class RandomBuffer {
public:
    explicit RandomBuffer(uint32_t seed) : Engine(seed) {}
    int32_t R(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Engine); }

    template <std::size_t N>
    void Words(int32_t* first, const int (&max)[N])
    {
        for (std::size_t i = 0; i < N; ++i) first[i] = R(0, max[i]);
    }
    void Name(uint8_t* name, int length)
    {
        for (int i = 0; i < length; ++i) name[i] = static_cast<uint8_t>(R(0x20, 0x7E));
    }

    void Fill(TMainData& m)
    {
        TParameterData& d = m.ParameterData;
        for (std::size_t i = 0; i < TParameterData::Size; ++i) d.Bytes()[i] = static_cast<uint8_t>(R(0, 255));

        Name(d.PfmCommon.Name.data(), 12);
        d.PfmCommon.NameSpare[0] = 0;
        Words(&d.PfmCommon.Category, {22, 17, 127, 127, 127, 127, 48});
        for (PfmPart& part : d.PfmParts) Words(&part.BankNum, PartMax);
        Words(&d.PfmFseq.Part, FseqMax);
        for (PfmControlSet& set : d.PfmControlSets) {
            for (auto& s : set.SourceSw) s = static_cast<uint8_t>(R(0, 1));
            for (auto& s : set.PartSw) s = static_cast<uint8_t>(R(0, 1));
            set.Destination = R(0, 47);
            set.Depth = R(0, 127);
        }
        Words(d.SystemBlock.ControllerAssign.data(), SystemMax);

        PfmEffect& e = d.PfmEffect;
        e.IndividualOutput = R(0, 2);
        for (std::size_t b = 0; b < 3; ++b) {
            PfmEffectBlock& block = e.PfmEffectBlocks[b];
            block.EffectType = R(0, EffectTypeCount[b] - 1);
            const TEFXSetup& setup = m.EffectTypeTable[static_cast<std::size_t>(block.EffectType)][b];
            for (std::size_t i = 0; i < static_cast<std::size_t>(setup.ParamCount); ++i)
                block.Para[i] = R(0, m.EffectKindMax[static_cast<std::size_t>(setup.DisplayKind[i])]);
        }
        Words(&e.PfmEQ.LowShape, EQMax);

        for (std::size_t v = 0; v < 4; ++v) {
            VoiceRecord& voice = d.VoiceRecords[v];
            Name(voice.VoiceCommon.Name.data(), 10);
            voice.VoiceCommon.Name[10] = 0;
            Words(&voice.VoiceCommon.Category, CommonMax);
            voice.VoiceCommon.FilterSw = d.PfmParts[v].FilterSw;
            voice.VoiceCommon.Algorithm = R(1, 88);
            for (VoicedOperator& o : voice.VoicedOperators) {
                Words(&o.FseqSw, VoicedMax);
                if (o.FreqMode == 1) o.FreqCoarse = R(0, 21);
                if (o.FreqMode == 0) o.FreqFine = R(0, 99);
            }
            for (UnvoicedOperator& o : voice.UnvoicedOperators) Words(&o.FseqSw, UnvoicedMax);
        }
    }

    std::mt19937 Engine;
};

// The words no dump carries, copied from the original so the rest can be compared whole.
void CopyWordsNoDumpCarries(const TMainData& from, TParameterData& to)
{
    const TParameterData& a = from.ParameterData;
    for (std::size_t i = 1; i < 4; ++i) to.PfmCommon.NameSpare[i] = a.PfmCommon.NameSpare[i];
    for (std::size_t p = 0; p < 4; ++p) to.PfmParts[p].ReserveNoteMax = a.PfmParts[p].ReserveNoteMax;
    (a.PfmFseq.FseqBank == 0 ? to.PfmFseq.FseqPre : to.PfmFseq.FseqInt) =
        a.PfmFseq.FseqBank == 0 ? a.PfmFseq.FseqPre : a.PfmFseq.FseqInt;
    (a.PfmFseq.SpeedSelect == 0 ? to.PfmFseq.Speed : to.PfmFseq.Speedmidi) =
        a.PfmFseq.SpeedSelect == 0 ? a.PfmFseq.Speed : a.PfmFseq.Speedmidi;
    to.PfmFseq.StartOffsetMax = a.PfmFseq.StartOffsetMax;
    to.PfmFseq.LoopStartMax = a.PfmFseq.LoopStartMax;
    to.PfmFseq.LoopEndMax = a.PfmFseq.LoopEndMax;
    for (std::size_t k = 0; k < 8; ++k) to.PfmControlSets[k].Reserved = a.PfmControlSets[k].Reserved;
    to.SystemBlock.MemoryMode = a.SystemBlock.MemoryMode;
    for (std::size_t b = 0; b < 3; ++b) {
        const PfmEffectBlock& block = a.PfmEffect.PfmEffectBlocks[b];
        const int n = from.EffectTypeTable[static_cast<std::size_t>(block.EffectType)][b].ParamCount;
        for (std::size_t i = static_cast<std::size_t>(n); i < 18; ++i)
            to.PfmEffect.PfmEffectBlocks[b].Para[i] = block.Para[i];
    }
    for (std::size_t v = 0; v < 4; ++v) {
        const VoiceRecord& av = a.VoiceRecords[v];
        VoiceRecord& tv = to.VoiceRecords[v];
        tv.VoiceCommon.Name[11] = av.VoiceCommon.Name[11];
        for (std::size_t k = 0; k < 8; ++k) {
            const VoicedOperator& ao = av.VoicedOperators[k];
            VoicedOperator& to_ = tv.VoicedOperators[k];
            to_.FreqCoarseMax = ao.FreqCoarseMax;
            to_.FreqFineMax = ao.FreqFineMax;
            (ao.Form == 5 || ao.Form == 6 ? to_.BandWidth : to_.Resonance) =
                ao.Form == 5 || ao.Form == 6 ? ao.BandWidth : ao.Resonance;
            UnvoicedOperator& tu = tv.UnvoicedOperators[k];
            const UnvoicedOperator& au = av.UnvoicedOperators[k];
            tu.SavedFreqCoarse = au.SavedFreqCoarse;
            tu.SavedFreqFine = au.SavedFreqFine;
            tu.PitchMod = au.PitchMod;
        }
    }
}

void ExpectWellFormed(const uint8_t* m, std::size_t n)
{
    ASSERT_EQ(m[0], 0xF0);
    ASSERT_EQ(m[n - 1], 0xF7);
    unsigned sum = 0;
    for (std::size_t i = 4; i + 1 < n; ++i) sum += m[i];
    ASSERT_EQ(sum % 128, 0u);
    for (std::size_t i = 1; i + 1 < n; ++i) ASSERT_LT(m[i], 0x80) << "byte " << i;
}

TEST(RoundTripTest, EveryDumpCarriesItsWordsThereAndBack)
{
    auto originalData = std::make_unique<RecordingMainData>();
    auto receivedData = std::make_unique<RecordingMainData>();
    RecordingMainData& original = *originalData;
    RecordingMainData& received = *receivedData;
    RandomBuffer random(20240607);
    for (int round = 0; round < 300; ++round) {
        random.Fill(original);
        for (std::size_t i = 0; i < TParameterData::Size; ++i)
            received.ParameterData.Bytes()[i] = static_cast<uint8_t>(random.R(0, 255));

        original.BuildPerformanceDump(DumpPerformance, 0);
        ExpectWellFormed(original.PerformanceDumpBuffer.data(), PerformanceDumpSize);
        received.BeginReceive(ReceivePerformance, true);
        received.ReceiveBulkDump(original.PerformanceDumpBuffer.data(), PerformanceDumpSize);
        ASSERT_EQ(received.DumpReceived, 1);
        for (int v = 0; v < 4; ++v) {
            original.BuildVoiceDump(v, 0);
            ExpectWellFormed(original.VoiceDumpBuffer.data(), VoiceDumpSize);
            received.BeginReceive(v, true);
            received.ReceiveBulkDump(original.VoiceDumpBuffer.data(), VoiceDumpSize);
            ASSERT_EQ(received.DumpReceived, 1);
        }
        original.BuildSystemDump();
        ExpectWellFormed(original.SystemDumpBuffer.data(), SystemDumpSize);
        received.BeginReceive(ReceiveSystem, true);
        received.ReceiveBulkDump(original.SystemDumpBuffer.data(), SystemDumpSize);
        ASSERT_EQ(received.DumpReceived, 1);

        CopyWordsNoDumpCarries(original, received.ParameterData);
        const uint8_t* a = original.ParameterData.Bytes();
        const uint8_t* b = received.ParameterData.Bytes();
        for (std::size_t i = 0; i < TParameterData::Size; ++i)
            ASSERT_EQ(a[i], b[i]) << "round " << round << ", buffer byte " << i << " (word " << i / 4 << ")";

        std::array<int32_t, 7> kept{};
        KeepTrailingEffectLevels(original.ParameterData.PfmEffect, original, kept);
        ASSERT_EQ(received.EffectKeptLevels, kept);
    }
}

} // namespace
