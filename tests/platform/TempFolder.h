// A fresh folder under the system's temporary folder, removed with everything in it at the end.
// Names and paths are UTF-8 texts, as everywhere in Quor.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Platform.h"

#if defined(_WIN32)
#include <windows.h>
#endif

class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root_ = std::filesystem::temp_directory_path() /
                ("quor-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(root_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // A UTF-8 text as a file-system path, and a path as UTF-8 text.
    static std::filesystem::path native(const std::string& text) {
        return std::u8string(text.begin(), text.end());
    }
    static std::string text(const std::filesystem::path& path) {
        const std::u8string utf8 = path.u8string();
        return std::string(utf8.begin(), utf8.end());
    }

    // The folder, ending in the platform separator.
    std::string path() const { return text(root_) + platform::kPathSeparator; }
    std::string file(const std::string& name) const { return path() + name; }
    // Creates the folder `name` (with any missing folders above it) and answers its path, ending
    // in the platform separator.
    std::string folder(const std::string& name) const {
        std::filesystem::create_directories(root_ / native(name));
        return file(name) + platform::kPathSeparator;
    }
    // Writes `bytes` to `name` inside the folder and answers the file's full path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(root_ / native(name), std::ios::binary);
        out << bytes;
        return file(name);
    }
    // Makes an entry hidden the platform's way: a leading dot elsewhere, an attribute on Windows
    // (where `name` should not begin with a dot). Answers the entry's full path.
    std::string hide(const std::string& name) const {
#if defined(_WIN32)
        SetFileAttributesW((root_ / native(name)).c_str(), FILE_ATTRIBUTE_HIDDEN);
        return file(name);
#else
        std::filesystem::rename(root_ / name, root_ / ("." + name));
        return file("." + name);
#endif
    }
    std::string read(const std::string& name) const {
        std::ifstream in(root_ / native(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path root_;
};
