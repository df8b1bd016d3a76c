#pragma once
// The sound-output service: device, primary and secondary buffers, duplicates, position
// notifications, 3D buffers and the listener, mixed in software and played through SDL2 (or a
// silent real-time sink when no card opens). Left out: effects (buffers accept DSBCAPS_CTRLFX but
// apply none), Doppler shift, hardware voices, capture, writing the primary buffer, device caps.

#include <mmsystem.h>
#include <windows.h>

// Result codes.
#define _FACDS 0x878
#define MAKE_DSHRESULT(code) MAKE_HRESULT(1, _FACDS, code)

#define DS_OK S_OK
#define DS_NO_VIRTUALIZATION MAKE_HRESULT(0, _FACDS, 10)
#define DS_INCOMPLETE MAKE_HRESULT(0, _FACDS, 20)
#define DSERR_ALLOCATED MAKE_DSHRESULT(10)
#define DSERR_CONTROLUNAVAIL MAKE_DSHRESULT(30)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL MAKE_DSHRESULT(50)
#define DSERR_GENERIC E_FAIL
#define DSERR_PRIOLEVELNEEDED MAKE_DSHRESULT(70)
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_BADFORMAT MAKE_DSHRESULT(100)
#define DSERR_UNSUPPORTED E_NOTIMPL
#define DSERR_NODRIVER MAKE_DSHRESULT(120)
#define DSERR_ALREADYINITIALIZED MAKE_DSHRESULT(130)
#define DSERR_NOAGGREGATION CLASS_E_NOAGGREGATION
#define DSERR_BUFFERLOST MAKE_DSHRESULT(150)
#define DSERR_OTHERAPPHASPRIO MAKE_DSHRESULT(160)
#define DSERR_UNINITIALIZED MAKE_DSHRESULT(170)
#define DSERR_NOINTERFACE E_NOINTERFACE
#define DSERR_ACCESSDENIED E_ACCESSDENIED
#define DSERR_BUFFERTOOSMALL MAKE_DSHRESULT(180)
#define DSERR_DS8_REQUIRED MAKE_DSHRESULT(190)
#define DSERR_SENDLOOP MAKE_DSHRESULT(200)
#define DSERR_BADSENDBUFFERGUID MAKE_DSHRESULT(210)
#define DSERR_OBJECTNOTFOUND MAKE_DSHRESULT(4449)
#define DSERR_FXUNAVAILABLE MAKE_DSHRESULT(220)

// Cooperative levels.
#define DSSCL_NORMAL 0x00000001
#define DSSCL_PRIORITY 0x00000002
#define DSSCL_EXCLUSIVE 0x00000003
#define DSSCL_WRITEPRIMARY 0x00000004

// Buffer creation flags.
#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_LOCHARDWARE 0x00000004
#define DSBCAPS_LOCSOFTWARE 0x00000008
#define DSBCAPS_CTRL3D 0x00000010
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_CTRLPOSITIONNOTIFY 0x00000100
#define DSBCAPS_CTRLFX 0x00000200
#define DSBCAPS_STICKYFOCUS 0x00004000
#define DSBCAPS_GLOBALFOCUS 0x00008000
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000
#define DSBCAPS_MUTE3DATMAXDISTANCE 0x00020000
#define DSBCAPS_LOCDEFER 0x00040000
#define DSBCAPS_TRUEPLAYPOSITION 0x00080000

// Play flags.
#define DSBPLAY_LOOPING 0x00000001
#define DSBPLAY_LOCHARDWARE 0x00000002
#define DSBPLAY_LOCSOFTWARE 0x00000004
#define DSBPLAY_TERMINATEBY_TIME 0x00000008
#define DSBPLAY_TERMINATEBY_DISTANCE 0x00000010
#define DSBPLAY_TERMINATEBY_PRIORITY 0x00000020

// Status bits.
#define DSBSTATUS_PLAYING 0x00000001
#define DSBSTATUS_BUFFERLOST 0x00000002
#define DSBSTATUS_LOOPING 0x00000004
#define DSBSTATUS_LOCHARDWARE 0x00000008
#define DSBSTATUS_LOCSOFTWARE 0x00000010
#define DSBSTATUS_TERMINATED 0x00000020

// Lock flags.
#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002

