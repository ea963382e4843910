// The value pairs of the performance pages: typing, keys, the storing road, and every pair's
// address and conversion against the dump layout the bulk dumps use.
#include "tests/performance/PerformanceFixture.h"

#include "core/DumpLayout.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <ostream>

using P = PfmPair;

TEST_F(PerformancePageTest, TypingDigitsMovesSliderAndEachStepStoresSendsAndMarks)
{
    TEdit* edit = Edit(P::Pfm_Volume);
    ASSERT_TRUE(edit->UserSetsText(""));
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(edit->SelLength(), 1); // the next key replaces it
    Sent();
    data.DataChanged = 0;

    ASSERT_TRUE(edit->UserTypes("1"));
    EXPECT_EQ(Bar(P::Pfm_Volume)->Position(), 1);
    ASSERT_TRUE(edit->UserTypes("20"));
    EXPECT_EQ(Bar(P::Pfm_Volume)->Position(), 120);
    EXPECT_EQ(data.ParameterData.PfmCommon.Volume, 120);
    EXPECT_EQ(edit->Text(), "120");
    EXPECT_EQ(Sent(), (std::vector<Message>{ParameterChange(0x10, 0, 0x10, 0, 1), ParameterChange(0x10, 0, 0x10, 0, 12),
                                            ParameterChange(0x10, 0, 0x10, 0, 120)}));
    EXPECT_EQ(data.DataChanged, 1);
    EXPECT_EQ(data.CaptionText, "Quillmarven (Changed)");
    // Letters, lone signs and the same value typed again: the shared pair's rules, tested on
    // the voice page's boxes.
}

TEST_F(PerformancePageTest, SignedBoxWaitsForDigitsAndClampsToItsLopsidedRange)
{
    TEdit* edit = Edit(P::Pfm_Part_Formant);
    TScrollBar* bar = Bar(P::Pfm_Part_Formant);
    ASSERT_TRUE(edit->UserSetsText("-"));
    EXPECT_EQ(bar->Position(), 64);
    EXPECT_TRUE(Sent().empty());
    ASSERT_TRUE(edit->UserTypes("5"));
    EXPECT_EQ(bar->Position(), 59);
    EXPECT_EQ(edit->Text(), "-5");
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x30, 0, 0x1D, 0, 59)});

    // The range is lopsided: -64 .. +63.
    ASSERT_TRUE(edit->UserSetsText("+70"));
    EXPECT_EQ(bar->Position(), 127);
    EXPECT_EQ(edit->Text(), "+63");
    ASSERT_TRUE(edit->UserSetsText("-99"));
    EXPECT_EQ(edit->Text(), "-64");
}

TEST_F(PerformancePageTest, KeyStepsFollowTheRowAndStopAtTheEnds)
{
    const auto stepOf = [&](P id, uint16_t key) {
        const int before = Bar(id)->Position();
        Edit(id)->KeyDown(key);
        return Bar(id)->Position() - before;
    };
    Bar(P::Pfm_Part_ReserveNote)->SetMax(32);
    Bar(P::Pfm_Part_ReserveNote)->SetPosition(0);
    EXPECT_EQ(stepOf(P::Pfm_Part_ReserveNote, VK_PRIOR), 2);
    EXPECT_EQ(stepOf(P::Pfm_Noteshift, VK_PRIOR), 4);
    EXPECT_EQ(stepOf(P::Pfm_Noteshift, VK_NEXT), -4);
    EXPECT_EQ(stepOf(P::Pfm_ReverbRtn, VK_NEXT), -10);
    EXPECT_EQ(stepOf(P::Pfm_ReverbRtn, VK_UP), 1);
    page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    EXPECT_EQ(stepOf(P::Pfm_Fseq_SpeedVel, VK_PRIOR), 1);

    Bar(P::Pfm_Volume)->SetPosition(125);
    Sent();
    Edit(P::Pfm_Volume)->KeyDown(VK_PRIOR);
    EXPECT_EQ(Bar(P::Pfm_Volume)->Position(), 127);
    Edit(P::Pfm_Volume)->KeyDown(VK_PRIOR);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x10, 0, 0x10, 0, 127)});
}

