#include "core/transport/MidiTransport.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

// The phase of the dump request, in the low two bits of its word; the request's number above.
enum : std::uint32_t { Closed = 0, Open = 1, Busy = 2, Filled = 3 };
constexpr std::uint32_t PhaseOf(std::uint32_t word) { return word & 3u; }
constexpr std::uint32_t WithPhase(std::uint32_t word, std::uint32_t phase) { return (word & ~3u) | phase; }

// A short message as it waits for the UI thread: its bytes, and above them its place in the
// order of arrival at either input (forty bits: years of the densest cable).
constexpr std::uint64_t Entry(std::uint64_t arrival, std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    return arrival << 24 | std::uint64_t(data2) << 16 | std::uint64_t(data1) << 8 | status;
}
constexpr std::uint64_t ArrivalOf(std::uint64_t entry) { return entry >> 24; }

constexpr std::uint32_t ThruEntry(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    return std::uint32_t(data2) << 16 | std::uint32_t(data1) << 8 | status;
}

} // namespace

// One input's queue of short messages to the UI thread; the input's thread is the producer.
struct TMidiTransport::TInputQueue {
    TSpscRing<std::uint64_t, ShortQueueSize> Ring;
    std::atomic<std::uint64_t> LastDropped{0}; // the newest entry that found the ring full
    std::atomic<std::uint64_t> Posted{0}, Dropped{0};
    std::atomic<std::size_t> Peak{0};
};

// ---- the output lock -------------------------------------------------------------------------
//
// Keyboard thru. The keyboard's messages arrive on its input's thread (on JACK, JACK's process
// thread), which must never wait for the output while the UI thread sends a long dump over it,
// and a note must not be lost because the output was busy or full. So every message the
// keyboard plays goes into a fixed queue first, and whoever holds the output sends what the
// queue holds:
// - the keyboard's thread takes the output only if it is free (one atomic exchange) and sends
//   the queue; if the output is held, it leaves the queue to the holder and returns at once;
// - the UI thread, when it holds the output for a send of its own, sends the queue before its
//   message (they came first) and again after letting go, so nothing that arrived while it held
//   the output waits for the next key;
// - an output that reports itself full keeps the message at the head of the queue; the next
//   flush sends it: the UI thread is woken, and DeliverInput tells it to try again shortly
//   (RtMidi 5.0's JACK output does not report it: it waits inside the send until the next
//   cycle has made room, which only a long send just before can make it do);
// - a message the output refuses outright is counted and dropped, as is one the full queue
//   has no room for.
// Whoever lets the output go looks at `thruPending_` afterwards, and the keyboard's thread
// raises it before it tries the output; both are sequentially consistent, so a message queued
// while another thread held the output is always seen by that thread or by its own try.
// Sends from the UI thread keep their errors (a message too long, a refused one).

class TMidiTransport::TOutputLock {
public:
    explicit TOutputLock(TMidiTransport& t) : t_(t), lock_(t.sendMutex_)
    {
        if (t_.outputDepth_++ > 0) return;
        while (t_.outputHeld_.exchange(true)) std::this_thread::yield(); // the keyboard sends a few notes at most
        t_.thruPending_.store(false);
        if (t_.SendQueuedThru()) t_.WakeUp();
    }
    ~TOutputLock()
    {
        if (--t_.outputDepth_ > 0) return;
        t_.outputHeld_.store(false);
        lock_.unlock();
        if (t_.FlushThru()) t_.WakeUp();
    }
    TOutputLock(const TOutputLock&) = delete;
    TOutputLock& operator=(const TOutputLock&) = delete;

private:
    TMidiTransport& t_;
    std::unique_lock<std::recursive_mutex> lock_;
};

// ---- opening and closing ---------------------------------------------------------------------

template <class Port>
void TMidiTransport::Retire(std::unique_ptr<Port>& handle)
{
    if (handle) lostBefore_ += handle->LostCycles();
    handle.reset();
}

TMidiTransport::TMidiTransport(platform::MidiBackend& backend, Wake wake)
    : backend_(backend), wake_(std::move(wake)), instrumentQueue_(std::make_unique<TInputQueue>()),
      keyboardQueue_(std::make_unique<TInputQueue>()),
      thru_(std::make_unique<TSpscRing<std::uint32_t, ThruQueueSize>>())
{}

