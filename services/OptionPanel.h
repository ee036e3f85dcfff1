// The small option windows the folder pickers carry below their tree: each is created hidden
// as a window of its own with its controls in the window font, and made a child of the picker
// when it is embedded. The picker destroys it with itself; Unload covers the other ways out.
#pragma once
#include "services/BaseWindow.h"
#include "services/mT3D.h"

namespace salva {

template <typename Derived>
class OptionPanel : public BaseWindow<Derived> {
public:
    bool IsLoaded() const { return this->hwnd_ != nullptr; }
    void Unload() {
        if (this->hwnd_) ::DestroyWindow(this->hwnd_);
    }
    HWND Control(int id) const { return this->hwnd_ ? ::GetDlgItem(this->hwnd_, id) : nullptr; }

protected:
    bool CreatePanel(int width, int height) {
        // Tab and mnemonics reach the panel's controls from the picker's dialog manager.
        return this->CreateWindowOf(WS_EX_CONTROLPARENT, L"", WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                    width, height);
    }
    HWND AddControl(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id) {
        return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, this->hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                 nullptr);
    }
    static bool Ticked(HWND checkBox) { return ::SendMessageW(checkBox, BM_GETCHECK, 0, 0) != BST_UNCHECKED; }
};

}  // namespace salva
