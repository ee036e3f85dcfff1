// Target access of the copy engine, by byte ranges. The target is opened for reading and
// writing, created when missing and never truncated on open.
#pragma once
#include "services/Holders.h"
#include <cstdint>
#include <string>

namespace salva {

// Results are Win32 error codes, 0 (ERROR_SUCCESS) on success.
class BlockWriter {
public:
    virtual ~BlockWriter() = default;
    virtual DWORD Open(const std::wstring& path) = 0;
    // Writes all `size` bytes at the 0-based `offset`; a short write is ERROR_DISK_FULL.
    virtual DWORD WriteAt(int64_t offset, const uint8_t* buffer, uint32_t size) = 0;
    // Cuts or extends the open file to exactly `length` bytes.
    virtual DWORD SetLength(int64_t length) = 0;
    virtual void Close() = 0;
};

class Win32BlockWriter : public BlockWriter {
public:
    DWORD Open(const std::wstring& path) override;
    DWORD WriteAt(int64_t offset, const uint8_t* buffer, uint32_t size) override;
    DWORD SetLength(int64_t length) override;
    void Close() override { file_.reset(); }

private:
    unique_hfile file_;
};

}  // namespace salva
