// EffectTypeTable: every reverb, variation and insertion effect type with its parameter slots.
#include "tables/CatalogueSteps.h"

#include <algorithm>
#include <span>

// The catalogue data keeps its hand layout.
// clang-format off

namespace {

struct SlotDef {
    const char* Name;
    uint8_t AddrMid;
    uint8_t AddrLow;
    uint8_t Kind; // display kind
};

// A type's own slots; the block's trailing slots follow them. Types that share a layout
// share the array.
using Layout = std::span<const SlotDef>;

struct TypeDef {
    const char* Name;
    Layout Slots;
    // Slider positions of the used slots, trailing slots included; zero past the count.
    std::array<int16_t, 18> DefaultValue;
};

struct BlockDef {
    std::span<const TypeDef> Types;
    std::span<const SlotDef> Trailing;
    uint8_t BlankAddrMid; // AddrMid of the unused slots
};

// ---- Reverb block ----

constexpr SlotDef ReverbTrailing[] = {{"Reverb Pan", 0x01, 0x29, 22}};

constexpr SlotDef RevHall1[] = {
    {"Reverb Time", 0x00, 0x50, 0}, {"Diffusion", 0x00, 0x52, 43}, {"InitDelay", 0x00, 0x54, 1},
    {"HPF Cutoff", 0x00, 0x56, 2}, {"LPF Cutoff", 0x00, 0x58, 3}, {"Rev Delay", 0x00, 0x62, 53},
    {"Density", 0x00, 0x63, 46}, {"ER/Rev", 0x00, 0x64, 23}, {"High Damp", 0x00, 0x65, 24},
    {"FB Level", 0x00, 0x66, 25},
};

constexpr SlotDef RevWhiteRoom[] = {
    {"Reverb Time", 0x00, 0x50, 0}, {"Diffusion", 0x00, 0x52, 43}, {"InitDelay", 0x00, 0x54, 1},
    {"HPF Cutoff", 0x00, 0x56, 2}, {"LPF Cutoff", 0x00, 0x58, 3}, {"Width", 0x00, 0x5A, 54},
    {"Height", 0x00, 0x5C, 55}, {"Depth", 0x00, 0x5E, 4}, {"Wall Vary", 0x00, 0x60, 47},
    {"Rev Delay", 0x00, 0x62, 53}, {"Density", 0x00, 0x63, 46}, {"ER/Rev", 0x00, 0x64, 23},
    {"High Damp", 0x00, 0x65, 24}, {"FB Level", 0x00, 0x66, 25},
};

constexpr SlotDef RevDelayLCR[] = {
    {"Lch Delay", 0x00, 0x50, 26}, {"Rch Delay", 0x00, 0x52, 26}, {"Cch Delay", 0x00, 0x54, 26},
    {"FB Delay", 0x00, 0x56, 26}, {"FB Level", 0x00, 0x58, 25}, {"Cch Level", 0x00, 0x5A, 21},
    {"High Damp", 0x00, 0x5C, 24}, {"EQ LowFreq", 0x00, 0x64, 5}, {"EQ LowGain", 0x00, 0x65, 27},
    {"EQ HiFreq", 0x00, 0x66, 6}, {"EQ HiGain", 0x00, 0x67, 27},
};

constexpr SlotDef RevDelayLR[] = {
    {"Lch Delay", 0x00, 0x50, 26}, {"Rch Delay", 0x00, 0x52, 26}, {"FB Delay1", 0x00, 0x54, 26},
    {"FB Delay2", 0x00, 0x56, 26}, {"FB Level", 0x00, 0x58, 25}, {"High Damp", 0x00, 0x5A, 24},
    {"EQ LowFreq", 0x00, 0x64, 5}, {"EQ LowGain", 0x00, 0x65, 27}, {"EQ HiFreq", 0x00, 0x66, 6},
    {"EQ HiGain", 0x00, 0x67, 27},
};

constexpr SlotDef RevEcho[] = {
    {"Lch Delay1", 0x00, 0x50, 28}, {"Lch FB Lvl", 0x00, 0x52, 25}, {"Rch Delay1", 0x00, 0x54, 28},
    {"Rch FB Lvl", 0x00, 0x56, 25}, {"High Damp", 0x00, 0x58, 24}, {"Lch Delay2", 0x00, 0x5A, 28},
    {"Rch Delay2", 0x00, 0x5C, 28}, {"Delay2 Lvl", 0x00, 0x5E, 21}, {"EQ LowFreq", 0x00, 0x64, 5},
    {"EQ LowGain", 0x00, 0x65, 27}, {"EQ HiFreq", 0x00, 0x66, 6}, {"EQ HiGain", 0x00, 0x67, 27},
};

constexpr SlotDef RevCrossDelay[] = {
    {"L>R Delay", 0x00, 0x50, 28}, {"R>L Delay", 0x00, 0x52, 28}, {"FB Level", 0x00, 0x54, 25},
    {"Input Select", 0x00, 0x56, 57}, {"High Damp", 0x00, 0x58, 24}, {"EQ LowFreq", 0x00, 0x64, 5},
    {"EQ LowGain", 0x00, 0x65, 27}, {"EQ HiFreq", 0x00, 0x66, 6}, {"EQ HiGain", 0x00, 0x67, 27},
};

constexpr TypeDef ReverbTypes[] = {
    {"No Effect", {}, {63}},
    {"Hall1", RevHall1, {17, 10, 9, 24, 15, 34, 4, 68, 9, 63, 63}},
    {"Hall2", RevHall1, {27, 10, 28, 6, 12, 28, 3, 99, 9, 63, 63}},
    {"Room1", RevHall1, {11, 8, 12, 25, 19, 15, 4, 73, 9, 63, 63}},
    {"Room2", RevHall1, {9, 10, 8, 15, 26, 11, 4, 45, 6, 63, 63}},
    {"Room3", RevHall1, {6, 10, 0, 15, 12, 9, 4, 48, 4, 63, 63}},
    {"Stage1", RevHall1, {12, 10, 16, 7, 17, 29, 3, 60, 4, 78, 63}},
    {"Stage2", RevHall1, {7, 10, 0, 0, 22, 29, 4, 45, 5, 72, 63}},
    {"Plate", RevHall1, {15, 5, 7, 6, 20, 2, 3, 63, 6, 83, 63}},
    {"White Room", RevWhiteRoom, {1, 5, 0, 11, 4, 16, 73, 104, 6, 8, 4, 63, 3, 68, 63}},
    {"Tunnel", RevWhiteRoom, {20, 6, 10, 0, 10, 33, 52, 70, 16, 20, 4, 53, 9, 106, 63}},
    {"Basement", RevWhiteRoom, {5, 6, 3, 0, 0, 26, 0, 37, 15, 32, 3, 73, 9, 35, 63}},
    {"Canyon", RevWhiteRoom, {59, 6, 63, 0, 11, 34, 62, 91, 13, 11, 4, 71, 3, 99, 63}},
    {"Delay LCR", RevDelayLCR, {3332, 1666, 4999, 4999, 73, 100, 2, 22, 12, 18, 12, 63}},
    {"Delay L,R", RevDelayLR, {2499, 3749, 3751, 3749, 86, 2, 22, 12, 18, 12, 63}},
    {"Echo", RevEcho, {2199, 85, 2099, 84, 4, 2299, 2349, 62, 19, 6, 22, 11, 63}},
    {"Cross Delay", RevCrossDelay, {3649, 3649, 87, 1, 4, 21, 12, 22, 10, 63}},
};

// ---- Variation block ----

constexpr SlotDef VariationTrailing[] = {
    {"Var Pan", 0x01, 0x2C, 22},
    {"SendVar-Rev", 0x01, 0x2E, 21},
};

constexpr SlotDef VarChorus[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"LFO Depth", 0x00, 0x6A, 21}, {"FB Level", 0x00, 0x6C, 25},
    {"Delay Offset", 0x00, 0x6E, 8}, {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27},
    {"EQ HiFreq", 0x00, 0x76, 6}, {"EQ HiGain", 0x00, 0x78, 27}, {"Mode", 0x01, 0x04, 29},
};

