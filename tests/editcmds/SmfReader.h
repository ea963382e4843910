// A minimal standard-MIDI-file reader of the tests' own (format 0 or 1; meta and
// system-exclusive events), to check written files without trusting the writer.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

struct SmfEvent {
    uint32_t Tick = 0;
    uint8_t Status = 0, MetaType = 0; // F0 system exclusive (Data after F0), FF meta
    std::vector<uint8_t> Data;
};

struct SmfFile {
    int Format = -1, Tracks = 0, Division = 0;
    std::vector<SmfEvent> Events; // of the first track
};

inline SmfFile ReadSmf(const std::vector<uint8_t>& b)
{
    std::size_t pos = 0;
    auto byte = [&] {
        if (pos >= b.size()) throw std::runtime_error("file ends early");
        return b[pos++];
    };
    auto fixed = [&](int n) {
        uint32_t v = 0;
        while (n--) v = v << 8 | byte();
        return v;
    };
    auto varLen = [&] {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const uint8_t c = byte();
            v = v << 7 | (c & 0x7F);
            if (!(c & 0x80)) return v;
        }
        throw std::runtime_error("variable-length quantity too long");
    };
    SmfFile f;
    if (fixed(4) != 0x4D546864 || fixed(4) != 6) throw std::runtime_error("no MThd");
    f.Format = int(fixed(2));
    f.Tracks = int(fixed(2));
    f.Division = int(fixed(2));
    if (fixed(4) != 0x4D54726B) throw std::runtime_error("no MTrk");
    const std::size_t trackLength = fixed(4);
    const std::size_t end = pos + trackLength;
    if (end != b.size() && f.Tracks == 1) throw std::runtime_error("track length does not end the file");
    uint32_t tick = 0;
    while (pos < end) {
        if (!f.Events.empty() && f.Events.back().MetaType == 0x2F) throw std::runtime_error("event after the end");
        SmfEvent e;
        e.Tick = tick += varLen();
        e.Status = byte();
        if (e.Status == 0xFF)
            e.MetaType = byte();
        else if (e.Status != 0xF0)
            throw std::runtime_error("unexpected status");
        const uint32_t length = varLen();
        if (pos + length > end) throw std::runtime_error("event runs past the track");
        e.Data.assign(b.begin() + long(pos), b.begin() + long(pos + length));
        pos += length;
        f.Events.push_back(std::move(e));
    }
    if (f.Events.empty() || f.Events.back().MetaType != 0x2F) throw std::runtime_error("no end of track");
    return f;
}
