#include "data/VstPath.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/FStream.h"
#include "platform/Platform.h"

namespace {

using platform::kPathSeparator;

// Copies at most capacity - 1 bytes of text and terminates; answers the length copied.
std::size_t copyBounded(char* dest, const char* text, std::size_t capacity) {
    std::size_t length = strnlen(text, capacity - 1);
    std::memcpy(dest, text, length);
    dest[length] = '\0';
    return length;
}

}  // namespace

VstPath::VstPath(const char* source) {
    assign(source);
}

VstPath::VstPath(const VstPath& other) : VstPlugObject(other) {
    if (other.path()) replaceWith(other.path());
}

VstPath& VstPath::operator=(const VstPath& other) {
    if (this == &other) return *this;
    if (other.path()) {
        replaceWith(other.path());
    } else {
        std::free(path_);
        path_ = nullptr;
    }
    return *this;
}

VstPath::~VstPath() {
    std::free(path_);
}

bool VstPath::replaceWith(const char* text) {
    auto* fresh = static_cast<char*>(std::malloc(kCapacity));
    if (!fresh) return false;
    copyBounded(fresh, text, kCapacity);
    std::free(path_);
    path_ = fresh;
    return true;
}

void VstPath::append(const char* text) {
    const std::size_t used = std::strlen(path_);
    copyBounded(path_ + used, text, kCapacity - used);
}

char* VstPath::fileNamePart() const {
    if (!path_) return nullptr;
    char* separator = std::strrchr(path_, kPathSeparator);
    return separator ? separator + 1 : nullptr;
}

void VstPath::setPath(const char* text) {
    if (text) replaceWith(text);
}

void VstPath::getPath(char* dest) const {
    if (path_ && dest) copyBounded(dest, path_, kCapacity);
}

void VstPath::assign(const char* source) {
    assignBytes(source, source ? strnlen(source, kCapacity) + 1 : 0);
}

std::size_t VstPath::assignBytes(const char* data, std::size_t size) {
    std::free(path_);
    path_ = nullptr;
    if (!data || size == 0) return 0;
    path_ = static_cast<char*>(std::calloc(1, kCapacity));
    if (!path_) return 0;
    // A text not terminated within `size` is cut there.
    auto textIn = [](const char* text, std::size_t available, char* dest, std::size_t capacity) {
        std::size_t length = strnlen(text, available);
        std::size_t kept = length < capacity ? length : capacity - 1;
        std::memcpy(dest, text, kept);
        dest[kept] = '\0';
        return length < available ? length + 1 : available;
    };
    if (pathKind(data) == 1 || size <= kRecordHeader) {
        // A path text; a text too short to be a directory record is a (relative) path as well.
        return textIn(data, size, path_, kCapacity);
    }
    std::size_t root = copyBounded(path_, platform::kDefaultRoot, kCapacity);
    return kRecordHeader +
           textIn(data + kRecordHeader, size - kRecordHeader, path_ + root, kCapacity - root);
}

bool VstPath::equals(const char* text) const {
    return path_ && text && std::strcmp(path_, text) == 0;
}

bool VstPath::isEmpty() const {
    return !path_ || !*path_;
}

void VstPath::getFileName(char* dest) const {
    if (!path_ || !dest) return;
    const char* name = fileNamePart();
    copyBounded(dest, name ? name : "", kCapacity);
}

void VstPath::setFileName(const char* name) {
    char* namePart = fileNamePart();
    if (!namePart || !name) return;
    *namePart = '\0';
    append(name);
}

void VstPath::addRef() {
    refCount_.fetch_add(1);
}

void VstPath::release() {
    if (refCount_.fetch_sub(1) == 1) delete this;
}

void VstPath::copyPath(char* dest) const {
    if (dest) copyBounded(dest, path_ ? path_ : "", kCapacity);
}

bool VstPath::setPathChecked(const char* text) {
    std::free(path_);
    path_ = nullptr;
    return text && replaceWith(text);
}

void VstPath::appendDirectory(const char* name) {
    if (!path_ || !name) return;
    const char separator[2] = {kPathSeparator, '\0'};
    std::size_t length = std::strlen(path_);
    if (length == 0 || path_[length - 1] != kPathSeparator) append(separator);
    append(name);
    append(separator);
}

void VstPath::toParent() {
    if (!path_ || std::strlen(path_) < 3) return;
    std::size_t length = std::strlen(path_);
    if (path_[length - 1] == kPathSeparator) {
        path_[length - 1] = '\0';
    } else if (char* separator = std::strrchr(path_, kPathSeparator)) {
        *separator = '\0';
    }
    if (char* separator = std::strrchr(path_, kPathSeparator)) *separator = '\0';
    const char separator[2] = {kPathSeparator, '\0'};
    append(separator);
}

bool VstPath::makeDirectory(const char* name) {
    if (!path_ || !name) return false;
    appendDirectory(name);
    return exists() || platform::createDirectory(path_);
}

bool VstPath::exists() const {
    return path_ && platform::pathExists(path_);
}

bool VstPath::makeUnique() {
    char* namePart = fileNamePart();
    if (!namePart) return !exists();
    char stem[kCapacity];
    copyBounded(stem, namePart, kCapacity);
    char extension[kCapacity] = "";
    if (char* dot = std::strrchr(stem, '.')) {
        copyBounded(extension, dot, kCapacity);
        *dot = '\0';
    }
    const std::size_t room = kCapacity - static_cast<std::size_t>(namePart - path_);
    char name[kCapacity];
    for (unsigned n = 1; exists(); ++n) {
        int length = std::snprintf(name, sizeof name, "%s%u%s", stem, n, extension);
        if (length < 0 || static_cast<std::size_t>(length) >= room) return false;
        setFileName(name);
    }
    return true;
}

std::size_t VstPath::storageSize() const {
    return path_ ? std::strlen(path_) + 1 : kCapacity;
}

std::uint64_t VstPath::modificationTime() const {
    return isEmpty() ? 0 : platform::fileModificationTime(path_);
}

bool VstPath::isNewerThan(const VstPath& other) const {
    std::uint64_t mine = modificationTime();
    std::uint64_t theirs = other.modificationTime();
    return mine != 0 && theirs != 0 && mine > theirs;
}

void VstPath::writeTo(FStream& stream) {
    if (!path_ && !replaceWith("")) return;
    stream.writeRaw(path_, std::strlen(path_) + 1);
}

void VstPath::readFrom(FStream& stream) {
    const std::int64_t start = stream.tell();
    char scratch[kCapacity];
    std::int64_t got = stream.readRaw(scratch, sizeof scratch);
    std::size_t used = assignBytes(got > 0 ? scratch : nullptr, got > 0 ? std::size_t(got) : 0);
    if (path_ && start >= 0) stream.seek(start + static_cast<std::int64_t>(used), 0);
}

void VstPath::readFixed(FStream& stream) {
    char scratch[kCapacity];
    std::int64_t got = stream.readRaw(scratch, sizeof scratch);
    assignBytes(got > 0 ? scratch : nullptr, got > 0 ? std::size_t(got) : 0);
}

int VstPath::pathKind(const char* text) const {
    return platform::isAbsolutePath(text) ? 1 : 2;
}
