#include "core/DumpLayout.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

// How a word (or a few words) becomes payload bytes and back.
enum class Codec : uint8_t {
    Byte,       // v + Arg
    Reverse,    // Arg - v (vertical sliders)
    Bits,       // v in Width bits at bit Arg, summed with the other fields of its byte
    Wide14,     // v + Arg as two 7-bit bytes, high first
    Name,       // Arg characters
    Channel,    // 17 (off) travels as 7F, everything else as is
    Controller, // list index <-> controller number, which skips 32
    Portamento, // switch (Offset) and mode (Offset2) as 0..3
    FseqNumber, // bank (Offset) chooses the internal (+4) or the preset (+8) number
    FseqSpeed,  // select (Offset): midi speed (+4) or percent speed (+8) + 100, two bytes
    BandOrReso, // bandwidth (Offset) or, for form (Offset2) 5 and 6, resonance (+4)
    ByteBelow,  // as Byte; parsed only when the byte is below Arg, or 7F ("off")
    CopiedByte, // as Byte; parsed into Offset2 as well
    ParseOnly,  // never built (the byte stays 0), but read
};

struct DumpField {
    uint16_t Pos = 0;
    uint16_t Offset = 0; // byte offset of the word in the layout's base record
    Codec Kind = Codec::Byte;
    int16_t Arg = 0;
    uint8_t Width = 0;
    bool Small = false;    // a one-byte field (controller set switches)
    bool Pair = false;     // a parameter change carries this byte and the next as DH DL
    bool Second = false;   // the next byte of such a pair: its parameter change is the pair's
    bool DumpOnly = false; // carried by the dump alone: no parameter change
    int16_t Lo = 0;        // range the word is brought into, when Hi >= Lo
    int16_t Hi = -1;
    uint16_t Offset2 = 0;
};

constexpr uint16_t U16(std::size_t v) { return static_cast<uint16_t>(v); }

DumpField Field(int pos, std::size_t off, Codec kind = Codec::Byte, int arg = 0)
{
    DumpField f;
    f.Pos = U16(pos);
    f.Offset = U16(off);
    f.Kind = kind;
    f.Arg = static_cast<int16_t>(arg);
    return f;
}
DumpField Bits(int pos, std::size_t off, int shift, int width, bool small = false)
{
    DumpField f = Field(pos, off, Codec::Bits, shift);
    f.Width = static_cast<uint8_t>(width);
    f.Small = small;
    return f;
}
DumpField InRange(DumpField f, int lo, int hi)
{
    f.Lo = static_cast<int16_t>(lo);
    f.Hi = static_cast<int16_t>(hi);
    return f;
}
DumpField WithSecond(DumpField f, std::size_t off2)
{
    f.Offset2 = U16(off2);
    return f;
}

constexpr int FseqIntCount = 6;
constexpr int FseqPreCount = 90;

int32_t ReadWord(const uint8_t* base, std::size_t off)
{
    int32_t v;
    std::memcpy(&v, base + off, sizeof v);
    return v;
}
void WriteWord(uint8_t* base, std::size_t off, int32_t v) { std::memcpy(base + off, &v, sizeof v); }

// The byte forms, one implementation each, which FieldBytes applies: the dump codec converts the
// one-word forms through FieldBytes, and its own conversions with these. Words from a file or the instrument may hold anything an int32 can: the
// sums are taken in 64 bits, so no word overflows on its way into its seven bits.
uint8_t Seven(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 0x7F)); }
ParameterBytes Wide14(int64_t v)
{
    const auto x = std::clamp<int64_t>(v, 0, 0x3FFF);
    return {static_cast<uint8_t>(x >> 7), static_cast<uint8_t>(x & 0x7F)};
}
uint8_t BitField(int32_t v, int shift, int width)
{
    return static_cast<uint8_t>(std::clamp(v, 0, (1 << width) - 1) << shift);
}
void Put(uint8_t* p, ParameterBytes b)
{
    p[0] = b.DH;
    p[1] = b.DL;
}
int32_t Fit(const DumpField& f, int32_t v) { return f.Hi >= f.Lo ? std::clamp<int32_t>(v, f.Lo, f.Hi) : v; }

bool IsTwoByte(const DumpField& f) { return f.Pair || f.Kind == Codec::Wide14 || f.Kind == Codec::FseqSpeed; }

// What a row says of its word's form, the address aside: FieldBytes converts by it.
TDumpField FormOf(const DumpField& f)
{
    TDumpField out;
    out.Arg = f.Arg;
    out.Width = f.Width;
    out.TwoByte = IsTwoByte(f) || f.Second;
    out.Lo = f.Lo;
    out.Hi = f.Hi;
    switch (f.Kind) {
    case Codec::Byte:
    case Codec::CopiedByte: out.Form = TFieldForm::Byte; break;
    case Codec::ByteBelow:
        out.Form = TFieldForm::Byte;
        out.Arg = 0;
        break; // Arg is the parse limit there
    case Codec::Reverse: out.Form = TFieldForm::Reverse; break;
    case Codec::Bits: out.Form = TFieldForm::Bits; break;
    case Codec::Wide14: out.Form = TFieldForm::Wide14; break;
    default:
        out.Form = TFieldForm::Other;
        out.Arg = 0;
        break;
    }
    return out;
}

void Encode(const DumpField& f, const uint8_t* base, uint8_t* payload)
{
    uint8_t* p = payload + f.Pos;
    const int32_t v = Fit(f, f.Small ? base[f.Offset] : ReadWord(base, f.Offset));
    switch (f.Kind) {
    case Codec::Byte:
    case Codec::CopiedByte:
    case Codec::ByteBelow:
    case Codec::Reverse: *p = FieldBytes(FormOf(f), v).DL; break;
    case Codec::Bits: *p = static_cast<uint8_t>(*p | FieldBytes(FormOf(f), v).DL); break;
    case Codec::Wide14: Put(p, FieldBytes(FormOf(f), v)); break;
    case Codec::Name:
        for (int i = 0; i < f.Arg; ++i) p[i] = NameCharacter(base + f.Offset, f.Arg, i);
        break;
    case Codec::Channel: *p = v == 17 ? 0x7F : Seven(v); break;
    case Codec::Controller: *p = Seven(v <= 30 ? int64_t(v) + 1 : int64_t(v) + 2); break;
    case Codec::Portamento: {
        const int32_t mode = ReadWord(base, f.Offset2);
        *p = (v == 0 && mode == 0) ? 0 : (v == 1 && mode == 0) ? 1 : (v == 0 && mode == 1) ? 2 : 3;
        break;
    }
    case Codec::FseqNumber:
        *p = v == 0 ? Seven(std::clamp(ReadWord(base, f.Offset + 4), 0, FseqIntCount - 1))
                    : Seven(std::clamp(ReadWord(base, f.Offset + 8), 0, FseqPreCount - 1));
        break;
    case Codec::FseqSpeed:
        Put(p, v == 0 ? ParameterBytes{0, Seven(ReadWord(base, f.Offset + 4))}
                      : Wide14(int64_t(ReadWord(base, f.Offset + 8)) + 100));
        break;
    case Codec::BandOrReso: {
        const int32_t form = ReadWord(base, f.Offset2);
        *p = Seven(form == 5 || form == 6 ? ReadWord(base, f.Offset + 4) : v);
        break;
    }
    case Codec::ParseOnly: break;
    }
}

