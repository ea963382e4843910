#include "core/SysExMessages.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

// The part words the effect sheet and the part-mute buttons show for all four parts at once: the
// entries of parts 2 to 4.
constexpr std::size_t EveryPartWords[] = {AT(PfmPart, Volume), AT(PfmPart, InsEffectSw), AT(PfmPart, DryLevel),
                                          AT(PfmPart, ReverbSend), AT(PfmPart, VariationSend)};

bool EffectTypeWord(std::size_t word)
{
    for (int b = 0; b < 3; ++b)
        if (word == EffectBlockAt(b) + AT(PfmEffectBlock, EffectType)) return true;
    return false;
}

// One entry per control's parameter change, from the dump rows: the address of part 1 (and of
// every part for the words above), voice 1 and operator 1. An operator's attenuation has one
// entry, which the sender moves by the operator; the unvoiced bytes of the rows both kinds of
// operator share (envelopes, frequency envelope, sensitivities, modulation) take the voiced
// entry, the sender writing their AL. The name entries carry a blank; the three effect types
// share one entry (AL 00), whose AL the sender writes; the effect slots take theirs from the
// effect type table and share the entry EffectParameterTemplate.
std::vector<ParameterChangeMessage> MakeTemplates()
{
    std::vector<ParameterChangeMessage> t;
    auto add = [&t](uint8_t ah, uint8_t am, uint8_t al, uint8_t dl) {
        for (const ParameterChangeMessage& m : t)
            if (m[4] == ah && m[5] == am && m[6] == al) return;
        t.push_back({0xF0, 0x43, 0x10, 0x5E, ah, am, al, 0x00, dl, 0xF7});
    };
    for (const TLayoutParameter& p : LayoutParameters()) {
        if (p.Voice) {
            bool own = p.AM == 0;
            for (int k = 0; k < 8; ++k) {
                const std::size_t shared = p.Word - UnvoicedOffset(k);
                own = own && (k == 0 || p.Word != VoicedOffset(k) + AT(VoicedOperator, OPAtt)) &&
                      (shared < AT(UnvoicedOperator, EGHold) || shared > AT(UnvoicedOperator, FreqMod));
            }
            if (!own) continue;
            add(p.AH, p.AM, p.AL, p.Word == CommonOffset() + AT(VoiceCommon, Name) ? 0x20 : 0x00);
            continue;
        }
        if (p.AH > 0x30 && p.AH <= 0x33) {
            const std::size_t word = p.Word - PartAt(p.AH - 0x30);
            if (std::find(std::begin(EveryPartWords), std::end(EveryPartWords), word) == std::end(EveryPartWords))
                continue;
        }
        if (EffectTypeWord(p.Word))
            add(p.AH, p.AM, 0x00, 0x00);
        else
            add(p.AH, p.AM, p.AL, p.Word == AT(TParameterData, PfmCommon) + AT(PfmCommon, Name) ? 0x20 : 0x00);
    }
    t.push_back(EffectParameterTemplate);
    t.push_back(BankToInternalTemplate);
    t.push_back(BankBackToOffTemplate);
    return t;
}

uint8_t Seven(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 0x7F)); }

} // namespace

const std::vector<ParameterChangeMessage>& ParameterChangeTemplates()
{
    static const std::vector<ParameterChangeMessage> table = MakeTemplates();
    return table;
}

const ParameterChangeMessage& ParameterChangeTemplate(uint8_t ah, uint8_t am, uint8_t al)
{
    for (const ParameterChangeMessage& m : ParameterChangeTemplates())
        if (m[4] == ah && m[5] == am && m[6] == al) return m;
    throw std::invalid_argument("no parameter change template for address " + std::to_string(ah) + " " +
                                std::to_string(am) + " " + std::to_string(al));
}

ParameterChangeMessage ComposeParameterChange(const ParameterChangeMessage& entry, int partOrVoice, int op,
                                              int32_t value, bool twoBytes)
{
    if (twoBytes) {
        const int32_t v = std::clamp(value, 0, 0x3FFF);
        return ComposeParameterChange(entry, partOrVoice, op,
                                      ParameterBytes{static_cast<uint8_t>(v >> 7), static_cast<uint8_t>(v & 0x7F)});
    }
    return ComposeParameterChange(entry, partOrVoice, op, ParameterBytes{0, Seven(value)});
}

ParameterChangeMessage ComposeParameterChange(const ParameterChangeMessage& entry, int partOrVoice, int op,
                                              ParameterBytes data)
{
    ParameterChangeMessage m = entry;
    m[4] = static_cast<uint8_t>(m[4] + partOrVoice);
    m[5] = static_cast<uint8_t>(m[5] + op);
    m[7] = data.DH;
    m[8] = data.DL;
    return m;
}

ParameterChangeMessage EffectSlotChange(const TNameTables& tables, const PfmEffect& effect, int block, int slot,
                                        int position)
{
    const auto b = static_cast<std::size_t>(std::clamp(block, 0, 2));
    const int type = std::clamp(effect.PfmEffectBlocks[b].EffectType, 0, EffectTypeCount[b] - 1);
    const TEFXSetup& setup = tables.EffectTypeTable[static_cast<std::size_t>(type)][b];
    const auto i = static_cast<std::size_t>(std::clamp(slot, 0, 17));
    const int kind = std::clamp(setup.DisplayKind[i], 0, 58);
    ParameterChangeMessage entry = EffectParameterTemplate;
    entry[5] = setup.AddrMid[i];
    entry[6] = setup.AddrLow[i];
    if (kind == 26 || kind == 28) return ComposeParameterChange(entry, 0, 0, position + 1, true);
    // The release time of the gate and compressor types travels bare in slot 1.
    const int offset = i == 1 && kind == 12 ? 0 : tables.EffectValueOffset[static_cast<std::size_t>(kind)];
    return ComposeParameterChange(entry, 0, 0, position + offset);
}

DumpRequestMessage DumpRequestFor(int32_t receiveTarget)
{
    if (receiveTarget == ReceivePerformance) return DumpRequestTemplates[0];
    if (receiveTarget == ReceiveSystem) return DumpRequestTemplates[3];
    DumpRequestMessage m = DumpRequestTemplates[1];
    m[4] = static_cast<uint8_t>(0x40 + std::clamp(receiveTarget, 0, 3));
    return m;
}

bool IsSystemExclusiveStream(const uint8_t* data, std::size_t length)
{
    bool inside = false;
    for (std::size_t i = 0; i < length; ++i) {
        const uint8_t byte = data[i];
        if (byte == 0xF0 && !inside)
            inside = true;
        else if (byte == 0xF7 && inside)
            inside = false;
        else if (byte >= 0x80 || !inside)
            return false;
    }
    return length > 0 && !inside;
}

void AddressStreamToDevice(uint8_t* data, std::size_t length, int device)
{
    for (std::size_t i = 0; i + 2 < length; ++i)
        if (data[i] == 0xF0 && data[i + 1] == 0x43 && data[i + 2] < 0x80)
            data[i + 2] = static_cast<uint8_t>((data[i + 2] & 0xF0) | (device & 0x0F));
}
