#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "assets/picgen/encode.h"
#include "tests/assets/decode.h"

using namespace picgen;
using namespace picgen_test;

namespace {

// Left half red, right half blue, one green pixel in the top left corner.
Image TwoHalves(int w, int h)
{
    Image img{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &img.rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = x < w / 2 ? 220 : 0;
            p[2] = x < w / 2 ? 0 : 220;
        }
    img.rgb[0] = 0, img.rgb[1] = 255, img.rgb[2] = 0;
    return img;
}

} // namespace

TEST(BmpWriter, HeaderDescribesAnUncompressed24BitBottomUpPicture)
{
    const std::vector<std::uint8_t> b = EncodeBmp(TwoHalves(5, 3));
    const std::size_t stride = 16; // 5 pixels x 3 bytes, padded to a multiple of 4
    ASSERT_EQ(b.size(), 54 + stride * 3);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size());
    EXPECT_EQ(Le32(b, 6), 0u);
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 14), 40u);
    EXPECT_EQ(Le32(b, 18), 5u);
    EXPECT_EQ(Le32(b, 22), 3u);
    EXPECT_EQ(Le16(b, 26), 1u);
    EXPECT_EQ(Le16(b, 28), 24u);
    EXPECT_EQ(Le32(b, 30), 0u); // no compression
    EXPECT_EQ(Le32(b, 34), stride * 3);
    EXPECT_EQ(Le32(b, 46), 0u); // no palette

    // The top-left pixel is the first of the last row in the file, stored blue, green, red.
    const std::size_t topRow = 54 + stride * 2;
    EXPECT_EQ(b[topRow], 0);
    EXPECT_EQ(b[topRow + 1], 255);
    EXPECT_EQ(b[topRow + 2], 0);
    EXPECT_EQ(b[54 + 2], 220);  // bottom-left: red in the third byte
    EXPECT_EQ(b[54 + 12], 220); // bottom-right: blue in the first byte
    EXPECT_EQ(b[54 + 15], 0);   // padding
}

TEST(JpegWriter, OutputDecodesWithTheSizeAndColours)
{
    const Image img = TwoHalves(64, 40);
    const Image back = DecodeJpeg(EncodeJpeg(img, 92));
    ASSERT_EQ(back.width, 64);
    ASSERT_EQ(back.height, 40);
    const Rgb left = back.At(10, 20), right = back.At(50, 20);
    EXPECT_NEAR(left.r, 220, 12);
    EXPECT_NEAR(left.b, 0, 12);
    EXPECT_NEAR(right.b, 220, 12);
    EXPECT_NEAR(right.r, 0, 12);
}

TEST(PictureWriter, EmptyOrInconsistentPicturesAreRefused)
{
    EXPECT_THROW(EncodeJpeg(Image{}, 90), EncodeError);
    EXPECT_THROW(EncodeBmp(Image{}), EncodeError);
    Image shortPixels = TwoHalves(4, 4);
    shortPixels.rgb.pop_back();
    EXPECT_THROW(EncodeBmp(shortPixels), EncodeError);
    EXPECT_THROW(EncodeJpeg(shortPixels, 90), EncodeError);
}

TEST(PictureWriter, WriteFileMakesFoldersAndReportsFailure)
{
    const auto dir = std::filesystem::temp_directory_path() / ("qm_picgen_write_" + std::to_string(::getpid()));
    const std::string path = (dir / "a" / "b.bin").string();
    WriteFile(path, {1, 2, 3});
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
    // A file standing where a folder should be: the write cannot succeed and must say so.
    EXPECT_THROW(WriteFile((dir / "a" / "b.bin" / "c.bin").string(), {1}), EncodeError);
    std::filesystem::remove_all(dir);
}
