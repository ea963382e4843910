// The four envelope pictures. Each is drawn whole, from what the page shows, on a bitmap of its
// own that is then copied onto the picture in one step.
#include "voice/VoicePage.h"

#include <algorithm>
#include <cstdlib>

namespace {

using P = VcPair;

constexpr TColor Background = RGB(0, 0, 0);
constexpr TColor Axes = RGB(0, 0, 255);
constexpr TColor Curve = RGB(255, 255, 0);
constexpr TColor Dotted = RGB(255, 255, 255);
constexpr TColor KeyOff = RGB(0, 255, 0);

// The number a value box shows. A box holding no number yet (a lone sign while the person types)
// counts as its slider's value, so a graph drawn meanwhile stays whole.
int Shown(const TValuePair& pair)
{
    const std::string& t = pair.Edit->Text();
    const bool number = !t.empty() && t.find_first_not_of("+-") != std::string::npos;
    const int v =
        number ? ParseInteger(t) : ShownValue(pair.PairForm().Form, pair.PairForm().Centre, pair.Bar->Position());
    return std::clamp(v, -999, 999);
}

// A time T takes T x 4 / 5 pixels on the envelopes with a key-off.
int TimeWidth(int t) { return std::max(t, 0) * 4 / 5; }

class TGraphPainter {
public:
    TGraphPainter(int width, int height) : Bitmap(width, height)
    {
        TCanvas& c = Bitmap.Canvas;
        c.Brush.Color = Background;
        c.Brush.Style = bsSolid;
        c.FillRect(Rect(0, 0, width, height));
        c.Pen.Color = Axes;
        c.Pen.Width = 3;
        c.Pen.Style = psSolid;
    }
    void Axis(TPoint a, TPoint b) { Line(a, b); }
    void CurveThrough(const std::vector<TPoint>& points)
    {
        Bitmap.Canvas.Pen.Color = Curve;
        Bitmap.Canvas.Polyline(points);
    }
    void DottedLine(TPoint a, TPoint b)
    {
        TPen& pen = Bitmap.Canvas.Pen;
        pen.Color = Dotted;
        pen.Width = 1;
        pen.Style = psDot;
        Line(a, b);
    }
    void KeyOffLine(TPoint a, TPoint b)
    {
        TPen& pen = Bitmap.Canvas.Pen;
        pen.Color = KeyOff;
        pen.Style = psSolid;
        Line(a, b);
    }
    void CopyTo(TImage* image) { image->Canvas().Draw(0, 0, Bitmap); }

private:
    void Line(TPoint a, TPoint b)
    {
        Bitmap.Canvas.MoveTo(a.X, a.Y);
        Bitmap.Canvas.LineTo(b.X, b.Y);
    }
    TBitmap Bitmap;
};

} // namespace

void TVoicePage::DrawFilterEGGraph()
{
    auto shown = [this](VcPair id) { return Shown(Pair(id)); };
    const int l[5] = {0, shown(P::Vc_FilterEGLv1), shown(P::Vc_FilterEGLv2), shown(P::Vc_FilterEGLv3),
                      shown(P::Vc_FilterEGLv4)};
    const int depth = shown(P::Vc_FilterEGDepth);
    const int x1 = 4 + TimeWidth(shown(P::Vc_FilterEGTime1));
    const int x2 = x1 + TimeWidth(shown(P::Vc_FilterEGTime2));
    const int x3 = x2 + TimeWidth(shown(P::Vc_FilterEGTime3));
    const int xs = x3 + 25;
    const int x4 = xs + TimeWidth(shown(P::Vc_FilterEGTime4));
    // A level lies |L| + |D| from the base line, above it when level and depth agree in sign: a
    // negative depth turns the curve over, a depth of 0 flattens it.
    int y[5];
    for (int k = 1; k <= 4; ++k) {
        const int away = std::abs(l[k]) + std::abs(depth);
        y[k] = l[k] == 0 || depth == 0 ? 114 : (l[k] > 0) == (depth > 0) ? 114 - away : 114 + away;
    }
    TGraphPainter g(Vc_FilterEGGraph->Width(), Vc_FilterEGGraph->Height());
    g.Axis({0, 114}, {272, 114});
    g.Axis({3, 0}, {3, 228});
    g.CurveThrough({{4, y[4]}, {x1, y[1]}, {x2, y[2]}, {x3, y[3]}, {xs, y[3]}, {x4, y[4]}});
    g.DottedLine({x1, y[1]}, {x1, 114});
    g.DottedLine({x2, y[2]}, {x2, 114});
    g.DottedLine({x3, y[3]}, {x3, 114});
    g.DottedLine({x4, y[4]}, {x4, 114});
    g.KeyOffLine({xs, y[3]}, {xs, 114});
    g.CopyTo(Vc_FilterEGGraph);
}

