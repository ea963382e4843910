// File > Open, Save and Save As: the program's own save file (.fse: a 16-byte header and the
// whole edit buffer) and the other editor's file (.fs1), which is relayed to the instrument and
// read back from it, never parsed.
#include "mainform/MainForm.h"

#include "core/DumpLayout.h"
#include "core/SysExMessages.h"
#include "core/WordRanges.h"
#include "core/pages/FileBoxes.h"
#include "performance/PerformancePage.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char FseMagic[12] = "Quillmarven"; // eleven characters and the NUL
constexpr uint32_t FseVersion = 100;
constexpr std::size_t FseHeaderSize = 16;
constexpr std::size_t FseFileSize = FseHeaderSize + TParameterData::Size;
static_assert(FseFileSize == 12996);

// The other editor's files are a few kilobytes; anything this large is not one.
constexpr std::size_t MaxFs1FileSize = 16u << 20;

const std::string WrongFs1Text = "File Error: This file is not Tarnwick's file or broken file";

using platform::ReadResult;
using platform::ReadWholeFile;

uint32_t LittleEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

std::string ProposedFileName(const std::string& name, const char* extension)
{
    auto blank = [](char c) { return uint8_t(c) <= ' '; };
    std::size_t first = 0, last = name.size();
    while (first < last && blank(name[first])) ++first;
    while (last > first && blank(name[last - 1])) --last;
    std::string proposed = name.substr(first, last - first);
    // The instrument's names are free text: "Pad/Str 2" names no folder.
    std::replace_if(proposed.begin(), proposed.end(), [](char c) { return c == '/' || c == '\0'; }, '_');
    return proposed + extension;
}

void TMainForm::CreateFileItems()
{
    OpenDialog = new TOpenDialog(this);
    OpenDialog->Name = "OpenDialog";
    OpenDialog->Title = "Quillmarven OpenDialog";
    OpenDialog->Filter = "Quillmarven SaveFile(fse)|*.fse|\"Tarnwick\" SaveFile(fs1)|*.fs1";
    OpenDialog->DefaultExt = "fse";
    OpenDialog->InitialDir = "data";

    SaveDialog = new TSaveDialog(this);
    SaveDialog->Name = "SaveDialog";
    SaveDialog->Title = "Quillmarven SaveDialog";
    SaveDialog->Filter = "Quillmarven SaveFile(*.fse)|*.fse";
    SaveDialog->DefaultExt = "fse";
    SaveDialog->InitialDir = "data";
    SaveDialog->OverwritePrompt = true;

    // Above File > Exit, in menu order.
    struct Item {
        const char* name;
        const char* caption;
        TShortCut shortCut;
        void (TMainForm::*handler)(TObject*);
    };
    const Item items[] = {
        {"FileNewItem", "&New", ShortCut('N', {ssCtrl}), &TMainForm::InitAllClick},
        {"FileOpenItem", "&Open...", ShortCut('O', {ssCtrl}), &TMainForm::FileOpenItemClick},
        {"FileSaveItem", "&Save", ShortCut('S', {ssCtrl}), &TMainForm::FileSaveItemClick},
        {"FileSaveAsItem", "Save &As...", ShortCut(VK_F12, {}), &TMainForm::FileSaveAs},
    };
    int at = 0;
    for (const Item& item : items) {
        TMenuItem* menuItem = NewItem(nullptr, item.name, item.caption, item.shortCut,
                                      [this, handler = item.handler](TObject* s) { (this->*handler)(s); });
        File1->Insert(at++, menuItem);
    }
}

void TMainForm::ShowDataUnchanged()
{
    DataChanged = 0;
    KeepUnchangedData();
    CaptionText = "Quillmarven";
    SetCaption(CaptionText);
}

bool TMainForm::ReadFseFile(const std::string& path, std::vector<uint8_t>& image)
{
    std::string reason;
    switch (ReadWholeFile(path, FseFileSize, image, &reason)) {
    case ReadResult::Ok: break;
    case ReadResult::Failed: ShowFileError(ReadFailedText, ReadCause(path, reason)); return false;
    default: // cannot be opened or too large: its size is wrong
        ShowWrongFile(WrongFileText);
        return false;
    }
    if (image.size() != FseFileSize || std::memcmp(image.data(), FseMagic, sizeof FseMagic) != 0 ||
        LittleEndian32(image.data() + 12) != FseVersion) {
        ShowWrongFile(WrongFileText);
        return false;
    }
    // Only words this editor, or an earlier version of it, could have written: one outside what
    // its field carries (or an earlier Op Paste left there) would reach the instrument brought
    // into range and the pages' arithmetic as it stands.
    TParameterData body;
    std::memcpy(&body, image.data() + FseHeaderSize, TParameterData::Size);
    if (FirstWordOutOfRange(body, *this)) {
        ShowWrongFile(WrongFileText);
        return false;
    }
    return true;
}