// Ranges of the controls: volume in hundredths of a decibel, pan likewise, frequency in Hz.
#define DSBFREQUENCY_ORIGINAL 0
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000
#define DSBPAN_LEFT -10000
#define DSBPAN_CENTER 0
#define DSBPAN_RIGHT 10000
#define DSBVOLUME_MIN -10000
#define DSBVOLUME_MAX 0
#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF
#define DSBSIZE_FX_MIN 150

#define DSBPN_OFFSETSTOP 0xFFFFFFFF

// Speaker configurations.
#define DSSPEAKER_HEADPHONE 0x00000001
#define DSSPEAKER_MONO 0x00000002
#define DSSPEAKER_QUAD 0x00000003
#define DSSPEAKER_STEREO 0x00000004
#define DSSPEAKER_SURROUND 0x00000005
#define DSSPEAKER_5POINT1 0x00000006
#define DSSPEAKER_7POINT1 0x00000007
#define DSSPEAKER_CONFIG(a) ((BYTE)(a))

// 3D processing.
#define DS3D_IMMEDIATE 0x00000000
#define DS3D_DEFERRED 0x00000001
#define DS3DMODE_NORMAL 0x00000000
#define DS3DMODE_HEADRELATIVE 0x00000001
#define DS3DMODE_DISABLE 0x00000002

#define DS3D_MINDISTANCEFACTOR 1.175494351e-38f
#define DS3D_MAXDISTANCEFACTOR 3.402823466e+38f
#define DS3D_DEFAULTDISTANCEFACTOR 1.0f
#define DS3D_MINROLLOFFFACTOR 0.0f
#define DS3D_MAXROLLOFFFACTOR 10.0f
#define DS3D_DEFAULTROLLOFFFACTOR 1.0f
#define DS3D_MINDOPPLERFACTOR 0.0f
#define DS3D_MAXDOPPLERFACTOR 10.0f
#define DS3D_DEFAULTDOPPLERFACTOR 1.0f
#define DS3D_DEFAULTMINDISTANCE 1.0f
#define DS3D_DEFAULTMAXDISTANCE 1000000000.0f
#define DS3D_MINCONEANGLE 0
#define DS3D_MAXCONEANGLE 360
#define DS3D_DEFAULTCONEANGLE 360
#define DS3D_DEFAULTCONEOUTSIDEVOLUME DSBVOLUME_MAX

#ifndef D3DVALUE_DEFINED
#define D3DVALUE_DEFINED
typedef float D3DVALUE;
typedef float* LPD3DVALUE;
#endif

#ifndef D3DVECTOR_DEFINED
#define D3DVECTOR_DEFINED
typedef struct _D3DVECTOR {
    float x;
    float y;
    float z;
} D3DVECTOR;
#endif
typedef D3DVECTOR* LPD3DVECTOR;

typedef struct _DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
} DSBUFFERDESC, *LPDSBUFFERDESC;
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

// The record's size as the platform's 32-bit callers fill it in; CreateSoundBuffer accepts it as
// well as sizeof(DSBUFFERDESC).
#define DSBUFFERDESC_PLATFORM_SIZE 36

typedef struct _DSBCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwUnlockTransferRate;
    DWORD dwPlayCpuOverhead;
} DSBCAPS, *LPDSBCAPS;
typedef const DSBCAPS* LPCDSBCAPS;

typedef struct _DSBPOSITIONNOTIFY {
    DWORD dwOffset;
    HANDLE hEventNotify;
} DSBPOSITIONNOTIFY, *LPDSBPOSITIONNOTIFY;
typedef const DSBPOSITIONNOTIFY* LPCDSBPOSITIONNOTIFY;

typedef struct _DS3DBUFFER {
    DWORD dwSize;
    D3DVECTOR vPosition;
    D3DVECTOR vVelocity;
    DWORD dwInsideConeAngle;
    DWORD dwOutsideConeAngle;
    D3DVECTOR vConeOrientation;
    LONG lConeOutsideVolume;
    D3DVALUE flMinDistance;
    D3DVALUE flMaxDistance;
    DWORD dwMode;
} DS3DBUFFER, *LPDS3DBUFFER;
typedef const DS3DBUFFER* LPCDS3DBUFFER;

