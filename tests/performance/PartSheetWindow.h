// The part sheet inside the headless main window, over the simulated instrument: the window's
// own note budget runs behind the filter switch, and receives, loads and initialisations reach
// the sheet as they do in the program. What reaches the instrument is timed against the pauses
// the program takes.
#pragma once

#include "performance/PerformancePage.h"
#include "tests/support/WindowRig.h"

#include <array>
#include <vector>

using Four = std::array<int, 4>;

class PartSheetWindow : public WindowRig {
protected:
    PartSheetWindow() : WindowRig({.open = Ports::Instrument, .shown = true}) {}

    void SetUp() override
    {
        WindowRig::SetUp();
        page = form->PerformancePage.get();
        // Each message the instrument hears, with the number of pauses taken before it.
        Answers = [this](const Bytes&) {
            pausesBefore.push_back(Headless().Sleeps.size());
            return true;
        };
        ShowSheet(form->Pfm_TabSheet);
        TakeSent();
    }

    // A person's click on a tab of the main page control.
    void ShowSheet(TTabSheet* sheet)
    {
        for (int i = 0; i < form->FS1R_PageControl->PageCount(); ++i) {
            if (form->FS1R_PageControl->Pages(i) == sheet) {
                ASSERT_TRUE(form->FS1R_PageControl->UserSelects(i));
            }
        }
    }
    // A person's click on the part tab of part p (0..3).
    void ClickPart(int p) { ASSERT_TRUE(page->Pfm_PartTab->UserSelects(p)); }

    PfmPart& Part(int p) { return form->ParameterData.PfmParts[std::size_t(p)]; }
    void SetParts(Four filter, Four reserve)
    {
        for (int p = 0; p < 4; ++p) {
            Part(p).FilterSw = filter[std::size_t(p)];
            Part(p).ReserveNote = reserve[std::size_t(p)];
        }
    }
    Four Words(int32_t PfmPart::*word)
    {
        Four r{};
        for (int p = 0; p < 4; ++p) r[std::size_t(p)] = Part(p).*word;
        return r;
    }
    // Forgets what was sent and the pauses taken.
    void Forget()
    {
        TakeSent();
        pausesBefore.clear();
        Headless().Sleeps.clear();
    }

    // F0 43 10 5E AH 00 AL 00 DL F7: a part parameter.
    static Bytes PartChange(uint8_t ah, uint8_t al, uint8_t dl)
    {
        return {0xF0, 0x43, 0x10, 0x5E, ah, 0x00, al, 0x00, dl, 0xF7};
    }

    TPerformancePage* page = nullptr;
    std::vector<std::size_t> pausesBefore;
};
