// Every catalogue table in full against the instrument's tables, written out as data files beside
// this test (tests/tables/data): every voice name of every bank, the listed fixed-frequency texts,
// the preset tables, the destination names, every effect type with its slots and defaults, and
// the display kinds with their ranges and listed texts; then the rules the data leaves open (the
// computed fixed-frequency texts, the blank slots, a catalogue filled twice).
#include "tables/NameTables.h"
#include "tests/support/CatalogueRows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One filled catalogue (filling it is what InitNameTables does at start).
const TNameTables& T = []() -> const TNameTables& {
    static const auto filled = [] {
        auto tables = std::make_unique<TNameTables>();
        InitNameTables(*tables);
        return tables;
    }();
    return *filled;
}();

using Row = CatalogueRow;

int Int(const std::string& s) { return std::stoi(s, nullptr, 10); }
int Hex(const std::string& s) { return std::stoi(s, nullptr, 16); }

// Differences, collected so that one wrong entry shows as one line, not as a flood.
class Differences {
public:
    template <class A, class B>
    void Check(const A& expected, const B& actual, const std::string& where)
    {
        ++checked;
        if (expected == actual) return;
        std::ostringstream s;
        s << where << ": expected \"" << expected << "\", got \"" << actual << "\"";
        lines.push_back(s.str());
    }
    void Expect(std::size_t atLeast) const
    {
        EXPECT_GE(checked, atLeast);
        std::string all;
        for (std::size_t i = 0; i < lines.size() && i < 40; ++i) all += lines[i] + "\n";
        EXPECT_TRUE(lines.empty()) << lines.size() << " differences:\n" << all;
    }

private:
    std::vector<std::string> lines;
    std::size_t checked = 0;
};

std::string At(const char* what, int a, int b = -1)
{
    return std::string(what) + "[" + std::to_string(a) + (b >= 0 ? "][" + std::to_string(b) : "") + "]";
}

TEST(TableData, EveryVoiceNameOfEveryBank)
{
    Differences d;
    const auto rows = CatalogueRows("voice_names.tsv");
    ASSERT_EQ(rows.size(), 128u * 13);
    for (const Row& r : rows)
        d.Check(r[2], T.VoiceNameTable[Int(r[1])][Int(r[0])], At("bank column, program", Int(r[0]), Int(r[1])));
    d.Expect(128 * 13);
}

TEST(TableData, ListedFixedFrequencyTextsExactly)
{
    Differences d;
    const auto rows = CatalogueRows("fixed_freq.tsv");
    ASSERT_EQ(rows.size(), 105u);
    for (const Row& r : rows)
        d.Check(r[2], T.FixedFreqText[Int(r[0])][Int(r[1]) - 1], At("fine, coarse", Int(r[0]), Int(r[1])));
    d.Expect(105);
}

TEST(TableData, PresetTables)
{
    Differences d;
    const auto presets = CatalogueRows("fseq_presets.tsv");
    ASSERT_EQ(presets.size(), 90u);
    for (const Row& r : presets) {
        const int row = Int(r[0]);
        d.Check(r[1], std::string(FseqPresetNames[row]), At("preset name", row));
        for (int f = 0; f < 6; ++f) d.Check(Int(r[2 + f]), T.FseqPresetInfo[row][f], At("preset", row, f));
    }
    const auto att = CatalogueRows("op_att_enable.tsv");
    ASSERT_EQ(att.size(), 88u);
    for (const Row& r : att)
        for (int op = 0; op < 8; ++op)
            d.Check(Int(r[1 + op]), T.AlgorithmOpAttEnable[Int(r[0]) - 1][op],
                    At("algorithm, operator", Int(r[0]), op + 1));
    const auto shapes = CatalogueRows("eg_shapes.tsv");
    ASSERT_EQ(shapes.size(), 23u);
    for (const Row& r : shapes) {
        const EGShapeRecord& shape = T.EGShapeTable[Int(r[0])];
        d.Check(r[1], std::string(shape.Name.data()), At("shape name", Int(r[0])));
        for (int v = 0; v < 10; ++v) d.Check(Int(r[2 + v]), shape.Value[v], At("shape value", Int(r[0]), v));
    }
    for (int e = 23; e < 128; ++e) {
        d.Check(std::string(), std::string(T.EGShapeTable[e].Name.data()), At("empty shape", e));
        for (int v = 0; v < 10; ++v) d.Check(0, T.EGShapeTable[e].Value[v], At("empty shape value", e, v));
    }
    d.Expect(90 * 7 + 88 * 8 + 23 * 11);
}

TEST(TableData, DestinationNames)
{
    Differences d;
    const auto common = CatalogueRows("control_destinations.tsv");
    ASSERT_EQ(common.size(), 33u);
    for (const Row& r : common) {
        d.Check(r[2], T.ControlDestinationText[Int(r[0])], At("common destination", Int(r[0])));
        d.Check(Int(r[1]), Int(r[0]) + 15, At("list item of common destination", Int(r[0])));
    }
    const auto insertion = CatalogueRows("insertion_destinations.tsv");
    ASSERT_EQ(insertion.size(), 41u);
    for (const Row& r : insertion)
        for (int k = 0; k < 14; ++k)
            d.Check(r[1 + k], T.InsertionDestinationText[Int(r[0])][k],
                    At("insertion type, destination", Int(r[0]), k));
    d.Expect(33 + 41 * 14);
}

