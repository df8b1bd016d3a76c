#pragma once
// A sound buffer whose calls the clip tests script and check, for the paths the real mixer never
// takes (failing calls, wrapped locks, cursors chosen by the test). Its memory is a plain vector
// that Lock hands out; status bits are a field the test sets. Starts with one reference.

#include <windows.h>

#include <dsound.h>
#include <gmock/gmock.h>

#include <vector>

class MockSoundBuffer : public IDirectSoundBuffer {
public:
    explicit MockSoundBuffer(DWORD size = 64) : memory(size) {
        using testing::_;
        using testing::Invoke;
        using testing::Return;
        ON_CALL(*this, GetStatus(_)).WillByDefault(Invoke([this](LPDWORD status) {
            *status = this->status;
            return S_OK;
        }));
        ON_CALL(*this, Lock(_, _, _, _, _, _, _))
            .WillByDefault(Invoke([this](DWORD offset, DWORD bytes, LPVOID* one, LPDWORD oneSize,
                                         LPVOID* two, LPDWORD twoSize, DWORD) {
                *one = memory.data() + offset;
                *oneSize = bytes;
                if (two != nullptr) {
                    *two = nullptr;
                    *twoSize = 0;
                }
                return S_OK;
            }));
        ON_CALL(*this, Play(_, _, _)).WillByDefault(Invoke([this](DWORD, DWORD, DWORD) {
            status |= DSBSTATUS_PLAYING;
            return S_OK;
        }));
        ON_CALL(*this, Restore()).WillByDefault(Invoke([this] {
            status &= ~DSBSTATUS_BUFFERLOST;
            return S_OK;
        }));
        ON_CALL(*this, Unlock(_, _, _, _)).WillByDefault(Return(S_OK));
        ON_CALL(*this, Stop()).WillByDefault(Return(S_OK));
        ON_CALL(*this, SetCurrentPosition(_)).WillByDefault(Return(S_OK));
        ON_CALL(*this, QueryInterface(_, _)).WillByDefault(Return(E_NOINTERFACE));
    }
    virtual ~MockSoundBuffer() = default;

    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return --references; }

    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), (override));
    MOCK_METHOD(HRESULT, GetCaps, (LPDSBCAPS), (override));
    MOCK_METHOD(HRESULT, GetCurrentPosition, (LPDWORD, LPDWORD), (override));
    MOCK_METHOD(HRESULT, GetFormat, (LPWAVEFORMATEX, DWORD, LPDWORD), (override));
    MOCK_METHOD(HRESULT, GetVolume, (LPLONG), (override));
    MOCK_METHOD(HRESULT, GetPan, (LPLONG), (override));
    MOCK_METHOD(HRESULT, GetFrequency, (LPDWORD), (override));
    MOCK_METHOD(HRESULT, GetStatus, (LPDWORD), (override));
    MOCK_METHOD(HRESULT, Lock, (DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD),
                (override));
    MOCK_METHOD(HRESULT, Play, (DWORD, DWORD, DWORD), (override));
    MOCK_METHOD(HRESULT, SetCurrentPosition, (DWORD), (override));
    MOCK_METHOD(HRESULT, SetFormat, (LPCWAVEFORMATEX), (override));
    MOCK_METHOD(HRESULT, SetVolume, (LONG), (override));
    MOCK_METHOD(HRESULT, SetPan, (LONG), (override));
    MOCK_METHOD(HRESULT, SetFrequency, (DWORD), (override));
    MOCK_METHOD(HRESULT, Stop, (), (override));
    MOCK_METHOD(HRESULT, Unlock, (LPVOID, DWORD, LPVOID, DWORD), (override));
    MOCK_METHOD(HRESULT, Restore, (), (override));

    std::vector<BYTE> memory;
    DWORD status = 0;
    ULONG references = 1;
};
