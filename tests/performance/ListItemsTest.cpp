// The lists whose items stand for a number the instrument gets, item by item and both ways: each
// item's text against the instrument's table (tests/tables/data), the byte a person's choice of
// it sends and the byte the dump then carries, and the item shown when that byte comes back in a
// received dump. The lists are read as they stand: the number an item stands for is the number its
// text names (a controller, a program) or the place the instrument's table gives its name (a
// destination, an effect type, a bank, a channel).
#include "tests/performance/PerformanceFixture.h"

#include "tests/support/CatalogueRows.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Where a name stands in the instrument's list of them; -1 where it does not.
int PlaceOf(const Names& names, const std::string& name)
{
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? -1 : int(at - names.begin());
}

// The performance payload's place of part p's parameter j.
constexpr std::size_t PartByte(int p, int j) { return 0xC0 + 0x34 * std::size_t(p) + std::size_t(j); }

class ListItemsTest : public PerformancePageTest {
protected:
    void SetUp() override
    {
        PerformancePageTest::SetUp();
        // The instrument holds what the editor holds; each receive changes only the bytes a test sets.
        const Bytes performance = Body(Built(DumpPerformance));
        std::copy(performance.begin(), performance.end(), instrument.Performance.begin());
        const Bytes system = Body(Built(DumpSystem));
        std::copy(system.begin(), system.end(), instrument.System.begin());
        instrument.System[0x10] = 1;
    }

    Bytes Payload(int32_t kind) { return Body(Built(kind)); }
    // Data > Receive of the performance or the system block, to its end.
    void Receive(const char* command, uint64_t ms)
    {
        Click(command);
        Advance(ms);
        ASSERT_FALSE(form->TransferRunning()) << command;
        ASSERT_TRUE(Messages().empty()) << command << ": " << Messages().front().Text;
        Forget();
    }
    // A person's choice of `item`, as a change: another item first where it is chosen already.
    void Choose(TComboBox* list, int item)
    {
        if (list->ItemIndex() == item) {
            ASSERT_TRUE(list->UserSelects(item == 0 ? 1 : 0));
            Advance(4000); // a program's voice fetch
            Forget();
        }
        ASSERT_TRUE(list->UserSelects(item)) << list->Name << " item " << item;
    }
    void ShowEffectTab(int tab)
    {
        page->Pfm_PageControl->SetActivePage(page->Pfm_Effect_TabSheet);
        ASSERT_TRUE(page->Pfm_Effect_Tab->UserSelects(tab) || page->Pfm_Effect_Tab->TabIndex() == tab);
    }
};

// The twelve assignment lists of the system sheet: 94 items, controllers 1..31 and 33..95 each
// once under the instrument's short name; the item chosen sends and dumps its number at 16 + i.
TEST_F(ListItemsTest, ControllerAssignmentItemsCarryTheControllerTheyName)
{
    page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    for (std::size_t i = 0; i < 12; ++i) {
        TComboBox* list = page->Pfm_Cntl_Assign[i];
        SCOPED_TRACE(list->Name);
        const auto al = uint8_t(0x16 + i);
        std::set<int> numbers;
        for (int item = 0; item < list->Items.Count(); ++item) {
            const std::string text = list->Items[item];
            const int number = ControllerOfItem(text);
            numbers.insert(number);
            Choose(list, item);
            ASSERT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x00, 0, al, 0, uint8_t(number))})
                << "item " << item << " " << text;
            ASSERT_EQ(Payload(DumpSystem)[al], number) << "item " << item << " " << text;
        }
        EXPECT_EQ(numbers, EveryListedController());
    }

    // Back from the instrument: every list comes to every item once, at its own number.
    const int count = page->Pfm_Cntl_Assign[0]->Items.Count();
    ASSERT_EQ(count, 94);
    for (int round = 0; round < count; ++round) {
        std::string expected[12];
        for (std::size_t i = 0; i < 12; ++i) {
            expected[i] = page->Pfm_Cntl_Assign[i]->Items[(round + 8 * int(i)) % count];
            instrument.System[0x16 + i] = uint8_t(LeadingNumber(expected[i]));
        }
        Receive("DataRcvSys", 1600);
        for (std::size_t i = 0; i < 12; ++i)
            ASSERT_EQ(page->Pfm_Cntl_Assign[i]->Text(), expected[i]) << page->Pfm_Cntl_Assign[i]->Name;
    }
}

