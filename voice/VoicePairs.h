// The slider pairs of the Voice page, one descriptor per parameter, and the lists and radio
// groups that only store and send (the choices).
//
// The shared pair (core/pages/ValuePair.h) gives the controls, the display forms, the value box
// walk and the key steps; a descriptor adds the record word the pair edits. A choice row names its
// list or radio group (core/pages/Choice.h) and its word. A row names only its word: the word send
// (TMainData::SendWord) takes its address and conversion from the voice dump layout, and builds a
// byte the word shares with others from their words. The page reaches a pair's controls by
// Pair(id), a choice's by Choice(id); the storing handlers live with the page (VoicePage.cpp).
#pragma once

#include "core/ParameterData.h"
#include "core/pages/ValuePair.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// Every pair, in table order. The name is the stem of the controls' names: Vc_LFO1Speed gives
// Vc_LFO1SpeedBar, Vc_LFO1SpeedEdit and (when it has a caption) Vc_LFO1SpeedText.
// clang-format off
enum class VcPair : int {
    // LFOs
    Vc_LFO1Speed, Vc_LFO1Delay, Vc_LFO1PModDepth, Vc_LFO1AModDepth, Vc_LFO1FreqModDepth, Vc_LFO1FltModDepth,
    Vc_LFO2Speed, Vc_LFO2FltModDepth,
    // filter, filter EG, pitch EG
    Vc_FilterInputGain, Vc_FilterCutoffFreq, Vc_FilterResonance, Vc_FilterFreqScaling, Vc_FilterResoVelSns,
    Vc_FilterEGTime1, Vc_FilterEGLv1, Vc_FilterEGTime2, Vc_FilterEGLv2, Vc_FilterEGTime3, Vc_FilterEGLv3,
    Vc_FilterEGTime4, Vc_FilterEGLv4, Vc_FilterEGTimeScaling, Vc_FilterEGDepth, Vc_FilterEGAtkTVelSns,
    Vc_FilterEGDepthVelSns,
    Vc_PitchEGLv0, Vc_PitchEGTime1, Vc_PitchEGLv1, Vc_PitchEGTime2, Vc_PitchEGLv2, Vc_PitchEGTime3, Vc_PitchEGLv3,
    Vc_PitchEGTime4, Vc_PitchEGLv4, Vc_PitchEGTimeScaling, Vc_PitchEGVelocitySens,
    // control sets, general
    Vc_Frmt1CtlDepth, Vc_Frmt2CtlDepth, Vc_Frmt3CtlDepth, Vc_Frmt4CtlDepth, Vc_Frmt5CtlDepth,
    Vc_Fm1CtlDepth, Vc_Fm2CtlDepth, Vc_Fm3CtlDepth, Vc_Fm4CtlDepth, Vc_Fm5CtlDepth,
    Vc_Feedback, Vc_NoteShift,
    // voiced and unvoiced oscillators
    Vc_VOpFseqTrk, Vc_VOpFreqScaling, Vc_VOpTranspose, Vc_VOpDetune, Vc_VOpBandWidth, Vc_VOpResonance, Vc_VOpSkirt,
    Vc_VOpOutputLvl, Vc_VOpLSLeftDepth, Vc_VOpLSRightDepth, Vc_VOpOPAtt,
    Vc_UOpFreqScaling, Vc_UOpTranspose, Vc_UOpBandWidth, Vc_UOpResonance, Vc_UOpSkirt, Vc_UOpOutputLvl,
    Vc_UOpLvlScaling,
    // operator EG, frequency EG, sensitivities, modulation (shared by both kinds of operator)
    Vc_OpEGHold, Vc_OpEGTime1, Vc_OpEGLv1, Vc_OpEGTime2, Vc_OpEGLv2, Vc_OpEGTime3, Vc_OpEGLv3, Vc_OpEGTime4,
    Vc_OpEGLv4, Vc_OpEGTimeScaling,
    Vc_OpFrqEGInitLvl, Vc_OpFrqEGAtakLvl, Vc_OpFrqEGAtakTime, Vc_OpFrqEGDecayTime,
    Vc_OpSnsAmpVel, Vc_OpSnsFreqVel, Vc_OpSnsAmpEGBias, Vc_OpSnsFreqBias, Vc_OpSnsWidthBias,
    Vc_OpAmpMod, Vc_OpPitchMod, Vc_OpFreqMod,
    Count
};
// clang-format on
inline constexpr int VcPairCount = static_cast<int>(VcPair::Count);

