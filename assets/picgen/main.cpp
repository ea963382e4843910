// qm_picgen <program folder> <algorithms.txt>: draws every picture the program loads and writes
// them below the program folder (alg/ and graphics/).
#include <cstdio>
#include <exception>

#include "assets/picgen/generate.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: qm_picgen <program folder> <algorithms.txt>\n");
        return 2;
    }
    try {
        picgen::GeneratePictures(argv[1], picgen::LoadArrangements(argv[2]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qm_picgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
