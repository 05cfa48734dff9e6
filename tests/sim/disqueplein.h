#pragma once
// While it lives, no file of this process may grow (a full disk): writes
// fail with EFBIG instead of raising SIGXFSZ.

#include <csignal>
#include <sys/resource.h>

struct DisquePlein {
    rlimit avant{};
    void (*signalAvant)(int) = nullptr;
    DisquePlein()
    {
        signalAvant = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &avant);
        rlimit zero = avant;
        zero.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &zero);
    }
    ~DisquePlein()
    {
        setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, signalAvant);
    }
    DisquePlein(const DisquePlein&) = delete;
    DisquePlein& operator=(const DisquePlein&) = delete;
};
