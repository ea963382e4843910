// The envelope-shape library file (.eg), opened with the open button of the operator page's EG
// shape library, saved with its save button, and its shapes chosen from the list.
//
// Input: the file. Bytes 14 and 15 carry nothing in a library file; here they pick the operator
// on screen (byte 14: operator tab 0..15, voiced then unvoiced) and the voice (byte 15).
// Properties: a file that is not 6,680 bytes with "QuillmarvenEG" and its NUL, version 100 and a
// count of 0..128 is refused with the wrong-file box alone and changes nothing: not the table,
// the list's items or selection, the name box or the edit buffer, and nothing is sent. A file taken
// makes the list's items its names and table entries 0..count-1 its records (names cut at ten
// bytes or the first NUL), leaves the later entries, selects nothing, empties the name box and
// sends nothing. Saving the library and opening that file again gives the same shapes. Choosing
// each shape then puts its values into the operator on screen (each value in range as the
// envelope's own: 99 minus a hold, time or level, the time scaling capped at 7), changes nothing
// else of the edit buffer, and sends only whole parameter changes of that operator, 7-bit inside.
#include "fuzz/FuzzRig.h"

#include "voice/EGShapeLibrary.h"
#include "voice/VoicePage.h"

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

using fuzz::Bytes;
constexpr std::size_t FileSize = 6680, HeaderSize = 24, RecordSize = 52, Records = 128;
constexpr char Magic[14] = {'Q', 'u', 'i', 'l', 'l', 'm', 'a', 'r', 'v', 'e', 'n', 'E', 'G', '\0'};
const std::string WrongFile = "File Error: This file is not Quillmarven's file or broken file";

int32_t Int32At(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

// A name as the list shows it: its 8-bit characters as UTF-8.
std::string Shown(const std::array<char, 12>& name)
{
    std::string text;
    for (std::size_t i = 0; i < 10 && name[i] != '\0'; ++i) {
        const auto c = uint8_t(name[i]);
        if (c < 0x80) {
            text += char(c);
        } else {
            text += char(0xC0 | c >> 6);
            text += char(0x80 | (c & 0x3F));
        }
    }
    return text;
}

// Record i of a library file as the table holds it: the name's bytes up to the first NUL of
// its first ten, the rest zero, and the ten values.
EGShapeRecord RecordOf(const uint8_t* file, std::size_t i)
{
    const uint8_t* r = file + HeaderSize + RecordSize * i;
    EGShapeRecord shape{};
    for (std::size_t k = 0; k < 10 && r[k] != 0; ++k) shape.Name[k] = char(r[k]);
    for (std::size_t k = 0; k < 10; ++k) shape.Value[k] = Int32At(r + 12 + 4 * k);
    return shape;
}

bool Same(const EGShapeRecord& a, const EGShapeRecord& b) { return a.Name == b.Name && a.Value == b.Value; }

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The library's state that a refused file must leave alone.
struct Library {
    EGShapeTableType Table;
    std::vector<std::string> Items;
    int Selected;
    std::string NameBox;
};
Library Take(const TMainForm& form, const TVoicePage& page)
{
    return {form.EGShapeTable, page.Vc_OpPresetEG->Items.Items(), page.Vc_OpPresetEG->ItemIndex(),
            page.Vc_OpPresetEGEdit->Text()};
}
bool SameTable(const EGShapeTableType& a, const EGShapeTableType& b)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!Same(a[i], b[i])) return false;
    return true;
}

void CheckOneBox(const std::string& text, const char* when)
{
    const auto& shown = Application->Headless().Messages;
    if (shown.size() != 1 || shown[0].Text != text || shown[0].Caption != "Quillmarven" ||
        shown[0].Icon != MB_ICONEXCLAMATION || shown[0].Buttons != MB_OK)
        fuzz::Fail(std::string(when) + ": not the wrong-file box alone");
}

