#include "ui/Classes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

// ---- exceptions -----------------------------------------------------------------------------

std::string ExceptionText(const std::exception& e)
{
    // Its own text names only its type.
    if (dynamic_cast<const std::bad_alloc*>(&e)) return std::string("Not enough memory (") + e.what() + ").";
    return e.what();
}

// ---- keys and shortcuts ---------------------------------------------------------------------

TKeyForChar KeyForChar(char c)
{
    if (c >= 'a' && c <= 'z') return {uint16_t(c - 'a' + 'A'), false};
    if (c >= 'A' && c <= 'Z') return {uint16_t(c), true};
    if (c >= '0' && c <= '9') return {uint16_t(c), false};
    struct Row {
        char plain, shifted;
        uint16_t key;
    };
    static const Row rows[] = {
        {' ', 0, VK_SPACE},
        {';', ':', VK_OEM_1},
        {'=', '+', VK_OEM_PLUS},
        {',', '<', VK_OEM_COMMA},
        {'-', '_', VK_OEM_MINUS},
        {'.', '>', VK_OEM_PERIOD},
        {'/', '?', VK_OEM_2},
        {'`', '~', VK_OEM_3},
        {'[', '{', VK_OEM_4},
        {'\\', '|', VK_OEM_5},
        {']', '}', VK_OEM_6},
        {'\'', '"', VK_OEM_7},
        {0, ')', '0'},
        {0, '!', '1'},
        {0, '@', '2'},
        {0, '#', '3'},
        {0, '$', '4'},
        {0, '%', '5'},
        {0, '^', '6'},
        {0, '&', '7'},
        {0, '*', '8'},
        {0, '(', '9'},
    };
    for (const Row& r : rows) {
        if (r.plain && c == r.plain) return {r.key, false};
        if (r.shifted && c == r.shifted) return {r.key, true};
    }
    return {};
}

TShortCut ShortCut(uint16_t Key, TShiftState Shift)
{
    TShortCut sc = TShortCut(Key & 0x1FFF);
    if (Shift.Contains(ssShift)) sc |= scShift;
    if (Shift.Contains(ssCtrl)) sc |= scCtrl;
    if (Shift.Contains(ssAlt)) sc |= scAlt;
    return sc;
}

namespace {
struct KeyName {
    uint16_t key;
    const char* name;
};
const KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

std::string KeyText(uint16_t key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
    for (const KeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}
} // namespace

std::string ShortCutToText(TShortCut sc)
{
    std::string key = KeyText(sc & 0x1FFF);
    if (key.empty()) return {};
    std::string s;
    if (sc & scShift) s += "Shift+";
    if (sc & scCtrl) s += "Ctrl+";
    if (sc & scAlt) s += "Alt+";
    return s + key;
}

TShortCut TextToShortCut(const std::string& text)
{
    TShortCut mods = 0;
    std::string rest = text;
    for (;;) {
        auto take = [&](const char* prefix, TShortCut bit) {
            size_t n = std::strlen(prefix);
            if (rest.size() > n && rest.compare(0, n, prefix) == 0) {
                mods |= bit;
                rest.erase(0, n);
                return true;
            }
            return false;
        };
        if (!take("Shift+", scShift) && !take("Ctrl+", scCtrl) && !take("Alt+", scAlt)) break;
    }
    for (uint16_t k = 1; k < 0x100; ++k)
        if (KeyText(k) == rest && !rest.empty()) return TShortCut(mods | k);
    return scNone;
}

// ---- components -----------------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) { SetOwner(AOwner); }

void TComponent::BeginDestroy() { FDestroying = true; }

TComponent::~TComponent()
{
    FDestroying = true;
    // Tell whoever points at us, then free what we own (last created first).
    auto notifies = std::move(FFreeNotifies);
    for (TComponent* c : notifies) {
        c->Notification(this, opRemove);
        auto& back = c->FFreeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
    }
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        delete c; // its destructor leaves our list
    }
    if (View) View->Destroyed();
    View = nullptr;
    SetOwner(nullptr);
}

void TComponent::SetOwner(TComponent* AOwner)
{
    if (FOwner == AOwner) return;
    if (FOwner) {
        auto& list = FOwner->FComponents;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FOwner = AOwner;
    if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    for (TComponent* c : FComponents)
        if (c->Name == AName) return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    // Both ways, so that whichever goes first tells the other.
    auto add = [](std::vector<TComponent*>& v, TComponent* c) {
        if (std::find(v.begin(), v.end(), c) == v.end()) v.push_back(c);
    };
    add(AComponent->FFreeNotifies, this);
    add(FFreeNotifies, AComponent);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent) return;
    auto& a = AComponent->FFreeNotifies;
    a.erase(std::remove(a.begin(), a.end(), this), a.end());
    auto& b = FFreeNotifies;
    b.erase(std::remove(b.begin(), b.end(), AComponent), b.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

// ---- string lists ---------------------------------------------------------------------------

TStrings& TStrings::operator=(const TStrings& o)
{
    if (this != &o) {
        FItems = o.FItems;
        Notify(scReset, -1);
    }
    return *this;
}

TStrings& TStrings::operator=(std::initializer_list<std::string> items)
{
    FItems.assign(items.begin(), items.end());
    Notify(scReset, -1);
    return *this;
}

void TStrings::SetStrings(int i, const std::string& s)
{
    FItems.at(size_t(i)) = s;
    Notify(scReplaced, i);
}

int TStrings::Add(const std::string& s)
{
    FItems.push_back(s);
    Notify(scInserted, Count() - 1);
    return Count() - 1;
}

void TStrings::Insert(int i, const std::string& s)
{
    if (i < 0 || i > Count()) throw EInvalidOperation("List index out of bounds (" + IntToStr(i) + ")");
    FItems.insert(FItems.begin() + i, s);
    Notify(scInserted, i);
}

void TStrings::Delete(int i)
{
    if (i < 0 || i >= Count()) throw EInvalidOperation("List index out of bounds (" + IntToStr(i) + ")");
    FItems.erase(FItems.begin() + i);
    Notify(scDeleted, i);
}

void TStrings::Clear()
{
    if (FItems.empty()) return;
    FItems.clear();
    Notify(scReset, -1);
}

void TStrings::AddStrings(const std::vector<std::string>& items)
{
    FItems.insert(FItems.end(), items.begin(), items.end());
    Notify(scReset, -1);
}

int TStrings::IndexOf(const std::string& s) const
{
    auto it = std::find(FItems.begin(), FItems.end(), s);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

std::string TStrings::Text() const
{
    std::string s;
    for (const auto& line : FItems) s += line + "\n";
    return s;
}

void TStrings::SetText(const std::string& text)
{
    FItems.clear();
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            FItems.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) FItems.push_back(line);
    Notify(scReset, -1);
}

// ---- helpers --------------------------------------------------------------------------------

std::string IntToStr(long long v) { return std::to_string(v); }

int Utf8Length(const std::string& s)
{
    int n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

size_t Utf8Offset(const std::string& s, int charIndex)
{
    if (charIndex <= 0) return 0;
    int n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == charIndex) return i;
            ++n;
        }
    }
    return s.size();
}

std::string StripHotkey(const std::string& caption)
{
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}