void Decode(const DumpField& f, uint8_t* base, const uint8_t* payload)
{
    const uint8_t* p = payload + f.Pos;
    const int32_t b = p[0];
    auto store = [&](int32_t v) {
        v = Fit(f, v);
        if (f.Small)
            base[f.Offset] = static_cast<uint8_t>(v);
        else
            WriteWord(base, f.Offset, v);
    };
    switch (f.Kind) {
    case Codec::Byte: store(b - f.Arg); break;
    case Codec::Reverse: store(f.Arg - b); break;
    case Codec::Bits: store((b >> f.Arg) & ((1 << f.Width) - 1)); break;
    case Codec::Wide14: store(p[0] * 128 + p[1] - f.Arg); break;
    case Codec::Name:
        std::memset(base + f.Offset, 0, static_cast<std::size_t>(f.Arg) + 1);
        std::memcpy(base + f.Offset, p, static_cast<std::size_t>(f.Arg));
        break;
    case Codec::Channel: store(b == 0x7F ? 17 : b); break;
    case Codec::Controller: store(b < 32 ? b - 1 : b - 2); break;
    case Codec::Portamento:
        if (b <= 3) {
            WriteWord(base, f.Offset, b & 1);
            WriteWord(base, f.Offset2, b >> 1);
        }
        break;
    case Codec::FseqNumber:
        if (ReadWord(base, f.Offset) == 0)
            WriteWord(base, f.Offset + 4, std::min(b, FseqIntCount - 1));
        else
            WriteWord(base, f.Offset + 8, std::min(b, FseqPreCount - 1));
        break;
    case Codec::FseqSpeed:
        if (p[0] == 0 && p[1] < 100) {
            WriteWord(base, f.Offset, 0);
            WriteWord(base, f.Offset + 4, p[1]);
        } else {
            WriteWord(base, f.Offset, 1);
            WriteWord(base, f.Offset + 8, p[0] * 128 + p[1] - 100);
        }
        break;
    case Codec::BandOrReso: {
        const int32_t form = ReadWord(base, f.Offset2);
        WriteWord(base, form == 5 || form == 6 ? f.Offset + 4u : f.Offset, b);
        break;
    }
    case Codec::ByteBelow:
        if (b < f.Arg || b == 0x7F) store(b);
        break;
    case Codec::CopiedByte:
        store(b);
        WriteWord(base, f.Offset2, b);
        break;
    case Codec::ParseOnly: store(b); break;
    }
}

// ---- Performance layout (offsets from the start of TParameterData) --------------------------

constexpr std::size_t CommonAt = AT(TParameterData, PfmCommon);
constexpr std::size_t FseqAt = AT(TParameterData, PfmFseq);
constexpr std::size_t EffectAt = AT(TParameterData, PfmEffect);
constexpr std::size_t EQAt = EffectAt + AT(PfmEffect, PfmEQ);
constexpr std::size_t SystemAt = AT(TParameterData, SystemBlock);

