// Feeds every file of a fuzz corpus to its target, without libFuzzer: the corpus
// directory holds one subdirectory per target (terminfo_parse/, terminfo_expand/). Built
// with sanitizers, this replays the inputs that found new paths on every CI run.
//
//   fuzz_replay tests/fuzz/corpus
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_targets.hpp"

namespace {

struct Target {
    const char* name;
    int (*run)(const std::uint8_t*, std::size_t);
};

constexpr Target kTargets[] = {
    {"terminfo_parse", quarv_fuzz::terminfo_parse},
    {"terminfo_expand", quarv_fuzz::terminfo_expand},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_replay CORPUS_DIR\n");
        return 64;
    }
    const std::filesystem::path root = argv[1];
    for (const Target& target : kTargets) {
        const std::filesystem::path dir = root / target.name;
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& item : std::filesystem::directory_iterator(dir, error)) {
            if (item.is_regular_file()) files.push_back(item.path());
        }
        if (error || files.empty()) {
            std::fprintf(stderr, "fuzz_replay: no corpus in %s\n", dir.c_str());
            return 1;
        }
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        }
        std::printf("%s: %zu inputs\n", target.name, files.size());
    }
    return 0;
}
