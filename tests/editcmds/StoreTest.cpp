// Tools > Store and its dialog: the numbers offered, the number box, and the dump that lands in
// the instrument's internal memory (Voice n: the voice of part n).
#include "mainform/dialogs/storeform.h"
#include "tests/editcmds/EditRig.h"

namespace {

class StoreTest : public EditRig {
protected:
    // Runs the store command `item`; `act` works in the dialog as a person, then OK unless it
    // closed the dialog.
    std::vector<Bytes> StoreWith(const char* item, std::function<void(TStoreNumSelect&)> act)
    {
        Headless().ModalResponder = [act](TForm& shown) {
            auto& dialog = dynamic_cast<TStoreNumSelect&>(shown);
            EXPECT_EQ(StoreNumSelect, &dialog);
            act(dialog);
            if (dialog.ModalResult() == mrNone) dialog.StoreOkBtn->UserClicks();
        };
        Item(item)->Click();
        EXPECT_EQ(StoreNumSelect, nullptr);
        return TakeSent();
    }
};

} // namespace

TEST_F(StoreTest, NumbersOfferedFollowKindAndMemoryModeAndTheChosenSlotGetsItsPartsVoice)
{
    SetDeviceNumber(2);
    for (int v = 0; v < 4; ++v) form->ParameterData.VoiceRecords[std::size_t(v)].VoiceCommon.Feedback = v + 2;
    form->ParameterData.SystemBlock.MemoryMode = 1;
    auto sent = StoreWith("StoreVc2", [](TStoreNumSelect& d) {
        EXPECT_EQ(d.StoreNumBar->Max(), 63);
        EXPECT_EQ(d.StoreNumEdit->Text(), "1");
        EXPECT_EQ(*d.ResultPtr, StoreCancelled);
        d.StoreNumEdit->UserSetsText("649"); // the box takes two digits
        EXPECT_EQ(d.StoreNumBar->Position(), 63);
    });
    EXPECT_EQ(form->StoreNumberResult, 63);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Bytes(sent[0].begin() + 2, sent[0].begin() + 9), (Bytes{0x02, 0x5E, 0x04, 0x60, 0x51, 0x00, 0x3F}));
    EXPECT_EQ(instrument.StoredVoices[63], Body(Built(1)));
    EXPECT_EQ(form->DataChanged, 0);

    sent = StoreWith("StorePfm", [](TStoreNumSelect& d) { EXPECT_EQ(d.StoreNumBar->Max(), 126); });
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].size(), 411u);
    EXPECT_EQ(Bytes(sent[0].begin() + 4, sent[0].begin() + 9), (Bytes{0x03, 0x10, 0x11, 0x00, 0x00}));
    form->ParameterData.SystemBlock.MemoryMode = 0;
    sent = StoreWith("StoreVc4", [](TStoreNumSelect& d) { d.StoreNumBar->UserScrollsTo(200); });
    EXPECT_EQ(Bytes(sent.at(0).begin() + 6, sent.at(0).begin() + 9), (Bytes{0x51, 0x00, 0x7E}));
    EXPECT_EQ(instrument.StoredVoices[126], Body(Built(3)));
    EXPECT_TRUE(Headless().Sleeps.empty());
}

// Each of Voice1..Voice4 answered with OK writes the voice of its own part, and only that, into
// the memory chosen.
TEST_F(StoreTest, EachVoiceCommandStoresItsOwnPartsVoice)
{
    for (int v = 0; v < 4; ++v) form->ParameterData.VoiceRecords[std::size_t(v)].VoiceCommon.Feedback = v + 2;
    for (int part = 0; part < 4; ++part) {
        SCOPED_TRACE("Voice" + std::to_string(part + 1));
        const uint8_t memory = uint8_t(20 + part);
        const auto sent = StoreWith(("StoreVc" + std::to_string(part + 1)).c_str(),
                                    [&](TStoreNumSelect& d) { d.StoreNumBar->UserScrollsTo(memory); });
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(Bytes(sent[0].begin() + 6, sent[0].begin() + 9), (Bytes{0x51, 0x00, memory}));
        EXPECT_EQ(Body(sent[0]), Body(Built(part)));
        EXPECT_EQ(instrument.StoredVoices[memory], Body(Built(part)));
    }
    EXPECT_EQ(instrument.StoredVoices.size(), 4u);
}

TEST_F(StoreTest, NumberBoxAndKeysMoveTheBarWithinItsRange)
{
    StoreWith("StorePfm", [](TStoreNumSelect& d) {
        TEdit& edit = *d.StoreNumEdit;
        edit.UserSetsText("200");
        EXPECT_EQ(d.StoreNumBar->Position(), 126);
        EXPECT_EQ(edit.Text(), "127");
        edit.UserSetsText("12");
        edit.UserSelects(2);
        edit.UserTypes("x");
        EXPECT_EQ(edit.Text(), "12");
        EXPECT_EQ(d.StoreNumBar->Position(), 11);
        edit.UserSetsText("");
        EXPECT_EQ(edit.Text(), "1");
        EXPECT_EQ(edit.SelLength(), 1);
        EXPECT_EQ(d.StoreNumBar->Position(), 0);
        edit.UserSetsText("5");
        edit.KeyDown(VK_PRIOR);
        edit.KeyDown(VK_UP);
        EXPECT_EQ(edit.Text(), "16");
        for (uint16_t key : {VK_DOWN, VK_NEXT, VK_NEXT}) edit.KeyDown(key);
        EXPECT_EQ(edit.Text(), "1");
        d.StoreNumBar->UserScrollsTo(41);
        EXPECT_EQ(edit.Text(), "42");
    });
    EXPECT_EQ(form->StoreNumberResult, 41);
}

TEST_F(StoreTest, CancelEscapeAndCloseSendNothing)
{
    for (auto way : {+[](TStoreNumSelect& d) { d.StoreNumBar->UserScrollsTo(9), d.StoreCancelBtn->UserClicks(); },
                     +[](TStoreNumSelect& d) { d.StoreNumEdit->KeyDown(VK_ESCAPE); },
                     +[](TStoreNumSelect& d) { d.UserCloses(); }}) {
        EXPECT_TRUE(StoreWith("StoreVc1", way).empty());
        EXPECT_EQ(form->StoreNumberResult, StoreCancelled);
    }
}
