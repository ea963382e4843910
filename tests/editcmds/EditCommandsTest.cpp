// Edit > Copy, Paste, Undo, Op Copy, Op Paste: the edit buffer, what reaches the instrument and
// in which order, and the menu enables.
#include "core/WordRanges.h"
#include "tests/editcmds/EditRig.h"

namespace {

const TShiftState Ctrl{ssCtrl}, CtrlShift{ssCtrl, ssShift};

class EditCommandsTest : public EditRig {
protected:
    // Shows the page of part `p` or voice `v`, then presses Ctrl+`key`.
    bool OnPart(int p, char key) { return ShowPart(p), form->UserPressesKey(uint16_t(key), Ctrl); }
    bool OnVoice(int v, char key) { return ShowVoice(v), form->UserPressesKey(uint16_t(key), Ctrl); }
};

// The words of operator tab `tab`: voiced operator tab + 1 (0..7), unvoiced operator tab - 7.
int32_t* OperatorWords(VoiceRecord& v, int tab)
{
    if (tab < 8) return reinterpret_cast<int32_t*>(&v.VoicedOperators[std::size_t(tab)]);
    return reinterpret_cast<int32_t*>(&v.UnvoicedOperators[std::size_t(tab - 8)]);
}
int WordCount(int tab) { return tab < 8 ? 44 : 35; }

Bytes Message(uint8_t device, uint8_t ah, uint8_t am, uint8_t al, uint8_t dl)
{
    return {0xF0, 0x43, uint8_t(0x10 + device), 0x5E, ah, am, al, 0x00, dl, 0xF7};
}

} // namespace

TEST_F(EditCommandsTest, EditMenuStandsBetweenFileAndToolsWithItsKeysAndEnables)
{
    TMenuItem* bar = form->MainMenu1->Items();
    EXPECT_EQ(bar->IndexOf(Item("EditE1")), bar->IndexOf(Item("File1")) + 1);
    EXPECT_EQ(bar->IndexOf(Item("Tools1")), bar->IndexOf(Item("EditE1")) + 1);
    std::vector<std::string> items;
    for (int i = 0; i < form->EditE1->Count(); ++i) {
        const TMenuItem* m = form->EditE1->Items(i);
        items.push_back(m->Name + "|" + m->Caption() + "|" + ShortCutToText(m->ShortCut()) + "|" +
                        (m->Enabled() ? "on" : "off") + (m->Visible() ? "" : "|hidden"));
    }
    EXPECT_EQ(items, (std::vector<std::string>{"Undo|&Undo|Ctrl+Z|off", "N1|-||on", "CopyC1|&Copy|Ctrl+C|on",
                                               "Paste|&Paste|Ctrl+V|off", "N9|-||on|hidden",
                                               "OPCopy|Op Copy|Shift+Ctrl+C|on|hidden",
                                               "OPPaste|Op Paste|Shift+Ctrl+V|off|hidden"}));
    const int exit = form->File1->IndexOf(form->FileExitItem);
    EXPECT_EQ(form->File1->IndexOf(form->ExportSMF), exit - 2);
    EXPECT_EQ(form->File1->IndexOf(form->CnvSyx2SMF), exit - 1);
    EXPECT_EQ(form->Store->Parent(), Item("Tools1"));
    EXPECT_EQ(form->Store->Count(), 5);
}

