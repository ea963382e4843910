// The effect and EQ sheet: the parts' insertion switches and levels with the routing picture's
// labels and overlays, the individual output, the three effect blocks' types and parameter rows,
// and the equalizer with its shape picture.
//
// The effect parameter rows take their address, display kind, conversion and text from the
// effect type stored for the block on the effect tab; a stored type outside its block's types is
// taken as the dump builder takes it (brought into range), so the page shows what the instrument
// gets. Loaded words outside a row's range are shown as the slider keeps them (clamped) and are
// left as they are in the edit buffer.
#include "performance/PerformancePage.h"

#include "ui/Dialogs.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace {

using P = PfmPair;

constexpr TColor Yellow = RGB(255, 255, 0);

// The insertion overlay: each part's row and the column where a part switched to the insertion
// effect turns down into it.
constexpr int InsertionRowY[4] = {1, 40, 80, 119};
constexpr int InsertionTurnX[4] = {66, 45, 23, 1};

P EffectRow(int n) { return static_cast<P>(static_cast<int>(P::Pfm_Effect_Para1) + n - 1); }

const char* const BlockCaptions[3] = {"Reverb Effect Parameter", "Variation Effect Parameter",
                                      "Insertion Effect Parameter"};

} // namespace

void TPerformancePage::BindEffectPage()
{
    Pfm_Effect_TabSheet->OnShow = [this](TObject* s) { Pfm_Effect_TabSheetShow(s); };
    Pfm_Effect_Tab->OnChange = [this](TObject* s) { Pfm_Effect_TabChange(s); };
    Pfm_Effect_Type->OnChange = [this](TObject* s) { Pfm_Effect_TypeChange(s); };
}

// ---- the rows' texts and messages --------------------------------------------------------------

int TPerformancePage::ShownEffectBlock() const
{
    const int block = Pfm_Effect_Tab->TabIndex() - 1;
    return block < 0 || block > 2 ? -1 : block;
}

const TEFXSetup& TPerformancePage::EffectSetup(int block) const
{
    const int32_t stored = FData.ParameterData.PfmEffect.PfmEffectBlocks[static_cast<std::size_t>(block)].EffectType;
    const int type = std::clamp(stored, 0, EffectTypeCount[static_cast<std::size_t>(block)] - 1);
    return FData.EffectTypeTable[static_cast<std::size_t>(type)][static_cast<std::size_t>(block)];
}

int TPerformancePage::EffectKind(int block, int row) const
{
    return std::clamp(EffectSetup(block).DisplayKind[static_cast<std::size_t>(row - 1)], 0, 58);
}

std::string TPerformancePage::EffectRowText(const PfmPairDescriptor& d, int position) const
{
    const int kind = EffectKind(ShownEffectBlock(), d.Index);
    const auto k = static_cast<std::size_t>(kind);
    const int value = std::clamp(position, 0, FData.EffectKindMax[k]);
    if (kind == 26 || kind == 28) return Tenths(value + 1);
    return FData.EffectValueText[static_cast<std::size_t>(std::min(value, 127))][k];
}

void TPerformancePage::LoadTextRow(PfmPair id, int32_t word)
{
    TValuePair& row = Pair(id);
    row.Bar->SetPosition(word);
    row.Edit->SetText(PairText(id, row.Bar->Position()));
}

TLabel* TPerformancePage::RouteLabel(PfmPair id) const
{
    const PfmPairDescriptor& d = PfmPairOf(id);
    const auto p = static_cast<std::size_t>(std::clamp<int>(d.Index, 0, 3));
    switch (d.Route) {
    case PfmRoute::None: return nullptr;
    case PfmRoute::ReverbReturn: return Pfm_Effect_ImageRevRtn;
    case PfmRoute::VariationReturn: return Pfm_Effect_ImageVarRtn;
    case PfmRoute::DryLevel: return Pfm_Effect_ImageDryLvl[p];
    case PfmRoute::ReverbSend: return Pfm_Effect_ImageRevSend[p];
    case PfmRoute::VariationSend: return Pfm_Effect_ImageVarSend[p];
    }
    return nullptr;
}

