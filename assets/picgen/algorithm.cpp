#include "assets/picgen/algorithm.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

namespace picgen {
namespace {

[[noreturn]] void Fail(int line, const std::string& what)
{
    throw ParseError("line " + std::to_string(line) + ": " + what);
}

int ParseOperator(const std::string& s, int line)
{
    if (s.size() != 1 || s[0] < '1' || s[0] > '0' + kOperatorCount)
        Fail(line, "operator \"" + s + "\" is not 1.." + std::to_string(kOperatorCount));
    return s[0] - '0';
}

std::vector<Link> ParseLinks(std::istringstream& words, int line)
{
    std::vector<Link> links;
    std::string w;
    while (words >> w) {
        if (w == "-") continue;
        const auto gt = w.find('>');
        if (gt == std::string::npos) Fail(line, "link \"" + w + "\" has no '>'");
        links.push_back({ParseOperator(w.substr(0, gt), line), ParseOperator(w.substr(gt + 1), line)});
    }
    return links;
}

// Splits "name words..." and checks the name.
std::istringstream Section(const std::string& text, const std::string& name, int line)
{
    std::istringstream s(text);
    std::string first;
    s >> first;
    if (first != name) Fail(line, "expected \"" + name + "\", found \"" + first + "\"");
    return s;
}

Arrangement ParseLine(const std::string& text, int line)
{
    std::vector<std::string> parts;
    std::stringstream ss(text);
    for (std::string p; std::getline(ss, p, ';');) parts.push_back(p);
    if (parts.size() != 3) Fail(line, "expected three sections separated by ';'");

    Arrangement a;
    std::istringstream head(parts[0]);
    std::string num;
    head >> num;
    if (num.empty() || num.size() > 3 ||
        !std::all_of(num.begin(), num.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
        Fail(line, "no algorithm number");
    a.number = std::stoi(num);
    std::string word;
    head >> word;
    if (word != "carriers") Fail(line, "expected \"carriers\"");
    while (head >> word) a.carriers.push_back(ParseOperator(word, line));
    if (a.carriers.empty()) Fail(line, "no carriers");

    auto mods = Section(parts[1], "mod", line);
    a.modulations = ParseLinks(mods, line);
    auto fbs = Section(parts[2], "fb", line);
    a.feedback = ParseLinks(fbs, line);
    std::set<std::pair<int, int>> seen;
    for (const Link& l : a.modulations) {
        if (l.from == l.to) Fail(line, "an operator cannot modulate itself under mod");
        if (!seen.insert({l.from, l.to}).second) Fail(line, "a modulation is listed twice");
    }

    // The layout stacks modulators above their targets, so the modulation graph must not loop.
    std::array<int, kOperatorCount + 1> state{}; // 0 new, 1 on the path, 2 done
    std::function<void(int)> visit = [&](int op) {
        state[op] = 1;
        for (const Link& l : a.modulations)
            if (l.from == op) {
                if (state[l.to] == 1) Fail(line, "the modulations form a loop");
                if (state[l.to] == 0) visit(l.to);
            }
        state[op] = 2;
    };
    for (int op = 1; op <= kOperatorCount; ++op)
        if (state[op] == 0) visit(op);
    return a;
}

// --- layout -------------------------------------------------------------------------------

struct Tree {
    std::array<std::vector<int>, kOperatorCount + 1> targets, children; // children: single-target modulators
    std::array<int, kOperatorCount + 1> row{};
    std::array<double, kOperatorCount + 1> width{}, x{}; // in column units
};

int RowOf(Tree& t, int op)
{
    if (t.row[op] >= 0) return t.row[op];
    int r = 0;
    for (int target : t.targets[op]) r = std::max(r, RowOf(t, target) + 1);
    return t.row[op] = r;
}

double WidthOf(Tree& t, int op)
{
    double sum = 0;
    for (int c : t.children[op]) sum += WidthOf(t, c);
    return t.width[op] = std::max(1.0, sum);
}

// Places op's column span [left, left + width) and its stack above it.
void Place(Tree& t, int op, double left)
{
    double sum = 0;
    for (int c : t.children[op]) sum += t.width[c];
    double l = left + (t.width[op] - sum) / 2;
    for (int c : t.children[op]) {
        Place(t, c, l);
        l += t.width[c];
    }
    const auto& ch = t.children[op];
    t.x[op] = ch.empty() ? left + t.width[op] / 2 : (t.x[ch.front()] + t.x[ch.back()]) / 2;
}

// Column positions in units; returns the total width in units.
double ArrangeColumns(Tree& t)
{
    std::vector<int> roots; // operators that modulate nothing, left to right by number
    for (int op = 1; op <= kOperatorCount; ++op)
        if (t.targets[op].empty()) roots.push_back(op);

    // A modulator of several roots that stand next to each other sits centred above them.
    std::vector<int> fanOuts;
    std::array<int, kOperatorCount + 1> groupOf{}; // root -> fan-out over it (0 = none)
    for (int op = 1; op <= kOperatorCount; ++op) {
        const auto& tg = t.targets[op];
        if (tg.size() < 2) continue;
        std::vector<std::size_t> at;
        for (int target : tg) {
            const auto it = std::find(roots.begin(), roots.end(), target);
            if (it == roots.end() || groupOf[target] != 0) {
                at.clear();
                break;
            }
            at.push_back(static_cast<std::size_t>(it - roots.begin()));
        }
        std::sort(at.begin(), at.end());
        if (at.empty() || at.back() - at.front() + 1 != at.size()) {
            fanOuts.push_back(op); // placed afterwards over the middle of its targets
            continue;
        }
        for (int target : tg) groupOf[target] = op;
    }

    double left = 0;
    for (std::size_t i = 0; i < roots.size();) {
        const int f = groupOf[roots[i]];
        std::size_t end = i + 1;
        while (f != 0 && end < roots.size() && groupOf[roots[end]] == f) ++end;
        double sum = 0;
        for (std::size_t k = i; k < end; ++k) sum += t.width[roots[k]];
        const double span = f != 0 ? std::max(sum, t.width[f]) : sum;
        double l = left + (span - sum) / 2;
        for (std::size_t k = i; k < end; ++k) {
            Place(t, roots[k], l);
            l += t.width[roots[k]];
        }
        if (f != 0) {
            Place(t, f, (t.x[roots[i]] + t.x[roots[end - 1]]) / 2 - t.width[f] / 2);
        }
        left += span;
        i = end;
    }
    for (int f : fanOuts) {
        double lo = 1e9, hi = -1e9;
        for (int target : t.targets[f]) lo = std::min(lo, t.x[target]), hi = std::max(hi, t.x[target]);
        Place(t, f, (lo + hi) / 2 - t.width[f] / 2);
    }
    return left;
}

// Space a feedback drawing needs around its boxes, so the number can avoid it.
std::vector<Box> Obstacles(const AlgorithmLayout& l, const Arrangement& a)
{
    std::vector<Box> obs(l.boxes.begin(), l.boxes.end());
    for (const Link& f : a.feedback) {
        const Box& s = l.boxes[f.from - 1];
        const Box& d = l.boxes[f.to - 1];
        obs.push_back({std::min(s.x0, d.x0), std::min(s.y0, d.y0) - l.loop - l.stroke,
                       std::max(s.x1, d.x1) + l.loop + l.stroke, std::max(s.y1, d.y1)});
    }
    return obs;
}

AlgorithmLayout LayoutIn(const Arrangement& a, Tree& t, double units, int width, int height, double reservedLeft)
{
    AlgorithmLayout l;
    int rows = 1;
    for (int op = 1; op <= kOperatorCount; ++op) rows = std::max(rows, t.row[op] + 1);

    const double margin = 5, top = 1.5, busRoom = 9;
    const double cw = std::min((width - 2 * margin - reservedLeft) / units, 72.0);
    const double ch = std::min((height - top - busRoom) / rows, 46.0);
    const double gap = std::clamp(ch * 0.22, 4.0, 12.0);
    const double bh = std::min(ch - gap, 30.0);
    const double bw = std::min(cw * 0.66, bh * 1.5);

    l.stroke = std::clamp(bh * 0.1, 1.6, 2.6);
    l.digitScale = std::min((bh - 2 * l.stroke - 1) / 7, (bw - 2 * l.stroke - 3) / 5);
    l.digitScale = std::min(l.digitScale, 2.8);
    l.gap = ch - bh;
    l.loop = std::clamp(std::min((cw - bw) * 0.45, l.gap * 0.55), 3.0, 9.0);

    const double bottom = height - busRoom; // bottom edge of the carrier boxes
    const double x0 = reservedLeft + margin + (width - 2 * margin - reservedLeft - cw * units) / 2;
    for (int op = 1; op <= kOperatorCount; ++op) {
        const double cx = x0 + t.x[op] * cw;
        const double cy = bottom - bh / 2 - ch * t.row[op];
        l.boxes[op - 1] = {cx - bw / 2, cy - bh / 2, cx + bw / 2, cy + bh / 2};
        l.row[op - 1] = t.row[op];
    }
    l.busY = std::min(height - 3.0, bottom + busRoom / 2);
    for (int c : a.carriers) l.carrier[c - 1] = true;
    return l;
}

} // namespace

std::vector<Arrangement> ParseArrangements(std::istream& in)
{
    std::vector<Arrangement> out;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        const auto start = text.find_first_not_of(" \t\r");
        if (start == std::string::npos || text[start] == '#') continue;
        out.push_back(ParseLine(text, line));
    }
    return out;
}

std::vector<Arrangement> LoadArrangements(const std::string& path)
{
    std::ifstream f(path);
    if (!f) throw ParseError("cannot open " + path);
    auto all = ParseArrangements(f);
    std::set<int> seen;
    for (const Arrangement& a : all)
        if (a.number < 1 || a.number > kAlgorithmCount || !seen.insert(a.number).second)
            throw ParseError(path + ": algorithm " + std::to_string(a.number) + " is out of range or repeated");
    if (seen.size() != kAlgorithmCount)
        throw ParseError(path + ": holds " + std::to_string(seen.size()) + " algorithms, not " +
                         std::to_string(kAlgorithmCount));
    std::sort(all.begin(), all.end(), [](const Arrangement& x, const Arrangement& y) { return x.number < y.number; });
    return all;
}

AlgorithmLayout LayoutAlgorithm(const Arrangement& a, int width, int height)
{
    Tree t;
    t.row.fill(-1);
    for (const Link& m : a.modulations) t.targets[m.from].push_back(m.to);
    for (int op = 1; op <= kOperatorCount; ++op) {
        std::sort(t.targets[op].begin(), t.targets[op].end());
        if (t.targets[op].size() == 1) t.children[t.targets[op][0]].push_back(op);
    }
    for (int op = 1; op <= kOperatorCount; ++op) RowOf(t, op);
    for (int op = 1; op <= kOperatorCount; ++op) WidthOf(t, op);
    const double units = ArrangeColumns(t);

    // The number stands in the top left corner of every picture; when the diagram reaches into it,
    // the diagram moves right. (A number in the right corner would stand beside the next
    // picture's in the selector's grid and read as one label with it.)
    const std::string text = std::to_string(a.number);
    const double scale = 2.2, pad = 6; // clear of the selector's frame round a chosen picture
    const double nw = Canvas::TextWidth(text, scale), nh = Canvas::TextHeight(scale);
    const Box corner{pad, pad, pad + nw, pad + nh};
    AlgorithmLayout l = LayoutIn(a, t, units, width, height, 0);
    const auto obs = Obstacles(l, a);
    const Box grown{corner.x0 - 2, corner.y0, corner.x1 + 2, corner.y1 + 2};
    if (std::any_of(obs.begin(), obs.end(), [&](const Box& o) { return o.Overlaps(grown); }))
        l = LayoutIn(a, t, units, width, height, nw + 2 * pad);
    l.number = corner;
    l.numberScale = scale;
    return l;
}

Image DrawAlgorithm(const Arrangement& a, int width, int height)
{
    const Rgb paper{255, 255, 255}, ink{25, 25, 35}, carrierFill{204, 224, 250}, feedbackInk{175, 25, 25},
        numberInk{20, 70, 160};
    const AlgorithmLayout l = LayoutAlgorithm(a, width, height);
    Canvas c(width, height, paper);
    const double s = l.stroke, head = std::clamp(l.gap * 0.55, 4.0, 7.0);
    auto box = [&](int op) -> const Box& { return l.boxes[op - 1]; };

    // Modulation: single modulators of one target join just above it; a modulator of several
    // operators spreads over them the same way.
    for (int target = 1; target <= kOperatorCount; ++target) {
        std::vector<int> mods;
        for (const Link& m : a.modulations)
            if (m.to == target && std::count_if(a.modulations.begin(), a.modulations.end(),
                                                [&](const Link& o) { return o.from == m.from; }) == 1)
                mods.push_back(m.from);
        if (mods.empty()) continue;
        const Box& t = box(target);
        if (mods.size() == 1 && std::abs(box(mods[0]).Cx() - t.Cx()) < 0.5) {
            c.Arrow({t.Cx(), box(mods[0]).y1}, {t.Cx(), t.y0}, s, head, ink);
            continue;
        }
        const double joinY = t.y0 - l.gap / 2;
        double lo = t.Cx(), hi = t.Cx();
        for (int m : mods) {
            c.Line({box(m).Cx(), box(m).y1}, {box(m).Cx(), joinY}, s, ink);
            lo = std::min(lo, box(m).Cx());
            hi = std::max(hi, box(m).Cx());
        }
        c.Line({lo, joinY}, {hi, joinY}, s, ink);
        c.Arrow({t.Cx(), joinY}, {t.Cx(), t.y0}, s, head, ink);
    }
    for (int op = 1; op <= kOperatorCount; ++op) {
        std::vector<int> targets;
        for (const Link& m : a.modulations)
            if (m.from == op) targets.push_back(m.to);
        if (targets.size() < 2) continue;
        const Box& f = box(op);
        double joinY = 0, lo = f.Cx(), hi = f.Cx();
        for (int t : targets) joinY = std::max(joinY, box(t).y0 - l.gap / 2);
        for (int t : targets) {
            lo = std::min(lo, box(t).Cx());
            hi = std::max(hi, box(t).Cx());
            c.Arrow({box(t).Cx(), joinY}, {box(t).Cx(), box(t).y0}, s, head, ink);
        }
        c.Line({f.Cx(), f.y1}, {f.Cx(), joinY}, s, ink);
        c.Line({lo, joinY}, {hi, joinY}, s, ink);
    }

    // Feedback: a loop out of the top of the source's column and back into the target's side.
    for (const Link& fb : a.feedback) {
        const Box& src = box(fb.from);
        const Box& dst = box(fb.to);
        const double d = l.loop, right = std::max(src.x1, dst.x1) + d;
        if (fb.from == fb.to) {
            const double sx = src.x1 - (src.x1 - src.x0) * 0.28, topY = src.y0 - d;
            c.Polyline({{sx, src.y0}, {sx, topY}, {right, topY}, {right, src.Cy()}}, s * 0.85, feedbackInk);
            c.Arrow({right, src.Cy()}, {src.x1, src.Cy()}, s * 0.85, head * 0.8, feedbackInk);
        } else {
            const double fromY = src.Cy() + (src.y1 - src.y0) * 0.15;
            const double toY = dst.Cy() - (dst.y1 - dst.y0) * 0.15;
            c.Polyline({{src.x1, fromY}, {right, fromY}, {right, toY}}, s * 0.85, feedbackInk);
            c.Arrow({right, toY}, {dst.x1, toY}, s * 0.85, head * 0.8, feedbackInk);
        }
    }

    // Carriers drop onto the output line.
    double lo = width, hi = 0;
    for (int op = 1; op <= kOperatorCount; ++op) {
        if (!l.carrier[op - 1]) continue;
        const Box& b = box(op);
        c.Line({b.Cx(), b.y1}, {b.Cx(), l.busY}, s, ink);
        lo = std::min(lo, b.Cx());
        hi = std::max(hi, b.Cx());
    }
    if (hi >= lo) {
        const double half = (box(a.carriers.front()).x1 - box(a.carriers.front()).x0) * 0.6;
        if (hi - lo < half) lo -= half, hi += half;
        c.Line({lo, l.busY}, {hi, l.busY}, s, ink);
    }

    for (int op = 1; op <= kOperatorCount; ++op) {
        const Box& b = box(op);
        c.FillRect(b.x0, b.y0, b.x1, b.y1, l.carrier[op - 1] ? carrierFill : paper);
        c.FrameRect(b.x0, b.y0, b.x1, b.y1, s, ink);
        c.TextCentred(b.Cx(), b.Cy(), std::to_string(op), l.digitScale, ink, true);
    }
    c.Text(l.number.x0, l.number.y0, std::to_string(a.number), l.numberScale, numberInk, true);
    return c.Resolve();
}

} // namespace picgen
