#include "inspect/ResourceBrowserPage.h"

#include "inspect/mResEnumResourse.h"
#include "inspect/mResGetResource.h"
#include "inspect/mResMain.h"
#include "inspect/PictureFile.h"
#include "inspect/mResShowResource.h"
#include <olectl.h>
#include "services/FileSystem.h"
#include "services/Text.h"
#include "services/WaitCursor.h"
#include "services/WindowText.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include "services/mT3D.h"
#include <windowsx.h>
#include <algorithm>

namespace salva {

namespace {

constexpr int kMargin = 8;

bool IsNumeric(const std::wstring& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool OneOf(const std::wstring& value, std::initializer_list<const wchar_t*> set) {
    return std::any_of(set.begin(), set.end(), [&](const wchar_t* s) { return value == s; });
}

HTREEITEM Relative(HWND tree, HTREEITEM node, UINT which) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(node)));
}

std::wstring Filter(std::initializer_list<std::wstring> parts) {
    std::wstring f;
    for (const auto& p : parts) f += p + L'\0';
    return f;
}

HICON StockIcon(LPCWSTR id) { return ::LoadIconW(nullptr, id); }

bool WriteAll(const std::wstring& path, const void* data, size_t size) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
    if (!file) return false;
    DWORD written = 0;
    return size == 0 || (::WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size);
}

}  // namespace

bool SaveBytesToFile(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    return WriteAll(path, bytes.data(), bytes.size());
}

bool SaveTextToFile(const std::wstring& path, const std::wstring& text) {
    const std::string bytes = ToCodePage(CP_ACP, text);
    return WriteAll(path, bytes.data(), bytes.size());
}

ResourceBrowserPage::ResourceBrowserPage()
    : askOpen_(mSubClassOpen_SaveFileBox::AskOpenFileName), askSave_(mSubClassOpen_SaveFileBox::AskSaveFileNamePlain) {}

ResourceBrowserPage::~ResourceBrowserPage() = default;

void ResourceBrowserPage::SetFileAskers(AskFile open, AskFile save) {
    askOpen_ = open ? std::move(open) : AskFile(mSubClassOpen_SaveFileBox::AskOpenFileName);
    askSave_ = save ? std::move(save) : AskFile(mSubClassOpen_SaveFileBox::AskSaveFileNamePlain);
}

bool ResourceBrowserPage::Create(HWND parent, int x, int y, int width, int height) {
    return CreateWindowOf(WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height,
                          parent);
}

void ResourceBrowserPage::OnCreate() {
    RECT rc{};
    ::GetClientRect(hwnd_, &rc);
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    const int treeW = std::max<int>(60, (rc.right - 3 * kMargin) * 2 / 5);
    const int top = 32, buttonH = 24;
    const int bodyH = std::max<int>(20, rc.bottom - top - buttonH - 2 * kMargin);
    const int viewX = 2 * kMargin + treeW, viewW = std::max<int>(20, rc.right - viewX - kMargin);

    icon16_.Create(hwnd_, kPicIcon_16B, kMargin, 8, 16, 16);
    nameBox_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL,
                                 kMargin + 22, 6, rc.right - 2 * kMargin - 22, 20, hwnd_,
                                 reinterpret_cast<HMENU>(kTxtShortFileNameB), inst, nullptr);
    tree_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                  TVS_SHOWSELALWAYS,
                              kMargin, top, treeW, bodyH, hwnd_, reinterpret_cast<HMENU>(kTreeView1), inst, nullptr);
    container_.Create(hwnd_, kPicEXE_DLL, viewX, top, viewW, bodyH, WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER);
    RECT inner{};
    ::GetClientRect(container_.Window(), &inner);
    picInfor_.Create(container_.Window(), kPicInfor, 0, 0, inner.right, inner.bottom);
    picInfor_.SetBackColor(::GetSysColor(COLOR_WINDOW));
    picInfor_.SetFont(mT3D::WindowFont());
    picInfor_.Clear();
    panel_ = std::make_unique<ResourcePanel>(picInfor_);
    text1_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                                   WS_HSCROLL,
                               viewX, top, viewW, bodyH, hwnd_, reinterpret_cast<HMENU>(kText1), inst, nullptr);
    const int buttonY = top + bodyH + kMargin;
    const struct {
        int id;
        const wchar_t* caption;
    } buttons[] = {{kCmdOpen, L"打开[&O]"}, {kCmdSave, L"保存[&M]"}, {kCmdExit, L"退出[&E]"}};
    int bx = rc.right - kMargin - 3 * 72 + 8;
    for (const auto& b : buttons) {
        ::CreateWindowExW(0, L"BUTTON", b.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, bx, buttonY, 64,
                          buttonH, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), inst, nullptr);
        bx += 72;
    }
    images_.reset(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0));
    for (LPCWSTR id : {IDI_APPLICATION, IDI_INFORMATION, IDI_ASTERISK}) ::ImageList_AddIcon(images_.get(), StockIcon(id));
    ::SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    // The tree's click notice carries no place: the press tells whether it hit the selected node.
    treeSubclass_.Install(tree_, [this](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg != WM_LBUTTONDOWN) return treeSubclass_.CallPrevious(h, msg, wp, lp);
        TVHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const auto node = reinterpret_cast<HTREEITEM>(::SendMessageW(h, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (node && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) && node == Relative(h, nullptr, TVGN_CARET))
            pressedSelection_ = node;
        const LRESULT result = treeSubclass_.CallPrevious(h, msg, wp, lp);
        pressedSelection_ = nullptr;
        return result;
    });
    mT3D::ApplyWindowFontRule(hwnd_);
}

