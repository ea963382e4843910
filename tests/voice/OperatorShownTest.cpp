// One set of controls shows the voiced and the unvoiced operator of each number. With every
// unvoiced operator differing from the voiced operator of its number in every value, each road
// that loads the operator controls (choosing the tab, a mute and its release, a voice received,
// pasted, undone or initialized, an envelope shape applied) leaves every control showing the
// shown operator's own value, and the next key step of each slider starts from it.
#include "core/WordRanges.h"
#include "tests/support/CatalogueRows.h"
#include "tests/support/RecordingMainData.h"
#include "tests/support/VoicePageFixture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using VO = VoicedOperator;
using UO = UnvoicedOperator;

// A slider row of the operator page and the word it shows on a voiced and on an unvoiced tab
// (none where the row does not belong to that kind), with the number of values the word takes.
// Own box: the box shows the row's display form of the word (the others show texts of their own).
struct TOperatorRow {
    const char* Stem;
    int32_t VO::*Voiced;
    int32_t UO::*Unvoiced;
    int Values;
    bool OwnBox = true;
};

// clang-format off
const TOperatorRow Rows[] = {
    // the rows both kinds share
    {"Vc_OpEGHold", &VO::EGHold, &UO::EGHold, 100},
    {"Vc_OpEGTime1", &VO::EGTime1, &UO::EGTime1, 100}, {"Vc_OpEGTime2", &VO::EGTime2, &UO::EGTime2, 100},
    {"Vc_OpEGTime3", &VO::EGTime3, &UO::EGTime3, 100}, {"Vc_OpEGTime4", &VO::EGTime4, &UO::EGTime4, 100},
    {"Vc_OpEGLv1", &VO::EGLv1, &UO::EGLv1, 100}, {"Vc_OpEGLv2", &VO::EGLv2, &UO::EGLv2, 100},
    {"Vc_OpEGLv3", &VO::EGLv3, &UO::EGLv3, 100}, {"Vc_OpEGLv4", &VO::EGLv4, &UO::EGLv4, 100},
    {"Vc_OpEGTimeScaling", &VO::EGTimeScaling, &UO::EGTimeScaling, 8},
    {"Vc_OpFrqEGInitLvl", &VO::FrqEGInitLvl, &UO::FrqEGInitLvl, 101},
    {"Vc_OpFrqEGAtakLvl", &VO::FrqEGAtakLvl, &UO::FrqEGAtakLvl, 101},
    {"Vc_OpFrqEGAtakTime", &VO::FrqEGAtakTime, &UO::FrqEGAtakTime, 100},
    {"Vc_OpFrqEGDecayTime", &VO::FrqEGDecayTime, &UO::FrqEGDecayTime, 100},
    {"Vc_OpSnsAmpVel", &VO::SnsAmpVel, &UO::SnsAmpVel, 15}, {"Vc_OpSnsFreqVel", &VO::SnsFreqVel, &UO::SnsFreqVel, 15},
    {"Vc_OpSnsAmpEGBias", &VO::SnsAmpEGBias, &UO::SnsAmpEGBias, 15},
    {"Vc_OpSnsFreqBias", &VO::SnsFreqBias, &UO::SnsFreqBias, 15},
    {"Vc_OpSnsWidthBias", &VO::SnsWidthBias, &UO::SnsWidthBias, 15},
    {"Vc_OpAmpMod", &VO::AmpMod, &UO::AmpMod, 8}, {"Vc_OpPitchMod", &VO::PitchMod, &UO::PitchMod, 8},
    {"Vc_OpFreqMod", &VO::FreqMod, &UO::FreqMod, 8},
    // the voiced oscillator
    {"Vc_VOpFseqTrk", &VO::FseqTrk, nullptr, 8}, {"Vc_VOpFreqScaling", &VO::FreqScaling, nullptr, 100},
    {"Vc_VOpTranspose", &VO::Transpose, nullptr, 49}, {"Vc_VOpDetune", &VO::Detune, nullptr, 31},
    {"Vc_VOpBandWidth", &VO::BandWidth, nullptr, 100}, {"Vc_VOpResonance", &VO::Resonance, nullptr, 8},
    {"Vc_VOpSkirt", &VO::Skirt, nullptr, 8}, {"Vc_VOpOutputLvl", &VO::OutputLvl, nullptr, 100},
    {"Vc_VOpLSLeftDepth", &VO::LSLeftDepth, nullptr, 100}, {"Vc_VOpLSRightDepth", &VO::LSRightDepth, nullptr, 100},
    {"Vc_VOpOPAtt", &VO::OPAtt, nullptr, 8, false},
    {"Vc_VOpFreqCoarse", &VO::FreqCoarse, nullptr, 22, false}, {"Vc_VOpFreqFine", &VO::FreqFine, nullptr, 100, false},
    // the unvoiced oscillator
    {"Vc_UOpFreqScaling", nullptr, &UO::FreqScaling, 100}, {"Vc_UOpTranspose", nullptr, &UO::Transpose, 49},
    {"Vc_UOpBandWidth", nullptr, &UO::BandWidth, 100}, {"Vc_UOpResonance", nullptr, &UO::Resonance, 8},
    {"Vc_UOpSkirt", nullptr, &UO::Skirt, 8}, {"Vc_UOpOutputLvl", nullptr, &UO::OutputLvl, 100},
    {"Vc_UOpLvlScaling", nullptr, &UO::LvlScaling, 15},
    {"Vc_UOpFreqCoarse", nullptr, &UO::FreqCoarse, 22, false}, {"Vc_UOpFreqFine", nullptr, &UO::FreqFine, 128, false},
};

