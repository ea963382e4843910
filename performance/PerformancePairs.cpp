#include "performance/PerformancePairs.h"

#include "core/ParameterData.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using R = PfmRecord;
constexpr TKeySteps Keys500{500, false};

// The shared pair descriptions (the row puts in the stem): a decimal pair, a signed pair (with the
// exit rule), a read-only box.
TPairForm Unsigned(const char* caption, int max = 127, int initial = 0, TBoxKind box = TBoxKind::Capped127,
                   int maxLength = 3, TKeySteps keys = Keys10, int large = 10)
{
    return TPairForm{nullptr, caption, max, large, initial, TValueForm::Unsigned, 0, box, maxLength, keys};
}
TPairForm Signed(const char* caption, int centre = 64, int max = 127, TKeySteps keys = Keys10, int large = 10)
{
    TPairForm s{nullptr, caption, max, large, centre, TValueForm::Signed, centre, TBoxKind::Signed, 3, keys};
    s.Exit = true;
    return s;
}
TPairForm ReadOnly(const char* caption, int max, int large, int initial = 0, TKeySteps keys = Keys10, int maxLength = 3)
{
    return TPairForm{nullptr,   caption, max, large, initial, TValueForm::Unsigned, 0, TBoxKind::ReadOnly,
                     maxLength, keys};
}

PfmPairDescriptor Words(PfmPair id, const char* stem, TPairForm pairForm, R record, std::size_t word, int index)
{
    PfmPairDescriptor d{};
    d.Id = id;
    d.PairForm = pairForm;
    d.PairForm.Name = stem;
    d.Record = record;
    d.Word = static_cast<uint16_t>(word);
    d.Index = static_cast<int8_t>(index);
    d.Text = PfmText::Pair;
    d.Route = PfmRoute::None;
    return d;
}

// The word a row edits must travel in a parameter change.
void CheckSent(R record, std::size_t word, const char* stem)
{
    if (!PerformanceFieldOf(RecordAt(record) + word))
        throw std::logic_error(std::string("no parameter change carries ") + stem);
}

// A pair of a word whose address and conversion are the dump layout's (the word send's).
PfmPairDescriptor Row(PfmPair id, const char* stem, TPairForm pairForm, R record, std::size_t word, int index = 0)
{
    CheckSent(record, word, stem);
    return Words(id, stem, pairForm, record, word, index);
}

// Effect parameter row n (1..18): slot n of the block on the effect tab. Its address, display
// kind, conversion and text follow the block's stored effect type, so the page works them out
// when it uses the row (the dump layout places the slots by the same type table).
PfmPairDescriptor EffectRow(PfmPair id, const char* stem, TPairForm pairForm, int n)
{
    PfmPairDescriptor d = Words(id, stem, pairForm, R::EffectSlot,
                                offsetof(PfmEffectBlock, Para) + 4 * static_cast<std::size_t>(n - 1), n);
    d.Text = PfmText::EffectValue;
    return d;
}

PfmPairDescriptor Text(PfmPairDescriptor d, PfmText text)
{
    d.Text = text;
    return d;
}
PfmPairDescriptor Route(PfmPairDescriptor d, PfmRoute route)
{
    d.Route = route;
    return d;
}
PfmPairDescriptor Min(PfmPairDescriptor d, int min)
{
    d.Min = min;
    return d;
}

using P = PfmPair;
using C = PfmChoice;
using F = PfmFollow;
// A row's id and its stem, named once.
#define PAIR(Stem) P::Stem, #Stem
#define CHOICE(Stem) C::Stem, #Stem

// A list or radio group whose item (plus `offset`) is its word.
PfmChoiceDescriptor Choice(C id, const char* name, R record, std::size_t word, int index = 0, F follow = F::None,
                           int offset = 0)
{
    CheckSent(record, word, name);
    return {id,    name, record, static_cast<uint16_t>(word), static_cast<int8_t>(index), static_cast<int8_t>(offset),
            follow};
}

