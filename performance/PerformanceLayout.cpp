// The controls of the performance sheet: kinds, items, ranges, initial values and places.
// Places fit the main window's 941 x 637 client area; the effect routing picture and its
// overlays and labels keep the places their artwork was drawn for.
#include "core/pages/Layout.h"
#include "performance/PerformancePage.h"

#include <string>
#include <vector>

namespace {

using Items = std::vector<std::string>;

// The sheet inside the main page control, and the sub-sheets inside Pfm_PageControl.
constexpr int SheetWidth = 933;
constexpr int HeaderHeight = 96;
constexpr int SubPageHeight = 512;
constexpr int SubSheetHeight = 483;
constexpr int Pitch = 23; // one pair row
constexpr int ComboHeight = 21;

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name, int l, int t, int w, int h)
{
    auto* c = new T(owner);
    c->Name = name;
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

TGroupBox* Group(TComponent* o, TWinControl* parent, const std::string& name, const std::string& caption, int l, int t,
                 int w, int h)
{
    auto* g = Make<TGroupBox>(o, parent, name, l, t, w, h);
    g->SetCaption(caption);
    return g;
}

TComboBox* Combo(TComponent* o, TWinControl* parent, const std::string& name, const Items& items, int l, int t, int w,
                 int index = -1)
{
    auto* c = Make<TComboBox>(o, parent, name, l, t, w, ComboHeight);
    c->Style = csDropDownList;
    c->DropDownCount = 16;
    c->Items.AddStrings(items);
    c->SetItemIndex(index);
    return c;
}

TRadioGroup* Radio(TComponent* o, TWinControl* parent, const std::string& name, const std::string& caption,
                   const Items& items, int columns, int l, int t, int w, int h, int index = 0)
{
    auto* r = Make<TRadioGroup>(o, parent, name, l, t, w, h);
    r->SetCaption(caption);
    r->Items.AddStrings(items);
    r->SetColumns(columns);
    r->SetItemIndex(index);
    return r;
}

TButton* Button(TComponent* o, TWinControl* parent, const std::string& name, const std::string& caption, int l, int t,
                int w, int h = 24)
{
    auto* b = Make<TButton>(o, parent, name, l, t, w, h);
    b->SetCaption(caption);
    return b;
}

TPairPlace Place(int left, int top, int labelWidth, int barWidth, int editWidth = 34)
{
    TPairPlace p;
    p.Left = left;
    p.Top = top;
    p.LabelWidth = labelWidth;
    p.BarWidth = barWidth;
    p.EditWidth = editWidth;
    return p;
}

// A number in two places, filled with `pad` in front of one digit (pad 0: none).
std::string TwoPlaces(int v, char pad)
{
    std::string s(v < 10 && pad ? 1 : 0, pad);
    s += std::to_string(v);
    return s;
}

Items Numbered(int first, int last, bool twoDigits)
{
    Items out;
    for (int i = first; i <= last; ++i) out.push_back(TwoPlaces(i, twoDigits ? '0' : 0));
    return out;
}

// "L63" .. "L 1", " C", "R 1" .. "R63" for positions 1..127; the part pan puts "Rnd" first.
Items PanNames(bool withRandom)
{
    Items out;
    if (withRandom) out.push_back("Rnd");
    for (int i = 1; i <= 127; ++i) {
        std::string name = i == 64 ? " C" : i < 64 ? "L" : "R";
        if (i != 64) name += TwoPlaces(i < 64 ? 64 - i : i - 64, ' ');
        out.push_back(name);
    }
    return out;
}

// The twelve controller-assignment lists: controller numbers 1..31 and 33..95 (32 is never
// assigned), each "NN:" and its label.
Items ControllerAssignList()
{
    static const std::pair<int, const char*> named[] = {
        {1, "MW"},       {2, "BC"},       {4, "FC"},       {5, "PortaTm"},  {6, "DataEnt"},  {7, "Volume"},
        {8, "Balance"},  {10, "Pan"},     {11, "Express"}, {16, "Generl1"}, {17, "Generl2"}, {18, "Generl3"},
        {19, "Generl4"}, {64, "Sustain"}, {65, "PortaSw"}, {66, "Sostenu"}, {67, "Soft"},    {69, "Hold2"},
        {71, "Harmoni"}, {72, "Release"}, {73, "Attack"},  {74, "Bright"},  {84, "PortaCt"}, {91, "RevSend"},
        {92, "Effect2"}, {93, "ChoSend"}, {94, "VarSend"}, {95, "Effect5"},
    };
    Items out;
    for (int i = 0; i < 94; ++i) {
        const int number = i <= 30 ? i + 1 : i + 2;
        std::string label = "-------";
        for (const auto& [n, text] : named)
            if (n == number) label = text;
        out.push_back(TwoPlaces(number, '0') + ":" + label);
    }
    return out;
}

const char* const SourceNames[14] = {"KN1", "KN2", "KN3", "KN4", "MC1", "MC2", "MC3",
                                     "MC4", "FC",  "BC",  "MW",  "CAT", "PAT", "PB"};
const char* const AssignNames[12] = {"KN1", "KN2", "KN3", "KN4", "MC1", "MC2", "MC3", "MC4", "FC", "BC", "Frm", "FM"};

// A picture the build draws into the program folder; an image stays empty without it.
void LoadPicture(TImage* image, const std::filesystem::path& file)
{
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) image->Picture.LoadFromFile(file.string());
}

} // namespace

