// A save file holds only words this editor, or an earlier version of it, could have written: a
// word outside what its field carries (or, on a voiced operator, what an earlier Op Paste of an
// unvoiced one left there), or outside what the editor gives a word no field carries, is refused
// as a broken file; every file any version writes opens again.
#include "tests/files/FormRig.h"
#include "tests/support/ControlTree.h"

#include <climits>

namespace {

const char* const WrongFse = "File Error: This file is not Quillmarven's file or broken file";

// A voiced operator's frequency and width bias, -7..+7 on the instrument and on the slider.
constexpr int32_t VoicedOperator::*VoicedBiases[] = {&VoicedOperator::SnsFreqBias, &VoicedOperator::SnsWidthBias};
constexpr int32_t BiasTop = 14;

// The data as an opened file shows them: every voiced bias brought to at most +7.
TParameterData WithBiasesTaken(TParameterData d)
{
    for (VoiceRecord& voice : d.VoiceRecords)
        for (VoicedOperator& op : voice.VoicedOperators)
            for (auto bias : VoicedBiases) op.*bias = std::min(op.*bias, BiasTop);
    return d;
}

class SaveFileWordsTest : public FormRig {
protected:
    SaveFileWordsTest() : FormRig({.open = Ports::Instrument}) {}

    // The window on screen, without its start-up.
    void Show()
    {
        form->OnShow = nullptr;
        form->Show();
    }

    // File > Save As, then File > Open of that file in a new window: taken whole, without a box,
    // but for a voiced bias of 15 (the top of its four bits, outside the instrument's table),
    // which opens as +7, the data then changed.
    void ExpectSavedFileReopens(const std::string& what)
    {
        SCOPED_TRACE(what);
        Advance(40000);
        const TParameterData saved = form->ParameterData;
        const fs::path path = temp / "own.fse";
        AnswerFileDialogs([&](const TFileDialogRequest&) { return path.string(); });
        Click("FileSaveAsItem");
        MakeForm();
        Show();
        Messages().clear();
        OpenFile(path);
        for (const TShownMessage& m : Messages()) ADD_FAILURE() << m.Text;
        EXPECT_TRUE(Same(form->ParameterData, WithBiasesTaken(saved)));
        EXPECT_EQ(form->DataChanged, !Same(WithBiasesTaken(saved), saved));
        Advance(40000);
    }

    // The one box: the broken-file box.
    void ExpectRefusal()
    {
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, WrongFse);
        Messages().clear();
    }

    // A person picks the first (or last) item of every list and radio group under `sheet` that
    // takes input where the window stands, then drags every slider there to its first (or last)
    // position.
    void EveryControlToAnEnd(TTabSheet* sheet, bool last)
    {
        std::vector<TComboBox*> lists;
        std::vector<TRadioGroup*> groups;
        std::vector<TScrollBar*> bars;
        Walk(sheet, [&](TControl* c) {
            if (auto* l = dynamic_cast<TComboBox*>(c)) lists.push_back(l);
            if (auto* g = dynamic_cast<TRadioGroup*>(c)) groups.push_back(g);
            if (auto* b = dynamic_cast<TScrollBar*>(c)) bars.push_back(b);
        });
        for (TComboBox* l : lists)
            if (l->AcceptsInput() && l->Items.Count() > 0) l->UserSelects(last ? l->Items.Count() - 1 : 0);
        for (TRadioGroup* g : groups)
            if (g->AcceptsInput() && g->Items.Count() > 0) g->UserClicks(last ? g->Items.Count() - 1 : 0);
        for (TScrollBar* b : bars)
            if (b->AcceptsInput()) b->UserScrollsTo(last ? b->MaxPosition() : b->Min());
        Advance(40000); // what a pick started
    }
};

} // namespace

