// Test helpers: the algorithm data, and the generated pictures read as the program reads them,
// independently of the generator.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/picgen/algorithm.h"
#include "assets/picgen/canvas.h"
#include "platform/Jpeg.h"
#include "ui/Graphics.h"

namespace picgen_test {

// The 88 arrangements of the data file, read once.
inline const std::vector<picgen::Arrangement>& All()
{
    static const std::vector<picgen::Arrangement> all = picgen::LoadArrangements(QM_ALGORITHM_DATA);
    return all;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Decodes to RGB as the program reads its pictures; width 0 when the data is not a whole JPEG.
inline picgen::Image DecodeJpeg(const std::vector<std::uint8_t>& data)
{
    try {
        platform::RgbImage rgb = platform::DecodeJpegBytes(data);
        return {rgb.Width, rgb.Height, std::move(rgb.Pixels)};
    } catch (const std::exception&) {
        return {};
    }
}

inline std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

inline std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Reads a BMP file as the program reads it; width 0 when it cannot.
inline picgen::Image DecodeBmpFile(const std::string& path)
{
    TBitmap b;
    try {
        b.LoadFromFile(path);
    } catch (const std::exception&) {
        return {};
    }
    picgen::Image img{b.Width(), b.Height(), {}};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            for (unsigned c : {GetRValue(b.Pixel(x, y)), GetGValue(b.Pixel(x, y)), GetBValue(b.Pixel(x, y))})
                img.rgb.push_back(std::uint8_t(c));
    return img;
}

inline int Luma(picgen::Rgb c) { return (c.r * 299 + c.g * 587 + c.b * 114) / 1000; }

} // namespace picgen_test
