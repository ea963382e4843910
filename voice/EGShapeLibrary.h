// The envelope-shape library file (.eg), little-endian, exactly EGShapeFileSize bytes:
//   0   16  EGShapeMagic: "QuillmarvenEG" and a NUL (bytes 14 and 15 carry nothing)
//   16   4  version, 100
//   20   4  count: the shapes in the list when the file was written, 0..128
//   24      128 records of 52 bytes: the name (12 bytes: up to 10 characters of 8-bit text and a
//           NUL; byte 11 carries nothing) and the ten values of EGShapeRecord, int32 each.
// All 128 records are written, those past the count with whatever the table holds there; a
// reader takes only the first count.
#pragma once

#include "tables/NameTables.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

inline constexpr char EGShapeMagic[14] = "QuillmarvenEG";
inline constexpr int32_t EGShapeVersion = 100;
inline constexpr int EGShapeCapacity = 128;
inline constexpr std::size_t EGShapeRecordSize = 52;
inline constexpr std::size_t EGShapeHeaderSize = 24;
inline constexpr std::size_t EGShapeFileSize = EGShapeHeaderSize + EGShapeCapacity * EGShapeRecordSize;
static_assert(EGShapeFileSize == 6680);

using EGShapeTableType = std::array<EGShapeRecord, EGShapeCapacity>;

// The file image of a table whose first `count` entries are the shapes of the list.
std::vector<uint8_t> WriteEGShapeFile(const EGShapeTableType& table, int count);

// The shapes of a file image, in order; nothing unless it is a whole library file: exactly
// EGShapeFileSize bytes, the magic up to its NUL, version 100 and a count of 0..128. Each name
// keeps its first 10 bytes up to the first NUL, the rest of its 12 bytes zero.
std::optional<std::vector<EGShapeRecord>> ReadEGShapeFile(const uint8_t* data, std::size_t size);
