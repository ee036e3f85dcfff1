#include "inspect/mResEnumResourse.h"

#include "inspect/ResourceFormats.h"
#include "inspect/mResMain.h"
#include <map>

namespace salva {

namespace {

// Node keys live beside the tree: the tree itself has one number per item.
std::map<HTREEITEM, std::wstring>& Keys() {
    static std::map<HTREEITEM, std::wstring> keys;
    return keys;
}

// Item data of the placeholder under a type node not yet expanded; a resource that happens to
// be called "Dummy" is never mistaken for it.
constexpr LPARAM kPlaceholder = 1;

HTREEITEM AddNode(HWND tree, HTREEITEM parent, const std::wstring& text, int image, LPARAM data = 0) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | (image >= 0 ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0);
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    ins.item.iImage = ins.item.iSelectedImage = image;
    ins.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

LPARAM NodeData(HWND tree, HTREEITEM node) {
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    return ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

struct Enumeration {
    HWND tree;
    HTREEITEM parent;
};

BOOL CALLBACK EnumResTypeProc(HMODULE, LPWSTR type, LONG_PTR param) {
    auto* e = reinterpret_cast<Enumeration*>(param);
    HTREEITEM node;
    if (IS_INTRESOURCE(type)) {
        const auto n = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(type));
        node = AddNode(e->tree, e->parent, GetResourceTypeDescription(n), kImageType);
        if (node) Keys()[node] = L"#" + std::to_wstring(n);
    } else {
        node = AddNode(e->tree, e->parent, type, kImageType);
    }
    if (node) AddNode(e->tree, node, L"Dummy", -1, kPlaceholder);
    return TRUE;
}

BOOL CALLBACK EnumResNameProc(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* e = reinterpret_cast<Enumeration*>(param);
    if (IS_INTRESOURCE(name))
        AddNode(e->tree, e->parent, std::to_wstring(reinterpret_cast<ULONG_PTR>(name)), kImageName);
    else
        AddNode(e->tree, e->parent, name, kImageName);
    return TRUE;
}

}  // namespace

std::wstring ResourceNodeKey(HWND, HTREEITEM node) {
    auto it = Keys().find(node);
    return it == Keys().end() ? L"" : it->second;
}

std::wstring ResourceNodeText(HWND tree, HTREEITEM node) {
    wchar_t text[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = 1024;
    if (!node || !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return L"";
    text[1023] = L'\0';
    return text;
}

void FillResourceTree(HWND tree, const std::wstring& file, const std::wstring& rootText) {
    ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    Keys().clear();
    HTREEITEM root = AddNode(tree, TVI_ROOT, rootText, kImageFile);
    if (root) Keys()[root] = file;
    OpenResourceModule(file);
    if (HMODULE module = ResourceBrowser().ResourceModuleHandle) {
        Enumeration e{tree, root};
        ::EnumResourceTypesW(module, EnumResTypeProc, reinterpret_cast<LONG_PTR>(&e));
    }
    ::InvalidateRect(tree, nullptr, TRUE);
    if (root) ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

void ExpandResourceTypeNode(HWND tree, HTREEITEM typeNode) {
    HMODULE module = ResourceBrowser().ResourceModuleHandle;
    if (!module || !typeNode) return;
    Enumeration e{tree, typeNode};
    const std::wstring key = ResourceNodeKey(tree, typeNode);
    if (!key.empty()) {
        const auto number = static_cast<ULONG_PTR>(std::wcstoul(key.c_str() + 1, nullptr, 10));
        ::EnumResourceNamesW(module, MAKEINTRESOURCEW(number), EnumResNameProc, reinterpret_cast<LONG_PTR>(&e));
    } else {
        const std::wstring type = ResourceNodeText(tree, typeNode);
        ::EnumResourceNamesW(module, type.c_str(), EnumResNameProc, reinterpret_cast<LONG_PTR>(&e));
    }
}

void ExpandResourceNodeOnce(HWND tree, HTREEITEM node) {
    auto first = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)));
    if (!first || NodeData(tree, first) != kPlaceholder) return;
    ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(first));
    ExpandResourceTypeNode(tree, node);
}

}  // namespace salva
