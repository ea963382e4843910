// The edit buffer: one performance with its four parts, formant-sequence settings, controller
// sets, system block, effects and EQ, and the four voices the parts play.
//
// Every word holds the raw value of the control that edits it (slider position, list index,
// 0/1), never the instrument's byte; the conversions live in the dump layouts (DumpLayout.h).
// The bytes of TParameterData, in this exact order, are the body of the save file, so every
// record size and block offset below is part of the file format.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

static_assert(std::endian::native == std::endian::little, "the edit buffer is stored as little-endian words");

struct PfmCommon {
    std::array<uint8_t, 12> Name;     // 8-bit characters; NUL after a shorter name
    std::array<uint8_t, 4> NameSpare; // byte 0 holds the NUL after a 12-character name
    int32_t Category;                 // 0..22
    int32_t ControlChannel;           // 0..17: 16 all, 17 off
    int32_t Volume;
    int32_t Pan; // 1..127
    int32_t ReverbReturn;
    int32_t VariationReturn;
    int32_t NoteShift; // 0..48, centre 24
};

struct PfmPart {
    int32_t BankNum; // 0 off, 1 Int, 2.. PrA..
    int32_t PrgNum;
    int32_t RcvCh; // 0..17: 16 pfm, 17 off
    int32_t RcvChMax;
    int32_t Volume;
    int32_t InsEffectSw;
    int32_t DryLevel;
    int32_t ReverbSend;
    int32_t VariationSend;
    int32_t Formant;
    int32_t Fm;
    int32_t VNBalance;
    int32_t LFO1Speed;
    int32_t LFO1Pmod;
    int32_t LFO1Delay;
    int32_t FilterSw; // the voice's VoiceCommon::FilterSw holds a copy
    int32_t FilterFreq;
    int32_t FilterReso;
    int32_t FilterEGDepth;
    int32_t LFO2Speed;
    int32_t LFO2FltMod;
    int32_t EGAtkTime;
    int32_t EGDecayTime;
    int32_t EGReleaseTime;
    int32_t PEGInitLvl;
    int32_t PEGAtkTime;
    int32_t PEGRelLvl;
    int32_t PEGRelTime;
    int32_t Detune;
    int32_t NoteShift;
    int32_t PBRange; // 0..72, shown - 48
    int32_t PBRangeLo;
    int32_t PortaSw;
    int32_t PortaMode;
    int32_t PortaTime;
    int32_t MonoPoly;
    int32_t MonoPriority;
    int32_t SustainRcvSw;
    int32_t ReserveNote;
    int32_t ReserveNoteMax; // the reserve slider's maximum; never sent
    int32_t NoteLimitLow;
    int32_t NoteLimitHigh;
    int32_t VelLimitLow;
    int32_t VelLimitHigh;
    int32_t VelSensDepth;
    int32_t VelSensOffset;
    int32_t ExpLimitLo;
    int32_t Pan; // 0..127, 0 = random
    int32_t PanScale;
    int32_t PanMod;
};

struct PfmFseq {
    int32_t Part;     // 0 off, 1..4
    int32_t FseqBank; // 0 int, 1 pre
    int32_t FseqInt;  // 0..5
    int32_t FseqPre;  // 0..89
    int32_t Mode;     // 1 scratch, 2 fseq
    int32_t KeyOnTrig;
    int32_t SpeedSelect; // 0 midi, 1 percent
    int32_t Speedmidi;   // 0..4
    int32_t Speed;       // 0..4900, sent + 100
    int32_t SpeedVel;
    int32_t LevelVel;
    int32_t Pitch;
    int32_t LoopMode;
    int32_t StartDelay;
    int32_t StartOffset;
    int32_t LoopStart;
    int32_t LoopEnd;
    int32_t StartOffsetMax; // slider maxima, kept with the save file; never sent
    int32_t LoopStartMax;
    int32_t LoopEndMax;
};

// Index of a source switch in PfmControlSet::SourceSw.
enum ControlSource : int { KN1, KN2, KN3, KN4, MC1, MC2, MC3, MC4, FC, BC, MW, CAT, PAT, PB };

struct PfmControlSet {
    std::array<uint8_t, 14> SourceSw; // 0/1 each, in ControlSource order
    std::array<uint8_t, 2> Reserved;  // carried by the save file only
    int32_t Destination;              // 0..47
    int32_t Depth;                    // 0..127, centre 64
    std::array<uint8_t, 4> PartSw;    // P1..P4, 0/1 each
};