// The initial data; the data of receives whose every byte is the largest a field may carry, and
// the smallest; every control of both pages at its first and at its last item or position, at
// every sheet, part and effect block, on voiced and unvoiced operators, after the effect types at
// both ends of their lists.
TEST_F(SaveFileWordsTest, EveryFileTheEditorWritesOpensAgain)
{
    Show();
    ExpectSavedFileReopens("the initial data");
    for (const uint8_t b : {0x7F, 0x00}) {
        instrument.Performance.fill(b), instrument.System.fill(b);
        for (auto& voice : instrument.Voices) voice.fill(b);
        Click("DataRcvAll");
        Advance(40000);
        EXPECT_EQ(form->ParameterData.PfmCommon.Volume, b);
        ExpectSavedFileReopens("received bytes " + std::to_string(b));
    }
    for (const bool last : {false, true}) {
        TPerformancePage& pfm = *form->PerformancePage;
        form->FS1R_PageControl->UserSelects(form->Pfm_TabSheet->PageIndex());
        for (int sheet = 0; sheet < pfm.Pfm_PageControl->PageCount(); ++sheet) {
            pfm.Pfm_PageControl->UserSelects(sheet);
            ASSERT_EQ(pfm.Pfm_PageControl->ActivePageIndex(), sheet);
            for (int tab = 0; tab < 4; ++tab) {
                pfm.Pfm_PartTab->UserSelects(tab);
                pfm.Pfm_Effect_Tab->UserSelects(tab);
                EveryControlToAnEnd(form->Pfm_TabSheet, last);
            }
        }
        TVoicePage& vc = *form->VoicePage;
        form->FS1R_PageControl->UserSelects(form->Vc_TabSheet->PageIndex());
        for (int voice = 0; voice < 4; voice += 3)
            for (int sheet = 0; sheet < vc.Vc_CommonPageControl->PageCount(); ++sheet)
                for (int tab : {0, 7, 8, 15}) {
                    vc.Vc_VoiceTab->UserSelects(voice);
                    vc.Vc_CommonPageControl->UserSelects(sheet);
                    vc.Vc_OperatorTab->UserSelects(tab);
                    EveryControlToAnEnd(form->Vc_TabSheet, last);
                }
        ExpectSavedFileReopens(last ? "every control at its last" : "every control at its first");
    }
}

// An unvoiced operator keeps its own frequency while a linked mode shows its voiced partner's: a
// person who sets it (fine far above the coarse range) and then links the mode saves a file that
// opens again with what was kept.
TEST_F(SaveFileWordsTest, AnUnvoicedFrequencyKeptWhileTheModeIsLinkedOpensAgain)
{
    Show();
    ShowVoice(2, 11);
    TVoicePage& vc = *form->VoicePage;
    ASSERT_TRUE(vc.Vc_UOpFreqCoarseBar->UserScrollsTo(vc.Vc_UOpFreqCoarseBar->MaxPosition()));
    ASSERT_TRUE(vc.Vc_UOpFreqFineBar->UserScrollsTo(vc.Vc_UOpFreqFineBar->MaxPosition()));
    ASSERT_TRUE(vc.Vc_UOpFreqMode->UserClicks(1)); // LinkF0
    EXPECT_EQ(form->ParameterData.VoiceRecords[2].UnvoicedOperators[3].SavedFreqFine,
              vc.Vc_UOpFreqFineBar->MaxPosition());
    ExpectSavedFileReopens("a frequency kept while linked");
}

