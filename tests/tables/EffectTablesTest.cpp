// The effect type table and the effect display kinds.
#include "tests/tables/Catalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

const TNameTables& T = Catalogue();

constexpr int Reverb = 0, Variation = 1, Insertion = 2;

// The block's trailing slots: name, AddrLow (AddrMid is 01), display kind, default.
struct Trailing {
    const char* Name;
    uint8_t AddrLow;
    int32_t Kind;
    int32_t Default;
};
const std::vector<Trailing> TrailingSlots[3] = {
    {{"Reverb Pan", 0x29, 22, 63}},
    {{"Var Pan", 0x2C, 22, 63}, {"SendVar-Rev", 0x2E, 21, 0}},
    {{"Ins Pan", 0x30, 22, 63},
     {"SendIns-Rev", 0x31, 21, 0},
     {"SendIns-Var", 0x32, 21, 0},
     {"InsDryLevel", 0x33, 21, 127}},
};

TEST(EffectTypeTable, NamesAndCountsOfEveryType)
{
    const char* names[3] = {
        "No Effect|Hall1|Hall2|Room1|Room2|Room3|Stage1|Stage2|Plate|White Room|Tunnel|Basement|"
        "Canyon|Delay LCR|Delay L,R|Echo|Cross Delay",
        "No Effect|Chorus|Celeste|Flanger|Symphonic|Phaser1|Phaser2|Ens Detune|Rotary SP|"
        "Tremolo|Auto Pan|Auto Wah|Touch Wah|3-Band EQ|HM Enhncer|Noise Gate|Compressor|"
        "Distortion|Overdrive|Amp Sim|Delay LCR|Delay L,R|Echo|Cross Delay|Karaoke|Hall|Room|"
        "Stage|Plate",
        "Thru|Chorus|Celeste|Flanger|Symphonic|Phaser1|Phaser2|Pitch Change|Ens Detune|"
        "Rotary SP|2WayRotary|Tremolo|Auto Pan|Ambience|A-Wah +Dist|A-Wah +Odrv|T-Wah +Dist|"
        "T-Wah +Odrv|Wah-DS-Dly|Wah-OD-Dly|Lo-Fi|3-Band EQ|HM Enhncer|Noise Gate|Compressor|"
        "Comp + Dist|Cmp+DS+Dly|Cmp+OD+Dly|Distortion|Dist+Delay|Overdrive|Odrv+Delay|Amp Sim|"
        "Delay LCR|Delay L,R|Echo|Cross Delay|ER 1|ER 2|Gate Reverb|Reverse Gate",
    };
    const char* counts[3] = {
        "1 11 11 11 11 11 11 11 11 15 15 15 15 12 11 13 10",
        "2 11 11 11 9 12 12 9 8 11 10 10 9 10 5 6 7 11 11 7 13 12 14 11 6 11 11 11 11",
        "4 17 17 17 15 15 15 14 12 14 14 16 15 11 18 18 18 18 16 16 13 12 7 8 9 18 16 16 14 14 "
        "14 14 10 16 15 17 14 15 15 15 15",
    };
    for (int block = 0; block < 3; ++block) {
        const int last = EffectTypeCount[block] - 1;
        std::string joined;
        for (int type = 0; type <= last; ++type) joined += (type ? "|" : "") + T.EffectTypeTable[type][block].Name;
        EXPECT_EQ(joined, names[block]);
        EXPECT_EQ(
            JoinTexts(0, last, [block](int type) { return std::to_string(T.EffectTypeTable[type][block].ParamCount); }),
            counts[block]);
    }
}

TEST(EffectTypeTable, BlankRecordsAndBlankSlots)
{
    for (int block = 0; block < 3; ++block) {
        for (int type = 0; type < 41; ++type) {
            const TEFXSetup& record = T.EffectTypeTable[type][block];
            const bool exists = type < EffectTypeCount[block];
            SCOPED_TRACE(testing::Message() << "block " << block << " type " << type);
            EXPECT_EQ(record.Name.empty(), !exists);
            EXPECT_EQ(record.ParamCount == 0, !exists);
            for (int slot = record.ParamCount; slot < 18; ++slot) {
                EXPECT_EQ(record.ParamName[slot], "");
                EXPECT_EQ(record.DisplayKind[slot], 0);
                EXPECT_EQ(record.DefaultValue[slot], 0);
                EXPECT_EQ(record.AddrLow[slot], 0);
                // Unused insertion slots still carry the insertion block's middle address.
                EXPECT_EQ(record.AddrMid[slot], exists && block == Insertion ? 1 : 0);
            }
        }
    }
}

