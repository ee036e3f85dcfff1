// The about box: the program's title, version and company, the computer and user name, the
// physical memory, the system and processor as the registry records them; a button that
// starts the system information tool, a mail link and an OK button. Dragged by a press
// anywhere on its surface.
#pragma once
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "windows/SplashText.h"
#include <string>

namespace salva {

class frmSplash : public BaseWindow<frmSplash> {
public:
    enum ControlId {
        IDC_IMAGE2 = 101,
        IDC_LBLPRODUCTNAME,
        IDC_LBLVERSION,
        IDC_LABEL3,
        IDC_LABEL4,
        IDC_LABEL5,
        IDC_LABEL6,
        IDC_LBLCOMPUTERINFO,
        IDC_LBLCPUINFORMATION,
        IDC_LABEL2,
        IDC_LBLMAILTO,
        IDC_CMDSYSINFO,
        IDC_CMDOK,
    };
    static const wchar_t* ClassName() { return L"SalvadiskFrmSplash"; }
    static const wchar_t kCaption[];
    static const wchar_t kMailAddress[];

    frmSplash() = default;
    ~frmSplash() override = default;

    // The about command: the one about box, made on first use, shown modally without owner.
    static void ShowAbout();
    static frmSplash& Default();

    // Creates the window hidden and fills every line.
    bool Load();
    void ShowModal();
    void Unload();
    bool IsLoaded() const { return hwnd_ != nullptr; }
    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }

    static std::wstring GetMyComputerName();
    static std::wstring GetMyUserName();
    // A value's text under hKey\subKey: strings up to their first NUL, a number in
    // hexadecimal; "" when it cannot be read or has another type.
    static std::wstring ReadRemoteReg(HKEY hKey, const std::wstring& subKey, const std::wstring& valueName);
    // The family code of the running system; also kept for GetComputerInfo.
    std::wstring GetWinVersion();
    void GetComputerInfo(splash_text::SystemRecord& system, splash_text::ProcessorRecord& processor) const;
    const std::wstring& FamilyCode() const { return family_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Form_Load();
    void Paint(HDC dc);
    std::wstring GetMemoryInfo(int kind) const;

    std::wstring family_;
};

}  // namespace salva