void ResourceBrowserPage::SetTextVisible(bool textShown) {
    ::ShowWindow(text1_, textShown ? SW_SHOW : SW_HIDE);
    ::ShowWindow(container_.Window(), textShown ? SW_HIDE : SW_SHOW);
}

void ResourceBrowserPage::ShowIcon(const std::wstring& path) {
    // Drawn into the box's own image, so it stays through repaints.
    icon16_.Clear();
    mT3D::DrawShellIconOn(icon16_.dc(), path, 16);
    icon16_.Refresh();
}

void ResourceBrowserPage::ShowFile(const std::wstring& path) {
    ShowIcon(path);
    const std::wstring name = FileSystem().GetFileName(path);
    ::SetWindowTextW(nameBox_, name.c_str());
    FillResourceTree(tree_, path, name);
}

void ResourceBrowserPage::cmdOpen_Click() {
    const std::wstring path =
        askOpen_(L"打开", Filter({L"exe files(*.exe)", L"*.exe", L"dll files(*.dll)", L"*.dll"}));
    if (path.empty()) return;
    panel_->Cls();
    ::SetWindowTextW(text1_, L"");
    ShowIcon(path);
    ::SetWindowTextW(nameBox_, FileSystem().GetFileName(path).c_str());
    FillResourceTree(tree_, path, path);
}

void ResourceBrowserPage::TreeView1_Expand(HTREEITEM node) { ExpandResourceNodeOnce(tree_, node); }

void ResourceBrowserPage::TreeView1_Collapse(HTREEITEM) { StopResourcePreview(); }

void ResourceBrowserPage::StopResourcePreviewKeep() {
    ResourceBrowserState& s = ResourceBrowser();
    CloseResourceVideo();
    if (s.PreviewDialogHandle) {
        ::DestroyWindow(s.PreviewDialogHandle);
        s.PreviewDialogHandle = nullptr;
    }
    // A dialog preview may have grown the panel; it fits its frame again.
    RECT inner{};
    ::GetClientRect(container_.Window(), &inner);
    ::MoveWindow(picInfor_.Window(), 0, 0, inner.right, inner.bottom, TRUE);
    picInfor_.Refresh();
}

void ResourceBrowserPage::StopResourcePreview() {
    StopResourcePreviewKeep();
    panel_->Cls();
}