void TVoicePage::DrawPitchEGGraph()
{
    auto shown = [this](VcPair id) { return Shown(Pair(id)); };
    const int y[5] = {50 - shown(P::Vc_PitchEGLv0), 50 - shown(P::Vc_PitchEGLv1), 50 - shown(P::Vc_PitchEGLv2),
                      50 - shown(P::Vc_PitchEGLv3), 50 - shown(P::Vc_PitchEGLv4)};
    const int x1 = 4 + TimeWidth(shown(P::Vc_PitchEGTime1));
    const int x2 = x1 + TimeWidth(shown(P::Vc_PitchEGTime2));
    const int x3 = x2 + TimeWidth(shown(P::Vc_PitchEGTime3));
    const int xs = x3 + 25;
    const int x4 = xs + TimeWidth(shown(P::Vc_PitchEGTime4));
    const int x[5] = {4, x1, x2, x3, x4};
    TGraphPainter g(Vc_PitchEGGraph->Width(), Vc_PitchEGGraph->Height());
    g.Axis({0, 50}, {272, 50});
    g.Axis({3, 0}, {3, 100});
    g.CurveThrough({{4, y[0]}, {x1, y[1]}, {x2, y[2]}, {x3, y[3]}, {xs, y[3]}, {x4, y[4]}});
    for (int k = 1; k <= 4; ++k) g.DottedLine({x[k], y[k]}, {x[k], 50});
    g.KeyOffLine({xs, y[3]}, {xs, 50});
    g.CopyTo(Vc_PitchEGGraph);
}

void TVoicePage::DrawOperatorEGGraph()
{
    auto shown = [this](VcPair id) { return Shown(Pair(id)); };
    const int xh = 4 + TimeWidth(shown(P::Vc_OpEGHold));
    const int x1 = xh + TimeWidth(shown(P::Vc_OpEGTime1));
    const int x2 = x1 + TimeWidth(shown(P::Vc_OpEGTime2));
    const int x3 = x2 + TimeWidth(shown(P::Vc_OpEGTime3));
    const int xs = x3 + 25;
    const int x4 = xs + TimeWidth(shown(P::Vc_OpEGTime4));
    const int y[5] = {0, 100 - shown(P::Vc_OpEGLv1), 100 - shown(P::Vc_OpEGLv2), 100 - shown(P::Vc_OpEGLv3),
                      100 - shown(P::Vc_OpEGLv4)};
    const int x[5] = {xh, x1, x2, x3, x4};
    TGraphPainter g(Vc_OpEGGraph->Width(), Vc_OpEGGraph->Height());
    g.Axis({0, 101}, {265, 101});
    g.Axis({3, 0}, {3, 105});
    g.CurveThrough({{4, y[4]}, {xh, y[4]}, {x1, y[1]}, {x2, y[2]}, {x3, y[3]}, {xs, y[3]}, {x4, y[4]}, {265, y[4]}});
    g.DottedLine({xh, y[4]}, {xh, 100});
    for (int k = 1; k <= 4; ++k) g.DottedLine({x[k], y[k]}, {x[k], 100});
    g.KeyOffLine({xs, y[3]}, {xs, 100});
    g.CopyTo(Vc_OpEGGraph);
}

void TVoicePage::DrawOperatorFreqEGGraph()
{
    const int w = Vc_OpFrqEGGraph->Width(), h = Vc_OpFrqEGGraph->Height();
    const int yi = (100 - Bar(VcPair::Vc_OpFrqEGInitLvl)->Position()) * 9 / 10;
    const int ya = (100 - Bar(VcPair::Vc_OpFrqEGAtakLvl)->Position()) * 9 / 10;
    const int xa = Bar(VcPair::Vc_OpFrqEGAtakTime)->Position() * 9 / 10 + 3;
    const int xd = Bar(VcPair::Vc_OpFrqEGDecayTime)->Position() * 9 / 10 + 3;
    TGraphPainter g(w, h);
    g.Axis({3, 45}, {w, 45});
    g.Axis({3, 0}, {3, h});
    g.CurveThrough({{3, yi}, {xa, ya}, {xa + xd, 45}, {w, 45}});
    g.DottedLine({xa, ya}, {xa, 45});
    g.CopyTo(Vc_OpFrqEGGraph);
}
