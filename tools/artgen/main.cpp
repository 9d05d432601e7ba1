#include <cstdio>
#include <string>

#include "platform/File.h"
#include "platform/Resources.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tabora-artgen OUTDIR\n");
        return 2;
    }
    std::string out = argv[1];
    tabora::ResourceBlobWriter writer;
    auto blob = writer.Finish();
    tabora::WriteWholeFile(out + "/tabora.res", blob.data(), blob.size());
    return 0;
}
