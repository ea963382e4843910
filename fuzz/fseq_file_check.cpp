// The formant-sequence file (.syx) as the formant-sequence page's Test and write buttons take it:
// the file check (CheckFseqFile and the header readers) and what goes to the instrument.
//
// Input: the file. Bytes 17..19 carry nothing the program reads; here they pick the person's
// choices: byte 17 the memory written (0..5), byte 18 the memories that hold a sequence already
// (its low six bits; the chosen memory among them only when bit 6 is set), byte 19 the device
// number (0..15).
// Properties: the check and the header readers never read outside the file; the check calls a
// file sound exactly when it is 43..32,768 bytes, F0 43 0n 5E, address 60 or 61 then 00, F7 last
// with every byte between below 80 hex, and of the size class of its size code (0..3: codes 0 and
// 1 at most 16,384 bytes, 2 and 3 from 16,385 to 32,768). A file refused, by the check or by the
// memories it needs, shows one box and sends nothing, starts no transfer, and leaves the memory
// list, the memories' settings and the edit buffer as they were. A sound file is sent as one
// message: the file addressed 60 xx 00 (Test) or 61 xx s (write into memory s), byte 2 the
// device number, its checksum correct; the transfer then locks the window from its first tick to
// its eleventh, 200 ms times (size code + 1) apart. A write names the memory after the file,
// marks the memories the sequence fills and keeps the file's settings for the memory; Test
// changes none of them. Everything sent is whole and 7-bit inside.
#include "fuzz/FuzzRig.h"

#include "core/FseqFile.h"
#include "performance/PerformancePage.h"

#include <array>
#include <numeric>
#include <string>

namespace {

using fuzz::Bytes;
enum class Kind { Sound, CodeUnknown, Damaged };

const std::string FileError = "Can't perform one of the following file operations: Open, Seek, Read, Close.";
const std::string Occupied = "Can't overwrite this internal FSEQ data!";
const std::string SizeRefused = "Can't write this internal memory! Please confirm FSEQ data size.";
const std::string Overlap =
    "Can't write this internal memory! Please confirm FSEQ data size or Internal FSEQ data can't overwrite.";

// What the file is: framed as one sequence dump (and of the size class of its code), or not.
Kind KindOf(const uint8_t* d, std::size_t n)
{
    if (n < 43 || n > 32768) return Kind::Damaged;
    if (d[0] != 0xF0 || d[1] != 0x43 || d[2] > 0x0F || d[3] != 0x5E || (d[6] != 0x60 && d[6] != 0x61) ||
        d[7] != 0x00 || d[n - 1] != 0xF7)
        return Kind::Damaged;
    for (std::size_t i = 1; i + 1 < n; ++i)
        if (d[i] >= 0x80) return Kind::Damaged;
    const int code = d[36];
    if (code > 3) return Kind::CodeUnknown;
    const bool inClass = code < 2 ? n <= 16384 : n > 16384;
    return inClass ? Kind::Sound : Kind::Damaged;
}

// The file as the instrument must get it: device number, address, checksum of bytes 4..n-3.
Bytes Addressed(const uint8_t* d, std::size_t n, uint8_t device, uint8_t high, uint8_t low)
{
    Bytes b(d, d + n);
    b[2] = device;
    b[6] = high;
    b[8] = low;
    const int sum = std::accumulate(b.begin() + 4, b.end() - 2, 0);
    b[n - 2] = uint8_t(-sum & 0x7F);
    return b;
}

FseqMemorySlot SettingsOf(const uint8_t* d)
{
    return {d[25] * 128 + d[26], d[27] * 128 + d[28], d[29], d[31], d[32], d[34], d[35], d[39] * 128 + d[40]};
}

bool Same(const FseqMemorySlot& a, const FseqMemorySlot& b)
{
    return a.LoopStart == b.LoopStart && a.LoopEnd == b.LoopEnd && a.LoopMode == b.LoopMode &&
           a.SpeedVel == b.SpeedVel && a.Pitch == b.Pitch && a.LevelVel == b.LevelVel && a.StartDelay == b.StartDelay &&
           a.EndStep == b.EndStep;
}
bool Same(const std::array<FseqMemorySlot, 6>& a, const std::array<FseqMemorySlot, 6>& b)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!Same(a[i], b[i])) return false;
    return true;
}

std::string Number(int memory) { return "0" + std::to_string(memory + 1); }

