// The ranges of the edit buffer's words are what the dumps carry: a word a dump carries is inside
// its range exactly when building the dumps and reading them back gives it again.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <optional>
#include <set>

#include "core/DumpLayout.h"
#include "core/WordRanges.h"
#include "fuzz/DumpRoundTrip.h"
#include "tests/support/RecordingMainData.h"

namespace {

using roundtrip::SetWord;
using roundtrip::ThroughTheDumps;
using roundtrip::WordAt;

// Every word at `offsets` of the voices (offsets in a voice record) and of TParameterData.
std::set<std::size_t> Places(std::initializer_list<std::size_t> voiceOffsets, std::initializer_list<std::size_t> others)
{
    std::set<std::size_t> out(others);
    for (int v = 0; v < 4; ++v)
        for (std::size_t o : voiceOffsets) out.insert(VoiceAt(v) + o);
    return out;
}

} // namespace

// Every word takes each value of a wide interval, both ends of every range and the int limits: all
// words at once, then the words that travel under one mode (sequence number, speed, bandwidth or
// resonance) and the effect slots under each mode and type they travel in. A word is carried back
// when it and the mode it travels under come back.
TEST(WordRange, IsExactlyWhatTheDumpsCarryBack)
{
    const RecordingMainData m;
    const TParameterData initial = m.ParameterData;
    constexpr std::size_t Fseq = AT(TParameterData, PfmFseq);
    // The words no dump carries, and the memory mode, which the system dump brings but never takes.
    std::set<std::size_t> uncarried =
        Places({}, {Fseq + AT(PfmFseq, StartOffsetMax), Fseq + AT(PfmFseq, LoopStartMax),
                    Fseq + AT(PfmFseq, LoopEndMax), AT(TParameterData, SystemBlock) + AT(SystemBlock, MemoryMode)});
    for (int k = 0; k < 8; ++k) {
        uncarried.merge(Places({VoicedOffset(k) + AT(VoicedOperator, FreqCoarseMax),
                                VoicedOffset(k) + AT(VoicedOperator, FreqFineMax),
                                UnvoicedOffset(k) + AT(UnvoicedOperator, SavedFreqCoarse),
                                UnvoicedOffset(k) + AT(UnvoicedOperator, SavedFreqFine),
                                UnvoicedOffset(k) + AT(UnvoicedOperator, PitchMod)},
                               {}));
        if (k < 4) uncarried.insert(PartAt(k) + AT(PfmPart, ReserveNoteMax));
    }
    // A setting: the words it checks, each with the mode word and value it travels under.
    struct Check {
        std::size_t word;
        std::optional<std::pair<std::size_t, int32_t>> mode;
    };
    std::vector<std::vector<Check>> settings(3);
    std::set<std::size_t> modal;
    for (int mode = 0; mode < 2; ++mode) {
        auto& s = settings[std::size_t(1 + mode)];
        s.push_back(
            {Fseq + (mode ? AT(PfmFseq, FseqPre) : AT(PfmFseq, FseqInt)), {{Fseq + AT(PfmFseq, FseqBank), mode}}});
        s.push_back(
            {Fseq + (mode ? AT(PfmFseq, Speed) : AT(PfmFseq, Speedmidi)), {{Fseq + AT(PfmFseq, SpeedSelect), mode}}});
        for (int v = 0; v < 4; ++v)
            for (int k = 0; k < 8; ++k)
                s.push_back({VoiceAt(v) + VoicedOffset(k) +
                                 (mode ? AT(VoicedOperator, Resonance) : AT(VoicedOperator, BandWidth)),
                             {{VoiceAt(v) + VoicedOffset(k) + AT(VoicedOperator, Form), mode ? 5 : 0}}});
        for (const Check& c : s) modal.insert(c.word);
    }
    for (int type = 0; type < 41; ++type) {
        auto& s = settings.emplace_back();
        for (int b = 0; b < 3; ++b) {
            const int t = std::min(type, EffectTypeCount[std::size_t(b)] - 1);
            const int n = m.EffectTypeTable[std::size_t(t)][std::size_t(b)].ParamCount;
            for (int i = 0; i < n; ++i)
                s.push_back({EffectBlockAt(b) + AT(PfmEffectBlock, Para) + 4u * unsigned(i), {{EffectBlockAt(b), t}}});
            for (int i = n; i < 18; ++i) modal.insert(EffectBlockAt(b) + AT(PfmEffectBlock, Para) + 4u * unsigned(i));
        }
        for (const Check& c : s) modal.insert(c.word);
    }
    std::set<int32_t> values = {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX};
    for (int32_t v = -300; v <= 300; ++v) values.insert(v);
    for (int32_t v = -17000; v <= 17000; v += 61) values.insert(v);
    for (std::size_t o = 0; o < TParameterData::Size; o += 4)
        if (const auto r = WordRange(initial, m, o)) {
            values.insert({r->Lo - 1, r->Lo, r->Hi, r->Hi + 1});
            if (!uncarried.count(o) && !modal.count(o)) settings[0].push_back({o, {}});
        }
    EXPECT_GT(settings[0].size(), 2800u);

    std::set<std::size_t> failed;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        TParameterData d = initial;
        std::vector<TWordRange> ranges;
        for (const Check& c : settings[i]) {
            if (c.mode) SetWord(d, c.mode->first, c.mode->second);
            ranges.push_back(*WordRange(d, m, c.word));
        }
        for (int32_t v : values) {
            for (const Check& c : settings[i]) SetWord(d, c.word, v);
            const TParameterData back = ThroughTheDumps(d, m, i >= 3);
            for (std::size_t j = 0; j < ranges.size(); ++j) {
                const Check& c = settings[i][j];
                const bool carried =
                    WordAt(back, c.word) == v && (!c.mode || WordAt(back, c.mode->first) == c.mode->second);
                if (carried != ranges[j].Holds(v) && failed.insert(c.word).second)
                    ADD_FAILURE() << "the word at byte " << c.word << " with range " << ranges[j].Lo << ".."
                                  << ranges[j].Hi << (carried ? " carries " : " does not carry ") << v;
            }
        }
    }
    // Names and switch bytes are no words.
    for (std::size_t o :
         {AT(PfmCommon, Name), AT(PfmCommon, NameSpare), ControlSetAt(3) + AT(PfmControlSet, SourceSw),
          ControlSetAt(3) + AT(PfmControlSet, SourceSw) + 12, ControlSetAt(7) + AT(PfmControlSet, PartSw),
          VoiceAt(2) + CommonOffset() + AT(VoiceCommon, Name) + 8})
        EXPECT_FALSE(WordRange(initial, m, o)) << o;
}
