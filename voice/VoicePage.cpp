// The Voice page's frame: construction, the refresh from the edit buffer, the tab handlers, the
// voice common display and the voiced operator display, the name handler, and the storing
// handlers of the pair and choice tables.
#include "voice/VoicePage.h"

#include "core/Latin1.h"

#include <algorithm>
#include <stdexcept>

namespace {
using P = VcPair;
}

TVoicePage::TVoicePage(TComponent* owner, TMainData& data, TTabSheet* sheet, TVoicePageServices services)
    : OperatorTabMemory(services.OperatorTabMemory ? *services.OperatorTabMemory : FOwnTabMemory), FOwner(owner),
      FData(data), FServices(std::move(services)), FPairs(VcPairCount)
{
    CreateControls(sheet);
    for (const auto& pair : FPairs)
        if (!pair) throw std::logic_error("a voice pair has no place");
    BindChoices();
    BindShapeLibrary();
    FSheet = sheet;
    FSheet->OnShow = [this](TObject* s) { Vc_TabSheetShow(s); };
}

TVoicePage::~TVoicePage()
{
    // Taking the controls down changes sheets and tabs; nothing of the page may run then.
    FSheet->OnShow = nullptr;
    for (TTabSheet* s : {Vc_FilterEGTabSheet, Vc_PitchEGTabSheet}) s->OnShow = nullptr;
    Vc_VoiceTab->OnChange = nullptr;
    Vc_OperatorTab->OnChange = nullptr;
    // The controls belong to the window; the page takes its own with it (every one stands on the
    // voice tabs), before the pairs their handlers point at go.
    delete Vc_VoiceTab;
}

int TVoicePage::CurrentVoice() const
{
    const int v = Vc_VoiceTab->TabIndex();
    return v >= 0 && v <= 3 ? v : -1;
}

int TVoicePage::CurrentOperatorTab() const
{
    const int t = Vc_OperatorTab->TabIndex();
    return t >= 0 && t <= 15 ? t : -1;
}

// ---- frame ---------------------------------------------------------------------------------------

void TVoicePage::RefreshVoicePages(int v)
{
    // Every handler edits the voice the voice tab names, so the page always shows that voice: a
    // refresh asked for another voice (after initializing or receiving it, say) reloads the one
    // shown, whose mute buttons may have changed, rather than showing another voice's data under
    // this tab, where the next edit would mix the two.
    const int shown = CurrentVoice();
    if (shown < 0 || v < 0 || v > 3) return;
    TUpdatingDisplay updating(FData);
    DisplayVoiceCommon(shown);
    Vc_OperatorTab->SetTabIndex(std::clamp(OperatorTabMemory[size_t(shown)], 0, 15));
    const int t = CurrentOperatorTab();
    if (t >= 0 && t < 8) DisplayVoicedOperator(shown, t);
    if (t >= 8) DisplayUnvoicedOperator(shown, t - 8);
}

void TVoicePage::DisplayPartFilterSwitch()
{
    const int v = CurrentVoice();
    if (v < 0) return;
    TUpdatingDisplay updating(FData);
    Vc_FilterPartSw->SetItemIndex(Voice(v).VoiceCommon.FilterSw);
}

void TVoicePage::Vc_TabSheetShow(TObject*)
{
    RefreshVoicePages(Vc_VoiceTab->TabIndex());
    if (FServices.ShowOperatorMenuItems) FServices.ShowOperatorMenuItems(true);
    if (!VoicePageShown && !FData.DataChanged) VoicePageShown = 1;
}

void TVoicePage::Vc_VoiceTabChange(TObject*) { RefreshVoicePages(Vc_VoiceTab->TabIndex()); }

void TVoicePage::Vc_OperatorTabChange(TObject*)
{
    const int v = CurrentVoice();
    const int t = CurrentOperatorTab();
    if (v < 0 || t < 0) return;
    TUpdatingDisplay updating(FData);
    OperatorTabMemory[size_t(v)] = t;
    if (t < 8)
        DisplayVoicedOperator(v, t);
    else
        DisplayUnvoicedOperator(v, t - 8);
    if (!Vc_VOpFseqSw->Enabled()) EnableRow(P::Vc_VOpFseqTrk, false);
}

// ---- voice common display --------------------------------------------------------------------------