constexpr SlotDef VarFlanger[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"LFO Depth", 0x00, 0x6A, 21}, {"FB Level", 0x00, 0x6C, 25},
    {"Delay Offset", 0x00, 0x6E, 8}, {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27},
    {"EQ HiFreq", 0x00, 0x76, 6}, {"EQ HiGain", 0x00, 0x78, 27}, {"LFO Phase", 0x01, 0x02, 30},
};

constexpr SlotDef VarSymphonic[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"LFO Depth", 0x00, 0x6A, 21}, {"Delay Offset", 0x00, 0x6C, 8},
    {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27}, {"EQ HiFreq", 0x00, 0x76, 6},
    {"EQ HiGain", 0x00, 0x78, 27},
};

constexpr SlotDef VarPhaser1[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"LFO Depth", 0x00, 0x6A, 21}, {"Phase Shift", 0x00, 0x6C, 21},
    {"FB Level", 0x00, 0x6E, 25}, {"Stage", 0x00, 0x7C, 31}, {"Diffuse", 0x00, 0x7E, 29},
    {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27}, {"EQ HiFreq", 0x00, 0x76, 6},
    {"EQ HiGain", 0x00, 0x78, 27},
};

constexpr SlotDef VarPhaser2[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"LFO Depth", 0x00, 0x6A, 21}, {"Phase Shift", 0x00, 0x6C, 21},
    {"FB Level", 0x00, 0x6E, 25}, {"Stage", 0x00, 0x7C, 32}, {"LFO Phase", 0x01, 0x00, 30},
    {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27}, {"EQ HiFreq", 0x00, 0x76, 6},
    {"EQ HiGain", 0x00, 0x78, 27},
};

constexpr SlotDef VarEnsDetune[] = {
    {"Detune", 0x00, 0x68, 39}, {"InitDelayL", 0x00, 0x6A, 8}, {"InitDelayR", 0x00, 0x6C, 8},
    {"EQ LowFreq", 0x00, 0x7C, 5}, {"EQ LowGain", 0x00, 0x7E, 27}, {"EQ HiFreq", 0x01, 0x00, 6},
    {"EQ HiGain", 0x01, 0x02, 27},
};

constexpr SlotDef VarRotarySP[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"LFO Depth", 0x00, 0x6A, 21}, {"EQ LowFreq", 0x00, 0x72, 5},
    {"EQ LowGain", 0x00, 0x74, 27}, {"EQ HiFreq", 0x00, 0x76, 6}, {"EQ HiGain", 0x00, 0x78, 27},
};

constexpr SlotDef VarTremolo[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"AM Depth", 0x00, 0x6A, 21}, {"PM Depth", 0x00, 0x6C, 21},
    {"LFO Phase", 0x01, 0x02, 30}, {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27},
    {"EQ HiFreq", 0x00, 0x76, 6}, {"EQ HiGain", 0x00, 0x78, 27}, {"Mode", 0x01, 0x04, 29},
};

constexpr SlotDef VarAutoPan[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"L/R Depth", 0x00, 0x6A, 21}, {"F/R Depth", 0x00, 0x6C, 21},
    {"Pan Dir", 0x00, 0x6E, 9}, {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27},
    {"EQ HiFreq", 0x00, 0x76, 6}, {"EQ HiGain", 0x00, 0x78, 27},
};

constexpr SlotDef VarAutoWah[] = {
    {"LFO Freq", 0x00, 0x68, 7}, {"LFO Depth", 0x00, 0x6A, 21}, {"Cutoff Freq", 0x00, 0x6C, 21},
    {"Resonance", 0x00, 0x6E, 33}, {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27},
    {"EQ HiFreq", 0x00, 0x76, 6}, {"EQ HiGain", 0x00, 0x78, 27},
};

