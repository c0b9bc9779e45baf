#include "data/VstPlugObject.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "data/VstPath.h"

namespace {

struct Wide : VstPlugObject {
    char payload[1000] = {};
};
struct alignas(64) Aligned : VstPlugObject {
    float lanes[16] = {};
};

TEST(VstPlugObject, HeapObjectsAreAlignedAndCounted) {
    const auto liveBefore = VstPlugObject::liveObjects();
    const auto blocksBefore = VstPlugObject::allocatedBlocks();
    const auto bytesBefore = VstPlugObject::allocatedBytes();

    Wide* objects[5];
    for (Wide*& object : objects) {
        object = new Wide;
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(object) % 64, 0u);
        object->payload[999] = 1;  // the whole object lies inside its block (ASan checks)
    }
    VstPath onStack("/x");
    EXPECT_EQ(VstPlugObject::liveObjects(), liveBefore + 6);
    EXPECT_EQ(VstPlugObject::allocatedBlocks(), blocksBefore + 5);
    EXPECT_EQ(VstPlugObject::allocatedBytes(),
              bytesBefore + 5 * static_cast<std::int64_t>(sizeof(Wide) + 128));

    for (Wide* object : objects) delete object;
    EXPECT_EQ(VstPlugObject::liveObjects(), liveBefore + 1);
    EXPECT_EQ(VstPlugObject::allocatedBlocks(), blocksBefore);
    EXPECT_EQ(VstPlugObject::allocatedBytes(), bytesBefore);

    // Over-aligned subclasses use the same allocator.
    auto* aligned = new Aligned;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 64, 0u);
    EXPECT_EQ(VstPlugObject::allocatedBlocks(), blocksBefore + 1);
    delete aligned;
    EXPECT_EQ(VstPlugObject::allocatedBlocks(), blocksBefore);
}

TEST(VstPlugObject, ImpossibleRequestAnswersNullAndRaisesTheFlagOnce) {
    EXPECT_FALSE(VstPlugObject::allocationFailed());
    EXPECT_EQ(VstPlugObject::operator new(SIZE_MAX - 16), nullptr);
    EXPECT_TRUE(VstPlugObject::allocationFailed());
    EXPECT_FALSE(VstPlugObject::allocationFailed());
}

}  // namespace