std::vector<DumpField> MakePerformanceFields()
{
    using C = Codec;
    std::vector<DumpField> f;
    f.push_back(Field(0x00, CommonAt + AT(PfmCommon, Name), C::Name, 12));
    f.push_back(Field(0x0E, CommonAt + AT(PfmCommon, Category)));
    f.push_back(Field(0x10, CommonAt + AT(PfmCommon, Volume)));
    f.push_back(Field(0x11, CommonAt + AT(PfmCommon, Pan)));
    f.push_back(Field(0x12, CommonAt + AT(PfmCommon, NoteShift)));
    f.push_back(Field(0x14, EffectAt + AT(PfmEffect, IndividualOutput)));
    f.push_back(Field(0x15, FseqAt + AT(PfmFseq, Part)));
    f.push_back(Field(0x16, FseqAt + AT(PfmFseq, FseqBank)));
    f.push_back(Field(0x17, FseqAt + AT(PfmFseq, FseqBank), C::FseqNumber));
    f.push_back(Field(0x18, FseqAt + AT(PfmFseq, SpeedSelect), C::FseqSpeed));
    f.push_back(Field(0x1A, FseqAt + AT(PfmFseq, StartOffset), C::Wide14));
    f.push_back(Field(0x1C, FseqAt + AT(PfmFseq, LoopStart), C::Wide14));
    f.push_back(Field(0x1E, FseqAt + AT(PfmFseq, LoopEnd), C::Wide14));
    f.push_back(Field(0x20, FseqAt + AT(PfmFseq, LoopMode)));
    f.push_back(Field(0x21, FseqAt + AT(PfmFseq, Mode)));
    f.push_back(Field(0x22, FseqAt + AT(PfmFseq, SpeedVel)));
    f.push_back(Field(0x23, FseqAt + AT(PfmFseq, Pitch)));
    f.push_back(Field(0x24, FseqAt + AT(PfmFseq, KeyOnTrig)));
    f.push_back(Field(0x26, FseqAt + AT(PfmFseq, StartDelay)));
    f.push_back(Field(0x27, FseqAt + AT(PfmFseq, LevelVel)));

    // Controller sets: part switch mask, the two bytes of the source switches, destination, depth.
    // ControlSourceSwitchMask: the source of each bit of the first and of the second byte.
    static constexpr ControlSource ControlSourceSwitchMask[2][7] = {{CAT, PAT, FC, BC, MC3, MW, MC4},
                                                                    {KN1, KN2, KN3, KN4, MC1, MC2, PB}};
    for (int k = 0; k < 8; ++k)
        for (int bit = 0; bit < 4; ++bit)
            f.push_back(Bits(0x28 + k, ControlSetAt(k) + AT(PfmControlSet, PartSw) + static_cast<std::size_t>(bit), bit,
                             1, true));
    for (int k = 0; k < 8; ++k) {
        const std::size_t sw = ControlSetAt(k) + AT(PfmControlSet, SourceSw);
        for (int bit = 0; bit < 7; ++bit) {
            DumpField first =
                Bits(0x30 + 2 * k, sw + static_cast<std::size_t>(ControlSourceSwitchMask[0][bit]), bit, 1, true);
            first.Pair = true; // the two masks travel together as DH DL
            f.push_back(first);
        }
        for (int bit = 0; bit < 7; ++bit) {
            DumpField second =
                Bits(0x31 + 2 * k, sw + static_cast<std::size_t>(ControlSourceSwitchMask[1][bit]), bit, 1, true);
            second.Second = true;
            f.push_back(second);
        }
    }
    for (int k = 0; k < 8; ++k)
        f.push_back(InRange(Field(0x40 + k, ControlSetAt(k) + AT(PfmControlSet, Destination)), 0, 47));
    for (int k = 0; k < 8; ++k) f.push_back(Field(0x48 + k, ControlSetAt(k) + AT(PfmControlSet, Depth)));

    // Effect blocks: the types (their slots are placed by the effect type table, below),
    // the returns and the EQ.
    f.push_back(InRange(Field(0xA8, EffectBlockAt(ReverbBlock)), 0, EffectTypeCount[ReverbBlock] - 1));
    f.push_back(Field(0xAA, CommonAt + AT(PfmCommon, ReverbReturn)));
    f.push_back(InRange(Field(0xAB, EffectBlockAt(VariationBlock)), 0, EffectTypeCount[VariationBlock] - 1));
    f.push_back(Field(0xAD, CommonAt + AT(PfmCommon, VariationReturn)));
    f.push_back(InRange(Field(0xAF, EffectBlockAt(InsertionBlock)), 0, EffectTypeCount[InsertionBlock] - 1));
    f.push_back(Field(0xB4, EQAt + AT(PfmEQ, LowGain), C::Byte, 52));
    f.push_back(InRange(Field(0xB5, EQAt + AT(PfmEQ, LowFreq), C::Byte, 4), 0, 36));
    f.push_back(Field(0xB6, EQAt + AT(PfmEQ, LowQ), C::Byte, 1));
    f.push_back(Field(0xB7, EQAt + AT(PfmEQ, LowShape)));
    f.push_back(Field(0xB8, EQAt + AT(PfmEQ, MidGain), C::Byte, 52));
    f.push_back(InRange(Field(0xB9, EQAt + AT(PfmEQ, MidFreq), C::Byte, 14), 0, 40));
    f.push_back(Field(0xBA, EQAt + AT(PfmEQ, MidQ), C::Byte, 1));
    f.push_back(Field(0xBB, EQAt + AT(PfmEQ, HighGain), C::Byte, 52));
    f.push_back(InRange(Field(0xBC, EQAt + AT(PfmEQ, HighFreq), C::Byte, 28), 0, 30));
    f.push_back(Field(0xBD, EQAt + AT(PfmEQ, HighQ), C::Byte, 1));
    f.push_back(Field(0xBE, EQAt + AT(PfmEQ, HighShape)));

    // Parts: position 0xC0 + 0x34 p + j.
    struct PartRow {
        int J;
        std::size_t Word;
        Codec Kind;
        int Arg;
    };
    // clang-format off
    static constexpr PartRow Part[] = {
        {0x00, AT(PfmPart, ReserveNote), C::Byte, 0},     {0x01, AT(PfmPart, BankNum), C::Byte, 0},
        {0x02, AT(PfmPart, PrgNum), C::Byte, 0},          {0x03, AT(PfmPart, RcvChMax), C::ByteBelow, 16},
        {0x04, AT(PfmPart, RcvCh), C::Channel, 0},        {0x05, AT(PfmPart, MonoPoly), C::Byte, 0},
        {0x06, AT(PfmPart, MonoPriority), C::Byte, 0},    {0x07, AT(PfmPart, FilterSw), C::CopiedByte, 0},
        {0x08, AT(PfmPart, NoteShift), C::Byte, 0},       {0x09, AT(PfmPart, Detune), C::Byte, 0},
        {0x0A, AT(PfmPart, VNBalance), C::Byte, 0},       {0x0B, AT(PfmPart, Volume), C::Byte, 0},
        {0x0C, AT(PfmPart, VelSensDepth), C::Byte, 0},    {0x0D, AT(PfmPart, VelSensOffset), C::Byte, 0},
        {0x0E, AT(PfmPart, Pan), C::Byte, 0},             {0x0F, AT(PfmPart, NoteLimitLow), C::Byte, 0},
        {0x10, AT(PfmPart, NoteLimitHigh), C::Byte, 0},   {0x11, AT(PfmPart, DryLevel), C::Byte, 0},
        {0x12, AT(PfmPart, VariationSend), C::Byte, 0},   {0x13, AT(PfmPart, ReverbSend), C::Byte, 0},
        {0x14, AT(PfmPart, InsEffectSw), C::Byte, 0},     {0x15, AT(PfmPart, LFO1Speed), C::Byte, 0},
        {0x16, AT(PfmPart, LFO1Pmod), C::Byte, 0},        {0x17, AT(PfmPart, LFO1Delay), C::Byte, 0},
        {0x18, AT(PfmPart, FilterFreq), C::Byte, 0},      {0x19, AT(PfmPart, FilterReso), C::Byte, 0},
        {0x1A, AT(PfmPart, EGAtkTime), C::Byte, 0},       {0x1B, AT(PfmPart, EGDecayTime), C::Byte, 0},
        {0x1C, AT(PfmPart, EGReleaseTime), C::Byte, 0},   {0x1D, AT(PfmPart, Formant), C::Byte, 0},
        {0x1E, AT(PfmPart, Fm), C::Byte, 0},              {0x1F, AT(PfmPart, FilterEGDepth), C::Byte, 0},
        {0x20, AT(PfmPart, PEGInitLvl), C::Byte, 0},      {0x21, AT(PfmPart, PEGAtkTime), C::Byte, 0},
        {0x22, AT(PfmPart, PEGRelLvl), C::Byte, 0},       {0x23, AT(PfmPart, PEGRelTime), C::Byte, 0},
        {0x24, AT(PfmPart, PortaSw), C::Portamento, 0},   {0x25, AT(PfmPart, PortaTime), C::Byte, 0},
        {0x26, AT(PfmPart, PBRange), C::Byte, 16},        {0x27, AT(PfmPart, PBRangeLo), C::Byte, 16},
        {0x28, AT(PfmPart, PanScale), C::Byte, 0},        {0x29, AT(PfmPart, PanMod), C::Byte, 0},
        {0x2A, AT(PfmPart, VelLimitLow), C::Byte, 0},     {0x2B, AT(PfmPart, VelLimitHigh), C::Byte, 0},
        {0x2C, AT(PfmPart, ExpLimitLo), C::Byte, 0},      {0x2D, AT(PfmPart, SustainRcvSw), C::Byte, 0},
        {0x2E, AT(PfmPart, LFO2Speed), C::Byte, 0},       {0x2F, AT(PfmPart, LFO2FltMod), C::Byte, 0},
    };
    // clang-format on
    for (int p = 0; p < 4; ++p) {
        for (const PartRow& r : Part) {
            DumpField row =
                Field(PerformancePartPosition + PerformancePartStride * p + r.J, PartAt(p) + r.Word, r.Kind, r.Arg);
            if (r.Word == AT(PfmPart, BankNum)) row = InRange(row, 0, 12); // indexes the voice-name columns
            if (r.Kind == C::Portamento) row.Offset2 = U16(PartAt(p) + AT(PfmPart, PortaMode));
            if (r.Kind == C::CopiedByte) row.Offset2 = U16(VoiceAt(p) + CommonOffset() + AT(VoiceCommon, FilterSw));
            f.push_back(row);
        }
    }
    return f;
}

// ---- Voice layout (offsets from the start of the VoiceRecord) --------------------------------

// An operator's envelope bytes, in dump order (levels 1..4, times 1..4, hold); voiced and unvoiced
// operators carry them alike, each reversed (99 minus the slider position).
constexpr std::size_t EnvelopeWordCount = 9;
template <class Operator>
constexpr std::array<std::size_t, EnvelopeWordCount> EnvelopeWords()
{
    return {AT(Operator, EGLv1),   AT(Operator, EGLv2),   AT(Operator, EGLv3),
            AT(Operator, EGLv4),   AT(Operator, EGTime1), AT(Operator, EGTime2),
            AT(Operator, EGTime3), AT(Operator, EGTime4), AT(Operator, EGHold)};
}

