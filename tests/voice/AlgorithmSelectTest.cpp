// The algorithm selector window, opened by the Voice page's button "Select" and driven as a person
// drives it: the number box, its keys, clicks on the pictures, the wheel, OK and Cancel.
#include "voice/AlgorithmSelect.h"
#include "tests/support/VoicePageFixture.h"

#include <functional>

namespace {

class AlgorithmSelectTest : public VoicePageTest {
protected:
    // Shows algorithm `shown` on the page, clicks "Select" and lets `act` work in the window; it
    // ends the window itself or leaves it to the close box.
    void Select(int shown, const std::function<void(TAlgorithmSelectForm&)>& act)
    {
        Common(page->Vc_VoiceTab->TabIndex()).Algorithm = shown;
        Refresh();
        TakeSent();
        Application->Headless().ModalResponder = [act](TForm& f) { act(dynamic_cast<TAlgorithmSelectForm&>(f)); };
        ASSERT_TRUE(page->Vc_AlgorithmBtn->UserClicks());
    }
    // The pictures that wear the red frame: their corner pixels, and those of the two inner
    // frames, are red; the pixel between the outer two is the picture's own.
    static std::vector<int> Framed(const TAlgorithmSelectForm& w)
    {
        std::vector<int> framed;
        for (int n = 1; n <= 88; ++n) {
            const TBitmap& b = w.Image[size_t(n - 1)]->Picture.Bitmap();
            const int W = b.Width(), H = b.Height();
            const bool red = b.Pixel(0, 0) == clRed && b.Pixel(W - 1, H - 1) == clRed && b.Pixel(2, 2) == clRed &&
                             b.Pixel(W - 2, H - 3) == clRed && b.Pixel(3, 3) == clRed && b.Pixel(W - 4, H - 4) == clRed;
            if (red) framed.push_back(n);
            EXPECT_NE(b.Pixel(1, 1), clRed) << n;
        }
        return framed;
    }
    static int Scroll(const TAlgorithmSelectForm& w) { return w.AlgSelectScrollBox->VertScrollBar.Position(); }
    // The box shows `text` with the whole of it selected, for the next digit to replace.
    static void ExpectSelected(const TAlgorithmSelectForm& w, const std::string& text)
    {
        EXPECT_EQ(w.AlgSelectEdit->Text(), text);
        EXPECT_EQ(w.AlgSelectEdit->SelStart(), 0);
        EXPECT_EQ(w.AlgSelectEdit->SelLength(), int(text.size()));
    }
};

} // namespace

