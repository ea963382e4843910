#include "ui/StdCtrls.h"

#include "ui/Application.h"
#include "ui/Forms.h"

#include <algorithm>

// ---- label, group box -----------------------------------------------------------------------

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) { Transparent = false; }

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(false); }

// ---- buttons --------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {}

void TButton::Click()
{
    if (ModalResult != mrNone)
        if (TForm* f = ParentForm()) f->SetModalResult(ModalResult);
    TWinControl::Click();
}

bool TButton::DefaultKeyDown(uint16_t Key, TShiftState Shift)
{
    if ((Key == VK_RETURN || Key == VK_SPACE) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
        Click();
        return true;
    }
    return false;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::SetGlyph(const TBitmap& b)
{
    FGlyph = b;
    Changed();
}

void TBitBtn::LoadGlyph(const std::string& path)
{
    TBitmap b;
    try {
        b.LoadFromFile(path);
    } catch (const Exception&) {
        // A button without its picture still works; its hint says what it does.
        b.SetSize(0, 0);
    }
    SetGlyph(b);
}

void TBitBtn::SetKind(TBitBtnKind k)
{
    struct Row {
        TBitBtnKind kind;
        const char* caption;
        TModalResult result;
    };
    static const Row rows[] = {
        {bkCustom, "", mrNone},          {bkOK, "OK", mrOk},          {bkCancel, "Cancel", mrCancel},
        {bkHelp, "&Help", mrNone},       {bkYes, "&Yes", mrYes},      {bkNo, "&No", mrNo},
        {bkClose, "&Close", mrNone},     {bkAbort, "Abort", mrAbort}, {bkRetry, "&Retry", mrRetry},
        {bkIgnore, "&Ignore", mrIgnore}, {bkAll, "&All", mrAll},
    };
    FKind = k;
    for (const Row& r : rows)
        if (r.kind == k) {
            if (Caption().empty()) SetCaption(r.caption);
            ModalResult = r.result;
        }
    if (k == bkOK || k == bkYes) Default = true;
    if (k == bkCancel || k == bkNo) Cancel = true;
    Changed();
}

// ---- speed button ---------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {}

void TSpeedButton::SetDown(bool v)
{
    if (GroupIndex == 0) v = false;
    if (v == FDown) return;
    if (FDown && !AllowAllUp) return;
    FDown = v;
    Changed();
    if (v && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            if (other && other != this && other->GroupIndex == GroupIndex && other->FDown) {
                other->FDown = false;
                other->Changed();
            }
        }
}

bool TSpeedButton::UserClicks()
{
    if (!AcceptsInput()) return false;
    Dispatch([this] {
        if (TForm* f = ParentForm()) f->Activate();
        if (GroupIndex != 0) {
            if (!FDown)
                SetDown(true);
            else if (AllowAllUp)
                SetDown(false);
        }
        Click();
    });
    return true;
}

// ---- check box ------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {}

void TCheckBox::SetChecked(bool v)
{
    if (v == FChecked) return;
    FChecked = v;
    Changed();
    Click();
}

bool TCheckBox::UserClicks()
{
    if (!AcceptsInput()) return false;
    Dispatch([this] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        if (AcceptsInput()) SetChecked(!FChecked);
    });
    return true;
}

bool TCheckBox::DefaultKeyDown(uint16_t Key, TShiftState)
{
    if (Key != VK_SPACE) return false;
    SetChecked(!FChecked);
    return true;
}

// ---- combo box ------------------------------------------------------------------------------

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    Items.OnChange = [this](TStrings::TChange c, int i) { ItemsChanged(c, i); };
}

void TComboBox::ItemsChanged(TStrings::TChange c, int i)
{
    switch (c) {
    case TStrings::scInserted:
        if (FItemIndex >= i) ++FItemIndex;
        break;
    case TStrings::scDeleted:
        if (FItemIndex == i)
            FItemIndex = -1;
        else if (FItemIndex > i)
            --FItemIndex;
        break;
    case TStrings::scReplaced: break;
    case TStrings::scReset: FItemIndex = -1; break;
    }
    SyncText();
    Changed();
}

void TComboBox::SyncText() { TControl::SetText(FItemIndex >= 0 ? Items[FItemIndex] : std::string()); }

void TComboBox::SetItemIndex(int i)
{
    if (i < 0 || i >= Items.Count()) i = -1;
    if (i == FItemIndex) return;
    FItemIndex = i;
    SyncText();
    Changed();
}

void TComboBox::SetText(const std::string& s) { SetItemIndex(Items.IndexOf(s)); }

bool TComboBox::UserSelects(int i)
{
    if (!AcceptsInput() || i < 0 || i >= Items.Count()) return false;
    Dispatch([this, i] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        if (!AcceptsInput() || i >= Items.Count()) return;
        SetItemIndex(i);
        if (OnChange) OnChange(this);
    });
    return true;
}

