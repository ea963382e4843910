#include "fuzz/FuzzRig.h"

#include "mainform/Pictures.h"
#include "ui/Application.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <stdexcept>
#include <unistd.h>

namespace fuzz {

void Fail(const std::string& what)
{
#ifdef QM_FUZZ_REPLAY
    // The test build replays kept inputs one after another and reports each.
    throw std::runtime_error("property failed: " + what);
#else
    std::fprintf(stderr, "\n==== property failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
#endif
}

Rig& Rig::Get()
{
    static Rig* rig = new Rig; // lives to the end of the process
    return *rig;
}

Rig::Rig()
{
    Application->SetBackend(nullptr);
    Application->Headless().Reset();
    InstallPictureDecoders();
    fs1r_ = midi_.AddDevice("FS1R");
    keyboard_ = midi_.AddDevice("Keyboard", true, false);
    form_ = std::make_unique<TMainForm>(nullptr, midi_, QM_PROGRAM_DIR);
    form_->Midi.OpenMidiPorts(0, 0, 1);
    initial_ = form_->ParameterData;
    scratch_ = std::filesystem::temp_directory_path() / ("qm-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch_);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(Get().scratch_, ec);
    });
    // The settings file of the window lives in the scratch folder too, never in the user's.
    form_->SettingsFolder = (scratch_ / "quillmarven").string();
}

void Rig::Reset()
{
    RunTransfers();
    THeadlessBackend& headless = Application->Headless();
    headless.Reset();
    TMainForm& form = *form_;
    form.ParameterData = initial_;
    form.CurrentFileName.clear();
    form.DataChanged = 0;
    form.DumpReceived = 0;
    form.DeviceNumber = 0;
    form.SilentReceiveAll = 0;
    fs1r_->SetOnReceive(nullptr);
    fs1r_->ClearReceived();
}

void Rig::Run(const std::function<void()>& command)
{
    Application->Dispatch(command);
    Application->ProcessPosted();
}

void Rig::RunTransfers()
{
    for (int step = 0; step < 1000 && form_->TransferRunning(); ++step) Application->Headless().AdvanceMs(100);
    if (form_->TransferRunning()) Fail("a transfer never ended");
}

void Rig::ShowWindow()
{
    if (!form_->Visible()) Run([&] { form_->Show(); });
}

void Rig::AnswerFileDialogs(const std::string& path, int filter, const std::string& savePath)
{
    Application->Headless().FileResponder = [=](TFileDialogRequest& request) -> std::optional<std::string> {
        if (request.Save) return savePath.empty() ? std::nullopt : std::optional<std::string>(savePath);
        request.FilterIndex = filter;
        return path;
    };
}

std::vector<Bytes> Rig::TakeSent()
{
    auto sent = fs1r_->Received();
    fs1r_->ClearReceived();
    return sent;
}

Bytes Rig::EditBuffer() const
{
    const auto* p = reinterpret_cast<const uint8_t*>(&form_->ParameterData);
    return Bytes(p, p + sizeof(TParameterData));
}

std::string Rig::ScratchFile(const std::string& name, const uint8_t* data, std::size_t size)
{
    const auto path = scratch_ / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    if (!out) Fail("cannot write the scratch file " + path.string());
    return path.string();
}

void Rig::CheckNoFailureShown(const char* when)
{
    for (const TShownMessage& m : Application->Headless().Messages)
        if (m.Icon == MB_ICONERROR) Fail(std::string(when) + ": an exception reached the display: " + m.Text);
}

void Rig::CheckShown(const std::string& text, const char* when)
{
    for (const TShownMessage& m : Application->Headless().Messages)
        if (m.Text == text) return;
    Fail(std::string(when) + ": the box \"" + text + "\" was not shown");
}

void Rig::RefreshEveryPageAndSendEverything(const char* when)
{
    TMainForm& form = *form_;
    const Bytes before = EditBuffer();
    Run([&] {
        form.RefreshPerformancePages();
        for (int part = 0; part < 4; ++part) form.RefreshVoicePages(part);
        form.FS1R_PageControl->SelectNextPage(true);
        form.FS1R_PageControl->SelectNextPage(false);
    });
    CheckNoFailureShown(when);
    CheckEditBuffer(EditBuffer(), before, std::string(when) + ": showing the pages changed the edit buffer");

    TakeSent();
    // Parameter changes of 64 words, a different choice for every edit buffer: across the run
    // every word a parameter change carries, of the system, performance, parts and voices.
    uint32_t state = 2166136261u;
    for (uint8_t b : before) state = (state ^ b) * 16777619u;
    const std::vector<TLayoutParameter> words = LayoutParameters();
    Run([&] {
        for (int i = 0; i < 64; ++i) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const TLayoutParameter& w = words[state % words.size()];
            form.SendWordAt(w.Voice ? VoiceAt(int(state >> 30)) + w.Word : w.Word);
        }
    });
    Run([&] { form.DataSendAllClick(nullptr); });
    RunTransfers();
    CheckNoFailureShown(when);
    CheckSevenBit(TakeSent(), when);
}

void CheckSevenBit(const std::vector<Bytes>& sent, const char* when)
{
    for (const Bytes& m : sent) {
        if (m.empty()) Fail(std::string(when) + ": an empty message was sent");
        const bool sysex = m[0] == 0xF0;
        if (sysex && (m.size() < 2 || m.back() != 0xF7))
            Fail(std::string(when) + ": a system-exclusive message without its closing F7 was sent");
        if (!sysex && m[0] < 0x80) Fail(std::string(when) + ": a message without a status byte was sent");
        const std::size_t end = sysex ? m.size() - 1 : m.size();
        for (std::size_t i = 1; i < end; ++i)
            if (m[i] >= 0x80) {
                char text[160];
                std::snprintf(text, sizeof text, "%s: byte %zu of a %zu-byte message (status %02X) is %02X", when, i,
                              m.size(), m[0], m[i]);
                Fail(text);
            }
    }
}

void NoteReached(const std::string& kind)
{
    static const char* const file = std::getenv("QM_FUZZ_REACHED");
    static std::set<std::string> noted;
    if (file && noted.insert(kind).second) std::ofstream(file, std::ios::app) << kind << '\n';
}

void CheckEditBuffer(const Bytes& now, const Bytes& expected, const std::string& what)
{
    if (now == expected) return;
    std::size_t at = 0;
    while (at < now.size() && at < expected.size() && now[at] == expected[at]) ++at;
    const auto word = [](const Bytes& b, std::size_t i) {
        int32_t w = 0;
        if (i + 4 <= b.size()) std::memcpy(&w, b.data() + i, 4);
        return std::to_string(w);
    };
    at &= ~std::size_t(3);
    Fail(what + " (the word at byte " + std::to_string(at) + " of the edit buffer is " + word(now, at) + ", not " +
         word(expected, at) + ")");
}

std::vector<Bytes> CutIntoPackets(const uint8_t* data, std::size_t size, uint16_t seed)
{
    std::vector<Bytes> packets;
    if (seed == 0) {
        if (size) packets.emplace_back(data, data + size);
        return packets;
    }
    uint32_t state = 0x9E3779B9u ^ seed;
    const uint32_t longest = 1 + seed % 1024u;
    for (std::size_t at = 0; at < size;) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const std::size_t length = std::min<std::size_t>(size - at, 1 + state % longest);
        packets.emplace_back(data + at, data + at + length);
        at += length;
    }
    return packets;
}

} // namespace fuzz
