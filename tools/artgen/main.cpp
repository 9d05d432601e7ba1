#include <cstdio>
#include <exception>

#include "tools/artgen/ArtOutput.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tabora-artgen OUTDIR\n");
        return 2;
    }
    try {
        tabora::art::ArtOutput out(argv[1]);
        tabora::art::GenerateStyleArt(out);
        tabora::art::GenerateInterfacePictures(out);
        out.Finish();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tabora-artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
