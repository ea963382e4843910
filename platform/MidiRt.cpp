// The real MIDI system: RtMidi on ALSA (default), or JACK (MidiJack.cpp).

#include "platform/Midi.h"

#include <RtMidi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <strings.h>
#include <utility>

namespace platform {

namespace {

bool JackChosen()
{
    const char* api = std::getenv("QUILLMARVEN_MIDI_API");
    return api && strcasecmp(api, "jack") == 0;
}

// Receives what RtMidi reports through its error callback. With a callback installed RtMidi
// neither throws nor prints, so every report lands here and the caller decides. Asking whether
// anything came takes no lock, so a send that went well (the keyboard thru, on an input's
// thread) never waits here.
class ErrorSink {
public:
    template <class Port>
    void Attach(Port& port)
    {
        port.setErrorCallback(&ErrorSink::Report, this);
    }

    bool Any() const { return any_.load(std::memory_order_acquire); }

    std::string Take()
    {
        if (!Any()) return {};
        std::lock_guard lock(mutex_);
        any_.store(false, std::memory_order_relaxed);
        return std::exchange(text_, {});
    }

private:
    static void Report(RtMidiError::Type, const std::string& text, void* self)
    {
        auto* sink = static_cast<ErrorSink*>(self);
        std::lock_guard lock(sink->mutex_);
        if (sink->text_.empty()) sink->text_ = text;
        sink->any_.store(true, std::memory_order_release);
    }

    std::mutex mutex_;
    std::string text_;
    std::atomic<bool> any_{false};
};

// The name of every port RtMidi reports, in its order.
template <class Port>
std::vector<std::string> ReportedNames(Port& port)
{
    std::vector<std::string> names;
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(port.getPortName(i));
    return names;
}

template <class Port, class... Args>
std::unique_ptr<Port> MakePort(ErrorSink& errors, Args&&... args)
{
    std::unique_ptr<Port> port;
    try {
        port = std::make_unique<Port>(std::forward<Args>(args)...);
    } catch (const RtMidiError& e) {
        throw MidiError(e.getMessage());
    }
    errors.Attach(*port);
    return port;
}

// Opens the port of the full name `full` (as listed before), or throws with RtMidi's text.
template <class Port>
void OpenListed(Port& port, ErrorSink& errors, const std::string& full, const std::string& clientName,
                const std::string& portName)
{
    const std::vector<std::string> reported = ReportedNames(port);
    errors.Take(); // enumeration trouble shows as a short list, not as an open failure
    const std::size_t place = PlaceOfOfferedPort(reported, full, clientName);
    try {
        port.openPort(static_cast<unsigned>(place), portName);
    } catch (const RtMidiError& e) {
        throw MidiError(e.getMessage());
    }
    std::string error = errors.Take();
    if (!error.empty() || !port.isPortOpen())
        throw MidiError(error.empty() ? "The MIDI device \"" + NameWithoutClientPort(full) + "\" cannot be opened."
                                      : error);
}

class RtInput : public MidiInput {
public:
    RtInput(const std::string& clientName, const std::string& full, MidiInputCallbacks callbacks)
        : reader_(std::move(callbacks)), opened_(std::chrono::steady_clock::now())
    {
        in_ = MakePort<RtMidiIn>(errors_, RtMidi::LINUX_ALSA, clientName, 100u);
        // Receive system exclusive (the dumps); skip timing clock and active sensing.
        in_->ignoreTypes(false, true, true);
        in_->setCallback(&RtInput::OnMessage, this);
        OpenListed(*in_, errors_, full, clientName, "MIDI In");
    }

    // Closing first guarantees that no callback runs once the members go.
    ~RtInput() override { in_.reset(); }

private:
    // RtMidi's thread.
    static void OnMessage(double, std::vector<unsigned char>* message, void* self)
    {
        auto* input = static_cast<RtInput*>(self);
        if (!message || message->empty()) return;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - input->opened_).count();
        input->reader_.Deliver(message->data(), message->size(), seconds);
    }

    MidiPacketReader reader_;
    std::chrono::steady_clock::time_point opened_;
    ErrorSink errors_;
    std::unique_ptr<RtMidiIn> in_;
};

class RtOutput : public MidiOutput {
public:
    RtOutput(const std::string& clientName, const std::string& full)
    {
        out_ = MakePort<RtMidiOut>(errors_, RtMidi::LINUX_ALSA, clientName);
        OpenListed(*out_, errors_, full, clientName, "MIDI Out");
    }

protected:
    MidiSendResult SendMessage(const std::uint8_t* data, std::size_t length) override
    {
        out_->sendMessage(data, length);
        // ALSA reports a message it could not pass on (one too long for its buffers, say);
        // one it reports as a full buffer waits for the next try.
        if (!errors_.Any()) return MidiSendResult::Sent;
        error_ = errors_.Take();
        return error_.find("buffer full") != std::string::npos ? MidiSendResult::Full : MidiSendResult::Failed;
    }

    std::string LastError() override { return std::exchange(error_, {}); }

private:
    ErrorSink errors_;
    std::string error_; // of the last message not sent
    std::unique_ptr<RtMidiOut> out_;
};

class RtMidiBackend : public MidiBackend {
public:
    explicit RtMidiBackend(std::string clientName) : clientName_(std::move(clientName)) {}

    std::vector<MidiPortName> Inputs() override { return List<RtMidiIn>(inputs_); }
    std::vector<MidiPortName> Outputs() override { return List<RtMidiOut>(outputs_); }

    // The index counts the list this back end gave last, so the port opened is the one the
    // caller saw, whatever came or went since.
    std::unique_ptr<MidiInput> OpenInput(int index, MidiInputCallbacks callbacks) override
    {
        return std::make_unique<RtInput>(clientName_, Listed<RtMidiIn>(index, inputs_, "input"), std::move(callbacks));
    }

    std::unique_ptr<MidiOutput> OpenOutput(int index) override
    {
        return std::make_unique<RtOutput>(clientName_, Listed<RtMidiOut>(index, outputs_, "output"));
    }

private:
    template <class Port>
    std::vector<MidiPortName> List(std::vector<MidiPortName>& listed)
    {
        listed.clear();
        try {
            ErrorSink errors;
            auto port = MakePort<Port>(errors, RtMidi::LINUX_ALSA, clientName_);
            for (OfferedPort& offered : OfferedPorts(ReportedNames(*port), clientName_))
                listed.push_back(std::move(offered.Name));
        } catch (const MidiError&) {
            // No MIDI system to talk to: no devices.
        }
        return listed;
    }
    template <class Port>
    std::string Listed(int index, std::vector<MidiPortName>& listed, const char* kind)
    {
        if (listed.empty()) List<Port>(listed);
        return ListedPort(listed, index, kind).FullName;
    }

    std::string clientName_;
    std::vector<MidiPortName> inputs_, outputs_; // as last listed
};

} // namespace

std::unique_ptr<MidiBackend> CreateMidiBackend(const std::string& clientName)
{
    if (JackChosen()) return CreateJackMidiBackend(clientName);
    return std::make_unique<RtMidiBackend>(clientName);
}

} // namespace platform