// The eight destination lists: "off", the fourteen destinations of the insertion type received,
// the 33 common ones; each item sends and dumps its place in that list at 40 + k, and a received
// destination shows the item that names it.
TEST_F(ListItemsTest, DestinationItemsCarryTheDestinationTheyName)
{
    page->Pfm_PageControl->SetActivePage(page->Pfm_FSEQ_Ctrl_TabSheet);
    Names common;
    for (const CatalogueRow& r : CatalogueRows("control_destinations.tsv")) common.push_back(r[2]);
    std::map<int, Names> byType;
    for (const CatalogueRow& r : CatalogueRows("insertion_destinations.tsv")) {
        Names names{"off"};
        names.insert(names.end(), r.begin() + 1, r.end());
        names.insert(names.end(), common.begin(), common.end());
        byType[std::stoi(r[0])] = names;
    }
    ASSERT_EQ(byType.size(), 41u);
    ASSERT_EQ(byType[0].size(), 48u);

    // Every insertion type names its own fourteen; each round brings every set to another item.
    const int rounds = 48;
    for (int round = 0; round < rounds; ++round) {
        const int type = round % 41;
        const Names& names = byType[type];
        instrument.Performance[0xAF] = uint8_t(type);
        for (int k = 0; k < 8; ++k) instrument.Performance[0x40 + std::size_t(k)] = uint8_t((round + 6 * k) % 48);
        Receive("DataRcvPfm", 2000);
        for (std::size_t k = 0; k < 8; ++k) {
            TComboBox* list = page->Pfm_Ctrl_Dest[k];
            SCOPED_TRACE(list->Name + " after insertion type " + std::to_string(type));
            ASSERT_EQ(list->Items.Count(), 48);
            for (int item = 0; item < 48; ++item) ASSERT_EQ(list->Items[item], names[std::size_t(item)]);
            ASSERT_EQ(list->Text(), names[std::size_t((round + 6 * int(k)) % 48)]);
        }
    }

    // And out: the place of the item's name in the instrument's list is the byte.
    const Names& names = byType[(rounds - 1) % 41];
    for (std::size_t k = 0; k < 8; ++k) {
        TComboBox* list = page->Pfm_Ctrl_Dest[k];
        SCOPED_TRACE(list->Name);
        const auto al = uint8_t(0x40 + k);
        for (int item = 0; item < list->Items.Count(); ++item) {
            const int d = PlaceOf(names, list->Items[item]);
            Choose(list, item);
            ASSERT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 0, al, 0, uint8_t(d))})
                << "item " << item << " " << list->Items[item];
            ASSERT_EQ(Payload(DumpPerformance)[al], d) << "item " << item;
        }
    }
}

