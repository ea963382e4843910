// The part sheet driven as a person does: the part tab and the display of one part, the voice
// selection (bank and program, with the window's voice fetch), the receive channels, the boxes of
// the slider rows, the switches, the note limits and the part pan pair. (What each slider sends:
// tests/pages/SliderMessagesTest.cpp; every control and enable of the four parts after a receive, a
// load and an initialisation: PartSheetDisplayTest.)
#include "tests/performance/PerformanceFixture.h"

namespace {

using P = PfmPair;

// A parameter of part 3, the part most cases here show.
Message Part3(uint8_t al, uint8_t dl) { return PartChange(0x32, al, dl); }

void Channels(PfmPart& part, int channel, int max = 0)
{
    part.RcvCh = channel;
    part.RcvChMax = max;
}

} // namespace

TEST_F(PerformancePageTest, PartTabRedisplaysAndSendsNothingWhileABoxHasTheFocus)
{
    Part(2).Formant = 80;
    ASSERT_TRUE(Edit(P::Pfm_Part_Formant)->UserFocuses());
    form->SetOperatorEditItemsVisible(true);
    ClickPart(2);
    EXPECT_EQ(Edit(P::Pfm_Part_Formant)->Text(), "+16");
    EXPECT_EQ(Bar(P::Pfm_Part_Formant)->Position(), 80);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(form->DataChanged, 0);
    EXPECT_EQ(form->UpdatingDisplay, 0);
    EXPECT_FALSE(form->OPCopy->Visible()); // Op Copy and Op Paste hidden
    // Edits now go to part 3.
    Bar(P::Pfm_Part_Formant)->UserScrollsTo(70);
    EXPECT_EQ(Part(2).Formant, 70);
    EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(0x32, 0x1D, 70)});

    // Coming back from the Voice sheet redisplays the part on the tab.
    Part(2).Detune = 70;
    ASSERT_TRUE(form->FS1R_PageControl->UserSelects(1));
    form->SetOperatorEditItemsVisible(true);
    ASSERT_TRUE(form->FS1R_PageControl->UserSelects(0));
    EXPECT_EQ(Edit(P::Pfm_Part_Detune)->Text(), "+6");
    EXPECT_FALSE(form->OPCopy->Visible());
}

TEST_F(PerformancePageTest, MutedPartShowsZeroInADisabledRowAndKeepsItsVolume)
{
    Part(3).Volume = 99;
    form->PartMute[3] = 1;
    ClickPart(3);
    EXPECT_EQ(Edit(P::Pfm_Part_Volume)->Text(), "0");
    EXPECT_EQ(Bar(P::Pfm_Part_Volume)->Position(), 0);
    EXPECT_FALSE(Edit(P::Pfm_Part_Volume)->Enabled());
    EXPECT_EQ(Part(3).Volume, 99);
    ClickPart(0);
    EXPECT_TRUE(Edit(P::Pfm_Part_Volume)->Enabled());
}

TEST_F(PerformancePageTest, ForeignWordsAreShownWithoutReadingOutsideTheLists)
{
    Part(0).BankNum = 40;
    Part(0).PrgNum = 300;
    Part(0).RcvCh = -3;
    Part(0).InsEffectSw = 7;
    Refresh();
    EXPECT_EQ(page->Pfm_Part_BankNum->ItemIndex(), -1);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());
    EXPECT_EQ(page->Pfm_Part_InsEffectSw->ItemIndex(), 1); // past the end: the last item
    EXPECT_EQ(Part(0).BankNum, 40);                        // the record keeps what it holds
}

