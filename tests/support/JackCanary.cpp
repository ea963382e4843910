// A JACK program that is not the tests': a client whose MIDI output is wired to its own input and
// that sends itself one numbered message every cycle, standing in for what a person plays with on
// JACK while the tests run. It runs until SIGTERM or SIGINT, then says what it sent and got:
//     jack-canary: sent S, received R, lost L, garbled G
// and ends with status 0 only when nothing was lost or garbled and its server stayed. It prints
// "jack-canary: running" once the first message has come round.
//     qm_jack_canary NAME        (the server is JACK_DEFAULT_SERVER's)
#include <jack/jack.h>
#include <jack/midiport.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

namespace {

// F0 7D, the number in five 7-bit bytes, F7: a message of a non-commercial maker.
constexpr std::size_t MessageSize = 8;

struct Canary {
    jack_port_t* in = nullptr;
    jack_port_t* out = nullptr;
    std::atomic<std::uint64_t> sent{0}, received{0}, lost{0}, garbled{0};
    // What was sent before the wire stood reached nobody: counted from the first that came round.
    std::atomic<std::uint64_t> first{0};
    std::uint64_t expected = 0; // the number the next message should carry (process thread)
    std::atomic<bool> serverGone{false};
};

std::atomic<bool> ending{false};

void OnSignal(int) { ending.store(true); }

int Process(jack_nframes_t frames, void* arg)
{
    auto* canary = static_cast<Canary*>(arg);
    void* in = jack_port_get_buffer(canary->in, frames);
    const std::uint32_t count = jack_midi_get_event_count(in);
    for (std::uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, in, i) != 0) continue;
        std::uint64_t number = 0;
        bool whole = event.size == MessageSize && event.buffer[0] == 0xF0 && event.buffer[1] == 0x7D &&
                     event.buffer[MessageSize - 1] == 0xF7;
        for (std::size_t b = 2; whole && b < MessageSize - 1; ++b) {
            whole = event.buffer[b] < 0x80;
            number = number << 7 | event.buffer[b];
        }
        if (whole && canary->received.load() == 0) {
            canary->first.store(number);
            canary->expected = number;
        }
        if (!whole || number < canary->expected) {
            canary->garbled.fetch_add(1);
            continue;
        }
        canary->lost.fetch_add(number - canary->expected);
        canary->expected = number + 1;
        canary->received.fetch_add(1);
    }
    void* out = jack_port_get_buffer(canary->out, frames);
    jack_midi_clear_buffer(out);
    if (jack_midi_data_t* room = jack_midi_event_reserve(out, 0, MessageSize)) {
        const std::uint64_t number = canary->sent.load();
        room[0] = 0xF0;
        room[1] = 0x7D;
        for (std::size_t b = 0; b < 5; ++b) room[2 + b] = std::uint8_t((number >> (7 * (4 - b))) & 0x7F);
        room[MessageSize - 1] = 0xF7;
        canary->sent.fetch_add(1);
    }
    return 0;
}

void OnShutdown(jack_status_t, const char*, void* arg) { static_cast<Canary*>(arg)->serverGone.store(true); }

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qm_jack_canary NAME\n");
        return 2;
    }
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    Canary canary;
    jack_status_t status{};
    jack_client_t* client = jack_client_open(argv[1], jack_options_t(JackNoStartServer | JackUseExactName), &status);
    if (!client) {
        std::fprintf(stderr, "jack-canary: no client (status 0x%x)\n", unsigned(status));
        return 1;
    }
    canary.in = jack_port_register(client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    canary.out = jack_port_register(client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_on_info_shutdown(client, &OnShutdown, &canary);
    const std::string name = jack_get_client_name(client);
    if (!canary.in || !canary.out || jack_set_process_callback(client, &Process, &canary) != 0 ||
        jack_activate(client) != 0 || jack_connect(client, (name + ":out").c_str(), (name + ":in").c_str()) != 0) {
        std::fprintf(stderr, "jack-canary: the client did not start\n");
        jack_client_close(client);
        return 1;
    }
    while (canary.received.load() == 0 && !ending.load() && !canary.serverGone.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::printf("jack-canary: running\n");
    std::fflush(stdout);
    while (!ending.load() && !canary.serverGone.load()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const bool gone = canary.serverGone.load();
    if (!gone) {
        jack_deactivate(client);
        jack_client_close(client);
    }
    // The last one or two sent may still have been on their way round.
    const std::uint64_t sent = canary.sent.load() - canary.first.load(), received = canary.received.load();
    const std::uint64_t lost = canary.lost.load(), garbled = canary.garbled.load();
    std::printf("jack-canary: sent %llu, received %llu, lost %llu, garbled %llu%s\n", (unsigned long long)sent,
                (unsigned long long)received, (unsigned long long)lost, (unsigned long long)garbled,
                gone ? ", its server went" : "");
    return !gone && lost == 0 && garbled == 0 && received + 2 >= sent ? 0 : 1;
}
