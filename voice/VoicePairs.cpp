// The descriptor tables of the Voice page: the slider pairs and the lists and radio groups that
// only store and send.
#include "voice/VoicePairs.h"

#include "core/DumpLayout.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

using P = VcPair;
using C = VcChoice;
using R = VcRecord;
using G = VcGraph;

// The pair descriptions of the page (the row puts in the stem).
TPairForm Unsigned(const char* caption)
{
    return TPairForm{nullptr, caption, 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10};
}
TPairForm Capped127(const char* caption)
{
    return TPairForm{nullptr, caption, 127, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Capped127, 3, Keys10};
}
TPairForm UpTo7(const char* caption)
{
    return TPairForm{nullptr, caption, 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1};
}
// Signed around `centre` on a slider 0..max, with the exit rule.
TPairForm Signed(const char* caption, int centre, int max, TKeySteps keys = Keys10, int large = 10, int maxLength = 3)
{
    TPairForm s{nullptr, caption, max, large, centre, TValueForm::Signed, centre, TBoxKind::Signed, maxLength, keys};
    s.Exit = true;
    return s;
}
// Signed around 7 on a slider 0..14; a typed value beyond +-7 is written back clamped.
TPairForm PlusMinus7(const char* caption, TKeySteps keys, int large)
{
    TPairForm s{nullptr, caption, 14, large, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, keys};
    s.Exit = true;
    return s;
}
// The vertical envelope sliders: a time, hold or operator level shows 99 minus the position; a
// filter or pitch EG level shows 50 minus the position with a sign.
TPairForm Time(int maxLength = 2)
{
    TPairForm s{nullptr, "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, maxLength, KeysReversed};
    s.Vertical = true;
    return s;
}
TPairForm Level()
{
    TPairForm s{nullptr, "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed};
    s.Exit = true;
    s.Vertical = true;
    return s;
}
// The FSEQ track shows 1..8 on a slider 0..7; the attenuation box shows decibels (written by
// the slider's handler).
const TPairForm Track{nullptr, "FseqTrack", 7, 5, 0, TValueForm::PlusOne, 0, TBoxKind::CappedRewrite, 1, Keys1};
const TPairForm Attenuation{nullptr, "OP Att", 15, 4, 0, TValueForm::Unsigned, 0, TBoxKind::ReadOnly, 5, Keys4};

uint16_t U16(std::size_t v) { return static_cast<uint16_t>(v); }

// A row, and the graph it redraws.
VcPairDescriptor Row(P id, const char* stem, TPairForm pairForm, R record, std::size_t field, G graph = G::None)
{
    pairForm.Name = stem;
    return VcPairDescriptor{id, pairForm, VcWord{record, U16(field), 0}, graph};
}
// A row of the shared operator page: the voiced operator's word and the unvoiced one's.
VcPairDescriptor Shared(P id, const char* stem, TPairForm pairForm, std::size_t voiced, std::size_t unvoiced,
                        G graph = G::None)
{
    VcPairDescriptor d = Row(id, stem, pairForm, R::Operator, voiced, graph);
    d.Word.UField = U16(unvoiced);
    return d;
}
// A list or radio group, named by its stem.
VcChoiceDescriptor Choice(C id, const char* name, R record, std::size_t field)
{
    return VcChoiceDescriptor{id, name, VcWord{record, U16(field), 0}};
}

// The two words of a shared operator row: the voiced and the unvoiced operator's field of that name.
#define BOTH(Field) AT(VoicedOperator, Field), AT(UnvoicedOperator, Field)
// A row's id and its stem, named once.
#define PAIR(Stem) P::Stem, #Stem
#define CHOICE(Stem) C::Stem, #Stem

// A word of formant control set i (0..4), or of FM control set i.
std::size_t Frmt(int i, std::size_t word) { return AT(VoiceCommon, Frmt) + sizeof(VoiceControl) * size_t(i) + word; }
std::size_t Fm(int i, std::size_t word) { return AT(VoiceCommon, Fm) + sizeof(VoiceControl) * size_t(i) + word; }
constexpr std::size_t Operator = AT(VoiceControl, Operator), Parameter = AT(VoiceControl, Parameter),
                      CtlDepth = AT(VoiceControl, CtlDepth);

// Every word a row edits travels in a parameter change.
void CheckSent(const VcWord& word)
{
    for (int t : {0, 8})
        if (const auto at = Locate(word, t); at && !VoiceFieldOf(*at))
            throw std::logic_error("voice row without a parameter change");
}

// The rows as a table indexed by their ids, checked.
template <std::size_t N, class Descriptor>
std::array<Descriptor, N> Indexed(const std::vector<Descriptor>& rows)
{
    if (rows.size() != N) throw std::logic_error("voice table incomplete");
    std::array<Descriptor, N> table{};
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(rows[i].Id) != i) throw std::logic_error("voice table out of order");
        CheckSent(rows[i].Word);
        table[i] = rows[i];
    }
    return table;
}

