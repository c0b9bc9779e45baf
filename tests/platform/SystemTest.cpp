#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

TEST(System, ModulePathNamesThisProgram) {
    char path[1024];
    ASSERT_TRUE(platform::modulePath(path, sizeof path));
    EXPECT_TRUE(platform::isAbsolutePath(path));
    EXPECT_TRUE(platform::pathExists(path));
    EXPECT_NE(std::string(path).find("quor_platform_tests"), std::string::npos) << path;
    EXPECT_FALSE(platform::modulePath(path, 3));
}

TEST(System, MissingLibraryAnswersNullWithAReason) {
    TempFolder temp;
    char reason[256] = "";
    EXPECT_EQ(platform::loadLibrary(temp.file("absent.lib").c_str(), reason, sizeof reason),
              nullptr);
    EXPECT_NE(reason[0], '\0');
    EXPECT_EQ(platform::librarySymbol(nullptr, "x"), nullptr);
}

TEST(System, TicksMoveForward) {
    std::uint32_t previous = platform::tickCount();
    const std::uint32_t start = previous;
    for (int i = 0; i < 20; ++i) {
        platform::sleepMs(5);
        const std::uint32_t now = platform::tickCount();
        EXPECT_LT(now - previous, 0x80000000u) << "went backwards";  // wrap-safe difference
        previous = now;
    }
    // 100 ms slept; the counter may step in units of up to 16 ms.
    EXPECT_GE(previous - start, 80u);
    EXPECT_LT(previous - start, 60000u);
}

TEST(System, ProcessorFeatures) {
    // Every 64-bit x86 processor has an FPU and SSE2.
    const platform::CpuFeatures features = platform::cpuFeatures();
    EXPECT_TRUE(features.fpu);
    EXPECT_TRUE(features.sse2);
}

TEST(System, MessagesGoToTheLogWithoutAMessageBox) {
    TempFolder temp;
    static std::string setting;
    setting = "XDG_CONFIG_HOME=" + temp.path();
    putenv(setting.data());
    static char unset[] = "XDG_CONFIG_HOME";
    char log[1024];
    if (!platform::logFilePath(log, sizeof log)) {
        putenv(unset);
        GTEST_SKIP() << "this platform shows messages in a box";
    }
    EXPECT_EQ(std::string(log), temp.path() + "Quor/quor.log");
    platform::showMessage("first line", "Quor");
    platform::showMessage("second", nullptr);
    EXPECT_EQ(temp.read("Quor/quor.log"), "Quor: first line\nError: second\n");

    char config[1024];
    ASSERT_TRUE(platform::userConfigDirectory(config, sizeof config));
    EXPECT_EQ(std::string(config), temp.path() + "Quor/");
    putenv(unset);
}

}  // namespace
