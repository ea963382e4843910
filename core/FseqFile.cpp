#include "core/FseqFile.h"

#include "core/DumpLayout.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

constexpr std::size_t DeviceOffset = 2;
constexpr std::size_t AddressHighOffset = 6;
constexpr std::size_t AddressMidOffset = 7; // 00 in every sequence dump
constexpr std::size_t AddressLowOffset = 8;
constexpr std::size_t LoopStartOffset = 25;
constexpr std::size_t LoopEndOffset = 27;
constexpr std::size_t LoopModeOffset = 29;
constexpr std::size_t SpeedVelOffset = 31;
constexpr std::size_t PitchOffset = 32;
constexpr std::size_t LevelVelOffset = 34;
constexpr std::size_t StartDelayOffset = 35;
constexpr std::size_t EndStepOffset = 39;
// The header, then at least the checksum and F7.
constexpr std::size_t SmallestFile = FseqHeaderSize + 2;

int32_t Wide(const std::vector<uint8_t>& file, std::size_t at) { return file[at] * 128 + file[at + 1]; }

} // namespace

bool FseqFileFitsItsClass(const std::vector<uint8_t>& file)
{
    if (file.size() < FseqHeaderSize) return false;
    const int code = FseqSizeCode(file);
    if (code > FseqLargestSizeCode) return false;
    if (code < 2) return file.size() <= FseqSmallClassLargest;
    return file.size() > FseqSmallClassLargest && file.size() <= FseqFileLargest;
}

TFseqFileCheck CheckFseqFile(const std::vector<uint8_t>& file)
{
    const std::size_t n = file.size();
    if (n < SmallestFile) return TFseqFileCheck::Damaged;
    const bool framed =
        file[0] == 0xF0 && file[1] == 0x43 && file[DeviceOffset] < 0x10 && file[3] == 0x5E && file[n - 1] == 0xF7 &&
        (file[AddressHighOffset] == FseqEditBufferAddress || file[AddressHighOffset] == FseqMemoryAddress) &&
        file[AddressMidOffset] == 0x00;
    if (!framed || std::any_of(file.begin() + 1, file.end() - 1, [](uint8_t b) { return b >= 0x80; }))
        return TFseqFileCheck::Damaged;
    // Larger than the largest class, the file is damaged whatever its code says.
    if (n > FseqFileLargest) return TFseqFileCheck::Damaged;
    if (FseqSizeCode(file) > FseqLargestSizeCode) return TFseqFileCheck::SizeCodeUnknown;
    return FseqFileFitsItsClass(file) ? TFseqFileCheck::Sound : TFseqFileCheck::Damaged;
}

int FseqSizeCode(const std::vector<uint8_t>& file) { return file[FseqSizeCodeOffset]; }

std::string FseqName(const std::vector<uint8_t>& file)
{
    const auto first = file.begin() + FseqNameOffset;
    return std::string(first, std::find(first, first + FseqNameLength, uint8_t{0}));
}

FseqMemorySlot FseqSettings(const std::vector<uint8_t>& file)
{
    FseqMemorySlot s{};
    s.LoopStart = Wide(file, LoopStartOffset);
    s.LoopEnd = Wide(file, LoopEndOffset);
    s.LoopMode = file[LoopModeOffset];
    s.SpeedVel = file[SpeedVelOffset];
    s.Pitch = file[PitchOffset];
    s.LevelVel = file[LevelVelOffset];
    s.StartDelay = file[StartDelayOffset];
    s.EndStep = Wide(file, EndStepOffset);
    return s;
}

void AddressFseqDump(std::vector<uint8_t>& file, std::optional<int> memory)
{
    file[AddressHighOffset] = memory ? FseqMemoryAddress : FseqEditBufferAddress;
    file[AddressLowOffset] = static_cast<uint8_t>(memory.value_or(0) & 0x7F);
    file[file.size() - 2] = BulkDumpChecksum(file.data(), file.size());
}

std::optional<std::vector<uint8_t>> ReadFseqFile(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > FseqFileLargest) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> data(static_cast<std::size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size())))
        return std::nullopt;
    // A file that grew while it was read is not the file that was measured.
    if (in.peek() != std::ifstream::traits_type::eof()) return std::nullopt;
    return data;
}
