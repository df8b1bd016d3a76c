#include "sound/sound_device.h"

#include "errors/error_trace.h"

SoundDevice::SoundDevice() : m_directSound(nullptr) {}

SoundDevice::~SoundDevice() {
    if (m_directSound != nullptr) {
        m_directSound->Release();
        m_directSound = nullptr;
    }
}

HRESULT SoundDevice::Initialize(HWND window, DWORD cooperativeLevel) {
    if (m_directSound != nullptr) {
        m_directSound->Release();
        m_directSound = nullptr;
    }
    HRESULT hr = DirectSoundCreate8(nullptr, &m_directSound, nullptr);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "DirectSoundCreate8", FALSE);
    }
    hr = m_directSound->SetCooperativeLevel(window, cooperativeLevel);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "SetCooperativeLevel", FALSE);
    }
    return S_OK;
}

HRESULT SoundDevice::SetPrimaryBufferFormat(DWORD channels, DWORD samplesPerSecond,
                                            DWORD bitsPerSample) {
    if (m_directSound == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    DSBUFFERDESC description{};
    description.dwSize = DSBUFFERDESC_PLATFORM_SIZE;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    LPDIRECTSOUNDBUFFER primary = nullptr;
    HRESULT hr = m_directSound->CreateSoundBuffer(&description, &primary, nullptr);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "CreateSoundBuffer", FALSE);
    }

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = samplesPerSecond;
    format.wBitsPerSample = static_cast<WORD>(bitsPerSample);
    format.nBlockAlign = static_cast<WORD>(format.wBitsPerSample / 8 * format.nChannels);
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    format.cbSize = 0;
    hr = primary->SetFormat(&format);
    primary->Release();
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "SetFormat", FALSE);
    }
    return S_OK;
}

HRESULT SoundDevice::GetListener3D(LPDIRECTSOUND3DLISTENER* listener) {
    if (listener == nullptr) {
        return E_INVALIDARG;
    }
    if (m_directSound == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    *listener = nullptr;
    DSBUFFERDESC description{};
    description.dwSize = DSBUFFERDESC_PLATFORM_SIZE;
    description.dwFlags = DSBCAPS_CTRL3D | DSBCAPS_PRIMARYBUFFER;
    LPDIRECTSOUNDBUFFER primary = nullptr;
    HRESULT hr = m_directSound->CreateSoundBuffer(&description, &primary, nullptr);
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "CreateSoundBuffer", FALSE);
    }
    hr = primary->QueryInterface(IID_IDirectSound3DListener, reinterpret_cast<void**>(listener));
    primary->Release();
    if (FAILED(hr)) {
        return TraceError(__FILE__, __LINE__, hr, "QueryInterface", FALSE);
    }
    return S_OK;
}
