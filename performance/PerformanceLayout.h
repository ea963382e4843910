// What the layout files of the performance sheet share: the sheet's measures and the lists and
// pictures more than one sheet uses. Controls are made with the helpers both pages share
// (core/pages/Layout.h).
#pragma once

#include "core/pages/FileBoxes.h"
#include "core/pages/Layout.h"
#include "ui/UI.h"

#include <filesystem>
#include <string>

namespace pfm_layout {

using namespace layout;

inline constexpr int SheetWidth = 933;     // the performance sheet inside the main page control
inline constexpr int SubSheetHeight = 483; // a sheet of Pfm_PageControl
inline constexpr int Pitch = 23;           // one pair row

// A number in two places, filled with `pad` in front of one digit (pad 0: none).
std::string TwoPlaces(int v, char pad);
Items Numbered(int first, int last, bool twoDigits);
// "L63" .. "L 1", " C", "R 1" .. "R63" for positions 1..127; the part pan puts "Rnd" first.
Items PanNames(bool withRandom);

} // namespace pfm_layout
