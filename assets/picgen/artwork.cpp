#include "assets/picgen/artwork.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace picgen {
namespace {

// Colours of the effect sheet's diagrams: signal flow on black.
constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kGreen{0, 190, 0}, kCyan{0, 220, 230}, kYellow{255, 255, 0};

// 2-pixel signal lines centred on a pixel boundary, as a width-2 pen draws them.
void HLine(Canvas& c, double x0, double x1, double y) { c.FillRect(x0, y - 1, x1, y + 1, kYellow); }
void VLine(Canvas& c, double x, double y0, double y1) { c.FillRect(x - 1, y0, x + 1, y1, kYellow); }
void Dot(Canvas& c, double x, double y) { c.FillCircle({x, y}, 2.6, kYellow); }

void Block(Canvas& c, double x0, double y0, double x1, double y1, const char* caption)
{
    c.FillRect(x0, y0, x1, y1, kBlack);
    c.FrameRect(x0, y0, x1, y1, 1, kGreen);
    if (caption) c.TextCentred(std::round((x0 + x1) / 2), std::round((y0 + y1) / 2), caption, 1, kCyan);
}

// --- EQ -----------------------------------------------------------------------------------

enum class Band { LowShelf, HighShelf, Peak };

// Magnitude in dB of a second-order equalizer section (the usual audio cookbook forms).
double ResponseDb(Band band, double f0, double gainDb, double q, double f)
{
    const double fs = 48000, A = std::pow(10.0, gainDb / 40), w0 = 2 * std::numbers::pi * f0 / fs;
    const double cw = std::cos(w0), sw = std::sin(w0), sa = std::sqrt(A);
    double b0, b1, b2, a0, a1, a2;
    if (band == Band::Peak) {
        const double alpha = sw / (2 * q);
        b0 = 1 + alpha * A, b1 = -2 * cw, b2 = 1 - alpha * A;
        a0 = 1 + alpha / A, a1 = -2 * cw, a2 = 1 - alpha / A;
    } else {
        const double alpha = sw / 2 * std::sqrt(2.0);
        const double s = band == Band::LowShelf ? 1 : -1;
        b0 = A * ((A + 1) - s * (A - 1) * cw + 2 * sa * alpha);
        b1 = s * 2 * A * ((A - 1) - s * (A + 1) * cw);
        b2 = A * ((A + 1) - s * (A - 1) * cw - 2 * sa * alpha);
        a0 = (A + 1) + s * (A - 1) * cw + 2 * sa * alpha;
        a1 = -s * 2 * ((A - 1) + s * (A + 1) * cw);
        a2 = (A + 1) + s * (A - 1) * cw - 2 * sa * alpha;
    }
    const std::complex<double> z1 = std::polar(1.0, -2 * std::numbers::pi * f / fs), z2 = z1 * z1;
    return 20 * std::log10(std::abs((b0 + b1 * z1 + b2 * z2) / (a0 + a1 * z1 + a2 * z2)));
}

// --- individual output --------------------------------------------------------------------

// The insertion box with its two tap paths' ends, at (ox, oy). The page paints the two paths
// themselves: left and top (pre ins), bottom and right (post ins).
void DrawIndividualContent(Canvas& c, double ox, double oy)
{
    c.FillRect(ox + 9, oy, ox + 10, oy + 41, kWhite); // frame of the insertion area
    c.FillRect(ox + 9, oy + 40, ox + 90, oy + 41, kWhite);
    Block(c, ox + 18, oy + 8, ox + 79, oy + 35, "INS");
    c.FillRect(ox + 47, oy, ox + 49, oy + 8, kYellow);       // insertion input from above
    c.FillRect(ox + 79, oy + 21, ox + 90, oy + 23, kYellow); // insertion output to the right
    c.FillRect(ox + 1, oy + 75, ox + 2, oy + 81, kYellow);   // both taps lead down to the output
    c.FillRect(ox + 1, oy + 78, ox + 6, oy + 79, kYellow);
    for (Point p : {Point{1.5, 74.5}, Point{48.5, 1.5}, Point{6.5, 78.5}, Point{87.5, 23.5}})
        c.FillCircle({ox + p.x, oy + p.y}, 2, kYellow);
}

// --- notice -------------------------------------------------------------------------------

constexpr Rgb kLcd{178, 204, 96}, kLcdInk{30, 40, 20}, kPanel{58, 60, 66}, kStepBlue{30, 80, 170};

// A display showing lines of text; the line at `selected` is shown inverted.
void Lcd(Canvas& c, double x0, double y0, double x1, const std::vector<const char*>& lines, int selected)
{
    const double y1 = y0 + 6 + 10.0 * static_cast<double>(lines.size());
    c.FillRect(x0 - 2, y0 - 2, x1 + 2, y1 + 2, kPanel);
    c.FillRect(x0, y0, x1, y1, kLcd);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double ty = y0 + 4 + 10.0 * static_cast<double>(i);
        if (static_cast<int>(i) == selected) {
            c.FillRect(x0 + 2, ty - 2, x1 - 2, ty + 9, kLcdInk);
            c.Text(x0 + 5, ty, lines[i], 1, kLcd);
        } else {
            c.Text(x0 + 5, ty, lines[i], 1, kLcdInk);
        }
    }
}

