#include "performance/NoteNames.h"

namespace {

// Two characters per letter, so that every name of one octave has the same width.
constexpr const char* NoteLetters[12] = {"C ", "C#", "D ", "D#", "E ", "F ", "F#", "G ", "G#", "A ", "A#", "B "};

std::vector<std::string> BuildNoteNames()
{
    std::vector<std::string> names;
    names.reserve(128);
    for (int note = 0; note < 128; ++note)
        names.push_back(NoteLetters[note % 12] + std::to_string(note / 12 - 2));
    return names;
}

} // namespace

const std::vector<std::string>& NoteNames()
{
    static const std::vector<std::string> names = BuildNoteNames();
    return names;
}
