// Forms: focus and OnExit, Tab order, key routing with menus, closing, modal windows, the
// exception boundary of a person's input, and ownership.
#include "UiFixture.h"

namespace {

using Strings = std::vector<std::string>;

class FormsTest : public UiTest {
protected:
    TEdit* TracedEdit(const std::string& name, TWinControl* parent = nullptr)
    {
        auto* e = Make<TEdit>(name, parent);
        e->OnEnter = [this, e](TObject*) { Log.push_back("enter " + e->Name); };
        e->OnExit = [this, e](TObject*) { Log.push_back("exit " + e->Name); };
        return e;
    }
};

TEST_F(FormsTest, SetFocusRunsTheOldOnExitFirstAndIgnoresUnfocusableControls)
{
    auto* a = TracedEdit("A");
    auto* b = TracedEdit("B");
    a->SetFocus();
    b->SetFocus();
    b->SetFocus();
    EXPECT_EQ(Log, (Strings{"enter A", "exit A", "enter B"}));
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(Form->ActiveControl(), b);

    // Hidden or disabled, itself or through its container: nothing happens, no error.
    Log.clear();
    auto* group = Make<TGroupBox>("Group");
    auto* c = TracedEdit("C", group);
    a->Hide();
    a->SetFocus();
    group->SetEnabled(false);
    c->SetFocus();
    EXPECT_TRUE(c->Enabled());
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(b->Focused());

    // Disabling or hiding the focused control drops the focus without OnExit.
    b->SetEnabled(false);
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    EXPECT_TRUE(Log.empty());
}

TEST_F(FormsTest, AnExitHandlerThatMovesTheFocusWins)
{
    auto* a = TracedEdit("A");
    auto* b = TracedEdit("B");
    auto* c = TracedEdit("C");
    a->SetFocus();
    a->OnExit = [&](TObject*) {
        Log.push_back("exit A");
        c->SetFocus();
    };
    b->SetFocus();
    EXPECT_TRUE(c->Focused());
    EXPECT_EQ(Log, (Strings{"enter A", "exit A", "enter C"}));
}

TEST_F(FormsTest, TabWalksTheTabStopsInTabOrder)
{
    auto* a = TracedEdit("A");
    auto* group = Make<TGroupBox>("Group");
    auto* b = TracedEdit("B", group);
    auto* bar = Make<TScrollBar>("Bar");
    bar->SetTabStop(false);
    auto* c = TracedEdit("C");
    c->SetTabOrder(0); // first
    a->SetFocus();
    Log.clear();
    Form->UserPressesKey(VK_TAB);
    EXPECT_TRUE(b->Focused()); // order C, A, Group(B): after A comes B inside the group
    Form->UserPressesKey(VK_TAB);
    EXPECT_TRUE(c->Focused()); // wraps to the first: C
    Form->UserPressesKey(VK_TAB, {ssShift});
    EXPECT_TRUE(b->Focused());
    b->Hide();
    Form->UserPressesKey(VK_TAB);
    EXPECT_FALSE(bar->Focused());
}

TEST_F(FormsTest, MenuShortcutWinsOverTheFocusedEditBox)
{
    auto* menu = new TMainMenu(Form);
    Form->SetMenu(menu);
    auto* edit = NewItem(menu->Items(), "EditE1", "&Edit");
    auto* paste =
        NewItem(edit, "Paste", "&Paste", ShortCut('V', {ssCtrl}), [&](TObject*) { Log.push_back("menu paste"); });
    auto* opCopy = NewItem(edit, "OPCopy", "Op Copy", ShortCut('C', {ssCtrl, ssShift}),
                           [&](TObject*) { Log.push_back("menu op copy"); });
    auto* box = Make<TEdit>("Box");
    Application->Backend().SetClipboardText("42");
    box->SetFocus();

    box->KeyDown('V', {ssCtrl});
    EXPECT_EQ(Log, (Strings{"menu paste"}));
    EXPECT_EQ(box->Text(), "");

    // A disabled or hidden item lets the key through to the box.
    paste->SetEnabled(false);
    box->KeyDown('V', {ssCtrl});
    EXPECT_EQ(box->Text(), "42");
    opCopy->SetVisible(false);
    Form->UserPressesKey('C', {ssCtrl, ssShift});
    EXPECT_EQ(Log, (Strings{"menu paste"}));
    opCopy->SetVisible(true);
    edit->SetEnabled(false); // a disabled parent disables its items
    Form->UserPressesKey('C', {ssCtrl, ssShift});
    EXPECT_EQ(Log, (Strings{"menu paste"}));
    edit->SetEnabled(true);
    opCopy->Click();
    EXPECT_EQ(Log, (Strings{"menu paste", "menu op copy"}));
    paste->Click(); // disabled: even by code nothing runs
    EXPECT_EQ(Log.size(), 2u);

    EXPECT_EQ(ShortCutToText(paste->ShortCut()), "Ctrl+V");
    EXPECT_EQ(TextToShortCut("Shift+Ctrl+C"), opCopy->ShortCut());
    EXPECT_EQ(TextToShortCut("Alt+F4"), ShortCut(VK_F4, {ssAlt}));
    EXPECT_EQ(StripHotkey("Name&&Category &x"), "Name&Category x");
}

TEST_F(FormsTest, KeyPreviewSeesKeysBeforeTheControlAndCanStopThem)
{
    auto* box = Make<TEdit>("Box");
    box->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { Log.push_back("box " + IntToStr(key)); };
    Form->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
        Log.push_back("form " + IntToStr(key));
        if (key == VK_ESCAPE) key = 0;
    };
    Form->OnKeyUp = [&](TObject*, uint16_t& key, TShiftState) { Log.push_back("up " + IntToStr(key)); };
    box->SetFocus();
    Form->UserPressesKey(VK_PRIOR);
    EXPECT_EQ(Log, (Strings{"box 33"})); // without KeyPreview the form does not see it
    Log.clear();
    Form->KeyPreview = true;
    Form->UserPressesKey(VK_PRIOR);
    Form->UserPressesKey(VK_ESCAPE);
    Form->UserReleasesKey('Z');
    EXPECT_EQ(Log, (Strings{"form 33", "box 33", "form 27", "up 90"}));
}

