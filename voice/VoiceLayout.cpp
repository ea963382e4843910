// Every control of the Voice page, with its place, items, range and first value; each slider pair
// is placed here and described by its row of the pair table (VoicePairs.cpp).
//
// The page fills the main window's Voice sheet (941 x 637 client): on the left the name and the
// common settings; on the right the "General" group above the operator tabs.
#include "core/pages/Layout.h"
#include "voice/VoicePage.h"

#include <tuple>

namespace {

using P = VcPair;
using layout::Combo;
using layout::Group;
using layout::Make;
using layout::Place;
using layout::Radio;

const layout::Items WaveformItems = {"tri", "s-dn", "s-up", "squ", "sine", "s/h"};
const layout::Items FilterTypeItems = {"LPF24", "LPF18", "LPF12", "HPF", "BPF", "BEF"};
const layout::Items FormItems = {"sine", "all1", "all2", "odd1", "odd2", "res1", "res2", "frmt"};
const layout::Items OperatorItems = {"V:1", "V:2", "V:3", "V:4", "V:5", "V:6", "V:7", "V:8",
                                     "N:1", "N:2", "N:3", "N:4", "N:5", "N:6", "N:7", "N:8"};
const layout::Items PresetEGItems = {"EG Init",    "Piano",    "C-Perc",     "Organ",      "Guiter",    "Bass",
                                     "Strings",    "Ensemble", "Brass",      "Reed",       "Pipe",      "Synth Lead",
                                     "Synth Pad",  "Synth SE", "Ethnic",     "Percussive", "Sound Efx", "Drums",
                                     "Synth Comp", "Voice",    "Cmbination", "MaterialWv", "Sequence"};

// The lists and buttons of the ten control sets, Formant1..5 then FM1..5 (their choice rows name
// them too).
using V = TVoicePage;
const std::pair<TComboBox * V::*, TRadioGroup * V::*> ControlSetControls[10] = {
    {&V::Vc_Frmt1Operator, &V::Vc_Frmt1Parameter}, {&V::Vc_Frmt2Operator, &V::Vc_Frmt2Parameter},
    {&V::Vc_Frmt3Operator, &V::Vc_Frmt3Parameter}, {&V::Vc_Frmt4Operator, &V::Vc_Frmt4Parameter},
    {&V::Vc_Frmt5Operator, &V::Vc_Frmt5Parameter}, {&V::Vc_Fm1Operator, &V::Vc_Fm1Parameter},
    {&V::Vc_Fm2Operator, &V::Vc_Fm2Parameter},     {&V::Vc_Fm3Operator, &V::Vc_Fm3Parameter},
    {&V::Vc_Fm4Operator, &V::Vc_Fm4Parameter},     {&V::Vc_Fm5Operator, &V::Vc_Fm5Parameter},
};

// Sizes of the page (pixels of the Voice sheet and of the voice tab control inside it).
constexpr int SheetWidth = 935, SheetHeight = 608;
constexpr int TabsTop = 26; // first row under a tab control's tabs

// A pair whose label stands above its slider and box; a vertical envelope slider `height` high
// with its box under it.
TPairPlace LabelAbove(int left, int top, int barWidth, int editWidth)
{
    TPairPlace p = layout::Place(left, top, 0, barWidth, editWidth);
    p.LabelAbove = true;
    return p;
}
TPairPlace Standing(int left, int top, int editWidth, int height)
{
    TPairPlace p = layout::Place(left, top, 0, 17, editWidth);
    p.Height = height;
    return p;
}

} // namespace

