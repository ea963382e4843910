// The EG shape library of the operator page, driven as a person drives it: choosing a shape from
// the list or stepping with the keys of the name box, recording, deleting, and the library files
// through the file dialogs, with the bytes that reach the instrument and the files written.
#include "tests/support/FileSizeLimit.h"
#include "tests/support/VoicePageFixture.h"

#include <array>
#include <cstring>
#include <string>

namespace {

using Values = std::array<int32_t, 10>; // hold, times 1..4, time scaling, levels 1..4

// A library file as its layout says: the magic and its NUL in 16 bytes, version, count, then
// 128 records of a 12-byte name and ten int32 values.
struct Shape {
    std::string Name; // written as it stands, up to 12 bytes
    Values Value{};
};
Bytes LibraryImage(int32_t count, const std::vector<Shape>& shapes, int32_t version = 100,
                   const std::string& magic = "QuillmarvenEG")
{
    Bytes image(6680, 0);
    std::memcpy(image.data(), magic.data(), std::min<std::size_t>(magic.size(), 16));
    auto put = [&image](std::size_t at, int32_t v) {
        for (int i = 0; i < 4; ++i) image[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
    };
    put(16, version);
    put(20, count);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const std::size_t record = 24 + 52 * i;
        std::memcpy(&image[record], shapes[i].Name.data(), std::min<std::size_t>(shapes[i].Name.size(), 12));
        for (std::size_t k = 0; k < 10; ++k) put(record + 12 + 4 * k, shapes[i].Value[k]);
    }
    return image;
}

class EGShapeLibraryTest : public VoicePageTest {
protected:
    void SetUp() override
    {
        VoicePageTest::SetUp();
        // Each message the instrument gets notes how many pauses the program had made by then.
        fs1r->SetOnReceive([this](const Bytes& m) {
            if (!m.empty() && m[0] == 0xF0) PausesBefore.push_back(Application->Headless().Sleeps.size());
        });
    }

    std::vector<std::string> Items() const { return page->Vc_OpPresetEG->Items.Items(); }
    std::string TableName(int entry) const { return form->EGShapeTable[size_t(entry)].Name.data(); }
    Values TableValues(int entry) const { return form->EGShapeTable[size_t(entry)].Value; }
    // The whole library table as bytes, to see that nothing of it changed.
    Bytes TableBytes() const
    {
        const auto* p = reinterpret_cast<const uint8_t*>(form->EGShapeTable.data());
        return Bytes(p, p + sizeof form->EGShapeTable);
    }

    // The file dialogs answer `path`; each request is kept.
    void AnswerWith(const fs::path& path)
    {
        Headless().FileResponder = [this, path](TFileDialogRequest& r) -> std::optional<std::string> {
            Requests.push_back(r);
            return path.string();
        };
    }
    void Open(const fs::path& path)
    {
        AnswerWith(path);
        ASSERT_TRUE(page->Vc_OpEGShapeOpen->UserClicks());
    }
    void Save(const fs::path& path)
    {
        AnswerWith(path);
        ASSERT_TRUE(page->Vc_OpEGShapeSave->UserClicks());
    }
    void Record(const std::string& name)
    {
        ASSERT_TRUE(page->Vc_OpPresetEGEdit->UserSetsText(name));
        ASSERT_TRUE(page->Vc_OpEGShapeWrite->UserClicks());
    }
    // The one message box shown since the last look, which is then forgotten.
    void ExpectMessage(const std::string& text, const std::string& caption, int icon)
    {
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].Text, text);
        EXPECT_EQ(Messages()[0].Caption, caption);
        EXPECT_EQ(Messages()[0].Buttons, MB_OK);
        EXPECT_EQ(Messages()[0].Icon, icon);
        Messages().clear();
    }
    // The amplitude envelope on screen, as slider positions (hold, times 1..4, levels 1..4) and
    // the time scaling, loaded into operator tab t of the shown voice.
    void ShowEnvelope(int t, const std::array<int32_t, 9>& positions, int32_t timeScaling)
    {
        auto load = [&](auto& o) {
            int32_t* words[9] = {&o.EGHold, &o.EGTime1, &o.EGTime2, &o.EGTime3, &o.EGTime4,
                                 &o.EGLv1,  &o.EGLv2,   &o.EGLv3,   &o.EGLv4};
            for (std::size_t i = 0; i < 9; ++i) *words[i] = positions[i];
            o.EGTimeScaling = timeScaling;
        };
        const int v = page->Vc_VoiceTab->TabIndex();
        if (t < 8)
            load(Voice(v).VoicedOperators[size_t(t)]);
        else
            load(Voice(v).UnvoicedOperators[size_t(t - 8)]);
        Refresh();
        ShowOperatorTab(t);
        TakeSent();
        Headless().Sleeps.clear();
        PausesBefore.clear();
    }
    std::vector<TFileDialogRequest> Requests;
    std::vector<std::size_t> PausesBefore;
};

