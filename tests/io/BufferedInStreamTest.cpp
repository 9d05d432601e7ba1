#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "io/BufferedInStream.h"
#include "platform/Error.h"

using namespace tabora;

namespace {

// A memory stream that counts the reads and seeks asked of it.
class CountingStream : public PtrMacStream {
public:
    using PtrMacStream::PtrMacStream;
    uint32_t Read(void* buffer, uint32_t count) override {
        ++reads;
        return PtrMacStream::Read(buffer, count);
    }
    void Seek(uint32_t position) override {
        ++seeks;
        PtrMacStream::Seek(position);
    }
    int reads = 0;
    int seeks = 0;
};

std::vector<uint8_t> Counting(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 7 + (i >> 8));
    return bytes;
}

}  // namespace

// Random reads, seeks (inside the buffer, outside it, past the end) and
// typed reads give exactly what the stream beneath gives.
TEST(BufferedInStream, ReadsWhatTheStreamBeneathHolds) {
    const std::vector<uint8_t> bytes = Counting(100'000);
    for (uint32_t bufferBytes : {1u, 7u, 256u, 4096u, 65536u}) {
        PtrMacStream reference(bytes.data(), uint32_t(bytes.size()), false);
        PtrMacStream inner(bytes.data(), uint32_t(bytes.size()), false);
        BufferedInStream buffered(inner, bufferBytes);
        std::mt19937 random(bufferBytes);
        for (int step = 0; step < 4000; ++step) {
            switch (random() % 4) {
                case 0: {
                    const uint32_t at = random() % 110'000;
                    reference.Seek(at);
                    buffered.Seek(at);
                    break;
                }
                case 1: {
                    // Back or ahead by a little: usually within the buffer.
                    const int64_t at = std::max<int64_t>(
                        0, int64_t(reference.Position()) + int64_t(random() % 600) - 300);
                    reference.Seek(uint32_t(at));
                    buffered.Seek(uint32_t(at));
                    break;
                }
                case 2:
                    ASSERT_EQ(buffered.ReadULong(), reference.ReadULong());
                    break;
                default: {
                    const uint32_t count = random() % 3 == 0 ? random() % 20'000 : random() % 16;
                    std::vector<uint8_t> a(count), b(count);
                    ASSERT_EQ(buffered.Read(a.data(), count), reference.Read(b.data(), count));
                    ASSERT_EQ(a, b);
                }
            }
            ASSERT_EQ(buffered.Position(), reference.Position()) << bufferBytes << " step " << step;
            ASSERT_EQ(buffered.Truncated(), reference.Truncated());
        }
        EXPECT_EQ(buffered.GetLength(), bytes.size());
    }
}

TEST(BufferedInStream, AByteAtATimeCostsOneReadPerBuffer) {
    const std::vector<uint8_t> bytes = Counting(1'000'000);
    CountingStream inner(bytes.data(), uint32_t(bytes.size()), false);
    BufferedInStream buffered(inner);
    uint8_t b = 0;
    size_t got = 0;
    while (buffered.Read(&b, 1) == 1) ASSERT_EQ(b, bytes[got++]);
    EXPECT_EQ(got, bytes.size());
    EXPECT_EQ(inner.reads, int(bytes.size() / BufferedInStream::kBufferBytes) + 2);

    // Large reads and reads after a far seek go straight through: a reader
    // that skips most of a file does not read it all.
    inner.reads = 0;
    std::vector<uint8_t> page(BufferedInStream::kDirectReadBytes);
    for (uint32_t at = 0; at + page.size() <= bytes.size(); at += 100'000) {
        buffered.Seek(at);
        ASSERT_EQ(buffered.Read(page.data(), uint32_t(page.size())), page.size());
        ASSERT_EQ(page[0], bytes[at]);
    }
    EXPECT_EQ(inner.reads, 10);
}

TEST(BufferedInStream, StartsWhereTheStreamStandsAndNeverWrites) {
    const std::vector<uint8_t> bytes = Counting(1000);
    PtrMacStream inner(bytes.data(), uint32_t(bytes.size()), false);
    inner.Seek(600);
    BufferedInStream buffered(inner);
    EXPECT_EQ(buffered.Position(), 600u);
    uint8_t b = 0;
    ASSERT_EQ(buffered.Read(&b, 1), 1u);
    EXPECT_EQ(b, bytes[600]);
    EXPECT_THROW(buffered.Write(&b, 1), TaboraError);
}
