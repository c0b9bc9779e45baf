#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChunkBuilder.h"
#include "core/PDefaultBank.h"
#include "platform/TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A bank file header as a host writes it, with the given fields.
std::string bankFile(const char* magic, const char* bank, const char* id, std::uint32_t version,
                     std::uint32_t chunkSize, const std::string& chunk) {
    const auto text = [](const ChunkBuilder& b) {
        return std::string(b.bytes.begin(), b.bytes.end());
    };
    const std::uint32_t size = 152 + std::uint32_t(chunk.size());
    return text(ChunkBuilder().tag(magic).u32(size).tag(bank).u32(1).tag(id).u32(version).u32(8)) +
           std::string(128, '\0') + text(ChunkBuilder().u32(chunkSize)) + chunk;
}

}  // namespace

TEST(DefaultBank, WritesTheStandardBankLayout) {
    TempFolder folder;
    const std::string path = folder.file(PDefaultBank::kFileName);
    const std::string chunk = "PxCk chunk bytes";
    ASSERT_TRUE(PDefaultBank::write(path.c_str(), chunk.data(), chunk.size(), 8));
    EXPECT_EQ(folder.read(PDefaultBank::kFileName),
              bankFile("CcnK", "FBCh", "RS-1", 1, std::uint32_t(chunk.size()), chunk));

    Bytes read;
    ASSERT_TRUE(PDefaultBank::read(path.c_str(), read));
    EXPECT_EQ(std::string(read.begin(), read.end()), chunk);

    // Writing again replaces a longer file completely.
    ASSERT_TRUE(PDefaultBank::write(path.c_str(), "ab", 2, 8));
    EXPECT_EQ(folder.read(PDefaultBank::kFileName).size(), 160u + 2u);

    // A chunk cut short is delivered as far as it goes.
    folder.write("cut.fxb", bankFile("CcnK", "FBCh", "RS-1", 1, 1000, "abc"));
    ASSERT_TRUE(PDefaultBank::read(folder.file("cut.fxb").c_str(), read));
    EXPECT_EQ(std::string(read.begin(), read.end()), "abc");
}

TEST(DefaultBank, RefusesForeignOrEmptyFiles) {
    TempFolder folder;
    const std::string chunk = "data";
    const std::string files[] = {
        bankFile("CcnK", "FxCk", "RS-1", 1, 4, chunk),  // a single program file
        bankFile("CcnK", "FBCh", "XXXX", 1, 4, chunk),
        bankFile("KnoC", "FBCh", "RS-1", 1, 4, chunk),
        bankFile("CcnK", "FBCh", "RS-1", 2, 4, chunk),
        bankFile("CcnK", "FBCh", "RS-1", 1, 0, chunk),
        bankFile("CcnK", "FBCh", "RS-1", 1, 0x80000000u, chunk),
        bankFile("CcnK", "FBCh", "RS-1", 1, 4, "").substr(0, 100),
        "",
    };
    for (const std::string& file : files) {
        const std::string path = folder.write("bank.fxb", file);
        Bytes read = {1};
        EXPECT_FALSE(PDefaultBank::read(path.c_str(), read));
        EXPECT_TRUE(read.empty());
    }
    Bytes read;
    EXPECT_FALSE(PDefaultBank::read(folder.file("missing.fxb").c_str(), read));
}
