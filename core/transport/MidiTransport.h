#pragma once
// The program's MIDI devices: the input from the instrument, the optional master-keyboard
// input played through to the output, and the output to the instrument.

#include "core/transport/SpscRing.h"
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
static_assert(TMidiInBuffer::Size == platform::MaxInputMessageSize);

// What a pending request waits for: a test of a whole system-exclusive message and the key it
// is asked with (the receive target). A plain function that reads nothing but its arguments,
// so an input's thread may ask it without a lock. Without one, any message is taken.
struct TAwaitedMessage {
    bool (*Matches)(std::int32_t key, const std::uint8_t* data, std::size_t length) = nullptr;
    std::int32_t Key = 0;
};

// What the inputs have handed to the UI thread, what they let go because the UI thread was
// behind, and what the keyboard played through.
struct TMidiInputCounts {
    std::uint64_t Posted = 0;       // short messages queued for the UI thread
    std::uint64_t DroppedShort = 0; // short messages that found their queue full (captions skipped)
    std::size_t PeakQueued = 0;     // most short messages waiting in one input's queue at one time
    std::uint64_t DumpsTaken = 0;   // messages taken into the input buffer
    std::uint64_t ThruSent = 0;     // keyboard messages played through
    std::uint64_t ThruLost = 0;     // keyboard messages the thru queue had no room for, or the output refused
};

// What a transfer compares at its end with what held at its start.
struct TMidiLossMark {
    // Cycles the MIDI system ran late or skipped on the instrument's input and output (JACK's
    // xruns, as each port heard of them): a message that crossed one may have been lost.
    std::uint64_t LostCycles = 0;
    // System-exclusive messages (or relayed files) sent.
    std::uint64_t SysExSent = 0;
};

class TMidiTransport {
public:
    // Called on an input's thread when something waits for the UI thread, which then calls
    // DeliverInput. It must not lock or allocate (a TWakeSource's Signal does neither).
    using Wake = std::function<void()>;

    // From the MIDI library's callback on, the input road takes no lock and allocates nothing:
    // - The awaited dump never passes through a queue: it is copied straight into the input
    //   buffer the UI thread prepared with the request (32,768 bytes, fifty times the largest
    //   dump the program awaits, a voice's 619), claimed with one atomic word that names the
    //   request, and so never dropped.
    // - Short messages (only the caption shows them) wait in a fixed queue per input. A MIDI
    //   cable carries 3,125 bytes a second: at most 3,125 one-byte real-time messages, or about
    //   1,560 notes in running status. 1,024 places hold a third of a second of the densest
    //   cable and two thirds of a second of notes, far longer than the UI thread is ever busy
    //   (a whole voice page refresh takes milliseconds). What finds the queue full is counted
    //   and skipped; the newest such message is kept, so the caption still ends on the last
    //   message received.
    // - Keyboard thru: see the thru section of MidiTransport.cpp. Its queue holds 4,096
    //   messages, over a second of the densest cable, for an output that is busy with a long
    //   send or full.
    static constexpr std::size_t ShortQueueSize = 1024;
    static constexpr std::size_t ThruQueueSize = 4096;

    // `wake` may be empty: then the owner calls DeliverInput when it likes (tests do).
    explicit TMidiTransport(platform::MidiBackend& backend, Wake wake = {});
    ~TMidiTransport(); // closes every device
    TMidiTransport(const TMidiTransport&) = delete;
    TMidiTransport& operator=(const TMidiTransport&) = delete;

    // Handlers, called on the UI thread from DeliverInput. Long data: the system-exclusive
    // message that filled the queued input buffer (data points into the buffer, `length` bytes
    // were received). Short data: a short message from either input.
    std::function<void(const std::uint8_t* data, int length)> OnLongData;
    std::function<void(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)> OnShortData;

    // UI thread, when woken: hands the dump that filled the input buffer to OnLongData, the
    // short messages to OnShortData in the order they arrived at either input, and sends what
    // the keyboard thru still holds. True when thru messages wait for a full output: call it
    // again shortly.
    bool DeliverInput();

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

    // Queue the zero-filled buffer on the instrument input and start it; stop it and release
    // the buffer. The first system-exclusive message after the start that `awaited` accepts
    // (any, without a test) fills the buffer; later ones of the same request are not received.
    // Other messages (what else a device sends meanwhile) leave the buffer to the answer. A
    // dump that filled the buffer before the stop reaches OnLongData at the stop if the UI
    // thread has not taken it yet: what came in time counts, whatever order the UI thread
    // takes its events in.
    void StartMidiInBuffer(TAwaitedMessage awaited = {});
    void StopMidiInBuffer();

    TMidiInputCounts InputCounts() const;

