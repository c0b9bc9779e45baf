#include "data/PResourceTable.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>

#include "data/FileReader.h"
#include "data/POIP.h"
#include "data/PPool.h"
#include "data/PResourceLoader.h"
#include "platform/Platform.h"

namespace {

const char kMissingHeader[] = "Missing files detected, please reinstall Quor!\n\n";
// The summary line's format text "\n\n%d of %d files missing." and the room kept beyond it.
constexpr std::size_t kSummaryFormatLength = sizeof "\n\n%d of %d files missing." - 1;
constexpr std::size_t kSummarySlack = 10;
// Loads and frees after which a loader pass pauses for 1 ms, so disk reading yields to the
// audio and host threads.
constexpr int kWorkBeforePause = 10;

// Appends text when it fits below capacity (room for the terminating zero included).
bool appendIfFits(char* buffer, std::size_t capacity, const char* text) {
    const std::size_t used = std::strlen(buffer);
    const std::size_t length = std::strlen(text);
    if (used + length >= capacity) return false;
    std::memcpy(buffer + used, text, length + 1);
    return true;
}

// "\n\n<missing> of <total> files missing."
void formatSummary(char* out, std::size_t capacity, int missing, int total) {
    char missingText[16] = {};
    char totalText[16] = {};
    std::to_chars(missingText, missingText + sizeof missingText - 1, missing);
    std::to_chars(totalText, totalText + sizeof totalText - 1, total);
    std::snprintf(out, capacity, "\n\n%s of %s files missing.", missingText, totalText);
}

}  // namespace

PResourceTable& PResourceTable::shared() {
    static PResourceTable table;
    return table;
}

FLock& PResourceTable::resourceLock() {
    static FLock lock;
    return lock;
}

PResourceTable::PResourceTable() = default;

PResourceTable::~PResourceTable() {
    stopLoader();
    deleteRecords();
}

PResource* PResourceTable::findOrCreate(const char* fullName, bool create, bool filter) {
    if (!fullName || !*fullName) return nullptr;
    // Records keep 127 bytes of a name; compare what they keep, so a long name finds its record.
    char name[PResource::kNameSize];
    std::strncpy(name, fullName, sizeof name - 1);
    name[sizeof name - 1] = 0;
    std::lock_guard<std::mutex> guard(listMutex_);
    for (PResource* r = first(); r; r = r->next()) {
        if (std::strcmp(r->name(), name) == 0) return r;
    }
    if (!create) return nullptr;
    auto* record = new (std::nothrow) PResource(name, filter);
    if (!record) return nullptr;
    if (tail_) {
        tail_->next_.store(record, std::memory_order_release);
    } else {
        head_.store(record, std::memory_order_release);
    }
    tail_ = record;
    count_.fetch_add(1);
    return record;
}

void PResourceTable::createNumbered(PZone& zone, int n) {
    char name[32];
    std::snprintf(name, sizeof name, "B%05d.raw", n);
    zone.base = findOrCreate(name, true);
    std::snprintf(name, sizeof name, "T%05d.raw", n);
    zone.top = findOrCreate(name, true);
    std::snprintf(name, sizeof name, "L%05d.raw", n);
    zone.filter = findOrCreate(name, true, true);
}

void PResourceTable::setRawFolder(const char* folder) {
    FLock::Scope scope(resourceLock());
    rawFolder_[0] = 0;
    if (!folder || !*folder) return;
    const std::size_t length = std::strlen(folder);
    const bool needsSeparator = folder[length - 1] != platform::kPathSeparator;
    if (length + (needsSeparator ? 1 : 0) >= kPathSize) return;
    std::memcpy(rawFolder_, folder, length + 1);
    if (needsSeparator) {
        rawFolder_[length] = platform::kPathSeparator;
        rawFolder_[length + 1] = 0;
    }
}

bool PResourceTable::hasRawFolder() const {
    FLock::Scope scope(resourceLock());
    return rawFolder_[0] != 0;
}

bool PResourceTable::filePath(const PResource* resource, char* out, std::size_t capacity) const {
    const std::size_t folder = std::strlen(rawFolder_);
    const std::size_t name = std::strlen(resource->name());
    if (folder == 0 || folder + name >= capacity) return false;
    std::memcpy(out, rawFolder_, folder);
    std::memcpy(out + folder, resource->name(), name + 1);
    return true;
}

std::uint64_t PResourceTable::memoryUsage() const {
    FLock::Scope scope(resourceLock());
    std::uint64_t total = 0;
    for (PResource* r = first(); r; r = r->next()) total += r->size() + kRecordOverhead;
    return total;
}

void PResourceTable::addUser() {
    std::lock_guard<std::mutex> guard(usersMutex_);
    ++users_;
    if (!loader_) startLoader();
}

void PResourceTable::removeUser() {
    std::lock_guard<std::mutex> guard(usersMutex_);
    if (users_ > 0) --users_;
    if (users_ < 1) {
        stopLoader();
        freeUnreferenced();
    }
}

int PResourceTable::users() const {
    std::lock_guard<std::mutex> guard(usersMutex_);
    return users_;
}

bool PResourceTable::loaderRunning() const {
    std::lock_guard<std::mutex> guard(usersMutex_);
    return loader_ != nullptr;
}

