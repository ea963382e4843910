// The three bulk dumps byte for byte against the instrument's dump layouts, written out apart from
// the program in tests/core/data (dump_layouts.py writes the fillings and the payloads they must
// give). Every carried field of the performance (its formant-sequence settings, controller sets,
// effects and EQ, four parts), of one voice and of the system block takes values that tell it
// from every other field, so two positions swapped in a layout change a payload.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/core/BufferRecords.h"
#include "tests/support/RecordingMainData.h"

namespace {

struct SetRow {
    std::string Form, Record;
    int Index = 0, At = 0;
    std::vector<int32_t> Values;
};
struct PayloadRow {
    int Filling = 0;
    std::string Dump;
    std::vector<uint8_t> Bytes;
};

std::vector<uint8_t> FromHex(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST(DumpLayout, EveryFieldLandsAtItsPositionInThePerformanceVoiceAndSystemDumps)
{
    std::ifstream in(std::string(QM_CORE_DATA) + "/dump_layouts.tsv");
    ASSERT_TRUE(in);
    std::vector<SetRow> sets;
    std::vector<PayloadRow> payloads;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream cells(line);
        std::string kind;
        cells >> kind;
        if (kind == "set") {
            SetRow r;
            cells >> r.Form >> r.Record >> r.Index >> r.At;
            for (int32_t v; cells >> v;) r.Values.push_back(v);
            sets.push_back(r);
        } else {
            PayloadRow r;
            std::string hex;
            cells >> r.Filling >> r.Dump >> hex;
            r.Bytes = FromHex(hex);
            payloads.push_back(r);
        }
    }
    ASSERT_GT(sets.size(), 1000u);
    ASSERT_EQ(payloads.size(), 13u * 3);

    for (const PayloadRow& expected : payloads) {
        SCOPED_TRACE("filling " + std::to_string(expected.Filling) + ", " + expected.Dump + " dump");
        RecordingMainData main;
        uint8_t* buffer = main.ParameterData.Bytes();
        for (const SetRow& s : sets) {
            uint8_t* at = buffer + RecordOffset(s.Record, s.Index);
            const int32_t v = s.Values.at(std::size_t(expected.Filling));
            if (s.Form == "byte")
                at[s.At] = uint8_t(v);
            else
                std::memcpy(at + 4 * s.At, &v, 4);
        }
        const uint8_t* image = nullptr;
        std::size_t length = 0;
        if (expected.Dump == "performance") {
            main.BuildPerformanceDump(DumpPerformance, 0);
            image = main.PerformanceDumpBuffer.data(), length = main.PerformanceDumpBuffer.size();
        } else if (expected.Dump == "voice") {
            main.BuildVoiceDump(2, 0);
            image = main.VoiceDumpBuffer.data(), length = main.VoiceDumpBuffer.size();
        } else {
            main.BuildSystemDump();
            image = main.SystemDumpBuffer.data(), length = main.SystemDumpBuffer.size();
        }
        ASSERT_EQ(length, expected.Bytes.size() + 11);
        std::string wrong;
        int count = 0;
        for (std::size_t i = 0; i < expected.Bytes.size(); ++i) {
            if (image[9 + i] == expected.Bytes[i]) continue;
            if (++count <= 20) {
                char text[64];
                std::snprintf(text, sizeof text, "position %02zX: expected %02X, got %02X\n", i, expected.Bytes[i],
                              image[9 + i]);
                wrong += text;
            }
        }
        EXPECT_EQ(count, 0) << wrong;
    }
}

} // namespace
