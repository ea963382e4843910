// Formant-sequence files (.syx): one formant-sequence bulk dump of the instrument as raw
// system-exclusive bytes, F0 43 0n 5E, byte count, address (60 edit buffer, 61 internal memory)
// 00 nn, the sequence, checksum, F7. The first 41 bytes are its header, of which this program
// reads the name, the playing settings, the size code and the end step, and which it re-addresses
// for the edit buffer or an internal memory. Multi-byte numbers are 7-bit pairs, high first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One internal formant-sequence memory of the instrument as the editor remembers it: the
// settings of the sequence written there (or those of the first preset sequence while it is free).
struct FseqMemorySlot {
    int32_t LoopStart;
    int32_t LoopEnd;
    int32_t LoopMode;
    int32_t SpeedVel;
    int32_t Pitch;
    int32_t LevelVel;
    int32_t StartDelay;
    int32_t EndStep;
};

inline constexpr std::size_t FseqHeaderSize = 41;
inline constexpr std::size_t FseqNameOffset = 9; // eight characters, 0 after a shorter name
inline constexpr std::size_t FseqNameLength = 8;
inline constexpr std::size_t FseqSizeCodeOffset = 36;
inline constexpr uint8_t FseqEditBufferAddress = 0x60;
inline constexpr uint8_t FseqMemoryAddress = 0x61;
// The size code says how many internal memories the sequence fills beyond its first (0..3), and
// with it the size class of the file: codes 0 and 1 at most 16,384 bytes, codes 2 and 3 from
// 16,385 to 32,768 bytes.
inline constexpr int FseqLargestSizeCode = 3;
inline constexpr std::size_t FseqSmallClassLargest = 16384;
inline constexpr std::size_t FseqFileLargest = 32768;

// A file whose header is whole and whose size lies in the class of its size code (0..3).
bool FseqFileFitsItsClass(const std::vector<uint8_t>& file);

enum class TFseqFileCheck {
    Sound,           // one whole formant-sequence dump of the size its code says
    SizeCodeUnknown, // framed as one, but its size code is above 3, so its size class is unknown
    Damaged,         // anything else
};
// Before a file's bytes change or go to the instrument: at least the header, the checksum and F7
// (43 bytes) and at most 32,768; F0 43 0n 5E; address high 60 or 61 and address mid 00 (the
// instrument takes no other sequence address); F7 last and every byte between below 80; and, for
// a size code of 0..3, a size in its class.
TFseqFileCheck CheckFseqFile(const std::vector<uint8_t>& file);

// Header fields of a file of at least the header's size.
int FseqSizeCode(const std::vector<uint8_t>& file);
// Bytes 9..16 up to the first 0 byte, as stored (a trailing blank stays).
std::string FseqName(const std::vector<uint8_t>& file);
FseqMemorySlot FseqSettings(const std::vector<uint8_t>& file);

// Addresses the dump to internal memory `memory` (0..5), or to the edit buffer when there is none,
// and writes its checksum again; the rest stays as it is.
void AddressFseqDump(std::vector<uint8_t>& file, std::optional<int> memory);

// The whole file at `path`; nothing when it cannot be read or is larger than any sequence file.
std::optional<std::vector<uint8_t>> ReadFseqFile(const std::string& path);
