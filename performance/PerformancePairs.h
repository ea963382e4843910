// The slider and value box pairs of the performance pages, one descriptor per parameter, and the
// lists and radio groups whose item is a word's value (the choices).
//
// The shared pair (core/pages/ValuePair.h) gives the controls, the display forms, the value box
// walk and the key steps; a descriptor adds what only the performance family knows: the record
// and the word in it, and the texts and routing labels of the rows that have their own. A row's
// slider sends its word (TMainData::WordMessage): the address and how the position becomes the
// data byte(s) come from the dump layout (core/DumpLayout.h), looked up by the word, so a message
// and the bulk dump agree by construction. The effect parameter rows, whose address follows the
// data, take it from the block's stored effect type (Record EffectSlot, EffectSlotChange). A
// choice row names its list or radio group (core/pages/Choice.h), its word and what follows its
// value. The page reaches a pair's controls by Pair(id), a choice's by Choice(id).
#pragma once

#include "core/DumpLayout.h"
#include "core/pages/ValuePair.h"

#include <array>
#include <cstdint>

// Every pair, in table order. The name is the stem of the controls: Pfm_Volume gives
// Pfm_VolumeBar, Pfm_VolumeEdit and (when it has a caption) Pfm_VolumeText.
// clang-format off
enum class PfmPair : int {
    // header
    Pfm_Volume, Pfm_ReverbRtn, Pfm_VariationRtn, Pfm_Noteshift,
    // part page
    Pfm_Part_Volume, Pfm_Part_DryLevel, Pfm_Part_ReverbSend, Pfm_Part_VariationSend,
    Pfm_Part_Formant, Pfm_Part_Fm, Pfm_Part_VNBalance, Pfm_Part_LFO1Speed, Pfm_Part_LFO1Pmod, Pfm_Part_LFO1Delay,
    Pfm_Part_FilterFreq, Pfm_Part_FilterReso, Pfm_Part_FilterEGDepth, Pfm_Part_LFO2Speed, Pfm_Part_LFO2FltMod,
    Pfm_Part_EGAtkTime, Pfm_Part_EGDecayTime, Pfm_Part_EGReleaseTime,
    Pfm_Part_PEGInitLvl, Pfm_Part_PEGAtkTime, Pfm_Part_PEGRelLvl, Pfm_Part_PEGRelTime,
    Pfm_Part_Detune, Pfm_Part_NoteShift, Pfm_Part_PBRange, Pfm_Part_PBRangeLo, Pfm_Part_PortaTime,
    Pfm_Part_ReserveNote, Pfm_Part_VelLimitLow, Pfm_Part_VelLimitHigh, Pfm_Part_VelSensDepth,
    Pfm_Part_VelSensOffset, Pfm_Part_ExpLimitLo, Pfm_Part_PanScale, Pfm_Part_PanMod,
    // formant sequence
    Pfm_Fseq_Speed, Pfm_Fseq_SpeedVel, Pfm_Fseq_LevelVel, Pfm_Fseq_StartDelay, Pfm_Fseq_StartOffset,
    Pfm_Fseq_LoopStart, Pfm_Fseq_LoopEnd,
    // controller sets and system
    Pfm_Ctrl_Depth1, Pfm_Ctrl_Depth2, Pfm_Ctrl_Depth3, Pfm_Ctrl_Depth4,
    Pfm_Ctrl_Depth5, Pfm_Ctrl_Depth6, Pfm_Ctrl_Depth7, Pfm_Ctrl_Depth8,
    Pfm_SystemMstrTune, Pfm_SystemMstrNote,
    // effect page: the parts' levels, the 18 parameter rows, the EQ
    Pfm_Effect_P1DryLvl, Pfm_Effect_P1RevSend, Pfm_Effect_P1VarSend,
    Pfm_Effect_P2DryLvl, Pfm_Effect_P2RevSend, Pfm_Effect_P2VarSend,
    Pfm_Effect_P3DryLvl, Pfm_Effect_P3RevSend, Pfm_Effect_P3VarSend,
    Pfm_Effect_P4DryLvl, Pfm_Effect_P4RevSend, Pfm_Effect_P4VarSend,
    Pfm_Effect_Para1, Pfm_Effect_Para2, Pfm_Effect_Para3, Pfm_Effect_Para4, Pfm_Effect_Para5, Pfm_Effect_Para6,
    Pfm_Effect_Para7, Pfm_Effect_Para8, Pfm_Effect_Para9, Pfm_Effect_Para10, Pfm_Effect_Para11, Pfm_Effect_Para12,
    Pfm_Effect_Para13, Pfm_Effect_Para14, Pfm_Effect_Para15, Pfm_Effect_Para16, Pfm_Effect_Para17,
    Pfm_Effect_Para18,
    Pfm_Effect_EQ_LowFreq, Pfm_Effect_EQ_LowGain, Pfm_Effect_EQ_LowQ,
    Pfm_Effect_EQ_MidFreq, Pfm_Effect_EQ_MidGain, Pfm_Effect_EQ_MidQ,
    Pfm_Effect_EQ_HighFreq, Pfm_Effect_EQ_HighGain, Pfm_Effect_EQ_HighQ,
    Count
};
// clang-format on
inline constexpr int PfmPairCount = static_cast<int>(PfmPair::Count);

// The record a pair's word lives in, and how the row finds its instance of the record.
enum class PfmRecord : uint8_t {
    Common,     // PfmCommon
    Part,       // PfmParts[the part tab]; AH + part
    PartFixed,  // PfmParts[Index]; AH + Index (the effect page addresses its parts by its rows)
    Fseq,       // PfmFseq
    ControlSet, // PfmControlSets[Index]; AL + Index
    System,     // SystemBlock
    EffectSlot, // slot Index of the block on the effect tab; address, kind and text from its type
    EQ,         // PfmEffect.PfmEQ
    Effect,     // PfmEffect
};

