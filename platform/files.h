// Files and directories with the semantics the game was written for: a process
// current directory, bare file names resolved without regard to letter case,
// and "*.EXT" patterns matched without regard to case.
#pragma once
#include <cstddef>
#include <cstdio>

bool platformGetCurrentDirectory(char* buffer, size_t size);
bool platformSetCurrentDirectory(const char* path);

// Opens a file by name in the current directory (or by a path whose last
// component is resolved the same way). For reading, an existing file whose
// name matches without regard to case is opened; for writing, such a file is
// replaced, else a file of exactly that name is created. Mode as for fopen.
// Only regular files are opened; an empty name opens nothing.
FILE* platformOpenFile(const char* name, const char* mode);
// Size of an open file in bytes, or -1.
long platformFileSize(FILE* file);

// Calls found(name, context) for every regular file of the current directory
// whose name matches pattern ("*.EXT", "*", or an exact name), without regard to
// case, in ascending order of the names compared without case. Returns the count.
typedef void (*FileFoundFunction)(const char* name, void* context);
int platformFindFiles(const char* pattern, FileFoundFunction found, void* context);

// Resolves name in directory like platformOpenFile and writes the path of the
// existing file (or, when there is none, of the file a write would create).
// True only when an existing regular file was found; output is empty when the
// path does not fit. Safe to call from any thread.
bool platformResolvePath(const char* directory, const char* name, char* output, size_t size);

// Safe replacement of a whole file: the bytes go to a temporary file in the
// directory of `name` (resolved like platformOpenFile for writing), which is
// flushed, synced and renamed over the old file only when all was written. On
// any failure the temporary file is removed, the old file stays as it was and
// false is returned. A replaced file keeps its permissions.
bool platformReplaceFile(const char* name, const void* bytes, size_t size);

// The text of a file assembled in memory before platformReplaceFile writes it:
// printf formats appended to a fixed buffer. Text that does not fit sets
// overflow (and is not kept); the buffer always stays zero-terminated.
struct PlatformText {
    char* bytes;
    size_t capacity;
    size_t length;
    bool overflow;
};
void platformStartText(PlatformText* text, char* buffer, size_t capacity);
void platformPrintText(PlatformText* text, const char* format, ...) __attribute__((format(printf, 2, 3)));
