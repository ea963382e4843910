// Raster graphics in plain C++: bitmaps of TColor pixels, a canvas with pen and brush that draws
// into them, pictures loaded by file extension (BMP read here, JPEG through a decoder that the
// program installs, so this library never needs libjpeg), and fonts.
//
// Rules kept here:
// - Pixels are stored as 0x00BBGGRR (TColor) and can be read back exactly with Pixels(x, y);
//   drawing outside the bitmap is clipped silently, reading outside gives clNone.
// - Rectangles follow the Windows convention: Right and Bottom are exclusive (FillRect(0,0,10,10)
//   paints 10 x 10 pixels); LineTo does not paint the end point.
// - TBitmap::OnChange runs after every drawing operation, so an image showing it can repaint.
// - TPicture::LoadFromFile picks the format by extension (.bmp, .jpg, .jpeg); a missing file
//   (or anything but a regular file: a folder, a pipe, a device) raises EFOpenError naming it,
//   a bad, unknown or too large picture (platform/PictureLimits.h), or any other failure while
//   it loads (memory running out), raises EInvalidGraphic naming it.
#pragma once

#include "ui/Classes.h"

#include <memory>
#include <string>
#include <vector>

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Plain font data. A control's view reads it when the control reports a change; change a shown
// control's font and then call its Invalidate().
struct TFont {
    std::string Name = "Tahoma";
    int Size = 8; // points
    TColor Color = clWindowText;
    uint8_t Style = 0; // TFontStyle bits
    bool operator==(const TFont&) const = default;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TBrushStyle { bsSolid, bsClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};
struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

class TBitmap;

class TCanvas {
public:
    explicit TCanvas(TBitmap* target) : FTarget(target) {}

    TPen Pen;
    TBrush Brush;
    TFont Font;

    TPoint PenPos() const { return FPenPos; }
    void MoveTo(int x, int y) { FPenPos = {x, y}; }
    // A line with the pen from the pen position to (x, y), end point excluded.
    void LineTo(int x, int y);
    // Connected lines through the points (end point of the last segment excluded).
    void Polyline(const std::vector<TPoint>& pts);
    // Brush fill, no outline.
    void FillRect(const TRect& r);
    // Pen outline and brush fill.
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // A one-pixel outline in the brush colour.
    void FrameRect(const TRect& r);
    void Ellipse(int l, int t, int r, int b);
    // Text with the font; the brush fills the text box unless its style is bsClear. Drawn by the
    // installed text renderer (the Qt views install one); with none, only the box is filled.
    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    // Copies a whole bitmap with its top-left corner at (x, y).
    void Draw(int x, int y, const TBitmap& src);
    // Scales src into r (nearest pixel).
    void StretchDraw(const TRect& r, const TBitmap& src);

    TColor Pixels(int x, int y) const;
    void SetPixel(int x, int y, TColor c);

    // Draws text into a bitmap; installed by whoever can render fonts. Returns the text's size.
    using TTextRenderer =
        std::function<TPoint(TBitmap* target, int x, int y, const std::string& text, const TFont& font)>;
    static inline TTextRenderer TextRenderer;

private:
    void PenDot(int x, int y);
    void Modified();
    TBitmap* FTarget;
    TPoint FPenPos;
};

// A picture in memory: Width x Height pixels, all clWhite when created or resized.
class TBitmap {
public:
    TBitmap() : Canvas(this) {}
    TBitmap(int w, int h) : Canvas(this) { SetSize(w, h); }
    TBitmap(const TBitmap& o);
    TBitmap& operator=(const TBitmap& o);
    virtual ~TBitmap() = default;

    TCanvas Canvas;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int w) { SetSize(w, FHeight); }
    void SetHeight(int h) { SetSize(FWidth, h); }
    void SetSize(int w, int h);
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    void Assign(const TBitmap& o) { *this = o; }

    TColor Pixel(int x, int y) const;
    void SetPixelRaw(int x, int y, TColor c); // no OnChange: for bulk work, call Modified() after
    const std::vector<TColor>& Data() const { return FPixels; }
    std::vector<TColor>& MutableData() { return FPixels; }

    // Reads a Windows BMP file (1, 4, 8, 24 or 32 bits, uncompressed) within the picture limits.
    virtual void LoadFromFile(const std::string& path);
    void LoadFromBmpBytes(const std::vector<uint8_t>& bytes, const std::string& what);
    // Writes a 24-bit BMP file; raises EFOpenError when the file cannot be written.
    void SaveToFile(const std::string& path) const;

    std::function<void()> OnChange;
    void Modified()
    {
        if (OnChange) OnChange();
    }

private:
    int FWidth = 0, FHeight = 0;
    std::vector<TColor> FPixels;
};

// A JPEG picture, decoded on load into pixels by TPicture::JpegDecoder.
class TJPEGImage : public TBitmap {
public:
    using TBitmap::TBitmap;
    void LoadFromFile(const std::string& path) override;
    void LoadFromBytes(const std::vector<uint8_t>& bytes, const std::string& what);
};

// The picture of an image: one bitmap, loaded by file extension.
class TPicture {
public:
    TPicture();
    // Decodes JPEG bytes into pixels; returns false with a reason on failure.
    using TJpegDecoder = std::function<bool(const std::vector<uint8_t>& bytes, TBitmap& out, std::string& error)>;
    static inline TJpegDecoder JpegDecoder;

    void LoadFromFile(const std::string& path);
    void Assign(const TBitmap* src); // nullptr empties the picture
    TBitmap& Bitmap() { return *FBitmap; }
    const TBitmap& Bitmap() const { return *FBitmap; }
    bool Empty() const { return FBitmap->Empty(); }
    int Width() const { return FBitmap->Width(); }
    int Height() const { return FBitmap->Height(); }

    std::function<void()> OnChange;

private:
    void Hook();
    std::unique_ptr<TBitmap> FBitmap;
};

// Pictures are small; a larger file is not read.
inline constexpr std::size_t MaxPictureFileSize = 64u << 20;

// Reads a whole regular file of at most `maxSize` bytes, never waiting on a pipe or a device;
// raises EFOpenError ("Cannot open file \"path\". <reason>") when it is missing, is not a
// regular file or is too large, EReadError when reading fails.
std::vector<uint8_t> ReadFileBytes(const std::string& path, std::size_t maxSize = MaxPictureFileSize);
