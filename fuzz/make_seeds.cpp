// Writes the seed corpora from what the program itself makes: the files it saves, the dumps it
// builds, the settings it writes and the pictures its generator drew. Run by hand when a
// reader changes; the seeds are kept in fuzz/corpus.
//   fuzz_make_seeds <fuzz/corpus>
#include "fuzz/FuzzRig.h"

#include "mainform/dialogs/MIDISetupform.h"
#include "voice/VoicePage.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

using fuzz::Bytes;
namespace fs = std::filesystem;

// `path` with its folder made and no file there: every seed is written afresh, into an empty
// corpus folder as into the one kept.
fs::path Fresh(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    fs::remove(path);
    return path;
}

void Write(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(Fresh(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The six blocks as the program sends them in a send-all.
std::vector<Bytes> Dumps(TMainForm& form)
{
    std::vector<Bytes> dumps;
    form.BuildPerformanceDump(DumpPerformance, 0);
    dumps.emplace_back(form.PerformanceDumpBuffer.begin(), form.PerformanceDumpBuffer.end());
    for (int v = 0; v < 4; ++v) {
        form.BuildVoiceDump(v, 0);
        dumps.emplace_back(form.VoiceDumpBuffer.begin(), form.VoiceDumpBuffer.end());
    }
    form.BuildSystemDump();
    dumps.emplace_back(form.SystemDumpBuffer.begin(), form.SystemDumpBuffer.end());
    return dumps;
}

// A formant-sequence dump of `total` bytes: the dump frame with the sequence address, the name
// and format code in its header, sealed with the program's checksum.
Bytes SequenceFile(std::size_t total, uint8_t formatCode, const char* name)
{
    Bytes file(total, 0);
    WriteBulkDumpFrame(file.data(), total, 0x60, 0x00, 0x00);
    std::memcpy(file.data() + 9, name, 8);
    file[36] = formatCode;
    for (std::size_t i = 41; i + 2 < total; ++i) file[i] = uint8_t((i * 7) & 0x7F);
    SealBulkDump(file.data(), total);
    return file;
}

void MakeSeeds(const fs::path& corpus)
{
    fuzz::Rig& rig = fuzz::Rig::Get();
    rig.Reset();
    TMainForm& form = rig.Form();

    // .fse: the initial buffer, and one with words changed in every block, saved by File > Save.
    auto save = [&](const fs::path& path) {
        form.CurrentFileName = Fresh(path).string();
        rig.Run([&] { form.FileSaveItemClick(nullptr); });
    };
    save(corpus / "fse_file" / "initial.fse");
    TParameterData& d = form.ParameterData;
    std::memcpy(d.PfmCommon.Name.data(), "Seed Perf   ", 12);
    d.PfmCommon.Volume = 101;
    d.PfmParts[2].Volume = 77;
    d.SystemBlock.MstrTune = 70;
    for (int v = 0; v < 4; ++v) {
        d.VoiceRecords[std::size_t(v)].VoiceCommon.Algorithm = 10 + v;
        d.VoiceRecords[std::size_t(v)].VoicedOperators[1].OutputLvl = 40 + v;
    }
    save(corpus / "fse_file" / "edited.fse");

    // MIDI input: the six dumps in one packet; cut at random points with notes, clock and a
    // parameter change between them.
    const auto dumps = Dumps(form);
    Bytes stream = {0x00, 0x00};
    for (const Bytes& dump : dumps) stream.insert(stream.end(), dump.begin(), dump.end());
    Write(corpus / "midi_input" / "six_dumps", stream);
    Bytes mixed = {0x35, 0x01};
    for (const Bytes& dump : dumps) {
        const Bytes between = {0x90, 0x3C, 0x40, 0xF8, 0xB0, 0x07, 0x64, 0xFE, 0xF0, 0x43, 0x10, 0x5E,
                               0x10, 0x00, 0x0B, 0x00, 0x40, 0xF7, 0xF0, 0x43, 0x00, 0x5E, 0x03};
        mixed.insert(mixed.end(), between.begin(), between.end());
        mixed.insert(mixed.end(), dump.begin(), dump.end());
    }
    Write(corpus / "midi_input" / "dumps_among_other_messages", mixed);

    // .fs1: what the other editor stores, a stream of dumps.
    Bytes relay;
    for (const Bytes& dump : dumps) relay.insert(relay.end(), dump.begin(), dump.end());
    Write(corpus / "fs1_relay" / "six_dumps.fs1", relay);
    Write(corpus / "fs1_relay" / "one_voice.fs1", dumps[1]);

    // .syx: formant-sequence dumps of each size class, for the conversion and for the page's
    // Test and write.
    for (const char* target : {"syx_convert", "fseq_file_check"}) {
        Write(corpus / target / "code0.syx", SequenceFile(600, 0, "SeqZero "));
        Write(corpus / target / "code1.syx", SequenceFile(16384, 1, "SeqOne  "));
        Write(corpus / target / "code2.syx", SequenceFile(16385, 2, "SeqTwo  "));
        Write(corpus / target / "code3.syx", SequenceFile(32768, 3, "SeqThree"));
    }
    const Bytes smallest = SequenceFile(43, 0, "Tiny\0\0\0\0");
    Write(corpus / "fseq_file_check" / "smallest.syx", smallest);
    // Files the check refuses that are sound but for one byte of the frame, set to the first value
    // refused: the device number, the address's high and mid byte, the size code, the end mark.
    const struct {
        const char* name;
        std::size_t at;
        uint8_t value;
    } nearlySound[] = {{"device_10.syx", 2, 0x10},      {"address_5f.syx", 6, 0x5F},     {"address_62.syx", 6, 0x62},
                       {"address_mid_01.syx", 7, 0x01}, {"address_mid_7f.syx", 7, 0x7F}, {"size_code_4.syx", 36, 4},
                       {"end_7f.syx", 42, 0x7F}};
    for (const auto& seed : nearlySound) {
        Bytes file = smallest;
        file[seed.at] = seed.value;
        SealBulkDump(file.data(), file.size());
        Write(corpus / "fseq_file_check" / seed.name, file);
    }

    // .eg: the EG shape library as its save button writes it: the start-up shapes; 128 shapes,
    // those added recorded from envelopes typed into the boxes; none.
    rig.ShowWindow();
    TVoicePage& voice = *form.VoicePage;
    rig.Run([&] { form.FS1R_PageControl->SetActivePage(form.Vc_TabSheet); });
    auto saveLibrary = [&](const char* name) {
        rig.AnswerFileDialogs("", 1, Fresh(corpus / "eg_file" / name).string());
        voice.Vc_OpEGShapeSave->UserClicks();
    };
    saveLibrary("startup.eg");
    const std::array<TEdit*, 10> boxes = {voice.Edit(VcPair::Vc_OpEGHold),  voice.Edit(VcPair::Vc_OpEGTime1),
                                          voice.Edit(VcPair::Vc_OpEGTime2), voice.Edit(VcPair::Vc_OpEGTime3),
                                          voice.Edit(VcPair::Vc_OpEGTime4), voice.Edit(VcPair::Vc_OpEGTimeScaling),
                                          voice.Edit(VcPair::Vc_OpEGLv1),   voice.Edit(VcPair::Vc_OpEGLv2),
                                          voice.Edit(VcPair::Vc_OpEGLv3),   voice.Edit(VcPair::Vc_OpEGLv4)};
    for (int i = voice.Vc_OpPresetEG->Items.Count(); i < 128; ++i) {
        for (std::size_t k = 0; k < boxes.size(); ++k)
            boxes[k]->UserSetsText(std::to_string(k == 5 ? (i + int(k)) % 8 : (i * 7 + int(k) * 13) % 100));
        voice.Vc_OpPresetEGEdit->UserSetsText(i % 3 == 0 ? "Caf\u00e9 " + std::to_string(i)
                                                         : "Shape " + std::to_string(i));
        voice.Vc_OpEGShapeWrite->UserClicks();
    }
    saveLibrary("full.eg");
    while (voice.Vc_OpPresetEG->Items.Count() > 0) {
        voice.Vc_OpPresetEG->UserSelects(0);
        voice.Vc_OpEGShapeDel->UserClicks();
    }
    saveLibrary("empty.eg");

    // Settings: as the setup dialog's OK writes them.
    WriteMidiSettings(Fresh(corpus / "settings_file" / "setup.INI"), {"FS1R MIDI 1", "FS1R MIDI 1", "Keyboard", 3});
    WriteMidiSettings(Fresh(corpus / "settings_file" / "no_keyboard.INI"), {" USB MIDI ", "\"Out\"", "", 15});

    // Pictures: the smallest the generator drew, and a bitmap saved by the form library.
    const fs::path program = QM_PROGRAM_DIR;
    fs::copy_file(program / "graphics" / "about_emblem.jpg", Fresh(corpus / "jpeg_picture" / "about_emblem.jpg"));
    fs::copy_file(program / "graphics" / "glyph_ok.bmp", Fresh(corpus / "bmp_picture" / "glyph_ok.bmp"));
    TBitmap small(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) small.SetPixelRaw(x, y, TColor(0x10203 * (x + 4 * y)));
    small.SaveToFile(Fresh(corpus / "bmp_picture" / "saved_24bit.bmp").string());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds <corpus folder>\n");
        return 2;
    }
    try {
        MakeSeeds(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fuzz_make_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
