#include "LatticeFilter.h"

namespace makelib {

LatticeFilter::LatticeFilter(std::vector<float> coefficients)
    : k_(std::move(coefficients)), g_(k_.empty() ? 0 : k_.size() - 1, 0.0f) {}

float LatticeFilter::process(float input) {
    const std::size_t n = g_.size();
    if (n == 0) return k_.empty() ? input : input * k_[0];
    float f = input * k_[n] - g_[n - 1] * k_[n - 1];
    for (std::size_t j = n - 1; j-- > 0;) {
        f = f - k_[j] * g_[j];
        g_[j + 1] = g_[j] + k_[j] * f;
    }
    g_[0] = f;
    return f;
}

}  // namespace makelib
