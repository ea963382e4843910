// The controls of the formant-sequence, controller-set and system sheet (see PerformanceLayout.cpp).
#include "performance/PerformanceLayout.h"
#include "performance/PerformancePage.h"

#include <string>
#include <utility>

using namespace pfm_layout;

namespace {

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

} // namespace

void TPerformancePage::CreateFseqCtrlSystemPage()
{
    using P = PfmPair;
    TComponent* o = FOwner;
    TWinControl* s = Pfm_FSEQ_Ctrl_TabSheet;

    Pfm_Fseq_Grp = Group(o, s, "Pfm_Fseq_Grp", "FSEQ", 4, 4, 292, 475);
    TGroupBox* g = Pfm_Fseq_Grp;
    Pfm_Fseq_Part = Radio(o, g, "Pfm_Fseq_Part", "Part", {"off", "1", "2", "3", "4"}, 5, 8, 16, 276, 38, 0);
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
    Pfm_Fseq_KeyOnTrig = Radio(o, g, "Pfm_Fseq_KeyOnTrig", "KeyOnTrig", {"first", "all"}, 2, 158, 130, 126, 38, 0);
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
    Pfm_Fseq_Pitch = Radio(o, g, "Pfm_Fseq_Pitch", "Pitch", {"fseq", "fixed"}, 2, 8, 336, 128, 38, 0);
    Pfm_Fseq_LoopMode = Radio(o, g, "Pfm_Fseq_LoopMode", "Loop Mode", {"oneway", "round"}, 2, 140, 336, 144, 38, 0);
    const P stepRows[] = {P::Pfm_Fseq_StartDelay, P::Pfm_Fseq_StartOffset, P::Pfm_Fseq_LoopStart, P::Pfm_Fseq_LoopEnd};
    for (int i = 0; i < 4; ++i) CreatePair(stepRows[i], g, Place(8, 378 + i * Pitch, 76, 152, 40));

    // Controller sets: VC label, 14 sources over their backdrop, destination, depth, 4 parts.
    Pfm_CntlGrp = Group(o, s, "Pfm_CntlGrp", "Control", 298, 4, 627, 217);
    g = Pfm_CntlGrp;
    // A source column is as wide as its 7-point caption ("MC1") and a gap, so that the captions
    // stand apart.
    constexpr int SrcLeft = 34, Cell = 24, RowTop = 44, RowPitch = 21, PartCell = 16;
    constexpr int DestLeft = SrcLeft + 14 * Cell + 2, DestWidth = 102;
    constexpr int DepthLeft = DestLeft + DestWidth + 2, DepthBar = 46, DepthEdit = 30;
    constexpr int PartLeft = DepthLeft + DepthBar + 4 + DepthEdit + 4;
    auto strip = [&](const std::string& name, int top) {
        auto* w = Make<TWinControl>(o, g, name, 8, top, 619, 15);
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
    heading(Pfm_Cntl_Text, "Pfm_Cntl_DestText", "Destination", DestLeft, DestWidth);
    heading(Pfm_Cntl_Text, "Pfm_Cntl_DepthText", "Depth", DepthLeft, DepthBar + 4 + DepthEdit);
    heading(Pfm_Cntl_Text, "Pfm_Cntl_PartText", "Part", PartLeft, 4 * PartCell);
    for (int c = 0; c < 14; ++c)
        heading(Pfm_Cntl_Text2, std::string("Pfm_Cntl_Src") + SourceNames[c] + "Text", SourceNames[c],
                SrcLeft + c * Cell, Cell);
    for (int i = 0; i < 4; ++i)
        heading(Pfm_Cntl_Text2, "Pfm_Cntl_P" + std::to_string(i + 1) + "Text", "P" + std::to_string(i + 1),
                PartLeft + i * PartCell, PartCell);
    for (int i = 0; i < Pfm_Cntl_Text2->ControlCount(); ++i) Pfm_Cntl_Text2->Controls(i)->Font.Size = 7;

    Pfm_Ctrl_SrcImage = Make<TImage>(o, g, "Pfm_Ctrl_SrcImage", SrcLeft, RowTop, 14 * Cell, 8 * RowPitch);
    Pfm_Ctrl_SrcImage->Stretch = true;
    LoadPicture(Pfm_Ctrl_SrcImage, FProgramFolder / "graphics" / "ctrl_sources.bmp");
    for (int k = 0; k < 8; ++k) {
        const std::string n = std::to_string(k + 1);
        const int y = RowTop + k * RowPitch;
        const auto sk = static_cast<std::size_t>(k);
        Pfm_Cntl_VCText[sk] = CreateLabel(o, g, "Pfm_Cntl_VC" + n + "Text", "VC" + n, 6, y + 3);
        for (int c = 0; c < 14; ++c) {
            auto* box =
                Make<TCheckBox>(o, g, "Pfm_Ctrl_Chk" + n + "_" + SourceNames[c], SrcLeft + c * Cell + 5, y + 2, 15, 17);
            box->SetTabStop(false);
            Pfm_Ctrl_ChkSource[sk][static_cast<std::size_t>(c)] = box;
        }
        Pfm_Ctrl_Dest[sk] = Combo(o, g, "Pfm_Ctrl_Dest" + n, {}, DestLeft, y, DestWidth);
        CreatePair(static_cast<P>(static_cast<int>(P::Pfm_Ctrl_Depth1) + k), g,
                   Place(DepthLeft, y, 0, DepthBar, DepthEdit));
        for (int i = 0; i < 4; ++i) {
            auto* box = Make<TCheckBox>(o, g, "Pfm_Ctrl_Chk" + n + "_P" + std::to_string(i + 1),
                                        PartLeft + i * PartCell + 1, y + 2, 15, 17);
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
    Pfm_SystemVelCrv = Radio(o, g, "Pfm_SystemVelCrv", "Velocity Curve", {"thru", "soft1", "soft2", "wide", "hard"}, 5,
                             L, at(0), W, H, 0);
    Pfm_SystemDumpInterval = Radio(o, g, "Pfm_SystemDumpInterval", "Dump Interval  (msec)",
                                   {"50", "100", "150", "200", "300"}, 5, L, at(1), W, H, 2);
    Pfm_SystemRcvNote =
        Radio(o, g, "Pfm_SystemRcvNote", "Receive Note", {"all", "odd", "even"}, 3, L, at(2), 168, H, 0);
    Pfm_SystemKNCtrlMode =
        Radio(o, g, "Pfm_SystemKNCtrlMode", "Knob Control Mode", {"abs", "rel"}, 2, L + 172, at(2), W - 172, H, 0);
    Pfm_SystemRcvPgmChange = Radio(o, g, "Pfm_SystemRcvPgmChange", "RcvPgmChng", {"off", "on"}, 2, L, at(3), 98, H, 1);
    Pfm_SystemBCCurve = Radio(o, g, "Pfm_SystemBCCurve", "Breath Control Curve", {"thru", "1", "2", "3"}, 4, L + 102,
                              at(3), W - 102, H, 0);
    Pfm_SystemRcvBankSelect =
        Radio(o, g, "Pfm_SystemRcvBankSelect", "RcvBankSel", {"off", "on"}, 2, L, at(4), 98, H, 1);
    Pfm_SystemRcvPgmMode =
        Radio(o, g, "Pfm_SystemRcvPgmMode", "PgmMode", {"Pfm", "multi"}, 2, L + 102, at(4), W - 102, H, 0);
    Pfm_SystemRcvKNCtrl =
        Radio(o, g, "Pfm_SystemRcvKNCtrl", "Receive Knob Control", {"off", "on"}, 2, L, at(5), 144, H, 1);
    Pfm_SystemTrnKNCtrl =
        Radio(o, g, "Pfm_SystemTrnKNCtrl", "Transmit Knob Control", {"off", "on"}, 2, L + 148, at(5), W - 148, H, 1);
}
