// A performance for the effect sheet's tests and screenshots, whose effect blocks, EQ, individual
// output, returns and part sends all differ from the initial data: reverb "Delay LCR", variation
// "Compressor", insertion "ER 1"; parts 2 and 4 run through the insertion effect.
#pragma once

#include "core/ParameterData.h"

inline void LoadEffects(TParameterData& d)
{
    const int32_t levels[4][4] = {{0, 100, 20, 30}, {1, 90, 25, 35}, {0, 80, 40, 45}, {1, 70, 50, 55}};
    for (std::size_t p = 0; p < 4; ++p) {
        PfmPart& part = d.PfmParts[p];
        part.InsEffectSw = levels[p][0];
        part.DryLevel = levels[p][1];
        part.ReverbSend = levels[p][2];
        part.VariationSend = levels[p][3];
    }
    d.PfmCommon.ReverbReturn = 77;
    d.PfmCommon.VariationReturn = 55;
    PfmEffect& e = d.PfmEffect;
    e.IndividualOutput = 2;
    e.PfmEffectBlocks[ReverbBlock].EffectType = 13;
    e.PfmEffectBlocks[ReverbBlock].Para = {3332, 13649, 0, 126, 70, 90, 4, 10, 20, 12, 3, 50, 99, 0, 0, 0, 0, 0};
    e.PfmEffectBlocks[VariationBlock].EffectType = 16;
    e.PfmEffectBlocks[VariationBlock].Para = {5, 15, 42, 3, 111, 80, 66, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    e.PfmEffectBlocks[InsertionBlock].EffectType = 37;
    e.PfmEffectBlocks[InsertionBlock].Para = {3, 19, 7, 2, 60, 0, 26, 9, 2, 8, 100, 10, 33, 44, 99, 0, 0, 0};
    e.PfmEQ = PfmEQ{1, 0, 36, 40, 0, 0, 24, 13, 119, 0, 50};
}