typedef struct _DS3DLISTENER {
    DWORD dwSize;
    D3DVECTOR vPosition;
    D3DVECTOR vVelocity;
    D3DVECTOR vOrientFront;
    D3DVECTOR vOrientTop;
    D3DVALUE flDistanceFactor;
    D3DVALUE flRolloffFactor;
    D3DVALUE flDopplerFactor;
} DS3DLISTENER, *LPDS3DLISTENER;
typedef const DS3DLISTENER* LPCDS3DLISTENER;

struct IDirectSoundBuffer;

struct IDirectSound8 : IUnknown {
    virtual HRESULT CreateSoundBuffer(LPCDSBUFFERDESC pcDSBufferDesc,
                                      IDirectSoundBuffer** ppDSBuffer, LPUNKNOWN pUnkOuter) = 0;
    virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* pDSBufferOriginal,
                                         IDirectSoundBuffer** ppDSBufferDuplicate) = 0;
    virtual HRESULT SetCooperativeLevel(HWND hwnd, DWORD dwLevel) = 0;
    virtual HRESULT Compact() = 0;
    virtual HRESULT GetSpeakerConfig(LPDWORD pdwSpeakerConfig) = 0;
    virtual HRESULT SetSpeakerConfig(DWORD dwSpeakerConfig) = 0;
    virtual HRESULT Initialize(const GUID* pcGuidDevice) = 0;

protected:
    ~IDirectSound8() = default;
};

struct IDirectSoundBuffer : IUnknown {
    virtual HRESULT GetCaps(LPDSBCAPS pDSBufferCaps) = 0;
    virtual HRESULT GetCurrentPosition(LPDWORD pdwCurrentPlayCursor,
                                       LPDWORD pdwCurrentWriteCursor) = 0;
    virtual HRESULT GetFormat(LPWAVEFORMATEX pwfxFormat, DWORD dwSizeAllocated,
                              LPDWORD pdwSizeWritten) = 0;
    virtual HRESULT GetVolume(LPLONG plVolume) = 0;
    virtual HRESULT GetPan(LPLONG plPan) = 0;
    virtual HRESULT GetFrequency(LPDWORD pdwFrequency) = 0;
    virtual HRESULT GetStatus(LPDWORD pdwStatus) = 0;
    virtual HRESULT Lock(DWORD dwOffset, DWORD dwBytes, LPVOID* ppvAudioPtr1,
                         LPDWORD pdwAudioBytes1, LPVOID* ppvAudioPtr2, LPDWORD pdwAudioBytes2,
                         DWORD dwFlags) = 0;
    virtual HRESULT Play(DWORD dwReserved1, DWORD dwPriority, DWORD dwFlags) = 0;
    virtual HRESULT SetCurrentPosition(DWORD dwNewPosition) = 0;
    virtual HRESULT SetFormat(LPCWAVEFORMATEX pcfxFormat) = 0;
    virtual HRESULT SetVolume(LONG lVolume) = 0;
    virtual HRESULT SetPan(LONG lPan) = 0;
    virtual HRESULT SetFrequency(DWORD dwFrequency) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT Unlock(LPVOID pvAudioPtr1, DWORD dwAudioBytes1, LPVOID pvAudioPtr2,
                           DWORD dwAudioBytes2) = 0;
    virtual HRESULT Restore() = 0;

protected:
    ~IDirectSoundBuffer() = default;
};

struct IDirectSoundNotify : IUnknown {
    virtual HRESULT SetNotificationPositions(DWORD dwPositionNotifies,
                                             LPCDSBPOSITIONNOTIFY pcPositionNotifies) = 0;

protected:
    ~IDirectSoundNotify() = default;
};

