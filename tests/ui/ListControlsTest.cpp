// Lists, check boxes, speed buttons, up-downs, page and tab controls: which changes fire.
#include "UiFixture.h"

namespace {

using Strings = std::vector<std::string>;

class ListControlsTest : public UiTest {};

TEST_F(ListControlsTest, ComboBoxFiresOnlyForAPersonAndAlwaysForAPick)
{
    auto* combo = Make<TComboBox>("Combo");
    combo->Items = {"one", "two", "three"};
    combo->OnChange = [&](TObject*) { Log.push_back("change " + IntToStr(combo->ItemIndex())); };

    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "two");
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(-5);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(Log.empty());

    EXPECT_TRUE(combo->UserSelects(2));
    EXPECT_TRUE(combo->UserSelects(2)); // the same item again
    EXPECT_FALSE(combo->UserSelects(3));
    EXPECT_TRUE(combo->KeyDown(VK_UP));
    EXPECT_TRUE(combo->KeyDown(VK_HOME));
    EXPECT_TRUE(combo->KeyDown(VK_HOME)); // no move, no change
    EXPECT_EQ(Log, (Strings{"change 2", "change 2", "change 1", "change 0"}));

    // Item edits keep the selected item where they can.
    combo->SetItemIndex(1);
    combo->Items.Insert(0, "zero");
    EXPECT_EQ(combo->Text(), "two");
    combo->Items.Delete(2);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetText("three");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->Items.Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(ListControlsTest, RadioGroupClampsAndFiresOnChangesOnly)
{
    auto* radio = Make<TRadioGroup>("Radio");
    radio->Items = {"a", "b", "c"};
    radio->OnClick = [&](TObject*) { Log.push_back("click " + IntToStr(radio->ItemIndex())); };

    radio->SetItemIndex(1);
    radio->SetItemIndex(1);
    radio->SetItemIndex(10); // past the end: the last item
    radio->SetItemIndex(-4); // below 0: none
    radio->SetItemIndex(-1);
    EXPECT_EQ(Log, (Strings{"click 1", "click 2", "click -1"}));

    Log.clear();
    radio->SetItemIndex(2);
    radio->Items.Delete(2); // the selection follows, silently
    EXPECT_EQ(radio->ItemIndex(), 1);
    radio->Items.Add("d");
    EXPECT_TRUE(radio->UserClicks(0));
    EXPECT_TRUE(radio->UserClicks(0));
    EXPECT_FALSE(radio->UserClicks(9));
    EXPECT_EQ(Log, (Strings{"click 2", "click 0"}));
}

TEST_F(ListControlsTest, CheckBoxFiresWhenCheckedChanges)
{
    auto* check = Make<TCheckBox>("Check");
    check->OnClick = [&](TObject*) { Log.push_back(check->Checked() ? "on" : "off"); };
    check->SetChecked(true);
    check->SetChecked(true);
    check->UserClicks();
    check->KeyDown(VK_SPACE);
    EXPECT_EQ(Log, (Strings{"on", "off", "on"}));
}

TEST_F(ListControlsTest, SpeedButtonsToggleInTheirGroupsOnlyForAPerson)
{
    auto* mute1 = Make<TSpeedButton>("Mute1");
    auto* mute2 = Make<TSpeedButton>("Mute2");
    mute1->GroupIndex = 1;
    mute1->AllowAllUp = true;
    mute2->GroupIndex = 2;
    mute2->AllowAllUp = true;
    for (auto* b : {mute1, mute2})
        b->OnClick = [&, b](TObject*) { Log.push_back(b->Name + (b->Down() ? " down" : " up")); };

    mute1->SetDown(true); // by code: no event
    EXPECT_TRUE(Log.empty());
    mute1->UserClicks();
    mute2->UserClicks();
    mute2->UserClicks();
    EXPECT_EQ(Log, (Strings{"Mute1 up", "Mute2 down", "Mute2 up"}));

    // One group, no all-up: a down button stays down; another one going down raises it.
    auto* a = Make<TSpeedButton>("A");
    auto* b = Make<TSpeedButton>("B");
    a->GroupIndex = b->GroupIndex = 5;
    a->UserClicks();
    a->UserClicks();
    EXPECT_TRUE(a->Down());
    b->UserClicks();
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    // A button outside any group is never down.
    auto* plain = Make<TSpeedButton>("Plain");
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());
}

TEST_F(ListControlsTest, UpDownWritesItsBoxAndAsksBeforeAPersonsStep)
{
    auto* box = Make<TEdit>("AlgorithmEdit");
    auto* ud = Make<TUpDown>("AlgorithmUpDown");
    ud->SetMin(1);
    ud->SetMax(88);
    ud->SetAssociate(box);
    EXPECT_EQ(box->Text(), "1");
    EXPECT_EQ(ud->Left(), box->Left() + box->Width());
    box->OnChange = [&](TObject*) { Log.push_back("text " + box->Text()); };
    ud->OnChanging = [&](TObject*, bool&) { Log.push_back("changing " + IntToStr(ud->Position())); };
    ud->OnClick = [&](TObject*, TUDBtnType bt) { Log.push_back(bt == btNext ? "next" : "prev"); };

    ud->SetPosition(87);
    ud->UserClicks(btNext);
    ud->UserClicks(btNext); // at Max: no change, the click still reports
    EXPECT_EQ(Log, (Strings{"text 87", "changing 87", "text 88", "next", "changing 88", "next"}));

    Log.clear();
    ud->OnChanging = [](TObject*, bool& allow) { allow = false; };
    ud->UserClicks(btPrev);
    EXPECT_EQ(ud->Position(), 88);
    EXPECT_TRUE(Log.empty());

    ud->SetPosition(500);
    EXPECT_EQ(ud->Position(), 88);
    delete box; // the up-down forgets a box that goes
    ud->SetPosition(3);
    EXPECT_EQ(ud->Associate(), nullptr);
}

