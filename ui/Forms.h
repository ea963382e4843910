// Forms (top-level windows) and the scroll box.
//
// Rules kept here:
// - A form starts hidden. Show() / SetVisible(true) runs OnShow, then it is shown, then the active
//   sheets on it start showing (their OnShow). Hide() runs OnHide.
// - Close(): a modal form only sets ModalResult to mrCancel. Otherwise OnCloseQuery may keep it
//   open; OnClose gets caHide (the main form: caFree) and may change it; caNone keeps it open;
//   any other action hides it, and closing the application's main form ends the program
//   (Application->Terminate()).
// - ShowModal(): shows the form, blocks input to every other form, runs the back end's modal
//   loop until ModalResult is not mrNone and OnCloseQuery allows closing, then runs OnClose,
//   hides the form and returns the result. Setting ModalResult to mrNone keeps it open. While
//   the session ends (Application->EndSession()) it shows nothing and returns mrCancel.
// - One form at a time is active (Application->ActiveForm()); a person's input to a form makes it
//   the active one. Activate() runs OnDeactivate of the old one, then OnActivate. The active form
//   that hides, or loses the activation to a window that is none of the program's forms or to
//   the window manager (Deactivate(), Application->Deactivate()), runs OnDeactivate, and no form
//   is active until one is activated again.
// - Keys (UserPressesKey): the main menu's shortcuts first, then OnKeyDown of the form when
//   KeyPreview is set, then the focused control (see Controls.h). OnKeyUp and OnKeyPress likewise.
// - Tab and Shift+Tab move the focus through the controls with TabStop in tab order, skipping
//   those that cannot take it.
// - The form's Canvas draws on a bitmap of the client size that its view shows under the child
//   controls; Repaint() fills it with Color and runs OnPaint.
// - OnCreate runs when the derived constructor calls DoCreate() at its end.
// - TScrollBox: its children keep their Left and Top in the box's content; the scroll bars'
//   positions say which part of the content shows. A bar's range is the extent of the visible
//   children (right or bottom edge) plus its Margin; its position stays within 0 .. range minus
//   the box's client extent (0 when everything fits), set by code or by a person's drag, and is
//   read clamped after the children change. Nothing fires on a change of position.
#pragma once

#include "ui/Controls.h"
#include "ui/Graphics.h"

#include <algorithm>

class TMainMenu;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TFormStyle { fsNormal, fsStayOnTop };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // Runs OnCreate; call it at the end of the derived constructor.
    void DoCreate();

    int ClientWidth() const override { return Width(); }
    int ClientHeight() const override { return Height(); }
    void SetClientSize(int w, int h) { SetBounds(Left(), Top(), w, h); }

    TFormBorderStyle BorderStyle = bsSizeable;
    uint8_t BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition Position = poDesigned;
    TFormStyle FormStyle = fsNormal;
    bool KeyPreview = false;

    void SetVisible(bool v) override;
    void Close();
    TModalResult ShowModal();
    bool Modal() const { return FModal; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult r) { FModalResult = r; }

    TWinControl* ActiveControl() const { return FActiveControl; }
    // Focuses c (as SetFocus); nullptr takes the focus away without OnExit.
    void SetActiveControl(TWinControl* c);
    // The next control with TabStop after cur (or before it), wrapping; nullptr when none.
    TWinControl* FindNextControl(TWinControl* cur, bool GoForward) const;
    void SelectNext(TWinControl* cur, bool GoForward);

    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* m);

    TCanvas& Canvas() { return FCanvasBitmap.Canvas; }
    const TBitmap& CanvasBitmap() const { return FCanvasBitmap; }
    void Repaint();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TNotifyEvent OnResize;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TMouseWheelUpDownEvent OnMouseWheelDown;

    // Runs OnCloseQuery; true when the form may close.
    bool CloseQuery();
    // For modal loops: when ModalResult is set, asks OnCloseQuery and runs OnClose; true when the
    // window may end (otherwise ModalResult is back at mrNone).
    bool TryEndModal();
    // Becomes the active form (OnDeactivate of the old one, then OnActivate).
    void Activate();
    // Loses the activation to a window that is none of the program's forms (another program's, a
    // message box) or to the window manager (minimized): when it is the active form, no form is
    // active from then on and its OnDeactivate runs.
    void Deactivate();
    bool Active() const;

    // ---- a person's input ----
    bool UserPressesKey(uint16_t Key, TShiftState Shift = {});
    bool UserReleasesKey(uint16_t Key, TShiftState Shift = {});
    // Types one character into the focused control (OnKeyPress of the form first with
    // KeyPreview); the key-down of the character is UserPressesKey's business.
    bool UserTypesChar(char c);
    // The mouse wheel over the form; Delta > 0 away from the person (up), 120 per notch.
    bool UserWheels(int Delta, TPoint MousePos = {}, TShiftState Shift = {});
    // The window's close button.
    bool UserCloses();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TWinControl;
    friend class TControl;
    friend class TApplication;
    friend class TEdit; // types through the form's key routing
    // Key routing shared by UserPressesKey and TWinControl::KeyDown.
    bool RouteKeyDown(uint16_t Key, TShiftState Shift);
    bool RouteKeyUp(uint16_t Key, TShiftState Shift);
    bool RouteKeyPress(char& Key);
    void MoveFocus(TWinControl* c);
    void ControlGoing(TControl* c); // hidden, disabled or destroyed
    TWinControl* FActiveControl = nullptr;
    TWinControl* FExiting = nullptr;
    TMainMenu* FMenu = nullptr;
    TBitmap FCanvasBitmap;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
};

class TScrollBox;

class TControlScrollBar {
public:
    TControlScrollBar(TScrollBox& box, bool vertical) : FBox(box), FVertical(vertical) {}
    TControlScrollBar(const TControlScrollBar&) = delete;
    TControlScrollBar& operator=(const TControlScrollBar&) = delete;

    int Position() const;
    void SetPosition(int v);
    int Range() const;
    // The largest position: the range less the box's client extent, at least 0.
    int MaxPosition() const;

    bool Visible = true;
    bool Smooth = false;
    bool Tracking = false;
    int Margin = 0;

private:
    TScrollBox& FBox;
    bool FVertical;
    int FPosition = 0;
};

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);

    // bsSingle: a sunken border of 2 pixels inside the bounds; bsNone: none.
    TFormBorderStyle BorderStyle = bsSingle;
    TControlScrollBar HorzScrollBar{*this, false};
    TControlScrollBar VertScrollBar{*this, true};

    int ClientWidth() const override { return std::max(0, Width() - 2 * BorderWidth()); }
    int ClientHeight() const override { return std::max(0, Height() - 2 * BorderWidth()); }
    int BorderWidth() const { return BorderStyle == bsNone ? 0 : 2; }

    // A person drags the vertical (or horizontal) scroll bar to `pos`.
    bool UserScrollsTo(int pos, bool vertical = true);
};
