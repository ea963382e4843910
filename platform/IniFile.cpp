#include "platform/IniFile.h"

#include "platform/SafeFile.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <sstream>

namespace platform {

namespace {

std::string Trim(const std::string& s)
{
    const char* blanks = " \t\r\n";
    std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool SameName(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool Quoted(const std::string& s) { return s.size() >= 2 && s.front() == '"' && s.back() == '"'; }

// Values are trimmed when read; quotes keep blanks at either end (and quotes of the value
// itself) through a write and a read.
std::string EncodeValue(std::string value)
{
    // A line break inside a value would start a new line, and so a new key, in the file.
    std::replace(value.begin(), value.end(), '\n', ' ');
    std::replace(value.begin(), value.end(), '\r', ' ');
    if (value != Trim(value) || Quoted(value)) return '"' + value + '"';
    return value;
}

std::string DecodeValue(const std::string& text)
{
    std::string value = Trim(text);
    return Quoted(value) ? value.substr(1, value.size() - 2) : value;
}

} // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path))
{
    sections_.push_back(Section{}); // lines ahead of the first section header
    std::vector<uint8_t> bytes;
    std::string problem;
    const ReadResult read = ReadWholeFile(path_, MaxSize, bytes, &problem);
    if (read != ReadResult::Ok) bytes.clear();
    if (read != ReadResult::Ok && read != ReadResult::Missing) readProblem_ = problem;
    const std::string content(bytes.begin(), bytes.end());
    // A line ends at CR LF, LF or a lone CR, so no value ever holds a line break (which a
    // write could not keep).
    std::string text;
    for (std::size_t at = 0; at < content.size();) {
        std::size_t end = content.find_first_of("\r\n", at);
        if (end == std::string::npos) end = content.size();
        text = content.substr(at, end - at);
        at = end + (content.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        std::string trimmed = Trim(text);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            sections_.push_back(Section{Trim(trimmed.substr(1, trimmed.size() - 2)), {}});
            continue;
        }
        Line line;
        line.raw = text;
        std::size_t eq = trimmed.find('=');
        if (eq != std::string::npos && eq > 0 && trimmed[0] != ';' && trimmed[0] != '#') {
            line.isEntry = true;
            line.key = Trim(trimmed.substr(0, eq));
            line.value = DecodeValue(trimmed.substr(eq + 1));
        }
        sections_.back().lines.push_back(std::move(line));
    }
}

std::size_t IniFile::FindSection(const std::string& name) const
{
    for (std::size_t i = 1; i < sections_.size(); ++i)
        if (SameName(sections_[i].name, name)) return i;
    return 0;
}

const IniFile::Line* IniFile::Find(const std::string& section, const std::string& key) const
{
    if (std::size_t i = FindSection(section))
        for (const Line& line : sections_[i].lines)
            if (line.isEntry && SameName(line.key, key)) return &line;
    return nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    const Line* line = Find(section, key);
    return line ? line->value : defaultValue;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    const Line* line = Find(section, key);
    if (!line) return defaultValue;
    const std::string& v = line->value;
    const char* first = v.data();
    const char* last = v.data() + v.size();
    if (first != last && *first == '+') ++first;
    int value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    return (ec == std::errc() && end == last && first != last) ? value : defaultValue;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    std::size_t index = FindSection(section);
    if (index == 0) {
        sections_.push_back(Section{section, {}});
        index = sections_.size() - 1;
    }
    Section* s = &sections_[index];
    std::string stored = DecodeValue(EncodeValue(value));
    for (Line& line : s->lines)
        if (line.isEntry && SameName(line.key, key)) {
            line.value = stored;
            line.written = true;
            return;
        }
    // New keys go after the section's last entry, ahead of trailing blank lines.
    auto at = s->lines.end();
    while (at != s->lines.begin() && !std::prev(at)->isEntry && Trim(std::prev(at)->raw).empty()) --at;
    Line line;
    line.isEntry = true;
    line.written = true;
    line.key = key;
    line.value = stored;
    s->lines.insert(at, std::move(line));
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

bool IniFile::Save(std::string* error) const
{
    if (!readProblem_.empty()) {
        if (error) *error = "Cannot write \"" + path_.string() + "\": it was not read, " + readProblem_;
        return false;
    }
    std::ostringstream out;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0) out << '[' << sections_[i].name << "]\n";
        for (const Line& line : sections_[i].lines)
            out << (line.written ? line.key + "=" + EncodeValue(line.value) : line.raw) << '\n';
    }
    const std::string text = out.str();
    return WriteFileSafely(path_, text.data(), text.size(), error);
}

} // namespace platform
