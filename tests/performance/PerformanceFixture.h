// The performance page in the headless main window over the simulated instrument, the Performance
// sheet shown: tests drive the page as a person does and read what reached the instrument, and
// after how many of the program's pauses. The window's own services run behind the page (the note
// budget behind the filter switch, the voice fetch behind a program change), and receives, loads
// and initialisations reach the page as they do in the program.
#pragma once

#include "performance/PerformancePage.h"
#include "tests/support/WindowRig.h"

#include <array>
#include <vector>

using Message = Bytes;
using Four = std::array<int, 4>;

// F0 43 1n 5E AH AM AL DH DL F7.
inline Message ParameterChange(uint8_t ah, uint8_t am, uint8_t al, uint8_t dh, uint8_t dl, uint8_t device = 0)
{
    return {0xF0, 0x43, uint8_t(0x10 + device), 0x5E, ah, am, al, dh, dl, 0xF7};
}
// F0 43 10 5E AH 00 AL 00 DL F7: a part parameter.
inline Message PartChange(uint8_t ah, uint8_t al, uint8_t dl) { return ParameterChange(ah, 0, al, 0, dl); }

class PerformancePageTest : public WindowRig {
protected:
    PerformancePageTest() : WindowRig({.open = Ports::Instrument, .shown = true}) {}

    void SetUp() override
    {
        WindowRig::SetUp();
        page = form->PerformancePage.get();
        // Each message the instrument hears, with the number of pauses taken before it.
        Answers = [this](const Bytes&) {
            pausesBefore.push_back(Headless().Sleeps.size());
            return true;
        };
        ASSERT_TRUE(form->FS1R_PageControl->UserSelects(0)); // the Performance sheet
        Refresh();
    }

    // A person's click on the part tab of part p (0..3).
    void ClickPart(int p) { ASSERT_TRUE(page->Pfm_PartTab->UserSelects(p)); }
    // Redisplays the page as the core does after a load, and forgets what was sent, the pauses
    // taken and the changed mark.
    void Refresh()
    {
        form->RefreshPerformancePages();
        Forget();
        form->DataChanged = 0;
    }
    void Forget()
    {
        TakeSent();
        pausesBefore.clear();
        Headless().Sleeps.clear();
    }

    TEdit* Edit(PfmPair id) { return page->Pair(id).Edit; }
    TScrollBar* Bar(PfmPair id) { return page->Pair(id).Bar; }
    PfmPart& Part(int p) { return form->ParameterData.PfmParts[std::size_t(p)]; }
    Four Words(int32_t PfmPart::*word)
    {
        Four r{};
        for (int p = 0; p < 4; ++p) r[std::size_t(p)] = Part(p).*word;
        return r;
    }

    TPerformancePage* page = nullptr;
    std::vector<std::size_t> pausesBefore;
};
