// The effect display kinds: value texts, slider maxima, page steps and send offsets.
#include "tables/CatalogueSteps.h"
#include "tables/TextBuilder.h"

#include <algorithm>
#include <iterator>
#include <span>

// The catalogue data keeps its hand layout.
// clang-format off

namespace {

constexpr std::array<uint8_t, 59> KindOffset = {
    0, 0, 0, 34, 0, 4, 28, 0, 0, 0, 14, 0, 52, 0, 0, 0, 0, 0, 10, 0, 0, 0, 1, 1, 1, 1, 1, 52, 1, 0,
    4, 4, 3, 10, 8, 28, 55, 79, 1, 14, 0, 0, 0, 0, 0, 0, 0, 0, 4, 3, 40, 1, 0, 0, 0, 0, 0, 0, 1,
};

constexpr std::array<int32_t, 59> KindMax = {
    69, 127, 52, 26, 104, 36, 30, 127, 127, 5, 40, 19, 15, 7, 3, 127, 127, 127, 50, 5, 5, 127, 126,
    126, 9, 126, 13649, 24, 6819, 1, 120, 6, 2, 110, 32, 13, 42, 42, 126, 100, 42, 6, 1, 10, 3, 1,
    4, 30, 8, 3, 48, 126, 60, 63, 37, 73, 1, 2, 126,
};

constexpr std::array<int32_t, 59> KindPageStep = {
    8, 10, 5, 4, 10, 4, 5, 10, 10, 1, 5, 4, 3, 1, 1, 10, 10, 10, 5, 1, 1, 10, 10, 10, 2, 10, 100, 4,
    100, 1, 10, 1, 1, 10, 4, 2, 4, 4, 10, 10, 4, 1, 1, 2, 1, 1, 1, 5, 2, 1, 4, 10, 6, 8, 5, 8, 1, 1,
    10,
};

// ---- Kinds shown by a literal list, from position 0 on ----

constexpr const char* Kind0[] = {
    "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "1.1", "1.2", "1.3", "1.4", "1.5",
    "1.6", "1.7", "1.8", "1.9", "2.0", "2.1", "2.2", "2.3", "2.4", "2.5", "2.6", "2.7", "2.8",
    "2.9", "3.0", "3.1", "3.2", "3.3", "3.4", "3.5", "3.6", "3.7", "3.8", "3.9", "4.0", "4.1",
    "4.2", "4.3", "4.4", "4.5", "4.6", "4.7", "4.8", "4.9", "5.0", "5.5", "6.0", "6.5", "7.0",
    "7.5", "8.0", "8.5", "9.0", "9.5", "10.0", "11.0", "12.0", "13.0", "14.0", "15.0", "16.0",
    "17.0", "18.0", "19.0", "20.0", "25.0", "30.0",
};

constexpr const char* Kind1[] = {
    "0.1", "1.7", "3.2", "4.8", "6.4", "8.0", "9.5", "11.1", "12.7", "14.3", "15.8", "17.4", "19.0",
    "20.6", "22.1", "23.7", "25.3", "26.9", "28.4", "30.0", "31.6", "33.2", "34.7", "36.3", "37.9",
    "39.5", "41.0", "42.6", "44.2", "45.7", "47.3", "48.9", "50.5", "52.0", "53.6", "55.2", "56.8",
    "58.3", "59.9", "61.5", "63.1", "64.6", "66.2", "67.8", "69.4", "70.9", "72.5", "74.1", "75.7",
    "77.2", "78.8", "80.4", "81.9", "83.5", "85.1", "86.7", "88.2", "89.8", "91.4", "93.0", "94.5",
    "96.1", "97.7", "99.3", "100.8", "102.4", "104.0", "105.6", "107.1", "108.7", "110.3", "111.9",
    "113.4", "115.0", "116.6", "118.2", "119.7", "121.3", "122.9", "124.4", "126.0", "127.6",
    "129.2", "130.7", "132.3", "133.9", "135.5", "137.0", "138.6", "140.2", "141.8", "143.3",
    "144.9", "146.5", "148.1", "149.6", "151.2", "152.8", "154.4", "155.9", "157.5", "159.1",
    "160.6", "162.2", "163.8", "165.4", "166.9", "168.5", "170.1", "171.7", "173.2", "174.8",
    "176.4", "178.0", "179.5", "181.1", "182.7", "184.3", "185.8", "187.4", "189.0", "190.6",
    "192.1", "193.7", "195.3", "196.9", "198.4", "200.0",
};

constexpr const char* Kind4[] = {
    "0.5", "0.8", "1.0", "1.3", "1.5", "1.8", "2.0", "2.3", "2.6", "2.8", "3.1", "3.3", "3.6",
    "3.9", "4.1", "4.4", "4.6", "4.9", "5.2", "5.4", "5.7", "5.9", "6.2", "6.5", "6.7", "7.0",
    "7.2", "7.5", "7.8", "8.0", "8.3", "8.6", "8.8", "9.1", "9.4", "9.6", "9.9", "10.2", "10.4",
    "10.7", "11.0", "11.2", "11.5", "11.8", "12.1", "12.3", "12.6", "12.9", "13.1", "13.4", "13.7",
    "14.0", "14.2", "14.5", "14.8", "15.1", "15.4", "15.6", "15.9", "16.2", "16.5", "16.8", "17.1",
    "17.3", "17.6", "17.9", "18.2", "18.5", "18.8", "19.1", "19.4", "19.7", "20.0", "20.2", "20.5",
    "20.8", "21.1", "21.4", "21.7", "22.0", "22.4", "22.7", "23.0", "23.3", "23.6", "23.9", "24.2",
    "24.5", "24.9", "25.2", "25.5", "25.8", "26.1", "26.5", "26.8", "27.1", "27.5", "27.8", "28.1",
    "28.5", "28.8", "29.2", "29.5", "29.9", "30.2",
};

// Position 38 (1.740) continues the steps of about 0.0458 between its neighbours.
constexpr const char* Kind7[] = {
    "0.000", "0.046", "0.091", "0.137", "0.183", "0.229", "0.275", "0.320", "0.366", "0.412",
    "0.458", "0.504", "0.549", "0.595", "0.641", "0.687", "0.732", "0.778", "0.824", "0.870",
    "0.916", "0.961", "1.007", "1.053", "1.099", "1.144", "1.190", "1.236", "1.282", "1.328",
    "1.373", "1.419", "1.465", "1.511", "1.556", "1.602", "1.648", "1.694", "1.740", "1.785",
    "1.831", "1.877", "1.923", "1.968", "2.014", "2.060", "2.106", "2.151", "2.197", "2.243",
    "2.289", "2.335", "2.380", "2.426", "2.472", "2.518", "2.563", "2.609", "2.655", "2.701",
    "2.747", "2.792", "2.838", "2.884", "2.930", "3.021", "3.113", "3.204", "3.296", "3.387",
    "3.479", "3.571", "3.662", "3.754", "3.845", "3.937", "4.028", "4.211", "4.395", "4.578",
    "4.761", "4.944", "5.127", "5.310", "5.493", "5.676", "5.859", "6.042", "6.226", "6.592",
    "6.958", "7.324", "7.690", "8.057", "8.423", "8.789", "9.155", "9.522", "9.888", "10.25",
    "10.62", "10.99", "11.72", "12.45", "13.18", "13.92", "14.65", "15.38", "16.11", "16.85",
    "17.58", "18.31", "19.04", "19.78", "21.24", "22.71", "24.17", "25.63", "27.10", "28.56",
    "30.03", "31.49", "32.96", "34.42", "35.89", "37.35", "40.28", "43.21",
};

constexpr const char* Kind8[] = {
    "0.0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "1.1", "1.2",
    "1.3", "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "2.0", "2.1", "2.2", "2.3", "2.4", "2.5",
    "2.6", "2.7", "2.8", "2.9", "3.0", "3.1", "3.2", "3.3", "3.4", "3.5", "3.6", "3.7", "3.8",
    "3.9", "4.0", "4.1", "4.2", "4.3", "4.4", "4.5", "4.6", "4.7", "4.8", "4.9", "5.0", "5.1",
    "5.2", "5.3", "5.4", "5.5", "5.6", "5.7", "5.8", "5.9", "6.0", "6.1", "6.2", "6.3", "6.4",
    "6.5", "6.6", "6.7", "6.8", "6.9", "7.0", "7.1", "7.2", "7.3", "7.4", "7.5", "7.6", "7.7",
    "7.8", "7.9", "8.0", "8.1", "8.2", "8.3", "8.4", "8.5", "8.6", "8.7", "8.8", "8.9", "9.0",
    "9.1", "9.2", "9.3", "9.4", "9.5", "9.6", "9.7", "9.8", "9.9", "10.0", "11.1", "12.2", "13.3",
    "14.4", "15.5", "17.1", "18.6", "20.2", "21.8", "23.3", "24.9", "26.5", "28.0", "29.6", "31.2",
    "32.8", "34.3", "35.9", "37.5", "39.0", "40.6", "42.2", "43.7", "45.3", "46.9", "48.4", "50.0",
};

constexpr const char* Kind9[] = {"L<->R", "L->R", "L<-R", "Lturn", "Rturn", "L/R"};

constexpr const char* Kind11[] = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "12", "14", "16", "18", "20", "23", "26",
    "30", "35", "40",
};

