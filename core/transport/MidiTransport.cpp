#include "core/transport/MidiTransport.h"

#include <algorithm>

TMidiTransport::TMidiTransport(platform::MidiBackend& backend, Poster poster)
    : backend_(backend), poster_(std::move(poster))
{}

TMidiTransport::~TMidiTransport()
{
    // Inputs first: once they are gone no thru can reach the output.
    KeyboardInHandle.reset();
    MidiInHandle.reset();
    std::lock_guard lock(sendMutex_);
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

void TMidiTransport::SendSysEx(const std::uint8_t* data, int length, int deviceNumber)
{
    if (!data || length <= 0) return;
    std::vector<std::uint8_t> copy(data, data + length);
    if (copy.size() > 2) copy[2] = static_cast<std::uint8_t>(copy[2] + deviceNumber);
    std::lock_guard lock(sendMutex_);
    if (MidiOutHandle) MidiOutHandle->SendLong(copy.data(), copy.size());
}

void TMidiTransport::SendNoteOn(int channel, int note, int velocity)
{
    std::lock_guard lock(sendMutex_);
    if (MidiOutHandle)
        MidiOutHandle->SendShort(static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(note),
                                 static_cast<std::uint8_t>(velocity));
}

void TMidiTransport::SendControlChange(int channel, int controller, int value)
{
    std::lock_guard lock(sendMutex_);
    if (MidiOutHandle)
        MidiOutHandle->SendShort(static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(controller),
                                 static_cast<std::uint8_t>(value));
}

std::unique_ptr<platform::MidiInput> TMidiTransport::OpenInput(int index, bool keyboard)
{
    platform::MidiInputCallbacks callbacks;
    callbacks.Short = [this, keyboard](std::uint8_t status, std::uint8_t data1, std::uint8_t data2, double) {
        ReceiveShort(keyboard, status, data1, data2);
    };
    // Only the instrument input ever has a buffer, so only it takes long messages.
    if (!keyboard) callbacks.Long = [this](std::vector<std::uint8_t> message) { ReceiveLong(std::move(message)); };
    return backend_.OpenInput(index, std::move(callbacks));
}

void TMidiTransport::OpenMidiIn(int index)
{
    StopMidiInBuffer();
    MidiInHandle.reset();
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
        std::lock_guard lock(sendMutex_);
        thruConnected_ = false;
        MidiOutHandle.reset();
    }
    auto output = backend_.OpenOutput(index);
    std::lock_guard lock(sendMutex_);
    MidiOutHandle = std::move(output);
}

void TMidiTransport::OpenMidiPorts(int midiInIndex, int midiOutIndex, int keyboardIndex)
{
    CloseKeyboardIn();
    try {
        OpenMidiIn(midiInIndex);
        OpenMidiOut(midiOutIndex);
    } catch (...) {
        MidiInHandle.reset();
        {
            std::lock_guard lock(sendMutex_);
            MidiOutHandle.reset();
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
    StopMidiInBuffer();
    CloseKeyboardIn();
    MidiInHandle.reset();
}

void TMidiTransport::CloseMidiOut()
{
    std::lock_guard lock(sendMutex_);
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
    MidiOutHandle.reset();
    MidiPortsOpen = false;
}

void TMidiTransport::StartMidiInBuffer(Awaited awaited)
{
    MidiInHeader = std::make_unique<TMidiInBuffer>();
    std::lock_guard lock(inputMutex_);
    ++requestId_;
    bufferFree_ = true;
    awaited_ = std::move(awaited);
    inputRunning_ = MidiInHandle != nullptr;
}

void TMidiTransport::StopMidiInBuffer()
{
    {
        std::lock_guard lock(inputMutex_);
        ++requestId_;
        bufferFree_ = false;
        inputRunning_ = false;
        awaited_ = nullptr;
    }
    MidiInHeader.reset();
}

void TMidiTransport::ConnectKeyboardThru()
{
    std::lock_guard lock(sendMutex_);
    thruConnected_ = KeyboardInHandle && MidiOutHandle;
}

void TMidiTransport::CutKeyboardThru()
{
    std::lock_guard lock(sendMutex_);
    thruConnected_ = false;
}

bool TMidiTransport::IsMidiOutOpen() const
{
    std::lock_guard lock(sendMutex_);
    return MidiOutHandle != nullptr;
}

TMidiInputCounts TMidiTransport::InputCounts() const
{
    return {queue_->Posted.load(), queue_->DroppedShort.load(), queue_->Peak.load()};
}

void TMidiTransport::Post(bool shortMessage, std::function<void()> work)
{
    Queue& q = *queue_;
    if (shortMessage && q.QueuedShort.fetch_add(1) >= MaxQueuedShort) {
        q.QueuedShort.fetch_sub(1);
        q.DroppedShort.fetch_add(1);
        return;
    }
    const int queued = q.Queued.fetch_add(1) + 1;
    for (int peak = q.Peak.load(); queued > peak && !q.Peak.compare_exchange_weak(peak, queued);) {}
    q.Posted.fetch_add(1);
    auto run = [queue = std::weak_ptr<Queue>(queue_), shortMessage, work = std::move(work)] {
        const auto alive = queue.lock();
        if (!alive) return; // the transport is gone
        alive->Queued.fetch_sub(1);
        if (shortMessage) alive->QueuedShort.fetch_sub(1);
        work();
    };
    if (poster_)
        poster_(std::move(run));
    else
        run();
}

// Back end's thread.
void TMidiTransport::ReceiveShort(bool fromKeyboard, std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    if (fromKeyboard) {
        PlayThrough(status, data1, data2);
    } else {
        std::lock_guard lock(inputMutex_);
        if (!inputRunning_) return; // the instrument input runs only while a request is pending
    }
    Post(true, [this, status, data1, data2] {
        if (OnShortData) OnShortData(status, data1, data2);
    });
}

// Keyboard's thread.
void TMidiTransport::PlayThrough(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    if (!thruConnected_) return;
    std::lock_guard lock(sendMutex_);
    if (!thruConnected_ || !MidiOutHandle) return;
    try {
        MidiOutHandle->SendShort(status, data1, data2);
    } catch (const EMidiError&) {
        // Thru has no one to report to; the next message tries again.
    }
}

// Back end's thread. The buffer is claimed here, on arrival, so a message that came before
// the request, after another message filled the buffer, or that the request does not wait
// for is never taken.
void TMidiTransport::ReceiveLong(std::vector<std::uint8_t> message)
{
    unsigned request;
    {
        std::lock_guard lock(inputMutex_);
        if (!inputRunning_ || !bufferFree_) return;
        if (message.size() > static_cast<std::size_t>(TMidiInBuffer::Size))
            message.resize(TMidiInBuffer::Size); // the rest finds no buffer, as with a full one
        if (awaited_ && !awaited_(message.data(), message.size())) return;
        bufferFree_ = false;
        request = requestId_;
    }
    Post(false, [this, request, message = std::move(message)] {
        {
            std::lock_guard lock(inputMutex_);
            if (request != requestId_) return; // that request was stopped before its data got here
        }
        if (!MidiInHeader) return;
        std::copy(message.begin(), message.end(), MidiInHeader->Data.begin());
        MidiInHeader->BytesRecorded = static_cast<int>(message.size());
        if (OnLongData) OnLongData(MidiInHeader->Data.data(), MidiInHeader->BytesRecorded);
    });
}
