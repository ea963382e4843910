// One filled catalogue shared by the table tests (filling it is what InitNameTables does at start).
#pragma once

#include "tables/NameTables.h"

#include <memory>
#include <string>

inline const TNameTables& Catalogue()
{
    static const std::unique_ptr<TNameTables> tables = [] {
        auto filled = std::make_unique<TNameTables>();
        InitNameTables(*filled);
        return filled;
    }();
    return *tables;
}

// Joins text(first) .. text(last) with blanks, so a whole list compares in one assertion.
template <typename TextAt>
std::string JoinTexts(int first, int last, TextAt text)
{
    std::string joined;
    for (int i = first; i <= last; ++i) {
        if (i > first) joined += ' ';
        joined += text(i);
    }
    return joined;
}
