// Canvas drawing read back pixel by pixel, BMP files, pictures by extension and images.
#include "UiFixture.h"
#include "tests/support/Patience.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string Row(const TBitmap& b, int y, int from, int to)
{
    std::string s;
    for (int x = from; x < to; ++x) s += b.Pixel(x, y) == clBlack ? '.' : b.Pixel(x, y) == clRed ? 'r' : '#';
    return s;
}

class GraphicsTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        Dir = fs::temp_directory_path() / ("qm_ui_gfx_" + std::to_string(::getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override
    {
        fs::remove_all(Dir);
        TPicture::JpegDecoder = nullptr;
        UiTest::TearDown();
    }
    fs::path Dir;
};

TEST_F(GraphicsTest, LinesRectanglesAndFillsFollowTheWindowsPixelRules)
{
    TBitmap b(12, 12);
    TCanvas& c = b.Canvas;
    c.Brush.Color = clBlack;
    c.FillRect(Rect(0, 0, 12, 12));
    EXPECT_EQ(b.Pixel(11, 11), clBlack);

    c.Pen.Color = clRed;
    c.MoveTo(1, 1);
    c.LineTo(5, 1); // end point excluded
    EXPECT_EQ(Row(b, 1, 0, 7), ".rrrr..");
    EXPECT_EQ(c.PenPos(), Point(5, 1));

    c.Pen.Width = 3; // a wide pen paints three rows, its ends reach half a width further
    c.MoveTo(2, 5);
    c.LineTo(5, 5);
    EXPECT_EQ(Row(b, 3, 0, 7), ".......");
    EXPECT_EQ(Row(b, 4, 0, 7), ".rrrrr.");
    EXPECT_EQ(Row(b, 5, 0, 7), ".rrrrr.");
    EXPECT_EQ(Row(b, 6, 0, 7), ".rrrrr.");
    EXPECT_EQ(Row(b, 7, 0, 7), ".......");

    c.Pen.Width = 1;
    c.Pen.Style = psDot;
    c.MoveTo(0, 9);
    c.LineTo(8, 9);
    EXPECT_EQ(Row(b, 9, 0, 9), "r.r.r.r..");

    // Rectangle: pen outline, brush inside, right and bottom exclusive.
    TBitmap r(6, 6);
    r.Canvas.Brush.Color = clBlack;
    r.Canvas.FillRect(Rect(0, 0, 6, 6));
    r.Canvas.Pen.Color = clRed;
    r.Canvas.Brush.Color = clWhite;
    r.Canvas.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(Row(r, 0, 0, 6), "rrrrr.");
    EXPECT_EQ(Row(r, 2, 0, 6), "r###r.");
    EXPECT_EQ(Row(r, 4, 0, 6), "rrrrr.");
    EXPECT_EQ(Row(r, 5, 0, 6), "......");
    r.Canvas.Brush.Color = clBlack;
    r.Canvas.FrameRect(Rect(1, 1, 4, 4));
    EXPECT_EQ(Row(r, 2, 0, 6), "r.#.r.");

    // Drawing off the bitmap is clipped; reading off it gives clNone.
    c.Pen.Style = psSolid;
    c.MoveTo(-5, -5);
    c.LineTo(20, 20);
    EXPECT_EQ(b.Pixel(3, 3), clRed);
    EXPECT_EQ(b.Pixel(-1, 0), clNone);
}

// Lines and fills that reach far past the bitmap (a graph drawn from a value beyond its range)
// paint what lies on it and take no longer than the picture is large. They are drawn in a child
// process first: one that has not finished after a while is stopped, and the test fails.
TEST_F(GraphicsTest, LinesAndFillsFarPastTheBitmapPaintTheirPartOnItAtOnce)
{
    const auto drawAll = [](TBitmap& b) {
        TCanvas& c = b.Canvas;
        c.Pen.Color = clBlack;
        c.MoveTo(0, 2);
        c.LineTo(2000000000, 2); // out to the right
        c.MoveTo(-2000000000, 4);
        c.LineTo(5, 4); // in from the left
        c.MoveTo(7, 2000000000);
        c.LineTo(7, -2000000000); // down to up, through the whole height
        c.MoveTo(-2000000000, -2000000000);
        c.LineTo(-1999999000, 2000000000); // beside the bitmap all the way
        c.Brush.Color = clRed;
        c.FillRect(TRect{9, -2000000000, 2000000000, 1});
    };
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TBitmap b(12, 6);
        drawAll(b);
        ::_exit(0);
    }
    int status = 0;
    const bool ended = WaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; });
    if (!ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    ASSERT_TRUE(ended) << "lines and a fill two billion pixels long were still being drawn after " << Patience.count()
                       << " ms";
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "drawing them ended the process";

    TBitmap b(12, 6);
    b.Canvas.Brush.Color = clWhite;
    b.Canvas.FillRect(TRect{0, 0, 12, 6});
    drawAll(b);
    EXPECT_EQ(Row(b, 0, 0, 12), "#######.#rrr");
    EXPECT_EQ(Row(b, 1, 0, 12), "#######.####");
    EXPECT_EQ(Row(b, 2, 0, 12), "............");
    EXPECT_EQ(Row(b, 3, 0, 12), "#######.####");
    EXPECT_EQ(Row(b, 4, 0, 12), ".....##.####");
    EXPECT_EQ(Row(b, 5, 0, 12), "#######.####");
}

