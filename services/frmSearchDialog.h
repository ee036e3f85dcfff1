// The file pattern panel of the picker that adds a folder's files to the list: a pattern box
// and a box for including the subfolders. Each change goes straight into the picker module's
// values, since the panel is gone with the picker.
#pragma once
#include "services/OptionPanel.h"
#include <string>

namespace salva {

class frmSearchDialog : public OptionPanel<frmSearchDialog> {
public:
    enum ControlId : int { IDC_lblType = 101, IDC_txtText, IDC_chkSubFolder };
    static const wchar_t* ClassName() { return L"SalvadiskFrmSearchDialog"; }

    // Creates the hidden panel with its controls (the pattern box empty); true when loaded.
    bool Load();
    std::wstring PatternText() const;
    bool SubFoldersTicked() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace salva
