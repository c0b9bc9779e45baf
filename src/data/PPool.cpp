#include "data/PPool.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "data/FStream.h"
#include "data/FileReader.h"
#include "data/PLibraryStartup.h"
#include "data/POIPParser.h"
#include "data/PResourceTable.h"
#include "platform/Platform.h"

namespace {

constexpr std::uint64_t kInstrumentOverhead = 296;  // counted per instrument by memoryUsage
constexpr std::size_t kPathSize = 1024;
const char kRawFolderMissing[] = "Raw folder not found, please reinstall Quor!";

const char* orEmpty(const char* text) {
    return text ? text : "";
}

// Byte order of names ignoring ASCII letter case, so that the files of a folder are read in the
// same order on every system.
bool lessIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return lower(x) < lower(y); });
}

// A description or file text: everything up to the terminating zero or the end of the data,
// keeping at most 127 bytes, so that an over-long text never shifts the texts after it.
bool readText(FStream& s, char* out) {
    std::size_t length = 0;
    for (;;) {
        std::uint8_t c = 0;
        if (!s.readU8(&c)) {
            out[length] = 0;
            return false;
        }
        if (c == 0) break;
        if (length < POIP::kTextSize - 1) out[length++] = static_cast<char>(c);
    }
    out[length] = 0;
    return true;
}

// Calls action on the base, top and filter resource of every zone of the instrument.
template <typename Action>
void forEachResource(const POIP* instrument, Action action) {
    if (!instrument) return;
    for (const PZone& zone : instrument->zones) {
        action(zone.base);
        action(zone.top);
        action(zone.filter);
    }
}

}  // namespace

PPool& PPool::shared() {
    static PPool pool;
    return pool;
}

PPool::PPool() = default;

PPool::~PPool() {
    clear();
}

bool PPool::loadPool(const char* pluginPath) {
    std::lock_guard<std::mutex> guard(loadMutex_);
    if (loaded_) return false;
    loaded_ = true;
    char folder[kPathSize];
    if (dataPath(pluginPath, "OIP", folder, sizeof folder)) {
        std::vector<std::string> files;
        platform::DirectoryLister lister(folder);
        char name[kPathSize];
        bool isDirectory = false;
        while (lister.next(name, sizeof name, &isDirectory)) {
            if (!isDirectory) files.emplace_back(name);
        }
        std::sort(files.begin(), files.end(), lessIgnoringCase);
        for (const std::string& file : files) {
            loadFile((std::string(folder) + platform::kPathSeparator + file).c_str());
        }
    }
    PResourceTable& table = PResourceTable::shared();
    if (!table.hasRawFolder() && dataPath(pluginPath, "Raw", folder, sizeof folder) &&
        platform::isDirectory(folder)) {
        table.setRawFolder(folder);
    }
    if (!table.hasRawFolder()) showLibraryMessage(kRawFolderMissing, "Quor");
    return true;
}

bool PPool::dataPath(const char* pluginPath, const char* name, char* out, std::size_t capacity) {
    if (!pluginPath || !name) return false;
    const char* cut = std::strrchr(pluginPath, platform::kPathSeparator);
    const auto folder = static_cast<std::size_t>(cut ? cut - pluginPath + 1 : 0);
    const std::size_t dataLength = std::strlen(kDataFolder);
    const std::size_t nameLength = std::strlen(name);
    if (folder + dataLength + 1 + nameLength >= capacity) return false;
    char* p = out;
    std::memcpy(p, pluginPath, folder);
    p += folder;
    std::memcpy(p, kDataFolder, dataLength);
    p += dataLength;
    *p++ = platform::kPathSeparator;
    std::memcpy(p, name, nameLength + 1);
    return true;
}

bool PPool::loadFile(const char* path) {
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    if (!readFile(path, &data, &size)) return false;
    const bool ok = loadText(reinterpret_cast<const char*>(data), size);
    freeFileData(data);
    return ok;
}

bool PPool::loadText(const char* text, std::size_t length) {
    if (!text) return false;
    POIPParser parser(text, length, *this, PResourceTable::shared());
    return parser.parse(nullptr);
}

POIP* PPool::get(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return instruments_[index];
}

int PPool::find(const char* category, const char* name) const {
    category = orEmpty(category);
    name = orEmpty(name);
    const int n = count();
    for (int i = 0; i < n; ++i) {
        if (std::strcmp(instruments_[i]->category, category) == 0 &&
            std::strcmp(instruments_[i]->name, name) == 0)
            return i;
    }
    for (int i = 0; i < n; ++i) {
        if (std::strcmp(instruments_[i]->name, name) == 0) return i;
    }
    return -1;
}

const PPool::Category* PPool::categoryAt(int i) const {
    const Category* c = categories_;
    for (; c && i > 0; --i) c = c->next;
    return i == 0 ? c : nullptr;
}

const char* PPool::categoryName(int i) const {
    if (i < 0) return nullptr;
    const Category* c = categoryAt(i);
    return c ? c->name : nullptr;
}

int PPool::categoryCount() const {
    int n = 0;
    for (const Category* c = categories_; c; c = c->next) ++n;
    return n;
}

bool PPool::inCategory(const POIP* instrument, int categoryIndex) const {
    const char* category = categoryName(categoryIndex);
    return category && std::strcmp(instrument->category, category) == 0;
}