TEST_F(GraphicsTest, EllipseDrawAndStretchDraw)
{
    TBitmap b(9, 9);
    b.Canvas.Pen.Color = clRed;
    b.Canvas.Brush.Color = clBlack;
    b.Canvas.Ellipse(0, 0, 9, 9);
    EXPECT_EQ(b.Pixel(4, 4), clBlack); // inside: brush
    EXPECT_EQ(b.Pixel(4, 0), clRed);   // top: pen
    EXPECT_EQ(b.Pixel(0, 0), clWhite); // corner: untouched

    TBitmap dst(10, 10);
    TBitmap src(2, 2);
    src.Canvas.SetPixel(0, 0, clRed);
    src.Canvas.SetPixel(1, 1, clBlack);
    dst.Canvas.Draw(3, 3, src);
    EXPECT_EQ(dst.Pixel(3, 3), clRed);
    EXPECT_EQ(dst.Pixel(4, 4), clBlack);
    EXPECT_EQ(dst.Pixel(4, 3), clWhite);
    dst.Canvas.StretchDraw(Rect(0, 0, 4, 4), src);
    EXPECT_EQ(dst.Pixel(1, 1), clRed);
    EXPECT_EQ(dst.Pixel(3, 3), clBlack);
    EXPECT_EQ(dst.Pixel(2, 1), clWhite);
}

TEST_F(GraphicsTest, BmpFilesRoundTripAndBadOnesAreRefusedByName)
{
    TBitmap b(5, 3);
    b.Canvas.SetPixel(0, 0, RGB(1, 2, 3));
    b.Canvas.SetPixel(4, 2, RGB(250, 128, 7));
    std::string path = (Dir / "eq_peak_peak.bmp").string();
    b.SaveToFile(path);
    TPicture pic;
    int changes = 0;
    pic.OnChange = [&] { ++changes; };
    pic.LoadFromFile(path);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(pic.Width(), 5);
    ASSERT_EQ(pic.Height(), 3);
    EXPECT_EQ(pic.Bitmap().Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(pic.Bitmap().Pixel(4, 2), RGB(250, 128, 7));
    EXPECT_EQ(pic.Bitmap().Pixel(2, 1), clWhite);

    // An 8-bit file with a palette, top-down.
    std::vector<uint8_t> f(54 + 8 + 4, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put(10, 62, 4);
    put(14, 40, 4);
    put(18, 2, 4);
    put(22, uint32_t(-1), 4);
    put(26, 1, 2);
    put(28, 8, 2);
    put(46, 2, 4);
    put(54, 0x0000FF, 4); // palette 0: blue (stored B G R 0)
    put(58, 0xFF0000, 4); // palette 1: red
    f[62] = 1;
    f[63] = 0;
    std::string p8 = (Dir / "pal.bmp").string();
    std::ofstream(p8, std::ios::binary).write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
    TBitmap eight;
    eight.LoadFromFile(p8);
    EXPECT_EQ(eight.Pixel(0, 0), clRed);
    EXPECT_EQ(eight.Pixel(1, 0), clBlue);

    // Truncated pixel data, a missing file and an unknown extension: errors that name the file.
    f.resize(61);
    std::ofstream(p8, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
    try {
        eight.LoadFromFile(p8);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message.find("pal.bmp"), std::string::npos);
    }
    EXPECT_EQ(eight.Width(), 2); // the old picture stays
    try {
        pic.LoadFromFile((Dir / "alg" / "alg_88.jpg").string());
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message.find("alg_88.jpg"), std::string::npos);
    }
    EXPECT_THROW(pic.LoadFromFile((Dir / "x.gif").string()), EInvalidGraphic);
}

TEST_F(GraphicsTest, JpegGoesThroughTheInstalledDecoder)
{
    std::string path = (Dir / "alg_1.jpg").string();
    std::ofstream(path, std::ios::binary) << "JPEGDATA";
    TJPEGImage jpeg;
    EXPECT_THROW(jpeg.LoadFromFile(path), EInvalidGraphic); // no decoder yet

    TPicture::JpegDecoder = [](const std::vector<uint8_t>& bytes, TBitmap& out, std::string& error) {
        if (bytes.size() != 8) {
            error = "bad data";
            return false;
        }
        out.SetSize(3, 2);
        out.SetPixelRaw(2, 1, clBlue);
        return true;
    };
    TPicture pic;
    pic.LoadFromFile(path);
    EXPECT_EQ(pic.Bitmap().Pixel(2, 1), clBlue);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "BAD";
    try {
        jpeg.LoadFromFile(path);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message.find("alg_1.jpg"), std::string::npos);
        EXPECT_NE(e.Message.find("bad data"), std::string::npos);
    }
}

