// A file as a byte source for the format readers. Reads that fail part way (an unreadable
// stretch of a damaged disc) come back short instead of failing whole.
#pragma once
#include "inspect/ByteSource.h"
#include "services/Holders.h"
#include <string>

namespace salva {

class FileByteSource : public readers::ByteStore {
public:
    // Opens an existing file for reading, or for reading and writing; others may read and
    // write it meanwhile.
    explicit FileByteSource(const std::wstring& path, bool writable = false);
    bool IsOpen() const { return static_cast<bool>(file_); }

    bool Size(uint64_t& size) override;
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t count) override;
    bool WriteAt(uint64_t offset, const uint8_t* data, size_t count) override;

private:
    bool Seek(uint64_t offset);
    unique_hfile file_;
};

}  // namespace salva
