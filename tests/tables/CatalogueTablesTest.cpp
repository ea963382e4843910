// Voice names, fixed frequencies, formant-sequence presets, operator attenuation enables,
// envelope shapes and controller destinations.
#include "tests/tables/Catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace {

const TNameTables& T = Catalogue();

TEST(VoiceNameTable, FirstAndLastOfEveryPresetBankAndTheInternalBanks)
{
    // A lost or doubled name in a bank shifts its last entry.
    const char* first[11] = {"Pf:Ballad EP", "Et:BagPipe",    "Pf:FortePno 1", "Pf:Harpsi 8",
                             "Cp:DumBells",  "Gt:DX-AcstGt1", "Ba:BassNovo",   "Br:DX-Trpt 3",
                             "Et:Ukabanjo",  "Co:Orch Chime", "Fx:MM-Shock 1"};
    const char* last[11] = {"Fx:Spiral",   "--:FseqBase14", "Pf:Harpsi 7",  "Cp:Digi Log",
                            "Or:Buzzharp", "Ba:Nharmonik",  "Br:DX-Trpt 2", "Et:Tenjiku",
                            "Co:Mrmb+Gtr", "Fx:Ri-zer",     "Se:Screamy"};
    for (int bank = 0; bank < 11; ++bank) {
        EXPECT_EQ(T.VoiceNameTable[0][bank], std::string("001 ") + first[bank]) << bank;
        EXPECT_EQ(T.VoiceNameTable[127][bank], std::string("128 ") + last[bank]) << bank;
    }
    EXPECT_EQ(T.VoiceNameTable[45][5], "046 Gt:DX-ClGt 10");
    EXPECT_EQ(T.VoiceNameTable[125][10], "126 Se:Help me !");

    // Column 11 (any memory mode but 1) lists 128 internal voices, column 12 (mode 1) only 64.
    for (int program = 0; program < 128; ++program) {
        const std::string number = T.VoiceNameTable[program][0].substr(0, 4);
        EXPECT_EQ(T.VoiceNameTable[program][11], number + "--:Internal Voice");
        EXPECT_EQ(T.VoiceNameTable[program][12], number + (program < 64 ? "--:Internal Voice" : "--:**********"));
    }
    EXPECT_EQ(T.VoiceNameTable[64][12], "065 --:**********");
}

TEST(VoiceNameTable, EveryPresetEntryIsNumberCategoryAndName)
{
    const std::set<std::string> codes = {"--", "Pf", "Cp", "Or", "Gt", "Ba", "St", "En", "Br", "Rd", "Pi", "Ld",
                                         "Pd", "Fx", "Et", "Pc", "Se", "Dr", "Sc", "Vo", "Co", "Sq"}; // all but "Wv"
    std::set<std::string> used;
    for (int program = 0; program < 128; ++program) {
        char number[4];
        std::snprintf(number, sizeof number, "%03d", program + 1);
        for (int bank = 0; bank < 11; ++bank) {
            const std::string& entry = T.VoiceNameTable[program][bank];
            SCOPED_TRACE(entry);
            ASSERT_GE(entry.size(), 8u);
            EXPECT_EQ(entry.substr(0, 4), std::string(number) + " ");
            EXPECT_EQ(entry[6], ':');
            EXPECT_LE(entry.size() - 7, 10u);
            EXPECT_TRUE(codes.count(entry.substr(4, 2)));
            used.insert(entry.substr(4, 2));
        }
    }
    EXPECT_EQ(used, codes);
}

// Reads a frequency text as a count of units of its last digit, with the number of decimals.
std::pair<long, int> Units(const std::string& text)
{
    const auto point = text.find('.');
    if (point == std::string::npos) return {std::atol(text.c_str()), 0};
    std::string digits = text;
    digits.erase(point, 1);
    return {std::atol(digits.c_str()), static_cast<int>(text.size() - point - 1)};
}

