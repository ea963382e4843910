#include "ui/Graphics.h"

#include "platform/PictureLimits.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>
#include <utility>

// ---- files ----------------------------------------------------------------------------------

std::vector<uint8_t> ReadFileBytes(const std::string& path, std::size_t maxSize)
{
    std::vector<uint8_t> bytes;
    std::string why;
    switch (platform::ReadWholeFile(path, maxSize, bytes, &why)) {
    case platform::ReadResult::Ok: return bytes;
    case platform::ReadResult::Failed: throw EReadError("Cannot read file \"" + path + "\". " + why);
    default:
        // The reasons read as sentences here: "Cannot open file "x". It is a folder."
        if (!why.empty()) why[0] = char(std::toupper(static_cast<unsigned char>(why[0])));
        if (!why.empty() && why.back() != '.') why += '.';
        throw EFOpenError("Cannot open file \"" + path + "\". " + why);
    }
}

namespace {
std::string Extension(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

// Runs the loading of a picture file. A failure that is not the library's (memory running out) is
// raised again as the picture error naming the file, as every other failure to load it is.
template <class Load>
void LoadingPicture(const std::string& path, Load load)
{
    try {
        load();
    } catch (const Exception&) {
        throw;
    } catch (const std::exception& e) {
        throw EInvalidGraphic("Cannot load the picture \"" + path + "\": " + ExceptionText(e));
    }
}

// The dash pattern of a pen style: lengths of on, off, on, off ... in pixels.
const std::vector<int>& DashPattern(TPenStyle s)
{
    static const std::vector<int> solid, dash{6, 2}, dot{1, 1}, dashDot{6, 2, 1, 2}, dashDotDot{6, 2, 1, 2, 1, 2};
    switch (s) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
    }
}
} // namespace

// ---- canvas ---------------------------------------------------------------------------------

void TCanvas::Modified() { FTarget->Modified(); }

TColor TCanvas::Pixels(int x, int y) const { return FTarget->Pixel(x, y); }

void TCanvas::SetPixel(int x, int y, TColor c)
{
    FTarget->SetPixelRaw(x, y, c);
    Modified();
}

void TCanvas::PenDot(int x, int y)
{
    int w = std::max(1, Pen.Width);
    // A wide pen paints a square centred on the line, as a round pen looks at these widths.
    int from = -(w - 1) / 2, to = w / 2;
    for (int dy = from; dy <= to; ++dy)
        for (int dx = from; dx <= to; ++dx) FTarget->SetPixelRaw(x + dx, y + dy, Pen.Color);
}

namespace {

// How far past the bitmap a line is walked pixel by pixel. A line reaching further (a graph drawn
// from a value beyond its range) is first cut to this much of it, so that drawing it takes as long
// as the picture is large, not as long as the line is.
constexpr int64_t LineReach = 4096;

// The part of the line a..b inside `area` (the ends counted in), as the fractions of its length
// where it enters and leaves; none when it misses the area.
std::optional<std::pair<double, double>> CutToArea(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t left,
                                                   int64_t top, int64_t right, int64_t bottom)
{
    double enter = 0, leave = 1;
    const double dx = double(bx - ax), dy = double(by - ay);
    // Each side: the line is inside where p * t <= q.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {double(ax - left), double(right - ax), double(ay - top), double(bottom - ay)};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave) return std::nullopt;
    return std::make_pair(enter, leave);
}

} // namespace

