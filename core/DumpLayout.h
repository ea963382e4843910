// The instrument's bulk dumps: the frame, and the payload layouts of the performance, a voice
// and the system settings.
//
// A parameter's address is the position of its byte in the dump of its block, so one row table
// per dump (word, payload position, conversion) serves the dump builder, the dump parser and
// the data bytes of a parameter change alike.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/ParameterData.h"
#include "tables/NameTables.h"

// Frame: F0 43 0n 5E BH BL AH AM AL payload checksum F7.
inline constexpr std::size_t BulkDumpHeaderSize = 9;
inline constexpr std::size_t BulkDumpFrameSize = 11;
inline constexpr std::size_t PerformancePayloadSize = 400;
inline constexpr std::size_t VoicePayloadSize = 608;
inline constexpr std::size_t SystemPayloadSize = 76;
inline constexpr std::size_t PerformanceDumpSize = PerformancePayloadSize + BulkDumpFrameSize; // 411
inline constexpr std::size_t VoiceDumpSize = VoicePayloadSize + BulkDumpFrameSize;             // 619
inline constexpr std::size_t SystemDumpSize = SystemPayloadSize + BulkDumpFrameSize;           // 87

// Payload positions of the blocks inside the dumps.
inline constexpr int PerformancePartPosition = 0xC0; // part p at 0xC0 + 0x34 * p
inline constexpr int PerformancePartStride = 0x34;
inline constexpr int VoiceOperatorPosition = 0x70; // operator k at 0x70 + 0x3E * k
inline constexpr int VoiceOperatorStride = 0x3E;
// The instrument's system-exclusive receive switch (0 off, 1 on) in the system dump. No word of
// the edit buffer holds it: the editor keeps what the instrument sent and sends that back.
inline constexpr int SystemReceiveSwitchPosition = 0x10;

// Two's complement of the sum of bytes 4 .. length - 3, seven bits. Byte 2 is not covered,
// so the device number can be added after the checksum is written.
uint8_t BulkDumpChecksum(const uint8_t* message, std::size_t length);

// Header (device nibble 0), address and closing F7 of a dump image of `total` bytes.
void WriteBulkDumpFrame(uint8_t* image, std::size_t total, uint8_t ah, uint8_t am, uint8_t al);
// Stores the checksum once the payload is written.
void SealBulkDump(uint8_t* image, std::size_t total);
// True when the message is exactly one complete bulk dump (any device number) with this
// address and payload length, a correct checksum and the closing F7.
bool IsBulkDumpOf(const uint8_t* data, std::size_t length, std::size_t payloadLength, uint8_t ah, uint8_t am,
                  uint8_t al);

// The byte a name position travels as: the character, or a blank from the first NUL on and
// for characters outside 32..127. Name dumps and name messages share it.
uint8_t NameCharacter(const uint8_t* name, int length, int index);

// Payloads. The encoders write every position of the layout (positions without a parameter
// stay 0) and bring each word into its field first, so every byte is 7-bit. The decoders
// store what the layout carries and leave every other word alone; words that index a table or
// list (effect types and slots, algorithm, bank, fixed-frequency coarse, controller
// destinations, formant-sequence numbers, EQ frequencies) are brought into range.
void EncodePerformancePayload(const TParameterData& data, const TNameTables& tables, uint8_t* payload);
void DecodePerformancePayload(TParameterData& data, const TNameTables& tables, const uint8_t* payload);
void EncodeVoicePayload(const VoiceRecord& voice, uint8_t* payload);
void DecodeVoicePayload(VoiceRecord& voice, const uint8_t* payload);
void EncodeSystemPayload(const TParameterData& data, uint8_t* payload);
void DecodeSystemPayload(TParameterData& data, const uint8_t* payload);

// Every effect type of a block ends with the block's trailing slots (reverb pan; variation pan
// and send to reverb; insertion pan, sends to reverb and variation, dry level), whose levels the
// editor keeps from one type to the next. TrailingEffectSlots[block] is their number, and
// KeptLevelEntry[block][j] the kept level of the slot j places before the type's last: [0] reverb
// pan, [1] variation send to reverb, [2] variation pan, [3] insertion dry level, [4] send to
// variation, [5] send to reverb, [6] insertion pan.
inline constexpr int TrailingEffectSlots[3] = {1, 2, 4};
inline constexpr int KeptLevelEntry[3][4] = {{0}, {1, 2}, {3, 4, 5, 6}};

// The trailing effect slots of the current types copied into the kept levels.
void KeepTrailingEffectLevels(const PfmEffect& effect, const TNameTables& tables, std::array<int32_t, 7>& kept);

