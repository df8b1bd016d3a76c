// The 3D listener: where the device's ears are and which way they face.

#include "dsound/primary_buffer.h"

#include "dsound/spatial.h"

#include <cmath>

namespace winapi::dsound {
namespace {

bool ValidApply(DWORD apply) {
    return apply == DS3D_IMMEDIATE || apply == DS3D_DEFERRED;
}

bool Parallel(const D3DVECTOR& a, const D3DVECTOR& b) {
    const float x = a.y * b.z - a.z * b.y;
    const float y = a.z * b.x - a.x * b.z;
    const float z = a.x * b.y - a.y * b.x;
    return x == 0.0f && y == 0.0f && z == 0.0f;
}

bool ValidListener(const DS3DLISTENER& parameters) {
    return parameters.flDistanceFactor >= DS3D_MINDISTANCEFACTOR &&
           parameters.flDistanceFactor <= DS3D_MAXDISTANCEFACTOR &&
           parameters.flRolloffFactor >= DS3D_MINROLLOFFFACTOR &&
           parameters.flRolloffFactor <= DS3D_MAXROLLOFFFACTOR &&
           parameters.flDopplerFactor >= DS3D_MINDOPPLERFACTOR &&
           parameters.flDopplerFactor <= DS3D_MAXDOPPLERFACTOR &&
           !Parallel(parameters.vOrientFront, parameters.vOrientTop);
}

} // namespace

Listener::Listener(std::shared_ptr<Engine> engine) : engine_(std::move(engine)) {}

HRESULT Listener::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDirectSound3DListener) {
        AddRef();
        *object = static_cast<IDirectSound3DListener*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG Listener::AddRef() {
    return ++references_;
}

ULONG Listener::Release() {
    const ULONG remaining = --references_;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

DS3DLISTENER Listener::Parameters() {
    std::lock_guard lock(engine_->Lock());
    return engine_->deferredListener.value_or(engine_->listener);
}

template <typename Change> HRESULT Listener::ChangeParameters(DWORD apply, Change change) {
    if (!ValidApply(apply)) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(engine_->Lock());
    DS3DLISTENER parameters = engine_->deferredListener.value_or(engine_->listener);
    change(parameters);
    if (!ValidListener(parameters)) {
        return DSERR_INVALIDPARAM;
    }
    if (apply == DS3D_DEFERRED) {
        engine_->deferredListener = parameters;
    } else {
        engine_->listener = parameters;
        engine_->deferredListener.reset();
    }
    return DS_OK;
}

HRESULT Listener::GetAllParameters(LPDS3DLISTENER parameters) {
    if (parameters == nullptr || parameters->dwSize != sizeof(DS3DLISTENER)) {
        return DSERR_INVALIDPARAM;
    }
    *parameters = Parameters();
    return DS_OK;
}

HRESULT Listener::GetDistanceFactor(D3DVALUE* factor) {
    if (factor == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *factor = Parameters().flDistanceFactor;
    return DS_OK;
}

HRESULT Listener::GetDopplerFactor(D3DVALUE* factor) {
    if (factor == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *factor = Parameters().flDopplerFactor;
    return DS_OK;
}

HRESULT Listener::GetOrientation(D3DVECTOR* front, D3DVECTOR* top) {
    if (front == nullptr || top == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    const DS3DLISTENER parameters = Parameters();
    *front = parameters.vOrientFront;
    *top = parameters.vOrientTop;
    return DS_OK;
}

HRESULT Listener::GetPosition(D3DVECTOR* position) {
    if (position == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *position = Parameters().vPosition;
    return DS_OK;
}

HRESULT Listener::GetRolloffFactor(D3DVALUE* factor) {
    if (factor == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *factor = Parameters().flRolloffFactor;
    return DS_OK;
}

HRESULT Listener::GetVelocity(D3DVECTOR* velocity) {
    if (velocity == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *velocity = Parameters().vVelocity;
    return DS_OK;
}

HRESULT Listener::SetAllParameters(LPCDS3DLISTENER parameters, DWORD apply) {
    if (parameters == nullptr || parameters->dwSize != sizeof(DS3DLISTENER)) {
        return DSERR_INVALIDPARAM;
    }
    return ChangeParameters(apply, [parameters](DS3DLISTENER& p) { p = *parameters; });
}

HRESULT Listener::SetDistanceFactor(D3DVALUE factor, DWORD apply) {
    return ChangeParameters(apply, [factor](DS3DLISTENER& p) { p.flDistanceFactor = factor; });
}

HRESULT Listener::SetDopplerFactor(D3DVALUE factor, DWORD apply) {
    return ChangeParameters(apply, [factor](DS3DLISTENER& p) { p.flDopplerFactor = factor; });
}

HRESULT Listener::SetOrientation(D3DVALUE xFront, D3DVALUE yFront, D3DVALUE zFront, D3DVALUE xTop,
                                 D3DVALUE yTop, D3DVALUE zTop, DWORD apply) {
    return ChangeParameters(apply, [=](DS3DLISTENER& p) {
        p.vOrientFront = {xFront, yFront, zFront};
        p.vOrientTop = {xTop, yTop, zTop};
    });
}

HRESULT Listener::SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
    return ChangeParameters(apply, [x, y, z](DS3DLISTENER& p) { p.vPosition = {x, y, z}; });
}

HRESULT Listener::SetRolloffFactor(D3DVALUE factor, DWORD apply) {
    return ChangeParameters(apply, [factor](DS3DLISTENER& p) { p.flRolloffFactor = factor; });
}

HRESULT Listener::SetVelocity(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
    return ChangeParameters(apply, [x, y, z](DS3DLISTENER& p) { p.vVelocity = {x, y, z}; });
}

HRESULT Listener::CommitDeferredSettings() {
    std::lock_guard lock(engine_->Lock());
    engine_->CommitDeferredLocked();
    return DS_OK;
}

} // namespace winapi::dsound
