#include "core/PDefaultBank.h"

#include "data/FStream.h"
#include "sdk/VstAbi.h"

namespace {

constexpr std::int32_t kChunkMagic = vstFourCC("CcnK");
constexpr std::int32_t kBankMagic = vstFourCC("FBCh");
constexpr std::int32_t kPluginId = vstFourCC("RS-1");
constexpr std::int32_t kFormatVersion = 1;
constexpr std::int32_t kPluginVersion = 1;
constexpr std::size_t kReservedBytes = 128;
// From the bank magic up to and including the chunk size field.
constexpr std::int64_t kHeaderAfterSize = 4 * 5 + kReservedBytes + 4;

}  // namespace

bool PDefaultBank::read(const char* path, std::vector<std::uint8_t>& chunk) {
    chunk.clear();
    FStream file;
    file.setPath(path);
    if (!file.open(FStream::kRead)) return false;
    file.setSwapBytes(true);
    std::int32_t header[7];
    for (std::int32_t& field : header) {
        if (!file.readU32(&field)) return false;
    }
    if (header[0] != kChunkMagic || header[2] != kBankMagic || header[4] != kPluginId ||
        header[5] != kPluginVersion) {
        return false;
    }
    std::uint8_t reserved[kReservedBytes];
    std::int32_t size;
    if (!file.readBytes(reserved, sizeof reserved) || !file.readU32(&size) || size <= 0 ||
        size > kMaxChunkSize) {
        return false;
    }
    std::int64_t position = file.tell();
    std::int64_t available = file.size() - position;
    if (position < 0 || available <= 0) return false;
    chunk.resize(static_cast<std::size_t>(size < available ? size : available));
    chunk.resize(file.readItems(chunk.data(), 1, chunk.size()));
    return !chunk.empty();
}

bool PDefaultBank::write(const char* path, const void* chunk, std::size_t size, int programCount) {
    if (!chunk || size == 0 || size > std::size_t(kMaxChunkSize)) return false;
    FStream file;
    file.setPath(path);
    if (!file.open(FStream::kWrite)) return false;
    file.setSwapBytes(true);
    const std::int32_t chunkSize = static_cast<std::int32_t>(size);
    const std::int32_t header[] = {kChunkMagic, static_cast<std::int32_t>(kHeaderAfterSize + size),
                                   kBankMagic,  kFormatVersion,
                                   kPluginId,   kPluginVersion,
                                   programCount};
    bool ok = true;
    for (std::int32_t field : header) ok = ok && file.writeU32(field);
    const std::uint8_t reserved[kReservedBytes] = {};
    ok = ok && file.writeBytes(reserved, sizeof reserved) && file.writeU32(chunkSize) &&
         file.writeBytes(chunk, size);
    return ok && file.setSize(file.tell());
}