// The type lists of the three effect blocks: the instrument's type names in its order; a choice
// sends and dumps the type its name has there, and a received type shows the item of that name.
TEST_F(ListItemsTest, EffectTypeItemsCarryTheTypeTheyName)
{
    Names types[3];
    for (const CatalogueRow& r : CatalogueRows("effect_types.tsv")) {
        Names& block = types[std::stoi(r[0])];
        block.resize(std::max<std::size_t>(block.size(), std::size_t(std::stoi(r[1]) + 1)));
        block[std::size_t(std::stoi(r[1]))] = r[2];
    }
    const uint8_t typeAL[3] = {0x28, 0x2B, 0x2F};
    for (int b = 0; b < 3; ++b) {
        ShowEffectTab(b + 1);
        TComboBox* list = page->Pfm_Effect_Type;
        SCOPED_TRACE("block " + std::to_string(b));
        ASSERT_EQ(std::size_t(list->Items.Count()), types[b].size());
        for (int item = 0; item < list->Items.Count(); ++item) {
            const int type = PlaceOf(types[b], list->Items[item]);
            ASSERT_GE(type, 0) << "item " << item << " " << list->Items[item];
            EXPECT_EQ(type, item) << list->Items[item];
            Choose(list, item);
            ASSERT_EQ(TakeSent(), std::vector<Message>{ParameterChange(0x10, 1, typeAL[b], 0, uint8_t(type))})
                << list->Items[item];
            ASSERT_EQ(Payload(DumpPerformance)[0x80 + typeAL[b]], type) << list->Items[item];
        }
    }

    for (std::size_t round = 0; round < types[2].size(); ++round) {
        for (int b = 0; b < 3; ++b)
            instrument.Performance[0x80 + std::size_t(typeAL[b])] = uint8_t(round % types[b].size());
        Receive("DataRcvPfm", 2000);
        for (int b = 0; b < 3; ++b) {
            ShowEffectTab(b + 1);
            ASSERT_EQ(page->Pfm_Effect_Type->Text(), types[b][round % types[b].size()]) << "block " << b;
        }
    }
}

