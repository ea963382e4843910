// The edit buffer through the instrument's dumps and back, for the checks that judge the word
// ranges by the conversions themselves (the save file's fuzz target and the range test).
#pragma once

#include "core/DumpLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace roundtrip {

inline int32_t WordAt(const TParameterData& d, std::size_t offset)
{
    int32_t v;
    std::memcpy(&v, d.Bytes() + offset, 4);
    return v;
}
inline void SetWord(TParameterData& d, std::size_t offset, int32_t v) { std::memcpy(d.Bytes() + offset, &v, 4); }

// The dumps built from `d` and read back into a copy of it: the performance dump, and unless
// `performanceOnly` the system and voice dumps too.
inline TParameterData ThroughTheDumps(const TParameterData& d, const TNameTables& tables,
                                      bool performanceOnly = false)
{
    TParameterData back = d;
    std::array<uint8_t, VoicePayloadSize> payload{};
    EncodePerformancePayload(d, tables, payload.data());
    DecodePerformancePayload(back, tables, payload.data());
    if (performanceOnly) return back;
    EncodeSystemPayload(d, payload.data());
    DecodeSystemPayload(back, payload.data());
    for (std::size_t v = 0; v < 4; ++v) {
        EncodeVoicePayload(d.VoiceRecords[v], payload.data());
        DecodeVoicePayload(back.VoiceRecords[v], payload.data());
    }
    return back;
}

} // namespace roundtrip
