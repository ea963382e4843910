// The value pair both pages share, on its own: the display forms, and the box kinds only the
// performance pages use.
#include "core/pages/ValuePair.h"
#include "tests/support/RecordingMainData.h"

#include <gtest/gtest.h>

TEST(ValuePairForms, DisplayFormsAndTheirInverse)
{
    EXPECT_EQ(FormatValue(TValueForm::Unsigned, 0, 42), "42");
    EXPECT_EQ(FormatValue(TValueForm::Signed, 24, 24), "+0");
    EXPECT_EQ(FormatValue(TValueForm::Signed, 64, 0), "-64");
    EXPECT_EQ(FormatValue(TValueForm::Inverted, 99, 99), "0");
    EXPECT_EQ(FormatValue(TValueForm::InvertedSigned, 50, 0), "+50");
    EXPECT_EQ(FormatValue(TValueForm::InvertedSigned, 50, 50), "+0");
    EXPECT_EQ(FormatValue(TValueForm::InvertedSigned, 50, 51), "-1");
    EXPECT_EQ(FormatValue(TValueForm::InvertedSigned, 50, 100), "-50");
    EXPECT_EQ(FormatValue(TValueForm::PlusOne, 0, 7), "8");
    for (TValueForm f : {TValueForm::Unsigned, TValueForm::Signed, TValueForm::Inverted, TValueForm::InvertedSigned,
                         TValueForm::PlusOne})
        for (int p = 0; p <= 100; ++p) EXPECT_EQ(PositionOf(f, 50, ShownValue(f, 50, p)), p);
    EXPECT_EQ(ParseInteger("-012"), -12);
    EXPECT_EQ(ParseInteger("99999999999999"), ParseInteger("99999999999")); // saturates, no overflow
    EXPECT_EQ(KeyStep(KeysReversed, VK_PRIOR), -10);
    EXPECT_EQ(KeyStep(Keys2, VK_NEXT), -2);
    EXPECT_EQ(KeyStep(Keys10, VK_LEFT), 0);
}

class ValuePairBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetBackend(nullptr);
        Application->Headless().Reset();
        form.SetBounds(0, 0, 300, 100);
        form.Show();
    }
    TValuePair& Make(TBoxKind kind, int max)
    {
        const TPairForm pairForm{"Test", "Test", max, 10, 1, TValueForm::Unsigned, 0, kind, 3, Keys10};
        pair = CreateValuePair(&form, &form, pairForm, TPairPlace{});
        pair->Bar->OnChange = [this](TObject*) {
            RunStoringRoad(data, *pair,
                           {[this](int p) { stored = p; },
                            {},
                            [](int p) {
                                return ComposeParameterChange(
                                    ParameterChangeMessage{0xF0, 0x43, 0x10, 0x5E, 0x30, 0, 0x0E, 0, 0, 0xF7}, 0, 0, p);
                            }});
        };
        return *pair;
    }
    TForm form{nullptr};
    RecordingMainData data;
    std::unique_ptr<TValuePair> pair;
    int stored = -1;
};

TEST_F(ValuePairBox, ToBarMaxAndVelocityLimit)
{
    TValuePair& p = Make(TBoxKind::ToBarMax, 32);
    ASSERT_TRUE(p.Edit->UserSetsText("40"));
    EXPECT_EQ(p.Bar->Position(), 32);
    EXPECT_EQ(p.Edit->Text(), "32"); // the slider moved and showed its value
    ASSERT_TRUE(p.Edit->UserSetsText("50"));
    EXPECT_EQ(p.Edit->Text(), "50"); // already at the top: the typed text stays
    EXPECT_EQ(data.Sent.size(), 1u);
    EXPECT_EQ(stored, 32);

    TValuePair& v = Make(TBoxKind::VelocityLimit, 127);
    ASSERT_TRUE(v.Edit->UserSetsText("0"));
    EXPECT_EQ(v.Bar->Position(), 1);
    EXPECT_EQ(v.Edit->Text(), "1");
    EXPECT_EQ(v.Edit->SelLength(), 1);
    ASSERT_TRUE(v.Edit->UserSetsText(""));
    EXPECT_EQ(v.Edit->Text(), "1");
    ASSERT_TRUE(v.Edit->UserSetsText("300"));
    EXPECT_EQ(v.Bar->Position(), 127);
}
