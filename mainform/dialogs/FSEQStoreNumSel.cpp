#include "mainform/dialogs/FSEQStoreNumSel.h"

TFSEQStoreForm::TFSEQStoreForm(TComponent* AOwner, int32_t* result, int32_t slotMode)
    : TForm(AOwner), ResultPtr(result), FSlotMode(slotMode)
{
    CreateControls();
    *ResultPtr = 1;
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

void TFSEQStoreForm::CreateControls()
{
    Name = "FSEQStoreForm";
    SetCaption("Quillmarven");
    BorderStyle = bsSingle;
    BorderIcons = 0;
    FormStyle = fsStayOnTop;
    Position = poMainFormCenter;
    SetClientSize(462, 110);

    auto label = [this](const char* name, const char* caption, int top) {
        auto* l = new TLabel(this);
        l->Name = name;
        l->SetParent(this);
        l->AutoSize = false;
        l->Alignment = taCenter;
        l->SetBounds(0, top, 462, 14);
        l->SetCaption(caption);
        return l;
    };
    FSEQStoreText = label("FSEQStoreText", "Where do you want to store ?", 6);

    FSEQStoreRadio = new TRadioGroup(this);
    FSEQStoreRadio->Name = "FSEQStoreRadio";
    FSEQStoreRadio->SetParent(this);
    FSEQStoreRadio->SetBounds(8, 24, 446, 40);
    FSEQStoreRadio->SetCaption("Internal Memory Number");
    FSEQStoreRadio->SetColumns(7);
    FSEQStoreRadio->Items = {"Current", "Int 1", "Int 2", "Int 3", "Int 4", "Int 5", "Int 6"};
    FSEQStoreRadio->SetItemIndex(1);

    FSEQStoreBtn = new TButton(this);
    FSEQStoreBtn->Name = "FSEQStoreBtn";
    FSEQStoreBtn->SetParent(this);
    FSEQStoreBtn->SetCaption("OK");
    FSEQStoreBtn->SetBounds(194, 68, 75, 22);
    FSEQStoreBtn->OnClick = [this](TObject* s) { FSEQStoreBtnClick(s); };

    FSEQStoreText2 = label("FSEQStoreText2", "Please select internal memory number !", 93);
}

void TFSEQStoreForm::FormShow(TObject*)
{
    // Format code k occupies k memories beyond its first: the last k starts are dropped.
    const int drop = FSlotMode >= 1 && FSlotMode <= 3 ? FSlotMode : 0;
    for (int i = 0; i < drop; ++i) FSEQStoreRadio->Items.Delete(FSEQStoreRadio->Items.Count() - 1);
}

void TFSEQStoreForm::FSEQStoreBtnClick(TObject*)
{
    if (FSEQStoreRadio->ItemIndex() >= 0) *ResultPtr = FSEQStoreRadio->ItemIndex();
    SetModalResult(mrOk);
}