void TPerformancePage::CreatePair(PfmPair id, TWinControl* parent, const TPairPlace& place)
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    auto pair = CreateValuePair(FOwner, parent, d.PairSpec, place);
    if (d.Min != 0) pair->Bar->SetParams(d.PairSpec.Initial, d.Min, d.PairSpec.Max);
    pair->Bar->SmallChange = 1;
    pair->Bar->OnChange = [this, id](TObject*) { PairBarChange(id); };
    if (d.Text != PfmText::Pair) pair->Edit->SetText(PairText(id, d.PairSpec.Initial));
    FPairs[static_cast<std::size_t>(id)] = std::move(pair);
}

// ---- header --------------------------------------------------------------------------------

void TPerformancePage::CreateHeader()
{
    TComponent* o = FOwner;
    TWinControl* s = Pfm_TabSheet;

    Pfm_Name_Grp = Group(o, s, "Pfm_Name_Grp", "Name&&Category", 0, 0, 262, 46);
    Pfm_Name = Make<TEdit>(o, Pfm_Name_Grp, "Pfm_Name", 8, 17, 104, 21);
    Pfm_Name->MaxLength = 12;
    Pfm_Name->SetText("InitPerfrmnc");
    Pfm_Category = Combo(o, Pfm_Name_Grp, "Pfm_Category",
                         {"--", "Pf:Piano", "Cp:C-Percussion", "Or:Organ", "Gt:Guiter", "Ba:Bass", "St:Strings",
                          "En:Ensemble", "Br:Brass", "Rd:Reed", "Pi:Pipe", "Ld:Synth Lead", "Pd:Synth Pad",
                          "Fx:Synth SE", "Et:Ethnic", "Pc:Percussive", "Se:Sound Effect", "Dr:Drums",
                          "Sc:Synth Comping", "Vo:Voice", "Co:Combination", "Wv:Material Wave", "Sq:Sequence"},
                         118, 17, 136, 0);

    Pfm_PartMute_Grp = Group(o, s, "Pfm_PartMute_Grp", "Part Mute", 266, 0, 232, 46);
    for (int k = 0; k < 4; ++k) {
        auto* b = Make<TSpeedButton>(o, Pfm_PartMute_Grp, "Pfm_PartMuteBtn" + std::to_string(k + 1), 8 + 54 * k, 16, 50,
                                     23);
        b->SetCaption("Part" + std::to_string(k + 1));
        b->GroupIndex = k + 1; // each toggles alone
        b->AllowAllUp = true;
        Pfm_PartMuteBtn[static_cast<std::size_t>(k)] = b;
    }

    Pfm_Ch_Grp = Group(o, s, "Pfm_Ch_Grp", "Pfm Ch", 502, 0, 72, 46);
    Items channels = Numbered(1, 16, false);
    channels.insert(channels.end(), {"all", "off"});
    Pfm_Ch = Combo(o, Pfm_Ch_Grp, "Pfm_Ch", channels, 8, 17, 56, 0);

    RcvSendGrp = Group(o, s, "RcvSendGrp", "Performance Parameter", 578, 0, 172, 46);
    Pfm_Data_Request_Btn = Button(o, RcvSendGrp, "Pfm_Data_Request_Btn", "Receive", 8, 16, 76);
    Pfm_Data_Send_Btn = Button(o, RcvSendGrp, "Pfm_Data_Send_Btn", "Transmit", 88, 16, 76);

    Pfm_Noteshift_Grp = Group(o, s, "Pfm_Noteshift_Grp", "Note Shift", 754, 0, 179, 46);
    CreatePair(PfmPair::Pfm_Noteshift, Pfm_Noteshift_Grp, Place(8, 17, 0, 118, 38));

    Pfm_Volume_Grp = Group(o, s, "Pfm_Volume_Grp", "Volume", 0, 48, 230, 46);
    CreatePair(PfmPair::Pfm_Volume, Pfm_Volume_Grp, Place(8, 17, 0, 170, 38));

    Pfm_Pan_Grp = Group(o, s, "Pfm_Pan_Grp", "Pan", 234, 48, 230, 46);
    Pfm_PanBar = Make<TScrollBar>(o, Pfm_Pan_Grp, "Pfm_PanBar", 8, 19, 156, 17);
    Pfm_PanBar->SetParams(64, 1, 127);
    Pfm_PanBar->LargeChange = 10;
    Pfm_PanBar->SetTabStop(false);
    Pfm_Pan = Combo(o, Pfm_Pan_Grp, "Pfm_Pan", PanNames(false), 168, 17, 54, 63);

    Pfm_Reverb_Grp = Group(o, s, "Pfm_Reverb_Grp", "Reverb Return Level", 468, 48, 231, 46);
    CreatePair(PfmPair::Pfm_ReverbRtn, Pfm_Reverb_Grp, Place(8, 17, 0, 171, 38));

    Pfm_VariationRtn_Grp = Group(o, s, "Pfm_VariationRtn_Grp", "Variation Return Level", 703, 48, 230, 46);
    CreatePair(PfmPair::Pfm_VariationRtn, Pfm_VariationRtn_Grp, Place(8, 17, 0, 170, 38));

    Pfm_PageControl = Make<TPageControl>(o, s, "Pfm_PageControl", 0, HeaderHeight, SheetWidth, SubPageHeight);
    auto sheet = [&](const std::string& name, const std::string& caption) {
        auto* t = new TTabSheet(o);
        t->Name = name;
        t->SetCaption(caption);
        t->SetPageControl(Pfm_PageControl);
        return t;
    };
    Pfm_Part_TabSheet = sheet("Pfm_Part_TabSheet", "PartParameter");
    Pfm_FSEQ_Ctrl_TabSheet = sheet("Pfm_FSEQ_Ctrl_TabSheet", "FSEQ , Control && System");
    Pfm_Effect_TabSheet = sheet("Pfm_Effect_TabSheet", "Effect");
    Pfm_PageControl->SetActivePage(Pfm_Part_TabSheet);

    FTopControls = {Pfm_Name_Grp,   Pfm_PartMute_Grp,     Pfm_Ch_Grp, RcvSendGrp,     Pfm_Noteshift_Grp,
                    Pfm_Volume_Grp, Pfm_Pan_Grp,          Pfm_Reverb_Grp, Pfm_VariationRtn_Grp, Pfm_PageControl};
}

