// The largest picture the program decodes, JPEG or BMP alike. No picture of the program comes
// near it; a header alone could otherwise make a reader ask for gigabytes.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr std::uint64_t MaxPictureSide = 8192;
inline constexpr std::uint64_t MaxPicturePixels = 16u << 20;

// Whether a picture of `width` x `height` pixels is within the limits.
constexpr bool PictureSizeAllowed(std::uint64_t width, std::uint64_t height)
{
    return width <= MaxPictureSide && height <= MaxPictureSide && width * height <= MaxPicturePixels;
}

} // namespace platform