void Button(Canvas& c, double x0, double y0, double x1, double y1, const char* caption, bool lit)
{
    c.FillRect(x0, y0, x1, y1, lit ? Rgb{250, 190, 40} : Rgb{200, 200, 205});
    c.FrameRect(x0, y0, x1, y1, 1, Rgb{40, 40, 45});
    if (caption) c.TextCentred(std::round((x0 + x1) / 2), std::round((y0 + y1) / 2), caption, 1, Rgb{20, 20, 20});
}

// A red arrow pointing at (x, y) from below right.
void Pointer(Canvas& c, double x, double y) { c.Arrow({x + 14, y + 14}, {x + 1, y + 1}, 2.2, 7, Rgb{210, 30, 30}); }

void EnterWithPointer(Canvas& c, double x0, double y0)
{
    Button(c, x0, y0, x0 + 36, y0 + 15, "ENTER", true);
    Pointer(c, x0 + 30, y0 + 12);
}

} // namespace

Image DrawEqShape(bool lowPeak, bool highPeak)
{
    Canvas c(kEqWidth, kEqHeight, kBlack);
    const double px0 = 24, px1 = kEqWidth - 5, py0 = 6, py1 = 136, range = 15;
    auto xOf = [&](double f) { return px0 + (px1 - px0) * std::log10(f / 20) / 3; };
    auto yOf = [&](double db) { return py0 + (py1 - py0) * (range - db) / (2 * range); };

    const Rgb minor{0, 48, 0}, major{0, 110, 0}, label{150, 170, 150};
    for (double decade : {10.0, 100.0, 1000.0, 10000.0})
        for (int k = 2; k <= 9; ++k) {
            const double f = decade * k;
            if (f > 20 && f < 20000) c.FillRect(std::round(xOf(f)), py0, std::round(xOf(f)) + 1, py1, minor);
        }
    for (double db : {-12.0, -6.0, 6.0, 12.0})
        c.FillRect(px0, std::round(yOf(db)), px1, std::round(yOf(db)) + 1, minor);
    for (double f : {100.0, 1000.0, 10000.0}) c.FillRect(std::round(xOf(f)), py0, std::round(xOf(f)) + 1, py1, major);
    c.FillRect(px0, std::round(yOf(0)), px1, std::round(yOf(0)) + 1, major);
    c.FrameRect(px0, py0, px1 + 1, py1 + 1, 1, major);

    c.Text(2, std::round(yOf(12)) - 3, "+12", 1, label);
    c.Text(14, std::round(yOf(0)) - 3, "0", 1, label);
    c.Text(2, std::round(yOf(-12)) - 3, "-12", 1, label);
    c.TextCentred(std::round(xOf(100)), 145, "100", 1, label);
    c.TextCentred(std::round(xOf(1000)), 145, "1K", 1, label);
    c.TextCentred(std::round(xOf(10000)), 145, "10K", 1, label);

    // Each band's own response in its colour, and over them the equalizer's whole response, the
    // sum of the two in dB, as a person hears it. The low band sits at 150 Hz, the high band at
    // 5 kHz, both raised by 10 dB with a Q of 1.4 where they peak.
    const Rgb lowInk{0, 220, 255}, highInk{255, 170, 40}, totalInk{255, 255, 255};
    const Band low = lowPeak ? Band::Peak : Band::LowShelf, high = highPeak ? Band::Peak : Band::HighShelf;
    auto curve = [&](auto db, double thickness, Rgb ink) {
        std::vector<Point> pts;
        for (double x = px0; x <= px1; x += 0.5)
            pts.push_back({x, yOf(db(20 * std::pow(10.0, 3 * (x - px0) / (px1 - px0))))});
        c.Polyline(pts, thickness, ink);
    };
    auto lowDb = [&](double f) { return ResponseDb(low, 150, 10, 1.4, f); };
    auto highDb = [&](double f) { return ResponseDb(high, 5000, 10, 1.4, f); };
    curve(lowDb, 1.2, lowInk);
    curve(highDb, 1.2, highInk);
    curve([&](double f) { return lowDb(f) + highDb(f); }, 2.0, totalInk);
    c.Text(px0 + 4, py1 - 11, lowPeak ? "LOW PEAK" : "LOW SHELV", 1, lowInk);
    const char* highName = highPeak ? "HIGH PEAK" : "HIGH SHELV";
    c.Text(px1 - 4 - Canvas::TextWidth(highName, 1), py1 - 11, highName, 1, highInk);
    return c.Resolve();
}

