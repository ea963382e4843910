// The virtual keyboard played as a person would (mouse, computer keys, wheel, lists, buttons) and
// the channel messages that reach the instrument.
#include "KeyboardFixture.h"

#include "app/Entry.h"
#include "tests/support/CatalogueRows.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>

// The note names the keys show are the note-limit lists': PartSheetControlsTest.
TEST_F(KeyboardWindowTest, HitTest)
{
    // Black keys win over the white keys beneath; of two white keys sharing an edge, the left.
    const int none = TV_MIDIKeyboard::NoKey, below = TV_MIDIKeyboard::BelowKeys;
    const std::tuple<int, int, int> points[] = {{40, 30, 37},  {40, 80, 36},   {20, 50, 35},  {47, 60, 37},
                                                {33, 61, 36},  {100, 30, 42},  {180, 30, 49}, {665, 90, 91},
                                                {660, 30, 90}, {800, 30, 102}, {40, 0, none}, {40, 101, below}};
    for (const auto& [x, y, key] : points) EXPECT_EQ(TV_MIDIKeyboard::KeyAtPoint(x, y), key) << x << "," << y;
}

TEST_F(KeyboardWindowTest, MousePlaysTheKeyUnderThePointerAndNamesIt)
{
    ShowKeyboard();
    keyboard->UserMouseDown(40, 80);
    EXPECT_EQ(keyboard->StatusBar->SimpleText(), "KEY = C 1");
    keyboard->UserMouseUp(40, 80);
    keyboard->UserMouseDown(40, 30, mbRight); // other buttons play nothing
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x90, 36, 100}, {0x90, 36, 0}}));

    // Off the keys, and a note below 0 three octaves down: nothing, status cleared.
    keyboard->OctComboBox->UserSelects(6);
    EXPECT_EQ(keyboard->OctComboBox->Text(), "-3");
    for (auto [x, y] : {std::pair{40, 0}, {40, 150}, {10, 80}}) {
        keyboard->UserMouseDown(30, 80);
        keyboard->UserMouseUp(30, 80);
        TakeAllSent();
        keyboard->UserMouseDown(x, y);
        EXPECT_EQ(keyboard->StatusBar->SimpleText(), "") << y;
        keyboard->UserMouseUp(x, y);
        EXPECT_TRUE(TakeAllSent().empty()) << y;
    }
}

TEST_F(KeyboardWindowTest, ComputerKeysPlayOneOctaveOnceWhileHeld)
{
    ShowKeyboard();
    const uint16_t keys[12] = {'Z', 'S', 'X', 'D', 'C', 'V', 'G', 'B', 'H', 'N', 'J', 'M'};
    for (int k = 0; k < 12; ++k) {
        keyboard->UserPressesKey(keys[k]);
        keyboard->UserPressesKey(keys[k]); // key repeat
        EXPECT_EQ(keyboard->PcKeyHeld[size_t(k)], 1);
        keyboard->UserReleasesKey(keys[k]);
        EXPECT_EQ(keyboard->PcKeyHeld[size_t(k)], 0);
        EXPECT_EQ(TakeAllSent(), (Msgs{{0x90, uint8_t(60 + k), 100}, {0x90, uint8_t(60 + k), 0}})) << k;
    }
    // Page Up and Down stop at the ends of the list and send nothing.
    for (int i = 0; i < 5; ++i) keyboard->UserPressesKey(VK_PRIOR);
    EXPECT_EQ(keyboard->OctComboBox->Text(), "+3");
    for (int i = 0; i < 9; ++i) keyboard->UserPressesKey(VK_NEXT);
    EXPECT_EQ(keyboard->OctComboBox->Text(), "-3");
    keyboard->UserPressesKey('M');
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x90, 71 - 36, 100}}));
}

