// Every control of the Voice page, with its place, items, range and first value. The slider
// pairs come from the pair table; everything else is laid out here.
//
// The page fills the main window's Voice sheet (941 x 637 client): on the left the name and the
// common settings; on the right the "General" group above the operator tabs.
#include "voice/VoiceRows.h"

#include <initializer_list>

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name, int left, int top, int width, int height)
{
    auto* c = new T(owner);
    c->Name = name;
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

TGroupBox* Group(TComponent* o, TWinControl* p, const std::string& name, const std::string& caption, int l, int t, int w,
                 int h)
{
    auto* g = Make<TGroupBox>(o, p, name, l, t, w, h);
    g->SetCaption(caption);
    return g;
}

TRadioGroup* Radio(TComponent* o, TWinControl* p, const std::string& name, const std::string& caption,
                   std::initializer_list<std::string> items, int columns, int l, int t, int w, int h)
{
    auto* r = Make<TRadioGroup>(o, p, name, l, t, w, h);
    r->SetCaption(caption);
    r->Items = items;
    r->SetColumns(columns);
    return r;
}

TComboBox* Combo(TComponent* o, TWinControl* p, const std::string& name, const std::vector<std::string>& items, int l,
                 int t, int w)
{
    auto* c = Make<TComboBox>(o, p, name, l, t, w, 21);
    c->Style = csDropDownList;
    c->Items.AddStrings(items);
    c->DropDownCount = 16;
    return c;
}

// The name of MIDI note n as the break-point lists show it: "C -2" for 0, "C#-2", .., "G 8".
std::string NoteName(int n)
{
    static const char* const Names[12] = {"C ", "C#", "D ", "D#", "E ", "F ", "F#", "G ", "G#", "A ", "A#", "B "};
    return std::string(Names[n % 12]) + std::to_string(n / 12 - 2);
}

std::vector<std::string> Notes(int first, int count)
{
    std::vector<std::string> out;
    for (int n = first; n < first + count; ++n) out.push_back(NoteName(n));
    return out;
}

const std::vector<std::string> CategoryItems = {
    "--", "Pf:Piano", "Cp:C-Percussion", "Or:Organ", "Gt:Guiter", "Ba:Bass", "St:Strings", "En:Ensemble",
    "Br:Brass", "Rd:Reed", "Pi:Pipe", "Ld:Synth Lead", "Pd:Synth Pad", "Fx:Synth SE", "Et:Ethnic", "Pc:Percussive",
    "Se:Sound Effect", "Dr:Drums", "Sc:Synth Comping", "Vo:Voice", "Co:Combination", "Wv:Material Wave",
    "Sq:Sequence"};
const std::vector<std::string> WaveformItems = {"tri", "s-dn", "s-up", "squ", "sine", "s/h"};
const std::vector<std::string> FilterTypeItems = {"LPF24", "LPF18", "LPF12", "HPF", "BPF", "BEF"};
const std::vector<std::string> FormItems = {"sine", "all1", "all2", "odd1", "odd2", "res1", "res2", "frmt"};
const std::vector<std::string> OperatorItems = {"V:1", "V:2", "V:3", "V:4", "V:5", "V:6", "V:7", "V:8",
                                                "N:1", "N:2", "N:3", "N:4", "N:5", "N:6", "N:7", "N:8"};
const std::vector<std::string> PresetEGItems = {
    "EG Init", "Piano", "C-Perc", "Organ", "Guiter", "Bass", "Strings", "Ensemble", "Brass", "Reed", "Pipe",
    "Synth Lead", "Synth Pad", "Synth SE", "Ethnic", "Percussive", "Sound Efx", "Drums", "Synth Comp", "Voice",
    "Cmbination", "MaterialWv", "Sequence"};

// Sizes of the page (pixels of the Voice sheet and of the voice tab control inside it).
constexpr int SheetWidth = 935, SheetHeight = 608;
constexpr int TabsTop = 26; // first row under a tab control's tabs

TWinControl* ParentOf(TVoicePage& p, TVoiceParent parent)
{
    switch (parent) {
    case TVoiceParent::LFO1: return p.Vc_LFO1Grp;
    case TVoiceParent::LFO2: return p.Vc_LFO2Grp;
    case TVoiceParent::Filter: return p.Vc_FilterTabSheet;
    case TVoiceParent::FilterEG: return p.Vc_FilterEGTabSheet;
    case TVoiceParent::PitchEG: return p.Vc_PitchEGTabSheet;
    case TVoiceParent::Frmt1:
    case TVoiceParent::Frmt2:
    case TVoiceParent::Frmt3:
    case TVoiceParent::Frmt4:
    case TVoiceParent::Frmt5: return p.Vc_FormantGrp[size_t(int(parent) - int(TVoiceParent::Frmt1))];
    case TVoiceParent::Fm1:
    case TVoiceParent::Fm2:
    case TVoiceParent::Fm3:
    case TVoiceParent::Fm4:
    case TVoiceParent::Fm5: return p.Vc_FmGrp[size_t(int(parent) - int(TVoiceParent::Fm1))];
    case TVoiceParent::General: return p.Vc_GeneralGrp;
    case TVoiceParent::VoicedOsc: return p.Vc_VOpOSCGrp;
    case TVoiceParent::UnvoicedOsc: return p.Vc_UOpOSCGrp;
    case TVoiceParent::OperatorEG: return p.Vc_OpEGGrp;
    case TVoiceParent::FrequencyEG: return p.Vc_OpFrqEGGrp;
    case TVoiceParent::Sensitivity: return p.Vc_OpSnsGrp;
    case TVoiceParent::Modulation: return p.Vc_OpModGrp;
    }
    return nullptr;
}

} // namespace

