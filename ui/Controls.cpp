#include "ui/Controls.h"

#include "ui/Application.h"
#include "ui/Forms.h"

#include <algorithm>

// ---- TControl -------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl()
{
    if (View) View->Destroyed();
    View = nullptr;
    if (TForm* f = ParentForm(); f && f != static_cast<TControl*>(this)) f->ControlGoing(this);
    if (FParent) {
        auto& list = FParent->FControls;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        auto& tabs = FParent->FTabList;
        tabs.erase(std::remove_if(tabs.begin(), tabs.end(),
                                  [this](TWinControl* w) { return static_cast<TControl*>(w) == this; }),
                   tabs.end());
        FParent->Changed();
        FParent = nullptr;
    }
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent) return;
    if (AParent && (static_cast<TControl*>(AParent) == this ||
                    (dynamic_cast<TWinControl*>(this) && static_cast<TWinControl*>(this)->ContainsControl(AParent))))
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) {
        if (TForm* f = ParentForm()) f->ControlGoing(this);
        auto& list = FParent->FControls;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        auto& tabs = FParent->FTabList;
        tabs.erase(std::remove_if(tabs.begin(), tabs.end(),
                                  [this](TWinControl* w) { return static_cast<TControl*>(w) == this; }),
                   tabs.end());
        FParent->Changed();
    }
    FParent = AParent;
    if (FParent) {
        FParent->FControls.push_back(this);
        if (auto* w = dynamic_cast<TWinControl*>(this)) FParent->FTabList.push_back(w);
        if (FParent->View) FParent->View->ChildAdded(this);
    }
    Changed();
    ShowingChanged();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    Changed();
}

void TControl::SetText(const std::string& s)
{
    if (s == FText) return;
    FText = s;
    Changed();
}

void TControl::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    if (!v)
        if (TForm* f = ParentForm(); f && f != static_cast<TControl*>(this)) f->ControlGoing(this);
    Changed();
    EnabledChanged();
}

void TControl::SetVisible(bool v)
{
    if (v == FVisible) return;
    FVisible = v;
    if (!v)
        if (TForm* f = ParentForm(); f && f != static_cast<TControl*>(this)) f->ControlGoing(this);
    Changed();
    ShowingChanged();
}

bool TControl::Showing() const
{
    const TControl* c = this;
    for (; c->FParent; c = c->FParent)
        if (!c->FVisible) return false;
    return c->FVisible && dynamic_cast<const TForm*>(c) != nullptr;
}

bool TControl::EnabledForInput() const
{
    const TControl* c = this;
    for (; c; c = c->FParent)
        if (!c->FEnabled) return false;
    TForm* modal = Application->ModalForm();
    return !modal || ParentForm() == modal;
}

TForm* TControl::ParentForm() const
{
    const TControl* c = this;
    while (c->FParent) c = c->FParent;
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

bool TControl::AcceptsInput() const { return Showing() && EnabledForInput(); }

bool TControl::Dispatch(const std::function<void()>& work) const { return Application->Dispatch(work); }

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

bool TControl::UserClicks()
{
    if (!AcceptsInput()) return false;
    Dispatch([this] {
        if (TForm* f = ParentForm()) f->Activate();
        Click();
    });
    return true;
}

bool TControl::UserDoubleClicks()
{
    if (!AcceptsInput()) return false;
    Dispatch([this] {
        if (OnDblClick) OnDblClick(this);
    });
    return true;
}

bool TControl::UserMouseDown(int X, int Y, TMouseButton Button, TShiftState Shift)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        if (TForm* f = ParentForm()) {
            f->Activate();
            // Only controls that take part in Tab take the focus by a click (not panels, sheets).
            if (auto* w = dynamic_cast<TWinControl*>(this); w && w != f && w->TabStop() && w->CanFocus())
                f->MoveFocus(w);
        }
        if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
    });
    return true;
}

bool TControl::UserMouseMove(int X, int Y, TShiftState Shift)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
    });
    return true;
}

bool TControl::UserMouseUp(int X, int Y, TMouseButton Button, TShiftState Shift)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        // A left release inside the control is a click, which runs before OnMouseUp as on Windows.
        if (Button == mbLeft && X >= 0 && Y >= 0 && X < FWidth && Y < FHeight) Click();
        if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
    });
    return true;
}

// ---- TWinControl ----------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    BeginDestroy();
    if (View) View->Destroyed();
    View = nullptr;
    // A parent destroys its child controls.
    while (!FControls.empty()) delete FControls.back();
}

bool TWinControl::ContainsControl(const TControl* c) const
{
    for (; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

int TWinControl::TabOrder() const
{
    if (!Parent()) return -1;
    const auto& tabs = Parent()->FTabList;
    auto it = std::find(tabs.begin(), tabs.end(), this);
    return it == tabs.end() ? -1 : int(it - tabs.begin());
}

void TWinControl::SetTabOrder(int v)
{
    if (!Parent()) return;
    auto& tabs = Parent()->FTabList;
    tabs.erase(std::remove(tabs.begin(), tabs.end(), this), tabs.end());
    v = std::clamp(v, 0, int(tabs.size()));
    tabs.insert(tabs.begin() + v, this);
}

bool TWinControl::Focused() const
{
    TForm* f = ParentForm();
    return f && f->ActiveControl() == this;
}

bool TWinControl::CanFocus() const
{
    TForm* f = ParentForm();
    if (!f) return false;
    for (const TControl* c = this; c && c != f; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus()
{
    TForm* f = ParentForm();
    if (!f || f == this || !CanFocus()) return;
    f->MoveFocus(this);
}

bool TWinControl::UserFocuses()
{
    if (!AcceptsInput() || !CanFocus()) return false;
    Dispatch([this] {
        TForm* f = ParentForm();
        f->Activate();
        if (f != this) f->MoveFocus(this);
    });
    return true;
}

bool TWinControl::UserClicks()
{
    if (!AcceptsInput()) return false;
    Dispatch([this] {
        TForm* f = ParentForm();
        f->Activate();
        if (f != this && CanFocus()) f->MoveFocus(this);
        // The focus change may have run handlers that took the control away.
        if (AcceptsInput()) Click();
    });
    return true;
}

bool TWinControl::KeyDown(uint16_t Key, TShiftState Shift)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        TForm* f = ParentForm();
        f->Activate();
        if (f != this && CanFocus() && !Focused()) f->MoveFocus(this);
        f->RouteKeyDown(Key, Shift);
    });
    return true;
}

bool TWinControl::KeyUp(uint16_t Key, TShiftState Shift)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] { ParentForm()->RouteKeyUp(Key, Shift); });
    return true;
}

bool TWinControl::DefaultKeyDown(uint16_t, TShiftState) { return false; }

void TWinControl::DefaultKeyPress(char) {}
void TWinControl::DoEnter() {}
void TWinControl::DoExit() {}

void TWinControl::ShowingChanged()
{
    // Copy: a handler run below may add or remove controls.
    std::vector<TControl*> children = FControls;
    for (TControl* c : children)
        if (std::find(FControls.begin(), FControls.end(), c) != FControls.end()) c->ShowingChanged();
}

void TWinControl::EnabledChanged()
{
    for (TControl* c : FControls) c->EnabledChanged();
}