// The data bytes of the parameter change at an address (AH with the part or voice added, AM
// with the operator), taken from the edit buffer through the dump layouts: DH 0 and DL the
// byte for a one-byte parameter, both bytes of a two-byte one. A packed byte comes whole,
// from the current values of all its words. Empty for an address no parameter lives at.
struct ParameterBytes {
    uint8_t DH = 0;
    uint8_t DL = 0;
};
std::optional<ParameterBytes> ParameterChangeData(const TParameterData& data, const TNameTables& tables, uint8_t ah,
                                                  uint8_t am, uint8_t al);

// What the dump layouts say of one word: the address of its parameter change and how the word
// travels. Every message takes a parameter's address and conversion from here (the word send of
// TMainData), so that a message and the dump agree by construction.
enum class TFieldForm : uint8_t {
    Byte,    // word + Arg
    Reverse, // Arg - word (the vertical envelope sliders)
    Bits,    // word in Width bits at bit Arg of a byte it shares with other words
    Wide14,  // word + Arg as two 7-bit bytes, high first (DH DL)
    Other,   // a conversion of its own (names, channels, portamento, formant sequence, ...)
};
struct TDumpField {
    uint8_t AH = 0, AM = 0, AL = 0;
    TFieldForm Form = TFieldForm::Byte;
    int Arg = 0;
    int Width = 0;
    bool TwoByte = false; // the message carries DH DL
    int Lo = 0, Hi = -1;  // the range the word is brought into first, when Hi >= Lo
};
// A word of the performance, part, formant-sequence, controller-set, effect-type, return or EQ
// blocks, or of the system block, by its byte offset in TParameterData: part p's words give
// 30+p 00 AL. A word that travels in another word's field (the portamento mode, the
// formant-sequence numbers and speeds) gives that field; the second byte of a pair of bytes gives
// the pair's address. Empty for a word no parameter change carries (effect slots follow their
// type, see ParameterChangeData; words the dump alone carries).
std::optional<TDumpField> PerformanceFieldOf(std::size_t offsetInParameterData);
// A word of a voice, by its byte offset in VoiceRecord: common words give 40 00 AL, operator k's
// words 60 k AL (voice 1); a voiced resonance gives the field it shares with the bandwidth.
std::optional<TDumpField> VoiceFieldOf(std::size_t offsetInVoiceRecord);

// The parameter change that carries a word, from the words as they stand in `words`: the field's
// address (part and operator in AH and AM; voice 1) and its data bytes converted as the dump
// converts them. A byte the word shares with other words (the dump layout's bit rows: packed
// operator bytes, formant-sequence switch masks, controller-set switch masks) is built whole from
// those words. Empty where PerformanceFieldOf / VoiceFieldOf are.
struct TWordChange {
    uint8_t AH = 0, AM = 0, AL = 0;
    ParameterBytes Data;
};
std::optional<TWordChange> PerformanceWordChange(const TParameterData& words, std::size_t offsetInParameterData);
std::optional<TWordChange> VoiceWordChange(const VoiceRecord& words, std::size_t offsetInVoiceRecord);

// Every parameter change the dump rows carry, once per row that starts one: its address (every
// part; voice 1, every operator) and the place of the row's word (in TParameterData, or in
// VoiceRecord for a voice row).
struct TLayoutParameter {
    uint8_t AH = 0, AM = 0, AL = 0;
    bool Voice = false;
    std::size_t Word = 0;
};
std::vector<TLayoutParameter> LayoutParameters();
// The data bytes of a value through a one-word field's conversion (Byte, Reverse, Wide14; a Bits
// field gives the value in place, without its partners). Every byte is brought into 0..7F.
ParameterBytes FieldBytes(const TDumpField& field, int32_t value);

// What a word's field carries back: the values for which the row's conversion brings nothing into
// range, so that building the field and reading it back gives the value again. A word that
// travels in one mode only (the other speed or sequence number, a bandwidth under a resonant
// form) counts as carried: a change of mode sends it.
struct TWordRange {
    int32_t Lo = 0;
    int32_t Hi = -1;
    bool Holds(int32_t v) const { return Lo <= v && v <= Hi; }
};
// Every word a row of the performance, system and voice dumps carries (each voice's), by its byte
// offset in TParameterData, with what the row carries back; a word that travels in several rows
// comes once for each.
void ForEachCarriedWord(const std::function<void(std::size_t offset, TWordRange range)>& visit);
// What the rows of the three effect blocks' current types carry back in their slots, 18 to a
// block; empty for a slot past its type.
using EffectSlotRanges = std::array<std::optional<TWordRange>, 3 * 18>;
EffectSlotRanges UsedEffectSlotRanges(const PfmEffect& effect, const TNameTables& tables);
