// The controls of the performance sheet: kinds, items, ranges, initial values and places, one
// layout file per sheet (this one: the header and the sub-page control; PerformancePartLayout.cpp,
// PerformanceFseqLayout.cpp, PerformanceEffectLayout.cpp). Places fit the main window's 941 x 637
// client area; the effect routing picture and its overlays and labels keep the places their
// artwork was drawn for.
#include "performance/PerformanceLayout.h"
#include "performance/PerformancePage.h"

#include <string>

namespace pfm_layout {

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

} // namespace pfm_layout

using namespace pfm_layout;

namespace {

constexpr int HeaderHeight = 96;   // the header above Pfm_PageControl
constexpr int SubPageHeight = 512; // Pfm_PageControl with its tabs

} // namespace

void TPerformancePage::CreatePair(PfmPair id, TWinControl* parent, const TPairPlace& place)
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    auto pair = CreateValuePair(FOwner, parent, d.PairForm, place);
    if (d.Min != 0) pair->Bar->SetParams(d.PairForm.Initial, d.Min, d.PairForm.Max);
    pair->Bar->SmallChange = 1;
    pair->Bar->OnChange = [this, id](TObject*) { PairBarChange(id); };
    if (d.Text != PfmText::Pair) {
        pair->Texts = [this, id](int position) { return PairText(id, position); };
        pair->ShowValue();
    }
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
    Pfm_Category = Combo(o, Pfm_Name_Grp, "Pfm_Category", layout::CategoryNames(), 118, 17, 136, 0);

    Pfm_PartMute_Grp = Group(o, s, "Pfm_PartMute_Grp", "Part Mute", 266, 0, 232, 46);
    for (int k = 0; k < 4; ++k) {
        auto* b =
            Make<TSpeedButton>(o, Pfm_PartMute_Grp, "Pfm_PartMuteBtn" + std::to_string(k + 1), 8 + 54 * k, 16, 50, 23);
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

    FTopControls = {Pfm_Name_Grp,   Pfm_PartMute_Grp, Pfm_Ch_Grp,     RcvSendGrp,           Pfm_Noteshift_Grp,
                    Pfm_Volume_Grp, Pfm_Pan_Grp,      Pfm_Reverb_Grp, Pfm_VariationRtn_Grp, Pfm_PageControl};
}
