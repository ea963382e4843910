// The Qt back end of the form library: real windows for ui/ forms, real message boxes, file
// dialogs, modal loops, timers, sleep and a cross-thread post.
//
// Rules kept here:
// - The ui/ controls hold all state; a Qt widget only mirrors its control (position, size, text,
//   enabled, visible, items, selection, focus, pictures) and turns a person's input into the same
//   ui calls the tests make (UserTypes, KeyDown, UserScrollsTo, UserSelects, UserClicks, ...).
//   Every key press in one of our windows goes through the ui key routing: widgets never edit
//   themselves, and menu shortcuts are the ui menu's, not Qt's.
// - A form's window is built when the form is first shown (or by ShowForm) and follows the form
//   from then on; controls added later get widgets at once.
// - Sleep really sleeps and runs no events; Post and wake sources wake the event loop from any
//   thread.
#pragma once

#include "ui/UI.h"

#include <QImage>
#include <QPointer>
#include <memory>
#include <string>
#include <unordered_map>

class QApplication;
class QAction;
class QObject;
class QSocketNotifier;
class QTimer;
class QWidget;
class QtView;
class QtEventFilter;

class QtBackend : public TAppBackend {
public:
    // Creates the QApplication (unless one exists) and installs itself as the application's
    // back end; the destructor puts the previous one back.
    QtBackend(int& argc, char** argv);
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // Runs the message loop until the main form closes (Application->Run() calls it).
    int Exec();
    // Builds the window of a form and the widgets of all its controls (done on Show anyway).
    void ShowForm(TForm* form);
    // The widget mirroring a control, the window of a form, the action of a menu item.
    QWidget* WidgetFor(const TComponent* c) const;
    QWidget* WindowFor(const TForm* form) const;
    QAction* ActionFor(const TMenuItem* item) const;
    // The control a widget (or a widget inside it) stands for.
    TControl* ControlFor(const QWidget* w) const;
    // The form's window as it is drawn now.
    QImage Grab(const TForm* form) const;
    bool GrabPng(const TForm* form, const std::string& path) const;

    // ---- TAppBackend ----
    int MessageBox(const TMessageBoxRequest& request) override;
    std::optional<std::string> FileDialog(TFileDialogRequest& request) override;
    void RunModal(TForm* form) override;
    void Sleep(unsigned ms) override;
    uint64_t NowMs() override;
    void TimerChanged(TTimer* timer) override;
    void WakeUp() override;
    void FormShown(TForm* form) override;
    void FormHidden(TForm* form) override;
    void Run() override;
    void Terminate() override;
    void EndLoops() override;
    void ProcessMessages() override;
    void AdvanceMs(uint64_t ms) override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& s) override;

private:
    friend class QtView;
    friend class QtEventFilter;
    void Register(const TComponent* c, QtView* v);
    void Unregister(const TComponent* c);
    QtView* ViewFor(const TComponent* c) const;
    QtView* ViewOfWidget(const QWidget* w) const;
    QtView* BuildViews(TComponent* c, QWidget* parentContainer);
    // A box or modal window coming up while a mouse button holds a control down ends that hold,
    // as the system the program comes from does: the control is told the button went up away
    // from it (no click, no step), so no auto-repeat goes on behind the box.
    void EndMouseHold();
    // Our window lost the activation (to another program, a box, the window manager) or was
    // minimized; the application lost it or got it back. The ui's form loses it soon after.
    void WindowDeactivated(QWidget* window);
    void ApplicationActivationChanged(bool active);

    std::unique_ptr<QApplication> FOwnedApp;
    TAppBackend* FPrevious = nullptr;
    std::unique_ptr<QObject> FWaker;
    int FWakeFd = -1;
    std::unique_ptr<QSocketNotifier> FWakeNotifier;
    std::unique_ptr<QtEventFilter> FFilter;
    std::unordered_map<const TComponent*, QtView*> FViews;
    std::unordered_map<const QWidget*, const TComponent*> FWidgetOwner;
    std::unordered_map<TTimer*, QTimer*> FTimers;
    uint64_t FStart = 0;
    // The widget of our windows a mouse button holds down, and the button.
    QPointer<QWidget> FHeld;
    Qt::MouseButton FHeldButton = Qt::NoButton;
    bool FEndingHold = false;
    bool FApplicationActive = true;
    friend QtView* MakeView(QtBackend&, TComponent*, QWidget*);
};
