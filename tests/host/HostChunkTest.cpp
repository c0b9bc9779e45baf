// Chunks through the host interface: round trips between instances, and
// hostile blocks that must be answered with 1 while the plug-in keeps working.
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "LoadedPlugin.h"
#include "core/ChunkBuilder.h"
#include "core/PDefaultBank.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class HostChunks : public LoadedPlugin {
protected:
    // Makes the bank differ from a fresh one in values, names and the current program.
    void customise(VstHost& h) {
        for (int p = 0; p < 8; ++p) {
            h.setProgram(p);
            h.setProgramName("Program " + std::to_string(p * 7));
            h.setParameter(p, 0.01f * float(p + 1));
            h.setParameter(60 + p, 0.5f + 0.01f * float(p));
        }
        h.setProgram(5);
    }
    // The plug-in still answers sensibly after whatever it was fed.
    void expectWorking(VstHost& h) {
        EXPECT_EQ(h.effectName(), "Quor");
        EXPECT_GE(h.program(), 0);
        EXPECT_LT(h.program(), 8);
        for (int i = 0; i < 108; ++i) {
            const float v = h.parameter(i);
            EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << i;
        }
        for (int p = 0; p < 8; ++p) EXPECT_LE(h.programNameIndexed(p).size(), 23u);
        EXPECT_EQ(h.idle(), 1);
        Bytes chunk = h.getChunk(false);
        ASSERT_GE(chunk.size(), 28u);
        EXPECT_EQ(bigEndian(chunk, 0), std::uint32_t(vstFourCC("PxCk")));
    }
};

TEST_F(HostChunks, BankRoundTripIsByteIdentical) {
    customise(*host);
    const Bytes saved = host->getChunk(false);
    auto fresh = another();
    EXPECT_EQ(fresh->setChunk(saved.data(), saved.size(), false), 1);
    EXPECT_EQ(fresh->program(), 5);
    EXPECT_EQ(fresh->programNameIndexed(2), "Program 14");
    EXPECT_EQ(fresh->getChunk(false), saved);
}

TEST_F(HostChunks, ProgramRoundTripIsByteIdentical) {
    customise(*host);
    const Bytes saved = host->getChunk(true);
    auto fresh = another();
    fresh->setProgram(1);
    EXPECT_EQ(fresh->setChunk(saved.data(), saved.size(), true), 1);
    EXPECT_EQ(fresh->programName(), "Program 35");
    EXPECT_EQ(fresh->parameter(65), 0.55f);
    EXPECT_EQ(fresh->getChunk(true), saved);
}

// The block of the last getChunk stays valid until the next chunk call, and hosts hand that very
// block back (compare, undo): it is read before it is released.
TEST_F(HostChunks, TheLastBlockStaysValidAndHandedBackRestoresIt) {
    for (const bool isPreset : {true, false}) {
        host->setParameter(4, 0.25f);
        void* block = nullptr;
        const auto size = host->dispatch(effGetChunk, isPreset, 0, &block);
        ASSERT_GT(size, 0);
        const Bytes copy(static_cast<std::uint8_t*>(block),
                         static_cast<std::uint8_t*>(block) + size);
        host->setParameter(4, 0.75f);
        host->idle();
        host->programName();
        EXPECT_EQ(std::memcmp(block, copy.data(), copy.size()), 0);
        EXPECT_EQ(host->dispatch(effSetChunk, isPreset, size, block), 1);
        EXPECT_EQ(host->parameter(4), 0.25f) << isPreset;
    }
}

TEST_F(HostChunks, EveryTruncationOfAValidBank) {
    customise(*host);
    const Bytes saved = host->getChunk(false);
    auto target = another();
    // Every cut in the headers and the first program, then coarser steps.
    for (std::size_t cut = 0; cut < saved.size(); cut += cut < 6000 ? 1 : 997) {
        // A copy of exactly `cut` bytes, so that reading past it shows up under ASan.
        // (An empty vector has no block at all; a host passes some pointer with size 0.)
        Bytes part(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(cut));
        const void* block = cut ? part.data() : saved.data();
        ASSERT_EQ(target->setChunk(block, part.size(), false), 1) << cut;
        ASSERT_EQ(target->setChunk(block, part.size(), true), 1) << cut;
    }
    expectWorking(*target);
}

// Random blocks, damaged banks and hostile counts: each is answered with 1 and the plug-in works
// on.
TEST_F(HostChunks, RandomBytesDamagedFieldsAndAbsurdCounts) {
    const Bytes saved = host->getChunk(false);
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        Bytes noise(random() % 4096);
        for (auto& b : noise) b = std::uint8_t(random());
        if (round % 2 && noise.size() >= 4)
            putBigEndian(noise, 0, std::uint32_t(vstFourCC("PxCk")));
        EXPECT_EQ(host->setChunk(noise.data(), noise.size(), round % 3 == 0), 1);
        Bytes damaged = saved;
        for (int hits = 0; hits < 4; ++hits)
            damaged[random() % damaged.size()] = std::uint8_t(random());
        EXPECT_EQ(host->setChunk(damaged.data(), damaged.size(), false), 1);
    }
    const std::pair<std::size_t, std::uint32_t> hostile[] = {
        {4, 0xFFFFFFF0u},   // length field
        {24, 0x7FFFFFFFu},  // program count
        {24, 0x80000000u},  // a negative count
        {20, 0xFFFFFFFFu},  // current program -1
    };
    for (const auto& [at, value] : hostile) {
        Bytes bank = saved;
        putBigEndian(bank, at, value);
        EXPECT_EQ(host->setChunk(bank.data(), bank.size(), false), 1) << at;
    }
    EXPECT_EQ(host->program(), 0);
    expectWorking(*host);
}

// A bank file in the data folder is the bank every new instance starts with.
TEST_F(HostChunks, DefaultBankFileIsReadAtStartUp) {
    customise(*host);
    const Bytes bank = host->getChunk(false);
    ModuleCopy installed;
    ASSERT_TRUE(PDefaultBank::write(installed.folder().file("Quor-Data/quor2def.fxb").c_str(),
                                    bank.data(), bank.size(), 8));
    VstHost fresh;
    ASSERT_TRUE(fresh.load(installed.path().c_str())) << fresh.error();
    fresh.open();
    EXPECT_EQ(fresh.programNameIndexed(3), "Program 21");
    // The same bank, except that open() selected program 0.
    Bytes loaded = fresh.getChunk(false);
    ASSERT_EQ(loaded.size(), bank.size());
    EXPECT_EQ(bigEndian(loaded, 20), 0u);
    putBigEndian(loaded, 20, bigEndian(bank, 20));
    EXPECT_EQ(loaded, bank);
}

}  // namespace
