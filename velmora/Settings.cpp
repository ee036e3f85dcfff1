#include "Settings.h"

namespace velmora {

Settings& Current() {
    static Settings settings;
    return settings;
}

void ResetDefaults(Settings& s) {
    s.hasTitleBar = kTrue;
    s.hasImageInTitleBar = kFalse;
    s.title = L"Velmora";
    s.titleWidth = 20;
    s.titleHeight = 0;
    s.escapement = 900;
    s.titleTextColor = RGB(0, 0, 0);
    s.titleStartColor = RGB(255, 255, 0);
    s.titleEndColor = RGB(255, 0, 0);
    s.titleTopToBottom = kTrue;
    s.titleLeftToRight = kFalse;
    s.titleImage.reset();
    s.titleIcon.reset();
    s.faceName = GetFontNameByIndex(17);
    s.fontSize = 16;
    s.fontWeight = 600;
    s.fontItalic = s.fontUnderline = s.fontStrike = kFalse;
    s.hasIcon = kTrue;
    s.iconWidth = s.iconHeight = 16;
    s.iconEffect = 4;
    s.backPicture.reset();
    s.itemGradient = kFalse;
    s.foreColor = ::GetSysColor(COLOR_MENUTEXT);
    s.fillColor = ::GetSysColor(COLOR_MENU);
    s.backColor = ::GetSysColor(COLOR_MENU);
    s.highlightColor = RGB(0, 0, 0);
    s.borderColor = RGB(115, 113, 156);
    s.frameColor = RGB(220, 216, 210);
    s.itemStartColor = RGB(255, 255, 0);
    s.itemEndColor = RGB(255, 0, 0);
    s.itemTopToBottom = kFalse;
    s.itemLeftToRight = kTrue;
    s.itemEffect = 2;
    s.style = 170;
}

void ApplyDisplayStyle(Settings& s, short style, bool loadPreset) {
    if (loadPreset && style == 170) {
        s.hasTitleBar = kTrue;
        s.hasImageInTitleBar = kFalse;
        s.titleImage.reset();
        s.titleTopToBottom = kTrue;
        s.titleLeftToRight = kFalse;
        s.titleWidth = 20;
        s.escapement = 900;
        s.titleStartColor = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
        s.titleEndColor = ::GetSysColor(COLOR_HIGHLIGHT);
        s.titleTextColor = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        s.hasIcon = kTrue;
        s.itemGradient = kTrue;
        s.itemLeftToRight = kTrue;
        s.itemTopToBottom = kFalse;
        s.iconWidth = s.iconHeight = 16;
        s.iconEffect = 4;
        s.itemStartColor = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
        s.itemEndColor = ::GetSysColor(COLOR_HIGHLIGHT);
        s.highlightColor = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        s.backColor = ::GetSysColor(COLOR_MENU);
        s.itemEffect = 2;
        s.backPicture.reset();
    } else if (loadPreset && style == 204) {
        s.hasTitleBar = kTrue;
        s.hasImageInTitleBar = kFalse;
        s.titleLeftToRight = kTrue;
        s.titleTopToBottom = kFalse;
        s.titleWidth = 20;
        s.escapement = 900;
        s.titleTextColor = RGB(255, 255, 255);
        s.titleStartColor = RGB(216, 228, 248);
        s.titleEndColor = RGB(49, 106, 197);
        s.titleImage.reset();
        s.hasIcon = kTrue;
        s.iconWidth = s.iconHeight = 16;
        s.fillColor = RGB(216, 228, 248);
        s.highlightColor = RGB(255, 0, 0);
        s.frameColor = RGB(236, 233, 216);
        s.borderColor = RGB(49, 106, 197);
        s.backColor = RGB(249, 248, 247);
    }
    s.style = style;
}

void ReleaseAll(Settings& s) {
    for (auto& c : s.iconCaptions) c.clear();
    for (auto& p : s.iconPictures) p.reset();
    s.iconMasks.fill(0);
    s.titleImage.reset();
    s.titleIcon.reset();
    s.backPicture.reset();
}

std::wstring GetFontNameByIndex(long index) {
    static const wchar_t* const kFaces[170] = {
    L"System",
    L"Fixedsys",
    L"Terminal",
    L"MS Serif",
    L"MS Sans Serif",
    L"Courier",
    L"Symbol",
    L"Small Fonts",
    L"Modern",
    L"WST_Czec",
    L"宋体",
    L"@宋体",
    L"Marlett",
    L"黑体",
    L"楷体_GB2312",
    L"仿宋_GB2312",
    L"Arial",
    L"Courier New",
    L"Lucida Console",
    L"Tahoma",
    L"Times New Roman",
    L"Webdings",
    L"@System",
    L"Arial Black",
    L"Comic Sans MS",
    L"Impact",
    L"Verdana",
    L"@Fixedsys",
    L"MingLiU",
    L"PMingLiU",
    L"方正舒体",
    L"方正姚体",
    L"隶书",
    L"华文彩云",
    L"华文细黑",
    L"华文行楷",
    L"华文新魏",
    L"华文中宋",
    L"幼圆",
    L"Arial Narrow",
    L"Book Antiqua",
    L"Bookman Old Style",
    L"Wingdings 2",
    L"Wingdings 3",
    L"Complex",
    L"CommercialScript BT",
    L"Romantic",
    L"RomanS",
    L"SansSerif",
    L"ScriptC",
    L"PanRoman",
    L"Simplex",
    L"Proxy 2",
    L"SuperFrench",
    L"ScriptS",
    L"EuroRoman",
    L"Italic",
    L"ItalicC",
    L"Monospac821 BT",
    L"Monotxt",
    L"Proxy 1",
    L"Proxy 7",
    L"RomanD",
    L"RomanT",
    L"Syastro",
    L"Symap",
    L"Symath",
    L"Symeteo",
    L"Symusic",
    L"Proxy 3",
    L"Proxy 4",
    L"Swis721 BlkCn BT",
    L"Proxy 6",
    L"GreekS",
    L"Proxy 8",
    L"Proxy 9",
    L"Proxy 5",
    L"TechnicBold",
    L"Swis721 Ex BT",
    L"Swis721 BlkEx BT",
    L"Swis721 LtEx BT",
    L"Swis721 Blk BT",
    L"Swis721 BlkOul BT",
    L"RomanC",
    L"Swis721 Lt BT",
    L"ItalicT",
    L"TechnicLite",
    L"Technic",
    L"UniversalMath1 BT",
    L"Vineta BT",
    L"GothicE",
    L"GothicG",
    L"GreekC",
    L"ISOCTEUR",
    L"ISOCPEUR",
    L"WST_Engl",
    L"WST_Fren",
    L"WST_Germ",
    L"WST_Ital",
    L"WST_Span",
    L"WST_Swed",
    L"@黑体",
    L"@楷体_GB2312",
    L"@仿宋_GB2312",
    L"@MingLiU",
    L"@PMingLiU",
    L"@方正舒体",
    L"@方正姚体",
    L"@隶书",
    L"@华文彩云",
    L"@华文细黑",
    L"@华文行楷",
    L"@华文新魏",
    L"@华文中宋",
    L"@幼圆",
    L"Century Gothic Garamond",
    L"Haettenschweiler",
    L"Monotype Corsiva",
    L"Trebuchet MS",
    L"BankGothic Lt BT",
    L"BankGothic Md BT",
    L"CityBlueprint",
    L"CommercialPi BT",
    L"Dutch801 Rm BT",
    L"CountryBlueprint",
    L"Stylus BT",
    L"Swis721 BT",
    L"Swis721 BdOul BT",
    L"Swis721 Cn BT",
    L"Swis721 BdCnOul BT",
    L"ISOCT",
    L"Dutch801 XBd BT",
    L"GDT",
    L"GothicI",
    L"ISOCP",
    L"ISOCP3",
    L"Swis721 LtCn BT",
    L"ISOCT2",
    L"ISOCT3",
    L"ISOCP2",
    L"Txt",
    L"Script",
    L"汉仪超粗宋繁",
    L"@BatangChe",
    L"@Batang",
    L"@Dotum",
    L"@DotumChe",
    L"@Gulim",
    L"@GulimChe",
    L"@Gungsuh",
    L"@GungsuhChe",
    L"@MS Gothic",
    L"@MS Mincho",
    L"@MS PGothic",
    L"@MS PMincho",
    L"@MS UI Gothic",
    L"@Terminal",
    L"BatangChe",
    L"Batang ",
    L"Dotum",
    L"DotumChe",
    L"Gulim",
    L"GulimChe",
    L"Gungsuh",
    L"GungsuhChe",
    L"MS Gothic",
    L"MS Mincho",
    L"MS PGothic",
    L"MS PMincho",
    L"MS UI Gothic",    };
    if (index < 1 || index > 170) return std::wstring();
    return kFaces[index - 1];
}

std::wstring NormaliseCaption(const std::wstring& caption) {
    std::wstring out;
    out.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        // A surrogate pair has no GB2312 form; it is classified as the substitute '?' and kept.
        const bool pair = i + 1 < caption.size() && IS_HIGH_SURROGATE(caption[i]) &&
                          IS_LOW_SURROGATE(caption[i + 1]);
        if (pair) {
            out.append(caption, i, 2);
            ++i;
            continue;
        }
        char bytes[4] = {};
        const int n = ::WideCharToMultiByte(936, 0, &caption[i], 1, bytes, sizeof(bytes), nullptr, nullptr);
        const unsigned char first = static_cast<unsigned char>(bytes[0]);
        const bool doubleByte = n == 2;
        const bool printable = n == 1 && first >= 33 && first <= 126;
        if (doubleByte || printable) out.push_back(caption[i]);
    }
    return out;
}

