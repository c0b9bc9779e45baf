// A file stream with typed reads and writes.
//
// Multi-byte values travel little-endian; with the swap flag set their bytes are reversed on the
// way in and out, so the medium holds big-endian values. Every typed read or write moves exactly
// the value's width through readRaw/writeRaw and answers true only when all of it was moved.
// An optional 65536-byte read-ahead buffer serves many small reads. The last failing system call
// leaves its error code in lastError(). A stream belongs to one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/VstPath.h"
#include "data/VstPlugObject.h"
#include "platform/Platform.h"

class FStream : public VstPlugObject {
public:
    static constexpr std::size_t kBufferSize = 65536;
    enum Mode : unsigned { kRead = 1, kWrite = 2 };

    FStream() = default;
    FStream(const FStream&) = delete;
    FStream& operator=(const FStream&) = delete;
    ~FStream() override;

    // Takes the file name from `path`; null changes nothing.
    virtual void setPath(const VstPath* path);
    // kRead: read access, the file must exist. kWrite: write access, opened or created and never
    // truncated (writers that replace a file call setSize(tell()) when done).
    virtual bool open(unsigned mode);
    virtual void close();
    // Position of the next byte to read or write; -1 when unknown.
    virtual std::int64_t tell();
    virtual void rewind();
    // whence 0 from the start, 1 from the current position, 2 from the end; answers the new
    // position, or -1 on failure.
    virtual std::int64_t seek(std::int64_t offset, int whence);
    virtual void discardBuffer();
    // Makes the file n bytes long, keeping the position.
    virtual bool setSize(std::int64_t n);
    // The file's size in bytes; -1 when unknown.
    virtual std::int64_t size();
    virtual void setSwapBytes(bool swap) { swap_ = swap; }
    virtual bool writeU8(std::uint8_t value);
    virtual bool writeBytes(const void* buffer, std::size_t n);
    virtual bool writeU16(std::int16_t value);
    virtual bool writeU16(std::uint16_t value);
    virtual bool writeU32(std::int32_t value);
    virtual bool writeU32(std::uint32_t value);
    virtual bool writeF32(float value);
    virtual bool writeF64(double value);
    // Writes itemSize × count bytes; answers the bytes written.
    virtual std::size_t writeItems(const void* buffer, std::size_t itemSize, std::size_t count);
    // The text and its terminating zero (a null text writes the zero alone).
    virtual bool writeString(const char* text);
    virtual bool readU8(std::uint8_t* dest);
    virtual bool readU16(std::int16_t* dest);
    virtual bool readU16(std::uint16_t* dest);
    virtual bool readU32(std::int32_t* dest);
    virtual bool readU32(std::uint32_t* dest);
    virtual bool readF32(float* dest);
    virtual bool readF64(double* dest);
    virtual bool readBytes(void* buffer, std::size_t n);
    virtual std::size_t readItems(void* buffer, std::size_t itemSize, std::size_t count);
    // Reads one line into buffer: stops after a line feed, carriage return or zero byte (consumed,
    // not stored), at the end of data, or when max bytes were taken (the text is then cut to
    // max - 1). Always terminates within max bytes; answers the stored length. A CR LF pair leaves
    // the LF for the next call.
    virtual std::size_t readLine(char* buffer, std::size_t max);
    // Answers the bytes read (0 at the end or on failure).
    virtual std::size_t readRaw(void* buffer, std::size_t n);
    // Answers the bytes written (0 on failure, with the error recorded).
    virtual std::size_t writeRaw(const void* buffer, std::size_t n);
    virtual bool isOpen() const { return file_.valid(); }
    virtual void setBuffered(bool on);

    // Convenience: the file name from a text (null changes nothing).
    void setPath(const char* text);
    const VstPath& fileName() const { return fileName_; }
    std::uint32_t lastError() const { return lastError_; }
    bool swapBytes() const { return swap_; }

protected:
    platform::FileHandle file_;
    std::uint32_t lastError_ = 0;

private:
    template <typename T>
    bool writeValue(T value);
    template <typename T>
    bool readValue(T* dest);
    // Moves the file back to the logical position and empties the read-ahead buffer.
    bool dropReadAhead();

    unsigned char* buffer_ = nullptr;
    std::size_t bufferFill_ = 0;  // bytes the buffer received from the file at its last refill
    std::size_t unread_ = 0;      // of which the last `unread_` have not been delivered yet
    bool swap_ = false;
    VstPath fileName_;
};
