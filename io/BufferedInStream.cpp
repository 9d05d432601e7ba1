#include "io/BufferedInStream.h"

#include <algorithm>
#include <cstring>

#include "platform/Error.h"

namespace tabora {

BufferedInStream::BufferedInStream(MacStream& inner, uint32_t bufferBytes)
    : inner_(inner),
      buffer_(new uint8_t[bufferBytes ? bufferBytes : 1]),
      capacity_(bufferBytes ? bufferBytes : 1),
      base_(inner.Position()) {}

uint32_t BufferedInStream::Read(void* buffer, uint32_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        if (at_ < size_) {
            const uint32_t n = std::min(count - done, size_ - at_);
            std::memcpy(out + done, buffer_.get() + at_, n);
            at_ += n;
            done += n;
            continue;
        }
        // The buffer is used up; the inner stream stands right behind it.
        base_ += size_;
        size_ = at_ = 0;
        const uint32_t wanted = count - done;
        if (wanted >= std::min(capacity_, kDirectReadBytes)) {
            const uint32_t got = inner_.Read(out + done, wanted);
            base_ += got;
            done += got;
            break;
        }
        size_ = inner_.Read(buffer_.get(), capacity_);
        if (size_ == 0) break;
    }
    return done;
}

void BufferedInStream::Write(const void*, uint32_t) {
    throw TaboraError("internal error: writing to a stream opened for reading");
}

void BufferedInStream::Seek(uint32_t position) {
    if (position >= base_ && position - base_ <= size_) {
        at_ = position - base_;
        return;
    }
    inner_.Seek(position);
    base_ = position;
    size_ = at_ = 0;
}

uint32_t BufferedInStream::GetLength() {
    // Asked for each skipped JPEG marker; the file does not change while it
    // is read.
    if (!lengthKnown_) {
        length_ = inner_.GetLength();
        lengthKnown_ = true;
    }
    return length_;
}

}  // namespace tabora