    // The counts a transfer compares; they only grow, whatever is opened or closed meanwhile.
    TMidiLossMark LossMark() const;
    // Waits until what was sent has crossed to the instrument's port, as far as the MIDI system
    // can tell (platform::MidiOutput::Drain, a second at most); false when it could not tell.
    bool WaitUntilSent();

    // The thru connection from the keyboard input to the output (played in software).
    // Messages the keyboard sent before a cut still go out.
    void ConnectKeyboardThru();
    void CutKeyboardThru();

    bool MidiPortsOpen = false;  // the instrument input and the output were opened
    bool KeyboardThruOn = false; // the keyboard input is open and played through

    bool IsMidiInOpen() const { return MidiInHandle != nullptr; }
    bool IsKeyboardInOpen() const { return KeyboardInHandle != nullptr; }
    bool IsMidiOutOpen() const { return MidiOutHandle != nullptr; }
    // How many times an output was opened: tells one closed spell of the output from the next.
    unsigned MidiOutOpenings() const { return outOpenings_; }
    bool IsInputBufferQueued() const { return bufferQueued_; }

private:
    class TOutputLock;
    struct TInputQueue;

    // Inputs' threads.
    void ReceiveShort(bool fromKeyboard, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void ReceiveLong(const std::uint8_t* data, std::size_t length);
    void QueueThru(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void WakeUp() const;
    // Any thread; true when messages wait for a full output.
    bool FlushThru();
    bool SendQueuedThru(); // with the output held
    // UI thread.
    void DeliverFilledDump();
    void DeliverShortMessages();
    void CloseRequest();
    void ShowShort(std::uint64_t entry);
    std::unique_ptr<platform::MidiInput> OpenInput(int index, bool keyboard);
    void CloseKeyboardIn();
    // Closes a port, keeping the cycles it lost in the counts of LossMark.
    template <class Port>
    void Retire(std::unique_ptr<Port>& handle);

    platform::MidiBackend& backend_;
    Wake wake_;

    // A closed device is an empty handle, so it can never be used again. The handles change
    // on the UI thread only; the output only while it is held.
    std::unique_ptr<platform::MidiInput> MidiInHandle;
    std::unique_ptr<platform::MidiInput> KeyboardInHandle;
    std::unique_ptr<platform::MidiOutput> MidiOutHandle;
    unsigned outOpenings_ = 0;
    std::uint64_t lostBefore_ = 0; // cycles lost by the ports closed so far
    std::uint64_t sysExSent_ = 0;

    // --- the dump request ---
    // The buffer is prepared once and zero-filled at every request. `request_` holds the
    // request's number and its phase; the input's thread claims the buffer by moving the phase
    // from open to busy, and while it is busy the UI thread leaves buffer and test alone.
    std::unique_ptr<TMidiInBuffer> MidiInHeader = std::make_unique<TMidiInBuffer>();
    std::atomic<std::uint32_t> request_{0};
    TAwaitedMessage awaited_;         // written by the UI thread while no request is open
    std::size_t filled_ = 0;          // written by the input's thread before the phase says filled
    std::uint32_t requestNumber_ = 0; // UI thread
    bool bufferQueued_ = false;       // UI thread
    bool delivered_ = false;          // UI thread
    std::atomic<std::uint64_t> dumpsTaken_{0};

    // --- short messages to the UI thread ---
    // Entries carry the message and its place in the order of arrival at either input.
    std::unique_ptr<TInputQueue> instrumentQueue_;
    std::unique_ptr<TInputQueue> keyboardQueue_;
    std::atomic<std::uint64_t> nextArrival_{1};
    std::uint64_t shownArrival_ = 0; // UI thread: the newest message shown

    // --- keyboard thru ---
    std::unique_ptr<TSpscRing<std::uint32_t, ThruQueueSize>> thru_;
    std::atomic<bool> thruConnected_{false};
    std::atomic<bool> thruPending_{false}; // queued messages that no flush has looked at yet
    std::atomic<bool> thruBlocked_{false}; // the last flush found the output full
    std::atomic<bool> outputHeld_{false};  // the lock of the output
    std::atomic<std::uint64_t> thruSent_{0}, thruLost_{0};
    // The UI thread's side of the output lock: re-entrant (an instrument double may answer
    // inside a send), and the holders among UI-side callers queue here, not on `outputHeld_`.
    std::recursive_mutex sendMutex_;
    int outputDepth_ = 0; // under sendMutex_
};

// The caption that ShowReceivedMidi shows for a received short message: `captionText` and the
// monitor text. Empty for timing clock and active sensing, which leave the caption as it is.
std::optional<std::string> ReceivedMidiCaption(const std::string& captionText, std::uint8_t status, std::uint8_t data1,
                                               std::uint8_t data2);
