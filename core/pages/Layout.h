// The small helpers both pages lay their controls out with: every control is created under its
// parent, owned by the main window (so that FindComponent finds it), named as the form names it
// and placed in pixels of its parent's client area.
#pragma once

#include "core/pages/ValuePair.h"
#include "ui/UI.h"

#include <string>
#include <vector>

namespace layout {

using Items = std::vector<std::string>;

inline constexpr int ComboHeight = 21;

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name, int left, int top, int width, int height)
{
    auto* c = new T(owner);
    c->Name = name;
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

TGroupBox* Group(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption, int left,
                 int top, int width, int height);
// A drop-down list of `items`, `index` selected (-1: none).
TComboBox* Combo(TComponent* owner, TWinControl* parent, const std::string& name, const Items& items, int left, int top,
                 int width, int index = -1);
// A radio group of `items` in `columns` columns, `index` selected (-1: none).
TRadioGroup* Radio(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption,
                   const Items& items, int columns, int left, int top, int width, int height, int index = -1);
TButton* Button(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption, int left,
                int top, int width, int height = 24);
// Where a value pair goes: label width, slider width and box width in one row.
TPairPlace Place(int left, int top, int labelWidth, int barWidth, int editWidth = 34);

// The 23 categories of a performance or a voice, list index = category: "--", "Pf:Piano", ...
const Items& CategoryNames();

// The names of the 128 MIDI notes as the lists show them, two characters per letter so that every
// name of one octave has the same width: "C -2" (note 0) .. "C 3" (note 60) .. "G 8" (note 127).
const Items& NoteNames();

} // namespace layout
