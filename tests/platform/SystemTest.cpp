#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

// Polls `done` until it holds; the bound only guards against a hang.
bool eventually(const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::yield();
    }
    return true;
}

TEST(System, ModulePathNamesThisProgram) {
    char path[1024];
    ASSERT_TRUE(platform::modulePath(path, sizeof path));
    EXPECT_TRUE(platform::isAbsolutePath(path));
    EXPECT_TRUE(platform::pathExists(path));
    EXPECT_NE(std::string(path).find("quor_platform_tests"), std::string::npos) << path;
    EXPECT_FALSE(platform::modulePath(path, 3));
}

TEST(System, LibrariesAndSymbolsOrNullWithAReason) {
    const bool windows = platform::kPathSeparator == '\\';
    void* library = platform::loadLibrary(windows ? "kernel32.dll" : "libc.so.6", nullptr, 0);
    ASSERT_NE(library, nullptr);
    EXPECT_NE(platform::librarySymbol(library, windows ? "GetTickCount" : "strlen"), nullptr);
    EXPECT_EQ(platform::librarySymbol(library, "quorNoSuchSymbol"), nullptr);
    platform::unloadLibrary(library);

    TempFolder temp;
    char reason[256] = "";
    EXPECT_EQ(platform::loadLibrary(temp.file("absent.lib").c_str(), reason, sizeof reason),
              nullptr);
    EXPECT_NE(reason[0], '\0');
    EXPECT_EQ(platform::librarySymbol(nullptr, "x"), nullptr);
}

TEST(System, TicksAdvanceAndSleepsLastAtLeastTheirTime) {
    const std::uint32_t start = platform::tickCount();
    std::uint32_t now = start;
    EXPECT_TRUE(eventually([&] { return (now = platform::tickCount()) != start; }));
    EXPECT_LT(now - start, 0x80000000u) << "went backwards";  // wrap-safe difference
    // At least the time asked for, less two steps of a counter that may step by up to 16 ms. A
    // loaded machine may wake the sleeper much later, so there is no upper bound.
    const std::uint32_t before = platform::tickCount();
    platform::sleepMs(100);
    EXPECT_GE(platform::tickCount() - before, 68u);
}

TEST(System, ProcessorFeatures) {
    // Every 64-bit x86 processor has an FPU and SSE2.
    const platform::CpuFeatures features = platform::cpuFeatures();
    EXPECT_TRUE(features.fpu);
    EXPECT_TRUE(features.sse2);
}

// The configuration folder is created under XDG_CONFIG_HOME where that applies; where messages go
// to a log instead of a box, the log lies in that folder.
TEST(System, ConfigurationFolderIsCreatedAndHoldsTheLog) {
    TempFolder temp;
    static std::string setting;
    setting = "XDG_CONFIG_HOME=" + temp.path();
    putenv(setting.data());
    char folder[1024], log[1024];
    const bool found = platform::userConfigDirectory(folder, sizeof folder);
    const bool logged = platform::logFilePath(log, sizeof log);
    if (logged) {
        platform::showMessage("first line", "Quor");
        platform::showMessage("second", nullptr);
    }
    static char unset[] = "XDG_CONFIG_HOME";
    putenv(unset);
    ASSERT_TRUE(found);
    const std::string text = folder;
    EXPECT_TRUE(platform::isDirectory(folder));
    EXPECT_EQ(text.substr(text.size() - 5), std::string("Quor") + platform::kPathSeparator);
    EXPECT_FALSE(platform::userConfigDirectory(folder, 4));
    if (!logged) return;  // this platform shows messages in a box
    EXPECT_EQ(text, temp.path() + "Quor/");
    EXPECT_EQ(std::string(log), temp.path() + "Quor/quor.log");
    EXPECT_EQ(temp.read("Quor/quor.log"), "Quor: first line\nError: second\n");
}

TEST(System, DocumentsOpenWithoutAShell) {
    if (platform::kPathSeparator == '\\') {
        GTEST_SKIP() << "the Windows shell would start real programs";
    }
    // A stand-in for the desktop's opener that records the argument it was given.
    TempFolder temp;
    temp.write("xdg-open",
               "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
    std::filesystem::permissions(temp.file("xdg-open"), std::filesystem::perms::owner_all);
    static std::string path;
    const char* oldPath = std::getenv("PATH");
    const std::string restore = std::string("PATH=") + (oldPath ? oldPath : "");
    path = "PATH=" + temp.path() + ":" + (oldPath ? oldPath : "");
    putenv(path.data());
    const char* tricky = "/docs/My Manual; rm -rf x $(y).pdf";
    const bool started = platform::openDocument(tricky);
    static std::string back;
    back = restore;
    putenv(back.data());
    ASSERT_TRUE(started);
    EXPECT_TRUE(
        eventually([&] { return platform::pathExists(temp.file("xdg-open.out").c_str()); }));
    EXPECT_EQ(temp.read("xdg-open.out"), tricky);
    EXPECT_FALSE(platform::openAddress(""));
}

}  // namespace