// The text a row's value box shows, where it is not the shared display form.
enum class PfmText : uint8_t {
    Pair,        // the shared form (decimal, or signed around the centre)
    FseqSpeed,   // position x 0.1 + 10.0, "0.0"
    EqFrequency, // EffectValueText of the row's display kind (Index)
    EqQ,         // position x 0.1 + 0.1, "0.0"
    EffectValue, // by the slot's display kind: EffectValueText, or x 0.1 + 0.1 for kinds 26 and 28
};

// The routing-picture label a slider writes right after its value box.
enum class PfmRoute : uint8_t { None, ReverbReturn, VariationReturn, DryLevel, ReverbSend, VariationSend };

struct PfmPairDescriptor {
    PfmPair Id;
    TPairForm PairForm;
    PfmRecord Record;
    uint16_t Word; // byte offset of the int32 word in its record (offsetof)
    int8_t Index;  // fixed part, controller set, effect row (1..18) or EQ display kind
    int Min;       // the slider's minimum (the shared pair starts every slider at 0)
    PfmText Text;
    PfmRoute Route;
};

// The table, indexed by PfmPair.
const std::array<PfmPairDescriptor, PfmPairCount>& PfmPairs();
inline const PfmPairDescriptor& PfmPairOf(PfmPair id) { return PfmPairs()[static_cast<std::size_t>(id)]; }

// Every list and radio group whose item is a word's value, in table order. The name is the
// control's.
// clang-format off
enum class PfmChoice : int {
    // header
    Pfm_Category, Pfm_Ch,
    // part page
    Pfm_Part_InsEffectSw, Pfm_Part_PortaSw, Pfm_Part_PortaMode, Pfm_Part_MonoPoly, Pfm_Part_MonoPriority,
    Pfm_Part_SustainRcvSw, Pfm_Part_NoteLimitLow, Pfm_Part_NoteLimitHigh,
    // formant sequence
    Pfm_Fseq_Part, Pfm_Fseq_Mode, Pfm_Fseq_KeyOnTrig, Pfm_Fseq_Speedmidi, Pfm_Fseq_Pitch, Pfm_Fseq_LoopMode,
    // controller sets, assignments, system
    Pfm_Ctrl_Dest1, Pfm_Ctrl_Dest2, Pfm_Ctrl_Dest3, Pfm_Ctrl_Dest4,
    Pfm_Ctrl_Dest5, Pfm_Ctrl_Dest6, Pfm_Ctrl_Dest7, Pfm_Ctrl_Dest8,
    Pfm_Cntl_AssignKN1, Pfm_Cntl_AssignKN2, Pfm_Cntl_AssignKN3, Pfm_Cntl_AssignKN4, Pfm_Cntl_AssignMC1,
    Pfm_Cntl_AssignMC2, Pfm_Cntl_AssignMC3, Pfm_Cntl_AssignMC4, Pfm_Cntl_AssignFC, Pfm_Cntl_AssignBC,
    Pfm_Cntl_AssignFrm, Pfm_Cntl_AssignFM,
    Pfm_SystemVelCrv, Pfm_SystemDumpInterval, Pfm_SystemRcvNote, Pfm_SystemBCCurve, Pfm_SystemKNCtrlMode,
    Pfm_SystemRcvKNCtrl, Pfm_SystemTrnKNCtrl, Pfm_SystemRcvBankSelect, Pfm_SystemRcvPgmChange, Pfm_SystemRcvPgmMode,
    // effect page
    Pfm_Effect_P1InsSw, Pfm_Effect_P2InsSw, Pfm_Effect_P3InsSw, Pfm_Effect_P4InsSw, Pfm_Effect_IndividualOutput,
    Pfm_Effect_EQ_LowShape, Pfm_Effect_EQ_HighShape,
    Count
};
// clang-format on
inline constexpr int PfmChoiceCount = static_cast<int>(PfmChoice::Count);

// What the page does besides storing and sending when a choice is made: the controls and pictures
// that follow the value.
enum class PfmFollow : uint8_t {
    None,
    PartSendRows,     // the insertion effect takes the part's dry level and sends: their rows rest
    Portamento,       // the mode and time follow the switch
    MonoPriority,     // poly rests the priority
    FseqMode,         // scratch or fseq: the sequence's playing rows
    ControlSet,       // the depth and part boxes of the set's destination
    BankSelect,       // the bank select follows the program change
    PartRouting,      // the part's level rows, routing labels and the insertion overlay
    IndividualOutput, // the output overlay
    EqShape,          // the band's Q row and the shape picture
};

struct PfmChoiceDescriptor {
    PfmChoice Id;
    const char* Name; // the list's or radio group's
    PfmRecord Record;
    uint16_t Word; // byte offset of the int32 word in its record (offsetof)
    int8_t Index;  // fixed part or controller set
    int8_t Offset; // the word holds the item index plus this
    PfmFollow Follow;
};

// The table, indexed by PfmChoice.
const std::array<PfmChoiceDescriptor, PfmChoiceCount>& PfmChoices();
inline const PfmChoiceDescriptor& PfmChoiceOf(PfmChoice id) { return PfmChoices()[static_cast<std::size_t>(id)]; }

// Where the first instance of a record lies in the edit buffer (part 1, controller set 1); an
// effect slot has no fixed place (std::logic_error).
std::size_t RecordAt(PfmRecord record);

// One decimal of a value in tenths: 1000 gives "100.0" (the speed and Q texts).
std::string Tenths(int tenths);