// The 23 shapes the library starts with, in order.
const std::vector<std::string> StartUpNames = {
    "EG Init",   "Piano", "C-Perc",     "Organ",      "Guiter",     "Bass",       "Strings", "Ensemble",
    "Brass",     "Reed",  "Pipe",       "Synth Lead", "Synth Pad",  "Synth SE",   "Ethnic",  "Percussive",
    "Sound Efx", "Drums", "Synth Comp", "Voice",      "Cmbination", "MaterialWv", "Sequence"};

} // namespace

TEST_F(EGShapeLibraryTest, ChoosingAShapeTypesItsValuesIntoTheBoxesFiftyMillisecondsApart)
{
    // Voice 2, unvoiced operator 3. On screen: hold 0, time 1 12, level 1 99, time 2 68, level 2
    // 50, time 3 80, level 3 30, time 4 43, level 4 10, time scaling 2 (the positions are 99
    // minus the shown values).
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(1));
    ShowEnvelope(10, {99, 87, 31, 19, 56, 0, 49, 69, 89}, 2);

    // "Piano": hold 0, times 0 68 80 43, time scaling 4, levels 99 75 0 0. Only the values that
    // differ go out, in the order hold, time 1, level 1, .. time 4, level 4, time scaling, each
    // after the pause that follows the value before it.
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(1));
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{Change(0x61, 0x02, 0x34, 0), Change(0x61, 0x02, 0x31, 75),
                                              Change(0x61, 0x02, 0x32, 0), Change(0x61, 0x02, 0x33, 0),
                                              Change(0x61, 0x02, 0x39, 4)}));
    EXPECT_EQ(PausesBefore, (std::vector<std::size_t>{1, 4, 6, 8, 9}));
    EXPECT_EQ(Headless().Sleeps, std::vector<unsigned>(9, 50));

    const UnvoicedOperator& o = Voice(1).UnvoicedOperators[2];
    EXPECT_EQ(o.EGTime1, 99);
    EXPECT_EQ(o.EGLv2, 24);
    EXPECT_EQ(o.EGTimeScaling, 4);
    EXPECT_EQ(page->Edit(VcPair::Vc_OpEGLv2)->Text(), "75");
    // The name goes into the name box, focused and selected, so that typing replaces it.
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "Piano");
    EXPECT_TRUE(page->Vc_OpPresetEGEdit->Focused());
    EXPECT_EQ(page->Vc_OpPresetEGEdit->SelLength(), 5);
    EXPECT_EQ(form->Caption(), "Quillmarven (Changed)");

    // The same shape again: every value is on screen already, nothing goes out, the pauses stay.
    Headless().Sleeps.clear();
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(1));
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(Headless().Sleeps, std::vector<unsigned>(9, 50));

    // On voiced operator 8 of that voice, "Ethnic" (hold 0, times 0 26 96 73, time scaling 1,
    // levels 99 69 0 99) from an envelope of all 99s: eight values differ; the unvoiced partner is
    // left alone. (The addresses of the envelope rows: the slider record of tests/pages.)
    ShowEnvelope(7, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 7);
    const UnvoicedOperator partner = Voice(1).UnvoicedOperators[7];
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(14));
    EXPECT_EQ(TakeSent().size(), 8u);
    EXPECT_EQ(Voice(1).VoicedOperators[7].EGTime3, 3);
    EXPECT_TRUE(Same(Voice(1).UnvoicedOperators[7], partner));
}