// Every version before this one copied an operator's shared words raw on Op Paste across kinds:
// an unvoiced frequency or width bias above 15 stayed in a voiced operator's word, and Save As
// wrote it; the last one brought it to 15, the top of the voiced field, outside the instrument's
// table. Such a file opens by File > Open and on the command line with the biases at +7, as the
// window shows them, the instrument gets them and the next save writes them; the data are changed
// since the file no longer holds what the window shows.
TEST_F(SaveFileWordsTest, AFileAnEarlierOpPasteOverfilledOpensWithTheBiasesTheInstrumentTakes)
{
    Show();
    TParameterData file = form->ParameterData;
    VoicedOperator& pasted = file.VoiceRecords[1].VoicedOperators[2];
    pasted.SnsFreqBias = 16, pasted.SnsWidthBias = 127;
    file.VoiceRecords[3].VoicedOperators[7].SnsFreqBias = 15;
    file.VoiceRecords[0].UnvoicedOperators[4].SnsWidthBias = 100; // the unvoiced byte holds it
    const fs::path path = WriteFile("earlier.fse", ::SaveFileImage(file));
    const TParameterData shown = WithBiasesTaken(file);
    ASSERT_FALSE(Same(shown, file));
    const auto biasesOnTheInstrument = [&](int v, int k) {
        const auto* op = instrument.Voices[std::size_t(v)].data() + VoiceOperatorPosition + VoiceOperatorStride * k;
        return std::pair{op[0x1F] >> 3, op[0x04] >> 3};
    };
    const auto expectTaken = [&] {
        EXPECT_TRUE(Messages().empty());
        EXPECT_TRUE(Same(form->ParameterData, shown));
        EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
        EXPECT_EQ(biasesOnTheInstrument(1, 2), std::pair(int(BiasTop), int(BiasTop)));
        EXPECT_EQ(biasesOnTheInstrument(3, 7).first, BiasTop);
        EXPECT_EQ(instrument.Voices[0][VoiceOperatorPosition + VoiceOperatorStride * 4 + 0x28], 100);
    };

    OpenFile(path);
    Advance(40000);
    expectTaken();
    ShowVoice(1, 2);
    EXPECT_EQ(form->VoicePage->Edit(VcPair::Vc_OpSnsFreqBias)->Text(), "+7");
    EXPECT_EQ(form->VoicePage->Edit(VcPair::Vc_OpSnsWidthBias)->Text(), "+7");
    AnswerFileDialogs([&](const TFileDialogRequest&) { return (temp / "again.fse").string(); });
    Click("FileSaveAsItem");
    EXPECT_EQ(ReadBytes(temp / "again.fse"), ::SaveFileImage(shown));

    // On the command line; also when the settings name a port that is gone and the person
    // cancels the setup dialog, which ends the start-up before the first transfer.
    for (const char* port : {"FS1R", "gone"}) {
        SCOPED_TRACE(port);
        ASSERT_TRUE(WriteMidiSettings(SettingsFile(), {"FS1R", port, "", 0}));
        instrument = SimulatedInstrument{};
        MakeMainForm().CommandLine = {path.string()};
        form->Show();
        Advance(40000);
        if (port == std::string("FS1R")) {
            expectTaken();
        } else {
            ASSERT_EQ(Modals().size(), 1u);
            EXPECT_EQ(Modals()[0].Result, mrCancel);
            Modals().clear();
            EXPECT_TRUE(Same(form->ParameterData, shown));
            EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");
        }
        AnswerMessages(IDCANCEL);
        Click("FileExitItem");
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, "Do you want to save changes to file ?");
        Messages().clear();
    }
}

