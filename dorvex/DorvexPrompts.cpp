#include "DorvexPrompts.h"
#include "SwitchDialog.h"
#include "SwitchDialogA.h"
#include "SwitchDialogB.h"

namespace dorvex {
namespace {
std::wstring ToWide(BSTR s) { return s ? std::wstring(s, ::SysStringLen(s)) : std::wstring(); }
}  // namespace

STDMETHODIMP DorvexObject::SwitchDialogBox(BSTR sur, BSTR dec, long* choice) {
    if (!choice) return E_POINTER;
    *choice = SwitchDialog::Ask(ToWide(sur), ToWide(dec));
    return S_OK;
}

STDMETHODIMP DorvexAObject::SwitchDialogBoxA(BSTR sur, BSTR dec, long* choice) {
    if (!choice) return E_POINTER;
    *choice = SwitchDialogA::Ask(ToWide(sur), ToWide(dec));
    return S_OK;
}

STDMETHODIMP DorvexAObject::GetNewFileName(BSTR* name) {
    if (!name) return E_POINTER;
    const std::wstring& stored = ThreadState().newFileName;
    *name = ::SysAllocStringLen(stored.data(), static_cast<UINT>(stored.size()));
    return *name ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP DorvexBObject::SwitchDialogBoxB(BSTR sur, BSTR dec, long* choice) {
    if (!choice) return E_POINTER;
    *choice = SwitchDialogB::Ask(ToWide(sur), ToWide(dec));
    return S_OK;
}

}  // namespace dorvex
