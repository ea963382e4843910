#include "core/WordRanges.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace {

constexpr std::size_t WordCount = TParameterData::Size / 4;
constexpr std::size_t SlotCount = 3 * 18;

TWordRange Within(TWordRange a, TWordRange b) { return {std::max(a.Lo, b.Lo), std::min(a.Hi, b.Hi)}; }
TWordRange Spanning(TWordRange a, TWordRange b) { return {std::min(a.Lo, b.Lo), std::max(a.Hi, b.Hi)}; }
bool Same(TWordRange a, TWordRange b) { return a.Lo == b.Lo && a.Hi == b.Hi; }

int32_t ReadWord(const TParameterData& data, std::size_t offset)
{
    int32_t v;
    std::memcpy(&v, data.Bytes() + offset, sizeof v);
    return v;
}

// The words no field carries, each with the word whose field it follows (offsets in a voice record
// or in TParameterData): the kept frequency and the slider maxima beside their slider's word, the
// unvoiced pitch modulation as the voiced one, which an operator paste brings.
constexpr std::pair<std::size_t, std::size_t> VoiceWordsLike[] = {
    {AT(VoicedOperator, FreqCoarseMax), AT(VoicedOperator, FreqCoarse)},
    {AT(VoicedOperator, FreqFineMax), AT(VoicedOperator, FreqFine)},
};
constexpr std::pair<std::size_t, std::size_t> UnvoicedWordsLike[] = {
    {AT(UnvoicedOperator, SavedFreqCoarse), UnvoicedOffset(0) + AT(UnvoicedOperator, FreqCoarse)},
    {AT(UnvoicedOperator, SavedFreqFine), UnvoicedOffset(0) + AT(UnvoicedOperator, FreqFine)},
    {AT(UnvoicedOperator, PitchMod), VoicedOffset(0) + AT(VoicedOperator, PitchMod)},
};
constexpr std::pair<std::size_t, std::size_t> FseqWordsLike[] = {
    {AT(PfmFseq, StartOffsetMax), AT(PfmFseq, StartOffset)},
    {AT(PfmFseq, LoopStartMax), AT(PfmFseq, LoopStart)},
    {AT(PfmFseq, LoopEndMax), AT(PfmFseq, LoopEnd)},
};

// The voiced operator's shared words whose field carries less than the unvoiced operator's, with
// what the instrument takes there (the slider's range): a bias of -7..+7 in four bits, where a
// bias of the unvoiced operator has a byte. The field's fifteenth step is outside the
// instrument's table.
constexpr std::pair<std::size_t, TWordRange> OverfilledByPaste[] = {
    {AT(VoicedOperator, SnsFreqBias), {0, 14}},
    {AT(VoicedOperator, SnsWidthBias), {0, 14}},
};

enum class WordKind : uint8_t { Unnamed, Word, Bytes, Slot };
using Ranges = std::array<TWordRange, WordCount>;
struct WordTable {
    Ranges Carried{}; // what its field carries back
    Ranges InFile{};  // what a save file may hold
    Ranges Kept{};    // what the editor brings it into
    std::array<WordKind, WordCount> Kind{};
    std::array<uint8_t, WordCount> Slot{}; // an effect slot's index, 18 to a block
};

// A raw paste across kinds leaves in each shared word what the other kind's field of that word
// carries: a save file may hold that. Where it is more than the word's own field carries, the
// word is kept in what the instrument takes there.
void TakeRawPastes(WordTable& t)
{
    for (int v = 0; v < 4; ++v)
        for (int k = 0; k < 8; ++k)
            for (std::size_t i = 0; i < SharedOperatorWords; ++i) {
                const std::size_t voiced = VoiceAt(v) + VoicedOffset(k) + VoicedSharedAt + 4 * i;
                const std::size_t unvoiced = VoiceAt(v) + UnvoicedOffset(k) + UnvoicedSharedAt + 4 * i;
                const TWordRange both = Spanning(t.Carried[voiced / 4], t.Carried[unvoiced / 4]);
                if (!Same(both, t.Carried[unvoiced / 4]))
                    throw std::logic_error("an unvoiced operator word that a voiced one overfills");
                if (Same(both, t.Carried[voiced / 4])) continue;
                const auto* taken = std::find_if(std::begin(OverfilledByPaste), std::end(OverfilledByPaste),
                                                 [&](const auto& w) { return w.first == VoicedSharedAt + 4 * i; });
                if (taken == std::end(OverfilledByPaste) || !Same(Within(taken->second, both), taken->second))
                    throw std::logic_error("a voiced operator word a paste overfills without the instrument's range");
                t.InFile[voiced / 4] = both;
                t.Kept[voiced / 4] = taken->second;
            }
}

