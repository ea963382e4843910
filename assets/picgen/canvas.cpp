#include "assets/picgen/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace picgen {

Rgb Image::At(int x, int y) const
{
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Canvas::Canvas(int width, int height, Rgb background, int supersample)
    : width_(width), height_(height), ss_(std::max(1, supersample)),
      samples_(static_cast<std::size_t>(width) * ss_ * height * ss_, background)
{}

// Paints every sample whose centre lies in the box and satisfies inside(x, y), both in pixels.
template <typename Inside>
void Canvas::Cover(double x0, double y0, double x1, double y1, Inside inside, Rgb c)
{
    const int sw = width_ * ss_, sh = height_ * ss_;
    const int i0 = std::max(0, static_cast<int>(std::floor(x0 * ss_)));
    const int j0 = std::max(0, static_cast<int>(std::floor(y0 * ss_)));
    const int i1 = std::min(sw - 1, static_cast<int>(std::ceil(x1 * ss_)));
    const int j1 = std::min(sh - 1, static_cast<int>(std::ceil(y1 * ss_)));
    for (int j = j0; j <= j1; ++j) {
        const double y = (j + 0.5) / ss_;
        for (int i = i0; i <= i1; ++i) {
            const double x = (i + 0.5) / ss_;
            if (inside(x, y)) samples_[static_cast<std::size_t>(j) * sw + i] = c;
        }
    }
}

void Canvas::FillRect(double x0, double y0, double x1, double y1, Rgb c)
{
    if (x1 < x0) std::swap(x0, x1);
    if (y1 < y0) std::swap(y0, y1);
    Cover(
        x0, y0, x1, y1, [&](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }, c);
}

void Canvas::FrameRect(double x0, double y0, double x1, double y1, double t, Rgb c)
{
    FillRect(x0, y0, x1, y0 + t, c);
    FillRect(x0, y1 - t, x1, y1, c);
    FillRect(x0, y0, x0 + t, y1, c);
    FillRect(x1 - t, y0, x1, y1, c);
}

void Canvas::Line(Point a, Point b, double t, Rgb c)
{
    const double r = t / 2, dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    Cover(
        std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r,
        [&](double x, double y) {
            double u = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0;
            u = std::clamp(u, 0.0, 1.0);
            const double px = a.x + u * dx - x, py = a.y + u * dy - y;
            return px * px + py * py <= r * r;
        },
        c);
}

void Canvas::Polyline(const std::vector<Point>& pts, double t, Rgb c)
{
    for (std::size_t i = 1; i < pts.size(); ++i) Line(pts[i - 1], pts[i], t, c);
}

void Canvas::FillTriangle(Point a, Point b, Point c, Rgb col)
{
    auto edge = [](Point p, Point q, double x, double y) { return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x); };
    Cover(
        std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}), std::max({a.x, b.x, c.x}), std::max({a.y, b.y, c.y}),
        [&](double x, double y) {
            const double e0 = edge(a, b, x, y), e1 = edge(b, c, x, y), e2 = edge(c, a, x, y);
            return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
        },
        col);
}

void Canvas::Arrow(Point a, Point b, double t, double head, Rgb c)
{
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len <= 0) return;
    const double ux = dx / len, uy = dy / len;
    const double h = std::min(head, len);
    const Point base{b.x - ux * h, b.y - uy * h};
    Line(a, base, t, c);
    const double w = h * 0.6;
    FillTriangle(b, {base.x - uy * w, base.y + ux * w}, {base.x + uy * w, base.y - ux * w}, c);
}

void Canvas::FillCircle(Point centre, double r, Rgb c)
{
    Cover(
        centre.x - r, centre.y - r, centre.x + r, centre.y + r,
        [&](double x, double y) {
            const double dx = x - centre.x, dy = y - centre.y;
            return dx * dx + dy * dy <= r * r;
        },
        c);
}

void Canvas::Arc(Point centre, double r, double fromDeg, double toDeg, double t, Rgb c)
{
    const double outer = r + t / 2, inner = std::max(0.0, r - t / 2);
    const double from = std::fmod(std::fmod(fromDeg, 360.0) + 360.0, 360.0);
    const double span = std::clamp(toDeg - fromDeg, 0.0, 360.0);
    Cover(
        centre.x - outer, centre.y - outer, centre.x + outer, centre.y + outer,
        [&](double x, double y) {
            const double dx = x - centre.x, dy = y - centre.y, d2 = dx * dx + dy * dy;
            if (d2 > outer * outer || d2 < inner * inner) return false;
            double a = std::atan2(dy, dx) * 180.0 / std::numbers::pi - from;
            a = std::fmod(a + 720.0, 360.0);
            return a <= span;
        },
        c);
}

void Canvas::Text(double x, double y, std::string_view text, double scale, Rgb c, bool bold)
{
    const double extra = bold ? scale * 0.45 : 0;
    for (char ch : text) {
        if (const std::uint8_t* rows = FontGlyph(ch)) {
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (rows[row] & (0x10 >> col))
                        FillRect(x + col * scale - extra / 2, y + row * scale, x + (col + 1) * scale + extra / 2,
                                 y + (row + 1) * scale, c);
        }
        x += 6 * scale;
    }
}

double Canvas::TextWidth(std::string_view text, double scale)
{
    return text.empty() ? 0 : (6.0 * static_cast<double>(text.size()) - 1) * scale;
}

void Canvas::TextCentred(double cx, double cy, std::string_view text, double scale, Rgb c, bool bold)
{
    // Whole-pixel placement keeps small text crisp.
    Text(std::round(cx - TextWidth(text, scale) / 2), std::round(cy - TextHeight(scale) / 2), text, scale, c, bold);
}

Image Canvas::Resolve() const
{
    Image img{width_, height_, std::vector<std::uint8_t>(static_cast<std::size_t>(width_) * height_ * 3)};
    const int sw = width_ * ss_, n = ss_ * ss_;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            int r = 0, g = 0, b = 0;
            for (int j = 0; j < ss_; ++j)
                for (int i = 0; i < ss_; ++i) {
                    const Rgb& s = samples_[static_cast<std::size_t>(y * ss_ + j) * sw + x * ss_ + i];
                    r += s.r, g += s.g, b += s.b;
                }
            std::uint8_t* p = &img.rgb[(static_cast<std::size_t>(y) * width_ + x) * 3];
            p[0] = static_cast<std::uint8_t>((r + n / 2) / n);
            p[1] = static_cast<std::uint8_t>((g + n / 2) / n);
            p[2] = static_cast<std::uint8_t>((b + n / 2) / n);
        }
    return img;
}

} // namespace picgen
