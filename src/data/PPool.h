// The instrument library of the process: one POIP per instrument, read once per process from
// the description files in the "OIP" folder of the data folder, and the list of categories in
// order of first appearance. The index of an instrument in the pool is its number everywhere
// (preset slots, property matrix rows).
//
// Threads: the pool is filled and changed on the host's threads (loading, placeholders while
// programs are read); count(), get() and findZone() may also be called from the audio thread.
// Instruments are never removed and their records never move, and the instrument table has a
// fixed capacity, so a reader never sees a record being moved or freed while one is appended.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "data/POIP.h"
#include "data/VstPlugObject.h"

class FStream;
class PResource;

// What fillMenu fills: the editor's menus implement it.
class PInstrumentMenu {
public:
    virtual ~PInstrumentMenu() = default;
    virtual void addEntry(const char* title, bool checked) = 0;
};

class PPool : public VstPlugObject {
public:
    static constexpr int kMaxInstruments = 4096;
    static constexpr const char* kDataFolder = "Quor-Data";
    static constexpr const char* kGeneralCategory = "General";
    static constexpr const char* kMissingCategory = "Missing Instruments";

    static PPool& shared();

    PPool();
    ~PPool() override;

    // Loads the library beside the plug-in (pluginPath: the plug-in module's full path) once per
    // process: every description file of <folder>/Quor-Data/OIP in name order, then the raw
    // folder <folder>/Quor-Data/Raw (a message when it is missing). True when this call loaded.
    bool loadPool(const char* pluginPath);
    // "<folder of pluginPath>Quor-Data<separator><name>"; false when it does not fit.
    static bool dataPath(const char* pluginPath, const char* name, char* out, std::size_t capacity);
    // Reads one description file into the pool; true when it parsed without error (what was
    // read before an error stays either way).
    bool loadFile(const char* path);
    // The same for a description held in memory (length 0: up to the terminating zero).
    bool loadText(const char* text, std::size_t length);

    int count() const { return count_.load(std::memory_order_acquire); }
    POIP* get(int index) const;
    // The instrument with this category and name; else the first with this name; else -1.
    int find(const char* category, const char* name) const;
    const char* categoryName(int i) const;
    int categoryCount() const;
    // The pool index of the n-th instrument (from 0, in pool order) of a category, or -1.
    int indexInCategory(int categoryIndex, int n) const;
    // Adds every instrument of the category to the menu, checking the one whose index is selected.
    void fillMenu(PInstrumentMenu& menu, int categoryIndex, int selected) const;
    // Appends an instrument under the given name (and category; "General" when null or empty)
    // with no zones; answers its index or -1 when the pool is full.
    int addInstrument(const char* name, const char* category);
    // Appends a placeholder for an instrument that is not in the library, under
    // "Missing Instruments"; answers its index or -1.
    int addMissing(const char* name);
    void removeCategory(const char* name);

    // For each index the instrument's category and name as two zero-terminated texts (two empty
    // texts for an index without instrument).
    void writeReferences(FStream& s, const std::int32_t* indices, int count) const;
    // For each entry two texts (category, then name, each up to 127 characters) and the index
    // they name; a name not in the library gets a placeholder.
    // False when the data ended early (the entries not reached are left as they were).
    bool readReferences(FStream& s, std::int32_t* indices, int count);

    // The zone for a key, and the neighbouring zone to blend with (or null) and the weight of the
    // found zone (1.0 in a zone's middle down to 0.5 at its edges).
    static const PZone* findZone(const POIP* instrument, int key, float* weight,
                                 const PZone** neighbour);

    // References on every resource of every zone of an instrument.
    void acquire(const POIP* instrument) const;
    void release(const POIP* instrument) const;
    // Marks every resource of the listed instruments wanted and wakes the loader.
    void requestLoad(const std::int32_t* indices, int count) const;
    // Loads every resource of the instrument at once, on the calling thread.
    void loadNow(const POIP* instrument) const;
    // Flags the first instrument that uses the resource as having a missing file.
    void markMissing(const PResource* resource);
    // The resource table's figure plus 296 bytes per instrument.
    std::uint64_t memoryUsage() const;

    // Tests only: forgets every instrument and category and the once-per-process load, so the
    // next loadPool loads again. Must not run while another thread uses the pool.
    void resetForTests();

private:
    struct Category {
        char name[POIP::kTextSize];
        Category* next;
    };

    void addCategory(const char* name);
    const Category* categoryAt(int i) const;
    bool inCategory(const POIP* instrument, int categoryIndex) const;
    void clear();

    POIP* instruments_[kMaxInstruments] = {};
    std::atomic<int> count_{0};
    Category* categories_ = nullptr;
    std::mutex loadMutex_;
    bool loaded_ = false;
};
