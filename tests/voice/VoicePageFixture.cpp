#include "tests/voice/VoicePageFixture.h"

void VoicePageTest::SetUp()
{
    Application->SetBackend(nullptr);
    Application->Headless().Reset();
    InstallPictureDecoders();
    form = std::make_unique<TMainForm>(nullptr, midi, QM_PROGRAM_DIR);
    form->Midi.OpenMidiOut(0);
    form->Show();
    form->FS1R_PageControl->SetActivePage(form->Vc_TabSheet);
    page = form->VoicePage.get();
    TakeSent();
}

void VoicePageTest::TearDown()
{
    // A handler that threw would have shown the exception in a message box.
    for (const TShownMessage& m : Application->Headless().Messages) ADD_FAILURE() << "message shown: " << m.Text;
    form.reset();
}

Bytes VoicePageTest::Change(uint8_t ah, uint8_t am, uint8_t al, uint8_t dl, uint8_t device)
{
    return {0xF0, 0x43, uint8_t(0x10 + device), 0x5E, ah, am, al, 0x00, dl, 0xF7};
}

std::vector<Bytes> VoicePageTest::TakeSent()
{
    std::vector<Bytes> sent;
    for (auto& m : fs1r->Received())
        if (!m.empty() && m[0] == 0xF0) sent.push_back(m);
    fs1r->ClearReceived();
    return sent;
}

void VoicePageTest::Refresh() { form->RefreshVoicePages(page->Vc_VoiceTab->TabIndex()); }

void VoicePageTest::ShowOperatorTab(int t) { ASSERT_TRUE(page->Vc_OperatorTab->UserSelects(t)); }

std::vector<TControl*> VoicePageTest::ControlsUnder(const TWinControl* c)
{
    std::vector<TControl*> out;
    for (int i = 0; i < c->ControlCount(); ++i) {
        out.push_back(c->Controls(i));
        if (auto* w = dynamic_cast<const TWinControl*>(c->Controls(i))) {
            const std::vector<TControl*> below = ControlsUnder(w);
            out.insert(out.end(), below.begin(), below.end());
        }
    }
    return out;
}
