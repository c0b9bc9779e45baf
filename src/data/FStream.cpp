#include "data/FStream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

void reverseBytes(unsigned char* bytes, std::size_t n) {
    std::reverse(bytes, bytes + n);
}

bool productFits(std::size_t a, std::size_t b, std::size_t* product) {
    if (a != 0 && b > SIZE_MAX / a) return false;
    *product = a * b;
    return true;
}

}  // namespace

FStream::~FStream() {
    close();
    std::free(buffer_);
}

void FStream::setPath(const VstPath* path) {
    if (path) fileName_ = *path;
}

void FStream::setPath(const char* text) {
    fileName_.setPath(text);
}

bool FStream::open(unsigned mode) {
    close();
    const char* name = fileName_.path();
    if (!name) return false;
    file_ = platform::openFile(name, mode & (kRead | kWrite), &lastError_);
    return file_.valid();
}

void FStream::close() {
    platform::closeFile(file_);
    discardBuffer();
}

std::int64_t FStream::tell() {
    std::int64_t physical = platform::seekFile(file_, 0, 1, &lastError_);
    return physical < 0 ? -1 : physical - static_cast<std::int64_t>(unread_);
}

void FStream::rewind() {
    discardBuffer();
    platform::seekFile(file_, 0, 0, &lastError_);
}

std::int64_t FStream::seek(std::int64_t offset, int whence) {
    std::int64_t base = 0;
    if (whence == 1) {
        base = tell();
    } else if (whence == 2) {
        base = platform::fileSize(file_);
    } else if (whence != 0) {
        return -1;
    }
    if (base < 0) return -1;
    const std::int64_t target = base + offset;
    // A target among the bytes the buffer holds only moves within the buffer.
    const std::int64_t physical = platform::seekFile(file_, 0, 1, &lastError_);
    if (bufferFill_ > 0 && physical >= 0 && target <= physical &&
        target >= physical - static_cast<std::int64_t>(bufferFill_)) {
        unread_ = static_cast<std::size_t>(physical - target);
        return target;
    }
    discardBuffer();
    return platform::seekFile(file_, target, 0, &lastError_);
}

void FStream::discardBuffer() {
    unread_ = 0;
    bufferFill_ = 0;
}

bool FStream::dropReadAhead() {
    if (unread_ == 0) {
        discardBuffer();
        return true;
    }
    std::int64_t position = tell();
    discardBuffer();
    return position >= 0 && platform::seekFile(file_, position, 0, &lastError_) >= 0;
}

bool FStream::setSize(std::int64_t n) {
    const std::int64_t position = tell();
    discardBuffer();
    bool done = position >= 0 && platform::seekFile(file_, n, 0, &lastError_) >= 0 &&
                platform::truncateFile(file_, &lastError_);
    if (position >= 0) platform::seekFile(file_, position, 0, &lastError_);
    return done;
}

std::int64_t FStream::size() {
    return platform::fileSize(file_);
}

template <typename T>
bool FStream::writeValue(T value) {
    if (!isOpen()) return false;
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if (swap_) reverseBytes(bytes, sizeof(T));
    return writeRaw(bytes, sizeof(T)) == sizeof(T);
}

template <typename T>
bool FStream::readValue(T* dest) {
    if (!isOpen() || !dest) return false;
    unsigned char bytes[sizeof(T)];
    if (readRaw(bytes, sizeof(T)) != sizeof(T)) return false;
    if (swap_) reverseBytes(bytes, sizeof(T));
    std::memcpy(dest, bytes, sizeof(T));
    return true;
}

bool FStream::writeU8(std::uint8_t value) {
    return writeValue(value);
}
bool FStream::writeU16(std::int16_t value) {
    return writeValue(value);
}
bool FStream::writeU16(std::uint16_t value) {
    return writeValue(value);
}
bool FStream::writeU32(std::int32_t value) {
    return writeValue(value);
}
bool FStream::writeU32(std::uint32_t value) {
    return writeValue(value);
}
bool FStream::writeF32(float value) {
    return writeValue(value);
}
bool FStream::writeF64(double value) {
    return writeValue(value);
}
bool FStream::readU8(std::uint8_t* dest) {
    return readValue(dest);
}
bool FStream::readU16(std::int16_t* dest) {
    return readValue(dest);
}
bool FStream::readU16(std::uint16_t* dest) {
    return readValue(dest);
}
bool FStream::readU32(std::int32_t* dest) {
    return readValue(dest);
}
bool FStream::readU32(std::uint32_t* dest) {
    return readValue(dest);
}
bool FStream::readF32(float* dest) {
    return readValue(dest);
}
bool FStream::readF64(double* dest) {
    return readValue(dest);
}

