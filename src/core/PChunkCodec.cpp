#include "core/PChunkCodec.h"

#include <cmath>
#include <cstdint>

#include "core/PProgram.h"
#include "data/PPool.h"
#include "sdk/VstAbi.h"

namespace {

constexpr std::int32_t kChunkTag = vstFourCC("PxCk");
constexpr std::int32_t kOldChunkTag = vstFourCC("RSCk");
constexpr std::int32_t kPresetTag = vstFourCC("Prst");
constexpr std::int32_t kPluginId = vstFourCC("RS-1");
constexpr std::int32_t kHeaderConstant = 1000;
constexpr int kOldValueCount = 96;
constexpr int kMaxPrograms = 8;

// ---- Writing -------------------------------------------------------------------------------

// A tag and its length field; the length (bytes after the field) is filled in by finish().
class LengthField {
public:
    LengthField(FStream& stream, std::int32_t tag) : stream_(stream), start_(stream.tell()) {
        ok_ = stream.writeU32(tag) && stream.writeU32(std::int32_t(0));
    }
    bool finish() {
        std::int64_t end = stream_.tell();
        if (!ok_ || start_ < 0 || end < start_ + 8) return false;
        return stream_.seek(start_ + 4, 0) == start_ + 4 &&
               stream_.writeU32(static_cast<std::int32_t>(end - start_ - 8)) &&
               stream_.seek(end, 0) == end;
    }

private:
    FStream& stream_;
    std::int64_t start_;
    bool ok_ = false;
};

// Writes a name as a zero-terminated text. Readers also end a text at a line break, so a line
// break inside a name is written as a space: it would otherwise cut the name and shift every
// field after it.
bool writeName(FStream& s, const char* name) {
    char text[PPreset::kNameCapacity];
    std::size_t n = 0;
    for (; name[n] && n + 1 < sizeof text; ++n) {
        text[n] = (name[n] == '\r' || name[n] == '\n') ? ' ' : name[n];
    }
    text[n] = 0;
    return s.writeString(text);
}

bool writeHeaderFields(FStream& s) {
    return s.writeU32(kPluginId) && s.writeU32(kHeaderConstant) &&
           s.writeU32(std::int32_t(PChunkCodec::kFormatVersion));
}

bool writePreset(FStream& s, const PPreset& preset) {
    LengthField field(s, kPresetTag);
    bool ok = writeName(s, preset.name());
    for (int i = 0; i < kNumParams && ok; ++i) ok = s.writeF32(preset.value(i));
    if (!ok) return false;
    std::int32_t slots[PPreset::kSlotCount];
    for (int i = 0; i < PPreset::kSlotCount; ++i) slots[i] = preset.slot(i);
    PPool::shared().writeReferences(s, slots, PPreset::kSlotCount);
    for (int i = 0; i < PPreset::kIconCount && ok; ++i) ok = s.writeU32(preset.icon(i));
    for (int layer = 0; layer < PPreset::kLfoCount && ok; ++layer) {
        ok = s.writeU32(preset.lfoShape(layer));
        for (int step = 0; step < PPreset::kLfoStepCount && ok; ++step) {
            ok = s.writeU8(preset.lfoStep(layer, step));
        }
    }
    return ok && field.finish();
}

bool writeProgramRecord(FStream& s, const PProgram& program) {
    bool ok = writeName(s, program.name());
    const std::int32_t counts[] = {
        PProgram::kPresetCount, PProgram::kGroupCount, kNumParams,
        PPreset::kSlotCount,    PPreset::kIconCount,   program.currentPreset()};
    for (std::int32_t count : counts) ok = ok && s.writeU32(count);
    for (int i = 0; i < PProgram::kPresetCount && ok; ++i) ok = writePreset(s, *program.preset(i));
    for (int g = 0; g < PProgram::kGroupCount && ok; ++g) ok = writeName(s, program.groupName(g));
    return ok && s.writeU32(std::int32_t(0));
}

// ---- Reading -------------------------------------------------------------------------------

// Reads a zero-terminated text into a buffer of `capacity` bytes. The text also ends at a
// carriage return or line feed. Characters beyond capacity - 1 are skipped up to the text's end,
// so that the fields after an over-long text are still read from their own place. False when
// the data end before the text does.
bool readText(FStream& s, char* out, std::size_t capacity) {
    std::size_t n = 0;
    for (;;) {
        std::uint8_t c;
        if (!s.readU8(&c)) {
            out[n] = 0;
            return false;
        }
        if (c == 0 || c == '\r' || c == '\n') break;
        if (n + 1 < capacity) out[n++] = static_cast<char>(c);
    }
    out[n] = 0;
    return true;
}

// A stored value outside 0..1 is brought into range; one that is not a number takes the default.
float sanitisedValue(int index, float value) {
    if (std::isnan(value)) return paramDesc(index)->defaultValue;
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}

// Reads the header after the tag: length, id, 1000 (neither is checked) and the format version.
bool readHeader(FStream& s, std::int32_t* version) {
    std::int32_t tag, length, id, constant;
    if (!s.readU32(&tag) || (tag != kChunkTag && tag != kOldChunkTag)) return false;
    return s.readU32(&length) && s.readU32(&id) && s.readU32(&constant) && s.readU32(version) &&
           *version >= PChunkCodec::kOldestVersion;
}

bool readValues(FStream& s, PPreset& preset, std::int32_t version) {
    int count = version >= PChunkCodec::kFirstFullVersion ? kNumParams : kOldValueCount;
    for (int i = 0; i < count; ++i) {
        float v;
        if (!s.readF32(&v)) return false;
        preset.setValue(i, sanitisedValue(i, v));
    }
    if (count < kNumParams) {
        for (int i = count; i < kNumParams; ++i) preset.setValue(i, 0.5f);
        preset.setValue(kParamFilterEmphasis, 0.5f);
    }
    if (preset.value(kParamMasterVolume) == 0.0f) {
        preset.setValue(kParamMasterVolume, paramDesc(kParamMasterVolume)->defaultValue);
    }
    return true;
}

void readSlots(FStream& s, PPreset& preset, int slotCount) {
    std::int32_t slots[PPreset::kSlotCount];
    PPool::shared().readReferences(s, slots, slotCount);
    for (int i = 0; i < slotCount; ++i) {
        // A reference to no instrument (two empty texts) is the empty slot.
        preset.setSlot(i, slots[i] < 0 ? PPreset::kEmptySlot : slots[i]);
    }
}

bool readIconsAndLfos(FStream& s, PPreset& preset) {
    for (int layer = 0; layer < PPreset::kIconCount; ++layer) {
        std::int32_t icon;
        if (!s.readU32(&icon)) return false;
        preset.setIcon(layer, (icon >= 0 && icon < PPreset::kSlotCount) ? icon : 0);
    }
    for (int layer = 0; layer < PPreset::kLfoCount; ++layer) {
        std::uint32_t shape;
        std::uint8_t steps[PPreset::kLfoStepCount];
        if (!s.readU32(&shape) || !s.readBytes(steps, sizeof steps)) return false;
        preset.setLfoShapeCode(layer, shape);
        for (int step = 0; step < PPreset::kLfoStepCount; ++step) {
            preset.setLfoStep(layer, step, steps[step]);
        }
    }
    return true;
}

// Reads one preset record into `target`, which changes only when the whole record was read.
bool readPreset(FStream& s, PPreset& target, std::int32_t version, int slotCount) {
    std::int32_t tag, length;
    if (!s.readU32(&tag) || tag != kPresetTag || !s.readU32(&length)) return false;
    PPreset preset(target);
    char name[PPreset::kNameCapacity];
    if (!readText(s, name, sizeof name)) return false;
    preset.setName(name);
    if (!readValues(s, preset, version)) return false;
    readSlots(s, preset, slotCount);
    if (!readIconsAndLfos(s, preset)) return false;
    target = preset;
    return true;
}

bool readProgramRecord(FStream& s, PProgram& program, std::int32_t version) {
    char name[PProgram::kNameCapacity];
    if (!readText(s, name, sizeof name)) return false;
    program.setName(name);
    std::int32_t presets, groups, values, slots, icons, current;
    if (!s.readU32(&presets) || !s.readU32(&groups) || !s.readU32(&values) || !s.readU32(&slots) ||
        !s.readU32(&icons) || !s.readU32(&current)) {
        return false;
    }
    if (presets != PProgram::kPresetCount || groups != PProgram::kGroupCount || values < 0 ||
        values > kNumParams || slots < 0 || slots > PPreset::kSlotCount ||
        icons != PPreset::kIconCount) {
        return false;
    }
    for (int i = 0; i < PProgram::kPresetCount; ++i) {
        if (!readPreset(s, *program.preset(i), version, slots)) return false;
    }
    // Selected only now: a chunk cut short leaves the selected index and the edit preset a
    // pair, so the next getChunk stores the edit preset where it came from.
    program.selectPreset(current >= 0 && current < PProgram::kPresetCount ? current : 0, false);
    for (int g = 0; g < PProgram::kGroupCount; ++g) {
        char group[PProgram::kGroupNameCapacity];
        if (!readText(s, group, sizeof group)) return false;
        program.setGroupName(g, group);
    }
    std::int32_t end;
    return s.readU32(&end);
}

}  // namespace

