// Transfers through which the MIDI system lost cycles (a JACK server's xruns: a message crossing
// one may be gone): a block whose answer does not come is asked for again before the cable is
// blamed, and a transfer that sent more than its requests ends saying that the instrument may
// have missed messages, once what it sent has crossed.
#include "TransfersFixture.h"

#include "mainform/dialogs/storeform.h"
#include "tests/support/SequenceFile.h"

namespace {

constexpr const char* MayHaveMissed = "The MIDI system fell behind during this transfer (the JACK server reported "
                                      "late cycles), so the instrument may have missed some of the messages sent to it. "
                                      "Repeat the transfer to be sure. A JACK server started in synchronous mode "
                                      "(jackd -S) waits for a late program instead of losing its messages.";
constexpr const char* CouldNotShow = "The MIDI system could not show that the messages of this transfer reached the "
                                     "instrument.";

bool IsRequest(const Bytes& m) { return m.size() == 8 && (m[2] & 0xF0) == 0x20; }

class LostCyclesTest : public TransfersTest {
protected:
    void SetUp() override
    {
        TransfersTest::SetUp();
        form->OnShow = nullptr;
        form->Show();
        SeedInstrument();
        TakeSent();
    }
    // The MIDI system loses a cycle as the instrument is sent a message `lose` picks; the
    // instrument then does not hear it when `missed` says so.
    void LoseCyclesAt(std::function<bool(const Bytes&)> lose, std::function<bool(const Bytes&)> missed = {})
    {
        Answers = [this, lose, missed](const Bytes& m) {
            if (!lose(m)) return true;
            fs1r->LoseCycles(1);
            return !(missed && missed(m));
        };
    }
    int RequestsSent()
    {
        int n = 0;
        for (const Bytes& m : TakeSent()) n += IsRequest(m);
        return n;
    }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        for (const TShownMessage& m : Messages()) texts.push_back(m.Text);
        Messages().clear();
        return texts;
    }
};

} // namespace

TEST_F(LostCyclesTest, ABlockMissedWithALostCycleIsAskedAgainBeforeTheCableIsBlamed)
{
    // Receive-all: the first request for voice 2 is lost with a cycle; the next tick asks again.
    int voice2Asks = 0;
    LoseCyclesAt([&](const Bytes& m) { return IsRequest(m) && m[4] == 0x41 && ++voice2Asks == 1; },
                 [](const Bytes&) { return true; });
    Click("DataRcvAll");
    Advance(40000);
    EXPECT_FALSE(form->AllRcvTimer->Enabled());
    EXPECT_EQ(voice2Asks, 2);
    EXPECT_EQ(RequestsSent(), 7);
    ExpectStored({DumpPerformance, 0, 1, 2, 3, DumpSystem});
    EXPECT_TRUE(Texts().empty()) << "the data came whole, and nothing but requests was sent";
    EXPECT_TRUE(Free());

    // A single receive: the same, one interval later.
    int asks = 0;
    LoseCyclesAt([&](const Bytes& m) { return IsRequest(m) && ++asks == 1; }, [](const Bytes&) { return true; });
    form->ParameterData.VoiceRecords[2].VoiceCommon.Algorithm = 1;
    Click("DataRcvVc3");
    Advance(4000);
    EXPECT_TRUE(Locked()) << "still waiting for the answer asked for again";
    Advance(1000);
    EXPECT_TRUE(Free());
    EXPECT_EQ(asks, 2);
    ExpectStored({2});
    EXPECT_TRUE(Texts().empty());
    TakeSent();

    // Every answer lost while cycles keep being lost: asked four times in all, then the cable box
    // as always, and the words on what may have happened.
    LoseCyclesAt(IsRequest, [](const Bytes&) { return true; });
    Click("DataRcvPfm");
    Advance(10000);
    EXPECT_EQ(RequestsSent(), 4);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Please connect MIDI cable!", MayHaveMissed}));
    EXPECT_TRUE(Free());

    // No answer, and no cycle lost: the cable, at once, as always.
    Answers = [](const Bytes& m) { return !IsRequest(m); };
    Click("DataRcvAll");
    Advance(40000);
    EXPECT_EQ(RequestsSent(), 1);
    ExpectCableBox("Quillmarven : MIDI setting error");
}

