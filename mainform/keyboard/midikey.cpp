#include "mainform/keyboard/midikey.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int KeyboardClientWidth = 672;
constexpr int KeyboardClientHeight = 198;

// The drawn keyboard: 40 white keys from note 35 up the C major scale, 28 black keys in groups
// of five per 140 pixels. Only the keys left of the client's right edge can be seen and played.
constexpr int WhiteKeyCount = 40;
constexpr int WhiteKeyWidth = 20;
constexpr int WhiteKeyTop = 1;
constexpr int WhiteKeyBottom = 100;
constexpr int BlackKeyCount = 28;
constexpr int BlackKeyWidth = 14;
constexpr int BlackKeyTop = 2;
constexpr int BlackKeyBottom = 60;
constexpr int KeyboardPaintWidth = 780;

// The twelve computer keys of one octave, in the order of PcKeyHeld; key k plays note 60 + k.
constexpr uint16_t PcKeys[12] = {'Z', 'S', 'X', 'D', 'C', 'V', 'G', 'B', 'H', 'N', 'J', 'M'};
constexpr int PcKeyBaseNote = 60;

// Index of a computer key in PcKeys, or -1.
int PcKeyIndex(uint16_t key)
{
    for (int k = 0; k < 12; ++k)
        if (PcKeys[k] == key) return k;
    return -1;
}

constexpr int VelocityStep = 4;   // per wheel notch
constexpr int ControllerStep = 2; // per arrow key

// Controllers with a short name; the others show "-------".
struct TNamedController {
    int Number;
    const char* Name;
};
constexpr TNamedController NamedControllers[] = {
    {1, "MW"},       {2, "BC"},       {4, "FC"},       {5, "PortaTm"},  {6, "DataEnt"},  {7, "Volume"},
    {8, "Balance"},  {10, "Pan"},     {11, "Express"}, {16, "Generl1"}, {17, "Generl2"}, {18, "Generl3"},
    {19, "Generl4"}, {64, "Sustain"}, {65, "PortaSw"}, {66, "Sostenu"}, {67, "Soft"},    {69, "Hold2"},
    {71, "Harmoni"}, {72, "Release"}, {73, "Attack"},  {74, "Bright"},  {84, "PortaCt"}, {91, "RevSend"},
    {92, "Effect2"}, {93, "ChoSend"}, {94, "VarSend"}, {95, "Effect5"},
};
constexpr int ControllerItemCount = 94; // controllers 1..31 and 33..95

std::string ControllerItem(int number)
{
    const char* name = "-------";
    for (const auto& c : NamedControllers)
        if (c.Number == number) name = c.Name;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%s", number, name);
    return text;
}

constexpr const char* OctaveItems[] = {"+3", "+2", "+1", "+0", "-1", "-2", "-3"};
constexpr int OctaveZeroItem = 3;

// The left edge and note of black key i (0..27): five keys per octave, skipping the gaps
// between E and F and between B and C.
struct TBlackKey {
    int Left;
    int Note;
};
TBlackKey BlackKey(int i)
{
    static constexpr int LeftInGroup[5] = {33, 53, 93, 113, 133};
    static constexpr int NoteInGroup[5] = {37, 39, 42, 44, 46};
    return {LeftInGroup[i % 5] + 140 * (i / 5), NoteInGroup[i % 5] + 12 * (i / 5)};
}

// The note of white key i (0..39): key 0 is B below C (35), then C major from note 36.
int WhiteKeyNote(int i)
{
    static constexpr int StepInOctave[7] = {0, 2, 4, 5, 7, 9, 11};
    if (i == 0) return 35;
    return 36 + 12 * ((i - 1) / 7) + StepInOctave[(i - 1) % 7];
}

bool ValidNote(int note) { return note >= 0 && note <= 127; }

} // namespace

TV_MIDIKeyboard::TV_MIDIKeyboard(TComponent* AOwner, TKeyboardHost& host) : TForm(AOwner), Main(host)
{
    CreateControls();
    Main.KeyboardWindowBuilt(this);
    DoCreate();
}

TV_MIDIKeyboard::~TV_MIDIKeyboard() { Main.KeyboardWindowGone(this); }

