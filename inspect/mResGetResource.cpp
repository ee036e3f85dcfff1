#include "inspect/mResGetResource.h"

#include "inspect/FileByteSource.h"
#include "inspect/ResourceImageChecks.h"
#include "inspect/VersionBlock.h"
#include "inspect/mResMain.h"
#include "inspect/ResourceTemplates.h"
#include "services/Text.h"
#include "services/TrimAtNul.h"
#include "services/mDoEvents.h"
#include <olectl.h>
#include <algorithm>
#include <cwctype>

namespace salva {

namespace {

constexpr int kMenuDepthLimit = 16;
constexpr int kMenuTextChars = 256;

bool IsNumber(const std::wstring& text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// "#101" is resource number 101; any other text is a name.
LPCWSTR ResourceId(const std::wstring& name) {
    if (name.size() > 1 && name[0] == L'#' && IsNumber(name.substr(1)))
        return MAKEINTRESOURCEW(std::stoul(name.substr(1)));
    return name.c_str();
}

bool Names(const readers::ResourceKey& key, const std::wstring& text) {
    return key.named && key.name.size() == text.size() && std::equal(text.begin(), text.end(), key.name.begin());
}

// A name text as the tree shows it: "#101" for resource number 101, else the name.
bool IsNamed(const readers::ResourceKey& key, const std::wstring& name) {
    if (name.size() > 1 && name[0] == L'#' && IsNumber(name.substr(1)))
        return !key.named && key.id == std::stoul(name.substr(1));
    return Names(key, name);
}

const readers::ResourceName* FindIn(const readers::ResourceType& type, const std::wstring& name) {
    for (const readers::ResourceName& n : type.names)
        if (IsNamed(n.key, name)) return &n;
    return nullptr;
}

// Among the resource's languages, the one the system's own search would take: neutral, the
// thread's, the user's, the system's, English, and else the first.
const readers::ResourceData* PickLanguage(const readers::ResourceName& name) {
    if (name.languages.empty()) return nullptr;
    const LANGID user = ::GetUserDefaultLangID(), system = ::GetSystemDefaultLangID();
    const LANGID wanted[] = {MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                             LANGIDFROMLCID(::GetThreadLocale()),
                             user,
                             MAKELANGID(PRIMARYLANGID(user), SUBLANG_NEUTRAL),
                             system,
                             MAKELANGID(PRIMARYLANGID(system), SUBLANG_NEUTRAL),
                             MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)};
    for (LANGID l : wanted)
        for (const readers::ResourceData& d : name.languages)
            if (d.language == l) return &d;
    return &name.languages.front();
}

// The resource among those the directory reader accepted: a numbered type first, then a type of
// that name, as the system's search tries them.
const readers::ResourceData* FindResourceData(const std::wstring& type, const std::wstring& name) {
    const ResourceBrowserState& s = ResourceBrowser();
    if (!s.ResourceModuleHandle) return nullptr;
    const readers::ResourceName* found = nullptr;
    for (const readers::ResourceType& t : s.Resources.types)
        if (!found && IsNumber(type) && !t.key.named && t.key.id == std::stoul(type)) found = FindIn(t, name);
    for (const readers::ResourceType& t : s.Resources.types)
        if (!found && Names(t.key, type)) found = FindIn(t, name);
    return found ? PickLanguage(*found) : nullptr;
}

// At most `limit` of the resource's bytes, read from the file; fewer where the file cannot be read.
ResourceBytes ReadResourceData(const readers::ResourceData& data, size_t limit) {
    FileByteSource file(ResourceBrowser().ResourceModulePath);
    ResourceBytes bytes(std::min<size_t>(data.size, limit));
    if (!bytes.empty()) bytes.resize(file.ReadAt(data.offset, bytes.data(), bytes.size()));
    return bytes;
}

wchar_t AnsiChar(unsigned char byte) {
    const char c = static_cast<char>(byte);
    wchar_t w = L'.';
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &c, 1, &w, 1) != 1) w = L'.';
    return w;
}