TEST(EffectTypeTable, EveryTypeEndsWithItsBlocksTrailingSlots)
{
    for (int block = 0; block < 3; ++block) {
        const auto& trailing = TrailingSlots[block];
        for (int type = 0; type < EffectTypeCount[block]; ++type) {
            const TEFXSetup& record = T.EffectTypeTable[type][block];
            const int first = record.ParamCount - static_cast<int>(trailing.size());
            ASSERT_GE(first, 0);
            if (type == 0) {
                EXPECT_EQ(first, 0); // the empty effect has nothing else
            }
            for (size_t i = 0; i < trailing.size(); ++i) {
                const int slot = first + static_cast<int>(i);
                SCOPED_TRACE(testing::Message() << record.Name << " slot " << slot);
                EXPECT_EQ(record.ParamName[slot], trailing[i].Name);
                EXPECT_EQ(record.AddrMid[slot], 1);
                EXPECT_EQ(record.AddrLow[slot], trailing[i].AddrLow);
                EXPECT_EQ(record.DisplayKind[slot], trailing[i].Kind);
                EXPECT_EQ(record.DefaultValue[slot], trailing[i].Default);
            }
        }
    }
}

TEST(EffectTypeTable, AddressesKindsAndDefaultsOfUsedSlots)
{
    for (int block = 0; block < 3; ++block) {
        const int trailing = static_cast<int>(TrailingSlots[block].size());
        for (int type = 0; type < EffectTypeCount[block]; ++type) {
            const TEFXSetup& record = T.EffectTypeTable[type][block];
            std::set<int> addresses;
            for (int slot = 0; slot < record.ParamCount; ++slot) {
                SCOPED_TRACE(testing::Message() << record.Name << " slot " << slot);
                const int kind = record.DisplayKind[slot];
                const int address = record.AddrMid[slot] * 128 + record.AddrLow[slot];
                EXPECT_TRUE(addresses.insert(address).second) << "address used twice";
                EXPECT_FALSE(record.ParamName[slot].empty());
                ASSERT_GE(kind, 0);
                ASSERT_LE(kind, 58);
                EXPECT_NE(kind, 35); // kind 35 belongs to no type
                EXPECT_GE(record.DefaultValue[slot], 0);
                EXPECT_LE(record.DefaultValue[slot], T.EffectKindMax[kind]);
                if (slot >= record.ParamCount - trailing) continue;
                // Each block's own parameters lie in its own address range.
                if (block == Reverb) {
                    EXPECT_TRUE(address >= 0x50 && address <= 0x67);
                } else if (block == Variation) {
                    EXPECT_TRUE((address >= 0x68 && address <= 0x7E) || (address >= 0x80 && address <= 0x86));
                } else {
                    EXPECT_TRUE(address >= 0x88 && address <= 0xA6);
                }
            }
        }
    }
}

TEST(EffectTypeTable, TypesOfOneLayoutDifferOnlyInNameAndDefaults)
{
    const std::vector<std::vector<int>> shared[3] = {
        {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12}},
        {{1, 2}, {17, 18}, {25, 26, 27, 28}},
        {{1, 2}, {14, 15}, {16, 17}, {18, 19}, {26, 27}, {28, 30}, {29, 31}, {37, 38}, {39, 40}},
    };
    for (int block = 0; block < 3; ++block) {
        for (const auto& group : shared[block]) {
            const TEFXSetup& a = T.EffectTypeTable[group[0]][block];
            for (int type : group) {
                const TEFXSetup& b = T.EffectTypeTable[type][block];
                SCOPED_TRACE(b.Name);
                EXPECT_EQ(a.ParamCount, b.ParamCount);
                EXPECT_EQ(a.ParamName, b.ParamName);
                EXPECT_EQ(a.AddrMid, b.AddrMid);
                EXPECT_EQ(a.AddrLow, b.AddrLow);
                EXPECT_EQ(a.DisplayKind, b.DisplayKind);
            }
        }
    }
}

