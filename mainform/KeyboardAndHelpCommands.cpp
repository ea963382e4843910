// The main window's side of the virtual keyboard and the Help menu: the menu items, the note
// list the keyboard names its notes from, and the two keyboard commands.
#include "mainform/MainForm.h"
#include "mainform/dialogs/AboutInfo.h"
#include "mainform/keyboard/midikey.h"
#include "performance/PerformancePage.h"

#include <memory>

void TMainForm::CreateKeyboardAndHelpControls()
{
    Options1 = MenuBarTitle("Options1", "&Options");
    Help1 = MenuBarTitle("Help1", "&Help");
    VirtualKey = NewItem(Options1, "VirtualKey", "Virtual MIDI &Keyboard", ShortCut('K', {ssCtrl}),
                         [this](TObject* s) { VirtualKeyClick(s); });
    PanicCancel =
        NewItem(Help1, "PanicCancel", "&Reset ALL Controller", scNone, [this](TObject* s) { PanicCancelClick(s); });
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

std::string TMainForm::NoteName(int note) const
{
    const TStrings& notes = PerformancePage->Pfm_Part_NoteLimitLow->Items;
    return note >= 0 && note < notes.Count() ? notes[note] : std::string();
}

// ---- the main window's Help commands ---------------------------------------------------------

void TMainForm::HelpAbout(TObject*)
{
    auto window = std::make_unique<TAbout>(this, ProgramFolder);
    About = window.get();
    struct Forget {
        ~Forget() { About = nullptr; }
    } forget;
    window->ShowModal();
}

void TMainForm::HelpContents(TObject*) {}

void TMainForm::HelpSearch(TObject*) {}

void TMainForm::HelpHowToUse(TObject*) {}