// Gray shades of the colour table replaced by the user's 3D colours, as the system's bitmap
// loader does when asked to map them.
void MapThreeDColours(unsigned char* table, size_t colours, size_t entryBytes) {
    const struct {
        COLORREF from;
        int to;
    } shades[] = {{RGB(128, 128, 128), COLOR_3DSHADOW}, {RGB(192, 192, 192), COLOR_3DFACE},
                  {RGB(223, 223, 223), COLOR_3DLIGHT}};
    for (size_t i = 0; i < colours; ++i) {
        unsigned char* c = table + i * entryBytes;  // blue, green, red
        for (const auto& shade : shades) {
            if (RGB(c[2], c[1], c[0]) != shade.from) continue;
            const COLORREF to = ::GetSysColor(shade.to);
            c[0] = GetBValue(to);
            c[1] = GetGValue(to);
            c[2] = GetRValue(to);
            break;
        }
    }
}

// An icon or cursor made from one image's bytes, only when they pass the check.
HICON IconFromImage(const ResourceBytes& image, bool cursor) {
    if (!CheckIconImage(image, cursor)) return nullptr;
    ResourceBytes copy = image;
    return ::CreateIconFromResourceEx(copy.data(), static_cast<DWORD>(copy.size()), !cursor, 0x30000, 0, 0,
                                      LR_LOADMAP3DCOLORS);
}

// A bitmap of the screen's format made from a checked bitmap resource.
HBITMAP BitmapFromResource(const ResourceBytes& resource) {
    DibLayout layout;
    if (!CheckDib(resource.data(), resource.size(), DibUse::Bitmap, &layout)) return nullptr;
    ResourceBytes copy = resource;
    if (layout.bitCount <= 8) MapThreeDColours(copy.data() + layout.colourTableAt, layout.colours, layout.colourBytes);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(copy.data());
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, copy.data() + layout.bitsAt, info,
                                      DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

ResourceBytes GetResourceBytes(const std::wstring& type, const std::wstring& name) {
    const readers::ResourceData* data = FindResourceData(type, name);
    if (!data || data->size == 0) return {};
    ResourceBytes bytes = ReadResourceData(*data, data->size);
    mDoEvents::PumpMessages();
    return bytes;
}

uint32_t GetResourceSize(const std::wstring& type, const std::wstring& name) {
    const readers::ResourceData* data = FindResourceData(type, name);
    return data ? data->size : 0;
}

com_ptr<IPicture> BitmapToPicture(HBITMAP bitmap) {
    com_ptr<IPicture> picture;
    if (!bitmap) return picture;
    PICTDESC desc{sizeof(desc), PICTYPE_BITMAP};
    desc.bmp.hbitmap = bitmap;
    if (FAILED(::OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, picture.put_void()))) {
        ::DeleteObject(bitmap);
        picture.reset();
    }
    mDoEvents::PumpMessages();
    return picture;
}

com_ptr<IPicture> IconToPicture(HICON icon) {
    com_ptr<IPicture> picture;
    if (!icon) return picture;
    PICTDESC desc{sizeof(desc), PICTYPE_ICON};
    desc.icon.hicon = icon;
    if (FAILED(::OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, picture.put_void()))) {
        ::DestroyIcon(icon);
        picture.reset();
    }
    mDoEvents::PumpMessages();
    return picture;
}

com_ptr<IPicture> GetIconCursorPicture(const std::wstring& type, const std::wstring& name) {
    if (type == L"1" || type == L"3") return IconToPicture(IconFromImage(GetResourceBytes(type, name), type == L"1"));
    if (type == L"12" || type == L"14") {
        // The group names its images; the one shown is made from its own checked bytes.
        const bool cursor = type == L"12";
        const std::vector<IconGroupEntry> entries = ReadIconGroup(GetResourceBytes(type, name), cursor);
        const IconGroupEntry* entry = PickIconGroupEntry(entries);
        if (!entry) return {};
        const std::wstring image = cursor ? L"1" : L"3";
        return IconToPicture(IconFromImage(GetResourceBytes(image, L"#" + std::to_wstring(entry->id)), cursor));
    }
    if (type == L"2") return BitmapToPicture(BitmapFromResource(GetResourceBytes(type, name)));
    return {};
}

