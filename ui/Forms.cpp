#include "ui/Forms.h"

#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

#include <algorithm>

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FVisible = false;
    Color = clBtnFace;
    SetTabStop(false);
    Application->FormCreated(this);
}

TForm::~TForm()
{
    BeginDestroy();
    FActiveControl = nullptr;
    Application->FormDestroyed(this);
}

void TForm::DoCreate()
{
    if (OnCreate) OnCreate(this);
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    bool resized = AWidth != Width() || AHeight != Height();
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (resized) {
        FCanvasBitmap.SetSize(Width(), Height());
        if (OnResize) OnResize(this);
    }
}

void TForm::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FMenu) {
        FMenu = nullptr;
        Changed();
    }
}

void TForm::SetMenu(TMainMenu* m)
{
    if (m == FMenu) return;
    if (FMenu) RemoveFreeNotification(FMenu);
    FMenu = m;
    if (FMenu) FreeNotification(FMenu);
    Changed();
}

// ---- showing and closing --------------------------------------------------------------------

void TForm::SetVisible(bool v)
{
    if (v == Visible()) return;
    if (v) {
        // As in the Windows library, an exception out of OnShow is displayed and the form shows.
        Application->Dispatch([this] {
            if (OnShow) OnShow(this);
        });
        FVisible = true;
        Changed();
        Application->Backend().FormShown(this);
        ShowingChanged();
        Activate();
    } else {
        if (OnHide) OnHide(this);
        FVisible = false;
        Changed();
        Application->Backend().FormHidden(this);
        ShowingChanged();
        if (Active()) {
            Deactivate();
            TForm* main = Application->MainForm();
            if (main && main != this && main->Visible()) main->Activate();
        }
    }
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application->MainForm() == this) {
        Application->FMainFormClosed = true;
        Application->Terminate();
    } else if (action != caMinimize) {
        // caFree is taken as caHide: the owner frees the form.
        Hide();
    }
}

bool TForm::TryEndModal()
{
    if (FModalResult == mrNone) return false;
    TCloseAction action = caHide;
    if (!CloseQuery()) action = caNone;
    if (OnClose) OnClose(this, action);
    if (action == caNone) {
        FModalResult = mrNone;
        return false;
    }
    return true;
}

