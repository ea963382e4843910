// Names as a person types them, byte for byte as they reach the instrument and the edit buffer:
// a performance-name character with no 8-bit form is a blank both in the buffer and on the
// instrument; the voice name keeps a Latin-1 character as typed and sends it as a blank.
#include "tests/editcmds/EditRig.h"

#include "performance/PerformancePage.h"
#include "voice/VoicePage.h"

namespace {

class NameBytesTest : public EditRig {
protected:
    // The data bytes of the last `count` parameter changes sent, with their low addresses. The
    // changes go out from one prepared message: each carries the device number once.
    std::vector<std::pair<int, int>> LastCharacters(std::size_t count)
    {
        const auto sent = TakeSent();
        EXPECT_GE(sent.size(), count);
        std::vector<std::pair<int, int>> out;
        for (std::size_t i = sent.size() - std::min(count, sent.size()); i < sent.size(); ++i) {
            EXPECT_EQ(sent[i].size(), 10u);
            EXPECT_EQ(sent[i][2], 0x10 + form->DeviceNumber);
            if (sent[i].size() == 10) out.emplace_back(sent[i][6], sent[i][8]);
        }
        return out;
    }
};

TEST_F(NameBytesTest, PerformanceNameCharacterWithoutLatin1FormIsABlankStoredAndSent)
{
    SetDeviceNumber(4);
    ShowPart(0);
    TEdit* box = form->PerformancePage->Pfm_Name;
    ASSERT_TRUE(box->UserSetsText(""));
    // "Bass", Greek capital omega (no 8-bit form), "1", e acute (Latin-1 0xE9).
    ASSERT_TRUE(box->UserTypes("Bass\xCE\xA9"
                               "1\xC3\xA9"));
    const auto chars = LastCharacters(12);
    const std::vector<std::pair<int, int>> expected{{0, 'B'},  {1, 'a'},  {2, 's'},  {3, 's'},  {4, 0x20},  {5, '1'},
                                                    {6, 0x20}, {7, 0x20}, {8, 0x20}, {9, 0x20}, {10, 0x20}, {11, 0x20}};
    EXPECT_EQ(chars, expected);
    const auto& name = form->ParameterData.PfmCommon.Name;
    EXPECT_EQ(std::string(name.begin(), name.begin() + 8), std::string("Bass 1\xE9", 7) + '\0');
    // The dump carries what the messages carried.
    const Bytes dump = Built(DumpPerformance);
    EXPECT_EQ(std::string(dump.begin() + 9, dump.begin() + 21), "Bass 1      ");
}

TEST_F(NameBytesTest, VoiceNameKeepsItsLatin1CharacterAndSendsABlank)
{
    ShowVoice(1);
    TEdit* box = form->VoicePage->Vc_Name;
    ASSERT_TRUE(box->UserSetsText(""));
    ASSERT_TRUE(box->UserTypes("Ca\xC3\xA9"));
    const auto chars = LastCharacters(10);
    ASSERT_EQ(chars.size(), 10u);
    EXPECT_EQ(chars[1], (std::pair<int, int>{1, 'a'}));
    EXPECT_EQ(chars[2], (std::pair<int, int>{2, 0x20}));
    EXPECT_EQ(uint8_t(form->ParameterData.VoiceRecords[1].VoiceCommon.Name[2]), 0xE9);
}

} // namespace
