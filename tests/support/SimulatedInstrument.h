// A stand-in for the synthesizer on the far end of the MIDI cable. It keeps its own edit buffer
// in its own byte form (the payloads of its bulk dumps), takes parameter changes and bulk
// dumps, and answers a dump request with the bulk dump of that block, or, on demand, with
// nothing, a truncated dump or a dump with a bad checksum. It is fed bytes and returns the
// bytes it answers; it knows nothing of the editor's data model.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

class SimulatedInstrument {
public:
    enum class Answer { Dump, Nothing, Truncated, BadChecksum };

    static constexpr std::size_t PerformanceBytes = 400;
    static constexpr std::size_t VoiceBytes = 608;
    static constexpr std::size_t SystemBytes = 76;

    // Feeds a stream of bytes (one or several messages); returns every answer, concatenated.
    std::vector<uint8_t> Receive(const uint8_t* data, std::size_t length);
    std::vector<uint8_t> Receive(const std::vector<uint8_t>& bytes) { return Receive(bytes.data(), bytes.size()); }

    // A correct bulk dump of a block of the edit buffer (performance 10 00 00, voice
    // 40+v 00 00, system 00 00 00), carrying DeviceNumber; empty for any other address.
    std::vector<uint8_t> BulkDumpOf(uint8_t ah, uint8_t am, uint8_t al) const;

    Answer AnswerMode = Answer::Dump;
    int DeviceNumber = 0; // messages for another device number are ignored

    std::array<uint8_t, PerformanceBytes> Performance{};
    std::array<std::array<uint8_t, VoiceBytes>, 4> Voices{};
    // Its system block; position 10 is its system-exclusive receive switch, on at first. While it
    // is off, parameter changes and bulk dumps are ignored (dump requests are still answered).
    std::array<uint8_t, SystemBytes> System = [] {
        std::array<uint8_t, SystemBytes> s{};
        s[0x10] = 1;
        return s;
    }();
    // Payloads stored into internal memory, by memory number.
    std::map<int, std::vector<uint8_t>> StoredPerformances;
    std::map<int, std::vector<uint8_t>> StoredVoices;

    int ParameterChangesTaken = 0;
    int BulkDumpsTaken = 0;
    int MessagesIgnored = 0;

private:
    void Take(const uint8_t* m, std::size_t n, std::vector<uint8_t>& answers);
    void TakeParameterChange(const uint8_t* m);
    void TakeBulkDump(const uint8_t* m, std::size_t n);
    uint8_t* Locate(uint8_t ah, uint8_t am, uint8_t al, bool& twoBytes);
};
