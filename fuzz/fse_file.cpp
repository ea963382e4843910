// The program's own save file (.fse), opened with File > Open.
//
// Properties: a file is taken exactly when it is 12,996 bytes with "Quillmarven", a zero byte and
// version 100 ahead of the body, and every word of the body is one the editor, or an earlier
// version of it, could have written: what its field carries (building the dumps from the body and
// reading them back gives it again, also under the other mode of a word that travels in one mode
// only), on a voiced operator also what the unvoiced operator's field of that word carries (earlier
// versions pasted those words raw across kinds), and for the words no dump carries back, what the
// editor gives them. A refused file shows its box, changes nothing and sends nothing. A taken file
// loads verbatim but for the voiced frequency and width biases, which are brought into their
// slider's range, the data then marked changed (the edit buffer holds that body byte for byte,
// also after every sheet, part, effect block, voice and operator has been shown), and everything
// the program then sends is whole and 7-bit, its dumps carrying those words unchanged.
//
// Random bytes seldom give a word at the end of its range or of int: the mutator puts such values
// into a few words of a valid file now and then.
#include "core/WordRanges.h"
#include "fuzz/DumpRoundTrip.h"
#include "fuzz/FuzzRig.h"

#include "performance/PerformancePage.h"
#include "voice/VoicePage.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <random>

