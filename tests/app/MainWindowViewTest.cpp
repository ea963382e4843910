// The real main window drawn by the Qt views on the offscreen platform: every tab of its strips
// in sight, every list of the page it opens with readable when opened, and text drawn. (Caption
// and menus mirrored: tests/uiqt.)
#include "mainform/MainForm.h"
#include "platform/MidiInProcess.h"
#include "tests/support/QtWindows.h"
#include "tests/support/SheetLayoutChecks.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(MainWindowView, ShowsItsFirstSheetWithEveryTabListAndText)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    {
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Show();
        backend.ProcessMessages();

        ExpectEveryTabInSight(backend, &form);
        ExpectListsOpenWide(backend, &form);

        const std::string png = ScreenshotFile("quillmarven-main-window.png");
        ASSERT_TRUE(backend.GrabPng(&form, png));
        QImage shot(QString::fromStdString(png));
        ASSERT_FALSE(shot.isNull());
        EXPECT_GE(shot.width(), 941);
        EXPECT_GE(shot.height(), 637);

        // Text was drawn (a font was found): the tab captions leave dark pixels near the top.
        EXPECT_GT(DarkPixels(shot, QRect(0, 0, 300, 80)), 20);
        form.Hide();
    }
}
