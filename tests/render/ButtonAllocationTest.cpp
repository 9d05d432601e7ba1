// Render allocates nothing except what the caption rasteriser needs: every
// buffer is made once, at the canvas size, when the button is built.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/support/TestStyles.h"

namespace {
// Counts allocations on this thread while `counting` is set; every other
// allocation of the test program passes straight through.
thread_local bool counting = false;
thread_local size_t allocations = 0;
}  // namespace

// AddressSanitizer brings its own operator new and checks that every delete
// matches its new; a replacement here would fight it, so under the sanitizer
// the count is not taken (the ordinary build takes it).
#if !defined(__SANITIZE_ADDRESS__)
#define TABORA_COUNT_ALLOCATIONS 1
void* operator new(size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return ::operator new(size); }
// The library's no-throw forms must come from the same allocator as the
// deletes below (std::stable_sort uses them for its buffer).
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
    return ::operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#endif

using namespace tabora;

namespace {

template <typename F>
size_t AllocationsDuring(F change, TaboraButton& b) {
    change();
    allocations = 0;
    counting = true;
    b.Render();
    b.PrepareExport();
    counting = false;
    return allocations;
}

}  // namespace

TEST(ButtonAllocation, RenderingAfterAChangeAllocatesNothing) {
#if !defined(TABORA_COUNT_ALLOCATIONS)
    GTEST_SKIP() << "allocations are counted in the build without AddressSanitizer";
#endif
    // The catalogue's first style, or a plain one of the same kind.
    test::TestStyles styles(&GetArchive());
    if (!GetArchive().Load(1)) {
        ButtonStyle plain;
        plain.image.Allocate(100, 30);
        plain.image.Fill(0x3366CC);
        plain.stretchColumn = 50;
        styles.Put(1, std::move(plain));
    }
    TaboraButton b(styles);
    b.SetStyleNumber(1);
    b.SetCaption("Download");
    b.SetAntialias(true);
    b.Render();

    EXPECT_EQ(AllocationsDuring([&] { b.SetTextColor(0x123456); }, b), 0u);
    EXPECT_EQ(AllocationsDuring([&] { b.SetBackgroundColor(0x654321); }, b), 0u);
    EXPECT_EQ(AllocationsDuring([&] { b.SetHueShift(700); }, b), 0u);
    EXPECT_EQ(AllocationsDuring([&] { b.SetBrightness(-50); }, b), 0u);
    EXPECT_EQ(AllocationsDuring([&] { b.SetButtonSize(150); }, b), 0u);
    EXPECT_EQ(AllocationsDuring([&] { b.SetButtonSize(250); }, b), 0u);
    EXPECT_EQ(AllocationsDuring([&] { b.SetIncludeShadowArea(true); }, b), 0u);
    EXPECT_EQ(AllocationsDuring([&] { b.Invalidate(TaboraButton::kShadowLayer); }, b), 0u);
    // A caption change may allocate inside the text rasteriser only; the
    // masks themselves are reused (checked by their addresses).
    const uint8_t* text = b.textMask().Bytes();
    b.SetCaption("Downloads");
    b.Render();
    EXPECT_EQ(b.textMask().Bytes(), text);
    // The counter does see allocations: a new font size needs a new font.
    EXPECT_GT(AllocationsDuring([&] { b.SetFontSize(14); }, b), 0u);
}
