#include "inspect/ResourceSummaryPage.h"
#include "inspect/ResourceBrowserPage.h"
#include "inspect/mResMain.h"
#include "services/Text.h"

namespace salva {

bool ShowsResourceBrowser(const std::wstring& path) {
    const std::wstring tail = UpperTail(path, 3);
    return tail == L"EXE" || tail == L"DLL";
}

namespace {

class ResourceSummaryPage : public SummaryPage {
public:
    HWND Create(HWND parent, const RECT& r) override {
        if (!page_.Create(parent, r.left, r.top, r.right - r.left, r.bottom - r.top)) return nullptr;
        // Exit closes the properties window; posted, since the page goes with it.
        page_.SetExitHandler([parent] { ::PostMessageW(parent, WM_CLOSE, 0, 0); });
        return page_.Window();
    }
    void ShowSummaryInfo(const std::wstring& path) override {
        if (ShowsResourceBrowser(path)) page_.ShowFile(path);
    }
    bool ShowsFor(const std::wstring& path) const override { return ShowsResourceBrowser(path); }
    std::vector<HWND> TipBoxes() const override {
        return {::GetDlgItem(page_.Window(), ResourceBrowserPage::kTxtShortFileNameB)};
    }
    void Unload() override { CloseResourceModule(); }

private:
    ResourceBrowserPage page_;
};

}  // namespace

std::unique_ptr<SummaryPage> MakeResourceSummaryPage() { return std::make_unique<ResourceSummaryPage>(); }

}  // namespace salva