TEST_F(EGShapeLibraryTest, UpAndDownStepThroughTheShapesAndStopAtTheEnds)
{
    ShowEnvelope(2, {99, 99, 99, 99, 99, 99, 99, 99, 99}, 0);
    TEdit* box = page->Vc_OpPresetEGEdit;
    auto step = [&](uint16_t key) {
        Headless().Sleeps.clear();
        EXPECT_TRUE(box->KeyDown(key));
        // Each step applies a whole shape: nine pauses.
        EXPECT_EQ(Headless().Sleeps.size(), 9u) << box->Text();
        return box->Text();
    };

    // No shape chosen (the display of an operator clears the choice): Down and Up both start at
    // the first shape.
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), -1);
    EXPECT_EQ(step(VK_DOWN), "EG Init");
    EXPECT_EQ(step(VK_DOWN), "Piano");
    EXPECT_EQ(step(VK_DOWN), "C-Perc");
    EXPECT_EQ(step(VK_UP), "Piano");
    EXPECT_EQ(step(VK_UP), "EG Init");
    EXPECT_EQ(step(VK_UP), "EG Init");
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), 0);
    ShowOperatorTab(3);
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), -1);
    EXPECT_EQ(step(VK_UP), "EG Init");

    // At the last shape Down applies it again.
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(21));
    EXPECT_EQ(step(VK_DOWN), "Sequence");
    EXPECT_EQ(step(VK_DOWN), "Sequence");
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), 22);
    EXPECT_EQ(Voice().VoicedOperators[3].EGTime4, 99 - 46);

    // Other keys pass; an empty list (a library file of no shapes) has nothing to step to.
    Headless().Sleeps.clear();
    TakeSent();
    ASSERT_TRUE(box->KeyDown(VK_NEXT));
    EXPECT_TRUE(Headless().Sleeps.empty());
    Open(WriteFile("empty.eg", LibraryImage(0, {})));
    for (uint16_t key : {VK_DOWN, VK_UP, VK_DOWN}) ASSERT_TRUE(box->KeyDown(key));
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), -1);
    EXPECT_TRUE(Headless().Sleeps.empty());
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(EGShapeLibraryTest, RecordingAppendsTheEnvelopeOnScreenUnderTheNameBoxName)
{
    // Voice 3, voiced operator 5: hold 5, times 10 20 30 40, levels 90 80 70 60, time scaling 6.
    ASSERT_TRUE(page->Vc_VoiceTab->UserSelects(2));
    ShowEnvelope(4, {94, 89, 79, 69, 59, 9, 19, 29, 39}, 6);

    Record("");
    ExpectMessage("Please input EG Shape name!", "Quillmarven", 0);
    EXPECT_EQ(Items().size(), 23u);

    // A name the list holds gets a "*", shown in the name box; the values are the boxes'.
    Record("Piano");
    ASSERT_EQ(Items().size(), 24u);
    EXPECT_EQ(Items()[23], "Piano*");
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "Piano*");
    EXPECT_EQ(TableName(23), "Piano*");
    EXPECT_EQ(TableValues(23), (Values{5, 10, 20, 30, 40, 6, 90, 80, 70, 60}));
    // A name of ten characters, full length, goes in once more, as typed; the new name is not
    // compared again.
    Record("Synth Lead");
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "Synth Lead");
    Record("Bass");
    Record("Bass");
    EXPECT_EQ(Items(), [] {
        std::vector<std::string> items = StartUpNames;
        for (const char* added : {"Piano*", "Synth Lead", "Bass*", "Bass*"}) items.push_back(added);
        return items;
    }());
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "Bass*");
    EXPECT_EQ(TableName(24), "Synth Lead");
    // Case counts; a name with a character of no 8-bit form is kept as the list shows it.
    Record("piano");
    Record("Ωmega");
    EXPECT_EQ(Items()[27], "piano");
    EXPECT_EQ(Items()[28], "?mega");
    EXPECT_EQ(TableName(28), "?mega");

    // Nothing went to the instrument, the operator and the list's choice are as they were.
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(Voice(2).VoicedOperators[4].EGHold, 94);
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), -1);
    EXPECT_TRUE(Headless().Messages.empty());

    // Up to 128 shapes: the 128th is recorded, then the list is full.
    for (int i = 0; i < 127 && Items().size() < 127; ++i) Record("fill");
    ASSERT_EQ(Items().size(), 127u) << "recording again and again did not fill the list to 127 shapes";
    Record("last");
    EXPECT_TRUE(Headless().Messages.empty());
    EXPECT_EQ(TableName(127), "last");
    Record("more");
    ExpectMessage("Sorry. EGShape can't record setting by up to 127 records.", "Quillmarven", 0);
    EXPECT_EQ(Items().size(), 128u);
}

