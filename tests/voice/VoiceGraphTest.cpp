// The four envelope pictures: sizes, colours and where the curve's corners land.
#include "tests/support/VoicePageFixture.h"

namespace {

constexpr TColor Black = RGB(0, 0, 0), Blue = RGB(0, 0, 255), Yellow = RGB(255, 255, 0), Green = RGB(0, 255, 0);

TColor At(TImage* image, int x, int y) { return image->Picture.Bitmap().Pixel(x, y); }

} // namespace

class VoiceGraphTest : public VoicePageTest {
protected:
    // Filter EG with all four times shown as `time`, levels 1..3 shown as `level`, depth shown as `depth`.
    void FilterEG(int time, int level3, int depth, int level4 = 0)
    {
        VoiceCommon& c = Common();
        c.FilterEGTime1 = c.FilterEGTime2 = c.FilterEGTime3 = c.FilterEGTime4 = 99 - time;
        c.FilterEGLv1 = c.FilterEGLv2 = c.FilterEGLv3 = 50 - level3, c.FilterEGLv4 = 50 - level4;
        c.FilterEGDepth = 64 + depth;
        Refresh();
    }
};

TEST_F(VoiceGraphTest, PicturesHaveTheirSizesAndColours)
{
    Refresh();
    const std::pair<TImage*, TPoint> sizes[] = {{page->Vc_FilterEGGraph, {260, 232}},
                                                {page->Vc_PitchEGGraph, {256, 104}},
                                                {page->Vc_OpEGGraph, {252, 103}},
                                                {page->Vc_OpFrqEGGraph, {168, 92}}};
    for (const auto& [image, size] : sizes) {
        EXPECT_EQ(image->Picture.Width(), size.X) << image->Name;
        EXPECT_EQ(image->Picture.Height(), size.Y) << image->Name;
        EXPECT_EQ(At(image, size.X - 1, 0), Black) << image->Name;
        EXPECT_EQ(At(image, 2, size.Y / 4), Blue) << image->Name; // the vertical axis, left of the curve
    }
}

TEST_F(VoiceGraphTest, FilterLevelsLieByLevelAndDepth)
{
    // Times 50: x1 44, x2 84, x3 124, key-off at 149; the sustain runs at level 3 from 124 to 149.
    FilterEG(50, 50, 63);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 136, 1), Yellow);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 149, 60), Green);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 136, 114), Blue);
    FilterEG(50, -50, -64);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 136, 0), Yellow);
    FilterEG(50, 50, -64);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 136, 228), Yellow);
    // Depth 0 flattens the whole curve onto the base line.
    FilterEG(50, 50, 0, 30);
    for (int y = 0; y < 232; ++y) {
        if (y < 113 || y > 115) {
            EXPECT_NE(At(page->Vc_FilterEGGraph, 60, y), Yellow) << y;
        }
    }
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 60, 114), Yellow);
}

TEST_F(VoiceGraphTest, FilterTimesZeroPutTheKeyOffAt29)
{
    FilterEG(0, 20, 10);
    // Level 3 lies 30 above the base line; sustain from x 4 to 29, then the release straight down.
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 16, 84), Yellow);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 29, 100), Green);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 28, 100), Yellow);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 60, 114), Blue);

    // Times 99: the release would end at x 345, past the picture; nothing breaks.
    FilterEG(99, 20, 10);
    EXPECT_EQ(At(page->Vc_FilterEGGraph, 259, 84), Yellow);
}

TEST_F(VoiceGraphTest, PitchOperatorAndFrequencyCurves)
{
    VoiceCommon& c = Common();
    c.PitchEGLv0 = c.PitchEGLv1 = c.PitchEGLv2 = c.PitchEGLv3 = c.PitchEGLv4 = 50;
    c.PitchEGTime1 = c.PitchEGTime2 = c.PitchEGTime3 = c.PitchEGTime4 = 99;
    VoicedOperator& o = VOp(0);
    o.EGHold = 99, o.EGTime1 = o.EGTime2 = o.EGTime3 = o.EGTime4 = 50;
    o.EGLv1 = o.EGLv2 = o.EGLv3 = o.EGLv4 = 99; // level 0
    o.FrqEGInitLvl = o.FrqEGAtakLvl = 50, o.FrqEGAtakTime = o.FrqEGDecayTime = 0;
    Refresh();
    // Pitch levels +0 lie on the base line at y 50; past the release the axis shows.
    EXPECT_EQ(At(page->Vc_PitchEGGraph, 16, 50), Yellow);
    EXPECT_EQ(At(page->Vc_PitchEGGraph, 100, 50), Blue);
    // Operator level 0 at y 100, one above the base line at 101 (both three pixels wide).
    EXPECT_EQ(At(page->Vc_OpEGGraph, 200, 99), Yellow);
    EXPECT_EQ(At(page->Vc_OpEGGraph, 200, 102), Blue);
    // Frequency EG at its centre with times 0: along the centre line from x 3.
    EXPECT_EQ(At(page->Vc_OpFrqEGGraph, 100, 45), Yellow);
    EXPECT_EQ(At(page->Vc_OpFrqEGGraph, 100, 42), Black);

    // The frequency graph follows its sliders: attack level +50 after attack time 99 peaks at
    // x 92, y 0 and is redrawn when the message has gone out.
    page->Bar(VcPair::Vc_OpFrqEGAtakTime)->UserScrollsTo(99);
    page->Bar(VcPair::Vc_OpFrqEGAtakLvl)->UserScrollsTo(100);
    EXPECT_EQ(At(page->Vc_OpFrqEGGraph, 91, 1), Yellow);
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x60, 0, 0x0A, 99), Change(0x60, 0, 0x09, 100)}));

    // Operator EG: the hold keeps level 4 flat; a new level redraws at once.
    page->Bar(VcPair::Vc_OpEGLv4)->UserScrollsTo(0); // level 4 = 99, at y 1 after the release
    EXPECT_EQ(At(page->Vc_OpEGGraph, 220, 1), Yellow);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{Change(0x60, 0, 0x0F, 99)});
}

TEST_F(VoiceGraphTest, LoneSignInALevelBoxDrawsAsTheSliderShows)
{
    FilterEG(50, 20, 10);
    page->Vc_CommonPageControl->SetActivePage(page->Vc_FilterEGTabSheet);
    const std::vector<TColor> drawn = page->Vc_FilterEGGraph->Picture.Bitmap().Data();
    // While the person types the sign of a new level, the graph counts the slider's level.
    ASSERT_TRUE(page->Edit(VcPair::Vc_FilterEGLv3)->UserSetsText("-"));
    page->DrawFilterEGGraph();
    EXPECT_EQ(page->Edit(VcPair::Vc_FilterEGLv3)->Text(), "-");
    EXPECT_EQ(page->Vc_FilterEGGraph->Picture.Bitmap().Data(), drawn);
    EXPECT_TRUE(TakeSent().empty());
}
