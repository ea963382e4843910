// Single-instance lock and opening links.

#include "TempFolder.h"
#include "platform/OpenUrl.h"
#include "platform/SingleInstance.h"
#include "tests/support/Patience.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        had_ = std::getenv(name) != nullptr;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

} // namespace

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilTheFirstEnds)
{
    TempFolder dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().string());
    {
        platform::SingleInstanceLock first;
        EXPECT_TRUE(first.Held());
        EXPECT_EQ(first.LockFile(), dir / "Quillmarven.lock");
        platform::SingleInstanceLock second;
        EXPECT_FALSE(second.Held());
        platform::SingleInstanceLock otherName("Other");
        EXPECT_TRUE(otherName.Held());
    }
    platform::SingleInstanceLock afterwards;
    EXPECT_TRUE(afterwards.Held());
}

TEST(OpenUrl, PassesTheLinkToXdgOpenUntouchedByAnyShell)
{
    TempFolder dir;
    const auto out = dir / "argument";
    const auto fake = dir / "xdg-open";
    WriteText(
        fake,
        "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$#\" > \"$QM_URL_OUT.tmp\"\nmv \"$QM_URL_OUT.tmp\" \"$QM_URL_OUT\"\n");
    ::chmod(fake.c_str(), 0755);
    ScopedEnv path("PATH", dir.Path().string() + ":" + std::getenv("PATH"));
    ScopedEnv target("QM_URL_OUT", out.string());

    const std::string url = "https://example.invalid/a b?x=1&y=$(touch pwned);`id`";
    ASSERT_TRUE(platform::OpenUrl(url));
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(out); }))
        << "the opener was not run with the address within " << Patience.count() << " ms";
    EXPECT_EQ(ReadText(out), url + "|1");
    EXPECT_FALSE(std::filesystem::exists("pwned"));

    EXPECT_FALSE(platform::OpenUrl(""));
    EXPECT_FALSE(platform::OpenUrl("--help"));
}