// A bank refills the program list and sends the bank and the program; each starts the window's
// fetch of the part's voice. "off" sends the bank alone.
TEST_F(PerformancePageTest, BankChoiceRefillsProgramsSendsBankAndProgramAndFetchesTheVoice)
{
    ASSERT_EQ(form->FindComponent("Pfm_Part_BankNum"), page->Pfm_Part_BankNum);
    auto expectFetch = [&] {
        EXPECT_TRUE(form->Vc_Timer->Enabled());
        EXPECT_EQ(form->ReceiveTarget, 1);
        Advance(4000);
        EXPECT_FALSE(form->TransferRunning());
        Forget();
    };
    Part(1).BankNum = 0;
    Part(1).PrgNum = 5;
    ClickPart(1);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());

    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(3)); // PrB
    EXPECT_EQ(TakeSent(), (std::vector<Message>{PartChange(0x31, 0x01, 3), PartChange(0x31, 0x02, 5)}));
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 128);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[0], form->VoiceNameTable[0][1]);
    EXPECT_EQ(page->Pfm_Part_PrgNum->ItemIndex(), 5);
    EXPECT_TRUE(page->Pfm_Part_PrgNum->Enabled());
    EXPECT_EQ(Part(1).BankNum, 3);
    EXPECT_EQ(form->DataChanged, 1);
    expectFetch();

    ASSERT_TRUE(page->Pfm_Part_PrgNum->UserSelects(9));
    EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(0x31, 0x02, 9)});
    EXPECT_EQ(Part(1).PrgNum, 9);
    expectFetch();

    form->DataChanged = 0;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(0));
    EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(0x31, 0x01, 0)});
    EXPECT_FALSE(form->Vc_Timer->Enabled());
    EXPECT_EQ(form->DataChanged, 1);
    EXPECT_EQ(Part(1).BankNum, 0);
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items.Count(), 0);
    EXPECT_FALSE(page->Pfm_Part_PrgNum->Enabled());

    // A program beyond the list (foreign data) comes in as the last one.
    Part(1).PrgNum = 300;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(2));
    EXPECT_EQ(TakeSent(), (std::vector<Message>{PartChange(0x31, 0x01, 2), PartChange(0x31, 0x02, 127)}));
    EXPECT_EQ(Part(1).PrgNum, 127);
}

TEST_F(PerformancePageTest, InternalBankFollowsTheMemoryMode)
{
    form->ParameterData.SystemBlock.MemoryMode = 1;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(1));
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[64], "065 --:**********");
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[127], "128 --:**********");
    Advance(4000); // the voice fetch
    form->ParameterData.SystemBlock.MemoryMode = 0;
    ASSERT_TRUE(page->Pfm_Part_BankNum->UserSelects(1));
    EXPECT_EQ(page->Pfm_Part_PrgNum->Items[64], "065 --:Internal Voice");
}

TEST_F(PerformancePageTest, NoChannelLeftTurnsTheListOff)
{
    Channels(Part(0), 0, 15); // 01..16
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    ClickPart(1);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(4));
    EXPECT_EQ(page->Pfm_Part_RcvCh->Text(), "off");
    EXPECT_EQ(Part(1).RcvCh, 17);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0, 0x04, 0, 0x7F)});
    EXPECT_FALSE(page->Pfm_Part_RcvChMax->Enabled());

    // Foreign data with more than 16 channels taken: the same, also for "pfm".
    Channels(Part(2), 3);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(16));
    EXPECT_EQ(Part(1).RcvCh, 17);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0, 0x04, 0, 0x7F)});
}

TEST_F(PerformancePageTest, PfmAndChannelSwitchTheMaximumList)
{
    Channels(Part(1), 17);
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(16));
    EXPECT_FALSE(page->Pfm_Part_RcvChMax->Enabled());
    EXPECT_FALSE(page->Pfm_Part_RcvChMaxText->Enabled());
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(6));
    EXPECT_TRUE(page->Pfm_Part_RcvChMax->Enabled());
    EXPECT_EQ(page->Pfm_Part_RcvChMax->ItemIndex(), 6);
    EXPECT_EQ(Part(0).RcvChMax, 6);
    EXPECT_EQ(TakeSent(),
              (std::vector<Message>{ParameterChange(0x30, 0, 0x04, 0, 0x10), ParameterChange(0x30, 0, 0x04, 0, 6)}));

    // Part 3 stores its channel as its maximum too, and sends only the channel.
    ClickPart(2);
    ASSERT_TRUE(page->Pfm_Part_RcvCh->UserSelects(9));
    EXPECT_EQ(Part(2).RcvChMax, 9);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x32, 0, 0x04, 0, 9)});
}

