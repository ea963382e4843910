// Single-block receives and sends through the Tools menu, against the simulated instrument on the
// virtual clock: requests and their timing, what is stored, the lock and the thru, failures.
#include "TransfersFixture.h"

TEST_F(TransfersTest, ReceivesLockAtOnceRequestAndShowTheAnswer)
{
    SetDeviceNumber(5);
    SeedInstrument();
    TakeSent();
    ASSERT_TRUE(Free());

    Click("DataRcvPfm");
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_TRUE(Busy());
    Advance(999);
    EXPECT_TRUE(TakeSent().empty());
    Advance(1);
    EXPECT_EQ(TakeSent(), Requests(0x25, 0x10));
    Advance(1000);
    EXPECT_TRUE(Free());
    EXPECT_TRUE(Messages().empty());
    ExpectStored({DumpPerformance});
    EXPECT_EQ(form->PerformancePage->Pfm_Part_ReserveNoteEdit->Text(), "5");

    // A voice of the menu goes into its own part whichever voice tab is shown; three intervals.
    const VoiceRecord part1 = form->ParameterData.VoiceRecords[0];
    Click("DataRcvVc3");
    Advance(1000);
    EXPECT_EQ(TakeSent(), Requests(0x25, 0x42));
    Advance(2999);
    EXPECT_TRUE(Locked());
    Advance(1);
    EXPECT_TRUE(Unlocked());
    ExpectStored({2});
    EXPECT_EQ(std::memcmp(&form->ParameterData.VoiceRecords[0], &part1, sizeof part1), 0);

    // The voice page's button asks for the voice of its tab.
    form->VoicePage->Vc_VoiceTab->SetTabIndex(1);
    form->Vc_GetDataBtnClick(nullptr);
    Advance(4000);
    EXPECT_EQ(TakeSent(), Requests(0x25, 0x41));
    ExpectStored({1});
}

TEST_F(TransfersTest, SystemReceiveShowsTheSequenceMemoryNoticeOnlyInMemoryMode1)
{
    SeedInstrument();
    form->SilentReceiveAll = 0;
    bool lockedDuringNotice = false;
    Headless().ModalResponder = [&](TForm&) { lockedDuringNotice = !form->Enabled(); };
    form->ParameterData.PfmParts[0].BankNum = 1; // "Int", shown
    form->RefreshPerformancePages();
    for (const uint8_t mode : {0, 1}) {
        instrument.System[0x47] = mode;
        Modals().clear();
        TakeSent();
        form->PerformancePage->Pfm_Fseq_FseqInt->Items.SetStrings(2, "03: SomeSeq");
        Click("DataRcvSys");
        Advance(800);
        EXPECT_EQ(TakeSent(), Requests(0x20, 0x00));
        Advance(800);
        EXPECT_TRUE(Unlocked());
        EXPECT_EQ(form->ParameterData.SystemBlock.MemoryMode, mode);
        ExpectStored({DumpSystem});
        EXPECT_EQ(Modals().size(), std::size_t(mode));
        EXPECT_EQ(form->PerformancePage->Pfm_Fseq_FseqInt->Items[2], mode ? "03: Store OK !" : "03: SomeSeq");
        // The internal voices the part sheet lists: 64 of them in memory mode 1.
        EXPECT_EQ(form->PerformancePage->Pfm_Part_PrgNum->Items[64] == "065 --:**********", mode == 1);
    }
    EXPECT_EQ(Modals()[0].FormName, "FSEQ_InitInfoForm");
    EXPECT_TRUE(lockedDuringNotice);
    // The performance plays a preset sequence: no memory is chosen or sent.
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(TransfersTest, UnansweredOrSpoiledReceiveWarnsKeepsTheDataAndReadsNoLateAnswer)
{
    SeedInstrument();
    using Answer = SimulatedInstrument::Answer;
    const std::tuple<const char*, uint64_t, uint8_t> commands[] = {
        {"DataRcvPfm", 2000, 0x10}, {"DataRcvVc2", 4000, 0x41}, {"DataRcvSys", 1600, 0x00}};
    for (const Answer answer : {Answer::Nothing, Answer::Truncated, Answer::BadChecksum}) {
        for (const auto& [command, duration, ah] : commands) {
            SCOPED_TRACE(command);
            // Answered first: the next receive must not take that answer for its own.
            instrument.AnswerMode = Answer::Dump;
            Click(command);
            Advance(duration);
            instrument.AnswerMode = answer;
            const TParameterData before = form->ParameterData;
            Messages().clear();
            Click(command);
            Advance(duration);
            // The whole dump, once the receive has given up on it.
            fs1r->Play(instrument.BulkDumpOf(ah, 0, 0));
            Advance(1000);
            EXPECT_EQ(std::memcmp(&before, &form->ParameterData, sizeof before), 0);
            ExpectCableBox("LQuillmarven : MIDI setting error");
            EXPECT_TRUE(Free());
        }
    }
}

TEST_F(TransfersTest, SendsGoOutAtOnceAndSilenceTheMutesAgain)
{
    form->PartMute[1] = form->PartMute[3] = 1;
    form->OperatorMute.Voiced[1][0] = 1;
    TakeSent();
    // The dump, the pause, then the mutes (their bytes: the message records of tests/pages).
    Click("DataSendPfm");
    auto sent = TakeSent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].size(), 411u);
    EXPECT_EQ(Headless().Sleeps, std::vector<unsigned>{1000});
    EXPECT_TRUE(Unlocked());
    EXPECT_EQ(form->DataChanged, 0);

    Click("DataSendVc2"); // the dump, the muted operator, the two switch masks
    sent = TakeSent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0][6], 0x41);
    EXPECT_EQ(Address(sent[1]), (Bytes{0x61, 0x00, 0x16, 0x00, 0x00}));
    form->VoicePage->Vc_VoiceTab->SetTabIndex(3);
    form->Vc_SendDataBtnClick(nullptr);
    sent = TakeSent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0][6], 0x43);

    Headless().Sleeps.clear();
    Click("DataSendSys");
    sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].size(), 87u);
    EXPECT_TRUE(Headless().Sleeps.empty());
}

