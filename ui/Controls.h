// Controls: position, size, text, enabled, visible, parent, focus and the person's input.
//
// Rules kept here:
// - Properties with a visible effect are read with X() and written with SetX(v); writing an equal
//   value does nothing. Plain data with no rule (Name, Tag, Hint, Font, event members) are fields.
// - A parent (TWinControl) destroys its child controls when it is destroyed; a control leaves its
//   parent when destroyed alone. Ownership (who deletes) is TComponent's Owner as usual.
// - Focus: SetFocus moves the focus inside the control's form and runs the old control's OnExit
//   first, then the new one's OnEnter. Asking a control that is hidden or disabled, itself or
//   through a parent below the form, does nothing (no error). Hiding or disabling the focused
//   control (or a parent of it) drops the focus silently, as the Windows library does.
//   Focused() is true for the control its form has as ActiveControl.
// - Disabling a container disables its children for input (EnabledForInput) without changing
//   their own Enabled.
// - Input entry points (UserClicks, UserMouseDown, KeyDown, UserFocuses, ... and those of each
//   control class) stand for a person's action. They act only when the control is Showing (it and
//   every parent visible, the form shown) and enabled for input (it and every parent enabled, the
//   form too, no other form shown modally), and return whether they acted. They are also the
//   message boundary: an exception out of a handler they run is given to
//   Application->HandleException and goes no further, as an exception out of a window message.
// - Key routing of a person's key press (TForm::UserPressesKey, TWinControl::KeyDown): a menu
//   shortcut of the form wins first; then the form's OnKeyDown when KeyPreview is set; then the
//   focused control's OnKeyDown (the key by reference: setting it to 0 stops it); then the
//   control's own key work (edit keys, arrows on lists and scroll bars, Tab moves the focus, Enter
//   clicks the default button, Escape the cancel button).
#pragma once

#include "ui/Classes.h"
#include "ui/Graphics.h"

#include <string>
#include <vector>

class TWinControl;
class TForm;

enum TCursor : int16_t {
    crDefault = 0,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crHandPoint = -21,
    crHourGlass = -11
};
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// A window's border; boxes and scroll boxes take bsSingle or bsNone.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return TRect{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }

    // Caption and Text are one text, as in the Windows library (labels say Caption, edits Text).
    const std::string& Caption() const { return FText; }
    const std::string& Text() const { return FText; }
    void SetCaption(const std::string& s) { SetText(s); }
    virtual void SetText(const std::string& s);

    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // Visible itself and every parent up to and including the form, and the form is shown.
    bool Showing() const;
    // Enabled itself and every parent, the form included, and not blocked by a modal form.
    bool EnabledForInput() const;
    // The form this control stands on (itself for a form), or nullptr.
    TForm* ParentForm() const;

    std::string Hint;
    bool ShowHint = false;
    TFont Font;
    TColor Color = clBtnFace;
    TCursor Cursor = crDefault;
    TAlignment Alignment = taLeftJustify;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Runs the click work as a click by code would (OnClick; subclasses add theirs).
    virtual void Click();
    // Asks the view to draw again (after a change of Font or Color, say).
    void Invalidate() const { Changed(); }

    // ---- a person's input ----
    // A click on the control (for win controls the focus moves to it first, if it can take it).
    virtual bool UserClicks();
    bool UserDoubleClicks();
    bool UserMouseDown(int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});
    bool UserMouseMove(int X, int Y, TShiftState Shift = {});
    bool UserMouseUp(int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});

    // True when a person can act on the control now (Showing and EnabledForInput).
    bool AcceptsInput() const;

protected:
    // Runs work as one message: exceptions go to the application's exception display.
    bool Dispatch(const std::function<void()>& work) const;
    // Called when the visible-and-shown state of this control may have changed.
    virtual void ShowingChanged() {}
    // Called after a change of Enabled of this control or a parent.
    virtual void EnabledChanged() {}
    friend class TWinControl;
    friend class TForm;

private:
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    std::string FText;
    bool FEnabled = true;
    bool FVisible = true;
};

// A control that cannot take the focus (labels, speed buttons, images, bevels).
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

// A control that can hold child controls and take the keyboard focus.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int i) const { return FControls.at(size_t(i)); }
    // True when c is this control or lies anywhere below it.
    bool ContainsControl(const TControl* c) const;

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v) { FTabStop = v; }
    // Place among the parent's win controls for Tab; new controls go last.
    int TabOrder() const;
    void SetTabOrder(int v);

    bool Focused() const;
    // Visible and Enabled itself and every parent below the form (the form's own state is not
    // asked, as in the Windows library).
    bool CanFocus() const;
    void SetFocus();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // ---- a person's input ----
    // Clicks or tabs into the control: it takes the focus (OnExit of the old one first).
    bool UserFocuses();
    // A person presses (and releases) a key while this control has the focus; the control takes
    // the focus first if it can. See the key routing above.
    bool KeyDown(uint16_t Key, TShiftState Shift = {});
    bool KeyUp(uint16_t Key, TShiftState Shift = {});

    bool UserClicks() override;

protected:
    // The control's own work for a key its OnKeyDown left non-zero; true when it used the key.
    virtual bool DefaultKeyDown(uint16_t Key, TShiftState Shift);
    // The control's own work for a typed character its OnKeyPress left non-zero.
    virtual void DefaultKeyPress(char Key);
    // Focus arrives (after OnEnter) or leaves (before OnExit).
    virtual void DoEnter();
    virtual void DoExit();
    void ShowingChanged() override;
    void EnabledChanged() override;
    friend class TControl;
    friend class TForm;

private:
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = true;
};

// A plain container with a bevelled border and an optional caption.
class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(false); }
};