// The trailing slots (pan, sends, dry level) of a block keep their last values across effect
// types; the routing labels show those of the variation and insertion blocks.
void TPerformancePage::KeepTrailingLevel(PfmPair id)
{
    const int block = ShownEffectBlock();
    if (block < 0) return;
    const int n = PfmPairOf(id).Index;
    const int v = Pair(id).Bar->Position();
    const int count = EffectSetup(block).ParamCount;
    auto& kept = FData.EffectKeptLevels;
    // Row 1 is never a labelled trailing slot; the other rows rewrite the labels whichever moved.
    TLabel* const labels[3][4] = {
        {nullptr},
        {Pfm_Effect_ImageVarSendtoRev, nullptr},
        {Pfm_Effect_ImageInsDryLvl, Pfm_Effect_ImageInsSendtoVar, Pfm_Effect_ImageInsSendtoRev, nullptr}};
    for (int j = 0; j < TrailingEffectSlots[block]; ++j) {
        const auto entry = static_cast<std::size_t>(KeptLevelEntry[block][j]);
        if (n == count - j) kept[entry] = v;
        if (TLabel* label = labels[block][j]; label && n > 1) label->SetCaption(IntToStr(kept[entry]));
    }
}

// ---- the display -------------------------------------------------------------------------------

std::array<PfmPair, 3> TPerformancePage::PartLevelRows(int p)
{
    const int first = static_cast<int>(P::Pfm_Effect_P1DryLvl) + 3 * p;
    return {static_cast<P>(first), static_cast<P>(first + 1), static_cast<P>(first + 2)};
}

void TPerformancePage::ShowPartRouting(int p)
{
    const auto sp = static_cast<std::size_t>(p);
    const PfmPart& part = FData.ParameterData.PfmParts[sp];
    const bool on = Pfm_Effect_PInsSw[sp]->ItemIndex() == 1;
    for (P id : PartLevelRows(p)) SetPairEnabled(id, !on);
    Pfm_Effect_ImageDryLvl[sp]->SetCaption(on ? "***" : IntToStr(part.DryLevel));
    Pfm_Effect_ImageRevSend[sp]->SetCaption(on ? "***" : IntToStr(part.ReverbSend));
    Pfm_Effect_ImageVarSend[sp]->SetCaption(on ? "***" : IntToStr(part.VariationSend));
}

void TPerformancePage::DisplayEffectPage()
{
    const TParameterData& pd = FData.ParameterData;
    Pfm_Effect_PartParaGrp->SetVisible(false);
    Pfm_Effect_ParaGrp->SetVisible(false);
    for (int n = 2; n <= 18; ++n) Pair(EffectRow(n)).SetVisible(false);

    // The parts: switch, levels, and by the switch as shown the enables and routing labels.
    for (int p = 0; p < 4; ++p) {
        const auto sp = static_cast<std::size_t>(p);
        const PfmPart& part = pd.PfmParts[sp];
        Pfm_Effect_PInsSw[sp]->SetItemIndex(part.InsEffectSw);
        const std::array<P, 3> rows = PartLevelRows(p);
        Pair(rows[0]).Load(part.DryLevel);
        Pair(rows[1]).Load(part.ReverbSend);
        Pair(rows[2]).Load(part.VariationSend);
    }
    Pfm_Effect_IndividualOutput->SetItemIndex(pd.PfmEffect.IndividualOutput);
    for (int p = 0; p < 4; ++p) ShowPartRouting(p);

    const int block = ShownEffectBlock();
    if (block < 0) {
        Pfm_Effect_PartParaGrp->SetVisible(true);
    } else {
        const auto b = static_cast<std::size_t>(block);
        const TEFXSetup& setup = EffectSetup(block);
        const PfmEffectBlock& stored = pd.PfmEffect.PfmEffectBlocks[b];
        Pfm_Effect_Type->Items.Clear();
        for (int n = 1; n <= 18; ++n) {
            const auto slot = static_cast<std::size_t>(n - 1);
            const auto kind = static_cast<std::size_t>(EffectKind(block, n));
            TValuePair& row = Pair(EffectRow(n));
            row.Text->SetCaption(setup.ParamName[slot]);
            row.Bar->SetMax(FData.EffectKindMax[kind]);
            row.Bar->LargeChange = FData.EffectKindPageStep[kind];
        }
        Pfm_Effect_ParaGrp->SetCaption(BlockCaptions[b]);
        std::vector<std::string> names;
        for (int y = 0; y < EffectTypeCount[b]; ++y)
            names.push_back(FData.EffectTypeTable[static_cast<std::size_t>(y)][b].Name);
        Pfm_Effect_Type->Items.AddStrings(names);
        Pfm_Effect_Type->SetItemIndex(std::clamp(stored.EffectType, 0, EffectTypeCount[b] - 1));
        // Row 1 always stands; rows past the type's count stay hidden with what they held.
        for (int n = 1; n <= 18; ++n) {
            if (n > 1 && setup.ParamCount <= n - 1) continue;
            LoadTextRow(EffectRow(n), stored.Para[static_cast<std::size_t>(n - 1)]);
            Pair(EffectRow(n)).SetVisible(true);
        }
        Pfm_Effect_ParaGrp->SetVisible(true);
    }

    // The labels of the returns and of the last slots of the current types, on every tab.
    Pfm_Effect_ImageRevRtn->SetCaption(IntToStr(pd.PfmCommon.ReverbReturn));
    Pfm_Effect_ImageVarRtn->SetCaption(IntToStr(pd.PfmCommon.VariationReturn));
    // A level outside its range shows as the instrument gets it.
    auto lastSlot = [&](int b, int j) {
        const int n = EffectSetup(b).ParamCount - j;
        if (n < 1 || n > 18) return std::string("0");
        const int32_t level =
            pd.PfmEffect.PfmEffectBlocks[static_cast<std::size_t>(b)].Para[static_cast<std::size_t>(n - 1)];
        return IntToStr(std::clamp(level, 0, FData.EffectKindMax[static_cast<std::size_t>(EffectKind(b, n))]));
    };
    Pfm_Effect_ImageVarSendtoRev->SetCaption(lastSlot(VariationBlock, 0));
    Pfm_Effect_ImageInsDryLvl->SetCaption(lastSlot(InsertionBlock, 0));
    Pfm_Effect_ImageInsSendtoVar->SetCaption(lastSlot(InsertionBlock, 1));
    Pfm_Effect_ImageInsSendtoRev->SetCaption(lastSlot(InsertionBlock, 2));
}

