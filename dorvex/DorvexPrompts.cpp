#include "DorvexPrompts.h"
#include "SwitchDialog.h"
#include "SwitchDialogA.h"
#include "SwitchDialogB.h"

namespace dorvex {
namespace {
std::wstring ToWide(BSTR s) { return s ? std::wstring(s, ::SysStringLen(s)) : std::wstring(); }

// A prompt that could not be shown is a failure of the call, never a choice: the answer stays 0
// for callers that look only at it, and the result tells the others.
HRESULT Answer(long result, long* choice) {
    if (result == kPromptNotShown) {
        *choice = 0;
        return E_FAIL;
    }
    *choice = result;
    return S_OK;
}
}  // namespace

STDMETHODIMP DorvexObject::SwitchDialogBox(BSTR sur, BSTR dec, long* choice) {
    if (!choice) return E_POINTER;
    return Answer(SwitchDialog::Ask(ToWide(sur), ToWide(dec)), choice);
}

STDMETHODIMP DorvexAObject::SwitchDialogBoxA(BSTR sur, BSTR dec, long* choice) {
    if (!choice) return E_POINTER;
    return Answer(SwitchDialogA::Ask(ToWide(sur), ToWide(dec)), choice);
}

STDMETHODIMP DorvexAObject::GetNewFileName(BSTR* name) {
    if (!name) return E_POINTER;
    const std::wstring& stored = ThreadState().newFileName;
    *name = ::SysAllocStringLen(stored.data(), static_cast<UINT>(stored.size()));
    return *name ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP DorvexBObject::SwitchDialogBoxB(BSTR sur, BSTR dec, long* choice) {
    if (!choice) return E_POINTER;
    return Answer(SwitchDialogB::Ask(ToWide(sur), ToWide(dec)), choice);
}

}  // namespace dorvex
