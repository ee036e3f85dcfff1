#include "inspect/DocketSummaryPage.h"
#include "inspect/DocketPage.h"
#include "inspect/ResourceSummaryPage.h"
#include "services/PictureBox.h"

namespace salva {
namespace {

class DocketSummaryPage : public SummaryPage {
public:
    HWND Create(HWND parent, const RECT& r) override {
        if (!holder_.Create(parent, 0, r.left, r.top, r.right - r.left, r.bottom - r.top)) return nullptr;
        return holder_.Window();
    }
    // Every file gets its icon and name on the page; the text or list is the reader's.
    void ShowSummaryInfo(const std::wstring& path) override {
        page_ = DocketPage::ShowSummaryInfo(holder_.Window(), path);
    }
    bool ShowsFor(const std::wstring& path) const override { return !ShowsResourceBrowser(path); }
    void OnShow(const std::wstring& path) override {
        if (page_) DocketPage::ShowBoxFor(page_, path);
    }
    std::vector<HWND> TipBoxes() const override {
        if (!page_) return {};
        return {::GetDlgItem(page_, DocketPage::IDC_TXTSHORTFILENAMEA)};
    }

private:
    PictureBox holder_;
    HWND page_ = nullptr;
};

}  // namespace

std::unique_ptr<SummaryPage> MakeDocketSummaryPage() { return std::make_unique<DocketSummaryPage>(); }

}  // namespace salva