TEST_F(KeyboardWindowTest, HeldNotesAreReleasedAsTheyWerePlayedWhenOctaveOrChannelChanges)
{
    ShowKeyboard();
    keyboard->UserPressesKey('Z');
    keyboard->UserPressesKey(VK_PRIOR); // octave +1 while Z is held
    keyboard->UserReleasesKey('Z');
    keyboard->UserPressesKey('Z');
    keyboard->UserReleasesKey('Z');
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x90, 60, 100}, {0x90, 60, 0}, {0x90, 72, 100}, {0x90, 72, 0}}));

    keyboard->UserMouseDown(40, 80);
    keyboard->UserPressesKey(VK_NEXT); // octave down twice while the mouse holds a key
    keyboard->UserPressesKey(VK_NEXT);
    keyboard->UserMouseUp(40, 80);
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x90, 48, 100}, {0x90, 48, 0}}));

    // Channel up while a key and the mouse hold notes: reset on the new channel, the releases
    // on the old one.
    keyboard->UserPressesKey('M');
    keyboard->UserMouseDown(40, 30);
    keyboard->ChUpDown->UserClicks(btNext);
    keyboard->UserReleasesKey('M');
    keyboard->UserMouseUp(40, 30);
    EXPECT_EQ(TakeAllSent(), ResetOn(1, {{0x90, 59, 100}, {0x90, 25, 100}}, {{0x90, 59, 0}, {0x90, 25, 0}}));

    // An octave picked from the list while the mouse holds a key.
    keyboard->UserMouseDown(40, 80);
    keyboard->OctComboBox->UserSelects(0);
    keyboard->UserMouseUp(40, 80);
    EXPECT_EQ(TakeAllSent(), ResetOn(1, {{0x91, 24, 100}}, {{0x91, 24, 0}}));
}

TEST_F(KeyboardWindowTest, ControllerRowsSendTheirListsControllerOnTheChannel)
{
    ShowKeyboard();
    ASSERT_EQ(keyboard->CtrlChngNum->Items.Count(), 94);
    EXPECT_EQ(keyboard->CtrlChngNum->Text(), "01:MW");
    EXPECT_EQ(keyboard->CtrlChngNum2->Text(), "74:Bright");
    EXPECT_EQ(keyboard->CtrlChngNum->Items[93], "95:Effect5");
    keyboard->CtrlChngBar->UserScrollsTo(64);
    keyboard->CtrlChngBar2->UserScrollsTo(127);
    EXPECT_EQ(keyboard->CtrlChngEdit2->Text(), "127");
    // Choosing a controller sends nothing; the next move of the bar does.
    keyboard->CtrlChngNum->UserSelects(31);
    EXPECT_EQ(keyboard->CtrlChngNum->Text(), "33:-------");
    keyboard->CtrlChngNum2->UserSelects(30);
    EXPECT_EQ(TakeAllSent(), (Msgs{{0xB0, 1, 64}, {0xB0, 74, 127}}));
    keyboard->CtrlChngBar->UserScrollsTo(3);
    keyboard->CtrlChngBar2->UserScrollsTo(6);
    EXPECT_EQ(TakeAllSent(), (Msgs{{0xB0, 33, 3}, {0xB0, 31, 6}}));

    // Arrows step the bars by 2 within 0..127 whichever control has the focus.
    keyboard->VelocityBar->UserFocuses();
    for (uint16_t key : {VK_UP, VK_DOWN, VK_DOWN, VK_DOWN, VK_LEFT, VK_RIGHT}) keyboard->UserPressesKey(key);
    EXPECT_EQ(keyboard->VelocityBar->Position(), 100);
    EXPECT_EQ(keyboard->CtrlChngEdit->Text(), "0");
    EXPECT_EQ(TakeAllSent(),
              (Msgs{{0xB0, 33, 5}, {0xB0, 33, 3}, {0xB0, 33, 1}, {0xB0, 33, 0}, {0xB0, 31, 4}, {0xB0, 31, 6}}));

    // Channel 16 is the last status nibble.
    for (int i = 0; i < 20; ++i) keyboard->ChUpDown->UserClicks(btNext);
    EXPECT_EQ(keyboard->ChEdit->Text(), "16");
    TakeAllSent();
    keyboard->UserMouseDown(40, 80);
    keyboard->CtrlChngBar->UserScrollsTo(9);
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x9F, 36, 100}, {0xBF, 33, 9}}));
}

// Both controller lists item by item: the text is a controller's number and the instrument's
// short name for it, every controller of 1..31 and 33..95 stands once, and the next move of the
// row's bar sends the controller its item names.
TEST_F(KeyboardWindowTest, EveryControllerItemSendsTheControllerItNames)
{
    ShowKeyboard();
    const std::pair<TComboBox*, TScrollBar*> rows[] = {{keyboard->CtrlChngNum, keyboard->CtrlChngBar},
                                                       {keyboard->CtrlChngNum2, keyboard->CtrlChngBar2}};
    for (const auto& [list, bar] : rows) {
        SCOPED_TRACE(list->Name);
        std::set<int> numbers;
        for (int item = 0; item < list->Items.Count(); ++item) {
            const std::string text = list->Items[item];
            const int number = ControllerOfItem(text);
            numbers.insert(number);
            list->UserSelects(item);
            const auto value = uint8_t(bar->Position() == 20 ? 21 : 20);
            ASSERT_TRUE(bar->UserScrollsTo(value));
            ASSERT_EQ(TakeAllSent(), (Msgs{{0xB0, uint8_t(number), value}})) << "item " << item << " " << text;
        }
        EXPECT_EQ(numbers, EveryListedController());
    }
}

