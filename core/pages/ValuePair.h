// The slider and value box pair that every numeric parameter of the voice and performance pages
// is edited with: a label, a TScrollBar that holds the raw value, and a TEdit beside it that
// shows the value, checks what is typed and turns Page Up/Down and the arrow keys into slider
// steps.
//
// The value box never stores or sends: it only moves the slider, and the slider's change handler
// (the storing road, RunStoringRoad) stores, shows, sends and marks the data changed. Each family
// (voice, performance) binds Bar->OnChange to its own storing handler, since only it knows the
// record word and the message; everything else of a pair lives here, driven by TPairForm.
#pragma once

#include "core/MainData.h"
#include "core/SysExMessages.h"
#include "ui/UI.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// How a slider position p shows in its value box.
enum class TValueForm : uint8_t {
    Unsigned,       // "%i" of p
    Signed,         // around Centre: "+" p-C for p >= C, else "-" C-p; "+0" at the centre
    Inverted,       // "%i" of Centre - p (Centre 99: the vertical envelope times and levels)
    InvertedSigned, // around Centre: "-" p-C for p > C, else "+" C-p (vertical EG levels, C 50)
    PlusOne,        // "%i" of p + 1 (a track 1..8 on a slider 0..7)
};

// What the value box does with typed text, once its characters are checked. Signed and
// SignedRewrite take an optional leading sign ("+5", "-12"); the others digits only.
enum class TBoxKind : uint8_t {
    Unsigned,      // the typed value; the slider's own Min..Max bound it
    Capped127,     // above 127: slider 127, the typed text stays
    CappedRewrite, // above the slider's top value: slider Max and the text rewritten (the boxes
                   // capped at 7: "9" gives "7"; the track box: "9" gives "8")
    ToBarMax,      // above the slider's Max: slider Max, the typed text stays
    VelocityLimit, // 1..127: above 127 slider 127; below 1 slider 1, text "1" selected; empty 1
    Signed,        // -C .. Max-C: beyond either end the slider goes to that end
    SignedRewrite, // as Signed, and a clamped value is rewritten into the text ("+7", "-7")
    ReadOnly,      // no change handler: its slider's handler writes the text
};

// The steps of the value box keys: Page Up/Down move the slider by Page, Up/Down by 1;
// Reversed turns every step round (vertical sliders, whose top is the largest shown value).
struct TKeySteps {
    int Page = 10;
    bool Reversed = false;
};
inline constexpr TKeySteps Keys10{10, false};
inline constexpr TKeySteps Keys4{4, false};
inline constexpr TKeySteps Keys3{3, false};
inline constexpr TKeySteps Keys2{2, false};
inline constexpr TKeySteps Keys1{1, false};
inline constexpr TKeySteps KeysReversed{10, true};

// One pair as a descriptor: control names, range, display and box kinds.
struct TPairForm {
    const char* Name;    // stem: controls Name+"Text" (label), Name+"Bar", Name+"Edit"
    const char* Caption; // the label's caption ("" for a pair without a label of its own)
    int Max;
    int LargeChange;
    int Initial; // the slider's first position; the box shows its display form
    TValueForm Form;
    int Centre; // Signed / InvertedSigned centre, Inverted base (99); unused otherwise
    TBoxKind Box;
    int MaxLength;
    TKeySteps Keys;
    bool Exit = false;     // signed boxes: a lone sign is put back when the box is left
    bool Vertical = false; // vertical slider, position 0 at the top
};

// Where the three controls go inside their parent. Horizontal pairs: label, slider, box in one
// row (or the label above slider and box). Vertical pairs: the slider standing Height high, the box under it (the label, if any,
// above).
struct TPairPlace {
    int Left = 0;
    int Top = 0;
    int LabelWidth = 80;
    int BarWidth = 120;
    int EditWidth = 32;
    int Height = 17;         // row height; a vertical slider's height
    bool LabelAbove = false; // horizontal pairs in narrow groups: the label over the slider
};

// Display form of a position, and the conversions between position and shown value.
std::string FormatValue(TValueForm form, int centre, int position);
int ShownValue(TValueForm form, int centre, int position);
int PositionOf(TValueForm form, int centre, int shown);

// A step of the value box keys for a key code (0 for keys the pair leaves alone).
int KeyStep(TKeySteps steps, uint16_t key);

class TValuePair {
public:
    // Binds the box's change, key and exit handlers to this object (which therefore stays put).
    TValuePair(const TPairForm& pairForm, TLabel* text, TScrollBar* bar, TEdit* edit);
    TValuePair(const TValuePair&) = delete;
    TValuePair& operator=(const TValuePair&) = delete;

    const TPairForm& PairForm() const { return FForm; }
    TLabel* Text; // nullptr for a pair without a label
    TScrollBar* Bar;
    TEdit* Edit;

    // A row whose box shows texts of its own (a speed in percent, a frequency): the text of a
    // position, which then stands in for the display form wherever the pair writes its box.
    std::function<std::string(int position)> Texts;

    // The display form of the slider's position, and of any position.
    std::string Display() const { return Format(Bar->Position()); }
    std::string Format(int position) const
    {
        return Texts ? Texts(position) : FormatValue(FForm.Form, FForm.Centre, position);
    }
    // Box text := display form of the slider (the storing road's "show").
    void ShowValue() { Edit->SetText(Display()); }

    // The value box's handlers: the character walk and the kind's rule; the key steps; the exit
    // rule of signed boxes. They never store or send; they only move the slider.
    void EditChange();
    void EditKeyDown(uint16_t key);
    void EditExit();

    // A display load (under UpdatingDisplay): slider := word, box := its display form. Unsigned,
    // inverted and track texts are formed from the word (a word beyond the slider's range still
    // shows as stored), signed texts and texts of the row's own from the slider after its clamping.
    void Load(int32_t word);

    // A parameter's row: enabling or showing it sets all three controls.
    void SetEnabled(bool on);
    void SetVisible(bool on);
    bool Enabled() const { return Bar->Enabled(); }

private:
    void SignedEditChange(const std::string& text, int n);
    void UnsignedEditChange(const std::string& text, int n);
    TPairForm FForm;
};

// Creates the label (when the descriptor has a caption), the slider and the value box under `parent`,
// owned by `owner`, named after the descriptor and placed as told; binds the box's change, key and exit
// handlers. The slider's OnChange is the family's storing handler, bound by the caller.
std::unique_ptr<TValuePair> CreateValuePair(TComponent* owner, TWinControl* parent, const TPairForm& pairForm,
                                            const TPairPlace& place);

// The storing road of a slider handler: returns at once while UpdatingDisplay is set; otherwise
// stores the position (store), shows it in the box, runs afterShow (a graph redraw, say), gives
// the box the focus unless it has it, sends the message compose builds, runs afterSend and marks
// the data changed.
struct TStoringRoad {
    std::function<void(int position)> Store;
    std::function<void()> Show; // replaces the display form (read-only boxes with texts of their own)
    std::function<ParameterChangeMessage(int position)> Compose;
    std::function<void()> AfterShow;
    std::function<void()> AfterSend;
};
void RunStoringRoad(TMainData& data, TValuePair& pair, const TStoringRoad& road);

// Small helpers the pages share.
TLabel* CreateLabel(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption,
                    int left, int top);
// The decimal value of a text of digits with an optional leading sign; 0 for anything else.
int ParseInteger(const std::string& text);
