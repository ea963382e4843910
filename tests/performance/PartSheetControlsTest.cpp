// The controls of the part sheet driven as a person does: the boxes of the slider rows, the
// insertion switch, portamento, mono/poly, sustain, the note limits and the part pan pair.
// Addresses and data bytes are written out here as the instrument takes them; the part is part 3
// (AH 32) unless a case says otherwise. (What each slider sends: tests/pages/SliderMessagesTest.cpp;
// what each row shows: PartSheetDisplayTest.)
#include "tests/performance/PerformanceFixture.h"

namespace {

using P = PfmPair;

class PartSheetControlsTest : public PerformancePageTest {
protected:
    // Part 3 shown with every row a person may move open: filter and portamento on, insertion off.
    void ShowOpenPart3()
    {
        Part(2).FilterSw = 1;
        Part(2).PortaSw = 1;
        Part(2).InsEffectSw = 0;
        Part(2).MonoPoly = 0;
        Part(2).ReserveNoteMax = 10;
        Refresh();
        ClickPart(2);
        TakeSent();
        form->DataChanged = 0;
    }
    static Message Part3(uint8_t al, uint8_t dl) { return ParameterChange(0x32, 0x00, al, 0x00, dl); }
};

} // namespace

// The boxes of the signed rows take what is typed, a character at a time, within their ranges.
TEST_F(PartSheetControlsTest, SignedBoxesKeepToTheirRangesAndSendTheConvertedValue)
{
    ShowOpenPart3();
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

TEST_F(PartSheetControlsTest, UnsignedBoxesOfTheOtherGroupKeepToTheirRanges)
{
    ShowOpenPart3();
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
TEST_F(PartSheetControlsTest, SwitchesRestTheControlsTheyMakeMeaninglessAndKeepTheirValues)
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

TEST_F(PartSheetControlsTest, NoteLimitsAreIndependent)
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
TEST_F(PartSheetControlsTest, PanSliderAndListShowOneValue)
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
