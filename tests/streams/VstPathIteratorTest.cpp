#include "data/VstPathIterator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

const std::string S(1, platform::kPathSeparator);

std::set<std::string> listAll(const VstPath* folder, unsigned filter) {
    std::set<std::string> seen;
    VstPathIterator iterator(folder, filter);
    VstPath entry;
    while (iterator.next(&entry)) seen.insert(entry.path());
    return seen;
}

class PathIterator : public ::testing::Test {
protected:
    void SetUp() override {
        temp.write("a.xml", "1");
        temp.write("b.raw", "2");
        temp.write("hidden", "3");
        temp.hide("hidden");
        std::filesystem::create_directory(temp.file("Raw"));
        std::filesystem::create_directory(temp.file("Shy"));
        temp.hide("Shy");
    }
    TempFolder temp;
};

TEST_F(PathIterator, FilesFoldersOrBoth) {
    VstPath folder(temp.path().c_str());
    const std::string files[] = {temp.file("a.xml"), temp.file("b.raw")};
    const std::string directory = temp.file("Raw") + S;
    EXPECT_EQ(listAll(&folder, VstPathIterator::kFiles),
              (std::set<std::string>{files[0], files[1]}));
    EXPECT_EQ(listAll(&folder, VstPathIterator::kDirectories), std::set<std::string>{directory});
    EXPECT_EQ(listAll(&folder, VstPathIterator::kFiles | VstPathIterator::kDirectories),
              (std::set<std::string>{files[0], files[1], directory}));
    EXPECT_TRUE(listAll(&folder, 0).empty());

    // The folder text may lack its final separator or double it.
    const std::string base = temp.path().substr(0, temp.path().size() - 1);
    VstPath bare(base.c_str()), doubled((base + S + S).c_str());
    EXPECT_EQ(listAll(&bare, VstPathIterator::kFiles), listAll(&folder, VstPathIterator::kFiles));
    EXPECT_EQ(listAll(&doubled, VstPathIterator::kFiles),
              listAll(&folder, VstPathIterator::kFiles));
    VstPath missing(temp.file("missing").c_str());
    EXPECT_TRUE(listAll(&missing, VstPathIterator::kFiles).empty());
}

TEST(PathIteratorRoots, AnEmptyFolderListsTheRoots) {
    VstPath empty("");
    const std::set<std::string> roots = listAll(&empty, VstPathIterator::kDirectories);
    ASSERT_FALSE(roots.empty());
    for (const std::string& root : roots) {
        EXPECT_TRUE(platform::isAbsolutePath(root.c_str())) << root;
        EXPECT_EQ(root.back(), platform::kPathSeparator);
    }
    EXPECT_EQ(listAll(nullptr, VstPathIterator::kDirectories), roots);
}

}  // namespace
