#include "copier/TargetName.h"
#include "copier/FileNameRules.h"

namespace salva {

std::wstring TargetRefusal(const std::wstring& target, CopyEnvironment& env, BlockWriter& writer, bool* existed) {
    *existed = false;
    const NameProblem problem = NameProblemOf(target);
    if (problem != NameProblem::None) return NameProblemText(problem, target);
    *existed = env.FileExists(target);
    if (*existed) return env.NameKept(target) ? std::wstring() : NameNotKeptText(target);
    // Only a file that exists tells the name the file system gave it.
    const DWORD e = writer.Open(target);
    writer.Close();
    if (e != ERROR_SUCCESS) return NameTooLongError(e, target) ? NameTooLongErrorText(target) : std::wstring();
    if (env.NameKept(target)) return {};
    env.RemoveFile(target);
    return NameNotKeptText(target);
}

std::wstring NameRefusal(const std::wstring& path) {
    const NameProblem problem = NameProblemOf(path);
    return problem == NameProblem::None ? std::wstring() : NameProblemText(problem, path);
}

std::wstring SourceRefusal(const std::wstring& source, CopyEnvironment& env) {
    std::wstring why = NameRefusal(source);
    if (why.empty() && env.FileExists(source) && !env.NameKept(source)) why = SourceNameNotKeptText(source);
    return why;
}

bool TargetIsThere(const std::wstring& target, int64_t length, CopyEnvironment& env) {
    return env.FileExists(target) && env.NameKept(target) && (length < 0 || env.FileLength(target) == length);
}

std::wstring TargetMissingText(const std::wstring& target) {
    return L"复制结束后，“" + target + L"”这个名字下没有长度正确的目标文件，文件没有复制成功。";
}

}  // namespace salva
