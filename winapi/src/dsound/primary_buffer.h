#pragma once
// The primary buffer: the device's output format, master volume and pan, and the door to the 3D
// listener. Its memory cannot be written; the mixer fills the output directly.

#include "dsound/engine.h"

#include <dsound.h>

#include <atomic>
#include <memory>

namespace winapi::dsound {

class PrimaryBuffer final : public IDirectSoundBuffer {
public:
    PrimaryBuffer(std::shared_ptr<Engine> engine, DWORD flags);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetCaps(LPDSBCAPS caps) override;
    HRESULT GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) override;
    HRESULT GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) override;
    HRESULT GetVolume(LPLONG volume) override;
    HRESULT GetPan(LPLONG pan) override;
    HRESULT GetFrequency(LPDWORD frequency) override;
    HRESULT GetStatus(LPDWORD status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1, LPVOID* region2,
                 LPDWORD bytes2, DWORD flags) override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT SetCurrentPosition(DWORD position) override;
    HRESULT SetFormat(LPCWAVEFORMATEX format) override;
    HRESULT SetVolume(LONG volume) override;
    HRESULT SetPan(LONG pan) override;
    HRESULT SetFrequency(DWORD frequency) override;
    HRESULT Stop() override;
    HRESULT Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) override;
    HRESULT Restore() override;

private:
    ~PrimaryBuffer() = default;

    // The size the primary buffer reports: 20 ms of the output, whole frames.
    DWORD BufferBytes();

    std::atomic<ULONG> references_{1};
    std::shared_ptr<Engine> engine_;
    DWORD flags_;
};

class Listener final : public IDirectSound3DListener {
public:
    explicit Listener(std::shared_ptr<Engine> engine);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetAllParameters(LPDS3DLISTENER parameters) override;
    HRESULT GetDistanceFactor(D3DVALUE* factor) override;
    HRESULT GetDopplerFactor(D3DVALUE* factor) override;
    HRESULT GetOrientation(D3DVECTOR* front, D3DVECTOR* top) override;
    HRESULT GetPosition(D3DVECTOR* position) override;
    HRESULT GetRolloffFactor(D3DVALUE* factor) override;
    HRESULT GetVelocity(D3DVECTOR* velocity) override;
    HRESULT SetAllParameters(LPCDS3DLISTENER parameters, DWORD apply) override;
    HRESULT SetDistanceFactor(D3DVALUE factor, DWORD apply) override;
    HRESULT SetDopplerFactor(D3DVALUE factor, DWORD apply) override;
    HRESULT SetOrientation(D3DVALUE xFront, D3DVALUE yFront, D3DVALUE zFront, D3DVALUE xTop,
                           D3DVALUE yTop, D3DVALUE zTop, DWORD apply) override;
    HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;
    HRESULT SetRolloffFactor(D3DVALUE factor, DWORD apply) override;
    HRESULT SetVelocity(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;
    HRESULT CommitDeferredSettings() override;

private:
    ~Listener() = default;

    DS3DLISTENER Parameters();
    template <typename Change> HRESULT ChangeParameters(DWORD apply, Change change);

    std::atomic<ULONG> references_{1};
    std::shared_ptr<Engine> engine_;
};

} // namespace winapi::dsound
