// Send-all and receive-all step by step: messages and their timing, the progress window, the
// lock and the thru, the silent start-up receive (or the first to complete after a start-up
// without answer, and the sequence choices before it), a block that does not answer, a failing
// step.
#include "TransfersFixture.h"

namespace {

const char* const Blocks[] = {"Performance", "Voice1", "Voice2", "Voice3", "Voice4", "System"};
const uint8_t BlockAh[] = {0x10, 0x40, 0x41, 0x42, 0x43, 0x00};

// The instrument in memory mode 1, its performance playing internal memory 5.
void PlayInternalMemory5(SimulatedInstrument& instrument)
{
    instrument.System[0x47] = 1;
    instrument.Performance[0x16] = 0; // the internal bank
    instrument.Performance[0x17] = 4;
}

} // namespace

TEST_F(TransfersTest, SendAllSendsSixDumpsEveryTwoAndAHalfSecondsThenTheMutes)
{
    form->PartMute[1] = form->PartMute[3] = 1;
    Click("DataSendAll");
    EXPECT_TRUE(Busy());
    Advance(500);
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        ASSERT_NE(form->DataBulkDump, nullptr);
        EXPECT_EQ(form->DataBulkDump->BulkDumpText->Caption(), "Now Sending " + std::string(Blocks[k]) + " Data!");
        EXPECT_EQ(form->DataBulkDump->BulkDumpProgressBar->Position(), 50 * k);
        const auto sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0][6], BlockAh[k]);
        Advance(k < 5 ? 2500 : 1000);
    }
    EXPECT_EQ(form->DataBulkDump->BulkDumpProgressBar->Position(), 270);
    Advance(499);
    EXPECT_TRUE(Locked());
    Advance(1); // 14.5 s after the command
    EXPECT_EQ(form->DataBulkDump, nullptr);
    EXPECT_EQ(form->DataChanged, 0);
    // The dumps undid the mutes: the muted parts' volumes, then each voice's switch masks.
    const auto mutes = TakeSent();
    ASSERT_EQ(mutes.size(), 2u + 8u);
    EXPECT_EQ(Address(mutes[0]), MutedVolume(1));
    EXPECT_EQ(Address(mutes[1]), MutedVolume(3));
    EXPECT_EQ(Address(mutes[8]), (Bytes{0x43, 0x00, 0x29, 0x00, mutes[8][8]}));
    EXPECT_TRUE(Free());
}

TEST_F(TransfersTest, ReceiveAllAsksForEveryBlockInTurnAndEndsSilentlyAtStartUp)
{
    SetDeviceNumber(3);
    SeedInstrument();
    PlayInternalMemory5(instrument);
    bool lockedDuringNotice = false;
    Headless().ModalResponder = [&](TForm&) { lockedDuringNotice = !form->Enabled(); };

    StartUp(3);
    TakeSent();
    EXPECT_TRUE(Busy());
    Advance(1200);
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        ASSERT_NE(form->DataBulkDump, nullptr);
        EXPECT_EQ(form->DataBulkDump->BulkDumpText->Caption(), "Now Receiving " + std::string(Blocks[k]) + " Data!");
        EXPECT_EQ(form->DataBulkDump->BulkDumpProgressBar->Position(), k < 5 ? 50 * k : 240);
        EXPECT_EQ(TakeSent(), Requests(0x23, BlockAh[k]));
        Advance(k < 5 ? 6000 : 3599);
    }
    EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteEdit->Text(), "5"); // the performance is shown
    EXPECT_EQ(form->DataBulkDump->BulkDumpProgressBar->Position(), 260);
    EXPECT_TRUE(Locked());
    Advance(1);
    EXPECT_EQ(form->DataBulkDump, nullptr);
    EXPECT_TRUE(Free());
    EXPECT_TRUE(Messages().empty());
    ExpectStored({DumpPerformance, 0, 1, 2, 3, DumpSystem});
    // Part 1 plays an internal voice: the part sheet lists the 64 of memory mode 1.
    EXPECT_EQ(form->PerformancePage->Pfm_Part_PrgNum->Items[64], "065 --:**********");
    // Start-up's receive marks nothing, selects nothing, and shows the memory notice while locked.
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->SilentReceiveAll, 0);
    EXPECT_EQ(Modals().size(), 1u);
    EXPECT_TRUE(lockedDuringNotice);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(form->PerformancePage->Pfm_Fseq_FseqInt->ItemIndex(), 4);

    // Any later one marks the data changed and leaves the memory list alone.
    Modals().clear();
    Click("DataRcvAll");
    Advance(34800);
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_TRUE(Modals().empty());
}

