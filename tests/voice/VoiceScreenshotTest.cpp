// The Voice page drawn by the Qt views: screenshots to look at; every control of the page inside
// the window and its parent, every tab of its strips in sight and every list readable when
// opened; the boxes the page lays flat drawn without a border.
#include "mainform/MainForm.h"
#include "platform/MidiInProcess.h"
#include "tests/support/QtWindows.h"
#include "tests/support/SheetLayoutChecks.h"
#include "voice/AlgorithmSelect.h"
#include "voice/VoicePage.h"

#include <QImage>
#include <QLineEdit>
#include <gtest/gtest.h>

TEST(VoiceScreenshot, VoiceSheetFitsTheWindowAndIsDrawn)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    midi.AddDevice("FS1R");
    {
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Midi.OpenMidiOut(0); // the clicks below send; without an output a box would wait
        form.Show();
        form.FS1R_PageControl->SetActivePage(form.Vc_TabSheet);
        TVoicePage& page = *form.VoicePage;
        form.ParameterData.VoiceRecords[0].VoicedOperators[0].Form = 7;
        form.ParameterData.VoiceRecords[0].VoicedOperators[0].FreqMode = 1;
        form.ParameterData.VoiceRecords[0].VoiceCommon.Algorithm = 12;
        form.RefreshVoicePages(0);
        backend.ProcessMessages();
        auto expectWhole = [&] {
            ExpectInsideParents(page.Vc_VoiceTab, page.Vc_VoiceTab->Width(), page.Vc_VoiceTab->Height());
            ExpectEveryTabInSight(backend, page.Vc_VoiceTab);
            ExpectListsOpenWide(backend, page.Vc_VoiceTab);
        };
        auto boxOf = [&](TEdit* e) { return static_cast<QLineEdit*>(backend.WidgetFor(e)); };

        expectWhole();
        // The shape name box lies flat over the text of its list.
        EXPECT_FALSE(boxOf(page.Vc_OpPresetEGEdit)->hasFrame());
        ASSERT_TRUE(backend.GrabPng(&form, ScreenshotFile("quillmarven-voice-page.png")));
        for (TTabSheet* sheet : {page.Vc_FilterTabSheet, page.Vc_FilterEGTabSheet, page.Vc_PitchEGTabSheet,
                                 page.Vc_FormantTabSheet, page.Vc_FmTabSheet}) {
            page.Vc_CommonPageControl->SetActivePage(sheet);
            backend.ProcessMessages();
            ExpectListsOpenWide(backend, sheet);
            ASSERT_TRUE(backend.GrabPng(&form, ScreenshotFile("quillmarven-voice-" + sheet->Name + ".png")));
        }
        page.Vc_CommonPageControl->SetActivePage(page.Vc_LFOTabSheet);
        // Unvoiced operator 1 linked to its formant partner: the coarse box reads as plain text.
        ASSERT_TRUE(page.Vc_OperatorTab->UserSelects(8));
        ASSERT_TRUE(page.Vc_UOpFreqMode->UserClicks(2));
        backend.ProcessMessages();
        EXPECT_FALSE(boxOf(page.Vc_UOpFreqCoarseEdit)->hasFrame());
        EXPECT_EQ(boxOf(page.Vc_UOpFreqCoarseEdit)->palette().color(QPalette::Base), ToQColor(clBtnFace));
        expectWhole();
        ASSERT_TRUE(backend.GrabPng(&form, ScreenshotFile("quillmarven-voice-unvoiced.png")));
        ASSERT_TRUE(page.Vc_UOpFreqMode->UserClicks(0));
        EXPECT_TRUE(boxOf(page.Vc_UOpFreqCoarseEdit)->hasFrame());
        QImage shot(QString::fromStdString(ScreenshotFile("quillmarven-voice-page.png")));
        ASSERT_FALSE(shot.isNull());
        EXPECT_GE(shot.width(), 941);
        form.Hide();
    }
}

// The algorithm picture, drawn at half its size beside the algorithm box, keeps its thin lines:
// with every operator a carrier (algorithm 1) the eight drop lines reach one unbroken bus line at
// the bottom.
TEST(VoiceScreenshot, AlgorithmPictureShowsTheWholeBusLine)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
    form.Show();
    form.FS1R_PageControl->SetActivePage(form.Vc_TabSheet);
    form.ParameterData.VoiceRecords[0].VoiceCommon.Algorithm = 1;
    form.RefreshVoicePages(0);
    backend.ProcessMessages();

    const TImage* image = form.VoicePage->Vc_AlgorithmImage;
    const QImage shot = backend.WidgetFor(image)->grab().toImage();
    ASSERT_EQ(shot.width(), image->Width());
    auto darkIn = [&](int y, int limit) {
        int n = 0;
        for (int x = 0; x < shot.width(); ++x) n += qGray(shot.pixel(x, y)) < limit;
        return n;
    };
    // The bus: the darkest row near the bottom, dark from the first carrier to the last.
    int bus = shot.height() - 1;
    for (int y = shot.height() - 10; y < shot.height(); ++y)
        if (darkIn(y, 80) > darkIn(bus, 80)) bus = y;
    EXPECT_GE(darkIn(bus, 80), shot.width() * 3 / 4) << "bus row " << bus;
    // Just above it, one drop line under each of the eight carriers.
    int drops = 0;
    bool inLine = false;
    for (int x = 0; x < shot.width(); ++x) {
        const bool dark = qGray(shot.pixel(x, bus - 1)) < 160;
        drops += dark && !inLine;
        inLine = dark;
    }
    EXPECT_EQ(drops, 8);
    form.Hide();
}

TEST(VoiceScreenshot, AlgorithmSelectorShowsItsPicturesWithTheChosenOneFramed)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
    int32_t selected = 3;
    TAlgorithmSelectForm window(
        &form, [&form](int n) -> const TBitmap* { return form.AlgorithmPictures[size_t(n - 1)].get(); }, selected,
        QM_PROGRAM_DIR);
    window.Show();
    backend.ProcessMessages();
    const std::string path = ScreenshotFile("quillmarven-algorithm-select.png");
    ASSERT_TRUE(backend.GrabPng(&window, path));

    const QImage shot = backend.Grab(&window);
    QWidget* frame = backend.WindowFor(&window);
    // Picture 3 (third column, first row of the page at the top) wears red at its corner.
    const QPoint corner = backend.WidgetFor(window.Image[2])->mapTo(frame, QPoint(1, 1));
    EXPECT_EQ(corner, QPoint(8 + 2 + 5 + 156 * 2 + 1, 25 + 2 + 5 + 1));
    const QColor red = shot.pixelColor(corner);
    EXPECT_GT(red.red(), 200);
    EXPECT_LT(red.green(), 60);
    // Every picture on the page is a diagram: dark lines and digits on white.
    for (int n = 1; n <= 16; ++n) {
        QWidget* picture = backend.WidgetFor(window.Image[size_t(n - 1)]);
        EXPECT_GT(DarkPixels(shot, QRect(picture->mapTo(frame, QPoint(0, 0)), picture->size())), 300) << n;
    }
    window.Hide();
}