com_ptr<IPicture> GetImageResourcePicture(const std::wstring& type, const std::wstring& name) {
    CloseResourceVideo();
    com_ptr<IPicture> picture;
    ResourceBytes bytes = GetResourceBytes(type, name);
    if (!CheckPictureData(bytes)) return picture;
    // The picture loader reads the bytes from memory; nothing is written to disk for it.
    unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!memory) return picture;
    if (void* p = ::GlobalLock(memory.get())) {
        std::copy(bytes.begin(), bytes.end(), static_cast<unsigned char*>(p));
        ::GlobalUnlock(memory.get());
    }
    com_ptr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory.get(), FALSE, stream.put()))) return picture;
    if (FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                picture.put_void())))
        picture.reset();
    stream.reset();
    mDoEvents::PumpMessages();
    return picture;
}

std::wstring GetStringTableText(const std::wstring& name) {
    const std::wstring number = name.size() > 1 ? name.substr(1) : L"";
    if (!IsNumber(number)) return L"";
    return StringTableText(GetResourceBytes(L"6", name), static_cast<uint32_t>(std::stoul(number)));
}

void AppendMenuItems(HMENU menu, int depth, std::wstring& out) {
    if (!menu || depth > kMenuDepthLimit) return;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[kMenuTextChars] = {};
        MENUITEMINFOW item{sizeof(item)};
        item.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        item.dwTypeData = text;
        item.cch = kMenuTextChars;
        if (!::GetMenuItemInfoW(menu, i, TRUE, &item)) continue;
        const std::wstring dots(static_cast<size_t>(depth) * 5, L'.');
        if (item.fType == MFT_SEPARATOR) {
            out += dots + L"[MENU SEPARATOR]\r\n";
        } else {
            const size_t chars = std::min<size_t>(item.cch, kMenuTextChars - 1);
            out += dots + TrimAtNul(text, chars);
            if (item.fState & MFS_CHECKED) out += L" (checked)";
            out += L" (cmdID = " + std::to_wstring(item.wID) + L")\r\n";
        }
        if (item.hSubMenu) AppendMenuItems(item.hSubMenu, depth + 1, out);
    }
}

std::wstring GetMenuText(const std::wstring& name) {
    std::wstring text;
    // The system reads a copy of exactly the bytes checked, which outlives the menu: owner-drawn
    // items keep pointers into it.
    const ResourceBytes bytes = GetResourceBytes(L"4", name);
    const std::vector<uint32_t> copy = readers::CheckedMenuTemplate(bytes.data(), bytes.size());
    if (copy.empty()) return text;
    unique_hmenu menu(::LoadMenuIndirectW(copy.data()));
    AppendMenuItems(menu.get(), 0, text);
    return text;
}

std::wstring GetAcceleratorText(const std::wstring& name) { return AcceleratorText(GetResourceBytes(L"9", name)); }

std::wstring GetHexDumpText(const std::wstring& type, const std::wstring& name) {
    // Only the part that is dumped is read: a huge resource is not copied whole.
    const readers::ResourceData* data = FindResourceData(type, name);
    if (!data) return L"";
    const ResourceBytes bytes = ReadResourceData(*data, kHexDumpMaxBytes);
    return HexDumpText(bytes.data(), bytes.size(), AnsiChar);
}

std::wstring GetVersionInfoText(const std::wstring& name) {
    // The block the tree names, walked by our own reader.
    return VersionInfoText(GetResourceBytes(L"16", name));
}

std::wstring GetMessageTableText(const std::wstring& name) {
    return MessageTableText(GetResourceBytes(L"11", name), [](const char* b, size_t n) { return FromCodePage(CP_ACP, b, n); });
}

std::wstring GetHtmlResourceText(const std::wstring& type, const std::wstring& name) {
    const ResourceBytes bytes = GetResourceBytes(type, name);
    return FromCodePage(CP_ACP, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace salva
