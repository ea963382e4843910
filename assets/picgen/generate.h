// Writes every picture the program loads from its folder.
#pragma once

#include <string>
#include <vector>

#include "assets/picgen/algorithm.h"

namespace picgen {

// Paths relative to the program folder, in the order they are written.
std::vector<std::string> PictureFileNames();
// Draws and writes all pictures below `programDir`; throws on the first failure.
void GeneratePictures(const std::string& programDir, const std::vector<Arrangement>& algorithms);

} // namespace picgen
