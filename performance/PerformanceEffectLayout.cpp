// The controls of the effect and EQ sheet (see PerformanceLayout.cpp).
#include "performance/PerformanceLayout.h"
#include "performance/PerformancePage.h"

#include <filesystem>
#include <string>

using namespace pfm_layout;

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
                   Place(8, 42 + n * 22, 84, 120, 58)); // boxes wide enough for "reverse", "1365.0"

    Pfm_Effect_PartParaGrp =
        Group(o, Pfm_Effect_Tab, "Pfm_Effect_PartParaGrp", "Part Effect Parameter", 4, 28, 285, 451);
    for (int p = 0; p < 4; ++p) {
        const std::string n = std::to_string(p + 1);
        const auto sp = static_cast<std::size_t>(p);
        TGroupBox* pg =
            Group(o, Pfm_Effect_PartParaGrp, "Pfm_Effect_P" + n + "ParaGrp", "Part" + n, 6, 16 + p * 93, 273, 89);
        Pfm_Effect_PParaGrp[sp] = pg;
        Pfm_Effect_PInsSw[sp] = Radio(o, pg, "Pfm_Effect_P" + n + "InsSw", "InsSw", {"off", "on"}, 1, 6, 13, 62, 70, 0);
        const int first = static_cast<int>(P::Pfm_Effect_P1DryLvl) + 3 * p;
        for (int r = 0; r < 3; ++r) CreatePair(static_cast<P>(first + r), pg, Place(74, 14 + r * 24, 50, 100, 36));
    }
    Pfm_Effect_IndividualOutput = Radio(o, Pfm_Effect_PartParaGrp, "Pfm_Effect_IndividualOutput", "Individual Output",
                                        {"off", "pre ins", "post ins"}, 3, 6, 390, 273, 40, 0);

    // The equalizer: the shape picture, then the three bands.
    Pfm_Effect_EQGrp = Group(o, s, "Pfm_Effect_EQGrp", "Equalizer", 675, 0, 248, 479);
    EQ_GraphImage = Make<TImage>(o, Pfm_Effect_EQGrp, "EQ_GraphImage", 6, 15, 238, 153);
    // A shape radio group needs its caption's height above a whole row of buttons.
    Pfm_Effect_EQ_LowGrp = Group(o, Pfm_Effect_EQGrp, "Pfm_Effect_EQ_LowGrp", "EQ Low", 6, 170, 238, 114);
    Pfm_Effect_EQ_MidGrp = Group(o, Pfm_Effect_EQGrp, "Pfm_Effect_EQ_MidGrp", "EQ Mid", 6, 286, 238, 76);
    Pfm_Effect_EQ_HighGrp = Group(o, Pfm_Effect_EQGrp, "Pfm_Effect_EQ_HighGrp", "EQ High", 6, 364, 238, 114);
    Pfm_Effect_EQ_LowShape =
        Radio(o, Pfm_Effect_EQ_LowGrp, "Pfm_Effect_EQ_LowShape", "Shape", {"shelv", "peak"}, 2, 6, 12, 226, 39, 0);
    Pfm_Effect_EQ_HighShape =
        Radio(o, Pfm_Effect_EQ_HighGrp, "Pfm_Effect_EQ_HighShape", "Shape", {"shelv", "peak"}, 2, 6, 12, 226, 39, 0);
    struct Band {
        TGroupBox* Grp;
        P First;
        int Top;
        const char* Name;
    };
    const Band bands[] = {{Pfm_Effect_EQ_LowGrp, P::Pfm_Effect_EQ_LowFreq, 52, "Low"},
                          {Pfm_Effect_EQ_MidGrp, P::Pfm_Effect_EQ_MidFreq, 14, "Mid"},
                          {Pfm_Effect_EQ_HighGrp, P::Pfm_Effect_EQ_HighFreq, 52, "High"}};
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
