// A throw-away start directory for tests of the file readers and writers: made
// under the system's temporary directory, made current, with the data
// directories formed below it; removed again, and the previous current
// directory restored, when the test ends.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/directories.h"

class TempStartDirectory {
public:
    // The data directories are created with the names given (any letter case);
    // pass false to leave them out.
    explicit TempStartDirectory(bool withDataDirectories = true) {
        char previousPath[4096];
        previous_ = getcwd(previousPath, sizeof previousPath) ? previousPath : "/";
        char pattern[] = "/tmp/mj-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        path_ = made ? made : "/tmp";
        if (chdir(path_.c_str()) != 0) path_.clear();
        makeDataDirectories();
        if (withDataDirectories) {
            for (const char* name : {"TILESETS", "LANGUAGE", "LAYOUTS", "SOUNDS", "SCORES", "SAVEGAME", "BACKGRND"}) {
                makeDirectory(name);
            }
        }
    }
    ~TempStartDirectory() {
        if (chdir(previous_.c_str()) != 0) {
            // Nothing sensible to do; the next test makes its own directory current.
        }
        std::error_code ignored;
        if (path_.rfind("/tmp/mj-test-", 0) == 0) std::filesystem::remove_all(path_, ignored);
    }
    TempStartDirectory(const TempStartDirectory&) = delete;
    TempStartDirectory& operator=(const TempStartDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }

    void makeDirectory(const std::string& relative) const {
        std::error_code ignored;
        std::filesystem::create_directories(file(relative), ignored);
    }
    void write(const std::string& relative, const std::string& content) const {
        std::ofstream out(file(relative), std::ios::binary | std::ios::trunc);
        out << content;
    }
    std::string read(const std::string& relative) const {
        std::ifstream in(file(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string& relative) const { return std::filesystem::exists(file(relative)); }
    void remove(const std::string& relative) const {
        std::error_code ignored;
        std::filesystem::remove_all(file(relative), ignored);
    }
    // Number of entries of a directory (to see that a writer replaced a file
    // instead of creating a second one).
    int entryCount(const std::string& relative) const {
        int count = 0;
        std::error_code ignored;
        for (auto it = std::filesystem::directory_iterator(file(relative), ignored);
             it != std::filesystem::directory_iterator(); ++it) {
            ++count;
        }
        return count;
    }

private:
    std::string previous_;
    std::string path_;
};
