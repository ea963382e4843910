// A JACK server in its default asynchronous mode wakes each client every period, late or not: a
// reader that misses a cycle loses what the program's output held in it. A send-all through such
// cycles must not end as if all went well.
#include "TransfersFixture.h"
#include "tests/support/JackPorts.h"

namespace {

class JackLostCycles : public WindowRig {
protected:
    JackLostCycles() : WindowRig({.build = false, .shown = true}) {}
    void SetUp() override
    {
        ASSERT_EQ(server.Trouble(), "");
        WindowRig::SetUp();
        far.emplace("fs1r");
        ASSERT_EQ(far->Trouble(), "");
        backend = platform::CreateMidiBackend(EditorClientName());
        MakeMainForm(*backend);
        ASSERT_TRUE(far->Connect(form->Midi));
    }
    void TearDown() override
    {
        form.reset();
        far.reset();
        WindowRig::TearDown();
    }

    PrivateJackServer server{{}, false};
    std::optional<JackFarEnd> far;
    std::unique_ptr<platform::MidiBackend> backend;
};

} // namespace

TEST_F(JackLostCycles, ASendAllWhileTheInstrumentsPortRunsLateSaysItMayHaveMissedMessages)
{
    // Each of the far end's cycles takes four periods: the server reports every one late.
    far->SlowCycles(std::chrono::milliseconds(20));
    const TMidiLossMark before = form->Midi.LossMark();
    form->DataSendAllClick(nullptr);
    Advance(15000);
    EXPECT_FALSE(form->TransferRunning());
    EXPECT_GT(form->Midi.LossMark().LostCycles, before.LostCycles) << "the program heard of no late cycle";
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text.rfind("The MIDI system fell behind during this transfer", 0), 0u)
        << Messages()[0].Text;
    EXPECT_GT(far->XRuns(), 0);
}
