#pragma once
// SoundClip: one sound loaded into one or more buffers of the same content, so that it can overlap
// itself. Each Play takes a buffer that is not playing; buffers the platform took away are
// restored and refilled from the clip's WaveFile.

#include <windows.h>

#include <dsound.h>

class WaveFile;

class SoundClip {
public:
    // Copies the array and takes over the buffers (one reference each) and the wave file, even
    // when it fails; a failure (count 0, no memory) leaves a clip without buffers and is written
    // to *result. Fills buffer 0 with the sound.
    SoundClip(LPDIRECTSOUNDBUFFER* buffers, DWORD bufferSize, DWORD bufferCount, WaveFile* waveFile,
              DWORD creationFlags, HRESULT* result = nullptr);
    virtual ~SoundClip();
    SoundClip(const SoundClip&) = delete;
    SoundClip& operator=(const SoundClip&) = delete;

    // The buffer at index, without a new reference; null when there is none.
    LPDIRECTSOUNDBUFFER BufferAt(DWORD index) const;
    // The 3D interface of the buffer at index; the caller owns the reference.
    HRESULT Get3DBuffer(DWORD index, LPDIRECTSOUND3DBUFFER* buffer3D);

    // Fills the whole buffer from the start of the wave; with repeat the wave loops to fill it,
    // otherwise silence follows the wave.
    HRESULT FillBufferWithSound(LPDIRECTSOUNDBUFFER buffer, BOOL repeat);
    // S_OK once a lost buffer is restored (its content is then undefined), S_FALSE when it was
    // not lost. Waits as long as the platform refuses the restore.
    HRESULT RestoreBuffer(LPDIRECTSOUNDBUFFER buffer, BOOL* restored);
    // The first buffer not playing; when all play, one of them at random.
    LPDIRECTSOUNDBUFFER GetFreeBuffer();

    // Volume, frequency (-1 leaves it unchanged) and pan take effect only on clips made with
    // the matching DSBCAPS_CTRL flag.
    HRESULT Play(DWORD priority = 0, DWORD flags = 0, LONG volume = 0, LONG frequency = -1,
                 LONG pan = 0);
    HRESULT PlayWith3D(LPDS3DBUFFER parameters, DWORD priority = 0, DWORD flags = 0,
                       LONG frequencyOffset = 0);
    HRESULT Stop();
    HRESULT Reset();
    BOOL IsPlaying();

protected:
    // The byte that sounds as silence in the wave's format.
    BYTE SilenceByte() const;
    // Fills a locked region: `filled` bytes already hold sound, the rest is read from the wave,
    // looping to its start with repeat; whatever the wave cannot supply becomes silence, which
    // sets *ranOut.
    HRESULT CompleteRegion(BYTE* region, DWORD size, DWORD filled, BOOL repeat, bool* ranOut);
    // Prepares a buffer to play on: a free one, restored and refilled when it was lost.
    HRESULT PrepareFreeBuffer(LPDIRECTSOUNDBUFFER* buffer);

    LPDIRECTSOUNDBUFFER* m_buffers;
    DWORD m_bufferSize;
    WaveFile* m_waveFile;
    DWORD m_bufferCount;
    DWORD m_creationFlags;
};