TEST_F(TransfersTest, OnlyOneTransferRunsAtATime)
{
    // A second command before the first tick would overwrite the pending request's target.
    Click("DataRcvVc1");
    for (const char* other : {"DataRcvSys", "DataRcvAll", "DataSendPfm", "DataSendAll"}) Click(other);
    EXPECT_FALSE(form->StartVoiceFetch(2));
    EXPECT_EQ(form->ReceiveTarget, 0);
    EXPECT_TRUE(TakeSent().empty());
    Advance(4000);
    EXPECT_EQ(TakeSent(), Requests(0x20, 0x40));
    EXPECT_TRUE(Unlocked());

    // Send-all started as the file commands start it (Tag 0, then enabled) keeps others out too.
    form->AllSendTimer->Tag = 0;
    form->AllSendTimer->SetEnabled(true);
    Click("DataRcvPfm");
    EXPECT_FALSE(form->Pfm_Timer->Enabled());
    Advance(14500);
    EXPECT_TRUE(Unlocked());

    // The voice fetch of a program change, once nothing else runs: locked, not marked.
    form->DataChanged = 0;
    TakeSent();
    EXPECT_TRUE(form->StartVoiceFetch(2));
    EXPECT_TRUE(Locked());
    Advance(4000);
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(TakeSent(), Requests(0x20, 0x42));
}

TEST_F(TransfersTest, SystemDumpGivesTheInstrumentItsOwnReceiveSwitchBack)
{
    // Before anything was received the switch goes out on: the instrument hears what follows.
    Click("DataSendSys");
    EXPECT_EQ(instrument.System[0x10], 1);
    const int dumps = instrument.BulkDumpsTaken;
    Click("DataSendPfm");
    EXPECT_EQ(instrument.BulkDumpsTaken, dumps + 1);
    // Afterwards it is the one the instrument sent last, whatever the edit buffer holds.
    for (const uint8_t sw : {0, 1}) {
        instrument.System[0x10] = sw; // on the instrument's panel
        Click("DataRcvSys");
        Advance(1600);
        ExpectStored({DumpSystem});
    }
}
