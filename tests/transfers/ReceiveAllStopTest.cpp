// A receive-all that ends before its last block, at each block: the instrument does not answer
// it, or its request cannot be sent. Whatever came before stays in the edit buffer; the pages
// show the buffer, and a save writes what they show. Started by a person (Data Receive > ALL over
// a file, or after an .fs1 import), it leaves the data marked changed, so that nothing replaces
// the person's data unasked; start-up's own marks nothing.
#include "TransfersFixture.h"

#include "tests/support/ControlTree.h"

#include <limits>
#include <map>

namespace {

// What every control of both pages shows.
std::map<std::string, std::string> Shown(TMainForm& form)
{
    std::map<std::string, std::string> shown;
    for (TControl* root : {static_cast<TControl*>(form.Pfm_TabSheet), static_cast<TControl*>(form.Vc_TabSheet)}) {
        Walk(root, [&](TControl* c) {
            std::string state = c->Text() + (c->Enabled() ? "" : " (disabled)");
            if (auto* bar = dynamic_cast<TScrollBar*>(c)) state += " @" + std::to_string(bar->Position());
            if (auto* list = dynamic_cast<TComboBox*>(c)) state += " #" + std::to_string(list->ItemIndex());
            if (auto* radio = dynamic_cast<TRadioGroup*>(c)) state += " #" + std::to_string(radio->ItemIndex());
            if (auto* box = dynamic_cast<TCheckBox*>(c)) state += box->Checked() ? " [x]" : " [ ]";
            if (auto* button = dynamic_cast<TSpeedButton*>(c)) state += button->Down() ? " down" : " up";
            if (auto* tabs = dynamic_cast<TTabControl*>(c)) state += " tab " + std::to_string(tabs->TabIndex());
            shown[c->Name.empty() ? std::to_string(reinterpret_cast<uintptr_t>(c)) : c->Name] = state;
        });
    }
    return shown;
}

// The controls that show something else than the edit buffer holds, and what they show.
std::vector<std::string> Stale(TMainForm& form)
{
    const auto before = Shown(form);
    form.RefreshPerformancePages();
    form.RefreshVoicePages(form.ShownVoice());
    const auto after = Shown(form);
    std::vector<std::string> stale;
    for (const auto& [name, state] : after)
        if (before.at(name) != state) stale.push_back(name + ": \"" + before.at(name) + "\" for \"" + state + "\"");
    return stale;
}

enum class Origin { File, StartUp, Fs1 };
enum class Stop { NoAnswer, SendFails };

// The tick of receive-all (1200 ms after its start, then every 1200 ms) at which block k is asked
// for: tags 0, 5, 10, 15, 20, 25.
uint64_t RequestTime(int k) { return 1200u * (5u * unsigned(k) + 1u); }

} // namespace

class ReceiveAllStopTest : public TransfersTest {
protected:
    // Starts the receive-all from `origin` with the Voice page showing voice 1; the instrument's
    // blocks differ from the file's and from the initial data in every block.
    void Start(Origin origin)
    {
        SeedInstrument();
        switch (origin) {
        case Origin::File: {
            form->OnShow = nullptr;
            form->Show();
            TParameterData mine = form->ParameterData;
            std::memcpy(mine.PfmCommon.Name.data(), "My Own Pfm  ", 12);
            for (auto& voice : mine.VoiceRecords) std::memcpy(voice.VoiceCommon.Name.data(), "My Own Vc ", 10);
            OpenFile(WriteFile("mine.fse", SaveFileImage(mine)));
            Advance(15000);   // its send-all
            SeedInstrument(); // another instrument, connected now
            ASSERT_EQ(form->Caption(), "Quillmarven");
            ShowVoice(0);
            ASSERT_EQ(form->VoicePage->Vc_Name->Text(), "My Own Vc ");
            Click("DataRcvAll");
            break;
        }
        case Origin::StartUp: StartUp(); break;
        case Origin::Fs1: {
            form->OnShow = nullptr;
            form->Show();
            form->RefreshPerformancePages(); // as the first show leaves them
            ShowVoice(0);
            // The other editor's file (here the instrument's own performance), relayed and read back.
            Bytes fs1 = instrument.BulkDumpOf(0x10, 0, 0);
            OpenFile(WriteFile("theirs.fs1", fs1), 2);
            break;
        }
        }
        ASSERT_TRUE(form->AllRcvTimer->Enabled());
        Messages().clear();
    }