TEST_F(TransfersTest, ReceiveAllStopsAtTheFirstBlockThatDoesNotAnswer)
{
    // Start-up without the instrument: the box 7.2 s after the start, nothing marked, and an
    // answer coming after it is not read.
    instrument.AnswerMode = SimulatedInstrument::Answer::Nothing;
    const TParameterData initial = form->ParameterData;
    form->DataRcvAllClick(nullptr);
    Advance(7199);
    EXPECT_TRUE(Messages().empty());
    Advance(1);
    fs1r->Play(instrument.BulkDumpOf(0x10, 0, 0));
    Advance(1000);
    ExpectCableBox("Quillmarven : MIDI setting error");
    EXPECT_TRUE(Same(form->ParameterData, initial));
    EXPECT_EQ(TakeSent().size(), 1u) << "no later block is asked for";
    EXPECT_TRUE(Free());
    EXPECT_EQ(form->DataBulkDump, nullptr);
    EXPECT_EQ(form->DataChanged, 0);

    // Everything but the system block answers: the stop comes at the last check; the five
    // blocks stay stored and the performance is shown; a person's receive that stopped leaves
    // the mixed data marked changed.
    instrument.AnswerMode = SimulatedInstrument::Answer::Dump;
    SeedInstrument();
    const SystemBlock systemBefore = form->ParameterData.SystemBlock;
    Answers = [](const Bytes& m) { return !(m.size() == 8 && m[4] == 0x00); };
    form->DataRcvAllClick(nullptr);
    Advance(34799);
    EXPECT_EQ(Messages().size(), 1u);
    Advance(1);
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_TRUE(Unlocked());
    ExpectStored({DumpPerformance, 0, 1, 2, 3});
    EXPECT_EQ(std::memcmp(&systemBefore, &form->ParameterData.SystemBlock, sizeof systemBefore), 0);
    EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteEdit->Text(), "5");
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->SilentReceiveAll, 1); // the first receive-all that completes is the silent one

    // An output that cannot carry a 411-byte message: send-all's first step fails once and ends.
    fs1r->SetMaxMessageSize(100);
    Messages().clear();
    form->DataSendAllClick(nullptr);
    Advance(5000);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_FALSE(form->TransferRunning());
    EXPECT_EQ(form->DataBulkDump, nullptr);
    EXPECT_TRUE(Free());
}

