#include "assets/picgen/encode.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <jpeglib.h>

namespace picgen {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

// libjpeg reports errors through a callback that must not return; jump back to the encoder.
struct JpegErrorManager {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Only plain C objects live in this frame, so leaving it by longjmp skips no destructor.
bool CompressJpeg(const Image& img, int quality, unsigned char** data, unsigned long* size, JpegErrorManager* err)
{
    jpeg_compress_struct cinfo{};
    cinfo.err = jpeg_std_error(&err->mgr);
    err->mgr.error_exit = OnJpegError;
    if (setjmp(err->jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, data, size);
    cinfo.image_width = static_cast<JDIMENSION>(img.width);
    cinfo.image_height = static_cast<JDIMENSION>(img.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < 3; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&img.rgb[static_cast<std::size_t>(cinfo.next_scanline) * img.width * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

void CheckImage(const Image& img)
{
    if (img.width <= 0 || img.height <= 0 || img.rgb.size() != static_cast<std::size_t>(img.width) * img.height * 3)
        throw EncodeError("picture has no pixels or a wrong pixel count");
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(const Image& img)
{
    CheckImage(img);
    const std::size_t stride = (static_cast<std::size_t>(img.width) * 3 + 3) & ~std::size_t{3};
    const std::size_t pixels = stride * img.height;
    std::vector<std::uint8_t> out(54 + pixels, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(out.size()));
    Put32(out, 10, 54); // offset of the pixels
    Put32(out, 14, 40); // BITMAPINFOHEADER
    Put32(out, 18, static_cast<std::uint32_t>(img.width));
    Put32(out, 22, static_cast<std::uint32_t>(img.height)); // positive: bottom-up
    Put16(out, 26, 1);                                      // planes
    Put16(out, 28, 24);                                     // bits per pixel
    Put32(out, 34, static_cast<std::uint32_t>(pixels));
    Put32(out, 38, 2835); // 72 dpi
    Put32(out, 42, 2835);
    for (int y = 0; y < img.height; ++y) {
        std::uint8_t* row = &out[54 + stride * (img.height - 1 - y)];
        for (int x = 0; x < img.width; ++x) {
            const Rgb c = img.At(x, y);
            row[x * 3] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeJpeg(const Image& img, int quality)
{
    CheckImage(img);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    JpegErrorManager err{};
    const bool ok = CompressJpeg(img, quality, &data, &size, &err);
    std::vector<std::uint8_t> out;
    if (ok && data) out.assign(data, data + size);
    std::free(data);
    if (!ok) throw EncodeError(std::string("JPEG encoding failed: ") + err.message);
    return out;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path p(path);
    std::error_code ec;
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    f.close();
    if (!f) throw EncodeError("cannot write " + path);
}

} // namespace picgen
