#include "inspect/DocketPage.h"
#include "inspect/FlashInformation.h"
#include "inspect/MP3Information.h"
#include "inspect/Mp3ID3v1TAG.h"
#include "inspect/ZipInformation.h"
#include "services/BaseWindow.h"
#include "services/FileSystem.h"
#include "services/Holders.h"
#include <olectl.h>  // IPicture, which the picture box holds
#include "services/PictureBox.h"
#include "services/Text.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <algorithm>

namespace salva::DocketPage {
namespace {

const COLORREF kBoxBack = RGB(255, 255, 245);
const COLORREF kBoxFore = RGB(0, 92, 128);
// Layout in pixels: icon and name in a row along the top, the box below them.
const int kMargin = 6;
const int kIcon = 16;
const int kNameHeight = 20;
const int kColumnWidths[6] = {180, 90, 120, 70, 90, 70};

void AddLine(std::wstring& text, const std::wstring& line) { text += L"\r\n" + line; }

std::wstring Id3Block(const Mp3ID3v1TAG& tag) {
    std::wstring t;
    AddLine(t, L"[ID3v1信息]" + std::wstring(32, L'-'));
    AddLine(t, L"曲名：" + tag.Title());
    AddLine(t, L"艺人：" + tag.Artist());
    AddLine(t, L"专集：" + tag.Album());
    AddLine(t, L"年份：" + tag.Year());
    AddLine(t, L"流派：" + tag.Genre());
    AddLine(t, L"音轨序号：" + tag.Track());
    AddLine(t, L"备注：" + tag.Comments());
    return t;
}

std::wstring MpegBlock(const MP3Information& info) {
    std::wstring t;
    AddLine(t, L"");
    AddLine(t, L"[MPEG信息]" + std::wstring(33, L'-'));
    // Without a frame header only its offset is shown; the zeros of the other fields are no
    // facts of the file.
    if (!info.HasHeader()) {
        AddLine(t, L"标头创建于：" + info.Header() + L"字节");
        AddLine(t, std::wstring(43, L'-'));
        return t;
    }
    // A playing time too long for the property is left out.
    if (auto seconds = info.Seconds()) AddLine(t, L"长度：" + std::to_wstring(*seconds) + L"秒");
    AddLine(t, L"标头创建于：" + info.Header() + L"字节");
    AddLine(t, std::to_wstring(info.BitRate()) + L"kbit/s  " + std::to_wstring(info.Frames()) + L"帧");
    AddLine(t, std::to_wstring(info.Frequency()) + L"Hz  " + info.Mode());
    AddLine(t, info.VersionLayer());
    AddLine(t, L"CRCs：" + info.CRCs());
    AddLine(t, L"版权作品：" + info.Copyrighted());
    AddLine(t, L"正本原件：" + info.Original());
    AddLine(t, L"信号加重：" + info.Emphasis());
    AddLine(t, std::wstring(43, L'-'));
    return t;
}

std::wstring FlashBlock(const FlashInformation& flash) {
    std::wstring t;
    AddLine(t, L"帧    数：" + std::to_wstring(flash.Frames()) + L"帧");
    AddLine(t, L"速    度：" + std::to_wstring(flash.Speed()) + L"帧/秒");
    AddLine(t, L"版    本：Flash " + flash.Version());
    AddLine(t, L"长    度：" + ShortestFloatText(flash.Seconds()) + L"秒");
    AddLine(t, L"宽 × 高：" + std::to_wstring(flash.Width()) + L"×" + std::to_wstring(flash.Height()) + L"像素");
    return t;
}

class Page : public BaseWindow<Page> {
public:
    static const wchar_t* ClassName() { return L"SalvadiskDocketPage"; }

    bool Create(HWND parent, const std::wstring& path) {
        path_ = path;
        RECT rc{};
        ::GetClientRect(parent, &rc);
        if (!CreateWindowOf(WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                            rc.right, rc.bottom, parent, nullptr))
            return false;
        ownedByWindow_ = true;
        const HINSTANCE inst = ::GetModuleHandleW(nullptr);
        auto child = [&](DWORD ex, const wchar_t* cls, DWORD style, int id) {
            return ::CreateWindowExW(ex, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        };
        icon_.Create(hwnd_, IDC_PICICON_16A, kMargin, kMargin + (kNameHeight - kIcon) / 2, kIcon, kIcon);
        child(0, L"EDIT", ES_AUTOHSCROLL | ES_READONLY, IDC_TXTSHORTFILENAMEA);
        child(WS_EX_CLIENTEDGE, L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
              IDC_TXTDOCKET);
        HWND list = child(WS_EX_CLIENTEDGE, WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP, IDC_LVZIPVIEW);
        ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP,
                       LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
        ::SendMessageW(list, LVM_SETBKCOLOR, 0, kBoxBack);
        ::SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, kBoxBack);
        ::SendMessageW(list, LVM_SETTEXTCOLOR, 0, kBoxFore);
        for (int i = 0; i < 6; ++i) {
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            col.cx = kColumnWidths[i];
            col.iSubItem = i;
            col.pszText = const_cast<wchar_t*>(ZipInformation::kColumns[i]);
            ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
        }
        mT3D::ApplyWindowFontRule(hwnd_);
        SizeColumns(list);
        Layout();
        ShowBoxFor(hwnd_, path);
        // The ZIP walk lets messages run: the page may be destroyed before the fill returns,
        // and is then deleted by its maker, not under the fill.
        filling_ = true;
        Fill();
        filling_ = false;
        return true;
    }

private:
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }

