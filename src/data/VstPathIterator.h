// Lists the entries of a folder (or, for an empty folder text, the roots of the file systems)
// as full paths, one per next() call. Hidden entries are never listed.
#pragma once

#include "data/VstPath.h"
#include "platform/Platform.h"

class VstPathIterator {
public:
    enum Filter : unsigned { kDirectories = 1, kFiles = 4 };

    // `directory` may be null or empty (the roots are listed then); `filter` combines kDirectories
    // and kFiles.
    VstPathIterator(const VstPath* directory, unsigned filter);
    VstPathIterator(const VstPathIterator&) = delete;
    VstPathIterator& operator=(const VstPathIterator&) = delete;

    // Sets `out` to the next entry: the folder, the entry's name and, for a folder, a separator.
    // Entries whose full path would not fit a path buffer are passed over. False at the end.
    bool next(VstPath* out);

private:
    VstPath directory_;  // ends in exactly one separator
    platform::DirectoryLister lister_;
    int rootsDelivered_ = 0;
    bool listsRoots_ = false;
    unsigned filter_ = 0;
};
