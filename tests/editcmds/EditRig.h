// The main window headless and shown, its output open: what it sends reaches the simulated
// instrument and is recorded.
#pragma once

#include "tests/support/WindowRig.h"

class EditRig : public WindowRig {
protected:
    EditRig() : WindowRig({.open = Ports::Output, .shown = true}) {}
};

inline const std::string WriteFailure =
    "Can't perform one of the following file operations: Write. This file is used by other application! ";
