// The two index sorts: one ordered multimap node per element, n log n, the caller's data untouched.

#include "helperlib/initQLN.h"

#include <cmath>
#include <map>
#include <string>

namespace {

// Orders NaN below every number, so a stray NaN cannot break the map's ordering.
struct DoubleLess {
    bool operator()(double a, double b) const {
        if (std::isnan(a))
            return !std::isnan(b);
        if (std::isnan(b))
            return false;
        return a < b;
    }
};

} // namespace

extern "C" void IVASrt(int* out, char** in, int count) {
    // std::string compares as unsigned bytes; insert places equal keys after the existing ones.
    std::multimap<std::string, int> order;
    for (int i = 0; i < count; ++i)
        order.emplace(std::string(in[i] ? in[i] : ""), i);
    int k = 0;
    for (const auto& entry : order)
        out[k++] = entry.second;
}

extern "C" void PVASrt(int* out, double* in, int count) {
    std::multimap<double, int, DoubleLess> order;
    for (int i = 0; i < count; ++i)
        order.emplace(in[i], i);
    int k = 0;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        out[k++] = it->second;
}