constexpr SlotDef VarTouchWah[] = {
    {"Sensitivty", 0x00, 0x68, 21}, {"Cutoff Freq", 0x00, 0x6A, 21}, {"Resonance", 0x00, 0x6C, 33},
    {"EQ LowFreq", 0x00, 0x72, 5}, {"EQ LowGain", 0x00, 0x74, 27}, {"EQ HiFreq", 0x00, 0x76, 6},
    {"EQ HiGain", 0x00, 0x78, 27},
};

constexpr SlotDef Var3BandEQ[] = {
    {"Low Freq", 0x00, 0x72, 34}, {"Low Gain", 0x00, 0x68, 27}, {"Mid Freq", 0x00, 0x6A, 10},
    {"Mid Gain", 0x00, 0x6C, 27}, {"Mid Q", 0x00, 0x6E, 33}, {"High Freq", 0x00, 0x74, 6},
    {"High Gain", 0x00, 0x70, 27}, {"Mode", 0x01, 0x04, 29},
};

constexpr SlotDef VarHMEnhncer[] = {
    {"HPF Cutoff", 0x00, 0x68, 6}, {"Drive", 0x00, 0x6A, 21}, {"Mix Level", 0x00, 0x6C, 21},
};

constexpr SlotDef VarNoiseGate[] = {
    {"Attack", 0x00, 0x68, 11}, {"Release", 0x00, 0x6A, 12}, {"Threshold", 0x00, 0x6C, 36},
    {"OutputLevel", 0x00, 0x6E, 21},
};

constexpr SlotDef VarCompressor[] = {
    {"Attack", 0x00, 0x68, 11}, {"Release", 0x00, 0x6A, 12}, {"Threshold", 0x00, 0x6C, 37},
    {"Ratio", 0x00, 0x6E, 13}, {"OutputLevel", 0x00, 0x70, 21},
};

constexpr SlotDef VarDistortion[] = {
    {"Drive", 0x00, 0x68, 21}, {"EQ Low Freq", 0x00, 0x6A, 5}, {"EQ Low Gain", 0x00, 0x6C, 27},
    {"EQ Mid Freq", 0x00, 0x74, 10}, {"EQ Mid Gain", 0x00, 0x76, 27}, {"EQ Mid Q", 0x00, 0x78, 33},
    {"LPF Cutoff", 0x00, 0x6E, 3}, {"Edge", 0x00, 0x7C, 21}, {"OutputLevel", 0x00, 0x70, 21},
};

constexpr SlotDef VarAmpSim[] = {
    {"Drive", 0x00, 0x68, 21}, {"Amp Type", 0x00, 0x6A, 14}, {"LPF Cutoff", 0x00, 0x6C, 3},
    {"Edge", 0x00, 0x7C, 21}, {"OutputLevel", 0x00, 0x6E, 21},
};

constexpr SlotDef VarDelayLCR[] = {
    {"Lch Delay", 0x00, 0x68, 26}, {"Rch Delay", 0x00, 0x6A, 26}, {"Cch Delay", 0x00, 0x6C, 26},
    {"FB Delay", 0x00, 0x6E, 26}, {"FB Level", 0x00, 0x70, 25}, {"Cch Level", 0x00, 0x72, 21},
    {"High Damp", 0x00, 0x74, 24}, {"EQ LowFreq", 0x01, 0x00, 5}, {"EQ LowGain", 0x01, 0x02, 27},
    {"EQ HiFreq", 0x01, 0x04, 6}, {"EQ HiGain", 0x01, 0x06, 27},
};

constexpr SlotDef VarDelayLR[] = {
    {"Lch Delay", 0x00, 0x68, 26}, {"Rch Delay", 0x00, 0x6A, 26}, {"FB Delay1", 0x00, 0x6C, 26},
    {"FB Delay2", 0x00, 0x6E, 26}, {"FB Level", 0x00, 0x70, 25}, {"High Damp", 0x00, 0x72, 24},
    {"EQ LowFreq", 0x01, 0x00, 5}, {"EQ LowGain", 0x01, 0x02, 27}, {"EQ HiFreq", 0x01, 0x04, 6},
    {"EQ HiGain", 0x01, 0x06, 27},
};

constexpr SlotDef VarEcho[] = {
    {"Lch Delay1", 0x00, 0x68, 28}, {"Lch FB Lvl", 0x00, 0x6A, 25}, {"Rch Delay1", 0x00, 0x6C, 28},
    {"Rch FB Lvl", 0x00, 0x6E, 25}, {"High Damp", 0x00, 0x70, 24}, {"Lch Delay2", 0x00, 0x72, 28},
    {"Rch Delay2", 0x00, 0x74, 28}, {"Delay2 Lvl", 0x00, 0x76, 21}, {"EQ LowFreq", 0x01, 0x00, 5},
    {"EQ LowGain", 0x01, 0x02, 27}, {"EQ HiFreq", 0x01, 0x04, 6}, {"EQ HiGain", 0x01, 0x06, 27},
};

constexpr SlotDef VarCrossDelay[] = {
    {"L>R Delay", 0x00, 0x68, 28}, {"R>L Delay", 0x00, 0x6A, 28}, {"FB Level", 0x00, 0x6C, 25},
    {"InputSelect", 0x00, 0x6E, 57}, {"High Damp", 0x00, 0x70, 24}, {"EQ LowFreq", 0x01, 0x00, 5},
    {"EQ LowGain", 0x01, 0x02, 27}, {"EQ HiFreq", 0x01, 0x04, 6}, {"EQ HiGain", 0x01, 0x06, 27},
};

constexpr SlotDef VarKaraoke[] = {
    {"Delay Time", 0x00, 0x68, 16}, {"FB Level", 0x00, 0x6A, 25}, {"HPF Cutoff", 0x00, 0x6C, 2},
    {"LPF Cutoff", 0x00, 0x6E, 3},
};

