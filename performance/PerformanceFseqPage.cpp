// The formant-sequence, controller-set and system sheet: its display, its handlers and the
// picture of the instrument's six internal formant-sequence memories. The sheet's pairs (speed,
// velocities, start and loop rows, depths, master tune and note shift) take the shared road
// (PerformancePage.cpp).
//
// A storing handler stores the control's value into its word and sends the word (SendWord): the
// parameter it travels in, its data bytes as the dump layout carries them (the controller numbers
// that skip 32, the source switch masks, the part masks, the sequence number of the bank, the
// speed of the select), so a message and the bulk dump agree.
#include "performance/PerformancePage.h"

#include "core/FseqFile.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using P = PfmPair;

constexpr int FseqMemoryCount = 6;
constexpr int ModeFseq = 1;                     // Pfm_Fseq_Mode: scratch, fseq (stored index + 1)
constexpr int SpeedSelectMidi = 0;              // Pfm_Fseq_SpeedSelect: midi, %
constexpr int BankInternal = 0, BankPreset = 1; // Pfm_Fseq_FseqBank: int, pre
constexpr int StepSliderTop = 511;              // start offset and loop sliders before a sequence limits them
// The controller-set destinations whose part switches count: "Volume" .. "LFO2 Speed".
constexpr int FirstPartDestination = 17, LastPartDestination = 45;

const char* const OccupiedText = "Can't overwrite this internal FSEQ data!";
const char* const SizeText = "Can't write this internal memory! Please confirm FSEQ data size.";
const char* const OverlapText = "Can't write this internal memory! Please confirm FSEQ data size or Internal FSEQ "
                                "data can't overwrite.";

// A memory's item: "0N" and what the memory holds. Only a free memory's text has 14 characters.
std::string MemoryNumber(int memory) { return "0" + std::to_string(memory + 1); }
std::string FreeMemoryText(int memory) { return MemoryNumber(memory) + ": Store OK !"; }
std::string FilledMemoryText(int memory) { return MemoryNumber(memory) + ": *********"; }
constexpr int FreeMemoryTextLength = 14;

void ShowFseqMessage(const char* text) { Application->MessageBox(text, "Quillmarven", MB_OK | MB_ICONINFORMATION); }

} // namespace

void TPerformancePage::BindFseqCtrlSystemPage()
{
    auto bind = [this](void (TPerformancePage::*handler)(TObject*)) {
        return [this, handler](TObject* s) { (this->*handler)(s); };
    };
    Pfm_FSEQ_Ctrl_TabSheet->OnShow = bind(&TPerformancePage::Pfm_FSEQ_Ctrl_TabSheetShow);
    Pfm_Fseq_FseqBank->OnClick = bind(&TPerformancePage::Pfm_Fseq_FseqBankClick);
    Pfm_Fseq_FseqInt->OnChange = bind(&TPerformancePage::Pfm_Fseq_FseqIntChange);
    Pfm_Fseq_FseqPre->OnChange = bind(&TPerformancePage::Pfm_Fseq_FseqPreChange);
    Pfm_Fseq_SpeedSelect->OnClick = bind(&TPerformancePage::Pfm_Fseq_SpeedSelectClick);
    Pfm_Fseq_FseqIntWrite->OnClick = bind(&TPerformancePage::Pfm_Fseq_FseqIntWriteClick);
    Pfm_Fseq_FseqTestBtn->OnClick = bind(&TPerformancePage::Pfm_Fseq_FseqTestBtnClick);
    Pfm_Fseq_FseqIntClear->OnClick = bind(&TPerformancePage::Pfm_Fseq_FseqIntClearClick);

    for (int k = 0; k < 8; ++k) {
        const auto sk = static_cast<std::size_t>(k);
        for (TCheckBox* box : Pfm_Ctrl_ChkSource[sk])
            box->OnClick = [this, k](TObject*) { Pfm_Ctrl_ChkSourceClick(k); };
        for (TCheckBox* box : Pfm_Ctrl_ChkPart[sk]) box->OnClick = [this, k](TObject*) { Pfm_Ctrl_ChkPartClick(k); };
    }
    Pfm_Cntl_AssignDefaultBtn->OnClick = bind(&TPerformancePage::Pfm_Cntl_AssignDefaultBtnClick);
    Pfm_SystemRcvBtn->OnClick = ServiceHandler(&TPerformanceServices::ReceiveSystem);
    Pfm_SystemSendBtn->OnClick = ServiceHandler(&TPerformanceServices::TransmitSystem);
}