std::vector<DumpField> MakeVoiceFields()
{
    using C = Codec;
    constexpr std::size_t V = CommonOffset();
    std::vector<DumpField> f;
    auto common = [&](int pos, std::size_t word, Codec kind = C::Byte, int arg = 0) {
        f.push_back(Field(pos, V + word, kind, arg));
    };
    common(0x00, AT(VoiceCommon, Name), C::Name, 10);
    common(0x0E, AT(VoiceCommon, Category));
    common(0x10, AT(VoiceCommon, LFO1Waveform));
    common(0x11, AT(VoiceCommon, LFO1Speed));
    common(0x12, AT(VoiceCommon, LFO1Delay));
    common(0x13, AT(VoiceCommon, LFO1KeySync));
    common(0x15, AT(VoiceCommon, LFO1PModDepth));
    common(0x16, AT(VoiceCommon, LFO1AModDepth));
    common(0x17, AT(VoiceCommon, LFO1FreqModDepth));
    common(0x18, AT(VoiceCommon, LFO2Waveform));
    common(0x19, AT(VoiceCommon, LFO2Speed));
    common(0x1C, AT(VoiceCommon, LFO2Phase));
    common(0x1D, AT(VoiceCommon, LFO2KeySync));
    common(0x1E, AT(VoiceCommon, NoteShift));
    common(0x1F, AT(VoiceCommon, PitchEGLv0), C::Reverse, 100);
    common(0x20, AT(VoiceCommon, PitchEGLv1), C::Reverse, 100);
    common(0x21, AT(VoiceCommon, PitchEGLv2), C::Reverse, 100);
    common(0x22, AT(VoiceCommon, PitchEGLv4), C::Reverse, 100);
    common(0x23, AT(VoiceCommon, PitchEGTime1), C::Reverse, 99);
    common(0x24, AT(VoiceCommon, PitchEGTime2), C::Reverse, 99);
    common(0x25, AT(VoiceCommon, PitchEGTime3), C::Reverse, 99);
    common(0x26, AT(VoiceCommon, PitchEGTime4), C::Reverse, 99);
    common(0x27, AT(VoiceCommon, PitchEGVelocitySens));
    // Formant-sequence switches: operator 8 alone, operators 1..7 as bits.
    f.push_back(Bits(0x28, VoicedOffset(7) + AT(VoicedOperator, FseqSw), 0, 7));
    for (int k = 0; k < 7; ++k) f.push_back(Bits(0x29, VoicedOffset(k) + AT(VoicedOperator, FseqSw), k, 1));
    f.push_back(Bits(0x2A, UnvoicedOffset(7) + AT(UnvoicedOperator, FseqSw), 0, 7));
    for (int k = 0; k < 7; ++k) f.push_back(Bits(0x2B, UnvoicedOffset(k) + AT(UnvoicedOperator, FseqSw), k, 1));
    f.push_back(InRange(Field(0x2C, V + AT(VoiceCommon, Algorithm), C::Byte, -1), 1, 88));
    for (int k = 0; k < 8; ++k) f.push_back(Field(0x2D + k, VoicedOffset(k) + AT(VoicedOperator, OPAtt)));
    common(0x3B, AT(VoiceCommon, PitchEGRange));
    common(0x3C, AT(VoiceCommon, PitchEGTimeScaling));
    common(0x3D, AT(VoiceCommon, Feedback));
    common(0x3E, AT(VoiceCommon, PitchEGLv3), C::Reverse, 100);
    for (int i = 0; i < 5; ++i) {
        const std::size_t frmt = V + AT(VoiceCommon, Frmt) + sizeof(VoiceControl) * static_cast<std::size_t>(i);
        f.push_back(Bits(0x40 + i, frmt + AT(VoiceControl, Operator), 0, 4));
        f.push_back(Bits(0x40 + i, frmt + AT(VoiceControl, Parameter), 4, 3));
    }
    for (int i = 0; i < 5; ++i)
        f.push_back(Field(0x45 + i, V + AT(VoiceCommon, Frmt) + sizeof(VoiceControl) * static_cast<std::size_t>(i) +
                                        AT(VoiceControl, CtlDepth)));
    for (int i = 0; i < 5; ++i) {
        const std::size_t fm = V + AT(VoiceCommon, Fm) + sizeof(VoiceControl) * static_cast<std::size_t>(i);
        f.push_back(Bits(0x4A + i, fm + AT(VoiceControl, Operator), 0, 4));
        f.push_back(Bits(0x4A + i, fm + AT(VoiceControl, Parameter), 4, 3));
    }
    for (int i = 0; i < 5; ++i)
        f.push_back(Field(0x4F + i, V + AT(VoiceCommon, Fm) + sizeof(VoiceControl) * static_cast<std::size_t>(i) +
                                        AT(VoiceControl, CtlDepth)));
    common(0x54, AT(VoiceCommon, FilterType));
    common(0x55, AT(VoiceCommon, FilterResonance));
    common(0x56, AT(VoiceCommon, FilterResoVelSns));
    common(0x57, AT(VoiceCommon, FilterCutoffFreq));
    common(0x58, AT(VoiceCommon, FilterEGDepthVelSns));
    common(0x59, AT(VoiceCommon, LFO1FltModDepth));
    common(0x5A, AT(VoiceCommon, LFO2FltModDepth));
    common(0x5B, AT(VoiceCommon, FilterFreqScaling));
    common(0x5C, AT(VoiceCommon, FilterFScaleBP));
    common(0x5D, AT(VoiceCommon, FilterInputGain));
    common(0x64, AT(VoiceCommon, FilterEGDepth));
    common(0x65, AT(VoiceCommon, FilterEGLv4), C::Reverse, 100);
    common(0x66, AT(VoiceCommon, FilterEGLv1), C::Reverse, 100);
    common(0x67, AT(VoiceCommon, FilterEGLv2), C::Reverse, 100);
    common(0x68, AT(VoiceCommon, FilterEGLv3), C::Reverse, 100);
    common(0x69, AT(VoiceCommon, FilterEGTime1), C::Reverse, 99);
    common(0x6A, AT(VoiceCommon, FilterEGTime2), C::Reverse, 99);
    common(0x6B, AT(VoiceCommon, FilterEGTime3), C::Reverse, 99);
    common(0x6C, AT(VoiceCommon, FilterEGTime4), C::Reverse, 99);
    f.push_back(Bits(0x6E, V + AT(VoiceCommon, FilterEGTimeScaling), 0, 3));
    f.push_back(Bits(0x6E, V + AT(VoiceCommon, FilterEGAtkTVelSns), 3, 4));

    for (int k = 0; k < 8; ++k) {
        const int at = VoiceOperatorPosition + VoiceOperatorStride * k;
        const std::size_t vo = VoicedOffset(k);
        auto voiced = [&](int j, std::size_t word, Codec kind = C::Byte, int arg = 0) {
            f.push_back(Field(at + j, vo + word, kind, arg));
        };
        auto voicedBits = [&](int j, std::size_t word, int shift, int width) {
            f.push_back(Bits(at + j, vo + word, shift, width));
        };
        voicedBits(0x00, AT(VoicedOperator, Transpose), 0, 6);
        voicedBits(0x00, AT(VoicedOperator, KeySync), 6, 1);
        f.push_back(InRange(Field(at + 0x01, vo + AT(VoicedOperator, FreqCoarse)), 0, 31));
        voiced(0x02, AT(VoicedOperator, FreqFine));
        voiced(0x03, AT(VoicedOperator, FreqScaling));
        voicedBits(0x04, AT(VoicedOperator, Form), 0, 3);
        voicedBits(0x04, AT(VoicedOperator, SnsWidthBias), 3, 4);
        voicedBits(0x05, AT(VoicedOperator, FseqTrk), 0, 3);
        voicedBits(0x05, AT(VoicedOperator, Skirt), 3, 3);
        voicedBits(0x05, AT(VoicedOperator, FreqMode), 6, 1);
        f.push_back(WithSecond(Field(at + 0x06, vo + AT(VoicedOperator, BandWidth), C::BandOrReso),
                               vo + AT(VoicedOperator, Form)));
        voiced(0x07, AT(VoicedOperator, Detune));
        voiced(0x08, AT(VoicedOperator, FrqEGInitLvl));
        voiced(0x09, AT(VoicedOperator, FrqEGAtakLvl));
        voiced(0x0A, AT(VoicedOperator, FrqEGAtakTime));
        voiced(0x0B, AT(VoicedOperator, FrqEGDecayTime));
        for (std::size_t i = 0; i < EnvelopeWordCount; ++i)
            voiced(0x0C + int(i), EnvelopeWords<VoicedOperator>()[i], C::Reverse, 99);
        voiced(0x15, AT(VoicedOperator, EGTimeScaling));
        voiced(0x16, AT(VoicedOperator, OutputLvl));
        voiced(0x17, AT(VoicedOperator, LSBP));
        voiced(0x18, AT(VoicedOperator, LSLeftDepth));
        voiced(0x19, AT(VoicedOperator, LSRightDepth));
        voiced(0x1A, AT(VoicedOperator, LSLeftCrv));
        voiced(0x1B, AT(VoicedOperator, LSRightCrv));
        voicedBits(0x1F, AT(VoicedOperator, PitchMod), 0, 3);
        voicedBits(0x1F, AT(VoicedOperator, SnsFreqBias), 3, 4);
        voicedBits(0x20, AT(VoicedOperator, SnsFreqVel), 0, 4);
        voicedBits(0x20, AT(VoicedOperator, FreqMod), 4, 3);
        voicedBits(0x21, AT(VoicedOperator, SnsAmpVel), 0, 4);
        voicedBits(0x21, AT(VoicedOperator, AmpMod), 4, 3);
        voiced(0x22, AT(VoicedOperator, SnsAmpEGBias));

        const std::size_t uo = UnvoicedOffset(k);
        auto unvoiced = [&](int j, std::size_t word, Codec kind = C::Byte, int arg = 0) {
            f.push_back(Field(at + j, uo + word, kind, arg));
        };
        auto unvoicedBits = [&](int j, std::size_t word, int shift, int width) {
            f.push_back(Bits(at + j, uo + word, shift, width));
        };
        unvoiced(0x23, AT(UnvoicedOperator, Transpose));
        f.push_back(InRange(Bits(at + 0x24, uo + AT(UnvoicedOperator, FreqCoarse), 0, 5), 0, 21));
        unvoicedBits(0x24, AT(UnvoicedOperator, FreqMode), 5, 2);
        unvoiced(0x25, AT(UnvoicedOperator, FreqFine));
        unvoiced(0x26, AT(UnvoicedOperator, FreqScaling));
        unvoiced(0x27, AT(UnvoicedOperator, BandWidth));
        unvoiced(0x28, AT(UnvoicedOperator, SnsWidthBias));
        unvoicedBits(0x29, AT(UnvoicedOperator, Skirt), 0, 3);
        unvoicedBits(0x29, AT(UnvoicedOperator, Resonance), 3, 4);
        unvoiced(0x2A, AT(UnvoicedOperator, FrqEGInitLvl));
        unvoiced(0x2B, AT(UnvoicedOperator, FrqEGAtakLvl));
        unvoiced(0x2C, AT(UnvoicedOperator, FrqEGAtakTime));
        unvoiced(0x2D, AT(UnvoicedOperator, FrqEGDecayTime));
        unvoiced(0x2E, AT(UnvoicedOperator, OutputLvl));
        unvoiced(0x2F, AT(UnvoicedOperator, LvlScaling));
        for (std::size_t i = 0; i < EnvelopeWordCount; ++i)
            unvoiced(0x30 + int(i), EnvelopeWords<UnvoicedOperator>()[i], C::Reverse, 99);
        unvoiced(0x39, AT(UnvoicedOperator, EGTimeScaling));
        unvoiced(0x3A, AT(UnvoicedOperator, SnsFreqBias));
        unvoicedBits(0x3B, AT(UnvoicedOperator, SnsFreqVel), 0, 4);
        unvoicedBits(0x3B, AT(UnvoicedOperator, FreqMod), 4, 3);
        unvoicedBits(0x3C, AT(UnvoicedOperator, SnsAmpVel), 0, 4);
        unvoicedBits(0x3C, AT(UnvoicedOperator, AmpMod), 4, 3);
        unvoiced(0x3D, AT(UnvoicedOperator, SnsAmpEGBias));
    }
    return f;
}