TEST_F(EGShapeLibraryTest, DeletingMovesTheLaterShapesDownAndNeedsAChosenShape)
{
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(2));
    ASSERT_TRUE(page->Vc_OpEGShapeDel->UserClicks());
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "");
    ASSERT_EQ(Items().size(), 22u);
    EXPECT_EQ(Items()[2], "Organ");
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), -1);
    for (int k = 0; k < 22; ++k) EXPECT_EQ(Items()[size_t(k)], TableName(k)) << k;
    // Organ: hold 0, times 0 0 0 10, time scaling 0, levels 99 99 99 0.
    EXPECT_EQ(TableValues(2), (Values{0, 0, 0, 0, 10, 0, 99, 99, 99, 0}));
    // Sequence moved down; its old entry is empty.
    EXPECT_EQ(TableValues(21), (Values{0, 0, 0, 45, 46, 3, 99, 99, 0, 0}));
    EXPECT_EQ(TableName(22), "");
    EXPECT_EQ(TableValues(22), Values{});

    // The last shape can go too.
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(21));
    ASSERT_TRUE(page->Vc_OpEGShapeDel->UserClicks());
    EXPECT_EQ(Items().back(), "MaterialWv");
    EXPECT_EQ(TableName(21), "");

    // With no shape chosen (a new operator on screen) nothing is deleted and the name stays.
    ShowOperatorTab(12);
    ASSERT_TRUE(page->Vc_OpPresetEGEdit->UserSetsText("keep"));
    const Bytes table = TableBytes();
    const std::vector<std::string> items = Items();
    ASSERT_TRUE(page->Vc_OpEGShapeDel->UserClicks());
    EXPECT_EQ(TableBytes(), table);
    EXPECT_EQ(Items(), items);
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "keep");
}

TEST_F(EGShapeLibraryTest, ASavedLibraryReopensByteForByte)
{
    const fs::path startUp = temp / "start.eg";
    ASSERT_TRUE(page->Vc_OpPresetEGEdit->UserSetsText("typed"));
    Save(startUp);
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_TRUE(Requests[0].Save);
    EXPECT_EQ(Requests[0].Title, "Quillmarven EG Shape File SaveDialog");
    EXPECT_EQ(Requests[0].Filter, "FS1R EG Shape File(*.eg)|*.eg");
    EXPECT_EQ(Requests[0].DefaultExt, "eg");
    EXPECT_EQ(Requests[0].InitialDir, "data");
    EXPECT_TRUE(Requests[0].OverwritePrompt);
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "");

    // The start-up library, whole: its shapes come back once another library was opened. (The
    // layout: what Open reads from the files this test writes, below.)
    ASSERT_EQ(ReadBytes(startUp).size(), 6680u);

    // A library of its own, saved, is what comes back after another one was opened.
    ShowEnvelope(9, {90, 80, 70, 60, 50, 40, 30, 20, 10}, 3);
    Record("Mine");
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(0));
    ASSERT_TRUE(page->Vc_OpEGShapeDel->UserClicks());
    TakeSent();
    const fs::path mine = temp / "mine.eg";
    Save(mine);
    const std::vector<std::string> myItems = Items();
    Open(startUp);
    EXPECT_EQ(Requests.back().Title, "Quillmarven OpenDialog");
    EXPECT_FALSE(Requests.back().Save);
    EXPECT_EQ(Requests.back().Filter, "FS1R EG Shape File(*.eg)|*.eg");
    EXPECT_EQ(Items(), StartUpNames);
    EXPECT_EQ(TableValues(1), (Values{0, 0, 68, 80, 43, 4, 99, 75, 0, 0}));
    Open(mine);
    EXPECT_EQ(Items(), myItems);
    EXPECT_EQ(Items().back(), "Mine");
    EXPECT_EQ(TableValues(22), (Values{9, 19, 29, 39, 49, 3, 59, 69, 79, 89}));
    const fs::path again = temp / "again.eg";
    Save(again);
    EXPECT_EQ(ReadBytes(again), ReadBytes(mine));
    // Files and the list send nothing.
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_TRUE(Headless().Messages.empty());
}