void TV_MIDIKeyboard::CreateControls()
{
    Name = "V_MIDIKeyboard";
    SetCaption("Virtual MIDI Keyboard");
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    FormStyle = fsStayOnTop;
    Position = poMainFormCenter;
    Cursor = crHandPoint;
    KeyPreview = true;
    SetClientSize(KeyboardClientWidth, KeyboardClientHeight);

    auto place = [](TControl* c, TWinControl* parent, const char* name, int l, int t, int w, int h) {
        c->Name = name;
        c->SetParent(parent);
        c->SetBounds(l, t, w, h);
        // Keys belong to the keyboard: no control is reached by Tab.
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->SetTabStop(false);
    };
    auto label = [&](const char* name, const char* caption, TWinControl* parent, int l, int t) {
        auto* lb = new TLabel(this);
        place(lb, parent, name, l, t, 40, 13);
        lb->SetCaption(caption);
        return lb;
    };
    auto readOnlyEdit = [&](const char* name, TWinControl* parent, int l, int t, int w, const char* text) {
        auto* e = new TEdit(this);
        place(e, parent, name, l, t, w, 21);
        e->SetReadOnly(true);
        e->SetText(text);
        return e;
    };
    auto bar = [&](const char* name, TWinControl* parent, int l, int t, int w, int min, int max, int pos) {
        auto* b = new TScrollBar(this);
        place(b, parent, name, l, t, w, 17);
        b->SetParams(pos, min, max);
        b->LargeChange = 10;
        return b;
    };
    auto controllerList = [&](const char* name, TWinControl* parent, int l, int t) {
        auto* c = new TComboBox(this);
        place(c, parent, name, l, t, 92, 21);
        c->DropDownCount = 16;
        for (int i = 0; i < ControllerItemCount; ++i) c->Items.Add(ControllerItem(ControllerOfItem(i)));
        return c;
    };

    // Fields in their declared order; the drawn keys take the top 101 rows.
    constexpr int row = 112;
    OctShift = label("OctShift", "Oct Shift", this, 8, row);
    StatusBar = new TStatusBar(this);
    place(StatusBar, this, "StatusBar", 0, KeyboardClientHeight - 19, KeyboardClientWidth, 19);
    StatusBar->SetSimplePanel(true);

    Velocity = label("Velocity", "Velocity", this, 72, row);
    VelocityEdit = readOnlyEdit("VelocityEdit", this, 72, row + 18, 34, "100");
    VelocityBar = bar("VelocityBar", this, 110, row + 20, 96, 1, 127, 100);
    VelocityBar->OnChange = [this](TObject* s) { VelocityBarChange(s); };

    CtrlChngGrp = new TGroupBox(this);
    place(CtrlChngGrp, this, "CtrlChngGrp", 262, 104, 268, 72);
    CtrlChngGrp->SetCaption("Control Change");

    Value = label("Value", "Value", CtrlChngGrp, 104, 21);
    CtrlChngBar = bar("CtrlChngBar", CtrlChngGrp, 170, 20, 90, 0, 127, 0);
    CtrlChngEdit = readOnlyEdit("CtrlChngEdit", CtrlChngGrp, 136, 18, 30, "0");
    CtrlChngNum = controllerList("CtrlChngNum", CtrlChngGrp, 8, 18);

    ChLabel = label("ChLabel", "CH", this, 216, row);
    ChEdit = readOnlyEdit("ChEdit", this, 216, row + 18, 26, "1");
    ChUpDown = new TUpDown(this);
    place(ChUpDown, this, "ChUpDown", 242, row + 18, 16, 21);
    ChUpDown->SetMin(1);
    ChUpDown->SetMax(16);
    ChUpDown->SetPosition(1);

    CtrlChngNum2 = controllerList("CtrlChngNum2", CtrlChngGrp, 8, 45);
    Value2 = label("Value2", "Value", CtrlChngGrp, 104, 48);
    CtrlChngBar2 = bar("CtrlChngBar2", CtrlChngGrp, 170, 47, 90, 0, 127, 0);
    CtrlChngEdit2 = readOnlyEdit("CtrlChngEdit2", CtrlChngGrp, 136, 45, 30, "0");

    ResetButton = new TButton(this);
    place(ResetButton, this, "ResetButton", 536, row + 12, 128, 28);
    ResetButton->SetCaption("Reset All Controller");

    OctComboBox = new TComboBox(this);
    place(OctComboBox, this, "OctComboBox", 8, row + 18, 56, 21);
    for (const char* item : OctaveItems) OctComboBox->Items.Add(item);
    OctComboBox->SetItemIndex(OctaveZeroItem);

    CtrlChngBar->OnChange = [this](TObject* s) { CtrlChngBarChange(s); };
    CtrlChngBar2->OnChange = [this](TObject* s) { CtrlChngBar2Change(s); };
    ResetButton->OnClick = [this](TObject* s) { ResetButtonClick(s); };
    ChUpDown->OnClick = [this](TObject* s, TUDBtnType b) { ChUpDownClick(s, b); };
    OctComboBox->OnChange = [this](TObject* s) { OctComboBoxChange(s); };

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnPaint = [this](TObject* s) { FormPaint(s); };
    OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseDown(s, b, sh, x, y); };
    OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseUp(s, b, sh, x, y); };
    OnMouseWheelUp = [this](TObject* s, TShiftState sh, TPoint p, bool& h) { FormMouseWheelUp(s, sh, p, h); };
    OnMouseWheelDown = [this](TObject* s, TShiftState sh, TPoint p, bool& h) { FormMouseWheelDown(s, sh, p, h); };
    OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };
    OnKeyUp = [this](TObject* s, uint16_t& k, TShiftState sh) { FormKeyUp(s, k, sh); };
    OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
    OnHide = [this](TObject* s) { FormHide(s); };
}

