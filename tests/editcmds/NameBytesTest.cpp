// The performance name as a person types it, byte for byte as it reaches the instrument and the
// edit buffer: a character with no 8-bit form is a blank both in the buffer and on the instrument;
// a Latin-1 character stays in the buffer as typed and goes out as a blank (the voice name's:
// VoiceCommonTest).
#include "tests/editcmds/EditRig.h"

#include "performance/PerformancePage.h"

namespace {

using NameBytesTest = EditRig;

TEST_F(NameBytesTest, PerformanceNameCharacterWithoutLatin1FormIsABlankStoredAndSent)
{
    SetDeviceNumber(4);
    ShowPart(0);
    TEdit* box = form->PerformancePage->Pfm_Name;
    ASSERT_TRUE(box->UserSetsText(""));
    // "Bass", Greek capital omega (no 8-bit form), "1", e acute (Latin-1 0xE9), y diaeresis (the
    // last Latin-1 character, 0xFF).
    ASSERT_TRUE(box->UserTypes("Bass\xCE\xA9"
                               "1\xC3\xA9\xC3\xBF"));
    // The last key's twelve changes go out from one prepared message: each carries the device
    // number once.
    const auto sent = TakeSent();
    ASSERT_GE(sent.size(), 12u);
    std::vector<std::pair<int, int>> chars;
    for (auto m = sent.end() - 12; m != sent.end(); ++m) {
        ASSERT_EQ(m->size(), 10u);
        EXPECT_EQ((*m)[2], 0x14);
        chars.emplace_back((*m)[6], (*m)[8]);
    }
    const std::vector<std::pair<int, int>> expected{{0, 'B'},  {1, 'a'},  {2, 's'},  {3, 's'},  {4, 0x20},  {5, '1'},
                                                    {6, 0x20}, {7, 0x20}, {8, 0x20}, {9, 0x20}, {10, 0x20}, {11, 0x20}};
    EXPECT_EQ(chars, expected);
    const auto& name = form->ParameterData.PfmCommon.Name;
    EXPECT_EQ(std::string(name.begin(), name.begin() + 9), std::string("Bass 1\xE9\xFF", 8) + '\0');
    // The dump carries what the messages carried.
    const Bytes dump = Built(DumpPerformance);
    EXPECT_EQ(std::string(dump.begin() + 9, dump.begin() + 21), "Bass 1      ");
}

} // namespace
