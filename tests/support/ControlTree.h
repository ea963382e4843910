// Walks through a window's parent tree: every control below a root, whoever owns it.
#pragma once

#include "ui/UI.h"

#include <functional>
#include <string>
#include <vector>

// `c` and every control below it, parents before their children.
inline void Walk(TControl* c, const std::function<void(TControl*)>& visit)
{
    visit(c);
    if (auto* w = dynamic_cast<TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i) Walk(w->Controls(i), visit);
}

// Every control below `c`, parents before their children.
inline std::vector<TControl*> ControlsUnder(TControl* c)
{
    std::vector<TControl*> out;
    Walk(c, [&](TControl* x) {
        if (x != c) out.push_back(x);
    });
    return out;
}

// The first control of that name at or below `root`, or null.
inline TControl* Named(TControl* root, const std::string& name)
{
    TControl* found = nullptr;
    Walk(root, [&](TControl* c) {
        if (!found && c->Name == name) found = c;
    });
    return found;
}
