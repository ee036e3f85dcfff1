// The resource tree: the file at the root, its resource types below it, and the names of a type
// enumerated when that type is first expanded.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

namespace salva {

// Images of the tree's image list.
enum ResourceTreeImage { kImageFile = 0, kImageType = 1, kImageName = 2 };

// The key of a node: "#6" for numbered type 6, empty for a named type or a name node, the
// file's path for the root.
std::wstring ResourceNodeKey(HWND tree, HTREEITEM node);
std::wstring ResourceNodeText(HWND tree, HTREEITEM node);

// Clears the tree and fills it for `file`: root text `rootText`, one node per resource type,
// each with a placeholder until expanded.
void FillResourceTree(HWND tree, const std::wstring& file, const std::wstring& rootText);
// Adds the name nodes of one type node.
void ExpandResourceTypeNode(HWND tree, HTREEITEM typeNode);
// Expand handler: replaces a type node's placeholder by its names, once.
void ExpandResourceNodeOnce(HWND tree, HTREEITEM node);

}  // namespace salva