// The instrument does not answer at start-up; one that does, in memory mode 1, is connected later.
TEST_F(TransfersTest, AfterAStartUpWithoutAnswerChoicesAreEditsAndTheFirstReceiveAllToCompleteClearsTheMemoryList)
{
    instrument.AnswerMode = SimulatedInstrument::Answer::Nothing;
    StartUp();
    Advance(8400);
    ExpectCableBox("Quillmarven : MIDI setting error");
    Messages().clear();
    TPerformancePage& page = *form->PerformancePage;
    ShowPart(0);
    page.Pfm_PageControl->SetActivePage(page.Pfm_FSEQ_Ctrl_TabSheet);

    // A sequence chosen now is an edit: closing asks to save it.
    ASSERT_TRUE(page.Pfm_Fseq_FseqPre->UserSelects(3));
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    AnswerMessages(IDCANCEL);
    Click("FileExitItem");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text, "Do you want to save changes to file ?");
    EXPECT_TRUE(form->Visible());

    // A file for memory mode 1 that plays internal memory 3: Clear chooses memory 1 and marks.
    form->ParameterData.SystemBlock.MemoryMode = 1;
    form->ParameterData.PfmFseq.FseqBank = 0;
    form->ParameterData.PfmFseq.FseqInt = 2;
    OpenFile(WriteFile("memory.fse", SaveFileImage(form->ParameterData)));
    Advance(15000);
    TakeSent();
    ASSERT_EQ(form->Caption(), "Quillmarven");
    ASSERT_TRUE(page.Pfm_Fseq_FseqIntClear->UserClicks());
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{{0xF0, 0x43, 0x10, 0x5E, 0x10, 0x00, 0x17, 0x00, 0x00, 0xF7}}));
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    EXPECT_EQ(Modals().size(), 1u);

    // The first receive-all that completes clears the memory list with its notice and chooses no
    // memory; it replaces the saved file's data, so the data are changed.
    Click("FileSaveItem");
    ASSERT_EQ(form->Caption(), "Quillmarven");
    instrument.AnswerMode = SimulatedInstrument::Answer::Dump;
    SeedInstrument();
    PlayInternalMemory5(instrument);
    page.Pfm_Fseq_FseqInt->Items.SetStrings(2, "03: SomeSeq");
    Click("DataRcvAll");
    Advance(34800);
    EXPECT_EQ(TakeSent().size(), 6u) << "the requests, and nothing after them";
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    EXPECT_EQ(Modals().size(), 2u);
    EXPECT_EQ(page.Pfm_Fseq_FseqInt->Items[2], "03: Store OK !");
    EXPECT_EQ(page.Pfm_Fseq_FseqInt->ItemIndex(), 4);
    EXPECT_EQ(form->SilentReceiveAll, 0);
}

// Started with a file, the edit buffer is that file's: the first receive-all that completes
// replaces the file's data and marks them changed, so that Exit asks.
TEST_F(TransfersTest, AfterAStartWithAFileTheFirstReceiveAllToCompleteMarksTheData)
{
    ASSERT_TRUE(WriteMidiSettings(form->SettingsIniFile(), {"FS1R", "FS1R", "Keys", 0}));
    const fs::path path = WriteFile("start.fse", SaveFileImage(form->ParameterData));
    MakeMainForm().CommandLine = {path.string()};
    form->Show();
    Advance(15000); // the send-all
    ASSERT_EQ(form->Caption(), "Quillmarven");
    SeedInstrument();
    Click("DataRcvAll");
    Advance(34800);
    ExpectStored({DumpPerformance, 0, 1, 2, 3, DumpSystem});
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
    Messages().clear();
    AnswerMessages(IDCANCEL);
    Click("FileExitItem");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text, "Do you want to save changes to file ?");
    EXPECT_TRUE(form->Visible());
}

TEST_F(TransfersTest, MutesEndWithTheProgramLeavingTheStoredValuesOnTheInstrument)
{
    form->ParameterData.PfmParts[1].Volume = 50;
    VoiceRecord& voice = form->ParameterData.VoiceRecords[0];
    voice.VoicedOperators[0].OutputLvl = 2;
    voice.UnvoicedOperators[7].OutputLvl = 3;
    for (int k = 0; k < 8; ++k) voice.VoicedOperators[k].FseqSw = voice.UnvoicedOperators[k].FseqSw = 1;
    Click("DataSendAll");
    Advance(15000);
    const Bytes stored[] = {Body(Built(DumpPerformance)), Body(Built(0))};
    // A person mutes part 2, voiced operator 1 and unvoiced operator 8 of voice 1.
    ClickMutes(1, 0, {0}, {7});
    ASSERT_EQ(instrument.Performance[0xC0 + 0x34 + 0x0B], 0);
    ASSERT_EQ(instrument.Voices[0][0x70 + 0x16], 0);
    ASSERT_EQ(instrument.Voices[0][0x2A], 0);

    form->MarkDataChanged(); // a close the person cancels leaves the mutes on
    AnswerMessages(IDCANCEL);
    Click("FileExitItem");
    EXPECT_EQ(instrument.Performance[0xC0 + 0x34 + 0x0B], 0);
    AnswerMessages(IDNO);
    Click("FileExitItem");
    EXPECT_EQ(InstrumentPayload(instrument, DumpPerformance), stored[0]);
    EXPECT_EQ(InstrumentPayload(instrument, 0), stored[1]);
    EXPECT_FALSE(form->Midi.MidiPortsOpen);
}

