#include "input/mouse_wheel.h"

#include <algorithm>
#include <climits>

namespace winapi::input {
namespace {

constexpr long long kWheelDelta = 120;
long long movement = 0;

} // namespace

void AddWheelNotches(int notches) {
    // Kept within what a LONG can report, however long nobody reads.
    movement = std::clamp<long long>(movement + notches * kWheelDelta, INT_MIN, INT_MAX);
}

int TakeWheelMovement() {
    int taken = static_cast<int>(movement);
    movement = 0;
    return taken;
}

} // namespace winapi::input