bool TComboBox::DefaultKeyDown(uint16_t Key, TShiftState Shift)
{
    if (Shift.Contains(ssAlt) || Shift.Contains(ssCtrl) || Items.Count() == 0) return false;
    int last = Items.Count() - 1, page = std::max(1, DropDownCount - 1);
    int to;
    switch (Key) {
    case VK_UP:
    case VK_LEFT: to = FItemIndex < 0 ? 0 : FItemIndex - 1; break;
    case VK_DOWN:
    case VK_RIGHT: to = FItemIndex + 1; break;
    case VK_PRIOR: to = FItemIndex - page; break;
    case VK_NEXT: to = FItemIndex + page; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = last; break;
    default: return false;
    }
    to = std::clamp(to, 0, last);
    if (to != FItemIndex) {
        SetItemIndex(to);
        if (OnChange) OnChange(this);
    }
    return true;
}

// ---- edit box -------------------------------------------------------------------------------

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) { Color = clWindow; }

void TEdit::SetText(const std::string& s)
{
    if (s == Text()) return;
    TControl::SetText(s);
    FSelStart = 0;
    FSelLength = 0;
    Changed();
    if (OnChange) OnChange(this);
}

void TEdit::SetReadOnly(bool v)
{
    if (v == FReadOnly) return;
    FReadOnly = v;
    Changed();
}

void TEdit::SetSelStart(int v)
{
    FSelStart = std::clamp(v, 0, TextLength());
    FSelLength = 0;
    Changed();
}

void TEdit::SetSelLength(int v)
{
    FSelLength = std::clamp(v, 0, TextLength() - FSelStart);
    Changed();
}

std::string TEdit::SelText() const
{
    size_t from = Utf8Offset(Text(), FSelStart), to = Utf8Offset(Text(), FSelStart + FSelLength);
    return Text().substr(from, to - from);
}

void TEdit::SelectAll()
{
    FSelStart = 0;
    FSelLength = TextLength();
    Changed();
}

void TEdit::SetTextAndSelection(const std::string& s, int selStart)
{
    TControl::SetText(s);
    FSelStart = std::clamp(selStart, 0, TextLength());
    FSelLength = 0;
    Changed();
    if (OnChange) OnChange(this);
}

bool TEdit::ReplaceSelection(const std::string& in, bool limited)
{
    if (FReadOnly) return false;
    std::string s = in;
    int insert = Utf8Length(s);
    if (limited && MaxLength > 0) {
        int room = MaxLength - (TextLength() - FSelLength);
        if (room <= 0 && insert > 0) return false;
        if (insert > room) {
            s = s.substr(0, Utf8Offset(s, room));
            insert = room;
        }
    }
    const std::string& t = Text();
    std::string next = t.substr(0, Utf8Offset(t, FSelStart)) + s + t.substr(Utf8Offset(t, FSelStart + FSelLength));
    SetTextAndSelection(next, FSelStart + insert);
    return true;
}

void TEdit::DoEnter()
{
    if (AutoSelect) SelectAll();
}

void TEdit::DefaultKeyPress(char Key)
{
    if (static_cast<unsigned char>(Key) >= 0x20 && Key != 0x7F) ReplaceSelection(std::string(1, Key), true);
}

bool TEdit::DefaultKeyDown(uint16_t Key, TShiftState Shift)
{
    bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
    int len = TextLength();
    int caretEnd = FSelStart + FSelLength;
    auto place = [&](int start, int length) {
        FSelStart = std::clamp(start, 0, len);
        FSelLength = std::clamp(length, 0, len - FSelStart);
        Changed();
    };
    switch (Key) {
    case VK_BACK:
    case VK_DELETE: {
        if (Key == VK_DELETE && shift) { // Shift+Delete cuts
            if (FSelLength > 0 && !FReadOnly) {
                Application->Backend().SetClipboardText(SelText());
                ReplaceSelection("", false);
            }
            return true;
        }
        if (FReadOnly) return true;
        if (FSelLength == 0) {
            if (Key == VK_BACK) {
                if (FSelStart == 0) return true;
                FSelStart -= 1;
            } else if (FSelStart >= len) {
                return true;
            }
            FSelLength = 1;
        }
        ReplaceSelection("", false);
        return true;
    }
    case VK_LEFT:
        if (shift)
            place(FSelStart - 1, FSelLength + (FSelStart > 0 ? 1 : 0));
        else
            place(FSelLength ? FSelStart : FSelStart - 1, 0);
        return true;
    case VK_RIGHT:
        if (shift)
            place(FSelStart, FSelLength + 1);
        else
            place(FSelLength ? caretEnd : FSelStart + 1, 0);
        return true;
    case VK_HOME:
        if (shift)
            place(0, caretEnd);
        else
            place(0, 0);
        return true;
    case VK_END:
        if (shift)
            place(FSelStart, len - FSelStart);
        else
            place(len, 0);
        return true;
    case VK_INSERT:
        if (ctrl && FSelLength > 0)
            Application->Backend().SetClipboardText(SelText());
        else if (shift)
            ReplaceSelection(Application->Backend().ClipboardText(), true);
        return ctrl || shift;
    default: break;
    }
    if (ctrl && !shift && !Shift.Contains(ssAlt)) {
        if (Key == 'C' || Key == 'X') {
            if (FSelLength > 0) Application->Backend().SetClipboardText(SelText());
            if (Key == 'X' && FSelLength > 0) ReplaceSelection("", false);
            return true;
        }
        if (Key == 'V') {
            std::string s = Application->Backend().ClipboardText();
            // A single-line box takes the first line only.
            s = s.substr(0, s.find_first_of("\r\n"));
            ReplaceSelection(s, true);
            return true;
        }
    }
    return false;
}

