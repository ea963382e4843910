// The page's controls and handlers by their given names: the main window finds every control of
// the page under its name, and every handler the tables serve is found by the name the form
// gives it (the slider's and value box's for a pair, Change or Click for a list or radio group).
// The names themselves are those of the message records in tests/pages.
#include "tests/support/VoicePageFixture.h"

#include <string>

TEST_F(VoicePageTest, MainWindowFindsEveryControlByItsNameUntilThePageGoes)
{
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

    // The lists and radio groups of the five formant and five FM sets, each sending its own
    // set's byte; a list's handler is Change and a radio group's Click, never the other.
    for (int i = 1; i <= 5; ++i) {
        const std::string n = std::to_string(i);
        for (const char* part : {"OperatorChange", "ParameterClick"})
            for (const auto& [set, al] : {std::pair{"Vc_Frmt", 0x3F + i}, {"Vc_Fm", 0x49 + i}}) {
                const TNotifyEvent handler = page->Handler(set + n + part);
                ASSERT_TRUE(handler) << set + n + part;
                handler(nullptr);
                const auto sent = TakeSent();
                ASSERT_EQ(sent.size(), 1u) << set + n + part;
                EXPECT_EQ(sent[0], Change(0x40, 0, uint8_t(al), sent[0][8])) << set + n + part;
            }
    }
    EXPECT_FALSE(page->Handler("Vc_CategoryClick"));
    EXPECT_TRUE(page->Handler("Vc_CategoryChange"));
    EXPECT_FALSE(page->Handler("Vc_LFO2PhaseChange"));
    EXPECT_TRUE(page->Handler("Vc_LFO2PhaseClick"));
    EXPECT_FALSE(page->KeyHandler("Vc_CategoryEditKeyDown"));
}
