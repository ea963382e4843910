// The part sheet: the display of one part (the part tab's) and the handlers of its controls.
#include "performance/PerformancePage.h"

#include "core/DumpLayout.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <stdexcept>

namespace {

constexpr int RcvChPfm = 16, RcvChOff = 17;
// A maximum of "off": the part listens on its one channel. Stored as the instrument sends it.
constexpr int RcvChMaxOff = 0x7F, RcvChMaxOffItem = 16;
constexpr int BankOff = 0, BankInternal = 1, BankCount = 13;

// The rows the filter switch turns on and off, and the levels the insertion effect takes over,
// in the order they are switched.
constexpr PfmPair FilterRows[] = {PfmPair::Pfm_Part_FilterFreq, PfmPair::Pfm_Part_FilterReso,
                                  PfmPair::Pfm_Part_FilterEGDepth, PfmPair::Pfm_Part_LFO2Speed,
                                  PfmPair::Pfm_Part_LFO2FltMod};
constexpr PfmPair SendRows[] = {PfmPair::Pfm_Part_DryLevel, PfmPair::Pfm_Part_ReverbSend,
                                PfmPair::Pfm_Part_VariationSend};

} // namespace

void TPerformancePage::BindPartPage()
{
    Pfm_Part_BankNum->OnChange = [this](TObject* s) { Pfm_Part_BankNumChange(s); };
    Pfm_Part_PrgNum->OnChange = [this](TObject* s) { Pfm_Part_PrgNumChange(s); };
    Pfm_Part_RcvCh->OnChange = [this](TObject* s) { Pfm_Part_RcvChChange(s); };
    Pfm_Part_RcvChMax->OnChange = [this](TObject* s) { Pfm_Part_RcvChMaxChange(s); };
    Pfm_Part_FilterSw->OnClick = [this](TObject* s) { Pfm_Part_FilterSwClick(s); };
    Pfm_Part_PanBar->OnChange = [this](TObject* s) { Pfm_Part_PanBarChange(s); };
    Pfm_Part_Pan->OnChange = [this](TObject* s) { Pfm_Part_PanChange(s); };

    // The reserve-note box: a number above a limit of 0 shows "0" (the slider cannot move).
    TValuePair* reserve = &Pair(PfmPair::Pfm_Part_ReserveNote);
    reserve->Edit->OnChange = [reserve](TObject*) {
        reserve->EditChange();
        if (reserve->Bar->Max() == 0 && ParseInteger(reserve->Edit->Text()) > 0) reserve->Edit->SetText("0");
    };
}

int TPerformancePage::CurrentPart() const { return std::clamp(Pfm_PartTab->TabIndex(), 0, 3); }

void TPerformancePage::FillProgramList(int bank)
{
    std::vector<std::string> names;
    if (bank >= BankInternal && bank < BankCount) {
        const int column =
            bank == BankInternal ? (FData.ParameterData.SystemBlock.MemoryMode == 1 ? 12 : 11) : bank - 2;
        names.reserve(128);
        for (const auto& row : FData.VoiceNameTable) names.push_back(row[static_cast<std::size_t>(column)]);
    }
    Pfm_Part_PrgNum->Items.Clear();
    Pfm_Part_PrgNum->Items.AddStrings(names);
}

// A bank outside the list shows none and no programs.
void TPerformancePage::ShowVoiceSelection(const PfmPart& part)
{
    Pfm_Part_BankNum->SetItemIndex(part.BankNum);
    const int bank = Pfm_Part_BankNum->ItemIndex();
    FillProgramList(bank);
    Pfm_Part_PrgNum->SetEnabled(bank > BankOff);
    Pfm_Part_PrgNum->SetItemIndex(part.PrgNum);
}