// ---- part page -------------------------------------------------------------------------------

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
    Pfm_Part_BankNum = Combo(o, g, "Pfm_Part_BankNum",
                             {"off", "Int", "PrA", "PrB", "PrC", "PrD", "PrE", "PrF", "PrG", "PrH", "PrI", "PrJ", "PrK"},
                             56, 17, 60);
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
    Pfm_Part_InsEffectSw = Radio(o, GroupBox1, "Pfm_Part_InsEffectSw", "InsSw", {"off", "on"}, 2, 6, 15, 120, 36);
    CreatePair(P::Pfm_Part_DryLevel, GroupBox1, Place(6, 53, 50, 110));
    CreatePair(P::Pfm_Part_ReverbSend, GroupBox1, Place(6, 53 + Pitch, 50, 110));
    CreatePair(P::Pfm_Part_VariationSend, GroupBox1, Place(6, 53 + 2 * Pitch, 50, 110));

    Pfm_Part_PitchGrp = Group(o, Pfm_PartTab, "Pfm_Part_PitchGrp", "Pitch", x1, Top + 246, Col, 196);
    g = Pfm_Part_PitchGrp;
    const P pitchRows[] = {P::Pfm_Part_Detune, P::Pfm_Part_NoteShift, P::Pfm_Part_PBRange, P::Pfm_Part_PBRangeLo};
    for (int i = 0; i < 4; ++i) CreatePair(pitchRows[i], g, Place(8, 17 + i * Pitch, 72, 100));
    Pfm_Part_PortaSw = Radio(o, g, "Pfm_Part_PortaSw", "Portament Sw", {"off", "on"}, 1, 8, 109, 96, 56);
    Pfm_Part_PortaMode = Radio(o, g, "Pfm_Part_PortaMode", "Portament Mode", {"fingerd", "fulltime"}, 1, 108, 109, 110, 56);
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
    Pfm_Part_FilterSw = Radio(o, Pfm_Part_Filter_Grp, "Pfm_Part_FilterSw", "Filter Switch", {"off", "on"}, 2, 6, 14, 202, 36);
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
    Pfm_Part_MonoPoly = Radio(o, g, "Pfm_Part_MonoPoly", "Mono/Poly Mode", {"mono", "poly"}, 2, 6, 16, 214, 38);
    Pfm_Part_MonoPriority =
        Radio(o, g, "Pfm_Part_MonoPriority", "Mono Priority", {"last", "top", "bottom", "first"}, 2, 6, 56, 214, 56);
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
    Pfm_Part_SustainRcvSw = Radio(o, g, "Pfm_Part_SustainRcvSw", "Sustain Rcv Sw", {"off", "on"}, 2, 228, 200, 222, 38);
    CreatePair(P::Pfm_Part_PanScale, Pfm_Part_PanGrp, Place(6, 16 + Pitch, 72, 100));
    CreatePair(P::Pfm_Part_PanMod, Pfm_Part_PanGrp, Place(6, 16 + 2 * Pitch, 72, 100));
}

