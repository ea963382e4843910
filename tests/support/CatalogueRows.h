// The instrument's tables as the tests hold them, written out as data files in tests/tables/data
// (every suite is told the folder as QM_TABLES_DATA): one row a line, cells separated by tabs,
// lines starting with '#' are comments.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

using CatalogueRow = std::vector<std::string>;

inline std::vector<std::string> SplitCells(const std::string& line, char by)
{
    // Every separator starts a cell, so an empty last cell counts too.
    std::vector<std::string> cells(1);
    for (char c : line) {
        if (c == by)
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

inline std::vector<CatalogueRow> CatalogueRows(const std::string& name)
{
    std::ifstream in(std::string(QM_TABLES_DATA) + "/" + name);
    EXPECT_TRUE(in) << name;
    std::vector<CatalogueRow> rows;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') rows.push_back(SplitCells(line, '\t'));
    return rows;
}

// The short names of the MIDI controllers 1..95 as the instrument's lists show them after the
// number (controller_names.tsv); a controller the table does not name shows "-------".
inline std::map<int, std::string> ControllerNames()
{
    std::map<int, std::string> names;
    for (int number = 1; number <= 95; ++number) names[number] = "-------";
    for (const CatalogueRow& r : CatalogueRows("controller_names.tsv")) names[std::stoi(r[0])] = r[1];
    return names;
}

// An item of the instrument's controller lists: the number in two digits, a colon and its short
// name ("01:MW", "31:-------"); empty for a number no list holds (32, or outside 1..95).
inline std::string ControllerItemText(int number)
{
    static const std::map<int, std::string> names = ControllerNames();
    if (number == 32 || !names.count(number)) return {};
    return (number < 10 ? "0" : "") + std::to_string(number) + ":" + names.at(number);
}

// The number an item's text starts with ("31:-------" 31, "064 Pf:..." 64, "05" 5): its leading
// digits, three at most; -1 where it starts with none.
inline int LeadingNumber(const std::string& text)
{
    std::size_t n = 0;
    while (n < text.size() && n < 3 && text[n] >= '0' && text[n] <= '9') ++n;
    return n == 0 ? -1 : std::stoi(text.substr(0, n));
}

// The controllers a controller list holds, each once: 1..31 and 33..95.
inline std::set<int> EveryListedController()
{
    std::set<int> numbers;
    for (int n = 1; n <= 95; ++n)
        if (n != 32) numbers.insert(n);
    return numbers;
}

// The controller an item of a controller list stands for, the number its text starts with; the
// text checked against the instrument's name for that number.
inline int ControllerOfItem(const std::string& text)
{
    const int number = LeadingNumber(text);
    EXPECT_EQ(text, ControllerItemText(number));
    return number;
}
