// Data objects of the drops the tests make: a shell file list (CF_HDROP) or plain text, each
// in an HGLOBAL. Header only, so that the drag helper program builds with it too.
#pragma once
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <cstring>
#include <string>
#include <vector>

namespace mainwintest {

// A data object with one format in an HGLOBAL.
class HGlobalData : public IDataObject {
public:
    HGlobalData(CLIPFORMAT format, std::vector<char> bytes) : format_(format), bytes_(std::move(bytes)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = ::InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
        if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
        HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
        if (!g) return E_OUTOFMEMORY;
        std::memcpy(::GlobalLock(g), bytes_.data(), bytes_.size());
        ::GlobalUnlock(g);
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = g;
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        return f && f->cfFormat == format_ && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC f{format_, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return ::SHCreateStdEnumFmtEtc(1, &f, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    virtual ~HGlobalData() = default;
    LONG refs_ = 1;
    CLIPFORMAT format_;
    std::vector<char> bytes_;
};

inline IDataObject* NewFileListData(const std::vector<std::wstring>& paths) {
    // DROPFILES, then each path with its NUL, then one more NUL.
    std::wstring list;
    for (const std::wstring& p : paths) list += p + L'\0';
    list += L'\0';
    std::vector<char> bytes(sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    DROPFILES head{};
    head.pFiles = sizeof(DROPFILES);
    head.fWide = TRUE;
    std::memcpy(bytes.data(), &head, sizeof(head));
    std::memcpy(bytes.data() + sizeof(head), list.data(), list.size() * sizeof(wchar_t));
    return new HGlobalData(CF_HDROP, std::move(bytes));
}

inline IDataObject* NewTextData(const std::wstring& text) {
    std::vector<char> bytes((text.size() + 1) * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.c_str(), bytes.size());
    return new HGlobalData(CF_UNICODETEXT, std::move(bytes));
}

}  // namespace mainwintest