void TCanvas::LineTo(int x, int y)
{
    if (Pen.Style != psClear) {
        // Styled pens are dashed only at width 1, as on Windows; wider ones draw solid.
        const std::vector<int>& pattern = Pen.Width <= 1 ? DashPattern(Pen.Style) : DashPattern(psSolid);
        int period = 0;
        for (int len : pattern) period += len;
        int64_t x0 = FPenPos.X, y0 = FPenPos.Y, x1 = x, y1 = y;
        int step = 0;
        bool paintEnd = false; // the end of a line that was cut is a pixel of the line
        const int64_t left = -LineReach, top = -LineReach, right = FTarget->Width() + LineReach,
                      bottom = FTarget->Height() + LineReach;
        const auto within = [&](int64_t px, int64_t py) {
            return px >= left && px <= right && py >= top && py <= bottom;
        };
        bool draw = true;
        if (!within(x0, y0) || !within(x1, y1)) {
            const auto part = CutToArea(x0, y0, x1, y1, left, top, right, bottom);
            draw = part.has_value();
            if (draw) {
                const auto at = [&](double t, int64_t a, int64_t b) { return a + std::llround(t * double(b - a)); };
                const int64_t sx = at(part->first, x0, x1), sy = at(part->first, y0, y1);
                const int64_t ex = at(part->second, x0, x1), ey = at(part->second, y0, y1);
                // The dash goes on as if the walk had come from the line's start.
                if (period > 0) step = int(std::max(std::abs(sx - x0), std::abs(sy - y0)) % period);
                paintEnd = part->second < 1;
                x0 = sx, y0 = sy, x1 = ex, y1 = ey;
            }
        }
        const int64_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int64_t err = dx + dy;
        const auto dashOn = [&] {
            if (period <= 0) return true;
            int pos = step % period;
            for (size_t i = 0; i < pattern.size(); ++i) {
                if (pos < pattern[i]) return (i % 2) == 0;
                pos -= pattern[i];
            }
            return true;
        };
        while (draw && !(x0 == x1 && y0 == y1)) {
            if (dashOn()) PenDot(int(x0), int(y0));
            ++step;
            const int64_t e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
        if (draw && paintEnd && dashOn()) PenDot(int(x0), int(y0));
        Modified();
    }
    FPenPos = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& pts)
{
    if (pts.empty()) return;
    MoveTo(pts[0].X, pts[0].Y);
    for (size_t i = 1; i < pts.size(); ++i) LineTo(pts[i].X, pts[i].Y);
}

void TCanvas::FillRect(const TRect& r)
{
    if (Brush.Style == bsClear) return;
    // Only what lies on the bitmap is painted, however large the rectangle.
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, FTarget->Height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, FTarget->Width()); ++x)
            FTarget->SetPixelRaw(x, y, Brush.Color);
    Modified();
}

void TCanvas::FrameRect(const TRect& r)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    for (int x = r.Left; x < r.Right; ++x) {
        FTarget->SetPixelRaw(x, r.Top, Brush.Color);
        FTarget->SetPixelRaw(x, r.Bottom - 1, Brush.Color);
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        FTarget->SetPixelRaw(r.Left, y, Brush.Color);
        FTarget->SetPixelRaw(r.Right - 1, y, Brush.Color);
    }
    Modified();
}

void TCanvas::Rectangle(int l, int t, int r, int b)
{
    if (r <= l || b <= t) return;
    FillRect(TRect{l + 1, t + 1, r - 1, b - 1});
    TPoint keep = FPenPos;
    MoveTo(l, t);
    LineTo(r - 1, t);
    LineTo(r - 1, b - 1);
    LineTo(l, b - 1);
    LineTo(l, t);
    FPenPos = keep;
}

void TCanvas::Ellipse(int l, int t, int r, int b)
{
    if (r <= l || b <= t) return;
    double cx = (l + r) / 2.0, cy = (t + b) / 2.0, rx = (r - l) / 2.0, ry = (b - t) / 2.0;
    auto inside = [&](int x, int y) {
        if (x < l || x >= r || y < t || y >= b) return false;
        double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
        return u * u + v * v <= 1.0;
    };
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) {
            if (!inside(x, y)) continue;
            bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge && Pen.Style != psClear)
                FTarget->SetPixelRaw(x, y, Pen.Color);
            else if (Brush.Style != bsClear)
                FTarget->SetPixelRaw(x, y, Brush.Color);
        }
    Modified();
}

int TCanvas::TextWidth(const std::string& text) const
{
    // Without a renderer: an average character cell of the font's size.
    return Utf8Length(text) * std::max(1, Font.Size * 3 / 4 + 1);
}

