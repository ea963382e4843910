// A file-size limit for this process while the object lives: a write past it fails with EFBIG
// instead of ending the process, as a full disk would refuse it.
#pragma once

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &was);
        wasHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = was;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &was);
        std::signal(SIGXFSZ, wasHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    rlimit was{};
    void (*wasHandler)(int) = nullptr;
};
