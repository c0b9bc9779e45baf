// Reads any bytes as a controller file.
#include <cstddef>
#include <cstdint>

#include "core/PControllerMap.h"
#include "data/FMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::int32_t map[PControllerMap::kControllers];
    for (std::int32_t& entry : map) entry = -1;
    FMemoryStream stream(const_cast<std::uint8_t*>(data), size);
    PControllerMap::parse(stream, map);
    for (std::int32_t entry : map) {
        if (entry < -1 || entry >= 108) __builtin_trap();
    }
    return 0;
}
