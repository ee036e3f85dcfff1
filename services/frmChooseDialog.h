// The panel of the picker that chooses the batch copy's folder: one box deciding whether all
// targets go straight into the chosen folder. A click goes straight into the picker module's
// value, since the panel is gone with the picker.
#pragma once
#include "services/OptionPanel.h"

namespace salva {

class frmChooseDialog : public OptionPanel<frmChooseDialog> {
public:
    enum ControlId : int { IDC_chkCopyToSameDir = 101 };
    static const wchar_t* ClassName() { return L"SalvadiskFrmChooseDialog"; }

    // Creates the hidden panel with its box (not ticked); true when loaded.
    bool Load();
    bool CopyToSameDirTicked() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace salva
