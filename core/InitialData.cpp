// The initial performance: part 1 plays an initial voice on channel 1, parts 2..4 are off.
#include <algorithm>
#include <cstring>

#include "core/MainData.h"

namespace {

template <std::size_t N>
void SetName(std::array<uint8_t, N>& field, const char* text)
{
    // The text and its NUL; bytes after the NUL keep their value.
    std::memcpy(field.data(), text, std::min(std::strlen(text) + 1, N));
}

} // namespace

void TMainData::InitAll()
{
    InitPerformance();
    InitAllVoices();
    InitSystem();
}

void TMainData::InitPerformance()
{
    InitPerformanceCommon();
    for (int p = 0; p < 4; ++p) {
        PartMute[static_cast<std::size_t>(p)] = 0;
        ParameterData.PfmParts[static_cast<std::size_t>(p)].BankNum = 0;
        ParameterData.PfmParts[static_cast<std::size_t>(p)].PrgNum = 0;
        InitPerformancePart(p);
    }
    ParameterData.PfmParts[0].BankNum = 1; // Int
    InitEffects();
    InitFseqAndControlSets();
}

void TMainData::InitPerformanceCommon()
{
    PfmCommon& c = ParameterData.PfmCommon;
    std::memcpy(c.Name.data(), "InitPerfrmnc", 12);
    c.NameSpare[0] = 0;
    c.Category = 0;
    c.ControlChannel = 0;
    c.Volume = 127;
    c.Pan = 64;
    c.ReverbReturn = 64;
    c.VariationReturn = 64;
    c.NoteShift = 24;
}

void TMainData::InitPerformancePart(int p)
{
    PfmPart& part = ParameterData.PfmParts[static_cast<std::size_t>(p)];
    part.RcvChMax = 0;
    part.Volume = 127;
    part.InsEffectSw = 0;
    part.DryLevel = 127;
    part.ReverbSend = 0;
    part.VariationSend = 0;
    part.Formant = part.Fm = part.VNBalance = 64;
    part.LFO1Speed = part.LFO1Pmod = part.LFO1Delay = 64;
    part.FilterFreq = part.FilterReso = part.FilterEGDepth = 64;
    part.LFO2Speed = part.LFO2FltMod = 64;
    part.EGAtkTime = part.EGDecayTime = part.EGReleaseTime = 64;
    part.PEGInitLvl = part.PEGAtkTime = part.PEGRelLvl = part.PEGRelTime = 64;
    part.Detune = 64;
    part.NoteShift = 24;
    part.PBRange = 50;   // +2
    part.PBRangeLo = 46; // -2
    part.PortaSw = 0;
    part.PortaMode = 1;
    part.PortaTime = 50;
    part.MonoPoly = 1;
    part.MonoPriority = 0;
    part.SustainRcvSw = 1;
    part.ReserveNoteMax = 20;
    part.NoteLimitLow = 0;
    part.NoteLimitHigh = 127;
    part.VelLimitLow = 1;
    part.VelLimitHigh = 127;
    part.VelSensDepth = 64;
    part.VelSensOffset = 64;
    part.ExpLimitLo = 0;
    part.Pan = 64;
    part.PanScale = 50;
    part.PanMod = 0;
    // The receive channels, filter switches and note reserves of all four parts.
    for (std::size_t q = 0; q < 4; ++q) {
        PfmPart& any = ParameterData.PfmParts[q];
        any.RcvCh = q == 0 ? 0 : 17;
        any.FilterSw = 0;
        any.ReserveNote = 4;
        // The voice's filter word is the part's switch and must stay equal to it.
        ParameterData.VoiceRecords[q].VoiceCommon.FilterSw = 0;
    }
}

void TMainData::ForgetFseqMemories() { FseqIntInfo.fill(FseqPresetSettings(0)); }

FseqMemorySlot TMainData::FseqPresetSettings(int preset) const
{
    // pitch, start delay, loop mode, loop start, loop end, end step
    const auto& p = FseqPresetInfo[static_cast<std::size_t>(preset)];
    return FseqMemorySlot{p[3], p[4], p[2], 0, p[0], 64, p[1], p[5]};
}

