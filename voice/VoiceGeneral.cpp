// The "General" group and the filter's part switch: the algorithm box with its up-down, picture
// and Select button; the operator mutes; the part switch, which is the part's filter.
#include "voice/VoicePage.h"

#include "voice/AlgorithmSelect.h"

#include <algorithm>

namespace {

using P = VcPair;

bool AllDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

// ---- algorithm -----------------------------------------------------------------------------------

void TVoicePage::ShowAlgorithmPicture(int algorithm)
{
    if (FServices.AlgorithmPicture) Vc_AlgorithmImage->Picture.Assign(FServices.AlgorithmPicture(algorithm));
}

void TVoicePage::Vc_AlgorithmEditChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice();
    if (v < 0) return;
    // Whatever the box holds is brought into 1..88 first. The rewrite runs this handler again
    // with the new text, which stores and sends it; this run then goes on with the same number.
    auto rewrite = [this](const std::string& text) {
        Vc_AlgorithmEdit->SetText(text);
        Vc_AlgorithmEdit->SetSelStart(0);
        Vc_AlgorithmEdit->SetSelLength(static_cast<int>(text.size()));
    };
    const std::string text = Vc_AlgorithmEdit->Text();
    if (text.empty() || !AllDigits(text))
        rewrite("1");
    else if (ParseInteger(text) < 1)
        rewrite("1");
    else if (ParseInteger(text) > 88)
        rewrite("88");
    const int a = AlgorithmShown();

    ShowAlgorithmPicture(a);
    VoiceRecord& voice = Voice(v);
    voice.VoiceCommon.Algorithm = a;
    FData.SendWord(voice.VoiceCommon.Algorithm);
    // Every algorithm a person picks marks the data changed, so that it is never lost unasked.
    FData.MarkDataChanged();
    Vc_AlgorithmUpDown->SetPosition(a);

    // A new algorithm starts every voiced operator without attenuation (the instrument resets it
    // too, so nothing is sent for it).
    for (VoicedOperator& o : voice.VoicedOperators) o.OPAtt = 0;
    const int t = CurrentOperatorTab();
    if (t >= 0 && t < 8) {
        TUpdatingDisplay updating(FData);
        Bar(VcPair::Vc_VOpOPAtt)->SetPosition(0);
        Edit(VcPair::Vc_VOpOPAtt)->SetText(AttenuationText(0));
        ApplyOpAttEnable(a, t);
    }
}

void TVoicePage::Vc_AlgorithmEditKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    // The keys rewrite the number; the change handler brings it into range, stores and sends.
    const int n = ParseInteger(Vc_AlgorithmEdit->Text());
    switch (Key) {
    case VK_PRIOR: Vc_AlgorithmEdit->SetText(IntToStr(n + 10)); break;
    case VK_NEXT: Vc_AlgorithmEdit->SetText(IntToStr(n < 10 ? 1 : n - 10)); break;
    case VK_UP: Vc_AlgorithmEdit->SetText(IntToStr(n + 1)); break;
    case VK_DOWN: Vc_AlgorithmEdit->SetText(IntToStr(n - 1)); break;
    default: break;
    }
}

void TVoicePage::Vc_AlgorithmUpDownChanging(TObject*, bool&)
{
    if (FData.UpdatingDisplay) return;
    // The box shows the position the up-down steps from; the step then writes the new one into
    // the box, whose change handler stores and sends it.
    Vc_AlgorithmEdit->SetText(IntToStr(Vc_AlgorithmUpDown->Position()));
    if (!Vc_AlgorithmEdit->Focused()) Vc_AlgorithmEdit->SetFocus();
}

void TVoicePage::Vc_AlgorithmBtnClick(TObject*)
{
    SelectedAlgorithm = AlgorithmShown();
    // The selector window, modally: it starts on SelectedAlgorithm and leaves the chosen
    // algorithm there (unchanged when cancelled).
    TAlgorithmSelectForm::Run(FOwner, FServices.AlgorithmPicture, SelectedAlgorithm, FServices.ProgramFolder);
    Vc_AlgorithmEdit->SetText(IntToStr(SelectedAlgorithm));
    ShowAlgorithmPicture(SelectedAlgorithm);
    if (!Vc_AlgorithmEdit->Focused()) Vc_AlgorithmEdit->SetFocus();
}

// ---- filter part switch -----------------------------------------------------------------------------