TEST_F(KeyboardWindowTest, WheelReleasesTheMouseNoteAndStepsVelocityWithinRange)
{
    ShowKeyboard();
    keyboard->UserMouseDown(40, 80);
    keyboard->UserWheels(120);
    EXPECT_EQ(keyboard->VelocityEdit->Text(), "104");
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x90, 36, 100}, {0x90, 36, 0}}));
    keyboard->VelocityBar->SetPosition(125);
    keyboard->UserWheels(120);
    keyboard->UserWheels(120);
    EXPECT_EQ(keyboard->VelocityEdit->Text(), "127");
    keyboard->VelocityBar->SetPosition(3);
    keyboard->UserWheels(-120);
    EXPECT_EQ(keyboard->VelocityEdit->Text(), "1");
    TakeAllSent();
    keyboard->UserPressesKey('X');
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x90, 62, 1}}));
}

TEST_F(KeyboardWindowTest, ControllerResetFromButtonListChannelDeactivationAndHelpMenu)
{
    // The Help menu's reset works on a window never shown, on that window's channel.
    keyboard->ChUpDown->SetPosition(3);
    form->PanicCancel->Click();
    EXPECT_EQ(TakeAllSent(), ResetOn(2));

    ShowKeyboard();
    keyboard->ResetButton->UserClicks();
    EXPECT_EQ(TakeAllSent(), ResetOn(2));
    keyboard->OctComboBox->UserSelects(keyboard->OctComboBox->ItemIndex()); // even the same item
    EXPECT_EQ(TakeAllSent(), ResetOn(2));
    keyboard->ChUpDown->UserClicks(btPrev);
    EXPECT_EQ(TakeAllSent(), ResetOn(1));
    form->Activate();
    EXPECT_EQ(TakeAllSent(), ResetOn(1));
}

// A key held while the window loses the activation, hides or closes sends its key-up elsewhere:
// its note ends at once on the channel it started on, and its next press in the window plays.
TEST_F(KeyboardWindowTest, NotesHeldWhenTheWindowLosesTheKeysEndOnTheirOwnChannel)
{
    ShowKeyboard();
    keyboard->UserPressesKey('Z');
    keyboard->ChUpDown->UserClicks(btNext);
    keyboard->UserPressesKey('X');
    TakeAllSent();
    form->Activate();
    form->UserReleasesKey('Z');
    form->UserReleasesKey('X');
    EXPECT_EQ(TakeAllSent(), ResetOn(1, {{0x90, 60, 0}, {0x91, 62, 0}}));
    EXPECT_EQ(keyboard->PcKeyHeld, (std::array<uint8_t, 12>{}));

    ShowKeyboard();
    keyboard->UserPressesKey('Z');
    keyboard->UserMouseDown(40, 80);
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x91, 60, 100}, {0x91, 36, 100}}));
    keyboard->Close();
    EXPECT_EQ(TakeAllSent(), ResetOn(1, {{0x91, 36, 0}, {0x91, 60, 0}}));
    form->Activate();
    EXPECT_TRUE(TakeAllSent().empty());
}

// Another program taking the activation (a click on its window, Alt+Tab), or the window manager
// minimizing the window, takes the keys too: the held notes end at once on their own channels,
// and the keys play again when the person comes back.
TEST_F(KeyboardWindowTest, NotesHeldWhenAnotherProgramOrTheWindowManagerTakesTheKeysEnd)
{
    ShowKeyboard();
    keyboard->UserPressesKey('Z');
    keyboard->ChUpDown->UserClicks(btNext);
    keyboard->UserMouseDown(40, 80);
    TakeAllSent();
    Application->Deactivate();
    EXPECT_EQ(Application->ActiveForm(), nullptr);
    EXPECT_EQ(TakeAllSent(), ResetOn(1, {{0x91, 36, 0}, {0x90, 60, 0}}));

    keyboard->UserPressesKey('Z');
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x91, 60, 100}}));
    keyboard->Deactivate(); // minimized
    EXPECT_EQ(TakeAllSent(), ResetOn(1, {{0x91, 60, 0}}));
    // A window that is not the active one has nothing to give up.
    keyboard->Deactivate();
    form->Activate();
    Application->Deactivate();
    EXPECT_TRUE(TakeAllSent().empty());
}

