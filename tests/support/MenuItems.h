// The menu item of that name anywhere below `parent` (the main window's items have no owner, so
// FindComponent does not reach them).
#pragma once

#include "ui/Menus.h"

#include <string>

inline TMenuItem* FindMenuItem(TMenuItem* parent, const std::string& name)
{
    for (int i = 0; i < parent->Count(); ++i) {
        if (parent->Items(i)->Name == name) return parent->Items(i);
        if (TMenuItem* found = FindMenuItem(parent->Items(i), name)) return found;
    }
    return nullptr;
}