// The lists and radio groups of the operator page and their words.
struct TOperatorChoice {
    const char* Name;
    int32_t VO::*Voiced;
    int32_t UO::*Unvoiced;
    int Values;
};
const TOperatorChoice Choices[] = {
    {"Vc_VOpFseqSw", &VO::FseqSw, nullptr, 2},      {"Vc_VOpForm", &VO::Form, nullptr, 8},
    {"Vc_VOpKeySync", &VO::KeySync, nullptr, 2},    {"Vc_VOpLSBP", &VO::LSBP, nullptr, 100},
    {"Vc_VOpLSLeftCrv", &VO::LSLeftCrv, nullptr, 4}, {"Vc_VOpLSRightCrv", &VO::LSRightCrv, nullptr, 4},
    {"Vc_UOpFseqSw", nullptr, &UO::FseqSw, 2},
};
// clang-format on

// Operator tabs in an order that goes from one kind to the other at every step.
constexpr int TabOrder[16] = {8, 0, 9, 1, 10, 2, 11, 3, 12, 4, 13, 5, 14, 6, 15, 7};

// The attenuation box's text: -1.5 dB a step, "-0.0" at 0.
std::string AttenuationShown(int position)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", -1.5 * position);
    return position == 0 ? "-0.0" : text;
}

