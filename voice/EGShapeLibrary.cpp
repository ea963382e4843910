// The EG shape library of the operator page: the list of named amplitude-envelope shapes, the
// name box over it, and its four buttons (record, delete, open, save), with the library file.
//
// The library is not part of the edit buffer: nothing here sends, marks the data changed or
// touches the save file by itself. It keeps its own mark of shapes not yet saved to a file, so
// that they are not lost without a question at File > Exit or at the opening of another library.
// Applying a shape writes its values into the value boxes of the operator envelope, as a person
// would type them, so their own handlers store and send.
#include "voice/EGShapeLibrary.h"

#include "core/Latin1.h"
#include "core/pages/FileBoxes.h"
#include "platform/SafeFile.h"
#include "voice/VoicePage.h"

#include <algorithm>
#include <cstring>

namespace {

// The pause after each value of an applied shape but the last, so that the instrument gets its
// messages at least this far apart.
constexpr unsigned ApplyPauseMs = 50;
// The order the values go into their boxes: hold, time 1, level 1, .. time 4, level 4, time
// scaling (indexes of EGShapeRecord::Value: hold, times 1..4, time scaling, levels 1..4).
constexpr int ApplyOrder[10] = {0, 1, 6, 2, 7, 3, 8, 4, 9, 5};
// The characters of a name (its 8-bit form): the name box takes ten.
constexpr std::size_t NameLength = 10;

int32_t Int32At(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

void PutInt32(uint8_t* p, int32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(uint32_t(v) >> (8 * i));
}

// A name as the list shows it, and its 8-bit form in a table entry (at most ten bytes, the rest
// of the field NUL).
std::string NameText(const EGShapeRecord& shape)
{
    return FromLatin1(reinterpret_cast<const uint8_t*>(shape.Name.data()), NameLength);
}
void SetName(EGShapeRecord& shape, const std::string& text)
{
    const std::string bytes = ToLatin1(text);
    shape.Name.fill('\0');
    std::copy_n(bytes.begin(), std::min(bytes.size(), NameLength), shape.Name.begin());
}

} // namespace

// ---- the file ------------------------------------------------------------------------------------

std::vector<uint8_t> WriteEGShapeFile(const EGShapeTableType& table, int count)
{
    std::vector<uint8_t> image(EGShapeFileSize, 0);
    std::memcpy(image.data(), EGShapeMagic, sizeof EGShapeMagic);
    PutInt32(&image[16], EGShapeVersion);
    PutInt32(&image[20], count);
    for (std::size_t i = 0; i < table.size(); ++i) {
        uint8_t* record = &image[EGShapeHeaderSize + EGShapeRecordSize * i];
        std::memcpy(record, table[i].Name.data(), NameLength + 1);
        for (std::size_t k = 0; k < table[i].Value.size(); ++k) PutInt32(record + 12 + 4 * k, table[i].Value[k]);
    }
    return image;
}

std::optional<std::vector<EGShapeRecord>> ReadEGShapeFile(const uint8_t* data, std::size_t size)
{
    if (size != EGShapeFileSize || std::memcmp(data, EGShapeMagic, sizeof EGShapeMagic) != 0 ||
        Int32At(data + 16) != EGShapeVersion)
        return std::nullopt;
    const int32_t count = Int32At(data + 20);
    if (count < 0 || count > EGShapeCapacity) return std::nullopt;
    std::vector<EGShapeRecord> shapes(std::size_t(count), EGShapeRecord{});
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const uint8_t* record = data + EGShapeHeaderSize + EGShapeRecordSize * i;
        const auto length = std::size_t(std::find(record, record + NameLength, 0) - record);
        std::copy_n(record, length, shapes[i].Name.begin());
        for (std::size_t k = 0; k < shapes[i].Value.size(); ++k) shapes[i].Value[k] = Int32At(record + 12 + 4 * k);
    }
    return shapes;
}

// ---- the page's handlers ----------------------------------------------------------------------------

