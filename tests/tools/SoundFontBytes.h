// A small sound bank written byte by byte, for the reader's tests: the caller lists presets,
// instruments (each zone a list of generators) and samples, and gets the file's bytes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sfbytes {

using Bytes = std::vector<std::uint8_t>;
using Zone = std::vector<std::pair<std::uint16_t, std::uint16_t>>;  // generator, amount

struct Preset {
    std::string name;
    int program, bank;
    std::vector<Zone> zones;
};
struct Instrument {
    std::string name;
    std::vector<Zone> zones;
};
struct Sample {
    std::string name;
    std::uint32_t start, end, loopStart, loopEnd, rate;
    int key, correction;
    std::uint16_t link, type;
};

inline std::uint16_t range(int low, int high) {
    return static_cast<std::uint16_t>(low | high << 8);
}

inline void put16(Bytes& b, std::uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
inline void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void putText(Bytes& b, const std::string& text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) b.push_back(i < text.size() ? text[i] : 0);
}
inline Bytes chunk(const std::string& id, const Bytes& body) {
    Bytes out;
    putText(out, id, 4);
    put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
    return out;
}
inline Bytes list(const std::string& id, const std::string& type, const std::vector<Bytes>& parts) {
    Bytes body;
    putText(body, type, 4);
    for (const Bytes& p : parts) body.insert(body.end(), p.begin(), p.end());
    return chunk(id, body);
}

// Header records (phdr or inst) with their bag tables and generator tables.
struct ZoneTables {
    Bytes bags, generators, modulators;
    int bagCount = 0, generatorCount = 0;
    int add(const std::vector<Zone>& zones) {
        const int first = bagCount;
        for (const Zone& zone : zones) {
            put16(bags, generatorCount);
            put16(bags, 0);
            ++bagCount;
            for (const auto& [type, amount] : zone) {
                put16(generators, type);
                put16(generators, amount);
                ++generatorCount;
            }
        }
        return first;
    }
    void close() {
        put16(bags, generatorCount);
        put16(bags, 0);
        put32(generators, 0);
        modulators.assign(10, 0);
    }
};

inline Bytes soundFont(const std::vector<Preset>& presets,
                       const std::vector<Instrument>& instruments,
                       const std::vector<Sample>& samples, const std::vector<std::int16_t>& data) {
    ZoneTables p, i;
    Bytes phdr, inst, shdr, smpl;
    for (const Preset& preset : presets) {
        putText(phdr, preset.name, 20);
        put16(phdr, preset.program);
        put16(phdr, preset.bank);
        put16(phdr, p.add(preset.zones));
        putText(phdr, "", 12);
    }
    putText(phdr, "EOP", 20);
    putText(phdr, "", 4);
    put16(phdr, p.bagCount);
    putText(phdr, "", 12);
    p.close();
    for (const Instrument& instrument : instruments) {
        putText(inst, instrument.name, 20);
        put16(inst, i.add(instrument.zones));
    }
    i.close();
    putText(inst, "EOI", 20);
    put16(inst, i.bagCount);
    for (const Sample& s : samples) {
        putText(shdr, s.name, 20);
        for (std::uint32_t v : {s.start, s.end, s.loopStart, s.loopEnd, s.rate}) put32(shdr, v);
        shdr.push_back(static_cast<std::uint8_t>(s.key));
        shdr.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(s.correction)));
        put16(shdr, s.link);
        put16(shdr, s.type);
    }
    putText(shdr, "EOS", 46);
    for (std::int16_t v : data) put16(smpl, static_cast<std::uint16_t>(v));
    return list(
        "RIFF", "sfbk",
        {list("LIST", "INFO", {chunk("ifil", {2, 0, 1, 0})}),
         list("LIST", "sdta", {chunk("smpl", smpl)}),
         list("LIST", "pdta",
              {chunk("phdr", phdr), chunk("pbag", p.bags), chunk("pmod", p.modulators),
               chunk("pgen", p.generators), chunk("inst", inst), chunk("ibag", i.bags),
               chunk("imod", i.modulators), chunk("igen", i.generators), chunk("shdr", shdr)})});
}

}  // namespace sfbytes
