#include "SoundFont.h"

#include <cstring>

namespace makelib {
namespace {

constexpr std::uint64_t kPresetRecord = 38, kBagRecord = 4, kModulatorRecord = 10,
                        kGeneratorRecord = 4, kInstrumentRecord = 22, kSampleRecord = 46;

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t le32(const std::uint8_t* p) {
    return le16(p) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}
std::string name20(const std::uint8_t* p) {
    const char* text = reinterpret_cast<const char*>(p);
    return std::string(text, strnlen(text, 20));
}

// One sub-chunk of "pdta" as whole records, the closing record included.
struct Table {
    std::vector<std::uint8_t> bytes;
    std::size_t count = 0;
    const std::uint8_t* record(std::size_t i, std::uint64_t size) const {
        return bytes.data() + i * size;
    }
};

class Reader {
public:
    Reader(const ByteSource& source, std::string* error) : source_(source), error_(error) {}

    bool read(SoundFont* font) {
        std::uint8_t header[12];
        if (!source_.read(0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
            std::memcmp(header + 8, "sfbk", 4) != 0) {
            return fail("not a SoundFont 2 file (it does not start with a RIFF \"sfbk\" header)");
        }
        std::vector<Chunk> top;
        if (!readChunks(source_, 0, source_.size(), &top, error_)) return false;
        const Chunk* riff = findChunk(top, "RIFF", "sfbk");
        std::vector<Chunk> lists;
        if (!readChunks(source_, riff->offset, riff->size, &lists, error_)) return false;
        const Chunk* sdta = findChunk(lists, "LIST", "sdta");
        const Chunk* pdta = findChunk(lists, "LIST", "pdta");
        if (!sdta || !pdta) return fail("the sample data or the preset data list is missing");
        return readSamples(*sdta, font) && readPresetData(*pdta, font);
    }

private:
    bool fail(const std::string& message) {
        *error_ = message;
        return false;
    }

    bool readSamples(const Chunk& sdta, SoundFont* font) {
        std::vector<Chunk> chunks;
        if (!readChunks(source_, sdta.offset, sdta.size, &chunks, error_)) return false;
        const Chunk* smpl = findChunk(chunks, "smpl");
        if (!smpl) return fail("no \"smpl\" chunk in the sample data");
        // The size has been checked against the file, so this allocation is bounded by it.
        std::vector<std::uint8_t> bytes(smpl->size & ~std::uint64_t{1});
        if (!source_.read(smpl->offset, bytes.data(), bytes.size()))
            return fail("the sample data cannot be read");
        font->samples.resize(bytes.size() / 2);
        for (std::size_t i = 0; i < font->samples.size(); ++i)
            font->samples[i] = static_cast<std::int16_t>(le16(&bytes[2 * i]));
        return true;
    }

    bool readTable(const std::vector<Chunk>& chunks, const char* id, std::uint64_t recordSize,
                   Table* table) {
        const Chunk* chunk = findChunk(chunks, id);
        if (!chunk) return fail(std::string("the \"") + id + "\" table is missing");
        if (chunk->size % recordSize != 0 || chunk->size < recordSize)
            return fail(std::string("the \"") + id + "\" table has " + std::to_string(chunk->size) +
                        " bytes, not whole records of " + std::to_string(recordSize));
        table->bytes.resize(chunk->size);
        if (!source_.read(chunk->offset, table->bytes.data(), table->bytes.size()))
            return fail(std::string("the \"") + id + "\" table cannot be read");
        table->count = chunk->size / recordSize;
        return true;
    }

    // Zones [first, next) of one preset or instrument out of its bag and generator tables. The
    // indices must rise and stay inside the tables (each table ends with a closing record).
    bool readZones(const char* what, const std::string& owner, std::size_t first, std::size_t next,
                   const Table& bags, const Table& generators, std::vector<GeneratorZone>* zones) {
        if (first > next || next >= bags.count)
            return fail(std::string(what) + " \"" + owner + "\" points outside its zone table");
        for (std::size_t b = first; b < next; ++b) {
            const std::size_t from = le16(bags.record(b, kBagRecord));
            const std::size_t to = le16(bags.record(b + 1, kBagRecord));
            if (from > to || to >= generators.count)
                return fail(std::string(what) + " \"" + owner +
                            "\" has a zone whose generators lie outside their table");
            GeneratorZone zone;
            for (std::size_t g = from; g < to; ++g) {
                const std::uint8_t* r = generators.record(g, kGeneratorRecord);
                zone.generators.push_back({le16(r), le16(r + 2)});
            }
            zones->push_back(std::move(zone));
        }
        return true;
    }

    bool checkBagModulators(const Table& bags, const Table& modulators, const char* what) {
        std::size_t previous = 0;
        for (std::size_t b = 0; b < bags.count; ++b) {
            const std::size_t index = le16(bags.record(b, kBagRecord) + 2);
            if (index < previous || index >= modulators.count)
                return fail(std::string("the ") + what +
                            " zone table's modulator indices are damaged");
            previous = index;
        }
        return true;
    }

    bool readPresetData(const Chunk& pdta, SoundFont* font) {
        std::vector<Chunk> chunks;
        if (!readChunks(source_, pdta.offset, pdta.size, &chunks, error_)) return false;
        Table phdr, pbag, pmod, pgen, inst, ibag, imod, igen, shdr;
        if (!readTable(chunks, "phdr", kPresetRecord, &phdr) ||
            !readTable(chunks, "pbag", kBagRecord, &pbag) ||
            !readTable(chunks, "pmod", kModulatorRecord, &pmod) ||
            !readTable(chunks, "pgen", kGeneratorRecord, &pgen) ||
            !readTable(chunks, "inst", kInstrumentRecord, &inst) ||
            !readTable(chunks, "ibag", kBagRecord, &ibag) ||
            !readTable(chunks, "imod", kModulatorRecord, &imod) ||
            !readTable(chunks, "igen", kGeneratorRecord, &igen) ||
            !readTable(chunks, "shdr", kSampleRecord, &shdr) ||
            !checkBagModulators(pbag, pmod, "preset") ||
            !checkBagModulators(ibag, imod, "instrument")) {
            return false;
        }
        for (std::size_t s = 0; s + 1 < shdr.count; ++s) {
            const std::uint8_t* r = shdr.record(s, kSampleRecord);
            SampleHeader h;
            h.name = name20(r);
            h.start = le32(r + 20);
            h.end = le32(r + 24);
            h.loopStart = le32(r + 28);
            h.loopEnd = le32(r + 32);
            h.sampleRate = le32(r + 36);
            h.originalKey = r[40];
            h.correction = static_cast<std::int8_t>(r[41]);
            h.link = le16(r + 42);
            h.type = le16(r + 44);
            if (h.start > h.end || h.end > font->samples.size())
                return fail("sample \"" + h.name + "\" lies outside the sample data");
            if (h.sampleRate == 0) return fail("sample \"" + h.name + "\" has no sample rate");
            font->sampleHeaders.push_back(h);
        }
        const ZoneTables instrumentTables{
            "instrument", inst, kInstrumentRecord, 20,
            ibag,         igen, sfgen::kSampleId,  font->sampleHeaders.size()};
        for (std::size_t i = 0; i + 1 < inst.count; ++i) {
            SoundFontInstrument instrument;
            instrument.name = name20(inst.record(i, kInstrumentRecord));
            if (!readOwnerZones(instrumentTables, i, instrument.name, &instrument.zones))
                return false;
            font->instruments.push_back(std::move(instrument));
        }
        const ZoneTables presetTables{"preset", phdr, kPresetRecord,      24,
                                      pbag,     pgen, sfgen::kInstrument, font->instruments.size()};
        for (std::size_t p = 0; p + 1 < phdr.count; ++p) {
            const std::uint8_t* r = phdr.record(p, kPresetRecord);
            SoundFontPreset preset;
            preset.name = name20(r);
            preset.program = le16(r + 20);
            preset.bank = le16(r + 22);
            if (!readOwnerZones(presetTables, p, preset.name, &preset.zones)) return false;
            font->presets.push_back(std::move(preset));
        }
        return true;
    }

    // What a preset's or an instrument's zones are read from, and what their closing generator
    // (instrument or sample) may point at.
    struct ZoneTables {
        const char* kind;
        const Table& headers;
        std::uint64_t recordSize;
        std::size_t bagOffset;  // of the first zone's index in a header record
        const Table& bags;
        const Table& generators;
        std::uint16_t closing;
        std::size_t targets;
    };

    bool readOwnerZones(const ZoneTables& t, std::size_t owner, const std::string& name,
                        std::vector<GeneratorZone>* zones) {
        if (!readZones(t.kind, name, le16(t.headers.record(owner, t.recordSize) + t.bagOffset),
                       le16(t.headers.record(owner + 1, t.recordSize) + t.bagOffset), t.bags,
                       t.generators, zones)) {
            return false;
        }
        for (const GeneratorZone& zone : *zones) {
            const Generator* g = zone.find(t.closing);
            if (g && g->amount >= t.targets)
                return fail(std::string(t.kind) + " \"" + name + "\" names a missing " +
                            (t.closing == sfgen::kSampleId ? "sample" : "instrument"));
        }
        return true;
    }

    const ByteSource& source_;
    std::string* error_;
};

}  // namespace

const Generator* GeneratorZone::find(std::uint16_t type) const {
    for (const Generator& g : generators) {
        if (g.type == type) return &g;
    }
    return nullptr;
}

const SoundFontPreset* SoundFont::findPreset(int bank, int program) const {
    for (const SoundFontPreset& preset : presets) {
        if (preset.bank == bank && preset.program == program) return &preset;
    }
    return nullptr;
}

bool readSoundFont(const ByteSource& source, SoundFont* font, std::string* error) {
    *font = SoundFont{};
    Reader reader(source, error);
    if (reader.read(font)) return true;
    *font = SoundFont{};
    return false;
}

bool readSoundFontFile(const std::string& path, SoundFont* font, std::string* error) {
    const FileSource file(path);
    if (!file.isOpen()) {
        *error = "cannot open " + path;
        return false;
    }
    if (readSoundFont(file, font, error)) return true;
    *error = path + ": " + *error;
    return false;
}

}  // namespace makelib