struct IDirectSound3DBuffer : IUnknown {
    virtual HRESULT GetAllParameters(LPDS3DBUFFER pDs3dBuffer) = 0;
    virtual HRESULT GetConeAngles(LPDWORD pdwInsideConeAngle, LPDWORD pdwOutsideConeAngle) = 0;
    virtual HRESULT GetConeOrientation(D3DVECTOR* pvOrientation) = 0;
    virtual HRESULT GetConeOutsideVolume(LPLONG plConeOutsideVolume) = 0;
    virtual HRESULT GetMaxDistance(D3DVALUE* pflMaxDistance) = 0;
    virtual HRESULT GetMinDistance(D3DVALUE* pflMinDistance) = 0;
    virtual HRESULT GetMode(LPDWORD pdwMode) = 0;
    virtual HRESULT GetPosition(D3DVECTOR* pvPosition) = 0;
    virtual HRESULT GetVelocity(D3DVECTOR* pvVelocity) = 0;
    virtual HRESULT SetAllParameters(LPCDS3DBUFFER pcDs3dBuffer, DWORD dwApply) = 0;
    virtual HRESULT SetConeAngles(DWORD dwInsideConeAngle, DWORD dwOutsideConeAngle,
                                  DWORD dwApply) = 0;
    virtual HRESULT SetConeOrientation(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD dwApply) = 0;
    virtual HRESULT SetConeOutsideVolume(LONG lConeOutsideVolume, DWORD dwApply) = 0;
    virtual HRESULT SetMaxDistance(D3DVALUE flMaxDistance, DWORD dwApply) = 0;
    virtual HRESULT SetMinDistance(D3DVALUE flMinDistance, DWORD dwApply) = 0;
    virtual HRESULT SetMode(DWORD dwMode, DWORD dwApply) = 0;
    virtual HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD dwApply) = 0;
    virtual HRESULT SetVelocity(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD dwApply) = 0;

protected:
    ~IDirectSound3DBuffer() = default;
};

struct IDirectSound3DListener : IUnknown {
    virtual HRESULT GetAllParameters(LPDS3DLISTENER pListener) = 0;
    virtual HRESULT GetDistanceFactor(D3DVALUE* pflDistanceFactor) = 0;
    virtual HRESULT GetDopplerFactor(D3DVALUE* pflDopplerFactor) = 0;
    virtual HRESULT GetOrientation(D3DVECTOR* pvOrientFront, D3DVECTOR* pvOrientTop) = 0;
    virtual HRESULT GetPosition(D3DVECTOR* pvPosition) = 0;
    virtual HRESULT GetRolloffFactor(D3DVALUE* pflRolloffFactor) = 0;
    virtual HRESULT GetVelocity(D3DVECTOR* pvVelocity) = 0;
    virtual HRESULT SetAllParameters(LPCDS3DLISTENER pcListener, DWORD dwApply) = 0;
    virtual HRESULT SetDistanceFactor(D3DVALUE flDistanceFactor, DWORD dwApply) = 0;
    virtual HRESULT SetDopplerFactor(D3DVALUE flDopplerFactor, DWORD dwApply) = 0;
    virtual HRESULT SetOrientation(D3DVALUE xFront, D3DVALUE yFront, D3DVALUE zFront, D3DVALUE xTop,
                                   D3DVALUE yTop, D3DVALUE zTop, DWORD dwApply) = 0;
    virtual HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD dwApply) = 0;
    virtual HRESULT SetRolloffFactor(D3DVALUE flRolloffFactor, DWORD dwApply) = 0;
    virtual HRESULT SetVelocity(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD dwApply) = 0;
    virtual HRESULT CommitDeferredSettings() = 0;

protected:
    ~IDirectSound3DListener() = default;
};

typedef IDirectSound8* LPDIRECTSOUND8;
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;
typedef IDirectSoundNotify* LPDIRECTSOUNDNOTIFY;
typedef IDirectSound3DBuffer* LPDIRECTSOUND3DBUFFER;
typedef IDirectSound3DListener* LPDIRECTSOUND3DLISTENER;

extern "C++" const IID IID_IDirectSound8;
extern "C++" const IID IID_IDirectSoundBuffer;
extern "C++" const IID IID_IDirectSoundNotify;
extern "C++" const IID IID_IDirectSound3DBuffer;
extern "C++" const IID IID_IDirectSound3DListener;

// The all-zero identifier; as a 3D algorithm it stands for DS3DALG_DEFAULT.
extern "C++" const GUID GUID_NULL;
#define DS3DALG_DEFAULT GUID_NULL
extern "C++" const GUID DS3DALG_NO_VIRTUALIZATION;
extern "C++" const GUID DS3DALG_HRTF_FULL;
extern "C++" const GUID DS3DALG_HRTF_LIGHT;

// Creates the device object on the default output. pcGuidDevice must be null or GUID_NULL.
HRESULT DirectSoundCreate8(const GUID* pcGuidDevice, LPDIRECTSOUND8* ppDS8, LPUNKNOWN pUnkOuter);
