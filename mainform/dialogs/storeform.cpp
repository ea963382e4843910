#include "mainform/dialogs/storeform.h"

#include <string>

TStoreNumSelect* StoreNumSelect = nullptr;

namespace {

// The instrument keeps 128 performances and 128 voices (64 voices in memory mode 1); the bar
// offers numbers 1..127 (1..64).
constexpr int LargestNumberTyped = 128;

} // namespace

TStoreNumSelect::TStoreNumSelect(TComponent* AOwner, int32_t* result, int32_t storeKind, int32_t memoryMode)
    : TForm(AOwner), ResultPtr(result)
{
    CreateControls();
    *ResultPtr = StoreCancelled;
    const bool sixtyFourVoices = storeKind == 1 && memoryMode == 1;
    StoreNumBar->SetMax(sixtyFourVoices ? 63 : 126);
    StoreNumEdit->MaxLength = sixtyFourVoices ? 2 : 3;
    DoCreate();
}

void TStoreNumSelect::CreateControls()
{
    Name = "StoreNumSelect";
    SetCaption("Store");
    BorderStyle = bsSingle;
    BorderIcons = 0;
    FormStyle = fsStayOnTop;
    Position = poMainFormCenter;
    SetClientSize(203, 74);
    Font.Name = "Tahoma";

    StoreText = new TLabel(this);
    StoreText->Name = "StoreText";
    StoreText->SetParent(this);
    StoreText->AutoSize = false;
    StoreText->Alignment = taCenter;
    StoreText->Font.Style = fsBold;
    StoreText->SetBounds(0, 4, 203, 14);
    StoreText->SetCaption("Select internal voice number");

    StoreNumBar = new TScrollBar(this);
    StoreNumBar->Name = "StoreNumBar";
    StoreNumBar->SetParent(this);
    StoreNumBar->SetBounds(9, 23, 140, 20);
    StoreNumBar->SetParams(0, 0, 127);
    StoreNumBar->LargeChange = 10;
    StoreNumBar->OnChange = [this](TObject* s) { StoreNumBarChange(s); };

    StoreNumEdit = new TEdit(this);
    StoreNumEdit->Name = "StoreNumEdit";
    StoreNumEdit->SetParent(this);
    StoreNumEdit->SetBounds(155, 22, 39, 22);
    StoreNumEdit->Font.Style = fsBold;
    StoreNumEdit->SetText("1");
    StoreNumEdit->OnChange = [this](TObject* s) { StoreNumEditChange(s); };
    StoreNumEdit->OnKeyDown = [this](TObject* s, uint16_t& key, TShiftState shift) {
        StoreNumEditKeyDown(s, key, shift);
    };

    auto button = [this](const char* name, const char* caption, int left, void (TStoreNumSelect::*handler)(TObject*)) {
        auto* b = new TButton(this);
        b->Name = name;
        b->SetParent(this);
        b->SetCaption(caption);
        b->SetBounds(left, 48, 75, 22);
        b->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        return b;
    };
    StoreOkBtn = button("StoreOkBtn", "OK", 24, &TStoreNumSelect::StoreOkBtnClick);
    StoreCancelBtn = button("StoreCancelBtn", "Cancel", 104, &TStoreNumSelect::StoreCancelBtnClick);
    StoreCancelBtn->Cancel = true;
}

void TStoreNumSelect::StoreNumBarChange(TObject*)
{
    StoreNumEdit->SetText(std::to_string(StoreNumBar->Position() + 1));
    StoreNumEdit->SetFocus();
}

void TStoreNumSelect::StoreNumEditChange(TObject*)
{
    const std::string text = StoreNumEdit->Text();
    const int length = Utf8Length(text);
    for (const char c : text) {
        if (c < '0' || c > '9') {
            StoreNumEdit->SetText(std::to_string(StoreNumBar->Position() + 1));
            StoreNumEdit->SetSelStart(length);
        }
    }
    if (length != 0) {
        int n = 0;
        for (const char c : StoreNumEdit->Text()) {
            if (c < '0' || c > '9') break;
            n = n * 10 + (c - '0');
            if (n >= LargestNumberTyped) break;
        }
        StoreNumBar->SetPosition(n >= LargestNumberTyped ? StoreNumBar->Max() : n - 1);
    } else {
        StoreNumBar->SetPosition(0);
        StoreNumEdit->SetText("1");
        // Selected, so that the next key replaces it.
        StoreNumEdit->SelectAll();
    }
}

void TStoreNumSelect::StoreNumEditKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    int step = 0;
    switch (Key) {
    case VK_PRIOR: step = 10; break;
    case VK_NEXT: step = -10; break;
    case VK_UP: step = 1; break;
    case VK_DOWN: step = -1; break;
    default: return;
    }
    StoreNumBar->SetPosition(StoreNumBar->Position() + step);
    Key = 0;
}

void TStoreNumSelect::StoreOkBtnClick(TObject*)
{
    *ResultPtr = StoreNumBar->Position();
    SetModalResult(mrOk);
}

void TStoreNumSelect::StoreCancelBtnClick(TObject*) { SetModalResult(mrCancel); }