// clang-format off
std::array<PfmPairDescriptor, PfmPairCount> MakeTable()
{
    const PfmPairDescriptor rows[] = {
        // ---- header (PfmCommon) ----
        Row(PAIR(Pfm_Volume), Unsigned(""), R::Common, AT(PfmCommon, Volume)),
        Route(Row(PAIR(Pfm_ReverbRtn), Unsigned(""), R::Common, AT(PfmCommon, ReverbReturn)),
              PfmRoute::ReverbReturn),
        Route(Row(PAIR(Pfm_VariationRtn), Unsigned(""), R::Common, AT(PfmCommon, VariationReturn)),
              PfmRoute::VariationReturn),
        Row(PAIR(Pfm_Noteshift), Signed("", 24, 48, Keys4), R::Common, AT(PfmCommon, NoteShift)),

        // ---- part page (PfmParts[part tab], 3p 00 AL) ----
        Row(PAIR(Pfm_Part_Volume), Unsigned("Volume"), R::Part, AT(PfmPart, Volume)),
        Row(PAIR(Pfm_Part_DryLevel), Unsigned("DryLvl"), R::Part, AT(PfmPart, DryLevel)),
        Row(PAIR(Pfm_Part_ReverbSend), Unsigned("RevSend"), R::Part, AT(PfmPart, ReverbSend)),
        Row(PAIR(Pfm_Part_VariationSend), Unsigned("VarSend"),
            R::Part, AT(PfmPart, VariationSend)),
        Row(PAIR(Pfm_Part_Formant), Signed("Formant"), R::Part, AT(PfmPart, Formant)),
        Row(PAIR(Pfm_Part_Fm), Signed("FM"), R::Part, AT(PfmPart, Fm)),
        Row(PAIR(Pfm_Part_VNBalance), Signed("V/N Bal"), R::Part, AT(PfmPart, VNBalance)),
        Row(PAIR(Pfm_Part_LFO1Speed), Signed("Speed"), R::Part, AT(PfmPart, LFO1Speed)),
        Row(PAIR(Pfm_Part_LFO1Pmod), Signed("PMod"), R::Part, AT(PfmPart, LFO1Pmod)),
        Row(PAIR(Pfm_Part_LFO1Delay), Signed("Delay"), R::Part, AT(PfmPart, LFO1Delay)),
        Row(PAIR(Pfm_Part_FilterFreq), Signed("Cutoff Freq"), R::Part, AT(PfmPart, FilterFreq)),
        Row(PAIR(Pfm_Part_FilterReso), Signed("Resonance"), R::Part, AT(PfmPart, FilterReso)),
        Row(PAIR(Pfm_Part_FilterEGDepth), Signed("EG Depth"),
            R::Part, AT(PfmPart, FilterEGDepth)),
        Row(PAIR(Pfm_Part_LFO2Speed), Signed("LFO2 Speed"), R::Part, AT(PfmPart, LFO2Speed)),
        Row(PAIR(Pfm_Part_LFO2FltMod), Signed("LFO2 Flt Mod"), R::Part, AT(PfmPart, LFO2FltMod)),
        Row(PAIR(Pfm_Part_EGAtkTime), Signed("Attack Time"), R::Part, AT(PfmPart, EGAtkTime)),
        Row(PAIR(Pfm_Part_EGDecayTime), Signed("Decay Time"), R::Part, AT(PfmPart, EGDecayTime)),
        Row(PAIR(Pfm_Part_EGReleaseTime), Signed("ReleaseTime"),
            R::Part, AT(PfmPart, EGReleaseTime)),
        Row(PAIR(Pfm_Part_PEGInitLvl), Signed("Init Level"), R::Part, AT(PfmPart, PEGInitLvl)),
        Row(PAIR(Pfm_Part_PEGAtkTime), Signed("Attack Time"), R::Part, AT(PfmPart, PEGAtkTime)),
        Row(PAIR(Pfm_Part_PEGRelLvl), Signed("Release Lvl"), R::Part, AT(PfmPart, PEGRelLvl)),
        Row(PAIR(Pfm_Part_PEGRelTime), Signed("ReleaseTime"), R::Part, AT(PfmPart, PEGRelTime)),
        Row(PAIR(Pfm_Part_Detune), Signed("Detune"), R::Part, AT(PfmPart, Detune)),
        Row(PAIR(Pfm_Part_NoteShift), Signed("Note Shift", 24, 48), R::Part, AT(PfmPart, NoteShift)),
        Row(PAIR(Pfm_Part_PBRange), Signed("PB Range", 48, 72), R::Part, AT(PfmPart, PBRange)),
        Row(PAIR(Pfm_Part_PBRangeLo), Signed("PB Range Lo", 48, 72),
            R::Part, AT(PfmPart, PBRangeLo)),
        Row(PAIR(Pfm_Part_PortaTime), Unsigned("Porta Time"), R::Part, AT(PfmPart, PortaTime)),
        Row(PAIR(Pfm_Part_ReserveNote), Unsigned("Reserve Note", 32, 0, TBoxKind::ToBarMax, 2, Keys2, 2),
            R::Part, AT(PfmPart, ReserveNote)),
        Min(Row(PAIR(Pfm_Part_VelLimitLow), Unsigned("Limit Low", 127, 1, TBoxKind::VelocityLimit),
                R::Part, AT(PfmPart, VelLimitLow)),
            1),
        Min(Row(PAIR(Pfm_Part_VelLimitHigh), Unsigned("Limit High", 127, 127, TBoxKind::VelocityLimit),
                R::Part, AT(PfmPart, VelLimitHigh)),
            1),
        Row(PAIR(Pfm_Part_VelSensDepth), Unsigned("Sens Depth", 127, 64), R::Part,
            AT(PfmPart, VelSensDepth)),
        Row(PAIR(Pfm_Part_VelSensOffset), Unsigned("Sens Offset", 127, 64), R::Part,
            AT(PfmPart, VelSensOffset)),
        Row(PAIR(Pfm_Part_ExpLimitLo), Unsigned("Limit Lo"), R::Part, AT(PfmPart, ExpLimitLo)),
        Row(PAIR(Pfm_Part_PanScale), Signed("Pan Scaling", 50, 100), R::Part, AT(PfmPart, PanScale)),
        Row(PAIR(Pfm_Part_PanMod), Unsigned("Pan Mod", 99, 0, TBoxKind::Unsigned, 2), R::Part,
            AT(PfmPart, PanMod)),

        // ---- formant sequence (10 00 AL) ----
        Text(Row(PAIR(Pfm_Fseq_Speed), ReadOnly("%", 4900, 100, 900, Keys500, 5), R::Fseq,
                 AT(PfmFseq, Speed)),
             PfmText::FseqSpeed),
        Row(PAIR(Pfm_Fseq_SpeedVel), Unsigned("Speed Vel", 7, 0, TBoxKind::CappedRewrite, 1, Keys1, 1),
            R::Fseq, AT(PfmFseq, SpeedVel)),
        Row(PAIR(Pfm_Fseq_LevelVel), Signed("Level Vel"), R::Fseq, AT(PfmFseq, LevelVel)),
        Row(PAIR(Pfm_Fseq_StartDelay), Unsigned("Start Delay", 99, 0, TBoxKind::Unsigned, 2),
            R::Fseq,
            AT(PfmFseq, StartDelay)),
        Row(PAIR(Pfm_Fseq_StartOffset), Unsigned("Start Offset", 511, 0, TBoxKind::ToBarMax),
            R::Fseq, AT(PfmFseq, StartOffset)),
        Row(PAIR(Pfm_Fseq_LoopStart), Unsigned("Loop Start", 511, 0, TBoxKind::ToBarMax), R::Fseq,
            AT(PfmFseq, LoopStart)),
        Row(PAIR(Pfm_Fseq_LoopEnd), Unsigned("Loop End", 511, 0, TBoxKind::ToBarMax), R::Fseq,
            AT(PfmFseq, LoopEnd)),

        // ---- controller sets (10 00 48+k) and system (00 00 AL) ----
        Row(PAIR(Pfm_Ctrl_Depth1), Signed(""), R::ControlSet, AT(PfmControlSet, Depth), 0),
        Row(PAIR(Pfm_Ctrl_Depth2), Signed(""), R::ControlSet, AT(PfmControlSet, Depth), 1),
        Row(PAIR(Pfm_Ctrl_Depth3), Signed(""), R::ControlSet, AT(PfmControlSet, Depth), 2),
        Row(PAIR(Pfm_Ctrl_Depth4), Signed(""), R::ControlSet, AT(PfmControlSet, Depth), 3),
        Row(PAIR(Pfm_Ctrl_Depth5), Signed(""), R::ControlSet, AT(PfmControlSet, Depth), 4),
        Row(PAIR(Pfm_Ctrl_Depth6), Signed(""), R::ControlSet, AT(PfmControlSet, Depth), 5),
        Row(PAIR(Pfm_Ctrl_Depth7), Signed(""), R::ControlSet, AT(PfmControlSet, Depth), 6),
        Row(PAIR(Pfm_Ctrl_Depth8), Signed(""), R::ControlSet, AT(PfmControlSet, Depth), 7),
        Row(PAIR(Pfm_SystemMstrTune), Signed("Master Tuning"), R::System, AT(SystemBlock, MstrTune)),
        Row(PAIR(Pfm_SystemMstrNote), Signed("Master NoteShift"),
            R::System, AT(SystemBlock, MstrNote)),

        // ---- effect page: part levels (3p 00 AL, the part by the row) ----
        Route(Row(PAIR(Pfm_Effect_P1DryLvl), Unsigned("DryLvl"),
                  R::PartFixed, AT(PfmPart, DryLevel), 0),
              PfmRoute::DryLevel),
        Route(Row(PAIR(Pfm_Effect_P1RevSend), Unsigned("RevSend"), R::PartFixed,
                  AT(PfmPart, ReverbSend), 0),
              PfmRoute::ReverbSend),
        Route(Row(PAIR(Pfm_Effect_P1VarSend), Unsigned("VarSend"), R::PartFixed,
                  AT(PfmPart, VariationSend), 0),
              PfmRoute::VariationSend),
        Route(Row(PAIR(Pfm_Effect_P2DryLvl), Unsigned("DryLvl"),
                  R::PartFixed, AT(PfmPart, DryLevel), 1),
              PfmRoute::DryLevel),
        Route(Row(PAIR(Pfm_Effect_P2RevSend), Unsigned("RevSend"), R::PartFixed,
                  AT(PfmPart, ReverbSend), 1),
              PfmRoute::ReverbSend),
        Route(Row(PAIR(Pfm_Effect_P2VarSend), Unsigned("VarSend"), R::PartFixed,
                  AT(PfmPart, VariationSend), 1),
              PfmRoute::VariationSend),
        Route(Row(PAIR(Pfm_Effect_P3DryLvl), Unsigned("DryLvl"),
                  R::PartFixed, AT(PfmPart, DryLevel), 2),
              PfmRoute::DryLevel),
        Route(Row(PAIR(Pfm_Effect_P3RevSend), Unsigned("RevSend"), R::PartFixed,
                  AT(PfmPart, ReverbSend), 2),
              PfmRoute::ReverbSend),
        Route(Row(PAIR(Pfm_Effect_P3VarSend), Unsigned("VarSend"), R::PartFixed,
                  AT(PfmPart, VariationSend), 2),
              PfmRoute::VariationSend),
        Route(Row(PAIR(Pfm_Effect_P4DryLvl), Unsigned("DryLvl"),
                  R::PartFixed, AT(PfmPart, DryLevel), 3),
              PfmRoute::DryLevel),
        Route(Row(PAIR(Pfm_Effect_P4RevSend), Unsigned("RevSend"), R::PartFixed,
                  AT(PfmPart, ReverbSend), 3),
              PfmRoute::ReverbSend),
        Route(Row(PAIR(Pfm_Effect_P4VarSend), Unsigned("VarSend"), R::PartFixed,
                  AT(PfmPart, VariationSend), 3),
              PfmRoute::VariationSend),

        // ---- effect parameter rows: slot n of the block on the effect tab ----
        EffectRow(PAIR(Pfm_Effect_Para1), ReadOnly("Parameter 1", 127, 10), 1),
        EffectRow(PAIR(Pfm_Effect_Para2), ReadOnly("Parameter 2", 127, 10), 2),
        EffectRow(PAIR(Pfm_Effect_Para3), ReadOnly("Parameter 3", 127, 10), 3),
        EffectRow(PAIR(Pfm_Effect_Para4), ReadOnly("Parameter 4", 127, 10), 4),
        EffectRow(PAIR(Pfm_Effect_Para5), ReadOnly("Parameter 5", 127, 10), 5),
        EffectRow(PAIR(Pfm_Effect_Para6), ReadOnly("Parameter 6", 127, 10), 6),
        EffectRow(PAIR(Pfm_Effect_Para7), ReadOnly("Parameter 7", 127, 10), 7),
        EffectRow(PAIR(Pfm_Effect_Para8), ReadOnly("Parameter 8", 127, 10), 8),
        EffectRow(PAIR(Pfm_Effect_Para9), ReadOnly("Parameter 9", 127, 10), 9),
        EffectRow(PAIR(Pfm_Effect_Para10), ReadOnly("Parameter 10", 127, 10), 10),
        EffectRow(PAIR(Pfm_Effect_Para11), ReadOnly("Parameter 11", 127, 10), 11),
        EffectRow(PAIR(Pfm_Effect_Para12), ReadOnly("Parameter 12", 127, 10), 12),
        EffectRow(PAIR(Pfm_Effect_Para13), ReadOnly("Parameter 13", 127, 10), 13),
        EffectRow(PAIR(Pfm_Effect_Para14), ReadOnly("Parameter 14", 127, 10), 14),
        EffectRow(PAIR(Pfm_Effect_Para15), ReadOnly("Parameter 15", 127, 10), 15),
        EffectRow(PAIR(Pfm_Effect_Para16), ReadOnly("Parameter 16", 127, 10), 16),
        EffectRow(PAIR(Pfm_Effect_Para17), ReadOnly("Parameter 17", 127, 10), 17),
        EffectRow(PAIR(Pfm_Effect_Para18), ReadOnly("Parameter 18", 127, 10), 18),

        // ---- EQ (10 01 AL); the frequency rows carry their display kind, which names their texts ----
        Text(Row(PAIR(Pfm_Effect_EQ_LowFreq), ReadOnly("Freq", 36, 10),
                 R::EQ, AT(PfmEQ, LowFreq), 5),
             PfmText::EqFrequency),
        Row(PAIR(Pfm_Effect_EQ_LowGain), ReadOnly("Gain", 24, 4, 12, Keys4),
            R::EQ, AT(PfmEQ, LowGain)),
        Text(Row(PAIR(Pfm_Effect_EQ_LowQ), ReadOnly("Q", 119, 10), R::EQ, AT(PfmEQ, LowQ)),
             PfmText::EqQ),
        Text(Row(PAIR(Pfm_Effect_EQ_MidFreq), ReadOnly("Freq", 40, 4),
                 R::EQ, AT(PfmEQ, MidFreq), 10),
             PfmText::EqFrequency),
        Row(PAIR(Pfm_Effect_EQ_MidGain), ReadOnly("Gain", 24, 4, 12, Keys4),
            R::EQ, AT(PfmEQ, MidGain)),
        Text(Row(PAIR(Pfm_Effect_EQ_MidQ), ReadOnly("Q", 119, 10), R::EQ, AT(PfmEQ, MidQ)),
             PfmText::EqQ),
        Text(Row(PAIR(Pfm_Effect_EQ_HighFreq), ReadOnly("Freq", 30, 4, 26), R::EQ,
                 AT(PfmEQ, HighFreq), 6),
             PfmText::EqFrequency),
        Row(PAIR(Pfm_Effect_EQ_HighGain), ReadOnly("Gain", 24, 4, 12, Keys4),
            R::EQ, AT(PfmEQ, HighGain)),
        Text(Row(PAIR(Pfm_Effect_EQ_HighQ), ReadOnly("Q", 119, 10), R::EQ, AT(PfmEQ, HighQ)),
             PfmText::EqQ),
    };
    static_assert(std::size(rows) == PfmPairCount, "one row per pair");

    std::array<PfmPairDescriptor, PfmPairCount> table{};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (static_cast<std::size_t>(rows[i].Id) != i) throw std::logic_error("pair table out of order");
        table[i] = rows[i];
    }
    // The EQ gains show signed around 12 dB.
    for (PfmPair g : {P::Pfm_Effect_EQ_LowGain, P::Pfm_Effect_EQ_MidGain, P::Pfm_Effect_EQ_HighGain}) {
        TPairForm& s = table[static_cast<std::size_t>(g)].PairForm;
        s.Form = TValueForm::Signed;
        s.Centre = 12;
    }
    return table;
}
// clang-format on