TEST_F(LostCyclesTest, EveryTransferThatSentThroughLostCyclesSaysSoAtItsEndAndOnlyThen)
{
    const fs::path sequence = WriteFile("seq.syx", SequenceFile(600, 0, "Talk 1 "));
    AnswerFileDialogs([&](const TFileDialogRequest&) { return sequence.string(); });
    Headless().ModalResponder = [](TForm& shown) {
        if (auto* store = dynamic_cast<TStoreNumSelect*>(&shown)) store->StoreOkBtn->UserClicks();
    };
    // Part 2 muted: a receive that brings another volume for it silences it again.
    ASSERT_TRUE(form->PerformancePage->Pfm_PartMuteBtn[1]->UserClicks());
    constexpr std::size_t part2Volume = 0xC0 + 0x34 + 0x0B;
    auto& page = *form->PerformancePage;
    // Memory 1 free and chosen, as a person leaves it before pressing write.
    auto chooseFreeMemory = [&] {
        form->ParameterData.SystemBlock.MemoryMode = 1;
        form->ParameterData.PfmFseq.FseqBank = 0;
        form->RefreshPerformancePages();
        page.Pfm_PageControl->SetActivePage(page.Pfm_FSEQ_Ctrl_TabSheet);
        page.Pfm_Fseq_FseqIntClearClick(nullptr);
        ASSERT_TRUE(page.Pfm_Fseq_FseqInt->UserSelects(0));
        Advance(40000);
        TakeSent();
    };
    struct Transfer {
        const char* What;
        std::function<void()> Start;
        std::function<void()> Prepare = [] {};
    };
    const Transfer transfers[] = {
        {"send-all", [this] { Click("DataSendAll"); }},
        {"Data Send > Voice1", [this] { Click("DataSendVc1"); }},
        {"Data Send > System", [this] { Click("DataSendSys"); }},
        {"Store > Performance", [this] { Click("StorePfm"); }},
        {"a sequence written into memory", [&] { ASSERT_TRUE(page.Pfm_Fseq_FseqIntWrite->UserClicks()); },
         chooseFreeMemory},
        {"receive-all that silences the muted part again", [this] { Click("DataRcvAll"); },
         [&] { instrument.Performance[part2Volume] = 99; }},
    };
    for (const auto& [what, start, prepare] : transfers) {
        SCOPED_TRACE(what);
        prepare();
        // A cycle lost as a dump or a parameter change goes out: said once, at the end.
        bool lost = false;
        LoseCyclesAt([&](const Bytes& m) { return !IsRequest(m) && !lost && (lost = true); });
        start();
        while (form->TransferRunning()) {
            EXPECT_TRUE(Messages().empty()) << "told before the transfer ended";
            Advance(100);
        }
        EXPECT_TRUE(lost) << "nothing but requests went out";
        EXPECT_EQ(Texts(), std::vector<std::string>{MayHaveMissed});
        EXPECT_TRUE(Free());

        // Cycles lost before the transfer, none during it: nothing to say.
        fs1r->LoseCycles(3);
        Answers = nullptr;
        prepare();
        start();
        Advance(40000);
        EXPECT_TRUE(Texts().empty());

        // Whether the messages crossed cannot be told (the MIDI system's cycles did not come).
        prepare();
        fs1r->FailDrain(true);
        start();
        Advance(40000);
        fs1r->FailDrain(false);
        const auto texts = Texts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].rfind(CouldNotShow, 0), 0u) << texts[0];
        TakeSent();
    }
}