void ResourceBrowserPage::TreeView1_NodeClick(HTREEITEM node) {
    SetTextVisible(false);
    StopResourcePreview();
    currentType_.clear();
    currentName_.clear();
    HTREEITEM root = Relative(tree_, nullptr, TVGN_ROOT);
    if (!node || node == root) return;
    const std::wstring key = ResourceNodeKey(tree_, node);
    currentType_ = key.empty() ? ResourceNodeText(tree_, node) : key.substr(1);
    HTREEITEM parent = Relative(tree_, node, TVGN_PARENT);
    if (!parent || parent == root) return;

    wait_cursor_scope hourglass;
    const std::wstring parentKey = ResourceNodeKey(tree_, parent);
    const std::wstring parentText = ResourceNodeText(tree_, parent);
    const std::wstring type = parentKey.empty() ? parentText : parentKey.substr(1);
    std::wstring name = ResourceNodeText(tree_, node);
    if (IsNumeric(name)) name = L"#" + name;
    currentType_ = type;
    currentName_ = name;
    const std::wstring size = std::to_wstring(GetResourceSize(type, name));
    ::SetWindowTextW(text1_, (L"ResourceType: " + parentText + L"\r\nResourseName: " + name +
                              L"\r\nResourceSize: " + size + L" bytes\r\n" + std::wstring(77, L'-') + L"\r\n")
                                 .c_str());
    panel_->Cls();
    const std::wstring caption =
        L"ResourceType: " + parentText + L"\r\nResourceName: " + name + L"\r\nResourceSize: " + size + L" bytes";

    const std::wstring upper = UpperCase(type);
    bool shown = false;
    bool asText = false;
    auto text = [&](const std::wstring& t) {
        asText = true;
        SetTextVisible(true);
        shown = ShowTextResource(t, text1_);
    };
    if (OneOf(upper, {L"1", L"2", L"3", L"12", L"14"})) {
        shown = ShowPictureResource(GetIconCursorPicture(type, name).get(), *panel_, caption);
    } else if (upper == L"4") {
        text(GetMenuText(name));
    } else if (upper == L"5") {
        shown = ShowDialogResource(name, *panel_);
    } else if (upper == L"6") {
        text(GetStringTableText(name));
    } else if (upper == L"9") {
        text(GetAcceleratorText(name));
    } else if (upper == L"11") {
        text(GetMessageTableText(name));
    } else if (upper == L"16") {
        text(GetVersionInfoText(name));
    } else if (OneOf(upper, {L"23", L"HTML"})) {
        text(GetHtmlResourceText(type, name));
    } else if (upper == L"AVI") {
        shown = ShowAviResource(name, *panel_);
    } else if (OneOf(upper, {L"JPG", L"JPEG", L"GIF", L"PNG", L"TIF", L"TIFF", L"WMF", L"EMF"})) {
        shown = ShowPictureResource(GetImageResourcePicture(type, name).get(), *panel_, caption);
    } else {
        // Everything else, the include-file names of type 17 among them, as bytes.
        text(GetHexDumpText(type, name));
    }
    panel_->Print(caption);
    if (!shown) {
        if (asText)
            ::SetWindowTextW(text1_, (WindowTextOf(text1_) + L"\r\nError: Can not load resourse.").c_str());
        else
            panel_->Print(L"Error: Can not load resourse.\r\n");
    }
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool ResourceBrowserPage::SavePicture(IPicture* picture, const std::wstring& path) {
    const std::wstring tail = UpperTail(path, 3);
    if (tail == L"CUR" || tail == L"ICO") {
        // The picture in its own format: icon data for icons and cursors, bitmap data for a
        // bitmap.
        short type = PICTYPE_NONE;
        OLE_HANDLE handle = 0;
        picture->get_Type(&type);
        picture->get_Handle(&handle);
        const auto h = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle));
        std::vector<unsigned char> bytes;
        if (type == PICTYPE_ICON) bytes = IconFileBytes(static_cast<HICON>(h), currentType_ == L"1" || currentType_ == L"12");
        else if (type == PICTYPE_BITMAP) bytes = BitmapFileBytes(static_cast<HBITMAP>(h));
        return !bytes.empty() && SaveBytesToFile(path, bytes);
    }
    if (tail == L"BMP") {
        // The panel's picture as a bitmap of the panel's size: the picture at the top-left on
        // the panel's background.
        const int w = panel_->InnerWidth(), h = panel_->InnerHeight();
        if (w <= 0 || h <= 0) return false;
        HDC screen = ::GetDC(nullptr);
        unique_hdc memory(::CreateCompatibleDC(screen));
        unique_hbitmap canvas(::CreateCompatibleBitmap(screen, w, h));
        ::ReleaseDC(nullptr, screen);
        if (!memory || !canvas) return false;
        {
            select_scope keep(memory.get(), canvas.get());
            RECT all{0, 0, w, h};
            unique_hbrush back(::CreateSolidBrush(picInfor_.BackColor()));
            ::FillRect(memory.get(), &all, back.get());
            RenderPictureAt(picture, memory.get(), 0, 0);
        }
        const std::vector<unsigned char> bytes = BitmapFileBytes(canvas.get());
        return !bytes.empty() && SaveBytesToFile(path, bytes);
    }
    return false;  // a picture is written only as a cursor, an icon or a bitmap
}

