#include "copier/BatchCopyRules.h"
#include "copier/BlockUnit.h"
#include "copier/CopyTiming.h"
#include "services/FileSystem.h"
#include "services/Text.h"

namespace salva::batch_copy_rules {

namespace {
const std::wstring kCrlf = L"\r\n";
}

int64_t BlockBytes(const std::wstring& source, const std::wstring& target, unsigned driveType, int platformCode) {
    return kUnitsPerRead * BlockUnit(source, target, driveType, platformCode);
}

std::vector<std::wstring> MirroredFolders(const std::wstring& source) {
    std::vector<std::wstring> pieces;
    const bool network = IsNetworkPath(source);
    size_t start = 0;
    size_t from = network ? 2 : 0;
    for (;;) {
        const size_t slash = source.find(L'\\', from);
        if (slash == std::wstring::npos) break;
        std::wstring piece = source.substr(start, slash - start);
        if (piece.empty()) break;
        pieces.push_back(std::move(piece));
        start = from = slash + 1;
    }
    // The root: the drive, or the server and the share.
    const size_t root = network ? 2 : 1;
    if (pieces.size() <= root) return {};
    return std::vector<std::wstring>(pieces.begin() + static_cast<std::ptrdiff_t>(root), pieces.end());
}

std::wstring WithBackslash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L"\\";
}

std::wstring AlternativeTarget(const std::wstring& target) {
    const FileSystem fs;
    const size_t slash = target.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    return folder + L"N[01]" + fs.GetFileName(target);
}

std::wstring TotalLengthText(int64_t b) {
    if (b <= 10240) return L"[ 总共：" + GroupedNumber(b) + L" 字节";
    if (b <= 1024000) return L"[ 总共：" + GroupedNumber(b / 1024) + L" KB";
    return L"[ 总共：" + GroupedNumber(b / 1024 / 1024) + L" MB";
}

std::wstring FileCountText(int64_t index, int64_t count) {
    return std::to_wstring(index) + L"/" + std::to_wstring(count) + L" ]";
}

std::wstring SpaceQuestionText(const std::wstring& folder, int64_t freeBytes, int64_t batchBytes) {
    return UpperCase(folder.substr(0, 2)) + L"盘空间不足，请重新选择文件保存路径" + kCrlf + L"可用空间：" +
           MegabyteText(freeBytes) + L"MB" + kCrlf + L"文件容量：" + MegabyteText(batchBytes) + L"MB" + kCrlf + kCrlf +
           L"是[Y]：忽略，继续复制" + kCrlf + L"否[N]：取消复制，重新选择文件保存路径";
}

std::wstring EarlierUnknownText(int64_t files) {
    return L"其中 " + GroupedNumber(files) + L" 个文件是从续拷记录处继续复制的，之前的复制跳过了哪些内容已无法得知，这些文件可能不完整。";
}

std::wstring SelfTargetText(int64_t files) {
    return L"其中 " + GroupedNumber(files) + L" 个文件没有复制：目标文件就是源文件本身（见操作日志）。";
}

std::wstring FailedFilesText(int64_t files) {
    return L"其中 " + GroupedNumber(files) + L" 个文件复制时出错，没有复制完整（见操作日志）。";
}

std::wstring RefusedNamesText(int64_t files) {
    return L"其中 " + GroupedNumber(files) + L" 个文件没有复制：文件名不能照原样使用（见操作日志）。";
}

std::wstring ErrorEntry(const std::wstring& source, const std::wstring& reason) {
    return L"复制文件“" + source + L"”时遇到错误。" + kCrlf + std::wstring(22, L' ') + reason;
}

}  // namespace salva::batch_copy_rules
