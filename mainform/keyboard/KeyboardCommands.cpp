// The main window's side of the virtual keyboard and the Help menu: the menu items, the note
// list the keyboard names its notes from, and the two keyboard commands.
#include "mainform/MainForm.h"
#include "mainform/keyboard/midikey.h"

void TMainForm::CreateKeyboardAndHelpControls()
{
    Options1 = MenuBarTitle("Options1", "&Options");
    Help1 = MenuBarTitle("Help1", "&Help");
    VirtualKey = NewItem(Options1, "VirtualKey", "Virtual MIDI &Keyboard", ShortCut('K', {ssCtrl}),
                         [this](TObject* s) { VirtualKeyClick(s); });
    PanicCancel = NewItem(Help1, "PanicCancel", "&Reset ALL Controller", scNone,
                          [this](TObject* s) { PanicCancelClick(s); });
    NewItem(Help1, "N_HelpAbout", "-");
    HelpAboutItem = NewItem(Help1, "HelpAboutItem", "&About...", scNone, [this](TObject* s) { HelpAbout(s); });
}

void TMainForm::VirtualKeyClick(TObject*)
{
    if (V_MIDIKeyboard) V_MIDIKeyboard->Show();
}

void TMainForm::PanicCancelClick(TObject* Sender)
{
    // Works while the keyboard window is hidden too: it uses that window's channel.
    if (V_MIDIKeyboard) V_MIDIKeyboard->ResetButtonClick(Sender);
}