TEST_F(EditCommandsTest, PartPasteAndUndoKeepChannelsAndReserveAndResendMutes)
{
    SetDeviceNumber(3);
    auto& parts = form->ParameterData.PfmParts;
    parts[0].Volume = 99, parts[0].PrgNum = 17, parts[0].RcvCh = 1, parts[0].ReserveNote = 3, parts[0].FilterSw = 1;
    parts[2].RcvCh = 5, parts[2].RcvChMax = 6, parts[2].ReserveNote = 4;
    form->PartMute[1] = 1;
    EXPECT_TRUE(OnPart(0, 'C'));
    EXPECT_TRUE(form->Paste->Enabled());
    const PfmPart before = parts[2];

    ShowPart(2);
    TakeSent();
    EXPECT_TRUE(form->UserPressesKey('V', Ctrl));
    PfmPart expected = parts[0];
    expected.RcvCh = 5, expected.RcvChMax = 6, expected.ReserveNote = 4;
    expected.ReserveNoteMax = parts[2].ReserveNoteMax; // recomputed for the new filter group
    EXPECT_TRUE(Same(parts[2], expected));
    EXPECT_EQ(form->ParameterData.VoiceRecords[2].VoiceCommon.FilterSw, 1); // follows its part
    // The dump, then after the pause the four volumes (their bytes: the message records).
    EXPECT_EQ(TakeSent().size(), 5u);
    EXPECT_EQ(Headless().Sleeps, std::vector<unsigned>{1000});
    EXPECT_TRUE(form->Undo->Enabled());
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");

    // Undo only on the pasted part; the kept words stay as they are now.
    parts[2].RcvCh = 9;
    OnPart(1, 'Z');
    EXPECT_TRUE(TakeSent().empty());
    ShowPart(2);
    form->DataChanged = 0; // as after a save
    form->UserPressesKey('Z', Ctrl);
    expected = before;
    expected.RcvCh = 9, expected.ReserveNoteMax = parts[2].ReserveNoteMax;
    EXPECT_TRUE(Same(parts[2], expected));
    EXPECT_EQ(form->ParameterData.VoiceRecords[2].VoiceCommon.FilterSw, 0);
    EXPECT_FALSE(form->Undo->Enabled());
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(TakeSent().size(), 5u);

    // Undo enabled again by a voice paste: the part's undo is spent.
    OnVoice(0, 'C');
    OnVoice(1, 'V');
    ShowPart(2);
    parts[2].Volume = 1;
    TakeSent();
    form->UserPressesKey('Z', Ctrl);
    EXPECT_EQ(parts[2].Volume, 1);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(EditCommandsTest, PasteOnTheCopySourceOrFromAnEmptyClipboardChangesNothing)
{
    const TParameterData start = form->ParameterData;
    OnVoice(1, 'C'); // fills the voice clipboard only
    ShowPart(2);
    TakeSent();
    form->UserPressesKey('V', Ctrl);
    EXPECT_TRUE(form->Undo->Enabled());
    EXPECT_EQ(form->DataChanged, 1);
    form->UserPressesKey('Z', Ctrl); // nothing to undo on either page
    OnVoice(0, 'Z');
    OnVoice(1, 'V'); // onto its source
    OnPart(1, 'C');
    form->UserPressesKey('V', Ctrl);
    EXPECT_TRUE(Same(form->ParameterData, start));
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_TRUE(Headless().Sleeps.empty());
}

// On the effect and sequence sheets a part tab is still selected, but no part is shown: Copy, Paste
// and Undo of a part leave the parts and the instrument alone there.
TEST_F(EditCommandsTest, PartCommandsActOnlyOnThePartSheet)
{
    auto& parts = form->ParameterData.PfmParts;
    parts[0].Volume = 41, parts[0].Formant = 70, parts[0].PrgNum = 12;
    parts[2].Volume = 63, parts[2].Formant = 90, parts[2].PrgNum = 34;
    TPageControl& sheets = *form->PerformancePage->Pfm_PageControl;
    ASSERT_EQ(sheets.PageCount(), 3);
    // Part tab `p` picked on the part sheet, then sheet `sheet` shown and Ctrl+`key`: what was sent.
    auto press = [&](int p, int sheet, char key) {
        ShowPart(p);
        EXPECT_TRUE(sheets.UserSelects(0) && form->PerformancePage->Pfm_PartTab->UserSelects(p));
        EXPECT_TRUE(sheets.UserSelects(sheet));
        TakeSent();
        EXPECT_TRUE(form->UserPressesKey(uint16_t(key), Ctrl));
        return TakeSent();
    };
    auto third = [&] { return std::tuple(parts[2].Volume, parts[2].Formant, parts[2].PrgNum); };
    press(0, 0, 'C');
    const TParameterData start = form->ParameterData;
    for (int sheet : {1, 2}) {
        SCOPED_TRACE(sheets.Pages(sheet)->Caption());
        press(1, sheet, 'C'); // copies nothing: the part sheet pastes part 1 below
        EXPECT_TRUE(press(2, sheet, 'V').empty());
        EXPECT_TRUE(Same(form->ParameterData, start));
    }
    EXPECT_FALSE(press(2, 0, 'V').empty());
    EXPECT_EQ(third(), std::tuple(41, 70, 12));
    for (int sheet : {1, 2}) EXPECT_TRUE(press(2, sheet, 'Z').empty());
    EXPECT_EQ(third(), std::tuple(41, 70, 12));
    EXPECT_TRUE(form->Undo->Enabled());
    press(2, 0, 'Z');
    EXPECT_EQ(third(), std::tuple(63, 90, 34));
}

TEST_F(EditCommandsTest, VoicePasteSwitchesABankThatIsOffToIntAndOnlyItsUndoSwitchesBack)
{
    SetDeviceNumber(3);
    auto& data = form->ParameterData;
    data.VoiceRecords[0].VoiceCommon.Algorithm = 20;
    data.VoiceRecords[0].VoiceCommon.FilterSw = 1; // part 1's switch is off
    data.PfmParts[1].BankNum = 0;
    data.PfmParts[3].BankNum = 2; // PrA
    form->OperatorMute.Voiced[1][2] = 1;
    const VoiceRecord before = data.VoiceRecords[1];
    OnVoice(0, 'C');
    ShowVoice(1);
    TakeSent();
    form->UserPressesKey('V', Ctrl);

    VoiceRecord expected = data.VoiceRecords[0];
    expected.VoiceCommon.FilterSw = 0;
    EXPECT_TRUE(Same(data.VoiceRecords[1], expected));
    EXPECT_EQ(data.PfmParts[1].BankNum, 1);
    // The bank, the dump, then after the pause the operator mutes (their bytes: the message records).
    EXPECT_EQ(TakeSent().size(), 2u + 32u);
    EXPECT_EQ(Headless().Sleeps, std::vector<unsigned>{1000});

    form->UserPressesKey('Z', Ctrl);
    EXPECT_TRUE(Same(data.VoiceRecords[1], before));
    EXPECT_EQ(data.PfmParts[1].BankNum, 0);
    EXPECT_FALSE(form->Undo->Enabled());
    EXPECT_EQ(TakeSent().at(0), Message(3, 0x31, 0x00, 0x01, 0x00));

    // A paste onto a PrA part switches nothing, so its undo sends no bank.
    OnVoice(3, 'V');
    TakeSent();
    form->UserPressesKey('Z', Ctrl);
    EXPECT_EQ(data.PfmParts[3].BankNum, 2);
    EXPECT_EQ(TakeSent().at(0).size(), 619u);
}

TEST_F(EditCommandsTest, OperatorPasteTakesTheSharedWordsAcrossKindsAndTheWholeOperatorWithinOne)
{
    // Across the kinds only the shared words move: voiced 22..43, unvoiced 13..34. Tab 7 is voiced
    // operator 8, tab 8 unvoiced operator 1, tab 15 unvoiced operator 8. Every word holds a value of
    // its own within its range; a frequency or width bias arrives on a voiced operator as the
    // instrument takes it and the slider shows it, at most +7 (an unvoiced one holds up to 127, a
    // voiced field's four bits 15).
    VoiceRecord& voice = form->ParameterData.VoiceRecords[1];
    const auto range = [this](int tab, int i) {
        const std::size_t at = VoiceAt(1) + (tab < 8 ? VoicedOffset(tab) : UnvoicedOffset(tab - 8)) + 4u * unsigned(i);
        return WordRange(form->ParameterData, *form, at).value_or(TWordRange{0, 0});
    };
    const auto pasted = [&](int tab, int i) {
        TWordRange r = range(tab, i);
        if (tab < 8 && (4u * unsigned(i) == AT(VoicedOperator, SnsFreqBias) ||
                        4u * unsigned(i) == AT(VoicedOperator, SnsWidthBias)))
            r.Hi = std::min(r.Hi, VcPairOf(VcPair::Vc_OpSnsFreqBias).PairForm.Max);
        return r;
    };
    for (int tab = 0; tab < 16; ++tab)
        for (int i = 0; i < WordCount(tab); ++i) {
            const TWordRange r = range(tab, i);
            OperatorWords(voice, tab)[i] = r.Lo + (50 * tab + i) % (r.Hi - r.Lo + 1);
        }
    voice.UnvoicedOperators[0].SnsFreqBias = 100;
    const VoiceRecord start = voice;
    VoiceRecord source = start;
    const std::pair<int, int> pastes[] = {{7, 8}, {8, 7}, {15, 8}, {8, 15}, {2, 7}, {2, 2}, {2, 12}};
    for (const auto& [from, to] : pastes) {
        SCOPED_TRACE("tab " + std::to_string(from) + " onto tab " + std::to_string(to));
        voice = start;
        ShowVoice(1, from);
        ASSERT_TRUE(form->UserPressesKey('C', CtrlShift));
        EXPECT_TRUE(form->OPPaste->Enabled());
        ShowVoice(1, to);
        ASSERT_TRUE(form->UserPressesKey('V', CtrlShift));
        VoiceRecord expected = start;
        const int skipped = (from < 8) == (to < 8) ? 0 : to < 8 ? 22 : 13;
        const int sourceFirst = skipped == 0 ? 0 : from < 8 ? 22 : 13;
        for (int i = skipped; i < WordCount(to); ++i) {
            const TWordRange r = pasted(to, i);
            OperatorWords(expected, to)[i] =
                std::clamp(OperatorWords(source, from)[sourceFirst + i - skipped], r.Lo, r.Hi);
        }
        EXPECT_EQ(FirstWordOutOfRange(form->ParameterData, *form), std::nullopt);
        EXPECT_TRUE(Same(voice, expected));
    }
    // The shared words are the same parameters: voiced operator 3's pitch modulation is unvoiced
    // operator 5's now. Undo brings back the voice as it was before the paste, later edits and all.
    EXPECT_EQ(voice.UnvoicedOperators[4].PitchMod, start.VoicedOperators[2].PitchMod);
    voice.VoiceCommon.Feedback = 6;
    form->UserPressesKey('Z', Ctrl);
    EXPECT_TRUE(Same(voice, start));
}
