#pragma once
// Links of the About window open in the user's browser or mail program.

#include <string>

namespace platform {

// Hands `url` to xdg-open, started directly (no shell) in its own session and not waited for.
// False when it could not be started, or when `url` is empty or begins with '-' (which
// xdg-open would take as an option).
bool OpenUrl(const std::string& url);

} // namespace platform