bool PChunkCodec::writeProgram(FStream& stream, const PProgram& program) {
    LengthField field(stream, kChunkTag);
    return writeHeaderFields(stream) && writeProgramRecord(stream, program) && field.finish();
}

bool PChunkCodec::writeBank(FStream& stream, const PProgram* programs, int count,
                            int currentProgram) {
    LengthField field(stream, kChunkTag);
    bool ok = writeHeaderFields(stream) && stream.writeU32(std::int32_t(currentProgram)) &&
              stream.writeU32(std::int32_t(count));
    for (int p = 0; p < count && ok; ++p) ok = writeProgram(stream, programs[p]);
    return ok && field.finish();
}

bool PChunkCodec::readProgram(FStream& stream, PProgram& program) {
    std::int32_t version;
    return readHeader(stream, &version) && readProgramRecord(stream, program, version);
}

bool PChunkCodec::readBank(FStream& stream, PProgram* programs, int count, int* currentProgram) {
    PPool::shared().removeCategory(PPool::kMissingCategory);
    std::int32_t version, current, stored;
    if (!readHeader(stream, &version) || !stream.readU32(&current) || !stream.readU32(&stored) ||
        stored < 0) {
        return false;
    }
    if (count > kMaxPrograms) count = kMaxPrograms;
    int toRead = stored < count ? stored : count;
    for (int p = 0; p < toRead; ++p) {
        if (!readProgram(stream, programs[p])) return false;
    }
    *currentProgram = (current >= 0 && current < count) ? current : 0;
    return true;
}