TEST_F(FormsTest, EnterAndEscapeClickTheDefaultAndCancelButtons)
{
    auto* ok = Make<TBitBtn>("OKBitBtn");
    ok->SetKind(bkOK);
    auto* cancel = Make<TBitBtn>("CancelBitBtn");
    cancel->SetKind(bkCancel);
    ok->OnClick = [&](TObject*) { Log.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { Log.push_back("cancel"); };
    auto* box = Make<TEdit>("Box");
    box->SetFocus();
    Form->UserPressesKey(VK_RETURN);
    Form->UserPressesKey(VK_ESCAPE);
    cancel->SetFocus();
    Form->UserPressesKey(VK_RETURN); // a focused button takes Enter itself
    EXPECT_EQ(Log, (Strings{"ok", "cancel", "cancel"}));
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(Form->ModalResult(), mrCancel);
}

TEST_F(FormsTest, CloseAsksCloseQueryAndOnCloseAndTheMainFormEndsTheProgram)
{
    bool canClose = false;
    Form->OnCloseQuery = [&](TObject*, bool& c) {
        Log.push_back("query");
        c = canClose;
    };
    Form->OnClose = [&](TObject*, TCloseAction& a) { Log.push_back(a == caHide ? "close hide" : "close other"); };
    Application->SetMainForm(Form);
    Form->UserCloses();
    EXPECT_TRUE(Form->Visible());
    EXPECT_FALSE(Application->Terminated());
    canClose = true;
    Form->UserPressesKey(VK_F4, {ssAlt});
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(Log, (Strings{"query", "query", "close hide"}));

    // Another form just hides.
    Headless().Reset();
    auto* other = new TForm(Form);
    other->Show();
    other->OnClose = [](TObject*, TCloseAction& a) { a = caNone; };
    other->Close();
    EXPECT_TRUE(other->Visible());
    other->OnClose = nullptr;
    other->Close();
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(FormsTest, ModalWindowsRunTheResponderAndBlockOtherForms)
{
    auto* box = Make<TEdit>("MainBox");
    auto* dialog = new TForm(Form);
    dialog->Name = "MIDISetup";
    dialog->SetCaption("MIDI Interface Setup");
    auto* devId = new TComboBox(dialog);
    devId->SetParent(dialog);
    devId->Items = {"01", "02", "03"};
    int chosen = -1;
    devId->OnChange = [&](TObject*) { chosen = devId->ItemIndex(); };
    auto* ok = new TButton(dialog);
    ok->SetParent(dialog);
    ok->ModalResult = mrOk;
    dialog->OnShow = [&](TObject*) { Log.push_back("show"); };

    Headless().ModalResponder = [&](TForm& f) {
        EXPECT_EQ(&f, dialog);
        EXPECT_TRUE(f.Visible());
        EXPECT_FALSE(box->UserTypes("1")); // the main window takes no input meanwhile
        EXPECT_TRUE(devId->UserSelects(2));
        ok->UserClicks();
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(chosen, 2);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(box->UserTypes("1"));
    ASSERT_EQ(Headless().Modals.size(), 1u);
    EXPECT_EQ(Headless().Modals[0].FormName, "MIDISetup");
    EXPECT_EQ(Headless().Modals[0].Caption, "MIDI Interface Setup");
    EXPECT_EQ(Headless().Modals[0].Result, mrOk);

    // A responder that does nothing: the window is closed as by its close button.
    Headless().ModalResponder = nullptr;
    EXPECT_EQ(dialog->ShowModal(), mrCancel);

    // OnCloseQuery may keep it open: the responder is asked again.
    int rounds = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& c) { c = rounds >= 2; };
    Headless().ModalResponder = [&](TForm& f) {
        ++rounds;
        f.SetModalResult(mrYes);
    };
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_EQ(rounds, 2);
    EXPECT_EQ(Log, (Strings{"show", "show", "show"}));
}

TEST_F(FormsTest, AnExceptionFromAHandlerIsShownAndEndsOnlyThatMessage)
{
    Application->Title = "Quillmarven";
    auto* button = Make<TButton>("Button");
    button->OnClick = [](TObject*) { throw Exception("Can't open MIDI device"); };
    EXPECT_TRUE(button->UserClicks());
    button->OnClick = [](TObject*) { throw std::runtime_error("not ours"); };
    button->UserClicks();
    ASSERT_EQ(Headless().Messages.size(), 2u);
    EXPECT_EQ(Headless().Messages[0].Text, "Can't open MIDI device");
    EXPECT_EQ(Headless().Messages[0].Caption, "Quillmarven");
    EXPECT_EQ(Headless().Messages[0].Icon, MB_ICONERROR);
    EXPECT_EQ(Headless().Messages[1].Text, "not ours");

    // Changes made by code are not a message: the exception reaches the caller.
    auto* bar = Make<TScrollBar>("Bar");
    bar->OnChange = [](TObject*) { throw Exception("boom"); };
    EXPECT_THROW(bar->SetPosition(5), Exception);

    // An exception out of OnShow is shown and the form shows all the same.
    auto* other = new TForm(Form);
    other->OnShow = [](TObject*) { throw Exception("EQ picture missing"); };
    other->Show();
    EXPECT_TRUE(other->Visible());
    EXPECT_EQ(Headless().Messages.back().Text, "EQ picture missing");
}

TEST_F(FormsTest, OwnersAndParentsFreeWhatTheyHoldSafely)
{
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    auto* box = new TEdit(nullptr); // no owner: the parent still frees it
    box->SetParent(panel);
    auto* timer = new TTimer(panel);
    box->SetFocus();
    EXPECT_EQ(panel->ControlCount(), 1);
    EXPECT_EQ(Form->FindComponent(""), panel);
    delete panel;
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    EXPECT_EQ(Form->ControlCount(), 0);
    EXPECT_EQ(Form->ComponentCount(), 0);
    (void)timer;
    EXPECT_TRUE(Application->Timers().empty());
}

TEST_F(FormsTest, ActivationMovesBetweenFormsWithInput)
{
    auto* keyboard = new TForm(Form);
    keyboard->OnDeactivate = [&](TObject*) { Log.push_back("keyboard deactivate"); };
    keyboard->Show();
    EXPECT_TRUE(keyboard->Active());
    auto* box = Make<TEdit>("Box");
    box->UserTypes("1");
    EXPECT_TRUE(Form->Active());
    EXPECT_EQ(Log, (Strings{"keyboard deactivate"}));

    keyboard->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& handled) {
        handled = true;
        Log.push_back("wheel up");
    };
    keyboard->UserWheels(120);
    EXPECT_EQ(Log.back(), "wheel up");
    // A person cannot reach a hidden window.
    keyboard->Hide();
    EXPECT_FALSE(keyboard->UserWheels(120));
    EXPECT_FALSE(keyboard->UserPressesKey('Z'));
}

} // namespace

