#pragma once
// Float to int conversion toward zero, as the collision rules use it. Values beyond the range of
// int saturate instead of being undefined, so a biker flung far off the grid stays harmless.

#include <climits>
#include <cmath>

inline int Trunc(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}
