#include "core/pages/ValuePair.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

bool IsSignedForm(TValueForm form) { return form == TValueForm::Signed || form == TValueForm::InvertedSigned; }

std::string WithSign(int shown) { return (shown >= 0 ? "+" : "-") + IntToStr(shown >= 0 ? shown : -shown); }

// The characters of a text, one char each; a character outside ASCII becomes '?', which no walk
// accepts (the walks look for digits and signs only).
std::vector<char> Characters(const std::string& text)
{
    std::vector<char> out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        out.push_back(lead < 0x80 ? text[i] : '?');
        i += n;
    }
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string FormatValue(TValueForm form, int centre, int position)
{
    const int shown = ShownValue(form, centre, position);
    if (form == TValueForm::Signed) return WithSign(shown);
    // Inverted signed: the centre itself shows "+0", so the sign follows the shown value.
    if (form == TValueForm::InvertedSigned) return WithSign(shown);
    return IntToStr(shown);
}

int ShownValue(TValueForm form, int centre, int position)
{
    switch (form) {
    case TValueForm::Unsigned: return position;
    case TValueForm::Signed: return position - centre;
    case TValueForm::Inverted:
    case TValueForm::InvertedSigned: return centre - position;
    case TValueForm::PlusOne: return position + 1;
    }
    return position;
}

int PositionOf(TValueForm form, int centre, int shown)
{
    switch (form) {
    case TValueForm::Unsigned: return shown;
    case TValueForm::Signed: return shown + centre;
    case TValueForm::Inverted:
    case TValueForm::InvertedSigned: return centre - shown;
    case TValueForm::PlusOne: return shown - 1;
    }
    return shown;
}

int KeyStep(TKeySteps steps, uint16_t key)
{
    int step = 0;
    switch (key) {
    case VK_PRIOR: step = steps.Page; break;
    case VK_NEXT: step = -steps.Page; break;
    case VK_UP: step = 1; break;
    case VK_DOWN: step = -1; break;
    default: return 0;
    }
    return steps.Reversed ? -step : step;
}

int ParseInteger(const std::string& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return 0;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return 0;
        // Saturate: code may set a text longer than any box takes.
        v = std::min<long long>(v * 10 + (text[i] - '0'), INT_MAX / 2);
    }
    return static_cast<int>(negative ? -v : v);
}

// ---- the pair --------------------------------------------------------------------------------

TValuePair::TValuePair(const TPairForm& pairForm, TLabel* text, TScrollBar* bar, TEdit* edit)
    : Text(text), Bar(bar), Edit(edit), FForm(pairForm)
{
    if (FForm.Box != TBoxKind::ReadOnly) Edit->OnChange = [this](TObject*) { EditChange(); };
    Edit->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) { EditKeyDown(key); };
    if (FForm.Exit) Edit->OnExit = [this](TObject*) { EditExit(); };
}

void TValuePair::EditChange()
{
    // The walk runs over a copy: rewrites of the text during it do not change what is walked.
    const std::string text = Edit->Text();
    const int n = Utf8Length(text);
    if (IsSignedForm(FForm.Form) || FForm.Box == TBoxKind::Signed || FForm.Box == TBoxKind::SignedRewrite)
        SignedEditChange(text, n);
    else
        UnsignedEditChange(text, n);
}

void TValuePair::UnsignedEditChange(const std::string& text, int n)
{
    for (char c : Characters(text)) {
        if (IsDigit(c)) continue;
        Edit->SetText(Display());
        Edit->SetSelStart(n);
    }
    if (n == 0) {
        const int empty = FForm.Box == TBoxKind::VelocityLimit
                              ? 1
                              : std::clamp(PositionOf(FForm.Form, FForm.Centre, 0), Bar->Min(), Bar->Max());
        Bar->SetPosition(empty);
        Edit->SetText(Format(empty));
        Edit->SetSelStart(0);
        Edit->SetSelLength(1);
        return;
    }
    const int typed = ParseInteger(Edit->Text());
    const int top = ShownValue(FForm.Form, FForm.Centre, Bar->Max());
    switch (FForm.Box) {
    case TBoxKind::Capped127: Bar->SetPosition(PositionOf(FForm.Form, FForm.Centre, std::min(typed, 127))); return;
    case TBoxKind::CappedRewrite:
        if (typed > top) {
            Bar->SetPosition(Bar->Max());
            Edit->SetText(Display());
            return;
        }
        break;
    case TBoxKind::ToBarMax:
        if (typed > top) {
            Bar->SetPosition(Bar->Max());
            return;
        }
        break;
    case TBoxKind::VelocityLimit:
        if (typed < 1) {
            Bar->SetPosition(1);
            Edit->SetText(Format(1));
            Edit->SetSelStart(0);
            Edit->SetSelLength(1);
            return;
        }
        Bar->SetPosition(std::min(typed, 127));
        return;
    default: break;
    }
    Bar->SetPosition(PositionOf(FForm.Form, FForm.Centre, typed));
}