TModalResult TForm::ShowModal()
{
    if (Visible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
    TForm* wasActive = Application->ActiveForm();
    FModal = true;
    FModalResult = mrNone;
    Application->FModalStack.push_back(this);
    struct Restore {
        TForm* f;
        TForm* active;
        ~Restore()
        {
            auto& st = Application->FModalStack;
            st.erase(std::remove(st.begin(), st.end(), f), st.end());
            f->FModal = false;
            if (f->Visible()) f->Hide();
            if (active && active->Visible() &&
                std::find(Application->Forms().begin(), Application->Forms().end(), active) !=
                    Application->Forms().end())
                active->Activate();
        }
    } restore{this, wasActive};
    // Not shown at all while the session ends: nobody is there to answer it.
    if (Application->Ending()) return FModalResult = mrCancel;
    Show();
    Application->RunModal(this);
    if (Application->Terminated() && FModalResult == mrNone) FModalResult = mrCancel;
    return FModalResult;
}

void TForm::Activate()
{
    TForm*& active = Application->FActiveForm;
    if (active == this) return;
    TForm* old = active;
    active = this;
    if (old && old->OnDeactivate) old->OnDeactivate(old);
    if (active == this && OnActivate) OnActivate(this);
}

void TForm::Deactivate()
{
    if (!Active()) return;
    Application->FActiveForm = nullptr;
    if (OnDeactivate) OnDeactivate(this);
}

bool TForm::Active() const { return Application->ActiveForm() == this; }

// ---- focus ----------------------------------------------------------------------------------

void TForm::MoveFocus(TWinControl* c)
{
    if (c == FActiveControl) return;
    TWinControl* old = FActiveControl;
    // Inside old's own OnExit the focus just moves on: old is already being left.
    if (old && old != FExiting) {
        FExiting = old;
        struct Clear {
            TWinControl*& f;
            ~Clear() { f = nullptr; }
        } clear{FExiting};
        old->DoExit();
        if (old->OnExit) old->OnExit(old);
        // A handler that moved the focus elsewhere wins.
        if (FActiveControl != old) return;
    }
    if (c && !c->CanFocus()) c = nullptr;
    FActiveControl = c;
    if (old) old->Changed();
    if (c) {
        c->DoEnter();
        if (c->OnEnter) c->OnEnter(c);
        if (FActiveControl == c) c->Changed();
    }
}

void TForm::SetActiveControl(TWinControl* c)
{
    if (!c) {
        TWinControl* old = FActiveControl;
        FActiveControl = nullptr;
        if (old) old->Changed();
        return;
    }
    if (c->ParentForm() != this || c == this) return;
    c->SetFocus();
}

void TForm::ControlGoing(TControl* c)
{
    if (Destroying() || !FActiveControl) return;
    if (FExiting && (FExiting == c || static_cast<const TControl*>(FExiting)->Parent() == c)) FExiting = nullptr;
    for (const TControl* p = FActiveControl; p; p = p->Parent()) {
        if (p == c) {
            TWinControl* old = FActiveControl;
            FActiveControl = nullptr;
            if (static_cast<TControl*>(old) != c && !old->Destroying()) old->Changed();
            return;
        }
    }
}

namespace {
void CollectTabStops(const TWinControl* parent, std::vector<TWinControl*>& out);
}

TWinControl* TForm::FindNextControl(TWinControl* cur, bool GoForward) const
{
    std::vector<TWinControl*> all;
    CollectTabStops(this, all);
    std::vector<TWinControl*> stops;
    for (TWinControl* w : all)
        if ((w->TabStop() && w->CanFocus()) || w == cur) stops.push_back(w);
    if (stops.empty()) return nullptr;
    auto it = std::find(stops.begin(), stops.end(), cur);
    int n = int(stops.size());
    int i = it == stops.end() ? (GoForward ? -1 : n) : int(it - stops.begin());
    for (int step = 0; step < n; ++step) {
        i = (i + (GoForward ? 1 : -1) + n) % n;
        if (stops[size_t(i)] != cur) return stops[size_t(i)];
    }
    return nullptr;
}

void TForm::SelectNext(TWinControl* cur, bool GoForward)
{
    if (TWinControl* next = FindNextControl(cur, GoForward)) MoveFocus(next);
}

// ---- keys -----------------------------------------------------------------------------------

bool TForm::RouteKeyDown(uint16_t Key, TShiftState Shift)
{
    if (FMenu && FMenu->IsShortCut(Key, Shift)) return true;
    if (KeyPreview && OnKeyDown) {
        OnKeyDown(this, Key, Shift);
        if (Key == 0) return false;
    }
    TWinControl* c = FActiveControl;
    if (c) {
        if (c->OnKeyDown) {
            c->OnKeyDown(c, Key, Shift);
            if (Key == 0) return false;
        }
        if (c->DefaultKeyDown(Key, Shift)) return false;
    } else if (!KeyPreview && OnKeyDown) {
        OnKeyDown(this, Key, Shift);
        if (Key == 0) return false;
    }
    // The form's own keys.
    bool ctrl = Shift.Contains(ssCtrl), alt = Shift.Contains(ssAlt);
    if (Key == VK_TAB && ctrl) {
        for (TControl* p = c; p; p = p->Parent())
            if (auto* pc = dynamic_cast<TPageControl*>(p)) {
                pc->SelectNextPage(!Shift.Contains(ssShift));
                break;
            }
    } else if (Key == VK_TAB && !alt) {
        SelectNext(c, !Shift.Contains(ssShift));
    } else if ((Key == VK_RETURN || Key == VK_ESCAPE) && !ctrl && !alt) {
        std::vector<TWinControl*> all;
        CollectTabStops(this, all);
        for (TWinControl* w : all) {
            auto* b = dynamic_cast<TButton*>(w);
            if (b && (Key == VK_RETURN ? b->Default : b->Cancel) && b->Visible() && b->Enabled() && b->CanFocus()) {
                b->Click();
                break;
            }
        }
    } else if (Key == VK_F4 && alt && !ctrl) {
        Close();
    }
    return false;
}

bool TForm::RouteKeyUp(uint16_t Key, TShiftState Shift)
{
    if (KeyPreview && OnKeyUp) {
        OnKeyUp(this, Key, Shift);
        if (Key == 0) return true;
    }
    if (TWinControl* c = FActiveControl) {
        if (c->OnKeyUp) c->OnKeyUp(c, Key, Shift);
    } else if (!KeyPreview && OnKeyUp) {
        OnKeyUp(this, Key, Shift);
    }
    return true;
}

bool TForm::RouteKeyPress(char& Key)
{
    if (KeyPreview && OnKeyPress) {
        OnKeyPress(this, Key);
        if (Key == 0) return false;
    }
    if (TWinControl* c = FActiveControl) {
        if (c->OnKeyPress) {
            c->OnKeyPress(c, Key);
            if (Key == 0) return false;
        }
        c->DefaultKeyPress(Key);
    } else if (!KeyPreview && OnKeyPress) {
        OnKeyPress(this, Key);
    }
    return true;
}

bool TForm::UserPressesKey(uint16_t Key, TShiftState Shift)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        Activate();
        RouteKeyDown(Key, Shift);
    });
    return true;
}

