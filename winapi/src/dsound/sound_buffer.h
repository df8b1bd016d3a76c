#pragma once
// A secondary buffer: sound memory (shared with its duplicates) and the voice that plays it. One
// object answers for the buffer, its notification interface and, for DSBCAPS_CTRL3D buffers, its
// 3D interface, with one reference count.

#include "dsound/engine.h"

#include <dsound.h>

#include <atomic>
#include <memory>

namespace winapi::dsound {

class SoundBuffer final : public IDirectSoundBuffer,
                          public IDirectSoundNotify,
                          public IDirectSound3DBuffer {
public:
    // The memory is filled with silence; the voice starts at the memory's own rate.
    SoundBuffer(std::shared_ptr<Engine> engine, std::shared_ptr<SoundMemory> memory, DWORD flags);
    // A duplicate: the original's memory, flags and settings, stopped at position 0.
    explicit SoundBuffer(SoundBuffer& original);

    DWORD Flags() const { return voice_.flags; }

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

    HRESULT SetNotificationPositions(DWORD count, LPCDSBPOSITIONNOTIFY positions) override;

    HRESULT GetAllParameters(LPDS3DBUFFER parameters) override;
    HRESULT GetConeAngles(LPDWORD inside, LPDWORD outside) override;
    HRESULT GetConeOrientation(D3DVECTOR* orientation) override;
    HRESULT GetConeOutsideVolume(LPLONG volume) override;
    HRESULT GetMaxDistance(D3DVALUE* distance) override;
    HRESULT GetMinDistance(D3DVALUE* distance) override;
    HRESULT GetMode(LPDWORD mode) override;
    HRESULT GetPosition(D3DVECTOR* position) override;
    HRESULT GetVelocity(D3DVECTOR* velocity) override;
    HRESULT SetAllParameters(LPCDS3DBUFFER parameters, DWORD apply) override;
    HRESULT SetConeAngles(DWORD inside, DWORD outside, DWORD apply) override;
    HRESULT SetConeOrientation(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;
    HRESULT SetConeOutsideVolume(LONG volume, DWORD apply) override;
    HRESULT SetMaxDistance(D3DVALUE distance, DWORD apply) override;
    HRESULT SetMinDistance(D3DVALUE distance, DWORD apply) override;
    HRESULT SetMode(DWORD mode, DWORD apply) override;
    HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;
    HRESULT SetVelocity(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;

private:
    ~SoundBuffer();

    // Reads (under the lock) the 3D parameters a getter reports: the deferred ones if any.
    DS3DBUFFER Spatial();
    // Changes the 3D parameters now or, with DS3D_DEFERRED, at the listener's next commit.
    template <typename Change> HRESULT ChangeSpatial(DWORD apply, Change change);

    DWORD WriteLeadBytes() const;

    std::atomic<ULONG> references_{1};
    std::shared_ptr<Engine> engine_;
    Voice voice_;
};

} // namespace winapi::dsound
