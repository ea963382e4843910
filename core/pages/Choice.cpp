#include "core/pages/Choice.h"

#include <stdexcept>

TChoice::TChoice(TComponent* owner, const std::string& name)
{
    TComponent* c = owner->FindComponent(name);
    FList = dynamic_cast<TComboBox*>(c);
    FButtons = dynamic_cast<TRadioGroup*>(c);
    if (!FList && !FButtons) throw std::logic_error("no list or radio group " + name);
}

TWinControl* TChoice::Control() const
{
    if (FList) return FList;
    return FButtons;
}

int TChoice::ItemIndex() const { return FList ? FList->ItemIndex() : FButtons->ItemIndex(); }

void TChoice::SetItemIndex(int index)
{
    if (FList)
        FList->SetItemIndex(index);
    else
        FButtons->SetItemIndex(index);
}

void TChoice::OnChoose(TNotifyEvent handler)
{
    if (FList)
        FList->OnChange = std::move(handler);
    else
        FButtons->OnClick = std::move(handler);
}