// Options > MIDI Interface Setting gives the devices up, maybe for good (Cancel leaves them closed
// until the program ends): the instrument gets the muted words back first, as at the end. The
// devices chosen with OK are muted again as the editor shows. A lift that fails is told once, and
// the dialog opens all the same.
TEST_F(TransfersTest, TheSetupDialogLiftsTheMutesBeforeItGivesTheDevicesUpAndOkMutesTheChoiceAgain)
{
    form->ParameterData.PfmParts[2].Volume = 60;
    form->ParameterData.VoiceRecords[1].VoicedOperators[3].OutputLvl = 5;
    Click("DataSendAll");
    Advance(15000);
    const auto onInstrument = [this] {
        return std::vector<Bytes>{InstrumentPayload(instrument, DumpPerformance), InstrumentPayload(instrument, 1)};
    };
    const std::vector<Bytes> stored = onInstrument();
    ASSERT_TRUE(stored == (std::vector<Bytes>{Body(Built(DumpPerformance)), Body(Built(1))}));
    // A person mutes part 3 and voiced operator 4 of voice 2.
    ClickMutes(2, 1, {3});
    const std::vector<Bytes> muted = onInstrument();
    ASSERT_FALSE(muted == stored);
    const auto held = [&] {
        const auto now = onInstrument();
        return now == stored ? "as stored" : now == muted ? "muted as the editor shows" : "something else";
    };

    const struct {
        const char* what;
        bool ok;
        std::string whileOpen, after;
    } rounds[] = {{"Cancel", false, "as stored", "as stored"},
                  {"OK with the devices closed", true, "as stored", "muted as the editor shows"},
                  {"OK", true, "as stored", "muted as the editor shows"}};
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.what);
        Messages().clear();
        int shown = 0;
        Headless().ModalResponder = [&](TForm& f) {
            auto& d = dynamic_cast<TMIDISetup&>(f);
            ++shown;
            EXPECT_EQ(held(), r.whileOpen) << "the instrument while the dialog is open";
            EXPECT_EQ(form->Caption(), "Quillmarven") << "a lift is no edit";
            if (r.ok) {
                d.MIDIIN_Box->UserSelects(0);
                d.MIDIOUT_Box->UserSelects(0);
            }
            (r.ok ? d.OKBitBtn : d.CancelBitBtn)->UserClicks();
        };
        Click("MIDI_config");
        EXPECT_EQ(shown, 1);
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(form->Midi.MidiPortsOpen, r.ok);
        EXPECT_EQ(held(), r.after) << "the instrument after the dialog";
        EXPECT_EQ(form->PartMute[2], 1) << "the editor keeps its mutes";
    }

    // An output that cannot carry the lift: one box, then the dialog.
    fs1r->SetMaxMessageSize(4);
    Messages().clear();
    Headless().ModalResponder = [](TForm& f) { dynamic_cast<TMIDISetup&>(f).CancelBitBtn->UserClicks(); };
    const std::size_t modals = Modals().size();
    Click("MIDI_config");
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Modals().size(), modals + 1);
    EXPECT_FALSE(form->Midi.MidiPortsOpen);
}
