#include "core/Latin1.h"

#include <cstdint>

std::string ToLatin1(const std::string& utf8, char unmappable)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<uint8_t>(utf8[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        uint32_t cp = extra == 0 ? c : extra == 1 ? c & 0x1Fu : extra == 2 ? c & 0x0Fu : c & 0x07u;
        bool valid = extra >= 0 && i + std::size_t(extra) < utf8.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(utf8[i + std::size_t(k)]);
            valid = (next & 0xC0) == 0x80;
            cp = cp << 6 | (next & 0x3Fu);
        }
        if (!valid) {
            out += unmappable;
            ++i;
            continue;
        }
        out += cp <= 0xFF ? static_cast<char>(cp) : unmappable;
        i += std::size_t(extra) + 1;
    }
    return out;
}

std::string FromLatin1(const uint8_t* text, std::size_t length)
{
    std::string out;
    for (std::size_t i = 0; i < length && text[i] != 0; ++i) {
        const uint8_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}
