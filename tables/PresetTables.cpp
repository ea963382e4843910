// Preset numbers and names: formant-sequence presets, operator attenuation enables, the
// preset envelope shapes and the controller destination names.
#include "tables/CatalogueSteps.h"
#include "tables/TextBuilder.h"

#include <algorithm>
#include <cstring>
#include <iterator>

// The catalogue data keeps its hand layout.
// clang-format off

constexpr std::array<const char*, 90> FseqPresetNames = {
    "01: ShoobyDo", "02: 2BarBeat", "03: D&B", "04: D&B Fill", "05: 4BarBeat", "06: YouCanG",
    "07: EBSayHey", "08: RtmSynth", "09: VocalRtm", "10: WooWaPa", "11: UooLha", "12: FemRtm",
    "13: ByonRole", "14: WowYeah", "15: ListenVo", "16:YAMAHAFS", "17: Laugh", "18: Laugh2",
    "19: AreYouR", "20: Oiyai", "21: Oiauo", "22: UuWaUu", "23: Wao", "24: RndArp1", "25: FiltrArp",
    "26: RndArp2", "27: TechArp", "28: RndArp3", "29: Voco-Seq", "30: PopTech", "31: 1BarBeat",
    "32: 1BrBeat2", "33: Undo", "34: RndArp4", "35: VoclRtm2", "36: Reiyowha", "37: RndArp5",
    "38: VocalArp", "39: CanYouGi", "40: Pu-Yo", "41: Yaof", "42: MyaOh", "43: ChuckRtm",
    "44: ILoveYou", "45: Jan-On", "46: Welcome", "47: One-Two", "48: Edokko", "49: Everybdy",
    "50: Uwau", "51: YEEAAH", "52: 4-3-2-1", "53: Test123", "54: CheckSnd", "55: ShavaDo",
    "56: R-M-H-R", "57: HiSchool", "58: M.Blastr", "59: L&G Mayl", "60: Hellow", "61: ChowaUu",
    "62: Everybd2", "63: Dodidowa", "64: Check123", "65: BranNewY", "66: BoomBoom", "67: Hi=Woo",
    "68: FreeForm", "69: FreqPad", "70: YouKnow", "71: OldTech", "72: B/M", "73: MiniJngl",
    "74: EveryB-S", "75: IYaan", "76: Yeah", "77: ThankYou", "78: Yes=No", "79: UnWaEDon",
    "80: MouthPop", "81: Fire", "82: TBLine", "83: China", "84: Aeiou", "85: YaYeYiYo", "86: C7Seq",
    "87: SoundLib", "88: IYaan2", "89: Relax", "90: PSYAMAHA",
};
static_assert(FseqPresetNames.back() != nullptr, "90 preset names");

