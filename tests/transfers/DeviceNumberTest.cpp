// The device number as a person sets it (the MIDI setup dialog's Device ID) reaches the
// instrument through the program's own send path: every message on the MIDI output carries it
// once in the low four bits of byte 2, also when one prepared message is sent several times.
#include "tests/transfers/TransfersFixture.h"

#include "mainform/dialogs/MIDISetupform.h"
#include "performance/PerformancePage.h"

namespace {

class DeviceNumberTest : public TransfersTest {
protected:
    void SetUp() override
    {
        TransfersTest::SetUp();
        form->OnShow = nullptr;
        form->Show();
        // Options > MIDI Interface Setting: the instrument on "FS1R", Device ID "06".
        Application->Headless().ModalResponder = [](TForm& f) {
            auto& d = dynamic_cast<TMIDISetup&>(f);
            d.MIDIIN_Box->UserSelects(0);
            d.MIDIOUT_Box->UserSelects(0);
            d.Setup_DevID->UserSelects(5);
            d.OKBitBtn->UserClicks();
        };
        Click("MIDI_config");
        Application->Headless().ModalResponder = nullptr;
        ASSERT_EQ(form->DeviceNumber, 5);
        ASSERT_TRUE(form->Midi.IsMidiOutOpen());
        instrument.DeviceNumber = 5; // the instrument hears only its own number
        TakeSent();
    }
};

TEST_F(DeviceNumberTest, EveryMessageOnTheOutputCarriesTheNumberOnce)
{
    // A name change sends twelve messages from one prepared message.
    ASSERT_TRUE(form->PerformancePage->Pfm_Name->UserSetsText("Ab"));
    auto sent = TakeSent();
    ASSERT_EQ(sent.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(Bytes(sent[i].begin(), sent[i].begin() + 7), (Bytes{0xF0, 0x43, 0x15, 0x5E, 0x10, 0x00, uint8_t(i)}))
            << i;
        EXPECT_EQ(sent[i][8], i == 0 ? 'A' : i == 1 ? 'b' : 0x20) << i;
    }
    EXPECT_EQ(instrument.ParameterChangesTaken, 12);
    EXPECT_EQ(instrument.Performance[1], 'b');

    // Data Send > Voice2 twice: the bulk dump carries 05 both times, and so do the mute messages
    // after it.
    for (int round = 0; round < 2; ++round) {
        Click("DataSendVc2");
        sent = TakeSent();
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(Bytes(sent[0].begin(), sent[0].begin() + 9),
                  (Bytes{0xF0, 0x43, 0x05, 0x5E, 0x04, 0x60, 0x41, 0x00, 0x00}));
        for (std::size_t i = 1; i < sent.size(); ++i) EXPECT_EQ(sent[i][2], 0x15) << i;
    }
    EXPECT_EQ(instrument.BulkDumpsTaken, 2);

    // Data Receive > Voice4: the request carries 25 and the instrument, which heard it, answers.
    Click("DataRcvVc4");
    Advance(4000);
    sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), Request(0x25, 0x43));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(form->DumpReceived, 1);
}

} // namespace