constexpr const char* Kind12[] = {
    "10", "15", "25", "35", "45", "55", "65", "75", "85", "100", "115", "140", "170", "230", "340",
    "680",
};

constexpr const char* Kind13[] = {"1.0", "1.5", "2.0", "3.0", "5.0", "7.0", "10.0", "20.0"};

constexpr const char* Kind14[] = {"off", "stack", "combo", "tube"};

constexpr const char* Kind15[] = {
    "0.1", "0.3", "0.4", "0.6", "0.7", "0.9", "1.0", "1.2", "1.4", "1.5", "1.7", "1.8", "2.0",
    "2.1", "2.3", "2.5", "2.6", "2.8", "2.9", "3.1", "3.2", "3.4", "3.5", "3.7", "3.9", "4.0",
    "4.2", "4.3", "4.5", "4.6", "4.8", "5.0", "5.1", "5.3", "5.4", "5.6", "5.7", "5.9", "6.1",
    "6.2", "6.4", "6.5", "6.7", "6.8", "7.0", "7.2", "7.3", "7.5", "7.6", "7.8", "7.9", "8.1",
    "8.2", "8.4", "8.6", "8.7", "8.9", "9.0", "9.2", "9.3", "9.5", "9.7", "9.8", "10.0", "10.1",
    "10.3", "10.4", "10.6", "10.8", "10.9", "11.1", "11.2", "11.4", "11.5", "11.7", "11.9", "12.0",
    "12.2", "12.3", "12.5", "12.6", "12.8", "12.9", "13.1", "13.3", "13.4", "13.6", "13.7", "13.9",
    "14.0", "14.2", "14.4", "14.5", "14.7", "14.8", "15.0", "15.1", "15.3", "15.5", "15.6", "15.8",
    "15.9", "16.1", "16.2", "16.4", "16.6", "16.7", "16.9", "17.0", "17.2", "17.3", "17.5", "17.6",
    "17.8", "18.0", "18.1", "18.3", "18.4", "18.6", "18.7", "18.9", "19.1", "19.2", "19.4", "19.5",
    "19.7", "19.8", "20.0",
};