TMidiTransport::~TMidiTransport()
{
    // Inputs first: once they are gone no thread but this one uses the transport.
    KeyboardInHandle.reset();
    MidiInHandle.reset();
    TOutputLock lock(*this);
    MidiOutHandle.reset();
}

std::vector<std::string> TMidiTransport::InputNames() const
{
    std::vector<std::string> names;
    for (auto& port : backend_.Inputs()) names.push_back(std::move(port.Name));
    return names;
}

std::vector<std::string> TMidiTransport::OutputNames() const
{
    std::vector<std::string> names;
    for (auto& port : backend_.Outputs()) names.push_back(std::move(port.Name));
    return names;
}

std::unique_ptr<platform::MidiInput> TMidiTransport::OpenInput(int index, bool keyboard)
{
    platform::MidiInputCallbacks callbacks;
    callbacks.Short = [this, keyboard](std::uint8_t status, std::uint8_t data1, std::uint8_t data2, double) {
        ReceiveShort(keyboard, status, data1, data2);
    };
    // Only the instrument input ever has a buffer, so only it takes long messages.
    if (!keyboard) callbacks.Long = [this](const std::uint8_t* data, std::size_t length) { ReceiveLong(data, length); };
    return backend_.OpenInput(index, std::move(callbacks));
}

void TMidiTransport::OpenMidiIn(int index)
{
    CloseRequest();
    bufferQueued_ = false;
    Retire(MidiInHandle);
    MidiInHandle = OpenInput(index, false);
}

void TMidiTransport::OpenKeyboardIn(int index)
{
    CloseKeyboardIn();
    KeyboardInHandle = OpenInput(index, true);
}

void TMidiTransport::CloseKeyboardIn()
{
    CutKeyboardThru();
    KeyboardInHandle.reset();
    KeyboardThruOn = false;
}

void TMidiTransport::OpenMidiOut(int index)
{
    {
        TOutputLock lock(*this);
        thruConnected_ = false;
        Retire(MidiOutHandle);
    }
    auto output = backend_.OpenOutput(index);
    TOutputLock lock(*this);
    MidiOutHandle = std::move(output);
    ++outOpenings_;
}

void TMidiTransport::OpenMidiPorts(int midiInIndex, int midiOutIndex, int keyboardIndex)
{
    CloseKeyboardIn();
    try {
        OpenMidiIn(midiInIndex);
        OpenMidiOut(midiOutIndex);
    } catch (...) {
        Retire(MidiInHandle);
        {
            TOutputLock lock(*this);
            Retire(MidiOutHandle);
        }
        MidiPortsOpen = false;
        throw;
    }
    MidiPortsOpen = true;
    if (keyboardIndex >= 0) {
        OpenKeyboardIn(keyboardIndex);
        ConnectKeyboardThru();
        KeyboardThruOn = true;
    }
}

void TMidiTransport::CloseMidiIn()
{
    CloseRequest();
    bufferQueued_ = false;
    CloseKeyboardIn();
    Retire(MidiInHandle);
}

void TMidiTransport::CloseMidiOut()
{
    TOutputLock lock(*this);
    thruConnected_ = false;
    if (MidiOutHandle && MidiPortsOpen) {
        // Silence what is still sounding: All Notes Off on every channel.
        try {
            for (std::uint8_t channel = 0; channel < 16; ++channel)
                MidiOutHandle->SendShort(static_cast<std::uint8_t>(0xB0 | channel), 123, 0);
        } catch (const EMidiError&) {
            // The output goes away all the same.
        }
    }
    Retire(MidiOutHandle);
    MidiPortsOpen = false;
}

void TMidiTransport::ConnectKeyboardThru() { thruConnected_ = KeyboardInHandle && MidiOutHandle; }

void TMidiTransport::CutKeyboardThru() { thruConnected_ = false; }

// ---- sending -----------------------------------------------------------------------------------

void TMidiTransport::SendSysEx(const std::uint8_t* data, int length, int deviceNumber)
{
    if (!data || length <= 0) return;
    std::vector<std::uint8_t> copy(data, data + length);
    if (copy.size() > 2) copy[2] = static_cast<std::uint8_t>(copy[2] + deviceNumber);
    TOutputLock lock(*this);
    if (!MidiOutHandle) return;
    MidiOutHandle->SendLong(copy.data(), copy.size());
    ++sysExSent_;
}