const std::array<LabelPlace, 18>& RoutingLabels()
{
    static const std::array<LabelPlace, 18> labels{{
        {"Pfm_Effect_ImageDryLvl1", 163, 24},
        {"Pfm_Effect_ImageRevSend1", 235, 24},
        {"Pfm_Effect_ImageVarSend1", 306, 24},
        {"Pfm_Effect_ImageDryLvl2", 163, 63},
        {"Pfm_Effect_ImageRevSend2", 235, 63},
        {"Pfm_Effect_ImageVarSend2", 306, 63},
        {"Pfm_Effect_ImageDryLvl3", 163, 104},
        {"Pfm_Effect_ImageRevSend3", 235, 104},
        {"Pfm_Effect_ImageVarSend3", 306, 104},
        {"Pfm_Effect_ImageDryLvl4", 163, 143},
        {"Pfm_Effect_ImageRevSend4", 235, 143},
        {"Pfm_Effect_ImageVarSend4", 306, 143},
        {"Pfm_Effect_ImageInsDryLvl", 163, 237},
        {"Pfm_Effect_ImageInsSendtoRev", 235, 237},
        {"Pfm_Effect_ImageInsSendtoVar", 306, 237},
        {"Pfm_Effect_ImageVarSendtoRev", 235, 300},
        {"Pfm_Effect_ImageRevRtn", 163, 334},
        {"Pfm_Effect_ImageVarRtn", 306, 334},
    }};
    return labels;
}

