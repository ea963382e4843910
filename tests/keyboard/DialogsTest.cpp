// The About window with its links and the formant-sequence memory notice, shown modally headless.
#include "KeyboardFixture.h"

#include "mainform/dialogs/AboutInfo.h"
#include "mainform/dialogs/FSEQ_RcvInfo.h"

#include <string>

using DialogsTest = KeyboardWindowTest;

TEST_F(DialogsTest, AboutShowsTheProgramOpensBothLinksAndIsFreed)
{
    std::vector<std::string> opened;
    auto& headless = Headless();
    headless.ModalResponder = [&](TForm& shown) {
        auto* about = dynamic_cast<TAbout*>(&shown);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(About, about);
        EXPECT_EQ(about->Owner(), form.get());
        EXPECT_EQ(about->About_TitleText->Caption(), "Quillmarven");
        EXPECT_EQ(about->About_VerText->Caption(), "Ver 1.52");
        EXPECT_EQ(about->VerInfoImage->Picture.Width(), 46);
        about->OpenLink = [&](const std::string& url) {
            opened.push_back(url);
            return false;
        };
        about->About_Mail->UserClicks();
        about->About_WWW->UserClicks();
        EXPECT_EQ(about->ModalResult(), mrNone); // the links leave the window open
        EXPECT_EQ(opened,
                  (std::vector<std::string>{"mailto:" + about->About_Mail->Caption(), about->About_WWW->Caption()}));
    };
    form->HelpAboutItem->Click();
    ASSERT_EQ(headless.Modals.size(), 1u);
    EXPECT_EQ(headless.Modals[0].Caption, "Version Information");
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(About, nullptr);
    EXPECT_EQ(form->FindComponent("About"), nullptr);
}

TEST_F(DialogsTest, NoticeShowsOverADisabledMainWindowAndCopesWithoutItsPicture)
{
    // As at the end of a transfer: the main window stays disabled until its caller unlocks it.
    form->SetEnabled(false);
    auto& headless = Headless();
    std::vector<int> pictureWidths;
    headless.ModalResponder = [&](TForm& shown) {
        auto* notice = dynamic_cast<TFSEQ_InitInfoForm*>(&shown);
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(FSEQ_InitInfoForm, notice);
        EXPECT_EQ(notice->Caption(), "Quillmarven");
        EXPECT_EQ(notice->Title->Caption(), "Prease initialize FS1R Internal FSEQ Memory !");
        EXPECT_EQ(notice->FSEQInitImage->BoundsRect(), Rect(9, 19, 410, 160));
        pictureWidths.push_back(notice->FSEQInitImage->Picture.Width());
    };
    TFSEQ_InitInfoForm::ShowNotice(form.get(), QM_PROGRAM_DIR);
    TFSEQ_InitInfoForm::ShowNotice(form.get(), std::filesystem::temp_directory_path() / "qm-no-program-folder");

    EXPECT_EQ(pictureWidths, (std::vector<int>{400, 0}));
    ASSERT_EQ(headless.Modals.size(), 2u); // each closed with its close box
    EXPECT_EQ(FSEQ_InitInfoForm, nullptr);
    EXPECT_EQ(form->FindComponent("FSEQ_InitInfoForm"), nullptr);
    EXPECT_FALSE(form->Enabled());
    EXPECT_TRUE(headless.Messages.empty());
    EXPECT_TRUE(TakeAllSent().empty());
}
