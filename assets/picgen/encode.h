// File formats of the generated pictures: 24-bit BMP and baseline JPEG (through libjpeg).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/picgen/canvas.h"

namespace picgen {

struct EncodeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Uncompressed 24-bit BMP: bottom-up rows in BGR order, each padded to 4 bytes.
std::vector<std::uint8_t> EncodeBmp(const Image& img);
// Baseline JPEG, 4:4:4 sampling so thin coloured lines keep their colour; throws EncodeError.
std::vector<std::uint8_t> EncodeJpeg(const Image& img, int quality);
// Writes the bytes, creating missing folders; throws EncodeError naming the file.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace picgen
