// Basic types of the form library: objects, components and ownership, events, colours, keys,
// shift states, shortcuts, modal results and the library's exception class.
//
// Rules kept here:
// - An owner owns its components: deleting the owner deletes them (last created first). A
//   component deleted on its own leaves its owner's list at once.
// - Components that point at another component (an up-down's associate, a form's focused
//   control) register with FreeNotification and are told through Notification when it goes.
// - Events are plain std::function members, run synchronously; an empty one does nothing.
// - Exception is the library's exception class: its Message is what the last-resort display
//   shows; any other exception is shown with its own text (ExceptionText).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

// ---- colours (0x00BBGGRR, as the Windows library stores them) --------------------------------
using TColor = uint32_t;

constexpr TColor RGB(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned GetRValue(TColor c) { return c & 0xFFu; }
constexpr unsigned GetGValue(TColor c) { return (c >> 8) & 0xFFu; }
constexpr unsigned GetBValue(TColor c) { return (c >> 16) & 0xFFu; }

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clOlive = RGB(128, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clPurple = RGB(128, 0, 128);
constexpr TColor clTeal = RGB(0, 128, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);
// The system colours are fixed here: pixels must be the same on every machine.
constexpr TColor clBtnFace = RGB(240, 240, 240);
constexpr TColor clBtnShadow = RGB(160, 160, 160);
constexpr TColor clBtnHighlight = RGB(255, 255, 255);
constexpr TColor clWindow = RGB(255, 255, 255);
constexpr TColor clWindowText = RGB(0, 0, 0);
constexpr TColor clHighlight = RGB(0, 120, 215);
constexpr TColor clHighlightText = RGB(255, 255, 255);
constexpr TColor clGrayText = RGB(109, 109, 109);
constexpr TColor clInfoBk = RGB(255, 255, 225);
constexpr TColor clNone = 0x1FFFFFFFu;

// ---- keys -----------------------------------------------------------------------------------
// Virtual key codes as the Windows library numbers them; letters and digits are their upper-case
// ASCII codes ('A', '7').
constexpr uint16_t VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04;
constexpr uint16_t VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13;
constexpr uint16_t VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20;
constexpr uint16_t VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24;
constexpr uint16_t VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;
constexpr uint16_t VK_INSERT = 0x2D, VK_DELETE = 0x2E;
constexpr uint16_t VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E,
                   VK_DIVIDE = 0x6F;
constexpr uint16_t VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76,
                   VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B;
constexpr uint16_t VK_OEM_1 = 0xBA /* ; */, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
                   VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF /* / */, VK_OEM_3 = 0xC0 /* ` */, VK_OEM_4 = 0xDB /* [ */,
                   VK_OEM_5 = 0xDC /* \ */, VK_OEM_6 = 0xDD /* ] */, VK_OEM_7 = 0xDE /* ' */;

// The key (and whether Shift is needed) that types the character c on a US keyboard; 0 when no
// key types it.
struct TKeyForChar {
    uint16_t Key = 0;
    bool Shift = false;
};
TKeyForChar KeyForChar(char c);

// ---- shift state ----------------------------------------------------------------------------
enum TShiftStateElem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

class TShiftState {
public:
    TShiftState() = default;
    TShiftState(std::initializer_list<TShiftStateElem> elems)
    {
        for (auto e : elems) *this << e;
    }
    bool Contains(TShiftStateElem e) const { return (Bits & (1u << e)) != 0; }
    TShiftState& operator<<(TShiftStateElem e)
    {
        Bits |= uint16_t(1u << e);
        return *this;
    }
    TShiftState& operator>>(TShiftStateElem e)
    {
        Bits &= uint16_t(~(1u << e));
        return *this;
    }
    bool Empty() const { return Bits == 0; }
    bool operator==(const TShiftState&) const = default;

private:
    uint16_t Bits = 0;
};

// ---- shortcuts ------------------------------------------------------------------------------
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

// Key plus the Shift, Ctrl and Alt parts of the state (mouse buttons are ignored).
TShortCut ShortCut(uint16_t Key, TShiftState Shift);
// "Ctrl+M", "Alt+F4", "Shift+Ctrl+Z", "Del", "PgUp": the form the menus show.
std::string ShortCutToText(TShortCut Sc);
// The reverse of ShortCutToText; scNone for text it does not know.
TShortCut TextToShortCut(const std::string& Text);

// ---- modal results and message-box answers ---------------------------------------------------
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
                       mrAll = 8, mrClose = 11;

// Message-box buttons, icons and answers, numbered as on Windows.
constexpr int MB_OK = 0x00, MB_OKCANCEL = 0x01, MB_ABORTRETRYIGNORE = 0x02, MB_YESNOCANCEL = 0x03, MB_YESNO = 0x04,
              MB_RETRYCANCEL = 0x05;
constexpr int MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
              MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40;
constexpr int MB_TYPEMASK = 0x0F, MB_ICONMASK = 0xF0;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

// ---- geometry -------------------------------------------------------------------------------
struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool operator==(const TRect&) const = default;
};
inline TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }
inline TPoint Point(int x, int y) { return TPoint{x, y}; }