WordTable MakeWordTable()
{
    WordTable t;
    t.Carried.fill({INT32_MIN, INT32_MAX});
    const auto word = [&](std::size_t offset, TWordRange r) {
        t.Carried[offset / 4] = Within(t.Carried[offset / 4], r);
        t.Kind[offset / 4] = WordKind::Word;
    };
    ForEachCarriedWord(word);
    const auto like = [&](std::size_t offset, std::size_t other) { word(offset, t.Carried[other / 4]); };
    const auto bytes = [&](std::size_t offset, std::size_t size) {
        for (std::size_t i = offset / 4; i < (offset + size) / 4; ++i) {
            if (t.Kind[i] != WordKind::Unnamed) throw std::logic_error("a byte field that a dump row takes as a word");
            t.Kind[i] = WordKind::Bytes;
        }
    };
    for (int v = 0; v < 4; ++v) {
        bytes(VoiceAt(v) + CommonOffset() + AT(VoiceCommon, Name), sizeof(VoiceCommon::Name));
        for (int k = 0; k < 8; ++k) {
            for (const auto& [own, other] : VoiceWordsLike)
                like(VoiceAt(v) + VoicedOffset(k) + own, VoiceAt(v) + VoicedOffset(k) + other);
            for (const auto& [own, other] : UnvoicedWordsLike)
                like(VoiceAt(v) + UnvoicedOffset(k) + own, VoiceAt(v) + other);
        }
    }
    for (int p = 0; p < 4; ++p) like(PartAt(p) + AT(PfmPart, ReserveNoteMax), PartAt(p) + AT(PfmPart, ReserveNote));
    for (const auto& [own, other] : FseqWordsLike)
        like(AT(TParameterData, PfmFseq) + own, AT(TParameterData, PfmFseq) + other);
    bytes(AT(PfmCommon, Name), sizeof(PfmCommon::Name) + sizeof(PfmCommon::NameSpare));
    for (int k = 0; k < 8; ++k) {
        bytes(ControlSetAt(k) + AT(PfmControlSet, SourceSw),
              sizeof(PfmControlSet::SourceSw) + sizeof(PfmControlSet::Reserved));
        bytes(ControlSetAt(k) + AT(PfmControlSet, PartSw), sizeof(PfmControlSet::PartSw));
    }
    for (int b = 0; b < 3; ++b)
        for (std::size_t s = 0; s < 18; ++s) {
            const std::size_t i = (EffectBlockAt(b) + AT(PfmEffectBlock, Para)) / 4 + s;
            t.Kind[i] = WordKind::Slot;
            t.Slot[i] = static_cast<uint8_t>(18 * b + static_cast<int>(s));
        }
    for (WordKind kind : t.Kind)
        if (kind == WordKind::Unnamed) throw std::logic_error("a word of the edit buffer without a range");
    t.InFile = t.Kept = t.Carried;
    TakeRawPastes(t);
    return t;
}

const WordTable& Words()
{
    static const WordTable table = MakeWordTable();
    return table;
}

// The effect slots under the blocks' current types: what a used slot's row carries, and for a
// slot past its type what an earlier type may have left there.
using SlotRanges = std::array<TWordRange, SlotCount>;
SlotRanges SlotRangesOf(const PfmEffect& effect, const TNameTables& tables)
{
    const TWordRange anyKind{0, *std::max_element(tables.EffectKindMax.begin(), tables.EffectKindMax.end())};
    const EffectSlotRanges used = UsedEffectSlotRanges(effect, tables);
    SlotRanges out{};
    for (std::size_t s = 0; s < SlotCount; ++s) out[s] = used[s].value_or(anyKind);
    return out;
}

// Word `i`'s range of one kind (an effect slot's from `slots`); empty for the bytes of a name or switches.
std::optional<TWordRange> RangeOf(const Ranges WordTable::*kind, std::size_t i, const SlotRanges& slots)
{
    switch (Words().Kind[i]) {
    case WordKind::Word: return (Words().*kind)[i];
    case WordKind::Slot: return slots[Words().Slot[i]];
    default: return std::nullopt;
    }
}

std::optional<TWordRange> RangeAt(const Ranges WordTable::*kind, const TParameterData& data, const TNameTables& tables,
                                  std::size_t offset)
{
    if (offset % 4 != 0 || offset >= TParameterData::Size) return std::nullopt;
    return RangeOf(kind, offset / 4, SlotRangesOf(data.PfmEffect, tables));
}

} // namespace

std::optional<TWordRange> WordRange(const TParameterData& data, const TNameTables& tables, std::size_t offset)
{
    return RangeAt(&WordTable::Carried, data, tables, offset);
}

std::optional<TWordRange> FileWordRange(const TParameterData& data, const TNameTables& tables, std::size_t offset)
{
    return RangeAt(&WordTable::InFile, data, tables, offset);
}

std::optional<std::size_t> FirstWordOutOfRange(const TParameterData& data, const TNameTables& tables)
{
    const SlotRanges slots = SlotRangesOf(data.PfmEffect, tables);
    for (std::size_t i = 0; i < WordCount; ++i) {
        const auto range = RangeOf(&WordTable::InFile, i, slots);
        if (range && !range->Holds(ReadWord(data, 4 * i))) return 4 * i;
    }
    return std::nullopt;
}

bool BringWordsIntoRange(TParameterData& data, const TNameTables& tables, std::size_t offset, std::size_t size)
{
    const SlotRanges slots = SlotRangesOf(data.PfmEffect, tables);
    bool changed = false;
    for (std::size_t at = offset; at % 4 == 0 && at < offset + size && at < TParameterData::Size; at += 4)
        if (const auto range = RangeOf(&WordTable::Kept, at / 4, slots)) {
            const int32_t was = ReadWord(data, at);
            const int32_t now = std::clamp(was, range->Lo, range->Hi);
            if (now == was) continue;
            std::memcpy(data.Bytes() + at, &now, sizeof now);
            changed = true;
        }
    return changed;
}
