// The default bank file "quor2def.fxb" in the data folder: a bank chunk wrapped in the standard
// big-endian bank file layout
//   'CcnK', byte size of the rest, 'FBCh', format version 1, plug-in id 'RS-1', plug-in version 1,
//   program count, 128 reserved zero bytes, chunk size, chunk
// so that a bank a host saved as a bank file also serves as the default bank.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class PDefaultBank {
public:
    static constexpr const char* kFileName = "quor2def.fxb";
    // Larger chunks are refused: a bank of eight programs takes well under one megabyte.
    static constexpr std::int32_t kMaxChunkSize = 16 * 1024 * 1024;

    // Reads the chunk of a bank file; false (and chunk empty) when the file is missing, its
    // header does not match or its chunk is empty. A chunk cut short by the end of the file is
    // delivered as far as it goes.
    static bool read(const char* path, std::vector<std::uint8_t>& chunk);
    // Writes a bank file around a chunk, replacing any file there.
    static bool write(const char* path, const void* chunk, std::size_t size, int programCount);
};
