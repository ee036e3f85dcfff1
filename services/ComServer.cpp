#include "ComServer.h"
#include "WindowSubclass.h"
#include <iterator>
#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace salva::com {
namespace {

std::atomic<long> g_locks{0};

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const ClassEntry& entry) noexcept : entry_(entry) { LockModule(); }
    ~ClassFactory() { UnlockModule(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
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
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return entry_.create(iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) LockModule(); else UnlockModule();
        return S_OK;
    }

private:
    const ClassEntry& entry_;
    std::atomic<ULONG> refs_{0};
};

std::wstring ModulePath() {
    wchar_t buf[MAX_PATH * 2] = {};
    const DWORD n = ::GetModuleFileNameW(ThisModule(), buf, static_cast<DWORD>(std::size(buf)));
    return std::wstring(buf, n);
}

LONG SetValue(HKEY root, const std::wstring& sub, const wchar_t* name, const std::wstring& value) {
    unique_hkey key;
    LONG rc = ::RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    return ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DeleteTree(HKEY root, const std::wstring& sub) {
    // RegDeleteTree is missing on old systems; SHDeleteKey would pull in shlwapi for one call.
    unique_hkey key;
    if (::RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ | KEY_WRITE, key.put()) == ERROR_SUCCESS) {
        for (;;) {
            wchar_t child[256];
            DWORD len = static_cast<DWORD>(std::size(child));
            if (::RegEnumKeyExW(key.get(), 0, child, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            const std::wstring childPath = sub + L"\\" + child;
            DeleteTree(root, childPath);
            // Stop if the child would not go, instead of looping on it.
            unique_hkey still;
            if (::RegOpenKeyExW(root, childPath.c_str(), 0, KEY_READ, still.put()) == ERROR_SUCCESS) break;
        }
    }
    key.reset();
    ::RegDeleteKeyW(root, sub.c_str());
}

}  // namespace

HMODULE ThisModule() noexcept { return reinterpret_cast<HMODULE>(&__ImageBase); }
void LockModule() noexcept { ++g_locks; }
void UnlockModule() noexcept { --g_locks; }
// A window procedure of this module still linked into a window's chain keeps it loaded: the
// window would call into unloaded code.
bool ModuleIdle() noexcept { return g_locks.load() == 0 && WindowSubclass::LinkedCount() == 0; }

HRESULT GetModuleTypeInfo(REFIID iid, ITypeInfo** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    com_ptr<ITypeLib> lib;
    RETURN_IF_FAILED(::LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, lib.put()));
    return lib->GetTypeInfoOfGuid(iid, out);
}

std::wstring GuidText(const GUID& guid) {
    wchar_t buf[40] = {};
    const int n = ::StringFromGUID2(guid, buf, static_cast<int>(std::size(buf)));
    return n > 0 ? std::wstring(buf, n - 1) : std::wstring();
}

HRESULT GetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (size_t i = 0; i < server.count; ++i) {
        if (!IsEqualCLSID(clsid, *server.classes[i].clsid)) continue;
        auto* factory = new (std::nothrow) ClassFactory(server.classes[i]);
        if (!factory) return E_OUTOFMEMORY;
        factory->AddRef();
        const HRESULT hr = factory->QueryInterface(iid, out);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterServer(const ServerInfo& server) noexcept {
    const std::wstring path = ModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(::GetLastError());
    const std::wstring libid = GuidText(*server.libid);
    const std::wstring version = std::to_wstring(server.libMajor) + L"." + std::to_wstring(server.libMinor);
    for (size_t i = 0; i < server.count; ++i) {
        const ClassEntry& c = server.classes[i];
        const std::wstring key = L"CLSID\\" + GuidText(*c.clsid);
        LONG rc = SetValue(HKEY_CLASSES_ROOT, key, nullptr, c.name);
        if (rc == ERROR_SUCCESS) rc = SetValue(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", nullptr, path);
        if (rc == ERROR_SUCCESS)
            rc = SetValue(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        if (rc == ERROR_SUCCESS) rc = SetValue(HKEY_CLASSES_ROOT, key + L"\\ProgID", nullptr, c.progId);
        if (rc == ERROR_SUCCESS) rc = SetValue(HKEY_CLASSES_ROOT, key + L"\\TypeLib", nullptr, libid);
        if (rc == ERROR_SUCCESS) rc = SetValue(HKEY_CLASSES_ROOT, key + L"\\Version", nullptr, version);
        if (rc == ERROR_SUCCESS) rc = SetValue(HKEY_CLASSES_ROOT, c.progId, nullptr, c.name);
        if (rc == ERROR_SUCCESS)
            rc = SetValue(HKEY_CLASSES_ROOT, std::wstring(c.progId) + L"\\CLSID", nullptr, GuidText(*c.clsid));
        if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    }
    // Registering the type library also records its interfaces, so the dual interfaces can
    // be marshalled by the type-library marshaller.
    com_ptr<ITypeLib> lib;
    RETURN_IF_FAILED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put()));
    return ::RegisterTypeLib(lib.get(), const_cast<LPOLESTR>(path.c_str()), nullptr);
}

HRESULT UnregisterServer(const ServerInfo& server) noexcept {
    for (size_t i = 0; i < server.count; ++i) {
        const ClassEntry& c = server.classes[i];
        DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(*c.clsid));
        DeleteTree(HKEY_CLASSES_ROOT, c.progId);
    }
    // A type library that is not registered is already in the state we want. Asked first, since
    // the answer for it differs: Wine's UnRegisterTypeLib gives E_INVALIDARG, which also stands
    // for arguments it refuses.
    const std::wstring version = std::to_wstring(server.libMajor) + L"." + std::to_wstring(server.libMinor);
    unique_hkey registered;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, (L"TypeLib\\" + GuidText(*server.libid) + L"\\" + version).c_str(), 0,
                        KEY_READ, registered.put()) != ERROR_SUCCESS)
        return S_OK;
    registered.reset();
    const HRESULT hr = ::UnRegisterTypeLib(*server.libid, server.libMajor, server.libMinor, LOCALE_NEUTRAL, SYS_WIN32);
    return (SUCCEEDED(hr) || hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY ||
            hr == TYPE_E_LIBNOTREGISTERED) ? S_OK : hr;
}

}  // namespace salva::com
