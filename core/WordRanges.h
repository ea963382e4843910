// The values the words of the edit buffer hold: what a save file may bring in each word, and the
// range the editor keeps it in.
//
// A word a dump row carries holds what its field carries back (TWordRange, core/DumpLayout.h). An
// effect slot the current type uses holds what its row carries; a slot past the type keeps what
// an earlier type left, 0 up to the largest value of any kind. The words no field carries (slider
// maxima, the unvoiced operator's kept frequency and pitch modulation) hold what the field they
// stand beside carries. Names and switch bytes are no words.
//
// A save file may hold more in a few words: earlier versions copied the shared words of an
// operator raw onto the other kind (Op Paste), so a voiced operator may hold what the unvoiced
// operator's field of that word carries (a frequency or width bias has a byte of its own on the
// unvoiced operator, four bits on the voiced one). Such a word is brought into what the instrument
// takes there, the range its slider shows, before it is shown or sent.
#pragma once

#include "core/DumpLayout.h"

#include <cstddef>
#include <optional>

// The range of the word at a byte offset of TParameterData as its field carries it back; empty
// for an offset that starts no word, and for the bytes of a name or of switch bytes.
std::optional<TWordRange> WordRange(const TParameterData& data, const TNameTables& tables, std::size_t offset);
// What a save file may hold in that word: what its field carries back, or what a raw paste of
// the other kind of operator leaves there.
std::optional<TWordRange> FileWordRange(const TParameterData& data, const TNameTables& tables, std::size_t offset);
// The byte offset of the first word outside what a save file may hold there; empty when every
// word is inside. A file with such a word is no file of this editor's.
std::optional<std::size_t> FirstWordOutOfRange(const TParameterData& data, const TNameTables& tables);
// Brings every word of the `size` bytes from `offset` on into the range the editor keeps it in:
// what its field carries back, and where a paste across kinds may have overfilled it, what the
// instrument takes there. Names and switch bytes stay as they are. True when a word changed.
bool BringWordsIntoRange(TParameterData& data, const TNameTables& tables, std::size_t offset, std::size_t size);