void TMainData::InitFseqAndControlSets()
{
    const auto& preset = FseqPresetInfo[0]; // pitch, start delay, loop mode, loop start, loop end, end step
    PfmFseq& f = ParameterData.PfmFseq;
    f.Part = 0;
    f.FseqBank = 1;
    f.FseqInt = 0;
    f.FseqPre = 0;
    f.Mode = 2;
    f.KeyOnTrig = 0;
    f.SpeedSelect = 1;
    f.Speedmidi = 0;
    f.Speed = 900;
    f.SpeedVel = 0;
    f.LevelVel = 64;
    f.StartOffset = 0;
    f.Pitch = preset[0];
    f.StartDelay = preset[1];
    f.LoopMode = preset[2];
    f.LoopStart = preset[3];
    f.LoopEnd = preset[4];
    f.StartOffsetMax = f.LoopStartMax = f.LoopEndMax = preset[5];

    ForgetFseqMemories();

    static constexpr ControlSource Source[5] = {MW, KN1, KN2, KN3, KN4};
    static constexpr int32_t Destination[8] = {39, 21, 22, 15, 16, 0, 0, 0};
    static constexpr int32_t Depth[8] = {78, 96, 73, 80, 80, 64, 64, 64};
    for (std::size_t k = 0; k < 8; ++k) {
        PfmControlSet& set = ParameterData.PfmControlSets[k];
        set.SourceSw.fill(0);
        if (k < 5) set.SourceSw[static_cast<std::size_t>(Source[k])] = 1;
        set.PartSw.fill(k < 5 ? 1 : 0);
        set.Destination = Destination[k];
        set.Depth = Depth[k];
    }
}

void TMainData::InitEffects()
{
    PfmEffect& e = ParameterData.PfmEffect;
    e.IndividualOutput = 0;
    static constexpr int32_t Type[3] = {1, 20, 1};
    for (std::size_t b = 0; b < 3; ++b) {
        PfmEffectBlock& block = e.PfmEffectBlocks[b];
        block.EffectType = Type[b];
        block.Para = EffectTypeTable[static_cast<std::size_t>(Type[b])][b].DefaultValue;
    }
    e.PfmEQ = PfmEQ{0, 0, 8, 20, 26, 12, 12, 12, 6, 6, 6};
    // The kept trailing levels are the trailing slots' defaults.
    KeepTrailingEffectLevels(e, *this, EffectKeptLevels);
}

void TMainData::InitSystem()
{
    SystemBlock& s = ParameterData.SystemBlock;
    s.ControllerAssign = DefaultControllerAssign;
    s.MstrTune = 64;
    s.MstrNote = 64;
    s.VelCrv = 0;
    s.DumpInterval = 2;
    s.RcvNote = 0;
    s.BCCurve = 0;
    s.KNCtrlMode = 0;
    s.RcvKNCtrl = 1;
    s.TrnKNCtrl = 1;
    s.RcvBankSelect = 1;
    s.RcvPgmChange = 1;
    s.RcvPgmMode = 0;
    s.SystemExtraPairs = {60, 60, 60, 60, 127, 127, 127, 127};
    // MemoryMode describes the instrument, not the data: it stays.
}

void TMainData::InitAllVoices()
{
    for (int v = 0; v < 4; ++v) InitVoice(v);
}

void TMainData::InitVoice(int v)
{
    InitVoiceCommon(v);
    for (int op = 0; op < 8; ++op) {
        InitVoicedOperators(v, op);
        InitUnvoicedOperators(v, op);
    }
    // The initialized voice is sent whole and carries no mutes; the other voices keep theirs.
    OperatorMute.Voiced[static_cast<std::size_t>(v)].fill(0);
    OperatorMute.Unvoiced[static_cast<std::size_t>(v)].fill(0);
}