constexpr const char* Kind16[] = {
    "0.1", "3.2", "6.4", "9.5", "12.7", "15.8", "19.0", "22.1", "25.3", "28.4", "31.6", "34.7",
    "37.9", "41.0", "44.2", "47.3", "50.5", "53.6", "56.8", "59.9", "63.1", "66.2", "69.4", "72.5",
    "75.7", "78.8", "82.0", "85.1", "88.3", "91.4", "94.6", "97.7", "100.9", "104.0", "107.2",
    "110.3", "113.5", "116.6", "119.8", "122.9", "126.1", "129.2", "132.4", "135.5", "138.6",
    "141.8", "144.9", "148.1", "151.2", "154.4", "157.5", "160.7", "163.8", "167.0", "170.1",
    "173.3", "176.4", "179.6", "182.7", "185.9", "189.0", "192.2", "195.3", "198.5", "201.6",
    "204.8", "207.9", "211.1", "214.2", "217.4", "220.5", "223.7", "226.8", "230.0", "233.1",
    "236.3", "239.4", "242.6", "245.7", "248.9", "252.0", "255.2", "258.3", "261.5", "264.6",
    "267.7", "270.9", "274.0", "277.2", "280.3", "283.5", "286.6", "289.8", "292.9", "296.1",
    "299.2", "302.4", "305.5", "308.7", "311.8", "315.0", "318.1", "321.3", "324.4", "327.6",
    "330.7", "333.9", "337.0", "340.2", "343.3", "346.5", "349.6", "352.8", "355.9", "359.1",
    "362.2", "365.4", "368.5", "371.7", "374.8", "378.0", "381.1", "384.3", "387.4", "390.6",
    "393.7", "396.9", "400.0",
};

