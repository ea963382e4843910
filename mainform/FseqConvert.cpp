// File > Convert Syx to MIDI File: a formant-sequence file (one bulk dump as raw
// system-exclusive bytes) becomes a standard MIDI file that, when played, writes the sequence
// into the instrument's formant-sequence edit buffer or into one of its internal memories.
#include "mainform/MainForm.h"

#include "core/pages/FileBoxes.h"
#include "mainform/SmfExport.h"
#include "mainform/dialogs/FSEQStoreNumSel.h"

#include <fstream>
#include <optional>
#include <system_error>

namespace {

// The layout of a formant-sequence file.
constexpr std::size_t HeaderSize = 41;
constexpr std::size_t AddressHighOffset = 6;
constexpr std::size_t AddressLowOffset = 8;
constexpr std::size_t NameOffset = 9;
constexpr std::size_t NameLength = 8;
constexpr std::size_t FormatCodeOffset = 36;
constexpr uint8_t EditBufferAddress = 0x60;
constexpr uint8_t InternalMemoryAddress = 0x61;
constexpr uint32_t DumpDelay = 128;  // ticks before the dump
constexpr uint32_t TrackTail = 2047; // ticks from the dump to the end of the track

// The format code fixes the size class, and with it how many bytes the MIDI file spends on
// the message length: codes 0 and 1 two bytes (files up to 16,384 bytes), codes 2 and 3 three
// (16,385 to 32,768 bytes).
constexpr int LargestFormatCode = 3;
constexpr std::size_t LargestTwoByteFile = 16384;
constexpr std::size_t LargestThreeByteFile = 32768;

int LengthBytes(int formatCode)
{
    return formatCode < 2 ? 2 : 3;
}

// A file whose header and size agree with its format code; only such a file has the layout
// the conversion rewrites.
bool FitsItsClass(const std::vector<uint8_t>& file)
{
    if (file.size() < HeaderSize) return false;
    const int code = file[FormatCodeOffset];
    if (code > LargestFormatCode) return false;
    if (LengthBytes(code) == 2) return file.size() <= LargestTwoByteFile;
    return file.size() > LargestTwoByteFile && file.size() <= LargestThreeByteFile;
}

// The whole file, or nothing when it cannot be read or is larger than any sequence file.
std::optional<std::vector<uint8_t>> ReadSequenceFile(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > LargestThreeByteFile) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> data(static_cast<std::size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size())))
        return std::nullopt;
    // A file that grew while it was read is not the file that was measured.
    if (in.peek() != std::ifstream::traits_type::eof()) return std::nullopt;
    return data;
}

void ShowReadFailed() { ShowFileError(ReadFailedText); }

} // namespace

void TMainForm::CnvSyx2SMFClick(TObject*)
{
    if (!Pfm_Fseq_SyxOpenDialog->Execute()) return;
    const std::string syxPath = Pfm_Fseq_SyxOpenDialog->FileName;
    std::optional<std::vector<uint8_t>> read = ReadSequenceFile(syxPath);
    if (!read || !FitsItsClass(*read)) return ShowReadFailed();
    std::vector<uint8_t>& dump = *read;
    FseqSlotMode = dump[FormatCodeOffset];

    int32_t chosen = 1;
    {
        TFSEQStoreForm dialog(this, &chosen, FseqSlotMode);
        dialog.ShowModal();
    }
    FseqStoreNumber = chosen;

    // Re-addressed for the chosen destination, and sealed again.
    dump[AddressHighOffset] = chosen == 0 ? EditBufferAddress : InternalMemoryAddress;
    dump[AddressLowOffset] = static_cast<uint8_t>(chosen == 0 ? 0 : chosen - 1);
    dump[dump.size() - 2] = BulkDumpChecksum(dump.data(), dump.size());

    // Proposed beside the sequence file.
    const std::string stem = syxPath.size() >= 4 ? syxPath.substr(0, syxPath.size() - 4) : syxPath;
    SaveSMFDialog->FileName = stem + ".mid";
    if (!SaveSMFDialog->Execute()) return;

    std::array<uint8_t, 15> trackName;
    trackName.fill(' ');
    std::copy_n(dump.begin() + NameOffset, NameLength, trackName.begin());
    smf::TrackImage track(trackName);
    track.SysEx(DumpDelay, dump.data(), dump.size(), LengthBytes(FseqSlotMode));
    smf::SaveMidiFile(SaveSMFDialog->FileName, track.Finish(TrackTail));
}