// ---- what may have been lost ---------------------------------------------------------------------

TMidiLossMark TMidiTransport::LossMark() const
{
    std::uint64_t lost = lostBefore_;
    if (MidiInHandle) lost += MidiInHandle->LostCycles();
    if (MidiOutHandle) lost += MidiOutHandle->LostCycles();
    return {lost, sysExSent_};
}

bool TMidiTransport::WaitUntilSent()
{
    TOutputLock lock(*this);
    return !MidiOutHandle || MidiOutHandle->Drain();
}

void TMidiTransport::SendNoteOn(int channel, int note, int velocity)
{
    TOutputLock lock(*this);
    if (MidiOutHandle)
        MidiOutHandle->SendShort(static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(note),
                                 static_cast<std::uint8_t>(velocity));
}

void TMidiTransport::SendControlChange(int channel, int controller, int value)
{
    TOutputLock lock(*this);
    if (MidiOutHandle)
        MidiOutHandle->SendShort(static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(controller),
                                 static_cast<std::uint8_t>(value));
}

// ---- the dump request ----------------------------------------------------------------------

void TMidiTransport::StartMidiInBuffer(TAwaitedMessage awaited)
{
    CloseRequest();
    std::fill(MidiInHeader->Data.begin(), MidiInHeader->Data.end(), std::uint8_t(0));
    MidiInHeader->BytesRecorded = 0;
    awaited_ = awaited;
    delivered_ = false;
    bufferQueued_ = true;
    // The instrument input runs only while a request is pending, and only when it is open.
    request_.store((++requestNumber_ << 2) | (MidiInHandle ? Open : Closed), std::memory_order_release);
}

void TMidiTransport::StopMidiInBuffer()
{
    DeliverFilledDump();
    CloseRequest();
    bufferQueued_ = false;
}

void TMidiTransport::CloseRequest()
{
    std::uint32_t word = request_.load(std::memory_order_acquire);
    for (;;) {
        if (PhaseOf(word) == Busy) { // the input's thread is testing or copying one message
            std::this_thread::yield();
            word = request_.load(std::memory_order_acquire);
        } else if (request_.compare_exchange_weak(word, WithPhase(word, Closed), std::memory_order_acq_rel)) {
            return;
        }
    }
}

// Instrument input's thread. The buffer is claimed here, on arrival, so a message that came
// before the request, after another message filled the buffer, or that the request does not
// wait for is never taken.
void TMidiTransport::ReceiveLong(const std::uint8_t* data, std::size_t length)
{
    std::uint32_t word = request_.load(std::memory_order_acquire);
    if (PhaseOf(word) != Open) return;
    if (!request_.compare_exchange_strong(word, WithPhase(word, Busy), std::memory_order_acq_rel)) return;
    const bool take = !awaited_.Matches || awaited_.Matches(awaited_.Key, data, length);
    if (take) {
        filled_ = std::min(length, MidiInHeader->Data.size()); // the rest finds no buffer
        std::memcpy(MidiInHeader->Data.data(), data, filled_);
        dumpsTaken_.fetch_add(1, std::memory_order_relaxed);
    }
    request_.store(WithPhase(word, take ? Filled : Open), std::memory_order_release);
    if (take) WakeUp();
}

void TMidiTransport::DeliverFilledDump()
{
    if (!bufferQueued_ || delivered_ || PhaseOf(request_.load(std::memory_order_acquire)) != Filled) return;
    delivered_ = true;
    MidiInHeader->BytesRecorded = static_cast<int>(filled_);
    if (OnLongData) OnLongData(MidiInHeader->Data.data(), MidiInHeader->BytesRecorded);
}

// ---- short messages ------------------------------------------------------------------------

// An input's thread.
void TMidiTransport::ReceiveShort(bool fromKeyboard, std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    if (fromKeyboard) {
        if (thruConnected_.load(std::memory_order_acquire)) QueueThru(status, data1, data2);
    } else if (PhaseOf(request_.load(std::memory_order_acquire)) == Closed) {
        return; // the instrument input runs only while a request is pending
    }
    TInputQueue& queue = fromKeyboard ? *keyboardQueue_ : *instrumentQueue_;
    const std::uint64_t entry = Entry(nextArrival_.fetch_add(1, std::memory_order_relaxed), status, data1, data2);
    if (queue.Ring.Push(entry)) {
        queue.Posted.fetch_add(1, std::memory_order_relaxed);
        const std::size_t waiting = queue.Ring.Size();
        if (waiting > queue.Peak.load(std::memory_order_relaxed)) queue.Peak.store(waiting, std::memory_order_relaxed);
    } else {
        queue.LastDropped.store(entry, std::memory_order_release);
        queue.Dropped.fetch_add(1, std::memory_order_relaxed);
    }
    WakeUp();
}

