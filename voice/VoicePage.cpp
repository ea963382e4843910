// The Voice page's frame: construction, the refresh from the edit buffer, the tab handlers, the
// voice common display and the voiced operator display, and the name handler.
#include "voice/VoiceRows.h"

#include "core/Latin1.h"

#include <algorithm>
#include <initializer_list>

TVoicePage::TVoicePage(TMainData& data, TTabSheet* sheet, TVoicePageServices services)
    : OperatorTabMemory(services.OperatorTabMemory ? *services.OperatorTabMemory : FOwnTabMemory),
      FData(data),
      FServices(std::move(services)),
      FOwner(std::make_unique<TComponent>(nullptr))
{
    FOwner->Name = "VoicePage";
    CreateControls(sheet);
    CreatePairs();
    CreateChoices();
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
    // The controls go first, while the pairs their handlers point at are still whole.
    FOwner.reset();
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

void TVoicePage::Vc_TabSheetShow(TObject*)
{
    RefreshVoicePages(Vc_VoiceTab->TabIndex());
    if (FServices.ShowOperatorMenuItems) FServices.ShowOperatorMenuItems(true);
    if (!VoicePageShown && !FData.DataChanged) VoicePageShown = 1;
}

void TVoicePage::Vc_VoiceTabChange(TObject*)
{
    RefreshVoicePages(Vc_VoiceTab->TabIndex());
}

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
    if (!Vc_VOpFseqSw->Enabled()) EnableRow(Vc_VOpFseqTrkBar, false);
}

// ---- voice common display --------------------------------------------------------------------------

int TVoicePage::AlgorithmShown() const
{
    return std::clamp(ParseInteger(Vc_AlgorithmEdit->Text()), 1, 88);
}

void TVoicePage::ApplyOpAttEnable(int algorithm, int t)
{
    const bool usable = FData.AlgorithmOpAttEnable[size_t(std::clamp(algorithm, 1, 88) - 1)][size_t(t)] != 0;
    EnableRow(Vc_VOpOPAttBar, usable);
    Vc_VOpOPAttText2->SetEnabled(usable);
}

