// A streaming stereo WAV file writer: 16-bit or 24-bit PCM (clipped to full scale, rounded) or
// 32-bit float. The header's sizes are filled in by close().
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace quorrender {

enum class WavFormat { Pcm16, Pcm24, Float32 };

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();  // closes (finishing the header) when still open
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // False with a reason in error() when the file can't be created.
    bool open(const std::string& path, int sampleRate, WavFormat format);
    bool write(const float* left, const float* right, std::size_t frames);
    // Writes the final sizes; false when the data grew past what a WAV file can describe or the
    // file could not be written.
    bool close();
    const std::string& error() const { return error_; }
    std::uint64_t frames() const { return frames_; }

private:
    bool fail(const std::string& text);

    std::FILE* file_ = nullptr;
    WavFormat format_ = WavFormat::Pcm16;
    std::uint64_t frames_ = 0;
    bool failed_ = false;
    std::string error_;
};

int bytesPerSample(WavFormat format);

}  // namespace quorrender