struct SystemBlock {
    // KN1, KN2, KN3, KN4, MC1, MC2, MC3, MC4, FC, BC, Frm, FM: list index 0..93
    std::array<int32_t, 12> ControllerAssign;
    int32_t MstrTune;
    int32_t MstrNote;
    int32_t VelCrv;
    int32_t DumpInterval;
    int32_t RcvNote;
    int32_t BCCurve;
    int32_t KNCtrlMode;
    int32_t RcvKNCtrl;
    int32_t TrnKNCtrl;
    int32_t RcvBankSelect;
    int32_t RcvPgmChange;
    int32_t RcvPgmMode;
    // Words 0..3 the first, 4..7 the second of four pairs; carried only by the system dump.
    std::array<int32_t, 8> SystemExtraPairs;
    int32_t MemoryMode; // 1 = 64 internal voices and internal formant sequences
};

struct PfmEffectBlock {
    int32_t EffectType;           // index into EffectTypeTable for this block
    std::array<int32_t, 18> Para; // slot values, 0..EffectKindMax of the slot's kind
};

enum EffectBlockIndex : int { ReverbBlock, VariationBlock, InsertionBlock };

struct PfmEQ {
    int32_t LowShape;
    int32_t HighShape;
    int32_t LowFreq;  // 0..36
    int32_t MidFreq;  // 0..40
    int32_t HighFreq; // 0..30
    int32_t LowGain;  // 0..24, centre 12
    int32_t MidGain;
    int32_t HighGain;
    int32_t LowQ; // 0..119
    int32_t MidQ;
    int32_t HighQ;
};

struct PfmEffect {
    int32_t IndividualOutput;
    std::array<PfmEffectBlock, 3> PfmEffectBlocks; // reverb, variation, insertion
    ::PfmEQ PfmEQ;
};

// One formant or FM control of the voice common block.
struct VoiceControl {
    int32_t Operator;  // 0..15: voiced 1..8, then unvoiced 1..8
    int32_t Parameter; // 0..3
    int32_t CtlDepth;  // 0..127, centre 64
};

struct VoiceCommon {
    std::array<uint8_t, 12> Name; // up to 10 characters and a NUL
    int32_t Category;
    int32_t LFO1Waveform;
    int32_t LFO1KeySync;
    int32_t LFO1Speed;
    int32_t LFO1Delay;
    int32_t LFO1PModDepth;
    int32_t LFO1AModDepth;
    int32_t LFO1FreqModDepth;
    int32_t LFO1FltModDepth;
    int32_t LFO2Waveform;
    int32_t LFO2KeySync;
    int32_t LFO2Speed;
    int32_t LFO2Phase;
    int32_t LFO2FltModDepth;
    int32_t FilterSw; // always equal to the part's PfmPart::FilterSw; not a voice byte
    int32_t FilterInputGain;
    int32_t FilterType;
    int32_t FilterCutoffFreq;
    int32_t FilterResonance;
    int32_t FilterFreqScaling;
    int32_t FilterFScaleBP;
    int32_t FilterResoVelSns;
    int32_t FilterEGTime1, FilterEGTime2, FilterEGTime3, FilterEGTime4; // vertical: 99 - value
    int32_t FilterEGLv1, FilterEGLv2, FilterEGLv3, FilterEGLv4;         // sent 100 - value
    int32_t FilterEGTimeScaling;
    int32_t FilterEGDepth;
    int32_t FilterEGAtkTVelSns;
    int32_t FilterEGDepthVelSns;
    int32_t PitchEGLv0, PitchEGLv1, PitchEGLv2, PitchEGLv3, PitchEGLv4; // sent 100 - value
    int32_t PitchEGTime1, PitchEGTime2, PitchEGTime3, PitchEGTime4;     // sent 99 - value
    int32_t PitchEGTimeScaling;
    int32_t PitchEGRange;
    int32_t PitchEGVelocitySens;
    std::array<VoiceControl, 5> Frmt;
    std::array<VoiceControl, 5> Fm;
    int32_t Algorithm; // 1..88
    int32_t Feedback;
    int32_t NoteShift;
};

struct VoicedOperator {
    int32_t FseqSw;
    int32_t FseqTrk;
    int32_t Form;
    int32_t FreqMode; // 0 ratio, 1 fixed
    int32_t FreqCoarse;
    int32_t FreqCoarseMax; // slider maxima; not sent
    int32_t FreqFine;
    int32_t FreqFineMax;
    int32_t FreqScaling;
    int32_t Transpose;
    int32_t Detune;
    int32_t BandWidth;
    int32_t Resonance; // travels instead of BandWidth for Form 5 and 6
    int32_t Skirt;
    int32_t OutputLvl;
    int32_t KeySync;
    int32_t LSBP;
    int32_t LSLeftDepth;
    int32_t LSLeftCrv;
    int32_t LSRightDepth;
    int32_t LSRightCrv;
    int32_t OPAtt;
    int32_t EGHold; // vertical sliders: sent 99 - value
    int32_t EGTime1, EGTime2, EGTime3, EGTime4;
    int32_t EGLv1, EGLv2, EGLv3, EGLv4;
    int32_t EGTimeScaling;
    int32_t FrqEGInitLvl;
    int32_t FrqEGAtakLvl;
    int32_t FrqEGAtakTime;
    int32_t FrqEGDecayTime;
    int32_t SnsAmpVel;
    int32_t SnsFreqVel;
    int32_t SnsAmpEGBias;
    int32_t SnsFreqBias;
    int32_t SnsWidthBias;
    int32_t AmpMod;
    int32_t PitchMod;
    int32_t FreqMod;
};