// clang-format off
std::array<PfmChoiceDescriptor, PfmChoiceCount> MakeChoices()
{
    const std::size_t Assign = AT(SystemBlock, ControllerAssign);
    const PfmChoiceDescriptor rows[] = {
        // ---- header ----
        Choice(CHOICE(Pfm_Category), R::Common, AT(PfmCommon, Category)),
        Choice(CHOICE(Pfm_Ch), R::Common, AT(PfmCommon, ControlChannel)),
        // ---- part page ----
        Choice(CHOICE(Pfm_Part_InsEffectSw), R::Part, AT(PfmPart, InsEffectSw), 0, F::PartSendRows),
        Choice(CHOICE(Pfm_Part_PortaSw), R::Part, AT(PfmPart, PortaSw), 0, F::Portamento),
        Choice(CHOICE(Pfm_Part_PortaMode), R::Part, AT(PfmPart, PortaMode)),
        Choice(CHOICE(Pfm_Part_MonoPoly), R::Part, AT(PfmPart, MonoPoly), 0, F::MonoPriority),
        Choice(CHOICE(Pfm_Part_MonoPriority), R::Part, AT(PfmPart, MonoPriority)),
        Choice(CHOICE(Pfm_Part_SustainRcvSw), R::Part, AT(PfmPart, SustainRcvSw)),
        // the two note limits are independent: a low one above the high one goes out as chosen
        Choice(CHOICE(Pfm_Part_NoteLimitLow), R::Part, AT(PfmPart, NoteLimitLow)),
        Choice(CHOICE(Pfm_Part_NoteLimitHigh), R::Part, AT(PfmPart, NoteLimitHigh)),
        // ---- formant sequence: the mode's items are scratch and fseq, its word 1 and 2 ----
        Choice(CHOICE(Pfm_Fseq_Part), R::Fseq, AT(PfmFseq, Part)),
        Choice(CHOICE(Pfm_Fseq_Mode), R::Fseq, AT(PfmFseq, Mode), 0, F::FseqMode, 1),
        Choice(CHOICE(Pfm_Fseq_KeyOnTrig), R::Fseq, AT(PfmFseq, KeyOnTrig)),
        Choice(CHOICE(Pfm_Fseq_Speedmidi), R::Fseq, AT(PfmFseq, Speedmidi)),
        Choice(CHOICE(Pfm_Fseq_Pitch), R::Fseq, AT(PfmFseq, Pitch)),
        Choice(CHOICE(Pfm_Fseq_LoopMode), R::Fseq, AT(PfmFseq, LoopMode)),
        // ---- controller sets' destinations, the assignments KN1 .. FM, the system ----
        Choice(CHOICE(Pfm_Ctrl_Dest1), R::ControlSet, AT(PfmControlSet, Destination), 0, F::ControlSet),
        Choice(CHOICE(Pfm_Ctrl_Dest2), R::ControlSet, AT(PfmControlSet, Destination), 1, F::ControlSet),
        Choice(CHOICE(Pfm_Ctrl_Dest3), R::ControlSet, AT(PfmControlSet, Destination), 2, F::ControlSet),
        Choice(CHOICE(Pfm_Ctrl_Dest4), R::ControlSet, AT(PfmControlSet, Destination), 3, F::ControlSet),
        Choice(CHOICE(Pfm_Ctrl_Dest5), R::ControlSet, AT(PfmControlSet, Destination), 4, F::ControlSet),
        Choice(CHOICE(Pfm_Ctrl_Dest6), R::ControlSet, AT(PfmControlSet, Destination), 5, F::ControlSet),
        Choice(CHOICE(Pfm_Ctrl_Dest7), R::ControlSet, AT(PfmControlSet, Destination), 6, F::ControlSet),
        Choice(CHOICE(Pfm_Ctrl_Dest8), R::ControlSet, AT(PfmControlSet, Destination), 7, F::ControlSet),
        Choice(CHOICE(Pfm_Cntl_AssignKN1), R::System, Assign + 4 * 0),
        Choice(CHOICE(Pfm_Cntl_AssignKN2), R::System, Assign + 4 * 1),
        Choice(CHOICE(Pfm_Cntl_AssignKN3), R::System, Assign + 4 * 2),
        Choice(CHOICE(Pfm_Cntl_AssignKN4), R::System, Assign + 4 * 3),
        Choice(CHOICE(Pfm_Cntl_AssignMC1), R::System, Assign + 4 * 4),
        Choice(CHOICE(Pfm_Cntl_AssignMC2), R::System, Assign + 4 * 5),
        Choice(CHOICE(Pfm_Cntl_AssignMC3), R::System, Assign + 4 * 6),
        Choice(CHOICE(Pfm_Cntl_AssignMC4), R::System, Assign + 4 * 7),
        Choice(CHOICE(Pfm_Cntl_AssignFC), R::System, Assign + 4 * 8),
        Choice(CHOICE(Pfm_Cntl_AssignBC), R::System, Assign + 4 * 9),
        Choice(CHOICE(Pfm_Cntl_AssignFrm), R::System, Assign + 4 * 10),
        Choice(CHOICE(Pfm_Cntl_AssignFM), R::System, Assign + 4 * 11),
        Choice(CHOICE(Pfm_SystemVelCrv), R::System, AT(SystemBlock, VelCrv)),
        Choice(CHOICE(Pfm_SystemDumpInterval), R::System, AT(SystemBlock, DumpInterval)),
        Choice(CHOICE(Pfm_SystemRcvNote), R::System, AT(SystemBlock, RcvNote)),
        Choice(CHOICE(Pfm_SystemBCCurve), R::System, AT(SystemBlock, BCCurve)),
        Choice(CHOICE(Pfm_SystemKNCtrlMode), R::System, AT(SystemBlock, KNCtrlMode)),
        Choice(CHOICE(Pfm_SystemRcvKNCtrl), R::System, AT(SystemBlock, RcvKNCtrl)),
        Choice(CHOICE(Pfm_SystemTrnKNCtrl), R::System, AT(SystemBlock, TrnKNCtrl)),
        Choice(CHOICE(Pfm_SystemRcvBankSelect), R::System, AT(SystemBlock, RcvBankSelect)),
        Choice(CHOICE(Pfm_SystemRcvPgmChange), R::System, AT(SystemBlock, RcvPgmChange), 0, F::BankSelect),
        Choice(CHOICE(Pfm_SystemRcvPgmMode), R::System, AT(SystemBlock, RcvPgmMode)),
        // ---- effect page: the parts' insertion switches (the part by the row), output, EQ shapes ----
        Choice(CHOICE(Pfm_Effect_P1InsSw), R::PartFixed, AT(PfmPart, InsEffectSw), 0, F::PartRouting),
        Choice(CHOICE(Pfm_Effect_P2InsSw), R::PartFixed, AT(PfmPart, InsEffectSw), 1, F::PartRouting),
        Choice(CHOICE(Pfm_Effect_P3InsSw), R::PartFixed, AT(PfmPart, InsEffectSw), 2, F::PartRouting),
        Choice(CHOICE(Pfm_Effect_P4InsSw), R::PartFixed, AT(PfmPart, InsEffectSw), 3, F::PartRouting),
        Choice(CHOICE(Pfm_Effect_IndividualOutput), R::Effect, AT(PfmEffect, IndividualOutput), 0, F::IndividualOutput),
        Choice(CHOICE(Pfm_Effect_EQ_LowShape), R::EQ, AT(PfmEQ, LowShape), 0, F::EqShape),
        Choice(CHOICE(Pfm_Effect_EQ_HighShape), R::EQ, AT(PfmEQ, HighShape), 0, F::EqShape),
    };
    static_assert(std::size(rows) == PfmChoiceCount, "one row per choice");
    std::array<PfmChoiceDescriptor, PfmChoiceCount> table{};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (static_cast<std::size_t>(rows[i].Id) != i) throw std::logic_error("choice table out of order");
        table[i] = rows[i];
    }
    return table;
}
// clang-format on

} // namespace