// A library recorded full, to its 128th shape, saved and opened again: every shape comes back.
// (Past 128 the list takes no more, and a file counting 129 is no library: tests above.)
TEST_F(EGShapeLibraryTest, AFullLibrarySavedOpensAgainWithAllItsShapes)
{
    ShowEnvelope(9, {90, 80, 70, 60, 50, 40, 30, 20, 10}, 3);
    for (std::size_t n = Items().size(); n < 128; ++n) Record("Shape " + std::to_string(n + 1));
    ASSERT_EQ(Items().size(), 128u);
    const std::vector<std::string> full = Items();
    const fs::path path = temp / "full.eg";
    Save(path);
    Open(WriteFile("one.eg", LibraryImage(1, {{"One", {}}})));
    ASSERT_EQ(Items(), std::vector<std::string>{"One"});

    Open(path);
    EXPECT_TRUE(Headless().Messages.empty());
    EXPECT_EQ(Items(), full);
    EXPECT_EQ(Items().back(), "Shape 128");
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(127));
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "Shape 128");
    EXPECT_EQ(TableValues(127), (Values{9, 19, 29, 39, 49, 3, 59, 69, 79, 89}));
}

TEST_F(EGShapeLibraryTest, OpenTakesTheCountedShapesAndTheirNamesUpToTenBytes)
{
    std::vector<Shape> shapes = {{"Soft", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                                 {"Fl\xF6te", {11, 12, 13, 14, 15, 7, 17, 18, 19, 20}},
                                 {"ABCDEFGHIJKL", {21, 22, 23, 24, 25, 2, 27, 28, 29, 30}},
                                 {"Four", {}},
                                 {"Five", {31, 32, 33, 34, 35, 5, 37, 38, 39, 40}},
                                 {"Not listed", {41, 42, 43, 44, 45, 1, 47, 48, 49, 50}}};
    const fs::path path = WriteFile("five.eg", LibraryImage(5, shapes));
    ASSERT_TRUE(page->Vc_OpPresetEGEdit->UserSetsText("name"));
    // Entries past the file's shapes keep what they held.
    const EGShapeRecord kept = form->EGShapeTable[7];
    Open(path);
    EXPECT_EQ(Items(), (std::vector<std::string>{"Soft", "Flöte", "ABCDEFGHIJ", "Four", "Five"}));
    EXPECT_EQ(TableName(2), "ABCDEFGHIJ");
    EXPECT_EQ(form->EGShapeTable[2].Name[10], '\0');
    EXPECT_EQ(form->EGShapeTable[2].Name[11], '\0');
    EXPECT_EQ(TableValues(4), (Values{31, 32, 33, 34, 35, 5, 37, 38, 39, 40}));
    EXPECT_EQ(std::memcmp(&form->EGShapeTable[7], &kept, sizeof kept), 0);
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "");
    EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), -1);
    EXPECT_TRUE(TakeSent().empty());

    // A shape from the file applies like any other: "Flöte" on voiced operator 1.
    ShowEnvelope(0, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 0);
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(1));
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "Flöte");
    EXPECT_EQ(Voice().VoicedOperators[0].EGHold, 99 - 11);
    EXPECT_EQ(Voice().VoicedOperators[0].EGTimeScaling, 7);
    EXPECT_EQ(TakeSent().size(), 10u);
    // A count of 0 empties the list.
    Open(WriteFile("five.eg", LibraryImage(0, shapes)));
    EXPECT_TRUE(Items().empty());
    EXPECT_TRUE(Headless().Messages.empty());
}