int TCanvas::TextHeight(const std::string&) const { return std::max(1, Font.Size * 4 / 3 + 3); }

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    if (Brush.Style != bsClear) {
        TRect box{x, y, x + TextWidth(text), y + TextHeight(text)};
        for (int yy = box.Top; yy < box.Bottom; ++yy)
            for (int xx = box.Left; xx < box.Right; ++xx) FTarget->SetPixelRaw(xx, yy, Brush.Color);
    }
    TPoint size{TextWidth(text), 0};
    if (TextRenderer) size = TextRenderer(FTarget, x, y, text, Font);
    FPenPos = {x + size.X, y};
    Modified();
}

void TCanvas::Draw(int x, int y, const TBitmap& src)
{
    if (&src == FTarget) return;
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx) FTarget->SetPixelRaw(x + sx, y + sy, src.Pixel(sx, sy));
    Modified();
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& src)
{
    if (&src == FTarget || src.Empty() || r.Width() <= 0 || r.Height() <= 0) return;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            FTarget->SetPixelRaw(r.Left + x, r.Top + y,
                                 src.Pixel(x * src.Width() / r.Width(), y * src.Height() / r.Height()));
    Modified();
}

// ---- bitmap ---------------------------------------------------------------------------------

TBitmap::TBitmap(const TBitmap& o) : Canvas(this), FWidth(o.FWidth), FHeight(o.FHeight), FPixels(o.FPixels)
{
    Canvas.Pen = o.Canvas.Pen;
    Canvas.Brush = o.Canvas.Brush;
    Canvas.Font = o.Canvas.Font;
}

TBitmap& TBitmap::operator=(const TBitmap& o)
{
    if (this != &o) {
        FWidth = o.FWidth;
        FHeight = o.FHeight;
        FPixels = o.FPixels;
        Modified();
    }
    return *this;
}

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == FWidth && h == FHeight) return;
    std::vector<TColor> px(size_t(w) * size_t(h), clWhite);
    for (int y = 0; y < std::min(h, FHeight); ++y)
        for (int x = 0; x < std::min(w, FWidth); ++x) px[size_t(y) * w + x] = FPixels[size_t(y) * FWidth + x];
    FPixels = std::move(px);
    FWidth = w;
    FHeight = h;
    Modified();
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return clNone;
    return FPixels[size_t(y) * FWidth + x];
}

void TBitmap::SetPixelRaw(int x, int y, TColor c)
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
    FPixels[size_t(y) * FWidth + x] = c & 0xFFFFFFu;
}

void TBitmap::LoadFromFile(const std::string& path)
{
    LoadingPicture(path, [&] { LoadFromBmpBytes(ReadFileBytes(path), path); });
}

