// The formant-sequence, controller and system sheet drawn by the Qt views after a load that
// differs from the initial data: a screenshot to look at (a controller assignment list opened),
// every control inside its parent, every caption readable: its text, in the font the window draws
// it with, fits its label and runs into no other control or caption beside it; and every list,
// opened, shows its entries whole.
#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"
#include "platform/MidiInProcess.h"
#include "tests/support/QtWindows.h"
#include "tests/support/SheetLayoutChecks.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(FseqSheetScreenshot, SheetFitsTheWindowAndEveryCaptionStandsApart)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    {
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Show();
        TPerformancePage& page = *form.PerformancePage;
        TParameterData& d = form.ParameterData;
        d.PfmFseq.Part = 2, d.PfmFseq.SpeedSelect = 0, d.PfmFseq.Speedmidi = 3;
        d.PfmControlSets[5].SourceSw[MC3] = 1, d.PfmControlSets[5].Destination = 30, d.PfmControlSets[5].Depth = 20;
        d.SystemBlock.VelCrv = 3, d.SystemBlock.MstrTune = 71, d.SystemBlock.MemoryMode = 1;
        form.RefreshPerformancePages();
        page.Pfm_PageControl->SetActivePage(page.Pfm_FSEQ_Ctrl_TabSheet);
        backend.ProcessMessages();

        // The sheet fills its page control under the tabs.
        ExpectInsideParents(page.Pfm_FSEQ_Ctrl_TabSheet, page.Pfm_PageControl->Width() - 4,
                            page.Pfm_PageControl->Height() - 28);
        ExpectCaptionsReadable(page.Pfm_FSEQ_Ctrl_TabSheet);
        ExpectEveryTabInSight(backend, page.Pfm_PageControl);
        ExpectListsOpenWide(backend, page.Pfm_FSEQ_Ctrl_TabSheet);

        // The window with the KN1 assignment list opened, the list drawn where it opens.
        auto* list = static_cast<QComboBox*>(backend.WidgetFor(page.Pfm_Cntl_Assign[0]));
        list->showPopup();
        QImage shot = backend.Grab(&form);
        QWidget* popup = list->view()->window();
        QPainter(&shot).drawPixmap(backend.WindowFor(&form)->mapFromGlobal(popup->pos()), popup->grab());
        list->hidePopup();
        const std::string file = ScreenshotFile("quillmarven-fseq-sheet.png");
        ASSERT_TRUE(shot.save(QString::fromStdString(file)));
        EXPECT_GE(shot.width(), 941);
        form.Hide();
    }
}
