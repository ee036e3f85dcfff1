// Source access of the copy engine, by byte ranges. Tests put a reader in front of the real one
// that makes chosen ranges unreadable.
#pragma once
#include "services/Holders.h"
#include <cstdint>
#include <string>

namespace salva {

// Results are Win32 error codes, 0 (ERROR_SUCCESS) on success.
class BlockReader {
public:
    virtual ~BlockReader() = default;
    virtual DWORD QueryLength(const std::wstring& path, int64_t* length) = 0;
    virtual DWORD Open(const std::wstring& path) = 0;
    // Reads up to `size` bytes at the 0-based `offset`; `got` is the count delivered.
    virtual DWORD ReadAt(int64_t offset, uint8_t* buffer, uint32_t size, uint32_t* got) = 0;
    virtual void Close() = 0;
};

class Win32BlockReader : public BlockReader {
public:
    DWORD QueryLength(const std::wstring& path, int64_t* length) override;
    DWORD Open(const std::wstring& path) override;
    DWORD ReadAt(int64_t offset, uint8_t* buffer, uint32_t size, uint32_t* got) override;
    void Close() override { file_.reset(); }

private:
    unique_hfile file_;
};

}  // namespace salva