void TBitmap::LoadFromBmpBytes(const std::vector<uint8_t>& b, const std::string& what)
{
    auto bad = [&](const std::string& why) {
        return EInvalidGraphic("Bitmap image is not valid: \"" + what + "\" (" + why + ")");
    };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw bad("no BMP header");
    uint32_t offBits = Le32(b, 10);
    uint32_t hdrSize = Le32(b, 14);
    if (hdrSize < 40 || 14 + size_t(hdrSize) > b.size()) throw bad("unknown header");
    int32_t w = int32_t(Le32(b, 18));
    int32_t hRaw = int32_t(Le32(b, 22));
    uint16_t bpp = Le16(b, 28);
    uint32_t compression = Le32(b, 30);
    uint32_t clrUsed = Le32(b, 46);
    bool topDown = hRaw < 0;
    int64_t h = topDown ? -int64_t(hRaw) : hRaw;
    if (w <= 0 || h <= 0) throw bad("bad size");
    if (!platform::PictureSizeAllowed(uint64_t(w), uint64_t(h)))
        throw bad("too large: " + std::to_string(w) + " x " + std::to_string(h) + " pixels");
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32)) throw bad("unsupported depth");
    if (!(compression == 0 || (compression == 3 && bpp == 32))) throw bad("compressed");
    std::vector<TColor> palette;
    if (bpp <= 8) {
        size_t n = clrUsed ? clrUsed : (size_t(1) << bpp);
        if (n > 256) throw bad("bad palette");
        size_t at = 14 + hdrSize;
        if (at + n * 4 > b.size()) throw bad("truncated palette");
        for (size_t i = 0; i < n; ++i) palette.push_back(RGB(b[at + i * 4 + 2], b[at + i * 4 + 1], b[at + i * 4]));
    }
    size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
    if (offBits > b.size() || stride * size_t(h) > b.size() - offBits) throw bad("truncated pixels");
    TBitmap out(w, int(h));
    for (int64_t row = 0; row < h; ++row) {
        const uint8_t* p = b.data() + offBits + stride * size_t(row);
        int y = int(topDown ? row : h - 1 - row);
        for (int x = 0; x < w; ++x) {
            TColor c;
            if (bpp == 24 || bpp == 32) {
                const uint8_t* q = p + size_t(x) * (bpp / 8);
                c = RGB(q[2], q[1], q[0]);
            } else {
                size_t bit = size_t(x) * bpp;
                unsigned v = (p[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                c = v < palette.size() ? palette[v] : clBlack;
            }
            out.SetPixelRaw(x, y, c);
        }
    }
    FWidth = out.FWidth;
    FHeight = out.FHeight;
    FPixels = std::move(out.FPixels);
    Modified();
}

void TBitmap::SaveToFile(const std::string& path) const
{
    size_t stride = ((size_t(FWidth) * 24 + 31) / 32) * 4;
    size_t dataSize = stride * size_t(FHeight);
    std::vector<uint8_t> b(54 + dataSize, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, uint32_t(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(FWidth));
    put32(22, uint32_t(FHeight));
    b[26] = 1;
    b[28] = 24;
    put32(34, uint32_t(dataSize));
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* p = b.data() + 54 + stride * size_t(FHeight - 1 - y);
        for (int x = 0; x < FWidth; ++x) {
            TColor c = Pixel(x, y);
            p[x * 3] = uint8_t(GetBValue(c));
            p[x * 3 + 1] = uint8_t(GetGValue(c));
            p[x * 3 + 2] = uint8_t(GetRValue(c));
        }
    }
    std::ofstream out(path, std::ios::binary);
    if (!out) throw EFOpenError("Cannot create file \"" + path + "\". " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    if (!out) throw EFOpenError("Cannot write file \"" + path + "\"");
}

// ---- JPEG and pictures ----------------------------------------------------------------------

void TJPEGImage::LoadFromFile(const std::string& path)
{
    LoadingPicture(path, [&] { LoadFromBytes(ReadFileBytes(path), path); });
}

void TJPEGImage::LoadFromBytes(const std::vector<uint8_t>& bytes, const std::string& what)
{
    if (!TPicture::JpegDecoder) throw EInvalidGraphic("No JPEG decoder for \"" + what + "\"");
    TBitmap decoded;
    std::string error;
    if (!TPicture::JpegDecoder(bytes, decoded, error) || decoded.Empty())
        throw EInvalidGraphic("JPEG error in \"" + what + "\"" + (error.empty() ? "" : ": " + error));
    TBitmap::operator=(decoded);
}

TPicture::TPicture() : FBitmap(std::make_unique<TBitmap>()) { Hook(); }

void TPicture::Hook()
{
    FBitmap->OnChange = [this] {
        if (OnChange) OnChange();
    };
}

void TPicture::LoadFromFile(const std::string& path)
{
    std::string ext = Extension(path);
    std::unique_ptr<TBitmap> loaded;
    if (ext == "bmp") {
        loaded = std::make_unique<TBitmap>();
    } else if (ext == "jpg" || ext == "jpeg") {
        loaded = std::make_unique<TJPEGImage>();
    } else {
        throw EInvalidGraphic("Unknown picture file extension (." + ext + ") of \"" + path + "\"");
    }
    LoadingPicture(path, [&] {
        loaded->LoadFromFile(path);
        FBitmap = std::make_unique<TBitmap>(*loaded);
    });
    Hook();
    if (OnChange) OnChange();
}

void TPicture::Assign(const TBitmap* src)
{
    FBitmap = src ? std::make_unique<TBitmap>(*src) : std::make_unique<TBitmap>();
    Hook();
    if (OnChange) OnChange();
}
