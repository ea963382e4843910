#include "ui/ExtCtrls.h"

#include "ui/Application.h"
#include "ui/Forms.h"

#include <algorithm>

// ---- radio group ----------------------------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* AOwner) : TWinControl(AOwner)
{
    Items.OnChange = [this](TStrings::TChange, int) {
        // Edits of the items keep the selection where it can stay, silently.
        if (FItemIndex >= Items.Count()) FItemIndex = Items.Count() - 1;
        Changed();
    };
}

void TRadioGroup::SetItemIndex(int i)
{
    if (i < -1) i = -1;
    if (i >= Items.Count()) i = Items.Count() - 1;
    if (i == FItemIndex) return;
    FItemIndex = i;
    Changed();
    Click();
}

void TRadioGroup::SetColumns(int c)
{
    c = std::clamp(c, 1, 16);
    if (c == FColumns) return;
    FColumns = c;
    Changed();
}

bool TRadioGroup::UserClicks(int i)
{
    if (!AcceptsInput() || i < 0 || i >= Items.Count()) return false;
    Dispatch([this, i] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        if (AcceptsInput()) SetItemIndex(i);
    });
    return true;
}

bool TRadioGroup::DefaultKeyDown(uint16_t Key, TShiftState)
{
    if (Items.Count() == 0) return false;
    int to;
    switch (Key) {
    case VK_UP:
    case VK_LEFT: to = std::max(0, FItemIndex - 1); break;
    case VK_DOWN:
    case VK_RIGHT: to = std::min(Items.Count() - 1, FItemIndex + 1); break;
    default: return false;
    }
    SetItemIndex(to);
    return true;
}

// ---- image, bevel, shape --------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner)
{
    Picture.OnChange = [this] { Changed(); };
}

TCanvas& TImage::Canvas()
{
    if (Picture.Empty()) Picture.Bitmap().SetSize(std::max(1, Width()), std::max(1, Height()));
    return Picture.Bitmap().Canvas;
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {}

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {}

// ---- timer ----------------------------------------------------------------------------------

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    Application->FTimers.push_back(this);
    Application->Backend().TimerChanged(this);
}

TTimer::~TTimer()
{
    FEnabled = false;
    auto& list = Application->FTimers;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    Application->Backend().TimerChanged(this);
}

void TTimer::SetInterval(unsigned ms)
{
    if (ms == FInterval) return;
    FInterval = ms;
    if (FEnabled) Application->Backend().TimerChanged(this);
}

void TTimer::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    Application->Backend().TimerChanged(this);
}

void TTimer::Tick()
{
    if (FEnabled && FInterval > 0 && OnTimer) OnTimer(this);
}