// A maximum chosen for part 1 or 2 is cut to the channels the other parts leave (counted from the
// part's own channel, wrapping past 16); with none left the part keeps its own channel alone.
TEST_F(PerformancePageTest, MaximumIsCutToTheChannelsLeft)
{
    struct Case {
        const char* what;
        std::array<std::pair<int, int>, 4> channels; // each part's channel and maximum (0..15)
        int part, chosen, kept;                      // channels 1..16
    };
    const Case cases[] = {
        {"parts 3 and 4 on one channel each, 05..16 free", {{{4, 4}, {17, 0}, {0, 0}, {1, 0}}}, 0, 16, 16},
        {"wrapping: 05..16, 01..02", {{{4, 4}, {17, 0}, {0, 0}, {1, 0}}}, 0, 3, 2},
        {"wrapping: 05..16, 01", {{{4, 4}, {17, 0}, {0, 0}, {1, 0}}}, 0, 1, 1},
        {"part 2 on 01..10: 03..08 free", {{{2, 2}, {0, 9}, {17, 0}, {17, 0}}}, 0, 12, 8},
        {"below the part's channel", {{{2, 2}, {0, 9}, {17, 0}, {17, 0}}}, 0, 2, 3},
        {"none free (part 2 foreign on 01..16)", {{{0, 0}, {0, 15}, {17, 0}, {17, 0}}}, 0, 16, 1},
        {"a maximum stored \"off\" is one channel", {{{4, 0x7F}, {0, 0}, {17, 0}, {17, 0}}}, 1, 16, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int p = 0; p < 4; ++p)
            Channels(Part(p), c.channels[std::size_t(p)].first, c.channels[std::size_t(p)].second);
        Refresh();
        ClickPart(c.part);
        ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(c.chosen - 1));
        EXPECT_EQ(page->Pfm_Part_RcvChMax->ItemIndex(), c.kept - 1);
        EXPECT_EQ(Part(c.part).RcvChMax, c.kept - 1);
        EXPECT_EQ(TakeSent(), std::vector<Message>{PartChange(uint8_t(0x30 + c.part), 0x03, uint8_t(c.kept - 1))});
    }
}

// "off" as stored (as the instrument or a file gave it) is shown, kept, and left for a channel.
TEST_F(PerformancePageTest, MaximumOffAsStoredIsShownKeptAndLeftForAChannel)
{
    Channels(Part(0), 4, 0x7F);
    Channels(Part(1), 0, 14); // 01..15
    Channels(Part(2), 17);
    Channels(Part(3), 17);
    Refresh();
    ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(16));
    EXPECT_EQ(Part(0).RcvChMax, 0x7F);
    ASSERT_TRUE(page->Pfm_Part_RcvChMax->UserSelects(7)); // cut to 05, the one channel left
    EXPECT_EQ(Part(0).RcvChMax, 4);
    EXPECT_EQ(page->Pfm_Part_RcvChMax->Items.Count(), 16);
    EXPECT_EQ(TakeSent(), (std::vector<Message>{PartChange(0x30, 0x03, 0x7F), PartChange(0x30, 0x03, 4)}));
}