void TVoicePage::CreateControls(TTabSheet* sheet)
{
    TComponent* o = FOwner;

    // ---- frame ----
    Vc_VoiceTab = Make<TTabControl>(o, sheet, "Vc_VoiceTab", 0, 0, SheetWidth, SheetHeight);
    for (int i = 1; i <= 4; ++i) Vc_VoiceTab->Tabs.Add("Voice" + std::to_string(i));
    Vc_VoiceTab->SetTabIndex(0);
    Vc_VoiceTab->OnChange = [this](TObject* s) { Vc_VoiceTabChange(s); };

    // ---- name and category ----
    Vc_NameGrp = Group(o, Vc_VoiceTab, "Vc_NameGrp", "Name&&Category", 4, TabsTop, 282, 48);
    Vc_Name = Make<TEdit>(o, Vc_NameGrp, "Vc_Name", 8, 18, 96, 21);
    Vc_Name->MaxLength = 10;
    Vc_Name->SetText("Init Voice");
    Vc_Name->OnChange = [this](TObject* s) { Vc_NameChange(s); };
    Vc_Category = Combo(o, Vc_NameGrp, "Vc_Category", layout::CategoryNames(), 110, 18, 164);

    // ---- common settings ----
    Vc_CommonGrp = Group(o, Vc_VoiceTab, "Vc_CommonGrp", "Common", 4, TabsTop + 50, 282, SheetHeight - TabsTop - 52);
    Vc_CommonPageControl =
        Make<TPageControl>(o, Vc_CommonGrp, "Vc_CommonPageControl", 4, 16, 274, Vc_CommonGrp->Height() - 20);
    Vc_CommonPageControl->Font.Size = 7; // all six tabs side by side in the group
    auto sheetOf = [&](const char* name, const char* caption) {
        auto* s = new TTabSheet(o);
        s->Name = name;
        s->SetCaption(caption);
        s->SetPageControl(Vc_CommonPageControl);
        return s;
    };
    Vc_LFOTabSheet = sheetOf("Vc_LFOTabSheet", "LFO");
    Vc_FilterTabSheet = sheetOf("Vc_FilterTabSheet", "Filter");
    Vc_FilterEGTabSheet = sheetOf("Vc_FilterEGTabSheet", "FilterEG");
    Vc_PitchEGTabSheet = sheetOf("Vc_PitchEGTabSheet", "PitchEG");
    Vc_FormantTabSheet = sheetOf("Vc_FormantTabSheet", "Formant Control");
    Vc_FmTabSheet = sheetOf("Vc_FmTabSheet", "FM Control");
    Vc_CommonPageControl->SetActivePage(Vc_LFOTabSheet);
    Vc_FilterEGTabSheet->OnShow = [this](TObject*) { DrawFilterEGGraph(); };
    Vc_PitchEGTabSheet->OnShow = [this](TObject*) { DrawPitchEGGraph(); };

    // LFO
    Vc_LFO1Grp = Group(o, Vc_LFOTabSheet, "Vc_LFO1Grp", "LFO1", 4, 2, 258, 210);
    CreateLabel(o, Vc_LFO1Grp, "Vc_LFO1WaveformText", "Wave", 6, 22);
    Vc_LFO1Waveform = Combo(o, Vc_LFO1Grp, "Vc_LFO1Waveform", WaveformItems, 90, 18, 80);
    Vc_LFO1KeySync = Radio(o, Vc_LFO1Grp, "Vc_LFO1KeySync", "KeySync", {"off", "on"}, 2, 6, 40, 244, 36);
    const P lfo1[] = {P::Vc_LFO1Speed,     P::Vc_LFO1Delay,        P::Vc_LFO1PModDepth,
                      P::Vc_LFO1AModDepth, P::Vc_LFO1FreqModDepth, P::Vc_LFO1FltModDepth};
    for (int i = 0; i < 6; ++i) CreatePair(lfo1[i], Vc_LFO1Grp, Place(6, 78 + 21 * i, 90, 112, 36));
    Vc_LFO2Grp = Group(o, Vc_LFOTabSheet, "Vc_LFO2Grp", "LFO2", 4, 216, 258, 170);
    CreateLabel(o, Vc_LFO2Grp, "Vc_LFO2WaveformText", "Wave", 6, 22);
    Vc_LFO2Waveform = Combo(o, Vc_LFO2Grp, "Vc_LFO2Waveform", WaveformItems, 90, 18, 80);
    Vc_LFO2KeySync = Radio(o, Vc_LFO2Grp, "Vc_LFO2KeySync", "KeySync", {"off", "on"}, 2, 6, 40, 244, 36);
    Vc_LFO2Phase = Radio(o, Vc_LFO2Grp, "Vc_LFO2Phase", "Phase", {"0", "90", "180", "270"}, 4, 6, 100, 244, 36);
    CreatePair(P::Vc_LFO2Speed, Vc_LFO2Grp, Place(6, 78, 90, 112, 36));
    CreatePair(P::Vc_LFO2FltModDepth, Vc_LFO2Grp, Place(6, 142, 90, 112, 36));

    // Filter
    Vc_FilterPartSw = Radio(o, Vc_FilterTabSheet, "Vc_FilterPartSw", "Part Switch", {"off", "on"}, 2, 4, 4, 150, 38);
    Vc_FilterPartSw->OnClick = [this](TObject* s) { Vc_FilterPartSwClick(s); };
    CreateLabel(o, Vc_FilterTabSheet, "Vc_FilterTypeText", "Type", 4, 74);
    Vc_FilterType = Combo(o, Vc_FilterTabSheet, "Vc_FilterType", FilterTypeItems, 88, 71, 90);
    CreateLabel(o, Vc_FilterTabSheet, "Vc_FilterFScaleBPText", "F.Scale BP", 4, 166);
    Vc_FilterFScaleBP = Combo(o, Vc_FilterTabSheet, "Vc_FilterFScaleBP", layout::NoteNames(), 88, 163, 90);
    const std::pair<P, int> filter[] = {{P::Vc_FilterInputGain, 48},
                                        {P::Vc_FilterCutoffFreq, 94},
                                        {P::Vc_FilterResonance, 117},
                                        {P::Vc_FilterFreqScaling, 140},
                                        {P::Vc_FilterResoVelSns, 186}};
    for (const auto& [id, top] : filter) CreatePair(id, Vc_FilterTabSheet, Place(4, top, 84, 126, 40));

    // Filter EG and pitch EG: the graphs, the headings of their slider columns, the range
    Vc_FilterEGGraph = Make<TImage>(o, Vc_FilterEGTabSheet, "Vc_FilterEGGraph", 4, 2, 260, 232);
    FilterEGText =
        CreateLabel(o, Vc_FilterEGTabSheet, "FilterEGText", "Time1 Lv1  Time2 Lv2  Time3 Lv3  Time4 Lv4", 4, 238);
    // Time k and level k stand 30 apart, each pair of columns 64 from the last.
    const P filterEG[] = {P::Vc_FilterEGTime1, P::Vc_FilterEGLv1, P::Vc_FilterEGTime2, P::Vc_FilterEGLv2,
                          P::Vc_FilterEGTime3, P::Vc_FilterEGLv3, P::Vc_FilterEGTime4, P::Vc_FilterEGLv4};
    for (int i = 0; i < 8; ++i)
        CreatePair(filterEG[i], Vc_FilterEGTabSheet, Standing(7 + 64 * (i / 2) + 30 * (i % 2), 254, 28, 93));
    const P filterEGRows[] = {P::Vc_FilterEGTimeScaling, P::Vc_FilterEGDepth, P::Vc_FilterEGAtkTVelSns,
                              P::Vc_FilterEGDepthVelSns};
    for (int i = 0; i < 4; ++i) CreatePair(filterEGRows[i], Vc_FilterEGTabSheet, Place(4, 376 + 21 * i, 104, 106, 36));
    Vc_PitchEGGraph = Make<TImage>(o, Vc_PitchEGTabSheet, "Vc_PitchEGGraph", 4, 2, 256, 104);
    PitchEGText =
        CreateLabel(o, Vc_PitchEGTabSheet, "PitchEGText", "Lv0 Time1 Lv1 Time2 Lv2 Time3 Lv3 Time4 Lv4", 4, 110);
    PitchEGText->SetWidth(262);
    Vc_PitchEGRange = Radio(o, Vc_PitchEGTabSheet, "Vc_PitchEGRange", "Range", {"8oct", "2oct", "1oct", "1/2oct"}, 4, 4,
                            273, 256, 38);
    const std::pair<P, int> pitchEG[] = {{P::Vc_PitchEGLv0, 1},    {P::Vc_PitchEGTime1, 31},  {P::Vc_PitchEGLv1, 61},
                                         {P::Vc_PitchEGTime2, 91}, {P::Vc_PitchEGLv2, 122},   {P::Vc_PitchEGTime3, 152},
                                         {P::Vc_PitchEGLv3, 182},  {P::Vc_PitchEGTime4, 212}, {P::Vc_PitchEGLv4, 242}};
    for (const auto& [id, left] : pitchEG) CreatePair(id, Vc_PitchEGTabSheet, Standing(left, 126, 26, 93));
    CreatePair(P::Vc_PitchEGTimeScaling, Vc_PitchEGTabSheet, Place(4, 250, 104, 106, 36));
    CreatePair(P::Vc_PitchEGVelocitySens, Vc_PitchEGTabSheet, Place(4, 317, 104, 106, 36));

    // Formant and FM control sets
    const int setTops[5] = {0, 86, 172, 258, 343};
    for (int s = 0; s < 10; ++s) {
        const bool formant = s < 5;
        const int i = s % 5;
        const std::string n = std::to_string(i + 1);
        const std::string prefix = formant ? "Vc_Frmt" + n : "Vc_Fm" + n;
        TGroupBox* g = Group(o, formant ? Vc_FormantTabSheet : Vc_FmTabSheet,
                             formant ? "Vc_Formant" + n + "Grp" : "Vc_Fm" + n + "Grp", (formant ? "Formant" : "FM") + n,
                             7, setTops[i], 248, i == 4 ? 84 : 83);
        (formant ? Vc_FormantGrp : Vc_FmGrp)[size_t(i)] = g;
        CreateLabel(o, g, prefix + "OperatorText", "Operator", 6, 24);
        const auto [operatorList, parameterButtons] = ControlSetControls[s];
        this->*operatorList = Combo(o, g, prefix + "Operator", OperatorItems, 56, 20, 56);
        this->*parameterButtons =
            Radio(o, g, prefix + "Parameter", "Parameter", {"off", "out", "freq", "width"}, 2, 118, 2, 124, 54);
        const VcPair depth = P(int(P::Vc_Frmt1CtlDepth) + s);
        CreatePair(depth, g, Place(6, 58, 84, 108, 36));
        Bar(depth)->SetTabStop(true); // unlike the other sliders, a stop of the Tab key
    }

    // ---- general ----
    Vc_GeneralGrp = Group(o, Vc_VoiceTab, "Vc_GeneralGrp", "General", 290, TabsTop, 641, 112);
    Vc_AlgorithmImage = Make<TImage>(o, Vc_GeneralGrp, "Vc_AlgorithmImage", 8, 16, 150, 90);
    Vc_AlgorithmImage->Stretch = true;
    Vc_AlgorithmImage->Proportional = true;
    CreateLabel(o, Vc_GeneralGrp, "Vc_AlgorithmText", "Algorithm", 166, 18);
    Vc_AlgorithmEdit = Make<TEdit>(o, Vc_GeneralGrp, "Vc_AlgorithmEdit", 166, 32, 28, 21);
    Vc_AlgorithmEdit->MaxLength = 2;
    Vc_AlgorithmEdit->SetText("1");
    Vc_AlgorithmUpDown = Make<TUpDown>(o, Vc_GeneralGrp, "Vc_AlgorithmUpDown", 194, 32, 16, 21);
    Vc_AlgorithmUpDown->SetMin(1);
    Vc_AlgorithmUpDown->SetMax(88);
    Vc_AlgorithmUpDown->SetAssociate(Vc_AlgorithmEdit);
    Vc_AlgorithmUpDown->SetPosition(1);
    Vc_AlgorithmBtn = layout::Button(o, Vc_GeneralGrp, "Vc_AlgorithmBtn", "Select", 216, 31, 56, 23);
    Vc_AlgorithmEdit->OnChange = [this](TObject* s) { Vc_AlgorithmEditChange(s); };
    Vc_AlgorithmEdit->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) {
        Vc_AlgorithmEditKeyDown(s, k, sh);
    };
    Vc_AlgorithmUpDown->OnChanging = [this](TObject* s, bool& allow) { Vc_AlgorithmUpDownChanging(s, allow); };
    Vc_AlgorithmBtn->OnClick = [this](TObject* s) { Vc_AlgorithmBtnClick(s); };

    Vc_OperatorMuteGrp = Group(o, Vc_GeneralGrp, "Vc_OperatorMuteGrp", "Operator Mute", 346, 6, 206, 102);
    for (int k = 0; k < 16; ++k) {
        const bool voiced = k < 8;
        const int i = k % 8;
        const std::string n = std::to_string(i + 1);
        auto* b = Make<TSpeedButton>(o, Vc_OperatorMuteGrp, voiced ? "Vc_OpMute_VOp" + n : "Vc_OpMute_UOp" + n,
                                     6 + 40 * (i % 4), 16 + 20 * (i / 4) + (voiced ? 0 : 42), 39, 20);
        b->SetCaption((voiced ? "V-OP" : "U-OP") + n);
        b->GroupIndex = k + 1;
        b->AllowAllUp = true;
        b->OnClick = [this, voiced, i](TObject*) { Vc_OpMuteClick(voiced, i); };
        (voiced ? Vc_OpMute_VOp : Vc_OpMute_UOp)[size_t(i)] = b;
    }
    V_OPAllMuteButton = Make<TSpeedButton>(o, Vc_OperatorMuteGrp, "V_OPAllMuteButton", 168, 16, 32, 40);
    V_OPAllMuteButton->SetCaption("ALL");
    V_OPAllMuteButton->OnClick = [this](TObject* s) { V_OPAllMuteButtonClick(s); };
    U_OPAllMuteButton = Make<TSpeedButton>(o, Vc_OperatorMuteGrp, "U_OPAllMuteButton", 168, 58, 32, 40);
    U_OPAllMuteButton->SetCaption("ALL");
    U_OPAllMuteButton->OnClick = [this](TObject* s) { U_OPAllMuteButtonClick(s); };

    Vc_GetDataBtn = layout::Button(o, Vc_GeneralGrp, "Vc_GetDataBtn", "Receive", 558, 22, 76, 25);
    Vc_GetDataBtn->OnClick = FServices.Vc_GetDataBtnClick;
    Vc_SendDataBtn = layout::Button(o, Vc_GeneralGrp, "Vc_SendDataBtn", "Transmit", 558, 60, 76, 25);
    Vc_SendDataBtn->OnClick = FServices.Vc_SendDataBtnClick;
    CreatePair(P::Vc_Feedback, Vc_GeneralGrp, Place(166, 58, 62, 74, 32));
    CreatePair(P::Vc_NoteShift, Vc_GeneralGrp, Place(166, 82, 62, 74, 32));

    // ---- the operator page ----
    Vc_OperatorTab =
        Make<TTabControl>(o, Vc_VoiceTab, "Vc_OperatorTab", 290, TabsTop + 114, 641, SheetHeight - TabsTop - 116);
    for (int i = 1; i <= 8; ++i) Vc_OperatorTab->Tabs.Add("VOp" + std::to_string(i));
    for (int i = 1; i <= 8; ++i) Vc_OperatorTab->Tabs.Add("UOp" + std::to_string(i));
    Vc_OperatorTab->SetTabIndex(0);
    Vc_OperatorTab->OnChange = [this](TObject* s) { Vc_OperatorTabChange(s); };

    // Voiced oscillator
    Vc_VOpOSCGrp = Group(o, Vc_OperatorTab, "Vc_VOpOSCGrp", "OSC", 4, TabsTop, 256, 436);
    Vc_VOpFseqSw = Radio(o, Vc_VOpOSCGrp, "Vc_VOpFseqSw", "Fseq Switch", {"off", "on"}, 2, 4, 12, 120, 36);
    Vc_VOpFreqMode = Radio(o, Vc_VOpOSCGrp, "Vc_VOpFreqMode", "FreqMode", {"ratio", "fixed"}, 2, 128, 12, 122, 36);
    CreateLabel(o, Vc_VOpOSCGrp, "Vc_VOpFormText", "Form", 6, 74);
    Vc_VOpForm = Combo(o, Vc_VOpOSCGrp, "Vc_VOpForm", FormItems, 86, 71, 80);
    // A frequency: the coarse slider with the frequency text ("Hz" after it), the fine slider
    // under it; the tops are the sliders'.
    auto frequency = [o](TWinControl* g, const std::string& prefix, int coarseTop, int fineTop) {
        auto* coarseText = CreateLabel(o, g, prefix + "FreqCoarseText", "FreqCoarse", 6, coarseTop + 1);
        auto* coarse = Make<TScrollBar>(o, g, prefix + "FreqCoarseBar", 86, coarseTop, 101, 17);
        auto* box = Make<TEdit>(o, g, prefix + "FreqCoarseEdit", 191, coarseTop - 2, 48, 20);
        auto* hz = CreateLabel(o, g, prefix + "FreqCoarseText2", "Hz", 242, coarseTop + 1);
        auto* fineText = CreateLabel(o, g, prefix + "FreqFineText", "FreqFine", 6, fineTop + 1);
        auto* fine = Make<TScrollBar>(o, g, prefix + "FreqFineBar", 86, fineTop, 101, 17);
        return std::tuple(coarseText, coarse, box, hz, fineText, fine);
    };
    std::tie(Vc_VOpFreqCoarseText, Vc_VOpFreqCoarseBar, Vc_VOpFreqCoarseEdit, Vc_VOpFreqCoarseText2, Vc_VOpFreqFineText,
             Vc_VOpFreqFineBar) = frequency(Vc_VOpOSCGrp, "Vc_VOp", 93, 113);
    Vc_VOpKeySync = Radio(o, Vc_VOpOSCGrp, "Vc_VOpKeySync", "KeySync", {"off", "on"}, 2, 4, 273, 120, 36);
    CreateLabel(o, Vc_VOpOSCGrp, "Vc_VOpLSBPText", "LS BP", 130, 287);
    const layout::Items breakPoints(layout::NoteNames().begin() + 21, layout::NoteNames().begin() + 121); // "A -1" ..
    Vc_VOpLSBP = Combo(o, Vc_VOpOSCGrp, "Vc_VOpLSBP", breakPoints, 166, 284, 74);
    Vc_VOpLSLeftCrv =
        Radio(o, Vc_VOpOSCGrp, "Vc_VOpLSLeftCrv", "LS LeftCrv", {"-lin", "-exp", "+exp", "+lin"}, 2, 4, 353, 120, 54);
    Vc_VOpLSRightCrv = Radio(o, Vc_VOpOSCGrp, "Vc_VOpLSRightCrv", "LS RightCrv", {"-lin", "-exp", "+exp", "+lin"}, 2,
                             128, 353, 122, 54);
    Vc_VOpOPAttText2 = CreateLabel(o, Vc_VOpOSCGrp, "Vc_VOpOPAttText2", "dB", 242, 413);
    const std::pair<P, int> voiced[] = {
        {P::Vc_VOpFseqTrk, 51},      {P::Vc_VOpFreqScaling, 131},  {P::Vc_VOpTranspose, 151}, {P::Vc_VOpDetune, 171},
        {P::Vc_VOpBandWidth, 191},   {P::Vc_VOpResonance, 211},    {P::Vc_VOpSkirt, 231},     {P::Vc_VOpOutputLvl, 251},
        {P::Vc_VOpLSLeftDepth, 311}, {P::Vc_VOpLSRightDepth, 331}, {P::Vc_VOpOPAtt, 410}};
    for (const auto& [id, top] : voiced) CreatePair(id, Vc_VOpOSCGrp, Place(6, top, 80, 101, 48));
    Edit(VcPair::Vc_VOpOPAtt)->SetText(AttenuationText(0)); // decibels, not the position

    // Unvoiced oscillator (shown in place of the voiced one on the unvoiced tabs)
    Vc_UOpOSCGrp = Group(o, Vc_OperatorTab, "Vc_UOpOSCGrp", "OSC", 4, TabsTop, 256, 436);
    Vc_UOpOSCGrp->SetVisible(false);
    Vc_UOpFseqSw = Radio(o, Vc_UOpOSCGrp, "Vc_UOpFseqSw", "Fseq Switch", {"off", "on"}, 2, 4, 12, 120, 36);
    Vc_UOpFseqTrkText = CreateLabel(o, Vc_UOpOSCGrp, "Vc_UOpFseqTrkText", "FseqTrack", 132, 30);
    Vc_UOpFseqTrkText->SetWidth(110);
    Vc_UOpFreqMode =
        Radio(o, Vc_UOpOSCGrp, "Vc_UOpFreqMode", "FreqMode", {"normal", "LinkF0", "LinkFF"}, 3, 4, 54, 246, 40);
    Vc_UOpFreqMode->OnClick = [this](TObject* s) { Vc_UOpFreqModeClick(s); };
    std::tie(Vc_UOpFreqCoarseText, Vc_UOpFreqCoarseBar, Vc_UOpFreqCoarseEdit, Vc_UOpFreqCoarseText2, Vc_UOpFreqFineText,
             Vc_UOpFreqFineBar) = frequency(Vc_UOpOSCGrp, "Vc_UOp", 113, 134);
    const P unvoiced[] = {P::Vc_UOpFreqScaling, P::Vc_UOpTranspose, P::Vc_UOpBandWidth, P::Vc_UOpResonance,
                          P::Vc_UOpSkirt,       P::Vc_UOpOutputLvl, P::Vc_UOpLvlScaling};
    for (int i = 0; i < 7; ++i) CreatePair(unvoiced[i], Vc_UOpOSCGrp, Place(6, 153 + 21 * i, 80, 101, 48));

    // The frequency sliders: coarse and fine with the frequency text in the coarse box.
    struct TFrequencySlider {
        TScrollBar* Bar;
        int Max, Large, Position;
    };
    for (const TFrequencySlider& f :
         {TFrequencySlider{Vc_VOpFreqCoarseBar, 31, 5, 1}, TFrequencySlider{Vc_VOpFreqFineBar, 99, 10, 0},
          TFrequencySlider{Vc_UOpFreqCoarseBar, 21, 5, 14}, TFrequencySlider{Vc_UOpFreqFineBar, 127, 10, 0}}) {
        f.Bar->SetParams(f.Position, 0, f.Max);
        f.Bar->LargeChange = f.Large;
        f.Bar->SetTabStop(false);
    }
    for (TEdit* e : {Vc_VOpFreqCoarseEdit, Vc_UOpFreqCoarseEdit}) {
        e->MaxLength = 5;
        e->SetReadOnly(true);
    }
    Vc_VOpFreqCoarseEdit->SetText("1.000");
    Vc_UOpFreqCoarseEdit->SetText("110.0");
    Vc_VOpFreqCoarseBar->OnChange = [this](TObject* s) { Vc_VOpFreqCoarseBarChange(s); };
    Vc_VOpFreqFineBar->OnChange = [this](TObject* s) { Vc_VOpFreqFineBarChange(s); };
    Vc_VOpFreqCoarseEdit->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) {
        Vc_VOpFreqCoarseEditKeyDown(s, k, sh);
    };
    Vc_UOpFreqCoarseBar->OnChange = [this](TObject* s) { Vc_UOpFreqCoarseBarChange(s); };
    Vc_UOpFreqFineBar->OnChange = [this](TObject* s) { Vc_UOpFreqFineBarChange(s); };
    Vc_UOpFreqCoarseEdit->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) {
        Vc_UOpFreqCoarseEditKeyDown(s, k, sh);
    };
    Vc_VOpFseqSw->OnClick = [this](TObject* s) { Vc_VOpFseqSwClick(s); };
    Vc_UOpFseqSw->OnClick = [this](TObject* s) { Vc_UOpFseqSwClick(s); };
    Vc_VOpFreqMode->OnClick = [this](TObject* s) { Vc_VOpFreqModeClick(s); };
    Vc_VOpForm->OnChange = [this](TObject* s) { Vc_VOpFormChange(s); };

    // Operator EG with the EG shape row, frequency EG, sensitivities, modulation
    Vc_OpEGGrp = Group(o, Vc_OperatorTab, "Vc_OpEGGrp", "EG", 264, TabsTop, 259, 306);
    Vc_OpEGShape = CreateLabel(o, Vc_OpEGGrp, "Vc_OpEGShape", "EG Shape", 6, 18);
    Vc_OpPresetEG = Combo(o, Vc_OpEGGrp, "Vc_OpPresetEG", PresetEGItems, 60, 14, 116);
    Vc_OpPresetEG->SetTabStop(false);
    Vc_OpPresetEGEdit = Make<TEdit>(o, Vc_OpEGGrp, "Vc_OpPresetEGEdit", 62, 16, 92, 17);
    Vc_OpPresetEGEdit->SetTabStop(false);
    Vc_OpPresetEGEdit->BorderStyle = bsNone; // lies over the list's own text area
    Vc_OpPresetEGEdit->MaxLength = 10;
    const char* shapeButtons[4][3] = {{"Vc_OpEGShapeWrite", "Record the envelope as a shape", "glyph_eg_write.bmp"},
                                      {"Vc_OpEGShapeDel", "Delete the shape", "glyph_eg_delete.bmp"},
                                      {"Vc_OpEGShapeOpen", "Open an EG shape file", "glyph_eg_open.bmp"},
                                      {"Vc_OpEGShapeSave", "Save the EG shapes to a file", "glyph_eg_save.bmp"}};
    TBitBtn** shapeButtonMembers[4] = {&Vc_OpEGShapeWrite, &Vc_OpEGShapeDel, &Vc_OpEGShapeOpen, &Vc_OpEGShapeSave};
    for (int i = 0; i < 4; ++i) {
        auto* b = Make<TBitBtn>(o, Vc_OpEGGrp, shapeButtons[i][0], 178 + 19 * i, 14, 19, 21);
        b->SetTabStop(false);
        b->Hint = shapeButtons[i][1];
        b->ShowHint = true;
        b->LoadGlyph((FServices.ProgramFolder / "graphics" / shapeButtons[i][2]).string());
        *shapeButtonMembers[i] = b;
    }
    Vc_OpEGGraph = Make<TImage>(o, Vc_OpEGGrp, "Vc_OpEGGraph", 4, 36, 252, 103);
    // The column headings stand over their sliders (the operator's in a smaller type, to fit).
    Vc_OpEGText = CreateLabel(o, Vc_OpEGGrp, "Vc_OpEGText", "Hold Time1 Lv1 Time2 Lv2 Time3 Lv3 Time4 Lv4", 4, 140);
    Vc_OpEGText->Font.Size = 7;
    Vc_OpEGText->SetWidth(222);
    const std::pair<P, int> operatorEG[] = {{P::Vc_OpEGHold, 2},   {P::Vc_OpEGTime1, 29},  {P::Vc_OpEGLv1, 54},
                                            {P::Vc_OpEGTime2, 79}, {P::Vc_OpEGLv2, 103},   {P::Vc_OpEGTime3, 128},
                                            {P::Vc_OpEGLv3, 153},  {P::Vc_OpEGTime4, 177}, {P::Vc_OpEGLv4, 202}};
    for (const auto& [id, left] : operatorEG) CreatePair(id, Vc_OpEGGrp, Standing(left, 153, 24, 105));
    CreatePair(P::Vc_OpEGTimeScaling, Vc_OpEGGrp, Place(6, 282, 90, 120, 30));
    Vc_OpFrqEGGrp = Group(o, Vc_OperatorTab, "Vc_OpFrqEGGrp", "FrqEG", 264, TabsTop + 310, 375, 102);
    Vc_OpFrqEGGraph = Make<TImage>(o, Vc_OpFrqEGGrp, "Vc_OpFrqEGGraph", 202, 8, 168, 92);
    const P frequencyEG[] = {P::Vc_OpFrqEGInitLvl, P::Vc_OpFrqEGAtakLvl, P::Vc_OpFrqEGAtakTime, P::Vc_OpFrqEGDecayTime};
    for (int i = 0; i < 4; ++i) CreatePair(frequencyEG[i], Vc_OpFrqEGGrp, Place(6, 14 + 21 * i, 72, 80, 34));
    Vc_OpSnsGrp = Group(o, Vc_OperatorTab, "Vc_OpSnsGrp", "Sns", 527, TabsTop, 112, 176);
    const P sensitivities[] = {P::Vc_OpSnsAmpVel, P::Vc_OpSnsFreqVel, P::Vc_OpSnsAmpEGBias, P::Vc_OpSnsFreqBias,
                               P::Vc_OpSnsWidthBias};
    for (int i = 0; i < 5; ++i) CreatePair(sensitivities[i], Vc_OpSnsGrp, LabelAbove(4, 14 + 32 * i, 72, 30));
    Vc_OpModGrp = Group(o, Vc_OperatorTab, "Vc_OpModGrp", "Mod", 527, TabsTop + 180, 112, 112);
    const P modulation[] = {P::Vc_OpAmpMod, P::Vc_OpPitchMod, P::Vc_OpFreqMod};
    for (int i = 0; i < 3; ++i) CreatePair(modulation[i], Vc_OpModGrp, LabelAbove(4, 14 + 32 * i, 72, 30));
}

void TVoicePage::CreatePair(VcPair id, TWinControl* parent, const TPairPlace& place)
{
    const VcPairDescriptor& d = VcPairOf(id);
    auto pair = CreateValuePair(FOwner, parent, d.PairForm, place);
    pair->Bar->OnChange = [this, id](TObject*) { PairBarChange(id); };
    FPairs[static_cast<std::size_t>(id)] = std::move(pair);
}

void TVoicePage::BindChoices()
{
    for (const VcChoiceDescriptor& d : VcChoices()) {
        FChoices.emplace_back(FOwner, d.Name);
        FChoices.back().OnChoose([this, id = d.Id](TObject*) { ChoiceChange(id); });
    }
}