// clang-format off
std::array<VcPairDescriptor, VcPairCount> MakePairs()
{
    const std::vector<VcPairDescriptor> rows = {
        // ---- LFOs ----
        Row(PAIR(Vc_LFO1Speed), Unsigned("Speed"), R::Common, AT(VoiceCommon, LFO1Speed)),
        Row(PAIR(Vc_LFO1Delay), Unsigned("Delay"), R::Common, AT(VoiceCommon, LFO1Delay)),
        Row(PAIR(Vc_LFO1PModDepth), Unsigned("PMod Depth"), R::Common, AT(VoiceCommon, LFO1PModDepth)),
        Row(PAIR(Vc_LFO1AModDepth), Unsigned("AMod Depth"), R::Common, AT(VoiceCommon, LFO1AModDepth)),
        Row(PAIR(Vc_LFO1FreqModDepth), Unsigned("FreqMod Depth"), R::Common, AT(VoiceCommon, LFO1FreqModDepth)),
        Row(PAIR(Vc_LFO1FltModDepth), Unsigned("FltMod Depth"), R::Common, AT(VoiceCommon, LFO1FltModDepth)),
        Row(PAIR(Vc_LFO2Speed), Capped127("Speed"), R::Common, AT(VoiceCommon, LFO2Speed)),
        Row(PAIR(Vc_LFO2FltModDepth), Unsigned("FltMod Depth"), R::Common, AT(VoiceCommon, LFO2FltModDepth)),

        // ---- filter ----
        Row(PAIR(Vc_FilterInputGain), Signed("Input Gain", 12, 24, Keys2), R::Common, AT(VoiceCommon, FilterInputGain)),
        Row(PAIR(Vc_FilterCutoffFreq), Capped127("Cutoff Freq"), R::Common, AT(VoiceCommon, FilterCutoffFreq)),
        Row(PAIR(Vc_FilterResonance), Signed("Resonance", 16, 116, Keys10, 10, 4), R::Common,
            AT(VoiceCommon, FilterResonance)),
        Row(PAIR(Vc_FilterFreqScaling), Signed("Freq Scaling", 64, 127), R::Common, AT(VoiceCommon, FilterFreqScaling)),
        Row(PAIR(Vc_FilterResoVelSns), PlusMinus7("Reso Vel Sns", Keys1, 2), R::Common,
            AT(VoiceCommon, FilterResoVelSns)),

        // ---- filter EG ----
        Row(PAIR(Vc_FilterEGTime1), Time(), R::Common, AT(VoiceCommon, FilterEGTime1), G::FilterEG),
        Row(PAIR(Vc_FilterEGLv1), Level(), R::Common, AT(VoiceCommon, FilterEGLv1), G::FilterEG),
        Row(PAIR(Vc_FilterEGTime2), Time(), R::Common, AT(VoiceCommon, FilterEGTime2), G::FilterEG),
        Row(PAIR(Vc_FilterEGLv2), Level(), R::Common, AT(VoiceCommon, FilterEGLv2), G::FilterEG),
        Row(PAIR(Vc_FilterEGTime3), Time(), R::Common, AT(VoiceCommon, FilterEGTime3), G::FilterEG),
        Row(PAIR(Vc_FilterEGLv3), Level(), R::Common, AT(VoiceCommon, FilterEGLv3), G::FilterEG),
        Row(PAIR(Vc_FilterEGTime4), Time(), R::Common, AT(VoiceCommon, FilterEGTime4), G::FilterEG),
        Row(PAIR(Vc_FilterEGLv4), Level(), R::Common, AT(VoiceCommon, FilterEGLv4), G::FilterEG),
        Row(PAIR(Vc_FilterEGTimeScaling), UpTo7("EG Time Scaling"), R::Common, AT(VoiceCommon, FilterEGTimeScaling)),
        Row(PAIR(Vc_FilterEGDepth), Signed("EG Depth", 64, 127), R::Common, AT(VoiceCommon, FilterEGDepth),
            G::FilterEG),
        Row(PAIR(Vc_FilterEGAtkTVelSns), UpTo7("EG AtkTimeVelSns"), R::Common, AT(VoiceCommon, FilterEGAtkTVelSns)),
        Row(PAIR(Vc_FilterEGDepthVelSns), PlusMinus7("EG DepthVelSns", Keys1, 1), R::Common,
            AT(VoiceCommon, FilterEGDepthVelSns)),

        // ---- pitch EG ----
        Row(PAIR(Vc_PitchEGLv0), Level(), R::Common, AT(VoiceCommon, PitchEGLv0), G::PitchEG),
        Row(PAIR(Vc_PitchEGTime1), Time(3), R::Common, AT(VoiceCommon, PitchEGTime1), G::PitchEG),
        Row(PAIR(Vc_PitchEGLv1), Level(), R::Common, AT(VoiceCommon, PitchEGLv1), G::PitchEG),
        Row(PAIR(Vc_PitchEGTime2), Time(3), R::Common, AT(VoiceCommon, PitchEGTime2), G::PitchEG),
        Row(PAIR(Vc_PitchEGLv2), Level(), R::Common, AT(VoiceCommon, PitchEGLv2), G::PitchEG),
        Row(PAIR(Vc_PitchEGTime3), Time(3), R::Common, AT(VoiceCommon, PitchEGTime3), G::PitchEG),
        Row(PAIR(Vc_PitchEGLv3), Level(), R::Common, AT(VoiceCommon, PitchEGLv3), G::PitchEG),
        Row(PAIR(Vc_PitchEGTime4), Time(3), R::Common, AT(VoiceCommon, PitchEGTime4), G::PitchEG),
        Row(PAIR(Vc_PitchEGLv4), Level(), R::Common, AT(VoiceCommon, PitchEGLv4), G::PitchEG),
        Row(PAIR(Vc_PitchEGTimeScaling), UpTo7("EG Time Scaling"), R::Common, AT(VoiceCommon, PitchEGTimeScaling)),
        Row(PAIR(Vc_PitchEGVelocitySens), UpTo7("Velocity Sens"), R::Common, AT(VoiceCommon, PitchEGVelocitySens)),

        // ---- control sets, general ----
        Row(PAIR(Vc_Frmt1CtlDepth), Signed("Control Depth", 64, 127), R::Common, Frmt(0, CtlDepth)),
        Row(PAIR(Vc_Frmt2CtlDepth), Signed("Control Depth", 64, 127), R::Common, Frmt(1, CtlDepth)),
        Row(PAIR(Vc_Frmt3CtlDepth), Signed("Control Depth", 64, 127), R::Common, Frmt(2, CtlDepth)),
        Row(PAIR(Vc_Frmt4CtlDepth), Signed("Control Depth", 64, 127), R::Common, Frmt(3, CtlDepth)),
        Row(PAIR(Vc_Frmt5CtlDepth), Signed("Control Depth", 64, 127), R::Common, Frmt(4, CtlDepth)),
        Row(PAIR(Vc_Fm1CtlDepth), Signed("Control Depth", 64, 127), R::Common, Fm(0, CtlDepth)),
        Row(PAIR(Vc_Fm2CtlDepth), Signed("Control Depth", 64, 127), R::Common, Fm(1, CtlDepth)),
        Row(PAIR(Vc_Fm3CtlDepth), Signed("Control Depth", 64, 127), R::Common, Fm(2, CtlDepth)),
        Row(PAIR(Vc_Fm4CtlDepth), Signed("Control Depth", 64, 127), R::Common, Fm(3, CtlDepth)),
        Row(PAIR(Vc_Fm5CtlDepth), Signed("Control Depth", 64, 127), R::Common, Fm(4, CtlDepth)),
        Row(PAIR(Vc_Feedback), UpTo7("Feedback"), R::Common, AT(VoiceCommon, Feedback)),
        Row(PAIR(Vc_NoteShift), Signed("Note Shift", 24, 48, Keys4, 4), R::Common, AT(VoiceCommon, NoteShift)),

        // ---- voiced oscillator ----
        Row(PAIR(Vc_VOpFseqTrk), Track, R::Voiced, AT(VoicedOperator, FseqTrk)),
        Row(PAIR(Vc_VOpFreqScaling), Unsigned("FreqScaling"), R::Voiced, AT(VoicedOperator, FreqScaling)),
        Row(PAIR(Vc_VOpTranspose), Signed("Transpose", 24, 48, Keys4, 4), R::Voiced, AT(VoicedOperator, Transpose)),
        Row(PAIR(Vc_VOpDetune), Signed("Detune", 15, 30, Keys3), R::Voiced, AT(VoicedOperator, Detune)),
        Row(PAIR(Vc_VOpBandWidth), Unsigned("Band Width"), R::Voiced, AT(VoicedOperator, BandWidth)),
        // Resonance has no byte of its own: it travels in band width's byte, which the instrument
        // reads as resonance for the forms res1 and res2.
        Row(PAIR(Vc_VOpResonance), Unsigned("Resonance"), R::Voiced, AT(VoicedOperator, Resonance)),
        Row(PAIR(Vc_VOpSkirt), UpTo7("Skirt"), R::Voiced, AT(VoicedOperator, Skirt)),
        Row(PAIR(Vc_VOpOutputLvl), Unsigned("Output Level"), R::Voiced, AT(VoicedOperator, OutputLvl)),
        Row(PAIR(Vc_VOpLSLeftDepth), Unsigned("LSLeftDepth"), R::Voiced, AT(VoicedOperator, LSLeftDepth)),
        Row(PAIR(Vc_VOpLSRightDepth), Unsigned("LSRightDepth"), R::Voiced, AT(VoicedOperator, LSRightDepth)),
        Row(PAIR(Vc_VOpOPAtt), Attenuation, R::Voiced, AT(VoicedOperator, OPAtt)),

        // ---- unvoiced oscillator ----
        Row(PAIR(Vc_UOpFreqScaling), Unsigned("FreqScaling"), R::Unvoiced, AT(UnvoicedOperator, FreqScaling)),
        Row(PAIR(Vc_UOpTranspose), Signed("Transpose", 24, 48, Keys4, 4), R::Unvoiced, AT(UnvoicedOperator, Transpose)),
        Row(PAIR(Vc_UOpBandWidth), Unsigned("Band Width"), R::Unvoiced, AT(UnvoicedOperator, BandWidth)),
        Row(PAIR(Vc_UOpResonance), UpTo7("Resonance"), R::Unvoiced, AT(UnvoicedOperator, Resonance)),
        Row(PAIR(Vc_UOpSkirt), UpTo7("Skirt"), R::Unvoiced, AT(UnvoicedOperator, Skirt)),
        Row(PAIR(Vc_UOpOutputLvl), Unsigned("Output Level"), R::Unvoiced, AT(UnvoicedOperator, OutputLvl)),
        Row(PAIR(Vc_UOpLvlScaling), PlusMinus7("Level Scaling", Keys2, 2), R::Unvoiced,
            AT(UnvoicedOperator, LvlScaling)),

        // ---- operator EG and frequency EG ----
        Shared(PAIR(Vc_OpEGHold), Time(), BOTH(EGHold), G::OperatorEG),
        Shared(PAIR(Vc_OpEGTime1), Time(), BOTH(EGTime1), G::OperatorEG),
        Shared(PAIR(Vc_OpEGLv1), Time(), BOTH(EGLv1), G::OperatorEG),
        Shared(PAIR(Vc_OpEGTime2), Time(), BOTH(EGTime2), G::OperatorEG),
        Shared(PAIR(Vc_OpEGLv2), Time(), BOTH(EGLv2), G::OperatorEG),
        Shared(PAIR(Vc_OpEGTime3), Time(), BOTH(EGTime3), G::OperatorEG),
        Shared(PAIR(Vc_OpEGLv3), Time(), BOTH(EGLv3), G::OperatorEG),
        Shared(PAIR(Vc_OpEGTime4), Time(), BOTH(EGTime4), G::OperatorEG),
        Shared(PAIR(Vc_OpEGLv4), Time(), BOTH(EGLv4), G::OperatorEG),
        Shared(PAIR(Vc_OpEGTimeScaling), UpTo7("EGTimeScaling"), BOTH(EGTimeScaling)),
        Shared(PAIR(Vc_OpFrqEGInitLvl), Signed("Init Level", 50, 100), BOTH(FrqEGInitLvl), G::FrequencyEG),
        Shared(PAIR(Vc_OpFrqEGAtakLvl), Signed("AttackLevel", 50, 100), BOTH(FrqEGAtakLvl), G::FrequencyEG),
        Shared(PAIR(Vc_OpFrqEGAtakTime), Unsigned("AttackTime"), BOTH(FrqEGAtakTime), G::FrequencyEG),
        Shared(PAIR(Vc_OpFrqEGDecayTime), Unsigned("DecayTime"), BOTH(FrqEGDecayTime), G::FrequencyEG),

        // ---- sensitivities and modulation (an unvoiced width or frequency bias has a byte of its own) ----
        Shared(PAIR(Vc_OpSnsAmpVel), PlusMinus7("AmpVelocity", Keys2, 2), BOTH(SnsAmpVel)),
        Shared(PAIR(Vc_OpSnsFreqVel), PlusMinus7("FreqVelocity", Keys2, 2), BOTH(SnsFreqVel)),
        Shared(PAIR(Vc_OpSnsAmpEGBias), PlusMinus7("AmpEGBias", Keys2, 2), BOTH(SnsAmpEGBias)),
        Shared(PAIR(Vc_OpSnsFreqBias), PlusMinus7("FreqBias", Keys2, 2), BOTH(SnsFreqBias)),
        Shared(PAIR(Vc_OpSnsWidthBias), PlusMinus7("WidthBias", Keys2, 2), BOTH(SnsWidthBias)),
        Shared(PAIR(Vc_OpAmpMod), UpTo7("AmpMod"), BOTH(AmpMod)),
        // The unvoiced operator's pitch modulation is no parameter of the instrument: stored and
        // sent on voiced tabs only (the unvoiced page hides the row).
        Row(PAIR(Vc_OpPitchMod), UpTo7("PitchMod"), R::Voiced, AT(VoicedOperator, PitchMod)),
        Shared(PAIR(Vc_OpFreqMod), UpTo7("FreqMod"), BOTH(FreqMod)),
    };
    return Indexed<VcPairCount>(rows);
}
// clang-format on

