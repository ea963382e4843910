// Common controls: page control with tab sheets, tab control, up-down, progress bar, status bar.
//
// Rules kept here:
// - TPageControl / TTabControl: OnChanging (which may refuse) and OnChange run only for a
//   person's change (UserSelects, SelectNextPage, Ctrl+Tab); ActivePage / TabIndex set by code
//   fire neither. Only the active sheet is Visible. When the focused control lies on the sheet
//   being left, the focus moves to the page control first (its OnExit runs).
// - TTabSheet.OnShow runs when the sheet starts showing: it becomes the active page (by code or
//   by a person) while its page control is showing, or its form is shown with it active; OnHide
//   when it stops. Nested sheets follow their parents.
// - TUpDown: Position (clamped into Min..Max) writes the associated edit box's Text ("%i"). A
//   person's click (UserClicks(btNext / btPrev)) runs OnChanging first (which may refuse), then
//   steps Position by Increment (stopping at Min and Max) and runs OnClick.
#pragma once

#include "ui/Controls.h"

class TPageControl;
class TEdit;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    void SetPageControl(TPageControl* pc);
    int PageIndex() const;
    bool TabVisible() const { return FTabVisible; }

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void ShowingChanged() override;

private:
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    bool FWasShowing = false;
    friend class TPageControl;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int i) const { return FPages.at(size_t(i)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int i);

    // Moves to the next (or previous) sheet with a visible tab, wrapping, as a person would.
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    // A person clicks the tab of sheet i.
    bool UserSelects(int i);

protected:
    bool DefaultKeyDown(uint16_t Key, TShiftState Shift) override;

private:
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void ChangeActivePage(TTabSheet* page);
    bool PersonChanges(TTabSheet* page);
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    friend class TTabSheet;
};

class TTabControl : public TWinControl {
public:
    explicit TTabControl(TComponent* AOwner);
    TStrings Tabs;

    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int i); // -1 .. Tabs.Count()-1; others ignored

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    bool UserSelects(int i);
    void SelectNextPage(bool GoForward);

protected:
    bool DefaultKeyDown(uint16_t Key, TShiftState Shift) override;

private:
    bool PersonChanges(int i);
    int FTabIndex = -1;
};

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* AOwner);
    ~TUpDown() override;

    TEdit* Associate() const { return FAssociate; }
    // Binds the edit box: the up-down takes its place at its right edge and writes Position into it.
    void SetAssociate(TEdit* e);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);
    int Increment = 1;
    TUDOrientation Orientation = udVertical;

    TUDChangingEvent OnChanging;
    TUDClickEvent OnClick;

    bool UserClicks(TUDBtnType button);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void WriteAssociate();
    TEdit* FAssociate = nullptr;
    int FMin = 0, FMax = 100, FPosition = 0;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v); // clamped into Min..Max
    int Step = 10;
    void StepIt() { SetPosition(FPosition + Step); }

private:
    int FMin = 0, FMax = 100, FPosition = 0;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* AOwner);

    // One simple panel showing SimpleText, or several panels.
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool v);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& s);

    int PanelCount() const { return int(FPanels.size()); }
    void AddPanel(int width, const std::string& text = {});
    const std::string& PanelText(int i) const { return FPanels.at(size_t(i)).Text; }
    int PanelWidth(int i) const { return FPanels.at(size_t(i)).Width; }

private:
    struct TPanelData {
        int Width;
        std::string Text;
    };
    bool FSimplePanel = true;
    std::string FSimpleText;
    std::vector<TPanelData> FPanels;
};
