// Byte sources the format readers work over. A read may come back short: at the end of the
// file, or where the medium cannot be read. The readers treat every short read as the end of
// what they can know and never look past the bytes they were given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace salva::readers {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The length in bytes; false when it cannot be had.
    virtual bool Size(uint64_t& size) = 0;
    // Copies up to `count` bytes from `offset` into `buffer` and returns how many it copied.
    virtual size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t count) = 0;

    // True only when all `count` bytes were read.
    bool ReadFull(uint64_t offset, uint8_t* buffer, size_t count) {
        return ReadAt(offset, buffer, count) == count;
    }
};

// A source that can also be written: the tag writer's target.
class ByteStore : public ByteSource {
public:
    // Writes all `count` bytes at `offset` (at the end to append); false when fewer went out.
    virtual bool WriteAt(uint64_t offset, const uint8_t* data, size_t count) = 0;
};

// Bytes in memory. Reads at or past `readableUpTo` come back short, as an unreadable stretch
// of a damaged medium does; writes past it fail.
class MemoryByteStore : public ByteStore {
public:
    MemoryByteStore() = default;
    MemoryByteStore(const uint8_t* data, size_t size, uint64_t readableUpTo = UINT64_MAX)
        : bytes_(data, data + size), limit_(readableUpTo) {}
    explicit MemoryByteStore(std::vector<uint8_t> bytes, uint64_t readableUpTo = UINT64_MAX)
        : bytes_(std::move(bytes)), limit_(readableUpTo) {}

    bool Size(uint64_t& size) override {
        size = bytes_.size();
        return true;
    }
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t count) override {
        const uint64_t end = bytes_.size() < limit_ ? bytes_.size() : limit_;
        if (offset >= end) return 0;
        const uint64_t left = end - offset;
        const size_t n = left < count ? static_cast<size_t>(left) : count;
        if (n) std::memcpy(buffer, bytes_.data() + offset, n);
        return n;
    }
    bool WriteAt(uint64_t offset, const uint8_t* data, size_t count) override {
        if (offset > bytes_.size() || offset + count > limit_) return false;
        if (offset + count > bytes_.size()) bytes_.resize(static_cast<size_t>(offset + count));
        if (count) std::memcpy(bytes_.data() + offset, data, count);
        return true;
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    uint64_t limit_ = UINT64_MAX;
};

}  // namespace salva::readers
