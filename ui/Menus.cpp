#include "ui/Menus.h"

#include <algorithm>

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    BeginDestroy();
    // An item frees its sub-items.
    while (!FItems.empty()) delete FItems.back();
    if (FParent) FParent->Remove(this);
}

void TMenuItem::SetCaption(const std::string& s)
{
    if (s == FCaption) return;
    FCaption = s;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut sc)
{
    if (sc == FShortCut) return;
    FShortCut = sc;
    Changed();
}

void TMenuItem::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    Changed();
}

void TMenuItem::SetVisible(bool v)
{
    if (v == FVisible) return;
    FVisible = v;
    Changed();
}

void TMenuItem::SetChecked(bool v)
{
    if (v == FChecked) return;
    FChecked = v;
    if (v && RadioItem && FParent)
        for (TMenuItem* sib : FParent->FItems)
            if (sib != this && sib->RadioItem && sib->GroupIndex == GroupIndex) sib->SetChecked(false);
    Changed();
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item || item == this) return;
    if (item->FParent) item->FParent->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    if (View) View->ChildAdded(item);
    Changed();
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
    if (!Destroying()) Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Click()
{
    if (!FEnabled) return;
    if (AutoCheck) SetChecked(!FChecked);
    if (OnClick) OnClick(this);
}

bool TMenuItem::Available() const
{
    for (const TMenuItem* m = this; m; m = m->FParent)
        if (!m->FEnabled || !m->FVisible) return false;
    return true;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut sc)
{
    if (sc == scNone) return nullptr;
    for (TMenuItem* m : FItems) {
        if (m->FShortCut == sc && m->Available()) return m;
        if (TMenuItem* found = m->FindShortCut(sc)) return found;
    }
    return nullptr;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {}

TMainMenu::~TMainMenu() { delete FItems; }

bool TMainMenu::IsShortCut(uint16_t Key, TShiftState Shift)
{
    TMenuItem* item = FItems->FindShortCut(ShortCut(Key, Shift));
    if (!item) return false;
    item->Click();
    return true;
}

TMenuItem* NewItem(TMenuItem* parent, const std::string& name, const std::string& caption, TShortCut sc,
                   TNotifyEvent onClick)
{
    TMenuItem* item = new TMenuItem(parent ? parent->Owner() : nullptr);
    item->Name = name;
    item->SetCaption(caption);
    item->SetShortCut(sc);
    item->OnClick = std::move(onClick);
    if (parent) parent->Add(item);
    return item;
}
