#pragma once
// Recording a ride: every keyboard snapshot the program reads, written to a file in the keyboard
// script format (winapi/input_script.h), so that WINAPI_INPUT_SCRIPT=FILE rides the same ride.

#include <array>
#include <cstdint>
#include <string>

namespace winapi::input {

// Starts recording into `path`, created or truncated now. False, with errno set, when the file
// cannot be written; nothing is recorded then.
bool RecordKeysTo(const std::string& path);

// Adds one keyboard read to the recording, if one is being made.
void RecordKeyboardRead(const std::array<std::uint8_t, 256>& keys);
// The platform asked the window to close after the last read; the recording ends with `close`.
void RecordWindowClose();
// Writes what is still held and closes the file; also done when the program ends.
void FinishRecording();

} // namespace winapi::input