TEST_F(PerformancePageTest, SliderMovedDuringADisplayStoresShowsAndSendsNothing)
{
    const int32_t before = Part(0).Formant;
    data.UpdatingDisplay = 1;
    Bar(P::Pfm_Part_Formant)->SetPosition(10);
    data.UpdatingDisplay = 0;
    EXPECT_EQ(Part(0).Formant, before);
    EXPECT_EQ(Edit(P::Pfm_Part_Formant)->Text(), "+0");
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(data.DataChanged, 0);
}

TEST_F(PerformancePageTest, ReserveBoxKeepsToTheLimit)
{
    Bar(P::Pfm_Part_ReserveNote)->SetMax(6);
    Bar(P::Pfm_Part_ReserveNote)->SetPosition(2);
    Sent();
    ASSERT_TRUE(Edit(P::Pfm_Part_ReserveNote)->UserSetsText("9"));
    EXPECT_EQ(Bar(P::Pfm_Part_ReserveNote)->Position(), 6);
    EXPECT_EQ(Part(0).ReserveNote, 6);
    EXPECT_EQ(Sent(), std::vector<Message>{ParameterChange(0x30, 0, 0x00, 0, 6)});

    Bar(P::Pfm_Part_ReserveNote)->SetMax(0);
    Sent();
    ASSERT_TRUE(Edit(P::Pfm_Part_ReserveNote)->UserSetsText("9"));
    EXPECT_EQ(Edit(P::Pfm_Part_ReserveNote)->Text(), "0");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(PerformancePageTest, VelocityLimitAndSevenStepBoxes)
{
    ASSERT_TRUE(Edit(P::Pfm_Part_VelLimitLow)->UserSetsText("0")); // the velocity-limit kind
    EXPECT_EQ(Edit(P::Pfm_Part_VelLimitLow)->Text(), "1");
    page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    ASSERT_TRUE(Edit(P::Pfm_Fseq_SpeedVel)->UserSetsText("9"));
    EXPECT_EQ(Bar(P::Pfm_Fseq_SpeedVel)->Position(), 7);
    EXPECT_EQ(Edit(P::Pfm_Fseq_SpeedVel)->Text(), "7");
}

namespace {

struct Address {
    uint8_t AH = 0, AM = 0, AL = 0;
    bool operator==(const Address&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Address& a)
{
    return o << std::hex << int(a.AH) << " " << int(a.AM) << " " << int(a.AL) << std::dec;
}

// Every address is the place of its byte in the bulk dump of its block: the system block's AL;
// the performance's 80 x AM + AL, with part p's 52 bytes from C0 + 34 x p on (3p 00 AL).
Address PerformanceAddress(int position)
{
    if (position < 0xC0) return {0x10, uint8_t(position >> 7), uint8_t(position & 0x7F)};
    return {uint8_t(0x30 + (position - 0xC0) / 0x34), 0x00, uint8_t((position - 0xC0) % 0x34)};
}

// The parameters whose dump bytes differ between two edit buffers: a changed byte belongs to the
// parameter at its address or, where none starts there, to the two-byte one just before it.
std::vector<Address> ChangedParameters(const TMainData& tables, const TParameterData& before,
                                       const TParameterData& after)
{
    std::vector<Address> changed;
    auto note = [&](Address a, Address previous) {
        const Address owner = ParameterChangeData(after, tables, a.AH, a.AM, a.AL) ? a : previous;
        if (std::find(changed.begin(), changed.end(), owner) == changed.end()) changed.push_back(owner);
    };
    std::array<uint8_t, PerformancePayloadSize> p0{}, p1{};
    EncodePerformancePayload(before, tables, p0.data());
    EncodePerformancePayload(after, tables, p1.data());
    for (int i = 0; i < int(p0.size()); ++i)
        if (p0[size_t(i)] != p1[size_t(i)]) note(PerformanceAddress(i), PerformanceAddress(i - 1));
    std::array<uint8_t, SystemPayloadSize> s0{}, s1{};
    EncodeSystemPayload(before, s0.data());
    EncodeSystemPayload(after, s1.data());
    for (int i = 0; i < int(s0.size()); ++i)
        if (s0[size_t(i)] != s1[size_t(i)]) note({0x00, 0x00, uint8_t(i)}, {0x00, 0x00, uint8_t(i - 1)});
    return changed;
}

// A position of the slider's own: in its range, not 0, not its first value and not what it holds
// or shows now; the seed spreads the rows over their ranges.
int PositionOfItsOwn(const TScrollBar* bar, std::initializer_list<int> taken, int seed)
{
    const int span = bar->Max() - bar->Min() + 1;
    for (int k = 0; k < span; ++k) {
        const int v = bar->Min() + (seed + k) % span;
        if (v != 0 && std::find(taken.begin(), taken.end(), v) == taken.end()) return v;
    }
    return bar->Position() == bar->Max() ? bar->Min() : bar->Max();
}

} // namespace

// Moving each slider sends exactly what the dump layout makes of the stored word at the same
// address, and the bulk dumps change in that parameter and in no other: one table of addresses
// and conversions for the pages and the dumps. Every row goes to a position of its own on parts
// 1 and 3, so a row that sends to a neighbour's address or to another part fails.
TEST_F(PerformancePageTest, EveryPairSendsItsAddressAndTheDumpLayoutsBytes)
{
    int checked = 0;
    for (int part : {0, 2}) {
        ShowPart(part);
        for (int block = 0; block < 3; ++block) {
            page->Pfm_Effect_Tab->SetTabIndex(block + 1);
            const int type = data.ParameterData.PfmEffect.PfmEffectBlocks[size_t(block)].EffectType;
            const TEFXSetup& setup = data.EffectTypeTable[size_t(type)][size_t(block)];
            for (int i = 0; i < PfmPairCount; ++i) {
                const auto id = static_cast<P>(i);
                const PfmPairDescriptor& d = PfmPairOf(id);
                const bool effectRow = d.Record == PfmRecord::EffectSlot;
                if (block > 0 && !effectRow) continue;
                TScrollBar* bar = Bar(id);
                int held = bar->Position();
                if (effectRow) {
                    if (d.Index > setup.ParamCount) continue; // slots past the type
                    const int kind = setup.DisplayKind[size_t(d.Index - 1)];
                    if (d.Index == 2 && kind == 12) continue; // the release time goes bare in row 2
                    bar->SetMax(data.EffectKindMax[size_t(kind)]);
                    held = data.ParameterData.PfmEffect.PfmEffectBlocks[size_t(block)].Para[size_t(d.Index - 1)];
                }
                const int target =
                    PositionOfItsOwn(bar, {d.PairSpec.Initial, held, bar->Position()}, 7 * i + 3 * part + block + 1);
                const TParameterData before = data.ParameterData;
                Sent();
                bar->SetPosition(target);
                const std::vector<Message> sent = Sent();
                ASSERT_EQ(sent.size(), 1u) << d.PairSpec.Name;
                const Message& m = sent[0];
                const Address to{m[4], m[5], m[6]};
                const auto expected = ParameterChangeData(data.ParameterData, data, to.AH, to.AM, to.AL);
                ASSERT_TRUE(expected.has_value())
                    << d.PairSpec.Name << " sent to " << to << ", where no parameter lives";
                EXPECT_EQ(m[7], expected->DH) << d.PairSpec.Name << " at " << target;
                EXPECT_EQ(m[8], expected->DL) << d.PairSpec.Name << " at " << target;
                EXPECT_EQ(ChangedParameters(data, before, data.ParameterData), std::vector<Address>{to})
                    << d.PairSpec.Name << " sent to " << to << " on part " << part + 1;
                ++checked;
            }
        }
    }
    // Every row but the effect rows on both parts, and effect rows of the three blocks.
    EXPECT_GT(checked, 2 * (PfmPairCount - 18));
}

TEST_F(PerformancePageTest, ConversionsAndTextsOfTheReadOnlyRows)
{
    Bar(P::Pfm_Part_PBRange)->SetPosition(49);
    Bar(P::Pfm_Fseq_LoopEnd)->SetPosition(300);
    Bar(P::Pfm_Fseq_Speed)->SetPosition(4900);
    Bar(P::Pfm_Effect_EQ_LowFreq)->SetPosition(36);
    Bar(P::Pfm_Effect_EQ_HighQ)->SetPosition(5);
    Bar(P::Pfm_Effect_EQ_MidGain)->SetPosition(0);
    EXPECT_EQ(Sent(), (std::vector<Message>{
                          ParameterChange(0x30, 0, 0x26, 0, 49 + 16), ParameterChange(0x10, 0, 0x1E, 0x02, 0x2C),
                          ParameterChange(0x10, 0, 0x18, 0x27, 0x08), ParameterChange(0x10, 1, 0x35, 0, 0x28),
                          ParameterChange(0x10, 1, 0x3D, 0, 0x06), ParameterChange(0x10, 1, 0x38, 0, 0x34)}));
    EXPECT_EQ(Edit(P::Pfm_Part_PBRange)->Text(), "+1");
    EXPECT_EQ(Edit(P::Pfm_Fseq_Speed)->Text(), "500.0");
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_LowFreq)->Text(), "2.0k");
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_HighQ)->Text(), "0.6");
    EXPECT_EQ(Edit(P::Pfm_Effect_EQ_MidGain)->Text(), "-12");
}

