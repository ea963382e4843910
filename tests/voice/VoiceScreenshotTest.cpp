// The Voice page drawn by the Qt views: a screenshot to look at, and a check that every control
// of the page lies inside the window and inside its parent.
#include "mainform/MainForm.h"
#include "platform/MidiInProcess.h"
#include "tests/support/QtWindows.h"
#include "voice/AlgorithmSelect.h"
#include "voice/VoicePage.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Every control below `c` lies inside its parent's client area.
void ExpectInsideParents(const TWinControl* c, int width, int height)
{
    for (int i = 0; i < c->ControlCount(); ++i) {
        const TControl* child = c->Controls(i);
        if (!child->Visible() || dynamic_cast<const TTabSheet*>(child)) continue;
        EXPECT_GE(child->Left(), 0) << child->Name;
        EXPECT_GE(child->Top(), 0) << child->Name;
        EXPECT_LE(child->Left() + child->Width(), width) << child->Name << " in " << c->Name;
        EXPECT_LE(child->Top() + child->Height(), height) << child->Name << " in " << c->Name;
        if (auto* pc = dynamic_cast<const TPageControl*>(child)) {
            // Sheets fill the page control under its tabs.
            for (int p = 0; p < pc->PageCount(); ++p)
                ExpectInsideParents(pc->Pages(p), pc->Width() - 4, pc->Height() - 28);
        } else if (auto* w = dynamic_cast<const TWinControl*>(child)) {
            ExpectInsideParents(w, w->Width(), w->Height());
        }
    }
}

} // namespace

TEST(VoiceScreenshot, VoiceSheetFitsTheWindowAndIsDrawn)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    {
        TMainForm form(nullptr, midi, QM_PROGRAM_DIR);
        form.Show();
        form.FS1R_PageControl->SetActivePage(form.Vc_TabSheet);
        TVoicePage& page = *form.VoicePage;
        form.ParameterData.VoiceRecords[0].VoicedOperators[0].Form = 7;
        form.ParameterData.VoiceRecords[0].VoicedOperators[0].FreqMode = 1;
        form.ParameterData.VoiceRecords[0].VoiceCommon.Algorithm = 12;
        form.RefreshVoicePages(0);
        backend.ProcessMessages();

        ExpectInsideParents(page.Vc_VoiceTab, page.Vc_VoiceTab->Width(), page.Vc_VoiceTab->Height());
        const std::string dir = std::filesystem::temp_directory_path().string();
        ASSERT_TRUE(backend.GrabPng(&form, dir + "/quillmarven-voice-page.png"));
        for (TTabSheet* sheet :
             {page.Vc_FilterTabSheet, page.Vc_FilterEGTabSheet, page.Vc_PitchEGTabSheet, page.Vc_FormantTabSheet}) {
            page.Vc_CommonPageControl->SetActivePage(sheet);
            backend.ProcessMessages();
            ASSERT_TRUE(backend.GrabPng(&form, dir + "/quillmarven-voice-" + sheet->Name + ".png"));
        }
        page.Vc_CommonPageControl->SetActivePage(page.Vc_LFOTabSheet);
        ASSERT_TRUE(page.Vc_OperatorTab->UserSelects(9));
        backend.ProcessMessages();
        ExpectInsideParents(page.Vc_VoiceTab, page.Vc_VoiceTab->Width(), page.Vc_VoiceTab->Height());
        ASSERT_TRUE(backend.GrabPng(&form, dir + "/quillmarven-voice-unvoiced.png"));
        QImage shot(QString::fromStdString(dir + "/quillmarven-voice-page.png"));
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
    int32_t selected = 40;
    TAlgorithmSelectForm window(
        &form, [&form](int n) -> const TBitmap* { return form.AlgorithmPictures[size_t(n - 1)].get(); }, selected,
        QM_PROGRAM_DIR);
    window.Show();
    backend.ProcessMessages();
    const std::string path = (std::filesystem::temp_directory_path() / "quillmarven-algorithm-select.png").string();
    ASSERT_TRUE(backend.GrabPng(&window, path));

    const QImage shot = backend.Grab(&window);
    QWidget* frame = backend.WindowFor(&window);
    // Picture 40 (last column, third row of the page scrolled to 768) wears red at its corner.
    const QPoint corner = backend.WidgetFor(window.Image[39])->mapTo(frame, QPoint(1, 1));
    EXPECT_EQ(corner, QPoint(8 + 2 + 5 + 156 * 3 + 1, 25 + 2 + 5 + 96 * 9 - 768 + 1));
    const QColor red = shot.pixelColor(corner);
    EXPECT_GT(red.red(), 200);
    EXPECT_LT(red.green(), 60);
    // Every picture on the page is a diagram: dark lines and digits on white.
    for (int n = 33; n <= 48; ++n) {
        QWidget* picture = backend.WidgetFor(window.Image[size_t(n - 1)]);
        EXPECT_GT(DarkPixels(shot, QRect(picture->mapTo(frame, QPoint(0, 0)), picture->size())), 300) << n;
    }
    window.Hide();
}