TEST(EffectTypeTable, TellingRecords)
{
    // The same type name in two blocks, with each block's addresses.
    const TEFXSetup& varChorus = T.EffectTypeTable[1][Variation];
    const TEFXSetup& insChorus = T.EffectTypeTable[1][Insertion];
    EXPECT_EQ(varChorus.ParamName[0], "LFO Freq");
    EXPECT_EQ(varChorus.AddrMid[0] * 256 + varChorus.AddrLow[0], 0x0068);
    EXPECT_EQ(insChorus.ParamName[0], "LFO Freq");
    EXPECT_EQ(insChorus.AddrMid[0] * 256 + insChorus.AddrLow[0], 0x0108);

    const TEFXSetup& canyon = T.EffectTypeTable[12][Reverb];
    EXPECT_EQ(JoinTexts(0, 14, [&](int s) { return std::to_string(canyon.DefaultValue[s]); }),
              "59 6 63 0 11 34 62 91 13 11 4 71 3 99 63");
    EXPECT_EQ(canyon.ParamName[7], "Depth");
    EXPECT_EQ(canyon.DisplayKind[7], 4);

    const TEFXSetup& echo = T.EffectTypeTable[22][Variation];
    EXPECT_EQ(echo.DefaultValue[0], 2199);
    EXPECT_EQ(echo.DisplayKind[0], 28);

    const TEFXSetup& compDist = T.EffectTypeTable[25][Insertion];
    EXPECT_EQ(JoinTexts(0, 17, [&](int s) { return std::to_string(compDist.DefaultValue[s]); }),
              "6 2 21 5 60 18 17 32 20 0 19 120 70 126 63 0 0 127");
    EXPECT_EQ(compDist.AddrLow[0], 0x1E);
    EXPECT_EQ(compDist.AddrLow[4], 0x08);

    const TEFXSetup& loFi = T.EffectTypeTable[20][Insertion];
    EXPECT_EQ(JoinTexts(0, 7, [&](int s) { return std::to_string(loFi.DisplayKind[s]); }), "17 58 40 18 33 19 41 42");
}

TEST(EffectTypeTable, TwoWayRotaryStartsAtTheInstrumentsDefaults)
{
    const TEFXSetup& rotary = T.EffectTypeTable[10][Insertion];
    auto shown = [&](int slot) { return T.EffectValueText[rotary.DefaultValue[slot]][rotary.DisplayKind[slot]]; };
    EXPECT_EQ(rotary.ParamName[0], "Rotor Speed");
    EXPECT_EQ(rotary.DefaultValue[0], 90);
    EXPECT_EQ(shown(0), "6.958");
    EXPECT_EQ(rotary.ParamName[3], "Low/High");
    EXPECT_EQ(rotary.DefaultValue[3], 17);
    EXPECT_EQ(shown(3), "L46>H");
    EXPECT_EQ(rotary.ParamName[4], "Mic Angle");
    EXPECT_EQ(rotary.DefaultValue[4], 29);
    EXPECT_EQ(shown(4), "87");
    EXPECT_EQ(rotary.ParamName[5], "Cross Freq");
    EXPECT_EQ(rotary.DefaultValue[5], 17);
    EXPECT_EQ(shown(5), "700");
    // The other slots keep their values.
    EXPECT_EQ(JoinTexts(0, 13, [&](int s) { return std::to_string(rotary.DefaultValue[s]); }),
              "90 89 62 17 29 17 11 12 16 12 63 0 0 127");
}

// ---- display kinds ----

TEST(EffectKinds, MaximaStepsAndOffsets)
{
    auto all = [](const auto& table) {
        return JoinTexts(0, 58, [&](int kind) { return std::to_string(table[kind]); });
    };
    EXPECT_EQ(all(T.EffectKindMax),
              "69 127 52 26 104 36 30 127 127 5 40 19 15 7 3 127 127 127 50 5 5 127 126 126 9 126 "
              "13649 24 6819 1 120 6 2 110 32 13 42 42 126 100 42 6 1 10 3 1 4 30 8 3 48 126 60 "
              "63 37 73 1 2 126");
    EXPECT_EQ(all(T.EffectKindPageStep),
              "8 10 5 4 10 4 5 10 10 1 5 4 3 1 1 10 10 10 5 1 1 10 10 10 2 10 100 4 100 1 10 1 1 "
              "10 4 2 4 4 10 10 4 1 1 2 1 1 1 5 2 1 4 10 6 8 5 8 1 1 10");
    EXPECT_EQ(all(T.EffectValueOffset),
              "0 0 0 34 0 4 28 0 0 0 14 0 52 0 0 0 0 0 10 0 0 0 1 1 1 1 1 52 1 0 4 4 3 10 8 28 55 "
              "79 1 14 0 0 0 0 0 0 0 0 4 3 40 1 0 0 0 0 0 0 1");
}

