// Shared set-up of the fuzz harnesses: a throw-away start directory with the
// seven data directories and a minimal set of data files, file writing, and
// the check that stops a run when an invariant fails.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Aborts (so that libFuzzer records the input) when an invariant does not hold.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, \
                         #condition);                                                  \
            std::abort();                                                              \
        }                                                                              \
    } while (0)

// Makes the start directory (once per process, removed at exit), makes it
// current and forms the data directories. Syncing is switched off: the
// harnesses write thousands of files a second and none needs to survive.
void fuzzStartDirectory();
// Writes bytes to a file given relative to the start directory.
void fuzzWriteFile(const char* relative, const uint8_t* data, size_t size);
void fuzzWriteText(const char* relative, const char* text);
// True when text is zero-terminated within size bytes.
bool fuzzTerminated(const char* text, size_t size);
