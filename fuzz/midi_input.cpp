// The MIDI input road: any byte stream, cut into packets as the back end delivers them, played
// by the master keyboard (thru and caption) and by the instrument as its answer to every dump
// request of a receive-all (the dispatcher and the dump receiver, waiting for the performance,
// the four voices and the system in turn).
//
// Input: two bytes that seed the cuts (0 0: the stream is one packet), then the stream.
// Properties: only the exact dump a request waits for is stored, so a block whose dump is not
// in the stream, and every block after it, keeps its words; a receive-all that lacked a block
// says so; afterwards every page shows and everything sends as whole 7-bit messages; what the
// keyboard plays through is whole and 7-bit too.
#include "fuzz/FuzzRig.h"

#include <cstring>

namespace {

using fuzz::Bytes;

// The bulk dump of a block as the instrument sends it: F0 43 0n 5E, byte count, address,
// payload, checksum (the sum of count, address, payload and checksum is 0 in seven bits), F7.
bool IsDumpOf(const Bytes& m, std::size_t payload, uint8_t ah)
{
    if (m.size() != payload + 11 || m[0] != 0xF0 || m[1] != 0x43 || (m[2] & 0xF0) != 0 || m[3] != 0x5E) return false;
    if (m[4] != payload >> 7 || m[5] != (payload & 0x7F) || m[6] != ah || m[7] != 0 || m[8] != 0) return false;
    if (m.back() != 0xF7) return false;
    unsigned sum = 0;
    for (std::size_t i = 4; i + 1 < m.size(); ++i) sum += m[i];
    return (sum & 0x7F) == 0;
}

// The system-exclusive messages of one packet that arrive whole: F0, data bytes, F7, with
// real-time bytes taken out; anything else cuts a message short.
std::vector<Bytes> WholeSysEx(const Bytes& packet)
{
    std::vector<Bytes> whole;
    Bytes current;
    for (uint8_t b : packet) {
        if (b >= 0xF8) continue;
        if (b == 0xF0) {
            current = {b};
        } else if (!current.empty() && b < 0x80) {
            current.push_back(b);
        } else if (!current.empty() && b == 0xF7) {
            current.push_back(b);
            whole.push_back(std::move(current));
            current.clear();
        } else {
            current.clear();
        }
    }
    return whole;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    fuzz::Rig& rig = fuzz::Rig::Get();
    rig.Reset();
    TMainForm& form = rig.Form();
    const auto packets = fuzz::CutIntoPackets(data + 2, size - 2, uint16_t(data[0] | data[1] << 8));

    // The master keyboard: what it plays goes through to the instrument at once.
    for (const Bytes& packet : packets) rig.Keyboard().Play(packet);
    rig.Run([] {});
    const auto thru = rig.TakeSent();
    for (const Bytes& m : thru)
        if (m[0] == 0xF0) fuzz::Fail("the keyboard thru relayed a system-exclusive message");
    fuzz::CheckSevenBit(thru, "keyboard thru");

    // Which blocks the receive-all can get, in its order: performance, voices 1 to 4, system.
    struct Block {
        std::size_t payload;
        uint8_t ah;
    };
    const Block order[] = {{400, 0x10}, {608, 0x40}, {608, 0x41}, {608, 0x42}, {608, 0x43}, {76, 0x00}};
    int received = 0;
    for (const Block& block : order) {
        bool found = false;
        for (const Bytes& packet : packets)
            for (const Bytes& m : WholeSysEx(packet)) found = found || IsDumpOf(m, block.payload, block.ah);
        if (!found) break;
        ++received;
    }

    rig.Instrument().SetOnReceive([&](const Bytes& m) {
        if (m.size() == 8 && m[0] == 0xF0 && m[1] == 0x43 && (m[2] & 0xF0) == 0x20)
            for (const Bytes& packet : packets) rig.Instrument().Play(packet);
    });
    const TParameterData before = form.ParameterData;
    const Bytes bufferBefore = rig.EditBuffer();
    rig.Run([&] { form.DataRcvAllClick(nullptr); });
    rig.RunTransfers();
    rig.Instrument().SetOnReceive(nullptr);
    rig.CheckNoFailureShown("receive-all");

    const TParameterData& after = form.ParameterData;
    if (received == 0 && rig.EditBuffer() != bufferBefore)
        fuzz::Fail("the edit buffer changed though no dump asked for came");
    for (int v = 0; v < 4; ++v) {
        if (received >= v + 2) continue;
        VoiceRecord expected = before.VoiceRecords[std::size_t(v)];
        // The performance carries the parts' filter switches, which the voices hold a copy of.
        expected.VoiceCommon.FilterSw = after.VoiceRecords[std::size_t(v)].VoiceCommon.FilterSw;
        if (std::memcmp(&expected, &after.VoiceRecords[std::size_t(v)], sizeof expected) != 0)
            fuzz::Fail("voice " + std::to_string(v + 1) + " changed though its dump never came");
    }
    if (received < 6) {
        if (std::memcmp(&before.SystemBlock, &after.SystemBlock, sizeof before.SystemBlock) != 0)
            fuzz::Fail("the system block changed though its dump never came");
        rig.CheckShown("Please connect MIDI cable!", "receive-all without every block");
    } else {
        for (const TShownMessage& m : Application->Headless().Messages)
            if (m.Text == "Please connect MIDI cable!") fuzz::Fail("every block came, yet the cable box was shown");
    }
    // With nothing received the buffer is the initial one (checked above), shown and sent in
    // every other run.
    if (received > 0) rig.RefreshEveryPageAndSendEverything("after the receive-all");
    return 0;
}
