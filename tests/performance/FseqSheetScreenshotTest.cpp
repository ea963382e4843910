// The formant-sequence, controller and system sheet drawn by the Qt views after a load that
// differs from the initial data: a screenshot to look at, every control inside its parent, and
// every caption readable: its text, in the font the window draws it with, fits its label and runs
// into no other control or caption beside it.
#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"
#include "platform/MidiInProcess.h"
#include "tests/support/QtWindows.h"
#include "ui/qt/QtViews.h"

#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace {

void Walk(TControl* c, const std::function<void(TControl*)>& visit)
{
    visit(c);
    if (auto* w = dynamic_cast<TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i) Walk(w->Controls(i), visit);
}

// Every visible control below `c` lies inside its parent's client area (width x height for `c`).
void ExpectInsideParents(const TWinControl* c, int width, int height)
{
    for (int i = 0; i < c->ControlCount(); ++i) {
        const TControl* child = c->Controls(i);
        if (!child->Visible()) continue;
        EXPECT_GE(child->Left(), 0) << child->Name;
        EXPECT_GE(child->Top(), 0) << child->Name;
        EXPECT_LE(child->Left() + child->Width(), width) << child->Name << " in " << c->Name;
        EXPECT_LE(child->Top() + child->Height(), height) << child->Name << " in " << c->Name;
        if (auto* w = dynamic_cast<const TWinControl*>(child)) ExpectInsideParents(w, w->Width(), w->Height());
    }
}

// Where a label's text is drawn, left to right, in its parent.
struct Extent {
    int Left, Right;
};
Extent TextExtent(const TLabel& l)
{
    const int width = QFontMetrics(ToQFont(l.Font)).horizontalAdvance(QString::fromStdString(l.Caption()));
    if (l.AutoSize || l.Alignment == taLeftJustify) return {l.Left(), l.Left() + width};
    if (l.Alignment == taRightJustify) return {l.Left() + l.Width() - width, l.Left() + l.Width()};
    const int left = l.Left() + (l.Width() - width) / 2;
    return {left, left + width};
}

bool SameBand(const TControl& a, const TControl& b)
{
    return a.Top() < b.Top() + b.Height() && b.Top() < a.Top() + a.Height();
}

void ExpectCaptionsReadable(TWinControl* sheet)
{
    std::vector<TLabel*> labels;
    Walk(sheet, [&](TControl* c) {
        if (auto* l = dynamic_cast<TLabel*>(c); l && l->Visible() && !l->Caption().empty()) labels.push_back(l);
    });
    ASSERT_GT(labels.size(), 40u);
    for (TLabel* l : labels) {
        const Extent text = TextExtent(*l);
        if (!l->AutoSize) {
            EXPECT_LE(text.Right - text.Left, l->Width()) << l->Name << " \"" << l->Caption() << "\" is cut";
        }
        TWinControl* parent = l->Parent();
        for (int i = 0; i < parent->ControlCount(); ++i) {
            const TControl* other = parent->Controls(i);
            if (other == l || !other->Visible() || !SameBand(*l, *other)) continue;
            Extent o{other->Left(), other->Left() + other->Width()};
            if (auto* ol = dynamic_cast<const TLabel*>(other)) o = TextExtent(*ol);
            // A gap of at least 2 pixels between a caption and its neighbour.
            EXPECT_TRUE(text.Right + 2 <= o.Left || o.Right + 2 <= text.Left)
                << l->Name << " \"" << l->Caption() << "\" runs into " << other->Name;
        }
    }
}

} // namespace

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
