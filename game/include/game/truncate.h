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

// A pixel offset added to a truncated position, saturating in the same way: a position already
// at the limit of int stays there instead of overflowing.
inline int AddSaturating(int position, int offset) {
    const long long sum = static_cast<long long>(position) + offset;
    return sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : static_cast<int>(sum);
}
