// The operators' oscillators: the FSEQ switches, the frequency sliders with the frequency text of
// the coarse box, the voiced form and frequency mode with the controls they switch, the
// attenuation text; the unvoiced frequency modes, which link the frequency to another one.
#include "voice/VoicePage.h"

#include <algorithm>
#include <initializer_list>

namespace {

using P = VcPair;

// "%i" of value / 10^decimals with that many decimals (value >= 0), "." always.
std::string Decimal(int value, int decimals)
{
    int scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    std::string fraction = IntToStr(value % scale);
    fraction.insert(0, size_t(decimals) - fraction.size(), '0');
    return IntToStr(value / scale) + "." + fraction;
}

} // namespace

bool TVoicePage::VoicedFixedMode() const { return Vc_VOpFreqMode->ItemIndex() == 1; }

void TVoicePage::SetVoicedFrequencyMaxima()
{
    const bool fixed = VoicedFixedMode();
    Vc_VOpFreqCoarseBar->SetMax(fixed ? 21 : 31);
    Vc_VOpFreqFineBar->SetMax(fixed ? 127 : 99);
}

std::string TVoicePage::VoicedFrequencyText() const
{
    const int c = Vc_VOpFreqCoarseBar->Position();
    const int f = Vc_VOpFreqFineBar->Position();
    if (VoicedFixedMode()) {
        if (c < 1 || c > 21 || f < 0 || f > 127) return "0.000";
        return FData.FixedFreqText[size_t(f)][size_t(c - 1)];
    }
    if (c == 0) return Decimal(500 + 5 * f, 3); // 0.5 + 0.005 f
    const int hundredths = 100 * c + c * f;     // c (1 + f / 100)
    return hundredths < 1000 ? Decimal(10 * hundredths, 3) : Decimal(hundredths, 2);
}

std::string TVoicePage::UnvoicedFrequencyText() const
{
    // An unvoiced operator's frequency is always a fixed one.
    const int c = Vc_UOpFreqCoarseBar->Position();
    const int f = Vc_UOpFreqFineBar->Position();
    if (c < 1 || c > 21 || f < 0 || f > 127) return "0.000";
    return FData.FixedFreqText[size_t(f)][size_t(c - 1)];
}

void TVoicePage::SetUnvoicedCoarseLook(bool linked)
{
    // Linked to FF the box reads as plain text on the group; otherwise it is an ordinary box.
    TEdit* e = Vc_UOpFreqCoarseEdit;
    e->SetTabStop(!linked);
    e->BorderStyle = linked ? bsNone : bsSingle;
    e->Color = linked ? clBtnFace : clWindow;
    e->Cursor = linked ? crArrow : crDefault;
    e->SetBounds(linked ? 194 : 191, linked ? 114 : 111, linked ? 44 : 48, e->Height());
    e->Invalidate();
}

std::string TVoicePage::AttenuationText(int position) const
{
    return position <= 0 ? "-0.0" : "-" + Decimal(15 * position, 1); // -1.5 dB a step
}

void TVoicePage::Vc_VOpFseqSwClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice(), t = CurrentOperatorTab();
    const int on = Vc_VOpFseqSw->ItemIndex();
    if (v < 0 || t < 0 || t > 7 || on < 0) return;
    int32_t& word = Voice(v).VoicedOperators[size_t(t)].FseqSw;
    word = on;
    EnableRow(P::Vc_VOpFseqTrk, FseqOn(true, v, t));
    // Operator 8's switch has a byte of its own; operators 1..7 share one, a bit each, a muted
    // operator counted off (the mutes live on the instrument only).
    FData.SendWord(word);
    FData.MarkDataChanged();
}

// ---- the frequency sliders of both oscillators ----------------------------------------------------

void TVoicePage::FrequencyBarChange(TScrollBar* bar)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice(), t = CurrentOperatorTab();
    const bool voiced = bar == Vc_VOpFreqCoarseBar || bar == Vc_VOpFreqFineBar;
    if (v < 0 || t < 0 || (t < 8) != voiced) return;
    TEdit* box = voiced ? Vc_VOpFreqCoarseEdit : Vc_UOpFreqCoarseEdit;
    box->SetText(voiced ? VoicedFrequencyText() : UnvoicedFrequencyText());
    if (!voiced && UnvoicedFreqRestoring) return;
    const bool coarse = bar == Vc_VOpFreqCoarseBar || bar == Vc_UOpFreqCoarseBar;
    const std::size_t offset =
        voiced ? VoicedOffset(t) + (coarse ? offsetof(VoicedOperator, FreqCoarse) : offsetof(VoicedOperator, FreqFine))
               : UnvoicedOffset(t - 8) +
                     (coarse ? offsetof(UnvoicedOperator, FreqCoarse) : offsetof(UnvoicedOperator, FreqFine));
    int32_t& word = WordAt(v, offset);
    word = bar->Position();
    if (!box->Focused()) box->SetFocus();
    // The unvoiced coarse value shares its byte with the frequency mode.
    FData.SendWord(word);
    FData.MarkDataChanged();
}