void TMainForm::TakeFseFile(const std::string& path, const std::vector<uint8_t>& image)
{
    CurrentFileName = path;
    // Stored as held, so that saving it again gives the same bytes; but a word an earlier
    // version's Op Paste overfilled is brought into what the instrument takes there, so that the
    // window, the instrument and the next save agree (and the file on disk no longer does).
    std::memcpy(&ParameterData, image.data() + FseHeaderSize, TParameterData::Size);
    FileWordsBroughtIntoRange = BringWordsIntoRange(ParameterData, *this, 0, TParameterData::Size);
    // The effect types' trailing levels are kept from the loaded blocks, as from a received dump.
    KeepTrailingEffectLevels(ParameterData.PfmEffect, *this, EffectKeptLevels);
    // Unchanged from now: File > Open says so at its end, start-up has changed nothing yet.
    KeepUnchangedData();
    RefreshPerformancePages();
    for (int part = 0; part < 4; ++part) RefreshVoicePages(part);
}

bool TMainForm::LoadCommandLineFile(const std::string& path)
{
    try {
        // Checked whole before anything of the edit buffer is replaced.
        std::vector<uint8_t> image;
        if (!ReadFseFile(path, image)) return false;
        TakeFseFile(path, image);
        return true;
    } catch (...) {
        ShowFileError(ReadFailedText);
        return false;
    }
}

bool TMainForm::SaveChangesFirst(const char* caption, int icon)
{
    if (!DataChanged) return true;
    return AskToSaveFirst("Do you want to save changes to file ?", caption, icon, [this] {
        FileSaveAs(this);
        // A cancelled dialog, or a write that failed: the changes are still only here.
        return !SaveAsCancelled && !DataChanged;
    });
}

void TMainForm::FileOpenItemClick(TObject*)
{
    // A file taken in replaces the edit buffer: unsaved changes are offered a save first.
    if (!SaveChangesFirst("Quillmarven", MB_ICONQUESTION)) return;
    if (!OpenDialog->Execute()) return;
    const std::string path = OpenDialog->FileName;

    // The filter entry chosen decides how the file is read, not its name.
    const bool ownFile = OpenDialog->FilterIndex == 1;
    if (ownFile) {
        std::vector<uint8_t> image;
        if (!ReadFseFile(path, image)) return;
        TakeFseFile(path, image);
        DataSendAllClick(this);
    } else {
        std::vector<uint8_t> data;
        std::string reason;
        switch (ReadWholeFile(path, MaxFs1FileSize, data, &reason)) {
        case ReadResult::Ok: break;
        case ReadResult::TooLarge: ShowWrongFile(WrongFs1Text); return;
        default: ShowFileError(ReadFailedText, ReadCause(path, reason)); return;
        }
        // Only whole system-exclusive messages are relayed: a stray byte of 80 hex or more
        // inside a message would reach the instrument as the start of another one. Byte 2, the
        // first message's device byte, must be there to take the device number.
        if (data.size() < 4 || data[0] != 0xF0 || data[1] != 0x43 || data[2] >= 0x80 ||
            !IsSystemExclusiveStream(data.data(), data.size())) {
            ShowWrongFile(WrongFs1Text);
            return;
        }
        // Every block of the file goes to the device chosen, whatever device it was stored for:
        // the device number replaces the low four bits of each message's device byte. The
        // transport adds it to the first message's byte itself; added to a nonzero nibble of the
        // file, it would spill into the kind of message.
        AddressStreamToDevice(data.data(), data.size(), DeviceNumber);
        data[2] &= 0xF0;
        // The file goes to the instrument and comes back from it: nothing to do without devices.
        if (!MidiReadyForTransfer(true)) return;
        // A message longer than the output carries raises the MIDI system's text.
        WatchTransfer();
        SendSysEx(data.data(), int(data.size()));
        // The edit buffer is the instrument's from now on, not the save file's: the next Save
        // asks for a name.
        CurrentFileName.clear();
        Application->MessageBox("File reading was successful !", "Quillmarven", MB_OK | MB_ICONINFORMATION);
        TellMessagesMayBeLost(false);
        DataRcvAllClick(this);
    }

    // Show the other page and come back, so both pages' show handlers reload their controls
    // (the voice page for its own tab, after the refreshes left part 4's voice in them).
    FS1R_PageControl->SelectNextPage(true);
    FS1R_PageControl->SelectNextPage(false);
    if (ownFile)
        ShowTakenFileData();
    else
        ShowDataUnchanged();
}

void TMainForm::ShowTakenFileData()
{
    if (FileWordsBroughtIntoRange)
        MarkDataChanged();
    else
        ShowDataUnchanged();
}

void TMainForm::FileSaveItemClick(TObject*)
{
    if (CurrentFileName.empty()) {
        FileSaveAs(this);
        return;
    }
    std::vector<uint8_t> image(FseFileSize);
    std::memcpy(image.data(), FseMagic, sizeof FseMagic);
    for (int i = 0; i < 4; ++i) image[12 + size_t(i)] = uint8_t(FseVersion >> (8 * i));
    std::memcpy(image.data() + FseHeaderSize, &ParameterData, TParameterData::Size);

    // Through a temporary file and a rename: a failed write leaves the old file whole.
    if (std::string cause; !platform::WriteFileSafely(CurrentFileName, image.data(), image.size(), &cause)) {
        ShowFileError(WriteFailedText, cause);
        return;
    }
    ShowDataUnchanged();
}

void TMainForm::FileSaveAs(TObject*)
{
    SaveAsCancelled = 0;
    SaveDialog->FileName = ProposedFileName(PerformancePage->Pfm_Name->Text(), ".fse");
    if (!SaveDialog->Execute()) {
        SaveAsCancelled = 1;
        return;
    }
    CurrentFileName = SaveDialog->FileName;
    FileSaveItemClick(this);
}