int TVoicePage::AlgorithmShown() const { return std::clamp(ParseInteger(Vc_AlgorithmEdit->Text()), 1, 88); }

void TVoicePage::ApplyOpAttEnable(int algorithm, int t)
{
    const bool usable = FData.AlgorithmOpAttEnable[size_t(std::clamp(algorithm, 1, 88) - 1)][size_t(t)] != 0;
    EnableRow(P::Vc_VOpOPAtt, usable);
    Vc_VOpOPAttText2->SetEnabled(usable);
}

void TVoicePage::LoadRows(VcRecord record, int v, int t)
{
    // Read-only boxes show texts of their own; their displays load them.
    for (const VcPairDescriptor& d : VcPairs())
        if (d.Word.Record == record && d.PairForm.Box != TBoxKind::ReadOnly) Load(d.Id, WordAt(v, *Locate(d.Word, t)));
    for (const VcChoiceDescriptor& d : VcChoices())
        if (d.Word.Record == record) Choice(d.Id).SetItemIndex(WordAt(v, *Locate(d.Word, t)));
}

void TVoicePage::DisplayVoiceCommon(int v)
{
    const VoiceCommon& c = Voice(v).VoiceCommon;
    Vc_Name->SetText(FromLatin1(c.Name.data(), c.Name.size()));
    Vc_FilterPartSw->SetItemIndex(c.FilterSw);
    LoadRows(VcRecord::Common, v, 0);

    // The algorithm indexes the pictures and the attenuation table: a word from a file outside
    // 1..88 is shown, and used, as the nearest algorithm (the word itself is left as it is).
    const int a = std::clamp(c.Algorithm, 1, 88);
    Vc_AlgorithmEdit->SetText(IntToStr(a));
    Vc_AlgorithmUpDown->SetPosition(a);
    ShowAlgorithmPicture(a);
    const int t = CurrentOperatorTab();
    if (t >= 0 && t < 8) ApplyOpAttEnable(a, t);

    for (size_t k = 0; k < 8; ++k) {
        Vc_OpMute_VOp[k]->SetDown(FData.OperatorMute.Voiced[size_t(v)][k] == 1);
        Vc_OpMute_UOp[k]->SetDown(FData.OperatorMute.Unvoiced[size_t(v)][k] == 1);
    }
    DrawFilterEGGraph();
    DrawPitchEGGraph();
}

// ---- voiced operator display -------------------------------------------------------------------------

