// The opaque chunk that hosts store for one program or for the whole bank of programs.
//
// All integers and floats in a chunk are big-endian: callers hand in a stream whose swap flag is
// set. A bank chunk is a header ('PxCk', length, 'RS-1', 1000, format version, current program,
// program count) followed by one program chunk per program; a program chunk is a header ('PxCk',
// length, 'RS-1', 1000, format version) followed by the program record: name, the counts
// 64/4/108/33/3, current preset, 64 preset records ('Prst', length, name, values, slot references
// as category and name texts, icons, LFO shapes and steps), the four group names and a final 0.
// Length fields count the bytes after themselves and are patched once the body is written.
//
// Reading tolerates any bytes: it never reads outside the stream, stops at the first bad field
// and keeps what was complete before it. Programs read before the bad field keep their new
// contents; in the program being read, the presets read completely keep theirs; a preset cut short
// is left unchanged.
#pragma once

#include "data/FStream.h"

class PProgram;

class PChunkCodec {
public:
    static constexpr int kFormatVersion = 2000;
    // Format versions below this one stored 96 values per preset.
    static constexpr int kFirstFullVersion = 2000;
    static constexpr int kOldestVersion = 1000;

    static bool writeProgram(FStream& stream, const PProgram& program);
    static bool writeBank(FStream& stream, const PProgram* programs, int count, int currentProgram);

    // False when the chunk is bad or cut short (see above for what is kept).
    static bool readProgram(FStream& stream, PProgram& program);
    // Drops the pool's "Missing Instruments" category first, then reads at most `count` programs.
    // True when every stored program was read; *currentProgram then receives the stored index
    // (0 when it is not one of the programs). On false *currentProgram is left alone.
    static bool readBank(FStream& stream, PProgram* programs, int count, int* currentProgram);
};
