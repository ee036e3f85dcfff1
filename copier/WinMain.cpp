#include "FrmCopy.h"
#include "ProgramWindows.h"
#include "services/Holders.h"
#include "services/OpenDialogPane.h"
#include "windows/frmPlaying.h"
#include "windows/frmPrevVideo.h"
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    salva::co_init_scope com;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    // The open dialog's preview pane, loaded when a dialog first shows it.
    salva::frmPlaying previewPane;
    salva::SetOpenDialogPane(&previewPane);

    // The file list's preview window: its window comes and goes, the object stays.
    salva::frmPrevVideo preview;

    salva::FrmCopy::Options options;
    options.startPreview = [&preview] { preview.StartPlay(); };
    options.stopPreview = [&preview] { preview.StopPlay(); };
    options.unloadPreview = [&preview] { preview.Unload(); };
    options.windows.openPreview = [&preview](const std::wstring& path) { return preview.OpenMediaFile(path); };
    options.quitOnDestroy = true;
    salva::UseProgramWindows(options);
    salva::FrmCopy main(std::move(options));
    if (!main.Create(showCommand)) return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    salva::SetOpenDialogPane(nullptr);
    return static_cast<int>(msg.wParam);
}
