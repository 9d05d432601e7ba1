#include "tools/artgen/ArtOutput.h"

namespace tabora::art {

void GenerateStyleArt(ArtOutput&) {}

}  // namespace tabora::art
