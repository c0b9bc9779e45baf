#include "data/VstPath.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "data/FMemoryStream.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

const std::string S(1, platform::kPathSeparator);
const bool kWindows = platform::kPathSeparator == '\\';
// An absolute folder on this platform, with its trailing separator.
const std::string kRoot = kWindows ? "C:\\" : "/";

std::string text(const VstPath& path) {
    return path.path() ? path.path() : "<none>";
}

TEST(VstPath, EditsOfTheText) {
    const std::string x = kRoot + "x" + S, d = kRoot + "d";
    // A path, an edit, the path after it and the file name it then has.
    const struct {
        std::string before;
        std::function<void(VstPath&)> edit;
        std::string after, name;
    } cases[] = {
        {x + "y.txt", [](VstPath&) {}, x + "y.txt", "y.txt"},
        {x + "y.txt", [](VstPath& p) { p.setFileName("z.bin"); }, x + "z.bin", "z.bin"},
        {x + "y.txt", [](VstPath& p) { p.setFileName(""); }, x, ""},
        {"plain.txt", [](VstPath& p) { p.setFileName("other"); }, "plain.txt", ""},
        // Exactly one separator each side of an appended folder.
        {d, [](VstPath& p) { p.appendDirectory("OIP"); }, d + S + "OIP" + S, ""},
        {d + S, [](VstPath& p) { p.appendDirectory("OIP"); }, d + S + "OIP" + S, ""},
        // A folder's parent; a file path loses its name and its folder.
        {x + "b" + S, [](VstPath& p) { p.toParent(); }, x, ""},
        {x, [](VstPath& p) { p.toParent(); }, kRoot, ""},
        {x + "b" + S + "c.txt", [](VstPath& p) { p.toParent(); }, x, ""},
        {"ab", [](VstPath& p) { p.toParent(); }, "ab", ""},
    };
    for (const auto& c : cases) {
        VstPath path(c.before.c_str());
        c.edit(path);
        char name[VstPath::kCapacity] = "?";
        path.getFileName(name);
        EXPECT_EQ(text(path), c.after) << c.before;
        EXPECT_EQ(name, c.name) << c.before;
    }
    VstPath none;
    none.appendDirectory("OIP");
    EXPECT_EQ(none.path(), nullptr);
}

TEST(VstPath, PathKindFollowsThePlatform) {
    // A text, then its kind here and on Windows: 1 absolute, 2 relative.
    const std::tuple<const char*, int, int> cases[] = {
        {"relative", 2, 2}, {"", 2, 2},
        {nullptr, 2, 2},    {"1:\\x", 2, 2},
        {"C:x", 2, 2},      {"\\single", 2, 2},
        {"/usr", 1, 2},     {"C:\\x", 2, 1},
        {"z:\\", 2, 1},     {"\\\\server\\share", 2, 1}};
    for (auto [input, posix, windows] : cases) {
        EXPECT_EQ(VstPath().pathKind(input), kWindows ? windows : posix) << (input ? input : "-");
    }
}

TEST(VstPath, OverlongTextsAreCutToTheBuffer) {
    const std::string longText = kRoot + std::string(3000, 'n');
    VstPath path(longText.c_str());
    ASSERT_NE(path.path(), nullptr);
    EXPECT_EQ(std::strlen(path.path()), VstPath::kCapacity - 1);

    path.setPath((kRoot + std::string(1015, 'd')).c_str());
    path.appendDirectory("directory");
    EXPECT_EQ(std::strlen(path.path()), VstPath::kCapacity - 1);
    path.setFileName(longText.c_str());
    EXPECT_EQ(std::strlen(path.path()), VstPath::kCapacity - 1);
    EXPECT_EQ(path.storageSize(), VstPath::kCapacity);
}

TEST(VstPath, ReleaseDeletesAtZero) {
    const auto live = VstPlugObject::liveObjects();
    auto* path = new VstPath("abc");
    path->addRef();
    EXPECT_EQ(path->refCount(), 2);
    path->release();
    EXPECT_EQ(VstPlugObject::liveObjects(), live + 1);
    path->release();
    EXPECT_EQ(VstPlugObject::liveObjects(), live);
}

