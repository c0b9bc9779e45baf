// The process-wide table of raw resources: one PResource per raw file name that any instrument
// zone names, in order of creation. Records are never removed while the table exists.
//
// Threads: the host's threads create records (while the library loads), request loads and load
// at once (loadNow); voices on the audio thread take and drop references; the loader thread
// (PResourceLoader, one per process, alive while at least one plug-in object exists) loads what
// is wanted and frees what is released. Contents are loaded and freed only under the resource
// lock; flags and references are atomic; the list is appended to with release stores, so the
// loader can walk it while it grows.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "data/FCondition.h"
#include "data/FLock.h"
#include "data/PResource.h"
#include "data/VstPlugObject.h"

class PResourceLoader;
struct PZone;

class PResourceTable : public VstPlugObject {
public:
    static constexpr std::size_t kPathSize = 1024;
    static constexpr std::uint64_t kRecordOverhead = 160;  // counted per record by memoryUsage
    static constexpr std::uint32_t kQuietReleaseMs = 100;

    static PResourceTable& shared();
    // The process-wide lock held across every load and free of a resource's contents.
    static FLock& resourceLock();

    PResourceTable();
    ~PResourceTable() override;

    // The record with this name (byte-wise, first in list order); when there is none and create
    // is true, a new record appended at the end (marked as a filter resource when filter is
    // true). Null for a null or empty name, or when the record can't be made.
    PResource* findOrCreate(const char* name, bool create, bool filter = false);
    // Points the zone's base, top and filter at "B%05d.raw", "T%05d.raw" and "L%05d.raw".
    void createNumbered(PZone& zone, int n);
    PResource* first() const { return head_.load(std::memory_order_acquire); }
    int count() const { return count_.load(); }

    // The folder holding the raw files (with or without a trailing separator).
    void setRawFolder(const char* folder);
    bool hasRawFolder() const;
    // The sum of the loaded sizes plus 160 bytes per record.
    std::uint64_t memoryUsage() const;

    // Plug-in objects register here: the first starts the loader thread, the last stops it and
    // frees every unreferenced resource's contents.
    void addUser();
    void removeUser();
    int users() const;
    bool loaderRunning() const;

    static void addRef(PResource* resource);
    // Drops a reference; when none remain, asks the loader to free the contents and wakes it.
    void release(PResource* resource);
    // The same without waking the loader, for the audio thread: no lock, no system call. The
    // loader notices such requests within kQuietReleaseMs.
    void releaseQuietly(PResource* resource);
    // True once after releaseQuietly asked for a free (the loader's check).
    bool takeQuietRelease() { return quietRelease_.exchange(false); }
    // Marks the resource wanted (the caller wakes the loader). Callers take their reference
    // first: the loader reads only files that someone holds.
    static void want(PResource* resource);
    // Loads the contents now on this thread. False when it already has data, was tried before,
    // or there is no raw folder; true when a read was attempted (successful or not).
    bool load(PResource* resource);
    // Frees the contents when they exist and no reference is held; true when freed. Requests
    // made before the free are settled by it, so a freed file stays unloaded until asked again.
    bool unload(PResource* resource);
    // Wakes the loader thread for one more pass. Safe from any thread at any time.
    void wakeLoader();
    // One pass of the loader over the records, in list order: loads what is wanted and frees
    // what was released, pausing 1 ms after every ten of these. Ends early when quit turns true
    // or an allocation failed anywhere in the process. The loader thread runs it on each
    // wake-up; tests run it directly while no loader thread exists.
    void loaderPass(const std::atomic<bool>& quit);
    // How many reads have been attempted since start-up; it changes while files load, which the
    // editor's loading indicator watches from its own thread.
    std::uint32_t loadCount() const { return loadCount_.load(std::memory_order_relaxed); }

    // Checks that every record's file exists, marks the instruments with missing files and, with
    // a buffer, writes the report shown to the user. Answers the number of missing files.
    int checkMissing(char* buffer, std::size_t capacity);

    // Tests only: empties the pool (whose zones point at the records), stops the loader, forgets
    // every record and the raw folder, and clears the user count. Must not run while any other
    // thread uses the table or the pool.
    void resetForTests();

private:
    // Builds the full path of a record's file; false when it does not fit or there is no folder.
    bool filePath(const PResource* resource, char* out, std::size_t capacity) const;
    void startLoader();
    void stopLoader();
    void freeUnreferenced();
    void deleteRecords();

    std::atomic<PResource*> head_{nullptr};
    PResource* tail_ = nullptr;
    std::atomic<int> count_{0};
    std::mutex listMutex_;  // serialises appends

    char rawFolder_[kPathSize] = {};

    mutable std::mutex
        usersMutex_;  // serialises addUser/removeUser and the loader's start and stop
    int users_ = 0;
    PResourceLoader* loader_ = nullptr;
    FCondition wake_;  // outlives every loader, so wakeLoader never races a loader's deletion
    std::atomic<bool> quietRelease_{false};
    std::atomic<std::uint32_t> loadCount_{0};
};
