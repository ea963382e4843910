// Where the records of the edit buffer lie, by the block sizes of the save file's body (not by
// the program's own record types): performance common (44 bytes), four parts (200), the formant
// sequence (80), eight controller sets (28), the system block (132), the effects (276), then four
// voices (2,856) of a common block (328), eight voiced (176) and eight unvoiced (140) operators.
// Voiced and unvoiced operators are numbered voice * 8 + operator.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

inline std::size_t RecordOffset(const std::string& kind, int index)
{
    const std::size_t i = std::size_t(index);
    const std::size_t voices = 1556;
    if (kind == "common") return 0;
    if (kind == "part") return 44 + 200 * i;
    if (kind == "fseq") return 844;
    if (kind == "control") return 924 + 28 * i;
    if (kind == "system") return 1148;
    if (kind == "effect") return 1280;
    if (kind == "voice") return voices + 2856 * i;
    if (kind == "voiced") return voices + 2856 * (i / 8) + 328 + 176 * (i % 8);
    if (kind == "unvoiced") return voices + 2856 * (i / 8) + 328 + 1408 + 140 * (i % 8);
    ADD_FAILURE() << "unknown record " << kind;
    return 0;
}
