// The instrument's short system-exclusive messages: the parameter change (group 1) and the
// dump request (group 2), and the prepared copies every sender starts from.
//
// Every prepared message holds device number 0 in the low four bits of byte 2; the send path
// adds the device number to byte 2 of its own copy, so a buffer may be sent again and again
// and each message on the wire carries the number exactly once.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/DumpLayout.h"

// F0 43 1n 5E AH AM AL DH DL F7
using ParameterChangeMessage = std::array<uint8_t, 10>;
// F0 43 2n 5E AH AM AL F7
using DumpRequestMessage = std::array<uint8_t, 8>;

inline constexpr ParameterChangeMessage PerformanceNameCharacterTemplate{0xF0, 0x43, 0x10, 0x5E, 0x10,
                                                                         0x00, 0x00, 0x00, 0x20, 0xF7};
inline constexpr ParameterChangeMessage VoiceNameCharacterTemplate{0xF0, 0x43, 0x10, 0x5E, 0x40,
                                                                   0x00, 0x00, 0x00, 0x20, 0xF7};
// Paste of a voice into a part whose bank is off sets the bank to Int; its undo sets it back.
inline constexpr ParameterChangeMessage BankToInternalTemplate{0xF0, 0x43, 0x10, 0x5E, 0x30,
                                                               0x00, 0x01, 0x00, 0x01, 0xF7};
inline constexpr ParameterChangeMessage BankBackToOffTemplate{0xF0, 0x43, 0x10, 0x5E, 0x30,
                                                              0x00, 0x01, 0x00, 0x00, 0xF7};
// Effect slots take AM and AL from the effect type table.
inline constexpr ParameterChangeMessage EffectParameterTemplate{0xF0, 0x43, 0x10, 0x5E, 0x10,
                                                                0x00, 0x00, 0x00, 0x00, 0xF7};

// Performance, voice (single request), voice (receive-all), system.
inline constexpr std::array<DumpRequestMessage, 4> DumpRequestTemplates{{
    {0xF0, 0x43, 0x20, 0x5E, 0x10, 0x00, 0x00, 0xF7},
    {0xF0, 0x43, 0x20, 0x5E, 0x40, 0x00, 0x00, 0xF7},
    {0xF0, 0x43, 0x20, 0x5E, 0x40, 0x00, 0x00, 0xF7},
    {0xF0, 0x43, 0x20, 0x5E, 0x00, 0x00, 0x00, 0xF7},
}};

// ReceiveTarget values: which block a pending request asked for.
inline constexpr int32_t ReceivePerformance = 4;
inline constexpr int32_t ReceiveSystem = 9;

// The prepared parameter changes, one per address of the dump rows that starts a parameter change,
// with the address of part 1, voice 1 and operator 1 (and of every part for the words the effect
// page and the part-mute buttons show for all four) and data 00 00; the fixed-use entries above
// are among them.
const std::vector<ParameterChangeMessage>& ParameterChangeTemplates();

// The entry for an address of part 1 / voice 1 / operator 1 (AH 00, 10, 30..33, 40 or 60);
// throws std::invalid_argument for an address no entry exists for.
const ParameterChangeMessage& ParameterChangeTemplate(uint8_t ah, uint8_t am, uint8_t al);

// The road every sender takes: a copy of the entry with the part or voice added to AH, the
// operator added to AM and the data bytes written: DH 0 and DL the value for a one-byte
// parameter, DH value >> 7 and DL value & 7F for a two-byte one (values brought into 7 or 14
// bits, so a message never carries a byte above 7F).
ParameterChangeMessage ComposeParameterChange(const ParameterChangeMessage& entry, int partOrVoice, int op,
                                              int32_t value, bool twoBytes = false);
ParameterChangeMessage ComposeParameterChange(const ParameterChangeMessage& entry, int partOrVoice, int op,
                                              ParameterBytes data);

// The parameter change of effect slot `slot` (0..17) of block `block` (reverb, variation,
// insertion) at slider position `position`, for the block's stored type (brought into the block's
// types): its address and display kind from the effect type table, the value the position plus
// the kind's offset (kinds 26 and 28: the position + 1 in two bytes; the release time of slot 1,
// kind 12: the bare position).
ParameterChangeMessage EffectSlotChange(const TNameTables& tables, const PfmEffect& effect, int block, int slot,
                                        int position);

// The request for a ReceiveTarget: 0..3 the voice of part 1..4, 4 the performance, 9 the system.
DumpRequestMessage DumpRequestFor(int32_t receiveTarget);

// True when the bytes are nothing but whole system-exclusive messages, one after another: each
// F0, data bytes below 80 hex, F7. Files that are relayed or converted must be such a stream,
// or the instrument would read a stray status byte inside a message as the start of another.
bool IsSystemExclusiveStream(const uint8_t* data, std::size_t length);

// Addresses every message of such a stream that is the instrument maker's (F0 43) to device
// `device` (0..15): the low four bits of its byte 2; the high four, the kind of message, stay.
// Other makers' messages, and one too short to have a byte 2, are left as they are.
void AddressStreamToDevice(uint8_t* data, std::size_t length, int device);