void TVoicePage::DisplayVoicedOperator(int v, int op)
{
    const VoicedOperator& o = Voice(v).VoicedOperators[size_t(op)];

    Vc_VOpOSCGrp->SetVisible(true);
    Vc_UOpOSCGrp->SetVisible(false);

    Vc_VOpFseqSw->SetEnabled(true);
    Vc_VOpFreqMode->SetEnabled(true);
    Vc_VOpKeySync->SetEnabled(true);
    Vc_VOpOPAttText2->SetEnabled(true);
    for (VcPair id : {P::Vc_VOpFseqTrk, P::Vc_VOpFreqScaling, P::Vc_VOpTranspose, P::Vc_VOpResonance,
                      P::Vc_VOpBandWidth, P::Vc_VOpSkirt, P::Vc_VOpOutputLvl, P::Vc_VOpOPAtt, P::Vc_OpFrqEGInitLvl,
                      P::Vc_OpFrqEGAtakLvl, P::Vc_OpFrqEGAtakTime, P::Vc_OpFrqEGDecayTime, P::Vc_OpSnsFreqVel,
                      P::Vc_OpSnsFreqBias, P::Vc_OpSnsWidthBias, P::Vc_OpFreqMod, P::Vc_OpPitchMod})
        EnableRow(id, true);
    Pair(P::Vc_OpPitchMod).SetVisible(true);

    Vc_VOpFseqSw->SetItemIndex(o.FseqSw);
    Vc_VOpForm->SetItemIndex(o.Form);
    Vc_VOpFreqMode->SetItemIndex(o.FreqMode);
    // The maxima follow the mode shown (the stored maximum words stay as they are): a fixed
    // frequency keeps fine values above 99, and a coarse value never reads past the fixed table.
    SetVoicedFrequencyMaxima();
    Vc_VOpFreqCoarseBar->SetPosition(o.FreqCoarse);
    Vc_VOpFreqFineBar->SetPosition(o.FreqFine);
    Vc_VOpFreqCoarseEdit->SetText(VoicedFrequencyText());
    LoadRows(VcRecord::Voiced, v, op);
    LoadRows(VcRecord::Operator, v, op);
    Bar(VcPair::Vc_VOpOPAtt)->SetPosition(o.OPAtt);
    Edit(VcPair::Vc_VOpOPAtt)->SetText(AttenuationText(Bar(VcPair::Vc_VOpOPAtt)->Position()));
    Vc_OpPresetEG->SetItemIndex(-1);

    // Enables by what was just loaded.
    const int form = Vc_VOpForm->ItemIndex();
    const bool fixed = VoicedFixedMode();
    if (Vc_VOpFseqSw->ItemIndex() <= 0) EnableRow(P::Vc_VOpFseqTrk, false);
    if (form == 5 || form == 6) {
        EnableRow(P::Vc_VOpTranspose, false);
        EnableRow(P::Vc_VOpBandWidth, false);
        if (fixed) EnableRow(P::Vc_OpPitchMod, false);
        EnableRow(P::Vc_OpFreqMod, false);
    } else if (form == 7) {
        Vc_VOpFreqMode->SetEnabled(false);
        EnableRow(P::Vc_VOpResonance, false);
        Vc_VOpKeySync->SetEnabled(false);
    } else if (form >= 0) {
        for (VcPair id : {P::Vc_VOpTranspose, P::Vc_VOpBandWidth, P::Vc_VOpResonance, P::Vc_OpFreqMod})
            EnableRow(id, false);
        if (fixed) {
            EnableRow(P::Vc_OpPitchMod, false);
            EnableRow(P::Vc_OpFreqMod, true);
        }
    }
    if (!fixed)
        for (VcPair id : {P::Vc_VOpFreqScaling, P::Vc_OpSnsFreqVel, P::Vc_OpSnsFreqBias, P::Vc_OpSnsWidthBias})
            EnableRow(id, false);
    if (form == 0) EnableRow(P::Vc_VOpSkirt, false);
    ApplyOpAttEnable(Voice(v).VoiceCommon.Algorithm, op);
    if (FData.OperatorMute.Voiced[size_t(v)][size_t(op)] == 1) {
        Vc_VOpFseqSw->SetItemIndex(0);
        Bar(VcPair::Vc_VOpOutputLvl)->SetPosition(0);
        Edit(VcPair::Vc_VOpOutputLvl)->SetText("0");
        Vc_VOpFseqSw->SetEnabled(false);
        EnableRow(P::Vc_VOpOutputLvl, false);
    }
    DrawOperatorEGGraph();
    DrawOperatorFreqEGGraph();
}

// ---- unvoiced operator display -------------------------------------------------------------------

