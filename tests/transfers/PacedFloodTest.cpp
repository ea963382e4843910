// A device floods the instrument's input at a stated pace while a receive-all runs, then the
// master keyboard plays through while the window sends, each device on a thread of its own as a
// MIDI system delivers. The transfer runs on the virtual clock; every assertion holds whatever
// the scheduler does. (How fast the input road is, unpaced and over JACK, is measured by
// bench/soak_midi_flood.)
#include "TransfersFixture.h"
#include "tests/support/MidiFlood.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Plays `play(i)` for i = 0, 1, ... at `perMs` a millisecond until `running` falls; behind
// its schedule it does not race to catch up.
template <class Play>
std::thread Paced(int perMs, std::atomic<bool>& running, Play play)
{
    return std::thread([perMs, &running, play] {
        auto next = Clock::now();
        for (std::size_t i = 0; running; ++i) {
            play(i);
            if (i % std::size_t(perMs) != std::size_t(perMs - 1)) continue;
            next = std::max(next + std::chrono::milliseconds(1), Clock::now() - std::chrono::milliseconds(5));
            std::this_thread::sleep_until(next);
        }
    });
}

} // namespace

TEST_F(TransfersTest, PacedFloodLeavesEveryDumpEveryThruNoteAndTheLastCaption)
{
    SeedInstrument();
    // The voices come with a timing clock inside, as from a device that keeps time.
    fs1r->SetOnReceive([this](const Bytes& m) {
        if (m.empty() || m[0] != 0xF0) return;
        Bytes answer = instrument.Receive(m);
        if (answer.size() == 619) answer.insert(answer.begin() + 300, 0xF8);
        if (!answer.empty()) fs1r->Play(answer);
    });

    // 20,000 messages a second, twenty times what a MIDI cable carries, through the whole
    // receive-all; twice the window is busy for 300 ms and takes nothing meanwhile.
    std::atomic<bool> flooding{true};
    std::thread device =
        Paced(20, flooding, [this](std::size_t i) { fs1r->Play(FloodPattern()[i % FloodPattern().size()]); });
    form->DataRcvAllClick(nullptr);
    for (int step = 0; step < 400 && form->TransferRunning(); ++step) {
        Advance(200);
        std::this_thread::sleep_for(std::chrono::milliseconds(step % 80 == 40 ? 300 : 2));
    }
    flooding = false;
    device.join();
    EXPECT_FALSE(form->TransferRunning()) << "the receive-all under the flood had not ended after 80 s";
    EXPECT_TRUE(Messages().empty()) << Messages()[0].Text;
    ExpectStored({DumpPerformance, 0, 1, 2, 3, DumpSystem});

    // The keyboard plays 4,000 notes a second while the window sends edits: not one is lost.
    fs1r->SetOnReceive(nullptr);
    fs1r->ClearReceived();
    std::atomic<bool> playing{true};
    std::atomic<int> played{0};
    std::thread player = Paced(4, playing, [&](std::size_t i) {
        if (i >= 2000) return;
        keys->PlayShort(0x90, std::uint8_t(i % 128), 0x40);
        ++played;
    });
    auto* volume = dynamic_cast<TScrollBar*>(form->FindComponent("Pfm_VolumeBar"));
    ASSERT_NE(volume, nullptr);
    for (int i = 0; played < 2000; ++i) {
        volume->UserScrollsTo(i % 2 ? 100 : 90);
        Advance(1);
    }
    playing = false;
    player.join();
    // (Notes waiting for an output whose buffer is full: TransportTest.)
    std::vector<Bytes> notes;
    for (const Bytes& m : fs1r->Received())
        if (m[0] == 0x90) notes.push_back(m);
    ASSERT_EQ(notes.size(), 2000u);
    for (std::size_t i = 0; i < notes.size(); ++i)
        ASSERT_EQ(notes[i], (Bytes{0x90, std::uint8_t(i % 128), 0x40})) << "note " << i;

    // The window busy again while the keyboard sends three queues' worth of controllers: the
    // caption ends on the last one.
    constexpr int Burst = 3 * int(TMidiTransport::ShortQueueSize);
    std::thread([this] {
        for (int i = 0; i < Burst; ++i) keys->PlayShort(0xB1, 7, std::uint8_t(i % 100));
    }).join();
    Advance(1);
    EXPECT_EQ(form->Caption(), *ReceivedMidiCaption(form->CaptionText, 0xB1, 7, (Burst - 1) % 100));

    const TMidiInputCounts counts = form->Midi.InputCounts();
    EXPECT_LE(counts.PeakQueued, TMidiTransport::ShortQueueSize);
    EXPECT_GE(counts.DroppedShort, std::uint64_t(Burst) - TMidiTransport::ShortQueueSize);
    EXPECT_EQ(counts.ThruLost, 0u);
}