// The boxes of the signed rows take what is typed, a character at a time, within their ranges.
TEST_F(PerformancePageTest, SignedBoxesKeepToTheirRangesAndSendTheConvertedValue)
{
    Part(2).FilterSw = 1;
    Refresh();
    ClickPart(2);
    struct Typed {
        P id;
        const char* text;
        int position;
        const char* shown;
        std::vector<Message> sent;
    };
    const Typed cases[] = {
        // detune "+70": "+7" already moves it to 71, then the top
        {P::Pfm_Part_Detune, "+70", 127, "+63", {Part3(0x09, 71), Part3(0x09, 0x7F)}},
        {P::Pfm_Part_Detune, "-70", 0, "-64", {Part3(0x09, 57), Part3(0x09, 0x00)}},
        {P::Pfm_Part_FilterReso, "99", 127, "+63", {Part3(0x19, 73), Part3(0x19, 0x7F)}},
        {P::Pfm_Part_NoteShift, "+30", 48, "+24", {Part3(0x08, 27), Part3(0x08, 0x30)}},
        {P::Pfm_Part_NoteShift, "-24", 0, "-24", {Part3(0x08, 22), Part3(0x08, 0x00)}},
        {P::Pfm_Part_PBRange, "-48", 0, "-48", {Part3(0x26, 44 + 16), Part3(0x26, 0x10)}},
        {P::Pfm_Part_PBRange, "+24", 72, "+24", {Part3(0x26, 50 + 16), Part3(0x26, 0x58)}},
        {P::Pfm_Part_PBRange, "+25", 72, "+24", {Part3(0x26, 50 + 16), Part3(0x26, 0x58)}},
        {P::Pfm_Part_PBRangeLo, "-49", 0, "-48", {Part3(0x27, 44 + 16), Part3(0x27, 0x10)}},
        {P::Pfm_Part_PanScale, "+70", 100, "+50", {Part3(0x28, 57), Part3(0x28, 100)}},
        {P::Pfm_Part_PanScale, "-50", 0, "-50", {Part3(0x28, 45), Part3(0x28, 0)}},
    };
    for (const Typed& c : cases) {
        SCOPED_TRACE(std::string(page->Pair(c.id).PairForm().Name) + " typed " + c.text);
        ASSERT_TRUE(Edit(c.id)->UserSetsText(""));
        TakeSent();
        ASSERT_TRUE(Edit(c.id)->UserTypes(c.text));
        EXPECT_EQ(Bar(c.id)->Position(), c.position);
        EXPECT_EQ(Edit(c.id)->Text(), c.shown);
        EXPECT_EQ(TakeSent(), c.sent);
    }

    // An emptied box goes to the centre, "+0" selected; the pitch-bend centre goes out as 40 hex.
    Bar(P::Pfm_Part_PBRangeLo)->UserScrollsTo(10);
    TakeSent();
    ASSERT_TRUE(Edit(P::Pfm_Part_PBRangeLo)->UserSetsText(""));
    EXPECT_EQ(Bar(P::Pfm_Part_PBRangeLo)->Position(), 48);
    EXPECT_EQ(Edit(P::Pfm_Part_PBRangeLo)->Text(), "+0");
    EXPECT_EQ(Edit(P::Pfm_Part_PBRangeLo)->SelLength(), 2);
    EXPECT_EQ(TakeSent(), std::vector<Message>{Part3(0x27, 0x40)});

    // A lone sign waits; leaving the box puts the slider's value back, sending nothing.
    Bar(P::Pfm_Part_PEGRelLvl)->UserScrollsTo(70);
    TakeSent();
    ASSERT_TRUE(Edit(P::Pfm_Part_PEGRelLvl)->UserSetsText("-"));
    ASSERT_TRUE(Edit(P::Pfm_Part_Detune)->UserFocuses());
    EXPECT_EQ(Edit(P::Pfm_Part_PEGRelLvl)->Text(), "+6");
    EXPECT_TRUE(TakeSent().empty());

    // Page Up on the note shift at +20 reaches +24; a second one sends nothing.
    Bar(P::Pfm_Part_NoteShift)->UserScrollsTo(44);
    TakeSent();
    ASSERT_TRUE(Edit(P::Pfm_Part_NoteShift)->KeyDown(VK_PRIOR));
    ASSERT_TRUE(Edit(P::Pfm_Part_NoteShift)->KeyDown(VK_PRIOR));
    EXPECT_EQ(Edit(P::Pfm_Part_NoteShift)->Text(), "+24");
    EXPECT_EQ(TakeSent(), std::vector<Message>{Part3(0x08, 0x30)});
}

