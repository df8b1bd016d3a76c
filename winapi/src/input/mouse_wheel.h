#pragma once
// Wheel turns seen among the desktop's events, kept until the mouse is next read.

namespace winapi::input {

void AddWheelNotches(int notches);
// The movement since the last call, in the platform's units (120 a notch).
int TakeWheelMovement();

} // namespace winapi::input
