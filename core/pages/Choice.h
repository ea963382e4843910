// A list or a radio group whose item is a word's value: the rows of both pages' choice tables.
// A table names its control; the page finds it among the window's components and binds the one
// change handler of its table to it.
#pragma once

#include "ui/UI.h"

#include <string>

class TChoice {
public:
    // The list or radio group of that name among `owner`'s components; std::logic_error when
    // there is none.
    TChoice(TComponent* owner, const std::string& name);

    TWinControl* Control() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    // A person's choice runs `handler` (the list's OnChange, the radio group's OnClick).
    void OnChoose(TNotifyEvent handler);

private:
    TComboBox* FList = nullptr;
    TRadioGroup* FButtons = nullptr;
};
