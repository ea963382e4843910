// The catalogue arrays of the main window: names and preset numbers that the pages read.
// InitNameTables fills them once while the main window is constructed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// One effect type of one block (reverb, variation, insertion).
struct TEFXSetup {
    std::string Name;
    int32_t ParamCount = 0;
    std::array<std::string, 18> ParamName{};
    std::array<uint8_t, 18> AddrMid{};
    std::array<uint8_t, 18> AddrLow{};
    std::array<int32_t, 18> DisplayKind{};
    std::array<int32_t, 18> DefaultValue{};
};

// One named envelope shape: the values in the order Hold, Time1..Time4, TimeScaling,
// Level1..Level4, as the operator envelope value boxes show them.
struct EGShapeRecord {
    std::array<char, 12> Name{}; // 8-bit text, NUL-terminated, at most 10 characters
    std::array<int32_t, 10> Value{};
};

struct TNameTables {
    // [program 0..127][bank column 0..12]
    std::array<std::array<std::string, 13>, 128> VoiceNameTable{};
    // [fine 0..127][coarse - 1]
    std::array<std::array<std::string, 21>, 128> FixedFreqText{};
    // [preset 0..89][pitch mode, start delay, loop mode, loop start, loop end, end step]
    std::array<std::array<int32_t, 6>, 90> FseqPresetInfo{};
    // [algorithm - 1][voiced operator 0..7]
    std::array<std::array<int32_t, 8>, 88> AlgorithmOpAttEnable{};
    // [type 0..40][block: 0 reverb, 1 variation, 2 insertion]
    std::array<std::array<TEFXSetup, 3>, 41> EffectTypeTable{};
    // [value 0..127][display kind 0..58]
    std::array<std::array<std::string, 59>, 128> EffectValueText{};
    std::array<uint8_t, 59> EffectValueOffset{};
    std::array<int32_t, 59> EffectKindMax{};
    std::array<int32_t, 59> EffectKindPageStep{};
    // [insertion type 0..40][destination 0..13]
    std::array<std::array<std::string, 14>, 41> InsertionDestinationText{};
    std::array<std::string, 33> ControlDestinationText{};
    std::array<EGShapeRecord, 128> EGShapeTable{};
};

// Fills every array of the catalogue (all of them start empty).
void InitNameTables(TNameTables& tables);

// Number of effect types of each block (reverb, variation, insertion) in EffectTypeTable;
// the records past them are blank.
inline constexpr std::array<int32_t, 3> EffectTypeCount{17, 29, 41};

// The items of the formant-sequence page's preset list Pfm_Fseq_FseqPre, "01: ShoobyDo" ..
// "90: PSYAMAHA"; item i is the preset whose settings are FseqPresetInfo[i].
extern const std::array<const char*, 90> FseqPresetNames;