// ---- System layout (offsets from the start of TParameterData) --------------------------------

std::vector<DumpField> MakeSystemFields()
{
    using C = Codec;
    std::vector<DumpField> f;
    auto sys = [&](int pos, std::size_t word, Codec kind = C::Byte) { f.push_back(Field(pos, SystemAt + word, kind)); };
    sys(0x00, AT(SystemBlock, MstrTune));
    sys(0x06, AT(SystemBlock, MstrNote));
    sys(0x07, AT(SystemBlock, DumpInterval));
    sys(0x08, AT(SystemBlock, RcvPgmMode));
    f.push_back(Field(0x09, CommonAt + AT(PfmCommon, ControlChannel), C::Channel));
    sys(0x0B, AT(SystemBlock, KNCtrlMode));
    sys(0x0D, AT(SystemBlock, BCCurve));
    sys(0x0E, AT(SystemBlock, VelCrv));
    sys(0x11, AT(SystemBlock, RcvNote));
    sys(0x12, AT(SystemBlock, RcvBankSelect));
    sys(0x13, AT(SystemBlock, RcvPgmChange));
    sys(0x14, AT(SystemBlock, RcvKNCtrl));
    sys(0x15, AT(SystemBlock, TrnKNCtrl));
    for (int i = 0; i < 12; ++i)
        sys(0x16 + i, AT(SystemBlock, ControllerAssign) + 4u * static_cast<std::size_t>(i), C::Controller);
    // The extra pairs travel in the dump only.
    for (int i = 0; i < 4; ++i) {
        sys(0x22 + 2 * i, AT(SystemBlock, SystemExtraPairs) + 4u * static_cast<std::size_t>(i));
        sys(0x23 + 2 * i, AT(SystemBlock, SystemExtraPairs) + 4u * static_cast<std::size_t>(i + 4));
        f[f.size() - 2].DumpOnly = f.back().DumpOnly = true;
    }
    sys(0x47, AT(SystemBlock, MemoryMode), C::ParseOnly);
    return f;
}

