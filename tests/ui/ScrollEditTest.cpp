// Scroll bars and edit boxes: what fires, what is clamped, and how the slider/value-box pair of
// the pages re-enters itself.
#include "UiFixture.h"

namespace {

class ScrollEditTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        Bar = Make<TScrollBar>("Bar");
        Bar->SetParams(0, 0, 127);
        Bar->OnChange = [this](TObject*) { Log.push_back("bar " + IntToStr(Bar->Position())); };
        Box = Make<TEdit>("Box");
        Box->SetTop(30);
        Box->OnChange = [this](TObject*) { Log.push_back("box " + Box->Text()); };
    }
    TScrollBar* Bar = nullptr;
    TEdit* Box = nullptr;
};

TEST_F(ScrollEditTest, ScrollBarFiresOnlyOnRealChangesAndClamps)
{
    Bar->SetPosition(40);
    Bar->SetPosition(40);
    Bar->SetPosition(500);
    Bar->SetPosition(-3);
    EXPECT_EQ(Log, (std::vector<std::string>{"bar 40", "bar 127", "bar 0"}));

    // A new range that clamps the position fires; one that does not, does not.
    Log.clear();
    Bar->SetPosition(100);
    Bar->SetMax(90);
    Bar->SetMax(120);
    Bar->SetMin(95);
    EXPECT_EQ(Log, (std::vector<std::string>{"bar 100", "bar 90", "bar 95"}));

    // SetParams moves once, whatever it clamps through.
    Log.clear();
    Bar->SetParams(5, 0, 10);
    EXPECT_EQ(Log, (std::vector<std::string>{"bar 5"}));
    EXPECT_THROW(Bar->SetParams(0, 10, 5), EInvalidOperation);
    EXPECT_EQ(Bar->Min(), 0);
    EXPECT_EQ(Bar->Max(), 10);

    // With a page size the thumb stops a page short of Max.
    Bar->SetParams(0, 0, 100);
    Bar->SetPageSize(11);
    Bar->SetPosition(100);
    EXPECT_EQ(Bar->Position(), 90);
}

TEST_F(ScrollEditTest, PersonMovesTheBarThroughTheSameRules)
{
    Bar->LargeChange = 10;
    Bar->SmallChange = 1;
    EXPECT_TRUE(Bar->UserScrollsTo(40));
    EXPECT_TRUE(Bar->Focused());
    EXPECT_TRUE(Bar->UserSteps(scPageDown));
    EXPECT_TRUE(Bar->UserSteps(scLineUp));
    EXPECT_TRUE(Bar->KeyDown(VK_NEXT));
    EXPECT_TRUE(Bar->KeyDown(VK_HOME));
    EXPECT_TRUE(Bar->UserSteps(scLineUp)); // at Min: nothing fires
    EXPECT_EQ(Log, (std::vector<std::string>{"bar 40", "bar 50", "bar 49", "bar 59", "bar 0"}));

    // No input reaches a disabled bar, nor one in a disabled container, nor a hidden one.
    Log.clear();
    auto* group = Make<TGroupBox>("Group");
    Bar->SetParent(group);
    group->SetEnabled(false);
    EXPECT_TRUE(Bar->Enabled());
    EXPECT_FALSE(Bar->EnabledForInput());
    EXPECT_FALSE(Bar->UserScrollsTo(20));
    group->SetEnabled(true);
    Bar->Hide();
    EXPECT_FALSE(Bar->UserScrollsTo(20));
    Bar->Show();
    Form->SetEnabled(false);
    EXPECT_FALSE(Bar->UserScrollsTo(20));
    Form->SetEnabled(true);
    EXPECT_TRUE(Bar->UserScrollsTo(20));
    EXPECT_EQ(Log, (std::vector<std::string>{"bar 20"}));
}

TEST_F(ScrollEditTest, EditTextByCodeFiresWhenDifferentAndIgnoresMaxLength)
{
    Box->MaxLength = 3;
    Box->SetText("12345");
    Box->SetText("12345");
    EXPECT_EQ(Box->Text(), "12345");
    EXPECT_EQ(Box->SelStart(), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"box 12345"}));

    // Typing and pasting are limited; a selection makes room.
    Log.clear();
    Box->SetText("");
    Box->UserTypes("98765");
    EXPECT_EQ(Box->Text(), "987");
    Box->SetSelStart(1);
    Box->SetSelLength(1);
    Box->UserPastes("xyz");
    EXPECT_EQ(Box->Text(), "9x7");
    EXPECT_EQ(Box->SelStart(), 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"box ", "box 9", "box 98", "box 987", "box 9x7"}));
}

