// The 3D interface of a DSBCAPS_CTRL3D buffer: its position, distances, cone and mode.

#include "dsound/sound_buffer.h"

#include "dsound/spatial.h"

namespace winapi::dsound {
namespace {

bool ValidApply(DWORD apply) {
    return apply == DS3D_IMMEDIATE || apply == DS3D_DEFERRED;
}

} // namespace

DS3DBUFFER SoundBuffer::Spatial() {
    std::lock_guard lock(engine_->Lock());
    return voice_.deferredSpatial.value_or(voice_.spatial);
}

template <typename Change> HRESULT SoundBuffer::ChangeSpatial(DWORD apply, Change change) {
    if (!ValidApply(apply)) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    DS3DBUFFER parameters = voice_.deferredSpatial.value_or(voice_.spatial);
    change(parameters);
    if (!ValidBufferParameters(parameters)) {
        return DSERR_INVALIDPARAM;
    }
    if (apply == DS3D_DEFERRED) {
        voice_.deferredSpatial = parameters;
    } else {
        voice_.spatial = parameters;
        voice_.deferredSpatial.reset();
    }
    return DS_OK;
}

HRESULT SoundBuffer::GetAllParameters(LPDS3DBUFFER parameters) {
    if (parameters == nullptr || parameters->dwSize != sizeof(DS3DBUFFER)) {
        return DSERR_INVALIDPARAM;
    }
    *parameters = Spatial();
    return DS_OK;
}

HRESULT SoundBuffer::GetConeAngles(LPDWORD inside, LPDWORD outside) {
    if (inside == nullptr && outside == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    const DS3DBUFFER parameters = Spatial();
    if (inside != nullptr) {
        *inside = parameters.dwInsideConeAngle;
    }
    if (outside != nullptr) {
        *outside = parameters.dwOutsideConeAngle;
    }
    return DS_OK;
}

HRESULT SoundBuffer::GetConeOrientation(D3DVECTOR* orientation) {
    if (orientation == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *orientation = Spatial().vConeOrientation;
    return DS_OK;
}

HRESULT SoundBuffer::GetConeOutsideVolume(LPLONG volume) {
    if (volume == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *volume = Spatial().lConeOutsideVolume;
    return DS_OK;
}

HRESULT SoundBuffer::GetMaxDistance(D3DVALUE* distance) {
    if (distance == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *distance = Spatial().flMaxDistance;
    return DS_OK;
}

HRESULT SoundBuffer::GetMinDistance(D3DVALUE* distance) {
    if (distance == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *distance = Spatial().flMinDistance;
    return DS_OK;
}

HRESULT SoundBuffer::GetMode(LPDWORD mode) {
    if (mode == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *mode = Spatial().dwMode;
    return DS_OK;
}

HRESULT SoundBuffer::GetPosition(D3DVECTOR* position) {
    if (position == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *position = Spatial().vPosition;
    return DS_OK;
}

HRESULT SoundBuffer::GetVelocity(D3DVECTOR* velocity) {
    if (velocity == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *velocity = Spatial().vVelocity;
    return DS_OK;
}

HRESULT SoundBuffer::SetAllParameters(LPCDS3DBUFFER parameters, DWORD apply) {
    if (parameters == nullptr || parameters->dwSize != sizeof(DS3DBUFFER)) {
        return DSERR_INVALIDPARAM;
    }
    return ChangeSpatial(apply, [parameters](DS3DBUFFER& p) { p = *parameters; });
}

HRESULT SoundBuffer::SetConeAngles(DWORD inside, DWORD outside, DWORD apply) {
    return ChangeSpatial(apply, [inside, outside](DS3DBUFFER& p) {
        p.dwInsideConeAngle = inside;
        p.dwOutsideConeAngle = outside;
    });
}

HRESULT SoundBuffer::SetConeOrientation(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
    return ChangeSpatial(apply, [x, y, z](DS3DBUFFER& p) { p.vConeOrientation = {x, y, z}; });
}

HRESULT SoundBuffer::SetConeOutsideVolume(LONG volume, DWORD apply) {
    return ChangeSpatial(apply, [volume](DS3DBUFFER& p) { p.lConeOutsideVolume = volume; });
}

HRESULT SoundBuffer::SetMaxDistance(D3DVALUE distance, DWORD apply) {
    return ChangeSpatial(apply, [distance](DS3DBUFFER& p) { p.flMaxDistance = distance; });
}

HRESULT SoundBuffer::SetMinDistance(D3DVALUE distance, DWORD apply) {
    return ChangeSpatial(apply, [distance](DS3DBUFFER& p) { p.flMinDistance = distance; });
}

HRESULT SoundBuffer::SetMode(DWORD mode, DWORD apply) {
    return ChangeSpatial(apply, [mode](DS3DBUFFER& p) { p.dwMode = mode; });
}

HRESULT SoundBuffer::SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
    return ChangeSpatial(apply, [x, y, z](DS3DBUFFER& p) { p.vPosition = {x, y, z}; });
}

HRESULT SoundBuffer::SetVelocity(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
    return ChangeSpatial(apply, [x, y, z](DS3DBUFFER& p) { p.vVelocity = {x, y, z}; });
}

} // namespace winapi::dsound
