// Linear prediction: autocorrelation of a power spectrum, the Levinson-Durbin recursion to
// reflection coefficients, and the step-up from reflection coefficients to the direct form.
//
// Sign convention (the one the voice's lattice uses): the all-pole filter is H(z) = G / A(z) with
// A(z) = 1 + a1 z^-1 + ... + aN z^-N, and the stage-m lattice computes
//   f[m-1](n) = f[m](n) - k[m] * b[m-1](n-1),   b[m](n) = b[m-1](n-1) + k[m] * f[m-1](n),
// so that a one-stage filter is y(n) = x(n) - k1 * y(n-1), i.e. a1 = k1.
#pragma once

#include <vector>

namespace makelib {

struct LpcModel {
    std::vector<double> reflection;  // k1..kN
    double error = 0.0;              // prediction error power, relative to r[0] = 1
};

// r[0..order] of a real signal whose power spectrum is sampled at `power.size()` evenly spaced
// frequencies from 0 up to (not including) the Nyquist frequency.
std::vector<double> autocorrelation(const std::vector<double>& power, int order);

// The order-N model of the autocorrelation r[0..N] (r[0] > 0). Every |k| < 1 for a valid r; a
// recursion that would become unstable (error not positive) stops, leaving the rest of k at 0.
LpcModel levinsonDurbin(const std::vector<double>& r);

// a1..aN of A(z) from k1..kN.
std::vector<double> directForm(const std::vector<double>& reflection);

}  // namespace makelib