struct UnvoicedOperator {
    int32_t FseqSw;
    int32_t FreqMode; // 0 normal, 1 LinkF0, 2 LinkFF
    int32_t FreqCoarse;
    int32_t FreqFine;
    int32_t SavedFreqCoarse; // normal-mode frequency kept while a linked mode shows; not sent
    int32_t SavedFreqFine;
    int32_t FreqScaling;
    int32_t Transpose;
    int32_t BandWidth;
    int32_t Resonance;
    int32_t Skirt;
    int32_t OutputLvl;
    int32_t LvlScaling;
    int32_t EGHold;
    int32_t EGTime1, EGTime2, EGTime3, EGTime4;
    int32_t EGLv1, EGLv2, EGLv3, EGLv4;
    int32_t EGTimeScaling;
    int32_t FrqEGInitLvl;
    int32_t FrqEGAtakLvl;
    int32_t FrqEGAtakTime;
    int32_t FrqEGDecayTime;
    int32_t SnsAmpVel;
    int32_t SnsFreqVel;
    int32_t SnsAmpEGBias;
    int32_t SnsFreqBias;
    int32_t SnsWidthBias;
    int32_t AmpMod;
    int32_t PitchMod; // the instrument has no such parameter; never sent
    int32_t FreqMod;
};

struct VoiceRecord {
    ::VoiceCommon VoiceCommon;
    std::array<VoicedOperator, 8> VoicedOperators;
    std::array<UnvoicedOperator, 8> UnvoicedOperators;
};

struct TParameterData {
    ::PfmCommon PfmCommon;
    std::array<PfmPart, 4> PfmParts;
    ::PfmFseq PfmFseq;
    std::array<PfmControlSet, 8> PfmControlSets;
    ::SystemBlock SystemBlock;
    ::PfmEffect PfmEffect;
    std::array<VoiceRecord, 4> VoiceRecords;

    static constexpr std::size_t Size = 12980;

    // The raw bytes, as the save file stores them.
    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(this); }
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};

// Record sizes and block offsets are part of the save file format.
static_assert(sizeof(PfmCommon) == 44);
static_assert(sizeof(PfmPart) == 200);
static_assert(sizeof(PfmFseq) == 80);
static_assert(sizeof(PfmControlSet) == 28);
static_assert(sizeof(SystemBlock) == 132);
static_assert(sizeof(PfmEffectBlock) == 76);
static_assert(sizeof(PfmEQ) == 44);
static_assert(sizeof(PfmEffect) == 276);
static_assert(sizeof(VoiceCommon) == 328);
static_assert(sizeof(VoicedOperator) == 176);
static_assert(sizeof(UnvoicedOperator) == 140);
static_assert(sizeof(VoiceRecord) == 2856);
static_assert(sizeof(TParameterData) == TParameterData::Size);

static_assert(offsetof(TParameterData, PfmCommon) == 0);
static_assert(offsetof(TParameterData, PfmParts) == 44);
static_assert(offsetof(TParameterData, PfmFseq) == 844);
static_assert(offsetof(TParameterData, PfmControlSets) == 924);
static_assert(offsetof(TParameterData, SystemBlock) == 1148);
static_assert(offsetof(TParameterData, PfmEffect) == 1280);
static_assert(offsetof(TParameterData, VoiceRecords) == 1556);
static_assert(offsetof(PfmEffect, PfmEffectBlocks) == 4);
static_assert(offsetof(PfmEffect, PfmEQ) == 4 * 58);
static_assert(offsetof(VoiceRecord, VoicedOperators) == 4 * 82);
static_assert(offsetof(VoiceRecord, UnvoicedOperators) == 4 * (82 + 8 * 44));