// A note its key or the mouse button released is not released again when the window loses the
// keys: the instrument hears one note-off per note.
TEST_F(KeyboardWindowTest, NotesReleasedAlreadyAreNotReleasedAgainWhenTheWindowLosesTheKeys)
{
    ShowKeyboard();
    keyboard->UserPressesKey('Z');
    keyboard->UserReleasesKey('Z');
    keyboard->UserMouseDown(40, 80);
    keyboard->UserMouseUp(40, 80);
    EXPECT_EQ(TakeAllSent(), (Msgs{{0x90, 60, 100}, {0x90, 60, 0}, {0x90, 36, 100}, {0x90, 36, 0}}));
    Application->Deactivate();
    EXPECT_EQ(TakeAllSent(), ResetOn(0));
}

// With no output open (the MIDI setup dialog cancelled), the window's controllers and its reset
// reach nothing, and the first of them after the output closed says so, as an edit or a note
// does; the others of the same closed spell say nothing.
TEST_F(KeyboardWindowTest, ControllersAndResetWithNoOutputSayOnceThatNoDeviceIsOpen)
{
    ShowKeyboard();
    const std::pair<std::string, std::function<void()>> moves[] = {
        {"controller bars",
         [this] {
             keyboard->CtrlChngBar->UserScrollsTo(keyboard->CtrlChngBar->Position() + 1);
             keyboard->CtrlChngBar2->UserScrollsTo(keyboard->CtrlChngBar2->Position() + 1);
         }},
        {"reset button", [this] { keyboard->ResetButton->UserClicks(); }},
    };
    for (const auto& [what, move] : moves) {
        SCOPED_TRACE(what);
        form->Midi.OpenMidiOut(0);
        form->Activate(); // Options > MIDI Interface Setting, cancelled: the devices stay closed
        Click("MIDI_config");
        ASSERT_FALSE(form->Midi.IsMidiOutOpen());
        Modals().clear();
        ASSERT_TRUE(Messages().empty());
        TakeAllSent();
        move();
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Caption, "Quillmarven : MIDI setting error");
        EXPECT_NE(Messages()[0].Text.find("No MIDI device is open"), std::string::npos) << Messages()[0].Text;
        move();
        EXPECT_EQ(Messages().size(), 1u);
        EXPECT_TRUE(TakeAllSent().empty());
        Messages().clear();
    }
}

TEST_F(KeyboardWindowTest, MenusShowTheWindowAndCarryTheHelpCommands)
{
    TMenuItem* bar = form->MainMenu1->Items();
    EXPECT_EQ(bar->Items(bar->Count() - 1), form->Help1);
    EXPECT_EQ(form->VirtualKey->Caption(), "Virtual MIDI &Keyboard");
    EXPECT_EQ(form->PanicCancel->Parent(), form->Help1);
    EXPECT_EQ(form->HelpAboutItem->Parent(), form->Help1);

    EXPECT_FALSE(keyboard->Visible());
    EXPECT_TRUE(form->MainMenu1->IsShortCut('K', {ssCtrl}));
    EXPECT_TRUE(keyboard->Visible());
    EXPECT_FALSE(keyboard->Modal());

    keyboard.reset();
    EXPECT_EQ(form->V_MIDIKeyboard, nullptr);
    TakeAllSent();
    form->PanicCancel->Click(); // no window: nothing to reset
    EXPECT_TRUE(TakeAllSent().empty());
}

class KeyboardEntry : public WindowRig {
protected:
    KeyboardEntry() : WindowRig({.build = false}) {}
};

TEST_F(KeyboardEntry, StartUpCreatesTheKeyboardHiddenAfterTheMainWindow)
{
    bool checked = false;
    Application->Post([&] {
        auto* main = dynamic_cast<TMainForm*>(Application->MainForm());
        ASSERT_NE(main, nullptr);
        ASSERT_NE(main->V_MIDIKeyboard, nullptr);
        EXPECT_FALSE(main->V_MIDIKeyboard->Visible());
        const auto& forms = Application->Forms();
        EXPECT_LT(std::find(forms.begin(), forms.end(), main),
                  std::find(forms.begin(), forms.end(), main->V_MIDIKeyboard));
        checked = true;
    });
    EXPECT_EQ(RunQuillmarven(midi, QM_PROGRAM_DIR), 0);
    EXPECT_TRUE(checked);
    for (TForm* f : Application->Forms()) EXPECT_EQ(dynamic_cast<TV_MIDIKeyboard*>(f), nullptr);
}
