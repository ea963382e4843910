// MIDI over JACK, through JACK's own library: one client for each open port, opened and closed
// through platform/JackClient.h, which keeps libjack from freeing a client under its owner.
//
// Port lists. libjack (1.9.21) walks a client's list of its ports on the client's notification
// thread, when the server asks for latencies (it does after any client changes the graph),
// without a lock; jack_port_register and jack_port_unregister change that list on the caller's
// thread. A port registered or unregistered while its client is active can so crash the whole
// program on another client's connection. The server notifies active clients only, so here a
// port is registered before its client is activated, the client is deactivated before it is
// closed, and no port is unregistered on its own. Listing uses a client that is never activated.
//
// Threads. A port's process callback runs on JACK's process thread until the client is
// deactivated, inside a JackClient::Visit; everything it touches lives until after the close.
//
// The world around a port. JACK tells a client when its server has gone (killed, stopped): from
// then on the port's sends fail at once, saying so, and nothing more is queued for a server that
// will never take it; so do the sends of a port whose client was closed because libjack might
// free it. The output sends only while the port chosen is among its connections, whatever else
// it feeds: a destination that has gone (its client ended) fails its sends as a device that is not
// present; one that is there but no longer connected (rewired in a patchbay, or its client
// restarted under its name, which JACK does not connect again) fails them saying so, until the
// two are connected again or the ports are chosen again. A client that JACK
// refuses is tried once more after a short pause, unless the refusal cannot pass so soon; then
// the caller is told why.

#include "platform/JackClient.h"
#include "platform/Midi.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

class JackInput final : public MidiInput {
public:
    JackInput(const std::string& clientName, const std::string& source, MidiInputCallbacks callbacks)
        : reader_(std::move(callbacks)), joined_(MaxInputMessageSize + 1), client_(clientName)
    {
        port_ = client_.RegisterPort("MIDI In", JackPortIsInput);
        opened_ = jack_get_time();
        client_.Activate(&JackInput::Process, this, "MIDI input");
        if (!client_.Connect(source, client_.PortName(port_), port_))
            throw MidiError("The MIDI input device \"" + NameWithoutClientPort(source) + "\" is not present.");
    }
    ~JackInput() override { client_.Close(); }

    std::uint64_t LostCycles() const override { return client_.LostCycles(); }

private:
    // JACK's process thread.
    static int Process(jack_nframes_t frames, void* self)
    {
        auto* input = static_cast<JackInput*>(self);
        if (JackClient::Visit visit{input->client_}) {
            input->client_.NoteCycle(frames);
            input->Receive(jack_port_get_buffer(input->port_, frames));
        }
        return 0;
    }
    void Receive(void* buffer)
    {
        const double seconds = double(jack_get_time() - opened_) / 1e6;
        const std::uint32_t count = jack_midi_get_event_count(buffer);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) == 0 && event.size > 0) Take(event.buffer, event.size, seconds);
        }
    }

    // One event. A system-exclusive message may come cut into several events: one left open at
    // an event's end goes on with the data bytes of the next ones until F7 (what does not fit is
    // left out, the F7 kept). Any other status byte ends it, as on a cable: the unfinished message
    // is dropped and the status read afresh. Real-time bytes pass at once wherever they stand.
    void Take(const std::uint8_t* data, std::size_t size, double seconds)
    {
        std::size_t i = 0;
        if (joining_) {
            for (; i < size && joining_; ++i) {
                const std::uint8_t byte = data[i];
                if (byte >= 0xF8) {
                    reader_.Deliver(&byte, 1, seconds);
                } else if (byte < 0x80) {
                    if (joinedSize_ < MaxInputMessageSize) joined_[joinedSize_++] = byte;
                } else {
                    joining_ = false;
                    if (byte != 0xF7) break; // read afresh below
                    joined_[joinedSize_++] = byte;
                    reader_.Deliver(joined_.data(), joinedSize_, seconds);
                }
            }
            if (joining_ || i == size) return;
        }
        const std::size_t open = OpenSysexStart(data + i, size - i);
        reader_.Deliver(data + i, open, seconds);
        if (i + open == size) return;
        joining_ = true;
        joinedSize_ = 0;
        joined_[joinedSize_++] = data[i + open]; // its F0
        Take(data + i + open + 1, size - i - open - 1, seconds);
    }

    // Where the system-exclusive message that an event leaves open begins (an F0 with no other
    // status after it but real-time ones), or `size` when the event leaves none open.
    static std::size_t OpenSysexStart(const std::uint8_t* data, std::size_t size)
    {
        for (std::size_t i = size; i-- > 0;) {
            if (data[i] == 0xF0) return i;
            if (data[i] >= 0x80 && data[i] < 0xF8) break;
        }
        return size;
    }

    MidiPacketReader reader_;
    std::vector<std::uint8_t> joined_; // the system-exclusive message left open, F0 first
    std::size_t joinedSize_ = 0;
    bool joining_ = false;
    jack_time_t opened_ = 0;
    jack_port_t* port_ = nullptr;
    JackClient client_; // last: closed first, while the rest still stands
};

