// Standard MIDI files of format 0 as the program writes them: one track of 96 ticks per
// quarter note that opens with a 15-byte track name, 4/4, 500,000 microseconds per quarter
// note and C major, and then carries system-exclusive messages. File > Export MIDI File and
// File > Convert Syx to MIDI File both write them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace smf {

// Appends value as a variable-length quantity of at least minBytes bytes (leading 80 bytes
// pad it, which every reader takes as zeros).
void AppendVarLen(std::vector<uint8_t>& out, uint32_t value, int minBytes = 1);

class TrackImage {
public:
    explicit TrackImage(const std::array<uint8_t, 15>& name);
    // Delta time, F0, the length of `message` after its F0 (at least lengthBytes bytes) and
    // those bytes; `message` is the whole message starting with its F0.
    void SysEx(uint32_t delta, const uint8_t* message, std::size_t length, int lengthBytes = 1);
    // Closes the track with its end event after `delta` ticks and returns the whole file.
    std::vector<uint8_t> Finish(uint32_t delta);

private:
    std::vector<uint8_t> FBytes;
};

// Writes the image (replacing the file as one step); a failure is told in the "File Error"
// box. True when the file was written.
bool SaveMidiFile(const std::string& path, const std::vector<uint8_t>& image);

} // namespace smf
