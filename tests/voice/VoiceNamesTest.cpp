// The page's controls and handlers by their given names: the main window finds every control of
// the page under its name, and every handler the tables serve is found by the name the form
// gives it (the slider's and value box's for a pair, Change or Click for a list or radio group).
#include "tests/voice/VoicePageFixture.h"

#include <string>

TEST_F(VoicePageTest, MainWindowFindsEveryControlByItsNameUntilThePageGoes)
{
    // Sliders, value boxes, radio groups and lists of the common page and of the operator page.
    const std::pair<const char*, TControl*> sample[] = {
        {"Vc_LFO1SpeedBar", page->Bar(VcPair::Vc_LFO1Speed)},
        {"Vc_FilterCutoffFreqEdit", page->Edit(VcPair::Vc_FilterCutoffFreq)},
        {"Vc_LFO2Phase", page->Vc_LFO2Phase},
        {"Vc_FilterType", page->Vc_FilterType},
        {"Vc_OpEGLv3Bar", page->Bar(VcPair::Vc_OpEGLv3)},
        {"Vc_VOpDetuneEdit", page->Edit(VcPair::Vc_VOpDetune)},
        {"Vc_VOpKeySync", page->Vc_VOpKeySync},
        {"Vc_VOpLSBP", page->Vc_VOpLSBP},
    };
    for (const auto& [name, control] : sample) {
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(form->FindComponent(name), control) << name;
    }
    // A pair's label is found as well, with its caption.
    auto* skirt = dynamic_cast<TLabel*>(form->FindComponent("Vc_UOpSkirtText"));
    ASSERT_NE(skirt, nullptr);
    EXPECT_EQ(skirt->Caption(), "Skirt");

    std::vector<TControl*> all = ControlsUnder(page->Vc_VoiceTab);
    all.push_back(page->Vc_VoiceTab);
    for (TControl* c : all) EXPECT_EQ(form->FindComponent(c->Name), c) << c->Name;

    // The page takes its controls with it.
    const int before = form->ComponentCount();
    form->VoicePage.reset();
    EXPECT_EQ(form->ComponentCount(), before - int(all.size()));
    EXPECT_EQ(form->FindComponent("Vc_LFO1SpeedBar"), nullptr);
    EXPECT_EQ(form->Vc_TabSheet->ControlCount(), 0);
}

TEST_F(VoicePageTest, EveryTableHandlerIsFoundByItsName)
{
    size_t pairs = 0;
    for (TControl* c : ControlsUnder(page->Vc_VoiceTab)) {
        auto* bar = dynamic_cast<TScrollBar*>(c);
        TValuePair* pair = bar ? page->Pair(bar) : nullptr;
        if (!pair) continue;
        ++pairs;
        const std::string stem = bar->Name.substr(0, bar->Name.size() - 3);
        EXPECT_EQ(pair->Edit->Name, stem + "Edit");
        EXPECT_TRUE(page->Handler(stem + "BarChange")) << stem;
        EXPECT_TRUE(page->KeyHandler(stem + "EditKeyDown")) << stem;
        // A box one types into has a change handler; a box showing a sign has the exit rule.
        const bool typed = !pair->Edit->ReadOnly();
        const bool sign = !pair->Edit->Text().empty() && (pair->Edit->Text()[0] == '+' || pair->Edit->Text()[0] == '-');
        EXPECT_EQ(bool(page->Handler(stem + "EditChange")), typed) << stem;
        EXPECT_EQ(bool(page->Handler(stem + "EditExit")), typed && sign) << stem;
    }
    EXPECT_EQ(pairs, 88u);

    // A found handler is the control's own: the operator EG's time 2 box steps its slider.
    Voice().VoicedOperators[0].EGTime2 = 60; // shows 39
    Refresh();
    uint16_t key = VK_PRIOR;
    page->KeyHandler("Vc_OpEGTime2EditKeyDown")(page->Edit(VcPair::Vc_OpEGTime2), key, {});
    EXPECT_EQ(page->Edit(VcPair::Vc_OpEGTime2)->Text(), "49");
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 0, 0x11, 49)});

    // The lists and radio groups that only store and send, with the address each sends to.
    struct TChoice {
        std::string Handler;
        uint8_t AH, AL;
    };
    std::vector<TChoice> choices = {
        {"Vc_CategoryChange", 0x40, 0x0E},     {"Vc_LFO1WaveformChange", 0x40, 0x10},
        {"Vc_LFO1KeySyncClick", 0x40, 0x13},   {"Vc_LFO2WaveformChange", 0x40, 0x18},
        {"Vc_LFO2KeySyncClick", 0x40, 0x1D},   {"Vc_LFO2PhaseClick", 0x40, 0x1C},
        {"Vc_FilterTypeChange", 0x40, 0x54},   {"Vc_FilterFScaleBPChange", 0x40, 0x5C},
        {"Vc_PitchEGRangeClick", 0x40, 0x3B},  {"Vc_VOpKeySyncClick", 0x60, 0x00},
        {"Vc_VOpLSBPChange", 0x60, 0x17},      {"Vc_VOpLSLeftCrvClick", 0x60, 0x1A},
        {"Vc_VOpLSRightCrvClick", 0x60, 0x1B},
    };
    for (int i = 1; i <= 5; ++i) {
        const std::string n = std::to_string(i);
        for (const char* part : {"OperatorChange", "ParameterClick"}) {
            choices.push_back({"Vc_Frmt" + n + part, 0x40, uint8_t(0x3F + i)});
            choices.push_back({"Vc_Fm" + n + part, 0x40, uint8_t(0x49 + i)});
        }
    }
    for (const TChoice& c : choices) {
        const TNotifyEvent handler = page->Handler(c.Handler);
        ASSERT_TRUE(handler) << c.Handler;
        handler(nullptr);
        const auto sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u) << c.Handler;
        EXPECT_EQ(sent[0][4], c.AH) << c.Handler;
        EXPECT_EQ(sent[0][5], 0) << c.Handler;
        EXPECT_EQ(sent[0][6], c.AL) << c.Handler;
    }
    // A list's handler is Change and a radio group's Click, never the other.
    EXPECT_FALSE(page->Handler("Vc_CategoryClick"));
    EXPECT_FALSE(page->Handler("Vc_LFO2PhaseChange"));
    EXPECT_FALSE(page->KeyHandler("Vc_CategoryEditKeyDown"));
}