void TVoicePage::CreateControls(TTabSheet* sheet)
{
    TComponent* o = FOwner.get();

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
    Vc_Category = Combo(o, Vc_NameGrp, "Vc_Category", CategoryItems, 110, 18, 164);

    // ---- common settings ----
    Vc_CommonGrp = Group(o, Vc_VoiceTab, "Vc_CommonGrp", "Common", 4, TabsTop + 50, 282, SheetHeight - TabsTop - 52);
    Vc_CommonPageControl = Make<TPageControl>(o, Vc_CommonGrp, "Vc_CommonPageControl", 4, 16, 274,
                                              Vc_CommonGrp->Height() - 20);
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
    Vc_LFO2Grp = Group(o, Vc_LFOTabSheet, "Vc_LFO2Grp", "LFO2", 4, 216, 258, 170);
    CreateLabel(o, Vc_LFO2Grp, "Vc_LFO2WaveformText", "Wave", 6, 22);
    Vc_LFO2Waveform = Combo(o, Vc_LFO2Grp, "Vc_LFO2Waveform", WaveformItems, 90, 18, 80);
    Vc_LFO2KeySync = Radio(o, Vc_LFO2Grp, "Vc_LFO2KeySync", "KeySync", {"off", "on"}, 2, 6, 40, 244, 36);
    Vc_LFO2Phase = Radio(o, Vc_LFO2Grp, "Vc_LFO2Phase", "Phase", {"0", "90", "180", "270"}, 4, 6, 100, 244, 36);

    // Filter
    Vc_FilterPartSw = Radio(o, Vc_FilterTabSheet, "Vc_FilterPartSw", "Part Switch", {"off", "on"}, 2, 4, 4, 150, 38);
    CreateLabel(o, Vc_FilterTabSheet, "Vc_FilterTypeText", "Type", 4, 74);
    Vc_FilterType = Combo(o, Vc_FilterTabSheet, "Vc_FilterType", FilterTypeItems, 88, 71, 90);
    CreateLabel(o, Vc_FilterTabSheet, "Vc_FilterFScaleBPText", "F.Scale BP", 4, 166);
    Vc_FilterFScaleBP = Combo(o, Vc_FilterTabSheet, "Vc_FilterFScaleBP", Notes(0, 128), 88, 163, 90);

    // Filter EG and pitch EG: the graphs, the headings of their slider columns, the range
    Vc_FilterEGGraph = Make<TImage>(o, Vc_FilterEGTabSheet, "Vc_FilterEGGraph", 4, 2, 260, 232);
    FilterEGText = CreateLabel(o, Vc_FilterEGTabSheet, "FilterEGText", "Time1 Lv1  Time2 Lv2  Time3 Lv3  Time4 Lv4",
                               4, 238);
    Vc_PitchEGGraph = Make<TImage>(o, Vc_PitchEGTabSheet, "Vc_PitchEGGraph", 4, 2, 256, 104);
    PitchEGText = CreateLabel(o, Vc_PitchEGTabSheet, "PitchEGText", "Lv0 Time1 Lv1 Time2 Lv2 Time3 Lv3 Time4 Lv4",
                              4, 110);
    PitchEGText->SetWidth(262);
    Vc_PitchEGRange =
        Radio(o, Vc_PitchEGTabSheet, "Vc_PitchEGRange", "Range", {"8oct", "2oct", "1oct", "1/2oct"}, 4, 4, 273, 256, 38);

    // Formant and FM control sets
    const int setTops[5] = {0, 86, 172, 258, 343};
    TComboBox** operators[10] = {&Vc_Frmt1Operator, &Vc_Frmt2Operator, &Vc_Frmt3Operator, &Vc_Frmt4Operator,
                                 &Vc_Frmt5Operator, &Vc_Fm1Operator,   &Vc_Fm2Operator,   &Vc_Fm3Operator,
                                 &Vc_Fm4Operator,   &Vc_Fm5Operator};
    TRadioGroup** parameters[10] = {&Vc_Frmt1Parameter, &Vc_Frmt2Parameter, &Vc_Frmt3Parameter, &Vc_Frmt4Parameter,
                                    &Vc_Frmt5Parameter, &Vc_Fm1Parameter,   &Vc_Fm2Parameter,   &Vc_Fm3Parameter,
                                    &Vc_Fm4Parameter,   &Vc_Fm5Parameter};
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
        *operators[s] = Combo(o, g, prefix + "Operator", OperatorItems, 56, 20, 56);
        *parameters[s] = Radio(o, g, prefix + "Parameter", "Parameter", {"off", "out", "freq", "width"}, 2, 118, 2, 124,
                               54);
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
    Vc_AlgorithmBtn = Make<TButton>(o, Vc_GeneralGrp, "Vc_AlgorithmBtn", 216, 31, 56, 23);
    Vc_AlgorithmBtn->SetCaption("Select");

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
        (voiced ? Vc_OpMute_VOp : Vc_OpMute_UOp)[size_t(i)] = b;
    }
    V_OPAllMuteButton = Make<TSpeedButton>(o, Vc_OperatorMuteGrp, "V_OPAllMuteButton", 168, 16, 32, 40);
    V_OPAllMuteButton->SetCaption("ALL");
    U_OPAllMuteButton = Make<TSpeedButton>(o, Vc_OperatorMuteGrp, "U_OPAllMuteButton", 168, 58, 32, 40);
    U_OPAllMuteButton->SetCaption("ALL");

    Vc_GetDataBtn = Make<TButton>(o, Vc_GeneralGrp, "Vc_GetDataBtn", 558, 22, 76, 25);
    Vc_GetDataBtn->SetCaption("Receive");
    Vc_GetDataBtn->OnClick = FServices.Vc_GetDataBtnClick;
    Vc_SendDataBtn = Make<TButton>(o, Vc_GeneralGrp, "Vc_SendDataBtn", 558, 60, 76, 25);
    Vc_SendDataBtn->SetCaption("Transmit");
    Vc_SendDataBtn->OnClick = FServices.Vc_SendDataBtnClick;

    // ---- the operator page ----
    Vc_OperatorTab = Make<TTabControl>(o, Vc_VoiceTab, "Vc_OperatorTab", 290, TabsTop + 114, 641,
                                       SheetHeight - TabsTop - 116);
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
    Vc_VOpFreqCoarseText = CreateLabel(o, Vc_VOpOSCGrp, "Vc_VOpFreqCoarseText", "FreqCoarse", 6, 94);
    Vc_VOpFreqCoarseBar = Make<TScrollBar>(o, Vc_VOpOSCGrp, "Vc_VOpFreqCoarseBar", 86, 93, 101, 17);
    Vc_VOpFreqCoarseEdit = Make<TEdit>(o, Vc_VOpOSCGrp, "Vc_VOpFreqCoarseEdit", 191, 91, 48, 20);
    Vc_VOpFreqCoarseText2 = CreateLabel(o, Vc_VOpOSCGrp, "Vc_VOpFreqCoarseText2", "Hz", 242, 94);
    Vc_VOpFreqFineText = CreateLabel(o, Vc_VOpOSCGrp, "Vc_VOpFreqFineText", "FreqFine", 6, 114);
    Vc_VOpFreqFineBar = Make<TScrollBar>(o, Vc_VOpOSCGrp, "Vc_VOpFreqFineBar", 86, 113, 101, 17);
    Vc_VOpKeySync = Radio(o, Vc_VOpOSCGrp, "Vc_VOpKeySync", "KeySync", {"off", "on"}, 2, 4, 273, 120, 36);
    CreateLabel(o, Vc_VOpOSCGrp, "Vc_VOpLSBPText", "LS BP", 130, 287);
    Vc_VOpLSBP = Combo(o, Vc_VOpOSCGrp, "Vc_VOpLSBP", Notes(21, 100), 166, 284, 74);
    Vc_VOpLSLeftCrv = Radio(o, Vc_VOpOSCGrp, "Vc_VOpLSLeftCrv", "LS LeftCrv", {"-lin", "-exp", "+exp", "+lin"}, 2, 4,
                            353, 120, 54);
    Vc_VOpLSRightCrv = Radio(o, Vc_VOpOSCGrp, "Vc_VOpLSRightCrv", "LS RightCrv", {"-lin", "-exp", "+exp", "+lin"}, 2,
                             128, 353, 122, 54);
    Vc_VOpOPAttText2 = CreateLabel(o, Vc_VOpOSCGrp, "Vc_VOpOPAttText2", "dB", 242, 413);

    // Unvoiced oscillator (shown in place of the voiced one on the unvoiced tabs)
    Vc_UOpOSCGrp = Group(o, Vc_OperatorTab, "Vc_UOpOSCGrp", "OSC", 4, TabsTop, 256, 436);
    Vc_UOpOSCGrp->SetVisible(false);
    Vc_UOpFseqSw = Radio(o, Vc_UOpOSCGrp, "Vc_UOpFseqSw", "Fseq Switch", {"off", "on"}, 2, 4, 12, 120, 36);
    Vc_UOpFseqTrkText = CreateLabel(o, Vc_UOpOSCGrp, "Vc_UOpFseqTrkText", "FseqTrack", 132, 30);
    Vc_UOpFseqTrkText->SetWidth(110);
    Vc_UOpFreqMode =
        Radio(o, Vc_UOpOSCGrp, "Vc_UOpFreqMode", "FreqMode", {"normal", "LinkF0", "LinkFF"}, 3, 4, 54, 246, 40);
    Vc_UOpFreqMode->OnClick = [this](TObject* s) { Vc_UOpFreqModeClick(s); };
    Vc_UOpFreqCoarseText = CreateLabel(o, Vc_UOpOSCGrp, "Vc_UOpFreqCoarseText", "FreqCoarse", 6, 114);
    Vc_UOpFreqCoarseBar = Make<TScrollBar>(o, Vc_UOpOSCGrp, "Vc_UOpFreqCoarseBar", 86, 113, 101, 17);
    Vc_UOpFreqCoarseEdit = Make<TEdit>(o, Vc_UOpOSCGrp, "Vc_UOpFreqCoarseEdit", 191, 111, 48, 20);
    Vc_UOpFreqCoarseText2 = CreateLabel(o, Vc_UOpOSCGrp, "Vc_UOpFreqCoarseText2", "Hz", 242, 114);
    Vc_UOpFreqFineText = CreateLabel(o, Vc_UOpOSCGrp, "Vc_UOpFreqFineText", "FreqFine", 6, 135);
    Vc_UOpFreqFineBar = Make<TScrollBar>(o, Vc_UOpOSCGrp, "Vc_UOpFreqFineBar", 86, 134, 101, 17);

    // The frequency sliders: coarse and fine with the frequency text in the coarse box.
    struct TFrequencySlider {
        TScrollBar* Bar;
        int Max, Large, Position;
    };
    for (const TFrequencySlider& f : {TFrequencySlider{Vc_VOpFreqCoarseBar, 31, 5, 1},
                                      TFrequencySlider{Vc_VOpFreqFineBar, 99, 10, 0},
                                      TFrequencySlider{Vc_UOpFreqCoarseBar, 21, 5, 14},
                                      TFrequencySlider{Vc_UOpFreqFineBar, 127, 10, 0}}) {
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
    Vc_VOpFseqSw->OnClick = [this](TObject* s) { Vc_VOpFseqSwClick(s); };
    Vc_VOpFreqMode->OnClick = [this](TObject* s) { Vc_VOpFreqModeClick(s); };
    Vc_VOpForm->OnChange = [this](TObject* s) { Vc_VOpFormChange(s); };

    // Operator EG with the EG shape row, frequency EG, sensitivities, modulation
    Vc_OpEGGrp = Group(o, Vc_OperatorTab, "Vc_OpEGGrp", "EG", 264, TabsTop, 259, 306);
    Vc_OpEGShape = CreateLabel(o, Vc_OpEGGrp, "Vc_OpEGShape", "EG Shape", 6, 18);
    Vc_OpPresetEG = Combo(o, Vc_OpEGGrp, "Vc_OpPresetEG", PresetEGItems, 60, 14, 116);
    Vc_OpPresetEG->SetTabStop(false);
    Vc_OpPresetEGEdit = Make<TEdit>(o, Vc_OpEGGrp, "Vc_OpPresetEGEdit", 62, 16, 92, 17);
    Vc_OpPresetEGEdit->SetTabStop(false);
    Vc_OpPresetEGEdit->MaxLength = 10;
    const char* shapeButtons[4][3] = {
        {"Vc_OpEGShapeWrite", "Record the envelope as a shape", "glyph_eg_write.bmp"},
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
    Vc_OpEGText =
        CreateLabel(o, Vc_OpEGGrp, "Vc_OpEGText", "Hold Time1 Lv1 Time2 Lv2 Time3 Lv3 Time4 Lv4", 4, 140);
    Vc_OpEGText->Font.Size = 7;
    Vc_OpEGText->SetWidth(222);
    Vc_OpFrqEGGrp = Group(o, Vc_OperatorTab, "Vc_OpFrqEGGrp", "FrqEG", 264, TabsTop + 310, 375, 102);
    Vc_OpFrqEGGraph = Make<TImage>(o, Vc_OpFrqEGGrp, "Vc_OpFrqEGGraph", 202, 8, 168, 92);
    Vc_OpSnsGrp = Group(o, Vc_OperatorTab, "Vc_OpSnsGrp", "Sns", 527, TabsTop, 112, 176);
    Vc_OpModGrp = Group(o, Vc_OperatorTab, "Vc_OpModGrp", "Mod", 527, TabsTop + 180, 112, 112);
}

void TVoicePage::CreatePairs()
{
    for (const TVoicePairRow& row : VoicePairRows()) {
        FPairs.push_back(CreateValuePair(FOwner.get(), ParentOf(*this, row.Parent), row.PairSpec, row.Place));
        TValuePair* pair = FPairs.back().get();
        this->*row.Bar = pair->Bar;
        this->*row.Edit = pair->Edit;
        FPairOfBar[pair->Bar] = {pair, &row};
        pair->Bar->OnChange = [this, &row](TObject*) { PairBarChange(row); };
    }
    // The attenuation box shows decibels, not the position.
    Vc_VOpOPAttEdit->SetText(AttenuationText(0));
}

void TVoicePage::CreateChoices()
{
    for (const TVoiceChoiceRow& row : VoiceChoiceRows()) {
        if (row.Combo)
            (this->*row.Combo)->OnChange = [this, &row](TObject*) { ChoiceChange(row); };
        else
            (this->*row.Radio)->OnClick = [this, &row](TObject*) { ChoiceChange(row); };
    }
}