int PPool::indexInCategory(int categoryIndex, int n) const {
    if (!categoryName(categoryIndex) || n < 0) return -1;
    const int total = count();
    for (int i = 0; i < total; ++i) {
        if (inCategory(instruments_[i], categoryIndex) && n-- == 0) return i;
    }
    return -1;
}

void PPool::fillMenu(PInstrumentMenu& menu, int categoryIndex, int selected) const {
    if (!categoryName(categoryIndex)) return;
    const int total = count();
    for (int i = 0; i < total; ++i) {
        if (inCategory(instruments_[i], categoryIndex))
            menu.addEntry(instruments_[i]->name, i == selected);
    }
}

void PPool::addCategory(const char* name) {
    Category** link = &categories_;
    for (; *link; link = &(*link)->next) {
        if (std::strcmp((*link)->name, name) == 0) return;
    }
    auto* category = new (std::nothrow) Category{};
    if (!category) return;
    copyText(category->name, name);
    *link = category;
}

int PPool::addInstrument(const char* name, const char* category) {
    const int n = count();
    if (n >= kMaxInstruments) return -1;
    if (!category || !*category) category = kGeneralCategory;
    auto* instrument = new (std::nothrow) POIP(name, category);
    if (!instrument) return -1;
    addCategory(instrument->category);
    instruments_[n] = instrument;
    count_.store(n + 1, std::memory_order_release);
    return n;
}

int PPool::addMissing(const char* name) {
    const int index = addInstrument(name, kMissingCategory);
    if (index >= 0) instruments_[index]->flags = POIP::kMissingFile | POIP::kPlaceholder;
    return index;
}

void PPool::removeCategory(const char* name) {
    if (!name) return;
    for (Category** link = &categories_; *link; link = &(*link)->next) {
        if (std::strcmp((*link)->name, name) == 0) {
            Category* gone = *link;
            *link = gone->next;
            delete gone;
            return;
        }
    }
}

void PPool::writeReferences(FStream& s, const std::int32_t* indices, int count) const {
    for (int i = 0; i < count; ++i) {
        const POIP* instrument = get(indices[i]);
        s.writeString(instrument ? instrument->category : "");
        s.writeString(instrument ? instrument->name : "");
    }
}

bool PPool::readReferences(FStream& s, std::int32_t* indices, int count) {
    char category[POIP::kTextSize];
    char name[POIP::kTextSize];
    for (int i = 0; i < count; ++i) {
        if (!readText(s, category) || !readText(s, name)) return false;
        int index = find(category, name);
        if (index < 0 && name[0]) index = addMissing(name);
        indices[i] = index;
    }
    return true;
}

const PZone* PPool::findZone(const POIP* instrument, int key, float* weight,
                             const PZone** neighbour) {
    *neighbour = nullptr;
    *weight = 1.0f;
    if (!instrument || instrument->zones.count() == 0) return nullptr;
    const TArray<PZone>& zones = instrument->zones;
    int i = 0;
    while (i < zones.count() && zones[i].limit < key) ++i;
    if (i == zones.count()) return &zones[i - 1];
    const int hi = zones[i].limit;
    const int lo = i > 0 ? zones[i - 1].limit : 0;
    const float range = static_cast<float>(hi - lo);
    if (lo + static_cast<int>(range * 0.5f) < key) {
        if (i + 1 < zones.count() && range > 0) {
            *neighbour = &zones[i + 1];
            *weight = static_cast<float>(hi - key) / range + 0.5f;
        }
    } else if (i > 0 && range > 0) {
        *neighbour = &zones[i - 1];
        *weight = static_cast<float>(key - lo) / range + 0.5f;
    }
    return &zones[i];
}

void PPool::acquire(const POIP* instrument) const {
    forEachResource(instrument, &PResourceTable::addRef);
}

void PPool::release(const POIP* instrument) const {
    PResourceTable& table = PResourceTable::shared();
    forEachResource(instrument, [&](PResource* r) { table.release(r); });
}

void PPool::requestLoad(const std::int32_t* indices, int count) const {
    bool any = false;
    for (int i = 0; i < count; ++i) {
        const POIP* instrument = get(indices[i]);
        if (instrument) any = true;
        forEachResource(instrument, &PResourceTable::want);
    }
    if (any) PResourceTable::shared().wakeLoader();
}

void PPool::loadNow(const POIP* instrument) const {
    PResourceTable& table = PResourceTable::shared();
    forEachResource(instrument, [&](PResource* r) { table.load(r); });
}

void PPool::markMissing(const PResource* resource) {
    const int n = count();
    for (int i = 0; i < n; ++i) {
        for (const PZone& zone : instruments_[i]->zones) {
            if (zone.base == resource || zone.top == resource || zone.filter == resource) {
                instruments_[i]->flags |= POIP::kMissingFile;
                return;
            }
        }
    }
}

std::uint64_t PPool::memoryUsage() const {
    return PResourceTable::shared().memoryUsage() +
           kInstrumentOverhead * static_cast<std::uint64_t>(count());
}

void PPool::clear() {
    const int n = count();
    count_.store(0);
    for (int i = 0; i < n; ++i) {
        delete instruments_[i];
        instruments_[i] = nullptr;
    }
    while (categories_) {
        Category* next = categories_->next;
        delete categories_;
        categories_ = next;
    }
}

void PPool::resetForTests() {
    std::lock_guard<std::mutex> guard(loadMutex_);
    clear();
    loaded_ = false;
}
