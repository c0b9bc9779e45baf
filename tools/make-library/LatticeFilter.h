// The voice's all-pole lattice, frame by frame, in the same arithmetic order as the voice kernel:
// coefficients k[0..N-1] are the reflection coefficients of the N stages, k[N] the input gain.
// The generator uses it to measure how loud a filtered excitation comes out.
#pragma once

#include <vector>

namespace makelib {

class LatticeFilter {
public:
    explicit LatticeFilter(std::vector<float> coefficients);
    float process(float input);

private:
    std::vector<float> k_;
    std::vector<float> g_;
};

}  // namespace makelib