constexpr SlotDef VarHall[] = {
    {"Reverb Time", 0x00, 0x68, 0}, {"Diffusion", 0x00, 0x6A, 43}, {"InitDelay", 0x00, 0x6C, 1},
    {"HPF Cutoff", 0x00, 0x6E, 2}, {"LPF Cutoff", 0x00, 0x70, 3}, {"Density", 0x00, 0x7E, 46},
    {"ER/Rev", 0x01, 0x00, 23}, {"High Damp", 0x01, 0x02, 24}, {"FB Level", 0x01, 0x04, 25},
};

constexpr TypeDef VariationTypes[] = {
    {"No Effect", {}, {63, 0}},
    {"Chorus", VarChorus, {5, 46, 91, 10, 16, 12, 22, 12, 1, 63, 0}},
    {"Celeste", VarChorus, {15, 25, 93, 102, 24, 12, 18, 12, 1, 63, 0}},
    {"Flanger", VarFlanger, {11, 30, 103, 2, 16, 12, 22, 12, 0, 63, 0}},
    {"Symphonic", VarSymphonic, {10, 40, 0, 18, 12, 22, 12, 63, 0}},
    {"Phaser1", VarPhaser1, {20, 111, 76, 114, 2, 1, 19, 12, 22, 12, 63, 0}},
    {"Phaser2", VarPhaser2, {2, 127, 25, 114, 2, 0, 16, 12, 21, 12, 63, 0}},
    {"Ens Detune", VarEnsDetune, {20, 10, 30, 18, 12, 20, 12, 63, 0}},
    {"Rotary SP", VarRotarySP, {51, 76, 18, 12, 20, 12, 63, 0}},
    {"Tremolo", VarTremolo, {84, 60, 20, 60, 19, 12, 12, 12, 0, 63, 0}},
    {"Auto Pan", VarAutoPan, {76, 127, 32, 5, 17, 12, 18, 24, 63, 0}},
    {"Auto Wah", VarAutoWah, {28, 66, 33, 28, 19, 12, 20, 12, 63, 0}},
    {"Touch Wah", VarTouchWah, {46, 28, 13, 15, 12, 20, 12, 63, 0}},
    {"3-Band EQ", Var3BandEQ, {11, 12, 20, 12, 40, 24, 12, 0, 63, 0}},
    {"HM Enhncer", VarHMEnhncer, {21, 20, 30, 63, 0}},
    {"Noise Gate", VarNoiseGate, {0, 11, 27, 50, 63, 0}},
    {"Compressor", VarCompressor, {10, 2, 20, 4, 80, 63, 0}},
    {"Distortion", VarDistortion, {60, 15, 20, 21, 22, 0, 19, 80, 48, 63, 0}},
    {"Overdrive", VarDistortion, {29, 20, 16, 22, 20, 0, 12, 104, 55, 63, 0}},
    {"Amp Sim", VarAmpSim, {76, 3, 8, 102, 55, 63, 0}},
    {"Delay LCR", VarDelayLCR, {3332, 1666, 4999, 4999, 73, 100, 2, 22, 12, 18, 12, 63, 0}},
    {"Delay L,R", VarDelayLR, {2499, 3749, 3751, 3749, 86, 2, 22, 12, 18, 12, 63, 0}},
    {"Echo", VarEcho, {2199, 85, 2099, 84, 4, 2299, 2349, 62, 19, 6, 22, 11, 63, 0}},
    {"Cross Delay", VarCrossDelay, {3649, 3649, 87, 1, 4, 21, 12, 22, 10, 63, 0}},
    {"Karaoke", VarKaraoke, {63, 96, 0, 14, 63, 0}},
    {"Hall", VarHall, {18, 10, 8, 13, 15, 2, 49, 7, 63, 63, 0}},
    {"Room", VarHall, {5, 10, 16, 4, 15, 2, 63, 7, 63, 63, 0}},
    {"Stage", VarHall, {19, 10, 16, 7, 20, 2, 63, 5, 63, 63, 0}},
    {"Plate", VarHall, {25, 10, 6, 8, 15, 2, 63, 4, 63, 63, 0}},
};

// ---- Insertion block ----

constexpr SlotDef InsertionTrailing[] = {
    {"Ins Pan", 0x01, 0x30, 22},
    {"SendIns-Rev", 0x01, 0x31, 21},
    {"SendIns-Var", 0x01, 0x32, 21},
    {"InsDryLevel", 0x01, 0x33, 21},
};

