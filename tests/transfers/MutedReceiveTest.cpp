// A receive under the editor's mutes. While the instrument holds the block that was muted it
// reports each muted word as the mute's 0, and the stored value stays; any other value there is
// the instrument's own (another performance or voice chosen on it, a new voice after a program
// change): it is taken, and the mute holds again on the instrument.
#include "TransfersFixture.h"

#include "mainform/dialogs/storeform.h"

#include <set>

namespace {

// Payload positions on the instrument: part 2's volume; of voice 1, voiced operator 1's output
// level and the switch mask of voiced operators 1..7, unvoiced operator 8's level and switch.
constexpr std::size_t Part2Volume = 0xC0 + 0x34 + 0x0B;
constexpr std::size_t VOp1Level = 0x70 + 0x16;
constexpr std::size_t VSwitchMask = 0x29;
constexpr std::size_t UOp8Level = 0x70 + 7 * 0x3E + 0x2E;
constexpr std::size_t USwitch8 = 0x2A;
constexpr std::size_t USwitchMask = 0x2B; // unvoiced operators 1..7
constexpr std::size_t VOpLevel(int k) { return 0x70 + std::size_t(k) * 0x3E + 0x16; }
constexpr std::size_t UOpLevel(int k) { return 0x70 + std::size_t(k) * 0x3E + 0x2E; }

struct Route {
    const char* Item;
    uint64_t Ms;
    bool Performance, Voice;
};

class MutedReceiveTest : public TransfersTest, public ::testing::WithParamInterface<Route> {
protected:
    // The editor and the instrument alike, then a person mutes part 2 and voiced operator 1 and
    // unvoiced operator 8 of voice 1: the instrument holds 0 there.
    void SetUp() override
    {
        TransfersTest::SetUp();
        form->ParameterData.PfmParts[1].Volume = 82;
        VoiceRecord& v = Voice();
        v.VoicedOperators[0].OutputLvl = 70;
        v.UnvoicedOperators[7].OutputLvl = 60;
        v.VoicedOperators[0].FseqSw = v.UnvoicedOperators[7].FseqSw = 1;
        Click("DataSendAll");
        Advance(15000);
        ClickMutes(1, 0, {0}, {7});
        ASSERT_EQ(OnInstrument(), (std::array<int, 5>{0, 0, 0, 0, 0}));
        TakeSent();
    }
    VoiceRecord& Voice() { return form->ParameterData.VoiceRecords[0]; }
    // The muted words as the instrument holds them: part 2's volume, operator 1's level and
    // switch, unvoiced operator 8's level and switch.
    std::array<int, 5> OnInstrument() const
    {
        const auto& v = instrument.Voices[0];
        return {instrument.Performance[Part2Volume], v[VOp1Level], v[VSwitchMask] & 1, v[UOp8Level], v[USwitch8]};
    }
    std::array<int, 5> Stored()
    {
        const VoiceRecord& v = Voice();
        return {form->ParameterData.PfmParts[1].Volume, v.VoicedOperators[0].OutputLvl, v.VoicedOperators[0].FseqSw,
                v.UnvoicedOperators[7].OutputLvl, v.UnvoicedOperators[7].FseqSw};
    }
    void Receive(const Route& r)
    {
        Click(r.Item);
        Advance(r.Ms);
        ASSERT_TRUE(Messages().empty());
    }
    bool StillMuted()
    {
        return form->PartMute[1] == 1 && form->PerformancePage->Pfm_PartMuteBtn[1]->Down() &&
               form->VoicePage->Vc_OpMute_VOp[0]->Down() && form->VoicePage->Vc_OpMute_UOp[7]->Down();
    }
};

TEST_P(MutedReceiveTest, TheInstrumentsOwnValueUnderAMuteIsTakenAndSilencedAgain)
{
    const Route r = GetParam();
    // The instrument still holds the muted blocks: the stored values stay, nothing but the
    // requests goes out.
    Receive(r);
    EXPECT_EQ(Stored(), (std::array<int, 5>{82, 70, 1, 60, 1}));
    for (const Bytes& m : TakeSent()) EXPECT_EQ(m.size(), 8u) << "only dump requests";

    // Another performance or voice, or both, as received, is chosen on the instrument.
    if (r.Performance) instrument.Performance[Part2Volume] = 73;
    auto& v = instrument.Voices[0];
    if (r.Voice) v[VOp1Level] = 50, v[VSwitchMask] |= 1, v[UOp8Level] = 40, v[USwitch8] = 1;
    Receive(r);
    const std::array<int, 5> taken = {r.Performance ? 73 : 82, r.Voice ? 50 : 70, 1, r.Voice ? 40 : 60, 1};
    EXPECT_EQ(Stored(), taken);
    EXPECT_EQ(OnInstrument(), (std::array<int, 5>{0, 0, 0, 0, 0})) << "silenced again";
    EXPECT_TRUE(StillMuted());

    // What is saved and stored is what was taken.
    const fs::path saved = temp / "taken.fse";
    AnswerFileDialogs([&](const TFileDialogRequest&) { return saved.string(); });
    Click("FileSaveAsItem");
    EXPECT_EQ(ReadBytes(saved), SaveFileImage(form->ParameterData));
    Headless().ModalResponder = [](TForm& d) { dynamic_cast<TStoreNumSelect&>(d).StoreOkBtn->UserClicks(); };
    Click("StorePfm");
    Click("StoreVc1");
    ASSERT_EQ(instrument.StoredPerformances.size() + instrument.StoredVoices.size(), 2u);
    EXPECT_EQ(instrument.StoredPerformances.begin()->second[Part2Volume], taken[0]);
    EXPECT_EQ(instrument.StoredVoices.begin()->second[VOp1Level], taken[1]);
    EXPECT_EQ(instrument.StoredVoices.begin()->second[UOp8Level], taken[3]);

    // Lifting the mutes gives the instrument those values.
    ClickMutes(1, 0, {0}, {7});
    EXPECT_EQ(OnInstrument(), taken);
}

INSTANTIATE_TEST_SUITE_P(Receives, MutedReceiveTest,
                         ::testing::Values(Route{"DataRcvPfm", 2000, true, false},
                                           Route{"DataRcvVc1", 4000, false, true},
                                           Route{"DataRcvAll", 36000, true, true}),
                         [](const auto& param) { return std::string(param.param.Item).substr(7); });

// Operators 1..7 share one switch byte: a receive that takes several muted operators' values
// silences them again with each message once.
TEST_F(MutedReceiveTest, SilencingSeveralOperatorsAgainSendsEachMessageOnce)
{
    for (int k : {1, 2}) {
        EXPECT_TRUE(form->VoicePage->Vc_OpMute_VOp[std::size_t(k)]->UserClicks());
        EXPECT_TRUE(form->VoicePage->Vc_OpMute_UOp[std::size_t(k - 1)]->UserClicks());
    }
    TakeSent();
    // Another voice is chosen on the instrument: every muted operator sounds, with its switch on.
    auto& v = instrument.Voices[0];
    for (int k : {0, 1, 2}) v[VOpLevel(k)] = 50 + k;
    for (int k : {0, 1}) v[UOpLevel(k)] = 40 + k;
    v[UOp8Level] = 30, v[VSwitchMask] |= 0x07, v[USwitchMask] |= 0x03, v[USwitch8] = 1;
    Receive({"DataRcvVc1", 4000, false, true});

    std::vector<Bytes> sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].size(), 8u) << "the request first";
    sent.erase(sent.begin());
    // Six levels and the three switch bytes, each once.
    EXPECT_EQ(sent.size(), 9u);
    EXPECT_EQ(std::set<Bytes>(sent.begin(), sent.end()).size(), sent.size());
    for (int k : {0, 1, 2}) EXPECT_EQ(v[VOpLevel(k)], 0);
    for (int k : {0, 1}) EXPECT_EQ(v[UOpLevel(k)], 0);
    EXPECT_EQ(OnInstrument(), (std::array<int, 5>{0, 0, 0, 0, 0}));
    EXPECT_EQ(v[VSwitchMask] & 0x07, 0);
    EXPECT_EQ(v[USwitchMask] & 0x03, 0);
}

// A program change brings a new voice: every muted word is its own, and the mutes hold on it too.
TEST_F(MutedReceiveTest, AVoiceFetchedAfterAProgramChangeIsTakenWholeAndStaysMuted)
{
    auto& v = instrument.Voices[0];
    v[VOp1Level] = 0, v[UOp8Level] = 45; // the new voice's own levels
    ShowPart(0);
    form->PerformancePage->Pfm_Part_PrgNum->UserSelects(5);
    Advance(4000);
    EXPECT_EQ(Voice().VoicedOperators[0].OutputLvl, 0);
    EXPECT_EQ(Voice().UnvoicedOperators[7].OutputLvl, 45);
    EXPECT_EQ(OnInstrument()[3], 0) << "silenced again";
    EXPECT_TRUE(StillMuted());
}

} // namespace