// Word indexes named by the record tables, checked where a slip would shift the rest.
static_assert(offsetof(PfmCommon, Category) == 4 * 4 && offsetof(PfmCommon, NoteShift) == 4 * 10);
static_assert(offsetof(PfmPart, FilterSw) == 4 * 15 && offsetof(PfmPart, PBRange) == 4 * 30);
static_assert(offsetof(PfmPart, ReserveNote) == 4 * 38 && offsetof(PfmPart, PanMod) == 4 * 49);
static_assert(offsetof(PfmFseq, Speed) == 4 * 8 && offsetof(PfmFseq, LoopEndMax) == 4 * 19);
static_assert(offsetof(PfmControlSet, Destination) == 16 && offsetof(PfmControlSet, PartSw) == 24);
static_assert(offsetof(SystemBlock, MstrTune) == 4 * 12 && offsetof(SystemBlock, RcvPgmMode) == 4 * 23);
static_assert(offsetof(SystemBlock, SystemExtraPairs) == 4 * 24 && offsetof(SystemBlock, MemoryMode) == 4 * 32);
static_assert(offsetof(PfmEQ, LowGain) == 4 * 5 && offsetof(PfmEQ, HighQ) == 4 * 10);
static_assert(offsetof(VoiceCommon, Category) == 4 * 3 && offsetof(VoiceCommon, FilterSw) == 4 * 17);
static_assert(offsetof(VoiceCommon, FilterEGLv1) == 4 * 29 && offsetof(VoiceCommon, PitchEGLv0) == 4 * 37);
static_assert(offsetof(VoiceCommon, PitchEGVelocitySens) == 4 * 48 && offsetof(VoiceCommon, Frmt) == 4 * 49);
static_assert(offsetof(VoiceCommon, Fm) == 4 * 64 && offsetof(VoiceCommon, Algorithm) == 4 * 79);
static_assert(offsetof(VoicedOperator, OutputLvl) == 4 * 14 && offsetof(VoicedOperator, OPAtt) == 4 * 21);
static_assert(offsetof(VoicedOperator, EGHold) == 4 * 22 && offsetof(VoicedOperator, SnsAmpVel) == 4 * 36);
static_assert(offsetof(VoicedOperator, FreqMod) == 4 * 43);
static_assert(offsetof(UnvoicedOperator, OutputLvl) == 4 * 11 && offsetof(UnvoicedOperator, EGHold) == 4 * 13);
static_assert(offsetof(UnvoicedOperator, SnsAmpVel) == 4 * 27 && offsetof(UnvoicedOperator, FreqMod) == 4 * 34);

static_assert(std::is_trivially_copyable_v<TParameterData> && std::is_standard_layout_v<TParameterData>);

// A word's place: the byte offset of a field in its record (AT(PfmPart, Volume)), and where the
// records of the edit buffer begin. Every table that names words by their place takes it from here.
#define AT(Record, Field) offsetof(Record, Field)

// In TParameterData: part p, controller set k, effect block b, the voice of part v.
constexpr std::size_t PartAt(int p) { return AT(TParameterData, PfmParts) + sizeof(PfmPart) * std::size_t(p); }
constexpr std::size_t ControlSetAt(int k)
{
    return AT(TParameterData, PfmControlSets) + sizeof(PfmControlSet) * std::size_t(k);
}
constexpr std::size_t EffectBlockAt(int b)
{
    return AT(TParameterData, PfmEffect) + AT(PfmEffect, PfmEffectBlocks) + sizeof(PfmEffectBlock) * std::size_t(b);
}
constexpr std::size_t VoiceAt(int v) { return AT(TParameterData, VoiceRecords) + sizeof(VoiceRecord) * std::size_t(v); }
// In VoiceRecord: the common block, voiced operator k, unvoiced operator k.
constexpr std::size_t CommonOffset() { return AT(VoiceRecord, VoiceCommon); }
constexpr std::size_t VoicedOffset(int k)
{
    return AT(VoiceRecord, VoicedOperators) + sizeof(VoicedOperator) * std::size_t(k);
}
constexpr std::size_t UnvoicedOffset(int k)
{
    return AT(VoiceRecord, UnvoicedOperators) + sizeof(UnvoicedOperator) * std::size_t(k);
}

// Voiced words 22..43 and unvoiced words 13..34 are the same parameters in the same order
// (envelopes, frequency envelope, sensitivities, modulation depths): the part of an operator that
// crosses between the two kinds (Op Paste).
inline constexpr std::size_t SharedOperatorWords = 22;
inline constexpr std::size_t VoicedSharedAt = AT(VoicedOperator, EGHold);
inline constexpr std::size_t UnvoicedSharedAt = AT(UnvoicedOperator, EGHold);
static_assert(AT(VoicedOperator, FreqMod) - VoicedSharedAt == 4 * (SharedOperatorWords - 1));
static_assert(AT(UnvoicedOperator, FreqMod) - UnvoicedSharedAt == 4 * (SharedOperatorWords - 1));
static_assert(AT(VoicedOperator, PitchMod) - VoicedSharedAt == AT(UnvoicedOperator, PitchMod) - UnvoicedSharedAt);
