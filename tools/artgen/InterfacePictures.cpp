#include "tools/artgen/ArtOutput.h"

namespace tabora::art {

void GenerateInterfacePictures(ArtOutput&) {}

}  // namespace tabora::art