TEST_F(ScrollEditTest, SelectionClampsAndKeysEditTheText)
{
    Box->SetText("abcd");
    Box->SetSelStart(10);
    EXPECT_EQ(Box->SelStart(), 4);
    Box->SetSelStart(1);
    Box->SetSelLength(10);
    EXPECT_EQ(Box->SelLength(), 3);
    EXPECT_EQ(Box->SelText(), "bcd");
    Box->SetSelStart(-2);
    EXPECT_EQ(Box->SelStart(), 0);
    EXPECT_EQ(Box->SelLength(), 0);

    Log.clear();
    Box->UserSelects(2);
    Box->KeyDown(VK_BACK);
    Box->KeyDown(VK_DELETE);
    EXPECT_EQ(Box->Text(), "ad");
    Box->KeyDown(VK_HOME);
    Box->KeyDown(VK_BACK); // nothing before the caret
    EXPECT_EQ(Log, (std::vector<std::string>{"box acd", "box ad"}));

    // Read-only: no typing, pasting or deleting, but code may still set the text.
    Box->SetReadOnly(true);
    Box->UserTypes("x");
    Box->KeyDown(VK_DELETE);
    Box->UserSetsText("zz");
    EXPECT_EQ(Box->Text(), "ad");
    Box->SetText("ok");
    EXPECT_EQ(Box->Text(), "ok");
}

TEST_F(ScrollEditTest, TypingIsOneChangePerCharacterWithTheKeyFirst)
{
    std::vector<std::string> keys;
    Box->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back("down " + IntToStr(key)); };
    Box->OnKeyPress = [&](TObject*, char& key) {
        if (key == 'x') key = 0; // a handler may swallow a character
    };
    Box->UserTypes("1x2");
    EXPECT_EQ(Box->Text(), "12");
    EXPECT_EQ(Log, (std::vector<std::string>{"box 1", "box 12"}));
    EXPECT_EQ(keys, (std::vector<std::string>{"down 49", "down 88", "down 50"}));

    // Taking the focus selects the whole text, so typing replaces it; the same text typed over
    // itself is still a change, as on Windows.
    auto* other = Make<TEdit>("Other");
    other->SetFocus();
    Log.clear();
    Box->SetFocus();
    EXPECT_EQ(Box->SelLength(), 2);
    Box->UserTypes("12");
    EXPECT_EQ(Box->Text(), "12");
    EXPECT_EQ(Log, (std::vector<std::string>{"box 1", "box 12"}));
}

TEST_F(ScrollEditTest, ClipboardKeysRespectMaxLength)
{
    Box->MaxLength = 4;
    Application->Backend().SetClipboardText("123456\nsecond line");
    Box->KeyDown('V', {ssCtrl});
    EXPECT_EQ(Box->Text(), "1234");
    Box->SelectAll();
    Box->KeyDown('X', {ssCtrl});
    EXPECT_EQ(Box->Text(), "");
    EXPECT_EQ(Application->Backend().ClipboardText(), "1234");
}

// A value-box pair as the pages build it: the box moves the slider, the slider writes the box.
// Signed, centre 24 (shown -24 .. +24), as the note-shift pair. (Typing, clamping, lone signs and
// keys through the real pair: tests/voice/VoiceCommonTest.cpp.)
class SliderPairTest : public ScrollEditTest {
protected:
    void SetUp() override
    {
        ScrollEditTest::SetUp();
        Bar->SetParams(24, 0, 48);
        Box->MaxLength = 3;
        Box->SetText("+0");
        Log.clear();
        Bar->OnChange = [this](TObject*) {
            int p = Bar->Position();
            Box->SetText(Shown(p));
            if (!Box->Focused()) Box->SetFocus();
        };
        Box->OnChange = [this](TObject*) {
            const std::string t = Box->Text(); // the tests type only signs and digits
            const int n = Utf8Length(t);
            if (n == 0 || t == "+" || t == "-") return;
            const int v = std::stoi(t);
            if (v + 24 == Bar->Position())
                Box->SetText(Shown(v + 24));
            else
                Bar->SetPosition(v + 24);
            Box->SetSelStart(n + 1);
        };
    }
    static std::string Shown(int p) { return (p >= 24 ? "+" : "-") + IntToStr(std::abs(p - 24)); }
};

TEST_F(SliderPairTest, SliderMovedByAPersonTakesFocusBackToTheBox)
{
    auto* other = Make<TEdit>("Other");
    other->SetTop(60);
    std::vector<std::string> exits;
    other->OnExit = [&](TObject*) { exits.push_back("other exit"); };
    other->SetFocus();
    Bar->UserScrollsTo(30);
    EXPECT_EQ(exits, (std::vector<std::string>{"other exit"}));
    EXPECT_TRUE(Box->Focused());
    EXPECT_EQ(Box->Text(), "+6");
    // A handler reading state after the nested change sees it as it now stands.
    int seen = -1;
    Bar->OnChange = [&, inner = Bar->OnChange](TObject* s) {
        inner(s);
        seen = Box->Text() == "+7" ? Bar->Position() : -1;
    };
    Bar->UserSteps(scLineDown);
    EXPECT_EQ(seen, 31);
}

} // namespace