constexpr SlotDef InsChorus[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"LFO Depth", 0x01, 0x0A, 21}, {"FB Level", 0x01, 0x0C, 25},
    {"Delay Offset", 0x01, 0x0E, 8}, {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27},
    {"EQ MidFreq", 0x01, 0x1C, 10}, {"EQ MidGain", 0x01, 0x1E, 27}, {"EQ Mid Q", 0x01, 0x20, 33},
    {"EQ HiFreq", 0x01, 0x16, 6}, {"EQ HiGain", 0x01, 0x18, 27}, {"Mode", 0x01, 0x24, 29},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsFlanger[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"LFO Depth", 0x01, 0x0A, 21}, {"FB Level", 0x01, 0x0C, 25},
    {"Delay Offset", 0x01, 0x0E, 8}, {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27},
    {"EQ MidFreq", 0x01, 0x1C, 10}, {"EQ MidGain", 0x01, 0x1E, 27}, {"EQ Mid Q", 0x01, 0x20, 33},
    {"EQ HiFreq", 0x01, 0x16, 6}, {"EQ HiGain", 0x01, 0x18, 27}, {"LFO Phase", 0x01, 0x22, 30},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsSymphonic[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"LFO Depth", 0x01, 0x0A, 21}, {"Delay Offset", 0x01, 0x0C, 8},
    {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27}, {"EQ MidFreq", 0x01, 0x1C, 10},
    {"EQ MidGain", 0x01, 0x1E, 27}, {"EQ Mid Q", 0x01, 0x20, 33}, {"EQ HiFreq", 0x01, 0x16, 6},
    {"EQ HiGain", 0x01, 0x18, 27}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsPhaser1[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"LFO Depth", 0x01, 0x0A, 21}, {"Phase Shift", 0x01, 0x0C, 21},
    {"FB Level", 0x01, 0x0E, 25}, {"Stage", 0x01, 0x1C, 48}, {"Diffuse", 0x01, 0x1E, 29},
    {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27}, {"EQ HiFreq", 0x01, 0x16, 6},
    {"EQ HiGain", 0x01, 0x18, 27}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsPhaser2[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"LFO Depth", 0x01, 0x0A, 21}, {"Phase Shift", 0x01, 0x0C, 21},
    {"FB Level", 0x01, 0x0E, 25}, {"Stage", 0x01, 0x1C, 49}, {"LFO Phase", 0x01, 0x20, 30},
    {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27}, {"EQ HiFreq", 0x01, 0x16, 6},
    {"EQ HiGain", 0x01, 0x18, 27}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsPitchChange[] = {
    {"Pitch", 0x01, 0x08, 50}, {"InitDelay", 0x01, 0x0A, 16}, {"Fine1", 0x01, 0x0C, 39},
    {"Fine2", 0x01, 0x0E, 39}, {"FB Level", 0x01, 0x10, 25}, {"Pan1", 0x01, 0x1C, 22},
    {"Out Level1", 0x01, 0x1E, 21}, {"Pan2", 0x01, 0x20, 22}, {"Out Level2", 0x01, 0x22, 21},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsEnsDetune[] = {
    {"Detune", 0x01, 0x08, 39}, {"InitDelayL", 0x01, 0x0A, 8}, {"InitDelayR", 0x01, 0x0C, 8},
    {"EQ LowFreq", 0x01, 0x1C, 5}, {"EQ LowGain", 0x01, 0x1E, 27}, {"EQ HiFreq", 0x01, 0x20, 6},
    {"EQ HiGain", 0x01, 0x22, 27}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsRotarySP[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"LFO Depth", 0x01, 0x0A, 21}, {"EQ LowFreq", 0x01, 0x12, 5},
    {"EQ LowGain", 0x01, 0x14, 27}, {"EQ MidFreq", 0x01, 0x1C, 10}, {"EQ MidGain", 0x01, 0x1E, 27},
    {"EQ Mid Q", 0x01, 0x20, 33}, {"EQ HiFreq", 0x01, 0x16, 6}, {"EQ HiGain", 0x01, 0x18, 27},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef Ins2WayRotary[] = {
    {"Rotor Speed", 0x01, 0x08, 7}, {"Drive Low", 0x01, 0x0A, 21}, {"Drive High", 0x01, 0x0C, 21},
    {"Low/High", 0x01, 0x0E, 51}, {"Mic Angle", 0x01, 0x1E, 52}, {"Cross Freq", 0x01, 0x1C, 10},
    {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27}, {"EQ HiFreq", 0x01, 0x16, 6},
    {"EQ HiGain", 0x01, 0x18, 27},
};

constexpr SlotDef InsTremolo[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"AM Depth", 0x01, 0x0A, 21}, {"PM Depth", 0x01, 0x0C, 21},
    {"LFO Phase", 0x01, 0x22, 30}, {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27},
    {"EQ MidFreq", 0x01, 0x1C, 10}, {"EQ MidGain", 0x01, 0x1E, 27}, {"EQ MidQ", 0x01, 0x20, 33},
    {"EQ HiFreq", 0x01, 0x16, 6}, {"EQ HiGain", 0x01, 0x18, 27}, {"Mode", 0x01, 0x24, 29},
};

constexpr SlotDef InsAutoPan[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"L/R Depth", 0x01, 0x0A, 21}, {"F/L Depth", 0x01, 0x0C, 21},
    {"Pan Dir", 0x01, 0x0E, 9}, {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27},
    {"EQ MidFreq", 0x01, 0x1C, 10}, {"EQ MidGain", 0x01, 0x1E, 27}, {"EQ MidQ", 0x01, 0x20, 33},
    {"EQ HiFreq", 0x01, 0x16, 6}, {"EQ HiGain", 0x01, 0x18, 27},
};

