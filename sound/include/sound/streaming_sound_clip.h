#pragma once
// StreamingSoundClip: a clip of one buffer much shorter than its wave. The buffer is divided into
// equal segments; the platform signals an event as playback passes the end of each, and the owner
// then calls OnNotification, which refills the segment just played with the next part of the wave
// (silence once the wave has ended) and stops the buffer when everything has been heard.

#include "sound/sound_clip.h"

class StreamingSoundClip : public SoundClip {
public:
    // Fills the whole buffer with the first bufferSize bytes of the wave.
    StreamingSoundClip(LPDIRECTSOUNDBUFFER buffer, DWORD bufferSize, WaveFile* waveFile,
                       DWORD notifySize, HRESULT* result = nullptr);
    ~StreamingSoundClip() override;

    // Refills the next segment; with repeat the wave loops without a gap and never ends.
    HRESULT OnNotification(BOOL repeat);
    // Rewinds the stream: the buffer plays from its start what it holds, and segments refilled
    // from the next notification on come from the start of the wave.
    HRESULT Reset();

private:
    HRESULT FillSegment(BYTE* segment, DWORD size, BOOL repeat);
    void CountPlayedBytes(DWORD playCursor);

    DWORD m_lastPlayPosition;
    DWORD m_playProgress;
    DWORD m_notifySize;
    DWORD m_nextWriteOffset;
    bool m_fillWithSilence;
};