Image DrawEffectRouting()
{
    Canvas c(kRoutingWidth, kRoutingHeight, kBlack);
    // A level box around each label: the label's room stays black for the white number.
    auto labelBox = [&](int i) {
        const double lx = RoutingLabels()[i].left - kRoutingLeft, ly = RoutingLabels()[i].top - kRoutingTop;
        return Box{lx - 6, ly - 4, lx + 32, ly + 18};
    };
    const double busX[3] = {203, 275, 346}; // dry, reverb send, variation send collectors
    const double ox = kInsertionOverlay.x0, oy = kInsertionOverlay.y0;
    // The overlay's part rows (1, 40, 80, 119) and turning columns (66, 45, 23, 1), drawn by the
    // page with a pen 2 pixels wide that paints its point and the pixels right of and below it:
    // the lines here go on over the same two rows and columns.
    const double rowY[4] = {oy + 2, oy + 41, oy + 81, oy + 120};
    const double turnX[4] = {ox + 67, ox + 46, ox + 24, ox + 2};

    const char* heads[3] = {"DRY", "REV", "VAR"};
    for (int k = 0; k < 3; ++k) c.TextCentred(labelBox(k).Cx(), 9, heads[k], 1, kCyan);

    // Part rows: input box, the insertion switch area (drawn by the page), three level boxes.
    const double insY = kIndividualOverlay.y0 + 22;
    for (int r = 0; r < 5; ++r) {
        const double y = r < 4 ? rowY[r] : insY;
        if (r < 4) {
            const std::string name = "PART" + std::to_string(r + 1);
            Block(c, 6, y - 11, 52, y + 11, name.c_str());
            HLine(c, 52, ox, y);
        }
        HLine(c, r < 4 ? kInsertionOverlay.x1 : kIndividualOverlay.x1, labelBox(3 * r).x0, y);
        Dot(c, 151, y);
        for (int k = 0; k < 3; ++k) {
            const Box b = labelBox(3 * r + k);
            if (k > 0) HLine(c, labelBox(3 * r + k - 1).x1, b.x0, y);
            HLine(c, b.x1, busX[k] + 1, y + 7);
            Dot(c, busX[k], y + 7);
        }
    }
    // Parts switched to the insertion effect come down here and meet at its input.
    for (double x : turnX) {
        Dot(c, x, 173);
        VLine(c, x, 173, 187);
    }
    HLine(c, turnX[3] - 1, turnX[0] + 1, 186);
    VLine(c, kIndividualOverlay.x0 + 48, 185, kIndividualOverlay.y0);
    c.FillRect(53, 200, 148, 201, kWhite); // frame of the insertion area
    c.FillRect(53, 200, 54, kIndividualOverlay.y0, kWhite);
    c.FillRect(147, 200, 148, 261, kWhite);
    c.FillRect(kIndividualOverlay.x1, 260, 148, 261, kWhite);
    DrawIndividualContent(c, kIndividualOverlay.x0, kIndividualOverlay.y0);
    c.FillRect(kIndividualOverlay.x0 + 1, kIndividualOverlay.y1, kIndividualOverlay.x0 + 2, 312, kYellow);
    Block(c, 6, 312, 96, 342, nullptr);
    c.TextCentred(51, 322, "INDIVIDUAL", 1, kCyan);
    c.TextCentred(51, 333, "OUT", 1, kCyan);

    for (int i = 0; i < 15; ++i) { // level boxes of the parts and the insertion block
        const Box b = labelBox(i);
        Block(c, b.x0, b.y0, b.x1, b.y1, nullptr);
    }
    const Box varToRev = labelBox(15), revRtn = labelBox(16), varRtn = labelBox(17);

    // Reverb and variation blocks with their returns.
    VLine(c, busX[1], 35, 285);
    HLine(c, 214, busX[1] + 1, 284);
    VLine(c, 215, 283, 322);
    VLine(c, busX[2], 35, 264);
    Block(c, 296, 264, 368, 286, "VARIATION");
    VLine(c, varRtn.Cx(), 286, varRtn.y0);
    HLine(c, varToRev.x1, varRtn.Cx() + 1, varToRev.Cy());
    Dot(c, varRtn.Cx(), varToRev.Cy());
    Block(c, varToRev.x0, varToRev.y0, varToRev.x1, varToRev.y1, nullptr);
    VLine(c, varToRev.Cx(), varToRev.y1, 322);
    Block(c, 206, 322, 290, 346, "REVERB");
    HLine(c, revRtn.x1, 206, revRtn.Cy());
    Block(c, revRtn.x0, revRtn.y0, revRtn.x1, revRtn.y1, nullptr);
    Block(c, varRtn.x0, varRtn.y0, varRtn.x1, varRtn.y1, nullptr);

    // The dry collector keeps left of the reverb return, so no line crosses another here.
    VLine(c, busX[0], 35, 301);
    HLine(c, 139, busX[0] + 1, 300);
    VLine(c, 140, 299, 363);
    VLine(c, revRtn.Cx(), revRtn.y1, 363);
    VLine(c, varRtn.Cx(), varRtn.y1, 363);
    HLine(c, 139, varRtn.Cx() + 1, 362);
    Dot(c, revRtn.Cx(), 362);
    Dot(c, 226, 362);
    VLine(c, 226, 362, 378);
    Block(c, 176, 378, 276, 400, "EQ");
    VLine(c, 226, 400, 418);
    Block(c, 176, 418, 276, 440, "OUTPUT");
    VLine(c, 210, 440, 456);
    VLine(c, 242, 440, 456);
    c.TextCentred(210, 464, "L", 1, kCyan);
    c.TextCentred(242, 464, "R", 1, kCyan);
    return c.Resolve();
}

