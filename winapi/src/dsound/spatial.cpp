// 3D placement: rolloff, cone and side.

#include "dsound/spatial.h"

#include <cmath>
#include <numbers>

namespace winapi::dsound {
namespace {

D3DVECTOR Vector(float x, float y, float z) {
    return {x, y, z};
}

D3DVECTOR Subtract(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

float Dot(const D3DVECTOR& a, const D3DVECTOR& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Length(const D3DVECTOR& v) {
    return std::sqrt(Dot(v, v));
}

// Rolloff: full level inside the minimum distance, then 6 dB less for each doubling of the
// distance (at a rolloff factor of 1), no further change beyond the maximum distance.
float DistanceGain(float distance, const DS3DBUFFER& buffer, float rolloff,
                   bool muteAtMaxDistance) {
    if (distance > buffer.flMaxDistance) {
        if (muteAtMaxDistance) {
            return 0.0f;
        }
        distance = buffer.flMaxDistance;
    }
    if (distance <= buffer.flMinDistance) {
        return 1.0f;
    }
    return buffer.flMinDistance /
           (buffer.flMinDistance + rolloff * (distance - buffer.flMinDistance));
}

// Inside half the inside angle the sound is at full level, outside half the outside angle at the
// outside volume, and in between the level moves linearly in decibels.
float ConeGain(const DS3DBUFFER& buffer, const D3DVECTOR& towardsListener, float distance) {
    const float orientationLength = Length(buffer.vConeOrientation);
    if (buffer.dwInsideConeAngle >= DS3D_MAXCONEANGLE &&
        buffer.dwOutsideConeAngle >= DS3D_MAXCONEANGLE) {
        return 1.0f;
    }
    if (orientationLength == 0.0f || distance == 0.0f) {
        return 1.0f;
    }
    const float cosine =
        Dot(buffer.vConeOrientation, towardsListener) / (orientationLength * distance);
    const float angle =
        std::acos(std::fmax(-1.0f, std::fmin(1.0f, cosine))) * 180.0f / std::numbers::pi_v<float>;
    const float inside = static_cast<float>(buffer.dwInsideConeAngle) / 2.0f;
    const float outside = static_cast<float>(buffer.dwOutsideConeAngle) / 2.0f;
    if (angle <= inside) {
        return 1.0f;
    }
    if (angle >= outside) {
        return DecibelsToGain(buffer.lConeOutsideVolume);
    }
    const float share = (angle - inside) / (outside - inside);
    return DecibelsToGain(static_cast<LONG>(std::lround(share * buffer.lConeOutsideVolume)));
}

} // namespace

DS3DBUFFER DefaultBufferParameters() {
    DS3DBUFFER parameters{};
    parameters.dwSize = sizeof parameters;
    parameters.vPosition = Vector(0, 0, 0);
    parameters.vVelocity = Vector(0, 0, 0);
    parameters.dwInsideConeAngle = DS3D_DEFAULTCONEANGLE;
    parameters.dwOutsideConeAngle = DS3D_DEFAULTCONEANGLE;
    parameters.vConeOrientation = Vector(0, 0, 1);
    parameters.lConeOutsideVolume = DS3D_DEFAULTCONEOUTSIDEVOLUME;
    parameters.flMinDistance = DS3D_DEFAULTMINDISTANCE;
    parameters.flMaxDistance = DS3D_DEFAULTMAXDISTANCE;
    parameters.dwMode = DS3DMODE_NORMAL;
    return parameters;
}

DS3DLISTENER DefaultListenerParameters() {
    DS3DLISTENER parameters{};
    parameters.dwSize = sizeof parameters;
    parameters.vPosition = Vector(0, 0, 0);
    parameters.vVelocity = Vector(0, 0, 0);
    parameters.vOrientFront = Vector(0, 0, 1);
    parameters.vOrientTop = Vector(0, 1, 0);
    parameters.flDistanceFactor = DS3D_DEFAULTDISTANCEFACTOR;
    parameters.flRolloffFactor = DS3D_DEFAULTROLLOFFFACTOR;
    parameters.flDopplerFactor = DS3D_DEFAULTDOPPLERFACTOR;
    return parameters;
}

bool ValidBufferParameters(const DS3DBUFFER& parameters) {
    return parameters.dwInsideConeAngle <= DS3D_MAXCONEANGLE &&
           parameters.dwOutsideConeAngle <= DS3D_MAXCONEANGLE &&
           parameters.dwInsideConeAngle <= parameters.dwOutsideConeAngle &&
           parameters.lConeOutsideVolume >= DSBVOLUME_MIN &&
           parameters.lConeOutsideVolume <= DSBVOLUME_MAX && parameters.flMinDistance > 0.0f &&
           parameters.flMaxDistance > 0.0f && parameters.dwMode <= DS3DMODE_DISABLE;
}

StereoGain SpatialGain(const DS3DBUFFER& buffer, const DS3DLISTENER& listener,
                       bool muteAtMaxDistance) {
    if (buffer.dwMode == DS3DMODE_DISABLE) {
        return {};
    }
    // In head-relative mode the position is already seen from the listener: x right, y up, z ahead.
    const bool headRelative = buffer.dwMode == DS3DMODE_HEADRELATIVE;
    const D3DVECTOR offset =
        headRelative ? buffer.vPosition : Subtract(buffer.vPosition, listener.vPosition);
    const D3DVECTOR right =
        headRelative ? Vector(1, 0, 0) : Cross(listener.vOrientTop, listener.vOrientFront);
    const float distance = Length(offset);
    const float level =
        DistanceGain(distance, buffer, listener.flRolloffFactor, muteAtMaxDistance) *
        ConeGain(buffer, Subtract(Vector(0, 0, 0), offset), distance);
    const float rightLength = Length(right);
    float side = 0.0f; // -1 fully left, +1 fully right
    if (distance > 0.0f && rightLength > 0.0f) {
        side = std::fmax(-1.0f, std::fmin(1.0f, Dot(offset, right) / (distance * rightLength)));
    }
    StereoGain gain{level, level};
    if (side > 0.0f) {
        gain.left *= 1.0f - side;
    } else {
        gain.right *= 1.0f + side;
    }
    return gain;
}

} // namespace winapi::dsound