// A BMP file of `w` x `h` pixels, one bit each.
std::vector<uint8_t> OneBitBmp(uint32_t w, uint32_t h)
{
    const uint32_t stride = (w + 31) / 32 * 4, offset = 54 + 8;
    std::vector<uint8_t> f(offset + size_t(stride) * h, 0);
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put(10, offset);
    put(14, 40);
    put(18, w);
    put(22, h);
    f[26] = 1;
    f[28] = 1;
    return f;
}

// A BMP is held to the JPEG reader's limits, 8192 pixels a side and 16 M pixels in all: a larger
// one is refused by name. Any failure while a picture loads, the library's or not (memory running
// out), is the picture error naming the file, and the picture loaded before stays.
TEST_F(GraphicsTest, PicturesBeyondTheLimitsAndFailuresOfAnyKindAreRefusedByName)
{
    const std::string path = (Dir / "effect_routing.bmp").string();
    const struct {
        uint32_t w, h;
        bool taken;
    } sizes[] = {{8192, 1, true}, {8193, 1, false}, {1, 8193, false}, {4096, 4096, true}, {4097, 4096, false}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        const std::vector<uint8_t> f = OneBitBmp(size.w, size.h);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
        TBitmap b(2, 1);
        try {
            b.LoadFromFile(path);
            EXPECT_TRUE(size.taken);
            EXPECT_EQ(b.Width(), int(size.w));
        } catch (const EInvalidGraphic& e) {
            EXPECT_FALSE(size.taken) << e.Message;
            EXPECT_EQ(e.Message, "Bitmap image is not valid: \"" + path + "\" (too large: " + std::to_string(size.w) +
                                     " x " + std::to_string(size.h) + " pixels)");
            EXPECT_EQ(b.Width(), 2);
        }
    }

    const std::string jpeg = (Dir / "about_emblem.jpg").string();
    std::ofstream(jpeg, std::ios::binary) << "JPEGDATA";
    TPicture::JpegDecoder = [](const std::vector<uint8_t>&, TBitmap&, std::string&) -> bool { throw std::bad_alloc(); };
    TPicture pic;
    const TBitmap before(3, 2);
    pic.Assign(&before);
    try {
        pic.LoadFromFile(jpeg);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message, "Cannot load the picture \"" + jpeg + "\": Not enough memory (std::bad_alloc).");
    }
    EXPECT_EQ(pic.Width(), 3);
}

struct CountingView : TComponentView {
    int changes = 0;
    bool destroyed = false;
    void Changed() override { ++changes; }
    void Destroyed() override { destroyed = true; }
};

TEST_F(GraphicsTest, ImageCanvasDrawsIntoItsPictureAndTellsTheView)
{
    auto* image = new TImage(Form);
    image->SetParent(Form);
    image->SetBounds(0, 0, 260, 232);
    CountingView view;
    image->View = &view;
    TCanvas& c = image->Canvas(); // an empty picture gets the image's size
    EXPECT_EQ(image->Picture.Width(), 260);
    EXPECT_EQ(image->Picture.Height(), 232);
    int before = view.changes;
    c.Brush.Color = clBlack;
    c.FillRect(Rect(0, 0, 260, 232));
    EXPECT_GT(view.changes, before);
    EXPECT_EQ(image->Picture.Bitmap().Pixel(259, 231), clBlack);

    TBitmap other(4, 4);
    image->Picture.Assign(&other);
    EXPECT_EQ(image->Picture.Width(), 4);
    delete image;
    EXPECT_TRUE(view.destroyed);
}

TEST_F(GraphicsTest, FormCanvasIsRepaintedWithItsColourThenOnPaint)
{
    Form->Color = clWhite;
    Form->OnPaint = [&](TObject*) {
        Form->Canvas().Brush.Color = clBlack;
        Form->Canvas().FillRect(Rect(0, 1, 780, 101));
    };
    Form->Repaint();
    EXPECT_EQ(Form->CanvasBitmap().Pixel(0, 0), clWhite);
    EXPECT_EQ(Form->CanvasBitmap().Pixel(10, 50), clBlack);
    EXPECT_EQ(Form->CanvasBitmap().Width(), 400);
}

} // namespace
