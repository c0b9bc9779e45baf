#include "data/VstPathIterator.h"

#include <cstring>

namespace {

// The folder text with exactly one separator at its end (none added to an empty text).
VstPath folderOf(const VstPath* directory) {
    char text[VstPath::kCapacity] = "";
    if (directory) directory->copyPath(text);
    std::size_t length = std::strlen(text);
    while (length > 1 && text[length - 1] == platform::kPathSeparator &&
           text[length - 2] == platform::kPathSeparator) {
        text[--length] = '\0';
    }
    if (length > 0 && text[length - 1] != platform::kPathSeparator && length + 1 < sizeof text) {
        text[length] = platform::kPathSeparator;
        text[length + 1] = '\0';
    }
    VstPath folder;
    folder.setPath(text);
    return folder;
}

}  // namespace

VstPathIterator::VstPathIterator(const VstPath* directory, unsigned filter)
    : directory_(folderOf(directory)),
      lister_(directory_.path()),
      listsRoots_(directory_.isEmpty()),
      filter_(filter) {}

bool VstPathIterator::next(VstPath* out) {
    if (!out) return false;
    char name[VstPath::kCapacity];
    if (listsRoots_) {
        if (!platform::fileSystemRoot(rootsDelivered_, name, sizeof name)) return false;
        ++rootsDelivered_;
        out->setPath(name);
        return true;
    }
    bool isDir = false;
    while (lister_.next(name, sizeof name, &isDir)) {
        if (!(filter_ & (isDir ? kDirectories : kFiles))) continue;
        char full[VstPath::kCapacity];
        const std::size_t folderLength = std::strlen(directory_.path());
        const std::size_t nameLength = std::strlen(name);
        if (folderLength + nameLength + (isDir ? 1 : 0) >= sizeof full) continue;
        std::memcpy(full, directory_.path(), folderLength);
        std::memcpy(full + folderLength, name, nameLength);
        std::size_t used = folderLength + nameLength;
        if (isDir) full[used++] = platform::kPathSeparator;
        full[used] = '\0';
        out->setPath(full);
        return true;
    }
    return false;
}