// clang-format off
std::array<VcChoiceDescriptor, VcChoiceCount> MakeChoices()
{
    const std::vector<VcChoiceDescriptor> rows = {
        Choice(CHOICE(Vc_Category), R::Common, AT(VoiceCommon, Category)),
        Choice(CHOICE(Vc_LFO1Waveform), R::Common, AT(VoiceCommon, LFO1Waveform)),
        Choice(CHOICE(Vc_LFO1KeySync), R::Common, AT(VoiceCommon, LFO1KeySync)),
        Choice(CHOICE(Vc_LFO2Waveform), R::Common, AT(VoiceCommon, LFO2Waveform)),
        Choice(CHOICE(Vc_LFO2KeySync), R::Common, AT(VoiceCommon, LFO2KeySync)),
        Choice(CHOICE(Vc_LFO2Phase), R::Common, AT(VoiceCommon, LFO2Phase)),
        Choice(CHOICE(Vc_FilterType), R::Common, AT(VoiceCommon, FilterType)),
        Choice(CHOICE(Vc_FilterFScaleBP), R::Common, AT(VoiceCommon, FilterFScaleBP)),
        Choice(CHOICE(Vc_PitchEGRange), R::Common, AT(VoiceCommon, PitchEGRange)),
        // each control set's operator list and parameter buttons, in the order of the sets
        Choice(CHOICE(Vc_Frmt1Operator), R::Common, Frmt(0, Operator)),
        Choice(CHOICE(Vc_Frmt1Parameter), R::Common, Frmt(0, Parameter)),
        Choice(CHOICE(Vc_Frmt2Operator), R::Common, Frmt(1, Operator)),
        Choice(CHOICE(Vc_Frmt2Parameter), R::Common, Frmt(1, Parameter)),
        Choice(CHOICE(Vc_Frmt3Operator), R::Common, Frmt(2, Operator)),
        Choice(CHOICE(Vc_Frmt3Parameter), R::Common, Frmt(2, Parameter)),
        Choice(CHOICE(Vc_Frmt4Operator), R::Common, Frmt(3, Operator)),
        Choice(CHOICE(Vc_Frmt4Parameter), R::Common, Frmt(3, Parameter)),
        Choice(CHOICE(Vc_Frmt5Operator), R::Common, Frmt(4, Operator)),
        Choice(CHOICE(Vc_Frmt5Parameter), R::Common, Frmt(4, Parameter)),
        Choice(CHOICE(Vc_Fm1Operator), R::Common, Fm(0, Operator)),
        Choice(CHOICE(Vc_Fm1Parameter), R::Common, Fm(0, Parameter)),
        Choice(CHOICE(Vc_Fm2Operator), R::Common, Fm(1, Operator)),
        Choice(CHOICE(Vc_Fm2Parameter), R::Common, Fm(1, Parameter)),
        Choice(CHOICE(Vc_Fm3Operator), R::Common, Fm(2, Operator)),
        Choice(CHOICE(Vc_Fm3Parameter), R::Common, Fm(2, Parameter)),
        Choice(CHOICE(Vc_Fm4Operator), R::Common, Fm(3, Operator)),
        Choice(CHOICE(Vc_Fm4Parameter), R::Common, Fm(3, Parameter)),
        Choice(CHOICE(Vc_Fm5Operator), R::Common, Fm(4, Operator)),
        Choice(CHOICE(Vc_Fm5Parameter), R::Common, Fm(4, Parameter)),
        Choice(CHOICE(Vc_VOpKeySync), R::Voiced, AT(VoicedOperator, KeySync)),
        Choice(CHOICE(Vc_VOpLSBP), R::Voiced, AT(VoicedOperator, LSBP)),
        Choice(CHOICE(Vc_VOpLSLeftCrv), R::Voiced, AT(VoicedOperator, LSLeftCrv)),
        Choice(CHOICE(Vc_VOpLSRightCrv), R::Voiced, AT(VoicedOperator, LSRightCrv)),
    };
    return Indexed<VcChoiceCount>(rows);
}
// clang-format on

} // namespace

const std::array<VcPairDescriptor, VcPairCount>& VcPairs()
{
    static const std::array<VcPairDescriptor, VcPairCount> table = MakePairs();
    return table;
}

const std::array<VcChoiceDescriptor, VcChoiceCount>& VcChoices()
{
    static const std::array<VcChoiceDescriptor, VcChoiceCount> table = MakeChoices();
    return table;
}

std::optional<std::size_t> Locate(const VcWord& word, int t)
{
    switch (word.Record) {
    case R::Common: return CommonOffset() + word.Field;
    case R::Voiced:
        if (t >= 0 && t < 8) return VoicedOffset(t) + word.Field;
        break;
    case R::Unvoiced:
        if (t >= 8 && t < 16) return UnvoicedOffset(t - 8) + word.Field;
        break;
    case R::Operator:
        if (t >= 0 && t < 8) return VoicedOffset(t) + word.Field;
        if (t >= 8 && t < 16) return UnvoicedOffset(t - 8) + word.UField;
        break;
    }
    return std::nullopt;
}
