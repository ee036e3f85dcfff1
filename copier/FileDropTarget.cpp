#include "copier/FileDropTarget.h"
#include <shellapi.h>

namespace salva {

namespace {
FORMATETC FileListFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
}  // namespace

FileDropTarget::FileDropTarget(Accepts accepts, DropHandler drop) : accepts_(std::move(accepts)), drop_(std::move(drop)) {}

bool FileDropTarget::Register(HWND window) {
    Revoke();
    if (FAILED(::RegisterDragDrop(window, this))) return false;
    registered_ = window;
    return true;
}

void FileDropTarget::Revoke() {
    if (!registered_) return;
    ::RevokeDragDrop(registered_);
    registered_ = nullptr;
}

STDMETHODIMP FileDropTarget::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) FileDropTarget::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) FileDropTarget::Release() {
    const LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

bool FileDropTarget::HasFileList(IDataObject* data) {
    if (!data) return false;
    FORMATETC f = FileListFormat();
    return data->QueryGetData(&f) == S_OK;
}

DWORD FileDropTarget::EffectFor(IDataObject* data, DWORD offered) {
    return HasFileList(data) ? (offered & DROPEFFECT_COPY) : DROPEFFECT_NONE;
}

std::vector<std::wstring> FileDropTarget::DroppedPaths(IDataObject* data) {
    std::vector<std::wstring> paths;
    if (!data) return paths;
    FORMATETC f = FileListFormat();
    unique_stgmedium medium;
    if (FAILED(data->GetData(&f, &medium)) || medium.tymed != TYMED_HGLOBAL || !medium.hGlobal) return paths;
    auto drop = static_cast<HDROP>(::GlobalLock(medium.hGlobal));
    if (!drop) return paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<size_t>(length) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, &path[0], length + 1));
        paths.push_back(path);
    }
    ::GlobalUnlock(medium.hGlobal);
    return paths;
}

DWORD FileDropTarget::Effect(POINTL pt, DWORD offered) const {
    if (accepts_ && !accepts_(POINT{pt.x, pt.y})) return DROPEFFECT_NONE;
    return EffectFor(current_.get(), offered);
}

STDMETHODIMP FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
    current_ = com_ptr<IDataObject>(data);
    if (effect) *effect = Effect(pt, *effect);
    return S_OK;
}

STDMETHODIMP FileDropTarget::DragOver(DWORD, POINTL pt, DWORD* effect) {
    if (effect) *effect = Effect(pt, *effect);
    return S_OK;
}

STDMETHODIMP FileDropTarget::DragLeave() {
    current_.reset();
    return S_OK;
}

STDMETHODIMP FileDropTarget::Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
    current_.reset();
    const bool accepted = (!accepts_ || accepts_(POINT{pt.x, pt.y})) && HasFileList(data);
    if (effect) *effect = accepted ? (*effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
    if (accepted && drop_) drop_(data);
    return S_OK;
}

}  // namespace salva
