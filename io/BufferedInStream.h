#pragma once
#include <cstdint>
#include <memory>

#include "io/MacStream.h"

namespace tabora {

// Reads another stream through a buffer. The image libraries ask for a few
// bytes at a time (a chunk header, a record's length byte), and over a file
// each of those asks would be a system call: a file of a million empty
// records would cost millions of them. Through this stream a reader's cost
// follows the bytes it reads, not the number of its reads.
//
// Read-only; seeking within the buffered bytes moves in memory, anywhere
// else it drops the buffer and seeks the stream beneath.
class BufferedInStream : public MacStream {
public:
    static constexpr uint32_t kBufferBytes = 64u << 10;
    // Reads of this size or more go straight to the stream beneath: they
    // are few already, and a reader that skips (JPEG markers) would
    // otherwise fill the whole buffer for every few kilobytes it wants.
    static constexpr uint32_t kDirectReadBytes = 4u << 10;

    explicit BufferedInStream(MacStream& inner, uint32_t bufferBytes = kBufferBytes);

    uint32_t Read(void* buffer, uint32_t count) override;
    // Throws: nothing is ever written through a reader.
    void Write(const void* buffer, uint32_t count) override;
    void Seek(uint32_t position) override;
    uint32_t GetLength() override;
    uint32_t Position() override { return base_ + at_; }

private:
    MacStream& inner_;
    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t capacity_;
    uint32_t base_ = 0;  // stream position of buffer_[0]; the inner stream stands at base_ + size_
    uint32_t size_ = 0;  // bytes held
    uint32_t at_ = 0;    // next byte to hand out
    bool lengthKnown_ = false;
    uint32_t length_ = 0;
};

}  // namespace tabora
