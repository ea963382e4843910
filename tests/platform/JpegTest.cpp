// JPEG decoding of pictures made here with libjpeg.

#include "platform/Jpeg.h"
#include "TempFolder.h"
#include "platform/SafeFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// Left half red, right half blue; grey when `components` is 1.
std::string EncodeJpeg(int width, int height, int components)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
    for (int x = 0; x < width; ++x) {
        unsigned char* p = &row[static_cast<std::size_t>(x * components)];
        if (components == 1)
            p[0] = 128;
        else if (x < width / 2)
            p[0] = 255, p[1] = 0, p[2] = 0;
        else
            p[0] = 0, p[1] = 0, p[2] = 255;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

void ExpectPixelNear(const platform::RgbImage& image, int x, int y, int r, int g, int b)
{
    const auto* p = &image.Pixels[static_cast<std::size_t>((y * image.Width + x) * 3)];
    EXPECT_NEAR(p[0], r, 12) << "at " << x << "," << y;
    EXPECT_NEAR(p[1], g, 12) << "at " << x << "," << y;
    EXPECT_NEAR(p[2], b, 12) << "at " << x << "," << y;
}

// The error must name the file, whatever else it says.
void ExpectErrorNamingFile(const std::filesystem::path& path)
{
    try {
        platform::DecodeJpegFile(path);
        ADD_FAILURE() << "decoded " << path;
    } catch (const platform::FileError& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    }
}

} // namespace

TEST(Jpeg, DecodesColourAndGreyPicturesToRgb)
{
    TempFolder dir;
    WriteText(dir / "alg_1.jpg", EncodeJpeg(48, 20, 3));
    const platform::RgbImage image = platform::DecodeJpegFile(dir / "alg_1.jpg");
    ASSERT_EQ(image.Width, 48);
    ASSERT_EQ(image.Height, 20);
    ASSERT_EQ(image.Pixels.size(), 48u * 20u * 3u);
    ExpectPixelNear(image, 4, 3, 255, 0, 0);
    ExpectPixelNear(image, 43, 17, 0, 0, 255);

    WriteText(dir / "grey.jpg", EncodeJpeg(9, 7, 1));
    const platform::RgbImage grey = platform::DecodeJpegFile(dir / "grey.jpg");
    ASSERT_EQ(grey.Pixels.size(), 9u * 7u * 3u);
    ExpectPixelNear(grey, 8, 6, 128, 128, 128);
}

TEST(Jpeg, MissingEmptyForeignAndTruncatedFilesFailNamingTheFile)
{
    TempFolder dir;
    ExpectErrorNamingFile(dir / "alg_88.jpg");

    WriteText(dir / "empty.jpg", "");
    ExpectErrorNamingFile(dir / "empty.jpg");

    WriteText(dir / "text.jpg", "this is not a picture");
    ExpectErrorNamingFile(dir / "text.jpg");

    const std::string whole = EncodeJpeg(64, 64, 3);
    WriteText(dir / "cut.jpg", whole.substr(0, whole.size() / 2));
    ExpectErrorNamingFile(dir / "cut.jpg");
}
