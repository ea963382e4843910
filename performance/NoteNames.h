// The names of the 128 MIDI notes as the part page's note-limit lists show them: note letter
// and octave, middle C (note 60) being "C 3". The virtual keyboard's status line reads them too.
#pragma once

#include <string>
#include <vector>

// Item n names note n: "C -2" (note 0) .. "B -1" (note 23), "C 0" (note 24) .. "G 8" (note 127).
const std::vector<std::string>& NoteNames();
