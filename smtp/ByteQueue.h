// The send queue of the socket layer: bytes not yet passed to the network.
// Sending moves an offset through the queue, so every byte is copied at most
// once; a caller that waits until the queue drains may lend its own memory
// instead of copying it in.
#pragma once

#include <cstddef>
#include <memory>

class TStream;

class TByteQueue {
public:
    size_t Pending() const { return size_ - offset_; }
    bool Empty() const { return Pending() == 0; }
    const char* Front() const { return data_ + offset_; }

    void Append(const void* data, size_t count);
    // Appends `count` bytes read from the stream's current position.
    void AppendFrom(TStream& stream, size_t count);
    // Queues the caller's bytes without copying them; they must stay unchanged
    // until the queue has drained or is cleared.
    void Lend(const char* data, size_t count);
    void Consume(size_t count);
    // Forgets every queued byte and gives large memory back.
    void Clear();

private:
    char* Reserve(size_t count);

    const char* data_ = nullptr;
    size_t size_ = 0;
    size_t offset_ = 0;
    std::unique_ptr<char[]> owned_;
    size_t capacity_ = 0;
};
