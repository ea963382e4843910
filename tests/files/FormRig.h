// The main window headless, with its settings in the test's folder, and save files to open.
#pragma once

#include "mainform/dialogs/MIDISetupform.h"
#include "tests/support/WindowRig.h"

class FormRig : public WindowRig {
protected:
    using WindowRig::WindowRig;

    fs::path SettingsFile() const { return form->SettingsIniFile(); }

    // A save file: the header, then the body (default: the editor's current buffer).
    Bytes SaveFileImage(uint32_t version = 100) const { return ::SaveFileImage(form->ParameterData, version); }
    // Every byte of the window's edit buffer different from the initial data, spare words
    // included; then the pages are refreshed, so the words they derive (the note-reserve limits)
    // hold what the program itself would hold.
    void Scramble()
    {
        auto* bytes = reinterpret_cast<uint8_t*>(&form->ParameterData);
        for (std::size_t i = 0; i < TParameterData::Size; ++i) bytes[i] = uint8_t(i * 7 + 3);
        form->RefreshPerformancePages();
    }
};
