// File > Export MIDI File: the edit buffer as a standard MIDI file whose one track carries the
// six bulk dumps (performance, voices of parts 1..4, system) 512 ticks apart, so that a
// sequencer playing it loads the instrument's edit buffer. Also the MIDI file writer that the
// formant-sequence conversion shares.
#include "mainform/SmfExport.h"

#include "core/Latin1.h"
#include "core/pages/FileBoxes.h"
#include "mainform/MainForm.h"
#include "platform/SafeFile.h"

#include <algorithm>

namespace smf {

namespace {

constexpr uint8_t FileStart[] = {
    'M',  'T',  'h',  'd',  0x00, 0x00, 0x00, 0x06, // header chunk of 6 bytes
    0x00, 0x00, 0x00, 0x01, 0x00, 0x60,             // format 0, one track, 96 ticks per quarter note
    'M',  'T',  'r',  'k',  0x00, 0x00, 0x00, 0x00, // track chunk; its length is filled at the end
    0x00, 0xFF, 0x03, 0x0F,                         // track name, 15 bytes
};
constexpr std::size_t TrackLengthOffset = 18;
constexpr std::size_t TrackDataOffset = 22;
constexpr uint8_t TrackSettings[] = {
    0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, // 4/4, 24 clocks per click, 8 32nds per quarter
    0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,       // 500,000 microseconds per quarter note
    0x00, 0xFF, 0x59, 0x02, 0x00, 0x00,             // C major
};
constexpr uint8_t EndOfTrack[] = {0xFF, 0x2F, 0x00};

const std::string WriteInUseText =
    "Can't perform one of the following file operations: Write. This file is used by other application! ";

} // namespace

void AppendVarLen(std::vector<uint8_t>& out, uint32_t value, int minBytes)
{
    int bytes = std::max(minBytes, 1);
    while (bytes < 5 && (value >> (7 * bytes)) != 0) ++bytes;
    for (int i = bytes - 1; i >= 0; --i) {
        const auto group = static_cast<uint8_t>((value >> (7 * i)) & 0x7F);
        out.push_back(i > 0 ? static_cast<uint8_t>(group | 0x80) : group);
    }
}

TrackImage::TrackImage(const std::array<uint8_t, 15>& name)
{
    FBytes.reserve(std::size(FileStart) + name.size() + std::size(TrackSettings));
    FBytes.assign(std::begin(FileStart), std::end(FileStart));
    FBytes.insert(FBytes.end(), name.begin(), name.end());
    FBytes.insert(FBytes.end(), std::begin(TrackSettings), std::end(TrackSettings));
}

void TrackImage::SysEx(uint32_t delta, const uint8_t* message, std::size_t length, int lengthBytes)
{
    if (length == 0) return;
    AppendVarLen(FBytes, delta);
    FBytes.push_back(0xF0);
    AppendVarLen(FBytes, static_cast<uint32_t>(length - 1), lengthBytes);
    FBytes.insert(FBytes.end(), message + 1, message + length);
}

std::vector<uint8_t> TrackImage::Finish(uint32_t delta)
{
    AppendVarLen(FBytes, delta);
    FBytes.insert(FBytes.end(), std::begin(EndOfTrack), std::end(EndOfTrack));
    const auto trackLength = static_cast<uint32_t>(FBytes.size() - TrackDataOffset);
    for (std::size_t i = 0; i < 4; ++i)
        FBytes[TrackLengthOffset + i] = static_cast<uint8_t>(trackLength >> (8 * (3 - i)));
    return FBytes;
}

bool SaveMidiFile(const std::string& path, const std::vector<uint8_t>& image)
{
    std::string cause;
    if (platform::WriteFileSafely(path, image.data(), image.size(), &cause)) return true;
    ShowFileError(WriteInUseText, cause);
    return false;
}

} // namespace smf

namespace {

constexpr uint32_t DumpSpacing = 512; // ticks between the dumps
constexpr uint32_t TrackTail = 128;   // ticks from the last dump to the end of the track

} // namespace

void TMainForm::ExportSMFClick(TObject*)
{
    const std::string shownName = PerformanceNameText();
    SaveSMFDialog->FileName = ProposedFileName(shownName, ".mid");
    if (!SaveSMFDialog->Execute()) return;

    // The name as typed, blanks kept, then a NUL, padded with blanks.
    std::array<uint8_t, 15> trackName;
    trackName.fill(' ');
    const std::string name = ToLatin1(shownName);
    const std::size_t used = std::min(name.size(), trackName.size());
    std::copy_n(name.begin(), used, trackName.begin());
    if (used < trackName.size()) trackName[used] = 0;

    smf::TrackImage track(trackName);
    BuildPerformanceDump(DumpPerformance, 0);
    track.SysEx(0, PerformanceDumpBuffer.data(), PerformanceDumpBuffer.size());
    for (int32_t part = 0; part < 4; ++part) {
        BuildVoiceDump(DumpVoicePart1 + part, 0);
        track.SysEx(DumpSpacing, VoiceDumpBuffer.data(), VoiceDumpBuffer.size());
    }
    BuildSystemDump();
    track.SysEx(DumpSpacing, SystemDumpBuffer.data(), SystemDumpBuffer.size());
    smf::SaveMidiFile(SaveSMFDialog->FileName, track.Finish(TrackTail));
}