void TVoicePage::FrequencyKeyDown(TScrollBar* coarse, TScrollBar* fine, uint16_t key)
{
    // The coarse box has no number of its own: Page keys step the coarse slider, arrows the fine.
    switch (key) {
    case VK_PRIOR: coarse->SetPosition(coarse->Position() + 1); break;
    case VK_NEXT: coarse->SetPosition(coarse->Position() - 1); break;
    case VK_UP: fine->SetPosition(fine->Position() + 1); break;
    case VK_DOWN: fine->SetPosition(fine->Position() - 1); break;
    default: break;
    }
}

void TVoicePage::Vc_VOpFreqCoarseBarChange(TObject*) { FrequencyBarChange(Vc_VOpFreqCoarseBar); }
void TVoicePage::Vc_VOpFreqFineBarChange(TObject*) { FrequencyBarChange(Vc_VOpFreqFineBar); }
void TVoicePage::Vc_UOpFreqCoarseBarChange(TObject*) { FrequencyBarChange(Vc_UOpFreqCoarseBar); }
void TVoicePage::Vc_UOpFreqFineBarChange(TObject*) { FrequencyBarChange(Vc_UOpFreqFineBar); }

void TVoicePage::Vc_VOpFreqCoarseEditKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    FrequencyKeyDown(Vc_VOpFreqCoarseBar, Vc_VOpFreqFineBar, Key);
}

void TVoicePage::Vc_UOpFreqCoarseEditKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    // A linked frequency is not the operator's own: the keys step it only in "normal".
    if (Vc_UOpFreqMode->ItemIndex() == 0) FrequencyKeyDown(Vc_UOpFreqCoarseBar, Vc_UOpFreqFineBar, Key);
}

void TVoicePage::Vc_VOpFreqModeClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice(), t = CurrentOperatorTab();
    const int mode = Vc_VOpFreqMode->ItemIndex();
    if (v < 0 || t < 0 || t > 7 || mode < 0) return;
    VoicedOperator& o = Voice(v).VoicedOperators[size_t(t)];
    o.FreqMode = mode;
    // Positions before maxima, so the messages go fine (02), coarse (01), then the mode (05).
    Vc_VOpFreqFineBar->SetPosition(0);
    const bool fixed = mode == 1;
    Vc_VOpFreqCoarseBar->SetPosition(fixed ? 16 : 1);
    SetVoicedFrequencyMaxima();
    Vc_VOpFreqCoarseEdit->SetText(VoicedFrequencyText());
    o.FreqCoarseMax = fixed ? 21 : 31;
    o.FreqFineMax = fixed ? 127 : 99;
    EnableRow(P::Vc_OpSnsFreqVel, fixed);
    EnableRow(P::Vc_OpSnsFreqBias, fixed);
    EnableRow(P::Vc_OpFreqMod, fixed);
    EnableRow(P::Vc_OpPitchMod, !fixed);
    EnableRow(P::Vc_VOpFreqScaling, fixed || Vc_VOpForm->ItemIndex() == 7);
    FData.SendWord(o.FreqMode);
    FData.MarkDataChanged();
}

void TVoicePage::Vc_VOpFormChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice(), t = CurrentOperatorTab();
    const int form = Vc_VOpForm->ItemIndex();
    if (v < 0 || t < 0 || t > 7 || form < 0) return;
    VoicedOperator& o = Voice(v).VoicedOperators[size_t(t)];
    const int old = o.Form;
    o.Form = form;
    FData.SendWord(o.Form);
    FData.MarkDataChanged();

    // "LinkFF" of the unvoiced operator exists only beside a formant-shaped voiced operator.
    auto dropLinkFF = [this] {
        if (Vc_UOpFreqMode->ItemIndex() == 2) Vc_UOpFreqMode->SetItemIndex(1);
        if (Vc_UOpFreqMode->Items.Count() == 3) Vc_UOpFreqMode->Items.Delete(2);
    };
    auto enableFrequencyRows = [this](bool on) {
        for (VcPair id : {P::Vc_OpSnsFreqVel, P::Vc_OpSnsFreqBias, P::Vc_OpSnsWidthBias, P::Vc_OpFreqMod})
            EnableRow(id, on);
    };
    if (form == 7) {
        Vc_VOpFreqMode->SetItemIndex(1);
        Vc_VOpFreqMode->SetEnabled(false);
        EnableRow(P::Vc_VOpFreqScaling, true);
        EnableRow(P::Vc_VOpTranspose, true);
        EnableRow(P::Vc_VOpBandWidth, true);
        // Bandwidth and resonance are one byte whose meaning follows the form.
        Bar(VcPair::Vc_VOpBandWidth)->SetPosition(Bar(VcPair::Vc_VOpResonance)->Position());
        EnableRow(P::Vc_VOpResonance, false);
        enableFrequencyRows(true);
        Vc_VOpKeySync->SetEnabled(false);
        if (Vc_UOpFreqMode->Items.Count() == 2) Vc_UOpFreqMode->Items.Add("LinkFF");
    } else {
        const bool resonant = form == 5 || form == 6;
        Vc_VOpFreqMode->SetEnabled(true);
        Vc_VOpFreqMode->SetItemIndex(0);
        EnableRow(P::Vc_VOpTranspose, false);
        EnableRow(P::Vc_VOpResonance, resonant);
        if (resonant && old == 7) Bar(VcPair::Vc_VOpResonance)->SetPosition(Bar(VcPair::Vc_VOpBandWidth)->Position());
        EnableRow(P::Vc_VOpBandWidth, false);
        EnableRow(P::Vc_VOpFreqScaling, false);
        enableFrequencyRows(false);
        dropLinkFF();
        Vc_VOpKeySync->SetEnabled(true);
    }
    EnableRow(P::Vc_OpPitchMod, true);
    EnableRow(P::Vc_VOpSkirt, form != 0);
    if (!Vc_VOpForm->Focused()) Vc_VOpForm->SetFocus();
}

