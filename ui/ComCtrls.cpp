#include "ui/ComCtrls.h"

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

#include <algorithm>

// ---- tab sheet ------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    SetVisible(false); // only the active sheet is visible
    SetTabStop(false);
}

TTabSheet::~TTabSheet()
{
    BeginDestroy();
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = nullptr;
}

void TTabSheet::SetPageControl(TPageControl* pc)
{
    if (pc == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = nullptr;
    SetParent(pc);
    if (pc) pc->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl) return -1;
    const auto& pages = FPageControl->FPages;
    return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::ShowingChanged()
{
    bool now = Showing();
    if (now != FWasShowing) {
        FWasShowing = now;
        if (now && OnShow) OnShow(this);
        if (!now && OnHide) OnHide(this);
    }
    TWinControl::ShowingChanged();
}

// ---- page control ---------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {}

TPageControl::~TPageControl()
{
    BeginDestroy();
    for (TTabSheet* p : FPages) p->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page)
{
    page->FPageControl = this;
    FPages.push_back(page);
    Changed();
    if (!FActivePage) ChangeActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page)
{
    if (Destroying()) return;
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    size_t at = size_t(it - FPages.begin());
    FPages.erase(it);
    page->FPageControl = nullptr;
    if (FActivePage == page) {
        FActivePage = nullptr;
        if (!FPages.empty()) ChangeActivePage(FPages[std::min(at, FPages.size() - 1)]);
    }
    Changed();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePage(TTabSheet* page) { ChangeActivePage(page); }

void TPageControl::SetActivePageIndex(int i)
{
    ChangeActivePage(i >= 0 && i < PageCount() ? FPages[size_t(i)] : nullptr);
}

void TPageControl::ChangeActivePage(TTabSheet* page)
{
    if (page == FActivePage || (page && page->FPageControl != this)) return;
    TTabSheet* old = FActivePage;
    // The focus leaves the sheet that goes away first (its OnExit runs).
    TForm* f = ParentForm();
    if (f && old && f->ActiveControl() && old->ContainsControl(f->ActiveControl())) {
        if (CanFocus())
            SetFocus();
        else
            f->SetActiveControl(nullptr);
    }
    FActivePage = page;
    if (page) page->SetVisible(true);
    if (old && old != FActivePage) old->SetVisible(false);
    Changed();
}

bool TPageControl::PersonChanges(TTabSheet* page)
{
    if (!page || page == FActivePage) return false;
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return false;
    ChangeActivePage(page);
    if (OnChange) OnChange(this);
    return true;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
    int n = PageCount();
    if (n == 0) return;
    int i = ActivePageIndex();
    for (int step = 0; step < n; ++step) {
        i = (i + (GoForward ? 1 : -1) + n) % n;
        TTabSheet* p = FPages[size_t(i)];
        if (!CheckTabVisible || p->TabVisible()) {
            PersonChanges(p);
            return;
        }
    }
}

bool TPageControl::UserSelects(int i)
{
    if (!AcceptsInput() || i < 0 || i >= PageCount() || !FPages[size_t(i)]->TabVisible()) return false;
    Dispatch([this, i] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        if (AcceptsInput() && i < PageCount()) PersonChanges(FPages[size_t(i)]);
    });
    return true;
}

bool TPageControl::DefaultKeyDown(uint16_t Key, TShiftState Shift)
{
    if (Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return false;
    if (Key == VK_LEFT || Key == VK_RIGHT) {
        // Arrows move between tabs without wrapping.
        int i = ActivePageIndex();
        int step = Key == VK_RIGHT ? 1 : -1;
        for (int j = i + step; j >= 0 && j < PageCount(); j += step)
            if (FPages[size_t(j)]->TabVisible()) {
                PersonChanges(FPages[size_t(j)]);
                break;
            }
        return true;
    }
    return false;
}

// ---- tab control ----------------------------------------------------------------------------

TTabControl::TTabControl(TComponent* AOwner) : TWinControl(AOwner)
{
    Tabs.OnChange = [this](TStrings::TChange, int) {
        // The first tab added to an empty control is selected, as on Windows.
        if (FTabIndex < 0 && Tabs.Count() > 0) FTabIndex = 0;
        if (FTabIndex >= Tabs.Count()) FTabIndex = Tabs.Count() - 1;
        Changed();
    };
}

void TTabControl::SetTabIndex(int i)
{
    if (i < -1 || i >= Tabs.Count() || i == FTabIndex) return;
    FTabIndex = i;
    Changed();
}

bool TTabControl::PersonChanges(int i)
{
    if (i < 0 || i >= Tabs.Count() || i == FTabIndex) return false;
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return false;
    SetTabIndex(i);
    if (OnChange) OnChange(this);
    return true;
}

bool TTabControl::UserSelects(int i)
{
    if (!AcceptsInput() || i < 0 || i >= Tabs.Count()) return false;
    Dispatch([this, i] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        if (AcceptsInput()) PersonChanges(i);
    });
    return true;
}

void TTabControl::SelectNextPage(bool GoForward)
{
    int n = Tabs.Count();
    if (n == 0) return;
    PersonChanges(((FTabIndex + (GoForward ? 1 : -1)) % n + n) % n);
}

bool TTabControl::DefaultKeyDown(uint16_t Key, TShiftState Shift)
{
    if (Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return false;
    if (Key == VK_LEFT && FTabIndex > 0)
        PersonChanges(FTabIndex - 1);
    else if (Key == VK_RIGHT && FTabIndex + 1 < Tabs.Count())
        PersonChanges(FTabIndex + 1);
    else
        return Key == VK_LEFT || Key == VK_RIGHT;
    return true;
}

// ---- up-down --------------------------------------------------------------------------------

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(false);
    SetBounds(0, 0, 17, 21);
}

TUpDown::~TUpDown()
{
    BeginDestroy();
    if (FAssociate) RemoveFreeNotification(FAssociate);
    FAssociate = nullptr;
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FAssociate) FAssociate = nullptr;
}

