// The 88 operator arrangements: reading the data file, laying each one out as a diagram and
// drawing it.
#pragma once

#include <array>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/picgen/canvas.h"

namespace picgen {

constexpr int kOperatorCount = 8;
constexpr int kAlgorithmCount = 88;
// Drawn at twice the size the selector shows (150 x 90), same proportions.
constexpr int kAlgorithmWidth = 300;
constexpr int kAlgorithmHeight = 180;

struct Link {
    int from = 0; // operator 1..8
    int to = 0;
    bool operator==(const Link&) const = default;
};

struct Arrangement {
    int number = 0;
    std::vector<int> carriers;     // in the order the data lists them
    std::vector<Link> modulations; // from modulates to
    std::vector<Link> feedback;    // from feeds back into to (from == to: self-feedback)
};

struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One arrangement per line: "<n> carriers <ops> ; mod <a>b ...|-> ; fb <a>b ...|->".
// Lines starting with '#' and blank lines are skipped. Throws ParseError naming the line.
std::vector<Arrangement> ParseArrangements(std::istream& in);
// Reads a file and checks that it holds algorithms 1..88 exactly once each.
std::vector<Arrangement> LoadArrangements(const std::string& path);

struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    double Cx() const { return (x0 + x1) / 2; }
    double Cy() const { return (y0 + y1) / 2; }
    bool Overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

struct AlgorithmLayout {
    std::array<Box, kOperatorCount> boxes{}; // operator n at index n - 1
    std::array<int, kOperatorCount> row{};   // 0 = bottom row
    std::array<bool, kOperatorCount> carrier{};
    double stroke = 0;     // line thickness
    double digitScale = 0; // font scale of the operator numbers
    double gap = 0;        // free height between two rows of boxes
    double loop = 0;       // how far a feedback loop stands off its box
    double busY = 0;       // the output line under the carriers
    Box number;            // where the algorithm number is written
    double numberScale = 0;
};

AlgorithmLayout LayoutAlgorithm(const Arrangement& a, int width, int height);
Image DrawAlgorithm(const Arrangement& a, int width = kAlgorithmWidth, int height = kAlgorithmHeight);

} // namespace picgen
