#include "PDVfileformat.h"
#include <climits>

namespace dorvex {
namespace {
std::wstring ToWide(BSTR s) { return s ? std::wstring(s, ::SysStringLen(s)) : std::wstring(); }
}  // namespace

// The length reads back 16 less than written: callers take it as the 1-based position from
// which a copy continues, 16 bytes before the end the target had when the record went on.
STDMETHODIMP PDVfileformat::get_FileLength(long* value) {
    if (!value) return E_POINTER;
    if (fields_.lFileLength < INT32_MIN + 16) return DISP_E_OVERFLOW;
    *value = fields_.lFileLength - 16;
    return S_OK;
}
STDMETHODIMP PDVfileformat::put_FileLength(long value) {
    fields_.lFileLength = static_cast<int32_t>(value);
    return S_OK;
}
STDMETHODIMP PDVfileformat::get_HaveCopied(long* value) {
    if (!value) return E_POINTER;
    *value = fields_.lHaveCopied;
    return S_OK;
}
STDMETHODIMP PDVfileformat::put_HaveCopied(long value) {
    fields_.lHaveCopied = static_cast<int32_t>(value);
    return S_OK;
}
STDMETHODIMP PDVfileformat::get_ConsumeTime(short* value) {
    if (!value) return E_POINTER;
    *value = fields_.iConsumeTime;
    return S_OK;
}
STDMETHODIMP PDVfileformat::put_ConsumeTime(short value) {
    fields_.iConsumeTime = value;
    return S_OK;
}
STDMETHODIMP PDVfileformat::get_TotalTime(short* value) {
    if (!value) return E_POINTER;
    *value = fields_.iTotalTime;
    return S_OK;
}
STDMETHODIMP PDVfileformat::put_TotalTime(short value) {
    fields_.iTotalTime = value;
    return S_OK;
}
STDMETHODIMP PDVfileformat::get_CopySpeed(short* value) {
    if (!value) return E_POINTER;
    *value = fields_.iCopySpeed;
    return S_OK;
}
STDMETHODIMP PDVfileformat::put_CopySpeed(short value) {
    fields_.iCopySpeed = value;
    return S_OK;
}

STDMETHODIMP PDVfileformat::ReadPDVFile(BSTR sFileName, long* found) {
    if (!found) return E_POINTER;
    PDVTrailer read;
    const bool ok = ReadTrailerFromFile(ToWide(sFileName), read);
    if (ok) fields_ = read;
    *found = ok ? 1 : 0;
    return S_OK;
}

STDMETHODIMP PDVfileformat::WritePDVFile(BSTR sFileName, VARIANT* result) {
    WriteTrailerToFile(ToWide(sFileName), fields_);
    if (result) ::VariantInit(result);
    return S_OK;
}

}  // namespace dorvex
