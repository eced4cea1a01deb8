// Replays a fuzz target's corpus without libFuzzer: every regular file named
// on the command line, or found directly in a directory named there, is fed
// once to LLVMFuzzerTestOneInput, in name order. A property that does not
// hold aborts the process, so the test fails; a corpus with no file fails
// too, since it would test nothing.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path path(argv[i]);
        if (fs::is_directory(path)) {
            for (const fs::directory_entry &entry : fs::directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        } else if (fs::is_regular_file(path)) {
            files.push_back(path);
        } else {
            std::fprintf(stderr, "no such file or directory: %s\n", argv[i]);
            return 1;
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s corpus-directory-or-file...; no input found\n", argv[0]);
        return 1;
    }
    for (const fs::path &file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        std::fprintf(stderr, "%s (%zu bytes)\n", file.c_str(), bytes.size());
        // A copy of exactly the input's size, so that the address sanitizer
        // sees any read past its end.
        std::vector<uint8_t> input(bytes.begin(), bytes.end());
        static uint8_t none = 0;
        LLVMFuzzerTestOneInput(input.empty() ? &none : input.data(), input.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return 0;
}
