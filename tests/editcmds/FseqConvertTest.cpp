// File > Convert Syx to MIDI File: the destination dialog, the re-addressed dump, the size
// classes, and the files it refuses.
#include "mainform/dialogs/FSEQStoreNumSel.h"
#include "tests/editcmds/EditRig.h"
#include "tests/editcmds/SmfReader.h"
#include "tests/support/SequenceFile.h"

namespace {

class FseqConvertTest : public EditRig {
protected:
    fs::path MakeSyx(std::size_t n, uint8_t code)
    {
        return WriteFile("in.syx", SequenceFile(n, code, std::string("Seq\0Name", 8)));
    }
    // Opens `syx`, picks `item` in the dialog (noting the items offered), saves to `mid`
    // (cancelled when empty); returns the MIDI file written.
    Bytes Convert(const fs::path& syx, int item, const fs::path& mid)
    {
        Headless().FileResponder = [&](const TFileDialogRequest& r) -> std::optional<std::string> {
            if (!r.Save) return syx.string();
            Proposed = r.FileName;
            return mid.empty() ? std::nullopt : std::optional<std::string>(mid.string());
        };
        Offered.clear();
        Headless().ModalResponder = [&](TForm& shown) {
            auto& dialog = dynamic_cast<TFSEQStoreForm&>(shown);
            EXPECT_EQ(dialog.FSEQStoreRadio->ItemIndex(), 1);
            Offered = dialog.FSEQStoreRadio->Items.Items();
            dialog.FSEQStoreRadio->UserClicks(item);
            dialog.FSEQStoreBtn->UserClicks();
        };
        form->CnvSyx2SMF->Click();
        return fs::is_regular_file(mid) ? ReadBytes(mid) : Bytes{};
    }
    std::vector<std::string> Offered;
    std::string Proposed;
};

const std::vector<std::string> AllStarts{"Current", "Int 1", "Int 2", "Int 3", "Int 4", "Int 5", "Int 6"};

} // namespace

TEST_F(FseqConvertTest, SequenceForInt3IsReaddressedSealedAndFramed)
{
    const fs::path syx = MakeSyx(6000, 0);
    const Bytes original = ReadBytes(syx);
    const Bytes image = Convert(syx, 3, temp / "out.mid");
    EXPECT_EQ(Proposed, (temp / "in.mid").string());
    EXPECT_EQ(form->FseqStoreNumber, 3);
    ASSERT_EQ(image.size(), 6071u);
    const SmfFile smf = ReadSmf(image);
    ASSERT_EQ(smf.Events.size(), 6u);
    EXPECT_EQ(smf.Events[0].Data, (Bytes{'S', 'e', 'q', 0x00, 'N', 'a', 'm', 'e', ' ', ' ', ' ', ' ', ' ', ' ', ' '}));
    EXPECT_EQ(smf.Events[4].Tick, 128u);
    EXPECT_EQ(smf.Events[5].Tick, 128u + 2047u);

    Bytes dump{0xF0};
    dump.insert(dump.end(), smf.Events[4].Data.begin(), smf.Events[4].Data.end());
    EXPECT_EQ(dump, Readdressed(original, 0x00, 0x61, 0x02));
    EXPECT_EQ(ReadBytes(syx), original);
}

TEST_F(FseqConvertTest, FormatCodeFixesLengthBytesAndTheStartsOffered)
{
    struct Case {
        std::size_t Size;
        uint8_t Code;
        int Item;
        Bytes Length, Address;
    };
    const Case cases[] = {
        {20000, 2, 0, {0x81, 0x9C, 0x1F}, {0x60, 0x00}}, {16384, 1, 5, {0xFF, 0x7F}, {0x61, 0x04}},
        {16385, 2, 1, {0x81, 0x80, 0x00}, {0x61, 0x00}}, {32768, 3, 3, {0x81, 0xFF, 0x7F}, {0x61, 0x02}},
        {41, 0, 6, {0x80, 0x28}, {0x61, 0x05}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Size);
        const Bytes image = Convert(MakeSyx(c.Size, c.Code), c.Item, temp / "out.mid");
        EXPECT_EQ(Offered, std::vector<std::string>(AllStarts.begin(), AllStarts.end() - c.Code));
        const std::size_t l = c.Length.size();
        ASSERT_EQ(image.size(), c.Size + 69 + l);
        EXPECT_EQ(Bytes(image.begin() + 65, image.begin() + 65 + long(l)), c.Length);
        const Bytes data = ReadSmf(image).Events.at(4).Data;
        ASSERT_EQ(data.size(), c.Size - 1);
        EXPECT_EQ(Bytes({data[5], data[7]}), c.Address);
    }
    // Cancelling the save writes nothing.
    Convert(MakeSyx(100, 1), 2, {});
    EXPECT_FALSE(fs::exists(temp / "in.mid"));
    EXPECT_TRUE(Headless().Messages.empty());
}

TEST_F(FseqConvertTest, FilesOutsideTheirClassAreRefusedAndFailedWritesTold)
{
    const std::pair<std::size_t, uint8_t> files[] = {{40, 0},    {100, 4},   {16385, 0}, {16385, 1},
                                                     {16384, 2}, {32769, 3}, {0, 0}};
    for (const auto& [size, code] : files) {
        SCOPED_TRACE(size);
        Convert(size ? MakeSyx(size, code) : temp / "missing.syx", 1, temp / "bad.mid");
        EXPECT_TRUE(Offered.empty());
        ExpectFileError("Can't perform one of the following file operations: Open, Seek, Read, Close.");
        EXPECT_FALSE(fs::exists(temp / "bad.mid"));
    }
    fs::create_directory(temp / "taken.mid");
    Convert(MakeSyx(500, 0), 0, temp / "taken.mid");
    ExpectFileError(WriteFailure);
    EXPECT_EQ(EntriesIn(temp.Path()), 2);
}