const std::vector<DumpField>& PerformanceFields()
{
    static const std::vector<DumpField> fields = MakePerformanceFields();
    return fields;
}
const std::vector<DumpField>& VoiceFields()
{
    static const std::vector<DumpField> fields = MakeVoiceFields();
    return fields;
}
const std::vector<DumpField>& SystemFields()
{
    static const std::vector<DumpField> fields = MakeSystemFields();
    return fields;
}

// ---- Effect slots, placed by the effect type table -------------------------------------------

int EffectTypeInRange(int block, int32_t type) { return std::clamp(type, 0, EffectTypeCount[block] - 1); }

struct EffectFields {
    std::array<DumpField, 3 * 18> Rows;
    int Count = 0;
    void Add(const DumpField& f) { Rows[static_cast<std::size_t>(Count++)] = f; }
};

// The rows of the three blocks' used slots for their current types. A parameter change at a
// slot's address carries the bytes the dump carries there, the bare "Release" of the insertion
// gate and compressor types included (00 and the position).
EffectFields MakeEffectFields(const PfmEffect& effect, const TNameTables& tables)
{
    EffectFields out;
    for (int block = 0; block < 3; ++block) {
        const int type = EffectTypeInRange(block, effect.PfmEffectBlocks[static_cast<std::size_t>(block)].EffectType);
        const TEFXSetup& setup =
            tables.EffectTypeTable[static_cast<std::size_t>(type)][static_cast<std::size_t>(block)];
        const int n = setup.ParamCount;
        if (n < TrailingEffectSlots[block] || n > 18) continue; // catalogue not filled
        auto kindOf = [&](int i) {
            return static_cast<std::size_t>(std::clamp(setup.DisplayKind[static_cast<std::size_t>(i)], 0, 58));
        };
        auto offset = [&](int i) { return int{tables.EffectValueOffset[kindOf(i)]}; };
        // Slot i at a payload position; `arg` is what the conversion adds to the value.
        auto slot = [&](int i, int pos, Codec codec, int arg) {
            const std::size_t word = EffectBlockAt(block) + AT(PfmEffectBlock, Para) + 4u * static_cast<std::size_t>(i);
            out.Add(InRange(Field(pos, word, codec, arg), 0, tables.EffectKindMax[kindOf(i)]));
        };
        for (int i = 0; i < n - TrailingEffectSlots[block]; ++i) {
            const int al = setup.AddrLow[static_cast<std::size_t>(i)];
            if (block == ReverbBlock) {
                // Below 60 hex a reverb field is two bytes wide: its values reach 13,650.
                slot(i, al, al < 0x60 ? Codec::Wide14 : Codec::Byte, offset(i));
            } else if (block == VariationBlock) {
                slot(i, al >= 0x68 && al <= 0x7E ? al : 0x80 + al, Codec::Wide14, offset(i));
            } else if (i == 1 && type >= 23 && type <= 27) {
                slot(i, 0x80 + al, Codec::Wide14, 0); // "Release" travels bare: 00, the position
            } else {
                slot(i, 0x80 + al, Codec::Wide14, offset(i));
            }
        }
        // Trailing slots: pans + 1, sends and dry level as they are, no display offset.
        if (block == ReverbBlock) {
            slot(n - 1, 0xA9, Codec::Byte, 1);
        } else if (block == VariationBlock) {
            slot(n - 2, 0xAC, Codec::Byte, 1);
            slot(n - 1, 0xAE, Codec::Byte, 0);
        } else {
            slot(n - 4, 0xB0, Codec::Byte, 1);
            slot(n - 3, 0xB1, Codec::Byte, 0);
            slot(n - 2, 0xB2, Codec::Byte, 0);
            slot(n - 1, 0xB3, Codec::Byte, 0);
        }
    }
    return out;
}

} // namespace

uint8_t BulkDumpChecksum(const uint8_t* message, std::size_t length)
{
    unsigned sum = 0;
    for (std::size_t i = 4; i + 2 < length; ++i) sum += message[i];
    return static_cast<uint8_t>((0u - sum) & 0x7F);
}

void WriteBulkDumpFrame(uint8_t* image, std::size_t total, uint8_t ah, uint8_t am, uint8_t al)
{
    // The byte count in two 7-bit bytes; a payload above 16,383 bytes (the largest formant
    // sequence) keeps its low fourteen bits, so that no byte inside the message reaches 80 hex.
    const std::size_t payload = total - BulkDumpFrameSize;
    const uint8_t header[BulkDumpHeaderSize] = {
        0xF0, 0x43, 0x00, 0x5E, static_cast<uint8_t>((payload >> 7) & 0x7F), static_cast<uint8_t>(payload & 0x7F),
        ah,   am,   al};
    std::memcpy(image, header, sizeof header);
    image[total - 1] = 0xF7;
}

void SealBulkDump(uint8_t* image, std::size_t total) { image[total - 2] = BulkDumpChecksum(image, total); }

bool IsBulkDumpOf(const uint8_t* data, std::size_t length, std::size_t payloadLength, uint8_t ah, uint8_t am,
                  uint8_t al)
{
    const std::size_t total = payloadLength + BulkDumpFrameSize;
    if (data == nullptr || length != total) return false;
    const bool header = data[0] == 0xF0 && data[1] == 0x43 && (data[2] & 0xF0) == 0x00 && data[3] == 0x5E &&
                        data[4] == (payloadLength >> 7) && data[5] == (payloadLength & 0x7F) && data[6] == ah &&
                        data[7] == am && data[8] == al;
    return header && data[total - 1] == 0xF7 && data[total - 2] == BulkDumpChecksum(data, total);
}

uint8_t NameCharacter(const uint8_t* name, int length, int index)
{
    for (int i = 0; i <= index && i < length; ++i)
        if (name[i] == 0) return 0x20;
    const uint8_t c = name[index];
    return (c < 32 || c > 127) ? 0x20 : c;
}

void EncodePerformancePayload(const TParameterData& data, const TNameTables& tables, uint8_t* payload)
{
    std::memset(payload, 0, PerformancePayloadSize);
    for (const DumpField& f : PerformanceFields()) Encode(f, data.Bytes(), payload);
    const EffectFields effects = MakeEffectFields(data.PfmEffect, tables);
    for (int i = 0; i < effects.Count; ++i) Encode(effects.Rows[static_cast<std::size_t>(i)], data.Bytes(), payload);
}

void DecodePerformancePayload(TParameterData& data, const TNameTables& tables, const uint8_t* payload)
{
    for (const DumpField& f : PerformanceFields()) Decode(f, data.Bytes(), payload);
    // The types are in now; their slots follow the types just stored.
    const EffectFields effects = MakeEffectFields(data.PfmEffect, tables);
    for (int i = 0; i < effects.Count; ++i) Decode(effects.Rows[static_cast<std::size_t>(i)], data.Bytes(), payload);
}

void EncodeVoicePayload(const VoiceRecord& voice, uint8_t* payload)
{
    std::memset(payload, 0, VoicePayloadSize);
    const auto* base = reinterpret_cast<const uint8_t*>(&voice);
    for (const DumpField& f : VoiceFields()) Encode(f, base, payload);
}

