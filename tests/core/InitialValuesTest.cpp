// Every initial word of the edit buffer against the instrument editor's initial data, written out
// in tests/core/data/initial_values.tsv.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/core/BufferRecords.h"
#include "tests/support/RecordingMainData.h"

namespace {

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
                differences.push_back(where + ": expected " + std::to_string(expected) + ", got " +
                                      std::to_string(actual));
        } else if (form == "byte") {
            int expected = 0;
            cells >> expected;
            if (record[at] != expected)
                differences.push_back(where + ": expected " + std::to_string(expected) + ", got " +
                                      std::to_string(record[at]));
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
