// File > Export MIDI File, read back with the tests' own MIDI file reader.
#include "tests/editcmds/EditRig.h"
#include "tests/editcmds/SmfReader.h"

namespace {

class SmfExportTest : public EditRig {
protected:
    // Exports into `file` (cancelled when empty); returns the name the dialog proposed.
    std::string Export(const fs::path& file)
    {
        std::string proposed;
        Headless().FileResponder = [&](const TFileDialogRequest& r) -> std::optional<std::string> {
            proposed = r.FileName;
            EXPECT_TRUE(r.Save && r.OverwritePrompt);
            EXPECT_EQ(r.Filter, "MIDI File(SMF Format0)(*.mid)|*.mid");
            if (file.empty()) return std::nullopt;
            return file.string();
        };
        form->ExportSMF->Click();
        return proposed;
    }
};

} // namespace

TEST_F(SmfExportTest, OneFormat0TrackOfTheSixDumpsInOrder)
{
    SetDeviceNumber(5);
    form->ParameterData.VoiceRecords[2].VoiceCommon.Algorithm = 40;
    const TParameterData start = form->ParameterData;
    EXPECT_EQ(Export(temp / "all.mid"), "InitPerfrmnc.mid");

    const Bytes image = ReadBytes(temp / "all.mid");
    ASSERT_EQ(image.size(), 3063u);
    const SmfFile smf = ReadSmf(image);
    EXPECT_EQ(std::tuple(smf.Format, smf.Tracks, smf.Division), std::tuple(0, 1, 96));
    ASSERT_EQ(smf.Events.size(), 11u);
    std::vector<uint8_t> metas;
    for (const SmfEvent& e : smf.Events) metas.push_back(e.MetaType);
    EXPECT_EQ(metas, (Bytes{0x03, 0x58, 0x51, 0x59, 0, 0, 0, 0, 0, 0, 0x2F}));
    EXPECT_EQ(smf.Events[1].Data, (Bytes{0x04, 0x02, 0x18, 0x08}));
    EXPECT_EQ(smf.Events[2].Data, (Bytes{0x07, 0xA1, 0x20}));
    EXPECT_EQ(smf.Events[3].Data, (Bytes{0x00, 0x00}));
    EXPECT_EQ(smf.Events[10].Tick, 2688u);

    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const SmfEvent& e = smf.Events[4 + i];
        EXPECT_EQ(e.Tick, 512u * i);
        // The block's dump as the program builds it: device nibble 0, whatever the device number.
        Bytes dump{e.Status};
        dump.insert(dump.end(), e.Data.begin(), e.Data.end());
        EXPECT_EQ(dump, Built(AllBlocks[i]));
    }
    // The export sends nothing and changes nothing.
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_TRUE(Same(start, form->ParameterData));
    EXPECT_EQ(form->Caption(), "Quillmarven");
}

TEST_F(SmfExportTest, TrackNameIsTheNameAsTypedThenNulAndBlanksAndCancelWritesNothing)
{
    Export({});
    EXPECT_TRUE(fs::is_empty(temp.Path()));
    const std::pair<std::string, std::string> rows[] = {
        {"InitPerfrmnc", "InitPerfrmnc.mid"}, {" Pad\xE9 Two ", "Pad\xC3\xA9 Two.mid"}, {"", ".mid"},
        {"../../Pad/St", ".._.._Pad_St.mid"}}; // a name chooses no folder
    for (const auto& [name, file] : rows) {
        auto& n = form->ParameterData.PfmCommon.Name;
        n.fill(0);
        std::memcpy(n.data(), name.data(), name.size());
        EXPECT_EQ(Export(temp / "name.mid"), file);
        Bytes expected(name.begin(), name.end());
        expected.push_back(0);
        expected.resize(15, ' ');
        const Bytes image = ReadBytes(temp / "name.mid");
        EXPECT_EQ(Bytes(image.begin() + 26, image.begin() + 41), expected) << name;
    }
}