// ---- the tab, the sheet and the type -----------------------------------------------------------

void TPerformancePage::Pfm_Effect_TabChange(TObject*)
{
    TUpdatingDisplay run(FData);
    DisplayEffectPage();
}

void TPerformancePage::Pfm_Effect_TabSheetShow(TObject*)
{
    {
        TUpdatingDisplay run(FData);
        DisplayEffectPage();
        DisplayEqPage();
    }
    DrawIndividualOutputImage();
    DrawInsertionRoutingImage();
}

// A type takes its defaults in the slots before the block's trailing ones, and the trailing slots
// take the block's kept levels; only the type itself is sent. Slots past the type keep their values.
void TPerformancePage::Pfm_Effect_TypeChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    const int block = ShownEffectBlock();
    const int y = Pfm_Effect_Type->ItemIndex();
    if (block < 0 || y < 0 || y >= EffectTypeCount[static_cast<std::size_t>(block)]) return;
    const auto b = static_cast<std::size_t>(block);
    const TEFXSetup& setup = FData.EffectTypeTable[static_cast<std::size_t>(y)][b];
    const int n = setup.ParamCount, trailing = TrailingEffectSlots[b];
    if (n < trailing || n > 18) return;
    PfmEffectBlock& stored = FData.ParameterData.PfmEffect.PfmEffectBlocks[b];
    for (int j = 0; j < trailing; ++j)
        stored.Para[static_cast<std::size_t>(n - 1 - j)] =
            FData.EffectKeptLevels[static_cast<std::size_t>(KeptLevelEntry[b][j])];
    stored.EffectType = y;
    for (int slot = 0; slot < n - trailing; ++slot)
        stored.Para[static_cast<std::size_t>(slot)] = setup.DefaultValue[static_cast<std::size_t>(slot)];
    {
        TUpdatingDisplay run(FData);
        DisplayEffectPage();
        // The controller sets' destination lists name the insertion type's destinations.
        if (block == InsertionBlock) FillDestinationLists();
    }
    FData.SendWord(stored.EffectType);
    FData.MarkDataChanged();
    Pfm_Effect_Type->SetFocus();
}

// ---- the part sends, the individual output and the routing overlays ---------------------------

void TPerformancePage::DrawInsertionRoutingImage()
{
    const int w = Pfm_Effect_ImageInsSw->Width(), h = Pfm_Effect_ImageInsSw->Height();
    TBitmap bitmap(w, h);
    TCanvas& c = bitmap.Canvas;
    c.Brush.Color = clBlack;
    c.Brush.Style = bsSolid;
    c.FillRect(TRect{0, 0, w, h});
    c.Pen.Color = Yellow;
    c.Pen.Width = 2;
    for (std::size_t p = 0; p < 4; ++p) {
        const int y = InsertionRowY[p];
        c.MoveTo(-1, y);
        if (Pfm_Effect_PInsSw[p]->ItemIndex() == 1) {
            c.LineTo(InsertionTurnX[p], y); // down into the insertion effect
            c.LineTo(InsertionTurnX[p], h);
        } else {
            c.LineTo(w, y); // straight on to the level boxes
        }
    }
    Pfm_Effect_ImageInsSw->Canvas().Draw(0, 0, bitmap);
}