void TVoicePage::DisplayUnvoicedOperator(int v, int op)
{
    const VoiceRecord& voice = Voice(v);
    const UnvoicedOperator& u = voice.UnvoicedOperators[size_t(op)];
    const VoicedOperator& partner = voice.VoicedOperators[size_t(op)];

    Vc_VOpOSCGrp->SetVisible(false);
    Vc_UOpOSCGrp->SetVisible(true);
    Vc_UOpFseqSw->SetEnabled(true);
    Vc_UOpFseqTrkText->SetVisible(true);
    EnableUnvoicedFrequencyLabels(true);
    Vc_UOpFreqCoarseBar->SetEnabled(true);
    Vc_UOpFreqFineBar->SetEnabled(true);
    SetUnvoicedCoarseLook(false);
    EnableUnvoicedFrequencyRows(true);
    EnableRow(P::Vc_UOpOutputLvl, true);
    EnableRow(P::Vc_OpSnsWidthBias, true);
    Pair(P::Vc_OpPitchMod).SetVisible(false);

    Vc_UOpFseqSw->SetItemIndex(u.FseqSw);
    Vc_UOpFseqTrkText->SetCaption("FseqTrack = " + IntToStr(partner.FseqTrk + 1));
    // "LinkFF" is offered only beside a formant-shaped voiced operator.
    if (partner.Form == 7 && Vc_UOpFreqMode->Items.Count() == 2) Vc_UOpFreqMode->Items.Add("LinkFF");
    if (partner.Form != 7 && Vc_UOpFreqMode->Items.Count() > 2) Vc_UOpFreqMode->Items.Delete(2);
    Vc_UOpFreqMode->SetItemIndex(u.FreqMode);
    Vc_UOpFreqCoarseBar->SetPosition(u.FreqCoarse);
    Vc_UOpFreqFineBar->SetPosition(u.FreqFine);
    Vc_UOpFreqCoarseEdit->SetText(UnvoicedFrequencyText());
    LoadRows(VcRecord::Unvoiced, v, op + 8);
    LoadRows(VcRecord::Operator, v, op + 8);
    Load(P::Vc_OpPitchMod, u.PitchMod); // a voiced row; hidden here, it shows the unvoiced word
    Vc_OpPresetEG->SetItemIndex(-1);

    // By the mode shown (a stored LinkFF shows as LinkF0 when only two modes are offered).
    if (Vc_UOpFseqSw->ItemIndex() <= 0) Vc_UOpFseqTrkText->SetVisible(false);
    const int mode = Vc_UOpFreqMode->ItemIndex();
    if (mode > 0) {
        EnableUnvoicedFrequencyLabels(false);
        Vc_UOpFreqCoarseEdit->SetTabStop(false);
        EnableUnvoicedFrequencyRows(false);
    }
    if (mode == 2) {
        EnableUnvoicedFrequencyLabels(true);
        Vc_UOpFreqCoarseBar->SetPosition(partner.FreqCoarse);
        Vc_UOpFreqFineBar->SetPosition(partner.FreqFine);
        Vc_UOpFreqCoarseEdit->SetText(UnvoicedFrequencyText());
        Vc_UOpFreqCoarseBar->SetEnabled(false);
        Vc_UOpFreqFineBar->SetEnabled(false);
        SetUnvoicedCoarseLook(true);
    }
    if (FData.OperatorMute.Unvoiced[size_t(v)][size_t(op)] == 1) {
        Vc_UOpFseqSw->SetItemIndex(0);
        Bar(VcPair::Vc_UOpOutputLvl)->SetPosition(0);
        Edit(VcPair::Vc_UOpOutputLvl)->SetText("0");
        Vc_UOpFseqSw->SetEnabled(false);
        Vc_UOpFseqTrkText->SetVisible(false);
        EnableRow(P::Vc_UOpOutputLvl, false);
    }
    DrawOperatorEGGraph();
    DrawOperatorFreqEGGraph();
}

// ---- name ----------------------------------------------------------------------------------------------

void TVoicePage::Vc_NameChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice();
    if (v < 0) return;
    // Stored as typed, one byte a character; at most 11 characters (a name loaded from a file may
    // have more than the 10 the box lets a person type), so the terminating zero always fits.
    const std::string bytes = ToLatin1(Vc_Name->Text());
    auto& name = Voice(v).VoiceCommon.Name;
    name.fill(0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), name.size() - 1), name.begin());
    FData.SendVoiceName(v);
    FData.MarkDataChanged();
}

// ---- the storing handlers of the pairs and choices ----------------------------------------------

namespace {

// The control set (0..9) whose operator or parameter word lies at `offset` of VoiceRecord.
std::optional<std::size_t> ControlSetOf(std::size_t offset)
{
    // The formant sets and the FM sets lie one after the other in the common block.
    static_assert(AT(VoiceCommon, Fm) == AT(VoiceCommon, Frmt) + 5 * sizeof(VoiceControl));
    const std::size_t first = CommonOffset() + AT(VoiceCommon, Frmt);
    if (offset < first || offset >= first + 10 * sizeof(VoiceControl)) return std::nullopt;
    if ((offset - first) % sizeof(VoiceControl) == AT(VoiceControl, CtlDepth)) return std::nullopt;
    return (offset - first) / sizeof(VoiceControl);
}

} // namespace

int32_t& TVoicePage::WordAt(int v, std::size_t offset)
{
    return *reinterpret_cast<int32_t*>(reinterpret_cast<uint8_t*>(&Voice(v)) + offset);
}

std::optional<std::size_t> TVoicePage::EditedWord(const VcWord& word) const
{
    // A row of one operator kind does nothing on a tab of the other (it is hidden or disabled
    // there), so no word ever leaves its record.
    if (FData.UpdatingDisplay || CurrentVoice() < 0) return std::nullopt;
    return Locate(word, CurrentOperatorTab());
}