void TPerformancePage::DisplayPerformancePart(int p)
{
    using P = PfmPair;
    if (p < 0 || p > 3) return;
    const auto sp = static_cast<std::size_t>(p);
    const PfmPart& part = FData.ParameterData.PfmParts[sp];
    auto load = [this](P id, int32_t word) { Pair(id).Load(word); };

    // 1. The enables the steps below may take away.
    for (TControl* c : {static_cast<TControl*>(Pfm_Part_RcvChMaxText), static_cast<TControl*>(Pfm_Part_RcvChMax)}) {
        c->SetVisible(true);
        c->SetEnabled(true);
    }
    for (P id : {P::Pfm_Part_Volume, P::Pfm_Part_DryLevel, P::Pfm_Part_ReverbSend, P::Pfm_Part_VariationSend})
        SetPairEnabled(id, true);

    // 2. Voice.
    ShowVoiceSelection(part);

    // 3. Receive channels: parts 3 and 4 have no range.
    Pfm_Part_RcvCh->SetItemIndex(part.RcvCh);
    ShowReceiveMaximum(part.RcvChMax);
    if (p >= 2) {
        Pfm_Part_RcvChMaxText->SetVisible(false);
        Pfm_Part_RcvChMax->SetVisible(false);
    } else if (part.RcvCh > 15) {
        Pfm_Part_RcvChMaxText->SetEnabled(false);
        Pfm_Part_RcvChMax->SetEnabled(false);
    }

    // 4. Volume, 0 and disabled while the part is muted.
    if (FData.PartMute[sp]) {
        TValuePair& row = Pair(P::Pfm_Part_Volume);
        row.Bar->SetPosition(0);
        row.Edit->SetText("0");
        row.SetEnabled(false);
    } else {
        load(P::Pfm_Part_Volume, part.Volume);
    }

    // 5. Insertion switch and the levels it takes over.
    Pfm_Part_InsEffectSw->SetItemIndex(part.InsEffectSw);
    load(P::Pfm_Part_DryLevel, part.DryLevel);
    load(P::Pfm_Part_ReverbSend, part.ReverbSend);
    load(P::Pfm_Part_VariationSend, part.VariationSend);
    if (Pfm_Part_InsEffectSw->ItemIndex() == 1)
        for (P id : SendRows) SetPairEnabled(id, false);

    // 6. Tone and LFO1.
    load(P::Pfm_Part_Formant, part.Formant);
    load(P::Pfm_Part_Fm, part.Fm);
    load(P::Pfm_Part_VNBalance, part.VNBalance);
    load(P::Pfm_Part_LFO1Speed, part.LFO1Speed);
    load(P::Pfm_Part_LFO1Pmod, part.LFO1Pmod);
    load(P::Pfm_Part_LFO1Delay, part.LFO1Delay);

    // 7. Filter switch and the rows it enables.
    for (P id : FilterRows) SetPairEnabled(id, true);
    Pfm_Part_FilterSw->SetItemIndex(part.FilterSw);
    load(P::Pfm_Part_FilterFreq, part.FilterFreq);
    load(P::Pfm_Part_FilterReso, part.FilterReso);
    load(P::Pfm_Part_FilterEGDepth, part.FilterEGDepth);
    load(P::Pfm_Part_LFO2Speed, part.LFO2Speed);
    load(P::Pfm_Part_LFO2FltMod, part.LFO2FltMod);
    if (Pfm_Part_FilterSw->ItemIndex() == 0)
        for (P id : FilterRows) SetPairEnabled(id, false);

    // 8. Envelopes.
    load(P::Pfm_Part_EGAtkTime, part.EGAtkTime);
    load(P::Pfm_Part_EGDecayTime, part.EGDecayTime);
    load(P::Pfm_Part_EGReleaseTime, part.EGReleaseTime);
    load(P::Pfm_Part_PEGInitLvl, part.PEGInitLvl);
    load(P::Pfm_Part_PEGAtkTime, part.PEGAtkTime);
    load(P::Pfm_Part_PEGRelLvl, part.PEGRelLvl);
    load(P::Pfm_Part_PEGRelTime, part.PEGRelTime);

    // 9. Pitch and portamento.
    Pfm_Part_PortaMode->SetEnabled(true);
    SetPairEnabled(P::Pfm_Part_PortaTime, true);
    load(P::Pfm_Part_Detune, part.Detune);
    load(P::Pfm_Part_NoteShift, part.NoteShift);
    load(P::Pfm_Part_PBRange, part.PBRange);
    load(P::Pfm_Part_PBRangeLo, part.PBRangeLo);
    Pfm_Part_PortaSw->SetItemIndex(part.PortaSw);
    Pfm_Part_PortaMode->SetItemIndex(part.PortaMode);
    load(P::Pfm_Part_PortaTime, part.PortaTime);
    if (Pfm_Part_PortaSw->ItemIndex() == 0) {
        Pfm_Part_PortaMode->SetEnabled(false);
        SetPairEnabled(P::Pfm_Part_PortaTime, false);
    }

    // 10. Play mode.
    Pfm_Part_MonoPriority->SetEnabled(true);
    Pfm_Part_MonoPoly->SetItemIndex(part.MonoPoly);
    Pfm_Part_MonoPriority->SetItemIndex(part.MonoPriority);
    Pfm_Part_SustainRcvSw->SetItemIndex(part.SustainRcvSw);
    if (Pfm_Part_MonoPoly->ItemIndex() == 1) Pfm_Part_MonoPriority->SetEnabled(false);

    // 11. Note reserve within the limit the budget gives this part now.
    if (Services.UpdateNoteReserveLimits) Services.UpdateNoteReserveLimits();
    Pfm_Part_ReserveNoteBar->SetMax(std::clamp(part.ReserveNoteMax, 0, 32));
    Pfm_Part_ReserveNoteBar->SetPosition(part.ReserveNote);
    Pfm_Part_ReserveNoteEdit->SetText(IntToStr(part.ReserveNote));

    // 12..15. Limits, velocity, pan.
    Pfm_Part_NoteLimitLow->SetItemIndex(part.NoteLimitLow);
    Pfm_Part_NoteLimitHigh->SetItemIndex(part.NoteLimitHigh);
    load(P::Pfm_Part_VelLimitLow, part.VelLimitLow);
    load(P::Pfm_Part_VelLimitHigh, part.VelLimitHigh);
    load(P::Pfm_Part_VelSensDepth, part.VelSensDepth);
    load(P::Pfm_Part_VelSensOffset, part.VelSensOffset);
    load(P::Pfm_Part_ExpLimitLo, part.ExpLimitLo);
    Pfm_Part_PanBar->SetPosition(part.Pan);
    Pfm_Part_Pan->SetItemIndex(part.Pan);
    load(P::Pfm_Part_PanScale, part.PanScale);
    load(P::Pfm_Part_PanMod, part.PanMod);
}

