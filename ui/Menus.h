// Main menu and menu items.
//
// Rules kept here:
// - A caption's "&" marks the access key; "&&" shows one ampersand; "-" makes a separator.
// - Click() runs OnClick only while the item is enabled (by code too); AutoCheck toggles Checked
//   first.
// - A form's key press is first offered to its main menu: the item whose ShortCut matches runs
//   when it and all its parent items are enabled and visible; then the key is used up, so a menu
//   shortcut wins over the focused edit box. A hidden or disabled item's shortcut does nothing
//   and the key goes on to the focused control.
#pragma once

#include "ui/Classes.h"

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& s);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut sc);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool IsLine() const { return FCaption == "-"; }

    bool AutoCheck = false;
    bool RadioItem = false;
    int GroupIndex = 0;
    std::string Hint;
    TNotifyEvent OnClick;

    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int i) const { return FItems.at(size_t(i)); }
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;

    // The item runs as when chosen (only while enabled).
    virtual void Click();
    // Enabled and visible, and so are all parent items.
    bool Available() const;
    // The available item below this one with that shortcut, or nullptr.
    TMenuItem* FindShortCut(TShortCut sc);

private:
    std::string FCaption;
    TShortCut FShortCut = scNone;
    bool FEnabled = true, FVisible = true, FChecked = false;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
};

class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    // The invisible root whose children are the menu bar's titles.
    TMenuItem* Items() const { return FItems; }
    // Runs the item with that shortcut; true when one ran (the key is then used up).
    bool IsShortCut(uint16_t Key, TShiftState Shift);

private:
    TMenuItem* FItems;
};

// A new menu item with caption, shortcut and handler, added to parent when given.
TMenuItem* NewItem(TMenuItem* parent, const std::string& name, const std::string& caption, TShortCut sc = scNone,
                   TNotifyEvent onClick = {});
