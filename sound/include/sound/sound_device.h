#pragma once
// SoundDevice owns the program's sound device object: it opens the default device for a window,
// sets the primary buffer's format, hands out the 3D listener and makes sound clips from wave
// files, WAVE resources or wave data in memory.

#include <windows.h>

#include <dsound.h>

class SoundClip;
class StreamingSoundClip;
class WaveFile;

class SoundDevice {
public:
    SoundDevice();
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // May be called again: the old device object is released first.
    HRESULT Initialize(HWND window, DWORD cooperativeLevel);
    HRESULT SetPrimaryBufferFormat(DWORD channels, DWORD samplesPerSecond, DWORD bitsPerSample);
    // The caller owns the listener's reference.
    HRESULT GetListener3D(LPDIRECTSOUND3DLISTENER* listener);

    // A clip of bufferCount buffers over the named wave file or WAVE resource. Returns
    // DS_NO_VIRTUALIZATION, with a working clip, when the platform replaced the 3D algorithm.
    HRESULT Create(SoundClip** clip, LPCSTR waveName, DWORD creationFlags, GUID algorithm3D,
                   DWORD bufferCount);
    // A clip over the caller's sample bytes in the given format; both must outlive the clip.
    HRESULT CreateFromData(SoundClip** clip, BYTE* data, DWORD dataSize, LPWAVEFORMATEX format,
                           DWORD creationFlags, GUID algorithm3D, DWORD bufferCount);
    // A streaming clip of notifyCount segments of notifySize bytes; the event is signalled as
    // playback passes the last byte of each segment.
    HRESULT CreateStream(StreamingSoundClip** clip, LPCSTR waveName, DWORD creationFlags,
                         GUID algorithm3D, DWORD notifyCount, DWORD notifySize, HANDLE notifyEvent);

private:
    // Makes the buffers of an opened wave file and the clip that takes them and the file over.
    // On failure the wave file is destroyed and nothing is kept. *firstResult receives the result
    // of creating the first buffer.
    HRESULT MakeClip(SoundClip** clip, WaveFile* waveFile, DWORD bufferSize, LPWAVEFORMATEX format,
                     DWORD creationFlags, const GUID& algorithm3D, DWORD bufferCount,
                     HRESULT* firstResult);
    HRESULT MakeBuffers(const DSBUFFERDESC& description, LPDIRECTSOUNDBUFFER* buffers,
                        DWORD bufferCount, HRESULT* firstResult);

    LPDIRECTSOUND8 m_directSound;
};
