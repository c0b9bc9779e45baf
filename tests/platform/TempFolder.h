// A fresh folder under the system's temporary folder, removed with everything in it at the end.
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

    // The folder, ending in the platform separator.
    std::string path() const { return root_.string() + platform::kPathSeparator; }
    std::string file(const std::string& name) const { return path() + name; }
    // Writes `bytes` to `name` inside the folder and answers the file's full path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(root_ / name, std::ios::binary);
        out << bytes;
        return file(name);
    }
    // Makes an entry hidden the platform's way: a leading dot elsewhere, an attribute on Windows
    // (where `name` should not begin with a dot). Answers the entry's full path.
    std::string hide(const std::string& name) const {
#if defined(_WIN32)
        SetFileAttributesA(file(name).c_str(), FILE_ATTRIBUTE_HIDDEN);
        return file(name);
#else
        std::filesystem::rename(root_ / name, root_ / ("." + name));
        return file("." + name);
#endif
    }
    std::string read(const std::string& name) const {
        std::ifstream in(root_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path root_;
};