// ---- display ------------------------------------------------------------------------------------

void TPerformancePage::FillDestinationLists()
{
    const int32_t stored = FData.ParameterData.PfmEffect.PfmEffectBlocks[InsertionBlock].EffectType;
    const auto type = static_cast<std::size_t>(std::clamp(stored, 0, EffectTypeCount[InsertionBlock] - 1));
    std::vector<std::string> names{"off"};
    names.insert(names.end(), FData.InsertionDestinationText[type].begin(), FData.InsertionDestinationText[type].end());
    names.insert(names.end(), FData.ControlDestinationText.begin(), FData.ControlDestinationText.end());
    for (std::size_t k = 0; k < Pfm_Ctrl_Dest.size(); ++k) {
        Pfm_Ctrl_Dest[k]->Items.Clear();
        Pfm_Ctrl_Dest[k]->Items.AddStrings(names);
        Pfm_Ctrl_Dest[k]->SetItemIndex(FData.ParameterData.PfmControlSets[k].Destination);
    }
}

// The enables are set after the values they follow are loaded, from what the controls show: a
// stored value beyond a control's range decides by the item the control settles on.
void TPerformancePage::DisplayPerformanceFseqCtrlSystem()
{
    const TParameterData& pd = FData.ParameterData;
    const PfmFseq& f = pd.PfmFseq;

    // Formant sequence, words 0..13 in order.
    Pfm_Fseq_Part->SetItemIndex(f.Part);
    Pfm_Fseq_FseqBank->SetItemIndex(f.FseqBank);
    Pfm_Fseq_FseqInt->SetItemIndex(f.FseqInt);
    Pfm_Fseq_FseqPre->SetItemIndex(f.FseqPre);
    Pfm_Fseq_Mode->SetItemIndex(f.Mode - 1);
    Pfm_Fseq_KeyOnTrig->SetItemIndex(f.KeyOnTrig);
    Pfm_Fseq_SpeedSelect->SetItemIndex(f.SpeedSelect);
    Pfm_Fseq_Speedmidi->SetItemIndex(f.Speedmidi);
    Pair(P::Pfm_Fseq_Speed).Load(f.Speed);
    Pair(P::Pfm_Fseq_SpeedVel).Load(f.SpeedVel);
    Pair(P::Pfm_Fseq_LevelVel).Load(f.LevelVel);
    Pfm_Fseq_Pitch->SetItemIndex(f.Pitch);
    Pfm_Fseq_LoopMode->SetItemIndex(f.LoopMode);
    Pair(P::Pfm_Fseq_StartDelay).Load(f.StartDelay);
    // The step rows under the stored maxima, which may pull a larger position down (the box
    // keeps the stored number); no smaller maximum of earlier data cuts the position first.
    const std::pair<P, int32_t> steps[] = {{P::Pfm_Fseq_StartOffset, f.StartOffset},
                                           {P::Pfm_Fseq_LoopStart, f.LoopStart},
                                           {P::Pfm_Fseq_LoopEnd, f.LoopEnd}};
    for (const auto& [id, word] : steps) Pair(id).Bar->SetMax(StepSliderTop);
    for (const auto& [id, word] : steps) Pair(id).Load(word);
    const int32_t maxima[] = {f.StartOffsetMax, f.LoopStartMax, f.LoopEndMax};
    for (std::size_t i = 0; i < 3; ++i) Pair(steps[i].first).Bar->SetMax(std::clamp(maxima[i], 0, 0x3FFF));
    SetFseqMemoryEnables(true);
    SetFseqModeEnables();

    // Controller sets: sources, destinations in lists of the stored insertion type, depths, parts.
    for (std::size_t k = 0; k < 8; ++k)
        for (std::size_t c = 0; c < 14; ++c)
            Pfm_Ctrl_ChkSource[k][c]->SetChecked(pd.PfmControlSets[k].SourceSw[c] == 1);
    FillDestinationLists();
    for (int k = 0; k < 8; ++k)
        Pair(static_cast<P>(static_cast<int>(P::Pfm_Ctrl_Depth1) + k))
            .Load(pd.PfmControlSets[static_cast<std::size_t>(k)].Depth);
    for (std::size_t k = 0; k < 8; ++k)
        for (std::size_t i = 0; i < 4; ++i) Pfm_Ctrl_ChkPart[k][i]->SetChecked(pd.PfmControlSets[k].PartSw[i] == 1);
    for (int k = 0; k < 8; ++k) SetControlSetEnables(k);

    // System, and the control channel its block carries.
    const SystemBlock& s = pd.SystemBlock;
    for (int i = 0; i < 12; ++i)
        LoadChoice(static_cast<PfmChoice>(static_cast<int>(PfmChoice::Pfm_Cntl_AssignKN1) + i));
    Pair(P::Pfm_SystemMstrTune).Load(s.MstrTune);
    Pair(P::Pfm_SystemMstrNote).Load(s.MstrNote);
    for (int i = static_cast<int>(PfmChoice::Pfm_SystemVelCrv); i <= static_cast<int>(PfmChoice::Pfm_SystemRcvPgmMode);
         ++i)
        LoadChoice(static_cast<PfmChoice>(i));
    SetBankSelectEnable();
    Pfm_Ch->SetItemIndex(pd.PfmCommon.ControlChannel);
    // The memory mode the block brings decides the names of the internal voices.
    ShowVoiceSelection(pd.PfmParts[static_cast<std::size_t>(CurrentPart())]);
}