void TVoicePage::Vc_FilterPartSwClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice();
    const int on = Vc_FilterPartSw->ItemIndex();
    if (v < 0 || on < 0 || !FServices.SetPartFilterSwitch) return;
    FServices.SetPartFilterSwitch(v, on);
}

// ---- operator mutes --------------------------------------------------------------------------------

bool TVoicePage::FseqOn(bool voiced, int v, int k) const
{
    const VoiceRecord& voice = FData.ParameterData.VoiceRecords[size_t(v)];
    const auto& muted = voiced ? FData.OperatorMute.Voiced[size_t(v)] : FData.OperatorMute.Unvoiced[size_t(v)];
    const int32_t sw = voiced ? voice.VoicedOperators[size_t(k)].FseqSw : voice.UnvoicedOperators[size_t(k)].FseqSw;
    return sw != 0 && muted[size_t(k)] != 1;
}

void TVoicePage::Vc_OpMuteClick(bool voiced, int k)
{
    const int v = CurrentVoice();
    if (v < 0 || k < 0 || k > 7) return;
    const bool down = (voiced ? Vc_OpMute_VOp : Vc_OpMute_UOp)[size_t(k)]->Down();
    (voiced ? FData.OperatorMute.Voiced : FData.OperatorMute.Unvoiced)[size_t(v)][size_t(k)] = down ? 1 : 0;

    // The operator page follows only when it shows this operator; what it shows there is not
    // stored or sent by the controls' own handlers.
    if (CurrentOperatorTab() == (voiced ? k : k + 8)) {
        TUpdatingDisplay updating(FData);
        const VoiceRecord& voice = Voice(v);
        TRadioGroup* fseq = voiced ? Vc_VOpFseqSw : Vc_UOpFseqSw;
        const P level = voiced ? P::Vc_VOpOutputLvl : P::Vc_UOpOutputLvl;
        const bool track = FseqOn(voiced, v, k);
        if (voiced)
            EnableRow(P::Vc_VOpFseqTrk, track);
        else
            Vc_UOpFseqTrkText->SetVisible(track);
        if (down) {
            fseq->SetItemIndex(0);
            Load(level, 0);
        } else if (voiced) {
            fseq->SetItemIndex(voice.VoicedOperators[size_t(k)].FseqSw);
            Load(level, voice.VoicedOperators[size_t(k)].OutputLvl);
        } else {
            fseq->SetItemIndex(voice.UnvoicedOperators[size_t(k)].FseqSw);
            Load(level, voice.UnvoicedOperators[size_t(k)].OutputLvl);
        }
        fseq->SetEnabled(!down);
        EnableRow(level, !down);
    }

    // The switch byte of the operator (operators 1..7 share one, a bit each) and its output
    // level, both as the instrument is to have them: off and 0 while muted, the stored values
    // otherwise. Nothing is stored or marked.
    const VoiceRecord& voice = Voice(v);
    if (voiced) {
        FData.SendWord(voice.VoicedOperators[size_t(k)].FseqSw);
        FData.SendWord(voice.VoicedOperators[size_t(k)].OutputLvl);
    } else {
        FData.SendWord(voice.UnvoicedOperators[size_t(k)].FseqSw);
        FData.SendWord(voice.UnvoicedOperators[size_t(k)].OutputLvl);
    }
}

void TVoicePage::V_OPAllMuteButtonClick(TObject*)
{
    const bool allDown = std::all_of(Vc_OpMute_VOp.begin(), Vc_OpMute_VOp.end(), [](auto* b) { return b->Down(); });
    for (TSpeedButton* b : Vc_OpMute_VOp) b->SetDown(!allDown);
    for (int k = 0; k < 8; ++k) Vc_OpMuteClick(true, k);
}

void TVoicePage::U_OPAllMuteButtonClick(TObject*)
{
    const bool allDown = std::all_of(Vc_OpMute_UOp.begin(), Vc_OpMute_UOp.end(), [](auto* b) { return b->Down(); });
    for (TSpeedButton* b : Vc_OpMute_UOp) b->SetDown(!allDown);
    for (int k = 0; k < 8; ++k) Vc_OpMuteClick(false, k);
}

void TVoicePage::RunOperatorMuteHandlers()
{
    for (bool voiced : {true, false})
        for (int k = 0; k < 8; ++k) Vc_OpMuteClick(voiced, k);
}
