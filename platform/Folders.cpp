#include "platform/Folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

fs::path ProgramFile()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe;
}

fs::path ProgramFolder() { return ProgramFile().parent_path(); }

static fs::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return fs::temp_directory_path();
}

fs::path SettingsFolder()
{
    fs::path base;
    // Relative values are invalid by the XDG rules and must be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        base = xdg;
    else
        base = HomeFolder() / ".config";
    fs::path folder = base / "Quillmarven";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

} // namespace platform