class JackOutput final : public MidiOutput {
public:
    JackOutput(const std::string& clientName, const std::string& destination)
        : destination_(NameWithoutClientPort(destination)), destinationPort_(destination),
          ring_(jack_ringbuffer_create(RingSize)), client_(clientName)
    {
        if (!ring_) throw MidiError("There is no memory for a JACK MIDI output.");
        port_ = client_.RegisterPort("MIDI Out", JackPortIsOutput);
        client_.Activate(&JackOutput::Process, this, "MIDI output");
        if (!client_.Connect(client_.PortName(port_), destination, port_))
            throw MidiError("The MIDI output device \"" + destination_ + "\" is not present.");
    }
    ~JackOutput() override
    {
        // What was sent last (the notes switched off at closing) still goes out.
        Drain();
        client_.Close();
    }

    std::size_t MaxMessageSize() const override { return JackMaxMessageSize; }
    std::uint64_t LostCycles() const override { return client_.LostCycles(); }

    // The process callback hands what waits in the ring to JACK within a cycle, and the readers
    // of the connected ports take it in the same cycle; had one of them been late, the server
    // tells of it (an xrun) as the next cycle begins. So the wait lasts until the ring is empty
    // and three more cycles have run. A server that has gone takes nothing more.
    bool Drain() override
    {
        const auto deadline = Clock::now() + DrainPatience;
        return client_.WaitUntil([&] { return jack_ringbuffer_read_space(ring_.get()) == 0; }, deadline) &&
               !client_.Gone() && client_.WaitCycles(3, deadline);
    }

protected:
    // One message into the ring the process callback empties; never waits or allocates. Runs on
    // the sending thread, or on an input's process thread (the keyboard thru).
    MidiSendResult SendMessage(const std::uint8_t* data, std::size_t length) override
    {
        JackClient::Visit visit{client_, JackClient::Visit::Send};
        if (!visit || client_.Gone()) return Fail(Failure::ServerGone, MidiSendResult::Failed);
        // The destination is no longer connected (its client went, may have come back as a new
        // client, or the output was rewired): the message would not reach the device chosen,
        // whatever else the output feeds.
        if (jack_port_connected_to(port_, destinationPort_.c_str()) <= 0)
            return Fail(Failure::DestinationUnconnected, MidiSendResult::Failed);
        const std::uint32_t size = static_cast<std::uint32_t>(length); // at most JackMaxMessageSize (SendLong)
        if (jack_ringbuffer_write_space(ring_.get()) < sizeof size + length)
            return Fail(Failure::Full, MidiSendResult::Full);
        jack_ringbuffer_write(ring_.get(), reinterpret_cast<const char*>(&size), sizeof size);
        jack_ringbuffer_write(ring_.get(), reinterpret_cast<const char*>(data), length);
        return MidiSendResult::Sent;
    }
    std::string LastError() override
    {
        switch (failure_.exchange(Failure::None)) {
        case Failure::None: return {};
        case Failure::Full: return "The JACK server takes nothing from the MIDI output.";
        case Failure::ServerGone:
            return "The JACK server has stopped: nothing reaches the MIDI output device \"" + destination_ +
                   "\". Start the JACK server again, then choose the MIDI devices again with Options > MIDI "
                   "Interface Setting.";
        case Failure::DestinationUnconnected:
            if (!DestinationListed()) return "The MIDI output device \"" + destination_ + "\" is not present.";
            return "The MIDI output device \"" + destination_ +
                   "\" is present, but MIDI OUT is no longer connected to it. Connect them again, or choose the "
                   "MIDI devices again with Options > MIDI Interface Setting.";
        }
        return {};
    }

private:
    // Whether the server has a port of the destination's full name (rewired away from it in a
    // patchbay, or its client restarted under its name): then a person can connect it again.
    bool DestinationListed()
    {
        bool listed = false;
        client_.WithHandle(
            [&](jack_client_t* h) { listed = jack_port_by_name(h, destinationPort_.c_str()) != nullptr; });
        return listed;
    }