TEST(VstPath, DirectoriesAndUniqueNames) {
    TempFolder temp;
    VstPath folder(temp.path().c_str());
    EXPECT_TRUE(folder.makeDirectory("sub"));
    EXPECT_EQ(text(folder), temp.path() + "sub" + S);
    EXPECT_TRUE(folder.exists());
    EXPECT_TRUE(std::filesystem::is_directory(temp.file("sub")));
    EXPECT_TRUE(folder.makeDirectory(""));  // appends a separator; the folder already exists

    temp.write("a.txt", "1");
    temp.write("a1.txt", "2");
    VstPath file(temp.file("a.txt").c_str());
    EXPECT_TRUE(file.makeUnique());
    EXPECT_EQ(text(file), temp.file("a2.txt"));

    temp.write("b", "3");
    VstPath plain(temp.file("b").c_str());
    EXPECT_TRUE(plain.makeUnique());
    EXPECT_EQ(text(plain), temp.file("b1"));

    VstPath fresh(temp.file("new.txt").c_str());
    EXPECT_TRUE(fresh.makeUnique());
    EXPECT_EQ(text(fresh), temp.file("new.txt"));
}

TEST(VstPath, ModificationTimes) {
    TempFolder temp;
    VstPath older(temp.write("old", "x").c_str());
    VstPath newer(temp.write("new", "y").c_str());
    const auto now = std::filesystem::last_write_time(temp.file("new"));
    std::filesystem::last_write_time(temp.file("old"), now - std::chrono::hours(1));

    EXPECT_TRUE(newer.isNewerThan(older));
    EXPECT_FALSE(older.isNewerThan(newer));
    EXPECT_FALSE(newer.isNewerThan(newer));
    EXPECT_EQ(newer.modificationTime() - older.modificationTime(), 3600u);

    // Whole seconds since 1601: today lies between the years 2020 and 2200 on that scale.
    EXPECT_GT(newer.modificationTime(), 11644473600ull + 1577836800ull);
    EXPECT_LT(newer.modificationTime(), 11644473600ull + 7258118400ull);

    VstPath missing(temp.file("missing").c_str());
    EXPECT_EQ(missing.modificationTime(), 0u);
    EXPECT_FALSE(newer.isNewerThan(missing));
    EXPECT_FALSE(missing.isNewerThan(newer));
}

TEST(VstPath, WriteToAndReadFromAStream) {
    FMemoryStream stream;
    VstPath first((kRoot + "data" + S).c_str());
    VstPath unset;
    first.writeTo(stream);
    unset.writeTo(stream);  // a single zero byte
    stream.writeU32(std::uint32_t{0xA1B2C3D4});
    EXPECT_EQ(stream.length(), first.storageSize() + 1 + 4);

    stream.rewind();
    VstPath back;
    back.readFrom(stream);
    EXPECT_EQ(text(back), text(first));
    EXPECT_EQ(stream.tell(), static_cast<std::int64_t>(first.storageSize()));
}

TEST(VstPath, SourcesOtherThanAPathText) {
    // 70 bytes of header (a name length and a name, not part of the path), then the folder text.
    std::string record(70, '\0');
    record[6] = 4;
    record.replace(7, 4, "Name");
    record += std::string("Music") + '\0' + "after";
    FMemoryStream stream(record.data(), record.size());
    VstPath path;
    path.readFrom(stream);
    EXPECT_EQ(text(path), std::string(platform::kDefaultRoot) + "Music");
    EXPECT_EQ(stream.tell(), 76);

    std::string empty(71, '\0');
    VstPath root(empty.c_str());
    FMemoryStream emptyStream(empty.data(), empty.size());
    root.readFixed(emptyStream);
    EXPECT_EQ(text(root), platform::kDefaultRoot);

    // A relative text shorter than a record is taken as it is; a drained stream gives no path.
    EXPECT_EQ(text(VstPath("sub/x")), "sub/x");
    FMemoryStream drained;
    VstPath fromNothing("abc");
    fromNothing.readFrom(drained);
    EXPECT_EQ(fromNothing.path(), nullptr);
    EXPECT_EQ(drained.tell(), 0);
}

}  // namespace
