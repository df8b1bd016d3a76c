#pragma once
// The component object model's base interface, as the graphics, input and sound services use it.

#include "winapi/types.h"
#include "winapi/winerror.h"

#define DECLSPEC_UUID(x)
#define STDMETHOD(name) virtual HRESULT name
#define STDMETHOD_(type, name) virtual type name
#define PURE = 0

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

extern "C++" const IID IID_IUnknown;
