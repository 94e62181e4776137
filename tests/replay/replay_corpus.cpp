// Runs a libFuzzer target's entry point once on every file of a corpus folder,
// without libFuzzer. The native build links it, with GCC, against the core
// built with the plain loops, so that the seed corpora also go through the
// loops the x86 DLL takes. A target that finds a fault aborts, and so does
// this program; a folder that is missing or empty is an error too.
//   <target>_replay CORPUS_FOLDER
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], error))
        if (entry.is_regular_file()) files.push_back(entry.path());
    if (error || files.empty()) {
        std::fprintf(stderr, "%s: no corpus files\n", argv[1]);
        return 1;
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) {
            std::fprintf(stderr, "%s: cannot be read\n", file.string().c_str());
            return 1;
        }
        // Named first, so that the input that aborts is the last one named.
        std::printf("%s (%zu bytes)\n", file.filename().string().c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs, no finding\n", files.size());
    return 0;
}
