// Standard controls: label, group box, buttons, check box, drop-down list, edit box, scroll bar.
//
// Rules kept here (on top of Controls.h):
// - TScrollBar: Position is clamped into Min..Max (Max - PageSize + 1 when PageSize > 0); OnChange
//   runs when Position really changes, by code too, also when a new Min or Max clamps it; an
//   equal Position fires nothing. Min above Max raises EInvalidOperation. Vertical bars have Min
//   at the top. A person's drag (UserScrollsTo) or step (UserSteps, or arrow and page keys on the
//   focused bar) goes through the same clamping and fires OnChange the same way.
// - TEdit: SetText runs OnChange when the text differs and puts the caret at 0; an equal text
//   fires nothing. MaxLength (0 = none) limits typing and pasting only, never text set by code.
//   SelStart and SelLength are clamped to the text; setting SelStart empties the selection.
//   ReadOnly stops typing, pasting, Backspace and Delete. UserTypes types each character at the
//   caret, replacing the selection: each accepted character is one change of the text with its
//   own OnChange, and its key first goes through the key routing (OnKeyDown, OnKeyPress). Taking
//   the focus selects the whole text when AutoSelect is set (clicks placed with UserSelects
//   afterwards move the caret).
// - TComboBox (drop-down list): ItemIndex set by code fires nothing; an index outside the items
//   gives -1. A person's pick (UserSelects) fires OnChange even for the item already shown;
//   arrow keys on the focused list fire it when the item changes. Text is the shown item's text.
// - TCheckBox: OnClick when Checked changes, by code or by a person's click (which toggles).
// - TSpeedButton: Down set by code fires nothing (a button of GroupIndex 0 is never down; a down
//   button without AllowAllUp cannot be set up by code). A person's click toggles Down (in its
//   group, with AllowAllUp) and then runs OnClick; a button going down raises the other buttons
//   of its GroupIndex under the same parent.
// - TButton: Click sets the form's ModalResult to the button's ModalResult (when not mrNone), then
//   runs OnClick. Enter clicks a form's Default button, Escape its Cancel button.
#pragma once

#include "ui/Controls.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    bool AutoSize = true;
    bool Transparent = false;
    bool WordWrap = false;
    TTextLayout Layout = tlTop;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* AOwner);
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default = false;
    bool Cancel = false;
    TModalResult ModalResult = mrNone;
    void Click() override;

protected:
    bool DefaultKeyDown(uint16_t Key, TShiftState Shift) override; // Enter and Space click
};

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    TBitBtnKind Kind() const { return FKind; }
    // Sets the caption (when empty), ModalResult, Default/Cancel as the kind implies.
    void SetKind(TBitBtnKind k);

    // The picture beside the caption; its bottom-left pixel's colour is transparent.
    const TBitmap& Glyph() const { return FGlyph; }
    void SetGlyph(const TBitmap& b);
    // Loads the glyph from a BMP file; a file that cannot be read leaves the button without one.
    void LoadGlyph(const std::string& path);

private:
    TBitBtnKind FKind = bkCustom;
    TBitmap FGlyph;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool UserClicks() override; // toggles Checked

protected:
    bool DefaultKeyDown(uint16_t Key, TShiftState Shift) override; // Space toggles

private:
    bool FChecked = false;
};

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    bool Flat = false;
    int GroupIndex = 0;
    bool AllowAllUp = false;

    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool UserClicks() override;

private:
    bool FDown = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    TStrings Items;
    int DropDownCount = 8;
    TComboBoxStyle Style = csDropDownList;
    TNotifyEvent OnChange;

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int i);
    // Selects the item with that text (none when absent); fires nothing.
    void SetText(const std::string& s) override;

    // A person picks item i from the opened list (also the item already shown).
    bool UserSelects(int i);

protected:
    bool DefaultKeyDown(uint16_t Key, TShiftState Shift) override;

private:
    void ItemsChanged(TStrings::TChange c, int i);
    void SyncText();
    int FItemIndex = -1;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);
    int MaxLength = 0;
    bool AutoSelect = true;
    TFormBorderStyle BorderStyle = bsSingle; // bsNone: the text stands on the box's colour alone
    TNotifyEvent OnChange;

    void SetText(const std::string& s) override;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);

    // Positions count characters (code points), not bytes.
    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    void SetSelStart(int v);
    void SetSelLength(int v);
    std::string SelText() const;
    void SelectAll();
    int TextLength() const { return Utf8Length(Text()); }

    // ---- a person's input (each takes the focus first) ----
    bool UserTypes(const std::string& chars);
    // Pastes at the caret, replacing the selection; cut to what MaxLength leaves room for.
    bool UserPastes(const std::string& s);
    // Selects everything and pastes s: one change of the text.
    bool UserSetsText(const std::string& s);
    // Places the caret / selection with the mouse.
    bool UserSelects(int start, int length = 0);

protected:
    bool DefaultKeyDown(uint16_t Key, TShiftState Shift) override;
    void DefaultKeyPress(char Key) override;
    void DoEnter() override;

private:
    // Replaces the selection by s as a person's edit; false when nothing could change.
    bool ReplaceSelection(const std::string& s, bool limited);
    void SetTextAndSelection(const std::string& s, int selStart);
    bool FReadOnly = false;
    int FSelStart = 0;
    int FSelLength = 0;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    int SmallChange = 1;
    int LargeChange = 1;
    TNotifyEvent OnChange;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind k);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    int PageSize() const { return FPageSize; }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    void SetPageSize(int v);
    // Sets all three at once; one OnChange at most.
    void SetParams(int APosition, int AMin, int AMax);
    // The highest position the thumb can reach.
    int MaxPosition() const;

    // ---- a person's input ----
    bool UserScrollsTo(int pos);
    bool UserSteps(TScrollCode code); // line/page up (left) or down (right), top, bottom

protected:
    bool DefaultKeyDown(uint16_t Key, TShiftState Shift) override;

private:
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
};