    // Each column at least as wide as its title and as its widest usual cell in the list's font.
    static void SizeColumns(HWND list) {
        auto textWidth = [list](const wchar_t* text) {
            return static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
        };
        static const wchar_t* const kWidestCells[6] = {L"", L"4,294,967,295", L"2000-00-00 00:00:00",
                                                       L"100.00%", L"4,294,967,295", L"DDDDDDDD"};
        const int padding = 2 * ::GetSystemMetrics(SM_CXEDGE) + 14;
        for (int i = 0; i < 6; ++i) {
            const int width = std::max({kColumnWidths[i], textWidth(ZipInformation::kColumns[i]) + padding,
                                        textWidth(kWidestCells[i]) + padding});
            ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(width, 0));
        }
    }

    void Fill() {
        icon_.Clear();
        mT3D::DrawShellIconOn(icon_.dc(), path_, 16);
        icon_.Refresh();
        ::SetWindowTextW(Item(IDC_TXTSHORTFILENAMEA), FileSystem().GetFileName(path_).c_str());
        const std::wstring text = DocketText(path_);
        if (!text.empty()) ::SetWindowTextW(Item(IDC_TXTDOCKET), text.c_str());
        if (UpperTail(path_, 3) == L"ZIP") {
            ZipInformation zip;
            zip.ReadZip(path_, Item(IDC_LVZIPVIEW));
            zip.GetFileQuantity_Size(Item(IDC_LVZIPVIEW));
        }
    }

    void Layout() {
        RECT rc{};
        ::GetClientRect(hwnd_, &rc);
        const int top = kMargin + kNameHeight + kMargin;
        const int nameLeft = kMargin + kIcon + kMargin;
        ::MoveWindow(Item(IDC_TXTSHORTFILENAMEA), nameLeft, kMargin, std::max(0, int(rc.right) - nameLeft - kMargin),
                     kNameHeight, TRUE);
        const int w = std::max(0, int(rc.right) - 2 * kMargin), h = std::max(0, int(rc.bottom) - top - kMargin);
        ::MoveWindow(Item(IDC_TXTDOCKET), kMargin, top, w, h, TRUE);
        ::MoveWindow(Item(IDC_LVZIPVIEW), kMargin, top, w, h, TRUE);
    }

    LRESULT OnNotify(NMHDR* hdr) {
        if (hdr->idFrom != IDC_LVZIPVIEW) return 0;
        if (hdr->code == NM_CUSTOMDRAW) {
            auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
            if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
            if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && cd->nmcd.lItemlParam == ZipInformation::FolderRow)
                cd->clrText = ZipInformation::kFolderColour;
            return CDRF_DODEFAULT;
        }
        if (hdr->code == LVN_GETINFOTIPW) {
            // An entry's tip is its own row text.
            auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(hdr);
            LVITEMW item{};
            item.mask = LVIF_PARAM;
            item.iItem = tip->iItem;
            if (tip->cchTextMax > 0 && ::SendMessageW(hdr->hwndFrom, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) &&
                item.lParam != ZipInformation::SummaryRow) {
                LVITEMW text{};
                text.pszText = tip->pszText;
                text.cchTextMax = tip->cchTextMax;
                ::SendMessageW(hdr->hwndFrom, LVM_GETITEMTEXTW, static_cast<WPARAM>(tip->iItem),
                               reinterpret_cast<LPARAM>(&text));
            }
        }
        return 0;
    }

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_SIZE:
            Layout();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            if (reinterpret_cast<HWND>(lp) == Item(IDC_TXTDOCKET)) {
                const HDC dc = reinterpret_cast<HDC>(wp);
                ::SetTextColor(dc, kBoxFore);
                ::SetBkColor(dc, kBoxBack);
                if (!boxBrush_) boxBrush_.reset(::CreateSolidBrush(kBoxBack));
                return reinterpret_cast<LRESULT>(boxBrush_.get());
            }
            break;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lp));
        }
        return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }

    void OnFinalDestroy() override {
        if (ownedByWindow_ && !filling_) delete this;
    }

    std::wstring path_;
    PictureBox icon_;
    unique_hbrush boxBrush_;
    bool ownedByWindow_ = false;  // made: the window's end deletes the object
    bool filling_ = false;
};

}  // namespace

std::wstring DocketText(const std::wstring& path) {
    const std::wstring kind = UpperTail(path, 3);
    std::wstring text;
    if (kind == L"MP3") {
        {
            Mp3ID3v1TAG tag;
            if (tag.GetId3(path)) text += Id3Block(tag);
        }
        // Setting the name parses the file: a file searched from end to end once, not twice.
        MP3Information info;
        info.FileName(path);
        text += MpegBlock(info);
    }
    if (kind == L"SWF") {
        FlashInformation flash;
        if (flash.GetFlashInformation(path)) text += FlashBlock(flash);
    }
    return text;
}

void ShowBoxFor(HWND page, const std::wstring& path) {
    const bool zip = UpperTail(path, 3) == L"ZIP";
    ::ShowWindow(::GetDlgItem(page, IDC_LVZIPVIEW), zip ? SW_SHOW : SW_HIDE);
    ::ShowWindow(::GetDlgItem(page, IDC_TXTDOCKET), zip ? SW_HIDE : SW_SHOW);
}

HWND ShowSummaryInfo(HWND parent, const std::wstring& path) {
    auto* page = new Page;
    // Not made, or destroyed while it was filled (its window's end left it to us).
    if (!page->Create(parent, path) || !page->Window()) {
        delete page;
        return nullptr;
    }
    return page->Window();
}

}  // namespace salva::DocketPage