class OperatorShownTest : public VoicePageTest {
protected:
    OperatorShownTest() : VoicePageTest(Ports::Instrument) {}
    void SetUp() override
    {
        VoicePageTest::SetUp();
        Answers = nullptr;
        ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(V));
        GiveOwnValues(V, 0);
        Refresh();
        TakeSent();
    }

    // Every operator of voice v its own values: operator k of a kind differs from its neighbours,
    // and unvoiced operator k from voiced operator k in every word both have. The voiced operators
    // have fixed frequencies and the frmt form on even numbers (so LinkFF is offered beside them);
    // the unvoiced ones play their own frequency (normal mode).
    void GiveOwnValues(int v, int seed)
    {
        VoiceRecord& voice = Voice(v);
        for (int k = 0; k < 8; ++k) {
            VO& vo = voice.VoicedOperators[std::size_t(k)];
            UO& uo = voice.UnvoicedOperators[std::size_t(k)];
            int field = 0;
            auto own = [&](int values) { return (3 + seed + 5 * k + 7 * field++) % values; };
            auto other = [&](int voiced, int values) { return (voiced + 1 + k % (values - 1)) % values; };
            for (const TOperatorRow& r : Rows) {
                const int value = own(r.Values);
                if (r.Voiced) vo.*r.Voiced = value;
                if (r.Unvoiced) uo.*r.Unvoiced = r.Voiced ? other(value, r.Values) : value;
            }
            for (const TOperatorChoice& c : Choices) {
                const int value = own(c.Values);
                if (c.Voiced) vo.*c.Voiced = value;
                if (c.Unvoiced) uo.*c.Unvoiced = value;
            }
            vo.Form = k % 2 == 0 ? 7 : k % 7;
            vo.FreqMode = 1;
            uo.FreqMode = 0;
            uo.FseqSw = 1 - vo.FseqSw;
        }
    }

    TScrollBar* BarOf(const TOperatorRow& r) { return static_cast<TScrollBar*>(Find(std::string(r.Stem) + "Bar")); }
    TComponent* Find(const std::string& name)
    {
        TComponent* c = form->FindComponent(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static int ItemIndexOf(TComponent* c)
    {
        if (auto* list = dynamic_cast<TComboBox*>(c)) return list->ItemIndex();
        if (auto* radio = dynamic_cast<TRadioGroup*>(c)) return radio->ItemIndex();
        return -2;
    }
    // The word a row or choice shows on tab t of voice V; none where it is not of that kind.
    template <class Row>
    const int32_t* WordOf(const Row& r, int t)
    {
        const VoiceRecord& voice = Voice(V);
        if (t < 8) return r.Voiced ? &(voice.VoicedOperators[std::size_t(t)].*r.Voiced) : nullptr;
        return r.Unvoiced ? &(voice.UnvoicedOperators[std::size_t(t - 8)].*r.Unvoiced) : nullptr;
    }

    // Every control of the operator page shows operator tab t's own value (a muted operator: its
    // switch off and its level 0).
    void ExpectShown(int t, const std::string& road)
    {
        SCOPED_TRACE(road + ", operator tab " + std::to_string(t));
        ASSERT_EQ(page->Vc_OperatorTab->TabIndex(), t);
        const int k = t % 8;
        const bool muted = (t < 8 ? form->OperatorMute.Voiced : form->OperatorMute.Unvoiced)[V][std::size_t(k)] == 1;
        const std::string level = t < 8 ? "Vc_VOpOutputLvl" : "Vc_UOpOutputLvl";
        for (const TOperatorRow& r : Rows) {
            const int32_t* word = WordOf(r, t);
            if (!word) continue;
            const int shown = muted && r.Stem == level ? 0 : *word;
            TScrollBar* bar = BarOf(r);
            EXPECT_EQ(bar->Position(), shown) << r.Stem;
            if (r.OwnBox) {
                TValuePair* pair = page->Pair(bar);
                EXPECT_EQ(pair->Edit->Text(), pair->Format(shown)) << r.Stem;
            }
        }
        for (const TOperatorChoice& c : Choices) {
            const int32_t* word = WordOf(c, t);
            if (!word) continue;
            const bool fseq = std::string(c.Name).ends_with("FseqSw");
            EXPECT_EQ(ItemIndexOf(Find(c.Name)), muted && fseq ? 0 : *word) << c.Name;
        }
        if (t < 8) {
            EXPECT_EQ(page->Edit(VcPair::Vc_VOpOPAtt)->Text(), AttenuationShown(Voice(V).VoicedOperators[k].OPAtt));
            EXPECT_EQ(page->Vc_VOpFreqMode->ItemIndex(), Voice(V).VoicedOperators[k].FreqMode);
        } else {
            // The unvoiced operator's mode is its own, its track the voiced partner's.
            EXPECT_EQ(page->Vc_UOpFreqMode->ItemIndex(), Voice(V).UnvoicedOperators[k].FreqMode);
            EXPECT_EQ(page->Vc_UOpFseqTrkText->Caption(),
                      "FseqTrack = " + std::to_string(Voice(V).VoicedOperators[k].FseqTrk + 1));
        }
    }

    // The value box keys of every row a person can reach on tab t step its slider from the word
    // shown: a step changes the word, the step back brings it back.
    void ExpectStepsStartFromTheShownValue(int t, const std::string& road)
    {
        SCOPED_TRACE(road + ", steps on operator tab " + std::to_string(t));
        for (const TOperatorRow& r : Rows) {
            int32_t* word = const_cast<int32_t*>(WordOf(r, t));
            if (!word || !r.OwnBox) continue;
            TEdit* box = page->Pair(BarOf(r))->Edit;
            if (!box->Enabled() || !box->Showing()) continue;
            const int32_t before = *word;
            uint16_t key = VK_UP;
            ASSERT_TRUE(box->KeyDown(key)) << r.Stem;
            if (*word == before) { // at the end of the slider that way
                key = VK_DOWN;
                ASSERT_TRUE(box->KeyDown(key)) << r.Stem;
            }
            EXPECT_EQ(std::abs(*word - before), 1) << r.Stem << " stepped from " << before;
            ASSERT_TRUE(box->KeyDown(key == VK_UP ? VK_DOWN : VK_UP)) << r.Stem;
            EXPECT_EQ(*word, before) << r.Stem;
        }
        TakeSent();
    }

    void ExpectShownAndStepped(int t, const std::string& road)
    {
        ExpectShown(t, road);
        ExpectStepsStartFromTheShownValue(t, road);
        ExpectShown(t, road + ", after the steps");
    }

    static constexpr int V = 1; // the voice shown: Voice2
};

TEST_F(OperatorShownTest, ChoosingTheTab)
{
    for (int t : TabOrder) {
        ShowOperatorTab(t);
        ExpectShownAndStepped(t, "tab chosen");
    }
}

TEST_F(OperatorShownTest, MuteAndReleaseOfTheShownOperatorAndOfItsPartner)
{
    for (int t : TabOrder) {
        ShowOperatorTab(t);
        const std::size_t k = std::size_t(t % 8);
        TSpeedButton* own = (t < 8 ? page->Vc_OpMute_VOp : page->Vc_OpMute_UOp)[k];
        TSpeedButton* partner = (t < 8 ? page->Vc_OpMute_UOp : page->Vc_OpMute_VOp)[k];
        ASSERT_TRUE(own->UserClicks());
        ExpectShown(t, "muted");
        ASSERT_TRUE(own->UserClicks());
        ExpectShownAndStepped(t, "released");
        ASSERT_TRUE(partner->UserClicks());
        ExpectShown(t, "partner muted");
        ASSERT_TRUE(partner->UserClicks());
        ExpectShownAndStepped(t, "partner released");
    }
    for (TSpeedButton* all :
         {page->V_OPAllMuteButton, page->U_OPAllMuteButton, page->V_OPAllMuteButton, page->U_OPAllMuteButton}) {
        ASSERT_TRUE(all->UserClicks());
        ExpectShown(page->Vc_OperatorTab->TabIndex(), all->Name);
    }
    ExpectShownAndStepped(page->Vc_OperatorTab->TabIndex(), "all released");
    TakeSent();
}

TEST_F(OperatorShownTest, VoiceReceived)
{
    // The instrument's voice: the editor's, its operators' values moved on.
    GiveOwnValues(V, 11);
    const Bytes dump = Body(Built(V));
    std::copy(dump.begin(), dump.end(), instrument.Voices[V].begin());
    GiveOwnValues(V, 0);
    Refresh();
    for (int t : TabOrder) {
        ShowOperatorTab(t);
        ASSERT_TRUE(page->Vc_GetDataBtn->UserClicks());
        Advance(4000);
        ASSERT_FALSE(form->TransferRunning());
        ASSERT_TRUE(Messages().empty());
        ExpectShownAndStepped(t, "voice received");
        GiveOwnValues(V, 0);
        Refresh();
    }
}

TEST_F(OperatorShownTest, VoiceAndOperatorPastedAndUndone)
{
    GiveOwnValues(3, 5);
    for (int t : TabOrder) {
        ShowOperatorTab(t);
        // The voice of Voice4 over this one, and back.
        ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(3));
        Click("CopyC1");
        ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(V));
        Click("Paste");
        ExpectShownAndStepped(t, "voice pasted");
        Click("Undo");
        ExpectShown(t, "voice paste undone");
        // The other kind's operator of the same number over this one, and back.
        ShowOperatorTab(t < 8 ? t + 8 : t - 8);
        Click("OPCopy");
        ShowOperatorTab(t);
        Click("OPPaste");
        ExpectShown(t, "operator pasted");
        Click("Undo");
        ExpectShownAndStepped(t, "operator paste undone");
        TakeSent();
    }
}

