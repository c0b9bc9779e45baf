#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/PDefaultBank.h"
#include "platform/TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string bigEndian(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A bank file header as a host writes it, with the given fields.
std::string bankFile(const char* magic, const char* bank, const char* id, std::uint32_t version,
                     std::uint32_t chunkSize, const std::string& chunk) {
    return std::string(magic, 4) + bigEndian(152 + std::uint32_t(chunk.size())) +
           std::string(bank, 4) + bigEndian(1) + std::string(id, 4) + bigEndian(version) +
           bigEndian(8) + std::string(128, '\0') + bigEndian(chunkSize) + chunk;
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

TEST(DefaultBank, ChunkCutShortIsDeliveredAsFarAsItGoes) {
    TempFolder folder;
    const std::string path =
        folder.write("bank.fxb", bankFile("CcnK", "FBCh", "RS-1", 1, 1000, "abc"));
    Bytes read;
    ASSERT_TRUE(PDefaultBank::read(path.c_str(), read));
    EXPECT_EQ(std::string(read.begin(), read.end()), "abc");
}
