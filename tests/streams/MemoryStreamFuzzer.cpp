// Drives a memory stream over random bytes: the input's first byte picks the byte order and the
// stream runs over the rest, read by a sequence of typed reads, lines, seeks and paths chosen by
// the data itself. Every answer must stay within the block.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "data/FMemoryStream.h"
#include "data/VstPath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // A copy of exactly the payload's size, so that ASan sees any access past its end.
    std::vector<std::uint8_t> block(data + 1, data + size);
    FMemoryStream stream(block.data(), block.size());
    stream.setSwapBytes(data[0] & 1);
    std::uint8_t op = 0;
    char line[40];
    for (int step = 0; step < 64 && stream.readU8(&op); ++step) {
        std::uint16_t u16;
        std::uint32_t u32;
        float f32;
        double f64;
        switch (op % 8) {
            case 0:
                stream.readU16(&u16);
                break;
            case 1:
                stream.readU32(&u32);
                break;
            case 2:
                stream.readF32(&f32);
                break;
            case 3:
                stream.readF64(&f64);
                break;
            case 4:
                stream.readLine(line, 1 + op % sizeof line);
                break;
            case 5:
                stream.seek(static_cast<std::int8_t>(op), op % 3);
                break;
            case 6: {
                VstPath path;
                path.readFrom(stream);
                break;
            }
            default: {
                std::uint8_t bytes[300];
                stream.readBytes(bytes, op);
                break;
            }
        }
        if (stream.tell() < 0 || static_cast<std::size_t>(stream.tell()) > block.size()) {
            // Positions past the data are allowed only for forward seeks from the start.
            if (op % 8 != 5) __builtin_trap();
        }
        // Writes into the caller's block never pass its end.
        stream.writeU16(std::uint16_t{0xBEEF});
    }
    return 0;
}
