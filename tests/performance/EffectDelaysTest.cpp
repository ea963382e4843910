// The delays of the Echo and Cross Delay effects, set on the effect sheet as a person sets them:
// each reaches the instrument as the two data bytes of the delay the row shows, in every block.
#include "tests/performance/PerformanceFixture.h"

#include <string>
#include <vector>

namespace {

using P = PfmPair;

struct DelayRow {
    int Row; // 1 .. 18
    const char* Caption;
    uint8_t AL;
};

struct DelayType {
    int Tab; // the block's tab: 1 reverb, 2 variation, 3 insertion
    const char* Name;
    uint8_t AM;
    std::vector<DelayRow> Rows;
};

// clang-format off
const DelayType DelayTypes[] = {
    {1, "Echo",        0x00, {{1, "Lch Delay1", 0x50}, {3, "Rch Delay1", 0x54},
                              {6, "Lch Delay2", 0x5A}, {7, "Rch Delay2", 0x5C}}},
    {1, "Cross Delay", 0x00, {{1, "L>R Delay",  0x50}, {2, "R>L Delay",  0x52}}},
    {2, "Echo",        0x00, {{1, "Lch Delay1", 0x68}, {3, "Rch Delay1", 0x6C},
                              {6, "Lch Delay2", 0x72}, {7, "Rch Delay2", 0x74}}},
    {2, "Cross Delay", 0x00, {{1, "L>R Delay",  0x68}, {2, "R>L Delay",  0x6A}}},
    {3, "Echo",        0x01, {{1, "Lch Delay1", 0x08}, {3, "Rch Delay1", 0x0C},
                              {6, "Lch Delay2", 0x12}, {7, "Rch Delay2", 0x14}}},
    {3, "Cross Delay", 0x01, {{1, "L>R Delay",  0x08}, {2, "R>L Delay",  0x0A}}},
};
// clang-format on

// A slider position, the delay the row shows for it and the data bytes the instrument gets.
struct Delay {
    int Position;
    const char* Text;
    uint8_t DH, DL;
};

const Delay Delays[] = {
    {0, "0.1", 0x00, 0x01}, {127, "12.8", 0x01, 0x00}, {2999, "300.0", 0x17, 0x38}, {6819, "682.0", 0x35, 0x24}};

class EffectDelaysTest : public PerformancePageTest {};

} // namespace

TEST_F(EffectDelaysTest, EchoAndCrossDelayDelaysReachTheInstrumentAsShownInEveryBlock)
{
    ASSERT_TRUE(page->Pfm_PageControl->UserSelects(2));
    for (const DelayType& type : DelayTypes) {
        SCOPED_TRACE(std::string(type.Name) + " on tab " + std::to_string(type.Tab));
        ASSERT_TRUE(page->Pfm_Effect_Tab->UserSelects(type.Tab));
        ASSERT_TRUE(page->Pfm_Effect_Type->UserSelects(page->Pfm_Effect_Type->Items.IndexOf(type.Name)));
        TakeSent();
        for (const DelayRow& row : type.Rows) {
            const P id = static_cast<P>(static_cast<int>(P::Pfm_Effect_Para1) + row.Row - 1);
            ASSERT_EQ(page->Pair(id).Text->Caption(), row.Caption);
            for (const Delay& delay : Delays) {
                SCOPED_TRACE(std::string(row.Caption) + " at " + delay.Text);
                ASSERT_TRUE(Bar(id)->UserScrollsTo(delay.Position));
                EXPECT_EQ(Edit(id)->Text(), delay.Text);
                EXPECT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, type.AM, row.AL, delay.DH, delay.DL)});
            }
        }
    }
}