    // Runs the receive-all from its start until it has ended at block k: block k does not
    // answer, or its request cannot be sent.
    void EndAt(int k, Stop stop)
    {
        if (stop == Stop::NoAnswer) {
            int requests = 0;
            Answers = [k, &requests](const Bytes& m) {
                const bool request = m.size() == 8;
                requests += request;
                return request && std::find(std::begin(BlockAh), std::end(BlockAh), m[4]) - BlockAh < k;
            };
            Advance(40000);
            Answers = nullptr;
            EXPECT_EQ(requests, k + 1) << "requests, the last of them unanswered";
            return;
        }
        Advance(RequestTime(k) - 1);
        ASSERT_TRUE(form->AllRcvTimer->Enabled());
        fs1r->SetMaxMessageSize(4);
        Advance(40000);
        fs1r->SetMaxMessageSize(std::numeric_limits<std::size_t>::max());
    }

    static constexpr uint8_t BlockAh[] = {0x10, 0x40, 0x41, 0x42, 0x43, 0x00};
};

TEST_F(ReceiveAllStopTest, WhatCameBeforeAStopIsShownAndAPersonsReceiveLeavesItMarked)
{
    const char* const origins[] = {"over a loaded file", "at start-up", "after an .fs1 import"};
    const char* const stops[] = {"does not answer", "cannot be asked for"};
    for (Origin origin : {Origin::File, Origin::StartUp, Origin::Fs1}) {
        for (Stop stop : {Stop::NoAnswer, Stop::SendFails}) {
            for (int k = 0; k < 6; ++k) {
                SCOPED_TRACE(std::string(origins[int(origin)]) + ": block " + std::to_string(k) + " " +
                             stops[int(stop)]);
                Headless().Reset();
                Answers = nullptr;
                instrument = SimulatedInstrument{};
                MakeForm();
                Start(origin);
                if (HasFatalFailure()) return;
                // While the box of the stop is up, the pages and the caption tell already what
                // the buffer holds.
                std::vector<std::string> staleUnderBox;
                std::string captionUnderBox;
                Headless().MessageResponder = [&](const TShownMessage&) {
                    staleUnderBox = Stale(*form);
                    captionUnderBox = form->Caption();
                    return IDOK;
                };
                EndAt(k, stop);
                Headless().MessageResponder = nullptr;
                if (HasFatalFailure()) return;

                ASSERT_FALSE(form->TransferRunning());
                ASSERT_EQ(Messages().size(), 1u) << "the box of the stop";
                EXPECT_EQ(Messages()[0].Text.find("Please connect MIDI cable!") == 0, stop == Stop::NoAnswer)
                    << Messages()[0].Text;
                EXPECT_TRUE(Free());
                // Nothing rolled back, no later block asked for.
                for (int b = 0; b < 6; ++b)
                    EXPECT_EQ(Body(Built(AllBlocks[b])) == InstrumentPayload(instrument, AllBlocks[b]), b < k)
                        << "block " << b << (b < k ? " is not stored" : " was asked for after the stop");
                EXPECT_EQ(form->SilentReceiveAll, 1);

                const bool marked = k > 0 && origin != Origin::StartUp;
                EXPECT_EQ(staleUnderBox, std::vector<std::string>{}) << "the pages under the box of the stop";
                EXPECT_EQ(captionUnderBox, marked ? "Quillmarven (Changed)" : "Quillmarven");
                EXPECT_EQ(Stale(*form), std::vector<std::string>{}) << "the pages after the stop";
                EXPECT_EQ(form->DataChanged, marked ? 1 : 0);
                EXPECT_EQ(form->Caption(), marked ? "Quillmarven (Changed)" : "Quillmarven");

                // What is shown is what a save writes.
                const fs::path saved = temp / "saved.fse";
                fs::remove(saved);
                AnswerFileDialogs([&](const TFileDialogRequest&) { return saved.string(); });
                Click("FileSaveAsItem");
                ASSERT_EQ(ReadBytes(saved), SaveFileImage(form->ParameterData));
                const Bytes file = ReadBytes(saved);
                const auto& voice1 = reinterpret_cast<const TParameterData*>(file.data() + 16)->VoiceRecords[0];
                EXPECT_EQ(std::string(voice1.VoiceCommon.Name.begin(), voice1.VoiceCommon.Name.begin() + 10),
                          form->VoicePage->Vc_Name->Text());
                EXPECT_EQ(form->Caption(), "Quillmarven");
            }
        }
    }
}