TEST(FixedFreqText, EdgesAndFormat)
{
    EXPECT_EQ(T.FixedFreqText[0][0], "0.013");    // fine 0, coarse 1: the smallest
    EXPECT_EQ(T.FixedFreqText[127][20], "28024"); // fine 127, coarse 21: the largest
    EXPECT_EQ(T.FixedFreqText[32][16], "1047");   // 1000 Hz and more: no decimal point
    EXPECT_EQ(T.FixedFreqText[0][13], "110.0");   // 100 .. 999.9: one decimal

    // Four significant digits (five from 10 kHz), rising with fine and with coarse.
    for (int fine = 0; fine < 128; ++fine) {
        for (int coarse = 1; coarse <= 21; ++coarse) {
            const std::string& text = T.FixedFreqText[fine][coarse - 1];
            SCOPED_TRACE(text);
            const double hz = std::atof(text.c_str());
            const int decimals = Units(text).second;
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

TEST(FixedFreqText, TellingRowsWithinOneUnitOfTheLastDigit)
{
    const struct {
        int Fine;
        const char* Texts;
    } rows[] = {
        {0, "0.013 0.026 0.053 0.107 0.215 0.429 0.859 1.719 3.439 6.879 13.75 27.51 55.03 110.0 "
            "220.1 440.2 880.5 1761 3522 7044 14088"},
        {32, "0.016 0.032 0.063 0.127 0.255 0.511 1.022 2.045 4.090 8.180 16.36 32.72 65.44 130.8 "
             "261.7 523.5 1047 2094 4188 8376 16754"},
        {64, "0.019 0.038 0.076 0.152 0.304 0.608 1.216 2.432 4.864 9.728 19.45 38.91 77.82 155.6 "
             "311.3 622.6 1245 2490 4980 9961 19924"},
        {96, "0.022 0.045 0.090 0.180 0.361 0.723 1.446 2.892 5.784 11.56 23.13 46.27 92.55 185.1 "
             "370.2 740.4 1480 2961 5923 11847 23693"},
        {127, "0.026 0.053 0.106 0.213 0.427 0.855 1.710 3.420 6.841 13.68 27.36 54.73 109.4 218.9 "
              "437.8 875.7 1751 3503 7006 14012 28024"},
    };
    for (const auto& row : rows) {
        std::string texts = row.Texts;
        size_t start = 0;
        for (int coarse = 1; coarse <= 21; ++coarse) {
            const size_t end = texts.find(' ', start);
            const std::string expected = texts.substr(start, end - start);
            start = end + 1;
            const auto want = Units(expected);
            const auto got = Units(T.FixedFreqText[row.Fine][coarse - 1]);
            SCOPED_TRACE(testing::Message() << "fine " << row.Fine << " coarse " << coarse);
            EXPECT_EQ(got.second, want.second);
            EXPECT_LE(std::labs(got.first - want.first), 1);
        }
    }
}

TEST(FseqPresets, NamesAndTellingRows)
{
    EXPECT_STREQ(FseqPresetNames[0], "01: ShoobyDo");
    EXPECT_STREQ(FseqPresetNames[15], "16:YAMAHAFS"); // stored without the blank
    EXPECT_STREQ(FseqPresetNames[20], "21: Oiauo");
    EXPECT_STREQ(FseqPresetNames[89], "90: PSYAMAHA");
    for (int i = 0; i < 90; ++i) {
        char number[4];
        std::snprintf(number, sizeof number, "%02d:", i + 1);
        EXPECT_EQ(std::strncmp(FseqPresetNames[i], number, 3), 0) << FseqPresetNames[i];
    }

    using Row = std::array<int32_t, 6>;
    EXPECT_EQ(T.FseqPresetInfo[0], (Row{0, 0, 0, 0, 498, 504}));
    EXPECT_EQ(T.FseqPresetInfo[6], (Row{0, 0, 0, 0, 507, 510}));
    EXPECT_EQ(T.FseqPresetInfo[20], (Row{1, 0, 1, 127, 5, 127})); // loop start above loop end
    EXPECT_EQ(T.FseqPresetInfo[37], (Row{0, 2, 0, 0, 114, 127}));
    EXPECT_EQ(T.FseqPresetInfo[88], (Row{1, 0, 0, 1, 111, 127}));
    EXPECT_EQ(T.FseqPresetInfo[89], (Row{0, 0, 0, 127, 127, 127}));

    for (const Row& row : T.FseqPresetInfo) {
        EXPECT_TRUE(row[0] == 0 || row[0] == 1);
        EXPECT_TRUE(row[1] == 0 || row[1] == 2);
        EXPECT_TRUE(row[2] == 0 || row[2] == 1);
        EXPECT_LE(row[3], row[5]);
        EXPECT_LE(row[4], row[5]);
        EXPECT_GE(row[5], 77);
        EXPECT_LE(row[5], 511);
    }
}

TEST(AlgorithmOpAttEnable, TellingRowsAndTotals)
{
    using Row = std::array<int32_t, 8>;
    EXPECT_EQ(T.AlgorithmOpAttEnable[0], (Row{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(T.AlgorithmOpAttEnable[65], (Row{0, 0, 0, 0, 0, 0, 0, 1})); // algorithm 66
    EXPECT_EQ(T.AlgorithmOpAttEnable[8], (Row{1, 1, 0, 0, 0, 1, 0, 1}));
    EXPECT_EQ(T.AlgorithmOpAttEnable[72], (Row{1, 0, 1, 0, 1, 1, 1, 1}));
    EXPECT_EQ(T.AlgorithmOpAttEnable[87], (Row{0, 0, 0, 1, 1, 1, 1, 1}));

    // Ones per operator column over all 88 algorithms: a slipped flag changes one of them.
    const int expected[8] = {53, 64, 26, 31, 34, 32, 26, 88};
    for (int op = 0; op < 8; ++op) {
        int ones = 0;
        for (const Row& row : T.AlgorithmOpAttEnable) {
            EXPECT_TRUE(row[op] == 0 || row[op] == 1);
            ones += row[op];
        }
        EXPECT_EQ(ones, expected[op]) << "operator " << op + 1;
    }
}

TEST(EGShapeTable, PresetsThenEmptyEntries)
{
    const char* names[23] = {"EG Init",    "Piano",    "C-Perc",     "Organ",      "Guiter",    "Bass",
                             "Strings",    "Ensemble", "Brass",      "Reed",       "Pipe",      "Synth Lead",
                             "Synth Pad",  "Synth SE", "Ethnic",     "Percussive", "Sound Efx", "Drums",
                             "Synth Comp", "Voice",    "Cmbination", "MaterialWv", "Sequence"};
    for (int entry = 0; entry < 23; ++entry) {
        const auto& name = T.EGShapeTable[entry].Name;
        EXPECT_STREQ(name.data(), names[entry]);
        EXPECT_EQ(name.back(), '\0');
    }
    using Values = std::array<int32_t, 10>;
    EXPECT_EQ(T.EGShapeTable[0].Value, (Values{0, 0, 20, 20, 0, 0, 99, 99, 99, 0}));
    EXPECT_EQ(T.EGShapeTable[13].Value, (Values{32, 61, 20, 20, 0, 7, 99, 99, 0, 0}));
    EXPECT_EQ(T.EGShapeTable[14].Value, (Values{0, 0, 26, 96, 73, 1, 99, 69, 0, 99}));
    EXPECT_EQ(T.EGShapeTable[22].Value, (Values{0, 0, 0, 45, 46, 3, 99, 99, 0, 0}));
    for (int entry = 23; entry < 128; ++entry) {
        EXPECT_EQ(T.EGShapeTable[entry].Name[0], '\0');
        EXPECT_EQ(T.EGShapeTable[entry].Value, Values{});
    }
}

TEST(DestinationText, InsertionRowsAndCommonDestinations)
{
    auto row = [](int type) { return JoinTexts(0, 13, [type](int d) { return T.InsertionDestinationText[type][d]; }); };
    EXPECT_EQ(row(0), "I:(InsEF  1) I:(InsEF  2) I:(InsEF  3) I:(InsEF  4) I:(InsEF  5) "
                      "I:(InsEF  6) I:(InsEF  7) I:(InsEF  8) I:(InsEF  9) I:(InsEF 10) "
                      "I:(InsEF 11) I:(InsEF 12) I:(InsEF 13) I:(InsEF 14)");
    EXPECT_EQ(row(13), "I:(InsEF  1) I:Phase I:EQLowFreq I:EQLowGain I:EQ HiFreq I:EQ HiGain "
                       "I:Dry/Wet I:(InsEF  8) I:(InsEF  9) I:(InsEF 10) I:(InsEF 11) "
                       "I:(InsEF 12) I:(InsEF 13) I:(InsEF 14)");
    EXPECT_EQ(row(39), "I:(InsEF  1) I:(InsEF  2) I:(InsEF  3) I:(InsEF  4) I:FB Level "
                       "I:HPF Cutoff I:LPF Cutoff I:(InsEF  8) I:(InsEF  9) I:(InsEF 10) "
                       "I:Dry/Wet I:(InsEF 12) I:(InsEF 13) I:(InsEF 14)");
    EXPECT_EQ(row(40), row(39));
    EXPECT_EQ(T.InsertionDestinationText[10][0], "I:Rotor Spd");
    EXPECT_EQ(T.InsertionDestinationText[25][13], "I:Dry/Wet");

    for (int type = 0; type < 41; ++type) {
        for (int dest = 0; dest < 14; ++dest) {
            const std::string& name = T.InsertionDestinationText[type][dest];
            EXPECT_EQ(name.substr(0, 2), "I:") << type << "/" << dest;
            char unnamed[32];
            std::snprintf(unnamed, sizeof unnamed, "I:(InsEF%3d)", dest + 1);
            if (name.rfind("I:(InsEF", 0) == 0) {
                EXPECT_EQ(name, unnamed);
            }
        }
        // Types with one parameter layout share one destination layout.
        for (int other = 0; other < type; ++other) {
            const auto& a = T.EffectTypeTable[type][2];
            const auto& b = T.EffectTypeTable[other][2];
            if (a.ParamName == b.ParamName && a.AddrLow == b.AddrLow) {
                EXPECT_EQ(row(type), row(other)) << type << " and " << other;
            }
        }
    }

    EXPECT_EQ(JoinTexts(0, 32, [](int i) { return "[" + T.ControlDestinationText[i] + "]"; }),
              "[Ins->Rev] [Ins->Var] [Volume] [Pan] [Rev Send] [Var Send] [Flt Freq] "
              "[Flt Reso] [Flt EGDepth] [Attack Time] [Decay Time] [Release Time] "
              "[PEG InitLvl] [PEGAtakTime] [PEG ReleLvl] [PEGReleTime] [V/N Balance] [Formant] "
              "[FM] [Pitch Bias] [Amp EG Bias] [Freq Bias] [V BandWidth] [N BandWidth] "
              "[LFO1 Pitch] [LFO1 Amp] [LFO1 Freq] [LFO1 Filter] [LFO1 Speed] [LFO2 Filter] "
              "[LFO2 Speed] [Fseq Speed] [FseqScratch]");
}

TEST(InitNameTables, RewritesEveryEntryOfAUsedCatalogue)
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