std::size_t RecordAt(PfmRecord record)
{
    switch (record) {
    case R::Common: return AT(TParameterData, PfmCommon);
    case R::Part:
    case R::PartFixed: return AT(TParameterData, PfmParts);
    case R::Fseq: return AT(TParameterData, PfmFseq);
    case R::ControlSet: return AT(TParameterData, PfmControlSets);
    case R::System: return AT(TParameterData, SystemBlock);
    case R::EQ: return AT(TParameterData, PfmEffect) + AT(PfmEffect, PfmEQ);
    case R::Effect: return AT(TParameterData, PfmEffect);
    case R::EffectSlot: break;
    }
    throw std::logic_error("an effect slot has no fixed place");
}

const std::array<PfmChoiceDescriptor, PfmChoiceCount>& PfmChoices()
{
    static const std::array<PfmChoiceDescriptor, PfmChoiceCount> table = MakeChoices();
    return table;
}

const std::array<PfmPairDescriptor, PfmPairCount>& PfmPairs()
{
    static const std::array<PfmPairDescriptor, PfmPairCount> table = MakeTable();
    return table;
}

std::string Tenths(int tenths)
{
    const int whole = tenths / 10, tenth = tenths % 10;
    std::string s = tenths < 0 && whole == 0 ? "-" : "";
    s += IntToStr(whole);
    s += '.';
    s += IntToStr(tenth < 0 ? -tenth : tenth);
    return s;
}
