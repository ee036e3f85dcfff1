// COM class PDVfileformat: holds the five resume values and reads or writes them as the
// record at the end of a file.
#pragma once
#include "PDVTrailer.h"
#include "services/ComServer.h"
#include "Dorvex.h"

namespace dorvex {

class PDVfileformat final : public salva::com::DispatchObject<_PDVfileformat> {
public:
    STDMETHODIMP get_FileLength(long* value) override;
    STDMETHODIMP put_FileLength(long value) override;
    STDMETHODIMP get_HaveCopied(long* value) override;
    STDMETHODIMP put_HaveCopied(long value) override;
    STDMETHODIMP get_ConsumeTime(short* value) override;
    STDMETHODIMP put_ConsumeTime(short value) override;
    STDMETHODIMP get_TotalTime(short* value) override;
    STDMETHODIMP put_TotalTime(short value) override;
    STDMETHODIMP get_CopySpeed(short* value) override;
    STDMETHODIMP put_CopySpeed(short value) override;
    STDMETHODIMP ReadPDVFile(BSTR sFileName, long* found) override;
    STDMETHODIMP WritePDVFile(BSTR sFileName, VARIANT* result) override;

private:
    PDVTrailer fields_;
};

}  // namespace dorvex