bool TEdit::UserTypes(const std::string& chars)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        for (size_t i = 0; i < chars.size();) {
            // Each key goes to whatever has the focus now, as a person's keys would.
            if (!f->AcceptsInput()) return;
            unsigned char lead = static_cast<unsigned char>(chars[i]);
            size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            std::string one = chars.substr(i, n);
            i += n;
            if (n > 1) {
                // Characters no key types go straight into the box.
                if (auto* e = dynamic_cast<TEdit*>(f->ActiveControl())) e->ReplaceSelection(one, true);
                continue;
            }
            TKeyForChar k = KeyForChar(one[0]);
            TShiftState shift;
            if (k.Shift) shift << ssShift;
            bool taken = k.Key && f->RouteKeyDown(k.Key, shift);
            if (!taken) {
                char c = one[0];
                f->RouteKeyPress(c);
            }
            if (k.Key) f->RouteKeyUp(k.Key, shift);
        }
    });
    return true;
}

bool TEdit::UserPastes(const std::string& s)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        ReplaceSelection(s.substr(0, s.find_first_of("\r\n")), true);
    });
    return true;
}

bool TEdit::UserSetsText(const std::string& s)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        SelectAll();
        ReplaceSelection(s.substr(0, s.find_first_of("\r\n")), true);
    });
    return true;
}

bool TEdit::UserSelects(int start, int length)
{
    if (!AcceptsInput()) return false;
    Dispatch([&] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        SetSelStart(start);
        SetSelLength(length);
    });
    return true;
}

// ---- scroll bar -----------------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {}

void TScrollBar::SetKind(TScrollBarKind k)
{
    if (k == FKind) return;
    FKind = k;
    Changed();
}

int TScrollBar::MaxPosition() const { return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax; }

void TScrollBar::SetPageSize(int v)
{
    v = std::max(0, v);
    if (v == FPageSize) return;
    FPageSize = v;
    SetParams(FPosition, FMin, FMax);
    Changed();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin) throw EInvalidOperation("Scrollbar property out of range");
    bool rangeChanged = AMin != FMin || AMax != FMax;
    FMin = AMin;
    FMax = AMax;
    int pos = std::clamp(APosition, FMin, MaxPosition());
    bool moved = pos != FPosition;
    FPosition = pos;
    if (rangeChanged || moved) Changed();
    if (moved && OnChange) OnChange(this);
}

bool TScrollBar::UserScrollsTo(int pos)
{
    if (!AcceptsInput()) return false;
    Dispatch([this, pos] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        if (AcceptsInput()) SetPosition(pos);
    });
    return true;
}

bool TScrollBar::UserSteps(TScrollCode code)
{
    if (!AcceptsInput()) return false;
    Dispatch([this, code] {
        TForm* f = ParentForm();
        f->Activate();
        SetFocus();
        if (!AcceptsInput()) return;
        switch (code) {
        case scLineUp: SetPosition(FPosition - SmallChange); break;
        case scLineDown: SetPosition(FPosition + SmallChange); break;
        case scPageUp: SetPosition(FPosition - LargeChange); break;
        case scPageDown: SetPosition(FPosition + LargeChange); break;
        case scTop: SetPosition(FMin); break;
        case scBottom: SetPosition(FMax); break;
        default: break;
        }
    });
    return true;
}

bool TScrollBar::DefaultKeyDown(uint16_t Key, TShiftState)
{
    switch (Key) {
    case VK_UP:
    case VK_LEFT: SetPosition(FPosition - SmallChange); return true;
    case VK_DOWN:
    case VK_RIGHT: SetPosition(FPosition + SmallChange); return true;
    case VK_PRIOR: SetPosition(FPosition - LargeChange); return true;
    case VK_NEXT: SetPosition(FPosition + LargeChange); return true;
    case VK_HOME: SetPosition(FMin); return true;
    case VK_END: SetPosition(FMax); return true;
    default: return false;
    }
}
