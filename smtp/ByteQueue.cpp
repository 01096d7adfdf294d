#include "smtp/ByteQueue.h"

#include "ui/Classes.h"
#include "ui/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace {
// Memory kept after the queue drains; larger blocks are given back.
constexpr size_t KeptCapacity = 1 << 20;
}

char* TByteQueue::Reserve(size_t count)
{
    const size_t pending = Pending();
    const bool lent = data_ != owned_.get();
    if (lent || pending + count > capacity_) {
        size_t capacity = std::max(pending + count, lent ? pending + count : capacity_ * 2);
        std::unique_ptr<char[]> block(new char[capacity]);
        if (pending)
            std::memcpy(block.get(), Front(), pending);
        owned_ = std::move(block);
        capacity_ = capacity;
    } else if (offset_ != 0) {
        std::memmove(owned_.get(), Front(), pending);
    }
    data_ = owned_.get();
    offset_ = 0;
    size_ = pending + count;
    return owned_.get() + pending;
}

void TByteQueue::Append(const void* data, size_t count)
{
    if (count == 0)
        return;
    std::memcpy(Reserve(count), data, count);
}

void TByteQueue::AppendFrom(TStream& stream, size_t count)
{
    if (count == 0)
        return;
    const size_t before = Pending();
    char* target = Reserve(count);
    size_t got = 0;
    while (got < count) {
        size_t n = stream.Read(target + got, count - got);
        if (n == 0)
            break;
        got += n;
    }
    size_ = offset_ + before + got;
    if (got != count)
        throw EReadError("Stream read error");
}

void TByteQueue::Lend(const char* data, size_t count)
{
    if (count == 0)
        return;
    if (!Empty()) {
        Append(data, count);
        return;
    }
    data_ = data;
    size_ = count;
    offset_ = 0;
}

void TByteQueue::Consume(size_t count)
{
    offset_ += std::min(count, Pending());
    if (Empty())
        Clear();
}

void TByteQueue::Clear()
{
    if (capacity_ > KeptCapacity) {
        owned_.reset();
        capacity_ = 0;
    }
    data_ = owned_.get();
    size_ = 0;
    offset_ = 0;
}