TEST_F(PerformancePageTest, UnsignedBoxesOfTheOtherGroupKeepToTheirRanges)
{
    ClickPart(2);
    ASSERT_TRUE(Edit(P::Pfm_Part_VelLimitHigh)->UserSetsText("0"));
    EXPECT_EQ(Bar(P::Pfm_Part_VelLimitHigh)->Position(), 1);
    EXPECT_EQ(Edit(P::Pfm_Part_VelLimitHigh)->Text(), "1");
    ASSERT_TRUE(Edit(P::Pfm_Part_VelLimitLow)->UserSetsText("200"));
    EXPECT_EQ(Bar(P::Pfm_Part_VelLimitLow)->Position(), 127);
    // The velocity limits are independent: a low limit above the high one goes out as it is.
    EXPECT_EQ(TakeSent(), (std::vector<Message>{Part3(0x2B, 0x01), Part3(0x2A, 0x7F)}));
    EXPECT_EQ(Part(2).VelLimitLow, 127);
    EXPECT_EQ(Part(2).VelLimitHigh, 1);
    // Both run 1..127: a key or a drag never reaches 0.
    for (P limit : {P::Pfm_Part_VelLimitLow, P::Pfm_Part_VelLimitHigh}) {
        Bar(limit)->UserScrollsTo(0);
        Edit(limit)->KeyDown(VK_DOWN);
        EXPECT_EQ(Bar(limit)->Position(), 1) << Bar(limit)->Name;
        EXPECT_EQ(Bar(limit)->Min(), 1) << Bar(limit)->Name;
    }

    // The pan LFO depth takes two digits and stops at 99.
    ASSERT_TRUE(Edit(P::Pfm_Part_PanMod)->UserSetsText(""));
    ASSERT_TRUE(Edit(P::Pfm_Part_PanMod)->UserTypes("123"));
    EXPECT_EQ(Edit(P::Pfm_Part_PanMod)->Text(), "12");
    Bar(P::Pfm_Part_PanMod)->UserScrollsTo(95);
    ASSERT_TRUE(Edit(P::Pfm_Part_PanMod)->KeyDown(VK_PRIOR));
    EXPECT_EQ(Bar(P::Pfm_Part_PanMod)->Position(), 99);
    EXPECT_EQ(Part(2).PanMod, 99);
}

// A switch rests the controls its other setting gives no meaning, which keep their values: the
// insertion switch the send levels, portamento off its mode and time, poly the mono priority.
// (The bytes each sends, the shared portamento byte among them: the control record in tests/pages.)
TEST_F(PerformancePageTest, SwitchesRestTheControlsTheyMakeMeaninglessAndKeepTheirValues)
{
    Part(2).InsEffectSw = 0, Part(2).DryLevel = 70, Part(2).PortaSw = 1, Part(2).PortaMode = 1;
    Part(2).PortaTime = 90, Part(2).MonoPoly = 0, Part(2).MonoPriority = 2;
    Refresh();
    ClickPart(2);
    const PfmPart stored = Part(2);
    struct Case {
        TRadioGroup* Switch;
        int32_t PfmPart::*Word;
        int Rest, Work;
        TControl* List; // the list it rests, if any, and the slider rows
        std::vector<P> Rows;
    };
    const std::vector<P> sends = {P::Pfm_Part_DryLevel, P::Pfm_Part_ReverbSend, P::Pfm_Part_VariationSend};
    const Case cases[] = {
        {page->Pfm_Part_InsEffectSw, &PfmPart::InsEffectSw, 1, 0, nullptr, sends},
        {page->Pfm_Part_PortaSw, &PfmPart::PortaSw, 0, 1, page->Pfm_Part_PortaMode, {P::Pfm_Part_PortaTime}},
        {page->Pfm_Part_MonoPoly, &PfmPart::MonoPoly, 1, 0, page->Pfm_Part_MonoPriority, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Switch->Name);
        std::vector<TControl*> rested;
        if (c.List) rested.push_back(c.List);
        for (P id : c.Rows) rested.insert(rested.end(), {page->Pair(id).Text, Bar(id), Edit(id)});
        form->DataChanged = 0;
        ASSERT_TRUE(c.Switch->UserClicks(c.Rest));
        EXPECT_EQ(Part(2).*c.Word, c.Rest);
        EXPECT_EQ(form->DataChanged, 1);
        for (TControl* r : rested) EXPECT_FALSE(r->Enabled()) << r->Name;
        EXPECT_TRUE(Edit(P::Pfm_Part_Volume)->Enabled());
        ASSERT_TRUE(c.Switch->UserClicks(c.Work));
        for (TControl* r : rested) EXPECT_TRUE(r->Enabled()) << r->Name;
    }
    EXPECT_TRUE(Same(Part(2), stored));
    EXPECT_EQ(Edit(P::Pfm_Part_DryLevel)->Text(), "70");
    EXPECT_EQ(Edit(P::Pfm_Part_PortaTime)->Text(), "90");
    EXPECT_EQ(page->Pfm_Part_PortaMode->ItemIndex(), 1);
    EXPECT_EQ(page->Pfm_Part_MonoPriority->ItemIndex(), 2);
}

