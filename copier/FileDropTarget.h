// The main window's OLE drop target: accepts the shell's dropped-file lists (CF_HDROP) over
// the controls that take drops and hands them to the window's file list.
#pragma once
#include "services/Holders.h"
#include <ole2.h>
#include <functional>
#include <string>
#include <vector>

namespace salva {

class FileDropTarget final : public IDropTarget {
public:
    // `accepts`: whether the window at a screen point takes drops; `drop`: the dropped paths.
    using Accepts = std::function<bool(POINT screen)>;
    using DropHandler = std::function<void(IDataObject* data)>;

    FileDropTarget(Accepts accepts, DropHandler drop);
    FileDropTarget(const FileDropTarget&) = delete;
    FileDropTarget& operator=(const FileDropTarget&) = delete;

    // Registers the target for `window` (OLE initialised on this thread); Revoke undoes it.
    bool Register(HWND window);
    void Revoke();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDropTarget
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

    // The drag-over rule: a file list may be copied here; anything else cannot be dropped.
    static DWORD EffectFor(IDataObject* data, DWORD offered);
    static bool HasFileList(IDataObject* data);
    // The paths of a data object's file list, in its order; empty without one.
    static std::vector<std::wstring> DroppedPaths(IDataObject* data);

private:
    ~FileDropTarget() = default;
    DWORD Effect(POINTL pt, DWORD offered) const;

    LONG refs_ = 1;
    Accepts accepts_;
    DropHandler drop_;
    com_ptr<IDataObject> current_;
    HWND registered_ = nullptr;
};

}  // namespace salva
