// POSIX files and directories. Names on disk may be in any letter case while the
// game holds them in upper case, so a name that does not exist as spelled is
// looked up without regard to case, one path component at a time.
//
// Nothing here keeps state between calls and nothing changes the current
// directory except platformSetCurrentDirectory, so the automatic-play thread
// may resolve and open files by full path while the interface thread works.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file_calls.h"

const PlatformFileCalls platformSystemFileCalls = {::write, ::fsync, ::rename};
PlatformFileCalls platformFileCalls = platformSystemFileCalls;

namespace {

enum EntryKind { AnyEntry, RegularEntry, DirectoryEntry };

bool hasKind(const std::string& path, EntryKind kind) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return false;
    if (kind == RegularEntry) return S_ISREG(info.st_mode);
    if (kind == DirectoryEntry) return S_ISDIR(info.st_mode);
    return true;
}

std::string joinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory == ".") return name;
    if (directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

// Finds `name` in `directory` ("" or "." for the current one): the exact
// spelling first, else the first entry of that kind equal without case in
// ascending case-insensitive order, so the choice never depends on the order
// the file system lists its entries in.
bool findEntry(const std::string& directory, const std::string& name, EntryKind kind, std::string& path) {
    if (name.empty()) return false;
    std::string exact = joinPath(directory, name);
    if (hasKind(exact, kind)) {
        path = exact;
        return true;
    }
    if (name == "." || name == "..") return false;
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return false;
    std::string best;
    bool found = false;
    while (struct dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) != 0) continue;
        std::string candidate = joinPath(directory, entry->d_name);
        if (!hasKind(candidate, kind)) continue;
        if (!found || strcmp(entry->d_name, best.c_str()) < 0) {
            best = entry->d_name;
            found = true;
        }
    }
    closedir(dir);
    if (found) path = joinPath(directory, best);
    return found;
}

// Resolves every component of a directory path without regard to case.
bool resolveDirectory(const std::string& directory, std::string& resolved) {
    if (directory.empty()) {
        resolved = ".";
        return true;
    }
    if (hasKind(directory, DirectoryEntry)) {
        resolved = directory;
        return true;
    }
    std::string current = directory[0] == '/' ? "/" : ".";
    size_t position = 0;
    while (position < directory.size()) {
        size_t end = directory.find('/', position);
        if (end == std::string::npos) end = directory.size();
        std::string component = directory.substr(position, end - position);
        position = end + 1;
        if (component.empty() || component == ".") continue;
        std::string next;
        if (component == "..") {
            next = joinPath(current, component);
            if (!hasKind(next, DirectoryEntry)) return false;
        } else if (!findEntry(current, component, DirectoryEntry, next)) {
            return false;
        }
        current = next;
    }
    resolved = current;
    return true;
}

// Splits a name or path into the directory part and the last component.
void splitPath(const char* name, std::string& directory, std::string& base) {
    const char* slash = strrchr(name, '/');
    if (!slash) {
        directory.clear();
        base = name;
    } else if (slash == name) {
        directory = "/";
        base = slash + 1;
    } else {
        directory.assign(name, slash - name);
        base = slash + 1;
    }
}

// The existing regular file `name` stands for, or its exact spelling (inside a
// resolved directory) when there is none. False when the directory is missing.
bool resolveFile(const std::string& directory, const std::string& base, std::string& path, bool* exists) {
    std::string resolvedDirectory;
    *exists = false;
    if (base.empty() || !resolveDirectory(directory, resolvedDirectory)) return false;
    if (findEntry(resolvedDirectory, base, RegularEntry, path)) {
        *exists = true;
        return true;
    }
    path = joinPath(resolvedDirectory, base);
    return true;
}

// Case-insensitive match of a "*" / "?" pattern against a name.
bool matchPattern(const char* pattern, const char* name) {
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        char p = *pattern;
        if (p == '*') {
            starPattern = ++pattern;
            starName = name;
            continue;
        }
        unsigned char a = static_cast<unsigned char>(p);
        unsigned char b = static_cast<unsigned char>(*name);
        if (a >= 'a' && a <= 'z') a = a - 'a' + 'A';
        if (b >= 'a' && b <= 'z') b = b - 'a' + 'A';
        if (p != 0 && (p == '?' || a == b)) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == 0;
}

bool caseInsensitiveLess(const std::string& a, const std::string& b) {
    int order = strcasecmp(a.c_str(), b.c_str());
    if (order != 0) return order < 0;
    return strcmp(a.c_str(), b.c_str()) < 0;
}

}  // namespace

bool platformGetCurrentDirectory(char* buffer, size_t size) {
    if (!buffer || size == 0) return false;
    if (getcwd(buffer, size) == nullptr) {
        buffer[0] = 0;
        return false;
    }
    return true;
}

bool platformSetCurrentDirectory(const char* path) {
    if (!path || !path[0]) return false;
    if (chdir(path) == 0) return true;
    std::string resolved;
    if (!resolveDirectory(path, resolved)) return false;
    return chdir(resolved.c_str()) == 0;
}