// The header readers on a buffer of exactly the file's bytes: whatever they read lies inside.
void CheckReaders(const uint8_t* data, std::size_t size, Kind kind)
{
    const std::vector<uint8_t> file(data, data + size);
    const TFseqFileCheck check = CheckFseqFile(file);
    const TFseqFileCheck expected = kind == Kind::Sound         ? TFseqFileCheck::Sound
                                    : kind == Kind::CodeUnknown ? TFseqFileCheck::SizeCodeUnknown
                                                                : TFseqFileCheck::Damaged;
    if (check != expected) fuzz::Fail("the file check judges the file wrongly");
    const bool fits = size >= 41 && (data[36] < 2 ? size <= 16384 : data[36] <= 3 && size > 16384 && size <= 32768);
    if (FseqFileFitsItsClass(file) != fits) fuzz::Fail("the size class check judges the file wrongly");
    if (size < 41) return;
    std::string name;
    for (std::size_t i = 9; i < 17 && data[i] != 0; ++i) name += char(data[i]);
    if (FseqName(file) != name) fuzz::Fail("the name read is not the file's");
    if (!Same(FseqSettings(file), SettingsOf(data))) fuzz::Fail("the settings read are not the file's");
    if (FseqSizeCode(file) != data[36]) fuzz::Fail("the size code read is not the file's");
}

class Page {
public:
    Page(fuzz::Rig& rig) : rig_(rig), form_(rig.Form()), page_(*form_.PerformancePage) {}

    std::vector<std::string> Items() const { return page_.Pfm_Fseq_FseqInt->Items.Items(); }

    // One box with `text`, and nothing sent, started or changed.
    void CheckRefused(const std::string& text, const char* when, const std::vector<std::string>& items,
                      const std::array<FseqMemorySlot, 6>& slots, const Bytes& buffer)
    {
        const auto& shown = Application->Headless().Messages;
        const bool fileError = text == FileError;
        if (shown.size() != 1 || shown[0].Text != text ||
            shown[0].Caption != (fileError ? "File Error" : "Quillmarven") ||
            (fileError ? shown[0].Buttons != MB_OKCANCEL
                       : shown[0].Buttons != MB_OK || shown[0].Icon != MB_ICONINFORMATION))
            fuzz::Fail(std::string(when) + ": not the box \"" + text + "\" alone");
        if (!rig_.TakeSent().empty()) fuzz::Fail(std::string(when) + ": a refused file sent something");
        if (form_.TransferRunning()) fuzz::Fail(std::string(when) + ": a refused file started a transfer");
        if (Items() != items) fuzz::Fail(std::string(when) + ": a refused file changed the memory list");
        if (!Same(form_.FseqIntInfo, slots)) fuzz::Fail(std::string(when) + ": a refused file changed a memory");
        fuzz::CheckEditBuffer(rig_.EditBuffer(), buffer,
                              std::string(when) + ": a refused file changed the edit buffer");
        Application->Headless().Messages.clear();
    }

    // The transfer a sound file started: free until the first tick, locked from it to the
    // eleventh, each `interval` ms apart, and nothing more sent meanwhile.
    void CheckTransfer(int sizeCode, const char* when)
    {
        THeadlessBackend& headless = Application->Headless();
        const uint64_t interval = 200 * uint64_t(sizeCode + 1);
        if (!form_.TransferRunning()) fuzz::Fail(std::string(when) + ": no transfer started");
        headless.AdvanceMs(interval - 1);
        if (!form_.Enabled()) fuzz::Fail(std::string(when) + ": locked before the first tick");
        headless.AdvanceMs(1);
        if (form_.Enabled()) fuzz::Fail(std::string(when) + ": not locked at the first tick");
        headless.AdvanceMs(10 * interval - 1);
        if (form_.Enabled() || !form_.TransferRunning())
            fuzz::Fail(std::string(when) + ": the transfer ended before its eleventh tick");
        headless.AdvanceMs(1);
        if (!form_.Enabled() || form_.TransferRunning())
            fuzz::Fail(std::string(when) + ": the transfer did not end at its eleventh tick");
        rig_.CheckNoFailureShown(when);
        if (!rig_.TakeSent().empty()) fuzz::Fail(std::string(when) + ": the transfer sent something more");
    }

    fuzz::Rig& rig_;
    TMainForm& form_;
    TPerformancePage& page_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const Kind kind = KindOf(data, size);
    CheckReaders(data, size, kind);

    fuzz::Rig& rig = fuzz::Rig::Get();
    rig.Reset();
    rig.ShowWindow();
    TMainForm& form = rig.Form();
    Page page(rig);
    TPerformancePage& p = page.page_;
    static const std::array<FseqMemorySlot, 6> startSlots = form.FseqIntInfo;

