// Whole-file reading for the instrument library: one allocation, one read call.
//
// The contents are placed at the first 16-byte boundary strictly above the start of a block that
// is 16 bytes longer than the file; those 16 bytes hold the file size, so the block needs no
// separate bookkeeping. Every block handed out is released with freeFileData.
#pragma once

#include <cstdint>

// Reads the whole file at path. On success answers true with *data at the contents (16-byte
// aligned) and *size the file size; otherwise *data is null and *size 0. Empty files, files
// larger than the available memory and short reads fail. A failed allocation raises the
// process-wide allocation-failed flag (VstPlugObject::allocationFailed).
bool readFile(const char* path, std::uint8_t** data, std::uint32_t* size);
// The size recorded for contents returned by readFile.
std::uint32_t fileDataSize(const std::uint8_t* data);
// Frees contents returned by readFile; null is ignored.
void freeFileData(std::uint8_t* data);
// The available virtual address space in bytes.
std::uint64_t availableMemory();