    // The ring holds one message of JackMaxMessageSize bytes with its length (a ring of 2^n
    // bytes holds 2^n - 1).
    static constexpr std::size_t RingSize = 16384;
    static_assert(JackMaxMessageSize + sizeof(std::uint32_t) == RingSize - 1);

    // Why the last message was not sent; set by whichever thread sends, read by LastError.
    enum class Failure { None, Full, ServerGone, DestinationUnconnected };
    MidiSendResult Fail(Failure failure, MidiSendResult result)
    {
        failure_.store(failure);
        return result;
    }

    // JACK's process thread: as many waiting messages as the cycle's buffer holds; the rest
    // waits for the next cycle.
    static int Process(jack_nframes_t frames, void* self)
    {
        auto* output = static_cast<JackOutput*>(self);
        JackClient::Visit visit{output->client_};
        if (!visit) return 0;
        output->client_.NoteCycle(frames);
        void* buffer = jack_port_get_buffer(output->port_, frames);
        jack_midi_clear_buffer(buffer);
        std::uint32_t size = 0;
        while (jack_ringbuffer_peek(output->ring_.get(), reinterpret_cast<char*>(&size), sizeof size) == sizeof size &&
               jack_ringbuffer_read_space(output->ring_.get()) >= sizeof size + size) {
            jack_midi_data_t* room = jack_midi_event_reserve(buffer, 0, size);
            if (!room) break;
            jack_ringbuffer_read_advance(output->ring_.get(), sizeof size);
            jack_ringbuffer_read(output->ring_.get(), reinterpret_cast<char*>(room), size);
        }
        return 0;
    }

    struct FreeRing {
        void operator()(jack_ringbuffer_t* ring) const { jack_ringbuffer_free(ring); }
    };
    std::string destination_;                           // as shown
    std::string destinationPort_;                       // the full name of the port it feeds
    std::unique_ptr<jack_ringbuffer_t, FreeRing> ring_; // freed after the client is closed
    jack_port_t* port_ = nullptr;
    std::atomic<Failure> failure_{Failure::None};
    JackClient client_; // last: closed first
};

class JackBackend final : public MidiBackend {
public:
    explicit JackBackend(std::string clientName) : clientName_(std::move(clientName)) {}

    std::vector<MidiPortName> Inputs() override { return List(JackPortIsOutput, inputs_); }
    std::vector<MidiPortName> Outputs() override { return List(JackPortIsInput, outputs_); }

    // The index counts the list this back end gave last, so the port opened is the one the
    // caller saw, whatever came or went since.
    std::unique_ptr<MidiInput> OpenInput(int index, MidiInputCallbacks callbacks) override
    {
        return std::make_unique<JackInput>(clientName_, Listed(index, JackPortIsOutput, inputs_, "input"),
                                           std::move(callbacks));
    }
    std::unique_ptr<MidiOutput> OpenOutput(int index) override
    {
        return std::make_unique<JackOutput>(clientName_, Listed(index, JackPortIsInput, outputs_, "output"));
    }

private:
    // A server that is not running or refuses the program is not an empty list: MidiError says
    // which.
    std::vector<MidiPortName> List(unsigned long flags, std::vector<MidiPortName>& listed)
    {
        listed.clear();
        JackClient client(clientName_); // never activated
        for (OfferedPort& port : OfferedPorts(client.MidiPorts(flags), clientName_))
            listed.push_back(std::move(port.Name));
        return listed;
    }
    std::string Listed(int index, unsigned long flags, std::vector<MidiPortName>& listed, const char* kind)
    {
        if (listed.empty()) List(flags, listed);
        return ListedPort(listed, index, kind).FullName;
    }

    std::string clientName_;
    std::vector<MidiPortName> inputs_, outputs_; // as last listed
};

} // namespace

std::unique_ptr<MidiBackend> CreateJackMidiBackend(const std::string& clientName)
{
    return std::make_unique<JackBackend>(clientName);
}

} // namespace platform