namespace {

constexpr std::size_t HeaderSize = 16;
constexpr std::size_t FileSize = HeaderSize + TParameterData::Size;
constexpr std::size_t Fseq = AT(TParameterData, PfmFseq);

using roundtrip::SetWord;
using roundtrip::ThroughTheDumps;
using roundtrip::WordAt;

// Names and switch bytes, which are no words.
bool InBytes(std::size_t offset)
{
    if (offset < AT(PfmCommon, Category)) return true;
    for (int k = 0; k < 8; ++k) {
        const std::size_t set = ControlSetAt(k);
        if ((offset >= set && offset < set + AT(PfmControlSet, Destination)) ||
            offset == set + AT(PfmControlSet, PartSw))
            return true;
    }
    for (int v = 0; v < 4; ++v)
        if (offset >= VoiceAt(v) && offset < VoiceAt(v) + AT(VoiceCommon, Category)) return true;
    return false;
}

// A word that travels in one mode only, with the word that sets the mode and its value there.
struct ModalWord {
    std::size_t Word, Mode;
    int32_t Value;
};
// Under the first mode: the internal sequence, the midi speed, the bandwidth of each voiced
// operator, and the voice's copy of the filter switch, which travels as the part's; under the
// second the others.
std::vector<ModalWord> ModalWords(const TParameterData& d, int mode)
{
    std::vector<ModalWord> out{
        {Fseq + (mode ? AT(PfmFseq, FseqPre) : AT(PfmFseq, FseqInt)), Fseq + AT(PfmFseq, FseqBank), mode},
        {Fseq + (mode ? AT(PfmFseq, Speed) : AT(PfmFseq, Speedmidi)), Fseq + AT(PfmFseq, SpeedSelect), mode}};
    for (int v = 0; v < 4; ++v) {
        for (int k = 0; k < 8; ++k)
            out.push_back(
                {VoiceAt(v) + VoicedOffset(k) + (mode ? AT(VoicedOperator, Resonance) : AT(VoicedOperator, BandWidth)),
                 VoiceAt(v) + VoicedOffset(k) + AT(VoicedOperator, Form), mode ? 5 : 0});
        const std::size_t filter = VoiceAt(v) + CommonOffset() + AT(VoiceCommon, FilterSw);
        if (mode == 0) out.push_back({filter, PartAt(v) + AT(PfmPart, FilterSw), WordAt(d, filter)});
    }
    return out;
}

// The words no dump carries back, with what the editor gives them.
std::vector<std::pair<std::size_t, TWordRange>> OwnWords(const TParameterData& d, const TNameTables& tables)
{
    std::vector<std::pair<std::size_t, TWordRange>> out{
        {Fseq + AT(PfmFseq, StartOffsetMax), {0, 0x3FFF}},
        {Fseq + AT(PfmFseq, LoopStartMax), {0, 0x3FFF}},
        {Fseq + AT(PfmFseq, LoopEndMax), {0, 0x3FFF}},
        {AT(TParameterData, SystemBlock) + AT(SystemBlock, MemoryMode), {0, 127}}};
    for (int p = 0; p < 4; ++p) out.push_back({PartAt(p) + AT(PfmPart, ReserveNoteMax), {0, 127}});
    for (int v = 0; v < 4; ++v)
        for (int k = 0; k < 8; ++k) {
            const std::size_t voiced = VoiceAt(v) + VoicedOffset(k), unvoiced = VoiceAt(v) + UnvoicedOffset(k);
            out.push_back({voiced + AT(VoicedOperator, FreqCoarseMax), {0, 31}});
            out.push_back({voiced + AT(VoicedOperator, FreqFineMax), {0, 127}});
            out.push_back({unvoiced + AT(UnvoicedOperator, SavedFreqCoarse), {0, 21}});
            out.push_back({unvoiced + AT(UnvoicedOperator, SavedFreqFine), {0, 127}});
            out.push_back({unvoiced + AT(UnvoicedOperator, PitchMod), {0, 7}});
        }
    // An effect slot past its type's: what an earlier type left, up to the largest value of any kind.
    const int32_t largest = *std::max_element(tables.EffectKindMax.begin(), tables.EffectKindMax.end());
    for (int b = 0; b < 3; ++b) {
        const int type =
            std::clamp(d.PfmEffect.PfmEffectBlocks[std::size_t(b)].EffectType, 0, EffectTypeCount[std::size_t(b)] - 1);
        const int n = tables.EffectTypeTable[std::size_t(type)][std::size_t(b)].ParamCount;
        for (int i = n < TrailingEffectSlots[b] || n > 18 ? 0 : n; i < 18; ++i)
            out.push_back({EffectBlockAt(b) + AT(PfmEffectBlock, Para) + 4u * unsigned(i), {0, largest}});
    }
    return out;
}

// The voiced operators' shared words (those an Op Paste across kinds copies), with the place of
// the unvoiced operator's word of the same name.
std::vector<std::pair<std::size_t, std::size_t>> SharedWords()
{
    std::vector<std::pair<std::size_t, std::size_t>> out;
    for (int v = 0; v < 4; ++v)
        for (int k = 0; k < 8; ++k)
            for (std::size_t i = 0; i < 22; ++i)
                out.push_back({VoiceAt(v) + VoicedOffset(k) + AT(VoicedOperator, EGHold) + 4 * i,
                               VoiceAt(v) + UnvoicedOffset(k) + AT(UnvoicedOperator, EGHold) + 4 * i});
    return out;
}

// The words of `d` the dumps do not carry back into `back`, in the modes `d` holds.
std::vector<std::size_t> NotCarriedBack(const TParameterData& d, const TParameterData& back, const TNameTables& tables)
{
    std::vector<bool> skip(TParameterData::Size / 4);
    for (int mode = 0; mode < 2; ++mode)
        for (const ModalWord& w : ModalWords(d, mode)) skip[w.Word / 4] = true;
    for (const auto& [offset, range] : OwnWords(d, tables)) skip[offset / 4] = true;
    std::vector<std::size_t> out;
    for (std::size_t o = 0; o < TParameterData::Size; o += 4)
        if (!skip[o / 4] && !InBytes(o) && WordAt(back, o) != WordAt(d, o)) out.push_back(o);
    return out;
}
bool CarriedBack(const TParameterData& d, const TParameterData& back, const TNameTables& tables)
{
    return NotCarriedBack(d, back, tables).empty();
}

// The oracle: every word of the body is one the editor could have written.
bool EditorCouldHaveWritten(const TParameterData& d, const TNameTables& tables)
{
    // A voiced operator's shared word its own field does not carry back may hold what the
    // unvoiced operator's field of that word does.
    const auto shared = SharedWords();
    const auto own = OwnWords(d, tables);
    for (std::size_t o : NotCarriedBack(d, ThroughTheDumps(d, tables), tables)) {
        const auto pasted = std::find_if(shared.begin(), shared.end(), [&](const auto& w) { return w.first == o; });
        if (pasted == shared.end()) return false;
        const auto ownRange =
            std::find_if(own.begin(), own.end(), [&](const auto& w) { return w.first == pasted->second; });
        if (ownRange != own.end()) { // the unvoiced pitch modulation, which no dump carries
            if (!ownRange->second.Holds(WordAt(d, o))) return false;
            continue;
        }
        TParameterData unvoiced = d;
        SetWord(unvoiced, pasted->second, WordAt(d, o));
        if (WordAt(ThroughTheDumps(unvoiced, tables), pasted->second) != WordAt(d, o)) return false;
    }
    for (int mode = 0; mode < 2; ++mode) {
        const std::vector<ModalWord> words = ModalWords(d, mode);
        TParameterData moded = d;
        for (const ModalWord& w : words) SetWord(moded, w.Mode, w.Value);
        const TParameterData back = ThroughTheDumps(moded, tables);
        for (const ModalWord& w : words)
            if (WordAt(back, w.Word) != WordAt(d, w.Word) || WordAt(back, w.Mode) != w.Value) return false;
    }
    for (const auto& [offset, range] : OwnWords(d, tables))
        if (!range.Holds(WordAt(d, offset))) return false;
    return true;
}

// The body as the editor takes it: every voiced frequency and width bias brought into its slider's
// range, as a voiced operator takes it on the instrument.
TParameterData AsTaken(TParameterData d)
{
    const int top[] = {VcPairOf(VcPair::Vc_OpSnsFreqBias).PairForm.Max,
                       VcPairOf(VcPair::Vc_OpSnsWidthBias).PairForm.Max};
    for (VoiceRecord& voice : d.VoiceRecords)
        for (VoicedOperator& op : voice.VoicedOperators) {
            op.SnsFreqBias = std::clamp(op.SnsFreqBias, 0, top[0]);
            op.SnsWidthBias = std::clamp(op.SnsWidthBias, 0, top[1]);
        }
    return d;
}

// A person shows every sheet, part, effect block, and every operator of one voice.
void ShowEverything(fuzz::Rig& rig, int voice)
{
    TMainForm& form = rig.Form();
    TPerformancePage& pfm = *form.PerformancePage;
    TVoicePage& vc = *form.VoicePage;
    rig.ShowWindow();
    rig.Run([&] { form.FS1R_PageControl->SetActivePage(form.Pfm_TabSheet); });
    for (int i = 0; i < pfm.Pfm_PageControl->PageCount(); ++i) pfm.Pfm_PageControl->UserSelects(i);
    pfm.Pfm_PageControl->UserSelects(pfm.Pfm_Part_TabSheet->PageIndex());
    for (int p = 0; p < 4; ++p) pfm.Pfm_PartTab->UserSelects(p);
    pfm.Pfm_PageControl->UserSelects(pfm.Pfm_Effect_TabSheet->PageIndex());
    for (int b = 0; b < 4; ++b) pfm.Pfm_Effect_Tab->UserSelects(b);
    rig.Run([&] { form.FS1R_PageControl->SetActivePage(form.Vc_TabSheet); });
    vc.Vc_VoiceTab->UserSelects(voice);
    for (int t = 0; t < 16; ++t) vc.Vc_OperatorTab->UserSelects(t);
    Application->ProcessPosted();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Rig& rig = fuzz::Rig::Get();
    rig.Reset();
    TMainForm& form = rig.Form();
    const std::string path = rig.ScratchFile("in.fse", data, size);
    const bool header = size == FileSize && std::memcmp(data, "Quillmarven", 12) == 0 && data[12] == 100 &&
                        data[13] == 0 && data[14] == 0 && data[15] == 0;
    TParameterData file{};
    if (header) std::memcpy(&file, data + HeaderSize, TParameterData::Size);
    const bool valid = header && EditorCouldHaveWritten(file, form);

    const fuzz::Bytes before = rig.EditBuffer();
    rig.AnswerFileDialogs(path, 1);
    rig.Run([&] { form.FileOpenItemClick(nullptr); });
    rig.CheckNoFailureShown("open");

    if (!valid) {
        rig.CheckShown("File Error: This file is not Quillmarven's file or broken file", "a wrong file");
        fuzz::CheckEditBuffer(rig.EditBuffer(), before, "a refused file changed the edit buffer");
        if (!form.CurrentFileName.empty()) fuzz::Fail("a refused file became the current file");
        if (!rig.TakeSent().empty()) fuzz::Fail("a refused file sent something");
        return 0;
    }
    const TParameterData taken = AsTaken(file);
    const bool broughtIntoRange = std::memcmp(&file, &taken, sizeof file) != 0;
    file = taken;
    // The part reserves are the other exception: showing a part brings reserves that ask for more
    // notes than the instrument has down within its limits, and keeps the slider limit (a
    // word the instrument never gets) beside them. They only ever go down.
    for (std::size_t p = 0; p < 4; ++p) {
        const PfmPart& part = form.ParameterData.PfmParts[p];
        const int32_t stored = file.PfmParts[p].ReserveNote;
        if (part.ReserveNote < 0 || part.ReserveNote > 32 || (part.ReserveNote > stored && part.ReserveNote > 0))
            fuzz::Fail("a part reserve went up or out of 0..32 when the file was shown");
        file.PfmParts[p].ReserveNote = part.ReserveNote;
        file.PfmParts[p].ReserveNoteMax = part.ReserveNoteMax;
    }
    const fuzz::Bytes body(file.Bytes(), file.Bytes() + TParameterData::Size);
    fuzz::CheckEditBuffer(rig.EditBuffer(), body, "the file did not load verbatim");
    if (form.CurrentFileName != path) fuzz::Fail("the loaded file is not the current file");
    if (bool(form.DataChanged) != broughtIntoRange)
        fuzz::Fail(broughtIntoRange ? "a file whose words were brought into range is unchanged"
                                    : "a file taken as it stands is marked changed");
    // The open starts the send-all: its dumps read back into the body leave every word they carry.
    rig.RunTransfers();
    rig.CheckNoFailureShown("send-all after the open");
    const std::vector<fuzz::Bytes> sent = rig.TakeSent();
    fuzz::CheckSevenBit(sent, "send-all after the open");
    TParameterData got = file;
    int dumps = 0;
    for (const fuzz::Bytes& m : sent) {
        if (IsBulkDumpOf(m.data(), m.size(), PerformancePayloadSize, 0x10, 0x00, 0x00))
            DecodePerformancePayload(got, form, m.data() + BulkDumpHeaderSize), ++dumps;
        if (IsBulkDumpOf(m.data(), m.size(), SystemPayloadSize, 0x00, 0x00, 0x00))
            DecodeSystemPayload(got, m.data() + BulkDumpHeaderSize), ++dumps;
        for (std::size_t v = 0; v < 4; ++v)
            if (IsBulkDumpOf(m.data(), m.size(), VoicePayloadSize, uint8_t(0x40 + v), 0x00, 0x00))
                DecodeVoicePayload(got.VoiceRecords[v], m.data() + BulkDumpHeaderSize), ++dumps;
    }
    if (dumps != 6 || !CarriedBack(file, got, form)) fuzz::Fail("the send-all does not carry the file's words");
    fuzz::CheckEditBuffer(rig.EditBuffer(), body, "sending the loaded file changed the edit buffer");
    ShowEverything(rig, int(data[HeaderSize + 20] % 4));
    rig.CheckNoFailureShown("showing every page");
    fuzz::CheckEditBuffer(rig.EditBuffer(), body, "showing the loaded file's pages changed the edit buffer");
    rig.RefreshEveryPageAndSendEverything("after the open");
    fuzz::CheckEditBuffer(rig.EditBuffer(), body, "showing the loaded file changed the edit buffer");
    return 0;
}

#ifndef QM_FUZZ_REPLAY
extern "C" std::size_t LLVMFuzzerMutate(uint8_t* data, std::size_t size, std::size_t maxSize);

// Every other mutation makes a valid file of the input and sets one to three of its words to an
// end of their range, just past it, or an end of int.
extern "C" std::size_t LLVMFuzzerCustomMutator(uint8_t* data, std::size_t size, std::size_t maxSize, unsigned int seed)
{
    std::minstd_rand random(seed);
    if (random() % 2 || maxSize < FileSize) return LLVMFuzzerMutate(data, size, maxSize);
    if (size < FileSize) std::memset(data + size, 0, FileSize - size);
    std::memcpy(data, "Quillmarven\0\x64\0\0\0", HeaderSize);
    TParameterData body;
    std::memcpy(&body, data + HeaderSize, TParameterData::Size);
    const TNameTables& tables = fuzz::Rig::Get().Form();
    for (int n = 1 + int(random() % 3); n > 0; --n) {
        const std::size_t offset = 4 * (random() % (TParameterData::Size / 4));
        const auto range = FileWordRange(body, tables, offset);
        if (!range) continue;
        const int32_t values[] = {range->Lo,     range->Hi, range->Lo, range->Hi,  range->Lo - 1,
                                  range->Hi + 1, INT_MIN,   INT_MAX,   INT_MIN + 1};
        SetWord(body, offset, values[random() % std::size(values)]);
    }
    std::memcpy(data + HeaderSize, &body, TParameterData::Size);
    return FileSize;
}
#endif