const std::string& Text(int position, int kind) { return T.EffectValueText[position][kind]; }

TEST(EffectKinds, TextsCoverEachRangeExceptTheLongDelays)
{
    for (int kind = 0; kind < 59; ++kind) {
        // Kind 35 (used by no effect type) borrows the EQ low frequencies from 500 Hz on;
        // they end at 2.0k on position 12, one short of its maximum.
        const int lastText = kind == 35 ? 12 : T.EffectKindMax[kind];
        for (int position = 0; position < 128; ++position) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " position " << position);
            if (kind == 26 || kind == 28) {
                EXPECT_EQ(Text(position, kind), "");
            } else if (position <= lastText) {
                EXPECT_NE(Text(position, kind), "");
            }
        }
    }
    // Where each list ends.
    EXPECT_EQ(Text(69, 0), "30.0");
    EXPECT_EQ(Text(70, 0), "");
    EXPECT_EQ(Text(104, 4), "30.2");
    EXPECT_EQ(Text(105, 4), "");
    EXPECT_EQ(Text(19, 11), "40");
    EXPECT_EQ(Text(15, 12), "680");
    EXPECT_EQ(Text(127, 21), "127");
    for (int kind : {41, 43, 44, 46, 47}) EXPECT_EQ(Text(127, kind), "127"); // beyond the maximum
    EXPECT_EQ(Text(127, 22), "");
}

// The value a text stands for: "1.2k" is 1200; "thru" is none.
double ValueOf(const std::string& text)
{
    const double number = std::atof(text.c_str());
    return !text.empty() && text.back() == 'k' ? number * 1000 : number;
}

TEST(EffectKinds, ListedValuesRunInOneDirection)
{
    // A slipped entry in a literal list breaks its order.
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15, 16, 17, 18}) {
        const bool falling = kind == 17;
        for (int position = 1; position <= T.EffectKindMax[kind]; ++position) {
            if (Text(position, kind) == "thru" || Text(position - 1, kind) == "thru") continue;
            const double before = ValueOf(Text(position - 1, kind));
            const double now = ValueOf(Text(position, kind));
            EXPECT_TRUE(falling ? now < before : now > before)
                << "kind " << kind << " at " << position << ": " << Text(position, kind);
        }
    }
    EXPECT_EQ(Text(38, 7), "1.740"); // between 1.694 and 1.785, steps of about 0.046
    EXPECT_EQ(Text(127, 7), "43.21");
    EXPECT_EQ(Text(127, 1), "200.0");
    EXPECT_EQ(Text(127, 8), "50.0");
    EXPECT_EQ(Text(127, 15), "20.0");
    EXPECT_EQ(Text(127, 16), "400.0");
}

