// The value pairs of the performance pages: typing, keys, the storing road, the read-only rows'
// conversions and texts, and the effect rows that follow the stored type. (Every slider's address
// and bytes: tests/pages/SliderMessagesTest.cpp; the signed boxes' lopsided ranges:
// PartSheetControlsTest; the reserve box within its limit: FilterSwitchTest.)
#include "tests/performance/PerformanceFixture.h"

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

TEST_F(PerformancePageTest, VelocityLimitAndSevenStepBoxes)
{
    ASSERT_TRUE(Edit(P::Pfm_Part_VelLimitLow)->UserSetsText("0")); // the velocity-limit kind
    EXPECT_EQ(Edit(P::Pfm_Part_VelLimitLow)->Text(), "1");
    // Both velocity limits run 1..127: a key or a drag never reaches 0.
    for (P limit : {P::Pfm_Part_VelLimitLow, P::Pfm_Part_VelLimitHigh}) {
        Bar(limit)->UserScrollsTo(0);
        Edit(limit)->KeyDown(VK_DOWN);
        EXPECT_EQ(Bar(limit)->Position(), 1) << Bar(limit)->Name;
        EXPECT_EQ(Bar(limit)->Min(), 1) << Bar(limit)->Name;
    }
    page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    ASSERT_TRUE(Edit(P::Pfm_Fseq_SpeedVel)->UserSetsText("9"));
    EXPECT_EQ(Bar(P::Pfm_Fseq_SpeedVel)->Position(), 7);
    EXPECT_EQ(Edit(P::Pfm_Fseq_SpeedVel)->Text(), "7");
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
