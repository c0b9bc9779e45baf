#include "WavWriter.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

namespace quorrender {
namespace {

constexpr std::uint32_t kHeaderSize = 58;  // RIFF + fmt (18-byte body) + fact + data headers
constexpr std::uint64_t kLargestData = 0xFFFFFFFFull - kHeaderSize;

void put16(std::uint8_t* out, std::uint32_t v) {
    out[0] = static_cast<std::uint8_t>(v);
    out[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out + 2, v >> 16);
}

std::int32_t quantise(float x, double scale) {
    const double clipped = std::isnan(x) ? 0.0 : std::fmax(-1.0, std::fmin(1.0, double(x)));
    return static_cast<std::int32_t>(std::lround(clipped * scale));
}

}  // namespace

int bytesPerSample(WavFormat format) {
    return format == WavFormat::Pcm16 ? 2 : format == WavFormat::Pcm24 ? 3 : 4;
}

WavWriter::~WavWriter() {
    if (file_) close();
}

bool WavWriter::fail(const std::string& text) {
    if (!failed_) error_ = text;
    failed_ = true;
    return false;
}

bool WavWriter::open(const std::string& path, int sampleRate, WavFormat format) {
    format_ = format;
    frames_ = 0;
    failed_ = false;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return fail("cannot create '" + path + "': " + std::strerror(errno));
    // Header with zero sizes for now; a plain fmt chunk with an empty extension and a fact
    // chunk, so float files follow the extended layout and PCM files stay ordinary.
    std::uint8_t h[kHeaderSize] = {};
    const int bytes = bytesPerSample(format);
    std::memcpy(h, "RIFF", 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 18);
    put16(h + 20, format == WavFormat::Float32 ? 3 : 1);
    put16(h + 22, 2);
    put32(h + 24, static_cast<std::uint32_t>(sampleRate));
    put32(h + 28, static_cast<std::uint32_t>(sampleRate * 2 * bytes));
    put16(h + 32, static_cast<std::uint16_t>(2 * bytes));
    put16(h + 34, static_cast<std::uint16_t>(8 * bytes));
    put16(h + 36, 0);
    std::memcpy(h + 38, "fact", 4);
    put32(h + 42, 4);
    std::memcpy(h + 50, "data", 4);
    if (std::fwrite(h, 1, sizeof h, file_) != sizeof h) return fail("cannot write '" + path + "'");
    return true;
}

bool WavWriter::write(const float* left, const float* right, std::size_t frames) {
    if (!file_ || failed_) return false;
    const int bytes = bytesPerSample(format_);
    std::vector<std::uint8_t> out(frames * 2 * bytes);
    std::uint8_t* p = out.data();
    for (std::size_t i = 0; i < frames; ++i) {
        for (float x : {left[i], right[i]}) {
            if (format_ == WavFormat::Float32) {
                std::uint32_t bits;
                std::memcpy(&bits, &x, 4);
                put32(p, bits);
            } else if (format_ == WavFormat::Pcm16) {
                put16(p, static_cast<std::uint32_t>(quantise(x, 32767.0)));
            } else {
                const std::uint32_t v = static_cast<std::uint32_t>(quantise(x, 8388607.0));
                p[0] = static_cast<std::uint8_t>(v);
                p[1] = static_cast<std::uint8_t>(v >> 8);
                p[2] = static_cast<std::uint8_t>(v >> 16);
            }
            p += bytes;
        }
    }
    if ((frames_ + frames) * 2 * bytes > kLargestData)
        return fail("output longer than a WAV file can hold");
    if (std::fwrite(out.data(), 1, out.size(), file_) != out.size()) return fail("write failed");
    frames_ += frames;
    return true;
}

bool WavWriter::close() {
    if (!file_) return false;
    const std::uint32_t data = static_cast<std::uint32_t>(frames_ * 2 * bytesPerSample(format_));
    std::uint8_t sizes[4];
    bool ok = !failed_;
    auto patch = [&](long at, std::uint32_t value) {
        put32(sizes, value);
        ok = ok && std::fseek(file_, at, SEEK_SET) == 0 && std::fwrite(sizes, 1, 4, file_) == 4;
    };
    patch(4, kHeaderSize - 8 + data);
    patch(46, static_cast<std::uint32_t>(frames_));
    patch(54, data);
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok) return fail(error_.empty() ? "cannot finish the WAV file" : error_);
    return true;
}

}  // namespace quorrender