    // The internal memories on screen, as chosen by bytes 17..19.
    const int memory = size > 17 ? data[17] % 6 : 0;
    int held = size > 18 ? data[18] & 0x3F : 0;
    if (size <= 18 || !(data[18] & 0x40)) held &= ~(1 << memory);
    const auto device = uint8_t(size > 19 ? data[19] & 0x0F : 0);
    form.DeviceNumber = device;
    form.ParameterData.SystemBlock.MemoryMode = 1;
    form.ParameterData.PfmFseq.FseqBank = 0;
    form.FseqIntInfo = startSlots;
    for (int s = 0; s < 6; ++s)
        p.Pfm_Fseq_FseqInt->Items.SetStrings(s, Number(s) + (held >> s & 1 ? ": Held" : ": Store OK !"));
    rig.Run([&] {
        form.FS1R_PageControl->SetActivePage(form.Pfm_TabSheet);
        p.Pfm_PageControl->SetActivePage(p.Pfm_FSEQ_Ctrl_TabSheet);
        form.RefreshPerformancePages();
    });
    if (!p.Pfm_Fseq_FseqInt->UserSelects(memory)) fuzz::Fail("the memory cannot be chosen");
    rig.CheckNoFailureShown("choosing the memory");
    rig.TakeSent();
    Application->Headless().Messages.clear();

    const std::string path = rig.ScratchFile("in.syx", data, size);
    rig.AnswerFileDialogs(path, 1);
    std::vector<std::string> items = page.Items();
    std::array<FseqMemorySlot, 6> slots = form.FseqIntInfo;
    Bytes buffer = rig.EditBuffer();

    // Test: the edit buffer of the instrument only.
    if (!p.Pfm_Fseq_FseqTestBtn->UserClicks()) fuzz::Fail("Test cannot be clicked");
    rig.CheckNoFailureShown("Test");
    if (kind != Kind::Sound) {
        page.CheckRefused(FileError, "Test", items, slots, buffer);
    } else {
        const std::vector<Bytes> sent = rig.TakeSent();
        fuzz::CheckSevenBit(sent, "Test");
        if (sent.size() != 1 || sent[0] != Addressed(data, size, device, 0x60, 0x00))
            fuzz::Fail("Test did not send the file addressed to the edit buffer as one message");
        if (!Application->Headless().Messages.empty()) fuzz::Fail("Test of a sound file showed a box");
        if (page.Items() != items || !Same(form.FseqIntInfo, slots)) fuzz::Fail("Test changed a memory");
        fuzz::CheckEditBuffer(rig.EditBuffer(), buffer, "Test changed the edit buffer");
        page.CheckTransfer(data[36], "Test");
    }

    // Write into the memory chosen.
    items = page.Items();
    slots = form.FseqIntInfo;
    buffer = rig.EditBuffer();
    Application->Headless().FileDialogs.clear();
    if (!p.Pfm_Fseq_FseqIntWrite->UserClicks()) fuzz::Fail("write cannot be clicked");
    rig.CheckNoFailureShown("write");
    const auto free = [&](int s) { return !(held >> s & 1); };
    if (!free(memory)) {
        if (!Application->Headless().FileDialogs.empty()) fuzz::Fail("write into a held memory asked for a file");
        page.CheckRefused(Occupied, "write into a held memory", items, slots, buffer);
        return 0;
    }
    if (kind == Kind::Damaged) {
        page.CheckRefused(FileError, "write", items, slots, buffer);
        return 0;
    }
    const int code = data[36];
    if (memory + code >= 6) {
        page.CheckRefused(SizeRefused, "write past the last memory", items, slots, buffer);
        return 0;
    }
    bool room = code <= 3;
    for (int s = memory + 1; room && s <= memory + code; ++s) room = free(s);
    if (!room) {
        page.CheckRefused(Overlap, "write over a held memory", items, slots, buffer);
        return 0;
    }
    const std::vector<Bytes> sent = rig.TakeSent();
    fuzz::CheckSevenBit(sent, "write");
    const Bytes number = {0xF0, 0x43, uint8_t(0x10 + device), 0x5E, 0x10, 0x00, 0x17, 0x00, uint8_t(memory), 0xF7};
    if (sent.size() != 2 || sent[0] != Addressed(data, size, device, 0x61, uint8_t(memory)) || sent[1] != number)
        fuzz::Fail("write did not send the file addressed to its memory as one message, then the memory's number");
    if (!Application->Headless().Messages.empty()) fuzz::Fail("writing a sound file showed a box");
    std::string name;
    for (std::size_t i = 9; i < 17 && data[i] != 0; ++i) name += char(data[i]);
    items[std::size_t(memory)] = Number(memory) + ": " + name;
    for (int s = memory + 1; s <= memory + code; ++s) items[std::size_t(s)] = Number(s) + ": *********";
    if (page.Items() != items) fuzz::Fail("the memory list does not show the written sequence");
    if (p.Pfm_Fseq_FseqInt->ItemIndex() != memory) fuzz::Fail("the written memory is not chosen");
    slots[std::size_t(memory)] = SettingsOf(data);
    if (!Same(form.FseqIntInfo, slots)) fuzz::Fail("the memory does not keep the file's settings");
    fuzz::CheckEditBuffer(rig.EditBuffer(), buffer, "write changed the edit buffer");
    page.CheckTransfer(code, "write");
    return 0;
}