void PResourceTable::startLoader() {
    loader_ = new (std::nothrow) PResourceLoader(*this, wake_);
    if (!loader_) return;
    loader_->start();
    loader_->setPriority(0);
}

void PResourceTable::stopLoader() {
    if (!loader_) return;
    delete loader_;  // stops and waits for the thread
    loader_ = nullptr;
}

void PResourceTable::freeUnreferenced() {
    for (PResource* r = first(); r; r = r->next()) unload(r);
}

void PResourceTable::addRef(PResource* resource) {
    if (resource) resource->addRef();
}

void PResourceTable::release(PResource* resource) {
    if (!resource) return;
    if (resource->release() < 1) {
        resource->setFlags(PResource::kReleaseRequested);
        wakeLoader();
    }
}

void PResourceTable::releaseQuietly(PResource* resource) {
    if (!resource) return;
    if (resource->release() < 1) {
        resource->setFlags(PResource::kReleaseRequested);
        quietRelease_.store(true);
    }
}

void PResourceTable::want(PResource* resource) {
    if (resource) resource->setFlags(PResource::kWanted);
}

bool PResourceTable::load(PResource* resource) {
    if (!resource) return false;
    FLock::Scope scope(resourceLock());
    if (resource->hasData() || (resource->flags() & PResource::kAttempted) || !rawFolder_[0])
        return false;
    // The request is settled before the read, so that one made while the file is being read is
    // kept for the next pass. A release request stays: when the references fell before the
    // read, the next pass frees what was read.
    resource->clearFlags(PResource::kWanted);
    resource->setFlags(PResource::kAttempted);
    loadCount_.fetch_add(1, std::memory_order_relaxed);
    char path[kPathSize];
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    if (filePath(resource, path, sizeof path) && readFile(path, &data, &size)) {
        resource->adopt(data, size);
    }
    return true;
}

bool PResourceTable::unload(PResource* resource) {
    if (!resource) return false;
    FLock::Scope scope(resourceLock());
    if (!resource->hasData()) return false;
    // Requests made before the free begins are settled by it: whoever asks holds a reference
    // first, so the data stay while a requester remains. A request made once the free has begun
    // sets the bit again and the next pass loads the file anew.
    resource->clearFlags(PResource::kWanted);
    if (!resource->freeIfUnreferenced()) return false;
    resource->clearFlags(PResource::kAttempted | PResource::kReleaseRequested);
    return true;
}

void PResourceTable::wakeLoader() {
    wake_.signal();
}

void PResourceTable::loaderPass(const std::atomic<bool>& quit) {
    int work = 0;
    for (PResource* r = first(); r; r = r->next()) {
        if (quit.load()) return;
        const std::uint32_t flags = r->flags();
        // A file is read only while someone holds it: a preset switched away from before the
        // loader came round leaves requests that nobody needs any more.
        if ((flags & PResource::kWanted) && !(flags & PResource::kAttempted) &&
            r->references() > 0) {
            if (VstPlugObject::allocationFailed()) return;
            if (load(r)) ++work;
        } else if (flags & PResource::kReleaseRequested) {
            if (unload(r)) ++work;
        }
        if (work >= kWorkBeforePause) {
            platform::sleepMs(1);
            work = 0;
        }
    }
}

int PResourceTable::checkMissing(char* buffer, std::size_t capacity) {
    FLock::Scope scope(resourceLock());  // keeps the raw folder steady
    PPool& pool = PPool::shared();
    if (!rawFolder_[0]) {
        for (PResource* r = first(); r; r = r->next()) pool.markMissing(r);
        return 0;
    }
    if (capacity == 0) buffer = nullptr;
    std::ptrdiff_t usable = 0;
    if (buffer) {
        buffer[0] = 0;
        appendIfFits(buffer, capacity, kMissingHeader);
        usable = static_cast<std::ptrdiff_t>(capacity) -
                 static_cast<std::ptrdiff_t>(kSummaryFormatLength + kSummarySlack);
    }
    int missing = 0;
    int listed = 0;
    char path[kPathSize];
    for (PResource* r = first(); r; r = r->next()) {
        if (filePath(r, path, sizeof path) && platform::pathExists(path)) continue;
        if (buffer) {
            const auto needed =
                static_cast<std::ptrdiff_t>(std::strlen(buffer) + std::strlen(r->name()) + 2);
            if (needed < usable) {
                if (listed > 0) appendIfFits(buffer, capacity, ", ");
                appendIfFits(buffer, capacity, r->name());
                ++listed;
            }
        }
        pool.markMissing(r);
        ++missing;
    }
    if (buffer) {
        if (listed < missing) appendIfFits(buffer, capacity, " ...");
        char summary[64];
        formatSummary(summary, sizeof summary, missing, count());
        appendIfFits(buffer, capacity, summary);
    }
    return missing;
}

void PResourceTable::deleteRecords() {
    PResource* r = head_.exchange(nullptr);
    while (r) {
        PResource* next = r->next();
        delete r;
        r = next;
    }
    tail_ = nullptr;
    count_.store(0);
}

void PResourceTable::resetForTests() {
    PPool::shared().resetForTests();  // its zones point at the records about to go
    {
        std::lock_guard<std::mutex> guard(usersMutex_);
        stopLoader();
        users_ = 0;
    }
    std::lock_guard<std::mutex> guard(listMutex_);
    deleteRecords();
    setRawFolder(nullptr);
}
