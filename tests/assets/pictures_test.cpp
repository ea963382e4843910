#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "assets/picgen/artwork.h"
#include "assets/picgen/generate.h"
#include "tests/assets/decode.h"

using namespace picgen;
using namespace picgen_test;

namespace {

Image Load(const std::string& path)
{
    return path.ends_with(".jpg") ? DecodeJpeg(ReadBytes(path)) : DecodeBmpFile(path);
}

Rgb Pixel(const Image& img, double x, double y) { return img.At(static_cast<int>(x), static_cast<int>(y)); }

// Every operator box shows a dark outline on light paper with its number inside.
void ExpectOperatorBoxes(const Image& img, const Arrangement& a)
{
    const AlgorithmLayout l = LayoutAlgorithm(a, img.width, img.height);
    for (int op = 1; op <= 8; ++op) {
        const Box& b = l.boxes[op - 1];
        const double edge = l.stroke / 2;
        SCOPED_TRACE("algorithm " + std::to_string(a.number) + " operator " + std::to_string(op));
        EXPECT_LT(Luma(Pixel(img, b.Cx(), b.y0 + edge)), 110);
        EXPECT_LT(Luma(Pixel(img, b.Cx(), b.y1 - edge)), 110);
        EXPECT_LT(Luma(Pixel(img, b.x0 + edge, b.Cy())), 110);
        EXPECT_LT(Luma(Pixel(img, b.x1 - edge, b.Cy())), 110);
        EXPECT_GT(Luma(Pixel(img, b.x0 + l.stroke + 1.5, b.y0 + l.stroke + 1.5)), 180);
        int ink = 0;
        for (double y = b.y0 + l.stroke + 1; y < b.y1 - l.stroke - 1; ++y)
            for (double x = b.Cx() - 3 * l.digitScale; x < b.Cx() + 3 * l.digitScale; ++x)
                ink += Luma(Pixel(img, x, y)) < 110;
        EXPECT_GT(ink, 8) << "no digit drawn";
    }
    EXPECT_GT(Luma(img.At(img.width - 1, img.height - 1)), 230);
}

// The pictures as the build wrote them beside the program.
class GeneratedPictures : public ::testing::Test {
protected:
    static Image Picture(const std::string& name)
    {
        return Load((std::filesystem::path(QM_PROGRAM_DIR) / name).string());
    }
};

bool IsYellow(Rgb c) { return c.r > 200 && c.g > 200 && c.b < 80; }

// Row of the first pixel in column x, above `below`, that matches.
template <typename Match>
std::optional<int> FirstRow(const Image& img, int x, int below, Match match)
{
    for (int y = 0; y < below; ++y)
        if (match(img.At(x, y))) return y;
    return std::nullopt;
}

} // namespace

TEST(AlgorithmPicture, EveryDiagramDrawsItsEightOperatorBoxes)
{
    for (const Arrangement& a : All()) ExpectOperatorBoxes(DrawAlgorithm(a), a);
}

TEST_F(GeneratedPictures, EveryFileIsWrittenWithItsSize)
{
    struct Expect {
        std::string prefix;
        int width, height;
    };
    const Expect sizes[] = {
        {"alg/", 300, 180},
        {"graphics/eq_", 238, 153},
        {"graphics/effect_routing", 373, 476},
        {"graphics/effect_individual", 90, 81},
        {"graphics/about_emblem", 46, 46},
        {"graphics/fseq_init_notice", 400, 140},
        {"graphics/glyph_", 16, 16},
        {"graphics/ctrl_sources", 224, 128},
    };
    const auto names = PictureFileNames();
    EXPECT_EQ(names.size(), 88u + 16u);
    for (const std::string& name : names) {
        const Image img = Picture(name);
        ASSERT_GT(img.width, 0) << name << " is missing or unreadable";
        bool known = false;
        for (const Expect& e : sizes)
            if (name.starts_with(e.prefix)) {
                known = true;
                EXPECT_EQ(img.width, e.width) << name;
                EXPECT_EQ(img.height, e.height) << name;
            }
        EXPECT_TRUE(known) << name;
        if (name.starts_with("graphics/glyph_")) {
            EXPECT_EQ(img.At(0, 15), kGlyphTransparent) << name;
        }
    }
}

TEST_F(GeneratedPictures, AlgorithmFilesShowTheirOwnDiagramAfterCompression)
{
    for (int n : {1, 12, 37, 66, 68, 88})
        ExpectOperatorBoxes(Picture("alg/alg_" + std::to_string(n) + ".jpg"), All()[n - 1]);
}

