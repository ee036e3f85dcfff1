// Renderers of the resources of the module the browser has open: raw bytes, pictures for
// cursors, icons, bitmaps and image files, texts for the tables and everything else.
// Types are "6" for a numbered type or the type's name; names "#101" or the resource's name.
#pragma once
#include "inspect/ResourceFormats.h"
#include "services/Holders.h"
#include <ocidl.h>
#include <string>

namespace salva {

// The bytes and size of the resource the reader found; empty and 0 when it did not.
ResourceBytes GetResourceBytes(const std::wstring& type, const std::wstring& name);
uint32_t GetResourceSize(const std::wstring& type, const std::wstring& name);

com_ptr<IPicture> GetIconCursorPicture(const std::wstring& type, const std::wstring& name);
com_ptr<IPicture> BitmapToPicture(HBITMAP bitmap);
com_ptr<IPicture> IconToPicture(HICON icon);
com_ptr<IPicture> GetImageResourcePicture(const std::wstring& type, const std::wstring& name);

std::wstring GetStringTableText(const std::wstring& name);
std::wstring GetMenuText(const std::wstring& name);
std::wstring GetAcceleratorText(const std::wstring& name);
std::wstring GetHexDumpText(const std::wstring& type, const std::wstring& name);
std::wstring GetVersionInfoText(const std::wstring& name);
std::wstring GetMessageTableText(const std::wstring& name);
std::wstring GetHtmlResourceText(const std::wstring& type, const std::wstring& name);

// Menu lines of one menu and its popups, five dots a level; levels past 16 are not walked.
void AppendMenuItems(HMENU menu, int depth, std::wstring& out);

}  // namespace salva