bool FStream::writeBytes(const void* buffer, std::size_t n) {
    return isOpen() && (n == 0 || buffer) && writeRaw(buffer, n) == n;
}

std::size_t FStream::writeItems(const void* buffer, std::size_t itemSize, std::size_t count) {
    std::size_t bytes = 0;
    if (!isOpen() || !buffer || !productFits(itemSize, count, &bytes)) return 0;
    return writeRaw(buffer, bytes);
}

bool FStream::writeString(const char* text) {
    if (!text) text = "";
    const std::size_t n = std::strlen(text) + 1;
    return isOpen() && writeRaw(text, n) == n;
}

bool FStream::readBytes(void* buffer, std::size_t n) {
    return isOpen() && (n == 0 || buffer) && readRaw(buffer, n) == n;
}

std::size_t FStream::readItems(void* buffer, std::size_t itemSize, std::size_t count) {
    std::size_t bytes = 0;
    if (!isOpen() || !buffer || !productFits(itemSize, count, &bytes)) return 0;
    return readRaw(buffer, bytes);
}

std::size_t FStream::readLine(char* buffer, std::size_t max) {
    if (!buffer || max == 0) return 0;
    std::size_t stored = 0;
    char c = 0;
    while (readRaw(&c, 1) == 1 && c != '\n' && c != '\r' && c != '\0') {
        buffer[stored++] = c;
        if (stored == max) {
            stored = max - 1;
            break;
        }
    }
    buffer[stored] = '\0';
    return stored;
}

std::size_t FStream::readRaw(void* buffer, std::size_t n) {
    if (n == 0 || !buffer) return 0;
    auto* dest = static_cast<unsigned char*>(buffer);
    if (!buffer_) {
        std::int64_t got = platform::readFile(file_, dest, n, &lastError_);
        return got < 0 ? 0 : static_cast<std::size_t>(got);
    }
    std::size_t total = 0;
    while (total < n) {
        if (unread_ > 0) {
            std::size_t take = std::min(unread_, n - total);
            std::memcpy(dest + total, buffer_ + (bufferFill_ - unread_), take);
            unread_ -= take;
            total += take;
            continue;
        }
        const std::size_t wanted = n - total;
        if (wanted > kBufferSize) {
            std::int64_t got = platform::readFile(file_, dest + total, wanted, &lastError_);
            return total + (got < 0 ? 0 : static_cast<std::size_t>(got));
        }
        const std::int64_t physical = platform::seekFile(file_, 0, 1, &lastError_);
        const std::int64_t left = platform::fileSize(file_) - physical;
        if (physical < 0 || left <= 0) return total;  // the end of the file: a short read
        const auto ask = static_cast<std::size_t>(std::min<std::int64_t>(kBufferSize, left));
        const std::int64_t got = platform::readFile(file_, buffer_, ask, &lastError_);
        bufferFill_ = unread_ = got < 0 ? 0 : static_cast<std::size_t>(got);
        if (bufferFill_ < ask) return 0;
    }
    return total;
}

std::size_t FStream::writeRaw(const void* buffer, std::size_t n) {
    if (n == 0 || !buffer) return 0;
    // Bytes read ahead put the file position past the logical one; a write goes to the latter.
    if (!dropReadAhead()) return 0;
    std::int64_t put = platform::writeFile(file_, buffer, n, &lastError_);
    return put < 0 ? 0 : static_cast<std::size_t>(put);
}

void FStream::setBuffered(bool on) {
    dropReadAhead();
    if (on) {
        if (!buffer_) buffer_ = static_cast<unsigned char*>(std::malloc(kBufferSize));
    } else {
        std::free(buffer_);
        buffer_ = nullptr;
    }
}