constexpr const char* Kind17[] = {
    "48.0k", "24.0k", "16.0k", "12.0k", "9.60k", "8.00k", "6.86k", "6.00k", "5.33k", "4.80k",
    "4.36k", "4.00k", "3.69k", "3.43k", "3.20k", "3.00k", "2.82k", "2.67k", "2.53k", "2.40k",
    "2.29k", "2.18k", "2.09k", "2.00k", "1.92k", "1.85k", "1.78k", "1.71k", "1.66k", "1.60k",
    "1.55k", "1.50k", "1.45k", "1.41k", "1.37k", "1.33k", "1.30k", "1.26k", "1.23k", "1.20k",
    "1.17k", "1.14k", "1.12k", "1.09k", "1.07k", "1.04k", "1.02k", "1.00k", "980", "960", "941",
    "923", "906", "889", "873", "857", "842", "828", "814", "800", "787", "774", "762", "750",
    "738", "727", "716", "706", "696", "686", "676", "667", "658", "649", "640", "632", "623",
    "615", "608", "600", "593", "585", "578", "571", "565", "558", "552", "545", "539", "533",
    "527", "522", "516", "511", "505", "500", "495", "490", "485", "480", "475", "471", "466",
    "462", "457", "453", "449", "444", "440", "436", "432", "429", "425", "421", "417", "414",
    "410", "407", "403", "400", "397", "393", "390", "387", "384", "381", "378", "375",
};

constexpr const char* Kind19[] = {"thru", "pbass", "radio", "tel", "clean", "low"};

constexpr const char* Kind20[] = {"S-Hall", "L-Hall", "random", "reverse", "plate", "spring"};

constexpr const char* Kind29[] = {"mono", "stereo"};

constexpr const char* Kind42[] = {"off", "on"};

constexpr const char* Kind45[] = {"TypeA", "TypeB"};

constexpr const char* Kind56[] = {"normal", "inverse"};

constexpr const char* Kind57[] = {"L", "R", "L&R"};

struct LiteralKind {
    uint8_t Kind;
    std::span<const char* const> Texts;
};

constexpr LiteralKind LiteralKinds[] = {
    {0, Kind0}, {1, Kind1}, {4, Kind4}, {7, Kind7}, {8, Kind8}, {9, Kind9}, {11, Kind11},
    {12, Kind12}, {13, Kind13}, {14, Kind14}, {15, Kind15}, {16, Kind16}, {17, Kind17},
    {19, Kind19}, {20, Kind20}, {29, Kind29}, {42, Kind42}, {45, Kind45}, {56, Kind56},
    {57, Kind57},
};

