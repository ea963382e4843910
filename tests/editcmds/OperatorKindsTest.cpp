// Op Copy and Op Paste at the edges of the two operator kinds: tab 7 is voiced operator 8, tab 8
// unvoiced operator 1 and tab 15 unvoiced operator 8. Across the kinds only the shared words
// (voiced 22..43, unvoiced 13..34) move; within a kind the whole operator does.
#include "tests/editcmds/EditRig.h"

namespace {

const TShiftState CtrlShift{ssCtrl, ssShift};

class OperatorKindsTest : public EditRig {
protected:
    void SetUp() override
    {
        EditRig::SetUp();
        VoiceRecord& voice = form->ParameterData.VoiceRecords[1];
        for (int op = 0; op < 8; ++op) {
            int32_t* voiced = reinterpret_cast<int32_t*>(&voice.VoicedOperators[std::size_t(op)]);
            int32_t* unvoiced = reinterpret_cast<int32_t*>(&voice.UnvoicedOperators[std::size_t(op)]);
            for (int i = 0; i < 44; ++i) voiced[i] = 50 * op + i;
            for (int i = 0; i < 35; ++i) unvoiced[i] = 400 + 50 * op + i;
        }
        before = voice;
    }
    // Op Copy on operator tab `from`, Op Paste on tab `to`, both on voice 2.
    void CopyPaste(int from, int to)
    {
        ShowVoice(1, from);
        ASSERT_TRUE(form->UserPressesKey('C', CtrlShift));
        ShowVoice(1, to);
        ASSERT_TRUE(form->UserPressesKey('V', CtrlShift));
    }
    const int32_t* Voiced(int op)
    {
        return reinterpret_cast<const int32_t*>(&form->ParameterData.VoiceRecords[1].VoicedOperators[std::size_t(op)]);
    }
    const int32_t* Unvoiced(int op)
    {
        return reinterpret_cast<const int32_t*>(
            &form->ParameterData.VoiceRecords[1].UnvoicedOperators[std::size_t(op)]);
    }
    // Everything of voice 2 but the one operator is as it was.
    void ExpectOnlyChanged(bool voiced, int op)
    {
        VoiceRecord rest = form->ParameterData.VoiceRecords[1];
        if (voiced)
            rest.VoicedOperators[std::size_t(op)] = before.VoicedOperators[std::size_t(op)];
        else
            rest.UnvoicedOperators[std::size_t(op)] = before.UnvoicedOperators[std::size_t(op)];
        EXPECT_TRUE(Same(rest, before));
    }
    VoiceRecord before{};
};

TEST_F(OperatorKindsTest, VoicedOperator8OntoUnvoicedOperator1TakesTheSharedWordsOnly)
{
    CopyPaste(7, 8);
    for (int i = 0; i < 35; ++i) EXPECT_EQ(Unvoiced(0)[i], i < 13 ? 400 + i : 350 + 22 + (i - 13)) << i;
    ExpectOnlyChanged(false, 0);
}

TEST_F(OperatorKindsTest, UnvoicedOperator1OntoVoicedOperator8TakesTheSharedWordsOnly)
{
    CopyPaste(8, 7);
    for (int i = 0; i < 44; ++i) EXPECT_EQ(Voiced(7)[i], i < 22 ? 350 + i : 400 + 13 + (i - 22)) << i;
    ExpectOnlyChanged(true, 7);
}

TEST_F(OperatorKindsTest, UnvoicedOperators1And8TakeEachOtherWhole)
{
    CopyPaste(15, 8);
    for (int i = 0; i < 35; ++i) EXPECT_EQ(Unvoiced(0)[i], 750 + i) << i;
    ExpectOnlyChanged(false, 0);
    form->ParameterData.VoiceRecords[1] = before;
    CopyPaste(8, 15);
    for (int i = 0; i < 35; ++i) EXPECT_EQ(Unvoiced(7)[i], 400 + i) << i;
    ExpectOnlyChanged(false, 7);
}

} // namespace
