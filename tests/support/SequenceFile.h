// Formant-sequence files as the instrument writes them, for the suites that write them into its
// memories and convert them into MIDI files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

// A file of n bytes: F0 43 0n 5E, byte count, address 60 00 00, the header's name (eight bytes,
// NUL-padded) and settings, sequence data, a checksum (wrong on purpose: it is written anew) and
// F7. Loop 40..130 round, speed velocity 4, fixed pitch, level velocity 80, start delay 12, end
// step 138, size code `sizeCode`.
inline std::vector<uint8_t> SequenceFile(std::size_t n, uint8_t sizeCode, const std::string& name,
                                         uint8_t deviceByte = 0x00)
{
    std::vector<uint8_t> b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = uint8_t((i * 5 + 1) & 0x7F);
    const std::vector<uint8_t> head{
        0xF0, 0x43, deviceByte, 0x5E, uint8_t((n - 11) >> 7 & 0x7F), uint8_t((n - 11) & 0x7F), 0x60, 0x00, 0x00};
    std::copy(head.begin(), head.end(), b.begin());
    for (std::size_t i = 0; i < 8; ++i) b[9 + i] = i < name.size() ? uint8_t(name[i]) : 0;
    b[25] = 0, b[26] = 40;
    b[27] = 1, b[28] = 2;
    b[29] = 1;
    b[31] = 4;
    b[32] = 1;
    b[34] = 80;
    b[35] = 12;
    b[36] = sizeCode;
    if (n > 40) b[39] = 1, b[40] = 10;
    b[n - 2] = 0x11;
    b[n - 1] = 0xF7;
    return b;
}

// The file as it must reach the instrument or a MIDI file: device byte `device`, the address
// `high` xx `low`, a new checksum.
inline std::vector<uint8_t> Readdressed(std::vector<uint8_t> b, uint8_t device, uint8_t high, uint8_t low)
{
    b[2] = device;
    b[6] = high;
    b[8] = low;
    const int sum = std::accumulate(b.begin() + 4, b.end() - 2, 0);
    b[b.size() - 2] = uint8_t((0 - sum) & 0x7F);
    return b;
}
