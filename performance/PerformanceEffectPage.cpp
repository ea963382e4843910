// The effect and EQ sheet: what its rows need beyond the shared road. The effect parameter rows
// take their address, display kind, conversion and text from the effect type stored for the
// block on the effect tab; the routing picture's labels follow the levels the rows set.
#include "performance/PerformancePage.h"

#include <algorithm>

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
    if (kind == 26 || kind == 28) return Tenths(position + 1);
    const auto value = static_cast<std::size_t>(std::clamp(position, 0, 127));
    return FData.EffectValueText[value][static_cast<std::size_t>(kind)];
}

ParameterChangeMessage TPerformancePage::EffectRowMessage(const PfmPairDescriptor& d, int position) const
{
    // Address, display kind and offset come from the block's stored type.
    const int block = std::clamp(Pfm_Effect_Tab->TabIndex() - 1, 0, 2);
    const TEFXSetup& setup = EffectSetup(block);
    const auto slot = static_cast<std::size_t>(d.Index - 1);
    const int kind = EffectKind(block, d.Index);
    ParameterChangeMessage entry = EffectParameterTemplate;
    entry[5] = setup.AddrMid[slot];
    entry[6] = setup.AddrLow[slot];
    if (kind == 26 || kind == 28) return ComposeParameterChange(entry, 0, 0, position + 1, true);
    // The release time of the gate and compressor types travels bare in row 2.
    const int offset = d.Index == 2 && kind == 12 ? 0 : FData.EffectValueOffset[static_cast<std::size_t>(kind)];
    return ComposeParameterChange(entry, 0, 0, position + offset);
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
    const bool labels = n > 1; // row 1 is never a labelled trailing slot
    auto keep = [&](int slot, std::size_t entry, TLabel* label) {
        if (n == slot) kept[entry] = v;
        if (label && labels) label->SetCaption(IntToStr(kept[entry]));
    };
    if (block == 0) {
        keep(count, 0, nullptr);
    } else if (block == 1) {
        keep(count, 1, Pfm_Effect_ImageVarSendtoRev);
        keep(count - 1, 2, nullptr);
    } else {
        keep(count, 3, Pfm_Effect_ImageInsDryLvl);
        keep(count - 1, 4, Pfm_Effect_ImageInsSendtoVar);
        keep(count - 2, 5, Pfm_Effect_ImageInsSendtoRev);
        keep(count - 3, 6, nullptr);
    }
}
