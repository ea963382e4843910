// The fixed pictures of the program besides the algorithm diagrams: EQ shapes, the effect
// routing diagram and its individual-output part, the About emblem, the formant-sequence memory
// notice, the button glyphs and the controller-source backdrop.
#pragma once

#include <array>
#include <string>

#include "assets/picgen/algorithm.h"
#include "assets/picgen/canvas.h"

namespace picgen {

constexpr int kEqWidth = 238, kEqHeight = 153;
Image DrawEqShape(bool lowPeak, bool highPeak);

// The routing picture stands at (2, 3) on the effect sheet; the places below are in picture
// pixels (sheet position minus that offset).
constexpr int kRoutingWidth = 373, kRoutingHeight = 476;
constexpr int kRoutingLeft = 2, kRoutingTop = 3;
Image DrawEffectRouting();

// The 18 routing labels, by their sheet positions (left, top), in the order of the effect page.
struct LabelPlace {
    const char* name;
    int left, top;
};
const std::array<LabelPlace, 18>& RoutingLabels();
// Room each label needs, from its left/top: wide enough for "127" or "***" in small bold type.
constexpr int kLabelRoomWidth = 28, kLabelRoomHeight = 15;

// The two images laid over the routing picture, in picture pixels.
constexpr Box kInsertionOverlay{61, 28, 61 + 81, 28 + 142};
constexpr Box kIndividualOverlay{44, 220, 44 + 90, 220 + 81};
// The individual output image's own picture (90 x 81), drawn over by the page at run time.
Image DrawIndividualOutputBase();

constexpr int kEmblemSize = 46;
Image DrawAboutEmblem();

constexpr int kNoticeWidth = 400, kNoticeHeight = 140;
Image DrawFseqInitNotice();

// 16 x 16 button glyphs; the bottom-left pixel holds the transparent colour (magenta).
constexpr int kGlyphSize = 16;
constexpr Rgb kGlyphTransparent{255, 0, 255};
enum class Glyph { Ok, Cancel, FseqWrite, EgWrite, EgDelete, EgOpen, EgSave };
Image DrawGlyph(Glyph g);

// Backdrop of the 14 controller-source check boxes (KN1..KN4, MC1..MC4, FC, BC, MW, CAT, PAT,
// PB) over the eight controller sets; the page stretches it.
constexpr int kSourceColumns = 14, kSourceRows = 8, kSourceCell = 16;
Image DrawControlSources();

} // namespace picgen
