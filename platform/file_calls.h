// The system calls through which platformReplaceFile writes, sends its data to
// the disk and renames the new file into place. The game never changes them;
// a test replaces an entry to inject an I/O error (a disk that fills up after
// the first bytes, a failing sync or rename) and puts the system's call back.
#pragma once
#include <sys/types.h>

#include <cstddef>

struct PlatformFileCalls {
    ssize_t (*write)(int descriptor, const void* bytes, size_t size);
    int (*sync)(int descriptor);
    int (*rename)(const char* from, const char* to);
};

extern PlatformFileCalls platformFileCalls;
// The calls of the system, to restore platformFileCalls after a test.
extern const PlatformFileCalls platformSystemFileCalls;
