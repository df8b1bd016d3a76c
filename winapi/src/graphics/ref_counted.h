#pragma once
// Reference counting for the stand-in's interface objects: the object deletes itself when the
// last reference is given back. QueryInterface knows only IUnknown.

#include "winapi/unknwn.h"

namespace winapi {

template <class Interface> class RefCounted : public Interface {
public:
    HRESULT QueryInterface(REFIID interfaceId, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (interfaceId != IID_IUnknown) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        *object = static_cast<IUnknown*>(this);
        return S_OK;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    RefCounted() = default;
    virtual ~RefCounted() = default;

private:
    ULONG references_ = 1;
};

} // namespace winapi
