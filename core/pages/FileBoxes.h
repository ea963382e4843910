// The boxes the file commands of the window and its pages show, with their texts.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

class TImage;

// The file is not one of the program's (wrong size or header, or it cannot be opened).
inline const std::string WrongFileText = "File Error: This file is not Quillmarven's file or broken file";
// Reading or writing a file failed.
inline const std::string ReadFailedText =
    "Can't perform one of the following file operations: Open, Seek, Read, Close.";
inline const std::string WriteFailedText = "Can't perform one of the following file operations: Write.";

// `text` in a box captioned "Quillmarven", OK, warning icon.
void ShowWrongFile(const std::string& text);
// `text` in a box captioned "File Error", OK and Cancel; the answer is not used. `cause` (what
// the system said of the file, naming it), when known, follows on a line of its own.
void ShowFileError(const std::string& text, const std::string& cause = {});
// The cause of a read that failed, as ShowFileError shows it: the file and the `reason`.
std::string ReadCause(const std::string& path, const std::string& reason);

// Before a command drops work that is not saved: asks `question` (Yes, No and Cancel). Yes runs
// `save`, which tells whether the work is now in a file. True when the command may go on: saved,
// or No; false on Cancel and on a save cancelled or failed.
bool AskToSaveFirst(const std::string& question, const char* caption, int icon, const std::function<bool()>& save);

// Loads a picture beside the program that only decorates a window. Without its file the image
// stays empty; a file that is there but cannot be shown (not a regular file, too large, broken)
// is told in a box naming it and the reason (caption "Quillmarven", OK, warning icon), and the
// image stays empty.
void LoadPicture(TImage* image, const std::filesystem::path& file);