// The white curve is the whole response, the two bands summed: a shelf lifts its end of the
// range, a peak lifts its own frequency and leaves the end at 0 dB, and between the bands the
// response is flat, whatever the shapes.
TEST_F(GeneratedPictures, EqPicturesShowTheWholeResponseOfTheChosenShapes)
{
    const auto total = [](Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; };
    const int zeroDbRow = 71;                           // middle of the plot, 4.33 rows a dB
    const int end20Hz = 28, end20kHz = 230;             // columns near the two ends of the range
    const int at150Hz = 85, at1kHz = 142, at5kHz = 191; // a log scale from 20 Hz at 24 to 20 kHz at 233
    struct Shapes {
        const char* name;
        bool lowPeak, highPeak;
    };
    for (const Shapes& s :
         {Shapes{"graphics/eq_shelv_shelv.bmp", false, false}, Shapes{"graphics/eq_shelv_peak.bmp", false, true},
          Shapes{"graphics/eq_peak_shelv.bmp", true, false}, Shapes{"graphics/eq_peak_peak.bmp", true, true}}) {
        SCOPED_TRACE(s.name);
        const Image img = Picture(s.name);
        auto rowAt = [&](int x) { return FirstRow(img, x, 137, total).value_or(-100); };
        // A raised end: about 10 dB up; a peak's end: at 0 dB.
        EXPECT_NEAR(rowAt(end20Hz), s.lowPeak ? zeroDbRow : zeroDbRow - 43, 4);
        EXPECT_NEAR(rowAt(end20kHz), s.highPeak ? zeroDbRow : zeroDbRow - 43, 5);
        // Each band's own frequency lifted about 5 dB by a shelf (its half-way point), 10 by a peak.
        EXPECT_NEAR(rowAt(at150Hz), zeroDbRow - (s.lowPeak ? 43 : 22), 6);
        EXPECT_NEAR(rowAt(at5kHz), zeroDbRow - (s.highPeak ? 43 : 22), 6);
        EXPECT_NEAR(rowAt(at1kHz), zeroDbRow, 3);
        // The decade lines at 100 Hz, 1 kHz and 10 kHz stand on the curve's scale.
        for (int x : {73, at1kHz, 212}) EXPECT_EQ(img.At(x, 10), (Rgb{0, 110, 0})) << "decade line at " << x;
    }
}

TEST_F(GeneratedPictures, RoutingLeavesRoomForTheLabelsAndTheOverlays)
{
    const Image img = Picture("graphics/effect_routing.bmp");
    for (const LabelPlace& label : RoutingLabels())
        for (int y = label.top - kRoutingTop; y < label.top - kRoutingTop + kLabelRoomHeight; ++y)
            for (int x = label.left - kRoutingLeft; x < label.left - kRoutingLeft + kLabelRoomWidth; ++x)
                ASSERT_EQ(img.At(x, y), (Rgb{0, 0, 0})) << label.name << " at " << x << "," << y;
    const Box& ins = kInsertionOverlay;
    for (int y = static_cast<int>(ins.y0); y < ins.y1; ++y)
        for (int x = static_cast<int>(ins.x0); x < ins.x1; ++x)
            ASSERT_EQ(img.At(x, y), (Rgb{0, 0, 0})) << "insertion switch area at " << x << "," << y;

    // The overlay's part lines (rows 1, 40, 80, 119) continue on both sides, and its turned-down
    // lines (columns 66, 45, 23, 1) go on below it, over the two rows and columns its pen of
    // width 2 paints: the point and the pixel below or right of it.
    const int x0 = static_cast<int>(ins.x0), x1 = static_cast<int>(ins.x1);
    const int y0 = static_cast<int>(ins.y0), y1 = static_cast<int>(ins.y1);
    for (int row : {1, 40, 80, 119}) {
        for (int y : {y0 + row, y0 + row + 1}) {
            EXPECT_TRUE(IsYellow(img.At(x0 - 1, y))) << "row " << row;
            EXPECT_TRUE(IsYellow(img.At(x1, y))) << "row " << row;
        }
        EXPECT_FALSE(IsYellow(img.At(x1, y0 + row - 1))) << "row " << row;
    }
    for (int col : {66, 45, 23, 1}) {
        EXPECT_TRUE(IsYellow(img.At(x0 + col, y1 + 4))) << "column " << col;
        EXPECT_TRUE(IsYellow(img.At(x0 + col + 1, y1 + 4))) << "column " << col;
    }
}

TEST_F(GeneratedPictures, IndividualOutputPictureMatchesTheRoutingPictureUnderIt)
{
    const Image routing = Picture("graphics/effect_routing.bmp");
    const Image own = Picture("graphics/effect_individual.bmp");
    const auto& o = kIndividualOverlay;
    for (int y = 0; y < own.height; ++y)
        for (int x = 0; x < own.width; ++x)
            ASSERT_EQ(own.At(x, y), routing.At(static_cast<int>(o.x0) + x, static_cast<int>(o.y0) + y))
                << x << "," << y;
    // The white frame line at x 9 and y 40 that the page's drawing puts back.
    EXPECT_EQ(own.At(9, 20), (Rgb{255, 255, 255}));
    EXPECT_EQ(own.At(60, 40), (Rgb{255, 255, 255}));
    EXPECT_EQ(own.At(1, 40), (Rgb{0, 0, 0})); // the pre-insertion path starts out dark
}
