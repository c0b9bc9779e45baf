#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

const std::string S(1, platform::kPathSeparator);

// Names outside every 8-bit code page (Cyrillic, Japanese, Greek, a Latin letter with a blank)
// pass through every file operation as UTF-8; TempFolder reads and writes them independently.
const std::string kFolder = "Тест 日本 Ü";

TEST(Files, ReadWriteSeekAndTruncate) {
    TempFolder temp;
    const std::string name = temp.file("данные.bin");
    std::uint32_t error = 0;
    platform::FileHandle missing = platform::openFile(name.c_str(), platform::kOpenRead, &error);
    EXPECT_FALSE(missing.valid());
    EXPECT_NE(error, 0u);

    platform::FileHandle file =
        platform::openFile(name.c_str(), platform::kOpenRead | platform::kOpenWrite, &error);
    ASSERT_TRUE(file.valid());
    EXPECT_EQ(platform::writeFile(file, "0123456789", 10, &error), 10);
    EXPECT_EQ(platform::fileSize(file), 10);
    EXPECT_EQ(platform::seekFile(file, -4, 2, &error), 6);
    char got[8] = {};
    EXPECT_EQ(platform::readFile(file, got, sizeof got, &error), 4);
    EXPECT_EQ(std::string(got, 4), "6789");
    EXPECT_EQ(platform::readFile(file, got, sizeof got, &error), 0);
    EXPECT_EQ(platform::seekFile(file, 3, 0, &error), 3);
    EXPECT_EQ(platform::seekFile(file, 2, 1, &error), 5);
    EXPECT_TRUE(platform::truncateFile(file, &error));
    EXPECT_EQ(platform::fileSize(file), 5);
    EXPECT_EQ(platform::seekFile(file, 0, 7, &error), -1);
    platform::closeFile(file);
    EXPECT_FALSE(file.valid());
    EXPECT_EQ(temp.read("данные.bin"), "01234");

    // Opening for writing never truncates.
    file = platform::openFile(name.c_str(), platform::kOpenWrite, &error);
    ASSERT_TRUE(file.valid());
    EXPECT_EQ(platform::writeFile(file, "ab", 2, &error), 2);
    platform::closeFile(file);
    EXPECT_EQ(temp.read("данные.bin"), "ab234");

    // A folder is not a file.
    EXPECT_FALSE(platform::openFile(temp.path().c_str(), platform::kOpenRead, &error).valid());
}

TEST(Files, FolderQueries) {
    TempFolder temp;
    const std::string sub = temp.file(kFolder);
    EXPECT_FALSE(platform::pathExists(sub.c_str()));
    EXPECT_TRUE(platform::createDirectory(sub.c_str()));
    EXPECT_FALSE(platform::createDirectory(sub.c_str()));
    EXPECT_TRUE(platform::isDirectory(sub.c_str()));
    const std::string file = temp.write(kFolder + S + "Файл ΑΒΓ.txt", "x");
    EXPECT_TRUE(platform::pathExists(file.c_str()));
    EXPECT_FALSE(platform::isDirectory(file.c_str()));
    EXPECT_NE(platform::fileModificationTime(file.c_str()), 0u);
    EXPECT_TRUE(platform::deleteFile(file.c_str()));
    EXPECT_FALSE(platform::deleteFile(file.c_str()));
    EXPECT_EQ(platform::fileModificationTime(file.c_str()), 0u);
    EXPECT_FALSE(platform::pathExists(""));
}

TEST(Files, ListerSkipsHiddenEntries) {
    TempFolder temp;
    temp.write("α.raw", "1");
    temp.write("secret", "2");
    temp.hide("secret");
    temp.folder(kFolder);
    std::set<std::pair<std::string, bool>> seen;
    platform::DirectoryLister lister(temp.path().c_str());
    char name[256];
    bool isDir = false;
    while (lister.next(name, sizeof name, &isDir)) seen.insert({name, isDir});
    EXPECT_EQ(seen, (std::set<std::pair<std::string, bool>>{{"α.raw", false}, {kFolder, true}}));

    platform::DirectoryLister none(temp.file("missing").c_str());
    EXPECT_FALSE(none.next(name, sizeof name, &isDir));
}

TEST(Files, FullPathsAndRoots) {
    const std::string current = std::filesystem::current_path().string();
    char out[1024];
    ASSERT_TRUE(platform::fullPath(("a" + S + ".." + S + kFolder + S + "." + S + "c").c_str(), out,
                                   sizeof out));
    std::string expected = current;
    if (expected.back() != platform::kPathSeparator) expected += S;
    EXPECT_EQ(out, expected + kFolder + S + "c");
    EXPECT_TRUE(platform::isAbsolutePath(out));
    EXPECT_FALSE(platform::isAbsolutePath("relative"));
    EXPECT_FALSE(platform::fullPath("x", out, 2));

    char root[16];
    ASSERT_TRUE(platform::fileSystemRoot(0, root, sizeof root));
    EXPECT_TRUE(platform::isDirectory(root));
    EXPECT_TRUE(platform::isAbsolutePath(root));
    EXPECT_FALSE(platform::fileSystemRoot(-1, root, sizeof root));
    EXPECT_FALSE(platform::fileSystemRoot(1000, root, sizeof root));

    ASSERT_TRUE(platform::tempDirectory(out, sizeof out));
    EXPECT_EQ(std::string(out).back(), platform::kPathSeparator);
    EXPECT_TRUE(platform::isDirectory(out));
}

TEST(Memory, PagesAndStatus) {
    EXPECT_GT(platform::availableMemory(), 1u << 20);
    const std::size_t bytes = 3 * 4096 + 5;
    auto* block = static_cast<unsigned char*>(platform::allocatePages(bytes));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(std::all_of(block, block + bytes, [](unsigned char b) { return b == 0; }));
    block[bytes - 1] = 0xAB;
    platform::freePages(block, bytes);
    EXPECT_EQ(platform::allocatePages(0), nullptr);
}

}  // namespace
