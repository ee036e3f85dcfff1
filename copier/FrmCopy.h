// The program's main window.
#pragma once
#include "services/BaseWindow.h"

namespace salva {

class FrmCopy : public BaseWindow<FrmCopy> {
public:
    static const wchar_t* ClassName() { return L"SalvadiskFrmCopy"; }
    bool Create(int showCommand);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace salva