TEST_F(OperatorShownTest, VoiceInitialized)
{
    for (int t : TabOrder) {
        ShowOperatorTab(t);
        Click("InitVc2");
        ExpectShownAndStepped(t, "voice initialized");
        GiveOwnValues(V, 0);
        Refresh();
    }
}

// A shape of the library applied on a tab goes into that operator alone: its boxes show the
// shape's numbers, and the other kind's operator keeps its envelope.
TEST_F(OperatorShownTest, EnvelopeShapeApplied)
{
    const auto shapes = CatalogueRows("eg_shapes.tsv");
    ASSERT_GE(shapes.size(), 16u);
    // The boxes in the order of a shape's values: hold, times 1..4, time scaling, levels 1..4.
    const VcPair boxes[10] = {VcPair::Vc_OpEGHold,  VcPair::Vc_OpEGTime1, VcPair::Vc_OpEGTime2,
                              VcPair::Vc_OpEGTime3, VcPair::Vc_OpEGTime4, VcPair::Vc_OpEGTimeScaling,
                              VcPair::Vc_OpEGLv1,   VcPair::Vc_OpEGLv2,   VcPair::Vc_OpEGLv3,
                              VcPair::Vc_OpEGLv4};
    for (int i = 0; i < 16; ++i) {
        const int t = TabOrder[i];
        ShowOperatorTab(t);
        const VoiceRecord before = Voice(V);
        const auto& shape = shapes[std::size_t(i + 1)];
        ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(std::stoi(shape[0])));
        for (int n = 0; n < 10; ++n)
            EXPECT_EQ(page->Edit(boxes[n])->Text(), shape[std::size_t(2 + n)]) << shape[1] << " value " << n;
        ExpectShownAndStepped(t, "shape " + shape[1] + " applied");
        const std::size_t k = std::size_t(t % 8);
        if (t < 8)
            EXPECT_TRUE(Same(Voice(V).UnvoicedOperators[k], before.UnvoicedOperators[k]));
        else
            EXPECT_TRUE(Same(Voice(V).VoicedOperators[k], before.VoicedOperators[k]));
    }
}

} // namespace

