// Test helpers: the algorithm data, and the generated pictures read and decoded independently of
// the generator.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "assets/picgen/algorithm.h"
#include "assets/picgen/canvas.h"

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

struct JpegFailure {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

inline void OnJpegFailure(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegFailure*>(cinfo->err)->jump, 1); }

// The libjpeg work, kept in a frame whose locals are plain C objects so that the error jump
// skips no destructor; the picture lives in the caller's frame.
inline bool DecodeJpegInto(const std::vector<std::uint8_t>& data, picgen::Image* img, JpegFailure* err)
{
    jpeg_decompress_struct cinfo{};
    cinfo.err = jpeg_std_error(&err->mgr);
    err->mgr.error_exit = OnJpegFailure;
    if (setjmp(err->jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    img->width = static_cast<int>(cinfo.output_width);
    img->height = static_cast<int>(cinfo.output_height);
    img->rgb.resize(static_cast<std::size_t>(img->width) * img->height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &img->rgb[static_cast<std::size_t>(cinfo.output_scanline) * img->width * 3];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// Decodes to RGB; width 0 when the data is not a readable JPEG.
inline picgen::Image DecodeJpeg(const std::vector<std::uint8_t>& data)
{
    picgen::Image img;
    JpegFailure err{};
    if (data.empty() || !DecodeJpegInto(data, &img, &err)) return {};
    return img;
}

inline std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

inline std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Reads a 24-bit bottom-up BMP as written by the generator; width 0 if it is not one.
inline picgen::Image DecodeBmp(const std::vector<std::uint8_t>& b)
{
    picgen::Image img;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le16(b, 28) != 24) return img;
    const int w = static_cast<int>(Le32(b, 18)), h = static_cast<int>(Le32(b, 22));
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
    if (w <= 0 || h <= 0 || b.size() < Le32(b, 10) + stride * h) return img;
    img.width = w;
    img.height = h;
    img.rgb.resize(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &b[Le32(b, 10) + stride * (h - 1 - y) + x * 3];
            std::uint8_t* q = &img.rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            q[0] = p[2], q[1] = p[1], q[2] = p[0];
        }
    return img;
}

inline int Luma(picgen::Rgb c) { return (c.r * 299 + c.g * 587 + c.b * 114) / 1000; }

} // namespace picgen_test