void TV_MIDIKeyboard::FormCreate(TObject*)
{
    ChUpDown->SetAssociate(ChEdit);
    CtrlChngNum->SetItemIndex(0);   // "01:MW"
    CtrlChngNum2->SetItemIndex(72); // "74:Bright"
}

// ---- what the window sends ------------------------------------------------------------------

int TV_MIDIKeyboard::Channel() const { return ChUpDown->Position() - 1; }

int TV_MIDIKeyboard::OctaveShift() const
{
    const int item = OctComboBox->ItemIndex();
    return item < 0 ? 0 : OctaveZeroItem - item;
}

int TV_MIDIKeyboard::ControllerOfItem(int i) { return i < 31 ? i + 1 : i + 2; }

void TV_MIDIKeyboard::PlayNote(TSoundingNote& slot, int note)
{
    slot = {note, Channel(), true};
    Main.SendNoteOn(slot.Channel, slot.Note, VelocityBar->Position());
}

void TV_MIDIKeyboard::ReleaseNote(TSoundingNote& slot)
{
    if (slot.Note >= 0) Main.SendNoteOn(slot.Channel, slot.Note, 0);
    slot.Sounding = false;
}

void TV_MIDIKeyboard::ResetButtonClick(TObject*)
{
    const int channel = Channel();
    for (int controller : {120, 121, 123}) Main.SendControlChange(channel, controller, 0);
}

void TV_MIDIKeyboard::ChUpDownClick(TObject*, TUDBtnType) { ResetButtonClick(ResetButton); }

void TV_MIDIKeyboard::OctComboBoxChange(TObject*) { ResetButtonClick(ResetButton); }

void TV_MIDIKeyboard::FormDeactivate(TObject*)
{
    // The key-ups of keys held now go to another window: their notes end here.
    ReleaseSoundingNotes();
    ResetButtonClick(ResetButton);
}

void TV_MIDIKeyboard::FormHide(TObject*) { ReleaseSoundingNotes(); }

void TV_MIDIKeyboard::ReleaseSoundingNotes()
{
    if (MouseNote.Sounding) ReleaseNote(MouseNote);
    MouseNote = {};
    for (std::size_t k = 0; k < PcKeyNote.size(); ++k) {
        if (PcKeyNote[k].Sounding) ReleaseNote(PcKeyNote[k]);
        PcKeyNote[k] = {};
        PcKeyHeld[k] = 0; // its next press plays again
    }
}

void TV_MIDIKeyboard::VelocityBarChange(TObject*) { VelocityEdit->SetText(IntToStr(VelocityBar->Position())); }

void TV_MIDIKeyboard::SendControllerRow(int row)
{
    TScrollBar* bar = row == 0 ? CtrlChngBar : CtrlChngBar2;
    TEdit* edit = row == 0 ? CtrlChngEdit : CtrlChngEdit2;
    TComboBox* list = row == 0 ? CtrlChngNum : CtrlChngNum2;
    edit->SetText(IntToStr(bar->Position()));
    // A list without a selection stands for its first controller.
    Main.SendControlChange(Channel(), ControllerOfItem(std::max(0, list->ItemIndex())), bar->Position());
}

void TV_MIDIKeyboard::CtrlChngBarChange(TObject*) { SendControllerRow(0); }

void TV_MIDIKeyboard::CtrlChngBar2Change(TObject*) { SendControllerRow(1); }

void TV_MIDIKeyboard::StepBar(TScrollBar* bar, int delta) { bar->SetPosition(bar->Position() + delta); }

// ---- the drawn keyboard and the mouse -------------------------------------------------------