// ---- enables ------------------------------------------------------------------------------------

void TPerformancePage::SetFseqMemoryEnables(bool withPresets)
{
    const bool memories = FData.ParameterData.SystemBlock.MemoryMode == 1;
    const bool internal = memories && Pfm_Fseq_FseqBank->ItemIndex() == BankInternal;
    Pfm_Fseq_FseqBank->SetEnabled(memories);
    for (TControl* c : {static_cast<TControl*>(Pfm_Fseq_FseqInt), static_cast<TControl*>(Pfm_Fseq_FseqIntWrite),
                        static_cast<TControl*>(Pfm_Fseq_FseqTestBtn), static_cast<TControl*>(Pfm_Fseq_FseqIntClear)})
        c->SetEnabled(internal);
    if (withPresets) Pfm_Fseq_FseqPre->SetEnabled(!internal);
}

// Scratch turns the sequence's playing rows off; fseq turns them on, with either the midi ratios
// or the percent speed (and the speed velocity, which only a percent speed uses).
void TPerformancePage::SetFseqModeEnables()
{
    const bool fseq = Pfm_Fseq_Mode->ItemIndex() == ModeFseq;
    const bool midi = Pfm_Fseq_SpeedSelect->ItemIndex() == SpeedSelectMidi;
    for (TControl* c : {static_cast<TControl*>(Pfm_Fseq_KeyOnTrig), static_cast<TControl*>(Pfm_Fseq_SpeedGrp),
                        static_cast<TControl*>(Pfm_Fseq_SpeedSelect), static_cast<TControl*>(Pfm_Fseq_LoopMode)})
        c->SetEnabled(fseq);
    for (P id : {P::Pfm_Fseq_StartDelay, P::Pfm_Fseq_LoopStart, P::Pfm_Fseq_LoopEnd}) SetPairEnabled(id, fseq);
    Pfm_Fseq_Speedmidi->SetEnabled(fseq && midi);
    SetPairEnabled(P::Pfm_Fseq_Speed, fseq && !midi);
    SetPairEnabled(P::Pfm_Fseq_SpeedVel, fseq && !midi);
}