TEST_F(EGShapeLibraryTest, AFileThatIsNoLibraryChangesNothing)
{
    const std::vector<Shape> shapes = {{"One", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}}};
    auto resized = [&](std::size_t size) {
        Bytes b = LibraryImage(1, shapes);
        b.resize(size, 0);
        return b;
    };
    const std::vector<std::pair<std::string, Bytes>> bad = {
        {"6,679 bytes", resized(6679)},
        {"6,681 bytes", resized(6681)},
        {"version 101", LibraryImage(1, shapes, 101)},
        {"a longer magic", LibraryImage(1, shapes, 100, "QuillmarvenEGx")},
        {"a shorter magic", LibraryImage(1, shapes, 100, "QuillmarvenE")},
        {"the program's save file", LibraryImage(1, shapes, 100, "Quillmarven")},
        {"129 shapes", LibraryImage(129, shapes)},
        {"a count below 0", LibraryImage(-1, shapes)},
    };
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(4));
    ASSERT_TRUE(page->Vc_OpPresetEGEdit->UserSetsText("mine"));
    const Bytes table = TableBytes();
    const std::vector<std::string> items = Items();
    auto expectRefused = [&](const std::string& what) {
        SCOPED_TRACE(what);
        ExpectMessage("File Error: This file is not Quillmarven's file or broken file", "Quillmarven",
                      MB_ICONEXCLAMATION);
        EXPECT_EQ(TableBytes(), table) << what;
        EXPECT_EQ(Items(), items) << what;
        EXPECT_EQ(page->Vc_OpPresetEG->ItemIndex(), 4) << what;
        EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "mine") << what;
    };
    for (const auto& [what, bytes] : bad) {
        Open(WriteFile("bad.eg", bytes));
        expectRefused(what);
    }
    Open(temp / "missing.eg");
    expectRefused("a file that is not there");
    Open(temp.Path());
    expectRefused("a folder");

    // A cancelled dialog does nothing at all.
    Headless().FileResponder = [](TFileDialogRequest&) { return std::nullopt; };
    ASSERT_TRUE(page->Vc_OpEGShapeOpen->UserClicks());
    ASSERT_TRUE(page->Vc_OpEGShapeSave->UserClicks());
    EXPECT_TRUE(Headless().Messages.empty());
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "mine");
    EXPECT_EQ(EntriesIn(temp.Path()), 1);
}

TEST_F(EGShapeLibraryTest, AFailedSaveSaysWriteKeepsTheOldFileAndTheName)
{
    const Bytes old = LibraryImage(1, {{"Old", {9, 9, 9, 9, 9, 1, 9, 9, 9, 9}}});
    const fs::path path = WriteFile("kept.eg", old);
    ASSERT_TRUE(page->Vc_OpPresetEGEdit->UserSetsText("mine"));
    {
        FileSizeLimit limit(5000);
        Save(path);
    }
    ExpectFileError("Can't perform one of the following file operations: Write.");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(EntriesIn(temp.Path()), 1);
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "mine");

    // With room again the library replaces the old file.
    Save(path);
    EXPECT_TRUE(Headless().Messages.empty());
    EXPECT_EQ(page->Vc_OpPresetEGEdit->Text(), "");
    Open(path);
    EXPECT_EQ(Items(), StartUpNames);
}

