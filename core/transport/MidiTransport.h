#pragma once
// The program's MIDI devices: the input from the instrument, the optional master-keyboard
// input played through to the output, and the output to the instrument.

#include "platform/Midi.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// A MIDI device that cannot be opened (the text is the MIDI system's), or a message that the
// output cannot carry.
using EMidiError = platform::MidiError;

// The one input buffer queued for a pending dump request.
struct TMidiInBuffer {
    static constexpr int Size = 32768;
    std::vector<std::uint8_t> Data = std::vector<std::uint8_t>(Size, 0);
    int BytesRecorded = 0;
};

// What the input has handed to the UI thread, and what it let go because the UI thread was
// behind.
struct TMidiInputCounts {
    std::uint64_t Posted = 0;       // messages handed to the UI thread
    std::uint64_t DroppedShort = 0; // short messages dropped because the queue was full
    int PeakQueued = 0;             // most messages waiting for the UI thread at one time
};

class TMidiTransport {
public:
    // Runs a piece of work on the UI thread; it may be called from any thread.
    using Poster = std::function<void(std::function<void()>)>;
    // Tells whether a system-exclusive message is the one a pending request waits for.
    using Awaited = std::function<bool(const std::uint8_t* data, std::size_t length)>;

    // Short messages from the inputs only change the caption; at most this many wait for the
    // UI thread at a time, and any more are dropped (and counted) while the UI thread is
    // behind. Thru is played on the input's thread and never waits in the queue; a dump a
    // request waits for is never dropped (there is one per request).
    static constexpr int MaxQueuedShort = 256;

    // MIDI input arrives on the back end's thread and is handed to `poster`, so the handlers
    // below always run on the UI thread. Without a poster they run on the back end's thread.
    explicit TMidiTransport(platform::MidiBackend& backend, Poster poster = {});
    ~TMidiTransport(); // closes every device
    TMidiTransport(const TMidiTransport&) = delete;
    TMidiTransport& operator=(const TMidiTransport&) = delete;

    // Handlers, called on the UI thread. Long data: the system-exclusive message that filled
    // the queued input buffer (data points into the buffer, `length` bytes were received).
    // Short data: a short message from either input.
    std::function<void(const std::uint8_t* data, int length)> OnLongData;
    std::function<void(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)> OnShortData;

    // Device names in the order the open operations' indices count them.
    std::vector<std::string> InputNames() const;
    std::vector<std::string> OutputNames() const;

    // Sends `length` bytes as long MIDI messages. Works on a copy whose byte 2 gets
    // `deviceNumber` added; the caller's buffer is left as it was. A buffer of several
    // messages (a relayed file) goes out message by message, only the first one's byte 2
    // changed. Throws EMidiError when one message is longer than the output carries.
    void SendSysEx(const std::uint8_t* data, int length, int deviceNumber);
    void SendNoteOn(int channel, int note, int velocity);
    void SendControlChange(int channel, int controller, int value);

    // Each open first closes what its handle held, then opens the device at `index`
    // (of InputNames or OutputNames). Throws EMidiError with the MIDI system's text.
    void OpenMidiIn(int index);
    void OpenKeyboardIn(int index);
    void OpenMidiOut(int index);

    // The opening sequence of start-up and the setup dialog: input and output, then
    // MidiPortsOpen; then, when `keyboardIndex` >= 0, the keyboard input connected through to
    // the output and KeyboardThruOn. A failure leaves no half-open pair: when the input or the
    // output fails both are closed; when only the keyboard fails the pair stays open. The
    // error is thrown on in both cases.
    void OpenMidiPorts(int midiInIndex, int midiOutIndex, int keyboardIndex);

    // Stops the instrument input (releasing a queued buffer); when KeyboardThruOn, cuts the
    // thru connection and closes the keyboard input; closes the instrument input.
    void CloseMidiIn();
    // When MidiPortsOpen: silences the output and closes it; then clears MidiPortsOpen, so it
    // belongs after CloseMidiIn.
    void CloseMidiOut();

    // Queue one zero-filled buffer on the instrument input and start it; stop it and release
    // the buffer. The first system-exclusive message after the start that `awaited` accepts
    // (any, without it) fills the buffer; later ones of the same request are not received.
    // Other messages (what else a device sends meanwhile) leave the buffer to the answer.
    void StartMidiInBuffer(Awaited awaited = {});
    void StopMidiInBuffer();

    TMidiInputCounts InputCounts() const;

    // The thru connection from the keyboard input to the output (played in software).
    void ConnectKeyboardThru();
    void CutKeyboardThru();

    bool MidiPortsOpen = false;  // the instrument input and the output were opened
    bool KeyboardThruOn = false; // the keyboard input is open and played through

    bool IsMidiInOpen() const { return MidiInHandle != nullptr; }
    bool IsKeyboardInOpen() const { return KeyboardInHandle != nullptr; }
    bool IsMidiOutOpen() const;
    bool IsInputBufferQueued() const { return MidiInHeader != nullptr; }

private:
    void ReceiveShort(bool fromKeyboard, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void ReceiveLong(std::vector<std::uint8_t> message);
    void PlayThrough(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // Hands work to the UI thread and counts it in the queue until it has run there.
    void Post(bool shortMessage, std::function<void()> work);
    std::unique_ptr<platform::MidiInput> OpenInput(int index, bool keyboard);
    void CloseKeyboardIn();

    platform::MidiBackend& backend_;
    Poster poster_;
    // Messages posted to the UI thread and not yet handled there. Posted work holds it weakly
    // and checks it first: the transport may be gone by then.
    struct Queue {
        std::atomic<int> Queued{0};
        std::atomic<int> QueuedShort{0};
        std::atomic<int> Peak{0};
        std::atomic<std::uint64_t> Posted{0};
        std::atomic<std::uint64_t> DroppedShort{0};
    };
    std::shared_ptr<Queue> queue_ = std::make_shared<Queue>();

    // A closed device is an empty handle, so it can never be used again.
    std::unique_ptr<platform::MidiInput> MidiInHandle;
    std::unique_ptr<platform::MidiInput> KeyboardInHandle;
    std::unique_ptr<platform::MidiOutput> MidiOutHandle; // guarded by sendMutex_
    std::unique_ptr<TMidiInBuffer> MidiInHeader;         // UI thread only

    // Sends from the UI thread and thru from the keyboard's thread share the output.
    mutable std::recursive_mutex sendMutex_;
    // Written under sendMutex_; read first without it, so a keyboard message that is not played
    // through never waits for a long send to finish.
    std::atomic<bool> thruConnected_{false};

    // What the instrument input's thread may deliver. `requestId_` names the current request,
    // so a message claimed for a request that has since been stopped is dropped.
    std::mutex inputMutex_;
    bool inputRunning_ = false;
    bool bufferFree_ = false;
    unsigned requestId_ = 0;
    Awaited awaited_;
};

// The caption that ShowReceivedMidi shows for a received short message: `captionText` and the
// monitor text. Empty for timing clock and active sensing, which leave the caption as it is.
std::optional<std::string> ReceivedMidiCaption(const std::string& captionText, std::uint8_t status, std::uint8_t data1,
                                               std::uint8_t data2);
