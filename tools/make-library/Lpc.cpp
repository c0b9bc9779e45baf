#include "Lpc.h"

#include <cmath>
#include <numbers>

namespace makelib {

std::vector<double> autocorrelation(const std::vector<double>& power, int order) {
    std::vector<double> r(order + 1, 0.0);
    const double step = std::numbers::pi / static_cast<double>(power.size());
    for (int lag = 0; lag <= order; ++lag) {
        double sum = 0.0;
        for (std::size_t i = 0; i < power.size(); ++i) {
            // Bins sit at the middle of their frequency band, so the spectrum is even around 0.
            sum += power[i] * std::cos(lag * (static_cast<double>(i) + 0.5) * step);
        }
        r[lag] = sum / static_cast<double>(power.size());
    }
    return r;
}

LpcModel levinsonDurbin(const std::vector<double>& r) {
    const int order = static_cast<int>(r.size()) - 1;
    LpcModel model;
    model.reflection.assign(order, 0.0);
    if (order < 0 || r[0] <= 0.0) return model;
    std::vector<double> a(order + 1, 0.0);
    std::vector<double> previous(order + 1, 0.0);
    double error = r[0];
    for (int m = 1; m <= order; ++m) {
        double acc = r[m];
        for (int i = 1; i < m; ++i) acc += a[i] * r[m - i];
        const double k = -acc / error;
        const double nextError = error * (1.0 - k * k);
        if (!(nextError > 0.0)) break;
        previous = a;
        for (int i = 1; i < m; ++i) a[i] = previous[i] + k * previous[m - i];
        a[m] = k;
        model.reflection[m - 1] = k;
        error = nextError;
    }
    model.error = error / r[0];
    return model;
}

std::vector<double> directForm(const std::vector<double>& reflection) {
    const int order = static_cast<int>(reflection.size());
    std::vector<double> a(order + 1, 0.0);
    std::vector<double> previous;
    for (int m = 1; m <= order; ++m) {
        previous = a;
        const double k = reflection[m - 1];
        for (int i = 1; i < m; ++i) a[i] = previous[i] + k * previous[m - i];
        a[m] = k;
    }
    return std::vector<double>(a.begin() + 1, a.end());
}

}  // namespace makelib
