// The formant-sequence and effect sheets drawn by the Qt views after a load unlike the initial
// data, with screenshots to look at: every control inside its parent, every caption readable (in
// the window's font it fits its label and runs into nothing beside it), every value box wide
// enough for its text, every tab and every opened list's entries whole.
#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"
#include "platform/MidiInProcess.h"
#include "tests/performance/EffectData.h"
#include "tests/support/QtWindows.h"
#include "tests/support/SheetLayoutChecks.h"

#include <QImage>
#include <QPainter>
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

TEST(PerformanceSheetsScreenshot, EachSheetFitsTheWindowAndShowsItsTextsWhole)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    {
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Show();
        TPerformancePage& page = *form.PerformancePage;
        TParameterData& d = form.ParameterData;
        LoadEffects(d);
        d.PfmFseq.Part = 2, d.PfmFseq.SpeedSelect = 0, d.PfmFseq.Speedmidi = 3;
        d.PfmControlSets[5].SourceSw[MC3] = 1, d.PfmControlSets[5].Destination = 30, d.PfmControlSets[5].Depth = 20;
        d.SystemBlock.VelCrv = 3, d.SystemBlock.MstrTune = 71, d.SystemBlock.MemoryMode = 1;
        form.RefreshPerformancePages();
        const std::string shots = ScreenshotFile("quillmarven-");
        auto expectFits = [&](TTabSheet* sheet) {
            backend.ProcessMessages();
            // The sheet fills its page control under the tabs.
            ExpectInsideParents(sheet, page.Pfm_PageControl->Width() - 4, page.Pfm_PageControl->Height() - 28);
            ExpectCaptionsReadable(sheet);
            ExpectValueTextsFit(sheet);
            ExpectEveryTabInSight(backend, page.Pfm_PageControl);
            ExpectListsOpenWide(backend, sheet);
        };

        page.Pfm_PageControl->SetActivePage(page.Pfm_FSEQ_Ctrl_TabSheet);
        expectFits(page.Pfm_FSEQ_Ctrl_TabSheet);
        // The window with the KN1 assignment list opened, the list drawn where it opens.
        auto* list = static_cast<QComboBox*>(backend.WidgetFor(page.Pfm_Cntl_Assign[0]));
        list->showPopup();
        QImage shot = backend.Grab(&form);
        QWidget* popup = list->view()->window();
        QPainter(&shot).drawPixmap(backend.WindowFor(&form)->mapFromGlobal(popup->pos()), popup->grab());
        list->hidePopup();
        ASSERT_TRUE(shot.save(QString::fromStdString(shots + "fseq-sheet.png")));
        EXPECT_GE(shot.width(), 941);

        page.Pfm_PageControl->SetActivePage(page.Pfm_Effect_TabSheet);
        for (int tab = 0; tab < 4; ++tab) {
            SCOPED_TRACE("effect tab " + std::to_string(tab));
            ASSERT_TRUE(page.Pfm_Effect_Tab->UserSelects(tab));
            expectFits(page.Pfm_Effect_TabSheet);
            const std::string file = shots + "effect-tab" + std::to_string(tab) + ".png";
            ASSERT_TRUE(backend.GrabPng(&form, file));
            EXPECT_GE(QImage(QString::fromStdString(file)).width(), 941);
        }
        form.Hide();
    }
}
