#pragma once
// JPEG pictures (the algorithm diagrams) decoded to plain RGB.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace platform {

struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels; // Width * Height * 3 bytes, rows top to bottom, R G B
};

// Throws FileError (platform/SafeFile.h) naming the file when it cannot be read or is not a
// whole, valid JPEG picture. A damaged picture that the decoder could only partly recover is
// refused too, rather than shown with grey gaps, and so is one beyond the picture limits
// (platform/PictureLimits.h: 8192 pixels a side, 16 M pixels in all).
RgbImage DecodeJpegFile(const std::filesystem::path& path);
// The same for a picture already read into memory; the caller adds the file's name.
RgbImage DecodeJpegBytes(const std::vector<std::uint8_t>& bytes);

} // namespace platform
