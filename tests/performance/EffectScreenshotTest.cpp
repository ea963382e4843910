// The effect sheet drawn by the Qt views: a screenshot of each tab to look at, and a check that
// every control of the sheet lies inside its parent, so that none is cut.
#include "mainform/MainForm.h"
#include "performance/PerformancePage.h"
#include "platform/MidiInProcess.h"
#include "tests/performance/EffectData.h"
#include "tests/support/QtWindows.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Every shown control below `c` lies inside its parent's client area (the tab control's page
// below its tabs, a group box's below its caption).
void ExpectInsideParents(const TWinControl* c, int width, int height, int top)
{
    for (int i = 0; i < c->ControlCount(); ++i) {
        const TControl* child = c->Controls(i);
        if (!child->Visible()) continue;
        EXPECT_GE(child->Left(), 0) << child->Name;
        EXPECT_GE(child->Top(), top) << child->Name << " in " << c->Name;
        EXPECT_LE(child->Left() + child->Width(), width) << child->Name << " in " << c->Name;
        EXPECT_LE(child->Top() + child->Height(), height) << child->Name << " in " << c->Name;
        if (auto* w = dynamic_cast<const TWinControl*>(child)) {
            const bool captioned = dynamic_cast<const TGroupBox*>(w) || dynamic_cast<const TRadioGroup*>(w);
            ExpectInsideParents(w, w->Width(), w->Height(), captioned ? 12 : 0);
        }
    }
}

} // namespace

TEST(EffectScreenshot, EffectSheetFitsAndIsDrawnForEachTab)
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

        const std::string dir = std::filesystem::temp_directory_path().string();
        for (int tab = 0; tab < 4; ++tab) {
            ASSERT_TRUE(page.Pfm_Effect_Tab->UserSelects(tab));
            backend.ProcessMessages();
            // The sheet fills its page control under the tabs.
            ExpectInsideParents(page.Pfm_Effect_TabSheet, page.Pfm_PageControl->Width() - 4,
                                page.Pfm_PageControl->Height() - 28, 0);
            const std::string file = dir + "/quillmarven-effect-tab" + std::to_string(tab) + ".png";
            ASSERT_TRUE(backend.GrabPng(&form, file));
            QImage shot(QString::fromStdString(file));
            ASSERT_FALSE(shot.isNull());
            EXPECT_GE(shot.width(), 941);
        }
        form.Hide();
    }
}
