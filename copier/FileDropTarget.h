// The main window's OLE drop target: hands each drag over the window and each drop to the
// window's handlers, and reads the shell's dropped-file lists (CF_HDROP) out of a data object.
#pragma once
#include "services/Holders.h"
#include <ole2.h>
#include <functional>
#include <string>
#include <vector>

namespace salva {

class FileDropTarget final : public IDropTarget {
public:
    // `effect` comes in as what the source offers and goes out as what a drop here would do.
    using Handler = std::function<void(IDataObject* data, POINT screen, DWORD& effect)>;

    FileDropTarget(Handler over, Handler drop);
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

    static bool HasFileList(IDataObject* data);
    // The paths of a data object's file list, in its order; empty without one.
    static std::vector<std::wstring> DroppedPaths(IDataObject* data);

private:
    ~FileDropTarget() = default;
    void Over(IDataObject* data, POINTL pt, DWORD* effect) const;

    LONG refs_ = 1;
    Handler over_;
    Handler drop_;
    com_ptr<IDataObject> current_;  // the data of the drag in progress
    HWND registered_ = nullptr;
};

}  // namespace salva
