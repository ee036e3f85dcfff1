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
// be called "Dummy" is never mistaken for it. Type nodes hold their index in the directory.
constexpr LPARAM kPlaceholder = -1;
// Item data of the line under the root that says why a file shows no resources.
constexpr LPARAM kNote = -2;

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

std::wstring KeyText(const readers::ResourceKey& key) {
    return key.named ? std::wstring(key.name.begin(), key.name.end()) : std::to_wstring(key.id);
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
    const bool opened = OpenResourceModule(file);
    if (opened && root) {
        const auto& types = ResourceBrowser().Resources.types;
        for (size_t i = 0; i < types.size(); ++i) {
            const readers::ResourceKey& type = types[i].key;
            const auto index = static_cast<LPARAM>(i);
            HTREEITEM node = type.named ? AddNode(tree, root, KeyText(type), kImageType, index)
                                        : AddNode(tree, root, GetResourceTypeDescription(type.id), kImageType, index);
            if (!node) continue;
            if (!type.named) Keys()[node] = L"#" + std::to_wstring(type.id);
            AddNode(tree, node, L"Dummy", -1, kPlaceholder);
        }
    } else if (root && !ResourceBrowser().ResourceModuleNote.empty()) {
        AddNode(tree, root, ResourceBrowser().ResourceModuleNote, -1, kNote);
    }
    ::InvalidateRect(tree, nullptr, TRUE);
    if (root) ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

void ExpandResourceTypeNode(HWND tree, HTREEITEM typeNode) {
    const auto& types = ResourceBrowser().Resources.types;
    const LPARAM index = typeNode ? NodeData(tree, typeNode) : -1;
    if (!ResourceBrowser().ResourceModuleHandle || index < 0 || static_cast<size_t>(index) >= types.size()) return;
    for (const readers::ResourceName& name : types[static_cast<size_t>(index)].names)
        AddNode(tree, typeNode, KeyText(name.key), kImageName);
}

void ExpandResourceNodeOnce(HWND tree, HTREEITEM node) {
    auto first = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)));
    if (!first || NodeData(tree, first) != kPlaceholder) return;
    ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(first));
    ExpandResourceTypeNode(tree, node);
}

}  // namespace salva
