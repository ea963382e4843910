#include "performance/PerformancePairs.h"

#include "core/ParameterData.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using R = PfmRecord;
constexpr TKeySteps Keys500{500, false};

// The shared pair descriptions: a decimal pair, a signed pair (with the exit rule), a read-only box.
TPairForm Unsigned(const char* name, const char* caption, int max = 127, int initial = 0,
                   TBoxKind box = TBoxKind::Capped127, int maxLength = 3, TKeySteps keys = Keys10, int large = 10)
{
    return TPairForm{name, caption, max, large, initial, TValueForm::Unsigned, 0, box, maxLength, keys};
}
TPairForm Signed(const char* name, const char* caption, int centre = 64, int max = 127, TKeySteps keys = Keys10,
                 int large = 10)
{
    TPairForm s{name, caption, max, large, centre, TValueForm::Signed, centre, TBoxKind::Signed, 3, keys};
    s.Exit = true;
    return s;
}
TPairForm ReadOnly(const char* name, const char* caption, int max, int large, int initial = 0, TKeySteps keys = Keys10,
                   int maxLength = 3)
{
    return TPairForm{name, caption, max, large, initial, TValueForm::Unsigned, 0, TBoxKind::ReadOnly, maxLength, keys};
}

// Where the first instance of a record lies in the edit buffer (part 1, controller set 1).
std::size_t RecordAt(R record)
{
    switch (record) {
    case R::Common: return offsetof(TParameterData, PfmCommon);
    case R::Part:
    case R::PartFixed: return offsetof(TParameterData, PfmParts);
    case R::Fseq: return offsetof(TParameterData, PfmFseq);
    case R::ControlSet: return offsetof(TParameterData, PfmControlSets);
    case R::System: return offsetof(TParameterData, SystemBlock);
    case R::EQ: return offsetof(TParameterData, PfmEffect) + offsetof(PfmEffect, PfmEQ);
    case R::EffectSlot: break;
    }
    throw std::logic_error("an effect slot has no fixed place");
}

PfmPairDescriptor Words(PfmPair id, TPairForm pairForm, R record, std::size_t word, int index)
{
    PfmPairDescriptor d{};
    d.Id = id;
    d.PairForm = pairForm;
    d.Record = record;
    d.Word = static_cast<uint16_t>(word);
    d.Index = static_cast<int8_t>(index);
    d.Text = PfmText::Pair;
    d.Route = PfmRoute::None;
    return d;
}

// A pair of a word whose address and conversion are the dump layout's (the word send's).
PfmPairDescriptor Row(PfmPair id, TPairForm pairForm, R record, std::size_t word, int index = 0)
{
    if (!PerformanceFieldOf(RecordAt(record) + word))
        throw std::logic_error(std::string("no parameter change carries ") + pairForm.Name);
    return Words(id, pairForm, record, word, index);
}

