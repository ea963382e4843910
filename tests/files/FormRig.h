// The main window headless, with its settings in the test's folder, and save files to open.
#pragma once

#include "core/DumpLayout.h"
#include "core/WordRanges.h"
#include "mainform/dialogs/MIDISetupform.h"
#include "tests/support/WindowRig.h"

class FormRig : public WindowRig {
protected:
    using WindowRig::WindowRig;

    fs::path SettingsFile() const { return form->SettingsIniFile(); }

    // A save file: the header, then the body (default: the editor's current buffer).
    Bytes SaveFileImage(uint32_t version = 100) const { return ::SaveFileImage(form->ParameterData, version); }
    // Every word of the window's edit buffer different from the initial data and inside what the
    // editor writes (WordRange), every byte of the names and switch bytes too; then the pages are
    // refreshed, so the words they derive (the note-reserve limits) hold what the program itself
    // would hold.
    void Scramble()
    {
        TParameterData& d = form->ParameterData;
        const TParameterData initial = d;
        for (std::size_t i = 0; i < TParameterData::Size; ++i) d.Bytes()[i] = uint8_t(i * 7 + 3);
        // Twice: the effect slots' ranges follow the types the first pass gives.
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t o = 0; o < TParameterData::Size; o += 4)
                if (const auto r = WordRange(d, *form, o)) {
                    const auto width = uint32_t(int64_t(r->Hi) - r->Lo + 1);
                    int32_t was, v = int32_t(r->Lo + int64_t((o * 2654435761u) % width));
                    std::memcpy(&was, initial.Bytes() + o, 4);
                    if (v == was && width > 1) v = v == r->Hi ? r->Lo : v + 1;
                    std::memcpy(d.Bytes() + o, &v, 4);
                }
        form->RefreshPerformancePages();
    }
};