// Until saved, File > Exit, Open and New ask first after a person's receive-all stopped half way.
TEST_F(ReceiveAllStopTest, ClosingOpeningAndNewAskFirstAfterAPersonsReceiveStoppedHalfWay)
{
    for (const char* command : {"FileExitItem", "FileOpenItem", "FileNewItem"}) {
        SCOPED_TRACE(command);
        Headless().Reset();
        Answers = nullptr;
        instrument = SimulatedInstrument{};
        MakeForm();
        Start(Origin::File);
        ASSERT_FALSE(HasFatalFailure());
        EndAt(2, Stop::NoAnswer); // the performance and voice 1 came
        Messages().clear();
        AnswerMessages(IDCANCEL);
        Click(command);
        ASSERT_FALSE(Messages().empty());
        EXPECT_EQ(Messages()[0].Text, "Do you want to save changes to file ?");
        EXPECT_TRUE(form->Visible());
    }
}

// Two receive-alls in one window: after one that stored every block and left the data unchanged
// (start-up's, or a person's whose data were then saved), one that gets no answer at all stores
// nothing, so it marks nothing and Exit asks nothing.
TEST_F(ReceiveAllStopTest, ASecondReceiveAllWithoutAnyAnswerMarksNothing)
{
    for (const bool atStartUp : {true, false}) {
        SCOPED_TRACE(atStartUp ? "after start-up's" : "after a person's, saved");
        Headless().Reset();
        Answers = nullptr;
        instrument = SimulatedInstrument{};
        SeedInstrument();
        MakeForm();
        if (atStartUp) {
            StartUp();
        } else {
            form->OnShow = nullptr;
            form->Show();
            form->SilentReceiveAll = 0; // start-up's has completed
            Click("DataRcvAll");
        }
        Advance(40000);
        ASSERT_TRUE(Messages().empty());
        ExpectStored({DumpPerformance, 0, 1, 2, 3, DumpSystem});
        if (!atStartUp) {
            ASSERT_EQ(form->Caption(), "Quillmarven (Changed)");
            AnswerFileDialogs([&](const TFileDialogRequest&) { return (temp / "theirs.fse").string(); });
            Click("FileSaveAsItem");
        }
        ASSERT_EQ(form->Caption(), "Quillmarven");

        instrument.AnswerMode = SimulatedInstrument::Answer::Nothing;
        Click("DataRcvAll");
        Advance(40000);
        ExpectCableBox("Quillmarven : MIDI setting error");
        EXPECT_EQ(form->DataChanged, 0);
        EXPECT_EQ(form->Caption(), "Quillmarven");
        Messages().clear();
        AnswerMessages(IDCANCEL);
        Click("FileExitItem");
        EXPECT_TRUE(Messages().empty()) << Messages()[0].Text;
        EXPECT_TRUE(Application->Terminated() || !form->Visible()) << "Exit did not end";
    }
}