// Both ends of int in one word of each conversion, in an effect slot the type uses and one past
// it, in each word no field carries and in the last word of the buffer; a negative word and one
// past the seven bits of its byte, where no version's paste puts one: File > Open and a file on
// the command line refuse the file with the broken-file box and change and send nothing.
TEST_F(SaveFileWordsTest, AWordTheEditorCannotHaveWrittenIsRefused)
{
    const std::size_t voiced = VoiceAt(1) + VoicedOffset(3), unvoiced = VoiceAt(2) + UnvoicedOffset(6);
    const std::size_t fseq = AT(TParameterData, PfmFseq), system = AT(TParameterData, SystemBlock);
    const std::size_t reverb = EffectBlockAt(ReverbBlock) + AT(PfmEffectBlock, Para);
    const std::size_t words[] = {
        AT(PfmCommon, Pan),                                      // a byte
        voiced + AT(VoicedOperator, EGTime2),                    // reversed
        voiced + AT(VoicedOperator, Form),                       // bits
        fseq + AT(PfmFseq, LoopEnd),                             // two 7-bit bytes
        AT(PfmCommon, ControlChannel),                           // a channel, 7F for off
        system + AT(SystemBlock, ControllerAssign) + 8,          // a controller number
        PartAt(2) + AT(PfmPart, PortaMode),                      // the portamento byte
        fseq + AT(PfmFseq, FseqPre),                             // a sequence number
        fseq + AT(PfmFseq, Speed),                               // a speed
        voiced + AT(VoicedOperator, Resonance),                  // bandwidth or resonance
        PartAt(1) + AT(PfmPart, RcvChMax),                       // a byte read below a limit
        VoiceAt(3) + CommonOffset() + AT(VoiceCommon, FilterSw), // the part's copied byte
        system + AT(SystemBlock, MemoryMode),                    // read only
        system + AT(SystemBlock, SystemExtraPairs) + 20,         // carried by the dump alone
        reverb,                                                  // an effect slot of the type
        reverb + 4 * 17,                                         // an effect slot past it
        voiced + AT(VoicedOperator, FreqCoarseMax),
        voiced + AT(VoicedOperator, FreqFineMax),
        unvoiced + AT(UnvoicedOperator, SavedFreqCoarse),
        unvoiced + AT(UnvoicedOperator, SavedFreqFine),
        unvoiced + AT(UnvoicedOperator, PitchMod),
        PartAt(3) + AT(PfmPart, ReserveNoteMax),
        fseq + AT(PfmFseq, StartOffsetMax),
        fseq + AT(PfmFseq, LoopStartMax),
        fseq + AT(PfmFseq, LoopEndMax),
    };
    std::vector<std::pair<std::size_t, int32_t>> files;
    for (const std::size_t word : words)
        for (const int32_t v : {INT_MIN, INT_MAX}) files.push_back({word, v});
    // Part 4's voice, unvoiced operator 8's last word.
    const std::size_t last = VoiceAt(3) + UnvoicedOffset(7) + AT(UnvoicedOperator, FreqMod);
    static_assert(VoiceAt(3) + UnvoicedOffset(7) + sizeof(UnvoicedOperator) == TParameterData::Size);
    const std::size_t voicedBias = voiced + AT(VoicedOperator, SnsFreqBias);
    const std::size_t unvoicedBias = unvoiced + AT(UnvoicedOperator, SnsWidthBias);
    files.insert(files.end(), {{last, 8},
                               {voicedBias, -1},
                               {voicedBias, 128},
                               {unvoicedBias, 128},
                               {unvoicedBias, -1},
                               {AT(PfmCommon, Pan), 128},
                               {AT(PfmCommon, Pan), -1}});
    const TParameterData initial = form->ParameterData;
    for (const auto& [word, v] : files) {
        SCOPED_TRACE("the word at byte " + std::to_string(word) + " holding " + std::to_string(v));
        TParameterData file = initial;
        std::memcpy(file.Bytes() + word, &v, 4);
        OpenFile(WriteFile("crafted.fse", ::SaveFileImage(file)));
        Advance(20000);
        ExpectRefusal();
        EXPECT_TRUE(Same(form->ParameterData, initial));
        EXPECT_TRUE(form->CurrentFileName.empty());
        EXPECT_TRUE(TakeAllSent().empty());
    }

    ASSERT_TRUE(WriteMidiSettings(SettingsFile(), {"FS1R", "FS1R", "", 0}));
    MakeMainForm().CommandLine = {(temp / "crafted.fse").string()};
    form->Show();
    Advance(20000);
    ExpectRefusal();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(Same(form->ParameterData, initial));
    EXPECT_TRUE(form->CurrentFileName.empty());
}