TEST_F(ListControlsTest, PageControlChangesFireForAPersonSheetsShowAlways)
{
    auto* pages = Make<TPageControl>("Pages");
    auto* sheet1 = new TTabSheet(Form);
    auto* sheet2 = new TTabSheet(Form);
    auto* sheet3 = new TTabSheet(Form);
    for (auto* s : {sheet1, sheet2, sheet3}) s->SetPageControl(pages);
    sheet1->Name = "S1";
    sheet2->Name = "S2";
    sheet3->Name = "S3";
    EXPECT_EQ(pages->ActivePage(), sheet1);
    EXPECT_TRUE(sheet1->Visible());
    EXPECT_FALSE(sheet2->Visible());
    for (auto* s : {sheet1, sheet2, sheet3}) {
        s->OnShow = [&, s](TObject*) { Log.push_back("show " + s->Name); };
        s->OnHide = [&, s](TObject*) { Log.push_back("hide " + s->Name); };
    }
    pages->OnChanging = [&](TObject*, bool&) { Log.push_back("changing"); };
    pages->OnChange = [&](TObject*) { Log.push_back("change " + IntToStr(pages->ActivePageIndex())); };

    pages->SetActivePageIndex(1); // by code: the sheet shows, no change events
    EXPECT_EQ(Log, (Strings{"show S2", "hide S1"}));

    Log.clear();
    pages->UserSelects(2);
    pages->UserSelects(2);
    pages->SelectNextPage(true); // wraps, as a person's change
    EXPECT_EQ(Log,
              (Strings{"changing", "show S3", "hide S2", "change 2", "changing", "show S1", "hide S3", "change 0"}));

    Log.clear();
    pages->OnChanging = [](TObject*, bool& allow) { allow = false; };
    pages->UserSelects(1);
    EXPECT_EQ(pages->ActivePage(), sheet1);

    // Nested sheets start showing with their parent sheet; hidden forms show nothing.
    auto* inner = Make<TPageControl>("Inner", sheet2);
    auto* innerSheet = new TTabSheet(Form);
    innerSheet->SetPageControl(inner);
    innerSheet->OnShow = [&](TObject*) { Log.push_back("show inner"); };
    pages->SetActivePage(sheet2);
    EXPECT_EQ(Log, (Strings{"show S2", "show inner", "hide S1"}));
    Form->Hide();
    Log.clear();
    pages->SetActivePage(sheet1);
    EXPECT_EQ(Log, (Strings{}));
    Form->Show();
    EXPECT_EQ(Log, (Strings{"show S1"}));
}

TEST_F(ListControlsTest, LeavingASheetTakesTheFocusOffIt)
{
    auto* pages = Make<TPageControl>("Pages");
    auto* sheet1 = new TTabSheet(Form);
    auto* sheet2 = new TTabSheet(Form);
    sheet1->SetPageControl(pages);
    sheet2->SetPageControl(pages);
    auto* box = Make<TEdit>("Box", sheet1);
    box->OnExit = [&](TObject*) { Log.push_back("exit"); };
    box->SetFocus();
    pages->SetActivePage(sheet2);
    EXPECT_EQ(Log, (Strings{"exit"}));
    EXPECT_FALSE(box->Focused());
    box->SetFocus(); // on a hidden sheet: nothing
    EXPECT_FALSE(box->Focused());
    EXPECT_FALSE(box->UserTypes("1"));
}

TEST_F(ListControlsTest, TabControlFiresOnlyForAPerson)
{
    auto* tabs = Make<TTabControl>("PartTab");
    tabs->Tabs = {"Part1", "Part2", "Part3", "Part4"};
    EXPECT_EQ(tabs->TabIndex(), 0);
    tabs->OnChange = [&](TObject*) { Log.push_back("change " + IntToStr(tabs->TabIndex())); };
    tabs->OnChanging = [&](TObject*, bool& allow) { allow = tabs->TabIndex() != 3; };
    tabs->SetTabIndex(2);
    tabs->SetTabIndex(9);
    EXPECT_EQ(tabs->TabIndex(), 2);
    tabs->UserSelects(3);
    tabs->UserSelects(0); // refused while on tab 3
    tabs->SetTabIndex(1);
    tabs->KeyDown(VK_RIGHT);
    EXPECT_EQ(Log, (Strings{"change 3", "change 2"}));
}

TEST_F(ListControlsTest, ProgressBarClampsToItsMax)
{
    auto* progress = Make<TProgressBar>("Progress");
    progress->SetMax(29);
    progress->SetPosition(40);
    EXPECT_EQ(progress->Position(), 29);
}

} // namespace