// ---- formant sequence, controller sets, system -------------------------------------------------

void TPerformancePage::CreateFseqCtrlSystemPage()
{
    using P = PfmPair;
    TComponent* o = FOwner;
    TWinControl* s = Pfm_FSEQ_Ctrl_TabSheet;

    Pfm_Fseq_Grp = Group(o, s, "Pfm_Fseq_Grp", "FSEQ", 4, 4, 292, 475);
    TGroupBox* g = Pfm_Fseq_Grp;
    Pfm_Fseq_Part = Radio(o, g, "Pfm_Fseq_Part", "Part", {"off", "1", "2", "3", "4"}, 5, 8, 16, 276, 38);
    Pfm_FseqSelectGrp = Group(o, g, "Pfm_FseqSelectGrp", "FSEQ", 8, 56, 276, 70);
    Pfm_Fseq_FseqBank = Radio(o, Pfm_FseqSelectGrp, "Pfm_Fseq_FseqBank", "Bank", {"int", "pre"}, 1, 6, 13, 60, 52, 1);
    Items memories;
    for (int m = 1; m <= 6; ++m) memories.push_back("0" + std::to_string(m) + ": Store OK !");
    Pfm_Fseq_FseqInt = Combo(o, Pfm_FseqSelectGrp, "Pfm_Fseq_FseqInt", memories, 70, 16, 118, 0);
    Pfm_Fseq_FseqInt->SetEnabled(false);
    Items presets(FseqPresetNames.begin(), FseqPresetNames.end());
    Pfm_Fseq_FseqPre = Combo(o, Pfm_FseqSelectGrp, "Pfm_Fseq_FseqPre", presets, 70, 41, 118, 0);
    auto* write = Make<TBitBtn>(o, Pfm_FseqSelectGrp, "Pfm_Fseq_FseqIntWrite", 192, 15, 26, 23);
    write->LoadGlyph((FProgramFolder / "graphics" / "glyph_fseq_write.bmp").string());
    Pfm_Fseq_FseqIntWrite = write;
    Pfm_Fseq_FseqTestBtn = Button(o, Pfm_FseqSelectGrp, "Pfm_Fseq_FseqTestBtn", "Test", 220, 15, 40, 23);
    Pfm_Fseq_FseqIntClear = Button(o, Pfm_FseqSelectGrp, "Pfm_Fseq_FseqIntClear", "Clear", 192, 40, 68, 23);

    Pfm_Fseq_Mode = Radio(o, g, "Pfm_Fseq_Mode", "Mode", {"scratch", "fseq"}, 2, 8, 130, 146, 38, 1);
    Pfm_Fseq_KeyOnTrig = Radio(o, g, "Pfm_Fseq_KeyOnTrig", "KeyOnTrig", {"first", "all"}, 2, 158, 130, 126, 38);
    Pfm_Fseq_SpeedGrp = Group(o, g, "Pfm_Fseq_SpeedGrp", "Speed", 8, 172, 276, 112);
    Pfm_Fseq_SpeedSelect =
        Radio(o, Pfm_Fseq_SpeedGrp, "Pfm_Fseq_SpeedSelect", "Select", {"midi", "%"}, 1, 6, 13, 66, 54, 1);
    Pfm_Fseq_Speedmidi = Radio(o, Pfm_Fseq_SpeedGrp, "Pfm_Fseq_Speedmidi", "midi",
                               {"midi1/4", "midi1/2", "midi", "midi2/1", "midi4/1"}, 2, 76, 13, 194, 70, 2);
    Pfm_Fseq_Speedmidi->SetEnabled(false);
    CreatePair(P::Pfm_Fseq_Speed, Pfm_Fseq_SpeedGrp, Place(6, 86, 20, 190, 50));
    Pair(P::Pfm_Fseq_Speed).Edit->SetEnabled(false);
    CreatePair(P::Pfm_Fseq_SpeedVel, g, Place(8, 288, 76, 152, 40));
    CreatePair(P::Pfm_Fseq_LevelVel, g, Place(8, 288 + Pitch, 76, 152, 40));
    Pfm_Fseq_Pitch = Radio(o, g, "Pfm_Fseq_Pitch", "Pitch", {"fseq", "fixed"}, 2, 8, 336, 128, 38);
    Pfm_Fseq_LoopMode = Radio(o, g, "Pfm_Fseq_LoopMode", "Loop Mode", {"oneway", "round"}, 2, 140, 336, 144, 38);
    const P stepRows[] = {P::Pfm_Fseq_StartDelay, P::Pfm_Fseq_StartOffset, P::Pfm_Fseq_LoopStart, P::Pfm_Fseq_LoopEnd};
    for (int i = 0; i < 4; ++i) CreatePair(stepRows[i], g, Place(8, 378 + i * Pitch, 76, 152, 40));

    FSEQTimer = new TTimer(o);
    FSEQTimer->Name = "FSEQTimer";
    FSEQTimer->SetEnabled(false);
    FSEQTimer->SetInterval(500);
    FTimerToFree = FSEQTimer;

    // Controller sets: VC label, 14 sources over their backdrop, destination, depth, 4 parts.
    Pfm_CntlGrp = Group(o, s, "Pfm_CntlGrp", "Control", 298, 4, 627, 217);
    g = Pfm_CntlGrp;
    constexpr int SrcLeft = 40, Cell = 20, RowTop = 44, RowPitch = 21;
    constexpr int DestLeft = SrcLeft + 14 * Cell + 6, DepthLeft = DestLeft + 106, PartLeft = DepthLeft + 110;
    auto strip = [&](const std::string& name, int top) {
        auto* w = Make<TWinControl>(o, g, name, 8, top, 611, 15);
        w->SetTabStop(false);
        return w;
    };
    Pfm_Cntl_Text = strip("Pfm_Cntl_Text", 14);
    Pfm_Cntl_Text2 = strip("Pfm_Cntl_Text2", 29);
    auto heading = [&](TWinControl* row, const std::string& name, const std::string& caption, int left, int width) {
        TLabel* l = CreateLabel(o, row, name, caption, left - 8, 1);
        l->AutoSize = false;
        l->SetWidth(width);
        l->Alignment = taCenter;
    };
    heading(Pfm_Cntl_Text, "Pfm_Cntl_SourceText", "Source", SrcLeft, 14 * Cell);
    heading(Pfm_Cntl_Text, "Pfm_Cntl_DestText", "Destination", DestLeft, 102);
    heading(Pfm_Cntl_Text, "Pfm_Cntl_DepthText", "Depth", DepthLeft, 104);
    heading(Pfm_Cntl_Text, "Pfm_Cntl_PartText", "Part", PartLeft, 4 * 18);
    for (int c = 0; c < 14; ++c)
        heading(Pfm_Cntl_Text2, std::string("Pfm_Cntl_Src") + SourceNames[c] + "Text", SourceNames[c], SrcLeft + c * Cell,
                Cell);
    for (int i = 0; i < 4; ++i)
        heading(Pfm_Cntl_Text2, "Pfm_Cntl_P" + std::to_string(i + 1) + "Text", "P" + std::to_string(i + 1),
                PartLeft + i * 18, 18);
    for (int i = 0; i < Pfm_Cntl_Text2->ControlCount(); ++i) Pfm_Cntl_Text2->Controls(i)->Font.Size = 7;

    Pfm_Ctrl_SrcImage = Make<TImage>(o, g, "Pfm_Ctrl_SrcImage", SrcLeft, RowTop, 14 * Cell, 8 * RowPitch);
    Pfm_Ctrl_SrcImage->Stretch = true;
    LoadPicture(Pfm_Ctrl_SrcImage, FProgramFolder / "graphics" / "ctrl_sources.bmp");
    for (int k = 0; k < 8; ++k) {
        const std::string n = std::to_string(k + 1);
        const int y = RowTop + k * RowPitch;
        const auto sk = static_cast<std::size_t>(k);
        Pfm_Cntl_VCText[sk] = CreateLabel(o, g, "Pfm_Cntl_VC" + n + "Text", "VC" + n, 8, y + 3);
        for (int c = 0; c < 14; ++c) {
            auto* box = Make<TCheckBox>(o, g, "Pfm_Ctrl_Chk" + n + "_" + SourceNames[c], SrcLeft + c * Cell + 3, y + 2,
                                        15, 17);
            box->SetTabStop(false);
            Pfm_Ctrl_ChkSource[sk][static_cast<std::size_t>(c)] = box;
        }
        Pfm_Ctrl_Dest[sk] = Combo(o, g, "Pfm_Ctrl_Dest" + n, {}, DestLeft, y, 102);
        CreatePair(static_cast<P>(static_cast<int>(P::Pfm_Ctrl_Depth1) + k), g, Place(DepthLeft, y, 0, 66, 34));
        for (int i = 0; i < 4; ++i) {
            auto* box = Make<TCheckBox>(o, g, "Pfm_Ctrl_Chk" + n + "_P" + std::to_string(i + 1), PartLeft + i * 18 + 2,
                                        y + 2, 15, 17);
            box->SetTabStop(false);
            Pfm_Ctrl_ChkPart[sk][static_cast<std::size_t>(i)] = box;
        }
    }

    // System: assignments on the left, master tune and the settings on the right.
    Pfm_SystemGrp = Group(o, s, "Pfm_SystemGrp", "System Parameter", 298, 225, 627, 254);
    g = Pfm_SystemGrp;
    Pfm_Cntl_AssignGrp = Group(o, g, "Pfm_Cntl_AssignGrp", "Controller Assign", 8, 15, 312, 131);
    const Items assign = ControllerAssignList();
    for (int i = 0; i < 12; ++i) {
        const int col = i % 3, row = i / 3;
        const std::string name = std::string("Pfm_Cntl_Assign") + AssignNames[i];
        CreateLabel(o, Pfm_Cntl_AssignGrp, name + "Text", AssignNames[i], 6 + col * 102, 18 + row * 23);
        Pfm_Cntl_Assign[static_cast<std::size_t>(i)] =
            Combo(o, Pfm_Cntl_AssignGrp, name, assign, 34 + col * 102, 15 + row * 23, 70);
    }
    Pfm_Cntl_AssignDefaultBtn = Button(o, Pfm_Cntl_AssignGrp, "Pfm_Cntl_AssignDefaultBtn", "Default", 6, 104, 80);
    CreatePair(P::Pfm_SystemMstrTune, g, Place(8, 151, 104, 154, 40));
    CreatePair(P::Pfm_SystemMstrNote, g, Place(8, 151 + Pitch, 104, 154, 40));
    Pfm_SystemBulkDumpGrp = Group(o, g, "Pfm_SystemBulkDumpGrp", "System Bulk Dump", 8, 198, 312, 50);
    Pfm_SystemRcvBtn = Button(o, Pfm_SystemBulkDumpGrp, "Pfm_SystemRcvBtn", "Recieve", 8, 17, 90, 24);
    Pfm_SystemSendBtn = Button(o, Pfm_SystemBulkDumpGrp, "Pfm_SystemSendBtn", "Transmit", 102, 17, 90, 24);

    // The settings beside them, two to a row where they fit; bank select under program change.
    constexpr int L = 326, W = 293, Row = 38, H = 36;
    auto at = [](int row) { return 14 + row * Row; };
    Pfm_SystemVelCrv =
        Radio(o, g, "Pfm_SystemVelCrv", "Velocity Curve", {"thru", "soft1", "soft2", "wide", "hard"}, 5, L, at(0), W, H);
    Pfm_SystemDumpInterval = Radio(o, g, "Pfm_SystemDumpInterval", "Dump Interval  (msec)",
                                   {"50", "100", "150", "200", "300"}, 5, L, at(1), W, H, 2);
    Pfm_SystemRcvNote = Radio(o, g, "Pfm_SystemRcvNote", "Receive Note", {"all", "odd", "even"}, 3, L, at(2), 168, H);
    Pfm_SystemKNCtrlMode =
        Radio(o, g, "Pfm_SystemKNCtrlMode", "Knob Control Mode", {"abs", "rel"}, 2, L + 172, at(2), W - 172, H);
    Pfm_SystemRcvPgmChange = Radio(o, g, "Pfm_SystemRcvPgmChange", "RcvPgmChng", {"off", "on"}, 2, L, at(3), 98, H, 1);
    Pfm_SystemBCCurve =
        Radio(o, g, "Pfm_SystemBCCurve", "Breath Control Curve", {"thru", "1", "2", "3"}, 4, L + 102, at(3), W - 102, H);
    Pfm_SystemRcvBankSelect = Radio(o, g, "Pfm_SystemRcvBankSelect", "RcvBankSel", {"off", "on"}, 2, L, at(4), 98, H, 1);
    Pfm_SystemRcvPgmMode = Radio(o, g, "Pfm_SystemRcvPgmMode", "PgmMode", {"Pfm", "multi"}, 2, L + 102, at(4), W - 102, H);
    Pfm_SystemRcvKNCtrl =
        Radio(o, g, "Pfm_SystemRcvKNCtrl", "Receive Knob Control", {"off", "on"}, 2, L, at(5), 144, H, 1);
    Pfm_SystemTrnKNCtrl =
        Radio(o, g, "Pfm_SystemTrnKNCtrl", "Transmit Knob Control", {"off", "on"}, 2, L + 148, at(5), W - 148, H, 1);
}