// ---- voice selection and receive channels ------------------------------------------------------

void TPerformancePage::Pfm_Part_BankNumChange(TObject* Sender)
{
    if (FData.UpdatingDisplay) return;
    const int bank = Pfm_Part_BankNum->ItemIndex();
    if (bank < 0) return;
    const int p = CurrentPart();
    PfmPart& part = FData.ParameterData.PfmParts[static_cast<std::size_t>(p)];
    part.BankNum = bank;
    FData.SendWord(part.BankNum);
    FillProgramList(bank);
    if (bank == BankOff) {
        // No voice to play: no program to send and nothing to fetch.
        Pfm_Part_PrgNum->SetEnabled(false);
        FData.MarkDataChanged();
        return;
    }
    Pfm_Part_PrgNum->SetEnabled(true);
    Pfm_Part_PrgNum->SetItemIndex(std::clamp(part.PrgNum, 0, 127));
    Pfm_Part_PrgNumChange(Sender);
}

void TPerformancePage::Pfm_Part_PrgNumChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int program = Pfm_Part_PrgNum->ItemIndex();
    if (program < 0) return;
    const int p = CurrentPart();
    int32_t& word = FData.ParameterData.PfmParts[static_cast<std::size_t>(p)].PrgNum;
    word = program;
    FData.SendWord(word);
    if (Services.StartVoiceFetch) Services.StartVoiceFetch(p);
    FData.MarkDataChanged();
}

// Channels the other parts listen on: a part's range for parts 1 and 2 (wrapping past 16; a
// maximum of "off" or beyond the channels is no range), one channel for parts 3 and 4 and for
// "pfm", none for "off".
int TPerformancePage::OccupiedChannels(int exceptPart) const
{
    int used = 0;
    for (int q = 0; q < 4; ++q) {
        if (q == exceptPart) continue;
        const PfmPart& part = FData.ParameterData.PfmParts[static_cast<std::size_t>(q)];
        const int c = part.RcvCh, m = part.RcvChMax;
        if (c == RcvChPfm || (c >= 0 && c <= 15 && (q >= 2 || m < 0 || m > 15))) {
            used += 1;
        } else if (c >= 0 && c <= 15) {
            used += m >= c ? m - c + 1 : m - c + 17;
        }
    }
    return used;
}