void TVoicePage::DisplayVoiceCommon(int v)
{
    const VoiceRecord& voice = Voice(v);
    const VoiceCommon& c = voice.VoiceCommon;
    auto word = [&](int w) { return GetWord(c, w); };

    Vc_Name->SetText(FromLatin1(c.Name.data(), c.Name.size()));
    Vc_Category->SetItemIndex(word(3));
    Vc_LFO1Waveform->SetItemIndex(word(4));
    Vc_LFO1KeySync->SetItemIndex(word(5));
    for (TScrollBar* bar : {Vc_LFO1SpeedBar, Vc_LFO1DelayBar, Vc_LFO1PModDepthBar, Vc_LFO1AModDepthBar,
                            Vc_LFO1FreqModDepthBar, Vc_LFO1FltModDepthBar})
        LoadPair(bar, word(FPairOfBar.at(bar).second->Word));
    Vc_LFO2Waveform->SetItemIndex(word(12));
    Vc_LFO2KeySync->SetItemIndex(word(13));
    LoadPair(Vc_LFO2SpeedBar, word(14));
    Vc_LFO2Phase->SetItemIndex(word(15));
    LoadPair(Vc_LFO2FltModDepthBar, word(16));

    Vc_FilterPartSw->SetItemIndex(c.FilterSw);
    LoadPair(Vc_FilterInputGainBar, c.FilterInputGain);
    Vc_FilterType->SetItemIndex(c.FilterType);
    LoadPair(Vc_FilterCutoffFreqBar, c.FilterCutoffFreq);
    LoadPair(Vc_FilterResonanceBar, c.FilterResonance);
    LoadPair(Vc_FilterFreqScalingBar, c.FilterFreqScaling);
    Vc_FilterFScaleBP->SetItemIndex(c.FilterFScaleBP);
    LoadPair(Vc_FilterResoVelSnsBar, c.FilterResoVelSns);

    LoadPair(Vc_FilterEGTime1Bar, c.FilterEGTime1);
    LoadPair(Vc_FilterEGTime2Bar, c.FilterEGTime2);
    LoadPair(Vc_FilterEGTime3Bar, c.FilterEGTime3);
    LoadPair(Vc_FilterEGTime4Bar, c.FilterEGTime4);
    LoadPair(Vc_FilterEGTimeScalingBar, c.FilterEGTimeScaling);
    LoadPair(Vc_FilterEGLv1Bar, c.FilterEGLv1);
    LoadPair(Vc_FilterEGLv2Bar, c.FilterEGLv2);
    LoadPair(Vc_FilterEGLv3Bar, c.FilterEGLv3);
    LoadPair(Vc_FilterEGLv4Bar, c.FilterEGLv4);
    LoadPair(Vc_FilterEGDepthBar, c.FilterEGDepth);
    LoadPair(Vc_FilterEGAtkTVelSnsBar, c.FilterEGAtkTVelSns);
    LoadPair(Vc_FilterEGDepthVelSnsBar, c.FilterEGDepthVelSns);

    LoadPair(Vc_PitchEGTime1Bar, c.PitchEGTime1);
    LoadPair(Vc_PitchEGTime2Bar, c.PitchEGTime2);
    LoadPair(Vc_PitchEGTime3Bar, c.PitchEGTime3);
    LoadPair(Vc_PitchEGTime4Bar, c.PitchEGTime4);
    LoadPair(Vc_PitchEGTimeScalingBar, c.PitchEGTimeScaling);
    LoadPair(Vc_PitchEGLv0Bar, c.PitchEGLv0);
    LoadPair(Vc_PitchEGLv1Bar, c.PitchEGLv1);
    LoadPair(Vc_PitchEGLv2Bar, c.PitchEGLv2);
    LoadPair(Vc_PitchEGLv3Bar, c.PitchEGLv3);
    LoadPair(Vc_PitchEGLv4Bar, c.PitchEGLv4);
    Vc_PitchEGRange->SetItemIndex(c.PitchEGRange);
    LoadPair(Vc_PitchEGVelocitySensBar, c.PitchEGVelocitySens);

    const std::array<TComboBox*, 10> operators = {Vc_Frmt1Operator, Vc_Frmt2Operator, Vc_Frmt3Operator,
                                                  Vc_Frmt4Operator, Vc_Frmt5Operator, Vc_Fm1Operator,
                                                  Vc_Fm2Operator,   Vc_Fm3Operator,   Vc_Fm4Operator,
                                                  Vc_Fm5Operator};
    const std::array<TRadioGroup*, 10> parameters = {Vc_Frmt1Parameter, Vc_Frmt2Parameter, Vc_Frmt3Parameter,
                                                     Vc_Frmt4Parameter, Vc_Frmt5Parameter, Vc_Fm1Parameter,
                                                     Vc_Fm2Parameter,   Vc_Fm3Parameter,   Vc_Fm4Parameter,
                                                     Vc_Fm5Parameter};
    const std::array<TScrollBar*, 10> depths = {Vc_Frmt1CtlDepthBar, Vc_Frmt2CtlDepthBar, Vc_Frmt3CtlDepthBar,
                                                Vc_Frmt4CtlDepthBar, Vc_Frmt5CtlDepthBar, Vc_Fm1CtlDepthBar,
                                                Vc_Fm2CtlDepthBar,   Vc_Fm3CtlDepthBar,   Vc_Fm4CtlDepthBar,
                                                Vc_Fm5CtlDepthBar};
    for (size_t s = 0; s < 10; ++s) {
        const VoiceControl& set = s < 5 ? c.Frmt[s] : c.Fm[s - 5];
        operators[s]->SetItemIndex(set.Operator);
        parameters[s]->SetItemIndex(set.Parameter);
        LoadPair(depths[s], set.CtlDepth);
    }

    // The algorithm indexes the pictures and the attenuation table: a word from a file outside
    // 1..88 is shown, and used, as the nearest algorithm (the word itself is left as it is).
    const int a = std::clamp(c.Algorithm, 1, 88);
    Vc_AlgorithmEdit->SetText(IntToStr(a));
    Vc_AlgorithmUpDown->SetPosition(a);
    if (FServices.AlgorithmPicture) {
        const TBitmap* picture = FServices.AlgorithmPicture(a);
        Vc_AlgorithmImage->Picture.Assign(picture);
    }
    const int t = CurrentOperatorTab();
    if (t >= 0 && t < 8) ApplyOpAttEnable(a, t);
    LoadPair(Vc_FeedbackBar, c.Feedback);
    LoadPair(Vc_NoteShiftBar, c.NoteShift);

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
    for (TScrollBar* bar : {Vc_VOpFseqTrkBar, Vc_VOpFreqScalingBar, Vc_VOpTransposeBar, Vc_VOpResonanceBar,
                            Vc_VOpBandWidthBar, Vc_VOpSkirtBar, Vc_VOpOutputLvlBar, Vc_VOpOPAttBar,
                            Vc_OpFrqEGInitLvlBar, Vc_OpFrqEGAtakLvlBar, Vc_OpFrqEGAtakTimeBar, Vc_OpFrqEGDecayTimeBar,
                            Vc_OpSnsFreqVelBar, Vc_OpSnsFreqBiasBar, Vc_OpSnsWidthBiasBar, Vc_OpFreqModBar,
                            Vc_OpPitchModBar})
        EnableRow(bar, true);
    Pair(Vc_OpPitchModBar)->SetVisible(true);

    Vc_VOpFseqSw->SetItemIndex(o.FseqSw);
    LoadPair(Vc_VOpFseqTrkBar, o.FseqTrk);
    Vc_VOpForm->SetItemIndex(o.Form);
    Vc_VOpFreqMode->SetItemIndex(o.FreqMode);
    // The maxima follow the mode shown (the stored maximum words stay as they are): a fixed
    // frequency keeps fine values above 99, and a coarse value never reads past the fixed table.
    SetVoicedFrequencyMaxima();
    Vc_VOpFreqCoarseBar->SetPosition(o.FreqCoarse);
    Vc_VOpFreqFineBar->SetPosition(o.FreqFine);
    Vc_VOpFreqCoarseEdit->SetText(VoicedFrequencyText());
    LoadPair(Vc_VOpFreqScalingBar, o.FreqScaling);
    LoadPair(Vc_VOpTransposeBar, o.Transpose);
    LoadPair(Vc_VOpDetuneBar, o.Detune);
    LoadPair(Vc_VOpBandWidthBar, o.BandWidth);
    LoadPair(Vc_VOpResonanceBar, o.Resonance);
    LoadPair(Vc_VOpSkirtBar, o.Skirt);
    LoadPair(Vc_VOpOutputLvlBar, o.OutputLvl);
    Vc_VOpKeySync->SetItemIndex(o.KeySync);
    Vc_VOpLSBP->SetItemIndex(o.LSBP);
    LoadPair(Vc_VOpLSLeftDepthBar, o.LSLeftDepth);
    Vc_VOpLSLeftCrv->SetItemIndex(o.LSLeftCrv);
    LoadPair(Vc_VOpLSRightDepthBar, o.LSRightDepth);
    Vc_VOpLSRightCrv->SetItemIndex(o.LSRightCrv);
    Vc_VOpOPAttBar->SetPosition(o.OPAtt);
    Vc_VOpOPAttEdit->SetText(AttenuationText(Vc_VOpOPAttBar->Position()));
    Vc_OpPresetEG->SetItemIndex(-1);
    LoadPair(Vc_OpEGHoldBar, o.EGHold);
    LoadPair(Vc_OpEGTime1Bar, o.EGTime1);
    LoadPair(Vc_OpEGTime2Bar, o.EGTime2);
    LoadPair(Vc_OpEGTime3Bar, o.EGTime3);
    LoadPair(Vc_OpEGTime4Bar, o.EGTime4);
    LoadPair(Vc_OpEGTimeScalingBar, o.EGTimeScaling);
    LoadPair(Vc_OpEGLv1Bar, o.EGLv1);
    LoadPair(Vc_OpEGLv2Bar, o.EGLv2);
    LoadPair(Vc_OpEGLv3Bar, o.EGLv3);
    LoadPair(Vc_OpEGLv4Bar, o.EGLv4);
    LoadPair(Vc_OpFrqEGInitLvlBar, o.FrqEGInitLvl);
    LoadPair(Vc_OpFrqEGAtakLvlBar, o.FrqEGAtakLvl);
    LoadPair(Vc_OpFrqEGAtakTimeBar, o.FrqEGAtakTime);
    LoadPair(Vc_OpFrqEGDecayTimeBar, o.FrqEGDecayTime);
    LoadPair(Vc_OpSnsAmpVelBar, o.SnsAmpVel);
    LoadPair(Vc_OpSnsFreqVelBar, o.SnsFreqVel);
    LoadPair(Vc_OpSnsAmpEGBiasBar, o.SnsAmpEGBias);
    LoadPair(Vc_OpSnsFreqBiasBar, o.SnsFreqBias);
    LoadPair(Vc_OpSnsWidthBiasBar, o.SnsWidthBias);
    LoadPair(Vc_OpAmpModBar, o.AmpMod);
    LoadPair(Vc_OpPitchModBar, o.PitchMod);
    LoadPair(Vc_OpFreqModBar, o.FreqMod);

    // Enables by what was just loaded.
    const int form = Vc_VOpForm->ItemIndex();
    const bool fixed = VoicedFixedMode();
    if (Vc_VOpFseqSw->ItemIndex() <= 0) EnableRow(Vc_VOpFseqTrkBar, false);
    if (form == 5 || form == 6) {
        EnableRow(Vc_VOpTransposeBar, false);
        EnableRow(Vc_VOpBandWidthBar, false);
        if (fixed) EnableRow(Vc_OpPitchModBar, false);
        EnableRow(Vc_OpFreqModBar, false);
    } else if (form == 7) {
        Vc_VOpFreqMode->SetEnabled(false);
        EnableRow(Vc_VOpResonanceBar, false);
        Vc_VOpKeySync->SetEnabled(false);
    } else if (form >= 0) {
        for (TScrollBar* bar : {Vc_VOpTransposeBar, Vc_VOpBandWidthBar, Vc_VOpResonanceBar, Vc_OpFreqModBar})
            EnableRow(bar, false);
        if (fixed) {
            EnableRow(Vc_OpPitchModBar, false);
            EnableRow(Vc_OpFreqModBar, true);
        }
    }
    if (!fixed)
        for (TScrollBar* bar : {Vc_VOpFreqScalingBar, Vc_OpSnsFreqVelBar, Vc_OpSnsFreqBiasBar, Vc_OpSnsWidthBiasBar})
            EnableRow(bar, false);
    if (form == 0) EnableRow(Vc_VOpSkirtBar, false);
    ApplyOpAttEnable(Voice(v).VoiceCommon.Algorithm, op);
    if (FData.OperatorMute.Voiced[size_t(v)][size_t(op)] == 1) {
        Vc_VOpFseqSw->SetItemIndex(0);
        Vc_VOpOutputLvlBar->SetPosition(0);
        Vc_VOpOutputLvlEdit->SetText("0");
        Vc_VOpFseqSw->SetEnabled(false);
        EnableRow(Vc_VOpOutputLvlBar, false);
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
    for (TControl* c : std::initializer_list<TControl*>{Vc_UOpFreqCoarseText, Vc_UOpFreqCoarseText2, Vc_UOpFreqFineText,
                                                        Vc_UOpFreqCoarseBar, Vc_UOpFreqFineBar, Vc_UOpFreqCoarseEdit})
        c->SetEnabled(true);
    SetUnvoicedCoarseLook(false);
    for (TScrollBar* bar : {Vc_UOpOutputLvlBar, Vc_UOpFreqScalingBar, Vc_OpFrqEGInitLvlBar, Vc_OpFrqEGAtakLvlBar,
                            Vc_OpFrqEGAtakTimeBar, Vc_OpFrqEGDecayTimeBar, Vc_OpSnsFreqVelBar, Vc_OpSnsFreqBiasBar,
                            Vc_OpSnsWidthBiasBar, Vc_OpFreqModBar})
        EnableRow(bar, true);
    Pair(Vc_OpPitchModBar)->SetVisible(false);

    Vc_UOpFseqSw->SetItemIndex(u.FseqSw);
    Vc_UOpFseqTrkText->SetCaption("FseqTrack = " + IntToStr(partner.FseqTrk + 1));
    // "LinkFF" is offered only beside a formant-shaped voiced operator.
    if (partner.Form == 7 && Vc_UOpFreqMode->Items.Count() == 2) Vc_UOpFreqMode->Items.Add("LinkFF");
    if (partner.Form != 7 && Vc_UOpFreqMode->Items.Count() > 2) Vc_UOpFreqMode->Items.Delete(2);
    Vc_UOpFreqMode->SetItemIndex(u.FreqMode);
    Vc_UOpFreqCoarseBar->SetPosition(u.FreqCoarse);
    Vc_UOpFreqFineBar->SetPosition(u.FreqFine);
    Vc_UOpFreqCoarseEdit->SetText(UnvoicedFrequencyText());
    LoadPair(Vc_UOpFreqScalingBar, u.FreqScaling);
    LoadPair(Vc_UOpTransposeBar, u.Transpose);
    LoadPair(Vc_UOpBandWidthBar, u.BandWidth);
    LoadPair(Vc_UOpResonanceBar, u.Resonance);
    LoadPair(Vc_UOpSkirtBar, u.Skirt);
    LoadPair(Vc_UOpOutputLvlBar, u.OutputLvl);
    LoadPair(Vc_UOpLvlScalingBar, u.LvlScaling);
    Vc_OpPresetEG->SetItemIndex(-1);
    LoadPair(Vc_OpEGHoldBar, u.EGHold);
    LoadPair(Vc_OpEGTime1Bar, u.EGTime1);
    LoadPair(Vc_OpEGTime2Bar, u.EGTime2);
    LoadPair(Vc_OpEGTime3Bar, u.EGTime3);
    LoadPair(Vc_OpEGTime4Bar, u.EGTime4);
    LoadPair(Vc_OpEGTimeScalingBar, u.EGTimeScaling);
    LoadPair(Vc_OpEGLv1Bar, u.EGLv1);
    LoadPair(Vc_OpEGLv2Bar, u.EGLv2);
    LoadPair(Vc_OpEGLv3Bar, u.EGLv3);
    LoadPair(Vc_OpEGLv4Bar, u.EGLv4);
    LoadPair(Vc_OpFrqEGInitLvlBar, u.FrqEGInitLvl);
    LoadPair(Vc_OpFrqEGAtakLvlBar, u.FrqEGAtakLvl);
    LoadPair(Vc_OpFrqEGAtakTimeBar, u.FrqEGAtakTime);
    LoadPair(Vc_OpFrqEGDecayTimeBar, u.FrqEGDecayTime);
    LoadPair(Vc_OpSnsAmpVelBar, u.SnsAmpVel);
    LoadPair(Vc_OpSnsFreqVelBar, u.SnsFreqVel);
    LoadPair(Vc_OpSnsAmpEGBiasBar, u.SnsAmpEGBias);
    LoadPair(Vc_OpSnsFreqBiasBar, u.SnsFreqBias);
    LoadPair(Vc_OpSnsWidthBiasBar, u.SnsWidthBias);
    LoadPair(Vc_OpAmpModBar, u.AmpMod);
    LoadPair(Vc_OpPitchModBar, u.PitchMod);
    LoadPair(Vc_OpFreqModBar, u.FreqMod);

    // By the mode shown (a stored LinkFF shows as LinkF0 when only two modes are offered).
    if (Vc_UOpFseqSw->ItemIndex() <= 0) Vc_UOpFseqTrkText->SetVisible(false);
    const int mode = Vc_UOpFreqMode->ItemIndex();
    if (mode > 0) {
        for (TControl* c : std::initializer_list<TControl*>{Vc_UOpFreqCoarseText, Vc_UOpFreqCoarseText2,
                                                            Vc_UOpFreqFineText, Vc_UOpFreqCoarseEdit})
            c->SetEnabled(false);
        Vc_UOpFreqCoarseEdit->SetTabStop(false);
        for (TScrollBar* bar : {Vc_UOpFreqScalingBar, Vc_OpFrqEGInitLvlBar, Vc_OpFrqEGAtakLvlBar, Vc_OpFrqEGAtakTimeBar,
                                Vc_OpFrqEGDecayTimeBar, Vc_OpSnsFreqVelBar, Vc_OpSnsFreqBiasBar, Vc_OpFreqModBar})
            EnableRow(bar, false);
    }
    if (mode == 2) {
        for (TControl* c : std::initializer_list<TControl*>{Vc_UOpFreqCoarseText, Vc_UOpFreqCoarseText2,
                                                            Vc_UOpFreqFineText, Vc_UOpFreqCoarseEdit})
            c->SetEnabled(true);
        Vc_UOpFreqCoarseBar->SetPosition(partner.FreqCoarse);
        Vc_UOpFreqFineBar->SetPosition(partner.FreqFine);
        Vc_UOpFreqCoarseEdit->SetText(UnvoicedFrequencyText());
        Vc_UOpFreqCoarseBar->SetEnabled(false);
        Vc_UOpFreqFineBar->SetEnabled(false);
        SetUnvoicedCoarseLook(true);
    }
    if (FData.OperatorMute.Unvoiced[size_t(v)][size_t(op)] == 1) {
        Vc_UOpFseqSw->SetItemIndex(0);
        Vc_UOpOutputLvlBar->SetPosition(0);
        Vc_UOpOutputLvlEdit->SetText("0");
        Vc_UOpFseqSw->SetEnabled(false);
        Vc_UOpFseqTrkText->SetVisible(false);
        EnableRow(Vc_UOpOutputLvlBar, false);
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
