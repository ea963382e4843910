#pragma once
// A MIDI system inside the process, for tests and benchmarks: a test puts devices on it, plays
// what a device sends and reads what the program sent to it.

#include "platform/Midi.h"

#include <mutex>

namespace platform {

class InProcessMidi : public MidiBackend {
public:
    class Device;

    // A device that `sends` is listed among the program's inputs, one that `receives` among its
    // outputs, in the order the devices were added. Its full name carries ALSA-like
    // client:port numbers ("FS1R 129:0"); its plain name is `name`.
    std::shared_ptr<Device> AddDevice(const std::string& name, bool sends = true, bool receives = true);
    // Unplugs a device: it leaves the lists; ports the program holds on it stay usable.
    void RemoveDevice(const std::shared_ptr<Device>& device);

    std::vector<MidiPortName> Inputs() override;
    std::vector<MidiPortName> Outputs() override;
    std::unique_ptr<MidiInput> OpenInput(int index, MidiInputCallbacks callbacks) override;
    std::unique_ptr<MidiOutput> OpenOutput(int index) override;

private:
    std::shared_ptr<Device> Listed(int index, bool sends);

    std::mutex mutex_;
    std::vector<std::shared_ptr<Device>> devices_;
    int nextClient_ = 128;
};

class InProcessMidi::Device {
public:
    Device(std::string name, std::string fullName, bool sends, bool receives);

    const std::string& Name() const { return name_; }
    const std::string& FullName() const { return fullName_; }

    // Every message the program sent to this device, in order, one element per message.
    std::vector<std::vector<std::uint8_t>> Received() const;
    void ClearReceived();
    // Runs on the sender's thread for each message sent here, after it has been recorded; an
    // instrument model answers from it (with Play, at once or from a thread of its own).
    void SetOnReceive(std::function<void(const std::vector<std::uint8_t>&)> onReceive);

    // Delivers one packet to the program's open inputs of this device, on the calling thread
    // (which stands for the MIDI system's thread), as a real back end passes on what it
    // receives (MidiPacketReader): whole messages only; timing clock and active sensing are not
    // delivered. Packets played from several threads reach an input one after the other.
    void Play(const std::vector<std::uint8_t>& message);
    void PlayShort(std::uint8_t status, std::uint8_t data1 = 0, std::uint8_t data2 = 0);

    // While `text` is not empty every open of this device fails with it.
    void FailOpen(std::string text);
    // The longest message an output to this device carries (as with JACK's limit).
    void SetMaxMessageSize(std::size_t size);
    // The next `messages` messages sent here find the device's buffer full, as with a JACK
    // output whose buffer the server has not emptied yet: they are not taken.
    void ReportFull(int messages);

    // The program's ports on this device report `cycles` more lost cycles, as a JACK server
    // reports xruns.
    void LoseCycles(int cycles);
    // While set, the program's outputs to this device cannot tell whether what they sent crossed
    // (their Drain fails), as with a JACK server whose cycles do not come.
    void FailDrain(bool fail);

    // How many of the program's ports are open on this device.
    int OpenInputs() const;
    int OpenOutputs() const;

private:
    friend class InProcessMidi;
    struct Listener;
    class InputPort;
    class OutputPort;

    std::uint64_t LostCycles() const;
    // False when the buffer was reported full.
    bool Deliver(const std::uint8_t* data, std::size_t length);
    void CheckOpen() const;

    const std::string name_;
    const std::string fullName_;
    const bool sends_;
    const bool receives_;

    mutable std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> received_;
    std::function<void(const std::vector<std::uint8_t>&)> onReceive_;
    std::vector<std::shared_ptr<Listener>> listeners_;
    std::string failOpen_;
    std::size_t maxMessageSize_ = std::numeric_limits<std::size_t>::max();
    int openOutputs_ = 0;
    int full_ = 0;
    std::uint64_t lostCycles_ = 0;
    bool failDrain_ = false;
};

} // namespace platform
