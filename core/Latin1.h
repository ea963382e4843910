// Names travel to the instrument and into files as 8-bit text (Latin-1); inside the program
// texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A text as 8-bit characters (Latin-1): one byte per character; a character with no Latin-1
// form becomes `unmappable`.
std::string ToLatin1(const std::string& utf8, char unmappable = '?');
// 8-bit characters (Latin-1) up to the first NUL, as UTF-8.
std::string FromLatin1(const uint8_t* text, std::size_t length);
