#include "platform/MidiInProcess.h"

#include <algorithm>
#include <chrono>

namespace platform {

// One open input of the program on a device. The recursive lock lets a callback close its own
// port; `alive` guarantees no callback starts once the port is gone.
struct InProcessMidi::Device::Listener {
    explicit Listener(MidiInputCallbacks callbacks) : reader(std::move(callbacks)) {}
    std::recursive_mutex mutex;
    MidiPacketReader reader;
    std::chrono::steady_clock::time_point opened = std::chrono::steady_clock::now();
    bool alive = true;
};

class InProcessMidi::Device::InputPort : public MidiInput {
public:
    InputPort(std::shared_ptr<Device> device, std::shared_ptr<Listener> listener)
        : device_(std::move(device)), listener_(std::move(listener)), lostAtOpen_(device_->LostCycles())
    {}
    ~InputPort() override
    {
        {
            std::lock_guard wait(listener_->mutex); // lets a callback under way finish
            listener_->alive = false;
        }
        std::lock_guard lock(device_->mutex_);
        std::erase(device_->listeners_, listener_);
    }
    std::uint64_t LostCycles() const override { return device_->LostCycles() - lostAtOpen_; }

private:
    std::shared_ptr<Device> device_;
    std::shared_ptr<Listener> listener_;
    std::uint64_t lostAtOpen_;
};

class InProcessMidi::Device::OutputPort : public MidiOutput {
public:
    explicit OutputPort(std::shared_ptr<Device> device)
        : device_(std::move(device)), lostAtOpen_(device_->LostCycles())
    {
        std::lock_guard lock(device_->mutex_);
        ++device_->openOutputs_;
    }
    ~OutputPort() override
    {
        std::lock_guard lock(device_->mutex_);
        --device_->openOutputs_;
    }
    std::size_t MaxMessageSize() const override
    {
        std::lock_guard lock(device_->mutex_);
        return device_->maxMessageSize_;
    }
    std::uint64_t LostCycles() const override { return device_->LostCycles() - lostAtOpen_; }
    bool Drain() override
    {
        std::lock_guard lock(device_->mutex_);
        return !device_->failDrain_;
    }

protected:
    MidiSendResult SendMessage(const std::uint8_t* data, std::size_t length) override
    {
        return device_->Deliver(data, length) ? MidiSendResult::Sent : MidiSendResult::Full;
    }
    std::string LastError() override { return "The MIDI output's buffer is full."; }

private:
    std::shared_ptr<Device> device_;
    std::uint64_t lostAtOpen_;
};

InProcessMidi::Device::Device(std::string name, std::string fullName, bool sends, bool receives)
    : name_(std::move(name)), fullName_(std::move(fullName)), sends_(sends), receives_(receives)
{}

std::vector<std::vector<std::uint8_t>> InProcessMidi::Device::Received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

void InProcessMidi::Device::ClearReceived()
{
    std::lock_guard lock(mutex_);
    received_.clear();
}

void InProcessMidi::Device::SetOnReceive(std::function<void(const std::vector<std::uint8_t>&)> onReceive)
{
    std::lock_guard lock(mutex_);
    onReceive_ = std::move(onReceive);
}

bool InProcessMidi::Device::Deliver(const std::uint8_t* data, std::size_t length)
{
    std::vector<std::uint8_t> message(data, data + length);
    std::function<void(const std::vector<std::uint8_t>&)> onReceive;
    {
        std::lock_guard lock(mutex_);
        if (full_ > 0) {
            --full_;
            return false;
        }
        received_.push_back(message);
        onReceive = onReceive_;
    }
    if (onReceive) onReceive(message);
    return true;
}

void InProcessMidi::Device::ReportFull(int messages)
{
    std::lock_guard lock(mutex_);
    full_ = messages;
}

void InProcessMidi::Device::LoseCycles(int cycles)
{
    std::lock_guard lock(mutex_);
    lostCycles_ += std::uint64_t(cycles);
}

std::uint64_t InProcessMidi::Device::LostCycles() const
{
    std::lock_guard lock(mutex_);
    return lostCycles_;
}

void InProcessMidi::Device::FailDrain(bool fail)
{
    std::lock_guard lock(mutex_);
    failDrain_ = fail;
}

void InProcessMidi::Device::Play(const std::vector<std::uint8_t>& message)
{
    if (message.empty()) return;
    std::vector<std::shared_ptr<Listener>> listeners;
    {
        std::lock_guard lock(mutex_);
        listeners = listeners_;
    }
    for (const auto& listener : listeners) {
        std::lock_guard lock(listener->mutex);
        if (!listener->alive) continue;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - listener->opened).count();
        listener->reader.Deliver(message.data(), message.size(), seconds);
    }
}

