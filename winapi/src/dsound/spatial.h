#pragma once
// Where a 3D buffer sits for the listener: distance attenuation (the inverse-distance rolloff
// beyond the buffer's minimum distance, held at its maximum distance), the sound cone, and the
// left/right balance from the side the sound comes from.

#include "dsound/gain.h"

#include <dsound.h>

namespace winapi::dsound {

DS3DBUFFER DefaultBufferParameters();
DS3DLISTENER DefaultListenerParameters();

// False when the record's fields are out of range (cone angles, outside volume, distances, mode).
bool ValidBufferParameters(const DS3DBUFFER& parameters);

// The gain of a 3D buffer heard by the listener, before the buffer's own volume.
// `muteAtMaxDistance` silences a sound beyond its maximum distance.
StereoGain SpatialGain(const DS3DBUFFER& buffer, const DS3DLISTENER& listener,
                       bool muteAtMaxDistance);

} // namespace winapi::dsound
