#pragma once
// The settings file: Windows INI format ("[Section]" lines and "Key=Value" lines).

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

class IniFile {
public:
    // A settings file is a few lines; a larger one is not read.
    static constexpr std::size_t MaxSize = 64 * 1024;

    // Reads the file at once; a missing or unreadable file reads as empty. Only a regular file
    // of at most MaxSize bytes is read.
    explicit IniFile(std::filesystem::path path);

    // Why a file that is there was not read ("it is a folder", ...); empty when it was read or
    // is missing.
    const std::string& ReadProblem() const { return readProblem_; }

    // Section and key names compare without regard to ASCII case, as in Windows INI files.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue = {}) const;
    // Decimal with an optional sign; anything else, or a value out of range, gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue = 0) const;

    // Changes the content in memory; Save writes it. Keys keep their place, new ones are added
    // at the end of their section, new sections at the end of the file.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);

    // Writes the whole file through a temporary file in the same folder and a rename, so a
    // failed write leaves the old file as it was. A file that is there but was not read
    // (ReadProblem) is never written: what it holds would be lost. False, with `error` set, on
    // failure.
    bool Save(std::string* error = nullptr) const;

    const std::filesystem::path& Path() const { return path_; }

private:
    // One line of the file. Every line keeps its text in `raw` and is written back unchanged,
    // unless its value was written: a line of another program's making, written again in our
    // form, might read back as something else (a section header, say).
    struct Line {
        std::string key;
        std::string value;
        std::string raw;
        bool isEntry = false;
        bool written = false;
    };
    struct Section {
        std::string name; // empty for lines before the first section header
        std::vector<Line> lines;
    };

    // Index into sections_ (whose first element holds the lines ahead of any header), 0 when absent.
    std::size_t FindSection(const std::string& name) const;
    const Line* Find(const std::string& section, const std::string& key) const;

    std::filesystem::path path_;
    std::string readProblem_;
    std::vector<Section> sections_;
};

} // namespace platform
