// The effect sheet drawn by the Qt views after a load that differs from the initial data: a
// screenshot of each tab to look at, every control inside its parent, every caption readable,
// every value box wide enough for the text it shows, every tab and opened list entry whole.
#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"
#include "platform/MidiInProcess.h"
#include "tests/performance/EffectData.h"
#include "tests/support/QtWindows.h"
#include "tests/support/SheetLayoutChecks.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// The text of every shown value box fits inside it, its frame and margins (3 pixels a side) left.
void ExpectValueTextsFit(TWinControl* sheet)
{
    Walk(sheet, [](TControl* c) {
        auto* e = dynamic_cast<TEdit*>(c);
        if (!e || !e->Showing()) return;
        const int width = QFontMetrics(ToQFont(e->Font)).horizontalAdvance(QString::fromStdString(e->Text()));
        EXPECT_LE(width + 6, e->Width()) << e->Name << " \"" << e->Text() << "\" is cut";
    });
}

} // namespace

TEST(EffectScreenshot, EachTabFitsAndShowsItsTextsWhole)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    {
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Show();
        TPerformancePage& page = *form.PerformancePage;
        LoadEffects(form.ParameterData);
        form.RefreshPerformancePages();
        page.Pfm_PageControl->SetActivePage(page.Pfm_Effect_TabSheet);
        backend.ProcessMessages();

        for (int tab = 0; tab < 4; ++tab) {
            SCOPED_TRACE("tab " + std::to_string(tab));
            ASSERT_TRUE(page.Pfm_Effect_Tab->UserSelects(tab));
            backend.ProcessMessages();
            // The sheet fills its page control under the tabs.
            ExpectInsideParents(page.Pfm_Effect_TabSheet, page.Pfm_PageControl->Width() - 4,
                                page.Pfm_PageControl->Height() - 28);
            ExpectCaptionsReadable(page.Pfm_Effect_TabSheet);
            ExpectValueTextsFit(page.Pfm_Effect_TabSheet);
            ExpectEveryTabInSight(backend, page.Pfm_PageControl);
            ExpectListsOpenWide(backend, page.Pfm_Effect_TabSheet);
            const std::string file = ScreenshotFile("quillmarven-effect-tab" + std::to_string(tab) + ".png");
            ASSERT_TRUE(backend.GrabPng(&form, file));
            EXPECT_GE(QImage(QString::fromStdString(file)).width(), 941);
        }
        form.Hide();
    }
}