TEST_F(AlgorithmSelectTest, OpensOnTheAlgorithmShownWithItsPictureFramedAndInView)
{
    bool ran = false;
    page->SelectedAlgorithm = 3;
    Select(40, [&](TAlgorithmSelectForm& w) {
        ran = true;
        EXPECT_EQ(w.Caption(), "Algorithm Select");
        EXPECT_EQ(w.ClientWidth(), 667);
        EXPECT_EQ(w.ClientHeight(), 454);
        ExpectSelected(w, "40");
        EXPECT_TRUE(w.AlgSelectEdit->Focused());
        EXPECT_EQ(Framed(w), std::vector<int>{40});
        EXPECT_EQ(Scroll(w), 768);
        // The grid: four columns 156 pixels apart, rows 96 apart, a margin of 5.
        EXPECT_EQ(w.Image[39]->Left(), 5 + 156 * 3);
        EXPECT_EQ(w.Image[39]->Top(), 5 + 96 * 9);
        EXPECT_EQ(w.Image[87]->Name, "Image88");
        // Each picture is the main window's picture of its algorithm.
        EXPECT_EQ(w.Image[62]->Picture.Bitmap().Data(), form->AlgorithmPictures[62]->Data());
    });
    EXPECT_TRUE(ran);
    // Closed with its close box: nothing chosen, nothing sent, the box focused.
    ASSERT_EQ(Application->Headless().Modals.size(), 1u);
    EXPECT_EQ(Application->Headless().Modals[0].FormName, "AlgorithmSelectForm");
    EXPECT_EQ(Application->Headless().Modals[0].Result, mrCancel);
    EXPECT_EQ(page->SelectedAlgorithm, 40);
    EXPECT_EQ(page->Vc_AlgorithmEdit->Text(), "40");
    EXPECT_TRUE(page->Vc_AlgorithmEdit->Focused());
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(AlgorithmSelectTest, TypedNumbersAreBroughtIntoOneTo88)
{
    Select(12, [&](TAlgorithmSelectForm& w) {
        TEdit& box = *w.AlgSelectEdit;
        ASSERT_TRUE(box.UserTypes("0"));
        ExpectSelected(w, "1");
        ASSERT_TRUE(box.UserTypes("90")); // "9", then "90"
        ExpectSelected(w, "88");
        EXPECT_EQ(Framed(w), std::vector<int>{88});
        ASSERT_TRUE(box.UserTypes("a"));
        ExpectSelected(w, "1");
        ASSERT_TRUE(box.UserTypes("71"));
        EXPECT_EQ(box.Text(), "71");
        EXPECT_EQ(Framed(w), std::vector<int>{71});
        for (const auto& [typed, shown] : {std::pair{"", "1"}, {"00", "1"}, {"x5", "1"}}) {
            ASSERT_TRUE(box.UserSetsText(typed));
            ExpectSelected(w, shown);
            EXPECT_EQ(Framed(w), std::vector<int>{1}) << typed;
        }
        ASSERT_TRUE(box.UserSetsText("05"));
        EXPECT_EQ(box.Text(), "05");
        EXPECT_EQ(Framed(w), std::vector<int>{5});
        EXPECT_EQ(w.HighlightedAlgorithm, 5);
    });
}

// Every number chosen frames its picture and scrolls to the page of sixteen that holds it, its
// first and last pictures alike; the last eight show at the end of the grid.
TEST_F(AlgorithmSelectTest, EveryChosenPictureIsFramedAndScrolledIntoView)
{
    const std::pair<int, int> pages[] = {{1, 0}, {17, 384}, {33, 768}, {49, 1152}, {65, 1536}, {81, 1728}};
    Select(88, [&](TAlgorithmSelectForm& w) {
        const int height = w.AlgSelectScrollBox->ClientHeight();
        for (int n = 1; n <= 88; ++n) {
            ASSERT_TRUE(w.AlgSelectEdit->UserSetsText(std::to_string(n)));
            int scroll = 0;
            for (const auto& [first, position] : pages)
                if (n >= first) scroll = position;
            EXPECT_EQ(Scroll(w), scroll) << n;
            EXPECT_EQ(Framed(w), std::vector<int>{n});
            const int top = w.Image[size_t(n - 1)]->Top();
            EXPECT_TRUE(top >= Scroll(w) && top + 90 <= Scroll(w) + height) << n << " out of view";
        }
        // The end of the grid: its last row and margin meet the bottom of the box.
        EXPECT_EQ(w.Image[87]->Top() + 90 + 5, 1728 + height);
    });
}

TEST_F(AlgorithmSelectTest, KeysStepByTenByOneAndByARowAndStopAtBothEnds)
{
    const struct {
        const char* From;
        uint16_t Key;
        const char* To;
    } steps[] = {{"9", VK_NEXT, "1"},  {"15", VK_NEXT, "5"},  {"85", VK_PRIOR, "88"}, {"62", VK_PRIOR, "72"},
                 {"3", VK_UP, "1"},    {"30", VK_UP, "26"},   {"86", VK_DOWN, "88"},  {"30", VK_DOWN, "34"},
                 {"1", VK_LEFT, "1"},  {"30", VK_LEFT, "29"}, {"88", VK_RIGHT, "88"}, {"16", VK_RIGHT, "17"},
                 {"16", VK_HOME, "16"}};
    Select(9, [&](TAlgorithmSelectForm& w) {
        for (const auto& s : steps) {
            ASSERT_TRUE(w.AlgSelectEdit->UserSetsText(s.From));
            ASSERT_TRUE(w.AlgSelectEdit->KeyDown(s.Key));
            EXPECT_EQ(w.AlgSelectEdit->Text(), s.To) << s.From << " " << s.Key;
            EXPECT_EQ(Framed(w), std::vector<int>{std::stoi(s.To)}) << s.From << " " << s.Key;
        }
    });
}

TEST_F(AlgorithmSelectTest, ClicksAndTheWheel)
{
    Select(20, [&](TAlgorithmSelectForm& w) {
        // The wheel scrolls 48 pixels a notch within the grid; the frame and number stay.
        ASSERT_TRUE(w.UserWheels(-120));
        ASSERT_TRUE(w.UserWheels(-120));
        EXPECT_EQ(Scroll(w), 384 + 96);
        for (int i = 0; i < 40; ++i) w.UserWheels(-120);
        EXPECT_EQ(Scroll(w), 1728);
        ASSERT_TRUE(w.UserWheels(120));
        EXPECT_EQ(Scroll(w), 1680);
        EXPECT_EQ(w.AlgSelectEdit->Text(), "20");
        EXPECT_EQ(Framed(w), std::vector<int>{20});
        // A click on the picture already chosen changes nothing, not even the scrolling.
        ASSERT_TRUE(w.Image[19]->UserClicks());
        EXPECT_EQ(Scroll(w), 1680);
        // Another picture is chosen; then the chosen one scrolled away is brought back.
        ASSERT_TRUE(w.Image[84]->UserClicks());
        EXPECT_EQ(w.AlgSelectEdit->Text(), "85");
        for (int i = 0; i < 50; ++i) w.UserWheels(120);
        EXPECT_EQ(Scroll(w), 0);
        EXPECT_EQ(Framed(w), std::vector<int>{85});
        ASSERT_TRUE(w.Image[19]->UserMouseDown(70, 40));
        ASSERT_TRUE(w.Image[19]->UserMouseUp(70, 40));
        EXPECT_EQ(w.AlgSelectEdit->Text(), "20");
        EXPECT_EQ(Scroll(w), 384);
        ASSERT_TRUE(w.Image[56]->UserClicks());
        ASSERT_TRUE(w.AlgSelectCancelBitBtn->UserClicks());
    });
    // Cancel leaves the algorithm as it was; so does Escape, also after typing.
    EXPECT_EQ(page->SelectedAlgorithm, 20);
    EXPECT_EQ(page->Vc_AlgorithmEdit->Text(), "20");
    Select(20, [&](TAlgorithmSelectForm& w) {
        ASSERT_TRUE(w.AlgSelectEdit->UserSetsText("66"));
        ASSERT_TRUE(w.AlgSelectEdit->KeyDown(VK_ESCAPE));
    });
    EXPECT_EQ(page->SelectedAlgorithm, 20);
    EXPECT_EQ(Application->Headless().Modals.back().Result, mrCancel);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(AlgorithmSelectTest, OKHandsTheChosenAlgorithmToTheVoicePageWhichStoresAndSendsIt)
{
    // Voice 2, voiced operator 3, with an attenuation the new algorithm takes back to 0.
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    ShowOperatorTab(2);
    Voice(1).VoicedOperators[2].OPAtt = 9;
    Select(7, [&](TAlgorithmSelectForm& w) {
        ASSERT_TRUE(w.Image[62]->UserClicks());
        ASSERT_TRUE(w.AlgSelectOKBitBtn->UserClicks());
    });
    EXPECT_EQ(Application->Headless().Modals.back().Result, mrOk);
    EXPECT_EQ(page->SelectedAlgorithm, 63);
    EXPECT_EQ(page->Vc_AlgorithmEdit->Text(), "63");
    EXPECT_TRUE(page->Vc_AlgorithmEdit->Focused());
    EXPECT_EQ(page->Vc_AlgorithmImage->Picture.Bitmap().Data(), form->AlgorithmPictures[62]->Data());
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x41, 0x00, 0x2C, 62)});
    EXPECT_EQ(Common(1).Algorithm, 63);
    EXPECT_EQ(Voice(1).VoicedOperators[2].OPAtt, 0);
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");

    // Enter is OK: typed, stepped with a key, taken.
    Select(63, [&](TAlgorithmSelectForm& w) {
        ASSERT_TRUE(w.AlgSelectEdit->UserSetsText("41"));
        ASSERT_TRUE(w.AlgSelectEdit->KeyDown(VK_DOWN));
        ASSERT_TRUE(w.AlgSelectEdit->KeyDown(VK_RETURN));
    });
    EXPECT_EQ(page->SelectedAlgorithm, 45);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x41, 0x00, 0x2C, 44)});
}
