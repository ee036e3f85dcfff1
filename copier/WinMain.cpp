#include "FrmCopy.h"
#include "frmCopyAllFiles.h"
#include "frmDialog.h"
#include "inspect/DocketSummaryPage.h"
#include "inspect/ResourceSummaryPage.h"
#include "inspect/frmFileProperty.h"
#include "services/Holders.h"
#include "services/OpenDialogPane.h"
#include "services/mSubClassBrowserFolder.h"
#include "windows/frmPlaying.h"
#include "windows/frmPrevVideo.h"
#include "windows/frmSplash.h"
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
    // The Summary tab: the summary text or ZIP list, or for executables the resource browser.
    salva::RegisterSummaryPage(salva::MakeDocketSummaryPage);
    salva::RegisterSummaryPage(salva::MakeResourceSummaryPage);
    options.windows.fileProperty = salva::frmFileProperty::ShowFor;
    options.windows.about = salva::frmSplash::ShowAbout;
    namespace folders = salva::mSubClassBrowserFolder;
    options.windows.copyAllFiles = [] { salva::frmCopyAllFiles().CopyingFiles(); };
    options.windows.chooseFolderToAdd = [] {
        salva::FrmCopy::FolderSearch search;
        salva::MainWindow* main = salva::TheMainWindow();
        search.folder = folders::BrowseForFolderWithSearchOptions(main ? main->Handle() : nullptr,
                                                                   L"选择待添加的文件目录");
        search.pattern = folders::GetSearchPattern();
        search.subFolders = folders::GetSearchSubFolders();
        return search;
    };
    options.windows.rename = [] { salva::ShowRenamePopup(); };
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
