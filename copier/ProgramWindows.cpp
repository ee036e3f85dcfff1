#include "copier/ProgramWindows.h"
#include "copier/frmCopyAllFiles.h"
#include "copier/frmDialog.h"
#include "inspect/DocketSummaryPage.h"
#include "inspect/ResourceSummaryPage.h"
#include "inspect/frmFileProperty.h"
#include "services/mSubClassBrowserFolder.h"
#include "windows/frmSplash.h"

namespace salva {

void UseProgramWindows(FrmCopy::Options& options) {
    // The Summary tab: the summary text or ZIP list, or for executables the resource browser.
    RegisterSummaryPage(MakeDocketSummaryPage);
    RegisterSummaryPage(MakeResourceSummaryPage);
    options.windows.fileProperty = frmFileProperty::ShowFor;
    options.windows.about = frmSplash::ShowAbout;
    namespace folders = mSubClassBrowserFolder;
    options.windows.copyAllFiles = [] { frmCopyAllFiles().CopyingFiles(); };
    options.windows.chooseFolderToAdd = [] {
        FrmCopy::FolderSearch search;
        MainWindow* main = TheMainWindow();
        search.folder = folders::BrowseForFolderWithSearchOptions(main ? main->Handle() : nullptr,
                                                                   L"选择待添加的文件目录");
        search.pattern = folders::GetSearchPattern();
        search.subFolders = folders::GetSearchSubFolders();
        return search;
    };
    options.windows.rename = [] { ShowRenamePopup(); };
}

}  // namespace salva
