// Little-endian reads from a file held in memory, each checked against its end.
#pragma once

#include <cstddef>
#include <cstdint>

class TByteReader {
public:
    TByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Size() const { return size_; }
    const uint8_t* At(size_t offset) const { return data_ + offset; }
    // `length` bytes from `offset` lie inside the data (computed without overflow).
    bool Has(uint64_t offset, uint64_t length) const { return offset <= size_ && length <= size_ - offset; }

    // The reads return 0 outside the data; callers check Has first where it matters.
    uint8_t U8(size_t offset) const { return Has(offset, 1) ? data_[offset] : 0; }
    uint16_t U16(size_t offset) const
    {
        return Has(offset, 2) ? static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8) : 0;
    }
    uint32_t U32(size_t offset) const
    {
        return Has(offset, 4) ? static_cast<uint32_t>(U16(offset)) | static_cast<uint32_t>(U16(offset + 2)) << 16 : 0;
    }
    int16_t I16(size_t offset) const { return static_cast<int16_t>(U16(offset)); }
    int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
    // The part from `offset` of `length` bytes (which the caller has checked).
    TByteReader Part(size_t offset, size_t length) const { return TByteReader(data_ + offset, length); }

private:
    const uint8_t* data_;
    size_t size_;
};