constexpr SlotDef InsAmbience[] = {
    {"Delay Time", 0x01, 0x08, 8}, {"Phase", 0x01, 0x0A, 56}, {"EQ LowFreq", 0x01, 0x12, 5},
    {"EQ LowGain", 0x01, 0x14, 27}, {"EQ HiFreq", 0x01, 0x16, 6}, {"EQ HiGain", 0x01, 0x18, 27},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsAWahDist[] = {
    {"LFO Freq", 0x01, 0x08, 7}, {"LFO Depth", 0x01, 0x0A, 21}, {"Cutoff Freq", 0x01, 0x0C, 21},
    {"Resonance", 0x01, 0x0E, 33}, {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27},
    {"EQ HiFreq", 0x01, 0x16, 6}, {"EQ HiGain", 0x01, 0x18, 27}, {"Drive", 0x01, 0x1C, 21},
    {"DS LowGain", 0x01, 0x1E, 27}, {"DS MidGain", 0x01, 0x20, 27}, {"LPF Cutoff", 0x01, 0x22, 3},
    {"Output Level", 0x01, 0x24, 21}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsTWahDist[] = {
    {"Sensitivty", 0x01, 0x08, 21}, {"Cutoff Freq", 0x01, 0x0A, 21}, {"Resonance", 0x01, 0x0C, 33},
    {"Release", 0x01, 0x26, 12}, {"EQ LowFreq", 0x01, 0x12, 5}, {"EQ LowGain", 0x01, 0x14, 27},
    {"EQ HiFreq", 0x01, 0x16, 6}, {"EQ HiGain", 0x01, 0x18, 27}, {"Drive", 0x01, 0x1C, 21},
    {"DS LowGain", 0x01, 0x1E, 27}, {"DS MidGain", 0x01, 0x20, 27}, {"LPF Cutoff", 0x01, 0x22, 3},
    {"Output Level", 0x01, 0x24, 21}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsWahDSDly[] = {
    {"Sensitivty", 0x01, 0x1C, 21}, {"Cutoff Freq", 0x01, 0x1E, 21}, {"Resonance", 0x01, 0x20, 33},
    {"Release", 0x01, 0x22, 12}, {"Drive", 0x01, 0x0E, 21}, {"Output Level", 0x01, 0x10, 21},
    {"DS LowGain", 0x01, 0x12, 27}, {"DS MidGain", 0x01, 0x14, 27}, {"Delay", 0x01, 0x08, 26},
    {"FB Level", 0x01, 0x0A, 25}, {"Delay Mix", 0x01, 0x0C, 21}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsLoFi[] = {
    {"Sample Freq", 0x01, 0x08, 17}, {"Word Length", 0x01, 0x0A, 58},
    {"Output Gain", 0x01, 0x0C, 40}, {"LPF Cutoff", 0x01, 0x0E, 18}, {"LPF Reso", 0x01, 0x12, 33},
    {"Filter", 0x01, 0x10, 19}, {"BitAssign", 0x01, 0x14, 41}, {"Emphasis", 0x01, 0x16, 42},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef Ins3BandEQ[] = {
    {"Low Freq", 0x01, 0x12, 34}, {"Low Gain", 0x01, 0x08, 27}, {"Mid Freq", 0x01, 0x0A, 10},
    {"Mid Gain", 0x01, 0x0C, 27}, {"Mid Q", 0x01, 0x0E, 33}, {"High Freq", 0x01, 0x14, 6},
    {"High Gain", 0x01, 0x10, 27}, {"Mode", 0x01, 0x24, 29},
};

constexpr SlotDef InsHMEnhncer[] = {
    {"HPF Cutoff", 0x01, 0x08, 6}, {"Drive", 0x01, 0x0A, 21}, {"Mix Level", 0x01, 0x0C, 21},
};

constexpr SlotDef InsNoiseGate[] = {
    {"Attack", 0x01, 0x08, 11}, {"Release", 0x01, 0x0A, 12}, {"Threshold", 0x01, 0x0C, 36},
    {"OutputLevel", 0x01, 0x0E, 21},
};

constexpr SlotDef InsCompressor[] = {
    {"Attack", 0x01, 0x08, 11}, {"Release", 0x01, 0x0A, 12}, {"Threshold", 0x01, 0x0C, 37},
    {"Ratio", 0x01, 0x0E, 13}, {"OutputLevel", 0x01, 0x10, 21},
};

constexpr SlotDef InsCompDist[] = {
    {"Attack", 0x01, 0x1E, 11}, {"Release", 0x01, 0x20, 12}, {"Threshold", 0x01, 0x22, 37},
    {"Ratio", 0x01, 0x24, 13}, {"Drive", 0x01, 0x08, 21}, {"EQ LowFreq", 0x01, 0x0A, 5},
    {"EQ LowGain", 0x01, 0x0C, 27}, {"EQ MidFreq", 0x01, 0x14, 10}, {"EQ MidGain", 0x01, 0x16, 27},
    {"EQ MidQ", 0x01, 0x18, 33}, {"LPF Cutoff", 0x01, 0x0E, 3}, {"Edge", 0x01, 0x1C, 21},
    {"Output Level", 0x01, 0x10, 21}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsCmpDSDly[] = {
    {"Attack", 0x01, 0x1C, 11}, {"Release", 0x01, 0x1E, 12}, {"Threshold", 0x01, 0x20, 37},
    {"Ratio", 0x01, 0x22, 13}, {"Drive", 0x01, 0x0E, 21}, {"Output Level", 0x01, 0x10, 21},
    {"DS LowGain", 0x01, 0x12, 27}, {"DS MidGain", 0x01, 0x14, 27}, {"Delay", 0x01, 0x08, 26},
    {"FB Level", 0x01, 0x0A, 25}, {"Delay Mix", 0x01, 0x0C, 21}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsDistortion[] = {
    {"Drive", 0x01, 0x08, 21}, {"EQ LowFreq", 0x01, 0x0A, 5}, {"EQ LowGain", 0x01, 0x0C, 27},
    {"EQ MidFreq", 0x01, 0x14, 10}, {"EQ MidGain", 0x01, 0x16, 27}, {"EQ MidQ", 0x01, 0x18, 33},
    {"LPF Cutoff", 0x01, 0x0E, 3}, {"Edge", 0x01, 0x1C, 21}, {"Output Level", 0x01, 0x10, 21},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsDistDelay[] = {
    {"Drive", 0x01, 0x12, 21}, {"DS LowGain", 0x01, 0x16, 27}, {"DS MidGain", 0x01, 0x18, 27},
    {"Lch Delay", 0x01, 0x08, 26}, {"Rch Delay", 0x01, 0x0A, 26}, {"FB Delay", 0x01, 0x0C, 26},
    {"FB Level", 0x01, 0x0E, 25}, {"Delay Mix", 0x01, 0x10, 21}, {"Output Level", 0x01, 0x14, 21},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsAmpSim[] = {
    {"Drive", 0x01, 0x08, 21}, {"Amp Type", 0x01, 0x0A, 14}, {"LPF Cutoff", 0x01, 0x0C, 3},
    {"Edge", 0x01, 0x1C, 21}, {"Output Level", 0x01, 0x0E, 21}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsDelayLCR[] = {
    {"Lch Delay", 0x01, 0x08, 26}, {"Rch Delay", 0x01, 0x0A, 26}, {"Cch Delay", 0x01, 0x0C, 26},
    {"FB Delay", 0x01, 0x0E, 26}, {"FB Level", 0x01, 0x10, 25}, {"Cch Level", 0x01, 0x12, 21},
    {"High Damp", 0x01, 0x14, 24}, {"EQ LowFreq", 0x01, 0x20, 5}, {"EQ LowGain", 0x01, 0x22, 27},
    {"EQ HiFreq", 0x01, 0x24, 6}, {"EQ HiGain", 0x01, 0x26, 27}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsDelayLR[] = {
    {"Lch Delay", 0x01, 0x08, 26}, {"Rch Delay", 0x01, 0x0A, 26}, {"FB Delay1", 0x01, 0x0C, 26},
    {"FB Delay2", 0x01, 0x0E, 26}, {"FB Level", 0x01, 0x10, 25}, {"High Damp", 0x01, 0x12, 24},
    {"EQ LowFreq", 0x01, 0x20, 5}, {"EQ LowGain", 0x01, 0x22, 27}, {"EQ HiFreq", 0x01, 0x24, 6},
    {"EQ HiGain", 0x01, 0x26, 27}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsEcho[] = {
    {"Lch Delay1", 0x01, 0x08, 28}, {"Lch FB Lvl", 0x01, 0x0A, 25}, {"Rch Delay1", 0x01, 0x0C, 28},
    {"Rch FB Lvl", 0x01, 0x0E, 25}, {"High Damp", 0x01, 0x10, 24}, {"Lch Delay2", 0x01, 0x12, 28},
    {"Rch Delay2", 0x01, 0x14, 28}, {"Delay2 Lvl", 0x01, 0x16, 21}, {"EQ LowFreq", 0x01, 0x20, 5},
    {"EQ LowGain", 0x01, 0x22, 27}, {"EQ HiFreq", 0x01, 0x24, 6}, {"EQ HiGain", 0x01, 0x26, 27},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsCrossDelay[] = {
    {"L>R Delay", 0x01, 0x08, 28}, {"R>L Delay", 0x01, 0x0A, 28}, {"FB Level", 0x01, 0x0C, 25},
    {"Input Select", 0x01, 0x0E, 57}, {"High Damp", 0x01, 0x10, 24}, {"EQ LowFreq", 0x01, 0x20, 5},
    {"EQ LowGain", 0x01, 0x22, 27}, {"EQ HiFreq", 0x01, 0x24, 6}, {"EQ HiGain", 0x01, 0x26, 27},
    {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsER1[] = {
    {"Early Type", 0x01, 0x08, 20}, {"Room Size", 0x01, 0x0A, 15}, {"Diffusion", 0x01, 0x0C, 43},
    {"Init Delay", 0x01, 0x0E, 1}, {"FB Level", 0x01, 0x10, 25}, {"HPF Cutoff", 0x01, 0x12, 2},
    {"LPF Cutoff", 0x01, 0x14, 3}, {"Liveness", 0x01, 0x1C, 43}, {"Density", 0x01, 0x1E, 44},
    {"High Damp", 0x01, 0x20, 24}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr SlotDef InsGateReverb[] = {
    {"Gate Type", 0x01, 0x08, 45}, {"Room Size", 0x01, 0x0A, 15}, {"Diffusion", 0x01, 0x0C, 43},
    {"Init Delay", 0x01, 0x0E, 1}, {"FB Level", 0x01, 0x10, 25}, {"HPF Cutoff", 0x01, 0x12, 2},
    {"LPF Cutoff", 0x01, 0x14, 3}, {"Liveness", 0x01, 0x1C, 43}, {"Density", 0x01, 0x1E, 44},
    {"High Damp", 0x01, 0x20, 24}, {"Dry/Wet", 0x01, 0x1A, 38},
};

constexpr TypeDef InsertionTypes[] = {
    {"Thru", {}, {63, 0, 0, 127}},
    {"Chorus", InsChorus, {6, 62, 78, 80, 18, 12, 25, 12, 0, 23, 12, 0, 63, 63, 0, 0, 127}},
    {"Celeste", InsChorus, {18, 28, 63, 10, 11, 12, 26, 10, 0, 23, 12, 0, 126, 63, 0, 0, 127}},
    {"Flanger", InsFlanger, {11, 30, 103, 2, 16, 12, 25, 12, 0, 22, 12, 0, 95, 63, 0, 0, 127}},
    {"Symphonic", InsSymphonic, {10, 40, 0, 18, 12, 32, 9, 0, 22, 12, 95, 63, 0, 0, 127}},
    {"Phaser1", InsPhaser1, {14, 92, 76, 99, 2, 1, 18, 12, 12, 12, 97, 63, 0, 0, 127}},
    {"Phaser2", InsPhaser2, {2, 127, 25, 114, 2, 0, 16, 12, 21, 12, 95, 63, 0, 0, 127}},
    {"Pitch Change", InsPitchChange, {24, 1, 65, 34, 63, 0, 125, 126, 127, 60, 63, 0, 0, 127}},
    {"Ens Detune", InsEnsDetune, {20, 10, 30, 18, 12, 20, 12, 63, 63, 0, 0, 127}},
    {"Rotary SP", InsRotarySP, {86, 71, 18, 8, 29, 0, 14, 23, 2, 126, 63, 0, 0, 127}},
    {"2WayRotary", Ins2WayRotary, {90, 89, 62, 17, 29, 17, 11, 12, 16, 12, 63, 0, 0, 127}},
    {"Tremolo", InsTremolo, {40, 112, 0, 60, 10, 12, 25, 12, 0, 23, 12, 1, 63, 0, 0, 127}},
    {"Auto Pan", InsAutoPan, {41, 80, 32, 5, 13, 12, 25, 12, 0, 22, 12, 63, 0, 0, 127}},
    {"Ambience", InsAmbience, {112, 1, 18, 12, 20, 2, 73, 63, 0, 0, 127}},
    {"A-Wah +Dist", InsAWahDist, {32, 84, 46, 24, 18, 14, 18, 12, 60, 20, 16, 18, 64, 126, 63, 0, 0, 127}},
    {"A-Wah +Odrv", InsAWahDist, {25, 64, 32, 13, 18, 14, 18, 12, 16, 16, 20, 11, 68, 126, 63, 0, 0, 127}},
    {"T-Wah +Dist", InsTWahDist, {80, 18, 35, 12, 18, 14, 18, 12, 30, 20, 22, 19, 72, 126, 63, 0, 0, 127}},
    {"T-Wah +Odrv", InsTWahDist, {61, 30, 31, 12, 18, 14, 18, 12, 15, 16, 20, 15, 72, 126, 63, 0, 0, 127}},
    {"Wah-DS-Dly", InsWahDSDly, {102, 20, 13, 7, 60, 53, 16, 20, 1899, 83, 30, 126, 63, 0, 0, 127}},
    {"Wah-OD-Dly", InsWahDSDly, {80, 35, 20, 12, 16, 87, 12, 12, 1599, 83, 50, 126, 63, 0, 0, 127}},
    {"Lo-Fi", InsLoFi, {2, 0, 3, 50, 19, 4, 1, 0, 126, 63, 0, 0, 127}},
    {"3-Band EQ", Ins3BandEQ, {11, 12, 20, 12, 40, 24, 12, 0, 63, 0, 0, 127}},
    {"HM Enhncer", InsHMEnhncer, {21, 20, 30, 63, 0, 0, 127}},
    {"Noise Gate", InsNoiseGate, {0, 11, 27, 50, 63, 0, 0, 127}},
    {"Compressor", InsCompressor, {10, 2, 20, 4, 80, 63, 0, 0, 127}},
    {"Comp + Dist", InsCompDist, {6, 2, 21, 5, 60, 18, 17, 32, 20, 0, 19, 120, 70, 126, 63, 0, 0, 127}},
    {"Cmp+DS+Dly", InsCmpDSDly, {6, 11, 16, 5, 60, 51, 16, 20, 1899, 71, 38, 126, 63, 0, 0, 127}},
    {"Cmp+OD+Dly", InsCmpDSDly, {6, 2, 16, 4, 18, 65, 16, 17, 1899, 73, 50, 126, 63, 0, 0, 127}},
    {"Distortion", InsDistortion, {60, 15, 20, 21, 22, 0, 19, 80, 65, 126, 63, 0, 0, 127}},
    {"Dist+Delay", InsDistDelay, {60, 20, 22, 499, 999, 1999, 83, 80, 42, 126, 63, 0, 0, 127}},
    {"Overdrive", InsDistortion, {29, 20, 16, 22, 20, 0, 12, 104, 80, 126, 63, 0, 0, 127}},
    {"Odrv+Delay", InsDistDelay, {25, 16, 20, 499, 999, 1999, 83, 64, 55, 126, 63, 0, 0, 127}},
    {"Amp Sim", InsAmpSim, {76, 3, 8, 102, 80, 126, 63, 0, 0, 127}},
    {"Delay LCR", InsDelayLCR, {3332, 1666, 4999, 4999, 73, 100, 2, 22, 12, 18, 12, 31, 63, 0, 0, 127}},
    {"Delay L,R", InsDelayLR, {2499, 3749, 3751, 3749, 86, 2, 22, 12, 18, 12, 31, 63, 0, 0, 127}},
    {"Echo", InsEcho, {2199, 85, 2099, 84, 4, 2299, 2349, 62, 19, 6, 22, 11, 31, 63, 0, 0, 127}},
    {"Cross Delay", InsCrossDelay, {3649, 3649, 87, 1, 4, 21, 12, 22, 10, 31, 63, 0, 0, 127}},
    {"ER 1", InsER1, {0, 25, 5, 6, 73, 0, 12, 7, 1, 9, 28, 63, 0, 0, 127}},
    {"ER 2", InsER1, {2, 12, 8, 4, 66, 0, 22, 5, 3, 9, 28, 63, 0, 0, 127}},
    {"Gate Reverb", InsGateReverb, {0, 6, 10, 0, 63, 0, 18, 5, 3, 4, 51, 63, 0, 0, 127}},
    {"Reverse Gate", InsGateReverb, {1, 15, 8, 3, 63, 0, 13, 6, 3, 9, 126, 63, 0, 0, 127}},
};

constexpr BlockDef Blocks[3] = {
    {ReverbTypes, ReverbTrailing, 0x00},
    {VariationTypes, VariationTrailing, 0x00},
    {InsertionTypes, InsertionTrailing, 0x01},
};

// Every type fits the 18 slots, and its defaults stop at its last used slot.
constexpr bool FitsRecord(const BlockDef& block)
{
    for (const TypeDef& type : block.Types) {
        const size_t count = type.Slots.size() + block.Trailing.size();
        if (count > 18) return false;
        for (size_t slot = count; slot < 18; ++slot)
            if (type.DefaultValue[slot] != 0) return false;
    }
    return true;
}
static_assert(FitsRecord(Blocks[0]) && FitsRecord(Blocks[1]) && FitsRecord(Blocks[2]));

void StoreSlot(TEFXSetup& record, size_t slot, const SlotDef& def)
{
    record.ParamName[slot] = def.Name;
    record.AddrMid[slot] = def.AddrMid;
    record.AddrLow[slot] = def.AddrLow;
    record.DisplayKind[slot] = def.Kind;
}

} // namespace

void FillEffectTypeTable(TNameTables& tables)
{
    for (size_t block = 0; block < 3; ++block) {
        const BlockDef& def = Blocks[block];
        for (size_t type = 0; type < tables.EffectTypeTable.size(); ++type) {
            TEFXSetup& record = tables.EffectTypeTable[type][block];
            record = TEFXSetup{};
            if (type >= def.Types.size()) continue; // blank record past the block's last type
            const TypeDef& typeDef = def.Types[type];
            record.Name = typeDef.Name;
            size_t slot = 0;
            for (const SlotDef& own : typeDef.Slots) StoreSlot(record, slot++, own);
            for (const SlotDef& trailing : def.Trailing) StoreSlot(record, slot++, trailing);
            record.ParamCount = static_cast<int32_t>(slot);
            for (; slot < record.AddrMid.size(); ++slot) record.AddrMid[slot] = def.BlankAddrMid;
            std::copy(typeDef.DefaultValue.begin(), typeDef.DefaultValue.end(),
                      record.DefaultValue.begin());
        }
    }
}
// clang-format on
