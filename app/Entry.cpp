#include "app/Entry.h"

#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "mainform/keyboard/midikey.h"
#include "platform/SafeFile.h"

#include <memory>

int RunQuillmarven(platform::MidiBackend& midi, const std::filesystem::path& programFolder,
                   const std::vector<std::string>& commandLine)
{
    // A file-size limit makes a write fail, told as any failed write, instead of ending the program.
    platform::LetWritesPastTheSizeLimitFail();
    InstallPictureDecoders();
    Application->Initialize();
    Application->Title = "Quillmarven";
    std::unique_ptr<TMainForm> mainForm;
    // Declared after the main window, so it goes first: it refers to the main window.
    std::unique_ptr<TV_MIDIKeyboard> keyboard;
    try {
        mainForm = std::make_unique<TMainForm>(nullptr, midi, programFolder);
        mainForm->CommandLine = commandLine;
        // Hidden until its menu command shows it.
        keyboard = std::make_unique<TV_MIDIKeyboard>(nullptr, *mainForm);
        Application->SetMainForm(mainForm.get());
        Application->Run();
    } catch (...) {
        Application->HandleException();
    }
    Application->SetMainForm(nullptr);
    return 0;
}
