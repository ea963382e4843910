// The address and conversion of single words, as the pages take them from the dump layouts.
// Expected addresses are the instrument's parameter table, written out here.
#include <gtest/gtest.h>

#include <cstddef>

#include "core/DumpLayout.h"

namespace {

struct Expected {
    int AH, AM, AL;
    TFieldForm Form;
    int Arg;
    bool TwoByte;
};

void ExpectField(const std::optional<TDumpField>& f, const Expected& e, const char* what)
{
    ASSERT_TRUE(f.has_value()) << what;
    EXPECT_EQ(f->AH, e.AH) << what;
    EXPECT_EQ(f->AM, e.AM) << what;
    EXPECT_EQ(f->AL, e.AL) << what;
    EXPECT_EQ(f->Form, e.Form) << what;
    EXPECT_EQ(f->Arg, e.Arg) << what;
    EXPECT_EQ(f->TwoByte, e.TwoByte) << what;
}

constexpr std::size_t Part(int p) { return offsetof(TParameterData, PfmParts) + sizeof(PfmPart) * std::size_t(p); }
constexpr std::size_t Voiced(int k)
{
    return offsetof(VoiceRecord, VoicedOperators) + sizeof(VoicedOperator) * std::size_t(k);
}
constexpr std::size_t Unvoiced(int k)
{
    return offsetof(VoiceRecord, UnvoicedOperators) + sizeof(UnvoicedOperator) * std::size_t(k);
}
constexpr std::size_t Common(std::size_t word) { return offsetof(VoiceRecord, VoiceCommon) + word; }

TEST(DumpField, PerformanceSystemAndPartWordsGiveTheirAddresses)
{
    using F = TFieldForm;
    ExpectField(PerformanceFieldOf(offsetof(TParameterData, PfmCommon) + offsetof(PfmCommon, Volume)),
                {0x10, 0x00, 0x10, F::Byte, 0, false}, "performance volume");
    ExpectField(PerformanceFieldOf(offsetof(TParameterData, PfmCommon) + offsetof(PfmCommon, VariationReturn)),
                {0x10, 0x01, 0x2D, F::Byte, 0, false}, "variation return");
    ExpectField(PerformanceFieldOf(Part(0) + offsetof(PfmPart, Volume)), {0x30, 0x00, 0x0B, F::Byte, 0, false},
                "part 1 volume");
    ExpectField(PerformanceFieldOf(Part(2) + offsetof(PfmPart, PBRange)), {0x32, 0x00, 0x26, F::Byte, 16, false},
                "part 3 pitch-bend range");
    ExpectField(PerformanceFieldOf(Part(3) + offsetof(PfmPart, LFO2FltMod)), {0x33, 0x00, 0x2F, F::Byte, 0, false},
                "part 4 LFO2 filter modulation");
    ExpectField(PerformanceFieldOf(offsetof(TParameterData, PfmFseq) + offsetof(PfmFseq, LoopEnd)),
                {0x10, 0x00, 0x1E, F::Wide14, 0, true}, "sequence loop end");
    ExpectField(PerformanceFieldOf(offsetof(TParameterData, PfmControlSets) + 5 * sizeof(PfmControlSet) +
                                   offsetof(PfmControlSet, Depth)),
                {0x10, 0x00, 0x4D, F::Byte, 0, false}, "controller set 6 depth");
    const std::size_t eq = offsetof(TParameterData, PfmEffect) + offsetof(PfmEffect, PfmEQ);
    ExpectField(PerformanceFieldOf(eq + offsetof(PfmEQ, MidGain)), {0x10, 0x01, 0x38, F::Byte, 52, false},
                "EQ mid gain");
    ExpectField(PerformanceFieldOf(eq + offsetof(PfmEQ, HighFreq)), {0x10, 0x01, 0x3C, F::Byte, 28, false},
                "EQ high frequency");
    ExpectField(PerformanceFieldOf(offsetof(TParameterData, SystemBlock) + offsetof(SystemBlock, MstrNote)),
                {0x00, 0x00, 0x06, F::Byte, 0, false}, "master note shift");
    // The control channel lives in the performance record but travels in the system block.
    ExpectField(PerformanceFieldOf(offsetof(TParameterData, PfmCommon) + offsetof(PfmCommon, ControlChannel)),
                {0x00, 0x00, 0x09, F::Other, 0, false}, "control channel");
    // Receive channel max is parsed only below 16 but sent as it is.
    ExpectField(PerformanceFieldOf(Part(1) + offsetof(PfmPart, RcvChMax)), {0x31, 0x00, 0x03, F::Byte, 0, false},
                "receive channel max");
    EXPECT_FALSE(PerformanceFieldOf(Part(0) + offsetof(PfmPart, ReserveNoteMax)).has_value());
}

TEST(DumpField, VoiceWordsGiveTheirAddressesAndConversions)
{
    using F = TFieldForm;
    ExpectField(VoiceFieldOf(Common(offsetof(VoiceCommon, LFO1Speed))), {0x40, 0x00, 0x11, F::Byte, 0, false},
                "LFO1 speed");
    ExpectField(VoiceFieldOf(Common(offsetof(VoiceCommon, FilterEGLv4))), {0x40, 0x00, 0x65, F::Reverse, 100, false},
                "filter EG level 4");
    ExpectField(VoiceFieldOf(Common(offsetof(VoiceCommon, PitchEGTime3))), {0x40, 0x00, 0x25, F::Reverse, 99, false},
                "pitch EG time 3");
    ExpectField(VoiceFieldOf(Common(offsetof(VoiceCommon, Algorithm))), {0x40, 0x00, 0x2C, F::Byte, -1, false},
                "algorithm");
    ExpectField(VoiceFieldOf(Common(offsetof(VoiceCommon, FilterEGAtkTVelSns))), {0x40, 0x00, 0x6E, F::Bits, 3, false},
                "filter EG attack velocity sensitivity");
    ExpectField(VoiceFieldOf(Voiced(2) + offsetof(VoicedOperator, EGLv1)), {0x60, 0x02, 0x0C, F::Reverse, 99, false},
                "voiced 3 EG level 1");
    ExpectField(VoiceFieldOf(Voiced(7) + offsetof(VoicedOperator, OutputLvl)), {0x60, 0x07, 0x16, F::Byte, 0, false},
                "voiced 8 output level");
    ExpectField(VoiceFieldOf(Voiced(1) + offsetof(VoicedOperator, OPAtt)), {0x40, 0x00, 0x2E, F::Byte, 0, false},
                "voiced 2 attenuation");
    ExpectField(VoiceFieldOf(Unvoiced(0) + offsetof(UnvoicedOperator, FreqFine)), {0x60, 0x00, 0x25, F::Byte, 0, false},
                "unvoiced 1 fine");
    ExpectField(VoiceFieldOf(Unvoiced(5) + offsetof(UnvoicedOperator, EGHold)),
                {0x60, 0x05, 0x38, F::Reverse, 99, false}, "unvoiced 6 hold");
    EXPECT_FALSE(VoiceFieldOf(Voiced(0) + offsetof(VoicedOperator, FreqCoarseMax)).has_value());
    EXPECT_FALSE(VoiceFieldOf(Unvoiced(0) + offsetof(UnvoicedOperator, PitchMod)).has_value());
}

TEST(DumpField, FieldBytesConvertAndStaySevenBit)
{
    auto bytes = [](TFieldForm form, int arg, int value, int width = 0) {
        TDumpField f;
        f.Form = form;
        f.Arg = arg;
        f.Width = width;
        const ParameterBytes b = FieldBytes(f, value);
        return b.DH * 256 + b.DL;
    };
    EXPECT_EQ(bytes(TFieldForm::Byte, 16, 40), 56);
    EXPECT_EQ(bytes(TFieldForm::Reverse, 99, 30), 69);
    EXPECT_EQ(bytes(TFieldForm::Reverse, 100, 0), 100);
    EXPECT_EQ(bytes(TFieldForm::Bits, 3, 5, 4), 40);
    EXPECT_EQ(bytes(TFieldForm::Wide14, 100, 900), 0x07 * 256 + 0x68); // 1000 = 7 x 128 + 104
    EXPECT_EQ(bytes(TFieldForm::Wide14, 0, 300), 0x02 * 256 + 0x2C);
    EXPECT_EQ(bytes(TFieldForm::Byte, 0, 200), 0x7F);
    EXPECT_EQ(bytes(TFieldForm::Reverse, 99, 120), 0);
}

} // namespace