// The part page's voice choice and receive channels. The bank list names the instrument's banks
// in its order; every program list holds its bank's 128 names (the internal bank's by the memory
// mode), each item numbered as the program it sends and dumps; the channels go as the table of
// the part parameters says: "01" .. "16" as 0 .. 15, "pfm" as 10, "off" as 7F.
TEST_F(ListItemsTest, VoiceAndChannelItemsCarryTheNumberTheyName)
{
    const Names banks = {"off", "Int", "PrA", "PrB", "PrC", "PrD", "PrE", "PrF", "PrG", "PrH", "PrI", "PrJ", "PrK"};
    std::map<int, Names> column;
    for (const CatalogueRow& r : CatalogueRows("voice_names.tsv")) {
        Names& c = column[std::stoi(r[0])];
        c.resize(std::max<std::size_t>(c.size(), std::size_t(std::stoi(r[1]) + 1)));
        c[std::size_t(std::stoi(r[1]))] = r[2];
    }
    Names channels;
    for (int c = 1; c <= 16; ++c) channels.push_back((c < 10 ? "0" : "") + std::to_string(c));
    channels.insert(channels.end(), {"pfm", "off"});
    const uint8_t channelByte[18] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0x10, 0x7F};

    // The names, bank by bank, in both memory modes.
    for (int mode : {0, 1}) {
        form->ParameterData.SystemBlock.MemoryMode = mode;
        for (int b = 1; b < int(banks.size()); ++b) {
            Part(0).BankNum = b;
            Refresh();
            const Names& names = column[b >= 2 ? b - 2 : mode == 1 ? 12 : 11];
            TComboBox* programs = page->Pfm_Part_PrgNum;
            SCOPED_TRACE(banks[std::size_t(b)] + " in memory mode " + std::to_string(mode));
            ASSERT_EQ(programs->Items.Count(), 128);
            for (int item = 0; item < 128; ++item) {
                const std::string text = programs->Items[item];
                const int number = LeadingNumber(text);
                ASSERT_GE(number, 1) << text;
                EXPECT_EQ(text, names[std::size_t(number - 1)]) << "item " << item;
            }
        }
    }

    // Out, on part 2: the bank by its place among the banks, the program by its number, the
    // channels; part 2 alone listens, so that every channel is free.
    for (int p = 0; p < 4; ++p) Part(p).RcvCh = 17;
    Part(1).BankNum = 2;
    Refresh();
    ClickPart(1);
    TComboBox* bankList = page->Pfm_Part_BankNum;
    ASSERT_EQ(std::size_t(bankList->Items.Count()), banks.size());
    for (int item = 0; item < bankList->Items.Count(); ++item) {
        const int b = PlaceOf(banks, bankList->Items[item]);
        ASSERT_GE(b, 0) << bankList->Items[item];
        Choose(bankList, item);
        ASSERT_EQ(TakeSent().front(), PartChange(0x31, 0x01, uint8_t(b))) << bankList->Items[item];
        ASSERT_EQ(Payload(DumpPerformance)[PartByte(1, 1)], b) << bankList->Items[item];
        Advance(4000);
        Forget();
    }
    Choose(bankList, 5);
    Advance(4000);
    Forget();
    TComboBox* programs = page->Pfm_Part_PrgNum;
    for (int item = 0; item < programs->Items.Count(); ++item) {
        const int number = LeadingNumber(programs->Items[item]);
        Choose(programs, item);
        ASSERT_EQ(TakeSent(), std::vector<Message>{PartChange(0x31, 0x02, uint8_t(number - 1))})
            << programs->Items[item];
        ASSERT_EQ(Payload(DumpPerformance)[PartByte(1, 2)], number - 1) << programs->Items[item];
        Advance(4000); // the voice fetch
        ASSERT_FALSE(form->TransferRunning());
        Forget();
    }
    TComboBox* receive = page->Pfm_Part_RcvCh;
    ASSERT_EQ(std::size_t(receive->Items.Count()), channels.size());
    for (int item = 0; item < receive->Items.Count(); ++item) {
        const int c = PlaceOf(channels, receive->Items[item]);
        ASSERT_GE(c, 0) << receive->Items[item];
        Choose(receive, item);
        ASSERT_EQ(TakeSent(), std::vector<Message>{PartChange(0x31, 0x04, channelByte[c])}) << receive->Items[item];
        ASSERT_EQ(Payload(DumpPerformance)[PartByte(1, 4)], channelByte[c]) << receive->Items[item];
    }
    Choose(receive, 0); // channel 01: every maximum fits
    TakeSent();
    TComboBox* maximum = page->Pfm_Part_RcvChMax;
    ASSERT_EQ(maximum->Items.Count(), 16);
    for (int item = 0; item < maximum->Items.Count(); ++item) {
        const int c = PlaceOf(channels, maximum->Items[item]);
        ASSERT_TRUE(c >= 0 && c < 16) << maximum->Items[item];
        Choose(maximum, item);
        ASSERT_EQ(TakeSent(), std::vector<Message>{PartChange(0x31, 0x03, uint8_t(c))}) << maximum->Items[item];
        ASSERT_EQ(Payload(DumpPerformance)[PartByte(1, 3)], c) << maximum->Items[item];
    }

    // Back, each part at another item of each list every round.
    const int internal = form->ParameterData.SystemBlock.MemoryMode == 1 ? 12 : 11;
    for (int round = 0; round < 128; ++round) {
        for (int p = 0; p < 4; ++p) {
            instrument.Performance[PartByte(p, 1)] = uint8_t((round + 3 * p) % 13);
            instrument.Performance[PartByte(p, 2)] = uint8_t((round + 32 * p) % 128);
            instrument.Performance[PartByte(p, 3)] = uint8_t((round + 5 * p) % 16);
            instrument.Performance[PartByte(p, 4)] = channelByte[(round + 7 * p) % 18];
        }
        Receive("DataRcvPfm", 2000);
        for (int p = 0; p < 4; ++p) {
            ClickPart(p);
            SCOPED_TRACE("part " + std::to_string(p + 1) + ", round " + std::to_string(round));
            const int b = (round + 3 * p) % 13;
            ASSERT_EQ(bankList->Text(), banks[std::size_t(b)]);
            const std::string program =
                b == 0 ? std::string() : column[b >= 2 ? b - 2 : internal][std::size_t((round + 32 * p) % 128)];
            ASSERT_EQ(programs->Text(), program);
            ASSERT_EQ(receive->Text(), channels[std::size_t((round + 7 * p) % 18)]);
            if (p < 2 && receive->ItemIndex() < 16) {
                ASSERT_EQ(maximum->Text(), channels[std::size_t((round + 5 * p) % 16)]);
            }
        }
    }
}

} // namespace
