// Tools > Store > Voice n stores the voice of part n: with four different voices, each memory
// slot of the instrument receives the one its command names.
#include "mainform/dialogs/storeform.h"
#include "tests/editcmds/EditRig.h"

namespace {

class StoreVoicesTest : public EditRig {};

TEST_F(StoreVoicesTest, EachVoiceCommandStoresItsOwnPartsVoice)
{
    const char* const names[4] = {"Alpha One ", "Bravo Two ", "Charlie 3 ", "Delta Four"};
    for (int v = 0; v < 4; ++v) {
        VoiceCommon& c = form->ParameterData.VoiceRecords[std::size_t(v)].VoiceCommon;
        std::memcpy(c.Name.data(), names[v], 10);
        c.Name[10] = 0;
        c.Algorithm = 20 + 7 * v;
        c.Feedback = v + 2;
    }
    for (int n = 1; n <= 4; ++n) {
        const int slot = 30 + n; // shown as number 31 + n
        Headless().ModalResponder = [slot](TForm& shown) {
            auto& dialog = dynamic_cast<TStoreNumSelect&>(shown);
            dialog.StoreNumEdit->UserSetsText(std::to_string(slot + 1));
            dialog.StoreOkBtn->UserClicks();
        };
        Item("StoreVc" + std::to_string(n))->Click();
        ASSERT_EQ(instrument.StoredVoices.count(slot), 1u) << "Voice" << n;
        const Bytes& stored = instrument.StoredVoices[slot];
        ASSERT_EQ(stored.size(), 608u);
        EXPECT_EQ(std::string(stored.begin(), stored.begin() + 10), names[n - 1]) << "Voice" << n;
        EXPECT_EQ(stored[0x2C], 20 + 7 * (n - 1) - 1) << "algorithm of Voice" << n;
        EXPECT_EQ(stored[0x3D], n + 1) << "feedback of Voice" << n;
    }
    EXPECT_EQ(instrument.StoredVoices.size(), 4u);
}

} // namespace
