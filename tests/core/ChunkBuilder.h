// Builds big-endian chunk bytes by hand for the chunk tests, independently of the codec, and reads
// and patches their fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

// The big-endian 32-bit field at a byte offset, as chunks and bank files store their integers.
inline std::uint32_t bigEndian(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
           std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}
inline void putBigEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(value >> (24 - 8 * i));
}

class ChunkBuilder {
public:
    ChunkBuilder& u32(std::uint32_t v) {
        bytes.resize(bytes.size() + 4);
        putBigEndian(bytes, bytes.size() - 4, v);
        return *this;
    }
    // Four characters.
    ChunkBuilder& tag(const char* code) {
        bytes.insert(bytes.end(), code, code + 4);
        return *this;
    }
    ChunkBuilder& f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(bits);
    }
    ChunkBuilder& text(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        return *this;
    }
    ChunkBuilder& raw(std::initializer_list<std::uint8_t> list) {
        bytes.insert(bytes.end(), list);
        return *this;
    }

    struct Preset {
        std::string name = "P";
        std::vector<float> values = std::vector<float>(108, 0.25f);
        int slotCount = 33;
        // Category and name of the first slots; the others are empty references.
        std::vector<std::pair<std::string, std::string>> references;
        std::int32_t icons[3] = {0, 0, 0};
    };
    ChunkBuilder& preset(const Preset& p) {
        tag("Prst").u32(0).text(p.name);
        for (float v : p.values) f32(v);
        for (int s = 0; s < p.slotCount; ++s) {
            bool given = s < int(p.references.size());
            text(given ? p.references[s].first : "").text(given ? p.references[s].second : "");
        }
        for (std::int32_t icon : p.icons) u32(std::uint32_t(icon));
        for (int l = 0; l < 3; ++l) {
            tag("Saw1");
            for (int s = 0; s < 16; ++s) bytes.push_back(std::uint8_t(s));
        }
        return *this;
    }

    struct Program {
        std::uint32_t version = 2000;
        std::string name = "Hand";
        std::int32_t counts[5] = {64, 4, 108, 33, 3};
        std::int32_t current = 0;
        Preset preset;
    };
    ChunkBuilder& program(const Program& p) {
        tag("PxCk").u32(0).tag("RS-1").u32(1000).u32(p.version).text(p.name);
        for (std::int32_t c : p.counts) u32(std::uint32_t(c));
        u32(std::uint32_t(p.current));
        for (int i = 0; i < p.counts[0]; ++i) preset(p.preset);
        for (int g = 0; g < 4; ++g) text("G" + std::to_string(g));
        return u32(0);
    }
    ChunkBuilder& bankHeader(std::int32_t current, std::int32_t count) {
        return tag("PxCk")
            .u32(0)
            .tag("RS-1")
            .u32(1000)
            .u32(2000)
            .u32(std::uint32_t(current))
            .u32(std::uint32_t(count));
    }

    std::vector<std::uint8_t> bytes;
};
