// Every initial word of the edit buffer against the instrument editor's initial data, written out
// in tests/core/data/initial_values.tsv. The records are found by the block sizes of the save
// file's body, not by the program's own record types.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/RecordingMainData.h"

namespace {

// Byte offset of record `index` of a kind in the edit buffer: performance common (44 bytes),
// four parts (200), the formant sequence (80), eight controller sets (28), the system block
// (132), the effects (276), then four voices (2,856) of a common block (328), eight voiced
// (176) and eight unvoiced (140) operators.
std::size_t RecordOffset(const std::string& kind, int index)
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

TEST(InitialValues, EveryWordOfTheInitialEditBufferAndTheKeptLevels)
{
    RecordingMainData main;
    const uint8_t* bytes = main.ParameterData.Bytes();
    std::ifstream in(std::string(QM_CORE_DATA) + "/initial_values.tsv");
    ASSERT_TRUE(in);
    std::vector<std::string> differences;
    int checked = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream cells(line);
        std::string form, kind, text;
        int index = 0, at = 0;
        cells >> form >> kind >> index >> at;
        const std::string where = form + " " + kind + " " + std::to_string(index) + " at " + std::to_string(at);
        ++checked;
        if (kind == "kept") {
            int32_t value = 0;
            cells >> value;
            if (main.EffectKeptLevels[std::size_t(at)] != value)
                differences.push_back(where + ": " + std::to_string(main.EffectKeptLevels[std::size_t(at)]));
            continue;
        }
        const uint8_t* record = bytes + RecordOffset(kind, index);
        if (form == "word") {
            int32_t expected = 0, actual = 0;
            cells >> expected;
            std::memcpy(&actual, record + 4 * at, 4);
            if (actual != expected)
                differences.push_back(where + ": expected " + std::to_string(expected) + ", got " + std::to_string(actual));
        } else if (form == "byte") {
            int expected = 0;
            cells >> expected;
            if (record[at] != expected)
                differences.push_back(where + ": expected " + std::to_string(expected) + ", got " + std::to_string(record[at]));
        } else {
            std::getline(cells >> std::ws, text);
            const std::string actual(reinterpret_cast<const char*>(record + at), text.size() + 1);
            if (actual != text + '\0') differences.push_back(where + ": \"" + actual + "\"");
        }
    }
    EXPECT_GT(checked, 3000);
    std::string all;
    for (std::size_t i = 0; i < differences.size() && i < 40; ++i) all += differences[i] + "\n";
    EXPECT_TRUE(differences.empty()) << differences.size() << " differences:\n" << all;
}

} // namespace
