#include "inspect/FlashInformation.h"
#include "inspect/FileByteSource.h"
#include "inspect/FlashHeader.h"
#include <cstdio>
#include <cstdlib>

using namespace salva;

bool FlashInformation::GetFlashInformation(const std::wstring& path) {
    readers::FlashHeader h;
    {
        FileByteSource file(path);
        if (!file.IsOpen() || !readers::ReadFlashHeader(file, h)) return false;
    }
    version_ = h.version;
    declaredLength_ = h.declaredLength;
    speed_ = h.speed;
    frames_ = h.frames;
    seconds_ = h.seconds;
    width_ = h.width;
    height_ = h.height;
    if (h.hasColour) {
        red_ = h.red;
        green_ = h.green;
        blue_ = h.blue;
    }
    return true;
}

std::wstring ShortestFloatText(float value) {
    char buf[32];
    bool exact = false;
    for (int decimals = 0; decimals <= 6 && !exact; ++decimals) {
        std::snprintf(buf, sizeof(buf), "%.*f", decimals, static_cast<double>(value));
        exact = std::strtof(buf, nullptr) == value;
    }
    if (!exact) std::snprintf(buf, sizeof(buf), "%.9g", static_cast<double>(value));
    std::wstring out;
    for (const char* p = buf; *p; ++p) out.push_back(static_cast<wchar_t>(*p));
    return out;
}
