// Writes the hostile images into a folder, one file each, with a list of
// what each attempts and what a reader must answer; for measuring a build
// (or an older one) by hand:
//   tabora-hostile-corpus OUT_DIR
//   for f in OUT_DIR/*.*; do /usr/bin/time -f "%e s %M KB" tabora-cli inspect "$f"; done
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/support/HostileCorpus.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    std::ofstream list(folder / "corpus.txt");
    for (const tabora::test::HostileImage& image : tabora::test::HostileImages()) {
        const tabora::test::Bytes bytes = image.make();
        std::ofstream out(folder / image.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", (folder / image.name).c_str());
            return 1;
        }
        const char* answer = image.answer == tabora::test::Answer::Opens      ? "opens"
                             : image.answer == tabora::test::Answer::NoButton ? "no button"
                                                                              : image.error.c_str();
        list << image.name << '\t' << bytes.size() << '\t' << answer << '\t' << image.attack
             << '\n';
    }
    return 0;
}
