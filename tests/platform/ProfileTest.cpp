#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        file = temp.write("settings.ini",
                          "; Quor settings\r\n"
                          "[Settings]\r\n"
                          "  PluginPath =   C:\\Hosts\\x.dll   \r\n"
                          "NoMMX=1\r\n"
                          "Quoted=\"  kept  \"\r\n"
                          "Number= 42abc\r\n"
                          "Negative=-17\r\n"
                          "Fraction=3,5\r\n"
                          "Empty=\r\n"
                          "Word=yes\r\n"
                          "[Other]\r\n"
                          "NoMMX=7\r\n");
    }
    std::string read(const char* section, const char* key, const char* fallback = "def",
                     std::size_t capacity = 64) {
        char out[64];
        std::size_t length =
            platform::readProfileString(file.c_str(), section, key, fallback, out, capacity);
        EXPECT_EQ(length, std::string(out).size());
        return out;
    }
    TempFolder temp;
    std::string file;
};

TEST_F(Profile, StringsIgnoreCaseAndSurroundingBlanks) {
    EXPECT_EQ(read("Settings", "PluginPath"), "C:\\Hosts\\x.dll");
    EXPECT_EQ(read("settings", "PLUGINPATH"), "C:\\Hosts\\x.dll");
    EXPECT_EQ(read("Settings", "Quoted"), "  kept  ");
    EXPECT_EQ(read("Settings", "Empty"), "");
    EXPECT_EQ(read("other", "nommx"), "7");
}

TEST_F(Profile, MissingPiecesGiveTheDefault) {
    EXPECT_EQ(read("Settings", "Absent"), "def");
    EXPECT_EQ(read("Nowhere", "NoMMX"), "def");
    EXPECT_EQ(read("Settings", "Absent", nullptr), "");
    char out[16] = "x";
    EXPECT_EQ(platform::readProfileString(temp.file("none.ini").c_str(), "Settings", "NoMMX",
                                          "fallback", out, sizeof out),
              8u);
    EXPECT_STREQ(out, "fallback");
    EXPECT_EQ(platform::readProfileInt(temp.file("none.ini").c_str(), "Settings", "NoMMX", 5), 5);
}

TEST_F(Profile, ValuesAreCutToTheBuffer) {
    EXPECT_EQ(read("Settings", "PluginPath", "def", 5), "C:\\H");
    EXPECT_EQ(read("Settings", "Absent", "default", 4), "def");
}

TEST_F(Profile, IntegersReadTheLeadingDigits) {
    auto number = [&](const char* key, int fallback) {
        return platform::readProfileInt(file.c_str(), "SETTINGS", key, fallback);
    };
    EXPECT_EQ(number("NoMMX", 0), 1);
    EXPECT_EQ(number("Number", 0), 42);
    EXPECT_EQ(number("Negative", 0), -17);
    EXPECT_EQ(number("Fraction", 0), 3);  // whatever the locale's decimal mark
    EXPECT_EQ(number("Word", 9), 0);      // present but not a number
    EXPECT_EQ(number("Empty", 9), 9);
    EXPECT_EQ(number("Absent", -4), -4);
}

TEST_F(Profile, WritingKeepsTheRestOfTheFile) {
    EXPECT_TRUE(platform::writeProfileString(file.c_str(), "settings", "nommx", "0"));
    EXPECT_TRUE(platform::writeProfileString(file.c_str(), "Other", "Added", "new value"));
    EXPECT_TRUE(platform::writeProfileString(file.c_str(), "Fresh", "Key", "v"));
    EXPECT_EQ(read("Settings", "NoMMX"), "0");
    EXPECT_EQ(read("Other", "Added"), "new value");
    EXPECT_EQ(read("Fresh", "Key"), "v");
    EXPECT_EQ(read("Settings", "PluginPath"), "C:\\Hosts\\x.dll");
    EXPECT_EQ(read("Other", "NoMMX"), "7");

    // A file that writing creates, in a folder and with names outside every 8-bit code page.
    const std::string created = temp.folder("Тест 日本 Ü") + "Quor.ini";
    EXPECT_TRUE(platform::writeProfileString(created.c_str(), "Раздел", "Ключ 日本", "Значение Ü"));
    EXPECT_TRUE(platform::writeProfileString(created.c_str(), "A", "b", "7"));
    char out[32];
    platform::readProfileString(created.c_str(), "Раздел", "Ключ 日本", "", out, sizeof out);
    EXPECT_STREQ(out, "Значение Ü");
    EXPECT_EQ(platform::readProfileInt(created.c_str(), "a", "B", 0), 7);
    EXPECT_FALSE(platform::writeProfileString(temp.file("no/such/dir.ini").c_str(), "A", "b", "c"));
}

}  // namespace