// Shapes recorded or deleted live in this run only: File > Exit (after the edit buffer's own
// question) and the library's Open ask whether to save them. Yes saves through the library's
// dialog, and a save cancelled or failed ends nothing and replaces nothing; No goes on; Cancel
// stays.
TEST_F(EGShapeLibraryTest, UnsavedShapesAreOfferedASaveAtExitAndBeforeAnotherLibraryOpens)
{
    const char* const question = "Do you want to save changes to EG Shape file ?";
    const fs::path other = WriteFile("other.eg", LibraryImage(1, {{"Other", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}}));
    const fs::path saved = temp / "saved.eg";
    const Bytes old = LibraryImage(1, {{"Old", {9, 9, 9, 9, 9, 1, 9, 9, 9, 9}}});
    // A window of its own for each try, showing the Voice page.
    const auto fresh = [this] {
        Headless().Reset();
        MakeForm();
        form->FS1R_PageControl->SetActivePage(form->Vc_TabSheet);
        page = form->VoicePage.get();
    };
    enum class Saving { NotAsked, Cancelled, Fails, Written };
    const struct {
        const char* what;
        int answer;
        Saving saving;
        bool goesOn;
    } answers[] = {
        {"Cancel", IDCANCEL, Saving::NotAsked, false},
        {"No", IDNO, Saving::NotAsked, true},
        {"Yes, the dialog cancelled", IDYES, Saving::Cancelled, false},
        {"Yes, the file cannot be written", IDYES, Saving::Fails, false},
        {"Yes, saved", IDYES, Saving::Written, true},
    };
    const struct {
        const char* what;
        std::function<void()> give;
        std::function<bool()> done;
    } commands[] = {
        {"File > Exit", [this] { Click("FileExitItem"); }, [this] { return !form->Visible(); }},
        {"the library's Open", [this] { ASSERT_TRUE(page->Vc_OpEGShapeOpen->UserClicks()); },
         [this] { return Items() == std::vector<std::string>{"Other"}; }},
    };
    for (const auto& c : commands) {
        for (const auto& a : answers) {
            SCOPED_TRACE(std::string(c.what) + ", " + a.what);
            fresh();
            Record("Mine");
            const std::vector<std::string> mine = Items();
            WriteFile("saved.eg", old);
            AnswerMessages(a.answer);
            Headless().FileResponder = [&](TFileDialogRequest& r) -> std::optional<std::string> {
                if (!r.Save) return other.string();
                if (a.saving == Saving::Cancelled) return std::nullopt;
                return saved.string();
            };
            {
                FileSizeLimit limit(a.saving == Saving::Fails ? 5000 : 1 << 30);
                c.give();
            }
            ASSERT_GE(Messages().size(), 1u);
            EXPECT_EQ(Messages()[0].Text, question);
            EXPECT_EQ(Messages()[0].Caption, "Quillmarven");
            EXPECT_EQ(Messages()[0].Buttons | Messages()[0].Icon, MB_YESNOCANCEL | MB_ICONQUESTION);
            EXPECT_EQ(Messages().size(), a.saving == Saving::Fails ? 2u : 1u);
            if (a.saving == Saving::Fails && Messages().size() == 2) {
                EXPECT_EQ(Messages()[1].Text, "Can't perform one of the following file operations: Write.\n\n"
                                              "Cannot write \"" + saved.string() + "\": File too large");
            }
            const auto saveDialogs = std::count_if(Headless().FileDialogs.begin(), Headless().FileDialogs.end(),
                                                   [](const auto& d) { return d.Request.Save; });
            EXPECT_EQ(saveDialogs, a.answer == IDYES ? 1 : 0);
            EXPECT_EQ(c.done(), a.goesOn);
            if (!a.goesOn) {
                EXPECT_TRUE(form->Visible());
                EXPECT_EQ(Items(), mine);
                EXPECT_EQ(Headless().FileDialogs.size(), std::size_t(saveDialogs)) << "another library was opened";
            }
            if (a.saving == Saving::Written) {
                // The file written opens to the list that was saved.
                Messages().clear();
                fresh();
                Open(saved);
                EXPECT_EQ(Items(), mine);
            } else {
                EXPECT_EQ(ReadBytes(saved), old);
            }
            Messages().clear();
        }
    }

    // Nothing to ask: at start-up, after a save, after an open. A deletion is a change; the edit
    // buffer's question comes first.
    fresh();
    Click("FileExitItem");
    EXPECT_TRUE(Messages().empty());
    fresh();
    Record("Mine");
    Save(temp / "mine.eg");
    Click("FileExitItem");
    EXPECT_TRUE(Messages().empty());
    fresh();
    Record("Mine");
    AnswerMessages(IDNO);
    Open(other);
    Messages().clear();
    Click("FileExitItem");
    EXPECT_TRUE(Messages().empty());
    fresh();
    ASSERT_TRUE(page->Vc_OpPresetEG->UserSelects(3));
    ASSERT_TRUE(page->Vc_OpEGShapeDel->UserClicks());
    form->MarkDataChanged();
    AnswerMessages(IDNO);
    Click("FileExitItem");
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].Text, "Do you want to save changes to file ?");
    EXPECT_EQ(Messages()[1].Text, question);
    EXPECT_FALSE(form->Visible());
    Messages().clear();
}
