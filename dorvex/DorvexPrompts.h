// The three prompt classes. Each call shows its window modally and returns the choice.
#pragma once
#include "services/ComServer.h"
#include "Dorvex.h"

namespace dorvex {

class DorvexObject final : public salva::com::DispatchObject<_Dorvex> {
public:
    STDMETHODIMP SwitchDialogBox(BSTR surFileName, BSTR decFileName, long* choice) override;
};

class DorvexAObject final : public salva::com::DispatchObject<_DorvexA> {
public:
    STDMETHODIMP SwitchDialogBoxA(BSTR surFileName, BSTR decFileName, long* choice) override;
    STDMETHODIMP GetNewFileName(BSTR* name) override;
};

class DorvexBObject final : public salva::com::DispatchObject<_DorvexB> {
public:
    STDMETHODIMP SwitchDialogBoxB(BSTR surFileName, BSTR decFileName, long* choice) override;
};

}  // namespace dorvex
