// Compiled as part of the render level by a test that expects it not to
// build: the renderer must not see the codecs, which sit above it.
#include "imaging/Formats.h"
