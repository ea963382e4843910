#include "core/SysExMessages.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace {

// Runs of AL values: {first, last}.
struct Run {
    uint8_t First;
    uint8_t Last;
};

void AddRuns(std::vector<ParameterChangeMessage>& table, uint8_t ah, uint8_t am, std::initializer_list<Run> runs)
{
    for (const Run& r : runs)
        for (int al = r.First; al <= r.Last; ++al)
            table.push_back({0xF0, 0x43, 0x10, 0x5E, ah, am, static_cast<uint8_t>(al), 0x00, 0x00, 0xF7});
}

std::vector<ParameterChangeMessage> MakeTemplates()
{
    std::vector<ParameterChangeMessage> t;
    // System.
    AddRuns(t, 0x00, 0x00, {{0x00, 0x00}, {0x06, 0x09}, {0x0B, 0x0B}, {0x0D, 0x0E}, {0x11, 0x21}});
    // Performance common: the name entry first, then the other parameters and the effect slots.
    t.push_back(PerformanceNameCharacterTemplate);
    AddRuns(t, 0x10, 0x00,
            {{0x0E, 0x0E},
             {0x10, 0x12},
             {0x14, 0x18},
             {0x1A, 0x1A},
             {0x1C, 0x1C},
             {0x1E, 0x1E},
             {0x20, 0x24},
             {0x26, 0x30},
             {0x32, 0x32},
             {0x34, 0x34},
             {0x36, 0x36},
             {0x38, 0x38},
             {0x3A, 0x3A},
             {0x3C, 0x3C},
             {0x3E, 0x3E},
             {0x40, 0x4F}});
    t.push_back(EffectParameterTemplate);
    // Effect types (AL 00, set by the handler to 28, 2B or 2F), returns and EQ.
    AddRuns(t, 0x10, 0x01, {{0x00, 0x00}, {0x2A, 0x2A}, {0x2D, 0x2D}, {0x34, 0x3E}});
    // Part 1, then the per-part controls the effect page and the mute buttons show for all parts.
    AddRuns(t, 0x30, 0x00, {{0x00, 0x2F}});
    t.push_back(BankToInternalTemplate);
    t.push_back(BankBackToOffTemplate);
    for (uint8_t ah = 0x31; ah <= 0x33; ++ah) AddRuns(t, ah, 0x00, {{0x0B, 0x0B}, {0x11, 0x14}});
    // Voice common: the name entry first.
    t.push_back(VoiceNameCharacterTemplate);
    AddRuns(t, 0x40, 0x00,
            {{0x0E, 0x0E},
             {0x10, 0x13},
             {0x15, 0x19},
             {0x1C, 0x2D},
             {0x3B, 0x3E},
             {0x40, 0x5D},
             {0x64, 0x6C},
             {0x6E, 0x6E}});
    // Operator.
    AddRuns(t, 0x60, 0x00, {{0x00, 0x1B}, {0x1F, 0x27}, {0x29, 0x29}, {0x2E, 0x2F}});
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
