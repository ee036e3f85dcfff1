// The shell's folder picker in two forms, each re-laid out when it opens and carrying a small
// option panel below its tree: the file pattern panel (adding a folder's files to the list)
// and the "same folder" panel (copying all listed files to a folder). The panel's values
// outlive the picker in this module and are read with the getters once it has closed.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

namespace salva {
class frmSearchDialog;
class frmChooseDialog;
}

namespace salva::mSubClassBrowserFolder {

// The chosen folder as the shell gives it (a drive root keeps its "\"), "" on cancel. Modal
// to `owner`.
std::wstring BrowseForFolderWithSearchOptions(HWND owner, const std::wstring& title);
std::wstring BrowseForFolderWithChooseOptions(HWND owner, const std::wstring& title);

// The values of the last panel shown; "" and False until a panel has been shown at all. A
// cancelled picker still leaves what was typed or ticked in it.
std::wstring GetSearchPattern();
bool GetSearchSubFolders();
bool GetCopyToSameDir();

// The pickers' callbacks: on BFFM_INITIALIZED each embeds its panel, centres and enlarges the
// picker and moves its title, tree and two buttons. Always 0.
int CALLBACK BrowseSearchCallback(HWND picker, UINT message, LPARAM value, LPARAM data);
int CALLBACK BrowseChooseCallback(HWND picker, UINT message, LPARAM value, LPARAM data);

// Loads the panel, takes its values, makes it a child of the picker and moves it to `left`
// twips from the picker's left edge and `margin` pixels above its bottom. Nothing happens when
// the picker's rectangle cannot be read.
void EmbedSearchDialog(frmSearchDialog& panel, HWND picker, int16_t left, int16_t margin);
void EmbedChooseDialog(frmChooseDialog& panel, HWND picker, int16_t left, int16_t margin);

// The panels report every change here.
void StoreSearchPattern(const std::wstring& pattern);
void StoreIncludeSubFolders(bool include);
void StoreCopyToSameDir(bool sameDir);

}  // namespace salva::mSubClassBrowserFolder
