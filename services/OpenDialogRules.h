// The arithmetic and text rules of the open and save dialogs, apart from the dialogs: how a
// multiple-selection answer splits into paths, where the hook puts the dialog, its children
// and the preview pane, and how much of a path answer may be trusted.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace salva::open_dialog_rules {

// Size the hook gives the open dialog.
constexpr int kDialogWidth = 518;
constexpr int kDialogHeight = 296;
// The preview pane's bottom edge stands this far above the client area's bottom edge.
constexpr int kPaneBottomGap = 64;
// How long a selection rests before the pane shows its facts, and before it opens it as
// media: a key held down moves the selection every 30 ms or so, the facts take the shell some
// tens of milliseconds and a media open builds a filter graph (seconds, for some files), so
// a held key's steps show nothing and only the file the selection stops on is opened.
constexpr UINT kFactsRestMs = 60;
constexpr UINT kPreviewRestMs = 300;

// What the open dialog's file buffer gives the file list.
struct OpenDialogResult {
    // Items to append, each a full path, in the order the dialog returned them.
    std::vector<std::wstring> items;
    // A buffer without any NUL: the text for the list's edit field instead of items.
    std::wstring editText;
    bool hasEditText = false;
};

// Splits the buffer (trimmed of blanks at both ends) at its NULs. One piece is one path;
// several are the folder and then each name, the folder getting a "\" unless it ends in one.
// An empty piece ends the list.
OpenDialogResult SplitOpenDialogResult(const std::wstring& buffer);

// Top-left corner that keeps a window of the given screen rectangle centred on the screen.
POINT CentredCorner(const RECT& window, int screenWidth, int screenHeight);

// A place in a window's client area.
struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Running counts of the dialog's children by kind, for one layout pass.
struct ChildCounters {
    int statics = 0;
    int combos = 0;
    int buttons = 0;
};

// Where the hook puts a child of the dialog whose class
// name begins with `classPrefix` (its first four characters, case-sensitive) and whose height
// is `height`; false when that child keeps its place. Counts the child in `counters`.
bool ChildPlacement(const std::wstring& className, int height, ChildCounters& counters, Placement& placement);

// Place of the preview pane: right-aligned in the client area of the given size,
// its inner height ending kPaneBottomGap pixels above the bottom edge, in its outer size.
Placement PaneSlot(int clientWidth, int clientHeight, SIZE inner, SIZE outer);

// The usable part of a path answer: `answer` is the count the dialog returned (characters
// including the NUL), `buffer` what it wrote into a buffer of `capacity` characters. A count
// of 0 or less, or one larger than the buffer (the dialog then wrote nothing reliable), gives "".
std::wstring PathFromAnswer(const std::vector<wchar_t>& buffer, size_t capacity, intptr_t answer);

// Length of the path the dialog makes of its name box's text in `folder` when the text names
// one file (quoted or not): the text as it is when it is a full path, else joined to the folder
// (or to the folder's drive, for a text that begins with "\"), with "." and `defaultExt` added
// when the name has no extension. 0 for several quoted names, which the dialog takes one by one.
// The platform's dialog builds that path in a buffer of MAX_PATH characters without checking
// (Wine 8 overruns it and ends the program): a longer one must not reach the dialog.
size_t TypedPathLength(const std::wstring& folder, const std::wstring& text, const std::wstring& defaultExt);

}  // namespace salva::open_dialog_rules
