// The main window headless with the Voice sheet shown, its output open on the in-process device
// "FS1R" (which only listens): tests drive the page as a person does and read what reached the
// instrument.
#pragma once

#include "tests/support/ControlTree.h"
#include "tests/support/WindowRig.h"
#include "voice/VoicePage.h"

class VoicePageTest : public WindowRig {
protected:
    // With Ports::Instrument the instrument's output is open too; a test that lets it answer
    // resets Answers.
    explicit VoicePageTest(Ports open = Ports::Output) : WindowRig({.open = open, .shown = true}) {}
    void SetUp() override
    {
        WindowRig::SetUp();
        Answers = [](const Bytes&) { return false; };
        form->FS1R_PageControl->SetActivePage(form->Vc_TabSheet);
        page = form->VoicePage.get();
        TakeSent();
    }
    void TearDown() override
    {
        // A handler that threw would have shown the exception in a message box.
        for (const TShownMessage& m : Messages()) ADD_FAILURE() << "message shown: " << m.Text;
        WindowRig::TearDown();
    }

    // The parameter change F0 43 1n 5E AH AM AL 00 DL F7 (device number 0 unless given).
    static Bytes Change(uint8_t ah, uint8_t am, uint8_t al, uint8_t dl, uint8_t device = 0)
    {
        return {0xF0, 0x43, uint8_t(0x10 + device), 0x5E, ah, am, al, 0x00, dl, 0xF7};
    }
    // Loads the page from the edit buffer, as the core does after a load.
    void Refresh() { form->RefreshVoicePages(page->Vc_VoiceTab->TabIndex()); }
    // Shows operator tab t of the shown voice, as a person's click on the tab.
    void ShowOperatorTab(int t)
    {
        ASSERT_TRUE(page->Vc_OperatorTab->UserSelects(t) || page->Vc_OperatorTab->TabIndex() == t);
    }

    VoiceRecord& Voice(int v = 0) { return form->ParameterData.VoiceRecords[size_t(v)]; }
    VoiceCommon& Common(int v = 0) { return Voice(v).VoiceCommon; }
    VoicedOperator& VOp(int op, int v = 0) { return Voice(v).VoicedOperators[size_t(op)]; }

    TVoicePage* page = nullptr;
};
