// Every input a fuzz target found, and its seeds, run again through that target: its
// properties must hold (fuzz/ says which). The inputs are kept beside this file, in a folder
// named after the target; each file's name says what it once broke.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

// The targets, one QM_REPLAY_TARGET(name) line each, as the build lists them.
#define QM_REPLAY_TARGET(name) extern "C" int Replay_##name(const uint8_t* data, std::size_t size);
#include "ReplayTargets.inc"
#undef QM_REPLAY_TARGET

namespace {

namespace fs = std::filesystem;
using Target = int (*)(const uint8_t*, std::size_t);

std::vector<fs::path> FilesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    if (fs::is_directory(folder))
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Runs every kept input of a target; returns how many there were.
std::size_t Replay(const std::string& name, Target target, const fs::path& folder)
{
    const auto files = FilesIn(folder / name);
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        try {
            target(bytes.data(), bytes.size());
        } catch (const std::exception& e) {
            ADD_FAILURE() << file.filename().string() << ": " << e.what();
        }
    }
    return files.size();
}

} // namespace

#define QM_REPLAY_TARGET(name)                                                                                         \
    TEST(Replay, name)                                                                                                 \
    {                                                                                                                  \
        EXPECT_GT(Replay(#name, &Replay_##name, QM_FUZZ_CORPUS), 0u) << "no seeds";                                    \
        Replay(#name, &Replay_##name, QM_FUZZ_FINDINGS);                                                               \
    }
#include "ReplayTargets.inc"