// Drawn over the image's own picture: both taps black first, then the chosen one yellow, then
// the two pixels of the white frame line the taps cross.
void TPerformancePage::DrawIndividualOutputImage()
{
    const int w = Pfm_Effect_ImageIndividual->Width(), h = Pfm_Effect_ImageIndividual->Height();
    TCanvas& c = Pfm_Effect_ImageIndividual->Canvas();
    c.Pen.Width = 1;
    c.Pen.Style = psSolid;
    auto preInsertion = [&] {
        c.MoveTo(1, h - 7);
        c.LineTo(1, 1);
        c.LineTo(48, 1);
    };
    auto postInsertion = [&] {
        c.MoveTo(6, h - 3);
        c.LineTo(w - 3, h - 3);
        c.LineTo(w - 3, 25);
    };
    c.Pen.Color = clBlack;
    preInsertion();
    postInsertion();
    c.Pen.Color = Yellow;
    const int32_t output = FData.ParameterData.PfmEffect.IndividualOutput;
    if (output == 1) preInsertion();
    if (output == 2) postInsertion();
    c.Pen.Color = clWhite;
    c.MoveTo(9, 1);
    c.LineTo(9, 0);
    c.MoveTo(w - 3, 40);
    c.LineTo(w - 4, 39);
}

// ---- the equalizer -----------------------------------------------------------------------------

std::filesystem::path TPerformancePage::EqPictureFile() const
{
    const char* low = Pfm_Effect_EQ_LowShape->ItemIndex() == 1 ? "peak" : "shelv";
    const char* high = Pfm_Effect_EQ_HighShape->ItemIndex() == 1 ? "peak" : "shelv";
    return FProgramFolder / "graphics" / (std::string("eq_") + low + "_" + high + ".bmp");
}

void TPerformancePage::LoadEqPicture()
{
    const std::filesystem::path file = EqPictureFile();
    try {
        EQ_GraphImage->Picture.LoadFromFile(file.string());
    } catch (const std::exception& e) {
        EQ_GraphImage->Picture.Assign(nullptr);
        if (FEqPictureReported) return;
        FEqPictureReported = true;
        ShowMessageBox("The EQ picture \"" + file.string() + "\" cannot be shown.\n" + e.what(),
                       MB_OK | MB_ICONWARNING);
    }
}

void TPerformancePage::DisplayEqPage()
{
    const PfmEQ& eq = FData.ParameterData.PfmEffect.PfmEQ;
    SetPairEnabled(P::Pfm_Effect_EQ_LowQ, true);
    SetPairEnabled(P::Pfm_Effect_EQ_HighQ, true);
    Pfm_Effect_EQ_LowShape->SetItemIndex(eq.LowShape);
    LoadTextRow(P::Pfm_Effect_EQ_LowFreq, eq.LowFreq);
    Pair(P::Pfm_Effect_EQ_LowGain).Load(eq.LowGain);
    LoadTextRow(P::Pfm_Effect_EQ_LowQ, eq.LowQ);
    LoadTextRow(P::Pfm_Effect_EQ_MidFreq, eq.MidFreq);
    Pair(P::Pfm_Effect_EQ_MidGain).Load(eq.MidGain);
    LoadTextRow(P::Pfm_Effect_EQ_MidQ, eq.MidQ);
    Pfm_Effect_EQ_HighShape->SetItemIndex(eq.HighShape);
    LoadTextRow(P::Pfm_Effect_EQ_HighFreq, eq.HighFreq);
    Pair(P::Pfm_Effect_EQ_HighGain).Load(eq.HighGain);
    LoadTextRow(P::Pfm_Effect_EQ_HighQ, eq.HighQ);
    // The Q of a shelving band has no meaning: its row is disabled.
    if (Pfm_Effect_EQ_LowShape->ItemIndex() != 1) SetPairEnabled(P::Pfm_Effect_EQ_LowQ, false);
    if (Pfm_Effect_EQ_HighShape->ItemIndex() != 1) SetPairEnabled(P::Pfm_Effect_EQ_HighQ, false);
    LoadEqPicture();
}