// A destination other than "off" has a depth; only the common part destinations have parts.
void TPerformancePage::SetControlSetEnables(int set)
{
    const auto k = static_cast<std::size_t>(set);
    const int d = Pfm_Ctrl_Dest[k]->ItemIndex();
    SetPairEnabled(static_cast<P>(static_cast<int>(P::Pfm_Ctrl_Depth1) + set), d != 0);
    for (TCheckBox* box : Pfm_Ctrl_ChkPart[k]) box->SetEnabled(d >= FirstPartDestination && d <= LastPartDestination);
}

void TPerformancePage::SetBankSelectEnable()
{
    Pfm_SystemRcvBankSelect->SetEnabled(Pfm_SystemRcvPgmChange->ItemIndex() != 0);
}

// ---- formant sequence ---------------------------------------------------------------------------

void TPerformancePage::Pfm_FSEQ_Ctrl_TabSheetShow(TObject*) { SetFseqMemoryEnables(false); }

// The wire carries the sequence number first (the selector's), then the bank.
void TPerformancePage::Pfm_Fseq_FseqBankClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    PfmFseq& f = FData.ParameterData.PfmFseq;
    f.FseqBank = Pfm_Fseq_FseqBank->ItemIndex();
    SetFseqMemoryEnables(true);
    if (f.FseqBank == BankInternal)
        Pfm_Fseq_FseqIntChange(Pfm_Fseq_FseqBank);
    else
        Pfm_Fseq_FseqPreChange(Pfm_Fseq_FseqBank);
    FData.SendWord(f.FseqBank);
}

void TPerformancePage::LoadSequenceSettings(const FseqMemorySlot& settings, bool velocities)
{
    TUpdatingDisplay loading(FData);
    const P steps[] = {P::Pfm_Fseq_StartOffset, P::Pfm_Fseq_LoopStart, P::Pfm_Fseq_LoopEnd};
    for (P id : steps) Pair(id).Bar->SetMax(StepSliderTop);
    if (velocities) {
        Pair(P::Pfm_Fseq_SpeedVel).Load(settings.SpeedVel);
        Pair(P::Pfm_Fseq_LevelVel).Load(settings.LevelVel);
    }
    Pfm_Fseq_Pitch->SetItemIndex(settings.Pitch);
    Pair(P::Pfm_Fseq_StartDelay).Load(settings.StartDelay);
    Pfm_Fseq_LoopMode->SetItemIndex(settings.LoopMode);
    Pair(P::Pfm_Fseq_StartOffset).Load(0);
    Pair(P::Pfm_Fseq_LoopStart).Load(settings.LoopStart);
    Pair(P::Pfm_Fseq_LoopEnd).Load(settings.LoopEnd);
    for (P id : steps) Pair(id).Bar->SetMax(std::clamp(settings.EndStep, 0, 0x3FFF));
}

bool TPerformancePage::SilentSequenceChoice() const
{
    return FData.SilentReceiveAll == 1 && Services.ReceiveAllRunning && Services.ReceiveAllRunning();
}

void TPerformancePage::SendSequenceNumber(const int32_t& number)
{
    FData.SendWord(number);
    if (!SilentSequenceChoice()) FData.MarkDataChanged();
}

// With no sequence chosen (a stored number outside the list) there is nothing to load or send.
void TPerformancePage::Pfm_Fseq_FseqIntChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int s = Pfm_Fseq_FseqInt->ItemIndex();
    if (s < 0 || s >= FseqMemoryCount) return;
    FData.ParameterData.PfmFseq.FseqInt = s;
    LoadSequenceSettings(FData.FseqIntInfo[static_cast<std::size_t>(s)], true);
    SendSequenceNumber(FData.ParameterData.PfmFseq.FseqInt);
}

