#include "assets/picgen/generate.h"

#include <functional>
#include <utility>

#include "assets/picgen/artwork.h"
#include "assets/picgen/encode.h"

namespace picgen {
namespace {

// Thin lines on white show JPEG ringing early; this quality keeps the diagrams clean.
constexpr int kJpegQuality = 92;

using Maker = std::function<std::vector<std::uint8_t>()>;

std::vector<std::pair<std::string, Maker>> FixedPictures()
{
    auto bmp = [](std::function<Image()> draw) -> Maker { return [draw] { return EncodeBmp(draw()); }; };
    auto jpg = [](std::function<Image()> draw) -> Maker { return [draw] { return EncodeJpeg(draw(), kJpegQuality); }; };
    auto glyph = [&](Glyph g) { return bmp([g] { return DrawGlyph(g); }); };
    return {
        {"graphics/eq_shelv_shelv.bmp", bmp([] { return DrawEqShape(false, false); })},
        {"graphics/eq_shelv_peak.bmp", bmp([] { return DrawEqShape(false, true); })},
        {"graphics/eq_peak_shelv.bmp", bmp([] { return DrawEqShape(true, false); })},
        {"graphics/eq_peak_peak.bmp", bmp([] { return DrawEqShape(true, true); })},
        {"graphics/effect_routing.bmp", bmp(DrawEffectRouting)},
        {"graphics/effect_individual.bmp", bmp(DrawIndividualOutputBase)},
        {"graphics/about_emblem.jpg", jpg(DrawAboutEmblem)},
        {"graphics/fseq_init_notice.jpg", jpg(DrawFseqInitNotice)},
        {"graphics/glyph_ok.bmp", glyph(Glyph::Ok)},
        {"graphics/glyph_cancel.bmp", glyph(Glyph::Cancel)},
        {"graphics/glyph_fseq_write.bmp", glyph(Glyph::FseqWrite)},
        {"graphics/glyph_eg_write.bmp", glyph(Glyph::EgWrite)},
        {"graphics/glyph_eg_delete.bmp", glyph(Glyph::EgDelete)},
        {"graphics/glyph_eg_open.bmp", glyph(Glyph::EgOpen)},
        {"graphics/glyph_eg_save.bmp", glyph(Glyph::EgSave)},
        {"graphics/ctrl_sources.bmp", bmp(DrawControlSources)},
    };
}

std::string AlgorithmFile(int n) { return "alg/alg_" + std::to_string(n) + ".jpg"; }

} // namespace

std::vector<std::string> PictureFileNames()
{
    std::vector<std::string> names;
    for (int n = 1; n <= kAlgorithmCount; ++n) names.push_back(AlgorithmFile(n));
    for (const auto& [name, make] : FixedPictures()) names.push_back(name);
    return names;
}

void GeneratePictures(const std::string& programDir, const std::vector<Arrangement>& algorithms)
{
    const std::string dir = programDir.empty() || programDir.back() == '/' ? programDir : programDir + "/";
    for (const Arrangement& a : algorithms)
        WriteFile(dir + AlgorithmFile(a.number), EncodeJpeg(DrawAlgorithm(a), kJpegQuality));
    for (const auto& [name, make] : FixedPictures()) WriteFile(dir + name, make());
}

} // namespace picgen