void TMainData::InitVoiceCommon(int v)
{
    VoiceCommon& c = ParameterData.VoiceRecords[static_cast<std::size_t>(v)].VoiceCommon;
    SetName(c.Name, "Init Voice");
    c.Category = 0;
    c.LFO1Waveform = 0;
    c.LFO1KeySync = 1;
    c.LFO1Speed = 20;
    c.LFO1Delay = c.LFO1PModDepth = c.LFO1AModDepth = c.LFO1FreqModDepth = c.LFO1FltModDepth = 0;
    c.LFO2Waveform = 0;
    c.LFO2KeySync = 1;
    c.LFO2Speed = 20;
    c.LFO2Phase = 0;
    c.LFO2FltModDepth = 0;
    // The filter switch belongs to the part; the voice keeps the part's value.
    c.FilterSw = ParameterData.PfmParts[static_cast<std::size_t>(v)].FilterSw;
    c.FilterInputGain = 12;
    c.FilterType = 0;
    c.FilterCutoffFreq = 85;
    c.FilterResonance = 36;
    c.FilterFreqScaling = 69;
    c.FilterFScaleBP = 60;
    c.FilterResoVelSns = 7;
    c.FilterEGTime1 = c.FilterEGTime2 = c.FilterEGTime3 = 69;
    c.FilterEGTime4 = 0;
    c.FilterEGLv1 = 50;
    c.FilterEGLv2 = c.FilterEGLv3 = 25;
    c.FilterEGLv4 = 50;
    c.FilterEGTimeScaling = 0;
    c.FilterEGDepth = 64;
    c.FilterEGAtkTVelSns = 0;
    c.FilterEGDepthVelSns = 7;
    c.PitchEGLv0 = c.PitchEGLv1 = c.PitchEGLv2 = c.PitchEGLv3 = c.PitchEGLv4 = 50;
    c.PitchEGTime1 = c.PitchEGTime2 = c.PitchEGTime3 = c.PitchEGTime4 = 79;
    c.PitchEGTimeScaling = 0;
    c.PitchEGRange = 0;
    c.PitchEGVelocitySens = 0;
    c.Frmt.fill(VoiceControl{0, 0, 64});
    c.Fm.fill(VoiceControl{0, 0, 64});
    c.Algorithm = 1;
    c.Feedback = 0;
    c.NoteShift = 24;
}

namespace {

// The envelope, frequency envelope, sensitivity and modulation words that voiced and unvoiced
// operators share, with the same initial values.
template <class Operator>
void InitOperatorEnvelopes(Operator& o)
{
    o.EGHold = 99;
    o.EGTime1 = 99;
    o.EGTime2 = o.EGTime3 = 79;
    o.EGTime4 = 99;
    o.EGLv1 = o.EGLv2 = o.EGLv3 = 0;
    o.EGLv4 = 99;
    o.EGTimeScaling = 0;
    o.FrqEGInitLvl = o.FrqEGAtakLvl = 50;
    o.FrqEGAtakTime = o.FrqEGDecayTime = 20;
    o.SnsAmpVel = o.SnsFreqVel = o.SnsAmpEGBias = o.SnsFreqBias = o.SnsWidthBias = 7;
    o.AmpMod = o.PitchMod = o.FreqMod = 0;
}

} // namespace

void TMainData::InitVoicedOperators(int v, int op)
{
    VoicedOperator& o =
        ParameterData.VoiceRecords[static_cast<std::size_t>(v)].VoicedOperators[static_cast<std::size_t>(op)];
    o.FseqSw = 0;
    o.FseqTrk = op;
    o.Form = 0;
    o.FreqMode = 0;
    o.FreqCoarse = 1;
    o.FreqCoarseMax = 31;
    o.FreqFine = 0;
    o.FreqFineMax = 99;
    o.FreqScaling = 0;
    o.Transpose = 24;
    o.Detune = 15;
    o.BandWidth = 20;
    o.Resonance = 20;
    o.Skirt = 0;
    o.OutputLvl = op == 0 ? 99 : 0;
    o.KeySync = 1;
    o.LSBP = 60;
    o.LSLeftDepth = 0;
    o.LSLeftCrv = 3;
    o.LSRightDepth = 0;
    o.LSRightCrv = 0;
    o.OPAtt = 0;
    InitOperatorEnvelopes(o);
}

void TMainData::InitUnvoicedOperators(int v, int op)
{
    UnvoicedOperator& o =
        ParameterData.VoiceRecords[static_cast<std::size_t>(v)].UnvoicedOperators[static_cast<std::size_t>(op)];
    o.FseqSw = 0;
    o.FreqMode = 0;
    o.FreqCoarse = 14;
    o.FreqFine = 0;
    o.SavedFreqCoarse = 0;
    o.SavedFreqFine = 0;
    o.FreqScaling = 0;
    o.Transpose = 24;
    o.BandWidth = 20;
    o.Resonance = 0;
    o.Skirt = 0;
    o.OutputLvl = 0;
    o.LvlScaling = 7;
    InitOperatorEnvelopes(o);
}
