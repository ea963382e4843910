#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

#include "assets/picgen/algorithm.h"
#include "tests/assets/decode.h"

using namespace picgen;
using namespace picgen_test;

namespace {

std::string ParseFailure(const std::string& text)
{
    std::istringstream in(text);
    try {
        ParseArrangements(in);
    } catch (const ParseError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(Arrangements, DataHoldsAlgorithmsOneTo88InOrder)
{
    ASSERT_EQ(All().size(), 88u);
    for (int n = 1; n <= 88; ++n) EXPECT_EQ(All()[n - 1].number, n);
}

// The data's own note: the carriers are exactly the operators that modulate nothing.
TEST(Arrangements, CarriersAreTheOperatorsThatModulateNothing)
{
    for (const Arrangement& a : All()) {
        std::set<int> silent;
        for (int op = 1; op <= 8; ++op)
            if (std::none_of(a.modulations.begin(), a.modulations.end(), [&](const Link& l) { return l.from == op; }))
                silent.insert(op);
        const std::set<int> carriers(a.carriers.begin(), a.carriers.end());
        EXPECT_EQ(carriers.size(), a.carriers.size()) << "algorithm " << a.number << " repeats a carrier";
        EXPECT_EQ(carriers, silent) << "algorithm " << a.number;
    }
}

TEST(Arrangements, LinesAreReadAsWritten)
{
    const Arrangement& a12 = All()[11];
    EXPECT_EQ(a12.carriers, (std::vector<int>{1, 2, 5, 8}));
    EXPECT_EQ(a12.modulations, (std::vector<Link>{{3, 4}, {4, 5}, {6, 7}, {7, 8}}));
    EXPECT_EQ(a12.feedback, (std::vector<Link>{{5, 3}}));
    EXPECT_TRUE(All()[3].feedback.empty());    // "fb -"
    EXPECT_TRUE(All()[0].modulations.empty()); // "mod -"
    EXPECT_EQ(All()[65].modulations.size(), 7u);
}

TEST(Arrangements, MalformedLinesAreRejectedWithTheirLineNumber)
{
    EXPECT_EQ(ParseFailure("# note\n\n1 carriers 1 ; mod - ; fb -\n"), "");
    EXPECT_NE(ParseFailure("1 carriers 1 ; mod -\n").find("line 1"), std::string::npos);
    EXPECT_NE(ParseFailure("#\n1 carriers 9 ; mod - ; fb -\n").find("line 2"), std::string::npos);
    EXPECT_NE(ParseFailure("1 carriers 1 ; mod 2-1 ; fb -\n"), "");
    EXPECT_NE(ParseFailure("1 carriers 1 ; mods 2>1 ; fb -\n"), "");
    EXPECT_NE(ParseFailure("x carriers 1 ; mod - ; fb -\n"), "");
    EXPECT_NE(ParseFailure("1 carriers ; mod - ; fb -\n"), "");
    EXPECT_NE(ParseFailure("1 carriers 1 ; mod 2>2 ; fb -\n"), "");
    EXPECT_NE(ParseFailure("1 carriers 1 ; mod 2>1 2>1 ; fb -\n"), "");
    // A modulation loop could never be stacked; it must not hang the layout either.
    EXPECT_NE(ParseFailure("1 carriers 1 ; mod 2>3 3>4 4>2 ; fb -\n").find("loop"), std::string::npos);
}

TEST(Arrangements, LoadRefusesAFileWithoutAll88)
{
    const auto path =
        std::filesystem::temp_directory_path() / ("qm_picgen_short_algorithms_" + std::to_string(::getpid()));
    for (const char* text : {"1 carriers 1 ; mod - ; fb -\n1 carriers 2 ; mod - ; fb -\n", // 1 twice
                             "1 carriers 1 ; mod - ; fb -\n"}) {                           // 2..88 missing
        std::ofstream(path) << text;
        EXPECT_THROW(LoadArrangements(path.string()), ParseError) << text;
    }
    std::filesystem::remove(path);
    EXPECT_THROW(LoadArrangements(path.string()), ParseError); // no file
}

TEST(AlgorithmLayout, CarriersShareTheBottomRowAndModulatorsStandAbove)
{
    for (const Arrangement& a : All()) {
        const AlgorithmLayout l = LayoutAlgorithm(a, kAlgorithmWidth, kAlgorithmHeight);
        const double bottom = l.boxes[a.carriers.front() - 1].y1;
        for (int c : a.carriers) {
            EXPECT_EQ(l.row[c - 1], 0) << "algorithm " << a.number << " carrier " << c;
            EXPECT_DOUBLE_EQ(l.boxes[c - 1].y1, bottom) << "algorithm " << a.number;
        }
        for (const Box& b : l.boxes) EXPECT_LE(b.y1, bottom + 1e-9) << "algorithm " << a.number;
        EXPECT_GT(l.busY, bottom) << "algorithm " << a.number;
        for (const Link& m : a.modulations) {
            const Box& from = l.boxes[m.from - 1];
            const Box& to = l.boxes[m.to - 1];
            EXPECT_LT(from.y1, to.y0) << "algorithm " << a.number << ": " << m.from << ">" << m.to;
        }
        for (int op = 1; op <= 8; ++op) {
            // A modulator of several operators stands over the middle of them.
            double lo = 1e9, hi = -1e9;
            for (const Link& m : a.modulations)
                if (m.from == op) lo = std::min(lo, l.boxes[m.to - 1].Cx()), hi = std::max(hi, l.boxes[m.to - 1].Cx());
            if (hi > lo) {
                EXPECT_NEAR(l.boxes[op - 1].Cx(), (lo + hi) / 2, 0.01) << "algorithm " << a.number;
            }
            // A single modulator of one operator stands straight over it.
            std::vector<int> mods;
            for (const Link& m : a.modulations)
                if (m.to == op) mods.push_back(m.from);
            if (mods.size() == 1 && std::count_if(a.modulations.begin(), a.modulations.end(),
                                                  [&](const Link& m) { return m.from == mods[0]; }) == 1) {
                EXPECT_NEAR(l.boxes[mods[0] - 1].Cx(), l.boxes[op - 1].Cx(), 0.01) << "algorithm " << a.number;
            }
        }
    }
}

TEST(AlgorithmLayout, BoxesLoopsAndNumberFitWithoutOverlapping)
{
    for (const Arrangement& a : All()) {
        const AlgorithmLayout l = LayoutAlgorithm(a, kAlgorithmWidth, kAlgorithmHeight);
        for (int i = 0; i < 8; ++i) {
            const Box& b = l.boxes[i];
            EXPECT_TRUE(b.x0 >= 0 && b.y0 >= 0 && b.x1 <= kAlgorithmWidth && b.y1 <= kAlgorithmHeight)
                << "algorithm " << a.number << " operator " << i + 1;
            EXPECT_FALSE(l.number.Overlaps(b)) << "algorithm " << a.number << " number hides operator " << i + 1;
            for (int j = i + 1; j < 8; ++j)
                EXPECT_FALSE(b.Overlaps(l.boxes[j])) << "algorithm " << a.number << ": " << i + 1 << " and " << j + 1;
        }
        for (const Link& f : a.feedback) {
            const Box& b = l.boxes[f.from - 1];
            EXPECT_GE(b.y0 - l.loop - l.stroke, 0) << "algorithm " << a.number;
            EXPECT_LE(b.x1 + l.loop + l.stroke, kAlgorithmWidth) << "algorithm " << a.number;
        }
        // The number stands at the left, so two pictures side by side never read as one number.
        EXPECT_GE(l.number.x0, 0);
        EXPECT_LE(l.number.x1, kAlgorithmWidth / 8) << "algorithm " << a.number;
        // Operator numbers must still read at half size, where the selector shows them.
        EXPECT_GE(l.digitScale * 7, 11.0) << "algorithm " << a.number;
    }
}
