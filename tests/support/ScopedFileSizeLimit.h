#pragma once

#include <csignal>
#include <sys/resource.h>

// Makes every file write past `bytes` fail, as on a full disk, for the life
// of a scope. Works for root too, whom permissions do not stop.
struct ScopedFileSizeLimit {
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit { bytes, previous.rlim_max };
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous); }
    rlimit previous {};
};