// ---- unvoiced oscillator ------------------------------------------------------------------------

void TVoicePage::EnableUnvoicedFrequencyRows(bool on)
{
    for (VcPair id : {P::Vc_UOpFreqScaling, P::Vc_OpFrqEGInitLvl, P::Vc_OpFrqEGAtakLvl, P::Vc_OpFrqEGAtakTime,
                      P::Vc_OpFrqEGDecayTime, P::Vc_OpSnsFreqVel, P::Vc_OpSnsFreqBias, P::Vc_OpFreqMod})
        EnableRow(id, on);
}

void TVoicePage::EnableUnvoicedFrequencyLabels(bool on)
{
    for (TControl* c : std::initializer_list<TControl*>{Vc_UOpFreqCoarseText, Vc_UOpFreqCoarseText2, Vc_UOpFreqFineText,
                                                        Vc_UOpFreqCoarseEdit})
        c->SetEnabled(on);
}

void TVoicePage::MoveUnvoicedFrequency(int coarse, int fine)
{
    UnvoicedFreqRestoring = 1;
    Vc_UOpFreqCoarseBar->SetPosition(coarse);
    Vc_UOpFreqFineBar->SetPosition(fine);
    UnvoicedFreqRestoring = 0;
}

void TVoicePage::Vc_UOpFseqSwClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice(), t = CurrentOperatorTab();
    const int on = Vc_UOpFseqSw->ItemIndex();
    if (v < 0 || t < 8 || on < 0) return;
    const int u = t - 8;
    int32_t& word = Voice(v).UnvoicedOperators[size_t(u)].FseqSw;
    word = on;
    Vc_UOpFseqTrkText->SetVisible(FseqOn(false, v, u));
    FData.SendWord(word);
    FData.MarkDataChanged();
}

void TVoicePage::Vc_UOpFreqModeClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    // The voiced form handler takes "LinkFF" away while a voiced tab is shown; that selection is
    // no edit of an unvoiced operator, so nothing is stored, sent or switched then.
    const int v = CurrentVoice(), t = CurrentOperatorTab();
    const int m = Vc_UOpFreqMode->ItemIndex();
    if (v < 0 || t < 8 || m < 0) return;
    const int u = t - 8;
    VoiceRecord& voice = Voice(v);
    UnvoicedOperator& o = voice.UnvoicedOperators[size_t(u)];

    EnableUnvoicedFrequencyLabels(true);
    SetUnvoicedCoarseLook(false);
    if (m == 0) {
        Vc_UOpFreqCoarseBar->SetEnabled(true);
        Vc_UOpFreqFineBar->SetEnabled(true);
        // The operator's own frequency, which its words keep in every mode (the saved words come
        // from files only and may belong to another voice after a receive).
        MoveUnvoicedFrequency(o.FreqCoarse, o.FreqFine);
    }
    EnableUnvoicedFrequencyRows(m == 0);
    if (m == 1) {
        if (Vc_UOpFreqCoarseBar->Enabled()) {
            o.SavedFreqCoarse = Vc_UOpFreqCoarseBar->Position();
            o.SavedFreqFine = Vc_UOpFreqFineBar->Position();
        }
        EnableUnvoicedFrequencyLabels(false);
        Vc_UOpFreqCoarseBar->SetEnabled(false);
        Vc_UOpFreqFineBar->SetEnabled(false);
    }
    if (m == 2) {
        o.SavedFreqCoarse = Vc_UOpFreqCoarseBar->Position();
        o.SavedFreqFine = Vc_UOpFreqFineBar->Position();
        // The sliders show the frequency of the voiced operator the mode links to.
        const VoicedOperator& partner = voice.VoicedOperators[size_t(u)];
        MoveUnvoicedFrequency(partner.FreqCoarse, partner.FreqFine);
        Vc_UOpFreqCoarseBar->SetEnabled(false);
        Vc_UOpFreqFineBar->SetEnabled(false);
        SetUnvoicedCoarseLook(true);
    }
    o.FreqMode = m;
    // The mode shares its byte with the operator's own coarse value, as the dump carries it, also
    // while the slider shows the voiced operator's in LinkFF.
    FData.SendWord(o.FreqMode);
    FData.MarkDataChanged();
}
