#ifndef FILESIZELIMIT_H
#define FILESIZELIMIT_H

#include <csignal>
#include <sys/resource.h>

// Makes every write beyond `bytes` in a file fail (as on a full disk) for
// its lifetime: the one way to make a write fail midway that works for root
// too. SIGXFSZ is ignored so that the write fails with EFBIG instead.
struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes) : handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit limited{bytes, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous); std::signal(SIGXFSZ, handler); }
    FileSizeLimit(const FileSizeLimit &) = delete;

    void (*handler)(int);
    rlimit previous{};
};

#endif // FILESIZELIMIT_H
