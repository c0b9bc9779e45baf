#include "core/PControllerMap.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "core/PParamDesc.h"
#include "data/FStream.h"
#include "platform/Platform.h"

namespace {

constexpr int kNameWidth = 100;  // the name field's width in the line format
constexpr std::size_t kPathCapacity = 1024;
// 128 lines of at most "127:" + a 29-character name + CR LF.
constexpr std::size_t kFileCapacity = PControllerMap::kControllers * 40;

struct SharedMap {
    std::mutex loadLock;
    bool loaded = false;
    std::atomic<std::int32_t> entries[PControllerMap::kControllers];
    SharedMap() {
        for (auto& entry : entries) entry.store(-1, std::memory_order_relaxed);
    }
};

SharedMap& shared() {
    static SharedMap map;
    return map;
}

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "%d": optional white space, an optional sign and at least one digit. Values beyond the int
// range are held at a bound, which lies outside 0..127 either way.
const char* scanInt(const char* p, long long* value) {
    while (isSpace(*p)) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (!isDigit(*p)) return nullptr;
    long long v = 0;
    for (; isDigit(*p); ++p) {
        if (v < 1000000000000LL) v = v * 10 + (*p - '0');
    }
    *value = negative ? -v : v;
    return p;
}

bool joinPath(const char* folder, const char* name, char* out, std::size_t capacity) {
    std::size_t length = std::strlen(folder);
    bool needsSeparator = length > 0 && folder[length - 1] != platform::kPathSeparator;
    std::size_t total = length + (needsSeparator ? 1 : 0) + std::strlen(name);
    if (total + 1 > capacity) return false;
    std::memcpy(out, folder, length);
    if (needsSeparator) out[length++] = platform::kPathSeparator;
    std::strcpy(out + length, name);
    return true;
}

bool readFile(const char* path, std::int32_t* map, int* accepted) {
    FStream file;
    file.setPath(path);
    if (!file.open(FStream::kRead)) return false;
    file.setBuffered(true);
    *accepted = PControllerMap::parse(file, map);
    return true;
}

void writeFile(const char* path, const std::int32_t* map) {
    char text[kFileCapacity];
    std::size_t length = PControllerMap::formatFile(map, text, sizeof text);
    if (length >= sizeof text) return;
    FStream file;
    file.setPath(path);
    if (file.open(FStream::kWrite) && file.writeBytes(text, length)) file.setSize(file.tell());
}

void load(SharedMap& target, const char* dataFolder) {
    std::int32_t map[PControllerMap::kControllers];
    for (std::int32_t& entry : map) entry = -1;
    char path[kPathCapacity];
    bool named = dataFolder && joinPath(dataFolder, PControllerMap::kFileName, path, sizeof path);
    int accepted = 0;
    if (!named || !readFile(path, map, &accepted) || accepted == 0) {
        PControllerMap::buildDefault(map);
        if (named) writeFile(path, map);
    }
    for (int c = 0; c < PControllerMap::kControllers; ++c) {
        target.entries[c].store(map[c], std::memory_order_relaxed);
    }
    target.loaded = true;
}

}  // namespace

void PControllerMap::loadOnce(const char* dataFolder) {
    SharedMap& map = shared();
    std::lock_guard<std::mutex> guard(map.loadLock);
    if (!map.loaded) load(map, dataFolder);
}

int PControllerMap::lookup(int controller) {
    if (controller < 0 || controller >= kControllers) return -1;
    return shared().entries[controller].load(std::memory_order_relaxed);
}

void PControllerMap::loadFrom(const char* dataFolder) {
    SharedMap& map = shared();
    std::lock_guard<std::mutex> guard(map.loadLock);
    load(map, dataFolder);
}

void PControllerMap::reset() {
    SharedMap& map = shared();
    std::lock_guard<std::mutex> guard(map.loadLock);
    for (auto& entry : map.entries) entry.store(-1, std::memory_order_relaxed);
    map.loaded = false;
}

int PControllerMap::parse(FStream& stream, std::int32_t* map) {
    int accepted = 0;
    char line[kMaxLine + 1];
    for (;;) {
        std::int64_t before = stream.tell();
        stream.readLine(line, sizeof line);
        if (stream.tell() == before) return accepted;
        int controller, parameter;
        if (parseLine(line, &controller, &parameter)) {
            map[controller] = parameter;
            ++accepted;
        }
    }
}

bool PControllerMap::parseLine(const char* line, int* controller, int* parameter) {
    long long number;
    const char* p = scanInt(line, &number);
    if (!p || *p != ':') return false;
    ++p;
    char name[kNameWidth + 1];
    std::size_t n = 0;
    while (n < kNameWidth && p[n] && p[n] != '\n' && p[n] != '\r') {
        name[n] = p[n];
        ++n;
    }
    name[n] = 0;
    int found = findParameterByName(name);
    if (n == 0 || found < 0 || number < 0 || number >= kControllers) return false;
    *controller = static_cast<int>(number);
    *parameter = found;
    return true;
}

void PControllerMap::buildDefault(std::int32_t* map) {
    for (int c = 0; c < kControllers; ++c) map[c] = -1;
    for (int p = kNumParams - 1; p >= 0; --p) {
        // A default controller of 0 means none: hosts send bank select (controller 0) before
        // program changes, which must not move a parameter.
        int c = paramDesc(p)->controller;
        if (c > 0 && c < kControllers) map[c] = p;
    }
}

std::size_t PControllerMap::formatFile(const std::int32_t* map, char* out, std::size_t capacity) {
    std::size_t length = 0;
    auto put = [&](char c) {
        if (length + 1 < capacity) out[length] = c;
        ++length;
    };
    for (int c = 0; c < kControllers; ++c) {
        const PParamDesc* desc = paramDesc(map[c]);
        if (!desc || std::strcmp(desc->name, "Unused") == 0) continue;
        put(char('0' + c / 100));
        put(char('0' + c / 10 % 10));
        put(char('0' + c % 10));
        put(':');
        for (const char* s = desc->name; *s; ++s) put(*s);
        put('\r');
        put('\n');
    }
    if (capacity > 0) out[length < capacity ? length : capacity - 1] = 0;
    return length;
}
