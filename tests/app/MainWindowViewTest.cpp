// The real main window drawn by the Qt views on the offscreen platform: every tab of its strips
// in sight and every list of the page it opens with readable when opened.
#include "mainform/MainForm.h"
#include "platform/MidiInProcess.h"
#include "tests/support/QtWindows.h"
#include "tests/support/SheetLayoutChecks.h"

#include <QImage>
#include <QMenuBar>
#include <QTabBar>
#include <QWidget>
#include <gtest/gtest.h>

TEST(MainWindowView, ShowsCaptionMenuAndBothSheetsWithText)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    {
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Show();
        backend.ProcessMessages();

        QWidget* window = backend.WindowFor(&form);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle().toStdString(), "Quillmarven");

        const auto menuBars = window->findChildren<QMenuBar*>();
        ASSERT_FALSE(menuBars.empty());
        QStringList titles;
        for (QAction* a : menuBars.front()->actions()) titles << a->text();
        EXPECT_TRUE(titles.join("|").contains("File")) << titles.join("|").toStdString();

        QStringList tabs;
        for (QTabBar* bar : window->findChildren<QTabBar*>())
            for (int i = 0; i < bar->count(); ++i) tabs << bar->tabText(i);
        EXPECT_TRUE(tabs.contains("Performance")) << tabs.join("|").toStdString();
        EXPECT_TRUE(tabs.contains("Voice")) << tabs.join("|").toStdString();
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
