#include "core/pages/Layout.h"

namespace layout {

TGroupBox* Group(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption, int left,
                 int top, int width, int height)
{
    auto* g = Make<TGroupBox>(owner, parent, name, left, top, width, height);
    g->SetCaption(caption);
    return g;
}

TComboBox* Combo(TComponent* owner, TWinControl* parent, const std::string& name, const Items& items, int left, int top,
                 int width, int index)
{
    auto* c = Make<TComboBox>(owner, parent, name, left, top, width, ComboHeight);
    c->Style = csDropDownList;
    c->DropDownCount = 16;
    c->Items.AddStrings(items);
    c->SetItemIndex(index);
    return c;
}

TRadioGroup* Radio(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption,
                   const Items& items, int columns, int left, int top, int width, int height, int index)
{
    auto* r = Make<TRadioGroup>(owner, parent, name, left, top, width, height);
    r->SetCaption(caption);
    r->Items.AddStrings(items);
    r->SetColumns(columns);
    r->SetItemIndex(index);
    return r;
}

TButton* Button(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption, int left,
                int top, int width, int height)
{
    auto* b = Make<TButton>(owner, parent, name, left, top, width, height);
    b->SetCaption(caption);
    return b;
}

TPairPlace Place(int left, int top, int labelWidth, int barWidth, int editWidth)
{
    TPairPlace p;
    p.Left = left;
    p.Top = top;
    p.LabelWidth = labelWidth;
    p.BarWidth = barWidth;
    p.EditWidth = editWidth;
    return p;
}

namespace {

constexpr const char* NoteLetters[12] = {"C ", "C#", "D ", "D#", "E ", "F ", "F#", "G ", "G#", "A ", "A#", "B "};

Items BuildNoteNames()
{
    Items names;
    names.reserve(128);
    for (int note = 0; note < 128; ++note) names.push_back(NoteLetters[note % 12] + std::to_string(note / 12 - 2));
    return names;
}

} // namespace

const Items& CategoryNames()
{
    // clang-format off
    static const Items names = {
        "--", "Pf:Piano", "Cp:C-Percussion", "Or:Organ", "Gt:Guiter", "Ba:Bass", "St:Strings", "En:Ensemble",
        "Br:Brass", "Rd:Reed", "Pi:Pipe", "Ld:Synth Lead", "Pd:Synth Pad", "Fx:Synth SE", "Et:Ethnic",
        "Pc:Percussive", "Se:Sound Effect", "Dr:Drums", "Sc:Synth Comping", "Vo:Voice", "Co:Combination",
        "Wv:Material Wave", "Sq:Sequence"};
    // clang-format on
    return names;
}

const Items& NoteNames()
{
    static const Items names = BuildNoteNames();
    return names;
}

} // namespace layout
