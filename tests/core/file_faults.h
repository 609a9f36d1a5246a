// I/O errors injected into safe replacement through the file layer's table of
// system calls; the system's calls come back when the fault goes out of scope.
#pragma once
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "platform/file_calls.h"

class FileFault {
public:
    enum Kind { DiskFullAfter, SyncFails, RenameFails };
    // DiskFullAfter: the first `bytes` bytes are written, every later write
    // fails as on a full disk.
    explicit FileFault(Kind kind, size_t bytes = 0) {
        allowed() = bytes;
        if (kind == DiskFullAfter) platformFileCalls.write = fullDisk;
        if (kind == SyncFails) platformFileCalls.sync = [](int) { return errno = EIO, -1; };
        if (kind == RenameFails) platformFileCalls.rename = [](const char*, const char*) { return errno = EXDEV, -1; };
    }
    ~FileFault() { platformFileCalls = platformSystemFileCalls; }
    FileFault(const FileFault&) = delete;
    FileFault& operator=(const FileFault&) = delete;

private:
    static size_t& allowed() {
        static size_t bytes = 0;
        return bytes;
    }
    static ssize_t fullDisk(int descriptor, const void* data, size_t size) {
        if (allowed() == 0) return errno = ENOSPC, -1;
        if (size > allowed()) size = allowed();
        allowed() -= size;
        return ::write(descriptor, data, size);
    }
};
