#pragma once
// Buffers every button's renderer shares (ButtonRender.cpp); internal to the
// button's own files.
#include "render/AlphaMask.h"

namespace tabora {

// 174 x 74, for the body shadow before its blur. Per thread.
AlphaMask& SharedScratchMask();
// 696 x 296, for antialiased captions drawn at four times the size. Per thread.
AlphaMask& SharedLargeTextMask();
// Creates the calling thread's buffers and the process's frame image, so that
// rendering itself does not allocate. Returns how many of the frame's
// pictures the bitmap class refused, the first time it is loaded; 0 after.
int PrepareSharedRenderBuffers();

}  // namespace tabora