int TV_MIDIKeyboard::KeyAtPoint(int x, int y)
{
    if (y > WhiteKeyBottom) return BelowKeys;
    for (int i = 0; i < BlackKeyCount; ++i) {
        const TBlackKey k = BlackKey(i);
        if (x >= k.Left && x <= k.Left + BlackKeyWidth && y >= BlackKeyTop && y <= BlackKeyBottom) return k.Note;
    }
    for (int i = 0; i < WhiteKeyCount; ++i)
        if (x >= WhiteKeyWidth * i && x <= WhiteKeyWidth * (i + 1) && y >= WhiteKeyTop) return WhiteKeyNote(i);
    return NoKey;
}

void TV_MIDIKeyboard::FormPaint(TObject*)
{
    TCanvas& cv = Canvas();
    cv.Pen.Color = clBlack;
    cv.Brush.Color = clWhite;
    cv.Brush.Style = bsSolid;
    cv.FillRect(Rect(0, WhiteKeyTop, KeyboardPaintWidth + 1, WhiteKeyBottom + 1));
    // Neighbouring white keys share their outline column.
    for (int i = 0; i < WhiteKeyCount; ++i)
        cv.Rectangle(WhiteKeyWidth * i, WhiteKeyTop, WhiteKeyWidth * (i + 1) + 1, WhiteKeyBottom + 1);
    cv.Brush.Color = clBlack;
    for (int i = 0; i < BlackKeyCount; ++i) {
        const TBlackKey k = BlackKey(i);
        cv.FillRect(Rect(k.Left, BlackKeyTop, k.Left + BlackKeyWidth, BlackKeyBottom));
    }
}

void TV_MIDIKeyboard::FormMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button != mbLeft) return;
    LastMouseKey = KeyAtPoint(X, Y);
    MouseNote = {};
    const int note = LastMouseKey + 12 * OctaveShift();
    if (LastMouseKey == NoKey || LastMouseKey == BelowKeys || !ValidNote(note)) {
        StatusBar->SetSimpleText("");
        return;
    }
    StatusBar->SetSimpleText("KEY = " + Main.NoteName(note));
    PlayNote(MouseNote, note);
}

void TV_MIDIKeyboard::FormMouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    if (MouseNote.Note < 0) StatusBar->SetSimpleText("");
    ReleaseNote(MouseNote);
}

void TV_MIDIKeyboard::FormMouseWheelUp(TObject*, TShiftState, TPoint, bool& Handled)
{
    Handled = true;
    ReleaseNote(MouseNote);
    StepBar(VelocityBar, VelocityStep);
}

void TV_MIDIKeyboard::FormMouseWheelDown(TObject*, TShiftState, TPoint, bool& Handled)
{
    Handled = true;
    ReleaseNote(MouseNote);
    StepBar(VelocityBar, -VelocityStep);
}

// ---- the computer keys ----------------------------------------------------------------------

void TV_MIDIKeyboard::FormKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    if (const int k = PcKeyIndex(Key); k >= 0) {
        // Held keys repeat: only the first press plays. Notes stay within 24..107.
        if (!PcKeyHeld[size_t(k)]) {
            PlayNote(PcKeyNote[size_t(k)], PcKeyBaseNote + k + 12 * OctaveShift());
            PcKeyHeld[size_t(k)] = 1;
        }
    } else if (Key == VK_PRIOR || Key == VK_NEXT) {
        // Changes the octave of the next notes only: no reset, held notes keep theirs.
        const int item = OctComboBox->ItemIndex() + (Key == VK_PRIOR ? -1 : 1);
        if (item >= 0 && item < OctComboBox->Items.Count()) OctComboBox->SetItemIndex(item);
    } else if (Key == VK_UP || Key == VK_DOWN) {
        StepBar(CtrlChngBar, Key == VK_UP ? ControllerStep : -ControllerStep);
    } else if (Key == VK_RIGHT || Key == VK_LEFT) {
        StepBar(CtrlChngBar2, Key == VK_RIGHT ? ControllerStep : -ControllerStep);
    } else {
        return;
    }
    // The key was the keyboard's: the focused control must not act on it as well.
    Key = 0;
}

void TV_MIDIKeyboard::FormKeyUp(TObject*, uint16_t& Key, TShiftState)
{
    const int k = PcKeyIndex(Key);
    if (k < 0) return;
    // A key whose press this window never saw is released on the octave and channel shown now.
    if (!PcKeyHeld[size_t(k)]) PcKeyNote[size_t(k)] = {PcKeyBaseNote + k + 12 * OctaveShift(), Channel(), false};
    ReleaseNote(PcKeyNote[size_t(k)]);
    PcKeyHeld[size_t(k)] = 0;
    Key = 0;
}
