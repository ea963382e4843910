// The formant-sequence, controller and system sheet drawn by the Qt views after a load that
// differs from the initial data: a screenshot to look at, every control inside its parent, and
// every caption readable: its text, in the font the window draws it with, fits its label and runs
// into no other control or caption beside it.
#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"
#include "platform/MidiInProcess.h"
#include "tests/performance/SheetLayoutChecks.h"
#include "tests/support/QtWindows.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

TEST(FseqSheetScreenshot, SheetFitsTheWindowAndEveryCaptionStandsApart)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    {
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Show();
        TPerformancePage& page = *form.PerformancePage;
        TParameterData& d = form.ParameterData;
        d.PfmFseq.Part = 2;
        d.PfmFseq.SpeedSelect = 0;
        d.PfmFseq.Speedmidi = 3;
        d.PfmControlSets[5].SourceSw[MC3] = 1;
        d.PfmControlSets[5].Destination = 30;
        d.PfmControlSets[5].Depth = 20;
        d.SystemBlock.VelCrv = 3;
        d.SystemBlock.MstrTune = 71;
        d.SystemBlock.MemoryMode = 1;
        form.RefreshPerformancePages();
        page.Pfm_PageControl->SetActivePage(page.Pfm_FSEQ_Ctrl_TabSheet);
        backend.ProcessMessages();

        // The sheet fills its page control under the tabs.
        ExpectInsideParents(page.Pfm_FSEQ_Ctrl_TabSheet, page.Pfm_PageControl->Width() - 4,
                            page.Pfm_PageControl->Height() - 28);
        ExpectCaptionsReadable(page.Pfm_FSEQ_Ctrl_TabSheet);
        const std::string file = std::filesystem::temp_directory_path().string() + "/quillmarven-fseq-sheet.png";
        ASSERT_TRUE(backend.GrabPng(&form, file));
        EXPECT_GE(QImage(QString::fromStdString(file)).width(), 941);
        form.Hide();
    }
}