Image DrawIndividualOutputBase()
{
    Canvas c(static_cast<int>(kIndividualOverlay.x1 - kIndividualOverlay.x0),
             static_cast<int>(kIndividualOverlay.y1 - kIndividualOverlay.y0), kBlack);
    DrawIndividualContent(c, 0, 0);
    return c.Resolve();
}

Image DrawAboutEmblem()
{
    // A ring with a tail (the program's initial) around one cycle of a sine wave.
    Canvas c(kEmblemSize, kEmblemSize, Rgb{240, 240, 240});
    const Rgb deep{28, 62, 140}, light{255, 255, 255};
    c.FillCircle({23, 23}, 22, deep);
    c.Arc({23, 22}, 15, 0, 360, 3.2, light);
    c.Line({29, 29}, {38, 40}, 3.6, light);
    std::vector<Point> wave;
    for (double x = 11; x <= 35; x += 0.5) wave.push_back({x, 22 - 6 * std::sin((x - 11) / 24 * 2 * std::numbers::pi)});
    c.Polyline(wave, 2.4, Rgb{250, 200, 60});
    return c.Resolve();
}

Image DrawFseqInitNotice()
{
    Canvas c(kNoticeWidth, kNoticeHeight, Rgb{236, 238, 242});
    const Rgb ink{25, 25, 30};
    const char* captions[4][3] = {{"PUSH", "UTIL", ""},
                                  {"SELECT", "INITIAL,", "PUSH ENTER"},
                                  {"SELECT", "FSEQ,", "PUSH ENTER"},
                                  {"SELECT", "ALL,", "PUSH ENTER"}};
    for (int i = 0; i < 4; ++i) {
        const double x0 = 100.0 * i;
        if (i > 0) c.FillRect(x0, 4, x0 + 1, kNoticeHeight - 4, Rgb{170, 175, 185});
        c.FillCircle({x0 + 13, 14}, 9.5, kStepBlue);
        c.TextCentred(x0 + 13.5, 14, std::to_string(i + 1), 1.6, kWhite, true);
        for (int line = 0; line < 3; ++line) c.Text(x0 + 28, 4 + 10 * line, captions[i][line], 1, ink);
    }
    // 1: the panel with its buttons; UTIL is the one to push.
    c.FillRect(6, 38, 94, 134, kPanel);
    Lcd(c, 12, 46, 88, {"PERFORMANCE", "INT 001"}, -1);
    for (int k = 0; k < 4; ++k) {
        const double bx = 12 + 20.0 * k;
        Button(c, bx, 82, bx + 16, 92, nullptr, false);
    }
    Button(c, 52, 102, 88, 117, "UTIL", true);
    Button(c, 12, 102, 48, 117, nullptr, false);
    Pointer(c, 80, 115);
    // 2 and 3: pick the menu entry, then ENTER.
    Lcd(c, 112, 44, 192, {"UTILITY", "SYSTEM", "INITIAL"}, 2);
    EnterWithPointer(c, 134, 100);
    Lcd(c, 212, 44, 292, {"INITIAL", "SYSTEM", "FSEQ"}, 2);
    EnterWithPointer(c, 234, 100);
    // 4: ALL, ENTER, and the display asks to confirm.
    Lcd(c, 308, 40, 394, {"INIT FSEQ", "ALL"}, 1);
    Button(c, 306, 78, 342, 93, "ENTER", true);
    Pointer(c, 336, 90);
    c.Arrow({352, 84}, {364, 98}, 1.6, 5, ink);
    Lcd(c, 308, 106, 394, {"FSEQ INIT", "ARE YOU SURE?"}, -1);
    return c.Resolve();
}