FILE* platformOpenFile(const char* name, const char* mode) {
    if (!name || !name[0] || !mode) return nullptr;
    std::string directory, base, path;
    splitPath(name, directory, base);
    bool exists = false;
    if (!resolveFile(directory, base, path, &exists)) return nullptr;
    bool reading = mode[0] == 'r' && !strchr(mode, '+');
    if (reading && !exists) return nullptr;
    FILE* file = fopen(path.c_str(), mode);
    if (!file) return nullptr;
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        fclose(file);
        return nullptr;
    }
    return file;
}

long platformFileSize(FILE* file) {
    if (!file) return -1;
    if (fflush(file) != 0) return -1;
    struct stat info;
    if (fstat(fileno(file), &info) != 0) return -1;
    return static_cast<long>(info.st_size);
}

int platformFindFiles(const char* pattern, FileFoundFunction found, void* context) {
    if (!pattern) return 0;
    DIR* dir = opendir(".");
    if (!dir) return 0;
    std::vector<std::string> names;
    while (struct dirent* entry = readdir(dir)) {
        if (!matchPattern(pattern, entry->d_name)) continue;
        if (!hasKind(entry->d_name, RegularEntry)) continue;
        names.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end(), caseInsensitiveLess);
    if (found) {
        for (const std::string& name : names) found(name.c_str(), context);
    }
    return static_cast<int>(names.size());
}

bool platformResolvePath(const char* directory, const char* name, char* output, size_t size) {
    if (!output || size == 0) return false;
    output[0] = 0;
    if (!directory || !name || !name[0]) return false;
    std::string nameDirectory, base, path;
    splitPath(name, nameDirectory, base);
    std::string fullDirectory = nameDirectory.empty() ? std::string(directory)
                                : nameDirectory[0] == '/' ? nameDirectory
                                : joinPath(directory, nameDirectory);
    bool exists = false;
    if (!resolveFile(fullDirectory, base, path, &exists)) {
        path = joinPath(fullDirectory, base);
    }
    if (path.size() + 1 > size) return false;
    memcpy(output, path.c_str(), path.size() + 1);
    return exists;
}

namespace {

// Writes all of bytes; false on the first error (or a write that makes no progress).
bool writeAll(int descriptor, const void* bytes, size_t size) {
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        ssize_t written = platformFileCalls.write(descriptor, next, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        next += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Creates a new, empty temporary file beside `target`: hidden, and with a
// suffix no file pattern of the game matches, so that a file left behind by a
// killed program never shows in a menu.
int createTemporary(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    std::string directory, base;
    splitPath(target.c_str(), directory, base);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        snprintf(suffix, sizeof suffix, ".%ld-%u~", static_cast<long>(getpid()), counter++);
        // Cut so that the temporary name stays within the limit of a file name.
        temporary = joinPath(directory, "." + base.substr(0, 200) + suffix);
        int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// Asks the directory to record the rename; a failure here loses nothing that
// was not already written, so it is not reported.
void syncDirectory(const std::string& target) {
    std::string directory, base;
    splitPath(target.c_str(), directory, base);
    int descriptor = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    platformFileCalls.sync(descriptor);
    close(descriptor);
}

}  // namespace

bool platformReplaceFile(const char* name, const void* bytes, size_t size) {
    if (!name || !name[0] || (!bytes && size > 0)) return false;
    std::string directory, base, target;
    splitPath(name, directory, base);
    bool exists = false;
    if (!resolveFile(directory, base, target, &exists)) return false;
    struct stat old;
    if (exists) {
        // A link is followed, so that the file it names is the one replaced.
        char real[PATH_MAX];
        if (realpath(target.c_str(), real)) target = real;
        if (stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return false;
    }

    std::string temporary;
    int descriptor = createTemporary(target, temporary);
    if (descriptor < 0) return false;
    // The old file's permissions, where the file system keeps any.
    if (exists) (void)fchmod(descriptor, old.st_mode & 07777);
    bool done = writeAll(descriptor, bytes, size);
    if (done) done = platformFileCalls.sync(descriptor) == 0;
    if (close(descriptor) != 0) done = false;
    if (done) done = platformFileCalls.rename(temporary.c_str(), target.c_str()) == 0;
    if (!done) {
        unlink(temporary.c_str());
        return false;
    }
    syncDirectory(target);
    return true;
}

void platformStartText(PlatformText* text, char* buffer, size_t capacity) {
    text->bytes = buffer;
    text->capacity = capacity;
    text->length = 0;
    text->overflow = capacity == 0;
    if (capacity > 0) buffer[0] = 0;
}

void platformPrintText(PlatformText* text, const char* format, ...) {
    if (text->overflow) return;
    const size_t room = text->capacity - text->length;
    va_list arguments;
    va_start(arguments, format);
    const int length = vsnprintf(text->bytes + text->length, room, format, arguments);
    va_end(arguments);
    if (length < 0 || static_cast<size_t>(length) >= room) {
        text->overflow = true;
        text->bytes[text->length] = 0;
        return;
    }
    text->length += static_cast<size_t>(length);
}