// ---- Frequency kinds: runs of one scale, some with "thru" before or after ----

constexpr const char* FrequencyScale[] = {
    "22", "25", "28", "32", "36", "40", "45", "50", "56", "63", "70", "80", "90", "100", "110",
    "125", "140", "160", "180", "200", "225", "250", "280", "315", "355", "400", "450", "500",
    "560", "630", "700", "800", "900", "1.0k", "1.1k", "1.2k", "1.4k", "1.6k", "1.8k", "2.0k",
    "2.2k", "2.5k", "2.8k", "3.2k", "3.6k", "4.0k", "4.5k", "5.0k", "5.6k", "6.3k", "7.0k", "8.0k",
    "9.0k", "10.0k", "11.0k", "12.0k", "14.0k", "16.0k", "18.0k",
};

struct FrequencyKind {
    uint8_t Kind;
    uint8_t First; // index into FrequencyScale
    uint8_t Count;
    bool ThruFirst;
    bool ThruLast;
};

constexpr FrequencyKind FrequencyKinds[] = {
    {2, 0, 52, true, false},    // thru, 22 .. 8.0k
    {3, 33, 26, false, true},   // 1.0k .. 18.0k, thru
    {5, 3, 37, false, false},   // 32 .. 2.0k
    {6, 27, 31, false, false},  // 500 .. 16.0k
    {10, 13, 41, false, false}, // 100 .. 10.0k
    {18, 9, 50, false, true},   // 63 .. 18.0k, thru
};
static_assert(std::ranges::all_of(FrequencyKinds, [](const FrequencyKind& kind) {
    return kind.First + kind.Count <= std::size(FrequencyScale);
}));

// ---- Kinds computed from the position ----

enum class Shape : uint8_t {
    Plain,  // Scale * (position + Add)
    Signed, // the same with "+" before positive numbers and "+0" at the centre
    Tenths, // (position + Add) / 10 with one decimal
};

struct NumberKind {
    uint8_t Kind;
    Shape Form;
    int8_t Scale;
    int16_t Add;
    uint8_t Last; // last position that has a text
};

constexpr NumberKind NumberKinds[] = {
    {21, Shape::Plain, 1, 0, 127},    // 0 .. 127
    {41, Shape::Plain, 1, 0, 127},
    {43, Shape::Plain, 1, 0, 127},
    {44, Shape::Plain, 1, 0, 127},
    {46, Shape::Plain, 1, 0, 127},
    {47, Shape::Plain, 1, 0, 127},
    {31, Shape::Plain, 1, 4, 6},      // 4 .. 10
    {32, Shape::Plain, 1, 3, 2},      // 3 .. 5
    {48, Shape::Plain, 1, 4, 123},    // 4 .. 127
    {49, Shape::Plain, 1, 3, 124},    // 3 .. 127
    {58, Shape::Plain, 1, 1, 127},    // 1 .. 128
    {36, Shape::Plain, 1, -72, 42},   // -72 .. -30
    {37, Shape::Plain, 1, -48, 42},   // -48 .. -6
    {52, Shape::Plain, 3, 0, 60},     // 0 .. 180
    {25, Shape::Signed, 1, -63, 126}, // -63 .. +63
    {27, Shape::Signed, 1, -12, 24},  // -12 .. +12
    {39, Shape::Signed, 1, -50, 100}, // -50 .. +50
    {40, Shape::Signed, 1, -6, 42},   // -6 .. +36
    {50, Shape::Signed, 1, -24, 48},  // -24 .. +24
    {30, Shape::Signed, 3, -60, 120}, // -180 .. +180
    {24, Shape::Tenths, 1, 1, 9},     // 0.1 .. 1.0
    {33, Shape::Tenths, 1, 10, 110},  // 1.0 .. 12.0
};

