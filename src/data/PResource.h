// One raw file of the instrument library: its name, its loaded contents, its request flags and
// the count of references that resource holders and voices keep on it.
//
// Reading the data (voices, on the audio thread): take a reference first (PResourceHold), then
// ask samples() or filter(). While the reference is held the contents are never freed, and every
// index the answer gives lies inside the loaded block, so the caller needs no further checks:
//  - samples(): 0 <= startFrame <= loopEnd, 0 <= loopStart <= loopEnd, and loopEnd + 12 <=
//    sampleCount, so an interpolation window of 12 samples from any position up to the loop end
//    stays inside the data;
//  - filter(): 1 <= order <= 15 and 1 <= frameCount, with frameCount whole 128-byte frames
//    (64 int16 values each) after the 64-byte header.
// A file that breaks these rules is dropped at load time: the resource then has no data and a
// voice refuses the note. The header inside data() carries the same, already limited, values.
//
// The flags and references change on several threads and are atomic; the contents are loaded and
// freed only by PResourceTable under the process-wide resource lock.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

class PResource {
public:
    static constexpr std::size_t kNameSize = 128;
    enum Flag : std::uint32_t {
        kFilter = 1,            // an "L" coefficient file
        kAttempted = 2,         // a load was tried since the last unload
        kWanted = 4,            // asked for: the loader loads it while someone holds it
        kReleaseRequested = 8,  // the references fell to 0; the loader may free it
    };
    static constexpr std::uint32_t kSampleHeader = 16;
    static constexpr std::uint32_t kFilterHeader = 64;
    static constexpr std::uint32_t kFrameBytes = 128;
    static constexpr std::int32_t kSampleTail = 12;  // samples kept readable beyond the loop end
    static constexpr std::int32_t kMaxOrder = 15;

    // A sample file ("B" or "T"): the header fields and the samples after it.
    struct Samples {
        const std::int16_t* samples = nullptr;  // null when there is no data
        std::int32_t sampleCount = 0;
        std::uint8_t formatVersion = 0;  // the voice plays the layer only from version 10 on
        std::int8_t rootKey = 0;
        std::int8_t fineTune = 0;  // 50 = none
        std::int32_t startFrame = 0;
        std::int32_t loopStart = 0;
        std::int32_t loopEnd = 0;
    };
    // A filter file ("L"): the header fields and the coefficient frames after it.
    struct Filter {
        const std::uint8_t* file = nullptr;    // the whole file (16-byte aligned); null: no data
        const std::int16_t* frames = nullptr;  // file + 64
        std::int32_t frameCount = 0;
        std::int32_t order = 0;
        std::uint8_t gain = 0;
    };

    PResource(const char* name, bool filter);
    ~PResource();
    PResource(const PResource&) = delete;
    PResource& operator=(const PResource&) = delete;

    const char* name() const { return name_; }
    bool isFilter() const { return (flags() & kFilter) != 0; }
    std::uint32_t flags() const { return flags_.load(); }
    std::int32_t references() const { return references_.load(); }
    PResource* next() const { return next_.load(std::memory_order_acquire); }

    // The validated contents (any thread, with a reference held).
    bool hasData() const { return data_.load() != nullptr; }
    const std::uint8_t* data() const { return data_.load(); }
    std::uint32_t size() const;
    Samples samples() const;
    Filter filter() const;

    // Checks a file image against the rules above and limits its header counts in place.
    // False when the file can't be used.
    static bool validateSamples(std::uint8_t* data, std::uint32_t size);
    static bool validateFilter(std::uint8_t* data, std::uint32_t size);

private:
    friend class PResourceTable;

    void setFlags(std::uint32_t bits) { flags_.fetch_or(bits); }
    void clearFlags(std::uint32_t bits) { flags_.fetch_and(~bits); }
    std::int32_t addRef() { return references_.fetch_add(1) + 1; }
    std::int32_t release() { return references_.fetch_sub(1) - 1; }
    // Validates and publishes freshly read contents; frees them and answers false when invalid.
    bool adopt(std::uint8_t* data, std::uint32_t size);
    // Frees the contents unless a reference exists; see PResourceTable::unload.
    bool freeIfUnreferenced();

    char name_[kNameSize];
    std::atomic<std::uint8_t*> data_{nullptr};
    std::atomic<std::uint32_t> flags_;
    std::atomic<std::int32_t> references_{0};
    std::atomic<PResource*> next_{nullptr};
};
