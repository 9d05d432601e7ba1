#include "io/MacStream.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/Error.h"
#include "platform/File.h"

namespace tabora {

void MacStream::ReadExact(void* buffer, uint32_t count) {
    uint32_t got = Read(buffer, count);
    if (got < count) {
        // The bytes that never arrived read as zero.
        std::memset(static_cast<uint8_t*>(buffer) + got, 0, count - got);
        truncated_ = true;
    }
}

uint16_t MacStream::ReadUShort() {
    uint8_t b[2];
    ReadExact(b, 2);
    return uint16_t((b[0] << 8) | b[1]);
}

int16_t MacStream::ReadShort() { return int16_t(ReadUShort()); }

void MacStream::WriteShort(int32_t value) {
    uint8_t b[2] = {uint8_t(value >> 8), uint8_t(value)};
    Write(b, 2);
}

uint32_t MacStream::ReadULong() {
    uint8_t b[4];
    ReadExact(b, 4);
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
}

int32_t MacStream::ReadLong() { return int32_t(ReadULong()); }

void MacStream::WriteLong(uint32_t value) {
    uint8_t b[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8),
                    uint8_t(value)};
    Write(b, 4);
}

float MacStream::ReadFloat() {
    uint32_t bits = ReadULong();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

void MacStream::WriteFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    WriteLong(bits);
}

void MacStream::ReadPString(char dest[256]) {
    uint8_t n = 0;
    ReadExact(&n, 1);
    ReadExact(dest, n);
    dest[n] = '\0';
}

std::string MacStream::ReadPString() {
    char buf[256];
    ReadPString(buf);
    // Like the fixed field it mirrors, the text ends at the first NUL.
    return std::string(buf);
}

void MacStream::WritePString(const std::string& text) {
    uint8_t n = uint8_t(text.size() > 255 ? 255 : text.size());
    Write(&n, 1);
    Write(text.data(), n);
}

Color MacStream::ReadRGBColor() {
    uint32_t r = ReadUShort() >> 8;
    uint32_t g = ReadUShort() >> 8;
    uint32_t b = ReadUShort() >> 8;
    return r | (g << 8) | (b << 16);
}

void MacStream::WriteRGBColor(Color color) {
    WriteShort(RedOf(color) * 257);
    WriteShort(GreenOf(color) * 257);
    WriteShort(BlueOf(color) * 257);
}

Point MacStream::ReadPoint() {
    Point p;
    p.x = ReadShort();
    p.y = ReadShort();
    return p;
}

void MacStream::WritePoint(Point p) {
    WriteShort(p.x);
    WriteShort(p.y);
}

Handle MacStream::ReadHandle() {
    Handle h;
    uint8_t b[4];
    ReadExact(b, 4);
    if (std::memcmp(b, "null", 4) == 0) {
        h.isNull = true;
        return h;
    }
    uint32_t count = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    uint32_t length = GetLength();
    uint32_t position = Position();
    uint32_t left = position < length ? length - position : 0;
    if (count > left) {
        truncated_ = true;
        return h;
    }
    h.data.reset(new uint8_t[count ? count : 1]);
    h.size = count;
    ReadExact(h.data.get(), count);
    return h;
}

PtrMacStream::PtrMacStream() = default;

PtrMacStream::PtrMacStream(const void* block, uint32_t size, bool growable)
    : data_(size ? static_cast<uint8_t*>(const_cast<void*>(block)) : nullptr),
      length_(size),
      capacity_(size),
      growable_(growable),
      ownsData_(false) {}

PtrMacStream::~PtrMacStream() {
    if (ownsData_) std::free(data_);
}

uint32_t PtrMacStream::Read(void* buffer, uint32_t count) {
    if (position_ >= length_) return 0;
    if (count > length_ - position_) count = length_ - position_;
    if (count) std::memcpy(buffer, data_ + position_, count);
    position_ += count;
    return count;
}

void PtrMacStream::Grow(uint32_t needed) {
    if (needed <= capacity_) return;
    if (needed > kMaxCapacity) throw TaboraError("memory block too large");
    // The smallest multiple of 256 strictly above what is needed.
    uint32_t newCapacity = (needed + 256) & ~uint32_t(0xFF);
    auto* block = static_cast<uint8_t*>(std::malloc(newCapacity));
    if (!block) throw std::bad_alloc();
    if (data_) {
        std::memcpy(block, data_, length_);
        if (ownsData_) std::free(data_);
    }
    data_ = block;
    capacity_ = newCapacity;
    ownsData_ = true;
}

void PtrMacStream::Write(const void* buffer, uint32_t count) {
    if (count == 0) return;
    uint64_t needed = uint64_t(position_) + count;
    if (growable_) {
        if (needed > kMaxCapacity) throw TaboraError("memory block too large");
        Grow(uint32_t(needed));
    } else if (needed > capacity_) {
        // A fixed block never grows: keep what fits.
        if (position_ >= capacity_) return;
        count = capacity_ - position_;
        needed = capacity_;
    }
    if (position_ > length_) std::memset(data_ + length_, 0, position_ - length_);
    std::memcpy(data_ + position_, buffer, count);
    position_ += count;
    if (length_ < position_) length_ = position_;
}

uint32_t FileMacStream::Read(void* buffer, uint32_t count) { return file_->Read(buffer, count); }

void FileMacStream::Write(const void* buffer, uint32_t count) { file_->Write(buffer, count); }

void FileMacStream::Seek(uint32_t position) { file_->Seek(position); }

uint32_t FileMacStream::GetLength() {
    uint64_t len = file_->GetLength();
    return len > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(len);
}

uint32_t FileMacStream::Position() {
    uint64_t pos = file_->Position();
    return pos > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(pos);
}

}  // namespace tabora