TEST_F(PerformancePageTest, NoteLimitsAreIndependent)
{
    Part(2).NoteLimitLow = 12;
    Part(2).NoteLimitHigh = 100;
    Refresh();
    ClickPart(2);
    ASSERT_TRUE(page->Pfm_Part_NoteLimitLow->UserSelects(127));
    ASSERT_TRUE(page->Pfm_Part_NoteLimitHigh->UserSelects(0));
    EXPECT_EQ(TakeSent(), (std::vector<Message>{ParameterChange(0x32, 0x00, 0x0F, 0x00, 0x7F),
                                                ParameterChange(0x32, 0x00, 0x10, 0x00, 0x00)}));
    EXPECT_EQ(Part(2).NoteLimitLow, 127);
    EXPECT_EQ(Part(2).NoteLimitHigh, 0);
    EXPECT_EQ(page->Pfm_Part_NoteLimitLow->Text(), "G 8");
    EXPECT_EQ(form->DataChanged, 1);
}

// The part pan: the list's index is the slider's position, 0 random and 64 the centre.
TEST_F(PerformancePageTest, PartPanSliderAndListShowOneValue)
{
    const std::pair<int, const char*> names[] = {{0, "Rnd"}, {1, "L63"},  {54, "L10"}, {55, "L 9"}, {63, "L 1"},
                                                 {64, " C"}, {65, "R 1"}, {73, "R 9"}, {74, "R10"}, {127, "R63"}};
    ASSERT_EQ(page->Pfm_Part_Pan->Items.Count(), 128);
    for (const auto& [i, name] : names) EXPECT_EQ(page->Pfm_Part_Pan->Items[i], name);

    Part(1).Pan = 90;
    Refresh();
    ClickPart(1);
    ASSERT_TRUE(page->Pfm_Part_Pan->UserSelects(0));
    EXPECT_EQ(page->Pfm_Part_PanBar->Position(), 0);
    EXPECT_EQ(Part(1).Pan, 0);
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0x00, 0x0E, 0x00, 0x00)});
    EXPECT_EQ(form->DataChanged, 1);

    ASSERT_TRUE(Edit(P::Pfm_Part_PanScale)->UserFocuses());
    ASSERT_TRUE(page->Pfm_Part_PanBar->UserScrollsTo(64));
    EXPECT_EQ(page->Pfm_Part_Pan->Text(), " C");
    EXPECT_EQ(Part(1).Pan, 64);
    EXPECT_TRUE(page->Pfm_Part_Pan->Focused()); // the list stands in for a value box
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0x00, 0x0E, 0x00, 0x40)});

    ASSERT_TRUE(page->Pfm_Part_Pan->UserSelects(21)); // "L43"
    EXPECT_EQ(page->Pfm_Part_PanBar->Position(), 21);
    // Picking the item already shown moves nothing and sends nothing.
    ASSERT_TRUE(page->Pfm_Part_Pan->UserSelects(21));
    EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x31, 0x00, 0x0E, 0x00, 21)});
}