void ResourceBrowserPage::cmdSave_Click() {
    if (currentName_.empty() && currentType_ != L"6") {
        ::MessageBoxW(hwnd_, L"No resource selected!", L"Error!", MB_ICONERROR);
        return;
    }
    StopResourcePreviewKeep();
    const std::wstring upper = UpperCase(currentType_);
    std::wstring filter, text;
    ResourceBytes bytes;
    com_ptr<IPicture> picture;
    bool pictureType = false;
    if (OneOf(upper, {L"1", L"12"})) {
        filter = Filter({L"Cursor files (*.cur)", L"*.cur", L"Bitmap files (*.bmp)", L"*.bmp"});
        pictureType = true;
    } else if (upper == L"2") {
        filter = Filter({L"Bitmap files (*.bmp)", L"*.bmp"});
        pictureType = true;
    } else if (OneOf(upper, {L"3", L"14"})) {
        filter = Filter({L"Icon files(*.ico)", L"*.ico", L"Bitmap files (*.bmp)", L"*.bmp"});
        pictureType = true;
    } else if (OneOf(upper, {L"4", L"9", L"11", L"16"})) {
        filter = Filter({L"Save as text (*.txt)", L"*.txt"});
        text = WindowTextOf(text1_);
    } else if (upper == L"6") {
        filter = Filter({L"Save as text (*.txt)", L"*.txt"});
        if (!currentName_.empty()) {
            text = WindowTextOf(text1_);
        } else if (HTREEITEM typeNode = Relative(tree_, nullptr, TVGN_CARET)) {
            TreeView1_Expand(typeNode);
            for (HTREEITEM c = Relative(tree_, typeNode, TVGN_CHILD); c; c = Relative(tree_, c, TVGN_NEXT)) {
                std::wstring n = ResourceNodeText(tree_, c);
                if (IsNumeric(n)) n = L"#" + n;
                text += GetStringTableText(n) + L"\r\n";
            }
        }
    } else if (OneOf(upper, {L"23", L"HTML"})) {
        filter = Filter({L"HTML files (*.html)", L"*.html"});
        bytes = GetResourceBytes(currentType_, currentName_);
    } else if (OneOf(upper, {L"AVI", L"JPG", L"JPEG", L"GIF", L"PNG", L"TIF", L"TIFF", L"WMF", L"EMF"})) {
        std::wstring lower = currentType_;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::towlower);
        filter = Filter({upper + L" files (*." + lower + L")", L"*." + lower});
        bytes = GetResourceBytes(currentType_, currentName_);
    } else {
        filter = Filter({L"Save as data (*.*)", L"*.*"});
        bytes = GetResourceBytes(currentType_, currentName_);
    }
    if (pictureType) {
        picture = GetIconCursorPicture(currentType_, currentName_);
        if (!picture) {
            // Nothing was made to save: the user is told before any file is named.
            ::MessageBoxW(hwnd_, L"Error: Can not load resourse.", L"Error!", MB_ICONERROR);
            return;
        }
    }
    const std::wstring path = askSave_(L"保存", filter);
    if (path.empty()) return;
    if (picture) {
        SavePicture(picture.get(), path);
    } else if (!text.empty()) {
        SaveTextToFile(path, text);
    } else {
        SaveBytesToFile(path, bytes);
    }
}

LRESULT ResourceBrowserPage::OnNotify(NMHDR* hdr) {
    if (hdr->hwndFrom != tree_) return 0;
    auto* tv = reinterpret_cast<NMTREEVIEWW*>(hdr);
    switch (hdr->code) {
    case TVN_ITEMEXPANDINGW:
        if (tv->action & TVE_EXPAND) TreeView1_Expand(tv->itemNew.hItem);
        return FALSE;
    case TVN_ITEMEXPANDEDW:
        if (tv->action & TVE_COLLAPSE) TreeView1_Collapse(tv->itemNew.hItem);
        return 0;
    case TVN_SELCHANGEDW:
        TreeView1_NodeClick(tv->itemNew.hItem);
        return 0;
    case NM_CLICK:
        // A click on the node that is selected already moves no selection: it is shown again.
        if (pressedSelection_ && pressedSelection_ == Relative(tree_, nullptr, TVGN_CARET))
            TreeView1_NodeClick(pressedSelection_);
        return 0;
    default:
        return 0;
    }
}

LRESULT ResourceBrowserPage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            switch (LOWORD(wp)) {
            case kCmdOpen: cmdOpen_Click(); return 0;
            case kCmdSave: cmdSave_Click(); return 0;
            case kCmdExit:
                if (onExit_) onExit_();
                return 0;
            }
        }
        break;
    case WM_DESTROY:
        // The page goes with its window: the preview ends and the module is released.
        CloseResourceModule();
        break;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
