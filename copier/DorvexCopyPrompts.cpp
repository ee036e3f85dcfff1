#include "copier/DorvexCopyPrompts.h"
#include "services/Holders.h"
// The class and interface identifiers are defined here, from the library's own header.
#include <initguid.h>
#include "Dorvex.h"

namespace salva {

namespace {

template <typename T>
com_ptr<T> Create(const CLSID& clsid, const IID& iid) {
    com_ptr<T> p;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, p.put_void()))) p.reset();
    return p;
}

unique_bstr Bstr(const std::wstring& s) { return unique_bstr(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))); }

}  // namespace

long DorvexCopyPrompts::ReadResumeRecord(const std::wstring& target, int32_t* continueAt, int16_t* totalTime) {
    auto record = Create<_PDVfileformat>(CLSID_PDVfileformat, IID__PDVfileformat);
    if (!record) return 0;
    long found = 0;
    if (FAILED(record->ReadPDVFile(Bstr(target).get(), &found))) return 0;
    if (found != 1) return found;
    long length = 0;
    short seconds = 0;
    if (FAILED(record->get_FileLength(&length))) return 0;
    record->get_TotalTime(&seconds);
    *continueAt = length;
    *totalTime = seconds;
    return 1;
}

bool DorvexCopyPrompts::WriteResumeRecord(const std::wstring& target, const ResumeValues& v) {
    auto record = Create<_PDVfileformat>(CLSID_PDVfileformat, IID__PDVfileformat);
    if (!record) return false;
    record->put_FileLength(v.fileLength);
    record->put_HaveCopied(v.haveCopied);
    record->put_ConsumeTime(v.consumeTime);
    record->put_TotalTime(v.totalTime);
    record->put_CopySpeed(v.copySpeed);
    unique_variant result;
    // The library reports nothing about the file; whether the record landed is read back.
    return SUCCEEDED(record->WritePDVFile(Bstr(target).get(), &result));
}

long DorvexCopyPrompts::AskOverwriteOrContinue(const std::wstring& source, const std::wstring& target) {
    auto prompt = Create<_Dorvex>(CLSID_Dorvex, IID__Dorvex);
    if (!prompt) return kUnavailable;
    long choice = 0;
    if (FAILED(prompt->SwitchDialogBox(Bstr(source).get(), Bstr(target).get(), &choice))) return kUnavailable;
    return choice;
}

long DorvexCopyPrompts::AskExistingTarget(const std::wstring& source, const std::wstring& target,
                                          std::wstring* newName) {
    auto prompt = Create<_DorvexA>(CLSID_DorvexA, IID__DorvexA);
    if (!prompt) return kUnavailable;
    long choice = 0;
    if (FAILED(prompt->SwitchDialogBoxA(Bstr(source).get(), Bstr(target).get(), &choice))) return kUnavailable;
    if (choice == 5) {
        unique_bstr name;
        if (SUCCEEDED(prompt->GetNewFileName(name.put())) && name) newName->assign(name.get(), ::SysStringLen(name.get()));
    }
    return choice;
}

long DorvexCopyPrompts::AskReplace(const std::wstring& source, const std::wstring& target) {
    auto prompt = Create<_DorvexB>(CLSID_DorvexB, IID__DorvexB);
    if (!prompt) return kUnavailable;
    long choice = 0;
    if (FAILED(prompt->SwitchDialogBoxB(Bstr(source).get(), Bstr(target).get(), &choice))) return kUnavailable;
    return choice;
}

}  // namespace salva