void DecodeVoicePayload(VoiceRecord& voice, const uint8_t* payload)
{
    auto* base = reinterpret_cast<uint8_t*>(&voice);
    // A fixed-mode coarse value above the fixed-frequency table (22..31) is stored as it came: the
    // page shows it at the table's end and sends it back unchanged.
    for (const DumpField& f : VoiceFields()) Decode(f, base, payload);
}

void EncodeSystemPayload(const TParameterData& data, uint8_t* payload)
{
    std::memset(payload, 0, SystemPayloadSize);
    for (const DumpField& f : SystemFields()) Encode(f, data.Bytes(), payload);
}

void DecodeSystemPayload(TParameterData& data, const uint8_t* payload)
{
    for (const DumpField& f : SystemFields()) Decode(f, data.Bytes(), payload);
}

void KeepTrailingEffectLevels(const PfmEffect& effect, const TNameTables& tables, std::array<int32_t, 7>& kept)
{
    for (int block = 0; block < 3; ++block) {
        const PfmEffectBlock& b = effect.PfmEffectBlocks[static_cast<std::size_t>(block)];
        const int type = EffectTypeInRange(block, b.EffectType);
        const int n =
            tables.EffectTypeTable[static_cast<std::size_t>(type)][static_cast<std::size_t>(block)].ParamCount;
        if (n < TrailingEffectSlots[block] || n > 18) continue;
        for (int j = 0; j < TrailingEffectSlots[block]; ++j)
            kept[static_cast<std::size_t>(KeptLevelEntry[block][j])] = b.Para[static_cast<std::size_t>(n - 1 - j)];
    }
}

std::optional<ParameterBytes> ParameterChangeData(const TParameterData& data, const TNameTables& tables, uint8_t ah,
                                                  uint8_t am, uint8_t al)
{
    // Address -> dump and payload position.
    std::array<uint8_t, VoicePayloadSize> payload{};
    int pos = -1;
    bool twoBytes = false;
    auto scan = [&](const DumpField* rows, std::size_t count) {
        bool found = false;
        for (std::size_t i = 0; i < count; ++i)
            if (rows[i].Pos == pos) {
                found = true;
                twoBytes = twoBytes || IsTwoByte(rows[i]);
            }
        return found;
    };
    bool found = false;
    if (ah == 0x00 && am == 0x00 && al < SystemPayloadSize) {
        pos = al;
        EncodeSystemPayload(data, payload.data());
        found = scan(SystemFields().data(), SystemFields().size());
    } else if ((ah == 0x10 && am <= 0x01 && al < 0x80 && (am == 0 || al < 0x40)) ||
               (ah >= 0x30 && ah <= 0x33 && am == 0x00 && al < PerformancePartStride)) {
        pos = ah == 0x10 ? 0x80 * am + al : PerformancePartPosition + PerformancePartStride * (ah - 0x30) + al;
        EncodePerformancePayload(data, tables, payload.data());
        const EffectFields effects = MakeEffectFields(data.PfmEffect, tables);
        found = scan(PerformanceFields().data(), PerformanceFields().size());
        found = scan(effects.Rows.data(), static_cast<std::size_t>(effects.Count)) || found;
    } else if ((ah >= 0x40 && ah <= 0x43 && am == 0x00 && al < VoiceOperatorPosition) ||
               (ah >= 0x60 && ah <= 0x63 && am < 8 && al < VoiceOperatorStride)) {
        const int v = ah & 0x03;
        pos = ah < 0x60 ? al : VoiceOperatorPosition + VoiceOperatorStride * am + al;
        EncodeVoicePayload(data.VoiceRecords[static_cast<std::size_t>(v)], payload.data());
        found = scan(VoiceFields().data(), VoiceFields().size());
    }
    if (!found) return std::nullopt;
    const auto p = static_cast<std::size_t>(pos);
    if (twoBytes) return ParameterBytes{payload[p], payload[p + 1]};
    return ParameterBytes{0, payload[p]};
}

namespace {

// The parameter change of a payload position: the position of its first byte, and its address.
int MessagePosition(const DumpField& f) { return f.Second ? f.Pos - 1 : f.Pos; }
TWordChange PerformanceAddress(int pos)
{
    if (pos >= PerformancePartPosition) {
        const int part = (pos - PerformancePartPosition) / PerformancePartStride;
        return {static_cast<uint8_t>(0x30 + part),
                0x00,
                static_cast<uint8_t>((pos - PerformancePartPosition) % PerformancePartStride),
                {}};
    }
    return {0x10, static_cast<uint8_t>(pos >> 7), static_cast<uint8_t>(pos & 0x7F), {}};
}
TWordChange SystemAddress(int pos) { return {0x00, 0x00, static_cast<uint8_t>(pos), {}}; }
TWordChange VoiceAddress(int pos)
{
    if (pos < VoiceOperatorPosition) return {0x40, 0x00, static_cast<uint8_t>(pos), {}};
    const int op = (pos - VoiceOperatorPosition) / VoiceOperatorStride;
    return {
        0x60, static_cast<uint8_t>(op), static_cast<uint8_t>((pos - VoiceOperatorPosition) % VoiceOperatorStride), {}};
}

// A layout's rows and how its positions become addresses.
struct Layout {
    const std::vector<DumpField>& Rows;
    TWordChange (*Address)(int pos);
};
Layout PerformanceLayout() { return {PerformanceFields(), PerformanceAddress}; }
Layout SystemLayout() { return {SystemFields(), SystemAddress}; }
Layout VoiceLayout() { return {VoiceFields(), VoiceAddress}; }

// The row a parameter change of the word at `offset` travels in: the word's own row, else the row
// whose conversion takes the word together with another one (the portamento mode, the
// formant-sequence numbers and speeds, a voiced resonance in place of the bandwidth).
const DumpField* RowOf(const std::vector<DumpField>& rows, std::size_t offset)
{
    for (const DumpField& f : rows)
        if (f.Offset == offset && !f.DumpOnly && f.Kind != Codec::ParseOnly) return &f;
    for (const DumpField& f : rows) {
        const bool carried = (f.Kind == Codec::Portamento && f.Offset2 == offset) ||
                             ((f.Kind == Codec::FseqNumber || f.Kind == Codec::FseqSpeed) &&
                              (offset == f.Offset + 4u || offset == f.Offset + 8u)) ||
                             (f.Kind == Codec::BandOrReso && offset == f.Offset + 4u);
        if (carried) return &f;
    }
    return nullptr;
}

// The data bytes of the parameter change at a payload position, from the words at `base`: every
// row there (and at the next position, for a message of two bytes) encoded as the dump encodes it,
// so a byte several words share is built whole from them.
ParameterBytes BytesAt(const std::vector<DumpField>& rows, int pos, const uint8_t* base)
{
    std::array<uint8_t, VoicePayloadSize> payload{};
    bool twoBytes = false;
    for (const DumpField& f : rows) twoBytes = twoBytes || (f.Pos == pos && IsTwoByte(f));
    for (const DumpField& f : rows)
        if (f.Pos == pos || (twoBytes && f.Pos == pos + 1)) Encode(f, base, payload.data());
    const auto p = static_cast<std::size_t>(pos);
    return twoBytes ? ParameterBytes{payload[p], payload[p + 1]} : ParameterBytes{0, payload[p]};
}

std::optional<TWordChange> WordChange(const Layout& layout, const uint8_t* base, std::size_t offset)
{
    const DumpField* f = RowOf(layout.Rows, offset);
    if (!f) return std::nullopt;
    TWordChange change = layout.Address(MessagePosition(*f));
    change.Data = BytesAt(layout.Rows, MessagePosition(*f), base);
    return change;
}

TDumpField Describe(const Layout& layout, const DumpField& f)
{
    const TWordChange at = layout.Address(MessagePosition(f));
    TDumpField out = FormOf(f);
    out.AH = at.AH;
    out.AM = at.AM;
    out.AL = at.AL;
    return out;
}

std::optional<TDumpField> FieldOf(const Layout& layout, std::size_t offset)
{
    const DumpField* f = RowOf(layout.Rows, offset);
    return f ? std::optional<TDumpField>(Describe(layout, *f)) : std::nullopt;
}

} // namespace

