#include "FrmCopy.h"
#include "frmCopyAllFiles.h"
#include "inspect/DocketSummaryPage.h"
#include "inspect/ResourceSummaryPage.h"
#include "inspect/frmFileProperty.h"
#include "services/Holders.h"
#include "services/mSubClassBrowserFolder.h"
#include "windows/frmSplash.h"
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    salva::co_init_scope com;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    salva::FrmCopy::Options options;
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
    salva::FrmCopy main(std::move(options));
    if (!main.Create(showCommand)) return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