TEST_F(FormsTest, AScrollBoxScrollsOverItsVisibleChildrenAndMargin)
{
    auto* box = Make<TScrollBox>("Box");
    box->SetBounds(10, 10, 200, 104); // a client area of 196 x 100 inside the border
    auto* first = Make<TImage>("First", box);
    first->SetBounds(0, 5, 50, 90);
    auto* last = Make<TImage>("Last", box);
    last->SetBounds(120, 245, 50, 90);
    TControlScrollBar& bar = box->VertScrollBar;
    bar.Margin = 5;
    EXPECT_EQ(box->ClientHeight(), 100);
    EXPECT_EQ(bar.Range(), 340);
    EXPECT_EQ(bar.MaxPosition(), 240);
    EXPECT_EQ(box->HorzScrollBar.MaxPosition(), 0);

    bar.SetPosition(500);
    EXPECT_EQ(bar.Position(), 240);
    bar.SetPosition(-3);
    EXPECT_EQ(bar.Position(), 0);
    ASSERT_TRUE(box->UserScrollsTo(130));
    EXPECT_EQ(bar.Position(), 130);
    // The children keep their places in the content.
    EXPECT_EQ(last->Top(), 245);
    // A hidden child takes its extent along: everything fits, the position reads 0.
    last->Hide();
    EXPECT_EQ(bar.Range(), 100);
    EXPECT_EQ(bar.Position(), 0);
    last->Show();
    EXPECT_EQ(bar.Position(), 130);
    // Without a border the client area is the whole box.
    box->BorderStyle = bsNone;
    EXPECT_EQ(bar.MaxPosition(), 236);

    // A person cannot scroll a disabled box.
    box->SetEnabled(false);
    EXPECT_FALSE(box->UserScrollsTo(10));
    EXPECT_EQ(bar.Position(), 130);
}
