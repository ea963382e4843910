// The controls of the part sheet (see PerformanceLayout.cpp).
#include "performance/PerformanceLayout.h"
#include "performance/PerformancePage.h"

#include <string>

using namespace pfm_layout;

void TPerformancePage::CreatePartPage()
{
    using P = PfmPair;
    TComponent* o = FOwner;
    Pfm_PartTab = Make<TTabControl>(o, Pfm_Part_TabSheet, "Pfm_PartTab", 0, 0, SheetWidth - 8, SubSheetHeight);
    Pfm_PartTab->Tabs = {"Part1", "Part2", "Part3", "Part4"};
    Pfm_PartTab->SetTabIndex(0);
    constexpr int Top = 28, Col = 226;
    const int x1 = 6, x2 = x1 + Col + 4, x3 = x2 + Col + 4, x4 = x3 + Col + 4;

    // Column 1: voice, channels, levels; pitch below.
    Pfm_Part_Parameter_Grp = Group(o, Pfm_PartTab, "Pfm_Part_Parameter_Grp", "Part Parameter", x1, Top, Col, 242);
    TGroupBox* g = Pfm_Part_Parameter_Grp;
    Pfm_Part_BankNumText = CreateLabel(o, g, "Pfm_Part_BankNumText", "Bank", 8, 20);
    Pfm_Part_BankNum =
        Combo(o, g, "Pfm_Part_BankNum",
              {"off", "Int", "PrA", "PrB", "PrC", "PrD", "PrE", "PrF", "PrG", "PrH", "PrI", "PrJ", "PrK"}, 56, 17, 60);
    Pfm_Part_PrgNumText = CreateLabel(o, g, "Pfm_Part_PrgNumText", "Program", 8, 43);
    Pfm_Part_PrgNum = Combo(o, g, "Pfm_Part_PrgNum", {}, 56, 40, 162);
    Items rcv = Numbered(1, 16, true);
    rcv.insert(rcv.end(), {"pfm", "off"});
    Pfm_Part_RcvChText = CreateLabel(o, g, "Pfm_Part_RcvChText", "Rcv Ch", 8, 66);
    Pfm_Part_RcvCh = Combo(o, g, "Pfm_Part_RcvCh", rcv, 56, 63, 56);
    Pfm_Part_RcvChMaxText = CreateLabel(o, g, "Pfm_Part_RcvChMaxText", "Max", 124, 66);
    Pfm_Part_RcvChMax = Combo(o, g, "Pfm_Part_RcvChMax", Numbered(1, 16, true), 162, 63, 56);
    CreatePair(P::Pfm_Part_Volume, g, Place(8, 87, 48, 118));
    GroupBox1 = Group(o, g, "GroupBox1", "Part Effect Parameter", 6, 112, 214, 124);
    Pfm_Part_InsEffectSw = Radio(o, GroupBox1, "Pfm_Part_InsEffectSw", "InsSw", {"off", "on"}, 2, 6, 15, 120, 36, 0);
    CreatePair(P::Pfm_Part_DryLevel, GroupBox1, Place(6, 53, 50, 110));
    CreatePair(P::Pfm_Part_ReverbSend, GroupBox1, Place(6, 53 + Pitch, 50, 110));
    CreatePair(P::Pfm_Part_VariationSend, GroupBox1, Place(6, 53 + 2 * Pitch, 50, 110));

    Pfm_Part_PitchGrp = Group(o, Pfm_PartTab, "Pfm_Part_PitchGrp", "Pitch", x1, Top + 246, Col, 196);
    g = Pfm_Part_PitchGrp;
    const P pitchRows[] = {P::Pfm_Part_Detune, P::Pfm_Part_NoteShift, P::Pfm_Part_PBRange, P::Pfm_Part_PBRangeLo};
    for (int i = 0; i < 4; ++i) CreatePair(pitchRows[i], g, Place(8, 17 + i * Pitch, 72, 100));
    Pfm_Part_PortaSw = Radio(o, g, "Pfm_Part_PortaSw", "Portament Sw", {"off", "on"}, 1, 8, 109, 96, 56, 0);
    Pfm_Part_PortaMode =
        Radio(o, g, "Pfm_Part_PortaMode", "Portament Mode", {"fingerd", "fulltime"}, 1, 108, 109, 110, 56, 0);
    CreatePair(P::Pfm_Part_PortaTime, g, Place(8, 169, 72, 100));

    // Column 2: tone offsets.
    Pfm_Part_ToneGrp = Group(o, Pfm_PartTab, "Pfm_Part_ToneGrp", "Tone", x2, Top, Col, 372);
    g = Pfm_Part_ToneGrp;
    Pfm_Part_ToneParaGrp = Group(o, g, "Pfm_Part_ToneParaGrp", "Tone Parameter", 6, 16, 214, 88);
    Pfm_Part_LFO1Grp = Group(o, g, "Pfm_Part_LFO1Grp", "LFO1", 6, 106, 214, 88);
    const P toneRows[] = {P::Pfm_Part_Formant, P::Pfm_Part_Fm, P::Pfm_Part_VNBalance};
    const P lfoRows[] = {P::Pfm_Part_LFO1Speed, P::Pfm_Part_LFO1Pmod, P::Pfm_Part_LFO1Delay};
    for (int i = 0; i < 3; ++i) {
        CreatePair(toneRows[i], Pfm_Part_ToneParaGrp, Place(6, 16 + i * Pitch, 62, 102));
        CreatePair(lfoRows[i], Pfm_Part_LFO1Grp, Place(6, 16 + i * Pitch, 62, 102));
    }
    Pfm_Part_Filter_Grp = Group(o, g, "Pfm_Part_Filter_Grp", "Filter", 6, 196, 214, 171);
    Pfm_Part_FilterSw =
        Radio(o, Pfm_Part_Filter_Grp, "Pfm_Part_FilterSw", "Filter Switch", {"off", "on"}, 2, 6, 14, 202, 36, 0);
    const P filterRows[] = {P::Pfm_Part_FilterFreq, P::Pfm_Part_FilterReso, P::Pfm_Part_FilterEGDepth,
                            P::Pfm_Part_LFO2Speed, P::Pfm_Part_LFO2FltMod};
    for (int i = 0; i < 5; ++i) CreatePair(filterRows[i], Pfm_Part_Filter_Grp, Place(6, 52 + i * Pitch, 72, 92));

    // Columns 3 and 4: envelopes on top, the other settings below across both.
    Pfm_Part_EGGrp = Group(o, Pfm_PartTab, "Pfm_Part_EGGrp", "EG", x3, Top, Col, 88);
    const P egRows[] = {P::Pfm_Part_EGAtkTime, P::Pfm_Part_EGDecayTime, P::Pfm_Part_EGReleaseTime};
    for (int i = 0; i < 3; ++i) CreatePair(egRows[i], Pfm_Part_EGGrp, Place(8, 17 + i * Pitch, 72, 100));
    Pfm_Part_PEGGrp = Group(o, Pfm_PartTab, "Pfm_Part_PEGGrp", "PEG", x4, Top, Col, 111);
    const P pegRows[] = {P::Pfm_Part_PEGInitLvl, P::Pfm_Part_PEGAtkTime, P::Pfm_Part_PEGRelLvl, P::Pfm_Part_PEGRelTime};
    for (int i = 0; i < 4; ++i) CreatePair(pegRows[i], Pfm_Part_PEGGrp, Place(8, 17 + i * Pitch, 72, 100));

    Pfm_Part_OtherGrp = Group(o, Pfm_PartTab, "Pfm_Part_OtherGrp", "Other", x3, Top + 115, 2 * Col + 4, 278);
    g = Pfm_Part_OtherGrp;
    Pfm_Part_MonoPoly = Radio(o, g, "Pfm_Part_MonoPoly", "Mono/Poly Mode", {"mono", "poly"}, 2, 6, 16, 214, 38, 0);
    Pfm_Part_MonoPriority =
        Radio(o, g, "Pfm_Part_MonoPriority", "Mono Priority", {"last", "top", "bottom", "first"}, 2, 6, 56, 214, 56, 0);
    Pfm_Part_VelocityGrp = Group(o, g, "Pfm_Part_VelocityGrp", "Velocity", 6, 114, 214, 111);
    const P velocityRows[] = {P::Pfm_Part_VelLimitLow, P::Pfm_Part_VelLimitHigh, P::Pfm_Part_VelSensDepth,
                              P::Pfm_Part_VelSensOffset};
    for (int i = 0; i < 4; ++i) CreatePair(velocityRows[i], Pfm_Part_VelocityGrp, Place(6, 16 + i * Pitch, 66, 98));
    Pfm_Part_ExpressionGrp = Group(o, g, "Pfm_Part_ExpressionGrp", "Expression", 6, 228, 214, 44);
    CreatePair(P::Pfm_Part_ExpLimitLo, Pfm_Part_ExpressionGrp, Place(6, 16, 66, 98));

    Pfm_Part_NoteGrp = Group(o, g, "Pfm_Part_NoteGrp", "Note", 228, 16, 222, 88);
    const Items& notes = layout::NoteNames();
    Pfm_Part_NoteLimitLowText = CreateLabel(o, Pfm_Part_NoteGrp, "Pfm_Part_NoteLimitLowText", "NoteLimitLow", 6, 19);
    Pfm_Part_NoteLimitLow = Combo(o, Pfm_Part_NoteGrp, "Pfm_Part_NoteLimitLow", notes, 86, 16, 64, 0);
    Pfm_Part_NoteLimitHighText = CreateLabel(o, Pfm_Part_NoteGrp, "Pfm_Part_NoteLimitHighText", "High", 6, 19 + Pitch);
    Pfm_Part_NoteLimitHigh = Combo(o, Pfm_Part_NoteGrp, "Pfm_Part_NoteLimitHigh", notes, 86, 16 + Pitch, 64, 127);
    CreatePair(P::Pfm_Part_ReserveNote, Pfm_Part_NoteGrp, Place(6, 16 + 2 * Pitch, 80, 92));
    Pfm_Part_ReserveNoteBar = Pair(P::Pfm_Part_ReserveNote).Bar;
    Pfm_Part_ReserveNoteEdit = Pair(P::Pfm_Part_ReserveNote).Edit;

    Pfm_Part_PanGrp = Group(o, g, "Pfm_Part_PanGrp", "Pan", 228, 108, 222, 88);
    Pfm_Part_PanText = CreateLabel(o, Pfm_Part_PanGrp, "Pfm_Part_PanText", "Pan", 6, 19);
    Pfm_Part_PanBar = Make<TScrollBar>(o, Pfm_Part_PanGrp, "Pfm_Part_PanBar", 78, 18, 82, 17);
    Pfm_Part_PanBar->SetParams(64, 0, 127);
    Pfm_Part_PanBar->LargeChange = 10;
    Pfm_Part_PanBar->SetTabStop(false);
    Pfm_Part_Pan = Combo(o, Pfm_Part_PanGrp, "Pfm_Part_Pan", PanNames(true), 164, 16, 54, 64);
    Pfm_Part_SustainRcvSw =
        Radio(o, g, "Pfm_Part_SustainRcvSw", "Sustain Rcv Sw", {"off", "on"}, 2, 228, 200, 222, 38, 0);
    CreatePair(P::Pfm_Part_PanScale, Pfm_Part_PanGrp, Place(6, 16 + Pitch, 72, 100));
    CreatePair(P::Pfm_Part_PanMod, Pfm_Part_PanGrp, Place(6, 16 + 2 * Pitch, 72, 100));
}
