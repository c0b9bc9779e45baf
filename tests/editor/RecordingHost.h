// A host callback for editor tests that records the automation it is told of (begin edit,
// automate, end edit), in order.
#pragma once

#include <cstdint>
#include <vector>

#include "sdk/VstAbi.h"

struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    float value;
    bool operator==(const HostCall&) const = default;
};

inline std::vector<HostCall> hostCalls;

inline std::intptr_t recordingHost(AEffect*, std::int32_t opcode, std::int32_t index,
                                   std::intptr_t, void*, float value) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
        opcode == audioMasterEndEdit)
        hostCalls.push_back({opcode, index, value});
    return 0;
}

inline HostCall beginEditCall(int index) {
    return {audioMasterBeginEdit, index, 0.0f};
}
inline HostCall automateCall(int index, float value) {
    return {audioMasterAutomate, index, value};
}
inline HostCall endEditCall(int index) {
    return {audioMasterEndEdit, index, 0.0f};
}