void TVoicePage::BindShapeLibrary()
{
    auto dialog = [this]<class T>(T* d, const char* name, const char* title) {
        d->Name = name;
        d->Title = title;
        d->Filter = "FS1R EG Shape File(*.eg)|*.eg";
        d->DefaultExt = "eg";
        d->InitialDir = "data";
        return d;
    };
    EGOpenDialog = dialog(new TOpenDialog(FOwner), "EGOpenDialog", "Quillmarven OpenDialog");
    EGSaveDialog = dialog(new TSaveDialog(FOwner), "EGSaveDialog", "Quillmarven EG Shape File SaveDialog");
    EGSaveDialog->OverwritePrompt = true;

    Vc_OpPresetEG->OnChange = [this](TObject* s) { Vc_OpPresetEGChange(s); };
    Vc_OpPresetEGEdit->OnKeyDown = [this](TObject* s, uint16_t& key, TShiftState shift) {
        Vc_OpPresetEGEditKeyDown(s, key, shift);
    };
    Vc_OpEGShapeWrite->OnClick = [this](TObject* s) { Vc_OpEGShapeWriteClick(s); };
    Vc_OpEGShapeDel->OnClick = [this](TObject* s) { Vc_OpEGShapeDelClick(s); };
    Vc_OpEGShapeOpen->OnClick = [this](TObject* s) { Vc_OpEGShapeOpenClick(s); };
    Vc_OpEGShapeSave->OnClick = [this](TObject* s) { Vc_OpEGShapeSaveClick(s); };
}

std::array<TEdit*, 10> TVoicePage::ShapeBoxes() const
{
    return {Edit(VcPair::Vc_OpEGHold),  Edit(VcPair::Vc_OpEGTime1), Edit(VcPair::Vc_OpEGTime2),
            Edit(VcPair::Vc_OpEGTime3), Edit(VcPair::Vc_OpEGTime4), Edit(VcPair::Vc_OpEGTimeScaling),
            Edit(VcPair::Vc_OpEGLv1),   Edit(VcPair::Vc_OpEGLv2),   Edit(VcPair::Vc_OpEGLv3),
            Edit(VcPair::Vc_OpEGLv4)};
}

void TVoicePage::Vc_OpPresetEGChange(TObject*)
{
    if (FData.UpdatingDisplay) return;
    // Only a shape the list holds is applied: nothing is read past the list's end or before it.
    const int s = Vc_OpPresetEG->ItemIndex();
    if (s < 0 || s >= Vc_OpPresetEG->Items.Count() || s >= EGShapeCapacity) return;
    Vc_OpPresetEGEdit->SetText(Vc_OpPresetEG->Text());

    // Each box moves its slider, whose handler stores, draws and sends only when it moved.
    const EGShapeRecord shape = FData.EGShapeTable[size_t(s)];
    const std::array<TEdit*, 10> boxes = ShapeBoxes();
    for (std::size_t i = 0; i < std::size(ApplyOrder); ++i) {
        const auto k = std::size_t(ApplyOrder[i]);
        boxes[k]->SetText(IntToStr(shape.Value[k]));
        if (i + 1 < std::size(ApplyOrder)) Application->Sleep(ApplyPauseMs);
    }
    // The keys of the name box step on at once; typing replaces the name.
    Vc_OpPresetEGEdit->SetFocus();
    Vc_OpPresetEGEdit->SelectAll();
}

void TVoicePage::Vc_OpPresetEGEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState)
{
    if (Key != VK_UP && Key != VK_DOWN) return;
    const int count = Vc_OpPresetEG->Items.Count();
    if (count == 0) return;
    const int s = Vc_OpPresetEG->ItemIndex();
    // With nothing chosen, both keys start at the first shape; at either end the shape there is
    // applied again.
    const int to = s < 0 ? 0 : std::clamp(Key == VK_UP ? s - 1 : s + 1, 0, count - 1);
    Vc_OpPresetEG->SetItemIndex(to);
    Vc_OpPresetEGChange(Sender);
}