bool TForm::UserReleasesKey(uint16_t Key, TShiftState Shift)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] { RouteKeyUp(Key, Shift); });
    return true;
}

bool TForm::UserTypesChar(char c)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        Activate();
        char k = c;
        RouteKeyPress(k);
    });
    return true;
}

bool TForm::UserWheels(int Delta, TPoint MousePos, TShiftState Shift)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        bool handled = false;
        if (OnMouseWheel) OnMouseWheel(this, Shift, Delta, MousePos, handled);
        if (handled) return;
        if (Delta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
        if (Delta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    });
    return true;
}

bool TForm::UserCloses()
{
    if (!Visible() || !EnabledForInput()) return false;
    Dispatch([this] { Close(); });
    return true;
}

void TForm::Repaint()
{
    TCanvas& cv = FCanvasBitmap.Canvas;
    TBrush keep = cv.Brush;
    cv.Brush.Color = Color;
    cv.Brush.Style = bsSolid;
    cv.FillRect(TRect{0, 0, FCanvasBitmap.Width(), FCanvasBitmap.Height()});
    cv.Brush = keep;
    if (OnPaint) OnPaint(this);
    Changed();
}

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(false); }

bool TScrollBox::UserScrollsTo(int pos, bool vertical)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] { (vertical ? VertScrollBar : HorzScrollBar).SetPosition(pos); });
    return true;
}

int TControlScrollBar::Range() const
{
    int extent = 0;
    for (int i = 0; i < FBox.ControlCount(); ++i) {
        const TControl* c = FBox.Controls(i);
        if (c->Visible()) extent = std::max(extent, FVertical ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    return extent + Margin;
}

int TControlScrollBar::MaxPosition() const
{
    return std::max(0, Range() - (FVertical ? FBox.ClientHeight() : FBox.ClientWidth()));
}

int TControlScrollBar::Position() const { return std::clamp(FPosition, 0, MaxPosition()); }

void TControlScrollBar::SetPosition(int v)
{
    v = std::clamp(v, 0, MaxPosition());
    if (v == FPosition) return;
    FPosition = v;
    FBox.Changed();
}

namespace {
void CollectTabStops(const TWinControl* parent, std::vector<TWinControl*>& out)
{
    // Tab order within each parent, depth first.
    std::vector<TWinControl*> ordered;
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(parent->Controls(i))) ordered.push_back(w);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* w : ordered) {
        out.push_back(w);
        CollectTabStops(w, out);
    }
}
} // namespace
