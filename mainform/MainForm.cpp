#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"
#include "voice/VoicePage.h"

#include <cstring>
#include <string>

namespace {

constexpr int MainClientWidth = 941;
constexpr int MainClientHeight = 637;

} // namespace

TMainForm::TMainForm(TComponent* AOwner, platform::MidiBackend& midiBackend, const std::filesystem::path& programFolder)
    : TForm(AOwner), ProgramFolder(programFolder), Midi(midiBackend, [this] { MidiInputWake.Signal(); })
{
    // 1. The window and its controls.
    CreateControls();
    // 2./3. The catalogue arrays start empty and the state fields at their initial values
    // (TMainData's member initializers): no file, device number 0, data unchanged.
    SetCaption(CaptionText);
    // 4. The algorithm pictures; a missing or broken one ends construction.
    LoadAlgorithmPictures();
    // 5. The catalogue first: the initial data copy effect defaults and sequence values from it.
    InitNameTables(*this);
    InitAll();
    KeepUnchangedData();

    Midi.OnLongData = [this](const uint8_t* data, int length) { Dispatch(data, length); };
    Midi.OnShortData = [this](uint8_t status, uint8_t d1, uint8_t d2) { ShowReceivedMidi(status, d1, d2); };
    MidiThruRetry = new TTimer(this);
    MidiThruRetry->Name = "MidiThruRetry";
    MidiThruRetry->SetEnabled(false);
    MidiThruRetry->SetInterval(5);
    MidiThruRetry->OnTimer = [this](TObject*) { TakeMidiInput(); };
    DoCreate();
}

TMainForm::~TMainForm()
{
    // The transport's handlers point into this window: silence them before the members go.
    Midi.OnLongData = nullptr;
    Midi.OnShortData = nullptr;
}

void TMainForm::CreateControls()
{
    Name = "MainForm";
    BorderStyle = bsSingle;
    BorderIcons = biSystemMenu | biMinimize;
    Position = poScreenCenter;
    SetClientSize(MainClientWidth, MainClientHeight);

    MainMenu1 = new TMainMenu(this);
    MainMenu1->Name = "MainMenu1";
    File1 = NewItem(MainMenu1->Items(), "File1", "&File");
    FileExitItem =
        NewItem(File1, "FileExitItem", "E&xit", ShortCut(VK_F4, {ssAlt}), [this](TObject* s) { FileExit(s); });
    SetMenu(MainMenu1);

    FS1R_PageControl = new TPageControl(this);
    FS1R_PageControl->Name = "FS1R_PageControl";
    FS1R_PageControl->SetParent(this);
    FS1R_PageControl->SetBounds(0, 0, MainClientWidth, MainClientHeight);

    Pfm_TabSheet = new TTabSheet(this);
    Pfm_TabSheet->Name = "Pfm_TabSheet";
    Pfm_TabSheet->SetCaption("Performance");
    Pfm_TabSheet->SetPageControl(FS1R_PageControl);

    Vc_TabSheet = new TTabSheet(this);
    Vc_TabSheet->Name = "Vc_TabSheet";
    Vc_TabSheet->SetCaption("Voice");
    Vc_TabSheet->SetPageControl(FS1R_PageControl);

    CreateKeyboardAndHelpControls();
    CreatePageServiceControls();
    CreateTransferControls();
    CreateFileItems();
    CreateInitializeItems();
    CreateSetupItems();
    CreateEditCommandItems();

    FS1R_PageControl->SetActivePage(Pfm_TabSheet);
}

void TMainForm::LoadAlgorithmPictures()
{
    for (int n = 1; n <= 88; ++n) {
        auto picture = std::make_unique<TJPEGImage>();
        const auto path = ProgramFolder / "alg" / ("alg_" + std::to_string(n) + ".jpg");
        picture->LoadFromFile(path.string());
        AlgorithmPictures[size_t(n - 1)] = std::move(picture);
    }
}

namespace {

// A failed send reaches the exception display with the MIDI system's text, as a failed open does.
template <class Send>
void ReportingMidiErrors(Send send)
{
    try {
        send();
    } catch (const EMidiError& e) {
        throw Exception(e.what());
    }
}

} // namespace

void TMainForm::SendSysEx(const uint8_t* data, int length)
{
    if (!MidiOutputOpenOrTold()) return;
    try {
        ReportingMidiErrors([&] { Midi.SendSysEx(data, length, DeviceNumber); });
    } catch (...) {
        // The failure stops an edit's handler (a slider step, a choice) after it stored the edit
        // and before it marks the data changed: marked here, so that closing still asks to save
        // what the person made. A transfer is no edit.
        if (!TransferRunning() && EditStoredUnmarked()) MarkDataChanged();
        throw;
    }
}

void TMainForm::KeepUnchangedData() { std::memcpy(&FUnchangedData, &ParameterData, sizeof(TParameterData)); }

bool TMainForm::EditStoredUnmarked() const
{
    return !DataChanged && std::memcmp(&FUnchangedData, &ParameterData, sizeof(TParameterData)) != 0;
}

void TMainForm::SendNoteOn(int channel, int note, int velocity)
{
    if (!MidiOutputOpenOrTold()) return;
    ReportingMidiErrors([&] { Midi.SendNoteOn(channel, note, velocity); });
}

void TMainForm::SendControlChange(int channel, int controller, int value)
{
    if (!MidiOutputOpenOrTold()) return;
    ReportingMidiErrors([&] { Midi.SendControlChange(channel, controller, value); });
}

void TMainForm::MarkDataChanged()
{
    TMainData::MarkDataChanged();
    SetCaption(CaptionText);
}

void TMainForm::ShowReceivedMidi(uint8_t status, uint8_t data1, uint8_t data2)
{
    if (auto caption = ReceivedMidiCaption(CaptionText, status, data1, data2)) SetCaption(*caption);
}

void TMainForm::Dispatch(const uint8_t* data, int length)
{
    if (length > 0) ReceiveBulkDump(data, size_t(length));
}

void TMainForm::TakeMidiInput()
{
    const bool thruWaits = Midi.DeliverInput();
    if (MidiThruRetry->Enabled() != thruWaits) MidiThruRetry->SetEnabled(thruWaits);
}

void TMainForm::FileExit(TObject*) { Close(); }