// The ten envelope words of the operator on screen, in the order of a record's values: hold,
// times 1..4, time scaling, levels 1..4.
template <class Op>
std::array<int32_t*, 10> EnvelopeWords(Op& o)
{
    return {&o.EGHold,        &o.EGTime1, &o.EGTime2, &o.EGTime3, &o.EGTime4,
            &o.EGTimeScaling, &o.EGLv1,   &o.EGLv2,   &o.EGLv3,   &o.EGLv4};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Rig& rig = fuzz::Rig::Get();
    rig.Reset();
    rig.ShowWindow();
    TMainForm& form = rig.Form();
    TVoicePage& page = *form.VoicePage;
    // The library as the program starts with it, put back before every input.
    static const Library startUp = Take(form, page);

    const int tab = size > 14 ? data[14] % 16 : 0, voice = size > 15 ? data[15] % 4 : 0;
    rig.Run([&] { form.FS1R_PageControl->SetActivePage(form.Vc_TabSheet); });
    if (page.Vc_VoiceTab->TabIndex() != voice && !page.Vc_VoiceTab->UserSelects(voice))
        fuzz::Fail("the voice tab cannot be chosen");
    rig.Run([&] { form.RefreshVoicePages(voice); });
    if (!page.Vc_OperatorTab->UserSelects(tab)) fuzz::Fail("the operator tab cannot be chosen");
    form.EGShapeTable = startUp.Table;
    page.Vc_OpPresetEG->Items.Clear();
    for (const std::string& item : startUp.Items) page.Vc_OpPresetEG->Items.Add(item);
    // A shape chosen and a name typed before the open.
    page.Vc_OpPresetEG->SetItemIndex(int(size % 23));
    page.Vc_OpPresetEGEdit->SetText("Typed");
    rig.TakeSent();
    Application->Headless().Messages.clear();

    const Library before = Take(form, page);
    const Bytes buffer = rig.EditBuffer();
    const std::string path = rig.ScratchFile("in.eg", data, size);
    const std::string saved = (rig.ScratchFolder() / "out.eg").string();
    std::filesystem::remove(saved);
    rig.AnswerFileDialogs(path, 1, saved);
    if (!page.Vc_OpEGShapeOpen->UserClicks()) fuzz::Fail("the open button cannot be clicked");
    rig.CheckNoFailureShown("open");
    if (!rig.TakeSent().empty()) fuzz::Fail("opening a library sent something");
    fuzz::CheckEditBuffer(rig.EditBuffer(), buffer, "opening a library changed the edit buffer");

    const int32_t count = size >= HeaderSize ? Int32At(data + 20) : -1;
    const bool valid = size == FileSize && std::memcmp(data, Magic, sizeof Magic) == 0 && Int32At(data + 16) == 100 &&
                       count >= 0 && count <= int32_t(Records);
    const Library after = Take(form, page);
    if (!valid) {
        CheckOneBox(WrongFile, "a wrong file");
        if (!SameTable(after.Table, before.Table)) fuzz::Fail("a refused file changed the table");
        if (after.Items != before.Items) fuzz::Fail("a refused file changed the list");
        if (after.Selected != before.Selected) fuzz::Fail("a refused file changed the list's selection");
        if (after.NameBox != before.NameBox) fuzz::Fail("a refused file changed the name box");
        return 0;
    }

    if (!Application->Headless().Messages.empty()) fuzz::Fail("a library taken showed a box");
    const auto n = std::size_t(count);
    if (after.Items.size() != n) fuzz::Fail("the list does not hold the file's count of shapes");
    for (std::size_t i = 0; i < Records; ++i) {
        const EGShapeRecord expected = i < n ? RecordOf(data, i) : before.Table[i];
        if (!Same(after.Table[i], expected))
            fuzz::Fail("table entry " + std::to_string(i) + (i < n ? " is not the file's" : " changed"));
        if (i < n && after.Items[i] != Shown(expected.Name))
            fuzz::Fail("item " + std::to_string(i) + " is not the stored name");
    }
    if (after.Selected != -1) fuzz::Fail("a shape is selected after the open");
    if (!after.NameBox.empty()) fuzz::Fail("the name box is not empty after the open");

    // Saved and read again: the same shapes, whether read by the reader or opened again.
    if (!page.Vc_OpEGShapeSave->UserClicks()) fuzz::Fail("the save button cannot be clicked");
    rig.CheckNoFailureShown("save");
    if (!Application->Headless().Messages.empty()) fuzz::Fail("saving the library showed a box");
    const Bytes file = ReadAll(saved);
    if (file.size() != FileSize || std::memcmp(file.data(), Magic, sizeof Magic) != 0 || Int32At(&file[16]) != 100 ||
        Int32At(&file[20]) != count)
        fuzz::Fail("the saved file's header is not the library's");
    for (std::size_t i = 0; i < Records; ++i) {
        const uint8_t* r = &file[HeaderSize + RecordSize * i];
        const EGShapeRecord& shape = after.Table[i];
        if (std::memcmp(r, shape.Name.data(), 11) != 0)
            fuzz::Fail("the saved name of entry " + std::to_string(i) + " is not the table's");
        for (std::size_t k = 0; k < 10; ++k)
            if (Int32At(r + 12 + 4 * k) != shape.Value[k])
                fuzz::Fail("a saved value of entry " + std::to_string(i) + " is not the table's");
    }
    if (file != WriteEGShapeFile(after.Table, count)) fuzz::Fail("the save is not the library's file image");
    const auto reread = ReadEGShapeFile(file.data(), file.size());
    if (!reread || reread->size() != n) fuzz::Fail("the saved library does not read back");
    for (std::size_t i = 0; i < n; ++i)
        if (!Same((*reread)[i], after.Table[i])) fuzz::Fail("a saved shape reads back changed");
    rig.AnswerFileDialogs(saved, 1);
    if (!page.Vc_OpEGShapeOpen->UserClicks()) fuzz::Fail("the open button cannot be clicked again");
    rig.CheckNoFailureShown("open again");
    const Library again = Take(form, page);
    if (!Application->Headless().Messages.empty() || !SameTable(again.Table, after.Table) ||
        again.Items != after.Items || again.Selected != -1 || !again.NameBox.empty())
        fuzz::Fail("opening the saved library gives other shapes");
    if (!rig.TakeSent().empty()) fuzz::Fail("saving and opening the library sent something");

    // Each shape chosen in turn.
    VoiceRecord& record = form.ParameterData.VoiceRecords[std::size_t(voice)];
    const std::array<int32_t*, 10> words = tab < 8 ? EnvelopeWords(record.VoicedOperators[std::size_t(tab)])
                                                   : EnvelopeWords(record.UnvoicedOperators[std::size_t(tab - 8)]);
    const auto* base = reinterpret_cast<const uint8_t*>(&form.ParameterData);
    for (std::size_t i = 0; i < n; ++i) {
        if (!page.Vc_OpPresetEG->UserSelects(int(i))) fuzz::Fail("a shape cannot be chosen");
        rig.CheckNoFailureShown("choosing a shape");
        if (page.Vc_OpPresetEG->ItemIndex() != int(i) || page.Vc_OpPresetEGEdit->Text() != after.Items[i])
            fuzz::Fail("the chosen shape's name is not in the name box");
        const EGShapeRecord& shape = after.Table[i];
        Bytes expected = buffer;
        for (std::size_t k = 0; k < 10; ++k) {
            const int32_t word = *words[k], v = shape.Value[k];
            const int32_t top = k == 5 ? 7 : 99;
            if (word < 0 || word > top) fuzz::Fail("a shape put a value out of its range into the operator");
            const bool inRange = k == 5 ? v >= 0 && v <= 9 : v >= 0 && v <= 99;
            if (inRange && word != (k == 5 ? std::min(v, 7) : 99 - v))
                fuzz::Fail("value " + std::to_string(k) + " of shape " + std::to_string(i) +
                           " did not reach the operator");
            std::memcpy(expected.data() + (reinterpret_cast<const uint8_t*>(words[k]) - base), &word, 4);
        }
        fuzz::CheckEditBuffer(rig.EditBuffer(), expected, "a shape changed more than the operator's envelope");
        const std::vector<Bytes> sent = rig.TakeSent();
        fuzz::CheckSevenBit(sent, "choosing a shape");
        for (const Bytes& m : sent)
            if (m.size() != 10 || m[0] != 0xF0 || m[1] != 0x43 || m[2] != 0x10 + form.DeviceNumber || m[3] != 0x5E ||
                m[4] != 0x60 + voice || m[5] != tab % 8 || m[9] != 0xF7)
                fuzz::Fail("choosing a shape sent something else than a parameter change of the operator");
    }
    return 0;
}