namespace {

// [preset][pitch mode, start delay, loop mode, loop start, loop end, end step]
constexpr std::array<std::array<int32_t, 6>, 90> FseqPresets = {{
    {0, 0, 0, 0, 498, 504}, // 01: ShoobyDo
    {0, 0, 0, 0, 465, 511}, // 02: 2BarBeat
    {0, 0, 0, 0, 401, 511}, // 03: D&B
    {0, 0, 0, 0, 455, 511}, // 04: D&B Fill
    {0, 0, 0, 0, 500, 511}, // 05: 4BarBeat
    {0, 0, 0, 430, 430, 511}, // 06: YouCanG
    {0, 0, 0, 0, 507, 510}, // 07: EBSayHey
    {0, 0, 0, 0, 431, 431}, // 08: RtmSynth
    {0, 0, 0, 0, 491, 500}, // 09: VocalRtm
    {1, 0, 0, 62, 125, 127}, // 10: WooWaPa
    {1, 0, 0, 116, 117, 117}, // 11: UooLha
    {0, 0, 1, 24, 124, 125}, // 12: FemRtm
    {0, 0, 1, 30, 42, 77}, // 13: ByonRole
    {1, 0, 1, 126, 126, 127}, // 14: WowYeah
    {1, 0, 1, 71, 125, 127}, // 15: ListenVo
    {0, 0, 0, 127, 127, 127}, // 16:YAMAHAFS
    {0, 0, 1, 56, 120, 121}, // 17: Laugh
    {0, 0, 0, 0, 127, 127}, // 18: Laugh2
    {0, 0, 0, 127, 127, 127}, // 19: AreYouR
    {1, 0, 0, 64, 127, 127}, // 20: Oiyai
    {1, 0, 1, 127, 5, 127}, // 21: Oiauo
    {1, 0, 0, 106, 106, 127}, // 22: UuWaUu
    {0, 0, 0, 95, 95, 127}, // 23: Wao
    {0, 0, 0, 0, 106, 127}, // 24: RndArp1
    {1, 0, 0, 0, 100, 127}, // 25: FiltrArp
    {1, 0, 0, 0, 119, 127}, // 26: RndArp2
    {1, 0, 0, 0, 100, 127}, // 27: TechArp
    {0, 0, 0, 0, 99, 120}, // 28: RndArp3
    {0, 0, 0, 0, 102, 127}, // 29: Voco-Seq
    {0, 0, 0, 0, 99, 113}, // 30: PopTech
    {0, 0, 0, 0, 125, 127}, // 31: 1BarBeat
    {1, 0, 0, 0, 125, 127}, // 32: 1BrBeat2
    {1, 0, 0, 109, 110, 127}, // 33: Undo
    {1, 0, 0, 0, 124, 127}, // 34: RndArp4
    {0, 0, 0, 0, 125, 127}, // 35: VoclRtm2
    {0, 0, 0, 105, 105, 127}, // 36: Reiyowha
    {0, 0, 0, 0, 99, 103}, // 37: RndArp5
    {0, 2, 0, 0, 114, 127}, // 38: VocalArp
    {0, 0, 0, 127, 127, 127}, // 39: CanYouGi
    {0, 0, 0, 50, 50, 127}, // 40: Pu-Yo
    {0, 0, 0, 97, 97, 127}, // 41: Yaof
    {1, 0, 0, 127, 127, 127}, // 42: MyaOh
    {0, 0, 0, 0, 115, 127}, // 43: ChuckRtm
    {1, 0, 0, 127, 127, 127}, // 44: ILoveYou
    {1, 0, 1, 60, 113, 127}, // 45: Jan-On
    {0, 0, 0, 127, 127, 127}, // 46: Welcome
    {1, 0, 0, 6, 118, 127}, // 47: One-Two
    {1, 0, 0, 0, 100, 127}, // 48: Edokko
    {0, 0, 0, 127, 127, 127}, // 49: Everybdy
    {0, 0, 0, 127, 127, 127}, // 50: Uwau
    {0, 0, 0, 127, 127, 127}, // 51: YEEAAH
    {0, 0, 0, 127, 127, 127}, // 52: 4-3-2-1
    {0, 0, 0, 127, 127, 127}, // 53: Test123
    {0, 0, 0, 127, 127, 127}, // 54: CheckSnd
    {0, 0, 0, 127, 127, 127}, // 55: ShavaDo
    {0, 0, 1, 0, 114, 127}, // 56: R-M-H-R
    {0, 0, 0, 0, 119, 127}, // 57: HiSchool
    {0, 0, 0, 127, 127, 127}, // 58: M.Blastr
    {0, 0, 0, 127, 127, 127}, // 59: L&G Mayl
    {0, 0, 0, 127, 127, 127}, // 60: Hellow
    {1, 0, 0, 120, 121, 127}, // 61: ChowaUu
    {0, 0, 0, 127, 127, 127}, // 62: Everybd2
    {0, 0, 0, 127, 127, 127}, // 63: Dodidowa
    {0, 0, 0, 39, 127, 127}, // 64: Check123
    {0, 0, 0, 116, 116, 116}, // 65: BranNewY
    {0, 0, 0, 127, 127, 127}, // 66: BoomBoom
    {0, 0, 0, 0, 121, 127}, // 67: Hi=Woo
    {1, 0, 1, 0, 127, 127}, // 68: FreeForm
    {1, 0, 1, 16, 127, 127}, // 69: FreqPad
    {0, 0, 0, 0, 127, 127}, // 70: YouKnow
    {0, 0, 0, 0, 100, 127}, // 71: OldTech
    {0, 0, 0, 120, 120, 127}, // 72: B/M
    {1, 0, 0, 23, 123, 127}, // 73: MiniJngl
    {0, 0, 0, 0, 125, 127}, // 74: EveryB-S
    {1, 0, 0, 99, 100, 127}, // 75: IYaan
    {0, 0, 0, 127, 127, 127}, // 76: Yeah
    {0, 0, 0, 127, 127, 127}, // 77: ThankYou
    {0, 0, 0, 0, 127, 127}, // 78: Yes=No
    {1, 0, 1, 50, 126, 127}, // 79: UnWaEDon
    {0, 0, 0, 0, 126, 127}, // 80: MouthPop
    {0, 0, 0, 94, 94, 94}, // 81: Fire
    {0, 0, 0, 0, 100, 104}, // 82: TBLine
    {0, 0, 0, 75, 127, 127}, // 83: China
    {0, 0, 1, 123, 123, 127}, // 84: Aeiou
    {0, 0, 1, 120, 126, 127}, // 85: YaYeYiYo
    {0, 0, 0, 63, 125, 125}, // 86: C7Seq
    {0, 0, 0, 127, 127, 127}, // 87: SoundLib
    {1, 0, 0, 119, 119, 127}, // 88: IYaan2
    {1, 0, 0, 1, 111, 127}, // 89: Relax
    {0, 0, 0, 127, 127, 127}, // 90: PSYAMAHA
}};

// [algorithm - 1][voiced operator 1..8]
constexpr std::array<std::array<int32_t, 8>, 88> OpAttEnable = {{
    {1, 1, 1, 1, 1, 1, 1, 1}, // 1
    {0, 0, 0, 1, 1, 1, 1, 1}, // 2
    {0, 0, 0, 1, 1, 1, 1, 1}, // 3
    {0, 0, 0, 1, 1, 1, 1, 1}, // 4
    {0, 0, 0, 1, 1, 1, 1, 1}, // 5
    {0, 1, 0, 1, 1, 1, 1, 1}, // 6
    {0, 1, 1, 1, 1, 1, 1, 1}, // 7
    {0, 1, 1, 1, 1, 1, 1, 1}, // 8
    {1, 1, 0, 0, 0, 1, 0, 1}, // 9
    {1, 1, 0, 0, 0, 1, 0, 1}, // 10
    {1, 1, 0, 0, 1, 0, 0, 1}, // 11
    {1, 1, 0, 0, 1, 0, 0, 1}, // 12
    {1, 1, 0, 1, 0, 1, 0, 1}, // 13
    {1, 1, 0, 1, 0, 1, 0, 1}, // 14
    {1, 1, 0, 0, 0, 1, 0, 1}, // 15
    {1, 1, 0, 0, 0, 1, 0, 1}, // 16
    {1, 1, 0, 0, 0, 1, 0, 1}, // 17
    {1, 1, 0, 0, 1, 0, 0, 1}, // 18
    {1, 1, 0, 0, 1, 0, 0, 1}, // 19
    {1, 1, 0, 1, 0, 0, 0, 1}, // 20
    {1, 1, 0, 1, 0, 0, 0, 1}, // 21
    {1, 1, 0, 0, 0, 1, 0, 1}, // 22
    {1, 1, 0, 0, 0, 1, 0, 1}, // 23
    {1, 1, 0, 0, 0, 0, 0, 1}, // 24
    {1, 1, 0, 0, 0, 0, 0, 1}, // 25
    {1, 1, 0, 0, 0, 0, 0, 1}, // 26
    {1, 1, 0, 1, 1, 0, 0, 1}, // 27
    {1, 1, 0, 0, 1, 0, 1, 1}, // 28
    {1, 1, 0, 1, 1, 0, 1, 1}, // 29
    {1, 1, 0, 1, 1, 1, 0, 1}, // 30
    {0, 1, 1, 0, 1, 1, 1, 1}, // 31
    {0, 1, 1, 1, 1, 1, 1, 1}, // 32
    {0, 0, 1, 0, 1, 1, 1, 1}, // 33
    {0, 0, 1, 0, 1, 1, 1, 1}, // 34
    {0, 0, 1, 0, 1, 1, 1, 1}, // 35
    {0, 0, 1, 1, 1, 1, 1, 1}, // 36
    {1, 1, 0, 0, 0, 0, 0, 1}, // 37
    {1, 1, 0, 0, 0, 0, 0, 1}, // 38
    {1, 1, 0, 0, 0, 0, 0, 1}, // 39
    {1, 1, 0, 0, 0, 0, 0, 1}, // 40
    {1, 1, 0, 0, 0, 0, 0, 1}, // 41
    {1, 1, 0, 0, 0, 0, 0, 1}, // 42
    {1, 1, 0, 0, 0, 0, 0, 1}, // 43
    {1, 1, 0, 0, 0, 0, 0, 1}, // 44
    {1, 1, 0, 0, 0, 0, 0, 1}, // 45
    {1, 1, 0, 0, 0, 0, 0, 1}, // 46
    {1, 1, 0, 0, 0, 0, 0, 1}, // 47
    {1, 1, 0, 0, 0, 0, 0, 1}, // 48
    {1, 1, 0, 0, 0, 0, 0, 1}, // 49
    {1, 1, 0, 0, 0, 0, 0, 1}, // 50
    {1, 1, 0, 0, 0, 0, 0, 1}, // 51
    {1, 1, 0, 0, 0, 0, 0, 1}, // 52
    {1, 1, 0, 0, 0, 0, 0, 1}, // 53
    {1, 1, 0, 0, 0, 0, 0, 1}, // 54
    {1, 1, 1, 0, 0, 0, 0, 1}, // 55
    {1, 1, 1, 0, 0, 0, 0, 1}, // 56
    {1, 1, 1, 0, 0, 0, 0, 1}, // 57
    {1, 1, 1, 0, 0, 0, 0, 1}, // 58
    {1, 1, 1, 0, 0, 0, 0, 1}, // 59
    {1, 1, 1, 0, 0, 0, 0, 1}, // 60
    {1, 1, 1, 0, 0, 0, 0, 1}, // 61
    {1, 1, 1, 0, 0, 0, 0, 1}, // 62
    {1, 1, 1, 0, 0, 0, 0, 1}, // 63
    {1, 1, 0, 0, 1, 0, 0, 1}, // 64
    {1, 1, 0, 0, 1, 1, 1, 1}, // 65
    {0, 0, 0, 0, 0, 0, 0, 1}, // 66
    {0, 1, 0, 1, 0, 1, 0, 1}, // 67
    {0, 0, 0, 0, 0, 0, 0, 1}, // 68
    {0, 0, 0, 1, 0, 0, 0, 1}, // 69
    {0, 0, 0, 1, 0, 0, 0, 1}, // 70
    {0, 0, 0, 1, 0, 0, 0, 1}, // 71
    {0, 0, 0, 1, 0, 0, 0, 1}, // 72
    {1, 0, 1, 0, 1, 1, 1, 1}, // 73
    {0, 1, 0, 1, 0, 0, 0, 1}, // 74
    {0, 1, 1, 0, 0, 0, 0, 1}, // 75
    {0, 0, 1, 0, 1, 1, 1, 1}, // 76
    {0, 0, 0, 1, 0, 0, 0, 1}, // 77
    {0, 0, 1, 0, 1, 0, 1, 1}, // 78
    {0, 0, 0, 1, 0, 0, 0, 1}, // 79
    {0, 0, 1, 1, 1, 1, 1, 1}, // 80
    {0, 1, 0, 0, 1, 0, 0, 1}, // 81
    {0, 0, 1, 1, 0, 0, 1, 1}, // 82
    {0, 1, 0, 0, 1, 0, 0, 1}, // 83
    {0, 1, 1, 1, 1, 0, 1, 1}, // 84
    {0, 1, 0, 0, 0, 0, 0, 1}, // 85
    {0, 0, 0, 1, 1, 1, 1, 1}, // 86
    {0, 0, 1, 1, 1, 1, 1, 1}, // 87
    {0, 0, 0, 1, 1, 1, 1, 1}, // 88
}};

struct EGShapePreset {
    const char* Name;
    std::array<int32_t, 10> Value; // Hold, Time1..Time4, TimeScaling, Level1..Level4
};

constexpr EGShapePreset EGShapePresets[] = {
    {"EG Init", {0, 0, 20, 20, 0, 0, 99, 99, 99, 0}},
    {"Piano", {0, 0, 68, 80, 43, 4, 99, 75, 0, 0}},
    {"C-Perc", {0, 0, 57, 37, 43, 0, 98, 26, 0, 0}},
    {"Organ", {0, 0, 0, 0, 10, 0, 99, 99, 99, 0}},
    {"Guiter", {0, 0, 20, 54, 35, 4, 98, 92, 0, 0}},
    {"Bass", {0, 0, 60, 74, 30, 0, 99, 71, 0, 0}},
    {"Strings", {0, 40, 12, 0, 52, 1, 99, 99, 99, 0}},
    {"Ensemble", {0, 30, 45, 40, 34, 2, 99, 67, 0, 0}},
    {"Brass", {0, 3, 30, 54, 25, 0, 99, 99, 96, 0}},
    {"Reed", {0, 27, 0, 46, 0, 3, 99, 99, 83, 0}},
    {"Pipe", {0, 35, 67, 59, 25, 0, 99, 96, 95, 0}},
    {"Synth Lead", {0, 5, 12, 0, 38, 1, 90, 99, 99, 0}},
    {"Synth Pad", {0, 61, 87, 88, 65, 0, 99, 96, 78, 0}},
    {"Synth SE", {32, 61, 20, 20, 0, 7, 99, 99, 0, 0}},
    {"Ethnic", {0, 0, 26, 96, 73, 1, 99, 69, 0, 99}},
    {"Percussive", {0, 0, 47, 53, 48, 4, 99, 92, 0, 0}},
    {"Sound Efx", {0, 79, 20, 70, 35, 0, 99, 99, 0, 0}},
    {"Drums", {0, 0, 54, 45, 24, 1, 99, 94, 0, 0}},
    {"Synth Comp", {0, 0, 16, 71, 33, 1, 99, 99, 0, 0}},
    {"Voice", {0, 47, 75, 80, 48, 0, 86, 99, 93, 0}},
    {"Cmbination", {0, 1, 50, 43, 44, 4, 97, 29, 0, 0}},
    {"MaterialWv", {0, 0, 0, 34, 0, 4, 99, 99, 84, 0}},
    {"Sequence", {0, 0, 0, 45, 46, 3, 99, 99, 0, 0}},
};

// The destinations of one insertion layout without their "I:" prefix; a null entry is a
// parameter no controller reaches, shown by its destination number.
using DestinationLayout = std::array<const char*, 14>;

constexpr DestinationLayout DestinationLayouts[] = {
    // 0: type 0
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    // 1: types 1, 2
    {"LFO Freq", "LFO Depth", "FB Level", nullptr, "EQLowFreq", "EQLowGain", "EQMidFreq",
     "EQMidGain", "EQ MidQ", "EQ HiFreq", "EQ HiGain", "Mode", "Dry/Wet", nullptr},
    // 2: type 3
    {"LFO Freq", "LFO Depth", "FB Level", nullptr, "EQLowFreq", "EQLowGain", "EQMidFreq",
     "EQMidGain", "EQ MidQ", "EQ HiFreq", "EQ HiGain", nullptr, "Dry/Wet", nullptr},
    // 3: type 4
    {"LFO Freq", "LFO Depth", nullptr, "EQLowFreq", "EQLowGain", "EQMidFreq", "EQMidGain",
     "EQ MidQ", "EQ HiFreq", "EQ HiGain", "Dry/Wet", nullptr, nullptr, nullptr},
    // 4: type 5
    {"LFO Freq", "LFO Depth", nullptr, "FB Level", "Stage", nullptr, "EQLowFreq", "EQLowGain",
     "EQ HiFreq", "EQ HiGain", "Dry/Wet", nullptr, nullptr, nullptr},
    // 5: type 6
    {"LFO Freq", "LFO Depth", nullptr, "FB Level", "Stage", nullptr, "EQLowFreq", "EQLowGain",
     "EQ HiFreq", "EQ HiGain", "Dry/Wet", nullptr, nullptr, nullptr},
    // 6: type 7
    {nullptr, nullptr, nullptr, nullptr, "FB Level", "Pan1", "Out Level1", "Pan2", "Out Level2",
     "Dry/Wet", nullptr, nullptr, nullptr, nullptr},
    // 7: type 8
    {nullptr, nullptr, nullptr, "EQLowFreq", "EQLowGain", "EQHiFreq", "EQHiGain", "Dry/Wet",
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    // 8: type 9
    {"LFO Freq", "LFO Depth", "EQLowFreq", "EQLowGain", "EQMidFreq", "EQMidGain", "EQ MidQ",
     "EQ HiFreq", "EQ HiGain", "Dry/Wet", nullptr, nullptr, nullptr, nullptr},
    // 9: type 10
    {"Rotor Spd", "DriveLow", "DriveHigh", "Low/High", nullptr, nullptr, "EQLowFreq", "EQLowGain",
     "EQ HiFreq", "EQ HiGain", nullptr, nullptr, nullptr, nullptr},
    // 10: type 11
    {"LFO Freq", "AM Depth", "PM Depth", nullptr, "EQLowFreq", "EQLowGain", "EQMidFreq",
     "EQMidGain", "EQ MidQ", "EQ HiFreq", "EQ HiGain", nullptr, nullptr, nullptr},
    // 11: type 12
    {"LFO Freq", "L/R Depth", "F/L Depth", nullptr, "EQLowFreq", "EQLowGain", "EQMidFreq",
     "EQMidGain", "EQ MidQ", "EQ HiFreq", "EQ HiGain", nullptr, nullptr, nullptr},
    // 12: type 13
    {nullptr, "Phase", "EQLowFreq", "EQLowGain", "EQ HiFreq", "EQ HiGain", "Dry/Wet", nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    // 13: types 14, 15
    {"LFO Freq", "LFO Depth", "CutofFreq", "Resonance", "EQLowFreq", "EQLowGain", "EQ HiFreq",
     "EQ HiGain", "Drive", "DSLowGain", "DSMidGain", "LPFCutoff", "Out Level", "Dry/Wet"},
    // 14: types 16, 17
    {"Sens", "CutofFreq", "Resonance", "Release", "EQLowFreq", "EQLowGain", "EQ HiFreq",
     "EQ HiGain", "Drive", "DS LowGain", "DS MidGain", "LPF Cutoff", "Out Level", "Dry/Wet"},
    // 15: types 18, 19
    {"Sens", "CutofFreq", "Resonance", "Release", "Drive", "Out Level", "DSLowGain", "DSMidGain",
     nullptr, "FB Level", "Delay Mix", "Dry/Wet", nullptr, nullptr},
    // 16: type 20
    {"Smpl Freq", "Word Leng", "Out Gain", "LPFCutoff", "LPF Reso", nullptr, nullptr, nullptr,
     "Dry/Wet", nullptr, nullptr, nullptr, nullptr, nullptr},
    // 17: type 21
    {"Low Freq", "Low Gain", "Mid Freq", "Mid Gain", "Mid Q", "High Freq", "High Gain", nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    // 18: type 22
    {"HPF Cutoff", "Drive", "Mix Level", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    // 19: type 23
    {"Attack", "Release", "Threshold", "Out Level", nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    // 20: type 24
    {"Attack", "Release", "Threshold", "Ratio", "Out Level", nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    // 21: type 25
    {"Attack", "Release", "Threshold", "Ratio", "Drive", "EQLowFreq", "EQLowGain", "EQMidFreq",
     "EQMidGain", "EQ Mid Q", "LPFCutoff", "Edge", "Out Level", "Dry/Wet"},
    // 22: types 26, 27
    {"Attack", "Release", "Threshold", "Ratio", "Drive", "Out Level", "DSLowGain", "DSMidGain",
     nullptr, "FB Level", "Delay Mix", "Dry/Wet", nullptr, nullptr},
    // 23: types 28, 30
    {"Drive", "EQLowFreq", "EQLowGain", "EQMidFreq", "EQMidGain", "EQ Mid Q", "LPFCutoff", "Edge",
     "Out Level", "Dry/Wet", nullptr, nullptr, nullptr, nullptr},
    // 24: types 29, 31
    {"Drive", "DS LowGain", "DS MidGain", nullptr, nullptr, nullptr, "FB Level", "Delay Mix",
     "Out Level", "Dry/Wet", nullptr, nullptr, nullptr, nullptr},
    // 25: type 32
    {"Drive", nullptr, "LPFCutoff", "Edge", "Out Level", "Dry/Wet", nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    // 26: type 33
    {nullptr, nullptr, nullptr, nullptr, "FB Level", "Cch Level", nullptr, "EQ LowFreq",
     "EQ LowGain", "EQ HiFreq", "EQ HiGain", "Dry/Wet", nullptr, nullptr},
    // 27: type 34
    {nullptr, nullptr, nullptr, nullptr, "FB Level", nullptr, "EQLowFreq", "EQLowGain", "EQ HiFreq",
     "EQ HiGain", "Dry/Wet", nullptr, nullptr, nullptr},
    // 28: type 35
    {nullptr, "Lch FBLvl", nullptr, "Rch FBLvl", nullptr, nullptr, nullptr, "Delay2Lvl",
     "EQLowFreq", "EQLowGain", "EQ HiFreq", "EQ HiGain", "Dry/Wet", nullptr},
    // 29: type 36
    {nullptr, nullptr, "FB Level", nullptr, nullptr, "EQLowFreq", "EQLowGain", "EQ HiFreq",
     "EQ HiGain", "Dry/Wet", nullptr, nullptr, nullptr, nullptr},
    // 30: types 37, 38
    {nullptr, nullptr, nullptr, nullptr, "FB Level", "HPF Cutoff", "LPF Cutoff", nullptr, nullptr,
     nullptr, "Dry/Wet", nullptr, nullptr, nullptr},
    // 31: types 39, 40
    {nullptr, nullptr, nullptr, nullptr, "FB Level", "HPF Cutoff", "LPF Cutoff", nullptr, nullptr,
     nullptr, "Dry/Wet", nullptr, nullptr, nullptr},
};

// Destination layout of each insertion type.
constexpr uint8_t InsertionDestinationLayout[41] = {
    0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 13, 14, 14, 15, 15, 16, 17, 18, 19, 20, 21, 22,
    22, 23, 24, 23, 24, 25, 26, 27, 28, 29, 30, 30, 31, 31,
};
static_assert(std::size(DestinationLayouts) == 32);
static_assert(std::ranges::all_of(InsertionDestinationLayout, [](uint8_t layout) {
    return layout < std::size(DestinationLayouts);
}));

constexpr const char* ControlDestinations[33] = {
    "Ins->Rev", "Ins->Var", "Volume", "Pan", "Rev Send", "Var Send", "Flt Freq", "Flt Reso",
    "Flt EGDepth", "Attack Time", "Decay Time", "Release Time", "PEG InitLvl", "PEGAtakTime",
    "PEG ReleLvl", "PEGReleTime", "V/N Balance", "Formant", "FM", "Pitch Bias", "Amp EG Bias",
    "Freq Bias", "V BandWidth", "N BandWidth", "LFO1 Pitch", "LFO1 Amp", "LFO1 Freq", "LFO1 Filter",
    "LFO1 Speed", "LFO2 Filter", "LFO2 Speed", "Fseq Speed", "FseqScratch",
};
static_assert(ControlDestinations[32] != nullptr, "33 common destinations");

} // namespace

void FillFseqPresetInfo(TNameTables& tables)
{
    tables.FseqPresetInfo = FseqPresets;
}

void FillAlgorithmOpAttEnable(TNameTables& tables)
{
    tables.AlgorithmOpAttEnable = OpAttEnable;
}

void FillEGShapeTable(TNameTables& tables)
{
    tables.EGShapeTable.fill(EGShapeRecord{});
    size_t entry = 0;
    for (const EGShapePreset& preset : EGShapePresets) {
        EGShapeRecord& record = tables.EGShapeTable[entry++];
        // Names are at most 10 characters; the field keeps room for the terminating NUL.
        const size_t length = std::min(std::strlen(preset.Name), record.Name.size() - 1);
        std::memcpy(record.Name.data(), preset.Name, length);
        record.Value = preset.Value;
    }
}

void FillInsertionDestinationText(TNameTables& tables)
{
    for (size_t type = 0; type < tables.InsertionDestinationText.size(); ++type) {
        const DestinationLayout& layout = DestinationLayouts[InsertionDestinationLayout[type]];
        for (size_t dest = 0; dest < layout.size(); ++dest) {
            TextBuilder text;
            text.Add("I:");
            if (layout[dest]) {
                text.Add(layout[dest]);
            } else {
                const int number = static_cast<int>(dest) + 1; // "I:(InsEF  4)", "I:(InsEF 12)"
                text.Add("(InsEF").Add(number < 10 ? "  " : " ").AddInt(number).Add(')');
            }
            text.StoreIn(tables.InsertionDestinationText[type][dest]);
        }
    }
}

void FillControlDestinationText(TNameTables& tables)
{
    std::copy(std::begin(ControlDestinations), std::end(ControlDestinations),
              tables.ControlDestinationText.begin());
}
// clang-format on