// Effect parameter row n (1..18): slot n of the block on the effect tab. Its address, display
// kind, conversion and text follow the block's stored effect type, so the page works them out
// when it uses the row (the dump layout places the slots by the same type table).
PfmPairDescriptor EffectRow(PfmPair id, TPairForm pairForm, int n)
{
    PfmPairDescriptor d =
        Words(id, pairForm, R::EffectSlot, offsetof(PfmEffectBlock, Para) + 4 * static_cast<std::size_t>(n - 1), n);
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

// clang-format off
std::array<PfmPairDescriptor, PfmPairCount> MakeTable()
{
    const PfmPairDescriptor rows[] = {
        // ---- header (PfmCommon) ----
        Row(P::Pfm_Volume, Unsigned("Pfm_Volume", ""), R::Common, AT(PfmCommon, Volume)),
        Route(Row(P::Pfm_ReverbRtn, Unsigned("Pfm_ReverbRtn", ""), R::Common, AT(PfmCommon, ReverbReturn)),
              PfmRoute::ReverbReturn),
        Route(Row(P::Pfm_VariationRtn, Unsigned("Pfm_VariationRtn", ""), R::Common, AT(PfmCommon, VariationReturn)),
              PfmRoute::VariationReturn),
        Row(P::Pfm_Noteshift, Signed("Pfm_Noteshift", "", 24, 48, Keys4), R::Common, AT(PfmCommon, NoteShift)),

        // ---- part page (PfmParts[part tab], 3p 00 AL) ----
        Row(P::Pfm_Part_Volume, Unsigned("Pfm_Part_Volume", "Volume"), R::Part, AT(PfmPart, Volume)),
        Row(P::Pfm_Part_DryLevel, Unsigned("Pfm_Part_DryLevel", "DryLvl"), R::Part, AT(PfmPart, DryLevel)),
        Row(P::Pfm_Part_ReverbSend, Unsigned("Pfm_Part_ReverbSend", "RevSend"), R::Part, AT(PfmPart, ReverbSend)),
        Row(P::Pfm_Part_VariationSend, Unsigned("Pfm_Part_VariationSend", "VarSend"),
            R::Part, AT(PfmPart, VariationSend)),
        Row(P::Pfm_Part_Formant, Signed("Pfm_Part_Formant", "Formant"), R::Part, AT(PfmPart, Formant)),
        Row(P::Pfm_Part_Fm, Signed("Pfm_Part_Fm", "FM"), R::Part, AT(PfmPart, Fm)),
        Row(P::Pfm_Part_VNBalance, Signed("Pfm_Part_VNBalance", "V/N Bal"), R::Part, AT(PfmPart, VNBalance)),
        Row(P::Pfm_Part_LFO1Speed, Signed("Pfm_Part_LFO1Speed", "Speed"), R::Part, AT(PfmPart, LFO1Speed)),
        Row(P::Pfm_Part_LFO1Pmod, Signed("Pfm_Part_LFO1Pmod", "PMod"), R::Part, AT(PfmPart, LFO1Pmod)),
        Row(P::Pfm_Part_LFO1Delay, Signed("Pfm_Part_LFO1Delay", "Delay"), R::Part, AT(PfmPart, LFO1Delay)),
        Row(P::Pfm_Part_FilterFreq, Signed("Pfm_Part_FilterFreq", "Cutoff Freq"), R::Part, AT(PfmPart, FilterFreq)),
        Row(P::Pfm_Part_FilterReso, Signed("Pfm_Part_FilterReso", "Resonance"), R::Part, AT(PfmPart, FilterReso)),
        Row(P::Pfm_Part_FilterEGDepth, Signed("Pfm_Part_FilterEGDepth", "EG Depth"),
            R::Part, AT(PfmPart, FilterEGDepth)),
        Row(P::Pfm_Part_LFO2Speed, Signed("Pfm_Part_LFO2Speed", "LFO2 Speed"), R::Part, AT(PfmPart, LFO2Speed)),
        Row(P::Pfm_Part_LFO2FltMod, Signed("Pfm_Part_LFO2FltMod", "LFO2 Flt Mod"), R::Part, AT(PfmPart, LFO2FltMod)),
        Row(P::Pfm_Part_EGAtkTime, Signed("Pfm_Part_EGAtkTime", "Attack Time"), R::Part, AT(PfmPart, EGAtkTime)),
        Row(P::Pfm_Part_EGDecayTime, Signed("Pfm_Part_EGDecayTime", "Decay Time"), R::Part, AT(PfmPart, EGDecayTime)),
        Row(P::Pfm_Part_EGReleaseTime, Signed("Pfm_Part_EGReleaseTime", "ReleaseTime"),
            R::Part, AT(PfmPart, EGReleaseTime)),
        Row(P::Pfm_Part_PEGInitLvl, Signed("Pfm_Part_PEGInitLvl", "Init Level"), R::Part, AT(PfmPart, PEGInitLvl)),
        Row(P::Pfm_Part_PEGAtkTime, Signed("Pfm_Part_PEGAtkTime", "Attack Time"), R::Part, AT(PfmPart, PEGAtkTime)),
        Row(P::Pfm_Part_PEGRelLvl, Signed("Pfm_Part_PEGRelLvl", "Release Lvl"), R::Part, AT(PfmPart, PEGRelLvl)),
        Row(P::Pfm_Part_PEGRelTime, Signed("Pfm_Part_PEGRelTime", "ReleaseTime"), R::Part, AT(PfmPart, PEGRelTime)),
        Row(P::Pfm_Part_Detune, Signed("Pfm_Part_Detune", "Detune"), R::Part, AT(PfmPart, Detune)),
        Row(P::Pfm_Part_NoteShift, Signed("Pfm_Part_NoteShift", "Note Shift", 24, 48), R::Part, AT(PfmPart, NoteShift)),
        Row(P::Pfm_Part_PBRange, Signed("Pfm_Part_PBRange", "PB Range", 48, 72), R::Part, AT(PfmPart, PBRange)),
        Row(P::Pfm_Part_PBRangeLo, Signed("Pfm_Part_PBRangeLo", "PB Range Lo", 48, 72),
            R::Part, AT(PfmPart, PBRangeLo)),
        Row(P::Pfm_Part_PortaTime, Unsigned("Pfm_Part_PortaTime", "Porta Time"), R::Part, AT(PfmPart, PortaTime)),
        Row(P::Pfm_Part_ReserveNote, Unsigned("Pfm_Part_ReserveNote", "Reserve Note", 32, 0, TBoxKind::ToBarMax, 2, Keys2, 2),
            R::Part, AT(PfmPart, ReserveNote)),
        Min(Row(P::Pfm_Part_VelLimitLow, Unsigned("Pfm_Part_VelLimitLow", "Limit Low", 127, 1, TBoxKind::VelocityLimit),
                R::Part, AT(PfmPart, VelLimitLow)),
            1),
        Min(Row(P::Pfm_Part_VelLimitHigh, Unsigned("Pfm_Part_VelLimitHigh", "Limit High", 127, 127, TBoxKind::VelocityLimit),
                R::Part, AT(PfmPart, VelLimitHigh)),
            1),
        Row(P::Pfm_Part_VelSensDepth, Unsigned("Pfm_Part_VelSensDepth", "Sens Depth", 127, 64), R::Part,
            AT(PfmPart, VelSensDepth)),
        Row(P::Pfm_Part_VelSensOffset, Unsigned("Pfm_Part_VelSensOffset", "Sens Offset", 127, 64), R::Part,
            AT(PfmPart, VelSensOffset)),
        Row(P::Pfm_Part_ExpLimitLo, Unsigned("Pfm_Part_ExpLimitLo", "Limit Lo"), R::Part, AT(PfmPart, ExpLimitLo)),
        Row(P::Pfm_Part_PanScale, Signed("Pfm_Part_PanScale", "Pan Scaling", 50, 100), R::Part, AT(PfmPart, PanScale)),
        Row(P::Pfm_Part_PanMod, Unsigned("Pfm_Part_PanMod", "Pan Mod", 99, 0, TBoxKind::Unsigned, 2), R::Part,
            AT(PfmPart, PanMod)),

        // ---- formant sequence (10 00 AL) ----
        Text(Row(P::Pfm_Fseq_Speed, ReadOnly("Pfm_Fseq_Speed", "%", 4900, 100, 900, Keys500, 5), R::Fseq,
                 AT(PfmFseq, Speed)),
             PfmText::FseqSpeed),
        Row(P::Pfm_Fseq_SpeedVel, Unsigned("Pfm_Fseq_SpeedVel", "Speed Vel", 7, 0, TBoxKind::CappedRewrite, 1, Keys1, 1),
            R::Fseq, AT(PfmFseq, SpeedVel)),
        Row(P::Pfm_Fseq_LevelVel, Signed("Pfm_Fseq_LevelVel", "Level Vel"), R::Fseq, AT(PfmFseq, LevelVel)),
        Row(P::Pfm_Fseq_StartDelay, Unsigned("Pfm_Fseq_StartDelay", "Start Delay", 99, 0, TBoxKind::Unsigned, 2),
            R::Fseq,
            AT(PfmFseq, StartDelay)),
        Row(P::Pfm_Fseq_StartOffset, Unsigned("Pfm_Fseq_StartOffset", "Start Offset", 511, 0, TBoxKind::ToBarMax),
            R::Fseq, AT(PfmFseq, StartOffset)),
        Row(P::Pfm_Fseq_LoopStart, Unsigned("Pfm_Fseq_LoopStart", "Loop Start", 511, 0, TBoxKind::ToBarMax), R::Fseq,
            AT(PfmFseq, LoopStart)),
        Row(P::Pfm_Fseq_LoopEnd, Unsigned("Pfm_Fseq_LoopEnd", "Loop End", 511, 0, TBoxKind::ToBarMax), R::Fseq,
            AT(PfmFseq, LoopEnd)),

        // ---- controller sets (10 00 48+k) and system (00 00 AL) ----
        Row(P::Pfm_Ctrl_Depth1, Signed("Pfm_Ctrl_Depth1", ""), R::ControlSet, AT(PfmControlSet, Depth), 0),
        Row(P::Pfm_Ctrl_Depth2, Signed("Pfm_Ctrl_Depth2", ""), R::ControlSet, AT(PfmControlSet, Depth), 1),
        Row(P::Pfm_Ctrl_Depth3, Signed("Pfm_Ctrl_Depth3", ""), R::ControlSet, AT(PfmControlSet, Depth), 2),
        Row(P::Pfm_Ctrl_Depth4, Signed("Pfm_Ctrl_Depth4", ""), R::ControlSet, AT(PfmControlSet, Depth), 3),
        Row(P::Pfm_Ctrl_Depth5, Signed("Pfm_Ctrl_Depth5", ""), R::ControlSet, AT(PfmControlSet, Depth), 4),
        Row(P::Pfm_Ctrl_Depth6, Signed("Pfm_Ctrl_Depth6", ""), R::ControlSet, AT(PfmControlSet, Depth), 5),
        Row(P::Pfm_Ctrl_Depth7, Signed("Pfm_Ctrl_Depth7", ""), R::ControlSet, AT(PfmControlSet, Depth), 6),
        Row(P::Pfm_Ctrl_Depth8, Signed("Pfm_Ctrl_Depth8", ""), R::ControlSet, AT(PfmControlSet, Depth), 7),
        Row(P::Pfm_SystemMstrTune, Signed("Pfm_SystemMstrTune", "Master Tuning"), R::System, AT(SystemBlock, MstrTune)),
        Row(P::Pfm_SystemMstrNote, Signed("Pfm_SystemMstrNote", "Master NoteShift"),
            R::System, AT(SystemBlock, MstrNote)),

        // ---- effect page: part levels (3p 00 AL, the part by the row) ----
        Route(Row(P::Pfm_Effect_P1DryLvl, Unsigned("Pfm_Effect_P1DryLvl", "DryLvl"),
                  R::PartFixed, AT(PfmPart, DryLevel), 0),
              PfmRoute::DryLevel),
        Route(Row(P::Pfm_Effect_P1RevSend, Unsigned("Pfm_Effect_P1RevSend", "RevSend"), R::PartFixed,
                  AT(PfmPart, ReverbSend), 0),
              PfmRoute::ReverbSend),
        Route(Row(P::Pfm_Effect_P1VarSend, Unsigned("Pfm_Effect_P1VarSend", "VarSend"), R::PartFixed,
                  AT(PfmPart, VariationSend), 0),
              PfmRoute::VariationSend),
        Route(Row(P::Pfm_Effect_P2DryLvl, Unsigned("Pfm_Effect_P2DryLvl", "DryLvl"),
                  R::PartFixed, AT(PfmPart, DryLevel), 1),
              PfmRoute::DryLevel),
        Route(Row(P::Pfm_Effect_P2RevSend, Unsigned("Pfm_Effect_P2RevSend", "RevSend"), R::PartFixed,
                  AT(PfmPart, ReverbSend), 1),
              PfmRoute::ReverbSend),
        Route(Row(P::Pfm_Effect_P2VarSend, Unsigned("Pfm_Effect_P2VarSend", "VarSend"), R::PartFixed,
                  AT(PfmPart, VariationSend), 1),
              PfmRoute::VariationSend),
        Route(Row(P::Pfm_Effect_P3DryLvl, Unsigned("Pfm_Effect_P3DryLvl", "DryLvl"),
                  R::PartFixed, AT(PfmPart, DryLevel), 2),
              PfmRoute::DryLevel),
        Route(Row(P::Pfm_Effect_P3RevSend, Unsigned("Pfm_Effect_P3RevSend", "RevSend"), R::PartFixed,
                  AT(PfmPart, ReverbSend), 2),
              PfmRoute::ReverbSend),
        Route(Row(P::Pfm_Effect_P3VarSend, Unsigned("Pfm_Effect_P3VarSend", "VarSend"), R::PartFixed,
                  AT(PfmPart, VariationSend), 2),
              PfmRoute::VariationSend),
        Route(Row(P::Pfm_Effect_P4DryLvl, Unsigned("Pfm_Effect_P4DryLvl", "DryLvl"),
                  R::PartFixed, AT(PfmPart, DryLevel), 3),
              PfmRoute::DryLevel),
        Route(Row(P::Pfm_Effect_P4RevSend, Unsigned("Pfm_Effect_P4RevSend", "RevSend"), R::PartFixed,
                  AT(PfmPart, ReverbSend), 3),
              PfmRoute::ReverbSend),
        Route(Row(P::Pfm_Effect_P4VarSend, Unsigned("Pfm_Effect_P4VarSend", "VarSend"), R::PartFixed,
                  AT(PfmPart, VariationSend), 3),
              PfmRoute::VariationSend),

        // ---- effect parameter rows: slot n of the block on the effect tab ----
        EffectRow(P::Pfm_Effect_Para1, ReadOnly("Pfm_Effect_Para1", "Parameter 1", 127, 10), 1),
        EffectRow(P::Pfm_Effect_Para2, ReadOnly("Pfm_Effect_Para2", "Parameter 2", 127, 10), 2),
        EffectRow(P::Pfm_Effect_Para3, ReadOnly("Pfm_Effect_Para3", "Parameter 3", 127, 10), 3),
        EffectRow(P::Pfm_Effect_Para4, ReadOnly("Pfm_Effect_Para4", "Parameter 4", 127, 10), 4),
        EffectRow(P::Pfm_Effect_Para5, ReadOnly("Pfm_Effect_Para5", "Parameter 5", 127, 10), 5),
        EffectRow(P::Pfm_Effect_Para6, ReadOnly("Pfm_Effect_Para6", "Parameter 6", 127, 10), 6),
        EffectRow(P::Pfm_Effect_Para7, ReadOnly("Pfm_Effect_Para7", "Parameter 7", 127, 10), 7),
        EffectRow(P::Pfm_Effect_Para8, ReadOnly("Pfm_Effect_Para8", "Parameter 8", 127, 10), 8),
        EffectRow(P::Pfm_Effect_Para9, ReadOnly("Pfm_Effect_Para9", "Parameter 9", 127, 10), 9),
        EffectRow(P::Pfm_Effect_Para10, ReadOnly("Pfm_Effect_Para10", "Parameter 10", 127, 10), 10),
        EffectRow(P::Pfm_Effect_Para11, ReadOnly("Pfm_Effect_Para11", "Parameter 11", 127, 10), 11),
        EffectRow(P::Pfm_Effect_Para12, ReadOnly("Pfm_Effect_Para12", "Parameter 12", 127, 10), 12),
        EffectRow(P::Pfm_Effect_Para13, ReadOnly("Pfm_Effect_Para13", "Parameter 13", 127, 10), 13),
        EffectRow(P::Pfm_Effect_Para14, ReadOnly("Pfm_Effect_Para14", "Parameter 14", 127, 10), 14),
        EffectRow(P::Pfm_Effect_Para15, ReadOnly("Pfm_Effect_Para15", "Parameter 15", 127, 10), 15),
        EffectRow(P::Pfm_Effect_Para16, ReadOnly("Pfm_Effect_Para16", "Parameter 16", 127, 10), 16),
        EffectRow(P::Pfm_Effect_Para17, ReadOnly("Pfm_Effect_Para17", "Parameter 17", 127, 10), 17),
        EffectRow(P::Pfm_Effect_Para18, ReadOnly("Pfm_Effect_Para18", "Parameter 18", 127, 10), 18),

        // ---- EQ (10 01 AL); the frequency rows carry their display kind, which names their texts ----
        Text(Row(P::Pfm_Effect_EQ_LowFreq, ReadOnly("Pfm_Effect_EQ_LowFreq", "Freq", 36, 10),
                 R::EQ, AT(PfmEQ, LowFreq), 5),
             PfmText::EqFrequency),
        Row(P::Pfm_Effect_EQ_LowGain, ReadOnly("Pfm_Effect_EQ_LowGain", "Gain", 24, 4, 12, Keys4),
            R::EQ, AT(PfmEQ, LowGain)),
        Text(Row(P::Pfm_Effect_EQ_LowQ, ReadOnly("Pfm_Effect_EQ_LowQ", "Q", 119, 10), R::EQ, AT(PfmEQ, LowQ)),
             PfmText::EqQ),
        Text(Row(P::Pfm_Effect_EQ_MidFreq, ReadOnly("Pfm_Effect_EQ_MidFreq", "Freq", 40, 4),
                 R::EQ, AT(PfmEQ, MidFreq), 10),
             PfmText::EqFrequency),
        Row(P::Pfm_Effect_EQ_MidGain, ReadOnly("Pfm_Effect_EQ_MidGain", "Gain", 24, 4, 12, Keys4),
            R::EQ, AT(PfmEQ, MidGain)),
        Text(Row(P::Pfm_Effect_EQ_MidQ, ReadOnly("Pfm_Effect_EQ_MidQ", "Q", 119, 10), R::EQ, AT(PfmEQ, MidQ)),
             PfmText::EqQ),
        Text(Row(P::Pfm_Effect_EQ_HighFreq, ReadOnly("Pfm_Effect_EQ_HighFreq", "Freq", 30, 4, 26), R::EQ,
                 AT(PfmEQ, HighFreq), 6),
             PfmText::EqFrequency),
        Row(P::Pfm_Effect_EQ_HighGain, ReadOnly("Pfm_Effect_EQ_HighGain", "Gain", 24, 4, 12, Keys4),
            R::EQ, AT(PfmEQ, HighGain)),
        Text(Row(P::Pfm_Effect_EQ_HighQ, ReadOnly("Pfm_Effect_EQ_HighQ", "Q", 119, 10), R::EQ, AT(PfmEQ, HighQ)),
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

} // namespace

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