void TPerformancePage::Pfm_Fseq_FseqPreChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int i = Pfm_Fseq_FseqPre->ItemIndex();
    if (i < 0 || i >= static_cast<int>(FData.FseqPresetInfo.size())) return;
    PfmFseq& f = FData.ParameterData.PfmFseq;
    f.FseqPre = i;
    LoadSequenceSettings(FData.FseqPresetSettings(i), false);
    // The list is open with the internal bank stored only while no internal memories are offered
    // (a file or the instrument gave the bank): a preset chosen there plays from the preset bank.
    const bool bankFollows = f.FseqBank != BankPreset;
    if (bankFollows) {
        f.FseqBank = BankPreset;
        TUpdatingDisplay showing(FData);
        Pfm_Fseq_FseqBank->SetItemIndex(BankPreset);
    }
    SendSequenceNumber(f.FseqPre);
    if (bankFollows) FData.SendWord(f.FseqBank);
}

void TPerformancePage::Pfm_Fseq_SpeedSelectClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    PfmFseq& f = FData.ParameterData.PfmFseq;
    f.SpeedSelect = Pfm_Fseq_SpeedSelect->ItemIndex();
    SetFseqModeEnables();
    if (f.SpeedSelect == SpeedSelectMidi)
        Pfm_Fseq_Speedmidi->SetFocus();
    else
        Pair(P::Pfm_Fseq_Speed).Edit->SetFocus();
    // The select's field carries the speed of the chosen kind.
    FData.SendWord(f.SpeedSelect);
    FData.MarkDataChanged();
}

// ---- the internal memories ----------------------------------------------------------------------

bool TPerformancePage::FseqMemoryFree(int memory) const
{
    return Utf8Length(Pfm_Fseq_FseqInt->Items[memory]) == FreeMemoryTextLength;
}

// The file is checked whole before anything changes or is sent; the memory picture changes only
// once the sequence has gone out.
void TPerformancePage::Pfm_Fseq_FseqIntWriteClick(TObject*)
{
    const int s = Pfm_Fseq_FseqInt->ItemIndex();
    if (s < 0 || s >= FseqMemoryCount) return;
    if (!FseqMemoryFree(s)) return ShowFseqMessage(OccupiedText);
    if (!Services.FseqTransferMayStart || !Services.FseqTransferMayStart() || !Services.OpenFseqFile) return;
    std::optional<std::vector<uint8_t>> file = Services.OpenFseqFile();
    if (!file) return;
    if (CheckFseqFile(*file) == TFseqFileCheck::Damaged) return Services.ShowFseqFileError();
    const int c = FseqSizeCode(*file);
    if (s + c >= FseqMemoryCount) return ShowFseqMessage(SizeText);
    if (c > FseqLargestSizeCode) return ShowFseqMessage(OverlapText);
    for (int j = s + 1; j <= s + c; ++j)
        if (!FseqMemoryFree(j)) return ShowFseqMessage(OverlapText);

    FData.SendFseqDump(*file, s);

    for (int j = s + 1; j <= s + c; ++j) Pfm_Fseq_FseqInt->Items.SetStrings(j, FilledMemoryText(j));
    Pfm_Fseq_FseqInt->Items.SetStrings(s, MemoryNumber(s) + ": " + FseqName(*file));
    FData.FseqIntInfo[static_cast<std::size_t>(s)] = FseqSettings(*file);
    FData.DumpReceived = 0;
    if (Services.StartFseqTransfer) Services.StartFseqTransfer(c);
    Pfm_Fseq_FseqInt->SetItemIndex(s);
    Pfm_Fseq_FseqIntChange(Pfm_Fseq_FseqIntWrite);
}