void TValuePair::SignedEditChange(const std::string& text, int n)
{
    auto restore = [this] {
        Edit->SetText(Display());
        Edit->SetSelStart(0);
        Edit->SetSelLength(2);
    };
    bool parse = n > 0;
    const std::vector<char> chars = Characters(text);
    for (size_t i = 0; i < chars.size(); ++i) {
        const char c = chars[i];
        if (IsDigit(c)) continue;
        if (c == '+' || c == '-') {
            if (i > 0) {
                restore();
                parse = false; // the selection of the restored text stays
            } else if (n == 1) {
                parse = false; // a lone sign waits for its digits
            }
            continue;
        }
        restore();
    }
    if (n == 0) {
        const int centre = PositionOf(FForm.Form, FForm.Centre, 0);
        Bar->SetPosition(centre);
        Edit->SetText(Format(centre));
        Edit->SetSelStart(0);
        Edit->SetSelLength(2);
        return;
    }
    if (!parse) return;
    const int typed = ParseInteger(Edit->Text());
    const int a = ShownValue(FForm.Form, FForm.Centre, 0);
    const int b = ShownValue(FForm.Form, FForm.Centre, Bar->Max());
    const int lo = std::min(a, b), hi = std::max(a, b);
    if (typed > hi || typed < lo) {
        Bar->SetPosition(PositionOf(FForm.Form, FForm.Centre, typed > hi ? hi : lo));
        if (FForm.Box == TBoxKind::SignedRewrite) Edit->SetText(Display());
    } else if (Bar->Position() == PositionOf(FForm.Form, FForm.Centre, typed)) {
        Edit->SetText(Display()); // "5" becomes "+5", "-0" becomes "+0"
    } else {
        Bar->SetPosition(PositionOf(FForm.Form, FForm.Centre, typed));
    }
    Edit->SetSelStart(n + 1);
}

void TValuePair::EditKeyDown(uint16_t key)
{
    if (const int step = KeyStep(FForm.Keys, key)) Bar->SetPosition(Bar->Position() + step);
}

void TValuePair::EditExit()
{
    const std::string& t = Edit->Text();
    if (t == "+" || t == "-") Edit->SetText(Display());
}

void TValuePair::Load(int32_t word)
{
    Bar->SetPosition(word);
    Edit->SetText(IsSignedForm(FForm.Form) || Texts ? Display() : Format(word));
}

void TValuePair::SetEnabled(bool on)
{
    if (Text) Text->SetEnabled(on);
    Bar->SetEnabled(on);
    Edit->SetEnabled(on);
}

void TValuePair::SetVisible(bool on)
{
    if (Text) Text->SetVisible(on);
    Bar->SetVisible(on);
    Edit->SetVisible(on);
}

// ---- creation and the storing road -------------------------------------------------------------

TLabel* CreateLabel(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption,
                    int left, int top)
{
    auto* label = new TLabel(owner);
    label->Name = name;
    label->SetParent(parent);
    label->SetCaption(caption);
    label->SetBounds(left, top, std::max(8, 31 * Utf8Length(caption) / 5), 13); // about 6.2 pixels a character
    return label;
}

std::unique_ptr<TValuePair> CreateValuePair(TComponent* owner, TWinControl* parent, const TPairForm& pairForm,
                                            const TPairPlace& place)
{
    constexpr int EditHeight = 20;
    const std::string stem = pairForm.Name;
    TLabel* text = nullptr;
    if (pairForm.Caption && *pairForm.Caption) {
        text = CreateLabel(owner, parent, stem + "Text", pairForm.Caption, place.Left,
                           pairForm.Vertical  ? place.Top - 16
                           : place.LabelAbove ? place.Top
                                              : place.Top + 3);
        if (!pairForm.Vertical && !place.LabelAbove) text->SetWidth(place.LabelWidth - 4);
    }

    auto* bar = new TScrollBar(owner);
    bar->Name = stem + "Bar";
    bar->SetParent(parent);
    bar->SetTabStop(false);
    if (pairForm.Vertical) bar->SetKind(sbVertical);
    bar->SetParams(pairForm.Initial, 0, pairForm.Max);
    bar->LargeChange = pairForm.LargeChange;

    auto* edit = new TEdit(owner);
    edit->Name = stem + "Edit";
    edit->SetParent(parent);
    edit->MaxLength = pairForm.MaxLength;
    edit->SetText(FormatValue(pairForm.Form, pairForm.Centre, pairForm.Initial));
    if (pairForm.Box == TBoxKind::ReadOnly) edit->SetReadOnly(true);

    if (pairForm.Vertical) {
        bar->SetBounds(place.Left + (place.EditWidth - place.BarWidth) / 2, place.Top, place.BarWidth, place.Height);
        edit->SetBounds(place.Left, place.Top + place.Height + 2, place.EditWidth, EditHeight);
    } else {
        const int top = place.Top + (place.LabelAbove ? 14 : 0);
        const int barLeft = place.Left + (text && !place.LabelAbove ? place.LabelWidth : 0);
        bar->SetBounds(barLeft, top + (EditHeight - place.Height) / 2, place.BarWidth, place.Height);
        edit->SetBounds(barLeft + place.BarWidth + 4, top, place.EditWidth, EditHeight);
    }
    return std::make_unique<TValuePair>(pairForm, text, bar, edit);
}

void RunStoringRoad(TMainData& data, TValuePair& pair, const TStoringRoad& road)
{
    if (data.UpdatingDisplay) return;
    const int position = pair.Bar->Position();
    road.Store(position);
    if (road.Show)
        road.Show();
    else
        pair.ShowValue();
    if (road.AfterShow) road.AfterShow();
    const ParameterChangeMessage message = road.Compose(position);
    if (!pair.Edit->Focused()) pair.Edit->SetFocus();
    data.SendSysEx(message.data(), static_cast<int>(message.size()));
    if (road.AfterSend) road.AfterSend();
    data.MarkDataChanged();
}
