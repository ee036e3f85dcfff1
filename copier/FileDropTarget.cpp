#include "copier/FileDropTarget.h"
#include <shellapi.h>

namespace salva {

namespace {
FORMATETC FileListFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
}  // namespace

FileDropTarget::FileDropTarget(Handler over, Handler drop) : over_(std::move(over)), drop_(std::move(drop)) {}

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

void FileDropTarget::Over(IDataObject* data, POINTL pt, DWORD* effect) const {
    if (!effect) return;
    if (over_)
        over_(data, POINT{pt.x, pt.y}, *effect);
    else
        *effect = DROPEFFECT_NONE;
}

STDMETHODIMP FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
    current_ = com_ptr<IDataObject>(data);
    Over(data, pt, effect);
    return S_OK;
}

STDMETHODIMP FileDropTarget::DragOver(DWORD, POINTL pt, DWORD* effect) {
    Over(current_.get(), pt, effect);
    return S_OK;
}

STDMETHODIMP FileDropTarget::DragLeave() {
    current_.reset();
    return S_OK;
}

STDMETHODIMP FileDropTarget::Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
    current_.reset();
    DWORD none = DROPEFFECT_NONE;
    if (drop_)
        drop_(data, POINT{pt.x, pt.y}, effect ? *effect : none);
    else if (effect)
        *effect = DROPEFFECT_NONE;
    return S_OK;
}

}  // namespace salva
