#include "services/TextFit.h"
#include <algorithm>

namespace salva {

std::vector<std::wstring> FitLines(HDC dc, const std::wstring& line, int width) {
    std::vector<std::wstring> pieces;
    std::wstring rest = line;
    do {
        size_t take = rest.size();
        int fit = 0;
        SIZE extent{};
        if (dc && width > 0 &&
            ::GetTextExtentExPointW(dc, rest.c_str(), static_cast<int>(rest.size()), width, &fit, nullptr, &extent) &&
            static_cast<size_t>(fit) < rest.size()) {
            const size_t blank = rest.rfind(L' ', static_cast<size_t>(fit));
            take = blank != std::wstring::npos && blank > 0 ? blank : std::max<size_t>(1, static_cast<size_t>(fit));
        }
        pieces.push_back(rest.substr(0, take));
        rest.erase(0, take);
        if (!rest.empty() && rest[0] == L' ') rest.erase(0, 1);
    } while (!rest.empty());
    return pieces;
}

}  // namespace salva
