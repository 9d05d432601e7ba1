// Crash-safe saving, proven by injecting a failure at every byte of every
// format's export: through a stream that fails part-way, and through a file
// that may not grow any further (a full disk). Each time the save must report
// the failure, the previous file must stay byte for byte, and no temporary
// file may be left. Opening every cut of a saved file must answer cleanly.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

#include "imaging/ButtonFile.h"
#include "io/MacStream.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"

using namespace tabora;
using namespace tabora::test;
namespace fs = std::filesystem;

namespace {

// A button with a style, a shadow and a caption: every writer fills more
// than one of its buffers (the JPEG writer's is 4096 bytes).
void Design(TaboraButton& b) {
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n) {
        if (GetArchive().HasStyleData(n)) {
            b.SetStyleNumber(int16_t(n));
            break;
        }
    }
    b.SetButtonSize(120);
    b.SetCaption("Save");
    b.SetFontName("DejaVu Sans");
    b.SetFontSize(8);
    b.SetBackgroundColor(MakeColor(240, 200, 40));
    b.SetRemoveBackground(true);
    b.SetJpegQuality(100);
}

// Passes bytes to another stream until `failAt` bytes have gone through,
// then fails the way a full disk does: the bytes that fit are written, and
// the write reports an error.
class FaultStream : public MacStream {
public:
    FaultStream(MacStream& inner, uint32_t failAt) : inner_(inner), failAt_(failAt) {}
    uint32_t Read(void* buffer, uint32_t count) override { return inner_.Read(buffer, count); }
    void Write(const void* buffer, uint32_t count) override {
        if (count > failAt_ - written_) {
            inner_.Write(buffer, failAt_ - written_);
            written_ = failAt_;
            throw FileError("Cannot write: No space left on device");
        }
        inner_.Write(buffer, count);
        written_ += count;
    }
    void Seek(uint32_t position) override { inner_.Seek(position); }
    uint32_t GetLength() override { return inner_.GetLength(); }
    uint32_t Position() override { return inner_.Position(); }

private:
    MacStream& inner_;
    uint32_t failAt_;
    uint32_t written_ = 0;
};

Bytes Export(TaboraButton& b, const FormatEntry& format) {
    PtrMacStream out;
    ExportButton(b, format, out);
    return BytesOf(out);
}

// Allows regular files to grow to `bytes` while alive; a write beyond fails
// with EFBIG instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
    bool ok_ = false;
};

const std::string kPrevious = "the previous file, which must survive every failed save";

}  // namespace

TEST(SaveFault, AStreamFailingAtEveryByteKeepsThePreviousFile) {
    TempDir dir;
    TaboraButton b(GetArchive());
    Design(b);
    for (const FormatEntry& format : Formats()) {
        const std::string path = dir / (std::string("button.") + format.extension);
        WriteWholeFile(path, kPrevious.data(), kPrevious.size());
        const uint32_t size = uint32_t(Export(b, format).size());
        std::printf("  %s: %u bytes\n", format.extension, size);
        for (uint32_t failAt = 0; failAt < size; ++failAt) {
            // Saving as SaveButton does, with the failing stream between the
            // exporter and the temporary file.
            bool reported = false;
            try {
                SafeSave save(path);
                FileMacStream file(&save.Output());
                FaultStream failing(file, failAt);
                ExportButton(b, format, failing);
                save.Commit();
            } catch (const FileError& e) {
                reported = std::string(e.what()).find("No space left") != std::string::npos;
            }
            ASSERT_TRUE(reported) << format.extension << " failing at byte " << failAt;
            ASSERT_EQ(ReadWholeFile(path), kPrevious) << format.extension << " at byte " << failAt;
            ASSERT_EQ(dir.Count(), 1u) << format.extension << " at byte " << failAt;
        }
        // With room for every byte the same save succeeds.
        {
            SafeSave save(path);
            FileMacStream file(&save.Output());
            FaultStream roomy(file, size);
            ExportButton(b, format, roomy);
            save.Commit();
        }
        EXPECT_EQ(ReadWholeFile(path).size(), size) << format.extension;
        fs::remove(path);
    }
}

TEST(SaveFault, AFullDiskAtEveryByteKeepsThePreviousFile) {
    TempDir dir;
    TaboraButton b(GetArchive());
    Design(b);
    for (const FormatEntry& format : Formats()) {
        const std::string path = dir / (std::string("button.") + format.extension);
        WriteWholeFile(path, kPrevious.data(), kPrevious.size());
        const Bytes expected = Export(b, format);
        for (uint32_t room = 0; room < expected.size(); ++room) {
            bool reported = false;
            {
                FileSizeLimit limit(room);
                ASSERT_TRUE(limit.ok());
                const SaveResult result = SaveButton(b, path);
                reported = result.outcome == SaveOutcome::Failed &&
                           result.detail.find("File too large") != std::string::npos;
            }
            ASSERT_TRUE(reported) << format.extension << " with room for " << room << " bytes";
            ASSERT_EQ(ReadWholeFile(path), kPrevious) << format.extension << " room " << room;
            ASSERT_EQ(dir.Count(), 1u) << format.extension << " room " << room;
        }
        {
            FileSizeLimit limit(expected.size());
            ASSERT_TRUE(SaveButton(b, path).saved());
        }
        const std::string saved = ReadWholeFile(path);
        EXPECT_EQ(Bytes(saved.begin(), saved.end()), expected) << format.extension;
        EXPECT_EQ(dir.Count(), 1u);
        fs::remove(path);
    }
}

TEST(SaveFault, EveryCutOfASavedFileOpensCleanlyOrNotAtAll) {
    TaboraButton a(GetArchive());
    Design(a);
    for (const FormatEntry& format : Formats()) {
        const Bytes file = Export(a, format);
        // What opening the whole file gives (a regular font reads back as 0).
        TaboraButton whole(GetArchive());
        PtrMacStream all(file.data(), uint32_t(file.size()), false);
        ASSERT_TRUE(ImportButton(whole, format, all).opened());
        size_t opened = 0;
        for (size_t n = 0; n < file.size(); ++n) {
            TaboraButton b(GetArchive());
            const ButtonSettings before = b.settings();
            PtrMacStream in(file.data(), uint32_t(n), false);
            const OpenResult result = ImportButton(b, format, in);
            if (result.opened()) {
                // Only a cut behind the block can open, and then it restores
                // the button.
                ASSERT_EQ(b.settings(), whole.settings()) << format.extension << " cut at " << n;
                ++opened;
                continue;
            }
            if (result.outcome == OpenOutcome::Damaged) {
                ASSERT_TRUE(result.detail == "error reading PNG file" ||
                            result.detail == "fatal JPEG error" ||
                            result.detail == "error reading WebP file")
                    << format.extension << " cut at " << n << ": " << result.detail;
            }
            ASSERT_EQ(b.settings(), before) << format.extension << " cut at " << n;
        }
        // GIF is read to its trailer, so no cut opens; BMP and PNG open once
        // the block is whole.
        if (format.format == ImageFormat::Gif) {
            EXPECT_EQ(opened, 0u);
        } else if (format.format == ImageFormat::Bmp) {
            EXPECT_GT(opened, file.size() / 2);
        } else if (format.format == ImageFormat::Webp) {
            // The block is the last chunk: only a cut of the byte that pads
            // an odd block to an even size leaves it whole.
            EXPECT_LE(opened, 1u);
        }
    }
}
