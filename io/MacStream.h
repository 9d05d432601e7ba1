#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Geometry.h"

namespace tabora {

// A block read with ReadHandle. `isNull` marks the "null" count word, which
// stands for no block at all.
struct Handle {
    std::unique_ptr<uint8_t[]> data;
    uint32_t size = 0;
    bool isNull = false;
};

// Byte stream with big-endian typed reads and writes. Every structure the
// program defines itself goes through one of these.
//
// A typed read that runs out of bytes yields zero for every byte that did
// not arrive and raises the sticky `Truncated()` flag, so a caller can read a
// whole record and check once at the end.
class MacStream {
public:
    virtual ~MacStream() = default;
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;
    virtual void Write(const void* buffer, uint32_t count) = 0;
    virtual void Seek(uint32_t position) = 0;
    virtual uint32_t GetLength() = 0;
    // Not one of the four byte operations of old, but needed to bound what a
    // length field read from a file may make us allocate.
    virtual uint32_t Position() = 0;

    int16_t ReadShort();
    uint16_t ReadUShort();
    void WriteShort(int32_t value);  // low 16 bits
    int32_t ReadLong();
    uint32_t ReadULong();
    void WriteLong(uint32_t value);
    float ReadFloat();
    void WriteFloat(float value);
    // Reads a length byte and that many bytes into dest (256 bytes), then
    // terminates the text.
    void ReadPString(char dest[256]);
    std::string ReadPString();
    // Writes at most 255 bytes of text behind its length byte.
    void WritePString(const std::string& text);
    Color ReadRGBColor();
    void WriteRGBColor(Color color);
    Point ReadPoint();
    void WritePoint(Point p);  // low 16 bits of each coordinate
    // A 32-bit count and that many bytes. A count larger than what is left in
    // the stream yields an empty block and raises Truncated(), rather than
    // an allocation sized by whatever a damaged file claims.
    Handle ReadHandle();

    bool Truncated() const { return truncated_; }
    void ClearTruncated() { truncated_ = false; }

protected:
    // Reads exactly count bytes, zero-filling and flagging a short read.
    void ReadExact(void* buffer, uint32_t count);
    bool truncated_ = false;
};

// A stream over a block of memory: empty and growable for building a block,
// or a non-owning view of an existing block.
class PtrMacStream : public MacStream {
public:
    PtrMacStream();
    PtrMacStream(const void* block, uint32_t size, bool growable);
    ~PtrMacStream() override;
    PtrMacStream(const PtrMacStream&) = delete;
    PtrMacStream& operator=(const PtrMacStream&) = delete;

    uint32_t Read(void* buffer, uint32_t count) override;
    void Write(const void* buffer, uint32_t count) override;
    void Seek(uint32_t position) override { position_ = position; }
    uint32_t GetLength() override { return length_; }
    uint32_t Position() override { return position_; }

    const uint8_t* Data() const { return data_; }
    uint32_t Length() const { return length_; }
    uint32_t Capacity() const { return capacity_; }

    // The largest block a growable stream will hold; every structure of ours
    // is a few hundred bytes to a few megabytes.
    static constexpr uint32_t kMaxCapacity = 256u << 20;

private:
    void Grow(uint32_t needed);

    uint8_t* data_ = nullptr;
    uint32_t length_ = 0;
    uint32_t capacity_ = 0;
    uint32_t position_ = 0;
    bool growable_ = true;
    bool ownsData_ = true;
};

class File;

// A stream over an open file that it does not own.
class FileMacStream : public MacStream {
public:
    explicit FileMacStream(File* file) : file_(file) {}
    uint32_t Read(void* buffer, uint32_t count) override;
    void Write(const void* buffer, uint32_t count) override;
    void Seek(uint32_t position) override;
    uint32_t GetLength() override;
    uint32_t Position() override;

private:
    File* file_;
};

}  // namespace tabora
