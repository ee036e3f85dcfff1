// The pieces every in-process COM server of ours shares: the module's lock count, dual
// interfaces whose IDispatch half is answered from the module's embedded type library,
// a class factory, and self-registration.
#pragma once
#include "Holders.h"
#include <atomic>
#include <new>
#include <string>

namespace salva::com {

HMODULE ThisModule() noexcept;
void LockModule() noexcept;
void UnlockModule() noexcept;
bool ModuleIdle() noexcept;

// Type information of one interface, from the type library embedded in this module.
HRESULT GetModuleTypeInfo(REFIID iid, ITypeInfo** out) noexcept;

// Reference counting, QueryInterface and IDispatch for an object with one dual interface.
// Derived classes implement the interface's own members.
template <typename Iface>
class DispatchObject : public Iface {
public:
    DispatchObject() noexcept { LockModule(); }
    virtual ~DispatchObject() { UnlockModule(); }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, __uuidof(Iface))) {
            *out = static_cast<Iface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        RETURN_IF_FAILED(EnsureTypeInfo());
        typeInfo_->AddRef();
        *out = typeInfo_.get();
        return S_OK;
    }
    // The interface argument is reserved: anything but IID_NULL names an interface we do not
    // dispatch for.
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        RETURN_IF_FAILED(EnsureTypeInfo());
        return ::DispGetIDsOfNames(typeInfo_.get(), names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        RETURN_IF_FAILED(EnsureTypeInfo());
        return ::DispInvoke(static_cast<Iface*>(this), typeInfo_.get(), id, flags, params,
                            result, excep, argErr);
    }

    // Creates one object and hands out the requested interface.
    template <typename Derived>
    static HRESULT Create(REFIID iid, void** out) {
        Derived* obj = new (std::nothrow) Derived();
        if (!obj) return E_OUTOFMEMORY;
        obj->AddRef();
        const HRESULT hr = obj->QueryInterface(iid, out);
        obj->Release();
        return hr;
    }

private:
    HRESULT EnsureTypeInfo() {
        if (typeInfo_) return S_OK;
        return GetModuleTypeInfo(__uuidof(Iface), typeInfo_.put());
    }
    std::atomic<ULONG> refs_{0};
    com_ptr<ITypeInfo> typeInfo_;
};

// One creatable class of the module.
struct ClassEntry {
    const CLSID* clsid;
    const wchar_t* name;    // class name, used as the registry description
    const wchar_t* progId;  // e.g. L"Dorvex.Dorvex"
    HRESULT (*create)(REFIID iid, void** out);
};

struct ServerInfo {
    const ClassEntry* classes;
    size_t count;
    const GUID* libid;
    WORD libMajor;
    WORD libMinor;
};

HRESULT GetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID iid, void** out) noexcept;
HRESULT RegisterServer(const ServerInfo& server) noexcept;
HRESULT UnregisterServer(const ServerInfo& server) noexcept;

// Text form "{XXXXXXXX-...}" of a GUID.
std::wstring GuidText(const GUID& guid);

}  // namespace salva::com
