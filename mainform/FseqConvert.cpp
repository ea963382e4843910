// File > Convert Syx to MIDI File: a formant-sequence file (one bulk dump as raw
// system-exclusive bytes) becomes a standard MIDI file that, when played, writes the sequence
// into the instrument's formant-sequence edit buffer or into one of its internal memories.
#include "mainform/MainForm.h"

#include "core/FseqFile.h"
#include "core/SysExMessages.h"
#include "core/pages/FileBoxes.h"
#include "mainform/SmfExport.h"
#include "mainform/dialogs/FSEQStoreNumSel.h"

#include <algorithm>
#include <optional>

namespace {

constexpr uint32_t DumpDelay = 128;  // ticks before the dump
constexpr uint32_t TrackTail = 2047; // ticks from the dump to the end of the track

// The size class of the format code fixes how many bytes the MIDI file spends on the message
// length: two for codes 0 and 1, three for codes 2 and 3.
int LengthBytes(int formatCode) { return formatCode < 2 ? 2 : 3; }

} // namespace

void TMainForm::ShowFseqFileError() { ShowFileError(ReadFailedText); }

std::optional<std::vector<uint8_t>> TMainForm::OpenFseqFile()
{
    if (!Pfm_Fseq_SyxOpenDialog->Execute()) return std::nullopt;
    std::optional<std::vector<uint8_t>> file = ReadFseqFile(Pfm_Fseq_SyxOpenDialog->FileName);
    if (!file) ShowFseqFileError();
    return file;
}

void TMainForm::CnvSyx2SMFClick(TObject*)
{
    std::optional<std::vector<uint8_t>> read = OpenFseqFile();
    if (!read) return;
    // Only one whole system-exclusive message travels whole inside the MIDI file's one
    // system-exclusive event.
    const bool oneMessage = IsSystemExclusiveStream(read->data(), read->size()) &&
                            std::find(read->begin(), read->end(), uint8_t{0xF7}) == read->end() - 1;
    if (!FseqFileFitsItsClass(*read) || !oneMessage) return ShowFseqFileError();
    const std::string syxPath = Pfm_Fseq_SyxOpenDialog->FileName;
    std::vector<uint8_t>& dump = *read;
    FseqSlotMode = FseqSizeCode(dump);

    int32_t chosen = 1;
    {
        TFSEQStoreForm dialog(this, &chosen, FseqSlotMode);
        dialog.ShowModal();
    }
    FseqStoreNumber = chosen;

    // Re-addressed for the chosen destination, and sealed again.
    AddressFseqDump(dump, chosen == 0 ? std::nullopt : std::optional<int>(chosen - 1));

    // Proposed beside the sequence file.
    const std::string stem = syxPath.size() >= 4 ? syxPath.substr(0, syxPath.size() - 4) : syxPath;
    SaveSMFDialog->FileName = stem + ".mid";
    if (!SaveSMFDialog->Execute()) return;

    std::array<uint8_t, 15> trackName;
    trackName.fill(' ');
    std::copy_n(dump.begin() + FseqNameOffset, FseqNameLength, trackName.begin());
    smf::TrackImage track(trackName);
    track.SysEx(DumpDelay, dump.data(), dump.size(), LengthBytes(FseqSlotMode));
    smf::SaveMidiFile(SaveSMFDialog->FileName, track.Finish(TrackTail));
}