void InProcessMidi::Device::PlayShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    const std::uint8_t bytes[3] = {status, data1, data2};
    Play(std::vector<std::uint8_t>(bytes, bytes + ShortMessageLength(status)));
}

void InProcessMidi::Device::FailOpen(std::string text)
{
    std::lock_guard lock(mutex_);
    failOpen_ = std::move(text);
}

void InProcessMidi::Device::SetMaxMessageSize(std::size_t size)
{
    std::lock_guard lock(mutex_);
    maxMessageSize_ = size;
}

int InProcessMidi::Device::OpenInputs() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(listeners_.size());
}

int InProcessMidi::Device::OpenOutputs() const
{
    std::lock_guard lock(mutex_);
    return openOutputs_;
}

void InProcessMidi::Device::CheckOpen() const
{
    std::lock_guard lock(mutex_);
    if (!failOpen_.empty()) throw MidiError(failOpen_);
}

std::shared_ptr<InProcessMidi::Device> InProcessMidi::AddDevice(const std::string& name, bool sends, bool receives)
{
    std::lock_guard lock(mutex_);
    auto device = std::make_shared<Device>(name, name + " " + std::to_string(nextClient_++) + ":0", sends, receives);
    devices_.push_back(device);
    return device;
}

void InProcessMidi::RemoveDevice(const std::shared_ptr<Device>& device)
{
    std::lock_guard lock(mutex_);
    std::erase(devices_, device);
}

std::shared_ptr<InProcessMidi::Device> InProcessMidi::Listed(int index, bool sends)
{
    std::lock_guard lock(mutex_);
    int i = 0;
    for (const auto& device : devices_)
        if ((sends ? device->sends_ : device->receives_) && i++ == index) return device;
    throw MidiError(std::string("The MIDI ") + (sends ? "input" : "output") + " device number " +
                    std::to_string(index) + " is not present.");
}

std::vector<MidiPortName> InProcessMidi::Inputs()
{
    std::lock_guard lock(mutex_);
    std::vector<MidiPortName> names;
    for (const auto& device : devices_)
        if (device->sends_) names.push_back({device->name_, device->fullName_});
    return names;
}

std::vector<MidiPortName> InProcessMidi::Outputs()
{
    std::lock_guard lock(mutex_);
    std::vector<MidiPortName> names;
    for (const auto& device : devices_)
        if (device->receives_) names.push_back({device->name_, device->fullName_});
    return names;
}

std::unique_ptr<MidiInput> InProcessMidi::OpenInput(int index, MidiInputCallbacks callbacks)
{
    auto device = Listed(index, true);
    device->CheckOpen();
    auto listener = std::make_shared<Device::Listener>(std::move(callbacks));
    {
        std::lock_guard lock(device->mutex_);
        device->listeners_.push_back(listener);
    }
    return std::make_unique<Device::InputPort>(device, listener);
}

std::unique_ptr<MidiOutput> InProcessMidi::OpenOutput(int index)
{
    auto device = Listed(index, false);
    device->CheckOpen();
    return std::make_unique<Device::OutputPort>(device);
}

} // namespace platform
