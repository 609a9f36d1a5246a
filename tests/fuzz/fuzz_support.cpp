#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/file_calls.h"
#include "settings/directories.h"

namespace {

std::string startPath;

void removeStartDirectory() {
    std::error_code ignored;
    if (!startPath.empty()) std::filesystem::remove_all(startPath, ignored);
}

}  // namespace

void fuzzStartDirectory() {
    if (startPath.empty()) {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/mj-fuzz-XXXXXX";
        FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        startPath = pattern;
        std::atexit(removeStartDirectory);
        for (const char* name : {"TILESETS", "LANGUAGE", "LAYOUTS", "SOUNDS", "SCORES", "SAVEGAME", "BACKGRND"}) {
            std::filesystem::create_directory(startPath + "/" + name);
        }
        platformFileCalls.sync = [](int) { return 0; };
    }
    FUZZ_CHECK(chdir(startPath.c_str()) == 0);
    makeDataDirectories();
}

void fuzzWriteFile(const char* relative, const uint8_t* data, size_t size) {
    const std::string path = startPath + "/" + relative;
    FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
}

void fuzzWriteText(const char* relative, const char* text) {
    fuzzWriteFile(relative, reinterpret_cast<const uint8_t*>(text), std::strlen(text));
}

bool fuzzTerminated(const char* text, size_t size) { return std::memchr(text, 0, size) != nullptr; }