Image DrawGlyph(Glyph g)
{
    // Whole-pixel drawing (no smoothing), so no edge pixel mixes with the transparent colour.
    Canvas c(kGlyphSize, kGlyphSize, kGlyphTransparent, 1);
    const Rgb green{0, 140, 0}, red{200, 0, 0}, dark{40, 40, 40}, paper{250, 250, 250}, blue{30, 70, 170};
    auto sheet = [&] {
        c.FillRect(2, 1, 12, 15, paper);
        c.FrameRect(2, 1, 12, 15, 1, dark);
        for (int y = 4; y <= 10; y += 3) c.FillRect(4, y, 10, y + 1, Rgb{120, 120, 120});
    };
    switch (g) {
    case Glyph::Ok: c.Polyline({{2.5, 8.5}, {6, 12.5}, {13.5, 3.5}}, 2.2, green); break;
    case Glyph::Cancel:
        c.Line({3.5, 3.5}, {12.5, 12.5}, 2.2, red);
        c.Line({12.5, 3.5}, {3.5, 12.5}, 2.2, red);
        break;
    case Glyph::FseqWrite: // an arrow into a memory chip
        c.FillRect(3, 9, 13, 14, dark);
        for (int x = 4; x <= 11; x += 2) {
            c.FillRect(x, 8, x + 1, 9, dark);
            c.FillRect(x, 14, x + 1, 15, dark);
        }
        c.FillRect(7, 1, 9, 5, blue);
        c.FillTriangle({4.5, 4.5}, {11.5, 4.5}, {8, 8}, blue);
        break;
    case Glyph::EgWrite: // a list sheet with a plus: add the shape to the list
        sheet();
        c.FillRect(9, 9, 16, 12, green);
        c.FillRect(11, 7, 14, 14, green);
        break;
    case Glyph::EgDelete:
        sheet();
        c.Line({9.5, 8.5}, {14.5, 13.5}, 1.8, red);
        c.Line({14.5, 8.5}, {9.5, 13.5}, 1.8, red);
        break;
    case Glyph::EgOpen: // an open folder
        c.FillRect(1, 4, 7, 6, Rgb{200, 160, 40});
        c.FillRect(1, 5, 14, 14, Rgb{200, 160, 40});
        c.FillTriangle({3, 8}, {16, 8}, {14, 14}, Rgb{245, 205, 80});
        c.FillTriangle({3, 8}, {14, 14}, {1, 14}, Rgb{245, 205, 80});
        break;
    case Glyph::EgSave: // a diskette
        c.FillRect(2, 2, 14, 14, blue);
        c.FillRect(4, 2, 12, 7, paper);
        c.FillRect(9, 3, 11, 6, dark);
        c.FillRect(5, 9, 11, 14, Rgb{200, 200, 200});
        break;
    }
    return c.Resolve();
}

Image DrawControlSources()
{
    // Groups KN1..4, MC1..4, FC BC, MW CAT PAT PB in alternating tints, thin lines between rows.
    const int w = kSourceColumns * kSourceCell, h = kSourceRows * kSourceCell;
    Canvas c(w, h, Rgb{236, 236, 228}, 1);
    const int groupEnds[4] = {4, 8, 10, 14};
    int start = 0;
    for (int g = 0; g < 4; ++g) {
        if (g % 2 == 0) c.FillRect(start * kSourceCell, 0, groupEnds[g] * kSourceCell, h, Rgb{214, 226, 242});
        if (g > 0) c.FillRect(start * kSourceCell, 0, start * kSourceCell + 1, h, Rgb{150, 160, 180});
        start = groupEnds[g];
    }
    for (int r = 1; r < kSourceRows; ++r) c.FillRect(0, r * kSourceCell, w, r * kSourceCell + 1, Rgb{200, 204, 212});
    return c.Resolve();
}

} // namespace picgen
