// The main window headless and shown, its output open: what it sends reaches the simulated
// instrument and is recorded.
#pragma once

#include "tests/support/WindowRig.h"

class EditRig : public WindowRig {
protected:
    EditRig() : WindowRig({.open = Ports::Output, .shown = true}) {}
};

// The checksum makes bytes 4 .. length - 2 sum to a multiple of 128.
inline bool ChecksumHolds(const Bytes& dump)
{
    unsigned sum = 0;
    for (std::size_t i = 4; i + 1 < dump.size(); ++i) sum += dump[i];
    return dump.size() > 11 && sum % 128 == 0;
}

inline const std::string WriteFailure =
    "Can't perform one of the following file operations: Write. This file is used by other application! ";