std::optional<TDumpField> PerformanceFieldOf(std::size_t offset)
{
    if (auto f = FieldOf(PerformanceLayout(), offset)) return f;
    return FieldOf(SystemLayout(), offset);
}

std::optional<TDumpField> VoiceFieldOf(std::size_t offset) { return FieldOf(VoiceLayout(), offset); }

std::optional<TWordChange> PerformanceWordChange(const TParameterData& words, std::size_t offset)
{
    if (auto change = WordChange(PerformanceLayout(), words.Bytes(), offset)) return change;
    return WordChange(SystemLayout(), words.Bytes(), offset);
}

std::optional<TWordChange> VoiceWordChange(const VoiceRecord& words, std::size_t offset)
{
    return WordChange(VoiceLayout(), reinterpret_cast<const uint8_t*>(&words), offset);
}

std::vector<TLayoutParameter> LayoutParameters()
{
    std::vector<TLayoutParameter> out;
    for (const Layout& layout : {SystemLayout(), PerformanceLayout(), VoiceLayout()}) {
        const bool voice = &layout.Rows == &VoiceFields();
        for (const DumpField& f : layout.Rows) {
            if (f.Second || f.DumpOnly || f.Kind == Codec::ParseOnly) continue;
            const TWordChange at = layout.Address(f.Pos);
            out.push_back({at.AH, at.AM, at.AL, voice, f.Offset});
        }
    }
    return out;
}

ParameterBytes FieldBytes(const TDumpField& field, int32_t value)
{
    const int32_t v = field.Hi >= field.Lo ? std::clamp<int32_t>(value, field.Lo, field.Hi) : value;
    switch (field.Form) {
    case TFieldForm::Byte: return {0, Seven(int64_t(v) + field.Arg)};
    case TFieldForm::Reverse: return {0, Seven(int64_t(field.Arg) - v)};
    case TFieldForm::Bits: return {0, static_cast<uint8_t>(BitField(v, field.Arg, field.Width) & 0x7F)};
    case TFieldForm::Wide14: return Wide14(int64_t(v) + field.Arg);
    case TFieldForm::Other: break;
    }
    return {0, Seven(v)};
}

// ---- What a word holds -----------------------------------------------------------------------

namespace {

TWordRange Within(TWordRange a, TWordRange b) { return {std::max(a.Lo, b.Lo), std::min(a.Hi, b.Hi)}; }

// The words a row carries (offsets in its layout's base record), each with the values that
// building the field and reading it back gives again.
struct CarriedWords {
    std::array<std::pair<std::size_t, TWordRange>, 3> Words{};
    int Count = 0;
    void Add(std::size_t offset, TWordRange range) { Words[static_cast<std::size_t>(Count++)] = {offset, range}; }
};

CarriedWords WordsOf(const DumpField& f)
{
    CarriedWords out;
    const auto own = [&](TWordRange r) { out.Add(f.Offset, f.Hi >= f.Lo ? Within(r, {f.Lo, f.Hi}) : r); };
    constexpr TWordRange AnyByte{0, 0x7F};
    if (f.Small) return out; // a switch byte, no word
    switch (f.Kind) {
    case Codec::Byte: own({-f.Arg, 0x7F - f.Arg}); break;
    case Codec::Reverse: own({f.Arg - 0x7F, f.Arg}); break;
    case Codec::Bits: own({0, (1 << f.Width) - 1}); break;
    case Codec::Wide14: own({-f.Arg, 0x3FFF - f.Arg}); break;
    case Codec::Name: break;                        // bytes, no words
    case Codec::Channel: own({0, 0x7E}); break;     // 7F is "off", read as 17
    case Codec::Controller: own({-1, 0x7D}); break; // numbers 0..127 without 32
    case Codec::Portamento:
        own({0, 1});
        out.Add(f.Offset2, {0, 1});
        break;
    case Codec::FseqNumber: // the bank's own row carries the bank
        out.Add(f.Offset + 4u, {0, FseqIntCount - 1});
        out.Add(f.Offset + 8u, {0, FseqPreCount - 1});
        break;
    case Codec::FseqSpeed: // a percent speed below 0 would travel as a midi speed
        own({0, 1});
        out.Add(f.Offset + 4u, {0, 99});
        out.Add(f.Offset + 8u, {0, 0x3FFF - 100});
        break;
    case Codec::BandOrReso:
        own(AnyByte);
        out.Add(f.Offset + 4u, AnyByte);
        break;
    case Codec::CopiedByte:
        own(AnyByte);
        out.Add(f.Offset2, AnyByte);
        break;
    case Codec::ByteBelow:
    case Codec::ParseOnly: own(AnyByte); break;
    }
    return out;
}

// The effect slot of a byte offset, 18 to a block, or -1.
int SlotAt(std::size_t offset)
{
    for (int b = 0; b < 3; ++b) {
        const std::size_t first = EffectBlockAt(b) + AT(PfmEffectBlock, Para);
        if (offset >= first && offset < first + 4 * 18) return 18 * b + static_cast<int>((offset - first) / 4);
    }
    return -1;
}

} // namespace

void ForEachCarriedWord(const std::function<void(std::size_t, TWordRange)>& visit)
{
    const auto rows = [&](const std::vector<DumpField>& fields, std::size_t base) {
        for (const DumpField& f : fields) {
            const CarriedWords carried = WordsOf(f);
            for (int i = 0; i < carried.Count; ++i) {
                const auto& [offset, range] = carried.Words[static_cast<std::size_t>(i)];
                visit(base + offset, range);
            }
        }
    };
    rows(PerformanceFields(), 0);
    rows(SystemFields(), 0);
    for (int v = 0; v < 4; ++v) rows(VoiceFields(), VoiceAt(v));
}

EffectSlotRanges UsedEffectSlotRanges(const PfmEffect& effect, const TNameTables& tables)
{
    EffectSlotRanges out{};
    const EffectFields used = MakeEffectFields(effect, tables);
    for (int i = 0; i < used.Count; ++i) {
        const DumpField& f = used.Rows[static_cast<std::size_t>(i)];
        out[static_cast<std::size_t>(SlotAt(f.Offset))] = WordsOf(f).Words[0].second;
    }
    return out;
}