TEST(EffectKinds, FrequencyKinds)
{
    auto list = [](int kind) { return JoinTexts(0, T.EffectKindMax[kind], [kind](int p) { return Text(p, kind); }); };
    // The EQ page's low, mid and high band frequencies.
    EXPECT_EQ(list(5), "32 36 40 45 50 56 63 70 80 90 100 110 125 140 160 180 200 225 250 280 315 "
                       "355 400 450 500 560 630 700 800 900 1.0k 1.1k 1.2k 1.4k 1.6k 1.8k 2.0k");
    // The mid and high bands run in one direction (checked above); their ends:
    EXPECT_EQ(Text(0, 10) + " " + Text(40, 10), "100 10.0k");
    EXPECT_EQ(Text(0, 6) + " " + Text(30, 6), "500 16.0k");
    EXPECT_EQ(Text(0, 2), "thru");
    EXPECT_EQ(Text(1, 2), "22");
    EXPECT_EQ(Text(52, 2), "8.0k");
    EXPECT_EQ(Text(0, 3), "1.0k");
    EXPECT_EQ(Text(26, 3), "thru");
    EXPECT_EQ(Text(0, 18), "63");
    EXPECT_EQ(Text(50, 18), "thru");
    EXPECT_EQ(Text(0, 34), "50");
    EXPECT_EQ(Text(32, 34), "2.0k");
    EXPECT_EQ(Text(0, 35), "500");
    EXPECT_EQ(Text(12, 35), "2.0k");
    EXPECT_EQ(Text(13, 35), "");

    // Sample frequency: one decimal from 10k, two below, whole numbers under 1k.
    EXPECT_EQ(Text(0, 17), "48.0k");
    EXPECT_EQ(Text(3, 17), "12.0k");
    EXPECT_EQ(Text(4, 17), "9.60k");
    EXPECT_EQ(Text(47, 17), "1.00k");
    EXPECT_EQ(Text(48, 17), "980");
    EXPECT_EQ(Text(127, 17), "375");
}

TEST(EffectKinds, BalancesAroundTheCentre)
{
    // Each side's ends, the centre, and where one digit becomes two.
    auto texts = [](int kind, std::initializer_list<int> positions) {
        std::string joined;
        for (int p : positions) joined += "[" + Text(p, kind) + "]";
        return joined;
    };
    EXPECT_EQ(texts(22, {0, 53, 54, 62, 63, 64, 72, 73, 126}), "[L63][L10][L 9][L 1][ C ][R 1][R 9][R10][R63]");
    EXPECT_EQ(texts(23, {0, 54, 63, 64, 126}), "[E63>R][E 9>R][E=R][E<R 1][E<R63]");
    EXPECT_EQ(texts(38, {53, 63, 73}), "[D10>W][D=W][D<W10]");
    EXPECT_EQ(texts(51, {62, 63, 72}), "[L 1>H][L=H][L<H 9]");
    for (int kind : {22, 23, 38, 51}) EXPECT_EQ(Text(127, kind), "");
}

TEST(EffectKinds, NumbersFromThePosition)
{
    EXPECT_EQ(Text(0, 30), "-180");
    EXPECT_EQ(Text(60, 30), "+0");
    EXPECT_EQ(Text(61, 30), "+3");
    EXPECT_EQ(Text(0, 40), "-6");
    EXPECT_EQ(Text(6, 40), "+0");
    EXPECT_EQ(Text(42, 40), "+36");
    EXPECT_EQ(Text(0, 25), "-63");
    EXPECT_EQ(Text(126, 25), "+63");
    EXPECT_EQ(Text(12, 27), "+0");
    EXPECT_EQ(Text(100, 39), "+50");
    EXPECT_EQ(Text(0, 50), "-24");
    EXPECT_EQ(Text(9, 24), "1.0");
    EXPECT_EQ(Text(5, 33), "1.5");
    EXPECT_EQ(Text(110, 33), "12.0");
    EXPECT_EQ(Text(0, 36), "-72");
    EXPECT_EQ(Text(42, 36), "-30");
    EXPECT_EQ(Text(42, 37), "-6");
    EXPECT_EQ(Text(6, 31), "10");
    EXPECT_EQ(Text(7, 31), "");
    EXPECT_EQ(Text(2, 32), "5");
    EXPECT_EQ(Text(123, 48), "127");
    EXPECT_EQ(Text(124, 49), "127");
    EXPECT_EQ(Text(127, 58), "128");
    EXPECT_EQ(Text(60, 52), "180");
    EXPECT_EQ(Text(0, 9), "L<->R");
    EXPECT_EQ(Text(7, 13), "20.0");
    EXPECT_EQ(Text(2, 57), "L&R");
}

TEST(EffectKinds, BorrowedListsStopAtTheirOwnMaxima)
{
    for (int position = 0; position < 128; ++position) {
        EXPECT_EQ(Text(position, 53), Text(position, 1));
        EXPECT_EQ(Text(position, 54), Text(position, 4));
        EXPECT_EQ(Text(position, 55), Text(position, 4));
    }
    // Their maxima (63, 37, 73) are in the maxima row above.
}

} // namespace
