// File > Convert Syx to MIDI File: a formant-sequence file (.syx) becomes a standard MIDI file.
//
// Input: the file; the sum of its bytes also picks the destination a person chooses in the
// dialog (an item past the dialog's last leaves its default, Int 1): whichever byte a mutation
// changes, the destination may move with it, so that each size class meets every destination.
// Properties: a file that is not one formant-sequence dump of its size class (at least 41
// bytes, format code 0..3, codes 0 and 1 up to 16,384 bytes, 2 and 3 from 16,385 to 32,768,
// one system-exclusive message with 7-bit bytes inside) is refused with the read-failure box
// and nothing is written; a file taken gives the MIDI file of the conversion: the header
// chunk, the track of name, time signature, tempo, key signature, the dump as stored but for
// its address bytes 6 and 8 and its checksum, and the end of track.
#include "fuzz/FuzzRig.h"

#include "mainform/dialogs/FSEQStoreNumSel.h"

#include <fstream>
#include <iterator>
#include <numeric>

namespace {

fuzz::Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return fuzz::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Expect(bool holds, const char* what)
{
    if (!holds) fuzz::Fail(std::string("the MIDI file: ") + what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Rig& rig = fuzz::Rig::Get();
    rig.Reset();
    TMainForm& form = rig.Form();
    const std::string syx = rig.ScratchFile("in.syx", data, size);
    const std::string mid = (rig.ScratchFolder() / "out.mid").string();
    std::filesystem::remove(mid);
    rig.AnswerFileDialogs(syx, 1, mid);
    const int wanted = int(std::accumulate(data, data + size, 0u) % 7);
    Application->Headless().ModalResponder = [&](TForm& dialog) {
        auto* store = dynamic_cast<TFSEQStoreForm*>(&dialog);
        if (!store) return;
        if (wanted < store->FSEQStoreRadio->Items.Count()) store->FSEQStoreRadio->UserClicks(wanted);
        store->FSEQStoreBtn->Click();
    };

    const fuzz::Bytes before = rig.EditBuffer();
    rig.Run([&] { form.CnvSyx2SMFClick(nullptr); });
    rig.CheckNoFailureShown("conversion");
    if (rig.EditBuffer() != before) fuzz::Fail("the conversion changed the edit buffer");
    if (!rig.TakeSent().empty()) fuzz::Fail("the conversion sent something");

    const int code = size > 36 ? data[36] : -1;
    bool valid = size >= 41 && code >= 0 && code <= 3 && (code < 2 ? size <= 16384 : size > 16384 && size <= 32768) &&
                 data[0] == 0xF0 && data[size - 1] == 0xF7;
    for (std::size_t i = 1; valid && i + 1 < size; ++i) valid = data[i] < 0x80;
    if (!valid) {
        rig.CheckShown("Can't perform one of the following file operations: Open, Seek, Read, Close.", "a wrong file");
        if (std::filesystem::exists(mid)) fuzz::Fail("a refused file was converted");
        return 0;
    }

    const fuzz::Bytes out = ReadAll(mid);
    const std::size_t n = size, l = code < 2 ? 2 : 3;
    Expect(out.size() == n + 69 + l, "wrong size");
    const fuzz::Bytes head = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0x60, 'M', 'T', 'r', 'k'};
    Expect(std::equal(head.begin(), head.end(), out.begin()), "wrong header");
    const std::size_t track = n + 47 + l;
    Expect(out[18] == (track >> 24 & 0xFF) && out[19] == (track >> 16 & 0xFF) && out[20] == (track >> 8 & 0xFF) &&
               out[21] == (track & 0xFF),
           "wrong track length");
    const fuzz::Bytes meta = {0x00, 0xFF, 0x03, 0x0F};
    Expect(std::equal(meta.begin(), meta.end(), out.begin() + 22), "no track name");
    Expect(std::equal(data + 9, data + 17, out.begin() + 26), "the name is not the file's");
    for (int i = 0; i < 7; ++i) Expect(out[34 + std::size_t(i)] == ' ', "the name is not padded with blanks");
    const fuzz::Bytes tempo = {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x51, 0x03,
                               0x07, 0xA1, 0x20, 0x00, 0xFF, 0x59, 0x02, 0x00, 0x00, 0x81, 0x00, 0xF0};
    Expect(std::equal(tempo.begin(), tempo.end(), out.begin() + 41), "wrong meta events");
    const std::size_t m = n - 1;
    if (l == 2)
        Expect(out[65] == 0x80 + m / 128 && out[66] == m % 128, "wrong length bytes");
    else
        Expect(out[65] == 0x80 + m / 16384 && out[66] == 0x80 + (m - 16384) / 128 && out[67] == (m - 16384) % 128,
               "wrong length bytes");

    const int chosen = form.FseqStoreNumber;
    const uint8_t* dump = out.data() + 65 + l; // bytes 1 .. n-1 of the file
    unsigned sum = 0;
    for (std::size_t i = 1; i < n; ++i) {
        uint8_t expected = data[i];
        if (i == 6) expected = chosen == 0 ? 0x60 : 0x61;
        if (i == 8) expected = uint8_t(chosen == 0 ? 0 : chosen - 1);
        if (i == n - 2) {
            Expect(((sum + dump[i - 1]) & 0x7F) == 0 && dump[i - 1] < 0x80, "wrong checksum");
            continue;
        }
        if (i >= 4) sum += expected;
        Expect(dump[i - 1] == expected, "the dump is not the file's");
    }
    const fuzz::Bytes end = {0x8F, 0x7F, 0xFF, 0x2F, 0x00};
    Expect(std::equal(end.begin(), end.end(), out.end() - 5), "wrong end of track");
    if (chosen < 0 || chosen > 6 - (code > 0 ? code : 0)) fuzz::Fail("a destination the sequence does not fit");
    fuzz::NoteReached("code " + std::to_string(code) + " destination " + std::to_string(chosen));
    return 0;
}
