#pragma once
// MIDI ports: what the transport needs from a MIDI system, and the back ends behind it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// A port that cannot be opened, or a message the port cannot carry. The text is the MIDI
// system's own where it gives one.
class MidiError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct MidiPortName {
    // The name without the ALSA client:port numbers, which change between runs: what device
    // lists show, what the settings file keeps and what start-up compares.
    std::string Name;
    // The name as the MIDI system reports it.
    std::string FullName;
};

// Called on the back end's own thread, never after the port has been destroyed. On JACK that
// thread is JACK's process thread: a callback must not block or allocate.
struct MidiInputCallbacks {
    // A channel or system message of one to three bytes; missing data bytes are 0.
    // `timestamp` is seconds since the port was opened.
    std::function<void(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, double timestamp)> Short;
    // A whole system-exclusive message, F0 to F7; the bytes are valid during the call only. One
    // longer than MaxInputMessageSize comes cut to its first MaxInputMessageSize bytes.
    std::function<void(const std::uint8_t* data, std::size_t length)> Long;
};

// The longest system-exclusive message an input passes on whole: the program's input buffer
// holds 32,768 bytes, and the longest message it waits for (a voice dump) is 619.
constexpr std::size_t MaxInputMessageSize = 32768;

// An open input: delivers from opening until destruction (which closes it). Timing clock and
// active sensing are not delivered.
class MidiInput {
public:
    virtual ~MidiInput() = default;

    // How many cycles the MIDI system ran late or skipped since the port was opened (JACK's
    // xruns): a message that crossed one may have been lost or repeated. Always 0 where the MIDI
    // system loses nothing so (ALSA).
    virtual std::uint64_t LostCycles() const { return 0; }
};

// How long a send waits for an output that reports itself full before it gives up.
constexpr std::chrono::milliseconds FullOutputPatience{2000};
// How long MidiOutput::Drain waits for the messages sent to cross (JACK takes a cycle or two,
// milliseconds).
constexpr std::chrono::milliseconds DrainPatience{1000};

// What became of one message handed to an output.
enum class MidiSendResult {
    Sent,
    Full,   // the MIDI system's buffer for the port is full for now: nothing was sent, try again later
    Failed, // the MIDI system refused it, has stopped, or the port's destination has gone
};

// An open output; destruction closes it. Used by one thread at a time.
class MidiOutput {
public:
    virtual ~MidiOutput() = default;

    // Sends a buffer of one or more messages. A buffer holding several system-exclusive
    // messages (a relayed file) is cut into them and they go out one by one, in order. Throws
    // MidiError, before anything is sent, when one message is longer than the port can carry,
    // and with the MIDI system's text when it refuses one or stays full for FullOutputPatience.
    void SendLong(const std::uint8_t* data, std::size_t length);
    // Sends one channel or system message with as many data bytes as its status needs; throws
    // as SendLong does.
    void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // The same without throwing or allocating, for an input's thread (the keyboard thru).
    MidiSendResult TrySendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

    // The longest single message the port carries whole.
    virtual std::size_t MaxMessageSize() const { return std::numeric_limits<std::size_t>::max(); }

    // As MidiInput::LostCycles, for the output.
    virtual std::uint64_t LostCycles() const { return 0; }
    // Waits until every message sent so far has crossed to the port's destination (JACK: has
    // left the program's buffer, and the cycles that carry it have run), at most DrainPatience;
    // false when it could not tell (the cycles did not come, the MIDI system has stopped). A
    // MIDI system that takes a message whole at the send (ALSA) has nothing to wait for.
    virtual bool Drain() { return true; }

protected:
    // One whole message to the MIDI system. Must not throw or allocate when it is sent.
    virtual MidiSendResult SendMessage(const std::uint8_t* data, std::size_t length) = 0;
    // What the MIDI system said about the last message that was not sent.
    virtual std::string LastError() = 0;

private:
    void Send(const std::uint8_t* data, std::size_t length);
};

class MidiBackend {
public:
    virtual ~MidiBackend() = default;