// Every list and radio group whose handler stores the item index and sends a byte, in table order.
// clang-format off
enum class VcChoice : int {
    Vc_Category, Vc_LFO1Waveform, Vc_LFO1KeySync, Vc_LFO2Waveform, Vc_LFO2KeySync, Vc_LFO2Phase, Vc_FilterType,
    Vc_FilterFScaleBP, Vc_PitchEGRange,
    Vc_Frmt1Operator, Vc_Frmt1Parameter, Vc_Frmt2Operator, Vc_Frmt2Parameter, Vc_Frmt3Operator, Vc_Frmt3Parameter,
    Vc_Frmt4Operator, Vc_Frmt4Parameter, Vc_Frmt5Operator, Vc_Frmt5Parameter,
    Vc_Fm1Operator, Vc_Fm1Parameter, Vc_Fm2Operator, Vc_Fm2Parameter, Vc_Fm3Operator, Vc_Fm3Parameter,
    Vc_Fm4Operator, Vc_Fm4Parameter, Vc_Fm5Operator, Vc_Fm5Parameter,
    Vc_VOpKeySync, Vc_VOpLSBP, Vc_VOpLSLeftCrv, Vc_VOpLSRightCrv,
    Count
};
// clang-format on
inline constexpr int VcChoiceCount = static_cast<int>(VcChoice::Count);

// The record a row's word lives in, and so the operator its message addresses.
enum class VcRecord : uint8_t {
    Common,   // VoiceCommon of voice v
    Voiced,   // VoicedOperator t (voiced tabs only)
    Unvoiced, // UnvoicedOperator t-8 (unvoiced tabs only)
    Operator, // the shared operator rows: VoicedOperator t, or UnvoicedOperator t-8 by its own field
};

// The graph a row redraws: the common envelopes after the box shows the value, the operator
// amplitude envelope likewise, the frequency envelope after the message has gone out.
enum class VcGraph : uint8_t { None, FilterEG, PitchEG, OperatorEG, FrequencyEG };

// Where a row's word lives: byte offsets in its record (VoiceCommon, VoicedOperator or
// UnvoicedOperator).
struct VcWord {
    VcRecord Record;
    uint16_t Field;  // the word (Unvoiced rows: in UnvoicedOperator)
    uint16_t UField; // Operator rows: the unvoiced operator's word
};

struct VcPairDescriptor {
    VcPair Id;
    TPairForm PairForm; // Name: the stem
    VcWord Word;
    VcGraph Graph;
};

struct VcChoiceDescriptor {
    VcChoice Id;
    const char* Name; // the list's or radio group's
    VcWord Word;
};

// The tables, indexed by their ids.
const std::array<VcPairDescriptor, VcPairCount>& VcPairs();
const std::array<VcChoiceDescriptor, VcChoiceCount>& VcChoices();
inline const VcPairDescriptor& VcPairOf(VcPair id) { return VcPairs()[static_cast<std::size_t>(id)]; }
inline const VcChoiceDescriptor& VcChoiceOf(VcChoice id) { return VcChoices()[static_cast<std::size_t>(id)]; }

// The ten formant and FM control sets (0..4 Formant1..5, 5..9 FM1..5): the choices of a set's
// operator list and parameter buttons, in the order of the sets.
inline VcChoice ControlSetOperator(int set) { return VcChoice(int(VcChoice::Vc_Frmt1Operator) + 2 * set); }
inline VcChoice ControlSetParameter(int set) { return VcChoice(int(VcChoice::Vc_Frmt1Parameter) + 2 * set); }

// The offset in VoiceRecord of the word a row edits on operator tab t (0..15); empty where the
// row edits no word on that tab.
std::optional<std::size_t> Locate(const VcWord& word, int t);