// ---- exceptions -----------------------------------------------------------------------------
class Exception : public std::exception {
public:
    explicit Exception(std::string Msg) : Message(std::move(Msg)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};
using EUiError = Exception;
class EInvalidOperation : public Exception {
    using Exception::Exception;
};
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
class EFOpenError : public Exception {
    using Exception::Exception;
};
class EReadError : public Exception {
    using Exception::Exception;
};

// What an exception says, for a person: its own text (an Exception's Message), a failed
// allocation's in words.
std::string ExceptionText(const std::exception& e);

// ---- objects and components -----------------------------------------------------------------
class TObject {
public:
    virtual ~TObject() = default;
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
};

// Mouse buttons, for the mouse events.
enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

enum TOperation { opInsert, opRemove };

// What a view of a component (ui/qt) is told. A view must not change the component's state from
// inside these calls.
class TComponentView {
public:
    virtual ~TComponentView() = default;
    virtual void Changed() = 0;                   // any property the view shows may differ
    virtual void ChildAdded(class TComponent*) {} // a control or menu item got a new child
    virtual void Destroyed() = 0;                 // the component is going; forget it
};

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    std::string Name;
    intptr_t Tag = 0;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return int(FComponents.size()); }
    // The owned component of that name (not searched deeper), or nullptr.
    TComponent* FindComponent(const std::string& AName) const;
    // Moves the component into another owner's list (nullptr: no owner).
    void SetOwner(TComponent* AOwner);

    // AComponent will call Notification(this-going, opRemove) on us when it is destroyed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // The view that mirrors this component in a window, if any (set by ui/qt).
    TComponentView* View = nullptr;
    // Tells the view that what it shows may have changed.
    void Changed() const
    {
        if (View) View->Changed();
    }

    bool Destroying() const { return FDestroying; }

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Runs first in the destructor chain of classes that need to act while still whole.
    void BeginDestroy();

private:
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FDestroying = false;
};

// ---- string lists ---------------------------------------------------------------------------
// The items of a list control: changes are reported to the owning control through OnChange.
class TStrings {
public:
    TStrings() = default;
    TStrings(const TStrings& o) : FItems(o.FItems) {}
    TStrings& operator=(const TStrings& o);
    TStrings& operator=(std::initializer_list<std::string> items);

    int Count() const { return int(FItems.size()); }
    const std::string& operator[](int i) const { return FItems.at(size_t(i)); }
    const std::string& Strings(int i) const { return FItems.at(size_t(i)); }
    void SetStrings(int i, const std::string& s);
    int Add(const std::string& s);
    void Insert(int i, const std::string& s);
    void Delete(int i);
    void Clear();
    void Assign(const TStrings& o) { *this = o; }
    void AddStrings(const std::vector<std::string>& items);
    int IndexOf(const std::string& s) const;
    // The lines joined with "\n"; setting it splits at line ends.
    std::string Text() const;
    void SetText(const std::string& text);
    const std::vector<std::string>& Items() const { return FItems; }

    // What changed, for the owner: an insert at Index, a delete at Index, a rewrite of Index,
    // or a wholesale replacement (Index -1).
    enum TChange { scInserted, scDeleted, scReplaced, scReset };
    std::function<void(TChange, int Index)> OnChange;

private:
    void Notify(TChange c, int i)
    {
        if (OnChange) OnChange(c, i);
    }
    std::vector<std::string> FItems;
};

// ---- small helpers --------------------------------------------------------------------------
std::string IntToStr(long long v);
// Characters (UTF-8 code points) of a text, and the byte offset of character i.
int Utf8Length(const std::string& s);
size_t Utf8Offset(const std::string& s, int charIndex);
// The caption without its accelerator marks: "E&xit" -> "Exit", "A&&B" -> "A&B".
std::string StripHotkey(const std::string& caption);