void TPerformancePage::ShowReceiveMaximum(int32_t max)
{
    TStrings& items = Pfm_Part_RcvChMax->Items;
    const bool off = max == RcvChMaxOff;
    if (off && items.Count() == RcvChMaxOffItem) items.Add("off");
    if (!off && items.Count() > RcvChMaxOffItem) items.Delete(RcvChMaxOffItem);
    Pfm_Part_RcvChMax->SetItemIndex(off ? RcvChMaxOffItem : max);
}

void TPerformancePage::Pfm_Part_RcvChChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    int channel = Pfm_Part_RcvCh->ItemIndex();
    if (channel < 0) return;
    const int p = CurrentPart();
    PfmPart& part = FData.ParameterData.PfmParts[static_cast<std::size_t>(p)];
    part.RcvCh = channel;
    // No channel is left when the others already take all 16 (or more, from foreign data).
    if (channel != RcvChOff && OccupiedChannels(p) >= 16) {
        Pfm_Part_RcvCh->SetItemIndex(RcvChOff);
        part.RcvCh = channel = RcvChOff;
    }
    const bool hasRange = channel < RcvChPfm;
    Pfm_Part_RcvChMaxText->SetEnabled(hasRange);
    Pfm_Part_RcvChMax->SetEnabled(hasRange);
    if (hasRange) {
        // The range shrinks to this one channel; the maximum is not sent.
        part.RcvChMax = channel;
        ShowReceiveMaximum(part.RcvChMax);
    }
    FData.SendWord(part.RcvCh);
    FData.MarkDataChanged();
}

void TPerformancePage::Pfm_Part_RcvChMaxChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int chosen = Pfm_Part_RcvChMax->ItemIndex();
    if (chosen < 0) return;
    const int p = CurrentPart();
    PfmPart& part = FData.ParameterData.PfmParts[static_cast<std::size_t>(p)];
    part.RcvChMax = chosen == RcvChMaxOffItem ? RcvChMaxOff : chosen;
    if (p < 2 && part.RcvCh >= 0 && part.RcvCh <= 15 && part.RcvChMax <= 15) {
        // Channels 1..16: a = the part's channel, x = the chosen maximum, free = what the others
        // leave. The range a..x may wrap past 16 back to 1 but must stay within `free` channels.
        const int a = part.RcvCh + 1, x = chosen + 1;
        const int free = 16 - OccupiedChannels(p);
        int corrected = x;
        if (free < 1)
            corrected = a; // nothing left: the part keeps its own channel alone
        else if (a + free - 1 > 16) {
            if (x < a && x > a + free - 17) corrected = a + free - 17;
        } else if (x > a + free - 1) {
            corrected = a + free - 1;
        } else if (x < a) {
            corrected = a;
        }
        part.RcvChMax = corrected - 1;
    }
    ShowReceiveMaximum(part.RcvChMax);
    FData.SendWord(part.RcvChMax);
    FData.MarkDataChanged();
}

// ---- switches, play mode, limits and pan -------------------------------------------------------

void TPerformancePage::RestPartSendRows(bool insertion)
{
    for (PfmPair id : SendRows) SetPairEnabled(id, !insertion);
}

// The rows first, then the window's routine: both words, the note budget (the four balanced
// reserves when on, then the limits; a reserve the limit lowers goes out through the reserve
// slider), and the switch's own message last.
void TPerformancePage::Pfm_Part_FilterSwClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int on = Pfm_Part_FilterSw->ItemIndex();
    if (on < 0) return;
    for (PfmPair id : FilterRows) SetPairEnabled(id, on == 1);
    if (Services.SetPartFilterSwitch) Services.SetPartFilterSwitch(CurrentPart(), on);
}

// The part pan: a slider and a list of one value (0 random, 64 centre); the list plays the part
// of the value box, and its index is the position itself.
void TPerformancePage::Pfm_Part_PanBarChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int position = Pfm_Part_PanBar->Position();
    int32_t& word = FData.ParameterData.PfmParts[static_cast<std::size_t>(CurrentPart())].Pan;
    word = position;
    Pfm_Part_Pan->SetItemIndex(position);
    if (!Pfm_Part_Pan->Focused()) Pfm_Part_Pan->SetFocus();
    FData.SendWord(word);
    FData.MarkDataChanged();
}

void TPerformancePage::Pfm_Part_PanChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    if (Pfm_Part_Pan->ItemIndex() >= 0) Pfm_Part_PanBar->SetPosition(Pfm_Part_Pan->ItemIndex());
}