void TVoicePage::Vc_OpEGShapeWriteClick(TObject*)
{
    std::string name = Vc_OpPresetEGEdit->Text();
    if (name.empty()) {
        Application->MessageBox("Please input EG Shape name!", "Quillmarven", MB_OK);
        return;
    }
    const int count = Vc_OpPresetEG->Items.Count();
    if (count >= EGShapeCapacity) {
        Application->MessageBox("Sorry. EGShape can't record setting by up to 127 records.", "Quillmarven", MB_OK);
        return;
    }
    // A name the list holds already gets a "*" when there is room for one; a full-length name
    // goes in twice.
    if (Vc_OpPresetEG->Items.IndexOf(name) >= 0 && Vc_OpPresetEGEdit->TextLength() < int(NameLength)) {
        name += "*";
        Vc_OpPresetEGEdit->SetText(name);
    }
    EGShapeRecord& shape = FData.EGShapeTable[size_t(count)];
    SetName(shape, name);
    const std::array<TEdit*, 10> boxes = ShapeBoxes();
    for (std::size_t k = 0; k < boxes.size(); ++k) shape.Value[k] = ParseInteger(boxes[k]->Text());
    // The item names what the entry holds (a character with no 8-bit form shows as "?").
    Vc_OpPresetEG->Items.Add(NameText(shape));
    EGShapesChanged = true;
}

void TVoicePage::Vc_OpEGShapeDelClick(TObject*)
{
    const int s = Vc_OpPresetEG->ItemIndex();
    const int count = std::min(Vc_OpPresetEG->Items.Count(), EGShapeCapacity);
    // No shape chosen (after an open, or on another operator): nothing to delete.
    if (s < 0 || s >= count) return;
    Vc_OpPresetEGEdit->SetText("");
    auto& table = FData.EGShapeTable;
    std::copy(table.begin() + s + 1, table.begin() + count, table.begin() + s);
    table[size_t(count - 1)] = EGShapeRecord{};
    Vc_OpPresetEG->Items.Delete(s);
    EGShapesChanged = true;
}

bool TVoicePage::SaveShapesFirst()
{
    if (!EGShapesChanged) return true;
    // A save cancelled or failed: the shapes are still only here.
    return AskToSaveFirst("Do you want to save changes to EG Shape file ?", "Quillmarven", MB_ICONQUESTION,
                          [this] { return SaveShapeLibrary(); });
}

void TVoicePage::Vc_OpEGShapeOpenClick(TObject*)
{
    // The file replaces the list: shapes recorded or deleted since the last save are offered a
    // save first.
    if (!SaveShapesFirst()) return;
    if (!EGOpenDialog->Execute()) return;
    // The whole file is checked before anything of the list or the table changes.
    std::optional<std::vector<EGShapeRecord>> shapes;
    try {
        std::vector<uint8_t> image;
        std::string reason;
        switch (platform::ReadWholeFile(EGOpenDialog->FileName, EGShapeFileSize, image, &reason)) {
        case platform::ReadResult::Ok: shapes = ReadEGShapeFile(image.data(), image.size()); break;
        case platform::ReadResult::Failed:
            ShowFileError(ReadFailedText, ReadCause(EGOpenDialog->FileName, reason));
            return;
        default: break; // cannot be opened, or too large
        }
    } catch (const std::exception&) {
        ShowFileError(ReadFailedText);
        return;
    }
    if (!shapes) {
        ShowWrongFile(WrongFileText);
        return;
    }
    // Entries past the file's shapes keep what they held.
    Vc_OpPresetEG->Items.Clear();
    for (std::size_t i = 0; i < shapes->size(); ++i) {
        FData.EGShapeTable[i] = (*shapes)[i];
        Vc_OpPresetEG->Items.Add(NameText((*shapes)[i]));
    }
    Vc_OpPresetEGEdit->SetText("");
    EGShapesChanged = false;
}

void TVoicePage::Vc_OpEGShapeSaveClick(TObject*) { SaveShapeLibrary(); }

bool TVoicePage::SaveShapeLibrary()
{
    if (!EGSaveDialog->Execute()) return false;
    const std::vector<uint8_t> image =
        WriteEGShapeFile(FData.EGShapeTable, std::min(Vc_OpPresetEG->Items.Count(), EGShapeCapacity));
    // Through a temporary file and a rename: a failed write leaves the old file whole, the name
    // box keeps its name, and the library stays unsaved.
    if (std::string cause; !platform::WriteFileSafely(EGSaveDialog->FileName, image.data(), image.size(), &cause)) {
        ShowFileError(WriteFailedText, cause);
        return false;
    }
    Vc_OpPresetEGEdit->SetText("");
    EGShapesChanged = false;
    return true;
}
