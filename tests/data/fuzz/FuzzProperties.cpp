// The property file over arbitrary bytes, followed by every search.
#include <cstddef>
#include <cstdint>

#include "data/PPropertyMatrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PPropertyMatrix matrix;
    matrix.loadText(reinterpret_cast<const char*>(data), size, 100, 10);
    const float weights[10] = {1, 1, 1, 1, 1, 0.5f, 0.5f, 2, 0, 1};
    std::int32_t out[120];
    matrix.computeDistances(size % 100, weights);
    matrix.nearest(out, 120);
    matrix.farthest(out, 5);
    matrix.equal(out, 100);
    return 0;
}
