#include "FrmCopy.h"
#include "copier/frmDialog.h"
#include "services/Holders.h"
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    salva::co_init_scope com;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    salva::FrmCopy::Options options;
    options.quitOnDestroy = true;
    options.windows.rename = [] { salva::ShowRenamePopup(); };
    salva::FrmCopy main(std::move(options));
    if (!main.Create(showCommand)) return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