TEST_F(PerformancePageTest, EffectRowsTakeAddressKindAndTextFromTheStoredType)
{
    // A type with a two-byte slot (kind 26 or 28) and one with the release time in row 2.
    auto find = [&](auto pred, int& block, int& type, int& row) {
        for (block = 0; block < 3; ++block)
            for (type = 0; type < EffectTypeCount[static_cast<std::size_t>(block)]; ++type)
                for (row = 1; row <= 18; ++row)
                    if (pred(data.EffectTypeTable[static_cast<std::size_t>(type)][static_cast<std::size_t>(block)],
                             row))
                        return;
        FAIL() << "no such type in the catalogue";
    };
    int block = 0, type = 0, row = 0;
    find([](const TEFXSetup& s,
            int n) { return n <= s.ParamCount && s.DisplayKind[static_cast<std::size_t>(n - 1)] == 26; },
         block, type, row);
    data.ParameterData.PfmEffect.PfmEffectBlocks[static_cast<std::size_t>(block)].EffectType = type;
    page->Pfm_Effect_Tab->SetTabIndex(block + 1);
    const P id = static_cast<P>(static_cast<int>(P::Pfm_Effect_Para1) + row - 1);
    const TEFXSetup& setup = data.EffectTypeTable[static_cast<std::size_t>(type)][static_cast<std::size_t>(block)];
    Bar(id)->SetMax(13649);
    Bar(id)->SetPosition(3332);
    EXPECT_EQ(Edit(id)->Text(), "333.3");
    EXPECT_EQ(Sent(),
              std::vector<Message>{ParameterChange(0x10, setup.AddrMid[static_cast<std::size_t>(row - 1)],
                                                   setup.AddrLow[static_cast<std::size_t>(row - 1)], 0x1A, 0x05)});
    EXPECT_EQ(data.ParameterData.PfmEffect.PfmEffectBlocks[static_cast<std::size_t>(block)]
                  .Para[static_cast<std::size_t>(row - 1)],
              3332);

    find([](const TEFXSetup& s, int n) { return n == 2 && s.ParamCount >= 2 && s.DisplayKind[1] == 12; }, block, type,
         row);
    data.ParameterData.PfmEffect.PfmEffectBlocks[static_cast<std::size_t>(block)].EffectType = type;
    page->Pfm_Effect_Tab->SetTabIndex(block + 1);
    Bar(P::Pfm_Effect_Para2)->SetMax(15);
    Bar(P::Pfm_Effect_Para2)->SetPosition(15);
    EXPECT_EQ(Edit(P::Pfm_Effect_Para2)->Text(), "680");
    const std::vector<Message> sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][8], 0x0F);

    // On the part sends tab no block is shown: the rows act on nothing.
    page->Pfm_Effect_Tab->SetTabIndex(0);
    Bar(P::Pfm_Effect_Para2)->SetPosition(3);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(PerformancePageTest, InsertionTrailingSlotsKeepTheirLevelAndFeedTheRoutingLabels)
{
    auto& insertion = data.ParameterData.PfmEffect.PfmEffectBlocks[InsertionBlock];
    const int count = data.EffectTypeTable[static_cast<std::size_t>(insertion.EffectType)][InsertionBlock].ParamCount;
    page->Pfm_Effect_Tab->SetTabIndex(3);
    const P dry = static_cast<P>(static_cast<int>(P::Pfm_Effect_Para1) + count - 1);
    Bar(dry)->SetMax(127);
    Bar(dry)->SetPosition(100);
    EXPECT_EQ(data.EffectKeptLevels[3], 100);
    EXPECT_EQ(page->Pfm_Effect_ImageInsDryLvl->Caption(), "100");
    EXPECT_EQ(page->Pfm_Effect_ImageInsSendtoVar->Caption(), IntToStr(data.EffectKeptLevels[4]));
}