void TVoicePage::PairBarChange(VcPair id)
{
    const VcPairDescriptor& d = VcPairOf(id);
    const auto at = EditedWord(d.Word);
    if (!at) return;
    const int v = CurrentVoice();
    TValuePair& pair = Pair(id);
    TStoringRoad road;
    road.Store = [this, v, at](int p) { WordAt(v, *at) = p; };
    if (id == VcPair::Vc_VOpOPAtt)
        road.Show = [this, &pair] { pair.Edit->SetText(AttenuationText(pair.Bar->Position())); };
    road.Compose = [this, v, at](int p) { return FData.WordMessage(VoiceAt(v) + *at, p); };
    switch (d.Graph) {
    case VcGraph::FilterEG: road.AfterShow = [this] { DrawFilterEGGraph(); }; break;
    case VcGraph::PitchEG: road.AfterShow = [this] { DrawPitchEGGraph(); }; break;
    case VcGraph::OperatorEG: road.AfterShow = [this] { DrawOperatorEGGraph(); }; break;
    case VcGraph::FrequencyEG: road.AfterSend = [this] { DrawOperatorFreqEGGraph(); }; break;
    case VcGraph::None: break;
    }
    RunStoringRoad(FData, pair, road);
}

void TVoicePage::ChoiceChange(VcChoice id)
{
    const VcChoiceDescriptor& d = VcChoiceOf(id);
    const auto at = EditedWord(d.Word);
    const int index = Choice(id).ItemIndex();
    if (!at || index < 0) return;
    int32_t& word = WordAt(CurrentVoice(), *at);
    word = index;
    if (const auto set = ControlSetOf(*at)) {
        // The set's byte goes whole, from both of its controls; both words take what it carries,
        // so that a parameter word no button shows (4..7, from a dump) is not kept beside the one
        // the instrument now has. A control showing no item counts as its first.
        VoiceControl& words =
            *set < 5 ? Voice(CurrentVoice()).VoiceCommon.Frmt[*set] : Voice(CurrentVoice()).VoiceCommon.Fm[*set - 5];
        words.Operator = std::max(0, Choice(ControlSetOperator(int(*set))).ItemIndex());
        words.Parameter = std::max(0, Choice(ControlSetParameter(int(*set))).ItemIndex());
    }
    FData.SendWord(word);
    FData.MarkDataChanged();
}

// ---- lookups -----------------------------------------------------------------------------------

TValuePair* TVoicePage::Pair(const TScrollBar* bar) const
{
    for (const auto& pair : FPairs)
        if (pair->Bar == bar) return pair.get();
    return nullptr;
}

TNotifyEvent TVoicePage::Handler(const std::string& name)
{
    for (const VcPairDescriptor& d : VcPairs()) {
        const std::string stem = d.PairForm.Name;
        TValuePair* pair = &Pair(d.Id);
        if (name == stem + "BarChange") return [pair](TObject* s) { pair->Bar->OnChange(s); };
        if (name == stem + "EditChange" && d.PairForm.Box != TBoxKind::ReadOnly)
            return [pair](TObject* s) { pair->Edit->OnChange(s); };
        if (name == stem + "EditExit" && d.PairForm.Exit) return [pair](TObject* s) { pair->Edit->OnExit(s); };
    }
    for (const VcChoiceDescriptor& d : VcChoices()) {
        const bool list = dynamic_cast<TComboBox*>(Choice(d.Id).Control()) != nullptr;
        const std::string own = std::string(d.Name) + (list ? "Change" : "Click");
        if (name == own) return [this, id = d.Id](TObject*) { ChoiceChange(id); };
    }
    for (int k = 0; k < 8; ++k) {
        if (name == Vc_OpMute_VOp[size_t(k)]->Name + "Click") return [this, k](TObject*) { Vc_OpMuteClick(true, k); };
        if (name == Vc_OpMute_UOp[size_t(k)]->Name + "Click") return [this, k](TObject*) { Vc_OpMuteClick(false, k); };
    }
    return {};
}

TKeyEvent TVoicePage::KeyHandler(const std::string& name)
{
    for (const VcPairDescriptor& d : VcPairs()) {
        if (name != std::string(d.PairForm.Name) + "EditKeyDown") continue;
        TValuePair* pair = &Pair(d.Id);
        return [pair](TObject* s, uint16_t& key, TShiftState shift) { pair->Edit->OnKeyDown(s, key, shift); };
    }
    return {};
}
