// A small RGB drawing surface for the pictures the build generates.
//
// Drawing happens on a supersampled grid (ss x ss samples per pixel) and is averaged down by
// Resolve(), which gives anti-aliased lines and text. Coordinates are in output pixels and may
// be fractional; a rectangle from x 10 to x 12 covers exactly pixels 10 and 11, so shapes on
// whole-pixel edges stay crisp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace picgen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Point {
    double x = 0, y = 0;
};

// Finished picture: width x height pixels, RGB, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Rgb At(int x, int y) const;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb background, int supersample = 4);

    int Width() const { return width_; }
    int Height() const { return height_; }

    void FillRect(double x0, double y0, double x1, double y1, Rgb c);
    // Border of thickness t drawn inside the rectangle.
    void FrameRect(double x0, double y0, double x1, double y1, double t, Rgb c);
    // Straight stroke of thickness t with round ends.
    void Line(Point a, Point b, double t, Rgb c);
    void Polyline(const std::vector<Point>& pts, double t, Rgb c);
    void FillTriangle(Point a, Point b, Point c, Rgb col);
    // Line from a to b ending in a filled head of the given length whose tip is b.
    void Arrow(Point a, Point b, double t, double head, Rgb c);
    void FillCircle(Point centre, double r, Rgb c);
    // Ring of radius r (to the middle of the stroke); angles in degrees, 0 = right, 90 = down.
    void Arc(Point centre, double r, double fromDeg, double toDeg, double t, Rgb c);

    // Text in the built-in 5 x 7 font; each font pixel becomes a scale x scale square.
    // (x, y) is the top left of the first character. Unknown characters draw as blanks. Bold
    // widens every vertical stroke, which keeps small text legible when the picture is shrunk.
    void Text(double x, double y, std::string_view text, double scale, Rgb c, bool bold = false);
    static double TextWidth(std::string_view text, double scale);
    static double TextHeight(double scale) { return 7 * scale; }
    // Text centred on (cx, cy).
    void TextCentred(double cx, double cy, std::string_view text, double scale, Rgb c, bool bold = false);

    Image Resolve() const;

private:
    template <typename Inside>
    void Cover(double x0, double y0, double x1, double y1, Inside inside, Rgb c);

    int width_, height_, ss_;
    std::vector<Rgb> samples_;
};

// Rows of one font character: 7 rows, bit 4 is the leftmost of 5 columns; nullptr if unknown.
const std::uint8_t* FontGlyph(char ch);

} // namespace picgen
