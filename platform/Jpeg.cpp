#include "platform/Jpeg.h"

#include "platform/PictureLimits.h"
#include "platform/SafeFile.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>

#include <jpeglib.h>

namespace platform {

namespace {

// libjpeg reports errors through a callback that must not return; it jumps back to the
// decoding function instead. Everything the decoder touches lives in this struct, outside that
// function's own frame, so nothing is left in an undefined state by the jump.
struct Decoder {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    RgbImage image;
};

[[noreturn]] void OnError(j_common_ptr info)
{
    auto* d = static_cast<Decoder*>(info->client_data);
    info->err->format_message(info, d->message);
    std::longjmp(d->jump, 1);
}

// Warnings (level -1) mean damaged data that libjpeg papers over; treat them as errors.
void OnMessage(j_common_ptr info, int level)
{
    if (level < 0) OnError(info);
}

bool Decode(Decoder& d)
{
    if (setjmp(d.jump)) return false;
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, d.data, static_cast<unsigned long>(d.size));
    jpeg_read_header(&d.info, TRUE);
    // The header alone may ask for gigabytes; no picture of this program comes near the limit.
    if (!PictureSizeAllowed(d.info.image_width, d.info.image_height)) {
        std::snprintf(d.message, sizeof d.message, "the picture is too large (%u x %u)", d.info.image_width,
                      d.info.image_height);
        return false;
    }
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    d.image.Width = static_cast<int>(d.info.output_width);
    d.image.Height = static_cast<int>(d.info.output_height);
    const std::size_t stride = std::size_t(d.info.output_width) * 3;
    d.image.Pixels.resize(stride * d.info.output_height);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = d.image.Pixels.data() + stride * d.info.output_scanline;
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

// `source` says in the error text what was being decoded.
RgbImage DecodeJpeg(const std::vector<std::uint8_t>& bytes, const std::string& source)
{
    if (bytes.empty()) throw FileError("Cannot decode the JPEG picture" + source + ": it is empty");
    auto d = std::make_unique<Decoder>();
    d->data = bytes.data();
    d->size = bytes.size();
    d->info.client_data = d.get();
    d->info.err = jpeg_std_error(&d->errors);
    d->errors.error_exit = OnError;
    d->errors.emit_message = OnMessage;
    bool ok = false;
    try {
        ok = Decode(*d);
    } catch (const std::bad_alloc&) {
        std::strcpy(d->message, "the picture is too large");
    }
    jpeg_destroy_decompress(&d->info);
    if (!ok) throw FileError("Cannot decode the JPEG picture" + source + ": " + d->message);
    return std::move(d->image);
}

} // namespace

RgbImage DecodeJpegBytes(const std::vector<std::uint8_t>& bytes) { return DecodeJpeg(bytes, ""); }

RgbImage DecodeJpegFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("Cannot open the picture file \"" + path.string() + "\": " + std::strerror(errno));
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw FileError("Cannot read the picture file \"" + path.string() + "\"");
    return DecodeJpeg(bytes, " \"" + path.string() + "\"");
}

} // namespace platform