TEST(TableData, EveryEffectTypeWithItsSlotsRangesAndDefaults)
{
    Differences d;
    std::vector<int> kindMax(59);
    for (const Row& r : CatalogueRows("effect_kinds.tsv")) kindMax[Int(r[0])] = Int(r[1]);
    const auto types = CatalogueRows("effect_types.tsv");
    ASSERT_EQ(types.size(), 17u + 29 + 41);
    int seen[3] = {};
    for (const Row& r : types) {
        const int block = Int(r[0]), type = Int(r[1]), count = Int(r[3]);
        ++seen[block];
        const TEFXSetup& e = T.EffectTypeTable[type][block];
        const std::string at = "block " + r[0] + " type " + r[1];
        d.Check(r[2], e.Name, at + " name");
        d.Check(count, e.ParamCount, at + " count");
        ASSERT_EQ(int(r.size()), 4 + count) << at;
        for (int i = 0; i < 18; ++i) {
            const std::string slot = at + " slot " + std::to_string(i);
            if (i >= count) {
                d.Check(std::string(), e.ParamName[i], slot + " name (blank)");
                d.Check(0, e.DefaultValue[i], slot + " default (blank)");
                d.Check(0, e.DisplayKind[i], slot + " kind (blank)");
                d.Check(0, int(e.AddrLow[i]), slot + " AddrLow (blank)");
                // Unused insertion slots still carry the insertion block's middle address.
                d.Check(block == 2 ? 1 : 0, int(e.AddrMid[i]), slot + " AddrMid (blank)");
                continue;
            }
            const auto s = SplitCells(r[4 + i], '|');
            d.Check(s[0], e.ParamName[i], slot + " name");
            d.Check(Hex(s[1]), int(e.AddrMid[i]), slot + " AddrMid");
            d.Check(Hex(s[2]), int(e.AddrLow[i]), slot + " AddrLow");
            d.Check(Int(s[3]), e.DisplayKind[i], slot + " kind");
            d.Check(Int(s[4]), e.DefaultValue[i], slot + " default");
            // The slider of the slot runs 0 .. the kind's maximum, and the default lies in it.
            d.Check(true, Int(s[4]) >= 0 && Int(s[4]) <= kindMax[Int(s[3])], slot + " default within its kind");
        }
    }
    EXPECT_EQ(seen[0], 17);
    EXPECT_EQ(seen[1], 29);
    EXPECT_EQ(seen[2], 41);
    for (int block = 0; block < 2; ++block)
        for (int type = EffectTypeCount[block]; type < 41; ++type) {
            d.Check(std::string(), T.EffectTypeTable[type][block].Name, At("blank record, block", type, block));
            d.Check(0, T.EffectTypeTable[type][block].ParamCount, At("blank record count, block", type, block));
        }
    d.Expect(87 * 2);
}

TEST(TableData, DisplayKindsRangesStepsOffsetsAndListedTexts)
{
    Differences d;
    const auto kinds = CatalogueRows("effect_kinds.tsv");
    ASSERT_EQ(kinds.size(), 59u);
    for (const Row& r : kinds) {
        const int k = Int(r[0]);
        d.Check(Int(r[1]), T.EffectKindMax[k], At("maximum of kind", k));
        d.Check(Int(r[2]), T.EffectKindPageStep[k], At("page step of kind", k));
        d.Check(Int(r[3]), int(T.EffectValueOffset[k]), At("offset of kind", k));
    }
    const auto texts = CatalogueRows("effect_value_texts.tsv");
    ASSERT_EQ(texts.size(), 59u * 128 - 1);
    for (const Row& r : texts)
        d.Check(r[2], T.EffectValueText[Int(r[1])][Int(r[0])], At("kind, position", Int(r[0]), Int(r[1])));
    d.Expect(59 * 3 + 59 * 128 - 1);
    // The one text the data leaves out: between 1.694 and 1.785, in steps of about 0.046.
    EXPECT_EQ(T.EffectValueText[38][7], "1.740");
}

// The texts the data does not list follow the rule: four significant digits (five from 10 kHz),
// rising with fine and with coarse.
TEST(TableData, EveryFixedFrequencyTextHasItsDecimalsAndRises)
{
    for (int fine = 0; fine < 128; ++fine) {
        for (int coarse = 1; coarse <= 21; ++coarse) {
            const std::string& text = T.FixedFreqText[fine][coarse - 1];
            SCOPED_TRACE(text);
            const double hz = std::atof(text.c_str());
            const auto point = text.find('.');
            const int decimals = point == std::string::npos ? 0 : int(text.size() - point - 1);
            EXPECT_EQ(decimals, hz < 10 ? 3 : hz < 100 ? 2 : hz < 1000 ? 1 : 0);
            if (fine > 0) {
                EXPECT_GE(hz, std::atof(T.FixedFreqText[fine - 1][coarse - 1].c_str()));
            }
            if (coarse > 1) {
                EXPECT_GT(hz, std::atof(T.FixedFreqText[fine][coarse - 2].c_str()));
            }
        }
    }
}

TEST(TableData, FillingAUsedCatalogueRewritesEveryEntry)
{
    auto tables = std::make_unique<TNameTables>();
    tables->EffectValueText[127][26] = "stale";
    tables->EffectTypeTable[40][0].Name = "stale";
    tables->EffectTypeTable[40][0].ParamCount = 3;
    tables->EGShapeTable[100].Value[0] = 7;
    std::strcpy(tables->EGShapeTable[100].Name.data(), "stale");
    InitNameTables(*tables);
    EXPECT_EQ(tables->EffectValueText[127][26], "");
    EXPECT_EQ(tables->EffectTypeTable[40][0].Name, "");
    EXPECT_EQ(tables->EffectTypeTable[40][0].ParamCount, 0);
    EXPECT_EQ(tables->EGShapeTable[100].Value[0], 0);
    EXPECT_EQ(tables->EGShapeTable[100].Name[0], '\0');
    EXPECT_EQ(tables->VoiceNameTable, T.VoiceNameTable);
    EXPECT_EQ(tables->EffectValueText, T.EffectValueText);
}

} // namespace
