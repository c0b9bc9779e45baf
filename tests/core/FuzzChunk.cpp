// Reads any bytes as a bank chunk and as a program chunk.
#include <cstddef>
#include <cstdint>

#include "core/PChunkCodec.h"
#include "core/PProgram.h"
#include "data/FMemoryStream.h"
#include "data/PPool.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static PProgram* programs = new PProgram[8];
    if (PPool::shared().count() > 1000) PPool::shared().resetForTests();
    void* block = const_cast<std::uint8_t*>(data);
    FMemoryStream bank(block, size);
    bank.setSwapBytes(true);
    int current = 0;
    PChunkCodec::readBank(bank, programs, 8, &current);
    FMemoryStream program(block, size);
    program.setSwapBytes(true);
    PChunkCodec::readProgram(program, programs[current]);
    return 0;
}