// The sequence goes to the instrument's edit buffer only: no memory, no stored word, no mark.
void TPerformancePage::Pfm_Fseq_FseqTestBtnClick(TObject*)
{
    if (!Services.FseqTransferMayStart || !Services.FseqTransferMayStart() || !Services.OpenFseqFile) return;
    std::optional<std::vector<uint8_t>> file = Services.OpenFseqFile();
    if (!file) return;
    // Without a size code of 0..3 the transfer's length is unknown: refused like a damaged file.
    if (CheckFseqFile(*file) != TFseqFileCheck::Sound) return Services.ShowFseqFileError();
    FData.SendFseqDump(*file, std::nullopt);

    LoadSequenceSettings(FseqSettings(*file), true);
    FData.DumpReceived = 0;
    if (Services.StartFseqTransfer) Services.StartFseqTransfer(FseqSizeCode(*file));
}

// Nothing goes to the instrument by the clearing itself; the person is asked to initialise its
// memory there. The first memory is chosen (stored, loaded and sent) only for a performance that
// plays an internal sequence, outside the silent receive-all: with a preset one, its number would
// switch the instrument to preset 1. Otherwise the list shows the stored memory again.
void TPerformancePage::Pfm_Fseq_FseqIntClearClick(TObject*)
{
    Pfm_Fseq_FseqInt->Items.Clear();
    FData.ForgetFseqMemories();
    for (int s = 0; s < FseqMemoryCount; ++s) Pfm_Fseq_FseqInt->Items.Add(FreeMemoryText(s));
    const PfmFseq& f = FData.ParameterData.PfmFseq;
    if (!SilentSequenceChoice() && f.FseqBank == BankInternal) {
        Pfm_Fseq_FseqInt->SetItemIndex(0);
        Pfm_Fseq_FseqIntChange(Pfm_Fseq_FseqIntClear);
    } else {
        Pfm_Fseq_FseqInt->SetItemIndex(f.FseqInt);
    }
    if (Services.ShowFseqMemoryNotice) Services.ShowFseqMemoryNotice();
}

// ---- controller sets ----------------------------------------------------------------------------

// Every box of the set counts, whichever was clicked: the two bytes carry all fourteen.
void TPerformancePage::Pfm_Ctrl_ChkSourceClick(int set)
{
    if (FData.UpdatingDisplay) return;
    const auto k = static_cast<std::size_t>(set);
    PfmControlSet& words = FData.ParameterData.PfmControlSets[k];
    for (std::size_t c = 0; c < 14; ++c) words.SourceSw[c] = Pfm_Ctrl_ChkSource[k][c]->Checked() ? 1 : 0;
    FData.SendWord(words.SourceSw[0]);
    FData.MarkDataChanged();
}

void TPerformancePage::Pfm_Ctrl_ChkPartClick(int set)
{
    if (FData.UpdatingDisplay) return;
    const auto k = static_cast<std::size_t>(set);
    PfmControlSet& words = FData.ParameterData.PfmControlSets[k];
    for (std::size_t i = 0; i < 4; ++i) words.PartSw[i] = Pfm_Ctrl_ChkPart[k][i]->Checked() ? 1 : 0;
    FData.SendWord(words.PartSw[0]);
    FData.MarkDataChanged();
}

// ---- controller assignments and system ----------------------------------------------------------

// The whole system block goes out as one dump, so the other settings are sent again as well.
void TPerformancePage::Pfm_Cntl_AssignDefaultBtnClick(TObject*)
{
    for (std::size_t i = 0; i < 12; ++i) {
        Pfm_Cntl_Assign[i]->SetItemIndex(DefaultControllerAssign[i]);
        FData.ParameterData.SystemBlock.ControllerAssign[i] = DefaultControllerAssign[i];
    }
    FData.SendBulkDump(DumpSystem, 0);
    FData.MarkDataChanged();
}
