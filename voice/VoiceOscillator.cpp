// The voiced operator's oscillator: the FSEQ switch mask, the form and frequency mode with the
// controls they switch, the frequency text of the coarse box, the attenuation text.
#include "voice/VoicePage.h"

#include <algorithm>

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
    if (!linked) e->SetTabStop(true);
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
    VoiceRecord& voice = Voice(v);
    voice.VoicedOperators[size_t(t)].FseqSw = on;
    // A muted operator counts as off.
    std::array<int, 8> effective{};
    for (size_t k = 0; k < 8; ++k)
        effective[k] = voice.VoicedOperators[k].FseqSw != 0 && FData.OperatorMute.Voiced[size_t(v)][k] != 1;
    EnableRow(P::Vc_VOpFseqTrk, effective[size_t(t)] != 0);
    // Operator 8's switch has a byte of its own; operators 1..7 share one, a bit each.
    int mask = 0;
    for (int k = 0; k < 7; ++k) mask |= effective[size_t(k)] << k;
    SendVoiceWord(VoicedOffset(t) + offsetof(VoicedOperator, FseqSw), t == 7 ? effective[7] : mask);
    FData.MarkDataChanged();
}

void TVoicePage::Vc_VOpFreqCoarseBarChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice(), t = CurrentOperatorTab();
    if (v < 0 || t < 0 || t > 7) return;
    Voice(v).VoicedOperators[size_t(t)].FreqCoarse = Vc_VOpFreqCoarseBar->Position();
    Vc_VOpFreqCoarseEdit->SetText(VoicedFrequencyText());
    if (!Vc_VOpFreqCoarseEdit->Focused()) Vc_VOpFreqCoarseEdit->SetFocus();
    SendVoiceWord(VoicedOffset(t) + offsetof(VoicedOperator, FreqCoarse), Vc_VOpFreqCoarseBar->Position());
    FData.MarkDataChanged();
}

void TVoicePage::Vc_VOpFreqFineBarChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice(), t = CurrentOperatorTab();
    if (v < 0 || t < 0 || t > 7) return;
    Voice(v).VoicedOperators[size_t(t)].FreqFine = Vc_VOpFreqFineBar->Position();
    Vc_VOpFreqCoarseEdit->SetText(VoicedFrequencyText());
    if (!Vc_VOpFreqCoarseEdit->Focused()) Vc_VOpFreqCoarseEdit->SetFocus();
    SendVoiceWord(VoicedOffset(t) + offsetof(VoicedOperator, FreqFine), Vc_VOpFreqFineBar->Position());
    FData.MarkDataChanged();
}

void TVoicePage::Vc_VOpFreqCoarseEditKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    // The coarse box has no number of its own: Page keys step the coarse slider, arrows the fine.
    switch (Key) {
    case VK_PRIOR: Vc_VOpFreqCoarseBar->SetPosition(Vc_VOpFreqCoarseBar->Position() + 1); break;
    case VK_NEXT: Vc_VOpFreqCoarseBar->SetPosition(Vc_VOpFreqCoarseBar->Position() - 1); break;
    case VK_UP: Vc_VOpFreqFineBar->SetPosition(Vc_VOpFreqFineBar->Position() + 1); break;
    case VK_DOWN: Vc_VOpFreqFineBar->SetPosition(Vc_VOpFreqFineBar->Position() - 1); break;
    default: break;
    }
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
    SendVoiceWord(VoicedOffset(t) + offsetof(VoicedOperator, FreqMode), mode, VcPacked::VoicedByte05);
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
    SendVoiceWord(VoicedOffset(t) + offsetof(VoicedOperator, Form), form, VcPacked::WidthBias);
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
        Vc_VOpBandWidthBar->SetPosition(Vc_VOpResonanceBar->Position());
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
        if (resonant && old == 7) Vc_VOpResonanceBar->SetPosition(Vc_VOpBandWidthBar->Position());
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

void TVoicePage::Vc_UOpFreqModeClick(TObject*)
{
    if (FData.UpdatingDisplay) return;
    // The voiced form handler takes "LinkFF" away while a voiced tab is shown; that selection is
    // no edit of an unvoiced operator, so nothing is stored, sent or switched then.
    if (CurrentOperatorTab() < 8) return;
    // The unvoiced frequency modes are edited with the unvoiced oscillator (next to come).
}