void TMidiTransport::WakeUp() const
{
    if (wake_) wake_();
}

bool TMidiTransport::DeliverInput()
{
    DeliverFilledDump();
    DeliverShortMessages();
    thruPending_.store(true);
    FlushThru();
    return thruBlocked_.load();
}

void TMidiTransport::DeliverShortMessages()
{
    TInputQueue* queues[2] = {instrumentQueue_.get(), keyboardQueue_.get()};
    // What waits now, in the order it arrived; what comes meanwhile wakes the UI thread again.
    for (std::size_t budget = queues[0]->Ring.Size() + queues[1]->Ring.Size(); budget > 0; --budget) {
        const std::uint64_t* a = queues[0]->Ring.Front();
        const std::uint64_t* b = queues[1]->Ring.Front();
        if (!a && !b) break;
        TInputQueue& from = (a && (!b || ArrivalOf(*a) < ArrivalOf(*b))) ? *queues[0] : *queues[1];
        const std::uint64_t entry = *from.Ring.Front();
        from.Ring.Pop();
        ShowShort(entry);
    }
    // The newest message that found a queue full is shown last, unless a newer one has been.
    const std::uint64_t dropped = std::max(queues[0]->LastDropped.load(std::memory_order_acquire),
                                           queues[1]->LastDropped.load(std::memory_order_acquire));
    if (ArrivalOf(dropped) > shownArrival_) ShowShort(dropped);
}

void TMidiTransport::ShowShort(std::uint64_t entry)
{
    shownArrival_ = std::max(shownArrival_, ArrivalOf(entry));
    if (OnShortData)
        OnShortData(static_cast<std::uint8_t>(entry), static_cast<std::uint8_t>(entry >> 8),
                    static_cast<std::uint8_t>(entry >> 16));
}

TMidiInputCounts TMidiTransport::InputCounts() const
{
    TMidiInputCounts counts;
    for (const TInputQueue* queue : {instrumentQueue_.get(), keyboardQueue_.get()}) {
        counts.Posted += queue->Posted.load();
        counts.DroppedShort += queue->Dropped.load();
        counts.PeakQueued = std::max(counts.PeakQueued, queue->Peak.load());
    }
    counts.DumpsTaken = dumpsTaken_.load();
    counts.ThruSent = thruSent_.load();
    counts.ThruLost = thruLost_.load();
    return counts;
}

// ---- keyboard thru (see the output lock above) ----------------------------------------------

// Keyboard's thread.
void TMidiTransport::QueueThru(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    if (!thru_->Push(ThruEntry(status, data1, data2))) thruLost_.fetch_add(1, std::memory_order_relaxed);
    thruPending_.store(true);
    if (FlushThru()) WakeUp(); // the UI thread tries again shortly
}

bool TMidiTransport::FlushThru()
{
    while (thruPending_.load()) {
        if (outputHeld_.exchange(true)) return false; // the holder sends it after letting go
        thruPending_.store(false);
        const bool blocked = SendQueuedThru();
        outputHeld_.store(false);
        if (blocked) return true;
    }
    return false;
}

bool TMidiTransport::SendQueuedThru()
{
    while (const std::uint32_t* entry = thru_->Front()) {
        const auto status = static_cast<std::uint8_t>(*entry);
        const auto data1 = static_cast<std::uint8_t>(*entry >> 8), data2 = static_cast<std::uint8_t>(*entry >> 16);
        const platform::MidiSendResult sent =
            MidiOutHandle ? MidiOutHandle->TrySendShort(status, data1, data2) : platform::MidiSendResult::Failed;
        if (sent == platform::MidiSendResult::Full) {
            thruBlocked_.store(true);
            return true;
        }
        (sent == platform::MidiSendResult::Sent ? thruSent_ : thruLost_).fetch_add(1, std::memory_order_relaxed);
        thru_->Pop();
    }
    thruBlocked_.store(false);
    return false;
}
