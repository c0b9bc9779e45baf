#include "data/PResource.h"

#include <cstring>

#include "data/FileReader.h"

namespace {

// Header offsets, in bytes.
constexpr std::size_t kVersionOffset = 0;
constexpr std::size_t kRootKeyOffset = 2;
constexpr std::size_t kFineTuneOffset = 3;
constexpr std::size_t kStartFrameOffset = 4;
constexpr std::size_t kLoopStartOffset = 8;
constexpr std::size_t kLoopEndOffset = 12;
constexpr std::size_t kGainOffset = 1;
constexpr std::size_t kFrameCountOffset = 12;
constexpr std::size_t kOrderOffset = 38;

template <typename T>
T readField(const std::uint8_t* data, std::size_t offset) {
    T value;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}

template <typename T>
void writeField(std::uint8_t* data, std::size_t offset, T value) {
    std::memcpy(data + offset, &value, sizeof value);
}

}  // namespace

PResource::PResource(const char* name, bool filter) : flags_(filter ? kFilter : 0u) {
    std::strncpy(name_, name ? name : "", kNameSize - 1);
    name_[kNameSize - 1] = 0;
}

PResource::~PResource() {
    freeFileData(data_.load());
}

std::uint32_t PResource::size() const {
    return fileDataSize(data_.load());
}

bool PResource::validateSamples(std::uint8_t* data, std::uint32_t size) {
    if (size < kSampleHeader) return false;
    const auto limit = static_cast<std::int32_t>((size - kSampleHeader) / 2) - kSampleTail;
    if (limit < 1) return false;
    std::int32_t loopEnd = readField<std::int32_t>(data, kLoopEndOffset);
    const auto loopStart = readField<std::int32_t>(data, kLoopStartOffset);
    const auto startFrame = readField<std::int16_t>(data, kStartFrameOffset);
    if (loopEnd > limit) loopEnd = limit;
    if (loopEnd < 0 || loopStart < 0 || loopStart > loopEnd) return false;
    if (startFrame < 0 || startFrame > loopEnd) return false;
    writeField(data, kLoopEndOffset, loopEnd);
    return true;
}

bool PResource::validateFilter(std::uint8_t* data, std::uint32_t size) {
    if (size < kFilterHeader + kFrameBytes) return false;
    const auto available = static_cast<std::int32_t>((size - kFilterHeader) / kFrameBytes);
    std::int32_t frames = readField<std::int32_t>(data, kFrameCountOffset);
    if (frames > available) frames = available;
    const auto order = readField<std::int16_t>(data, kOrderOffset);
    if (frames < 1 || order < 1 || order > kMaxOrder) return false;
    writeField(data, kFrameCountOffset, frames);
    return true;
}

PResource::Samples PResource::samples() const {
    const std::uint8_t* data = data_.load();
    Samples s;
    if (!data || isFilter()) return s;
    s.samples = reinterpret_cast<const std::int16_t*>(data + kSampleHeader);
    s.sampleCount = static_cast<std::int32_t>((fileDataSize(data) - kSampleHeader) / 2);
    s.formatVersion = data[kVersionOffset];
    s.rootKey = static_cast<std::int8_t>(data[kRootKeyOffset]);
    s.fineTune = static_cast<std::int8_t>(data[kFineTuneOffset]);
    s.startFrame = readField<std::int16_t>(data, kStartFrameOffset);
    s.loopStart = readField<std::int32_t>(data, kLoopStartOffset);
    s.loopEnd = readField<std::int32_t>(data, kLoopEndOffset);
    return s;
}

PResource::Filter PResource::filter() const {
    const std::uint8_t* data = data_.load();
    Filter f;
    if (!data || !isFilter()) return f;
    f.file = data;
    f.frames = reinterpret_cast<const std::int16_t*>(data + kFilterHeader);
    f.frameCount = readField<std::int32_t>(data, kFrameCountOffset);
    f.order = readField<std::int16_t>(data, kOrderOffset);
    f.gain = data[kGainOffset];
    return f;
}

bool PResource::adopt(std::uint8_t* data, std::uint32_t size) {
    const bool valid = isFilter() ? validateFilter(data, size) : validateSamples(data, size);
    if (!valid) {
        freeFileData(data);
        return false;
    }
    data_.store(data);
    return true;
}

bool PResource::freeIfUnreferenced() {
    // A reader takes its reference before it reads the data pointer. Taking the pointer away
    // first and then looking at the references again closes the window in which a reference
    // arrives between the check and the free: such a reader sees either the data (and we see its
    // reference and put the data back) or no data at all.
    if (references_.load() > 0) return false;
    std::uint8_t* data = data_.exchange(nullptr);
    if (!data) return false;
    if (references_.load() > 0) {
        data_.store(data);
        return false;
    }
    freeFileData(data);
    return true;
}