// ---- effects and EQ ----------------------------------------------------------------------------

void TPerformancePage::CreateEffectPage()
{
    using P = PfmPair;
    TComponent* o = FOwner;
    TWinControl* s = Pfm_Effect_TabSheet;
    const std::filesystem::path graphics = FProgramFolder / "graphics";

    // The routing picture, its two drawn overlays and the 18 number labels on top.
    Pfm_Effect_Image = Make<TImage>(o, s, "Pfm_Effect_Image", 2, 3, 373, 476);
    LoadPicture(Pfm_Effect_Image, graphics / "effect_routing.bmp");
    Pfm_Effect_ImageInsSw = Make<TImage>(o, s, "Pfm_Effect_ImageInsSw", 63, 31, 81, 142);
    Pfm_Effect_ImageIndividual = Make<TImage>(o, s, "Pfm_Effect_ImageIndividual", 46, 223, 90, 81);
    LoadPicture(Pfm_Effect_ImageIndividual, graphics / "effect_individual.bmp");
    auto routeLabel = [&](const std::string& name, int left, int top) {
        TLabel* l = CreateLabel(o, s, name, "0", left, top);
        l->Color = clBlack;
        l->Font.Color = clWhite;
        l->Font.Style = fsBold;
        l->Transparent = true; // the picture leaves a black place for each number
        l->SetBounds(left, top, 28, 15);
        return l;
    };
    constexpr int RowTops[4] = {24, 63, 104, 143};
    for (int p = 0; p < 4; ++p) {
        const std::string n = std::to_string(p + 1);
        const auto sp = static_cast<std::size_t>(p);
        Pfm_Effect_ImageDryLvl[sp] = routeLabel("Pfm_Effect_ImageDryLvl" + n, 163, RowTops[p]);
        Pfm_Effect_ImageRevSend[sp] = routeLabel("Pfm_Effect_ImageRevSend" + n, 235, RowTops[p]);
        Pfm_Effect_ImageVarSend[sp] = routeLabel("Pfm_Effect_ImageVarSend" + n, 306, RowTops[p]);
    }
    Pfm_Effect_ImageInsDryLvl = routeLabel("Pfm_Effect_ImageInsDryLvl", 163, 237);
    Pfm_Effect_ImageInsSendtoRev = routeLabel("Pfm_Effect_ImageInsSendtoRev", 235, 237);
    Pfm_Effect_ImageInsSendtoVar = routeLabel("Pfm_Effect_ImageInsSendtoVar", 306, 237);
    Pfm_Effect_ImageVarSendtoRev = routeLabel("Pfm_Effect_ImageVarSendtoRev", 235, 300);
    Pfm_Effect_ImageRevRtn = routeLabel("Pfm_Effect_ImageRevRtn", 163, 334);
    Pfm_Effect_ImageVarRtn = routeLabel("Pfm_Effect_ImageVarRtn", 306, 334);

    // The effect tab: part sends (tab 0) or one block's type and 18 rows (tabs 1..3), in one place.
    Pfm_Effect_Tab = Make<TTabControl>(o, s, "Pfm_Effect_Tab", 378, 0, 295, SubSheetHeight);
    Pfm_Effect_Tab->Font.Size = 7; // four tabs side by side beside the routing picture
    Pfm_Effect_Tab->Tabs = {"Part Parameter", "Reverb", "Variation", "Insertion"};
    Pfm_Effect_Tab->SetTabIndex(0);
    Pfm_Effect_ParaGrp = Group(o, Pfm_Effect_Tab, "Pfm_Effect_ParaGrp", "Effect Parameter", 4, 28, 285, 451);
    Pfm_Effect_ParaGrp->SetVisible(false);
    Pfm_Effect_TypeText = CreateLabel(o, Pfm_Effect_ParaGrp, "Pfm_Effect_TypeText", "Type", 8, 19);
    Pfm_Effect_Type = Combo(o, Pfm_Effect_ParaGrp, "Pfm_Effect_Type", {}, 44, 16, 232);
    for (int n = 0; n < 18; ++n)
        CreatePair(static_cast<P>(static_cast<int>(P::Pfm_Effect_Para1) + n), Pfm_Effect_ParaGrp,
                   Place(8, 42 + n * 22, 84, 136, 44));

    Pfm_Effect_PartParaGrp =
        Group(o, Pfm_Effect_Tab, "Pfm_Effect_PartParaGrp", "Part Effect Parameter", 4, 28, 285, 451);
    for (int p = 0; p < 4; ++p) {
        const std::string n = std::to_string(p + 1);
        const auto sp = static_cast<std::size_t>(p);
        TGroupBox* pg = Group(o, Pfm_Effect_PartParaGrp, "Pfm_Effect_P" + n + "ParaGrp", "Part" + n, 6, 16 + p * 93, 273, 89);
        Pfm_Effect_PParaGrp[sp] = pg;
        Pfm_Effect_PInsSw[sp] = Radio(o, pg, "Pfm_Effect_P" + n + "InsSw", "InsSw", {"off", "on"}, 1, 6, 13, 62, 70);
        const int first = static_cast<int>(P::Pfm_Effect_P1DryLvl) + 3 * p;
        for (int r = 0; r < 3; ++r) CreatePair(static_cast<P>(first + r), pg, Place(74, 14 + r * 24, 50, 100, 36));
    }
    Pfm_Effect_IndividualOutput = Radio(o, Pfm_Effect_PartParaGrp, "Pfm_Effect_IndividualOutput", "Individual Output",
                                        {"off", "pre ins", "post ins"}, 3, 6, 390, 273, 40);

    // The equalizer: the shape picture, then the three bands.
    Pfm_Effect_EQGrp = Group(o, s, "Pfm_Effect_EQGrp", "Equalizer", 675, 0, 248, 479);
    EQ_GraphImage = Make<TImage>(o, Pfm_Effect_EQGrp, "EQ_GraphImage", 6, 15, 238, 153);
    Pfm_Effect_EQ_LowGrp = Group(o, Pfm_Effect_EQGrp, "Pfm_Effect_EQ_LowGrp", "EQ Low", 6, 170, 238, 109);
    Pfm_Effect_EQ_MidGrp = Group(o, Pfm_Effect_EQGrp, "Pfm_Effect_EQ_MidGrp", "EQ Mid", 6, 281, 238, 78);
    Pfm_Effect_EQ_HighGrp = Group(o, Pfm_Effect_EQGrp, "Pfm_Effect_EQ_HighGrp", "EQ High", 6, 361, 238, 109);
    Pfm_Effect_EQ_LowShape =
        Radio(o, Pfm_Effect_EQ_LowGrp, "Pfm_Effect_EQ_LowShape", "Shape", {"shelv", "peak"}, 2, 6, 12, 226, 33);
    Pfm_Effect_EQ_HighShape =
        Radio(o, Pfm_Effect_EQ_HighGrp, "Pfm_Effect_EQ_HighShape", "Shape", {"shelv", "peak"}, 2, 6, 12, 226, 33);
    struct Band {
        TGroupBox* Grp;
        P First;
        int Top;
        const char* Name;
    };
    const Band bands[] = {{Pfm_Effect_EQ_LowGrp, P::Pfm_Effect_EQ_LowFreq, 46, "Low"},
                          {Pfm_Effect_EQ_MidGrp, P::Pfm_Effect_EQ_MidFreq, 14, "Mid"},
                          {Pfm_Effect_EQ_HighGrp, P::Pfm_Effect_EQ_HighFreq, 46, "High"}};
    for (const Band& b : bands) {
        for (int r = 0; r < 3; ++r) {
            const P id = static_cast<P>(static_cast<int>(b.First) + r);
            CreatePair(id, b.Grp, Place(6, b.Top + r * 20, 30, 118, 42));
            Pair(id).Edit->SetHeight(19);
        }
        const std::string stem = std::string("Pfm_Effect_EQ_") + b.Name;
        CreateLabel(o, b.Grp, stem + "FreqUnitText", "Hz", 204, b.Top + 3);
        CreateLabel(o, b.Grp, stem + "GainUnitText", "dB", 204, b.Top + 23);
    }
}