// Two-sided balances around the centre position 63: "L63" .. "L10", "L 9" .. "L 1", then
// the centre text, then "R 1" .. "R 9", "R10" .. "R63" (left suffix and right prefix vary).
struct BalanceKind {
    uint8_t Kind;
    const char* LeftPrefix;
    const char* LeftSuffix;
    const char* Centre;
    const char* RightPrefix;
};

constexpr BalanceKind BalanceKinds[] = {
    {22, "L", "", " C ", "R"},
    {23, "E", ">R", "E=R", "E<R"},
    {38, "D", ">W", "D=W", "D<W"},
    {51, "L", ">H", "L=H", "L<H"},
};

// Kinds that show another kind's texts, shifted: text[position] = source[position + Shift].
struct CopiedKind {
    uint8_t Kind;
    uint8_t Source;
    uint8_t Shift;
};

// After the literal and frequency kinds, which they copy from.
constexpr CopiedKind CopiedKinds[] = {
    {34, 5, 4},  // 50 .. 2.0k
    {35, 5, 24}, // 500 .. 2.0k (kind 35 is used by no effect type)
    {53, 1, 0},
    {54, 4, 0},
    {55, 4, 0},
};

// Kinds 26 and 28 (long delays) have no texts: the effect page shows their values itself.

using ValueText = std::array<std::array<std::string, 59>, 128>;

void StoreNumber(ValueText& texts, const NumberKind& kind)
{
    for (int position = 0; position <= kind.Last; ++position) {
        const int value = kind.Scale * (position + kind.Add);
        TextBuilder text;
        switch (kind.Form) {
        case Shape::Plain: text.AddInt(value); break;
        case Shape::Signed: text.AddSigned(value); break;
        case Shape::Tenths: text.AddFixed(value, 1); break;
        }
        text.StoreIn(texts[position][kind.Kind]);
    }
}

void StoreBalance(ValueText& texts, const BalanceKind& kind)
{
    constexpr int Centre = 63;
    for (int position = 0; position <= 2 * Centre; ++position) {
        TextBuilder text;
        const int distance = position < Centre ? Centre - position : position - Centre;
        if (position == Centre) {
            text.Add(kind.Centre);
        } else {
            text.Add(position < Centre ? kind.LeftPrefix : kind.RightPrefix);
            if (distance < 10) text.Add(' ');
            text.AddInt(distance);
            if (position < Centre) text.Add(kind.LeftSuffix);
        }
        text.StoreIn(texts[position][kind.Kind]);
    }
}

} // namespace

void FillEffectValueTables(TNameTables& tables)
{
    ValueText& texts = tables.EffectValueText;
    for (auto& row : texts)
        for (std::string& text : row) text.clear();

    for (const LiteralKind& kind : LiteralKinds)
        for (size_t position = 0; position < kind.Texts.size(); ++position)
            texts[position][kind.Kind] = kind.Texts[position];

    for (const FrequencyKind& kind : FrequencyKinds) {
        size_t position = 0;
        if (kind.ThruFirst) texts[position++][kind.Kind] = "thru";
        for (size_t step = 0; step < kind.Count; ++step)
            texts[position++][kind.Kind] = FrequencyScale[kind.First + step];
        if (kind.ThruLast) texts[position][kind.Kind] = "thru";
    }

    for (const NumberKind& kind : NumberKinds) StoreNumber(texts, kind);
    for (const BalanceKind& kind : BalanceKinds) StoreBalance(texts, kind);

    for (const CopiedKind& kind : CopiedKinds)
        for (size_t position = 0; position + kind.Shift < texts.size(); ++position)
            texts[position][kind.Kind] = texts[position + kind.Shift][kind.Source];

    tables.EffectValueOffset = KindOffset;
    tables.EffectKindMax = KindMax;
    tables.EffectKindPageStep = KindPageStep;
}
// clang-format on