    // The ports in the MIDI system's order; an index into these lists opens the port.
    // The program's own ports are not listed. Throw MidiError, saying why, when the MIDI system
    // is not running or refuses the program (JACK); an ALSA without a sequencer has no ports.
    virtual std::vector<MidiPortName> Inputs() = 0;
    virtual std::vector<MidiPortName> Outputs() = 0;

    // Throw MidiError with the MIDI system's text when the port cannot be opened.
    virtual std::unique_ptr<MidiInput> OpenInput(int index, MidiInputCallbacks callbacks) = 0;
    virtual std::unique_ptr<MidiOutput> OpenOutput(int index) = 0;
};

// RtMidi on ALSA, or JACK's own library when the environment variable QUILLMARVEN_MIDI_API is
// "jack". `clientName` names the program's ports; ports of that client are left out of the lists.
// An index given to OpenInput or OpenOutput counts the list the back end gave last, so the port
// opened is the one the caller was shown, whatever came or went since.
std::unique_ptr<MidiBackend> CreateMidiBackend(const std::string& clientName = "Quillmarven");
std::unique_ptr<MidiBackend> CreateJackMidiBackend(const std::string& clientName);

// The longest message a JACK output takes in one piece; a longer one is refused.
constexpr std::size_t JackMaxMessageSize = 16379;

// --- helpers shared by the back ends -------------------------------------------------------

// Drops a trailing " client:port" (ALSA numbers, e.g. "FS1R:FS1R MIDI 1 24:0").
std::string NameWithoutClientPort(const std::string& fullName);

// Whether a port of the full name `fullName` belongs to the client `clientName`; JACK gives a
// second client of the same name a suffix ("Quillmarven-01").
bool IsOwnPort(const std::string& fullName, const std::string& clientName);

// The port at `index` of the list a back end gave last, which its OpenInput and OpenOutput
// count; throws MidiError naming the `kind` ("input", "output") when there is none.
const MidiPortName& ListedPort(const std::vector<MidiPortName>& listed, int index, const char* kind);

// The lookup of the back ends, over the full name of every port the MIDI system reports, in its
// order (`reported`). A port other programs offer, with its place among those (RtMidi opens a
// port by it).
struct OfferedPort {
    std::size_t Place;
    MidiPortName Name;
};

// The ports of `reported` that other programs offer: nameless ports and the program's own (of the
// client `clientName`) are left out.
std::vector<OfferedPort> OfferedPorts(const std::vector<std::string>& reported, const std::string& clientName);

// The place among `reported` of the offered port of the full name `fullName` (one listed before,
// whatever came or went since); throws MidiError when it is offered no longer.
std::size_t PlaceOfOfferedPort(const std::vector<std::string>& reported, const std::string& fullName,
                               const std::string& clientName);

// Number of bytes of the message that `status` begins (1 to 3).
int ShortMessageLength(std::uint8_t status);

// Calls `each(offset, length)` for every message of a buffer: a cut falls before every F0 and
// after every F7, so every byte is passed on, in order, whatever the buffer holds.
void ForEachMessage(const std::uint8_t* data, std::size_t length,
                    const std::function<void(std::size_t offset, std::size_t length)>& each);

// Hands the packets of one input, as a back end receives them, to the callbacks message by
// message. A packet may hold anything a device sent: RtMidi joins a system-exclusive message
// that was never closed with whatever follows until a packet ends in F7. So only whole messages
// are passed on: a system-exclusive message F0 .. F7 with nothing but data bytes between, and a
// short message with all the data bytes its status needs. A system-exclusive message cut short
// by a status byte or by the end of the packet, data bytes without a status, and timing clock
// and active sensing are dropped; a real-time byte inside a system-exclusive message is passed
// on by itself and the message goes on.
//
// A system-exclusive message is passed on where it lies in the packet. Only one with real-time
// bytes inside is copied, without them, into scratch space that the reader owns, sized once:
// nothing is allocated per packet. One reader serves one thread at a time.
class MidiPacketReader {
public:
    explicit MidiPacketReader(MidiInputCallbacks callbacks);
    void Deliver(const std::uint8_t* data, std::size_t length, double timestamp);

private:
    MidiInputCallbacks callbacks_;
    std::vector<std::uint8_t> scratch_;
};

} // namespace platform
