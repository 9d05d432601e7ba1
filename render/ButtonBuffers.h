#pragma once
// Buffers every button's renderer shares (ButtonRender.cpp); internal to the
// button's own files.
#include "render/AlphaMask.h"

namespace tabora {

// An antialiased caption is drawn at four times the size and reduced.
constexpr int32_t kAntialiasScale = 4;

// 174 x 74 times the scale, for the body shadow before its blur. Per thread.
AlphaMask& SharedScratchMask(int scale);
// 696 x 296 times the scale, for antialiased captions drawn at four times the
// size. Per thread.
AlphaMask& SharedLargeTextMask(int scale);
// Creates the calling thread's buffers and the process's frame image of a
// scale, so that rendering itself does not allocate. Returns how many of the
// frame's pictures the bitmap class refused, the first time it is loaded; 0
// after.
int PrepareSharedRenderBuffers(int scale);

}  // namespace tabora
