#include "copier/SkipMapFile.h"
#include "services/Holders.h"
#include "services/Text.h"

namespace salva {

namespace {

// A million stretches come to about 25 MB of text; a larger file is no map of ours.
constexpr DWORD kMaxMapBytes = 32u << 20;

// The map's name answers for no file, or for one of its own under exactly that name: not for
// the target, nor for another file under a name cut short.
bool OwnName(const std::wstring& target, const std::wstring& path, CopyEnvironment& env) {
    if (!env.FileExists(path)) return true;
    return env.NameKept(path) && !env.SameFile(target, path);
}

}  // namespace

bool SaveSkipMap(const std::wstring& target, const SkipMap& map, CopyEnvironment& env) {
    const std::string bytes = EncodeTextFile(EncodeSkipMap(map));
    const std::wstring path = SkipMapPath(target);
    if (!OwnName(target, path, env)) return false;
    bool ok = false;
    {
        unique_hfile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
        if (!f) return false;
        DWORD written = 0;
        ok = ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size();
    }
    // Made under a name the file system did not keep, the file is no map beside this target.
    if (ok && !env.NameKept(path)) ok = false;
    if (!ok) ::DeleteFileW(path.c_str());
    return ok;
}

std::optional<SkipMap> LoadSkipMap(const std::wstring& target, CopyEnvironment& env) {
    const std::wstring path = SkipMapPath(target);
    if (!OwnName(target, path, env)) return std::nullopt;
    unique_hfile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(f.get(), &size) || size.QuadPart > kMaxMapBytes) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() && (!::ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size()))
        return std::nullopt;
    return DecodeSkipMap(DecodeTextFile(bytes));
}

void RemoveSkipMap(const std::wstring& target, CopyEnvironment& env) {
    const std::wstring path = SkipMapPath(target);
    if (OwnName(target, path, env)) ::DeleteFileW(path.c_str());
}

}  // namespace salva