void TUpDown::SetAssociate(TEdit* e)
{
    if (e == FAssociate) return;
    if (FAssociate) RemoveFreeNotification(FAssociate);
    FAssociate = e;
    if (!e) return;
    FreeNotification(e);
    if (e->Parent() && e->Parent() != Parent()) SetParent(e->Parent());
    SetBounds(e->Left() + e->Width(), e->Top(), Width(), e->Height());
    WriteAssociate();
}

void TUpDown::WriteAssociate()
{
    if (FAssociate) FAssociate->SetText(IntToStr(FPosition));
}

void TUpDown::SetMin(int v)
{
    FMin = v;
    if (FMax < FMin) FMax = FMin;
    SetPosition(FPosition);
}

void TUpDown::SetMax(int v)
{
    FMax = v;
    if (FMin > FMax) FMin = FMax;
    SetPosition(FPosition);
}

void TUpDown::SetPosition(int v)
{
    v = std::clamp(v, FMin, FMax);
    if (v != FPosition) {
        FPosition = v;
        Changed();
    }
    // The associated box always shows the position, as the Windows control writes it.
    WriteAssociate();
}

bool TUpDown::UserClicks(TUDBtnType button)
{
    if (!AcceptsInput()) return false;
    Dispatch([this, button] {
        ParentForm()->Activate();
        bool allow = true;
        if (OnChanging) OnChanging(this, allow);
        if (!allow) return;
        SetPosition(FPosition + (button == btNext ? Increment : -Increment));
        if (OnClick) OnClick(this, button);
    });
    return true;
}

// ---- progress bar, status bar ---------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(false); }

void TProgressBar::SetMin(int v)
{
    FMin = v;
    if (FMax < FMin) FMax = FMin;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Changed();
}

void TProgressBar::SetMax(int v)
{
    FMax = v;
    if (FMin > FMax) FMin = FMax;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Changed();
}

void TProgressBar::SetPosition(int v)
{
    v = std::clamp(v, FMin, FMax);
    if (v == FPosition) return;
    FPosition = v;
    Changed();
}

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(false); }

void TStatusBar::SetSimplePanel(bool v)
{
    if (v == FSimplePanel) return;
    FSimplePanel = v;
    Changed();
}

void TStatusBar::SetSimpleText(const std::string& s)
{
    if (s == FSimpleText) return;
    FSimpleText = s;
    Changed();
}

void TStatusBar::AddPanel(int width, const std::string& text)
{
    FPanels.push_back({width, text});
    Changed();
}