void StoreMenuItemIcon(Settings& s, const std::wstring& caption, IPicture* picture, COLORREF mask) {
    const std::wstring key = NormaliseCaption(caption);
    for (int k = 0; k < kIconSlots - 1; ++k) {
        if (s.iconCaptions[k].empty()) {
            s.iconCaptions[k] = key;
            break;
        }
    }
    for (int k = 0; k < kIconSlots - 1; ++k) {
        if (!s.iconPictures[k]) {
            if (picture) s.iconPictures[k] = salva::com_ptr<IPicture>(picture);
            break;
        }
    }
    for (int k = 0; k < kIconSlots - 1; ++k) {
        if (s.iconMasks[k] == 0) {
            s.iconMasks[k] = mask;
            break;
        }
    }
}

int FindIconSlot(const Settings& s, const std::wstring& captionAndShortcut) {
    const std::wstring key = NormaliseCaption(captionAndShortcut);
    if (key.empty()) return kIconSlots;
    for (int k = 0; k < kIconSlots; ++k) {
        const std::wstring& stored = s.iconCaptions[k];
        if (!stored.empty() &&
            ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, stored.c_str(), static_cast<int>(stored.size()),
                             key.c_str(), static_cast<int>(key.size())) == CSTR_EQUAL)
            return k + 1;
    }
    return kIconSlots;
}

}  // namespace velmora