// A shared row's word whose voiced field carries less than the unvoiced one's (a bias: four bits
// against a byte): a save file may hold there what the unvoiced field carries, as an earlier Op
// Paste across kinds left it, and the editor keeps it in what the row's slider shows, the
// instrument's range. Every other shared word holds what its own field carries.
TEST(SharedOperatorRows, AWordTheVoicedFieldCarriesLessOfIsKeptInTheSlidersRange)
{
    const RecordingMainData m;
    TParameterData d = m.ParameterData;
    int overfilled = 0;
    for (const VcPairDescriptor& row : VcPairs()) {
        if (row.Word.Record != VcRecord::Operator) continue;
        SCOPED_TRACE(row.PairForm.Name);
        const std::size_t voiced = VoiceAt(2) + *Locate(row.Word, 5), unvoiced = VoiceAt(2) + *Locate(row.Word, 13);
        const TWordRange own = *WordRange(d, m, voiced), other = *WordRange(d, m, unvoiced);
        const TWordRange inFile = *FileWordRange(d, m, voiced);
        EXPECT_EQ(inFile.Lo, std::min(own.Lo, other.Lo));
        EXPECT_EQ(inFile.Hi, std::max(own.Hi, other.Hi));
        const bool carriesLess = other.Lo < own.Lo || other.Hi > own.Hi;
        overfilled += carriesLess;
        const TWordRange kept = carriesLess ? TWordRange{0, row.PairForm.Max} : own;
        for (const int32_t v : {inFile.Lo, own.Hi, inFile.Hi}) {
            std::memcpy(d.Bytes() + voiced, &v, 4);
            EXPECT_EQ(BringWordsIntoRange(d, m, voiced, 4), !kept.Holds(v)) << v;
            int32_t now;
            std::memcpy(&now, d.Bytes() + voiced, 4);
            EXPECT_EQ(now, std::clamp(v, kept.Lo, kept.Hi));
        }
    }
    EXPECT_EQ(overfilled, 2);
}
